// The replay archive keeps what it wrote and only that: each way a replay
// used to be lost, in a temporary folder.
#include "Juego/qt/archivo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using juego::archivo;

namespace {

const std::vector<uint8_t> replay{'T', 'A', 'R', 'N', 'R', 'E', 'P', 'E', 2, 0};

void crear(const QString& ruta, const QByteArray& datos = "del jugador") {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(datos);
}

QStringList nuestras(const QString& carpeta) {
    QStringList r;
    for (const QString& n : QDir(carpeta).entryList(QDir::Files))
        if (archivo::nombrenuestro(n))
            r << n;
    return r;
}

} // namespace

class TestArchivo : public QObject {
    Q_OBJECT

private slots:
    // Files the archive did not write stay, whatever their names, and do
    // not take the place of the replays it keeps.
    void ajenos_data() {
        QTest::addColumn<QStringList>("ajenos");
        QTest::addColumn<int>("archivadas");
        QTest::newRow("repeticion-guardada-por-el-jugador")
            << QStringList{QStringLiteral("partida-1.repeticion")} << 21;
        QStringList futuras;
        for (int k = 0; k < 20; ++k)
            futuras << QStringLiteral("partida-29991231-235959-%1-1.repeticion")
                           .arg(k, 3, 10, QLatin1Char('0'));
        QTest::newRow("veinte-con-fecha-futura") << futuras << 1;
        QStringList basura;
        for (int k = 0; k < 30; ++k)
            basura << QStringLiteral("partida-%1.txt").arg(k);
        QTest::newRow("basura") << basura << 22;
    }
    void ajenos() {
        QFETCH(QStringList, ajenos);
        QFETCH(int, archivadas);
        QTemporaryDir d;
        for (const QString& n : ajenos)
            crear(d.filePath(n));
        archivo a(d.path());
        QStringList hechas;
        for (int k = 0; k < archivadas; ++k) {
            QCOMPARE(a.archivar(replay), QString());
            hechas.prepend(a.archivadas().first());
        }
        for (const QString& n : ajenos)
            QVERIFY2(QFile::exists(d.filePath(n)), qPrintable(n));
        // The newest it archived are kept, however the others sort.
        QCOMPARE(a.archivadas(), hechas.mid(0, 20));
        for (const QString& n : hechas.mid(0, 20))
            QVERIFY(QFile::exists(d.filePath(n)));
        for (const QString& n : hechas.mid(20))
            QVERIFY(!QFile::exists(d.filePath(n)));
    }

    // Matches ended within the same second, or millisecond, each keep a
    // file of their own, whole.
    void seguidas() {
        QTemporaryDir d;
        archivo a(d.path());
        for (int k = 0; k < 10; ++k)
            QCOMPARE(a.archivar(replay), QString());
        QCOMPARE(nuestras(d.path()).size(), 10);
        for (const QString& n : nuestras(d.path()))
            QCOMPARE(QFileInfo(d.filePath(n)).size(), qint64(replay.size()));
    }

    // What a write cut short left of ours goes when the archive opens;
    // anything else stays.
    void restos() {
        QTemporaryDir d;
        crear(d.filePath(QStringLiteral(".tarnhollow-archivo-a1b2c3")));
        crear(d.filePath(QStringLiteral("partida.repeticion.XXXXXX")));
        archivo a(d.path());
        QVERIFY(!QFile::exists(d.filePath(QStringLiteral(".tarnhollow-archivo-a1b2c3"))));
        QVERIFY(QFile::exists(d.filePath(QStringLiteral("partida.repeticion.XXXXXX"))));
    }

    // A failure is told, never passed over.
    void fallos_data() {
        QTest::addColumn<int>("caso");
        QTest::newRow("un-archivo-en-lugar-de-la-carpeta") << 0;
        QTest::newRow("sin-carpeta-de-datos") << 1;
    }
    void fallos() {
        QFETCH(int, caso);
        QTemporaryDir d;
        QString carpeta;
        if (caso == 0) {
            carpeta = d.filePath(QStringLiteral("repeticiones"));
            crear(carpeta);
        }
        archivo a(carpeta);
        const QString e = a.archivar(replay);
        QVERIFY2(e.startsWith(QStringLiteral("No se pudo archivar la repetición")), qPrintable(e));
        QVERIFY(a.archivadas().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestArchivo)
#include "test_archivo.moc"
