#include "Juego/nucleo/busqueda.h"
#include "Juego/nucleo/mundo.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace juego {

namespace {

// Waiting cells; a cell reached while this many wait is never queued.
constexpr int capacidad = 1000;
// Only cells whose F is below this can be picked.
constexpr int16_t topef = 9999;
// Cells flooded around a destination before giving the question to the
// search; enough for an enemy ringed by fighters or shut in a small room.
constexpr int inundacion = 256;

// Heap order: the top is the lowest F, and among equal F the cell queued
// first, which is the cell a front-to-back scan with a strict "<" would pick.
bool antes(const auto& a, const auto& b) {
    if (a.costof != b.costof)
        return a.costof < b.costof;
    return a.orden < b.orden;
}

} // namespace

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

void mundo::buscarcamino(int16_t i) {
    busqueda_->buscarcamino(*this, i);
}

busqueda& mundo::buscador() {
    return *busqueda_;
}

busqueda::busqueda() : marcas(std::size_t(ladomapa) * ladomapa), fracasos(numunidades) {
    abiertos.reserve(capacidad);
}

void busqueda::nuevomapa(const mundo& m) {
    calcularzonas(m);
    ++mapas;
}

void busqueda::olvidar() {
    for (fracaso& f : fracasos)
        f.valido = false;
}

void busqueda::bloqueados(const mundo& m, int16_t i, std::vector<int32_t>& celdas) const {
    // A cell blocks the search when it names a living team-mate, and a cell
    // names a living fighter only while that fighter stands on it.
    celdas.clear();
    const unidad& u = m.unidades[i];
    for (int16_t j = 0; j < numunidades; ++j) {
        const unidad& o = m.unidades[j];
        if (j == i || o.equipo != u.equipo || o.muerto == verdadero || !mundo::enrejilla(o.x, o.y))
            continue;
        if (m.mapa(o.x, o.y).ocupante == j)
            celdas.push_back(int32_t(o.y) * ladomapa + o.x);
    }
}

void busqueda::buscarcamino(mundo& m, int16_t i) {
    if (sustituto) {
        sustituto(m, i);
        return;
    }
    unidad& u = m.unidades[i];
    if (u.buscando == verdadero)
        return;
    if (!m.celdapasable(u.destx, u.desty, i))
        return;
    // A fighter always stands on the map; this only keeps a broken caller
    // from writing outside it (and the marks are laid out for the map alone).
    if (u.x < 0 || u.y < 0 || u.x > m.anchomapa || u.y > m.altomapa)
        return;

    u.siguiendo = falso;
    u.sigx = u.x;
    u.sigy = u.y;
    // The full search would end with no path as well; it would only have left
    // sigx, sigy on the last cell it took, while here they stay on the start.
    if (!alcanzable(m, i) || aislado(m, i))
        return;

    fracaso& f = fracasos[std::size_t(i)];
    bloqueados(m, i, bloqueosahora);
    if (f.valido && f.mapa == mapas && f.x == u.x && f.y == u.y && f.destx == u.destx &&
        f.desty == u.desty && f.bloqueos == bloqueosahora) {
        u.sigx = f.sigx;
        u.sigy = f.sigy;
        return;
    }

    u.buscando = verdadero;
    limpiarbusqueda(m);
    celda& inicio = tocar(m, u.x, u.y);
    inicio.abierta = falso;
    inicio.cerrada = verdadero;
    inicio.costog = 0;

    // The search never hands control back to the event loop, so nothing can
    // change the map between two expansions of the same node: each node is
    // expanded once, right after it is taken.
    expandir(m, i);
    // A search also ends when no waiting cell can be taken (the list is empty
    // or every F reached 9999): the current node can then never change again,
    // so no path can come out of waiting any longer.
    while (mejorabierto()) {
        u.sigx = mejorx;
        u.sigy = mejory;
        celda& actual = m.mapa(mejorx, mejory);
        actual.cerrada = verdadero;
        actual.abierta = falso;
        expandir(m, i);
        if (u.sigx == u.destx && u.sigy == u.desty) {
            leercamino(m, i);
            u.siguiendo = verdadero;
            break;
        }
        if (descartes == 9 && !hayabiertos())
            break;
    }
    u.buscando = falso;
    f.valido = u.siguiendo != verdadero;
    if (f.valido) {
        f.mapa = mapas;
        f.x = u.x;
        f.y = u.y;
        f.destx = u.destx;
        f.desty = u.desty;
        f.bloqueos = bloqueosahora;
        f.sigx = u.sigx;
        f.sigy = u.sigy;
    }
}

