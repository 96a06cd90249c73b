#pragma once

#include <array>
#include <cstdint>

namespace juego {

// The state of the four arrow keys as the tick reads it: the top bit while a
// key is held, the lowest bit when it went down since that key's last query.
// Fed by our own windows' key events only, so keys typed into other programs
// never move the player.
class estadoteclas {
public:
    void apretar(int16_t codigo) {
        if (int k = indice(codigo); k >= 0) {
            abajo_[k] = true;
            pulsada_[k] = true;
        }
    }
    void soltar(int16_t codigo) {
        if (int k = indice(codigo); k >= 0)
            abajo_[k] = false;
    }
    void soltartodas() { abajo_.fill(false); }
    uint16_t consultar(int16_t codigo) {
        int k = indice(codigo);
        if (k < 0)
            return 0;
        uint16_t v = uint16_t((abajo_[k] ? 0x8000 : 0) | (pulsada_[k] ? 1 : 0));
        pulsada_[k] = false;
        return v;
    }

private:
    // Virtual-key codes 37..40: left, up, right, down.
    static int indice(int16_t codigo) { return codigo >= 37 && codigo <= 40 ? codigo - 37 : -1; }
    std::array<bool, 4> abajo_{};
    std::array<bool, 4> pulsada_{};
};

} // namespace juego
