#pragma once

#include <array>
#include <cstdint>

namespace comun {

// Key codes of the keys the game reads, as the key-down handler and the
// key-state query number them (letters and the space bar as their
// characters).
inline constexpr int16_t vkespacio = 32;
inline constexpr int16_t vkizquierda = 37;
inline constexpr int16_t vkarriba = 38;
inline constexpr int16_t vkderecha = 39;
inline constexpr int16_t vkabajo = 40;
inline constexpr int16_t vkp = 80;
inline constexpr int16_t vks = 83;

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
    static int indice(int16_t codigo) {
        return codigo >= vkizquierda && codigo <= vkabajo ? codigo - vkizquierda : -1;
    }
    std::array<bool, 4> abajo_{};
    std::array<bool, 4> pulsada_{};
};

} // namespace comun
