#pragma once

#include <chrono>
#include <cstdint>

namespace juego {

// What the game core still needs from the window around it: everything
// else goes in as input values and comes out as events. The Qt window
// implements it; tests and the headless harness replace it with a recorder.
// None of these calls may wait.
class plataforma {
public:
    virtual ~plataforma() = default;

    // The "Sonido" check box, the player's own switch: 1 ticked, 0 not.
    virtual int16_t sonido() const = 0;
    virtual void ponersonido(int16_t valor) = 0;

    // The tick timer follows the match's pause: off while paused.
    virtual void ponertemporizador(bool activo) = 0;

    // Full redraw of the play field from the world state.
    virtual void dibujar() = 0;

    // The date and time now, in milliseconds since 1970 (UTC): when a match
    // starts, for its files' headers. Never used by the rules.
    virtual int64_t ahora() const {
        using namespace std::chrono;
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    }
};

} // namespace juego
