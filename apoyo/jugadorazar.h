#pragma once

// A player who walks, strikes, shoots and now and then pauses at random,
// from a seed: long matches for the soak test and the match-as-data tests.

#include "apoyo/mundoprueba.h"

#include <random>

namespace prueba {

struct jugadorazar {
    std::mt19937 azar;
    // One pause key in `pausas` ticks on average; 0 never pauses.
    unsigned pausas = 40;

    explicit jugadorazar(unsigned semilla, unsigned cadapausa = 40)
        : azar(semilla), pausas(cadapausa) {}

    // Every few ticks the player changes keys, strikes or shoots; then one
    // tick (none while paused).
    template <class fixture> // mundoprueba or partidaprueba
    void jugar(fixture& w) {
        const int16_t flechas[4] = {37, 38, 39, 40};
        if (azar() % 5 == 0) {
            for (int16_t k : flechas)
                w.plat.teclas.soltar(k);
            if (azar() % 4 != 0)
                w.plat.teclas.apretar(flechas[azar() % 4]);
            if (azar() % 3 == 0)
                w.plat.teclas.apretar(flechas[azar() % 4]);
        }
        if (azar() % 6 == 0)
            w.tecla(32);
        if (azar() % 6 == 0)
            w.clic(int(azar() % 800), int(azar() % 600));
        if (pausas != 0 && azar() % pausas == 0)
            w.tecla(80);
        w.tick();
    }
};

} // namespace prueba
