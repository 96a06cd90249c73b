#pragma once

#include "Juego/nucleo/mundo.h"

#include <array>
#include <cstdint>

namespace juego::red {

// The fighter a newcomer takes: a free one of team `equipo` (not in
// `ocupados`), of type `tipo` and alive where there is one, the lowest slot
// first; -1 when the team has none free.
int16_t elegirluchador(const mundo& m, const std::array<bool, numunidades>& ocupados, int16_t tipo,
                       int16_t equipo);

} // namespace juego::red
