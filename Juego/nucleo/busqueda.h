#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace juego {

class mundo;
struct celda;

// The path search of the computer fighters and its working data, shared by
// all fighters.
//
// The search gives the same cells, text and outcome as the plain method of a
// fixed 1000-entry open list scanned from the front at every pick and a reset
// of every map cell before every search, but without paying for either:
//
// - Reset: every cell has a stamp here. A cell whose stamp is not the current
//   search's counts as cleared, and its search fields in the map are zeroed
//   the first time this search touches it. Starting a search is one increment.
// - Open list: a four-way heap of the waiting cells (shallower than a binary
//   one, so a pick moves fewer cells), ordered by F and then by
//   the order in which the cells were queued, which is exactly the pick of a
//   front-to-back scan with a strict "less than". Each waiting cell knows its
//   place in the heap, so a cell whose F drops moves up where it is. The heap
//   never holds more than the 1000 cells the list may hold.
// - Reachability: walls, water and trees never change during a match, so the
//   8-connected zones of walkable terrain are worked out once per map. A
//   destination in another zone than every walkable neighbour of the start can
//   never be reached, and such a search ends at once with no path.
// - Shut-in destination: living team-mates change every tick, so they cannot
//   be worked into the zones. Instead the few passable cells around the
//   destination are flooded first; when they run out before touching the
//   start (an enemy ringed by the fighter's own team), there is no path
//   either, and the whole map need not be searched to learn it.
// - Repeated failures: a fighter that found no way asks again every tick.
//   Its last failed search is remembered with everything that decided it
//   (start, destination, and the cells its living team-mates block); while
//   none of that changes, the answer is given again without searching.
class busqueda {
public:
    busqueda();

    // The terrain changed (a map was loaded): the zones are worked out again,
    // here rather than in the first tick of the match.
    void nuevomapa(const mundo& m);
    // Some terrain was written: the zones and the remembered failures no
    // longer hold, and are worked out again at the next search.
    void terrenocambiado() {
        zonaslistas = false;
        ++mapas;
    }

    void buscarcamino(mundo& m, int16_t i);

    // Forgets the remembered failures, so that the next search of every
    // fighter runs in full (benchmarks time the search itself this way).
    void olvidar();

    // Lets a benchmark run a whole tick with another search in place of this
    // one; the game never sets it.
    std::function<void(mundo&, int16_t)> sustituto;

private:
    // A waiting cell in the heap.
    struct nodo {
        int16_t costof;
        int16_t x;
        int16_t y;
        uint32_t orden;
    };

    void limpiarbusqueda(const mundo& m);
    std::size_t lugarde(int x, int y) const { return std::size_t(y) * ancho + std::size_t(x); }
    celda& tocar(mundo& m, int x, int y);
    void expandir(mundo& m, int16_t i);
    void agregarabierto(const mundo& m, int16_t x, int16_t y);
    bool mejorabierto();
    bool hayabiertos() const { return !abiertos.empty(); }
    void subir(std::size_t k);
    void bajar(std::size_t k);
    void colocar(std::size_t k, const nodo& n);
    void leercamino(mundo& m, int16_t i);

    // The cells that fighter i's living team-mates block, in slot order.
    void bloqueados(const mundo& m, int16_t i, std::vector<int32_t>& celdas) const;

    bool alcanzable(const mundo& m, int16_t i);
    bool aislado(mundo& m, int16_t i);
    void calcularzonas(const mundo& m);

    std::vector<nodo> abiertos;
    uint32_t ordenes = 0; // cells queued so far in this search
    int16_t mejorx = 0;
    int16_t mejory = 0;
    int16_t descartes = 0;

    // What this workspace knows of each grid cell: the search that last
    // touched it (any other value means cleared) and, while the cell waits,
    // its place in `abiertos`; -1 once taken, or when it found the list full.
    struct marca {
        uint32_t sello = 0;
        int32_t lugar = -1;
    };
    std::vector<marca> marcas;
    uint32_t generacion = 0;
    int ancho = 0; // columns of the map the marks are laid out for
    std::vector<int16_t> via; // path cells, column and row, destination first
    std::vector<int16_t> pila; // cells still to flood by aislado

    // The last search of each fighter that found no path, and all it
    // depended on besides the terrain of the map it ran on.
    struct fracaso {
        bool valido = false;
        uint32_t mapa = 0;
        int16_t x = 0, y = 0, destx = 0, desty = 0;
        std::vector<int32_t> bloqueos;
        int16_t sigx = 0, sigy = 0; // where the search left its current node
    };
    std::vector<fracaso> fracasos;
    uint32_t mapas = 0; // maps loaded so far
    std::vector<int32_t> bloqueosahora;

    // Zone of each cell of the loaded map, row after row; 0 for terrain that
    // cannot be walked on.
    std::vector<int32_t> zonas;
    bool zonaslistas = false;
    int16_t zonasancho = 0;
    int16_t zonasalto = 0;
};

} // namespace juego
