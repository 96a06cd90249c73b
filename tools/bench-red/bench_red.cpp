// Network play measured on the loopback address, host and clients in one
// process: an 8 v 8 match on the 200 x 200 sample map with 15 fighters
// played by clients that walk, strike and shoot at random.
//  - bytes per tick each client receives (the step message, framing included);
//  - the host's CPU time per step with 15 clients connected (apply, tick,
//    send), in this thread, and the process's memory;
//  - the same with 14 hostile peers more that never read and report a wrong
//    hash every time, asking for the match again and again: the memory must
//    stay flat;
//  - how long a newcomer needs from connecting to its first drawn frame in a
//    match that has already run for an hour (28,800 ticks).
//
//   bench-red [TICKS_PREVIOS [PASOS]]     (2400 steps: five minutes of play)
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
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace juego;

using prueba::bombear;

// A loaded machine may be slow to let sixteen clients in.
constexpr int espera = 20000;

namespace {

struct copia {
    grabadora plat;
    partida p{plat};
};

using medidas::residente;

// A peer that says hello and never reads a byte, with the smallest window
// the kernel allows.
int nolee(quint16 puerto, int i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int poco = 1024;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &poco, sizeof poco);
    sockaddr_in dir{};
    dir.sin_family = AF_INET;
    dir.sin_port = htons(puerto);
    dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&dir), sizeof dir) != 0) {
        ::close(fd);
        return -1;
    }
    const auto b =
        red::codificar(red::hola{red::versionprotocolo, TARNHOLLOW_VERSION,
                                 "Hostil" + std::to_string(i), guerrero, int16_t(i % 2)});
    if (::write(fd, b.data(), b.size()) != ssize_t(b.size())) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const long previos = argc > 1 ? std::atol(argv[1]) : 28800;
    const long pasos = argc > 2 ? std::atol(argv[2]) : 400;
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
    // Every peer here comes from one address.
    a.entradasseguidas = 64;
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
    for (int i = 0; i < 2 * maxp - 1; ++i) {
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
    // One run of `pasos` steps; with `hostiles`, a wrong hash from each of
    // them after every hash tick.
    auto medir = [&](const std::vector<int>& hostiles, std::vector<double>& tiempos,
                     std::vector<double>& bytes, std::vector<double>& memoria) {
        for (long k = 0; k < pasos; ++k) {
            for (auto& c : clientes) {
                if (r() % 4 == 0)
                    c->teclaflecha(int16_t(37 + r() % 4), r() % 2 == 0);
                if (r() % 10 == 0)
                    c->espacio();
                if (r() % 10 == 0)
                    c->clic(int(r() % 800), int(r() % 600));
            }
            const uint32_t t = anfitriona.p.juego().numtick;
            if (t % red::anfitrion::cadahuella == 0)
                for (const int fd : hostiles) {
                    const auto b = red::codificar(red::huella{t, 1});
                    [[maybe_unused]] const ssize_t n = ::write(fd, b.data(), b.size());
                }
            // The clients' input reaches the host before its step, as between
            // two real steps 125 ms apart.
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            const double antes = medidas::cpums();
            a.paso();
            tiempos.push_back(1000 * (medidas::cpums() - antes));
            bytes.push_back(double(a.bytesultimopaso()));
            if (k % 80 == 0)
                memoria.push_back(residente());
            if (!bombear(
                    [&] {
                        for (auto& c : clientes)
                            if (c->secuencia() != a.secuencia())
                                return false;
                        return true;
                    },
                    espera)) {
                std::fprintf(stderr, "bench-red: un cliente se quedó atrás\n");
                return false;
            }
        }
        return true;
    };
    std::vector<double> tiempos, bytes, memoria;
    if (!medir({}, tiempos, bytes, memoria))
        return 1;
    // Fourteen players make room for the hostile peers; one stays to play.
    for (std::size_t i = 0; i + 1 < clientes.size(); ++i)
        clientes[i]->salir();
    clientes.erase(clientes.begin(), clientes.end() - 1);
    a.paso();
    std::vector<int> hostiles;
    for (int i = 0; i < 14; ++i)
        if (const int fd = nolee(a.puerto(), i); fd >= 0) {
            hostiles.push_back(fd);
            // One at a time: an address keeps few lines that have not said
            // hello yet.
            bombear([&] { return a.clientes() == int(1 + hostiles.size()); }, 200);
        }
    std::vector<double> tiemposh, bytesh, memoriah;
    if (!medir(hostiles, tiemposh, bytesh, memoriah))
        return 1;
    for (const int fd : hostiles)
        ::close(fd);
    std::printf("bench-red: 8 v 8, 15 clientes, %ld pasos tras %ld ticks\n", pasos, previos);
    std::printf("  bytes por tick a cada cliente: mediana %.0f, máximo %.0f\n",
                medidas::mediana(bytes), *std::max_element(bytes.begin(), bytes.end()));
    std::printf("  tiempo de CPU del anfitrión por paso: mediana %.1f us, máximo %.1f us\n",
                medidas::mediana(tiempos), *std::max_element(tiempos.begin(), tiempos.end()));
    std::printf("  memoria: %.1f MiB al empezar, %.1f MiB al final\n", memoria.front(),
                memoria.back());
    std::printf("con un jugador y %d pares hostiles que no leen y piden la partida en cada "
                "huella:\n",
                a.clientes() - 1);
    std::printf("  tiempo de CPU del anfitrión por paso: mediana %.1f us, máximo %.1f us\n",
                medidas::mediana(tiemposh), *std::max_element(tiemposh.begin(), tiemposh.end()));
    std::printf("  memoria: %.1f MiB al empezar, %.1f MiB a la mitad, %.1f MiB al final\n",
                memoriah.front(), memoriah[memoriah.size() / 2], memoriah.back());
    std::printf("  de Conectar al primer cuadro tras %ld ticks: %.1f ms\n", previos, entrada);
    return 0;
}
