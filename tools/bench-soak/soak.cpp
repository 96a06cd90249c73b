// Whole matches of eight against eight, timed tick by tick in the CPU time of
// this thread, so that other processes on the machine do not count. For each
// map: the median tick, the 99th and 99.9th percentile and the slowest tick;
// the match is then played again from the start and its slowest tick timed
// once more, to tell a real slow tick from a stray one. The player's keys,
// strokes and shots follow a fixed pseudo-random sequence, so every run plays
// the same match; the world is checked with the soak test's rules after every
// tick (every cell every 500 ticks), and a broken rule stops the run with
// exit status 1. Resident memory is printed with no match and in a match on
// a 200 x 200 map.
//
//   bench-soak              every sample map and the generated maps
//   bench-soak MAPA [TICKS] one map file
#include "apoyo/invariantes.h"
#include "apoyo/medidas.h"
#include "apoyo/planos.h"
#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Juego/nucleo/busqueda.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/partida.h"

#include <QDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace juego;

using medidas::residente;

constexpr int16_t maxp = 8;

// One match, tick after tick; the input of tick t is the same in every run.
class unapartida {
public:
    explicit unapartida(const comun::plano& p) {
        plat.ponersonido(0);
        sucesos s;
        juego.empezar(p, maxp, guerrero, s);
    }

    // Plays tick t (counted from 1) and returns its CPU time in ms.
    double tick(long t) {
        if (t % 5 == 0) {
            for (int16_t k : flechas)
                plat.teclas.soltar(k);
            if (azar() % 4 != 0)
                plat.teclas.apretar(flechas[azar() % 4]);
            if (azar() % 3 == 0)
                plat.teclas.apretar(flechas[azar() % 4]);
        }
        if (azar() % 7 == 0)
            juego.tecla(32);
        if (azar() % 7 == 0)
            juego.clic(int(azar() % 800), int(azar() % 600));
        const double antes = medidas::cpums();
        juego.tick(plat.teclas);
        return medidas::cpums() - antes;
    }

    bool revisar(long t) const {
        QString e = invariantes::revisar(m);
        if (e.isEmpty() && t % 500 == 0)
            e = invariantes::revisarrejilla(m);
        if (!e.isEmpty())
            std::fprintf(stderr, "bench-soak: en el tick %ld, %s\n", t, qPrintable(e));
        return e.isEmpty();
    }

    grabadora plat;
    partida juego{plat};
    const mundo& m = juego.juego();

private:
    std::mt19937 azar{1234};
    const int16_t flechas[4] = {37, 38, 39, 40};
};

// Plays `ticks` ticks on `p` and prints one line; false if a rule broke.
bool fila(const std::string& nombre, const comun::plano& p, long ticks) {
    std::vector<double> t;
    t.reserve(std::size_t(ticks));
    long peortick = 1;
    {
        auto a = std::make_unique<unapartida>(p);
        if (!a->revisar(0))
            return false;
        for (long k = 1; k <= ticks; ++k) {
            t.push_back(a->tick(k));
            if (t.back() > t[std::size_t(peortick - 1)])
                peortick = k;
            if (!a->revisar(k))
                return false;
        }
    }
    const double peor = t[std::size_t(peortick - 1)];
    // The same match again up to the slowest tick, which is timed anew.
    double otravez = 0;
    {
        auto a = std::make_unique<unapartida>(p);
        for (long k = 1; k <= peortick; ++k) {
            const double ms = a->tick(k);
            if (k == peortick)
                otravez = ms;
        }
    }
    std::vector<double> orden = t;
    std::sort(orden.begin(), orden.end());
    std::printf("  %-22s %6ld %9.3f %9.3f %9.3f %9.3f %7ld %9.3f\n", nombre.c_str(), ticks,
                medidas::percentil(orden, 0.5), medidas::percentil(orden, 0.99),
                medidas::percentil(orden, 0.999), peor, peortick, otravez);
    std::fflush(stdout);
    return true;
}

void encabezado() {
    std::printf("  %-22s %6s %9s %9s %9s %9s %7s %9s\n", "mapa (8 contra 8)", "ticks", "mediana",
                "p99", "p99.9", "maximo", "en tick", "repetido");
    std::printf("  (milisegundos de CPU por tick, del hilo que juega la partida)\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--help") {
        std::printf("uso: bench-soak              los mapas de ejemplo y los generados\n"
                    "     bench-soak MAPA [TICKS]  un archivo de mapa (100000 ticks si no se "
                    "dice)\n");
        return 0;
    }
    std::printf("bench-soak: partidas enteras, tiempo de CPU del hilo por tick\n");
    if (argc > 1) {
        const long ticks = argc > 2 ? std::atol(argv[2]) : 100000;
        comun::lectura l = comun::leerarchivo(argv[1]);
        std::string e = l ? mundo::errorpartida(*l.mapa) : l.error;
        if (!e.empty() || ticks < 1) {
            std::fprintf(stderr, "bench-soak: %s\n",
                         e.empty() ? "TICKS debe ser positivo" : e.c_str());
            return 2;
        }
        encabezado();
        return fila(argv[1], *l.mapa, ticks) ? 0 : 1;
    }

    // Memory first, before any map has been played.
    const double vacio = residente();
    double menu = 0, enpartida = 0;
    {
        grabadora plat;
        auto p = std::make_unique<partida>(plat);
        menu = residente();
        sucesos s;
        p->empezar(planos::abierto(200), maxp, guerrero, s);
        for (int k = 0; k < 200; ++k)
            p->tick(entradatick{});
        enpartida = residente();
    }
    std::printf("  memoria residente: %.1f MiB al arrancar, %.1f MiB con el mundo creado y sin "
                "partida (como en el menu), %.1f MiB en una partida de 200 x 200\n",
                vacio, menu, enpartida);

    encabezado();
    const QDir mapas(MAPAS_DIR);
    for (const QString& f : mapas.entryList({"*.mapa"}, QDir::Files, QDir::Name)) {
        comun::lectura l = comun::leerarchivo(mapas.filePath(f).toStdString());
        if (!l) {
            std::fprintf(stderr, "bench-soak: %s\n", l.error.c_str());
            return 2;
        }
        if (!fila(f.toStdString(), *l.mapa, 20000))
            return 1;
    }
    struct generado {
        const char* nombre;
        comun::plano p;
        long ticks;
    };
    const generado generados[] = {
        {"abierto 200x200", planos::abierto(200), 5000},
        {"abierto 400x400", planos::abierto(400), 3000},
        {"abierto 1000x1000", planos::abierto(1000), 2000},
        {"laberinto 200x200", planos::laberinto(200, 5), 5000},
        {"salas, puerta tomada", planos::salas(200), 5000},
    };
    for (const generado& g : generados)
        if (!fila(g.nombre, g.p, g.ticks))
            return 1;
    return 0;
}
