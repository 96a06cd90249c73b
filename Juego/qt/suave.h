#pragma once

#include "Juego/nucleo/mundo.h"

#include "Juego/qt/cuadro.h"
#include "Juego/qt/hojas.h"

#include <QImage>
#include <QPointF>

#include <array>
#include <cstdint>

namespace juego {

// Where everything that moves stood when a frame was drawn: the two last
// ones are what motion glides between.
struct instante {
    uint32_t tick = 0;
    int16_t vistax = 0;
    int16_t vistay = 0;
    struct lugar {
        int16_t x = 0;
        int16_t y = 0;
        bool vivo = false;
    };
    struct vuelo {
        double x = 0;
        double y = 0;
        bool activa = false;
    };
    std::array<lugar, numunidades> unidades{};
    std::array<vuelo, numflechas> flechas{};

    template <class M> static instante de(const M& m, int16_t vistax, int16_t vistay);
};

// The screen positions of a frame between two instants: the view's origin
// in cells and each fighter's top-left pixel.
struct entremedias {
    QPointF vista;
    std::array<QPointF, numunidades> unidades{};
};

// How far a tick's glide has come `ms` after the tick's frame arrived, with
// ticks every `intervalo` ms: 0 where the fighters stood, 1 where the tick
// put them. The glide answers the tick at once and is over by a third of
// the interval, so the screen never shows a step a tick after it was made:
// the first frame drawn (one display frame ahead) is already past the
// middle, and the rest eases in over the next frames.
double avance(double ms, int intervalo);

// Positions at fraction t (0 the earlier instant, 1 the later one). A
// fighter that came back to life or a view that jumped is shown where it
// is now, not sliding across the map.
entremedias interpolar(const instante& antes, const instante& ahora, double t);

// Draws the play field with fighters, arrows and the view between two
// ticks. The tick's own frame (`lienzo`) is not this one: that one is drawn
// cell by cell on whole cells and stays as it is; this one lays terrain
// first, then blood, fighters and arrows over it, anywhere.
class lienzosuave {
public:
    template <class M>
    void dibujar(const M& m, const instante& antes, const instante& ahora, const entremedias& e,
                 double t, QImage& destino) const;
};

} // namespace juego
