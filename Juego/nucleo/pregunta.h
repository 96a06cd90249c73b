#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace juego {

// Team-mates of a fighter, all but itself.
inline constexpr int maxbloqueos = 16;

// All that decides a path search besides the terrain: the map's size, the
// fighter's cell, its goal and the cells its living team-mates block. Two
// equal questions on equal terrain have equal answers.
struct pregunta {
    int16_t anchomapa = 0; // the map's last column and row
    int16_t altomapa = 0;
    int16_t x = 0, y = 0;
    int16_t destx = 0, desty = 0;
    // Grid cells (row * 1000 + column) in slot order; the unused entries
    // stay 0, so that equal questions compare equal.
    int16_t nbloqueos = 0;
    std::array<int32_t, maxbloqueos> bloqueos{};
    bool operator==(const pregunta&) const = default;
};

// A path, or a failure.
struct respuesta {
    bool encontrado = false;
    // Column and row of each cell of the path, the destination first.
    std::vector<int16_t> via;
    // Where the search left its current node: the start, unless a search
    // that ran in full found nothing.
    int16_t sigx = 0, sigy = 0;
};

} // namespace juego
