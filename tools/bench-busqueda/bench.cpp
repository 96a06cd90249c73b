// The path search, one search at a time, beside the plain reference search
// on the very same search, in the CPU time of this thread. Rows marked
// "busqueda" time a search that really runs; rows marked "atajo" time a
// question the game answers without searching, or by searching only until
// it sees that no path can come out (zones of the terrain, the flood around
// a shut-in target, a destination cut off, a remembered failure), and say
// so. After
// the timing, the results of both searches are compared: path text, steps,
// outcome and where the search left its current node.
#include "apoyo/medidas.h"
#include "apoyo/mundoprueba.h"
#include "apoyo/planos.h"
#include "apoyo/referencia.h"
#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Juego/nucleo/busqueda.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/mundo.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace juego;

namespace {

// Runs `f` after `preparar` until both `minimo` runs and `ms` milliseconds
// of timed CPU have gone by (or `maximo` runs); the times of every run.
std::vector<double> medir(int minimo, int maximo, double ms, const std::function<void()>& preparar,
                          const std::function<void()>& f) {
    std::vector<double> t;
    double total = 0;
    while (int(t.size()) < maximo && (int(t.size()) < minimo || total < ms)) {
        preparar();
        const double a = medidas::cpums();
        f();
        t.push_back(medidas::cpums() - a);
        total += t.back();
    }
    return t;
}

// A 200 x 200 field with one cell in eight a wall, water or tree, and the
// cells around both starts clear.
comun::plano campo(uint32_t semilla, comun::posicion a, comun::posicion b) {
    std::mt19937 rng(semilla);
    comun::plano p = comun::plano::vacio(199, 199);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (rng() % 8 == 0)
                p.ponerterreno(x, y, int16_t(2 + rng() % 3));
    planos::despejar(p, a, 2);
    planos::despejar(p, b, 2);
    p.inicio = {a, b};
    return p;
}

using prueba::mundoprueba;

void mover(mundoprueba& w, int16_t k, int x, int y) {
    w.mover(k, int16_t(x), int16_t(y));
}

void apuntar(mundoprueba& w, int16_t i, int16_t hacia) {
    w.m.unidades[i].destx = w.m.unidades[hacia].x;
    w.m.unidades[i].desty = w.m.unidades[hacia].y;
}

// Fighter 8 (team 1) at (5, 5) hunts the player at (99, 99). With `muros`
// the player is walled in; otherwise seven of the hunter's team-mates and one
// wall stand around him.
void cercado(mundoprueba& w, comun::plano p, bool muros) {
    for (int y = 98; y <= 100; ++y)
        for (int x = 98; x <= 100; ++x)
            if ((x != 99 || y != 99) && (muros || (x == 100 && y == 100)))
                p.ponerterreno(x, y, comun::pared);
    w.m.cargarmapa(p, 8, guerrero);
    mover(w, 0, 99, 99);
    for (int16_t k = 1; k < 8; ++k)
        mover(w, k, 150 + k, 190);
    mover(w, 8, 5, 5);
    int16_t k = 9;
    for (int y = 98; y <= 100; ++y)
        for (int x = 98; x <= 100; ++x)
            if (w.m.mapa(x, y).transitable == verdadero && (x != 99 || y != 99))
                mover(w, k++, x, y);
    for (; k < 16; ++k)
        mover(w, k, 150 + k, 180);
    apuntar(w, 8, 0);
}

// The player stands in a walled 31 x 31 room whose door, three cells wide,
// is held by the hunter's team-mates: too big to flood, the same terrain zone,
// so the search has to take every cell outside to learn there is no way in.
void sala(mundoprueba& w, comun::plano p) {
    for (int k = 84; k <= 114; ++k)
        for (const auto& [x, y] : {std::pair{k, 84}, {k, 114}, {84, k}, {114, k}})
            p.ponerterreno(x, y, comun::pared);
    for (int x = 98; x <= 100; ++x)
        p.ponerterreno(x, 84, comun::pasto);
    w.m.cargarmapa(p, 8, guerrero);
    mover(w, 0, 99, 99);
    for (int16_t k = 1; k < 8; ++k)
        mover(w, k, 90 + k, 100);
    mover(w, 8, 5, 5);
    for (int16_t k = 9; k < 12; ++k)
        mover(w, k, 89 + k, 84);
    for (int16_t k = 12; k < 16; ++k)
        mover(w, k, 150 + k, 180);
    apuntar(w, 8, 0);
}

struct caso {
    const char* nombre;
    bool atajo;    // the game is expected to answer without searching
    bool recordar; // asked again with nothing changed
    std::function<void(mundoprueba&)> preparar;
    int16_t quien = 8;
};

std::string resultado(const unidad& u, bool consig) {
    std::string r =
        std::to_string(u.siguiendo) + "/" + std::to_string(u.buscando) + " [" + u.camino + "] ";
    for (const std::string& p : u.pasos)
        r += p + ",";
    if (consig)
        r += " sig " + std::to_string(u.sigx) + "," + std::to_string(u.sigy);
    return r;
}

bool fila(const caso& c) {
    auto w = std::make_unique<mundoprueba>();
    w->plat.ponersonido(0);
    c.preparar(*w);
    const mundo& m = w->m;
    unidad& u = w->m.unidades[std::size_t(c.quien)];
    u.camino = "viejo";
    u.pasos = {"viejo"};
    const unidad antes = u;

    // A search object of its own, so that each run can start with no
    // remembered failure; the zones are worked out before any run is timed.
    // A run does what the world does: asks, searches, follows the answer.
    busqueda juego;
    juego.preparar(m.celdas(), m.anchomapa, m.altomapa);
    auto buscar = [&] {
        mundo::seguircamino(u, juego.buscarcamino(m.celdas(), m.preguntacamino(c.quien)));
    };
    if (c.recordar)
        buscar();
    const std::vector<double> r = medir(
        30, 2000, 300,
        [&] {
            if (!c.recordar)
                juego.olvidar();
            u = antes;
        },
        buscar);
    const unidad delJuego = u;

    referencia::buscador ref;
    const std::vector<double> l = medir(
        11, 100, 1500, [&] { u = antes; },
        [&] {
            if (const std::optional<respuesta> a = ref.buscarcamino(m, c.quien))
                mundo::seguircamino(u, *a);
        });
    const unidad deReferencia = u;
    u = antes;

    // A shortcut leaves the current node on the start, where a full search
    // that fails leaves it on the last cell it took.
    const bool enelinicio = delJuego.sigx == antes.x && delJuego.sigy == antes.y;
    const bool hallado = delJuego.siguiendo == verdadero;
    const bool atajo = !hallado && enelinicio;
    const bool iguales = resultado(delJuego, !atajo) == resultado(deReferencia, !atajo);
    const double rm = medidas::mediana(r), lm = medidas::mediana(l);
    std::printf("  %-8s %-50s %9.4f ms (%4zu)  referencia %9.3f ms (%3zu)  x%-8.0f %s%s\n",
                c.atajo ? "atajo" : "busqueda", c.nombre, rm, r.size(), lm, l.size(),
                lm / std::max(rm, 1e-6), iguales ? "iguales" : "DISTINTOS",
                hallado ? ", con camino" : ", sin camino");
    if (!iguales) {
        std::printf("    juego:      %s\n    referencia: %s\n", resultado(delJuego, true).c_str(),
                    resultado(deReferencia, true).c_str());
        return false;
    }
    // Asked again, the answer is remembered whatever gave it the first time.
    if (!c.recordar && atajo != c.atajo) {
        std::printf("    la fila no es lo que dice: %s\n",
                    atajo ? "el juego no busco" : "el juego busco");
        return false;
    }
    return true;
}

} // namespace

