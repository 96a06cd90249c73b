#pragma once

#include "Comun/inicios.h"
#include "Juego/qt/hojas.h"

#include <QImage>

#include <array>

namespace juego {

class mundo;
class cuadro;
using comun::posicion;

// Paints the play field from the world state with the three raster
// operations of the sprite sheets: copy for tiles, then for masked pictures
// the mask with NOT source OR destination and the image with source AND
// destination, which leaves the picture's white background transparent.
// The pictures are the shared set (`hojas::compartidas`), loaded by the
// first frame drawn.
class lienzo {
public:
    // Redraws the whole 800 x 600 frame seen from `vista` (its top left
    // cell) into `destino`, which must be an RGB32 image of that size.
    template <class M> void dibujar(const M& m, posicion vista, QImage& destino) const;

    static QImage nuevaimagen();
};

} // namespace juego
