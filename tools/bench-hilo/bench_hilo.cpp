// The game window while an 8 against 8 match plays on large generated maps,
// as the player sees it (the real window, offscreen): how long the window's
// own thread is ever kept from its events, and what the ticks cost the
// simulation's thread.
//
// A 1 ms timer on the window's thread notes, between two of its calls, the
// CPU time that thread spent (drawing a frame, the overlays, the events) and
// the wall time that went by. The longest CPU span is the window's longest
// stall; wall time also counts the machine's other work, so it is printed
// beside it. The simulation's thread reports the CPU time of each tick and
// its frame. The first second of each match, when it is laid out, is not
// timed.
//
//   bench-hilo [SEGUNDOS]   seconds of play on each map (12 if not said)
#include "apoyo/medidas.h"
#include "apoyo/planos.h"
#include "Comun/mapaarchivo.h"
#include "Juego/qt/simulacion.h"
#include "Juego/qt/ventana.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct fila {
    const char* nombre;
    comun::plano p;
};

// Plays `segundos` of a match on `p` in a fresh window and prints one line.
bool medir(const fila& f, int segundos, const QString& carpeta) {
    const QString ruta = carpeta + QStringLiteral("/mapa.mapa");
    {
        QFile archivo(ruta);
        const std::string datos = comun::escribirmapa(f.p);
        if (!archivo.open(QIODevice::WriteOnly) ||
            archivo.write(datos.data(), qint64(datos.size())) != qint64(datos.size())) {
            std::fprintf(stderr, "bench-hilo: no se pudo escribir %s\n", qPrintable(ruta));
            return false;
        }
    }
    juego::main v;
    v.avisar = [](const QString&, const QString& t) {
        std::fprintf(stderr, "bench-hilo: %s\n", qPrintable(t));
    };
    // Silent: the sound module is not beside a benchmark.
    v.ponersonido(0);
    v.show();
    if (!v.cargarmapa(ruta, 8, juego::guerrero))
        return false;

    std::vector<double> cpu, pared;
    QElapsedTimer reloj;
    double antes = medidas::cpums();
    reloj.start();
    qint64 ultimo = reloj.nsecsElapsed();
    QTimer pulso;
    pulso.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pulso, &QTimer::timeout, [&] {
        const double ahora = medidas::cpums();
        const qint64 n = reloj.nsecsElapsed();
        cpu.push_back(ahora - antes);
        pared.push_back(double(n - ultimo) / 1e6);
        antes = ahora;
        ultimo = n;
    });
    // The first second (the match laid out, the first frames) is not timed:
    // starting a match is a wait the player asked for.
    QTimer::singleShot(1000, &pulso, [&] {
        antes = medidas::cpums();
        ultimo = reloj.nsecsElapsed();
        pulso.start(1);
    });
    QTimer::singleShot((segundos + 1) * 1000, qApp, [&pulso] {
        pulso.stop();
        QCoreApplication::quit();
    });
    QApplication::exec();
    pulso.stop();

    const juego::simulacion::tiempos t = v.simulacionactual().medidos();
    std::sort(cpu.begin(), cpu.end());
    std::sort(pared.begin(), pared.end());
    std::printf("  %-20s %6llu %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f\n", f.nombre,
                static_cast<unsigned long long>(t.ticks), medidas::percentil(cpu, 0.99),
                cpu.empty() ? 0.0 : cpu.back(), medidas::percentil(pared, 0.99),
                pared.empty() ? 0.0 : pared.back(), t.ticks == 0 ? 0.0 : t.total / double(t.ticks),
                t.peor);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnhollow-bench"));
    const int segundos = argc > 1 ? std::max(1, std::atoi(argv[1])) : 12;
    QTemporaryDir carpeta;
    if (!carpeta.isValid())
        return 2;
    std::printf("bench-hilo: la ventana mientras juega el hilo de la partida, 8 contra 8, %d s "
                "por mapa\n",
                segundos);
    std::printf("  %-20s %6s %9s %9s %9s %9s %9s %9s\n", "mapa", "ticks", "vent p99", "vent max",
                "pared p99", "pared max", "tick med", "tick max");
    std::printf("  (ms: vent, CPU del hilo de la ventana entre dos pulsos de 1 ms; pared, tiempo "
                "real entre ellos;\n   tick, CPU del hilo de la partida por tick y su cuadro)\n");
    const fila filas[] = {
        {"abierto 500x500", planos::abierto(500)},
        {"abierto 1000x1000", planos::abierto(1000)},
        {"salas 400x400", planos::salas(400)},
    };
    for (const fila& f : filas)
        if (!medir(f, segundos, carpeta.path()))
            return 1;
    return 0;
}
