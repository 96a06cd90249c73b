#include "apoyo/mundoprueba.h"

#include <QTest>

using namespace juego;
using prueba::mundoprueba;

namespace {

constexpr int16_t izq = 37, arr = 38, der = 39, aba = 40;

// A 50 x 50 match of one fighter a side whose enemy lies dead far away, so
// that only the player acts.
struct solo : mundoprueba {
    explicit solo(int16_t tipo = arquero, int ancho = 50) {
        cargar(plano(ancho, 50, {10, 10}, {int16_t(ancho - 5), 40}), 1, tipo);
        m.unidades[1].muerto = verdadero;
        m.unidades[1].revivir = 10000;
    }
    unidad& j() { return m.unidades[0]; }
};

} // namespace

class TestTick : public QObject {
    Q_OBJECT

private slots:
    void combinaciones_de_flechas_data() {
        QTest::addColumn<QList<int>>("teclas");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("direccion");
        QTest::newRow("izquierda") << QList<int>{izq} << -1 << 0 << 7;
        QTest::newRow("abajo") << QList<int>{aba} << 0 << 1 << 5;
        QTest::newRow("arriba-derecha") << QList<int>{arr, der} << 1 << -1 << 2;
        QTest::newRow("abajo-izquierda") << QList<int>{aba, izq} << -1 << 1 << 6;
        QTest::newRow("izquierda-y-derecha-va-a-la-izquierda")
            << QList<int>{izq, der} << -1 << 0 << 7;
        QTest::newRow("arriba-y-abajo-va-arriba") << QList<int>{arr, aba} << 0 << -1 << 1;
        QTest::newRow("izquierda-derecha-arriba-va-arriba-izquierda")
            << QList<int>{izq, der, arr} << -1 << -1 << 0;
    }
    void combinaciones_de_flechas() {
        QFETCH(QList<int>, teclas);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, direccion);
        solo w;
        const int x0 = w.j().x, y0 = w.j().y;
        for (int t : teclas)
            w.plat.teclas.apretar(int16_t(t));
        w.tick();
        QCOMPARE(int(w.j().x), x0 + dx);
        QCOMPARE(int(w.j().y), y0 + dy);
        QCOMPARE(int(w.j().direccion), direccion);
        QCOMPARE(int(w.m.mapa(x0, y0).ocupante), -1);
        QCOMPARE(int(w.m.mapa(w.j().x, w.j().y).ocupante), 0);
    }

    void tecla_pulsada_entre_ticks() {
        solo w;
        const int x0 = w.j().x;
        // Pressed and released before the tick: the key still counts once.
        w.plat.teclas.apretar(der);
        w.plat.teclas.soltar(der);
        w.tick();
        QCOMPARE(int(w.j().x), x0 + 1);
        w.tick();
        QCOMPARE(int(w.j().x), x0 + 1);

        // A held key and a tapped one share no bit: no diagonal, only the
        // held key moves.
        w.plat.teclas.apretar(izq);
        w.tick();
        w.plat.teclas.apretar(arr);
        w.plat.teclas.soltar(arr);
        const int y0 = w.j().y;
        w.tick();
        QCOMPARE(int(w.j().y), y0);
        QCOMPARE(int(w.j().direccion), 7);
    }

    void contra_un_muro_gira_sin_moverse() {
        solo w;
        w.terreno(w.j().x + 1, w.j().y, comun::pared);
        const int x0 = w.j().x;
        w.plat.teclas.apretar(der);
        int pose = w.j().pose;
        for (int i = 0; i < 3; ++i) {
            w.tick();
            QCOMPARE(int(w.j().x), x0);
            QCOMPARE(int(w.j().direccion), 3);
            QCOMPARE(int(w.j().pose), pose == 1 ? 0 : 1);
            pose = w.j().pose;
        }
    }

    void vista_sigue_y_se_ajusta() {
        solo w;
        w.mover(0, 24, 20);
        w.plat.teclas.apretar(der);
        w.tick();
        QCOMPARE(int(w.j().x), 25);
        QCOMPARE(int(w.vista().x), 5);
        QCOMPARE(int(w.vista().y), 5);
        w.plat.teclas.soltar(der);
        w.mover(0, 13, 20);
        w.plat.teclas.apretar(izq);
        w.tick();
        QCOMPARE(int(w.j().x), 12);
        QCOMPARE(int(w.vista().x), 0); // -8 clamped in the same tick
    }

    void sin_teclas_nada_se_mueve() {
        solo w;
        const int x0 = w.j().x, y0 = w.j().y, pose = w.j().pose;
        w.tick(3);
        QCOMPARE(int(w.j().x), x0);
        QCOMPARE(int(w.j().y), y0);
        QCOMPARE(int(w.j().pose), pose);
        QCOMPARE(int(w.vista().x), 0); // the view moves only with a step
    }

    void espera_congela_n_menos_uno_ticks() {
        solo w(guerrero);
        w.j().direccion = 7;
        w.tecla(32); // stroke at an empty cell
        QCOMPARE(int(w.j().espera), 4);
        QCOMPARE(int(w.j().pose), 2);
        QCOMPARE(w.j().moviendo, verdadero);
        const int x0 = w.j().x;
        w.plat.teclas.apretar(der);
        const int poses[3] = {2, 2, 3};
        for (int t = 0; t < 3; ++t) {
            w.tick();
            QCOMPARE(int(w.j().x), x0);
            QCOMPARE(int(w.j().pose), poses[t]);
        }
        QCOMPARE(w.j().moviendo, falso);
        w.tick();
        QCOMPARE(int(w.j().x), x0 + 1);
        QCOMPARE(int(w.j().pose), 1);
    }

    void pausa_y_sonido() {
        solo w(guerrero);
        w.tecla(80);
        QVERIFY(!w.plat.temporizador());
        // Paused: ticks do not run, but one stroke still can.
        w.j().direccion = 3;
        w.tecla(32);
        QCOMPARE(int(w.j().espera), 4);
        w.tick(5);
        QCOMPARE(int(w.j().espera), 4);
        w.tecla(80);
        QVERIFY(w.plat.temporizador());
        w.tick();
        QCOMPARE(int(w.j().espera), 3);

        const int16_t antes = w.plat.sonido();
        w.tecla(83);
        QCOMPARE(int(w.plat.sonido()), antes == 1 ? 0 : 1);
        w.tecla(83);
        QCOMPARE(w.plat.sonido(), antes);
        w.plat.ponersonido(2); // any value but ticked becomes ticked
        w.tecla(83);
        QCOMPARE(int(w.plat.sonido()), 1);
    }

    void pausa_antes_de_la_partida() {
        mundoprueba w;
        w.tecla(80);
        QVERIFY(!w.plat.temporizador());
        w.cargar(mundoprueba::plano(50, 50, {10, 10}, {40, 40}), 1, arquero);
        QVERIFY(w.plat.temporizador());
        // Before any match, the space bar and ticks change nothing.
        mundoprueba v;
        v.tecla(32);
        v.tick();
        QCOMPARE(v.plat.dibujos, 0);
        QCOMPARE(int(v.m.unidades[0].espera), 0);
    }

    void espacio_sin_efecto_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<bool>("muerto");
        QTest::addColumn<int>("espera");
        QTest::newRow("arquero") << 0 << false << 0;
        QTest::newRow("muerto") << 1 << true << 0;
        QTest::newRow("en-espera") << 1 << false << 2;
    }
    void espacio_sin_efecto() {
        QFETCH(int, tipo);
        QFETCH(bool, muerto);
        QFETCH(int, espera);
        solo w{int16_t(tipo)};
        w.j().muerto = muerto ? verdadero : falso;
        w.j().espera = int16_t(espera);
        const int pose = w.j().pose;
        w.tecla(32);
        QCOMPARE(int(w.j().espera), espera);
        QCOMPARE(int(w.j().pose), pose);
    }

    void estado_en_cada_tick() {
        solo w(guerrero);
        const int dibujos = w.plat.dibujos;
        QCOMPARE(QString::fromStdString(w.plat.status),
                 QStringLiteral("Vida: 100 - Muertes: 0 - Ataque: 19 - Armadura: 7"));
        w.tick();
        QCOMPARE(QString::fromStdString(w.plat.status),
                 QStringLiteral("Vida: 100 - Muertes: 0 - Ataque: 20 - Armadura: 7"));
        w.j().vida = -3;
        w.tick();
        QCOMPARE(QString::fromStdString(w.plat.status),
                 QStringLiteral("Vida: -3 - Muertes: 0 - Ataque: 20 - Armadura: 7"));
        QCOMPARE(w.plat.dibujos, dibujos + 2); // one redraw per tick
    }
};

int ejecutartick(int argc, char** argv) {
    TestTick t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_tick.moc"
