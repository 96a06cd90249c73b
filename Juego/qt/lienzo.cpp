#include "Juego/qt/lienzo.h"

#include "Juego/nucleo/mundo.h"
#include "Juego/qt/cuadro.h"

#include <QPainter>

#include <cmath>

namespace juego {

QImage lienzo::nuevaimagen() {
    QImage i(columnasvista * tamcelda, filasvista * tamcelda, QImage::Format_RGB32);
    i.fill(Qt::black);
    return i;
}

template <class M> void lienzo::dibujar(const M& m, posicion vista, QImage& destino) const {
    const hojas& dibujos = hojas::compartidas();
    QPainter p(&destino);
    for (int r = vista.y; r < vista.y + filasvista; ++r) {
        const int y = tamcelda * (r - vista.y);
        for (int c = vista.x; c < vista.x + columnasvista; ++c) {
            const int x = tamcelda * (c - vista.x);
            // A map smaller than the view leaves cells outside the grid.
            if (!mundo::enrejilla(c, r)) {
                p.setCompositionMode(QPainter::CompositionMode_Source);
                p.fillRect(x, y, tamcelda, tamcelda, Qt::black);
                continue;
            }
            const celda& k = m.mapa(c, r);
            if (k.terreno >= 0 && k.terreno < 6)
                copiar(p, x, y, dibujos.terrenos[k.terreno], 0, 0,
                       QPainter::CompositionMode_Source);

            if (k.ocupante >= 0 && k.ocupante < numunidades) {
                const unidad& f = m.unidades[k.ocupante];
                if (f.muerto == verdadero) {
                    enmascarar(p, x, y, dibujos.sangre, 0, 0, tamcelda, 0);
                } else if (f.equipo >= 0 && f.equipo < 2) {
                    const int sy = 160 * f.tipo + tamcelda * f.direccion;
                    const int sx = 40 * f.pose;
                    enmascarar(p, x, y, dibujos.personajes[f.equipo], sx, sy, sx + tamcelda, sy);
                }
            }

            if (k.proyectil >= 0 && k.proyectil < numflechas) {
                const flecha& a = m.flechas[k.proyectil];
                if (a.activa == verdadero) {
                    const int ax = int(std::nearbyint(tamcelda * (a.x - vista.x)));
                    const int ay = int(std::nearbyint(tamcelda * (a.y - vista.y)));
                    const int sy = tamcelda * a.direccion;
                    copiar(p, ax, ay, dibujos.flech, 0, sy,
                           QPainter::RasterOp_NotSourceOrDestination);
                    copiar(p, ax, ay, dibujos.flech, 0, sy,
                           QPainter::RasterOp_SourceAndDestination);
                }
            }
        }
    }
}

template void lienzo::dibujar<mundo>(const mundo&, posicion, QImage&) const;
template void lienzo::dibujar<cuadro>(const cuadro&, posicion, QImage&) const;

} // namespace juego
