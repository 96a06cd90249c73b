// From an arrow key to the pixels that show the step, with motion between
// ticks off and on, in the real window (offscreen) on open grass.
//
// The field's painter is wrapped: every picture the window paints is kept,
// together with the picture the tick alone draws (what a window without
// motion shows for the same frame). After a key goes down at a random moment
// of the tick, two times are taken: the first picture whose fighter is not
// where it stood (the step shows), and the first whose fighter stands
// wholly on its new cell, exactly as the tick draws it (the step is over).
//
// From the key, both times carry the wait for the next tick, anywhere from 0
// to 125 ms: a difference of a few ms between two modes' medians is within
// the spread of that wait alone. So each press is also timed from the moment
// the frame of the tick that made the step reached the window, which is the
// same for both modes; what motion adds to a key press is the difference of
// those medians.
//
//   bench-tecla [PULSACIONES]   key presses in each mode (60 if not said)
#include "apoyo/medidas.h"
#include "apoyo/planos.h"
#include "Comun/mapaarchivo.h"
#include "Juego/qt/ventana.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct resultado {
    std::vector<double> primero; // ms to the first picture that shows the step
    std::vector<double> llegada; // ms to the first picture with the step over
    // The same two from the moment the step's frame reached the window.
    std::vector<double> primerotick;
    std::vector<double> llegadatick;
    int perdidas = 0; // presses whose step never showed
};

// The corner of the field where the fighter walks: the view stays at the
// map's corner there, so the fighter itself moves on the screen.
const QRect zona(0, 0, 180, 140);

void pulsar(QWidget* w, QEvent::Type tipo, int tecla) {
    QWidget* destino = QApplication::focusWidget() ? QApplication::focusWidget() : w;
    QCoreApplication::postEvent(destino, new QKeyEvent(tipo, tecla, Qt::NoModifier));
}

resultado medir(const QString& ruta, bool suave, int pulsaciones) {
    resultado r;
    juego::main v;
    v.avisar = [](const QString&, const QString& t) {
        std::fprintf(stderr, "bench-tecla: %s\n", qPrintable(t));
    };
    v.ponersonido(0);
    v.mnuSuave->setChecked(suave);
    v.show();
    v.activateWindow();
    if (!v.cargarmapa(ruta, 1, juego::guerrero))
        return r;

    QElapsedTimer reloj;
    reloj.start();
    QImage antes;        // the corner as last painted before the key
    double pulsado = -1; // when the key went down, -1 while none is out
    int16_t xinicial = 0;
    double primero = -1;
    double recibido = -1; // when the frame with the step reached the window
    // After the window's own handler: the frame is the window's by then.
    QObject::connect(&v.simulacionactual(), &juego::simulacion::publicado, &v, [&] {
        const juego::cuadro& m = v.juego();
        if (pulsado >= 0 && recibido < 0 && m.unidades[std::size_t(m.jugador)].x != xinicial)
            recibido = double(reloj.nsecsElapsed()) / 1e6;
    });
    const auto pintar = v.mainpic->pintar;
    v.mainpic->pintar = [&](QPainter& p, const QRect& d) {
        QImage visto(d.size(), QImage::Format_RGB32);
        {
            QPainter q(&visto);
            pintar(q, visto.rect());
        }
        p.drawImage(d.topLeft(), visto);
        const QImage trozo = visto.copy(zona);
        if (pulsado < 0) {
            antes = trozo;
            return;
        }
        const double ahora = double(reloj.nsecsElapsed()) / 1e6;
        if (primero < 0 && trozo != antes)
            primero = ahora;
        const juego::cuadro& m = v.juego();
        if (m.unidades[std::size_t(m.jugador)].x == xinicial)
            return;
        QImage tick(d.size(), QImage::Format_RGB32);
        {
            QPainter q(&tick);
            v.encima().componer(q, tick.rect(), m, v.mainpic->imagen, v.mainpic->vistax,
                                v.mainpic->vistay);
        }
        if (tick.copy(zona) == trozo) {
            if (primero < 0)
                primero = ahora;
            r.primero.push_back(primero - pulsado);
            r.llegada.push_back(ahora - pulsado);
            if (recibido >= 0) {
                r.primerotick.push_back(primero - recibido);
                r.llegadatick.push_back(ahora - recibido);
            }
            pulsado = -1;
        }
    };

    int hechas = 0;
    QTimer siguiente;
    siguiente.setSingleShot(true);
    siguiente.setTimerType(Qt::PreciseTimer);
    QObject::connect(&siguiente, &QTimer::timeout, [&] {
        if (pulsado >= 0) {
            ++r.perdidas; // no step within the wait: the key went unheard
            pulsado = -1;
        }
        if (hechas == pulsaciones) {
            QCoreApplication::quit();
            return;
        }
        // Right and left by turns, so the fighter stays in the corner.
        const int tecla = hechas % 2 == 0 ? Qt::Key_Right : Qt::Key_Left;
        ++hechas;
        const juego::cuadro& m = v.juego();
        xinicial = m.unidades[std::size_t(m.jugador)].x;
        primero = -1;
        recibido = -1;
        pulsado = double(reloj.nsecsElapsed()) / 1e6;
        pulsar(&v, QEvent::KeyPress, tecla);
        QTimer::singleShot(30, &v, [&v, tecla] { pulsar(&v, QEvent::KeyRelease, tecla); });
        // A new press at a random moment of a later tick.
        siguiente.start(400 + int(QRandomGenerator::global()->bounded(125)));
    });
    // The match laid out and its first frames drawn first.
    siguiente.start(1000);
    QApplication::exec();
    return r;
}

