#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace juego {

// The open list of the search: the cells waiting to be taken, picked by
// least F and, among equal F, the one queued first, as a fixed list of 1000
// entries scanned from the front with a strict "less than" would pick them,
// without the scan.
//
// One bucket per value of F below 9999 (no other F can be picked). A bucket
// is a list linked both ways that keeps its cells in the order they were
// queued, so the front of the lowest bucket is the pick. A cell whose F
// drops is unlinked from its bucket and linked into its new one at its
// place by queue order, so the buckets never hold a cell that is not
// waiting there. At most 1000 cells wait, as the plain list holds no more;
// their links come from a pool of that many, small enough to stay in the
// fastest cache. Cells are known by their place in the workspace.
class abiertos {
public:
    // Cells that may wait at once; a cell reached while this many wait is
    // never queued.
    static constexpr int capacidad = 1000;
    // Only cells whose F is below this can be picked.
    static constexpr int topef = 9999;

    // A waiting cell: when it was queued (0 once the link is handed back),
    // where it lies, and its neighbours in its bucket (-1 at either end). A
    // cell waiting with F 9999 or more is in no bucket and its neighbours
    // mean nothing.
    struct eslabon {
        uint32_t orden;
        int32_t lugar;
        int16_t x, y;
        int16_t anterior, siguiente;
        bool espera() const { return orden != 0; }
    };

    abiertos();
    // Fits the list to a workspace of that many places.
    void dimensionar(std::size_t lugares);
    // Empties the list for a new search.
    void vaciar();

    bool lleno() const { return enlista >= capacidad; }
    // Waiting cells, whatever their F.
    int cuantos() const { return enlista; }

    // Queues the cell at `lugar`, (x, y), with F `f`: last of its bucket.
    // A cell at F 9999 or more takes a place in the list but waits outside
    // the buckets, and is never picked unless its F drops.
    void poner(int32_t lugar, int x, int y, int f) {
        ++enlista;
        // Never more links are out than cells wait.
        int16_t k = libre;
        if (k >= 0)
            libre = eslabones[std::size_t(k)].siguiente;
        else
            k = usados++;
        eslabonde[std::size_t(lugar)] = k;
        eslabon& e = eslabones[std::size_t(k)];
        e.orden = ++ordenes;
        e.x = int16_t(x);
        e.y = int16_t(y);
        e.lugar = lugar;
        if (f < topef)
            alfinal(f, k);
    }
    // The F of the waiting cell at `lugar` dropped from `antes` to `f`.
    void rebajar(int32_t lugar, int antes, int f) {
        const int16_t k = eslabonde[std::size_t(lugar)];
        if (antes < topef)
            desenlazar(antes, k);
        if (f < topef)
            enlazar(f, k);
    }
    // Takes the pick off the list and puts where it lies in `lugar`, x, y;
    // false when no waiting cell can be picked.
    bool tomar(int32_t& lugar, int16_t& x, int16_t& y) {
        for (; minimo <= maximo; ++minimo) {
            cubo& b = cubos[std::size_t(minimo)];
            if (b.primero < 0)
                continue;
            const int16_t k = b.primero;
            eslabon& e = eslabones[std::size_t(k)];
            b.primero = e.siguiente;
            if (e.siguiente >= 0)
                eslabones[std::size_t(e.siguiente)].anterior = -1;
            x = e.x;
            y = e.y;
            lugar = e.lugar;
            e.siguiente = libre;
            e.orden = 0; // handed back: no longer a waiting cell
            libre = k;
            --enlista;
            return true;
        }
        return false;
    }

    // The links handed out in this search, in the order they were first
    // handed out; those that espera() are the waiting cells.
    int16_t enlaces() const { return usados; }
    const eslabon& enlace(int16_t k) const { return eslabones[std::size_t(k)]; }

private:
    struct cubo {
        int16_t primero = -1, ultimo = -1;
    };

    // Links k into bucket f between two of its links (-1 for either end).
    void entre(int f, int16_t k, int16_t anterior, int16_t siguiente) {
        cubo& b = cubos[std::size_t(f)];
        eslabon& e = eslabones[std::size_t(k)];
        e.anterior = anterior;
        e.siguiente = siguiente;
        if (anterior < 0)
            b.primero = k;
        else
            eslabones[std::size_t(anterior)].siguiente = k;
        if (siguiente < 0)
            b.ultimo = k;
        else
            eslabones[std::size_t(siguiente)].anterior = k;
        minimo = std::min(minimo, f);
        maximo = std::max(maximo, f);
    }
    void alfinal(int f, int16_t k) {
        const cubo& b = cubos[std::size_t(f)];
        // An empty bucket's `ultimo` means nothing.
        entre(f, k, b.primero < 0 ? int16_t(-1) : b.ultimo, -1);
    }
    // Links k into bucket f at its place by queue order.
    void enlazar(int f, int16_t k) {
        const cubo& b = cubos[std::size_t(f)];
        const uint32_t orden = eslabones[std::size_t(k)].orden;
        // Into an empty bucket, or after a cell queued before it: last.
        if (b.primero < 0 || eslabones[std::size_t(b.ultimo)].orden < orden) {
            alfinal(f, k);
            return;
        }
        // A cell whose F dropped goes among the waiting ones by when it was
        // queued; the last one was queued later, so the walk stops.
        int16_t p = b.primero;
        while (eslabones[std::size_t(p)].orden < orden)
            p = eslabones[std::size_t(p)].siguiente;
        entre(f, k, eslabones[std::size_t(p)].anterior, p);
    }
    void desenlazar(int f, int16_t k) {
        cubo& b = cubos[std::size_t(f)];
        const eslabon& e = eslabones[std::size_t(k)];
        if (e.anterior < 0)
            b.primero = e.siguiente;
        else
            eslabones[std::size_t(e.anterior)].siguiente = e.siguiente;
        if (e.siguiente < 0)
            b.ultimo = e.anterior;
        else
            eslabones[std::size_t(e.siguiente)].anterior = e.anterior;
    }

    std::vector<cubo> cubos;
    std::vector<eslabon> eslabones;
    // The link of each waiting cell by its place; read only for cells that
    // wait.
    std::vector<int16_t> eslabonde;
    int16_t usados = 0;   // links of the pool handed out in this search
    int16_t libre = -1;   // links handed back, chained by `siguiente`
    int minimo = 0;       // every bucket below this is empty
    int maximo = -1;      // and every bucket above this
    int enlista = 0;      // waiting cells, whatever their F
    uint32_t ordenes = 0; // cells queued so far in this search
};

} // namespace juego
