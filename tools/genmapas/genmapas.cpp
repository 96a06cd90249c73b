// genmapas: writes the sample maps into the folder given on the command line.
// Not part of the build: run it by hand and commit what it writes to mapas/.
//
//   genmapas CARPETA
//
// Every map is laid out from a few shapes (rooms with doors, rivers with
// bridges and fords, forests, lakes, paths) with fixed seeds, so the output is
// the same on every run. Before writing, each map is checked the way the
// editor and the game need it: both starts have a passable 3 x 3 block inside
// the map and away from column 0 and row 0, and the teams can walk to each
// other.

#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <queue>
#include <string>
#include <vector>

#include "comunes/azarfijo.h"

using namespace comun;

namespace {

constexpr double pi = 3.14159265358979323846;

using herramientas::azar;

// Smooth value noise in [0, 1) on a lattice of `celda` cells.
double ruido(double x, double y, int celda, int semilla) {
    const double fx = x / celda, fy = y / celda;
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    auto s = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = s(fx - ix), ty = s(fy - iy);
    const double a = azar(ix, iy, semilla) * (1 - tx) + azar(ix + 1, iy, semilla) * tx;
    const double b = azar(ix, iy + 1, semilla) * (1 - tx) + azar(ix + 1, iy + 1, semilla) * tx;
    return a * (1 - ty) + b * ty;
}

class obra {
public:
    obra(int ancho, int alto) : p(plano::vacio(int16_t(ancho - 1), int16_t(alto - 1))) {}

    plano p;

    bool dentro(int x, int y) const { return x >= 0 && y >= 0 && x < p.ancho() && y < p.alto(); }
    int16_t en(int x, int y) const { return p.terreno(x, y); }
    void poner(int x, int y, int16_t t) {
        if (dentro(x, y))
            p.ponerterreno(x, y, t);
    }
    // Changes only cells that hold `solo`.
    void cambiar(int x, int y, int16_t solo, int16_t t) {
        if (dentro(x, y) && en(x, y) == solo)
            p.ponerterreno(x, y, t);
    }

    void rectangulo(int x0, int y0, int x1, int y1, int16_t t) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                poner(x, y, t);
    }

    // A room: walls on the border, `suelo` inside, the listed door cells open.
    void casa(int x0, int y0, int x1, int y1, int16_t suelo,
              const std::vector<posicion>& puertas) {
        rectangulo(x0, y0, x1, y1, pared);
        rectangulo(x0 + 1, y0 + 1, x1 - 1, y1 - 1, suelo);
        for (posicion d : puertas)
            poner(d.x, d.y, suelo);
    }

    // Trees over grass inside an ellipse, thinning out towards its rim.
    void bosque(int cx, int cy, int rx, int ry, double densidad, int semilla) {
        for (int y = cy - ry; y <= cy + ry; ++y)
            for (int x = cx - rx; x <= cx + rx; ++x) {
                const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
                const double d = dx * dx + dy * dy + (ruido(x, y, 4, semilla) - 0.5) * 0.6;
                if (d < 1 && azar(x, y, semilla + 1) < densidad * (1.15 - d * 0.6))
                    cambiar(x, y, pasto, arbol);
            }
    }

    // An irregular island of grass.
    void isla(int cx, int cy, int rx, int ry, int semilla) {
        for (int y = cy - ry - 2; y <= cy + ry + 2; ++y)
            for (int x = cx - rx - 2; x <= cx + rx + 2; ++x) {
                const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
                if (dx * dx + dy * dy + (ruido(x, y, 4, semilla) - 0.5) * 0.6 < 1)
                    poner(x, y, pasto);
            }
    }

    // An irregular lake.
    void lago(int cx, int cy, int rx, int ry, int semilla) {
        for (int y = cy - ry - 2; y <= cy + ry + 2; ++y)
            for (int x = cx - rx - 2; x <= cx + rx + 2; ++x) {
                const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
                if (dx * dx + dy * dy + (ruido(x, y, 3, semilla) - 0.5) * 0.7 < 1)
                    poner(x, y, agua);
            }
    }

