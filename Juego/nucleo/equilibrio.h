#pragma once

#include "Juego/nucleo/reglas.h"

#include <array>
#include <cstddef>
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
    // A sword fighter just hit by an arrow has its shield up for `cubierto`
    // ticks, and takes only `escudo` hundredths of the damage of the arrows
    // that come meanwhile. One archer shoots slower than that, so a duel
    // does not change; a group that looses all its arrows at one sword
    // fighter no longer shoots it down before it gets there.
    int16_t escudo = 100;
    int16_t cubierto = 0;
};

inline constexpr valores valoresclasicos{};

inline constexpr valores valoresequilibrados{
    4, 6, 5, 8, {{{100, 95}, {100, 100}}}, 38, 5,
};

inline const valores& valoresde(modoreglas m) {
    return m == modoreglas::equilibradas ? valoresequilibrados : valoresclasicos;
}

// How a computer fighter plays under the balanced rules: the most ticks it
// may wait before acting again after an attack (drawn anew each time, so no
// two matches are alike), how many cells an archer's aim may stray, how far
// an archer sees to pick a target (never beyond its reach), and hundredths
// of the damage it deals and takes. A person plays without a reaction
// delay and with a queued action, so even Normal needs a little strength to
// win half of the duels against a plain scripted player
// (tools/bench-equilibrio measures it).
struct ajuste {
    int16_t demora = 0;
    int16_t punteria = 0;
    int16_t vista = 0;
    int16_t fuerza = 100;
    int16_t aguante = 100;
};

inline constexpr ajuste niveles[3] = {
    {2, 1, 12, 108, 92}, // facil
    {1, 0, 20, 110, 90}, // normal
    {0, 0, 40, 112, 85}, // dificil
};
// The computer fighters on a person's own team.
inline constexpr ajuste ajustealiados{1, 0, 20, 100, 100};

inline constexpr ajuste ajustede(dificultad d) {
    return niveles[std::size_t(int(d) % 3)];
}

} // namespace juego
