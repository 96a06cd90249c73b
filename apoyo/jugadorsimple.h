#pragma once

// A scripted player for measuring the computer's difficulty: it walks the
// shortest way over the terrain to the nearest living enemy and strikes it
// (sword) or shoots it from as far as a computer archer would (bow). It
// plays through `partida` as a person does: arrow keys each tick, the space
// bar and clicks between ticks.

#include "Juego/nucleo/partida.h"

#include <cstdint>
#include <vector>

namespace prueba {

class jugadorsimple {
public:
    explicit jugadorsimple(int16_t slot = 0) : slot_(slot) {}
    // One tick of play: what it presses before the tick, the tick, and its
    // stroke or shot after it.
    void jugar(juego::partida& p);

private:
    int16_t blanco(const juego::mundo& m) const;
    void campo(const juego::mundo& m, int16_t x, int16_t y);

    int16_t slot_;
    // Steps to the target from every cell, worked out again when the target
    // has moved away from where it was measured from.
    std::vector<int32_t> distancia_;
    int16_t medidox_ = -1, medidoy_ = -1;
    int cuenta_ = 0;
};

} // namespace prueba
