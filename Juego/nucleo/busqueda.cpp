#include "Juego/nucleo/busqueda.h"
#include "Juego/nucleo/inundacion.h"
#include "Juego/nucleo/rejilla.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace juego {

namespace {

using comun::verdadero;

// Waiting cells; a cell reached while this many wait is never queued.
constexpr int capacidad = 1000;
// Only cells whose F is below this can be picked.
constexpr int topef = 9999;
// Cells flooded around a destination before giving the question to the
// search; enough for an enemy ringed by fighters or shut in a small room.
constexpr int inundacion = 256;
// A search that has taken this many cells looks whether the destination can
// still be reached at all (see sellado), and looks again as it goes on. A
// look floods at most four times as many cells as were taken, and mostly
// ends far sooner, where its two floods meet.
constexpr int primerarevision = 2048;
// Cells that sellado floods one at a time before it floods whole runs.
constexpr int celdasporsellado = 1024;

// Distance estimate from a cell to a fighter's destination.
int costoh(int destx, int desty, int x, int y) {
    return 10 * (std::abs(destx - x) + std::abs(desty - y));
}

} // namespace

busqueda::busqueda() : cubos(topef), eslabones(capacidad) {}

busqueda::~busqueda() = default;

void busqueda::preparar(const rejilla& r, int16_t anchomapa, int16_t altomapa) {
    if (zonasversion != r.versionterreno() || zonasancho != anchomapa || zonasalto != altomapa)
        calcularzonas(r, anchomapa, altomapa);
}

respuesta busqueda::buscarcamino(const rejilla& r, const pregunta& p) {
    respuesta a;
    a.sigx = p.x;
    a.sigy = p.y;
    auto enmapa = [&](int x, int y) {
        return x >= 0 && y >= 0 && x <= p.anchomapa && y <= p.altomapa && rejilla::enrejilla(x, y);
    };
    if (!enmapa(p.x, p.y) || !enmapa(p.destx, p.desty))
        return a;
    // Nothing that decided an earlier failure has changed: the same answer,
    // before any flood or zone is looked at.
    const uint64_t version = r.versionterreno();
    if (const respuesta* dada = memoria_.buscar(version, p))
        return *dada;

    preparar(r, p.anchomapa, p.altomapa);
    tapar(p);
    // The full search would end with no path as well; it would only have left
    // sigx, sigy on the last cell it took, while here they stay on the start.
    if (alcanzable(p) && !aislado(p, inundacion))
        buscar(p, a);
    destapar();
    if (!a.encontrado)
        memoria_.guardar(version, p, a);
    return a;
}

void busqueda::buscar(const pregunta& p, respuesta& r) {
    limpiarbusqueda();
    destx = p.destx;
    desty = p.desty;
    sigx = p.x;
    sigy = p.y;
    actual = lugarde(p.x, p.y);
    nodo& inicio = nodos[std::size_t(actual)];
    inicio.estado = base + cerrada;
    inicio.costog = 0;

    // The search never hands control back to the event loop, so nothing can
    // change the map between two expansions of the same node: each node is
    // expanded once, right after it is taken.
    perdida = false;
    expandir();
    // A search also ends when no waiting cell can be taken (the list is empty
    // or every F reached 9999): the current node can then never change again,
    // so no path can come out of waiting any longer.
    int tomadas = 0;
    int revision = primerarevision;
    while (mejorabierto(sigx, sigy)) {
        expandir();
        if (perdida) {
            // No path can come out of it any more.
            sigx = p.x;
            sigy = p.y;
            break;
        }
        if (sigx == destx && sigy == desty) {
            leercamino(p, r);
            return;
        }
        if (descartes == 9 && !hayabiertos())
            break;
        // Looked at once the taken cell has been expanded, so that every
        // cell reached is either taken and expanded or waiting or shut out.
        ++tomadas;
        if (tomadas == revision) {
            int trabajo = 0;
            const bool cerrado = sellado(p, 4 * tomadas, trabajo);
            // The next look comes once the search has taken a quarter as
            // many cells again, and four times as many as this look
            // flooded: looking adds a fraction to a search that does arrive.
            revision = tomadas + std::max(tomadas / 4, 4 * trabajo);
            if (cerrado) {
                // Like the other shortcuts, the current node is left on the
                // start.
                sigx = p.x;
                sigy = p.y;
                break;
            }
        }
    }
    r.sigx = sigx;
    r.sigy = sigy;
}