void busqueda::limpiarbusqueda(const mundo& m) {
    // Marks are laid out row after row of the loaded map, not of the whole
    // grid, so that the cells a search touches lie close together. A mark
    // left under another map's layout never carries the new stamp.
    ancho = m.anchomapa + 1;
    generacion += 1;
    if (generacion == std::numeric_limits<uint32_t>::max()) {
        std::fill(marcas.begin(), marcas.end(), marca{});
        generacion = 1;
    }
    abiertos.clear();
    ordenes = 0;
}

celda& busqueda::tocar(mundo& m, int x, int y) {
    celda& c = m.mapa(x, y);
    marca& k = marcas[lugarde(x, y)];
    if (k.sello != generacion) {
        k.sello = generacion;
        k.lugar = -1;
        c.costof = 0;
        c.costog = 0;
        c.costoh = 0;
        c.padrex = 0;
        c.padrey = 0;
        c.cerrada = falso;
        c.abierta = falso;
    }
    return c;
}

void busqueda::expandir(mundo& m, int16_t i) {
    const unidad& u = m.unidades[i];
    const int16_t cx = u.sigx;
    const int16_t cy = u.sigy;
    const int gactual = m.mapa(cx, cy).costog;
    descartes = 0;
    for (int16_t r = int16_t(cy - 1); r <= cy + 1; ++r) {
        for (int16_t c = int16_t(cx - 1); c <= cx + 1; ++c) {
            // celdapasable also refuses cells outside the map.
            if (!m.celdapasable(c, r, i)) {
                ++descartes;
                continue;
            }
            celda& v = tocar(m, c, r);
            if (v.cerrada == verdadero) {
                ++descartes;
                continue;
            }
            const int paso = (c == cx || r == cy) ? 10 : 14;
            if (v.abierta == verdadero) {
                const int g = gactual + paso;
                if (g < v.costog) {
                    v.costog = int16_t(g);
                    v.padrex = cx;
                    v.padrey = cy;
                    v.costof = int16_t(v.costog + v.costoh);
                    const int32_t lugar = marcas[lugarde(c, r)].lugar;
                    if (lugar >= 0) {
                        abiertos[std::size_t(lugar)].costof = v.costof;
                        subir(std::size_t(lugar));
                    }
                }
            } else {
                v.abierta = verdadero;
                v.costog = int16_t(gactual + paso);
                v.padrex = cx;
                v.padrey = cy;
                v.costoh = int16_t(10 * (std::abs(u.destx - c) + std::abs(u.desty - r)));
                v.costof = int16_t(v.costog + v.costoh);
                agregarabierto(m, c, r);
            }
        }
    }
}

void busqueda::agregarabierto(const mundo& m, int16_t x, int16_t y) {
    if (abiertos.size() == capacidad)
        return;
    abiertos.push_back({m.mapa(x, y).costof, x, y, ++ordenes});
    subir(abiertos.size() - 1);
}

bool busqueda::mejorabierto() {
    if (abiertos.empty() || abiertos.front().costof >= topef)
        return false;
    const nodo n = abiertos.front();
    marcas[lugarde(n.x, n.y)].lugar = -1;
    mejorx = n.x;
    mejory = n.y;
    const nodo ultimo = abiertos.back();
    abiertos.pop_back();
    if (!abiertos.empty()) {
        colocar(0, ultimo);
        bajar(0);
    }
    return true;
}

void busqueda::colocar(std::size_t k, const nodo& n) {
    abiertos[k] = n;
    marcas[lugarde(n.x, n.y)].lugar = int32_t(k);
}

void busqueda::subir(std::size_t k) {
    const nodo n = abiertos[k];
    while (k > 0) {
        const std::size_t padre = (k - 1) / 4;
        if (!antes(n, abiertos[padre]))
            break;
        colocar(k, abiertos[padre]);
        k = padre;
    }
    colocar(k, n);
}

void busqueda::bajar(std::size_t k) {
    const nodo n = abiertos[k];
    const std::size_t total = abiertos.size();
    for (;;) {
        const std::size_t primero = 4 * k + 1;
        if (primero >= total)
            break;
        std::size_t hijo = primero;
        for (std::size_t h = primero + 1; h < std::min(primero + 4, total); ++h)
            if (antes(abiertos[h], abiertos[hijo]))
                hijo = h;
        if (!antes(abiertos[hijo], n))
            break;
        colocar(k, abiertos[hijo]);
        k = hijo;
    }
    colocar(k, n);
}

