#pragma once

#include "Juego/nucleo/pregunta.h"

#include <cstdint>
#include <vector>

namespace juego {

class rejilla;

// The 8-connected zones of walkable terrain of a map. Walls, water and trees
// only change when a map is loaded or a cell is repainted, so the zones are
// worked out once for a terrain version and tell at once that a destination
// in another zone than every walkable neighbour of the start can never be
// reached. Living team-mates change every tick and are not part of them.
class zonas {
public:
    // Whether the zones were worked out for this terrain and map size.
    bool vigentes(const rejilla& r, int16_t anchomapa, int16_t altomapa) const;
    void calcular(const rejilla& r, int16_t anchomapa, int16_t altomapa);
    // False when the destination of `p` lies in another zone than every
    // neighbour of the start in the map: no path can reach it. The zones
    // must be current, and both cells lie in the map.
    bool alcanzable(const pregunta& p) const;

private:
    // Zone of each cell of the map, row after row; 0 for terrain that
    // cannot be walked on.
    std::vector<int32_t> zona;
    uint64_t version = UINT64_MAX; // the terrain version they were worked out for
    int16_t ancho = 0;
    int16_t alto = 0;
};

} // namespace juego