void busqueda::tapar(const pregunta& p) {
    tapadas.clear();
    for (int16_t k = 0; k < p.nbloqueos; ++k) {
        const int x = p.bloqueos[std::size_t(k)] % rejilla::lado;
        const int y = p.bloqueos[std::size_t(k)] / rejilla::lado;
        if (x > p.anchomapa || y > p.altomapa)
            continue;
        uint32_t& e = nodos[std::size_t(lugarde(x, y))].estado;
        tapadas.push_back({lugarde(x, y), e == muro});
        e = muro;
    }
}

void busqueda::destapar() {
    // Backwards, so that a cell listed twice gets its first value back. A
    // cell that was walkable comes back as not reached by any search, which
    // is all a later search needs to know of it.
    for (auto k = tapadas.rbegin(); k != tapadas.rend(); ++k)
        nodos[std::size_t(k->first)].estado = k->second ? muro : 0;
    tapadas.clear();
}

void busqueda::limpiarbusqueda() {
    generacion += 1;
    if (generacion > ultimageneracion) {
        for (nodo& n : nodos)
            if (n.estado != muro)
                n.estado = 0;
        generacion = 1;
        columnasde = 0;
    }
    base = generacion << 2;
    for (int f = minimo; f <= maximo; ++f)
        cubos[std::size_t(f)].primero = -1;
    usados = 0;
    libre = -1;
    minimo = topef;
    maximo = -1;
    enlista = 0;
    ordenes = 0;
}

void busqueda::expandir() {
    const int cx = sigx;
    const int cy = sigy;
    const int32_t centro = actual;
    const int gactual = nodos[std::size_t(centro)].costog;
    // Kept at hand: the stores below could change them as far as the
    // compiler knows.
    const int hastax = destx;
    const int hastay = desty;
    const uint32_t espera = base + esperando;
    const uint32_t tomada = base + cerrada;
    // The centre was taken before it is expanded.
    int descartados = 1;
    // Each neighbour by itself, with its step cost and parent known when
    // compiled.
    auto vecino = [&](auto ddx, auto ddy) {
        constexpr int dx = decltype(ddx)::value;
        constexpr int dy = decltype(ddy)::value;
        constexpr int paso = (dx == 0 || dy == 0) ? 10 : 14;
        constexpr uint16_t padre = uint16_t((dy + 1) * 3 + dx + 1);
        const int32_t lugar = centro + dy * anchoborde + dx;
        nodo& v = nodos[std::size_t(lugar)];
        const uint32_t estado = v.estado;
        // Taken, or never to be stepped on: walls, team-mates and the
        // border all hold muro.
        if (estado >= tomada) {
            ++descartados;
            return;
        }
        const int c = cx + dx;
        const int r = cy + dy;
        const int g = gactual + paso;
        if (estado == espera) {
            if (g < v.costog) {
                const int h = costoh(hastax, hastay, c, r);
                const int antes = int16_t(v.costog + h);
                const int f = int16_t(g + h);
                const int16_t k = eslabonde[std::size_t(lugar)];
                if (antes < topef)
                    desenlazar(antes, k);
                if (f < topef)
                    enlazar(f, k);
                v.costog = int16_t(g);
                v.padre = padre;
            }
        } else if (estado < base) {
            if (enlista < capacidad) {
                v.estado = espera;
                v.costog = int16_t(g);
                v.padre = padre;
                ++enlista;
                // Never more links are out than cells wait.
                int16_t k = libre;
                if (k >= 0)
                    libre = eslabones[std::size_t(k)].siguiente;
                else
                    k = usados++;
                eslabonde[std::size_t(lugar)] = k;
                eslabon& e = eslabones[std::size_t(k)];
                e.orden = ++ordenes;
                e.x = int16_t(c);
                e.y = int16_t(r);
                e.lugar = lugar;
                // A cell at F 9999 or more waits outside the buckets: it
                // takes a place in the list but cannot be picked unless its
                // F drops.
                const int f = int16_t(g + costoh(hastax, hastay, c, r));
                if (f < topef)
                    alfinal(f, k);
            } else {
                // Never queued, so never taken: what it costs and where it
                // was reached from can never be part of a path, and are not
                // kept.
                v.estado = base + alcanzada;
                // Reached while the list was full, the destination can never
                // be taken: only queued cells are, and a cell is queued only
                // when first reached.
                if (c == hastax && r == hastay)
                    perdida = true;
            }
        }
        // Otherwise reached with the list full: nothing to update.
    };
    using menos = std::integral_constant<int, -1>;
    using cero = std::integral_constant<int, 0>;
    using mas = std::integral_constant<int, 1>;
    vecino(menos{}, menos{});
    vecino(cero{}, menos{});
    vecino(mas{}, menos{});
    vecino(menos{}, cero{});
    vecino(mas{}, cero{});
    vecino(menos{}, mas{});
    vecino(cero{}, mas{});
    vecino(mas{}, mas{});
    descartes = int16_t(descartados);
}

