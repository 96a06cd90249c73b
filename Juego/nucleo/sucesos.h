#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace juego {

// What happened in a tick or an input, in the order it happened. The window
// plays and shows them after the tick; the harness logs them; the core never
// calls out for any of them.
enum class tiposuceso : uint8_t {
    sonido,      // texto: the file of `sonidos/`; x, y: the cell where it was heard
    estado,      // texto: the new status line
    baja,        // a killed b
    nivel,       // a grew stronger (its kill count reached a multiple of seven)
    muerte,      // a died at cell x, y
    reaparicion, // a came back at cell x, y
    fin,         // the match reached its goal; a is the winning team, -1 a draw
    aviso,       // texto: something the player should know about the match's files
};

struct suceso {
    tiposuceso tipo = tiposuceso::sonido;
    std::string texto;
    int16_t x = 0;
    int16_t y = 0;
    int16_t a = -1;
    int16_t b = -1;
};

using sucesos = std::vector<suceso>;

} // namespace juego
