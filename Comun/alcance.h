#pragma once

#include "Comun/mapaarchivo.h"

#include <vector>

namespace comun {

// True when a fighter could walk from `desde` to `hasta`: every cell of the
// way lies inside the map and is passable, and each step goes to one of the
// eight neighbours. As in the game, a diagonal step needs no free corner.
bool alcanzable(const plano& p, posicion desde, posicion hasta);

// Every cell a fighter could walk to from `desde`, by the same rule: one flag
// per map cell, row after row; all 0 when `desde` itself is blocked or
// outside the map.
std::vector<char> alcance(const plano& p, posicion desde);

} // namespace comun
