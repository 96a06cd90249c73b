#pragma once

#include "Juego/nucleo/pregunta.h"

#include <cstdint>
#include <vector>

namespace juego {

class abiertos;
class espacio;

// The proofs that a destination is cut off, so that a search that can never
// arrive ends long before it has taken every cell it still could. Each one
// floods (inundacion.h) with marks of its own, so that it can run in the
// middle of a search without disturbing it; it only reads the workspace and
// the open list.
//
// - Shut-in destination (aislado): living team-mates change every tick, so
//   they cannot be worked into the zones. Instead the few passable cells
//   around the destination are flooded first; when they run out before
//   touching the start (an enemy ringed by the fighter's own team), there is
//   no path.
// - Walled-off destination (sellado): in the middle of a search, the cells
//   not reached yet are flooded from the destination and from the waiting
//   cells at once. When the two floods cannot meet, nothing can ever reach
//   the destination: a hall whose door the fighter's own team holds, a
//   destination cut off by a line of cells first reached while the list was
//   full, or one that only cells of F 9999 or more lead to. Long floods go a
//   row run at a time.
class cerco {
public:
    // Fits the marks to a workspace of that many places over a map of that
    // size.
    void preparar(int16_t anchomapa, int16_t altomapa, std::size_t lugares);
    // A new search starts: what was worked out for the last one goes.
    void nueva() { columnaslistas = false; }

    // True when the few passable cells around the destination run out
    // before touching the start: nothing reaches it. False also when more
    // than `limite` would have to be flooded to know.
    bool aislado(const espacio& esp, const pregunta& p, int limite);
    // In the middle of a search: true when the destination can never be
    // taken. A cell is only ever taken after it waited in the list, and it
    // is put there only when first reached; so the destination, not reached
    // yet, is out of reach when the cells not reached yet around it are
    // ringed by walls, team-mates and cells reached already, none of which
    // waits in the list; cells whose F cannot fall below 9999 ring it too.
    // `trabajo` tells how much the look flooded, in cells one by one (a run
    // of a row counts as eight); past `limite` it gives up with false.
    bool sellado(const espacio& esp, const abiertos& lista, const pregunta& p, int limite,
                 int& trabajo);

private:
    // The same answer, flooding whole runs of a row at a time: for floods
    // that would take tens of thousands of cells one by one.
    bool selladoporfilas(const espacio& esp, const abiertos& lista, const pregunta& p, int limite,
                         int& trabajo);
    // The least F that cell (x, y) can ever have in the search of p.
    static int cotaf(const pregunta& p, int x, int y);
    // The first of `cuantos` new stamps in a row for the cells of new floods
    // in `inundado`.
    uint32_t nuevoriego(uint32_t cuantos = 1);

    std::vector<int32_t> pila;     // cells still to flood by aislado and sellado
    std::vector<int32_t> otrapila; // and by the second flood of sellado
    // Cells flooded, by workspace place, with a stamp of their own.
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
    // The columns of each row whose cells may still be taken in this
    // search, once `columnaslistas`.
    std::vector<int16_t> desdecolumna, hastacolumna;
    bool columnaslistas = false;
    struct semilla {
        int16_t x, y;
    };
    struct tramo {
        int16_t y, x0, x1;
        int lado;
    };
    std::vector<semilla> semillas[2];
    std::vector<tramo> tramos;
};

} // namespace juego