    // A river that runs top to bottom (or left to right when !vertical) around
    // the line `base`, meandering, `ancho` cells wide.
    void rio(bool vertical, double base, double amplitud, double periodo, int ancho, int semilla) {
        const int largo = vertical ? p.alto() : p.ancho();
        for (int a = 0; a < largo; ++a) {
            const double c = base + amplitud * std::sin(2 * pi * a / periodo + semilla) +
                             (ruido(a, 0, 7, semilla) - 0.5) * 3.0;
            const int desde = int(std::lround(c - ancho / 2.0));
            for (int b = desde; b < desde + ancho; ++b)
                vertical ? poner(b, a, agua) : poner(a, b, agua);
        }
    }

    // Crossing of a vertical river at rows y..y+alto-1: wood for a bridge,
    // grass for a ford. Only water cells change.
    void cruce(int y, int alto, int16_t t) {
        for (int j = y; j < y + alto; ++j)
            for (int x = 0; x < p.ancho(); ++x)
                cambiar(x, j, agua, t);
    }

    // A path `ancho` cells wide along straight pieces between the points:
    // trees give way to grass, water to a wooden bridge, walls to a doorway.
    void camino(const std::vector<posicion>& puntos, int ancho) {
        for (std::size_t i = 0; i + 1 < puntos.size(); ++i) {
            const posicion a = puntos[i], b = puntos[i + 1];
            const int pasos = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
            for (int k = 0; k <= pasos; ++k) {
                const double t = pasos ? double(k) / pasos : 0;
                const int x = int(std::lround(a.x + (b.x - a.x) * t));
                const int y = int(std::lround(a.y + (b.y - a.y) * t));
                for (int j = 0; j < ancho; ++j)
                    for (int i2 = 0; i2 < ancho; ++i2) {
                        const int cx = x + i2 - ancho / 2, cy = y + j - ancho / 2;
                        if (!dentro(cx, cy))
                            continue;
                        const int16_t t0 = en(cx, cy);
                        if (t0 == arbol)
                            poner(cx, cy, pasto);
                        else if (t0 == agua)
                            poner(cx, cy, madera);
                        else if (t0 == pared)
                            poner(cx, cy, piso);
                    }
            }
        }
    }

    // Sets both starts and clears grass of radius r around each.
    void inicios(posicion a, posicion b, int r) {
        p.inicio = {a, b};
        despejar(a, r);
        despejar(b, r);
    }

    // Grass around a start, so the team can spread out.
    void despejar(posicion c, int r) {
        for (int y = c.y - r; y <= c.y + r; ++y)
            for (int x = c.x - r; x <= c.x + r; ++x)
                if (dentro(x, y) && !transitable(en(x, y)))
                    poner(x, y, pasto);
    }
};

// The cells reachable on foot from `desde`, with the given neighbourhood.
std::vector<char> alcanzables(const plano& p, posicion desde, bool diagonales) {
    std::vector<char> visto(std::size_t(p.ancho()) * p.alto(), 0);
    std::queue<posicion> cola;
    auto idx = [&](int x, int y) { return std::size_t(y) * p.ancho() + x; };
    if (!transitable(p.terreno(desde.x, desde.y)))
        return visto;
    visto[idx(desde.x, desde.y)] = 1;
    cola.push(desde);
    while (!cola.empty()) {
        const posicion c = cola.front();
        cola.pop();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if ((dx == 0 && dy == 0) || (!diagonales && dx != 0 && dy != 0))
                    continue;
                const int x = c.x + dx, y = c.y + dy;
                if (x < 0 || y < 0 || x >= p.ancho() || y >= p.alto())
                    continue;
                if (visto[idx(x, y)] || !transitable(p.terreno(x, y)))
                    continue;
                visto[idx(x, y)] = 1;
                cola.push({int16_t(x), int16_t(y)});
            }
    }
    return visto;
}

// Empty when the map is fit to ship, else what is wrong with it.
std::string revisar(const plano& p) {
    for (int e = 0; e < 2; ++e) {
        const posicion s = p.inicio[e];
        if (s.x < 1 || s.y < 1 || s.x + 1 > p.anchomapa || s.y + 1 > p.altomapa)
            return "inicio " + std::to_string(e) + " fuera de lugar";
        for (int y = s.y - 1; y <= s.y + 1; ++y)
            for (int x = s.x - 1; x <= s.x + 1; ++x)
                if (!transitable(p.terreno(x, y)))
                    return "inicio " + std::to_string(e) + " sin espacio alrededor";
    }
    // Straight steps only: a stricter test than the game's, so no team has
    // to squeeze diagonally between two walls to reach the other.
    const std::vector<char> v = alcanzables(p, p.inicio[0], false);
    if (!v[std::size_t(p.inicio[1].y) * p.ancho() + p.inicio[1].x])
        return "los equipos no pueden alcanzarse";
    return {};
}