void imprimir(const char* nombre, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::printf("  %-34s %6zu %8.1f %8.1f %8.1f %8.1f\n", nombre, v.size(),
                medidas::percentil(v, 0.5), medidas::percentil(v, 0.9),
                medidas::percentil(v, 0.99), v.empty() ? 0.0 : v.back());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnhollow-bench"));
    const int pulsaciones = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    QTemporaryDir carpeta;
    if (!carpeta.isValid())
        return 2;
    const QString ruta = carpeta.path() + QStringLiteral("/mapa.mapa");
    {
        QFile archivo(ruta);
        // Wide enough that the one enemy, starting in the far corner, never
        // reaches the player (and its arrows never stop a step) while the
        // keys are pressed.
        const std::string datos = comun::escribirmapa(planos::abierto(500));
        if (!archivo.open(QIODevice::WriteOnly) ||
            archivo.write(datos.data(), qint64(datos.size())) != qint64(datos.size()))
            return 2;
    }
    std::printf("bench-tecla: de la flecha pulsada al píxel, %d pulsaciones por modo\n",
                pulsaciones);
    std::printf("  %-34s %6s %8s %8s %8s %8s\n", "ms", "n", "mediana", "p90", "p99", "max");
    std::array<resultado, 2> r;
    for (const bool suave : {false, true}) {
        r[suave] = medir(ruta, suave, pulsaciones);
        std::printf(" movimiento suave %s (%d sin paso)\n", suave ? "sí" : "no",
                    r[suave].perdidas);
        imprimir("el paso se ve", r[suave].primero);
        imprimir("el paso ha terminado", r[suave].llegada);
        imprimir("  desde su tick: se ve", r[suave].primerotick);
        imprimir("  desde su tick: ha terminado", r[suave].llegadatick);
        std::fflush(stdout);
    }
    // Without motion the step is over in the picture that shows it.
    const double sin = medidas::mediana(r[0].llegadatick);
    std::printf(" lo que añade el movimiento suave a una pulsación (medianas desde el tick): "
                "se ve %+.1f ms, ha terminado %+.1f ms\n",
                medidas::mediana(r[1].primerotick) - sin,
                medidas::mediana(r[1].llegadatick) - sin);
    return 0;
}
