// The shelves of replays and saved matches, and the list the player picks
// from: what they show of each file, and that keeping and deleting lose
// nothing the player did not ask to lose.
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/partida.h"
#include "Juego/qt/archivo.h"
#include "Juego/qt/biblioteca.h"
#include "apoyo/aparte.h"
#include "apoyo/planos.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace juego;

namespace {

// A replay of a short 2 v 2 match, `ticks` long, that started at `fecha`.
std::vector<uint8_t> unarepeticion(int ticks, int64_t fecha, const std::string& mapa) {
    struct reloj : grabadora {
        int64_t cuando = 0;
        int64_t ahora() const override { return cuando; }
    } plat;
    plat.cuando = fecha;
    partida p(plat);
    sucesos s;
    if (!p.empezar(planos::abierto(20), 2, guerrero, s, {}, mapa).empty())
        return {};
    for (int t = 0; t < ticks; ++t)
        p.tick(entradatick{});
    return escribirrepeticion(p.grabacion());
}

void escribir(const QString& ruta, const std::vector<uint8_t>& datos) {
    QDir().mkpath(QFileInfo(ruta).path());
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(datos.data()), qint64(datos.size()));
}

const int64_t dia = 24 * 3600 * 1000LL;
// Later than any file the test writes, so these come first.
const int64_t hoy = 4102444800000LL; // 2100-01-01

} // namespace

class TestEstante : public QObject {
    Q_OBJECT

    ajustesaparte aparte;
    QString carpeta;

    // One replay of every origin, an old format, and a file that is none.
    void llenar() {
        QDir(carpeta).removeRecursively();
        QDir().mkpath(carpeta);
        QVERIFY(archivo(carpeta).archivar(unarepeticion(16, hoy, "archivada")).isEmpty());
        escribir(carpeta + "/mia.repeticion", unarepeticion(80, hoy - dia, "guardada"));
        escribir(carpeta + "/conservadas/buena.repeticion",
                 unarepeticion(8, hoy - 2 * dia, "conservada"));
        QVERIFY(QFile::copy(QStringLiteral(ESCENARIOS_DIR "/formato1.repeticion"),
                            carpeta + "/vieja.repeticion"));
        escribir(carpeta + "/rota.repeticion", {'n', 'o'});
    }

private slots:
    void initTestCase() {
        QVERIFY(aparte.apartar());
        carpeta = aparte.carpeta.path() + "/repeticiones";
    }

    // Every file is listed, newest first, with what its header tells; one
    // that is no replay is listed as unreadable and left where it is.
    void listar() {
        llenar();
        const std::vector<ficha> f = estante(carpeta, ".repeticion", true).listar();
        QCOMPARE(f.size(), std::size_t(5));
        struct esperada {
            const char* mapa;
            ficha::origen origen;
            const char* duracion;
        };
        const esperada e[] = {{"archivada", ficha::origen::archivada, "0:02"},
                              {"guardada", ficha::origen::guardada, "0:10"},
                              {"conservada", ficha::origen::conservada, "0:01"}};
        for (std::size_t i = 0; i < 3; ++i) {
            QVERIFY(f[i].legible);
            QCOMPARE(f[i].datos.mapa, std::string(e[i].mapa));
            QVERIFY(f[i].procedencia == e[i].origen);
            QCOMPARE(estante::textoduracion(f[i].datos.ticks), QString(e[i].duracion));
            QCOMPARE(estante::textojugadores(f[i].datos), QString("2 contra 2: Jugador (Guerrero)"));
            QVERIFY(estante::textoresultado(f[i]).startsWith("Sin terminar, "));
        }
        int rotas = 0, viejas = 0;
        for (const ficha& x : f) {
            rotas += !x.legible && x.ruta.endsWith("rota.repeticion") && !x.error.isEmpty();
            viejas += x.legible && x.datos.formato == 1;
        }
        QCOMPARE(rotas, 1);
        QCOMPARE(viejas, 1);
        QCOMPARE(estante::textoduracion(8 * 3725), QString("1:02:05"));
        cabecera c = f[0].datos;
        c.regla = {modoreglas::equilibradas, dificultad::dificil, 7};
        QCOMPARE(estante::textojugadores(c),
                 QString("2 contra 2, equilibradas (Difícil): Jugador (Guerrero)"));
    }

