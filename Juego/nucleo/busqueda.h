#pragma once

#include "Juego/nucleo/memoria.h"
#include "Juego/nucleo/pregunta.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace juego {

class rejilla;

// The path search of the computer fighters and its working data, shared by
// all fighters. It reads the grid and is told the rest (the question); it
// answers with a path or a failure, and the world writes that into the
// fighter. Nothing of it lives in the map: the map holds what the fighters
// see, this class what the search scribbles while it thinks.
//
// Around it: rejilla holds the cells and the terrain version, pregunta.h
// the question and the answer, memoria the answers given before, and
// inundacion.h the flood that every proof of a cut-off destination below
// runs (the shut-in one, and the walled-off one cell by cell and a row run
// at a time); here are the workspace, the open list, the zones and the
// search itself.
//
// The search gives the same cells, text and outcome as the plain method of a
// fixed 1000-entry open list scanned from the front at every pick and a reset
// of every map cell before every search, but without paying for either:
//
// - Reset: every cell of the workspace has a stamp. A cell whose stamp is not
//   the current search's counts as cleared, and is cleared the first time this
//   search touches it. Starting a search is one increment.
// - Open list: one bucket per value of F below 9999 (no other F can be
//   picked). A bucket is a list linked both ways that keeps its cells in the
//   order they were queued, so the front of the lowest bucket is exactly the
//   pick of a front-to-back scan with a strict "less than". A cell whose F
//   drops is unlinked from its bucket and linked into its new one at its
//   place by queue order, so the buckets never hold a cell that is not
//   waiting there. At most 1000 cells wait, as the plain list holds no more;
//   their links come from a pool of that many, small enough to stay in the
//   fastest cache.
// - Repeated failures: a fighter that found no way asks again every tick.
//   Its failure is remembered (see memoria) with the whole question and
//   the grid's terrain version; while none of that changes, the answer is
//   given again before anything else is done.
// - Reachability: walls, water and trees only change when a map is loaded or
//   a cell is repainted, so the 8-connected zones of walkable terrain are
//   worked out once for them. A destination in another zone than every
//   walkable neighbour of the start can never be reached, and such a search
//   ends at once with no path.
// - Shut-in destination: living team-mates change every tick, so they cannot
//   be worked into the zones. Instead the few passable cells around the
//   destination are flooded first; when they run out before touching the
//   start (an enemy ringed by the fighter's own team), there is no path
//   either, and the whole map need not be searched to learn it.
// - Walled-off destination: a search that has taken a couple of thousand
//   cells without arriving, and again every so often after that, floods the
//   cells it has not reached, from the destination and from the waiting
//   cells at once. When the two floods cannot meet, nothing can ever reach
//   the destination: a hall whose door the fighter's own team holds, a
//   destination cut off by a line of cells first reached while the list was
//   full (on open maps the search fills the list long before it arrives),
//   or one that only cells of F 9999 or more lead to. This is found out long
//   before the search would have taken every cell it still could.
class busqueda {
public:
    busqueda();
    ~busqueda();
    busqueda(const busqueda&) = delete;
    busqueda& operator=(const busqueda&) = delete;

    // The answer to `p` on the terrain of `r`. The map of the question lies
    // in the grid; its start and destination lie in the map, or the answer
    // is a failure at once.
    respuesta buscarcamino(const rejilla& r, const pregunta& p);
    // Works out now what the search keeps of the terrain of a map of that
    // size (its zones), rather than in the first search.
    void preparar(const rejilla& r, int16_t anchomapa, int16_t altomapa);
    // Drops every remembered answer.
    void olvidar() { memoria_.olvidar(); }

private:
    // What a search knows of a cell and its border, in one word: a word below
    // `base` (four times the current search's stamp) is a cell this search has
    // not reached yet; base + alcanzada, + esperando and + cerrada are a cell
    // reached while the list was full, one waiting in the list and one taken.
    // Walls, water, trees, the border and, while a search runs, the cells of
    // the searcher's living team-mates hold `muro`, above every stamp; so one
    // load and one comparison refuse a neighbour that is taken or cannot be
    // walked on. With the cost so far and the step from the parent (kept for
    // waiting and taken cells only), a cell takes 8 bytes: a 1000 x 1000 map
    // costs 8 MB of workspace.
    struct nodo {
        uint32_t estado = 0;
        int16_t costog = 0;
        // The step from the parent to this cell, (dy + 1) * 3 + dx + 1. Not a
        // byte: a store to a byte may change anything as far as the compiler
        // knows, which would have it load the workspace's place again after
        // each one.
        uint16_t padre = 0;
    };
    static constexpr uint32_t alcanzada = 0;
    static constexpr uint32_t esperando = 1;
    static constexpr uint32_t cerrada = 3;
    static constexpr uint32_t muro = UINT32_MAX;
    // Stamps go up to this; base + cerrada must stay below muro.
    static constexpr uint32_t ultimageneracion = (muro >> 2) - 1;

    // A waiting cell: when it was queued (0 once the link is handed back),
    // where it lies, and its neighbours in its bucket (-1 at either end). A
    // cell waiting with F 9999 or more is in no bucket and its neighbours
    // mean nothing.
    struct eslabon {
        uint32_t orden;
        int32_t lugar;
        int16_t x, y;
        int16_t anterior, siguiente;
    };
    struct cubo {
        int16_t primero = -1, ultimo = -1;
    };

