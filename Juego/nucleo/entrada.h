#pragma once

#include <cstdint>
#include <vector>

namespace juego {

// What the tick reads of one player's arrow keys: the four key words as the
// key-state query gives them (top bit while held, lowest bit when pressed
// since the previous query), in the order the tick reads them.
struct teclasflechas {
    uint16_t izquierda = 0;
    uint16_t derecha = 0;
    uint16_t abajo = 0;
    uint16_t arriba = 0;
    bool operator==(const teclasflechas&) const = default;
};

// The arrow keys of one human-controlled fighter slot for one tick.
struct mando {
    int16_t slot = 0;
    teclasflechas teclas;
    bool operator==(const mando&) const = default;
};

// Everything a tick takes from outside: the arrow keys of the human slots.
// A human slot with no entry here holds no key.
struct entradatick {
    std::vector<mando> mandos;
    bool operator==(const entradatick&) const = default;
};

// What comes in between two ticks, applied in the order it happened: a
// stroke of the sword (space bar), a shot at a cell (a click, already turned
// from pixels into the aimed cell), the pause key, or a fighter handed to a
// person or back to the computer (a network player joined or left). Players
// send the first three; hand-overs come from the host alone.
enum class tipoaccion : uint8_t { espacio = 0, click = 1, pausa = 2, relevo = 3 };

struct accion {
    tipoaccion tipo = tipoaccion::espacio;
    int16_t slot = 0;
    int16_t x = 0; // the aimed cell of a click; of a hand-over, 1 to a person, 0 back
    int16_t y = 0;
    bool operator==(const accion&) const = default;
};

} // namespace juego
