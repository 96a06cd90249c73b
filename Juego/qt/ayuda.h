#pragma once

#include <QString>

#include <span>

namespace juego {

// What Ayuda → Controles tells, in one list: the keys of a match, the keys
// of the replay viewer and the rules a new player needs. The box is made
// from it, and the README's key tables are checked against it, so the
// three never drift apart.
struct entradaayuda {
    enum class donde { partida, repeticion, regla };
    donde en;
    // Entries of one group stand together; a group after another starts
    // after an empty line, with its title when it has one.
    int grupo;
    const char* titulo;
    const char* linea;
    // The key as the README's tables name it; none for a rule.
    const char* readme;
};

std::span<const entradaayuda> entradasayuda();
// The Controles box's text, lines joined with CR LF.
QString textocontroles();

} // namespace juego