void busqueda::entre(int f, int16_t k, int16_t anterior, int16_t siguiente) {
    cubo& b = cubos[std::size_t(f)];
    eslabon& e = eslabones[std::size_t(k)];
    e.anterior = anterior;
    e.siguiente = siguiente;
    if (anterior < 0)
        b.primero = k;
    else
        eslabones[std::size_t(anterior)].siguiente = k;
    if (siguiente < 0)
        b.ultimo = k;
    else
        eslabones[std::size_t(siguiente)].anterior = k;
    minimo = std::min(minimo, f);
    maximo = std::max(maximo, f);
}

void busqueda::alfinal(int f, int16_t k) {
    const cubo& b = cubos[std::size_t(f)];
    // An empty bucket's `ultimo` means nothing.
    entre(f, k, b.primero < 0 ? int16_t(-1) : b.ultimo, -1);
}

void busqueda::enlazar(int f, int16_t k) {
    const cubo& b = cubos[std::size_t(f)];
    const uint32_t orden = eslabones[std::size_t(k)].orden;
    // Into an empty bucket, or after a cell queued before it: last.
    if (b.primero < 0 || eslabones[std::size_t(b.ultimo)].orden < orden) {
        alfinal(f, k);
        return;
    }
    // A cell whose F dropped goes among the waiting ones by when it was
    // queued; the last one was queued later, so the walk stops.
    int16_t p = b.primero;
    while (eslabones[std::size_t(p)].orden < orden)
        p = eslabones[std::size_t(p)].siguiente;
    entre(f, k, eslabones[std::size_t(p)].anterior, p);
}

void busqueda::desenlazar(int f, int16_t k) {
    cubo& b = cubos[std::size_t(f)];
    const eslabon& e = eslabones[std::size_t(k)];
    if (e.anterior < 0)
        b.primero = e.siguiente;
    else
        eslabones[std::size_t(e.anterior)].siguiente = e.siguiente;
    if (e.siguiente < 0)
        b.ultimo = e.anterior;
    else
        eslabones[std::size_t(e.siguiente)].anterior = e.anterior;
}

