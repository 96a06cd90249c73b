// The game's command line: what each argument list asks for, why a bad one
// is refused, and that a refusal comes before any window.
#include "apoyo/mundoprueba.h"
#include "Comun/mapaarchivo.h"
#include "Juego/nucleo/repeticion.h"
#include "Juego/qt/ajustes.h"
#include "Juego/qt/lineaordenes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace juego;

namespace {

const QString pradera = QStringLiteral(MAPAS_DIR "/pradera.mapa");

void escribir(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(datos), datos.size());
}

// Stands for the folder of the files the rows name.
QStringList enraiz(const QStringList& args, const QString& raiz) {
    QStringList r{QStringLiteral("tarnhollow")};
    for (QString a : args)
        r << a.replace(QStringLiteral("@"), raiz + QLatin1Char('/'));
    return r;
}

// One line per request, with "-" for what was left out.
QString resumen(const arranque& a) {
    using q = arranque::que;
    const QString n[] = {"menu", "ayuda", "version", "partida", "repeticion", "unirse"};
    QStringList r{n[int(a.hacer)]};
    if (a.hacer == q::partida || a.hacer == q::repeticion)
        r << a.ruta;
    if (a.hacer == q::partida) {
        r << (a.guerreros ? QString::number(*a.guerreros) : "-");
        r << (!a.tipo ? "-" : *a.tipo == guerrero ? "Guerrero" : "Arquero");
        const QString m[] = {"sinfin", "muertes:", "tiempo:"};
        r << (!a.meta ? "-"
                      : m[int(a.meta->tipo)] +
                            (a.meta->valor ? QString::number(a.meta->valor) : QString()));
    }
    if (a.hacer == q::unirse)
        r << a.host << QString::number(a.puerto);
    return r.join(' ');
}

} // namespace

