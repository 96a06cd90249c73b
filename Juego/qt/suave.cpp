#include "Juego/qt/suave.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace juego {

namespace {

double mezclar(double a, double b, double t) {
    return a + (b - a) * t;
}

// A display frame at 60 Hz: what the first frame after a tick is drawn as
// if it were already that far in.
constexpr double adelanto = 16;

} // namespace

double avance(double ms, int intervalo) {
    // A third of the tick: at 60 frames a second the fighter is drawn on
    // its new cell, to the pixel, two frames after the tick's own, which
    // keeps a key press within a frame of what it costs without motion.
    const double duracion = std::max(1, intervalo) / 3.0;
    const double s = std::clamp((ms + adelanto) / duracion, 0.0, 1.0);
    // Ease out: most of the step in the first frame, the end of it slow.
    const double resto = 1.0 - s;
    return 1.0 - resto * resto * resto;
}

template <class M> instante instante::de(const M& m, int16_t vistax, int16_t vistay) {
    instante r;
    r.tick = m.numtick;
    r.vistax = vistax;
    r.vistay = vistay;
    for (int i = 0; i < numunidades; ++i) {
        const unidad& u = m.unidades[std::size_t(i)];
        r.unidades[std::size_t(i)] = {u.x, u.y, i < 2 * m.maxp && u.muerto != verdadero};
    }
    for (int k = 0; k < numflechas; ++k) {
        const flecha& f = m.flechas[std::size_t(k)];
        r.flechas[std::size_t(k)] = {f.x, f.y, f.activa == verdadero};
    }
    return r;
}

entremedias interpolar(const instante& antes, const instante& ahora, double t) {
    t = std::clamp(t, 0.0, 1.0);
    entremedias e;
    // The view follows the player a cell a step; more is a jump (a respawn,
    // a replay's viewer switching fighters).
    const bool vistasigue =
        std::abs(ahora.vistax - antes.vistax) <= 1 && std::abs(ahora.vistay - antes.vistay) <= 1;
    e.vista = vistasigue ? QPointF(mezclar(antes.vistax, ahora.vistax, t),
                                   mezclar(antes.vistay, ahora.vistay, t))
                         : QPointF(ahora.vistax, ahora.vistay);
    for (std::size_t i = 0; i < e.unidades.size(); ++i) {
        const auto& a = antes.unidades[i];
        const auto& b = ahora.unidades[i];
        const bool paso = a.vivo && b.vivo && std::abs(b.x - a.x) <= 1 && std::abs(b.y - a.y) <= 1;
        const double x = paso ? mezclar(a.x, b.x, t) : b.x;
        const double y = paso ? mezclar(a.y, b.y, t) : b.y;
        e.unidades[i] = QPointF((x - e.vista.x()) * tamcelda, (y - e.vista.y()) * tamcelda);
    }
    return e;
}

template <class M>
void lienzosuave::dibujar(const M& m, const instante& antes, const instante& ahora,
                          const entremedias& e, double t, QImage& destino) const {
    const hojas& dibujos = hojas::compartidas();
    QPainter p(&destino);
    const int c0 = int(std::floor(e.vista.x()));
    const int r0 = int(std::floor(e.vista.y()));
    const int ox = int(std::lround((c0 - e.vista.x()) * tamcelda));
    const int oy = int(std::lround((r0 - e.vista.y()) * tamcelda));
    auto pantalla = [&](int c, int r) {
        return QPoint(ox + tamcelda * (c - c0), oy + tamcelda * (r - r0));
    };

    // Terrain and blood of one cell more than the view each way, since a
    // view between two cells shows part of a 41st column and 31st row.
    for (int r = r0; r <= r0 + filasvista; ++r) {
        for (int c = c0; c <= c0 + columnasvista; ++c) {
            const QPoint q = pantalla(c, r);
            if (!mundo::enrejilla(c, r)) {
                p.setCompositionMode(QPainter::CompositionMode_Source);
                p.fillRect(q.x(), q.y(), tamcelda, tamcelda, Qt::black);
                continue;
            }
            const celda& k = m.mapa(c, r);
            if (k.terreno >= 0 && k.terreno < 6)
                copiar(p, q.x(), q.y(), dibujos.terrenos[std::size_t(k.terreno)], 0, 0,
                       QPainter::CompositionMode_Source);
            if (k.ocupante >= 0 && k.ocupante < numunidades &&
                m.unidades[std::size_t(k.ocupante)].muerto == verdadero)
                enmascarar(p, q.x(), q.y(), dibujos.sangre, 0, 0, tamcelda, 0);
        }
    }

    for (int i = 0; i < 2 * m.maxp && i < numunidades; ++i) {
        const unidad& f = m.unidades[std::size_t(i)];
        if (f.muerto == verdadero || f.equipo < 0 || f.equipo > 1)
            continue;
        const QPointF& q = e.unidades[std::size_t(i)];
        const int sy = 160 * f.tipo + tamcelda * f.direccion;
        const int sx = 40 * f.pose;
        enmascarar(p, int(std::lround(q.x())), int(std::lround(q.y())),
                   dibujos.personajes[std::size_t(f.equipo)], sx, sy, sx + tamcelda, sy);
    }

    for (std::size_t k = 0; k < m.flechas.size(); ++k) {
        const flecha& a = m.flechas[k];
        if (a.activa != verdadero)
            continue;
        const auto& va = antes.flechas[k];
        const auto& vb = ahora.flechas[k];
        // An arrow shot since the earlier frame starts where it is now.
        const bool vuela =
            va.activa && vb.activa && std::abs(vb.x - va.x) < 3 && std::abs(vb.y - va.y) < 3;
        const double x = vuela ? mezclar(va.x, vb.x, t) : a.x;
        const double y = vuela ? mezclar(va.y, vb.y, t) : a.y;
        const int ax = int(std::lround((x - e.vista.x()) * tamcelda));
        const int ay = int(std::lround((y - e.vista.y()) * tamcelda));
        const int sy = tamcelda * a.direccion;
        copiar(p, ax, ay, dibujos.flech, 0, sy, QPainter::RasterOp_NotSourceOrDestination);
        copiar(p, ax, ay, dibujos.flech, 0, sy, QPainter::RasterOp_SourceAndDestination);
    }
}

template instante instante::de<mundo>(const mundo&, int16_t, int16_t);
template instante instante::de<cuadro>(const cuadro&, int16_t, int16_t);
template void lienzosuave::dibujar<mundo>(const mundo&, const instante&, const instante&,
                                          const entremedias&, double, QImage&) const;
template void lienzosuave::dibujar<cuadro>(const cuadro&, const instante&, const instante&,
                                           const entremedias&, double, QImage&) const;

} // namespace juego
