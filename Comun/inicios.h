#pragma once

#include "Comun/mapaarchivo.h"

#include <string>
#include <vector>

namespace comun {

// Name of a team as both programs show it: its start marker's colour.
const char* nombreequipo(int equipo);

// Why a team's fighters could not be set around its start: the game puts
// them on the eight cells around it, so the whole 3 x 3 block must lie inside
// the map (and so inside the grid). One Spanish sentence per refused start,
// none when both can be played.
std::vector<std::string> problemasinicios(const plano& p);

// The same, joined into one text for a message box; empty when playable.
std::string errorinicios(const plano& p);

} // namespace comun
