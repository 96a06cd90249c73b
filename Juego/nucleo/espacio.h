#pragma once

#include "Juego/nucleo/pregunta.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace juego {

class rejilla;

// The search's workspace: one word per cell of the map and its border,
// stamped with the search that last wrote it, so that a new search starts
// with every cell cleared by one increment instead of a pass over the map.
//
// What a search knows of a cell is in `estado`: a word below base() (four
// times the current search's stamp) is a cell this search has not reached
// yet; base() + alcanzada, + esperando and + cerrada are a cell reached
// while the list was full, one waiting in the list and one taken. Walls,
// water, trees, the border and, while a search runs, the cells of the
// searcher's living team-mates hold `muro`, above every stamp; so one load
// and one comparison refuse a neighbour that is taken or cannot be walked
// on. With the cost so far and the step from the parent (kept for waiting
// and taken cells only), a cell takes 8 bytes: a 1000 x 1000 map costs 8 MB.
class espacio {
public:
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

    // `ultima` is the last stamp before they start again; lower only to
    // see them wrap round soon. Never higher: a stamp past the last would
    // read as a wall.
    explicit espacio(uint32_t ultima = ultimageneracion)
        : ultima_(std::min(ultima, ultimageneracion)) {}

    // Fits the workspace to a map of that size and walls in the terrain of
    // `r` that cannot be walked on; every other cell starts as not reached.
    void preparar(const rejilla& r, int16_t anchomapa, int16_t altomapa);
    // Starts a search: every cell not a wall counts as not reached.
    void nueva();
    // Walls in the cells of the searcher's team-mates for one search, and
    // gives them back as they were.
    void tapar(const pregunta& p);
    void destapar();

    uint32_t base() const { return base_; }
    // Columns of the map plus two.
    int anchoborde() const { return anchoborde_; }
    std::size_t lugares() const { return nodos.size(); }
    // Cells are numbered row after row over the map with a border of one
    // cell all round, so that the eight neighbours of any map cell are
    // numbered too and need no bounds test.
    int32_t lugarde(int x, int y) const { return int32_t(y + 1) * anchoborde_ + int32_t(x + 1); }
    nodo& operator[](int32_t lugar) { return nodos[std::size_t(lugar)]; }
    const nodo& operator[](int32_t lugar) const { return nodos[std::size_t(lugar)]; }

private:
    std::vector<nodo> nodos;
    uint32_t generacion_ = 0;
    uint32_t base_ = 0; // generacion_ * 4
    uint32_t ultima_;
    int anchoborde_ = 0;
    // Team-mates' cells made `muro` by tapar, and whether each was already.
    std::vector<std::pair<int32_t, bool>> tapadas;
};

} // namespace juego
