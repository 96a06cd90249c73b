// Medians of the path search and of whole ticks, each beside the same
// measurement with the step-by-step reference search, taken in the same run.

#include "apoyo/mundoprueba.h"
#include "apoyo/referencia.h"
#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Juego/busqueda.h"
#include "Juego/mundo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using namespace juego;

namespace {

prueba::plataformaprueba plat;

double mediana(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// Milliseconds of each of `veces` runs of `f`, after `preparar`.
std::vector<double> medir(int veces, const std::function<void()>& preparar,
                          const std::function<void()>& f) {
    std::vector<double> t;
    for (int k = 0; k < veces; ++k) {
        preparar();
        const auto a = std::chrono::steady_clock::now();
        f();
        const auto b = std::chrono::steady_clock::now();
        t.push_back(std::chrono::duration<double, std::milli>(b - a).count());
    }
    return t;
}

void informar(const char* que, double rapido, double lento) {
    std::printf("  %-58s %9.3f ms   referencia %9.3f ms   x%.0f\n", que, rapido, lento,
                lento / std::max(rapido, 1e-6));
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
    for (const comun::posicion s : {a, b})
        for (int y = s.y - 2; y <= s.y + 2; ++y)
            for (int x = s.x - 2; x <= s.x + 2; ++x)
                p.ponerterreno(x, y, comun::pasto);
    p.inicio = {a, b};
    return p;
}

void mover(mundo& m, int16_t k, int x, int y) {
    unidad& u = m.unidades[k];
    if (m.mapa(u.x, u.y).ocupante == k)
        m.mapa(u.x, u.y).ocupante = -1;
    u.x = int16_t(x);
    u.y = int16_t(y);
    m.mapa(x, y).ocupante = k;
}

// Fighter 8 (team 1) at (5, 5) hunts the player at (99, 99). With `muros`
// the player is walled in; otherwise seven of the hunter's team-mates and one
// wall stand around him, so that only a full search can tell.
void cercado(mundo& m, comun::plano p, bool muros) {
    for (int y = 98; y <= 100; ++y)
        for (int x = 98; x <= 100; ++x)
            if ((x != 99 || y != 99) && (muros || (x == 100 && y == 100)))
                p.ponerterreno(x, y, comun::pared);
    m.cargarmapa(p, 8, guerrero);
    mover(m, 0, 99, 99);
    for (int16_t k = 1; k < 8; ++k)
        mover(m, k, 150 + k, 190);
    mover(m, 8, 5, 5);
    int16_t k = 9;
    for (int y = 98; y <= 100; ++y)
        for (int x = 98; x <= 100; ++x)
            if (m.mapa(x, y).transitable == verdadero && (x != 99 || y != 99))
                mover(m, k++, x, y);
    for (; k < 16; ++k)
        mover(m, k, 150 + k, 180);
    m.unidades[8].destx = 99;
    m.unidades[8].desty = 99;
}

// The player stands in a walled 31 x 31 room whose door, three cells wide,
// is held by the hunter's team-mates: too big to flood, the same terrain zone,
// so the search has to take every cell outside to learn there is no way in.
void sala(mundo& m, comun::plano p) {
    for (int k = 84; k <= 114; ++k)
        for (const auto& [x, y] : {std::pair{k, 84}, {k, 114}, {84, k}, {114, k}})
            p.ponerterreno(x, y, comun::pared);
    for (int x = 98; x <= 100; ++x)
        p.ponerterreno(x, 84, comun::pasto);
    m.cargarmapa(p, 8, guerrero);
    mover(m, 0, 99, 99);
    for (int16_t k = 1; k < 8; ++k)
        mover(m, k, 90 + k, 100);
    mover(m, 8, 5, 5);
    for (int16_t k = 9; k < 12; ++k)
        mover(m, k, 89 + k, 84);
    for (int16_t k = 12; k < 16; ++k)
        mover(m, k, 150 + k, 180);
    m.unidades[8].destx = 99;
    m.unidades[8].desty = 99;
}

void busqueda1(mundo& m, referencia::buscador& ref, const char* que, int veces,
               bool recordar = false) {
    unidad& u = m.unidades[8];
    const unidad antes = u;
    // Every run is a search of its own, not a remembered failure, unless the
    // row is about asking again.
    auto preparar = [&] {
        u = antes;
        if (!recordar)
            m.ponerterreno(0, 0, m.mapa(0, 0).terreno);
    };
    const double r = mediana(medir(veces, preparar, [&] { m.buscarcamino(8); }));
    const double l = mediana(medir(std::max(3, veces / 10), preparar,
                                   [&] { ref.buscarcamino(m, 8); }));
    informar(que, r, l);
}

// Times of `ticks` ticks of a fresh match, with the game's search or the
// reference plugged in its place.
std::vector<double> partida(const comun::plano& p, int ticks, bool conreferencia) {
    auto m = std::make_unique<mundo>(plat);
    referencia::buscador ref;
    m->Form_Load();
    m->cargarmapa(p, 8, guerrero);
    (void)conreferencia;
    std::vector<double> t;
    for (int k = 0; k < ticks; ++k) {
        const auto a = std::chrono::steady_clock::now();
        m->timer_Timer();
        const auto b = std::chrono::steady_clock::now();
        t.push_back(std::chrono::duration<double, std::milli>(b - a).count());
    }
    return t;
}

void ticks(const char* que, const comun::plano& p, int n, int nref) {
    const std::vector<double> r = partida(p, n, false);
    const std::vector<double> l = partida(p, nref, true);
    informar(que, mediana(r), mediana(l));
    auto media = [](const std::vector<double>& v) {
        double suma = 0;
        for (double x : v)
            suma += x;
        return suma / double(v.size());
    };
    informar("    media de los ticks", media(r), media(l));
    informar("    el tick mas lento", *std::max_element(r.begin(), r.end()),
             *std::max_element(l.begin(), l.end()));
}

} // namespace

int main() {
    plat.ponersonido(0);
    std::printf("bench-busqueda: medianas, y la busqueda de referencia (paso a paso) en la "
                "misma corrida\n");
    auto m = std::make_unique<mundo>(plat);
    referencia::buscador ref;
    m->Form_Load();

    const comun::plano p = campo(7, {100, 100}, {8, 8});
    cercado(*m, p, true);
    busqueda1(*m, ref, "(a) destino inalcanzable 200x200, tapiado", 200);
    cercado(*m, p, false);
    busqueda1(*m, ref, "(a) destino inalcanzable 200x200, rodeado de companeros", 30);

    sala(*m, p);
    busqueda1(*m, ref, "(a) inalcanzable, sala con la puerta tomada (peor caso)", 30);
    busqueda1(*m, ref, "    la misma, preguntada otra vez sin cambios", 30, true);
    cercado(*m, p, false);
    mover(*m, 9, 5, 190); // one ring cell opens
    busqueda1(*m, ref, "(a) alcanzable solo por un hueco del cerco, 200x200", 30);

    m->cargarmapa(campo(11, {12, 10}, {188, 190}), 8, guerrero);
    mover(*m, 8, 190, 186);
    m->unidades[8].destx = m->unidades[0].x;
    m->unidades[8].desty = m->unidades[0].y;
    busqueda1(*m, ref, "(b) busqueda con camino de esquina a esquina, 200x200", 100);

    // (c) A wall from top to bottom keeps the teams apart: every computer
    // fighter searches in every tick and never finds a way.
    comun::plano partido = campo(13, {30, 100}, {170, 100});
    for (int y = 0; y < 200; ++y)
        partido.ponerterreno(100, y, comun::pared);
    ticks("(c) tick, 16 luchadores, equipos separados, 200x200", partido, 40, 3);

    // (d) An ordinary match from its start: planning, walking across the map
    // and fighting. Most ticks plan nothing, so the slowest tick is shown too.
    const comun::plano normal = campo(17, {30, 40}, {170, 160});
    ticks("(d) tick de una partida normal, 16 luchadores, 200x200", normal, 400, 400);
    return 0;
}
