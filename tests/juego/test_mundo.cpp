#include "apoyo/mundoprueba.h"

#include <QTest>

using namespace juego;
using prueba::mundoprueba;

Q_DECLARE_METATYPE(comun::posicion)

class TestMundo : public QObject {
    Q_OBJECT

private slots:
    void celdalibre_y_celdasinvivos() {
        mundoprueba w;
        w.cargar(mundoprueba::plano(50, 50, {10, 10}, {40, 40}), 1, arquero);
        mundo& m = w.m;
        // The player stands on (9, 9), the enemy archer on (39, 39).
        QVERIFY(!m.celdalibre(9, 9));
        QVERIFY(m.celdalibre(10, 10));
        m.unidades[1].muerto = verdadero;
        QVERIFY2(m.celdalibre(39, 39), "a fallen fighter does not block its cell");
        QVERIFY(m.celdasinvivos(39, 39));
        QVERIFY(!m.celdasinvivos(9, 9));

        w.terreno(20, 20, comun::pared);
        w.terreno(21, 20, comun::agua);
        w.terreno(22, 20, comun::arbol);
        for (int x = 20; x <= 22; ++x) {
            QVERIFY(!m.celdalibre(int16_t(x), 20));
            QVERIFY2(m.celdasinvivos(int16_t(x), 20), "arrows fly over any terrain");
        }
        // The last column and row belong to the map; one further does not.
        QVERIFY(m.celdalibre(49, 49));
        QVERIFY(!m.celdalibre(50, 49));
        QVERIFY(!m.celdalibre(49, 50));
        QVERIFY(!m.celdalibre(-1, 0));
        QVERIFY(!m.celdasinvivos(50, 0));
        QVERIFY(!m.celdasinvivos(0, -1));
    }

    void ajustarvista_data() {
        QTest::addColumn<int>("ancho");
        QTest::addColumn<int>("alto");
        QTest::addColumn<int>("vx");
        QTest::addColumn<int>("vy");
        QTest::addColumn<int>("ex");
        QTest::addColumn<int>("ey");
        QTest::newRow("dentro") << 50 << 50 << 5 << 7 << 5 << 7;
        QTest::newRow("negativa-a-cero") << 50 << 50 << -15 << -3 << 0 << 0;
        QTest::newRow("tope-derecho-50") << 50 << 50 << 25 << 40 << 10 << 20;
        QTest::newRow("mapa-estrecho-queda-negativo") << 30 << 20 << 0 << 0 << -10 << -10;
        QTest::newRow("mapa-200") << 200 << 200 << 170 << 171 << 160 << 170;
    }
    void ajustarvista() {
        QFETCH(int, ancho);
        QFETCH(int, alto);
        QFETCH(int, vx);
        QFETCH(int, vy);
        QFETCH(int, ex);
        QFETCH(int, ey);
        mundoprueba w;
        w.cargar(mundoprueba::plano(ancho, alto, {2, 2}, {5, 5}), 1, arquero);
        w.m.vistas[0] = {int16_t(vx), int16_t(vy)};
        w.m.ajustarvista();
        QCOMPARE(int(w.vista().x), ex);
        QCOMPARE(int(w.vista().y), ey);
    }

