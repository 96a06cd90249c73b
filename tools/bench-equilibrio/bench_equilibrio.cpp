// bench-equilibrio: how fair a match is, measured by playing seeded matches.
// - archers against sword fighters: computer-only teams of one type against
//   the other on every sample map at 1, 4 and 8 a side, sides swapped
//   half of the time, to 50 kills; the archers' share of the wins (a draw
//   counts half), under both rule sets;
// - difficulty: a scripted player alone against one computer fighter,
//   every type against every type on every sample map, to 10 kills; the
//   player's share of the wins at each level of the balanced rules.
// `--partidas N` sets the matches per cell (100), `--hilos N` the threads (2),
// `--semilla N` the first seed of both tables (1000 for the archers, 5000
// for the duels if not said), so a tuning can be checked on matches it was
// not tuned on.
#include "apoyo/jugadorsimple.h"
#include "apoyo/medidas.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/partida.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace juego;

namespace {

const char* mapas[] = {"pradera", "bosque", "fortaleza", "islas", "rio"};
constexpr int nummapas = 5;
const int tamanos[] = {1, 4, 8};
// A match that reaches no goal by then (some two hours of play) is a draw.
constexpr int maxticks = 60000;

struct trabajo {
    // What to play.
    modoreglas modo = modoreglas::clasicas;
    dificultad nivel = dificultad::normal;
    int mapa = 0;
    int16_t maxp = 1;
    bool arquerosrojos = true; // archers vs sword fighters: which side
    bool jugador = false;      // the scripted player's duel
    int16_t tipojugador = guerrero;
    int16_t tiporival = guerrero;
    uint32_t semilla = 1;
    // What came of it: 1 won, 0 lost, 0.5 drawn (for the archers, or the
    // player), the ticks and the thread CPU time it took.
    double resultado = 0;
    uint32_t ticks = 0;
    double ms = 0;
};

void jugar(trabajo& t) {
    grabadora plat;
    partida p(plat);
    alineacion al;
    al.fijos = true;
    const reglas r{t.modo, t.nivel, t.semilla};
    objetivo meta{tipoobjetivo::muertes, 50};
    if (t.jugador) {
        meta.valor = 10;
        al.tipos[0] = t.tipojugador;
        al.tipos[1] = t.tiporival;
    } else {
        al.espectador = true;
        for (int16_t i = 0; i < 2 * t.maxp; ++i)
            al.tipos[std::size_t(i)] = ((i < t.maxp) == t.arquerosrojos) ? arquero : guerrero;
    }
    const double antes = medidas::cpums();
    sucesos s;
    const std::string ruta = std::string(MAPAS_DIR) + "/" + mapas[t.mapa] + ".mapa";
    if (std::string e = p.cargar(ruta, t.maxp, al.tipos[0], s, meta, r, al); !e.empty()) {
        std::fprintf(stderr, "bench-equilibrio: %s\n", e.c_str());
        std::exit(2);
    }
    prueba::jugadorsimple j(0);
    const mundo& m = p.juego();
    while (m.fin != verdadero && m.numtick < maxticks) {
        if (t.jugador)
            j.jugar(p);
        else
            p.tick(entradatick{});
    }
    t.ticks = m.numtick;
    t.ms = medidas::cpums() - antes;
    const int16_t quien = t.jugador ? 0 : (t.arquerosrojos ? 0 : 1);
    const int32_t a = m.muertesequipo(quien);
    const int32_t b = m.muertesequipo(int16_t(1 - quien));
    t.resultado = a > b ? 1.0 : a < b ? 0.0 : 0.5;
}

void correr(std::vector<trabajo>& lista, int hilos) {
    std::atomic<std::size_t> siguiente{0};
    std::vector<std::thread> h;
    for (int k = 0; k < hilos; ++k)
        h.emplace_back([&] {
            for (std::size_t i; (i = siguiente++) < lista.size();)
                jugar(lista[i]);
        });
    for (std::thread& x : h)
        x.join();
}

struct suma {
    double ganadas = 0;
    int partidas = 0;
    double ticks = 0;
    double ms = 0;
    void anotar(const trabajo& t) {
        ganadas += t.resultado;
        ++partidas;
        ticks += t.ticks;
        ms += t.ms;
    }
    double porcentaje() const { return partidas ? 100.0 * ganadas / partidas : 0; }
};

} // namespace

