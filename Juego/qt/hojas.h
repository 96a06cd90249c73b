#pragma once

#include <QImage>
#include <QPainter>

#include <array>

namespace juego {

// The play field's pictures: terrain tiles, the two teams' fighters, blood
// and arrows, from the resources. Both painters of the field (the tick's
// frame and the motion between ticks) draw from them.
struct hojas {
    std::array<QImage, 6> terrenos;
    std::array<QImage, 2> personajes;
    QImage sangre;
    QImage flech;

    // The one set every painter shares, loaded by the first call: the
    // painters ask for it when they first draw, so a game that never leaves
    // its title screen never holds the pictures.
    static const hojas& compartidas();
};

// Copies one 20 x 20 cell of `origen` at (sx, sy) to (x, y) with `modo`, or
// nothing if it would read outside the picture.
void copiar(QPainter& p, int x, int y, const QImage& origen, int sx, int sy,
            QPainter::CompositionMode modo);

// A masked picture: the mask at (mx, my) with NOT source OR destination,
// then the picture at (sx, sy) with source AND destination, which leaves its
// white background transparent.
void enmascarar(QPainter& p, int x, int y, const QImage& origen, int sx, int sy, int mx, int my);

} // namespace juego