void busqueda::leercamino(mundo& m, int16_t i) {
    unidad& u = m.unidades[i];
    via.clear();
    int16_t x = u.destx;
    int16_t y = u.desty;
    // Every parent was taken before its child, so the chain runs back to
    // the start without a loop.
    do {
        via.push_back(x);
        via.push_back(y);
        const celda& c = m.mapa(x, y);
        x = c.padrex;
        y = c.padrey;
    } while (x != u.x || y != u.y);

    u.camino.clear();
    u.pasos.clear();
    u.pasos.reserve(via.size());
    for (std::size_t k = via.size(); k > 0; k -= 2) {
        u.pasos.push_back(std::to_string(via[k - 2]));
        u.pasos.push_back(std::to_string(via[k - 1]));
        if (!u.camino.empty())
            u.camino += ',';
        u.camino += u.pasos[u.pasos.size() - 2];
        u.camino += ',';
        u.camino += u.pasos.back();
    }
    u.sigx = u.x;
    u.sigy = u.y;
}

bool busqueda::alcanzable(const mundo& m, int16_t i) {
    if (!zonaslistas || zonasancho != m.anchomapa || zonasalto != m.altomapa)
        calcularzonas(m);
    const unidad& u = m.unidades[i];
    const int ancho = m.anchomapa + 1;
    const int32_t meta = zonas[std::size_t(u.desty) * ancho + u.destx];
    for (int y = u.y - 1; y <= u.y + 1; ++y) {
        for (int x = u.x - 1; x <= u.x + 1; ++x) {
            if (x < 0 || y < 0 || x > m.anchomapa || y > m.altomapa)
                continue;
            if (zonas[std::size_t(y) * ancho + x] == meta)
                return true;
        }
    }
    return false;
}

bool busqueda::aislado(mundo& m, int16_t i) {
    const unidad& u = m.unidades[i];
    // A stamp of its own marks the flooded cells; the search that may follow
    // takes a new one, so they count as cleared there.
    limpiarbusqueda(m);
    auto cerca = [&](int x, int y) { return std::abs(x - u.x) <= 1 && std::abs(y - u.y) <= 1; };
    if (cerca(u.destx, u.desty))
        return false;
    pila.clear();
    pila.push_back(u.destx);
    pila.push_back(u.desty);
    marcas[lugarde(u.destx, u.desty)].sello = generacion;
    int inundadas = 1;
    while (!pila.empty()) {
        const int16_t cy = pila.back();
        pila.pop_back();
        const int16_t cx = pila.back();
        pila.pop_back();
        for (int16_t y = int16_t(cy - 1); y <= cy + 1; ++y) {
            for (int16_t x = int16_t(cx - 1); x <= cx + 1; ++x) {
                if (!m.celdapasable(x, y, i))
                    continue;
                marca& k = marcas[lugarde(x, y)];
                if (k.sello == generacion)
                    continue;
                if (cerca(x, y) || ++inundadas > inundacion)
                    return false;
                k.sello = generacion;
                pila.push_back(x);
                pila.push_back(y);
            }
        }
    }
    return true;
}

void busqueda::calcularzonas(const mundo& m) {
    const int ancho = m.anchomapa + 1;
    const int alto = m.altomapa + 1;
    zonas.assign(std::size_t(ancho) * alto, 0);
    std::vector<int32_t> pila;
    int32_t zona = 0;
    for (int y0 = 0; y0 < alto; ++y0) {
        for (int x0 = 0; x0 < ancho; ++x0) {
            const std::size_t k0 = std::size_t(y0) * ancho + x0;
            if (zonas[k0] != 0 || m.mapa(x0, y0).transitable != verdadero)
                continue;
            ++zona;
            zonas[k0] = zona;
            pila.push_back(int32_t(k0));
            while (!pila.empty()) {
                const int k = pila.back();
                pila.pop_back();
                const int cx = k % ancho;
                const int cy = k / ancho;
                for (int y = std::max(cy - 1, 0); y <= std::min(cy + 1, alto - 1); ++y) {
                    for (int x = std::max(cx - 1, 0); x <= std::min(cx + 1, ancho - 1); ++x) {
                        const std::size_t kk = std::size_t(y) * ancho + x;
                        if (zonas[kk] == 0 && m.mapa(x, y).transitable == verdadero) {
                            zonas[kk] = zona;
                            pila.push_back(int32_t(kk));
                        }
                    }
                }
            }
        }
    }
    zonaslistas = true;
    zonasancho = m.anchomapa;
    zonasalto = m.altomapa;
}

} // namespace juego