    // Kept replays leave the archive's rotation and survive it; a bad or
    // taken name keeps nothing and moves nothing.
    void conservar() {
        llenar();
        const estante e(carpeta, ".repeticion", true);
        const ficha archivada = e.listar()[0];
        QString nueva;
        for (const char* malo : {"", "  ", ".oculta", "a/b", "buena"}) {
            QVERIFY2(!e.conservar(archivada, malo, nueva).isEmpty(), malo);
            QVERIFY(QFile::exists(archivada.ruta));
        }
        QVERIFY(e.conservar(archivada, "final de liga", nueva).isEmpty());
        QCOMPARE(nueva, carpeta + "/conservadas/final de liga.repeticion");
        QVERIFY(!QFile::exists(archivada.ruta));
        QVERIFY(archivo(carpeta).archivadas().isEmpty());
        // The archive keeping one replay goes through three more matches.
        archivo uno(carpeta, 1);
        for (int k = 0; k < 3; ++k)
            QVERIFY(uno.archivar(unarepeticion(1, hoy + k, "otra")).isEmpty());
        QVERIFY(QFile::exists(nueva));
        QCOMPARE(uno.archivadas().size(), 1);
    }

    // Deleting sends a replay to the trash; a file that is none stays.
    void borrar() {
        llenar();
        const estante e(carpeta, ".repeticion", true);
        for (const ficha& f : e.listar()) {
            const bool fuera = e.borrar(f).isEmpty();
            QCOMPARE(fuera, f.legible);
            QCOMPARE(QFile::exists(f.ruta), !f.legible);
        }
        QVERIFY(QFile::exists(qEnvironmentVariable("XDG_DATA_HOME") +
                              "/Trash/files/mia.repeticion"));
        QVERIFY(archivo(carpeta).archivadas().isEmpty());
    }

    // The list as the player sees it: newest on top and chosen, a picture
    // of its map, nothing to do with an unreadable file, and keeping one
    // through the name asked for.
    void ventana() {
        llenar();
        biblioteca b(nullptr, "Ver repetición", carpeta, ".repeticion", true);
        QCOMPARE(b.lista->topLevelItemCount(), 5);
        QVERIFY(b.actual() && b.actual()->datos.mapa == "archivada");
        QVERIFY(!b.vista->pixmap().isNull());
        QVERIFY(b.ver->isEnabled() && b.conservar->isEnabled());
        for (int i = 0; i < b.lista->topLevelItemCount(); ++i) {
            b.lista->setCurrentItem(b.lista->topLevelItem(i));
            const ficha* f = b.actual();
            QVERIFY(f);
            QCOMPARE(b.ver->isEnabled(), f->legible);
            QCOMPARE(b.borrar->isEnabled(), f->legible);
            QCOMPARE(b.conservar->isEnabled(),
                     f->legible && f->procedencia != ficha::origen::conservada);
        }
        b.lista->setCurrentItem(b.lista->topLevelItem(0));
        b.pedirnombre = [](const QString& propuesto) {
            return propuesto.startsWith("archivada") ? QString("la mejor") : QString();
        };
        b.conservar->click();
        QVERIFY(QFile::exists(carpeta + "/conservadas/la mejor.repeticion"));
        QCOMPARE(b.lista->topLevelItemCount(), 5);
        b.lista->setCurrentItem(b.lista->topLevelItem(1));
        const QString elegida = b.actual()->ruta;
        b.ver->click();
        QCOMPARE(b.result(), int(QDialog::Accepted));
        QCOMPARE(b.elegida(), elegida);
    }
};

QTEST_MAIN(TestEstante)
#include "test_estante.moc"
