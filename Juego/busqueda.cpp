#include "Juego/busqueda.h"
#include "Juego/mundo.h"

namespace juego {

bool mundo::celdapasable(int16_t x, int16_t y, int16_t i) const {
    if (x < 0 || x > anchomapa || y < 0 || y > altomapa)
        return false;
    const celda& c = mapa(x, y);
    if (c.transitable != verdadero)
        return false;
    if (c.ocupante >= 0) {
        const unidad& o = unidades[c.ocupante];
        if (o.equipo == unidades[i].equipo && o.muerto != verdadero)
            return false;
    }
    return true;
}

void mundo::buscarcamino(int16_t) {}

} // namespace juego