    void cargarmapa_valores_iniciales_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("ataque");
        QTest::addColumn<int>("armadura");
        QTest::addColumn<QString>("estado");
        QTest::newRow("arquero") << 0 << 25 << 3
                                 << "Vida: 100 - Muertes: 0 - Ataque: 25 - Armadura: 3";
        // The status line is written before the sword fighter's extra point.
        QTest::newRow("guerrero") << 1 << 20 << 7
                                  << "Vida: 100 - Muertes: 0 - Ataque: 19 - Armadura: 7";
    }
    void cargarmapa_valores_iniciales() {
        QFETCH(int, tipo);
        QFETCH(int, ataque);
        QFETCH(int, armadura);
        QFETCH(QString, estado);
        mundoprueba w;
        w.cargar(mundoprueba::plano(50, 50, {10, 10}, {40, 20}), 3, int16_t(tipo));
        const unidad& j = w.m.unidades[0];
        QCOMPARE(int(j.tipo), tipo);
        QCOMPARE(int(j.ataque), ataque);
        QCOMPARE(int(j.armadura), armadura);
        QCOMPARE(int(j.vida), 100);
        QCOMPARE(QString::fromStdString(w.plat.status), estado);
        QCOMPARE(w.m.jugando, verdadero);
        QCOMPARE(int(w.vista().x), 0);
        QCOMPARE(int(w.vista().y), 0);
    }

    void colocarequipo_data() {
        QTest::addColumn<int>("maxp");
        QTest::addColumn<QList<int>>("tipos");
        QTest::newRow("uno") << 1 << QList<int>{0, 0};
        QTest::newRow("tres") << 3 << QList<int>{0, 0, 1, 0, 1, 0};
        QTest::newRow("ocho") << 8 << QList<int>{0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
    }
    void colocarequipo() {
        QFETCH(int, maxp);
        QFETCH(QList<int>, tipos);
        mundoprueba w;
        const comun::posicion s0{10, 10}, s1{40, 20};
        w.cargar(mundoprueba::plano(50, 50, s0, s1), int16_t(maxp), arquero);
        const int orden[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                 {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
        for (int i = 0; i < 2 * maxp; ++i) {
            const unidad& u = w.m.unidades[i];
            const int e = i / maxp;
            const comun::posicion s = e == 0 ? s0 : s1;
            const int k = i % maxp;
            QCOMPARE(int(u.equipo), e);
            QCOMPARE(int(u.tipo), tipos[i]);
            QCOMPARE(int(u.x), s.x + orden[k][0]);
            QCOMPARE(int(u.y), s.y + orden[k][1]);
            QCOMPARE(int(w.m.mapa(u.x, u.y).ocupante), i);
            QCOMPARE(u.muerto, falso);
            QCOMPARE(int(u.vida), 100);
            QVERIFY(u.direccion >= 0 && u.direccion <= 7);
            if (i != 0) {
                QCOMPARE(int(u.ataque), u.tipo == arquero ? 20 : 14);
                QCOMPARE(int(u.armadura), u.tipo == arquero ? 0 : 4);
            }
        }
        QCOMPARE(int(w.m.mapa(s0.x, s0.y).ocupante), -1);
        QCOMPARE(int(w.m.mapa(s1.x, s1.y).ocupante), -1);
    }

    void orientaciones_de_la_secuencia_fija() {
        // Facings come from the never-seeded source: one draw per fighter in
        // slot order, continuing over later matches of the same run.
        azar propia;
        mundoprueba w;
        w.cargar(mundoprueba::plano(50, 50, {10, 10}, {40, 20}), 3, guerrero);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(int(w.m.unidades[i].direccion), int(propia.siguiente() * 8));
        w.cargar(mundoprueba::plano(50, 50, {10, 10}, {40, 20}), 1, guerrero);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(int(w.m.unidades[i].direccion), int(propia.siguiente() * 8));
    }

    void segunda_carga() {
        mundoprueba w;
        w.cargar(mundoprueba::plano(100, 100, {10, 10}, {80, 80}), 8, guerrero);
        w.m.unidades[12].camino = "1,2";
        w.m.unidades[12].muertes = 9;
        const unidad antes = w.m.unidades[12];
        w.cargar(mundoprueba::plano(50, 50, {20, 20}, {30, 30}), 2, arquero);
        // No occupant of the first match remains anywhere on the grid.
        int ocupadas = 0;
        for (int y = 0; y < ladomapa; ++y)
            for (int x = 0; x < ladomapa; ++x)
                ocupadas += w.m.mapa(x, y).ocupante >= 0;
        QCOMPARE(ocupadas, 4);
        // Slots beyond the new match keep the old data.
        QCOMPARE(w.m.unidades[12].camino, antes.camino);
        QCOMPARE(w.m.unidades[12].muertes, antes.muertes);
        QCOMPARE(w.m.unidades[12].x, antes.x);
        // Cells beyond the new map are cleared grass.
        QCOMPARE(int(w.m.mapa(50, 0).terreno), 0);
        QCOMPARE(w.m.mapa(50, 0).transitable, verdadero);
        QCOMPARE(int(w.m.anchomapa), 49);
    }

    void terreno_y_transitable() {
        mundoprueba w;
        comun::plano p = mundoprueba::plano(50, 50, {10, 10}, {40, 20});
        for (int t = 0; t < 6; ++t)
            p.ponerterreno(t, 0, int16_t(t));
        w.cargar(p, 1, arquero);
        const int16_t esperado[6] = {-1, -1, 0, 0, 0, -1};
        for (int t = 0; t < 6; ++t) {
            QCOMPARE(int(w.m.mapa(t, 0).terreno), t);
            QCOMPARE(w.m.mapa(t, 0).transitable, esperado[t]);
        }
    }

    void inicios_al_borde_de_la_rejilla_data() {
        QTest::addColumn<comun::posicion>("inicio");
        QTest::addColumn<bool>("valido");
        QTest::newRow("columna-0") << comun::posicion{0, 5} << false;
        QTest::newRow("fila-0") << comun::posicion{5, 0} << false;
        QTest::newRow("columna-999") << comun::posicion{999, 5} << false;
        QTest::newRow("fila-999") << comun::posicion{5, 999} << false;
        QTest::newRow("columna-1") << comun::posicion{1, 1} << true;
        QTest::newRow("ultima-columna-del-mapa") << comun::posicion{998, 998} << true;
    }
    void inicios_al_borde_de_la_rejilla() {
        QFETCH(comun::posicion, inicio);
        QFETCH(bool, valido);
        comun::plano p = mundoprueba::plano(1000, 1000, {10, 10}, inicio);
        QCOMPARE(mundo::errorpartida(p).empty(), valido);
        std::swap(p.inicio[0], p.inicio[1]);
        QCOMPARE(mundo::errorpartida(p).empty(), valido);
    }
};

int ejecutarmundo(int argc, char** argv) {
    TestMundo t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_mundo.moc"