int main() {
    std::printf("bench-busqueda: una busqueda cada vez, medianas en tiempo de CPU del hilo; la "
                "referencia (paso a paso) hace la misma busqueda\n");
    const comun::plano p = campo(7, {100, 100}, {8, 8});
    const caso casos[] = {
        // The search takes two thousand cells, then floods the hall.
        {"sala con la puerta tomada: busca, luego inunda", true, false,
         [&](mundoprueba& w) { sala(w, p); }},
        {"de esquina a esquina, 200x200", false, false,
         [](mundoprueba& w) {
             w.m.cargarmapa(campo(11, {12, 10}, {188, 190}), 8, guerrero);
             mover(w, 8, 190, 186);
             apuntar(w, 8, 0);
         }},
        {"alcanzable solo por un hueco del cerco, 200x200", false, false,
         [&](mundoprueba& w) {
             cercado(w, p, false);
             mover(w, 9, 5, 190);
         }},
        {"laberinto 200x200, de esquina a esquina", false, false,
         [](mundoprueba& w) {
             w.m.cargarmapa(planos::laberinto(200, 5), 8, guerrero);
             apuntar(w, 8, 0);
         }},
        // The list fills up long before the destination; once the cells
        // reached while it was full cut the destination off, the search is
        // found to be over.
        {"abierto 400x400: busca, luego ve el destino cortado", true, false,
         [](mundoprueba& w) {
             w.m.cargarmapa(planos::abierto(400), 8, guerrero);
             apuntar(w, 7, 8);
         },
         7},
        {"tapiado: zonas del terreno", true, false, [&](mundoprueba& w) { cercado(w, p, true); }},
        {"rodeado de companeros: inundacion", true, false,
         [&](mundoprueba& w) { cercado(w, p, false); }},
        {"sala con la puerta tomada, preguntada otra vez", true, true,
         [&](mundoprueba& w) { sala(w, p); }},
    };
    bool bien = true;
    for (const caso& c : casos)
        bien = fila(c) && bien;
    return bien ? 0 : 1;
}
