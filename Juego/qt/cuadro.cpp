#include "Juego/qt/cuadro.h"

#include <algorithm>

namespace juego {

namespace {

const celda limpia{};

} // namespace

std::shared_ptr<const terrenomapa> terrenomapa::de(const mundo& m) {
    auto t = std::make_shared<terrenomapa>();
    t->ancho = std::clamp(m.anchomapa + 1, 0, ladomapa);
    t->alto = std::clamp(m.altomapa + 1, 0, ladomapa);
    t->tipos.resize(std::size_t(t->ancho) * std::size_t(t->alto));
    for (int r = 0; r < t->alto; ++r)
        for (int c = 0; c < t->ancho; ++c)
            t->tipos[std::size_t(r) * std::size_t(t->ancho) + std::size_t(c)] =
                m.mapa(c, r).terreno;
    return t;
}

std::shared_ptr<cuadro> cuadro::de(const mundo& m, int16_t jugador, posicion vista,
                                   std::shared_ptr<const terrenomapa> terreno) {
    auto k = std::make_shared<cuadro>();
    k->anchomapa = m.anchomapa;
    k->altomapa = m.altomapa;
    k->maxp = m.maxp;
    for (std::size_t i = 0; i < k->unidades.size(); ++i) {
        const unidad& u = m.unidades[i];
        unidad& c = k->unidades[i];
        // Field by field: the path and its steps stay behind.
        c.vida = u.vida;
        c.tipo = u.tipo;
        c.espera = u.espera;
        c.pose = u.pose;
        c.ataque = u.ataque;
        c.moviendo = u.moviendo;
        c.x = u.x;
        c.y = u.y;
        c.sigx = u.sigx;
        c.sigy = u.sigy;
        c.destx = u.destx;
        c.desty = u.desty;
        c.direccion = u.direccion;
        c.muerto = u.muerto;
        c.equipo = u.equipo;
        c.muertes = u.muertes;
        c.revivir = u.revivir;
        c.armadura = u.armadura;
        c.siguiendo = u.siguiendo;
        c.atacando = u.atacando;
        c.buscando = u.buscando;
        c.bloqueos = u.bloqueos;
        c.bajas = u.bajas;
    }
    k->flechas = m.flechas;
    k->tipos = m.tipos;
    k->humano = m.humano;
    k->jugando = m.jugando;
    k->pausado = m.pausado;
    k->fin = m.fin;
    k->ganador = m.ganador;
    k->meta = m.meta;
    k->regla = m.regla;
    k->numtick = m.numtick;
    k->jugador = jugador;
    k->vista = vista;
    if (jugador >= 0 && jugador < numunidades)
        k->estado = m.estados[std::size_t(jugador)];
    k->terreno = std::move(terreno);

    // Only cells of the grid are kept; the painters draw black beyond it.
    const int x0 = std::max(0, vista.x - margen);
    const int y0 = std::max(0, vista.y - margen);
    const int x1 = std::min(ladomapa, vista.x + columnasvista + margen);
    const int y1 = std::min(ladomapa, vista.y + filasvista + margen);
    k->origen_ = {int16_t(x0), int16_t(y0)};
    k->ancho_ = std::max(0, x1 - x0);
    k->alto_ = std::max(0, y1 - y0);
    k->celdas_.reserve(std::size_t(k->ancho_) * std::size_t(k->alto_));
    for (int r = y0; r < y0 + k->alto_; ++r)
        for (int c = x0; c < x0 + k->ancho_; ++c)
            k->celdas_.push_back(m.mapa(c, r));
    return k;
}

const celda& cuadro::mapa(int x, int y) const {
    const int c = x - origen_.x;
    const int r = y - origen_.y;
    if (c < 0 || r < 0 || c >= ancho_ || r >= alto_)
        return limpia;
    return celdas_[std::size_t(r) * std::size_t(ancho_) + std::size_t(c)];
}

int32_t cuadro::muertesequipo(int16_t e) const {
    int32_t n = 0;
    for (int i = 0; i < 2 * maxp && i < numunidades; ++i)
        if (unidades[std::size_t(i)].equipo == e)
            n += unidades[std::size_t(i)].muertes;
    return n;
}

posicion cuadro::vistaajustada(posicion v) const {
    return mundo::vistasobre(v, anchomapa, altomapa);
}

} // namespace juego