    // Cells are numbered row after row over the map with a border of one
    // cell all round, so that the eight neighbours of any map cell are
    // numbered too and need no bounds test.
    int32_t lugarde(int x, int y) const { return int32_t(y + 1) * anchoborde + int32_t(x + 1); }
    void tapar(const pregunta& p);
    void destapar();
    void buscar(const pregunta& p, respuesta& r);
    void limpiarbusqueda();
    void expandir();
    // Links waiting cell k into bucket f at its place by queue order;
    // alfinal when it was just queued, and so goes last.
    void enlazar(int f, int16_t k);
    void alfinal(int f, int16_t k);
    // Links waiting cell k into bucket f between two of its links (-1 for
    // either end of the bucket).
    void entre(int f, int16_t k, int16_t anterior, int16_t siguiente);
    void desenlazar(int f, int16_t k);
    // Takes the best waiting cell off the list, marks it taken and puts it
    // in x, y; false when no waiting cell can be taken.
    bool mejorabierto(int16_t& x, int16_t& y);
    bool hayabiertos() const { return enlista > 0; }
    void leercamino(const pregunta& p, respuesta& r);

    bool alcanzable(const pregunta& p) const;
    // True when the few passable cells around the destination run out
    // before touching the start: nothing reaches it. False also when more
    // than `limite` would have to be flooded to know.
    bool aislado(const pregunta& p, int limite);
    // In the middle of a search: true when the destination can never be
    // taken. A cell is only ever taken after it waited in the list, and it
    // is put there only when first reached; so the destination, not reached
    // yet, is out of reach when the cells not reached yet around it are
    // ringed by walls, team-mates and cells reached already, none of which
    // waits in the list; cells whose F cannot fall below 9999 ring it too.
    // `trabajo` tells how much the look flooded, in cells one by one (a run
    // of a row counts as eight); past `limite` it gives up with false.
    bool sellado(const pregunta& p, int limite, int& trabajo);
    // The same answer, flooding whole runs of a row at a time: for floods
    // that would take tens of thousands of cells one by one.
    bool selladoporfilas(const pregunta& p, int limite, int& trabajo);
    // The least F that cell (x, y) can ever have in the search of p.
    static int cotaf(const pregunta& p, int x, int y);
    // The first of `cuantos` new stamps in a row for the cells of new floods
    // in `inundado`.
    uint32_t nuevoriego(uint32_t cuantos = 1);
    void calcularzonas(const rejilla& r, int16_t anchomapa, int16_t altomapa);

    // Workspace, one entry per cell of the map and its border.
    std::vector<nodo> nodos;
    // The link of each waiting cell; read only for cells that wait.
    std::vector<int16_t> eslabonde;
    uint32_t generacion = 0;
    uint32_t base = 0;  // generacion * 4
    int anchoborde = 0; // columns of the map plus two
    // Team-mates' cells made `muro` by tapar, and whether each was already.
    std::vector<std::pair<int32_t, bool>> tapadas;

    // Open list: buckets by F and the links of the waiting cells.
    std::vector<cubo> cubos;
    std::vector<eslabon> eslabones;
    int16_t usados = 0;   // links of the pool handed out in this search
    int16_t libre = -1;   // links handed back, chained by `siguiente`
    int minimo = 0;       // every bucket below this is empty
    int maximo = -1;      // and every bucket above this
    int enlista = 0;      // waiting cells, whatever their F
    uint32_t ordenes = 0; // cells queued so far in this search

    int32_t actual = 0; // where the current node (sigx, sigy) lies in the workspace
    int16_t sigx = 0, sigy = 0;
    int16_t destx = 0, desty = 0;
    int16_t descartes = 0;
    bool perdida = false; // the destination was reached with the list full

    std::vector<int32_t> pila;     // cells still to flood by aislado and sellado
    std::vector<int32_t> otrapila; // and by the second flood of sellado
    // Cells flooded by aislado and sellado, by a stamp of its own so that a flood can
    // run in the middle of a search without disturbing it.
    std::vector<uint32_t> inundado;
    uint32_t riego = 0;

    // What selladoporfilas floods, as bits, 64 cells of a row to a word, row
    // after row over the map: a row of a thousand cells is sixteen words.
    // `abierta` holds the cells not reached that may still be taken, read
    // off the workspace as a look needs them (`leida` tells which words
    // this look, `mirada`, has read); `esperas` the waiting cells and
    // `vistos` the runs each flood took, both only while a look runs.
    int palabrasfila = 0;
    std::vector<uint64_t> abierta, esperas, vistos[2];
    std::vector<uint32_t> leida;
    uint32_t mirada = 0;
    // The columns of each row whose cells may still be taken, for the
    // search of stamp `columnasde`.
    std::vector<int16_t> desdecolumna, hastacolumna;
    uint32_t columnasde = 0;
    struct semilla {
        int16_t x, y;
    };
    struct tramo {
        int16_t y, x0, x1;
        int lado;
    };
    std::vector<semilla> semillas[2];
    std::vector<tramo> tramos;

    memoria memoria_;

    // Zone of each cell of the loaded map, row after row; 0 for terrain that
    // cannot be walked on.
    std::vector<int32_t> zonas;
    uint64_t zonasversion = UINT64_MAX; // the terrain version they were worked out for
    int16_t zonasancho = 0;
    int16_t zonasalto = 0;
};

} // namespace juego
