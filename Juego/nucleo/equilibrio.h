#pragma once

#include "Juego/nucleo/reglas.h"

#include <algorithm>
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
    // Which type a map favours depends on the map: open ground favours
    // the sword, walls and water the bow, and any map can be drawn. So the
    // damage a type deals follows how its computer fighters fare against
    // the other type's in this match (mundo::pesodetipo): `ganancia`
    // hundredths more for every kill per fighter it is behind now, and as
    // much again as it dealt for every `memoria` ticks it has spent one
    // kill per fighter behind, within `pesominimo` to `pesomaximo`
    // hundredths. The second part learns what the map gives a type, so a
    // type that has caught up keeps what it needed to; the first answers
    // at once. 0 `ganancia`: no weighing.
    //
    // The goal is the same whatever the teams' size, so the more fighters
    // a type has, the fewer kills each makes in a match, and one kill per
    // fighter behind is a larger share of it: the first part answers
    // `crecida` hundredths more for every fighter beyond the first of the
    // type there are fewer of. Without it a big team's lead ran away
    // before the second part could catch up.
    int16_t ganancia = 0;
    int16_t memoria = 1;
    int16_t pesominimo = 100;
    int16_t pesomaximo = 100;
    int16_t crecida = 0;
};

inline constexpr valores valoresclasicos{};

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
    // A whole tick more of delay is a big step in a duel: the scripted
    // player who won 77 % of them against at most two ticks won all of
    // them against three. So in `tarde` hundredths of its attacks the
    // fighter waits one tick more than it drew, a step between the two.
    int16_t tarde = 0;
};

// One tuning of the balanced rules (see `edicionreglas`).
struct edicion {
    valores valor;
    std::array<ajuste, 3> niveles; // facil, normal, dificil
    ajuste aliados;                // the computer fighters on a person's own team
};

// 2: the types weighed by how they fare. The computer's fighters that
// play with a person, or when nobody plays, may wait up to three ticks
// after an attack: matches differ more, and a map's favoured type does not
// win by the same steps every time.
inline constexpr edicion segundaedicion{
    {4, 6, 5, 8, {{{100, 110}, {100, 100}}}, 38, 5, 20, 120, 50, 200},
    {{{2, 1, 16, 110, 89}, {1, 0, 20, 111, 88}, {1, 0, 40, 114, 87}}},
    {3, 0, 20, 100, 100}};

// An edition that differs from `e` only in how the weighing's quick part
// grows with the teams, said as that one change.
inline constexpr edicion concrecida(edicion e, int16_t crecida) {
    e.valor.crecida = crecida;
    return e;
}

// 3: the quick part of the weighing grows with the teams.
inline constexpr edicion terceraedicion = concrecida(segundaedicion, 15);

// An edition that differs from `e` only in the fraction of a tick each
// level waits longer, said as that one change.
inline constexpr edicion contarde(edicion e, std::array<int16_t, 3> tarde) {
    for (std::size_t i = 0; i < tarde.size(); ++i)
        e.niveles[i].tarde = tarde[i];
    return e;
}

inline constexpr std::array<edicion, edicionreglas> ediciones{{
    // 1: the first tuning.
    {{4, 6, 5, 8, {{{100, 95}, {100, 100}}}, 38, 5},
     {{{2, 1, 12, 108, 92}, {1, 0, 20, 110, 90}, {0, 0, 40, 112, 85}}},
     {1, 0, 20, 100, 100}},
    segundaedicion,
    terceraedicion,
    // 4: Easy a little easier: a plain player won 77 % of the duels
    // against it, four in five now, as against Hard it loses four in five.
    contarde(terceraedicion, {4, 0, 0}),
}};

// The tuning a match plays by. A file only holds editions this version
// knows (the reader checks), so the clamp only guards against a caller that
// builds rules by hand.
inline constexpr const edicion& edicionde(const reglas& r) {
    return ediciones[std::size_t(std::clamp<int>(r.edicion, 1, edicionreglas) - 1)];
}

inline constexpr const valores& valoresde(const reglas& r) {
    return r.modo == modoreglas::equilibradas ? edicionde(r).valor : valoresclasicos;
}

inline constexpr ajuste ajustede(const reglas& r) {
    return edicionde(r).niveles[std::size_t(int(r.nivel) % 3)];
}

} // namespace juego
