#pragma once

#include "Juego/nucleo/abiertos.h"
#include "Juego/nucleo/cerco.h"
#include "Juego/nucleo/espacio.h"
#include "Juego/nucleo/memoria.h"
#include "Juego/nucleo/pregunta.h"
#include "Juego/nucleo/zonas.h"

#include <cstdint>

namespace juego {

class rejilla;

// The path search of the computer fighters, shared by all fighters. It reads
// the grid and is told the rest (the question); it answers with a path or a
// failure, and the world writes that into the fighter. Nothing of it lives
// in the map: the map holds what the fighters see, the search's parts what
// it scribbles while it thinks.
//
// The search gives the same cells, text and outcome as the plain method of a
// fixed 1000-entry open list scanned from the front at every pick and a reset
// of every map cell before every search, but without paying for either. It
// is made of parts that each keep one thing, and this class runs them:
//
// - rejilla holds the cells and the terrain version; pregunta.h the
//   question and the answer; costos.h what a step costs and the estimate.
// - memoria: a fighter that found no way asks again every tick. Its failure
//   is remembered with the whole question and the terrain version; while
//   none of that changes, the answer is given again before anything else.
// - zonas: the 8-connected zones of walkable terrain, worked out once per
//   terrain version. A destination in another zone than every walkable
//   neighbour of the start ends the search at once with no path.
// - espacio: the workspace, one stamped word per cell, so that starting a
//   search is one increment rather than a reset of the map; walls and, for
//   one search, the team-mates' cells are walled in there.
// - abiertos: the open list, buckets by F that pick exactly as the plain
//   front-to-back scan does, ties going to the cell queued first.
// - cerco: the proofs that a destination is cut off, flooding (inundacion.h)
//   around a shut-in destination before the search, and in the middle of a
//   long search, from the destination and the waiting cells at once.
//
// Here is the search itself: it expands taken cells into the workspace and
// the list, asks the cerco every so often, and reads the path back.
class busqueda {
public:
    busqueda() = default;
    busqueda(const busqueda&) = delete;
    busqueda& operator=(const busqueda&) = delete;

    // The answer to `p` on the terrain of `r`. The map of the question lies
    // in the grid; its start and destination lie in the map, or the answer
    // is a failure at once.
    respuesta buscarcamino(const rejilla& r, const pregunta& p);
    // Works out now what the search keeps of the terrain of a map of that
    // size (its zones and workspace), rather than in the first search.
    void preparar(const rejilla& r, int16_t anchomapa, int16_t altomapa);
    // Drops every remembered answer.
    void olvidar() { memoria_.olvidar(); }

private:
    void buscar(const pregunta& p, respuesta& r);
    void expandir();
    void leercamino(const pregunta& p, respuesta& r);

    memoria memoria_;
    zonas zonas_;
    espacio espacio_;
    abiertos abiertos_;
    cerco cerco_;

    int32_t actual = 0; // where the current node (sigx, sigy) lies in the workspace
    int16_t sigx = 0, sigy = 0;
    int16_t destx = 0, desty = 0;
    int16_t descartes = 0;
    bool perdida = false; // the destination was reached with the list full
};

} // namespace juego
