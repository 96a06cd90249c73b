// A long headless match: 16 fighters on the 200 x 200 sample map for
// 100,000 ticks, the player's keys, strokes and shots driven by a fixed
// pseudo-random sequence as in the soak test. Prints ticks per second, the
// worst tick and peak memory. The world is checked with the soak test's own
// rules after every tick (every cell every 500 ticks); a broken rule stops
// the run with exit status 1.
//
//   bench-soak [MAPA [TICKS]]
#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/partida.h"
#include "apoyo/invariantes.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using namespace juego;

long memoriapico() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss; // kilobytes on Linux
}

} // namespace

int main(int argc, char** argv) {
    const std::string ruta = argc > 1 ? argv[1] : MAPAS_DIR "/bosque.mapa";
    const long ticks = argc > 2 ? std::atol(argv[2]) : 100000;
    constexpr int16_t maxp = 8; // per team: 16 fighters in all

    comun::lectura l = comun::leerarchivo(ruta);
    if (!l) {
        std::fprintf(stderr, "bench-soak: %s\n", l.error.c_str());
        return 2;
    }
    grabadora plat;
    long sonidos = 0;
    partida juego(plat);
    mundo& m = juego.juego();
    sucesos s;
    if (std::string e = juego.empezar(*l.mapa, maxp, guerrero, s); !e.empty()) {
        std::fprintf(stderr, "bench-soak: %s\n", e.c_str());
        return 2;
    }
    if (QString e = invariantes::revisar(m); !e.isEmpty()) {
        std::fprintf(stderr, "bench-soak: al empezar, %s\n", qPrintable(e));
        return 1;
    }

    std::mt19937 azar(1234);
    const int16_t flechas[4] = {37, 38, 39, 40};
    using reloj = std::chrono::steady_clock;
    std::chrono::nanoseconds total{0}, peor{0};
    long peortick = 0;
    for (long t = 1; t <= ticks; ++t) {
        // Every few ticks the player changes keys, strikes or shoots.
        if (t % 5 == 0) {
            for (int16_t k : flechas)
                plat.teclas.soltar(k);
            if (azar() % 4 != 0)
                plat.teclas.apretar(flechas[azar() % 4]);
            if (azar() % 3 == 0)
                plat.teclas.apretar(flechas[azar() % 4]);
        }
        if (azar() % 7 == 0)
            plat.recibir(juego.tecla(32));
        if (azar() % 7 == 0)
            plat.recibir(juego.clic(int(azar() % 800), int(azar() % 600)));

        const reloj::time_point antes = reloj::now();
        const sucesos hecho = juego.tick(plat.teclas);
        const std::chrono::nanoseconds paso = reloj::now() - antes;
        plat.recibir(hecho);
        // Counted and dropped as they come, so the list never grows.
        sonidos += long(plat.pedidos.size());
        plat.pedidos.clear();
        total += paso;
        if (paso > peor) {
            peor = paso;
            peortick = t;
        }

        QString e = invariantes::revisar(m);
        if (e.isEmpty() && t % 500 == 0)
            e = invariantes::revisarrejilla(m);
        if (!e.isEmpty()) {
            std::fprintf(stderr, "bench-soak: en el tick %ld, %s\n", t, qPrintable(e));
            return 1;
        }
    }

    long muertes = 0;
    for (int i = 0; i < 2 * maxp; ++i)
        muertes += m.unidades[std::size_t(i)].muertes;
    const double segundos = std::chrono::duration<double>(total).count();
    std::printf("bench-soak: %ld ticks, %d luchadores, %s\n", ticks, 2 * maxp, ruta.c_str());
    std::printf("  ticks por segundo  %.0f\n", segundos > 0 ? double(ticks) / segundos : 0.0);
    std::printf("  peor tick          %.3f ms (tick %ld)\n", peor.count() / 1e6, peortick);
    std::printf("  memoria pico       %.1f MiB\n", double(memoriapico()) / 1024.0);
    std::printf("  muertes            %ld, sonidos pedidos %ld\n", muertes, sonidos);
    return 0;
}