bool busqueda::mejorabierto(int16_t& x, int16_t& y) {
    for (; minimo <= maximo; ++minimo) {
        cubo& b = cubos[std::size_t(minimo)];
        if (b.primero < 0)
            continue;
        const int16_t k = b.primero;
        eslabon& e = eslabones[std::size_t(k)];
        b.primero = e.siguiente;
        if (e.siguiente >= 0)
            eslabones[std::size_t(e.siguiente)].anterior = -1;
        x = e.x;
        y = e.y;
        actual = e.lugar;
        e.siguiente = libre;
        e.orden = 0; // handed back: no longer a waiting cell
        libre = k;
        nodos[std::size_t(e.lugar)].estado = base + cerrada;
        --enlista;
        return true;
    }
    return false;
}

void busqueda::leercamino(const pregunta& p, respuesta& r) {
    r.via.clear();
    int16_t x = p.destx;
    int16_t y = p.desty;
    // Every parent was taken before its child, so the chain runs back to
    // the start without a loop.
    do {
        r.via.push_back(x);
        r.via.push_back(y);
        const int padre = nodos[std::size_t(lugarde(x, y))].padre;
        x = int16_t(x - (padre % 3 - 1));
        y = int16_t(y - (padre / 3 - 1));
    } while (x != p.x || y != p.y);
    r.encontrado = true;
    r.sigx = p.x;
    r.sigy = p.y;
}

bool busqueda::alcanzable(const pregunta& u) const {
    const int columnas = u.anchomapa + 1;
    const int32_t meta = zonas[std::size_t(u.desty) * columnas + u.destx];
    for (int y = u.y - 1; y <= u.y + 1; ++y) {
        for (int x = u.x - 1; x <= u.x + 1; ++x) {
            if (x < 0 || y < 0 || x > u.anchomapa || y > u.altomapa)
                continue;
            if (zonas[std::size_t(y) * columnas + x] == meta)
                return true;
        }
    }
    return false;
}

uint32_t busqueda::nuevoriego(uint32_t cuantos) {
    if (riego > std::numeric_limits<uint32_t>::max() - 1 - cuantos) {
        std::fill(inundado.begin(), inundado.end(), 0);
        riego = 0;
    }
    riego += cuantos;
    return riego - cuantos + 1;
}

bool busqueda::aislado(const pregunta& u, int limite) {
    auto cerca = [&](int x, int y) { return std::abs(x - u.x) <= 1 && std::abs(y - u.y) <= 1; };
    if (cerca(u.destx, u.desty))
        return false;
    // From the destination over passable cells until a neighbour of the
    // start is touched; the neighbour nearest the start goes on the pile
    // last and is flooded next, so a flood that is going to get there heads
    // straight for it.
    const uint32_t marca = nuevoriego();
    const int32_t desde = lugarde(u.destx, u.desty);
    const int hx = u.x + 1;
    const int hy = u.y + 1;
    pila.clear();
    pila.push_back(desde);
    inundado[std::size_t(desde)] = marca;
    int inundadas = 1;
    auto orden = [&](int32_t centro) {
        const int sx = centro % anchoborde < hx ? 1 : -1;
        const int sy = centro / anchoborde < hy ? 1 : -1;
        std::array<int32_t, 8> o{};
        std::size_t n = 0;
        for (int dy = -sy; dy != 2 * sy; dy += sy)
            for (int dx = -sx; dx != 2 * sx; dx += sx)
                if (dx != 0 || dy != 0)
                    o[n++] = dy * anchoborde + dx;
        return o;
    };
    auto celda = [&](int32_t lugar) {
        if (nodos[std::size_t(lugar)].estado == muro)
            return paso::salta;
        if (cerca(lugar % anchoborde - 1, lugar / anchoborde - 1) || ++inundadas > limite)
            return paso::salida;
        return paso::sigue;
    };
    return turnos([&] { return !pila.empty(); },
                  [&] { return regar(pila, inundado, marca, orden, celda); }, [] { return true; },
                  [] { return true; }, [] { return true; }) == desenlace::separados;
}

