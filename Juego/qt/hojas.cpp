#include "Juego/qt/hojas.h"

#include "Juego/nucleo/mundo.h"

namespace juego {

namespace {

QImage cargarimagen(const QString& nombre) {
    return QImage(QStringLiteral(":/imagenes/") + nombre).convertToFormat(QImage::Format_RGB32);
}

hojas cargar() {
    hojas h;
    for (int t = 0; t < 6; ++t)
        h.terrenos[std::size_t(t)] = cargarimagen(QStringLiteral("terreno%1.png").arg(t));
    for (int e = 0; e < 2; ++e)
        h.personajes[std::size_t(e)] = cargarimagen(QStringLiteral("personajes%1.png").arg(e));
    h.sangre = cargarimagen(QStringLiteral("sangre.png"));
    h.flech = cargarimagen(QStringLiteral("flech.png"));
    return h;
}

} // namespace

const hojas& hojas::compartidas() {
    // Loaded once, by whichever thread draws first; kept until the end.
    static const hojas h = cargar();
    return h;
}

void copiar(QPainter& p, int x, int y, const QImage& origen, int sx, int sy,
            QPainter::CompositionMode modo) {
    if (sx < 0 || sy < 0 || sx + tamcelda > origen.width() || sy + tamcelda > origen.height())
        return;
    p.setCompositionMode(modo);
    p.drawImage(QPoint(x, y), origen, QRect(sx, sy, tamcelda, tamcelda));
}

void enmascarar(QPainter& p, int x, int y, const QImage& origen, int sx, int sy, int mx, int my) {
    copiar(p, x, y, origen, mx, my, QPainter::RasterOp_NotSourceOrDestination);
    copiar(p, x, y, origen, sx, sy, QPainter::RasterOp_SourceAndDestination);
}

} // namespace juego
