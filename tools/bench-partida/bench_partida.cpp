// bench-partida: what keeping a match as data costs, in thread CPU time.
// - a snapshot of an 8 v 8 match on the 200 x 200 sample map: its size
//   packed and unpacked, and the time to write (and pack) it and to restore
//   (and unpack) it;
// - a replay of that match: its size per minute of play;
// - playback: ticks per second when a replay is played from its start (a
//   one-hour match is 28,800 ticks).
#include "apoyo/medidas.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/instantanea.h"
#include "Juego/nucleo/partida.h"
#include "Juego/nucleo/repeticion.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace juego;

namespace {

struct medida {
    std::vector<double> ms;
    void informe(const char* que) {
        std::sort(ms.begin(), ms.end());
        const auto p = [&](double q) { return medidas::percentil(ms, q); };
        std::printf("  %-34s mediana %8.3f ms   p90 %8.3f ms   max %8.3f ms   (%zu veces)\n", que,
                    p(0.5), p(0.9), ms.back(), ms.size());
    }
};

// Plays `ticks` ticks of an 8 v 8 match with a player who walks, strikes and
// shoots at random, as a person would.
void jugar(partida& p, grabadora& plat, std::mt19937& azar, int ticks) {
    const int16_t flechas[4] = {37, 38, 39, 40};
    for (int t = 0; t < ticks; ++t) {
        if (t % 5 == 0) {
            for (int16_t k : flechas)
                plat.teclas.soltar(k);
            if (azar() % 4 != 0)
                plat.teclas.apretar(flechas[azar() % 4]);
        }
        if (azar() % 7 == 0)
            p.tecla(32);
        if (azar() % 7 == 0)
            p.clic(int(azar() % 800), int(azar() % 600));
        p.tick(plat.teclas);
    }
}

} // namespace

int main() {
    comun::lectura l = comun::leerarchivo(MAPAS_DIR "/bosque.mapa");
    if (!l) {
        std::fprintf(stderr, "bench-partida: %s\n", l.error.c_str());
        return 2;
    }
    grabadora plat;
    partida p(plat);
    sucesos s;
    p.empezar(*l.mapa, 8, arquero, s);
    std::mt19937 azar(99);
    const int minuto = 8 * 60;
    jugar(p, plat, azar, 5 * minuto);

    std::printf("bench-partida: 8 contra 8 en bosque.mapa (200 x 200), tiempo de CPU del hilo\n");
    std::vector<uint8_t> foto;
    medida escribir, restaurar;
    grabadora otra;
    partida destino(otra);
    for (int k = 0; k < 30; ++k) {
        double a = medidas::cpums();
        foto = p.instantanea();
        escribir.ms.push_back((medidas::cpums() - a));
        a = medidas::cpums();
        const std::string e = destino.restaurar(foto, s);
        restaurar.ms.push_back((medidas::cpums() - a));
        if (!e.empty()) {
            std::fprintf(stderr, "bench-partida: %s\n", e.c_str());
            return 1;
        }
    }
    const std::size_t suelta = p.instantanea(true).size();
    std::printf("  instantánea: %zu bytes comprimida, %zu sin comprimir (%.1f %%)\n", foto.size(),
                suelta, 100.0 * double(foto.size()) / double(suelta));
    escribir.informe("escribir la instantánea");
    restaurar.informe("restaurar la instantánea");

    const std::vector<uint8_t> rep = escribirrepeticion(p.grabacion());
    const double minutos = double(p.grabacion().ticks()) / minuto;
    std::printf("  repetición de %.1f minutos: %zu bytes, de ellos %zu de la instantánea "
                "inicial; %.0f bytes por minuto de juego\n",
                minutos, rep.size(), p.grabacion().inicio.size(),
                double(rep.size() - p.grabacion().inicio.size()) / minutos);

    medida reproducir;
    uint64_t ticks = 0;
    for (int k = 0; k < 5; ++k) {
        repeticion r;
        leerrepeticion(rep.data(), rep.size(), r);
        grabadora g;
        partida q(g);
        const double a = medidas::cpums();
        q.reproducir(r, [](const sucesos&) {});
        reproducir.ms.push_back((medidas::cpums() - a));
        ticks = r.ticks();
    }
    reproducir.informe("reproducir desde el principio");
    std::sort(reproducir.ms.begin(), reproducir.ms.end());
    const double porsegundo = double(ticks) / (reproducir.ms[reproducir.ms.size() / 2] / 1e3);
    std::printf(
        "  %.0f ticks por segundo: una partida de una hora (28.800 ticks) se ve en %.1f s\n",
        porsegundo, 28800.0 / porsegundo);
    return 0;
}
