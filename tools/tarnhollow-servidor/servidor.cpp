// tarnhollow-servidor: hosts a network match with no window. The computer
// plays every fighter until people join from the game's "Multijugador"
// window; joins, leaves and problems go to standard output.
#include "Comun/fallos.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/partida.h"
#include "Juego/red/anfitrion.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

int tuberia[2] = {-1, -1};

// Ctrl+C and SIGTERM only wake the event loop; the stop itself runs there.
void alsenal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(tuberia[1], &c, 1);
}

void uso(std::FILE* f) {
    std::fputs(
        "Uso: tarnhollow-servidor --mapa RUTA --guerreros N [--puerto P] [--direccion DIR]\n"
        "                           [--objetivo muertes:N|tiempo:S]\n"
        "  --mapa RUTA     el mapa (.mapa) de la partida\n"
        "  --guerreros N   luchadores por equipo, del 1 al 8\n"
        "  --puerto P      puerto TCP donde esperar a los jugadores (47650 si no se da)\n"
        "  --direccion DIR la dirección local donde escuchar (todas si no se da)\n"
        "  --objetivo muertes:N|tiempo:S\n"
        "                  termina la partida cuando un equipo llega a N muertes, o a\n"
        "                  los S segundos; 15 segundos después empieza la siguiente\n"
        "                  en el mismo mapa, con los jugadores dentro\n"
        "  --help          muestra esta ayuda\n",
        f);
}

void registrar(const QString& linea) {
    const QString hora =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    std::printf("[%s] %s\n", qPrintable(hora), linea.toUtf8().constData());
    std::fflush(stdout);
}

bool numero(const std::string& s, long minimo, long maximo, long& v) {
    try {
        std::size_t fin = 0;
        v = std::stol(s, &fin);
        return fin == s.size() && v >= minimo && v <= maximo;
    } catch (...) {
        return false;
    }
}

// "muertes:N" or "tiempo:S", each from 1 to 32767.
bool leerobjetivo(const std::string& v, juego::objetivo& o) {
    const std::size_t dos = v.find(':');
    long n = 0;
    if (dos == std::string::npos || !numero(v.substr(dos + 1), 1, 32767, n))
        return false;
    const std::string tipo = v.substr(0, dos);
    if (tipo == "muertes")
        o.tipo = juego::tipoobjetivo::muertes;
    else if (tipo == "tiempo")
        o.tipo = juego::tipoobjetivo::tiempo;
    else
        return false;
    o.valor = int16_t(n);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // A server's output is its log: a fault's report goes there.
    comun::informarfallos("tarnhollow-servidor");
    std::string mapa;
    long guerreros = 0;
    long puerto = juego::red::puertopordefecto;
    QHostAddress direccion = QHostAddress::Any;
    juego::objetivo meta;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            uso(stdout);
            return 0;
        }
        if (i + 1 >= argc || (a != "--mapa" && a != "--guerreros" && a != "--puerto" &&
                              a != "--direccion" && a != "--objetivo")) {
            std::fprintf(stderr, "tarnhollow-servidor: opción no válida: %s\n", a.c_str());
            uso(stderr);
            return 2;
        }
        const std::string v = argv[++i];
        if (a == "--mapa") {
            mapa = v;
        } else if (a == "--direccion" && !direccion.setAddress(QString::fromStdString(v))) {
            std::fprintf(stderr, "tarnhollow-servidor: --direccion no es una dirección IP: %s\n",
                         v.c_str());
            return 2;
        } else if (a == "--guerreros" && !numero(v, 1, 8, guerreros)) {
            std::fprintf(stderr, "tarnhollow-servidor: --guerreros va del 1 al 8, no %s\n",
                         v.c_str());
            return 2;
        } else if (a == "--objetivo" && !leerobjetivo(v, meta)) {
            std::fprintf(stderr,
                         "tarnhollow-servidor: --objetivo es muertes:N o tiempo:S (de 1 a "
                         "32767), no %s\n",
                         v.c_str());
            return 2;
        } else if (a == "--puerto" && !numero(v, 1, 65535, puerto)) {
            std::fprintf(stderr, "tarnhollow-servidor: --puerto va del 1 al 65535, no %s\n",
                         v.c_str());
            return 2;
        }
    }
    if (mapa.empty() || guerreros == 0) {
        std::fputs("tarnhollow-servidor: faltan --mapa y --guerreros\n", stderr);
        uso(stderr);
        return 2;
    }

    juego::grabadora plat;
    juego::partida partida(plat);
    juego::sucesos s;
    if (std::string e = partida.cargar(mapa, int16_t(guerreros), juego::guerrero, s, meta);
        !e.empty()) {
        // The game's messages may put the file on a line of its own; a log
        // line keeps it beside the reason.
        std::replace(e.begin(), e.end(), '\n', ' ');
        std::fprintf(stderr, "tarnhollow-servidor: %s\n", e.c_str());
        return 1;
    }
    partida.hacerred();

    juego::red::anfitrion anfitrion(partida);
    anfitrion.registrar = registrar;
    if (meta.tipo != juego::tipoobjetivo::ninguno) {
        // The same map again, read anew: a map changed on disk meanwhile is
        // checked like the first time, and a bad one ends the series.
        anfitrion.siguientepartida = [&] {
            juego::sucesos t;
            std::string e = partida.cargar(mapa, int16_t(guerreros), juego::guerrero, t, meta);
            if (!e.empty()) {
                std::replace(e.begin(), e.end(), '\n', ' ');
                registrar(
                    QStringLiteral("No empieza otra partida: %1").arg(QString::fromStdString(e)));
                return false;
            }
            partida.hacerred();
            return true;
        };
    }
    if (const QString e = anfitrion.escuchar(direccion, quint16(puerto)); !e.isEmpty()) {
        std::fprintf(stderr, "tarnhollow-servidor: %s\n", e.toUtf8().constData());
        return 1;
    }

    if (::pipe(tuberia) != 0) {
        std::perror("tarnhollow-servidor");
        return 1;
    }
    struct sigaction sa {};
    sa.sa_handler = alsenal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    QSocketNotifier aviso(tuberia[0], QSocketNotifier::Read);
    QObject::connect(&aviso, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    registrar(QStringLiteral("Servidor en marcha: %1, %2 luchadores por equipo, puerto %3.")
                  .arg(QString::fromStdString(mapa))
                  .arg(guerreros)
                  .arg(anfitrion.puerto()));
    anfitrion.arrancar();
    app.exec();

    anfitrion.detener(QStringLiteral("El servidor se detuvo."));
    // A moment for the goodbyes to leave.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    registrar(QStringLiteral("Servidor detenido."));
    return 0;
}
