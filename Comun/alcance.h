#pragma once

#include "Comun/mapaarchivo.h"

namespace comun {

// True when a fighter could walk from `desde` to `hasta`: every cell of the
// way lies inside the map and is passable, and each step goes to one of the
// eight neighbours. As in the game, a diagonal step needs no free corner.
bool alcanzable(const plano& p, posicion desde, posicion hasta);

} // namespace comun
