#include "Comun/carpetas.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The data folder lookup on an installed layout made in a temporary folder:
// PREFIX/games holds the program, PREFIX/share/games/tarnhollow the data,
// and casa/ stands for the user's own folder.
class TestCarpetas : public QObject {
    Q_OBJECT

private slots:
    void eleccion_data() {
        QTest::addColumn<QStringList>("existen");
        QTest::addColumn<QString>("elegida");
        QTest::addRow("solo-junto-al-programa") << QStringList{"games/mapas"} << "games/mapas";
        QTest::addRow("solo-instalada")
            << QStringList{"share/games/tarnhollow/mapas"} << "share/games/tarnhollow/mapas";
        QTest::addRow("solo-del-usuario") << QStringList{"casa/mapas"} << "casa/mapas";
        QTest::addRow("programa-antes-que-instalada")
            << QStringList{"games/mapas", "share/games/tarnhollow/mapas", "casa/mapas"}
            << "games/mapas";
        QTest::addRow("instalada-antes-que-usuario")
            << QStringList{"share/games/tarnhollow/mapas", "casa/mapas"}
            << "share/games/tarnhollow/mapas";
        // A file of that name is no folder: the next place is tried.
        QTest::addRow("archivo-no-es-carpeta")
            << QStringList{"games/mapas=archivo", "casa/mapas"} << "casa/mapas";
        QTest::addRow("ninguna-nombra-la-del-programa") << QStringList{} << "games/mapas";
    }

    void eleccion() {
        QFETCH(QStringList, existen);
        QFETCH(QString, elegida);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QDir raiz(tmp.path());
        QVERIFY(raiz.mkpath("games"));
        for (const QString& e : existen) {
            if (e.endsWith("=archivo")) {
                QFile f(raiz.filePath(e.chopped(8)));
                QVERIFY(f.open(QIODevice::WriteOnly));
            } else {
                QVERIFY(raiz.mkpath(e));
            }
        }
        const std::vector<std::string> candidatas = comun::carpetascandidatas(
            raiz.filePath("games").toStdString(), raiz.filePath("casa").toStdString(), "mapas");
        QCOMPARE(QDir::cleanPath(QString::fromStdString(comun::primeracarpeta(candidatas))),
                 raiz.filePath(elegida));
    }

    // With no home folder there is no user folder to try.
    void sinusuario() {
        const std::vector<std::string> c = comun::carpetascandidatas("/usr/games", "", "sonidos");
        QCOMPARE(c, (std::vector<std::string>{"/usr/games/sonidos",
                                              "/usr/share/games/tarnhollow/sonidos"}));
    }
};

QTEST_GUILESS_MAIN(TestCarpetas)
#include "test_carpetas.moc"
