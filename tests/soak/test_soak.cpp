// Full matches of eight against eight on every sample map, thousands of
// ticks each, with the player's keys, strokes and shots driven at random.
// After every tick the world must still make sense.
#include "apoyo/mundoprueba.h"

#include <QDir>
#include <QTest>

#include <random>
#include <set>

using namespace juego;
using prueba::mundoprueba;

namespace {

bool bandera(int16_t v) {
    return v == verdadero || v == falso;
}

QString revisar(const mundo& m) {
    std::set<std::pair<int, int>> vivos;
    for (int i = 0; i < 2 * m.maxp; ++i) {
        const unidad& u = m.unidades[i];
        const QString quien = QStringLiteral("luchador %1: ").arg(i);
        if (!bandera(u.muerto) || !bandera(u.siguiendo) || !bandera(u.atacando) ||
            !bandera(u.moviendo) || !bandera(u.buscando))
            return quien + "bandera fuera de -1/0";
        if (u.buscando != falso)
            return quien + "búsqueda sin terminar";
        if (u.direccion < 0 || u.direccion > 7 || u.pose < 0 || u.pose > 3)
            return quien + "dirección o pose fuera de rango";
        if (u.espera < 0 || u.espera > 6 || u.revivir < 0 || u.revivir > 25 || u.bloqueos < 0 ||
            u.bloqueos > 2)
            return quien + "espera, revivir o bloqueos fuera de rango";
        if (u.equipo != i / m.maxp)
            return quien + "equipo cambiado";
        if (u.muerto == verdadero) {
            if (u.vida != 0)
                return quien + "muerto con vida";
            continue;
        }
        if (u.vida < 1 || u.vida > 100)
            return quien + QStringLiteral("vida %1").arg(u.vida);
        if (u.x < 0 || u.y < 0 || u.x > m.anchomapa || u.y > m.altomapa)
            return quien + "fuera del mapa";
        if (m.mapa(u.x, u.y).transitable != verdadero)
            return quien + "sobre terreno que no se pisa";
        if (m.mapa(u.x, u.y).ocupante != i)
            return quien + "su celda no lo nombra";
        if (!vivos.insert({u.x, u.y}).second)
            return quien + "comparte celda con otro vivo";
    }
    for (int k = 0; k < numflechas; ++k) {
        const flecha& f = m.flechas[k];
        if (f.activa == verdadero &&
            (f.x < 0 || f.y < 0 || f.x > m.anchomapa || f.y > m.altomapa || f.tirador < 0 ||
             f.tirador >= 2 * m.maxp))
            return QStringLiteral("flecha %1 fuera de sitio").arg(k);
    }
    return {};
}

QString revisarrejilla(const mundo& m) {
    for (int y = 0; y <= m.altomapa; ++y) {
        for (int x = 0; x <= m.anchomapa; ++x) {
            const celda& c = m.mapa(x, y);
            if (c.ocupante < -1 || c.ocupante >= 2 * m.maxp || c.proyectil < -1 ||
                c.proyectil >= numflechas)
                return QStringLiteral("celda (%1, %2) con valores fuera de rango").arg(x).arg(y);
            if (c.ocupante >= 0) {
                const unidad& u = m.unidades[c.ocupante];
                if (u.muerto != verdadero && (u.x != x || u.y != y))
                    return QStringLiteral("celda (%1, %2) nombra a un vivo que no está").arg(x).arg(y);
            }
        }
    }
    return {};
}

} // namespace

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
        std::mt19937 azar(1234);
        const int16_t flechas[4] = {37, 38, 39, 40};
        int muertes = 0;
        for (int t = 0; t < 20000; ++t) {
            // Every few ticks the player changes keys, strikes or shoots.
            if (t % 5 == 0) {
                for (int16_t k : flechas)
                    w.plat.teclas.soltar(k);
                if (azar() % 4 != 0)
                    w.plat.teclas.apretar(flechas[azar() % 4]);
                if (azar() % 3 == 0)
                    w.plat.teclas.apretar(flechas[azar() % 4]);
            }
            if (azar() % 7 == 0)
                w.m.Form_KeyDown(32);
            if (azar() % 7 == 0)
                w.m.mainpic_MouseDown(int(azar() % 800), int(azar() % 600));
            w.tick();
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
