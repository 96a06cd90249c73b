#pragma once

#include <cstdlib>

namespace juego {

// What a step of the search costs, straight and diagonal, and its estimate
// of what is left from a cell to the destination. The proofs of a cut-off
// destination bound F with the same numbers, so they live in one place.
inline constexpr int pasorecto = 10;
inline constexpr int pasodiagonal = 14;

inline int costoh(int destx, int desty, int x, int y) {
    return pasorecto * (std::abs(destx - x) + std::abs(desty - y));
}

} // namespace juego
