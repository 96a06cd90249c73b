#include "Comun/fallos.h"
#include "Juego/qt/idioma.h"
#include "Juego/qt/lineaordenes.h"
#include "Juego/qt/multijugador.h"
#include "Juego/qt/ventana.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// What the command line asked for, once the window is up. A file that
// went bad since it was checked gets the window's usual message, and the
// window stays as it opened.
void abrir(juego::main& v, const juego::arranque& a) {
    switch (a.hacer) {
    case juego::arranque::que::partida: {
        const juego::partidapedida p = juego::completar(a, v.recordado());
        v.cargarmapa(a.ruta, p.guerreros, p.tipo, p.meta, p.regla);
        break;
    }
    case juego::arranque::que::repeticion:
        v.verrepeticion(a.ruta);
        break;
    case juego::arranque::que::unirse: {
        v.mnuMulti_Click();
        juego::multijugador* m = v.menured();
        m->direccion->setText(a.host);
        m->puertounirse->setValue(a.puerto);
        // Enter in the address connects; the player still picks a name.
        m->direccion->setFocus();
        break;
    }
    default:
        break;
    }
}

// SIGTERM and SIGINT (a logout, Ctrl+C in a terminal) close the window
// from the event loop, as the player closing it would: the running match is
// archived first. The handler only writes a byte; the loop reads it.
int tuberia[2] = {-1, -1};

void alsenal(int) {
    const char b = 1;
    [[maybe_unused]] const ssize_t n = ::write(tuberia[1], &b, 1);
}

void cerrarconsenales(juego::main& v) {
    if (::pipe2(tuberia, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* aviso = new QSocketNotifier(tuberia[0], QSocketNotifier::Read, &v);
    QObject::connect(aviso, &QSocketNotifier::activated, &v, [&v] {
        char b[16];
        while (::read(tuberia[0], b, sizeof b) > 0) {
        }
        v.close();
    });
    struct sigaction sa {};
    sa.sa_handler = alsenal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
}

} // namespace

int main(int argc, char* argv[]) {
    // The command line is read before QApplication, which wants a display:
    // a bad option is told and refused also where there is none.
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    const juego::lecturaarranque l = juego::leerarranque(argumentos);
    const QString programa = QStringLiteral("tarnhollow");
    if (!l) {
        std::fprintf(stderr, "%s: %s\nPrueba «%s --help» para más información.\n",
                     qPrintable(programa), l.error.toLocal8Bit().constData(),
                     qPrintable(programa));
        return 2;
    }
    const juego::arranque& pedido = *l.pedido;
    if (pedido.hacer == juego::arranque::que::ayuda ||
        pedido.hacer == juego::arranque::que::version) {
        std::fputs(pedido.texto.toLocal8Bit().constData(), stdout);
        return 0;
    }

    juego::fechasenespanol();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnhollow"));
    // A fault's report is kept in the user's data folder, beside the replays.
    comun::informarfallos(
        "Tarnhollow",
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .toStdString(),
        "fallo-juego.txt");
    juego::ponerespanol(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/imagenes/tarnhollow.png")));
    juego::main ventana;
    cerrarconsenales(ventana);
    ventana.show();
    // From the event loop, so that the window is on screen behind any
    // message the loading gives.
    QTimer::singleShot(0, &ventana, [&ventana, &pedido] { abrir(ventana, pedido); });
    return app.exec();
}
