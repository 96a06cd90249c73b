#include "Juego/nucleo/cerco.h"
#include "Juego/nucleo/abiertos.h"
#include "Juego/nucleo/costos.h"
#include "Juego/nucleo/espacio.h"
#include "Juego/nucleo/inundacion.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <limits>

namespace juego {

namespace {

// Cells that sellado floods one at a time before it floods whole runs.
constexpr int celdasporsellado = 1024;

} // namespace

void cerco::preparar(int16_t anchomapa, int16_t altomapa, std::size_t lugares) {
    const int columnas = anchomapa + 1;
    const int filas = altomapa + 1;
    if (inundado.size() != lugares) {
        inundado = std::vector<uint32_t>(lugares);
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
    columnaslistas = false;
}

uint32_t cerco::nuevoriego(uint32_t cuantos) {
    if (riego > std::numeric_limits<uint32_t>::max() - 1 - cuantos) {
        std::fill(inundado.begin(), inundado.end(), 0);
        riego = 0;
    }
    riego += cuantos;
    return riego - cuantos + 1;
}

bool cerco::aislado(const espacio& esp, const pregunta& u, int limite) {
    const int anchoborde = esp.anchoborde();
    auto cerca = [&](int x, int y) { return std::abs(x - u.x) <= 1 && std::abs(y - u.y) <= 1; };
    if (cerca(u.destx, u.desty))
        return false;
    // From the destination over passable cells until a neighbour of the
    // start is touched; the neighbour nearest the start goes on the pile
    // last and is flooded next, so a flood that is going to get there heads
    // straight for it.
    const uint32_t marca = nuevoriego();
    const int32_t desde = esp.lugarde(u.destx, u.desty);
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
        if (esp[lugar].estado == espacio::muro)
            return paso::salta;
        if (cerca(lugar % anchoborde - 1, lugar / anchoborde - 1) || ++inundadas > limite)
            return paso::salida;
        return paso::sigue;
    };
    return turnos([&] { return !pila.empty(); },
                  [&] { return regar(pila, inundado, marca, orden, celda); }, [] { return true; },
                  [] { return true; }, [] { return true; }) == desenlace::separados;
}

bool cerco::sellado(const espacio& esp, const abiertos& lista, const pregunta& u, int limite,
                    int& trabajo) {
    const int anchoborde = esp.anchoborde();
    const uint32_t base = esp.base();
    const int32_t meta = esp.lugarde(u.destx, u.desty);
    trabajo = 0;
    // Reached already: it waits in the list (and may be taken), or it was
    // reached with the list full (and `perdida` says so). With nothing
    // waiting the search ends by itself at the next pick.
    if (esp[meta].estado >= base || lista.cuantos() == 0)
        return false;
    // A cell can only ever be taken while its F is below 9999, and no way
    // from the start to it costs less than straight and diagonal steps over
    // open ground; a cell whose F would reach 9999 even then may be reached
    // but is never taken, so nothing is ever reached from it.
    auto prometedora = [&](int32_t lugar) {
        const int x = lugar % anchoborde - 1;
        const int y = lugar / anchoborde - 1;
        return cotaf(u, x, y) < abiertos::topef;
    };
    if (!prometedora(meta))
        return true;
    // The F of the cells grows towards the map's corners; when not even a
    // corner reaches 9999, any cell may be taken and none need be asked.
    const bool todas = prometedora(esp.lugarde(0, 0)) &&
                       prometedora(esp.lugarde(u.anchomapa, 0)) &&
                       prometedora(esp.lugarde(0, u.altomapa)) &&
                       prometedora(esp.lugarde(u.anchomapa, u.altomapa));
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
    for (int16_t k = 0; k < lista.enlaces(); ++k) {
        const abiertos::eslabon& e = lista.enlace(k);
        if (e.espera() && puede(esp.lugarde(e.x, e.y)))
            otrapila.push_back(esp.lugarde(e.x, e.y));
    }
    const std::array<int32_t, 8> vecinos = {-anchoborde - 1, -anchoborde, -anchoborde + 1, -1, 1,
                                            anchoborde - 1,  anchoborde,  anchoborde + 1};
    auto orden = [&](int32_t) { return vecinos; };
    const uint32_t espera = base + espacio::esperando;
    auto desdelameta = [&](int32_t lugar) {
        const uint32_t e = esp[lugar].estado;
        if ((e >= base && e != espera) || !puede(lugar))
            return paso::salta;
        return e == espera || inundado[std::size_t(lugar)] == desdelista ? paso::salida
                                                                         : paso::sigue;
    };
    auto desdelalista = [&](int32_t lugar) {
        if (esp[lugar].estado >= base || !puede(lugar))
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
        return trabajo > limite ? false : selladoporfilas(esp, lista, u, limite, trabajo);
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

int cerco::cotaf(const pregunta& u, int x, int y) {
    const int dx = std::abs(x - u.x);
    const int dy = std::abs(y - u.y);
    return pasodiagonal * std::min(dx, dy) + pasorecto * std::abs(dx - dy) +
           costoh(u.destx, u.desty, x, y);
}

bool cerco::selladoporfilas(const espacio& esp, const abiertos& lista, const pregunta& u,
                            int limite, int& trabajo) {
    const uint32_t base = esp.base();
    const int filas = u.altomapa + 1;
    const int columnas = u.anchomapa + 1;
    // Along a row the least F of a cell falls or holds from the start's
    // column to the destination's and grows away from there on either side,
    // so the cells of a row that may still be taken lie between two columns,
    // worked out once a search.
    if (!columnaslistas) {
        columnaslistas = true;
        for (int y = 0; y < filas; ++y) {
            int16_t& desde = desdecolumna[std::size_t(y)];
            int16_t& hasta = hastacolumna[std::size_t(y)];
            if (cotaf(u, u.destx, y) >= abiertos::topef) {
                desde = 1;
                hasta = 0;
                continue;
            }
            int lo = 0, hi = u.destx;
            while (lo < hi) {
                const int c = (lo + hi) / 2;
                if (cotaf(u, c, y) < abiertos::topef)
                    hi = c;
                else
                    lo = c + 1;
            }
            desde = int16_t(lo);
            lo = u.destx;
            hi = columnas - 1;
            while (lo < hi) {
                const int c = (lo + hi + 1) / 2;
                if (cotaf(u, c, y) < abiertos::topef)
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
            const espacio::nodo* n = &esp[esp.lugarde(0, y)];
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
    auto viva = [&](const abiertos::eslabon& e) {
        return e.espera() && e.x >= desdecolumna[std::size_t(e.y)] &&
               e.x <= hastacolumna[std::size_t(e.y)];
    };

    // The same two floods as in sellado, a run at a time, each run marked
    // in `vistos` of its side.
    semillas[0].clear();
    semillas[1].clear();
    tramos.clear();
    semillas[0].push_back({u.destx, u.desty});
    for (int16_t k = 0; k < lista.enlaces(); ++k)
        if (const abiertos::eslabon& e = lista.enlace(k); viva(e))
            palabra(esperas, e.x, e.y) |= uint64_t(1) << (e.x & 63);
    // The list's side starts next to the waiting cells, one after another
    // as it needs them: a look that meets soon never gets to most of them.
    int16_t proxima = 0;
    auto sembrar = [&] {
        while (semillas[1].empty() && proxima < lista.enlaces()) {
            const abiertos::eslabon& e = lista.enlace(proxima++);
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
    for (int16_t k = 0; k < lista.enlaces(); ++k)
        if (const abiertos::eslabon& e = lista.enlace(k); e.espera())
            palabra(esperas, e.x, e.y) = 0;
    for (const tramo& t : tramos)
        poner(vistos[t.lado], t.y, t.x0, t.x1, false);
    return cerrado;
}

} // namespace juego
