#include "apoyo/referencia.h"

#include <algorithm>
#include <cstdlib>
#include <string>

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

void buscador::limpiarbusqueda(mundo& m) {
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

void buscador::expandir(mundo& m, int16_t i) {
    const unidad& u = m.unidades[i];
    const int16_t cx = u.sigx;
    const int16_t cy = u.sigy;
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

void buscador::buscarcamino(mundo& m, int16_t i) {
    ultimo = {};
    unidad& u = m.unidades[i];
    if (u.buscando == verdadero)
        return;
    if (!celdapasable(m, u.destx, u.desty, i))
        return;
    // A fighter off the map has no cell to search from (the game refuses it
    // the same way).
    if (u.x < 0 || u.y < 0 || u.x > m.anchomapa || u.y > m.altomapa)
        return;
    limpiarbusqueda(m);
    u.siguiendo = falso;
    u.buscando = verdadero;
    u.sigx = u.x;
    u.sigy = u.y;
    campos& inicio = mapa(u.x, u.y);
    inicio.abierta = falso;
    inicio.cerrada = verdadero;
    inicio.costog = 0;

    for (;;) {
        expandir(m, i);
        if (!mejorabierto()) {
            ultimo.tope = hayabiertos();
            u.buscando = falso;
            return;
        }
        ++ultimo.tomadas;
        u.sigx = mejorx;
        u.sigy = mejory;
        campos& actual = mapa(u.sigx, u.sigy);
        actual.cerrada = verdadero;
        actual.abierta = falso;
        expandir(m, i);
        if (u.sigx == u.destx && u.sigy == u.desty)
            break;
        if (descartes == 9 && !hayabiertos()) {
            u.buscando = falso;
            return;
        }
    }

    // (gcc 12 warns falsely on "," + std::string, hence the appends.)
    u.camino = std::string(",").append(std::to_string(u.destx)).append(",");
    u.camino.append(std::to_string(u.desty));
    for (;;) {
        const campos& c = mapa(u.sigx, u.sigy);
        u.sigx = c.padrex;
        u.sigy = c.padrey;
        if (u.sigx == u.x && u.sigy == u.y) {
            u.camino.erase(0, 1);
            break;
        }
        std::string par(",");
        par.append(std::to_string(u.sigx)).append(",").append(std::to_string(u.sigy));
        u.camino.insert(0, par);
    }
    u.pasos.clear();
    std::size_t desde = 0;
    for (;;) {
        const std::size_t coma = u.camino.find(',', desde);
        u.pasos.push_back(u.camino.substr(desde, coma - desde));
        if (coma == std::string::npos)
            break;
        desde = coma + 1;
    }
    u.siguiendo = verdadero;
    u.buscando = falso;
    ultimo.encontrado = true;
}

} // namespace referencia
