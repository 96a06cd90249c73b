#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace juego {

// The flood behind every proof that a destination is cut off: around a
// shut-in destination, and in the middle of a search, cell by cell or a row
// run at a time. Each proof says what a cell or a run is to it; how floods
// advance, take turns and end is written once, here.

// What a flood does with a cell it comes to.
enum class paso { salta, sigue, salida };

// One step of a flood: takes the last cell off `pila` and asks `celda`
// about each neighbour not marked `marca` yet, in the order `orden(centro)`
// gives (eight offsets): sigue marks and piles it, salida ends the step with
// false (the flood met what it looks for).
template <class Orden, class Celda>
bool regar(std::vector<int32_t>& pila, std::vector<uint32_t>& marcas, uint32_t marca, Orden orden,
           Celda celda) {
    const int32_t centro = pila.back();
    pila.pop_back();
    for (const int32_t d : orden(centro)) {
        const int32_t lugar = centro + d;
        if (marcas[std::size_t(lugar)] == marca)
            continue;
        const paso p = celda(lugar);
        if (p == paso::salida)
            return false;
        if (p == paso::sigue) {
            marcas[std::size_t(lugar)] = marca;
            pila.push_back(lugar);
        }
    }
    return true;
}

// How two floods that take turns ended: one ran out before they met (so
// they never can), they met, or `seguir` stopped them first.
enum class desenlace { separados, juntos, parado };

// Two floods take turns, one step each (`paso0`, `paso1`, false when the
// step met the other side), while both have something left (`queda0`,
// `queda1`); `seguir` is asked before each round. A flood with nothing to
// meet but a fixed goal takes turns with a side that never runs out.
template <class Queda0, class Paso0, class Queda1, class Paso1, class Seguir>
desenlace turnos(Queda0 queda0, Paso0 paso0, Queda1 queda1, Paso1 paso1, Seguir seguir) {
    while (queda0() && queda1()) {
        if (!seguir())
            return desenlace::parado;
        if (!paso0() || !paso1())
            return desenlace::juntos;
    }
    return desenlace::separados;
}

} // namespace juego
