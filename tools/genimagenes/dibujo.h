#pragma once

// Small drawing helpers of the picture generator: a fixed-seed noise, the
// reduction of a large antialiased drawing to a hard-edged 20 x 20 sprite,
// and the two raster operations the game uses, for the preview.

#include <QColor>
#include <QImage>

#include <cstdint>
#include <functional>

#include "comunes/azarfijo.h"

namespace dibujo {

// A number in [0, 1) that depends only on (x, y, semilla): the same on every
// machine and every run.
using herramientas::azar;

// Smooth value noise in [0, 1) on a lattice of `celda` pixels that repeats
// every `periodo` pixels in both directions (periodo a multiple of celda), so
// a tile filled with it joins its neighbours without a seam.
double ruido(double x, double y, int celda, int periodo, int semilla);

// Same, with separate lattice spacings across and down (for wood grain).
double ruido2(double x, double y, int celdax, int celday, int periodo, int semilla);

QColor mezclar(const QColor& a, const QColor& b, double t); // t = 0 gives a
QColor aclarar(const QColor& c, double f);                  // f > 0 lighter, f < 0 darker

// Supersampling factor of the sprite drawings.
inline constexpr int escala = 8;

// A sprite drawn with antialiasing on a transparent canvas of
// 20*escala pixels per side, reduced to 20 x 20: a pixel is opaque when at
// least half of its area is covered, and then takes the mean colour of the
// covered part. The result is ARGB32 with alpha exactly 0 or 255, and no
// opaque pixel is pure white.
QImage reducir(const QImage& grande);

// Surrounds a reduced sprite with a one-pixel outline in one colour: every
// transparent pixel that touches an opaque one (sideways or up/down) takes
// it, so the figure stands out on any ground.
QImage contornear(const QImage& sprite, const QColor& color);

// A transparent canvas for `reducir`.
QImage lienzo();

// Writes a reduced sprite into a sheet: the figure on pure white at (x, y)
// and, when `conmascara`, its mask at (x + 20, y): black where the figure is,
// white elsewhere.
void ponersprite(QImage& hoja, const QImage& sprite, int x, int y, bool conmascara);

// The game's drawing of a masked 20 x 20 sprite: the mask with
// MERGEPAINT (NOT source OR destination), then the image with SRCAND.
void mergepaint(QImage& destino, int dx, int dy, const QImage& fuente, int sx, int sy);
void srcand(QImage& destino, int dx, int dy, const QImage& fuente, int sx, int sy);

} // namespace dibujo