bool busqueda::sellado(const pregunta& u, int limite, int& trabajo) {
    const int32_t meta = lugarde(u.destx, u.desty);
    trabajo = 0;
    // Reached already: it waits in the list (and may be taken), or it was
    // reached with the list full (and `perdida` says so). With nothing
    // waiting the search ends by itself at the next pick.
    if (nodos[std::size_t(meta)].estado >= base || enlista == 0)
        return false;
    // A cell can only ever be taken while its F is below 9999, and no way
    // from the start to it costs less than straight and diagonal steps over
    // open ground; a cell whose F would reach 9999 even then may be reached
    // but is never taken, so nothing is ever reached from it.
    auto prometedora = [&](int32_t lugar) {
        const int x = lugar % anchoborde - 1;
        const int y = lugar / anchoborde - 1;
        return cotaf(u, x, y) < topef;
    };
    if (!prometedora(meta))
        return true;
    // The F of the cells grows towards the map's corners; when not even a
    // corner reaches 9999, any cell may be taken and none need be asked.
    const bool todas = prometedora(lugarde(0, 0)) && prometedora(lugarde(u.anchomapa, 0)) &&
                       prometedora(lugarde(0, u.altomapa)) &&
                       prometedora(lugarde(u.anchomapa, u.altomapa));
    auto puede = [&](int32_t lugar) { return todas || prometedora(lugar); };
    const uint32_t desdemeta = nuevoriego(2);
    const uint32_t desdelista = desdemeta + 1;
    // Two floods over the cells not reached yet that may still be taken,
    // taking turns: one from the destination, one from the waiting cells
    // that may still be taken. They answer the same question, and whichever
    // runs out first answers it: the destination can be taken only while
    // such a waiting cell borders such cells around it. So a short flood
    // answers for a long one: around a hall whose door the team holds, the
    // list's side is the hall and the destination's side the rest of the
    // map; on open ground, behind a line of cells reached while the list was
    // full, it is the other way round.
    //
    // Mostly they meet within a few hundred cells. When they have not after
    // a while, both sides are large, and flooding them cell by cell to the
    // end costs more than the search itself: the question goes to
    // selladoporfilas, which floods whole runs of a row at a time.
    pila.clear();
    pila.push_back(meta);
    inundado[std::size_t(meta)] = desdemeta;
    otrapila.clear();
    for (int16_t k = 0; k < usados; ++k) {
        const eslabon& e = eslabones[std::size_t(k)];
        if (e.orden != 0 && puede(lugarde(e.x, e.y)))
            otrapila.push_back(lugarde(e.x, e.y));
    }
    const std::array<int32_t, 8> vecinos = {-anchoborde - 1, -anchoborde, -anchoborde + 1, -1, 1,
                                            anchoborde - 1,  anchoborde,  anchoborde + 1};
    auto orden = [&](int32_t) { return vecinos; };
    const uint32_t espera = base + esperando;
    auto desdelameta = [&](int32_t lugar) {
        const uint32_t e = nodos[std::size_t(lugar)].estado;
        if ((e >= base && e != espera) || !puede(lugar))
            return paso::salta;
        return e == espera || inundado[std::size_t(lugar)] == desdelista ? paso::salida
                                                                         : paso::sigue;
    };
    auto desdelalista = [&](int32_t lugar) {
        if (nodos[std::size_t(lugar)].estado >= base || !puede(lugar))
            return paso::salta;
        return inundado[std::size_t(lugar)] == desdemeta ? paso::salida : paso::sigue;
    };
    const desenlace fin =
        turnos([&] { return !pila.empty(); },
               [&] { return regar(pila, inundado, desdemeta, orden, desdelameta); },
               [&] { return !otrapila.empty(); },
               [&] { return regar(otrapila, inundado, desdelista, orden, desdelalista); },
               [&] { return ++trabajo <= std::min(limite, celdasporsellado); });
    if (fin == desenlace::parado)
        return trabajo > limite ? false : selladoporfilas(u, limite, trabajo);
    return fin == desenlace::separados;
}