int main(int argc, char** argv) {
    int partidas = 100;
    int hilos = 2;
    std::optional<uint32_t> semilla;
    // While tuning: one table alone ("arqueros" or "dificultad").
    std::string solo;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help")) {
            std::printf("uso: bench-equilibrio [--partidas N] [--hilos N] "
                        "[--semilla N] [--solo arqueros|equilibradas|dificultad]\n"
                        "  --partidas N  partidas por casilla de cada tabla (100)\n"
                        "  --hilos N     hilos que juegan a la vez (2)\n"
                        "  --semilla N   la primera semilla de cada tabla (1000 la de\n"
                        "                arqueros, 5000 la de duelos)\n"
                        "  --solo T      sólo la tabla T\n");
            return 0;
        }
        if (i + 1 < argc && !std::strcmp(argv[i], "--solo"))
            solo = argv[++i];
        else if (i + 1 < argc && !std::strcmp(argv[i], "--partidas"))
            partidas = std::max(2, std::atoi(argv[++i]));
        else if (i + 1 < argc && !std::strcmp(argv[i], "--semilla"))
            semilla = uint32_t(std::strtoul(argv[++i], nullptr, 10));
        else if (i + 1 < argc && !std::strcmp(argv[i], "--hilos"))
            hilos = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "bench-equilibrio: opción desconocida: %s (--help)\n", argv[i]);
            return 2;
        }
    }

    // Archers against sword fighters.
    std::vector<trabajo> lista;
    const bool arqueros = solo != "dificultad";
    const bool duelos = solo != "arqueros" && solo != "equilibradas";
    const bool clasicas = solo != "equilibradas";
    if (arqueros)
        for (modoreglas modo : {modoreglas::clasicas, modoreglas::equilibradas})
            for (int mapa = 0; mapa < nummapas && (clasicas || modo != modoreglas::clasicas);
                 ++mapa)
                for (int16_t n : tamanos)
                    for (int k = 0; k < partidas; ++k) {
                        trabajo t;
                        t.modo = modo;
                        t.mapa = mapa;
                        t.maxp = n;
                        t.arquerosrojos = k % 2 == 0;
                        t.semilla = semilla.value_or(1000) + uint32_t(k);
                        lista.push_back(t);
                    }
    // The scripted player, each type against each type on every map.
    if (duelos)
        for (dificultad d : {dificultad::facil, dificultad::normal, dificultad::dificil})
            for (int k = 0; k < std::max(partidas, 20); ++k) {
                trabajo t;
                t.modo = modoreglas::equilibradas;
                t.nivel = d;
                t.jugador = true;
                t.mapa = k % nummapas;
                t.tipojugador = (k / nummapas) % 2 ? arquero : guerrero;
                t.tiporival = (k / (2 * nummapas)) % 2 ? arquero : guerrero;
                t.semilla = semilla.value_or(5000) + uint32_t(k);
                lista.push_back(t);
            }
    correr(lista, hilos);

    std::size_t k = 0;
    double total = 0;
    for (modoreglas modo : {modoreglas::clasicas, modoreglas::equilibradas}) {
        if (!arqueros)
            break;
        if (!clasicas && modo == modoreglas::clasicas)
            continue;
        std::printf("Arqueros contra guerreros, reglas %s: victorias de los arqueros "
                    "(empate = media), partidas a 50 muertes\n",
                    nombremodo(modo));
        std::printf("  %-10s %16s %16s %16s\n", "mapa", "1 v 1", "4 v 4", "8 v 8");
        suma todo;
        std::array<suma, 3> tamano{};
        for (int mapa = 0; mapa < nummapas; ++mapa) {
            std::printf("  %-10s", mapas[mapa]);
            for (int n = 0; n < 3; ++n) {
                suma c;
                for (int i = 0; i < partidas; ++i) {
                    c.anotar(lista[k]);
                    todo.anotar(lista[k]);
                    tamano[std::size_t(n)].anotar(lista[k]);
                    total += lista[k++].ms;
                }
                std::printf(" %5.1f %% (%3d p.)", c.porcentaje(), c.partidas);
            }
            std::printf("\n");
        }
        std::printf("  %-10s", "5 mapas");
        for (const suma& c : tamano)
            std::printf(" %5.1f %% (%3d p.)", c.porcentaje(), c.partidas);
        std::printf("\n  en total %.1f %% de %d partidas, %.0f ticks de media\n\n",
                    todo.porcentaje(), todo.partidas, todo.ticks / todo.partidas);
    }
    if (duelos)
        std::printf("Jugador sencillo contra el ordenador, 1 v 1, reglas equilibradas, "
                    "partidas a 10 muertes\n");
    for (dificultad d : {dificultad::facil, dificultad::normal, dificultad::dificil}) {
        if (!duelos)
            break;
        suma c;
        for (int i = 0; i < std::max(partidas, 20); ++i) {
            c.anotar(lista[k]);
            total += lista[k++].ms;
        }
        std::printf("  %-8s gana el jugador el %5.1f %% de %d partidas\n", nombredificultad(d),
                    c.porcentaje(), c.partidas);
    }
    std::printf("\nTiempo de CPU de los hilos que jugaron: %.1f s\n", total / 1000);
    return 0;
}
