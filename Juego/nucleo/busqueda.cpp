#include "Juego/nucleo/busqueda.h"
#include "Juego/nucleo/costos.h"
#include "Juego/nucleo/rejilla.h"

#include <algorithm>
#include <type_traits>

namespace juego {

namespace {

// Cells flooded around a destination before giving the question to the
// search; enough for an enemy ringed by fighters or shut in a small room.
constexpr int inundacion = 256;
// A search that has taken this many cells looks whether the destination can
// still be reached at all (see cerco::sellado), and looks again as it goes
// on. A look floods at most four times as many cells as were taken, and
// mostly ends far sooner, where its two floods meet.
constexpr int primerarevision = 2048;

} // namespace

void busqueda::preparar(const rejilla& r, int16_t anchomapa, int16_t altomapa) {
    if (zonas_.vigentes(r, anchomapa, altomapa))
        return;
    espacio_.preparar(r, anchomapa, altomapa);
    abiertos_.dimensionar(espacio_.lugares());
    cerco_.preparar(anchomapa, altomapa, espacio_.lugares());
    zonas_.calcular(r, anchomapa, altomapa);
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
    espacio_.tapar(p);
    // The full search would end with no path as well; it would only have left
    // sigx, sigy on the last cell it took, while here they stay on the start.
    if (zonas_.alcanzable(p) && !cerco_.aislado(espacio_, p, inundacion))
        buscar(p, a);
    espacio_.destapar();
    if (!a.encontrado)
        memoria_.guardar(version, p, a);
    return a;
}

void busqueda::buscar(const pregunta& p, respuesta& r) {
    espacio_.nueva();
    abiertos_.vaciar();
    cerco_.nueva();
    destx = p.destx;
    desty = p.desty;
    sigx = p.x;
    sigy = p.y;
    actual = espacio_.lugarde(p.x, p.y);
    espacio::nodo& inicio = espacio_[actual];
    inicio.estado = espacio_.base() + espacio::cerrada;
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
    while (abiertos_.tomar(actual, sigx, sigy)) {
        espacio_[actual].estado = espacio_.base() + espacio::cerrada;
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
        if (descartes == 9 && abiertos_.cuantos() == 0)
            break;
        // Looked at once the taken cell has been expanded, so that every
        // cell reached is either taken and expanded or waiting or shut out.
        ++tomadas;
        if (tomadas == revision) {
            int trabajo = 0;
            const bool cerrado = cerco_.sellado(espacio_, abiertos_, p, 4 * tomadas, trabajo);
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

void busqueda::expandir() {
    const int cx = sigx;
    const int cy = sigy;
    const int32_t centro = actual;
    const int gactual = espacio_[centro].costog;
    // Kept at hand: the stores below could change them as far as the
    // compiler knows.
    const int hastax = destx;
    const int hastay = desty;
    const int anchoborde = espacio_.anchoborde();
    const uint32_t base = espacio_.base();
    const uint32_t espera = base + espacio::esperando;
    const uint32_t tomada = base + espacio::cerrada;
    // The centre was taken before it is expanded.
    int descartados = 1;
    // Each neighbour by itself, with its step cost and parent known when
    // compiled.
    auto vecino = [&](auto ddx, auto ddy) {
        constexpr int dx = decltype(ddx)::value;
        constexpr int dy = decltype(ddy)::value;
        constexpr int paso = (dx == 0 || dy == 0) ? pasorecto : pasodiagonal;
        constexpr uint16_t padre = uint16_t((dy + 1) * 3 + dx + 1);
        const int32_t lugar = centro + dy * anchoborde + dx;
        espacio::nodo& v = espacio_[lugar];
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
                abiertos_.rebajar(lugar, antes, f);
                v.costog = int16_t(g);
                v.padre = padre;
            }
        } else if (estado < base) {
            if (!abiertos_.lleno()) {
                v.estado = espera;
                v.costog = int16_t(g);
                v.padre = padre;
                abiertos_.poner(lugar, c, r, int16_t(g + costoh(hastax, hastay, c, r)));
            } else {
                // Never queued, so never taken: what it costs and where it
                // was reached from can never be part of a path, and are not
                // kept.
                v.estado = base + espacio::alcanzada;
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

void busqueda::leercamino(const pregunta& p, respuesta& r) {
    r.via.clear();
    int16_t x = p.destx;
    int16_t y = p.desty;
    // Every parent was taken before its child, so the chain runs back to
    // the start without a loop.
    do {
        r.via.push_back(x);
        r.via.push_back(y);
        const int padre = espacio_[espacio_.lugarde(x, y)].padre;
        x = int16_t(x - (padre % 3 - 1));
        y = int16_t(y - (padre / 3 - 1));
    } while (x != p.x || y != p.y);
    r.encontrado = true;
    r.sigx = p.x;
    r.sigy = p.y;
}

} // namespace juego
