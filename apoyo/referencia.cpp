#include "apoyo/referencia.h"

#include <algorithm>
#include <cstdlib>

using namespace juego;

namespace referencia {

bool buscador::celdapasable(const mundo& m, int16_t x, int16_t y, int16_t i) const {
    if (x < 0 || x > m.anchomapa || y < 0 || y > m.altomapa)
        return false;
    const celda& c = m.mapa(x, y);
    if (c.transitable != verdadero)
        return false;
    if (c.ocupante >= 0 && m.unidades[c.ocupante].equipo == m.unidades[i].equipo &&
        m.unidades[c.ocupante].muerto != verdadero)
        return false;
    return true;
}

void buscador::limpiarbusqueda(const mundo& m) {
    ancho = m.anchomapa + 1;
    celdas.resize(std::size_t(ancho) * std::size_t(m.altomapa + 1));
    for (int y = 0; y <= m.altomapa; ++y)
        for (int x = 0; x <= m.anchomapa; ++x)
            mapa(x, y) = campos{};
    for (nodo& n : abiertos)
        n.usado = falso;
}

bool buscador::agregarabierto(int16_t x, int16_t y) {
    for (nodo& n : abiertos) {
        if (n.usado != verdadero) {
            n.x = x;
            n.y = y;
            n.usado = verdadero;
            ultimo.maximo = std::max(ultimo.maximo, int(&n - abiertos.data()) + 1);
            return true;
        }
    }
    ultimo.lleno = true;
    return false;
}

bool buscador::mejorabierto() {
    int16_t mejor = 9999;
    int elegido = -1;
    for (int k = 0; k < 1000; ++k) {
        // An entry not in use may name a cell of an older, larger map.
        if (abiertos[k].usado != verdadero)
            continue;
        const int16_t f = mapa(abiertos[k].x, abiertos[k].y).costof;
        if (abiertos[k].usado == verdadero && f < mejor) {
            mejor = f;
            mejorx = abiertos[k].x;
            mejory = abiertos[k].y;
            elegido = k;
        }
    }
    if (elegido < 0)
        return false;
    int k = elegido;
    while (k + 1 < 1000 && abiertos[k + 1].usado == verdadero) {
        abiertos[k] = abiertos[k + 1];
        ++k;
    }
    abiertos[k].usado = falso;
    return true;
}

void buscador::expandir(const mundo& m, int16_t i) {
    const unidad& u = m.unidades[i];
    const int16_t cx = sigx;
    const int16_t cy = sigy;
    descartes = 0;
    for (int16_t r = int16_t(cy - 1); r <= cy + 1; ++r) {
        for (int16_t c = int16_t(cx - 1); c <= cx + 1; ++c) {
            if (c < 0 || c > m.anchomapa || r < 0 || r > m.altomapa || !celdapasable(m, c, r, i) ||
                mapa(c, r).cerrada == verdadero) {
                ++descartes;
                continue;
            }
            const int16_t paso = (c == cx || r == cy) ? 10 : 14;
            campos& v = mapa(c, r);
            const campos& a = mapa(cx, cy);
            if (v.abierta == verdadero) {
                const int16_t g = int16_t(a.costog + paso);
                if (g < v.costog) {
                    v.costog = g;
                    v.padrex = cx;
                    v.padrey = cy;
                }
            } else {
                v.abierta = verdadero;
                if (!agregarabierto(c, r) && c == u.destx && r == u.desty)
                    ultimo.perdida = true;
                v.costog = int16_t(a.costog + paso);
                v.padrex = cx;
                v.padrey = cy;
                v.costoh = int16_t(10 * (std::abs(u.destx - c) + std::abs(u.desty - r)));
            }
            v.costof = int16_t(v.costog + v.costoh);
        }
    }
}

std::optional<respuesta> buscador::buscarcamino(const mundo& m, int16_t i) {
    ultimo = {};
    const unidad& u = m.unidades[i];
    if (u.buscando == verdadero)
        return std::nullopt;
    if (!celdapasable(m, u.destx, u.desty, i))
        return std::nullopt;
    // A fighter off the map has no cell to search from (the game refuses it
    // the same way).
    if (u.x < 0 || u.y < 0 || u.x > m.anchomapa || u.y > m.altomapa)
        return std::nullopt;
    limpiarbusqueda(m);
    sigx = u.x;
    sigy = u.y;
    campos& inicio = mapa(u.x, u.y);
    inicio.abierta = falso;
    inicio.cerrada = verdadero;
    inicio.costog = 0;

    // A failure leaves the current node on the last cell taken.
    respuesta r;
    for (;;) {
        expandir(m, i);
        if (!mejorabierto()) {
            ultimo.tope = hayabiertos();
            r.sigx = sigx;
            r.sigy = sigy;
            return r;
        }
        ++ultimo.tomadas;
        sigx = mejorx;
        sigy = mejory;
        campos& actual = mapa(sigx, sigy);
        actual.cerrada = verdadero;
        actual.abierta = falso;
        expandir(m, i);
        if (sigx == u.destx && sigy == u.desty)
            break;
        if (descartes == 9 && !hayabiertos()) {
            r.sigx = sigx;
            r.sigy = sigy;
            return r;
        }
    }

    // The path read back from the destination, parent after parent, to the
    // cell after the start; the reading ends on the start.
    r.via = {u.destx, u.desty};
    for (;;) {
        const campos& c = mapa(sigx, sigy);
        sigx = c.padrex;
        sigy = c.padrey;
        if (sigx == u.x && sigy == u.y)
            break;
        r.via.push_back(sigx);
        r.via.push_back(sigy);
    }
    r.encontrado = true;
    r.sigx = sigx;
    r.sigy = sigy;
    ultimo.encontrado = true;
    return r;
}

} // namespace referencia
