// Resident memory of the game as a player first sees it (its window and the
// set-up window, no match yet) beside an empty Qt window of the same build
// and the same platform plugin (offscreen, unless QT_QPA_PLATFORM names
// another, say xcb under a display). Each runs in a process of its own, with
// settings and user folders of their own, and is read from /proc once its
// size has held still for a second.
//
//   bench-memoria             both, and the difference
//   bench-memoria --vacia     (the empty window; started by the above)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

#include <cstdio>

namespace {

// VmRSS of a process in MiB, or a negative number once it is gone.
double residente(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linea : f.readAll().split('\n'))
        if (linea.startsWith("VmRSS:"))
            return linea.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Starts `programa`, waits until its resident size has stayed within 0.1 MiB
// for a second (at most 20 s), and returns that size; negative if it died.
double medir(const QString& programa, const QStringList& argumentos, const QString& carpeta) {
    QProcess p;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    if (!entorno.contains(QStringLiteral("QT_QPA_PLATFORM")))
        entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    entorno.insert(QStringLiteral("XDG_CONFIG_HOME"), carpeta + QStringLiteral("/config"));
    entorno.insert(QStringLiteral("XDG_DATA_HOME"), carpeta + QStringLiteral("/datos"));
    p.setProcessEnvironment(entorno);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(programa, argumentos);
    if (!p.waitForStarted(5000))
        return -1;
    double ultimo = -1;
    QElapsedTimer quieto, total;
    quieto.start();
    total.start();
    while (total.elapsed() < 20000) {
        QThread::msleep(100);
        const double ahora = residente(p.processId());
        if (ahora < 0)
            return -1;
        if (ultimo < 0 || ahora > ultimo + 0.1 || ahora < ultimo - 0.1) {
            ultimo = ahora;
            quieto.restart();
        } else if (quieto.elapsed() >= 1000) {
            break;
        }
    }
    p.kill();
    p.waitForFinished(5000);
    return ultimo;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--vacia") {
        QApplication app(argc, argv);
        QWidget w;
        w.resize(800, 600);
        w.show();
        return app.exec();
    }
    QTemporaryDir carpeta;
    if (!carpeta.isValid()) {
        std::fprintf(stderr, "bench-memoria: no se pudo crear una carpeta temporal\n");
        return 2;
    }
    const double vacia = medir(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--vacia")},
                               carpeta.path() + QStringLiteral("/vacia"));
    const double juego =
        medir(QStringLiteral(JUEGO), {}, carpeta.path() + QStringLiteral("/juego"));
    if (vacia < 0 || juego < 0) {
        std::fprintf(stderr, "bench-memoria: un programa no arranco o se cerro\n");
        return 1;
    }
    std::printf("bench-memoria: memoria residente (plataforma %s)\n",
                qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen"))));
    std::printf("  ventana vacia de Qt           %7.1f MiB\n", vacia);
    std::printf("  juego en el menu              %7.1f MiB\n", juego);
    std::printf("  diferencia                    %7.1f MiB (objetivo: 10 MiB o menos)\n",
                juego - vacia);
    return 0;
}