// ------------------------------------------------------------------ maps

// 50 x 50: open meadow, tree clumps, a pond, a wooden hut and a ruined wall.
plano pradera() {
    obra o(50, 50);
    o.bosque(11, 8, 7, 5, 0.8, 101);
    o.bosque(39, 41, 8, 5, 0.8, 102);
    o.bosque(22, 44, 5, 3, 0.5, 103);
    o.bosque(41, 8, 5, 4, 0.55, 104);
    o.bosque(8, 40, 4, 3, 0.5, 105);
    o.lago(30, 12, 4, 3, 106);
    o.casa(19, 20, 29, 29, madera, {{19, 24}, {19, 25}, {29, 25}, {24, 20}, {24, 29}});
    o.rectangulo(22, 23, 23, 23, pared); // a table-like block inside
    // Ruined wall with gaps.
    for (int y = 16; y <= 34; ++y)
        if (y % 6 != 0 && y % 7 != 3)
            o.poner(36, y, pared);
    for (int x = 10; x <= 16; ++x)
        if (x != 13)
            o.poner(x, 31, pared);
    o.inicios({5, 25}, {44, 24}, 2);
    return o.p;
}

// 75 x 50: a river across the middle with two bridges and a ford, woods and
// a house on each bank.
plano rio() {
    obra o(75, 50);
    o.bosque(12, 9, 9, 6, 0.8, 201);
    o.bosque(17, 41, 9, 6, 0.7, 202);
    o.bosque(61, 11, 9, 6, 0.8, 203);
    o.bosque(57, 42, 9, 5, 0.7, 204);
    // Trees along the banks.
    for (int y = 0; y < 50; ++y)
        for (int x = 28; x <= 47; ++x)
            if (azar(x, y, 205) < 0.12)
                o.cambiar(x, y, pasto, arbol);
    o.rio(true, 37, 3.5, 46, 5, 206);
    o.cruce(9, 2, madera);
    o.cruce(24, 3, pasto);
    o.cruce(38, 2, madera);
    // Bridge heads: the wood reaches one cell onto each bank.
    for (int y : {9, 10, 38, 39}) {
        int oeste = 75, este = -1;
        for (int x = 0; x < 75; ++x)
            if (o.en(x, y) == madera) {
                oeste = std::min(oeste, x);
                este = std::max(este, x);
            }
        o.poner(oeste - 1, y, madera);
        o.poner(este + 1, y, madera);
    }
    o.casa(4, 30, 12, 37, piso, {{12, 33}, {12, 34}, {8, 30}});
    o.casa(62, 22, 70, 29, madera, {{62, 25}, {62, 26}, {66, 29}});
    o.rectangulo(65, 24, 65, 24, pared);
    o.inicios({6, 22}, {68, 35}, 2);
    return o.p;
}