namespace {

// The bits of one word of a row (cells 64 w to 64 w + 63) that lie between
// columns a and b.
uint64_t entrecolumnas(int a, int b, int w) {
    const int lo = std::max(a, 64 * w) - 64 * w;
    const int hi = std::min(b, 64 * w + 63) - 64 * w;
    if (lo > hi)
        return 0;
    return (~uint64_t(0) >> (63 - hi)) & (~uint64_t(0) << lo);
}

} // namespace

int busqueda::cotaf(const pregunta& u, int x, int y) {
    const int dx = std::abs(x - u.x);
    const int dy = std::abs(y - u.y);
    return 14 * std::min(dx, dy) + 10 * std::abs(dx - dy) + costoh(u.destx, u.desty, x, y);
}

bool busqueda::selladoporfilas(const pregunta& u, int limite, int& trabajo) {
    const int filas = u.altomapa + 1;
    const int columnas = u.anchomapa + 1;
    // Along a row the least F of a cell falls or holds from the start's
    // column to the destination's and grows away from there on either side,
    // so the cells of a row that may still be taken lie between two columns,
    // worked out once a search.
    if (columnasde != generacion) {
        columnasde = generacion;
        for (int y = 0; y < filas; ++y) {
            int16_t& desde = desdecolumna[std::size_t(y)];
            int16_t& hasta = hastacolumna[std::size_t(y)];
            if (cotaf(u, u.destx, y) >= topef) {
                desde = 1;
                hasta = 0;
                continue;
            }
            int lo = 0, hi = u.destx;
            while (lo < hi) {
                const int c = (lo + hi) / 2;
                if (cotaf(u, c, y) < topef)
                    hi = c;
                else
                    lo = c + 1;
            }
            desde = int16_t(lo);
            lo = u.destx;
            hi = columnas - 1;
            while (lo < hi) {
                const int c = (lo + hi + 1) / 2;
                if (cotaf(u, c, y) < topef)
                    lo = c;
                else
                    hi = c - 1;
            }
            hasta = int16_t(lo);
        }
    }

    // The cells not reached yet that may still be taken, 64 of a row to a
    // word, read off the workspace the first time this look asks for them.
    if (++mirada == 0) {
        std::fill(leida.begin(), leida.end(), 0);
        mirada = 1;
    }
    // Word w of row y in any of the bitmaps.
    auto en = [&](int y, int w) {
        return std::size_t(y) * std::size_t(palabrasfila) + std::size_t(w);
    };
    auto abiertas = [&](int y, int w) {
        const std::size_t k = en(y, w);
        if (leida[k] != mirada) {
            leida[k] = mirada;
            const int x0 = std::max(64 * w, int(desdecolumna[std::size_t(y)]));
            const int x1 = std::min(64 * w + 63, int(hastacolumna[std::size_t(y)]));
            const nodo* n = nodos.data() + lugarde(0, y);
            uint64_t b = 0;
            for (int x = x0; x <= x1; ++x)
                b |= uint64_t(n[x].estado < base) << (x - 64 * w);
            abierta[k] = b;
        }
        return abierta[k];
    };
    auto palabra = [&](std::vector<uint64_t>& b, int x, int y) -> uint64_t& {
        return b[en(y, x >> 6)];
    };
    auto hay = [&](const std::vector<uint64_t>& b, int y, int x0, int x1) {
        if (y < 0 || y >= filas)
            return false;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, columnas - 1);
        for (int w = x0 >> 6; w <= x1 >> 6; ++w)
            if (b[en(y, w)] & entrecolumnas(x0, x1, w))
                return true;
        return false;
    };
    auto poner = [&](std::vector<uint64_t>& b, int y, int x0, int x1, bool valor) {
        for (int w = x0 >> 6; w <= x1 >> 6; ++w) {
            uint64_t& p = b[en(y, w)];
            p = valor ? (p | entrecolumnas(x0, x1, w)) : (p & ~entrecolumnas(x0, x1, w));
        }
    };
    auto viva = [&](const eslabon& e) {
        return e.orden != 0 && e.x >= desdecolumna[std::size_t(e.y)] &&
               e.x <= hastacolumna[std::size_t(e.y)];
    };

    // The same two floods as in sellado, a run at a time, each run marked
    // in `vistos` of its side.
    semillas[0].clear();
    semillas[1].clear();
    tramos.clear();
    semillas[0].push_back({u.destx, u.desty});
    for (int16_t k = 0; k < usados; ++k)
        if (const eslabon& e = eslabones[std::size_t(k)]; viva(e))
            palabra(esperas, e.x, e.y) |= uint64_t(1) << (e.x & 63);
    // The list's side starts next to the waiting cells, one after another
    // as it needs them: a look that meets soon never gets to most of them.
    int16_t proxima = 0;
    auto sembrar = [&] {
        while (semillas[1].empty() && proxima < usados) {
            const eslabon& e = eslabones[std::size_t(proxima++)];
            if (!viva(e))
                continue;
            for (int y = std::max(e.y - 1, 0); y <= std::min(e.y + 1, filas - 1); ++y)
                for (int x = std::max(e.x - 1, 0); x <= std::min(e.x + 1, columnas - 1); ++x)
                    if (abiertas(y, x >> 6) >> (x & 63) & 1)
                        semillas[1].push_back({int16_t(x), int16_t(y)});
        }
        return !semillas[1].empty();
    };
    // One run of side `lado`; false when the two sides met.
    auto avanzar = [&](int lado) {
        std::vector<uint64_t>& visto = vistos[lado];
        while (!semillas[lado].empty()) {
            const auto [x, y] = semillas[lado].back();
            semillas[lado].pop_back();
            ++trabajo;
            if (palabra(visto, x, y) >> (x & 63) & 1)
                continue;
            // The run of cells around it, as far as it goes either way.
            int w = x >> 6;
            uint64_t z = ~abiertas(y, w) & ((uint64_t(1) << (x & 63)) - 1);
            while (z == 0 && w > 0)
                z = ~abiertas(y, --w);
            const int x0 = z == 0 ? 0 : 64 * w + 64 - std::countl_zero(z);
            w = x >> 6;
            z = ~abiertas(y, w) & ~((uint64_t(2) << (x & 63)) - 1);
            while (z == 0 && w + 1 < palabrasfila)
                z = ~abiertas(y, ++w);
            const int x1 = z == 0 ? 64 * palabrasfila - 1 : 64 * w + std::countr_zero(z) - 1;
            if (hay(vistos[1 - lado], y, x0, x1))
                return false;
            if (lado == 0 &&
                (hay(esperas, y - 1, x0 - 1, x1 + 1) || hay(esperas, y, x0 - 1, x1 + 1) ||
                 hay(esperas, y + 1, x0 - 1, x1 + 1)))
                return false;
            poner(visto, y, x0, x1, true);
            tramos.push_back({int16_t(y), int16_t(x0), int16_t(x1), lado});
            // A run costs about as much as flooding eight cells one by one.
            trabajo += 8;
            // One seed for each run of the rows above and below that touches
            // this one, corners included.
            for (int yy = y - 1; yy <= y + 1; yy += 2) {
                if (yy < 0 || yy >= filas)
                    continue;
                const int a = std::max(x0 - 1, 0);
                const int b = std::min(x1 + 1, columnas - 1);
                uint64_t antes = 0;
                for (int ww = a >> 6; ww <= b >> 6; ++ww) {
                    const uint64_t libres =
                        abiertas(yy, ww) & ~visto[en(yy, ww)] & entrecolumnas(a, b, ww);
                    for (uint64_t inicios = libres & ~((libres << 1) | antes); inicios != 0;
                         inicios &= inicios - 1)
                        semillas[lado].push_back(
                            {int16_t(64 * ww + std::countr_zero(inicios)), int16_t(yy)});
                    antes = libres >> 63;
                }
            }
            return true;
        }
        return true;
    };
    const bool cerrado = turnos([&] { return !semillas[0].empty(); }, [&] { return avanzar(0); },
                                sembrar, [&] { return avanzar(1); },
                                [&] { return trabajo <= limite; }) == desenlace::separados;
    // Whatever the answer, the marks of this look go.
    for (int16_t k = 0; k < usados; ++k)
        if (const eslabon& e = eslabones[std::size_t(k)]; e.orden != 0)
            palabra(esperas, e.x, e.y) = 0;
    for (const tramo& t : tramos)
        poner(vistos[t.lado], t.y, t.x0, t.x1, false);
    return cerrado;
}