class TestLinea : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString raiz_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        raiz_ = dir_.path();
        // Starts on the grid's edge: read fine, but no match can start there.
        escribir(raiz_ + QStringLiteral("/borde.mapa"),
                 QByteArray::fromStdString(comun::escribirmapa(comun::plano::vacio(20, 20))));
        escribir(raiz_ + QStringLiteral("/rota.repeticion"), "tampoco una repetición");
        prueba::partidaprueba m;
        comun::lectura l = comun::leerarchivo(pradera.toStdString());
        QVERIFY(l);
        m.cargar(*l.mapa, 2, guerrero);
        m.tick(20);
        const std::vector<uint8_t> r = escribirrepeticion(m.p.grabacion());
        escribir(raiz_ + QStringLiteral("/buena.repeticion"),
                 QByteArray(reinterpret_cast<const char*>(r.data()), qsizetype(r.size())));
        QFile::copy(pradera, raiz_ + QStringLiteral("/pradera.mapa"));
    }

    // "@" in an argument or a result is the folder of the test's files.
    void aceptadas_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("pedido");
        auto fila = [](const char* n, const QStringList& a, const char* p) {
            QTest::newRow(n) << a << QString::fromUtf8(p);
        };
        fila("sin-opciones", {}, "menu");
        fila("mapa-solo", {"--mapa", "@pradera.mapa"}, "partida @pradera.mapa - - -");
        fila("mapa-con-todo",
             {"--mapa", "@pradera.mapa", "--guerreros", "8", "--tipo", "Arquero", "--objetivo",
              "muertes:500"},
             "partida @pradera.mapa 8 Arquero muertes:500");
        fila("con-igual-y-minusculas",
             {"--mapa=@pradera.mapa", "--tipo=guerrero", "--objetivo=TIEMPO:3600"},
             "partida @pradera.mapa - Guerrero tiempo:3600");
        fila("un-guion-y-minimos",
             {"-mapa", "@pradera.mapa", "-guerreros", "1", "-objetivo", "muertes:5"},
             "partida @pradera.mapa 1 - muertes:5");
        fila("tiempo-minimo", {"--mapa", "@pradera.mapa", "--objetivo", "tiempo:60"},
             "partida @pradera.mapa - - tiempo:60");
        // Overrides a goal the set-up window remembers.
        fila("sin-fin", {"--mapa", "@pradera.mapa", "--objetivo", "sinfin"},
             "partida @pradera.mapa - - sinfin");
        fila("repeticion", {"--repeticion", "@buena.repeticion"}, "repeticion @buena.repeticion");
        fila("unirse-ipv4", {"--unirse", "127.0.0.1:4000"}, "unirse 127.0.0.1 4000");
        fila("unirse-ipv6", {"--unirse", "[::1]:1"}, "unirse ::1 1");
        fila("unirse-nombre", {"--unirse", "mi-casa.local:65535"}, "unirse mi-casa.local 65535");
        // Asking for help is never refused for what else the line says.
        fila("ayuda-antes-que-conflictos", {"--help", "--mapa", "x", "--repeticion", "y"},
             "ayuda");
        fila("h", {"-h"}, "ayuda");
        fila("version", {"--version"}, "version");
    }
    void aceptadas() {
        QFETCH(QStringList, args);
        QFETCH(QString, pedido);
        const lecturaarranque l = leerarranque(enraiz(args, raiz_));
        QVERIFY2(l, qPrintable(l.error));
        QCOMPARE(resumen(*l.pedido), pedido.replace("@", raiz_ + '/'));
        if (l.pedido->hacer == arranque::que::ayuda)
            for (const char* o : {"Uso: tarnhollow", "--mapa RUTA", "--guerreros N", "--tipo",
                                  "--objetivo", "--repeticion", "--unirse HOST:PUERTO"})
                QVERIFY2(l.pedido->texto.contains(QLatin1String(o)), o);
        if (l.pedido->hacer == arranque::que::version)
            QCOMPARE(l.pedido->texto, QStringLiteral("Tarnhollow " TARNHOLLOW_VERSION "\n"));
    }

    void ruta_relativa() {
        // The window may look for it from elsewhere: it keeps the whole path.
        const QString antes = QDir::currentPath();
        QVERIFY(QDir::setCurrent(raiz_));
        const lecturaarranque l = leerarranque({"tarnhollow", "--mapa", "pradera.mapa"});
        QDir::setCurrent(antes);
        QVERIFY(l);
        QCOMPARE(l.pedido->ruta, raiz_ + QStringLiteral("/pradera.mapa"));
    }

    // Each refusal names what was wrong; "@" as above.
    void rechazadas_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        const QString p = QStringLiteral("@pradera.mapa");
        auto fila = [](const char* n, const QStringList& a, const char* e) {
            QTest::newRow(n) << a << QString::fromUtf8(e);
        };
        fila("opcion-desconocida", {"--mapas", p}, "opción desconocida: --mapas.");
        fila("falta-valor", {"--mapa", p, "--guerreros"}, "falta el valor de --guerreros");
        fila("interruptor-con-valor", {"--version=2"}, "--version no lleva valor.");
        fila("argumento-suelto", {p}, "argumento de más: «" + QByteArray(qPrintable(p)) + "»");
        fila("repetida", {"--mapa", p, "--mapa", p}, "--mapa va una sola vez.");
        fila("mapa-y-repeticion", {"--mapa", p, "--repeticion", "@buena.repeticion"},
             "--mapa y --repeticion no van juntas");
        fila("guerreros-sin-mapa", {"--guerreros", "3"}, "--guerreros solo vale con --mapa.");
        fila("objetivo-con-repeticion",
             {"--repeticion", "@buena.repeticion", "--objetivo", "sinfin"},
             "--objetivo solo vale con --mapa.");
        fila("guerreros-cero", {"--mapa", p, "--guerreros", "0"}, "del 1 al 8, no «0»");
        fila("guerreros-nueve", {"--mapa", p, "--guerreros", "9"}, "del 1 al 8, no «9»");
        fila("guerreros-con-signo", {"--mapa", p, "--guerreros", "+3"}, "no «+3»");
        fila("tipo-desconocido", {"--mapa", p, "--tipo", "Mago"}, "Guerrero o Arquero, no «Mago»");
        fila("muertes-pocas", {"--mapa", p, "--objetivo", "muertes:4"}, "del 5 al 500");
        fila("muertes-muchas", {"--mapa", p, "--objetivo", "muertes:501"}, "del 5 al 500");
        fila("tiempo-sin-minutos-enteros", {"--mapa", p, "--objetivo", "tiempo:90"},
             "minutos enteros");
        fila("tiempo-largo", {"--mapa", p, "--objetivo", "tiempo:3660"}, "de 60 a 3600");
        fila("objetivo-desconocido", {"--mapa", p, "--objetivo", "vidas:3"},
             "muertes:N, tiempo:S o sinfin");
        fila("mapa-que-no-existe", {"--mapa", "@nada.mapa"}, "No se pudo abrir el archivo");
        fila("mapa-injugable", {"--mapa", "@borde.mapa"}, "no se puede jugar en");
        fila("repeticion-rota", {"--repeticion", "@rota.repeticion"}, "");
        fila("unirse-sin-puerto", {"--unirse", "127.0.0.1"}, "--unirse lleva HOST:PUERTO");
        fila("unirse-puerto-cero", {"--unirse", "127.0.0.1:0"}, "del 1 al 65535, no «0»");
        fila("unirse-puerto-grande", {"--unirse", "127.0.0.1:65536"}, "no «65536»");
        fila("unirse-ipv6-suelta", {"--unirse", "::1:4000"}, "entre corchetes");
        fila("unirse-ipv4-imposible", {"--unirse", "300.1.1.1:4000"},
             "no es un nombre de máquina");
    }
    void rechazadas() {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        const lecturaarranque l = leerarranque(enraiz(args, raiz_));
        QVERIFY(!l);
        QVERIFY(!l.error.isEmpty());
        // One line on standard error.
        QVERIFY2(!l.error.contains(QLatin1Char('\n')), qPrintable(l.error));
        QVERIFY2(l.error.contains(error.replace(QStringLiteral("@"), raiz_ + QLatin1Char('/'))),
                 qPrintable(l.error));
        // The parser's own English words never reach the player.
        QVERIFY2(!l.error.contains(QStringLiteral("Unknown")) &&
                     !l.error.contains(QStringLiteral("Missing")),
                 qPrintable(l.error));
    }

    // The set-up window remembers 5 archers to 20 kills; resumen shows the
    // match that starts.
    void completar_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("partida");
        QTest::newRow("todo-recordado") << QStringList{} << "5 Arquero muertes:20";
        QTest::newRow("todo-dado")
            << QStringList{"--guerreros", "2", "--tipo", "Guerrero", "--objetivo", "tiempo:120"}
            << "2 Guerrero tiempo:120";
        QTest::newRow("sin-fin-sobre-recordado")
            << QStringList{"--objetivo", "sinfin"} << "5 Arquero sinfin";
    }
    void completar() {
        QFETCH(QStringList, args);
        QFETCH(QString, partida);
        ajustes r;
        r.guerreros = 5;
        r.tipo = QStringLiteral("Arquero");
        r.meta = {tipoobjetivo::muertes, 20};
        const lecturaarranque l =
            leerarranque(QStringList{"tarnhollow", "--mapa", pradera} + args);
        QVERIFY2(l, qPrintable(l.error));
        const partidapedida p = juego::completar(*l.pedido, r);
        arranque a;
        a.hacer = arranque::que::partida;
        a.guerreros = p.guerreros;
        a.tipo = p.tipo;
        a.meta = p.meta;
        QCOMPARE(resumen(a), QStringLiteral("partida  ") + partida);
    }

    // The program itself, where no display is to be had: a window would
    // make Qt give up (the last row shows it does), so a clean exit means
    // none was attempted.
    void programa_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("estado"); // -1: did not end normally
        QTest::addColumn<QString>("salida");
        QTest::addColumn<QString>("errores");
        QTest::newRow("valor-malo")
            << QStringList{"--mapa", pradera, "--guerreros", "12"} << 2 << ""
            << "tarnhollow: --guerreros debe ser";
        QTest::newRow("opcion-desconocida") << QStringList{"--jugar"} << 2 << ""
                                            << "opción desconocida: --jugar";
        QTest::newRow("ayuda") << QStringList{"--help"} << 0 << "Uso: tarnhollow"
                               << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "Tarnhollow "
                                 << "";
        QTest::newRow("sin-opciones-abre-ventana") << QStringList{} << -1 << ""
                                                   << "";
    }
    void programa() {
        QFETCH(QStringList, args);
        QFETCH(int, estado);
        QFETCH(QString, salida);
        QFETCH(QString, errores);
        QProcess pr;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove(QStringLiteral("DISPLAY"));
        e.remove(QStringLiteral("WAYLAND_DISPLAY"));
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // Should a window open after all, it finds no settings of the user's.
        e.insert(QStringLiteral("XDG_CONFIG_HOME"), raiz_);
        e.insert(QStringLiteral("XDG_DATA_HOME"), raiz_);
        pr.setProcessEnvironment(e);
        pr.start(QStringLiteral(TARNHOLLOW_PROGRAMA), args);
        QVERIFY(pr.waitForFinished(20000));
        const QString out = QString::fromUtf8(pr.readAllStandardOutput());
        const QString err = QString::fromUtf8(pr.readAllStandardError());
        if (estado < 0) {
            QVERIFY2(pr.exitStatus() == QProcess::CrashExit, qPrintable(err));
            return;
        }
        QCOMPARE(pr.exitStatus(), QProcess::NormalExit);
        QCOMPARE(pr.exitCode(), estado);
        QVERIFY2(salida.isEmpty() ? out.isEmpty() : out.startsWith(salida), qPrintable(out));
        QVERIFY2(errores.isEmpty() ? err.isEmpty() : err.contains(errores), qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestLinea)
#include "test_linea.moc"
