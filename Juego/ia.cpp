#include "Juego/mundo.h"

namespace juego {} // namespace juego
