#pragma once

#include "Comun/basicos.h"

#include <cstdint>

namespace comun {

// Terrain kinds, in the order of the tile pictures of both programs.
enum terreno : int16_t {
    pasto = 0,
    madera = 1,
    pared = 2,
    agua = 3,
    arbol = 4,
    piso = 5,
};

inline constexpr int16_t numterrenos = 6;

// Walls, water and trees stop a fighter; everything else can be walked on.
constexpr bool transitable(int16_t t) {
    return t != pared && t != agua && t != arbol;
}

} // namespace comun