// 100 x 100: a walled fortress with a moat, four gates and bridges, a keep
// with rooms, corner towers; woods and a lake around it.
plano fortaleza() {
    obra o(100, 100);
    o.bosque(14, 14, 11, 10, 0.55, 301);
    o.bosque(85, 85, 11, 10, 0.55, 302);
    o.bosque(86, 13, 10, 9, 0.6, 303);
    o.bosque(13, 87, 10, 9, 0.6, 304);
    o.lago(84, 12, 5, 4, 305);
    // Moat: a ring of water three cells wide.
    o.rectangulo(24, 24, 75, 75, agua);
    o.rectangulo(27, 27, 72, 72, pasto);
    // Outer wall, two cells thick, courtyard of floor tiles.
    o.rectangulo(29, 29, 70, 70, pared);
    o.rectangulo(31, 31, 68, 68, piso);
    // Gates in the middle of each side, with wooden bridges over the moat.
    for (int k = 48; k <= 51; ++k) {
        for (int d = 24; d <= 30; ++d) {
            o.poner(k, d, d <= 26 ? madera : piso);
            o.poner(k, 99 - d, d <= 26 ? madera : piso);
            o.poner(d, k, d <= 26 ? madera : piso);
            o.poner(99 - d, k, d <= 26 ? madera : piso);
        }
    }
    // Corner towers.
    o.casa(31, 31, 37, 37, madera, {{37, 34}, {34, 37}});
    o.casa(62, 31, 68, 37, madera, {{62, 34}, {65, 37}});
    o.casa(31, 62, 37, 68, madera, {{37, 65}, {34, 62}});
    o.casa(62, 62, 68, 68, madera, {{62, 65}, {65, 62}});
    // The keep: four rooms around a hall, doors on every side.
    o.casa(42, 42, 57, 57, madera,
           {{49, 42}, {50, 42}, {49, 57}, {50, 57}, {42, 49}, {42, 50}, {57, 49}, {57, 50}});
    o.rectangulo(49, 43, 50, 56, piso);
    o.rectangulo(43, 49, 56, 50, piso);
    for (int k = 43; k <= 56; ++k) {
        if (k < 47 || k > 52) {
            o.poner(47, k, pared);
            o.poner(52, k, pared);
            o.poner(k, 47, pared);
            o.poner(k, 52, pared);
        }
    }
    o.rectangulo(48, 48, 51, 51, piso);
    // Barracks along the north and south walls.
    o.casa(39, 32, 46, 37, madera, {{42, 37}});
    o.casa(53, 62, 60, 67, madera, {{56, 62}});
    // A well and some crates in the courtyard.
    o.rectangulo(38, 55, 38, 55, agua);
    o.rectangulo(60, 44, 61, 44, pared);
    // Scattered trees on the grass.
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (azar(x, y, 306) < 0.035)
                o.cambiar(x, y, pasto, arbol);
    o.camino({{8, 50}, {20, 50}, {24, 50}}, 3);
    o.camino({{91, 49}, {80, 49}, {75, 49}}, 3);
    o.inicios({8, 50}, {91, 49}, 3);
    return o.p;
}

// 200 x 200: a great forest with clearings, paths, a river with bridges and
// fords, two lakes, villages and a ruined fort.
plano bosque() {
    obra o(200, 200);
    // Forest everywhere, in clumps, with glades where the noise is low.
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            const double n = ruido(x, y, 14, 401) * 0.7 + ruido(x, y, 5, 402) * 0.3;
            if (n > 0.42 && azar(x, y, 403) < 0.25 + (n - 0.42) * 1.6)
                o.poner(x, y, arbol);
        }
    o.lago(52, 40, 12, 8, 404);
    o.lago(150, 160, 14, 9, 405);
    o.rio(true, 104, 9, 120, 6, 406);
    o.cruce(70, 3, pasto);  // ford
    o.cruce(150, 3, pasto); // ford
    auto claro = [&](int cx, int cy, int rx, int ry) {
        for (int y = cy - ry; y <= cy + ry; ++y)
            for (int x = cx - rx; x <= cx + rx; ++x) {
                const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
                if (dx * dx + dy * dy < 1 && o.dentro(x, y) && o.en(x, y) == arbol)
                    o.poner(x, y, pasto);
            }
    };
    const posicion ini0{18, 100}, ini1{181, 99};
    claro(ini0.x, ini0.y, 9, 8);
    claro(ini1.x, ini1.y, 9, 8);
    // West village.
    claro(55, 100, 16, 12);
    o.casa(45, 92, 53, 98, madera, {{49, 98}});
    o.casa(58, 93, 65, 99, piso, {{58, 96}});
    o.casa(47, 104, 54, 110, piso, {{50, 104}});
    o.casa(59, 104, 67, 111, madera, {{63, 104}, {59, 107}});
    // East village.
    claro(150, 95, 15, 12);
    o.casa(140, 86, 148, 92, piso, {{144, 92}});
    o.casa(152, 86, 160, 93, madera, {{156, 93}});
    o.casa(142, 100, 149, 106, madera, {{145, 100}});
    o.casa(153, 99, 162, 107, piso, {{153, 103}, {157, 99}});
    // Ruined fort in the north-east.
    claro(160, 35, 16, 13);
    o.casa(150, 26, 170, 44, piso, {{160, 44}, {150, 35}});
    for (int x = 152; x <= 168; x += 4)
        o.poner(x, 35, pared);
    o.poner(155, 26, piso);
    o.poner(165, 26, piso);
    o.poner(170, 31, piso);
    // Farm clearing in the south-west.
    claro(45, 165, 14, 10);
    o.casa(40, 160, 50, 168, madera, {{45, 168}, {40, 164}});
    // Paths joining the starts, the villages and the other places.
    o.camino({ini0,
              {30, 100},
              {40, 101},
              {70, 101},
              {85, 96},
              {104, 96},
              {125, 95},
              {140, 95},
              {165, 97},
              ini1},
             3);
    o.camino({{55, 90}, {60, 70}, {80, 60}, {104, 60}, {130, 50}, {150, 38}}, 2);
    o.camino({{50, 112}, {45, 140}, {45, 158}}, 2);
    o.camino({{150, 108}, {140, 130}, {120, 150}, {104, 150}, {70, 160}, {50, 164}}, 2);
    o.camino({{160, 45}, {165, 70}, {170, 97}}, 2);
    o.inicios(ini0, ini1, 3);
    return o.p;
}

