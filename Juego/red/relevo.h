#pragma once

#include "Juego/nucleo/mundo.h"

#include <array>
#include <cstdint>

namespace juego::red {

// How a network match treats the fighters, the same on every peer so that
// all copies stay equal.

// A network match is everyone's: the fighter of slot 0 loses the lone
// player's head start and goes to the computer until somebody takes it.
void prepararpartidared(mundo& m);

// A fighter passes to a person or back to the computer. Whatever the
// computer was planning is dropped, so it plans afresh from where the
// person left the fighter rather than jumping along an old path.
void relevar(mundo& m, int16_t slot, bool humano);

// The fighter a newcomer takes: a free one of team `equipo` (not in
// `ocupados`), of type `tipo` where there is one, the lowest slot first;
// -1 when the team has none free.
int16_t elegirluchador(const mundo& m, const std::array<bool, numunidades>& ocupados, int16_t tipo,
                       int16_t equipo);

// This copy shows fighter `slot`: the view follows it and the status line
// speaks of it.
void vistapropia(mundo& m, int16_t slot);

} // namespace juego::red
