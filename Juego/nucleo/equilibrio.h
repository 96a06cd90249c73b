#pragma once

#include "Juego/nucleo/reglas.h"

#include <array>
#include <cstdint>

namespace juego {

// The fighter values that the two rule sets differ in. The classic ones are
// the game as it always was; the balanced ones were measured with
// tools/bench-equilibrio so that computer archers and sword fighters win
// about as often over the sample maps and team sizes.
struct valores {
    int16_t esperaespada = 4; // ticks a stroke of the sword takes
    int16_t esperaarco = 6;   // ticks a computer archer's shot takes
    int16_t esperaclic = 5;   // ticks a person's shot takes
    double alcancearco = 8;   // how far a computer archer shoots
    // Hundredths of the damage each type does to each type, by attacker
    // then victim (arquero, guerrero).
    std::array<std::array<int16_t, 2>, 2> danio{{{100, 100}, {100, 100}}};
};

inline constexpr valores valoresclasicos{};

inline constexpr valores valoresequilibrados{
    4, 6, 5, 8, {{{100, 100}, {100, 100}}},
};

inline const valores& valoresde(modoreglas m) {
    return m == modoreglas::equilibradas ? valoresequilibrados : valoresclasicos;
}

// How a computer fighter plays under the balanced rules: the most ticks it
// may wait before acting again after an attack (drawn anew each time, so no
// two matches are alike), how many cells an archer's aim may stray, and how
// far it sees to shoot or to pick whom to chase.
struct ajuste {
    int16_t demora = 0;
    int16_t punteria = 0;
    int16_t vista = 0;
};

inline ajuste ajustede(dificultad d) {
    switch (d) {
    case dificultad::facil:
        return {6, 2, 8};
    case dificultad::dificil:
        return {0, 0, 40};
    default:
        return {2, 1, 20};
    }
}

} // namespace juego