// 150 x 150: islands in a lake, joined by wooden bridges and a sand-bar ford,
// with woods, a village and a watchtower.
plano islas() {
    obra o(150, 150);
    o.rectangulo(0, 0, 149, 149, agua);
    struct lugar {
        int x, y, rx, ry;
    };
    const lugar islas[] = {{20, 75, 15, 20},  {129, 74, 15, 20}, {75, 30, 22, 14},
                           {75, 120, 24, 15}, {75, 75, 13, 11},  {30, 25, 12, 10},
                           {122, 128, 12, 10}};
    int semilla = 501;
    for (const lugar& i : islas)
        o.isla(i.x, i.y, i.rx, i.ry, semilla++);
    o.bosque(75, 30, 18, 10, 0.7, 510);
    o.bosque(75, 122, 20, 11, 0.6, 511);
    o.bosque(30, 25, 9, 7, 0.8, 512);
    o.bosque(122, 128, 9, 7, 0.8, 513);
    o.bosque(20, 95, 10, 6, 0.6, 514);
    o.bosque(129, 55, 10, 6, 0.6, 515);
    // Village on the middle island, watchtower on the north one.
    o.casa(68, 70, 74, 75, madera, {{71, 75}});
    o.casa(77, 74, 83, 80, piso, {{77, 77}});
    o.casa(71, 26, 79, 34, piso, {{75, 34}, {71, 30}});
    o.rectangulo(74, 29, 76, 31, pared);
    const posicion ini0{14, 75}, ini1{135, 74};
    o.inicios(ini0, ini1, 4);
    // Bridges: paths over the water become wood.
    o.camino({ini0, {40, 75}, {62, 75}, {67, 78}, {84, 77}, {100, 75}, ini1}, 2);
    o.camino({{20, 60}, {28, 40}, {30, 30}}, 2);
    o.camino({{75, 64}, {75, 40}}, 2);
    o.camino({{75, 86}, {75, 110}}, 2);
    o.camino({{129, 90}, {124, 118}}, 2);
    o.camino({{36, 25}, {55, 28}}, 2);
    // A sand-bar ford between the south and the east islands.
    for (int k = 0; k < 40; ++k) {
        const int x = 99 + k / 2, y = 118 - k;
        o.cambiar(x, y, agua, pasto);
        o.cambiar(x + 1, y, agua, pasto);
        o.cambiar(x + 2, y, agua, pasto);
    }
    return o.p;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: genmapas CARPETA\n");
        return 2;
    }
    const std::filesystem::path carpeta = argv[1];
    std::error_code error;
    std::filesystem::create_directories(carpeta, error);
    if (error) {
        std::fprintf(stderr, "genmapas: no se pudo crear la carpeta %s\n", argv[1]);
        return 1;
    }
    struct mapa {
        const char* nombre;
        std::function<plano()> hacer;
    };
    const mapa mapas[] = {{"pradera", pradera},
                          {"rio", rio},
                          {"fortaleza", fortaleza},
                          {"islas", islas},
                          {"bosque", bosque}};
    int fallos = 0;
    for (const mapa& m : mapas) {
        const plano p = m.hacer();
        const std::string problema = revisar(p);
        if (!problema.empty()) {
            std::fprintf(stderr, "genmapas: %s: %s\n", m.nombre, problema.c_str());
            ++fallos;
            continue;
        }
        const std::filesystem::path ruta = carpeta / (std::string(m.nombre) + ".mapa");
        const std::string texto = escribirmapa(p);
        std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
        f.write(texto.data(), std::streamsize(texto.size()));
        if (!f) {
            std::fprintf(stderr, "genmapas: no se pudo escribir %s\n", ruta.string().c_str());
            ++fallos;
        }
    }
    return fallos ? 1 : 0;
}
