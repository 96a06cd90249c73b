#pragma once

#include "Juego/nucleo/mundo.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace juego {

// The terrain of the whole map, for the minimap. Terrain only changes when
// a map or a match is loaded, so one copy is shared by every frame until
// then: a 1000 x 1000 map is not copied each tick.
struct terrenomapa {
    int ancho = 0; // cells, the map's size plus one as the grid lays it out
    int alto = 0;
    std::vector<int16_t> tipos;

    static std::shared_ptr<const terrenomapa> de(const mundo& m);
    int16_t en(int c, int r) const {
        return c >= 0 && r >= 0 && c < ancho && r < alto
                   ? tipos[std::size_t(r) * std::size_t(ancho) + std::size_t(c)]
                   : int16_t(0);
    }
};

// What the window draws of one moment of a match, made on the simulation's
// thread and never changed after: the cells around the view (with room for
// the view's glide between two ticks), every fighter and arrow, the scores
// and flags, and which slot is shown, from where, with its status line. The
// painters read it with the same names as the world, so they draw the same
// pixels from either.
class cuadro {
public:
    // Cells copied beyond each edge of the view: the glide between two
    // ticks shows at most one more column and row, and the view moves at
    // most a cell a tick while it glides.
    static constexpr int margen = 2;

    // The frame of `m` seen from `vista`, for slot `jugador`. `terreno` is
    // the minimap's terrain (the last frame's while the map is the same).
    static std::shared_ptr<cuadro> de(const mundo& m, int16_t jugador, posicion vista,
                                      std::shared_ptr<const terrenomapa> terreno);

    int16_t anchomapa = 0;
    int16_t altomapa = 0;
    int16_t maxp = 0;
    // Fighters without their planned paths: nothing drawn reads them.
    std::array<unidad, numunidades> unidades{};
    std::array<flecha, numflechas> flechas{};
    std::array<tipobase, 3> tipos{};
    std::array<int16_t, numunidades> humano{};
    int16_t jugando = falso;
    int16_t pausado = falso;
    int16_t fin = falso;
    int16_t ganador = -1;
    objetivo meta;
    reglas regla; // the end screen tells them
    uint32_t numtick = 0;

    // The slot shown, the view drawn and that slot's status line.
    int16_t jugador = 0;
    posicion vista{};
    std::string estado;
    // Whether the match keeps a record (something to save as a replay).
    bool grabando = false;
    // Whether the simulation's clock was running when the frame was made.
    bool reloj = false;
    std::shared_ptr<const terrenomapa> terreno;

    // A cell near the view; any other reads as a cleared cell.
    const celda& mapa(int x, int y) const;
    int16_t terrenode(int c, int r) const { return terreno ? terreno->en(c, r) : int16_t(0); }
    int32_t muertesequipo(int16_t e) const;
    bool eshumano(int16_t i) const { return i >= 0 && i < numunidades && humano[i] == verdadero; }
    posicion vistaajustada(posicion v) const;

private:
    posicion origen_{};
    int ancho_ = 0;
    int alto_ = 0;
    std::vector<celda> celdas_;
};

// The terrain of cell (c, r) for the minimap, from the world or a frame.
inline int16_t terrenode(const mundo& m, int c, int r) {
    return m.mapa(c, r).terreno;
}
inline int16_t terrenode(const cuadro& m, int c, int r) {
    return m.terrenode(c, r);
}

} // namespace juego
