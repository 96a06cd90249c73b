#pragma once

#include <cstdint>
#include <string>

namespace juego {

// What the game core needs from the window around it. The Qt window
// implements it; tests and the headless harness replace it with a recorder.
// None of these calls may wait.
class plataforma {
public:
    virtual ~plataforma() = default;

    // The status line under the play field.
    virtual void mostrar(const std::string& texto) = 0;

    // Key state of one arrow key, by its virtual-key code (37 left, 38 up,
    // 39 right, 40 down): top bit while held, lowest bit when pressed since
    // the previous query of that key.
    virtual uint16_t tecla(int16_t codigo) = 0;

    // The "Sonido" check box: 1 ticked, 0 not.
    virtual int16_t sonido() const = 0;
    virtual void ponersonido(int16_t valor) = 0;

    // Hands a file of `sonidos/` to the sound player, without waiting.
    virtual void reproducir(const std::string& nombre) = 0;

    // The tick timer; switching it off is the game's pause.
    virtual bool temporizador() const = 0;
    virtual void ponertemporizador(bool activo) = 0;

    // Full redraw of the play field from the world state.
    virtual void dibujar() = 0;
};

} // namespace juego
