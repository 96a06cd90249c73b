// Network play measured on the loopback address, host and clients in one
// process: an 8 v 8 match on the 200 x 200 sample map with all 16 fighters
// played by clients that walk, strike and shoot at random.
//  - bytes per tick each client receives (the step message, framing included);
//  - the host's CPU time per step with 16 clients connected (apply, tick,
//    send), in this thread;
//  - how long a newcomer needs from connecting to its first drawn frame in a
//    match that has already run for an hour (28,800 ticks).
//
//   bench-red [TICKS_PREVIOS [PASOS]]
#include "apoyo/bombear.h"
#include "apoyo/medidas.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/partida.h"
#include "Juego/qt/lienzo.h"
#include "Juego/red/anfitrion.h"
#include "Juego/red/cliente.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

using namespace juego;

using prueba::bombear;

// A loaded machine may be slow to let sixteen clients in.
constexpr int espera = 20000;

namespace {

struct copia {
    grabadora plat;
    partida p{plat};
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const long previos = argc > 1 ? std::atol(argv[1]) : 28800;
    const long pasos = argc > 2 ? std::atol(argv[2]) : 800;
    constexpr int16_t maxp = 8;

    copia anfitriona;
    sucesos s;
    if (const std::string e = anfitriona.p.cargar(MAPAS_DIR "/bosque.mapa", maxp, guerrero, s);
        !e.empty()) {
        std::fprintf(stderr, "bench-red: %s\n", e.c_str());
        return 2;
    }
    anfitriona.p.hacerred();
    red::anfitrion a(anfitriona.p);
    if (!a.escuchar(QHostAddress::LocalHost, 0).isEmpty()) {
        std::fprintf(stderr, "bench-red: no se puede escuchar en 127.0.0.1\n");
        return 2;
    }

    // An hour of the computer's match first.
    for (long k = 0; k < previos; ++k)
        a.paso();

    // The newcomer: from connecting to its first frame.
    lienzo dibujo;
    QImage imagen = lienzo::nuevaimagen();
    std::vector<std::unique_ptr<copia>> copias;
    std::vector<std::unique_ptr<red::cliente>> clientes;
    double entrada = 0;
    for (int i = 0; i < 2 * maxp; ++i) {
        copias.push_back(std::make_unique<copia>());
        clientes.push_back(std::make_unique<red::cliente>(copias.back()->p));
        red::cliente& c = *clientes.back();
        QElapsedTimer t;
        t.start();
        bool dibujado = false;
        QObject::connect(&c, &red::cliente::unido, [&, i] {
            const partida& p = copias[std::size_t(i)]->p;
            dibujo.dibujar(p.juego(), p.vista(), imagen);
            dibujado = true;
        });
        c.conectar(QStringLiteral("127.0.0.1"), a.puerto(), QStringLiteral("J%1").arg(i),
                   int16_t(i % 2), int16_t(i / maxp));
        if (!bombear([&] { return dibujado || c.estado() == red::cliente::fase::fuera; },
                     espera)) {
            std::fprintf(stderr, "bench-red: el cliente %d no entró\n", i);
            return 1;
        }
        if (i == 0)
            entrada = double(t.nsecsElapsed()) / 1e6;
    }

    std::mt19937 r(2026);
    std::vector<double> tiempos, bytes;
    for (long k = 0; k < pasos; ++k) {
        for (auto& c : clientes) {
            if (r() % 4 == 0)
                c->teclaflecha(int16_t(37 + r() % 4), r() % 2 == 0);
            if (r() % 10 == 0)
                c->espacio();
            if (r() % 10 == 0)
                c->clic(int(r() % 800), int(r() % 600));
        }
        // The clients' input reaches the host before its step, as between
        // two real steps 125 ms apart.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double antes = medidas::cpums();
        a.paso();
        tiempos.push_back(1000 * (medidas::cpums() - antes));
        bytes.push_back(double(a.bytesultimopaso()));
        if (!bombear(
                [&] {
                    for (auto& c : clientes)
                        if (c->secuencia() != a.secuencia())
                            return false;
                    return true;
                },
                espera)) {
            std::fprintf(stderr, "bench-red: un cliente se quedó atrás\n");
            return 1;
        }
    }
    std::printf("bench-red: 8 v 8, 16 clientes, %ld pasos tras %ld ticks\n", pasos, previos);
    std::printf("  bytes por tick a cada cliente: mediana %.0f, máximo %.0f\n",
                medidas::mediana(bytes), *std::max_element(bytes.begin(), bytes.end()));
    std::printf("  tiempo de CPU del anfitrión por paso: mediana %.1f us, máximo %.1f us\n",
                medidas::mediana(tiempos), *std::max_element(tiempos.begin(), tiempos.end()));
    std::printf("  de Conectar al primer cuadro tras %ld ticks: %.1f ms\n", previos, entrada);
    return 0;
}