void busqueda::calcularzonas(const rejilla& m, int16_t anchomapa, int16_t altomapa) {
    const int columnas = anchomapa + 1;
    const int filas = altomapa + 1;

    // The workspace follows the map's size; a new one starts all cleared.
    const std::size_t total = std::size_t(columnas + 2) * std::size_t(filas + 2);
    if (nodos.size() != total || anchoborde != columnas + 2) {
        nodos = std::vector<nodo>(total);
        eslabonde = std::vector<int16_t>(total);
        generacion = 0;
        base = 0;
        inundado = std::vector<uint32_t>(total);
        riego = 0;
    }
    palabrasfila = (columnas + 63) / 64;
    const std::size_t palabras = std::size_t(palabrasfila) * std::size_t(filas);
    if (abierta.size() != palabras) {
        abierta.assign(palabras, 0);
        leida.assign(palabras, 0);
        esperas.assign(palabras, 0);
        vistos[0].assign(palabras, 0);
        vistos[1].assign(palabras, 0);
        mirada = 0;
    }
    desdecolumna.assign(std::size_t(filas), 0);
    hastacolumna.assign(std::size_t(filas), 0);
    columnasde = 0;
    anchoborde = columnas + 2;
    // Every cell starts as not reached by any search (stamps start at 1), or
    // as a wall for good.
    for (nodo& n : nodos)
        n.estado = muro;
    for (int y = 0; y < filas; ++y)
        for (int x = 0; x < columnas; ++x)
            if (m.mapa(x, y).transitable == verdadero)
                nodos[std::size_t(lugarde(x, y))].estado = 0;

    zonas.assign(std::size_t(columnas) * filas, 0);
    std::vector<int32_t> porver;
    int32_t zona = 0;
    for (int y0 = 0; y0 < filas; ++y0) {
        for (int x0 = 0; x0 < columnas; ++x0) {
            const std::size_t k0 = std::size_t(y0) * columnas + x0;
            if (zonas[k0] != 0 || m.mapa(x0, y0).transitable != verdadero)
                continue;
            ++zona;
            zonas[k0] = zona;
            porver.push_back(int32_t(k0));
            while (!porver.empty()) {
                const int k = porver.back();
                porver.pop_back();
                const int cx = k % columnas;
                const int cy = k / columnas;
                for (int y = std::max(cy - 1, 0); y <= std::min(cy + 1, filas - 1); ++y) {
                    for (int x = std::max(cx - 1, 0); x <= std::min(cx + 1, columnas - 1); ++x) {
                        const std::size_t kk = std::size_t(y) * columnas + x;
                        if (zonas[kk] == 0 && m.mapa(x, y).transitable == verdadero) {
                            zonas[kk] = zona;
                            porver.push_back(int32_t(kk));
                        }
                    }
                }
            }
        }
    }
    zonasversion = m.versionterreno();
    zonasancho = anchomapa;
    zonasalto = altomapa;
}

} // namespace juego
