#pragma once

#include "Juego/qt/hojas.h"

#include <QImage>

#include <array>

namespace juego {

class mundo;

// Paints the play field from the world state with the three raster
// operations of the sprite sheets: copy for tiles, then for masked pictures
// the mask with NOT source OR destination and the image with source AND
// destination, which leaves the picture's white background transparent.
// The pictures are the shared set (`hojas::compartidas`), loaded by the
// first frame drawn.
class lienzo {
public:
    // Redraws the whole 800 x 600 frame into `destino`, which must be an
    // RGB32 image of that size.
    void dibujar(const mundo& m, QImage& destino) const;

    static QImage nuevaimagen();
};

} // namespace juego
