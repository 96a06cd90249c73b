#pragma once

#include <cstdint>

// The generators' only source of chance: a number that depends on nothing
// but its arguments, so every run and every machine draws the same pictures
// and maps.
namespace herramientas {

inline uint32_t mezcla(uint32_t a) {
    a ^= a >> 16;
    a *= 0x7feb352dU;
    a ^= a >> 15;
    a *= 0x846ca68bU;
    a ^= a >> 16;
    return a;
}

// A number in [0, 1) fixed by (x, y, semilla).
inline double azar(int x, int y, int semilla) {
    uint32_t h = mezcla(uint32_t(x) * 0x9E3779B1U ^ mezcla(uint32_t(y) + 0x632BE5ABU) ^
                        mezcla(uint32_t(semilla) * 0x85EBCA77U));
    return (h >> 8) / double(1U << 24);
}

} // namespace herramientas
