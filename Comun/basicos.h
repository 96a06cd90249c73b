#pragma once

// What both programs mean by a flag, a cell position, the grid and the
// eight directions, defined once.

#include <array>
#include <cstdint>

namespace comun {

// Flags hold -1 for true and 0 for false, and are tested against -1.
inline constexpr int16_t verdadero = -1;
inline constexpr int16_t falso = 0;

// Both programs hold the map in a fixed grid of this many cells per side.
inline constexpr int16_t ladorejilla = 1000;

struct posicion {
    int16_t x = 0;
    int16_t y = 0;
    friend bool operator==(const posicion&, const posicion&) = default;
};

// Column and row change of one step in each facing: 0 up-left, 1 up,
// 2 up-right, 3 right, 4 down-right, 5 down, 6 down-left, 7 left.
inline constexpr std::array<int16_t, 8> pasox = {-1, 0, 1, 1, 1, 0, -1, -1};
inline constexpr std::array<int16_t, 8> pasoy = {-1, -1, -1, 0, 1, 1, 1, 0};

// The facing of a step of (dc, dr), by the signs only; -1 for no step.
constexpr int16_t direccionhacia(int dc, int dr) {
    if (dc < 0 && dr < 0)
        return 0;
    if (dc == 0 && dr < 0)
        return 1;
    if (dc > 0 && dr < 0)
        return 2;
    if (dc > 0 && dr == 0)
        return 3;
    if (dc > 0 && dr > 0)
        return 4;
    if (dc == 0 && dr > 0)
        return 5;
    if (dc < 0 && dr > 0)
        return 6;
    if (dc < 0 && dr == 0)
        return 7;
    return -1;
}

} // namespace comun
