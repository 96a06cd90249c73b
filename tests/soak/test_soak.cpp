// Full matches of eight against eight on every sample map, thousands of
// ticks each, with the player's keys, strokes and shots driven at random.
// After every tick the world must still make sense.
#include "apoyo/invariantes.h"
#include "apoyo/jugadorazar.h"
#include "apoyo/mundoprueba.h"

#include <QDir>
#include <QTest>

using namespace juego;
using prueba::mundoprueba;

using invariantes::revisar;
using invariantes::revisarrejilla;

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void partida_larga_data() {
        QTest::addColumn<QString>("mapa");
        QTest::addColumn<int>("tipo");
        const QStringList mapas = QDir(MAPAS_DIR).entryList({"*.mapa"}, QDir::Files, QDir::Name);
        QVERIFY(mapas.size() >= 4);
        int n = 0;
        for (const QString& m : mapas)
            QTest::newRow(qPrintable(m)) << QString(MAPAS_DIR "/" + m) << (n++ % 2);
    }

    void partida_larga() {
        QFETCH(QString, mapa);
        QFETCH(int, tipo);
        comun::lectura l = comun::leerarchivo(mapa.toStdString());
        QVERIFY2(l, l.error.c_str());
        mundoprueba w;
        w.cargar(*l.mapa, 8, int16_t(tipo));
        // The player walks, strikes and shoots at random, and never pauses.
        prueba::jugadorazar jugador(1234, 0);
        int muertes = 0;
        for (int t = 0; t < 20000; ++t) {
            jugador.jugar(w);
            const QString error = revisar(w.m);
            QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("tick %1: ").arg(t) + error));
            if (t % 500 == 0) {
                const QString e = revisarrejilla(w.m);
                QVERIFY2(e.isEmpty(), qPrintable(QStringLiteral("tick %1: ").arg(t) + e));
            }
        }
        for (int i = 0; i < 16; ++i)
            muertes += w.m.unidades[i].muertes;
        // The teams found each other and fought.
        QVERIFY2(muertes > 0, "nobody was killed in the whole match");
        qInfo("%s: %d muertes", qPrintable(QFileInfo(mapa).fileName()), muertes);
    }
};

QTEST_APPLESS_MAIN(TestSoak)
#include "test_soak.moc"
