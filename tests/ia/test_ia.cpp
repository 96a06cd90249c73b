#include "apoyo/mundoprueba.h"

#include <QTest>

using namespace juego;
using prueba::mundoprueba;

namespace {

// Three a side on open grass; every fighter not named by a test lies dead.
struct escena : mundoprueba {
    escena() { cargar(plano(60, 60, {5, 5}, {50, 50}), 3, guerrero); }
    void vivos(std::vector<int16_t> quienes) {
        for (int16_t i = 0; i < 6; ++i) {
            bool vive = false;
            for (int16_t q : quienes)
                vive = vive || q == i;
            m.unidades[i].muerto = vive ? falso : verdadero;
            m.unidades[i].revivir = 10000;
        }
    }
    unidad& u(int i) { return m.unidades[i]; }
};

} // namespace

class TestIa : public QObject {
    Q_OBJECT

private slots:
    void alcance_del_arquero_data() {
        QTest::addColumn<int>("dc");
        QTest::addColumn<int>("dr");
        QTest::addColumn<bool>("dispara");
        QTest::newRow("8-0-dentro") << 8 << 0 << true;
        QTest::newRow("0-8-dentro") << 0 << 8 << true;
        QTest::newRow("7-2-dentro") << 7 << 2 << true;
        QTest::newRow("7-3-fuera") << 7 << 3 << false;
        QTest::newRow("6-4-dentro") << 6 << 4 << true;
        QTest::newRow("6-5-fuera") << 6 << 5 << false;
        QTest::newRow("5-5-dentro") << 5 << 5 << true;
        QTest::newRow("6-6-fuera") << 6 << 6 << false;
        QTest::newRow("9-0-fuera") << 9 << 0 << false;
    }
    void alcance_del_arquero() {
        QFETCH(int, dc);
        QFETCH(int, dr);
        QFETCH(bool, dispara);
        escena w;
        w.vivos({1, 3}); // archer 1 of team 0 against archer 3
        w.mover(1, 30, 30);
        w.mover(3, int16_t(30 - dc), int16_t(30 + dr));
        w.m.decidirataque(1);
        QCOMPARE(w.m.flechas[0].activa == verdadero, dispara);
        QCOMPARE(w.u(1).atacando == verdadero, dispara);
        QCOMPARE(int(w.u(1).espera), dispara ? 6 : 0);
        if (dispara) {
            QCOMPARE(int(w.u(1).pose), 2);
            QCOMPARE(w.u(1).siguiendo, falso);
            QCOMPARE(int(w.m.flechas[0].destx), 30 - dc);
        } else {
            QCOMPARE(w.u(1).moviendo, falso);
        }
    }

    void arquero_empata_por_el_indice_menor() {
        escena w;
        w.vivos({1, 3, 5});
        w.mover(1, 30, 30);
        w.mover(5, 34, 30);
        w.mover(3, 30, 34);
        w.m.decidirataque(1);
        QCOMPARE(int(w.m.flechas[0].destx), 30);
        QCOMPARE(int(w.m.flechas[0].desty), 34);
        // A nearer enemy wins whatever its index.
        escena v;
        v.vivos({1, 3, 5});
        v.mover(1, 30, 30);
        v.mover(3, 36, 30);
        v.mover(5, 33, 30);
        v.m.decidirataque(1);
        QCOMPARE(int(v.m.flechas[0].destx), 33);
    }

    void guerrero_golpea_en_orden_de_barrido() {
        escena w;
        w.vivos({2, 3, 4, 5}); // sword fighter 2 of team 0
        w.mover(2, 30, 30);
        w.mover(5, 31, 31); // lower row
        w.mover(4, 29, 30); // own row, left
        w.mover(3, 31, 29); // upper row, right
        w.u(2).siguiendo = verdadero;
        w.m.decidirataque(2);
        QCOMPARE(int(w.u(3).vida), 100 - (14 - 0));
        QCOMPARE(int(w.u(4).vida), 100);
        QCOMPARE(int(w.u(2).direccion), 2);
        QCOMPARE(int(w.u(2).espera), 4);
        QCOMPARE(w.u(2).atacando, verdadero);
        QCOMPARE(w.u(2).siguiendo, falso);
        QCOMPARE(w.u(2).moviendo, verdadero);
    }

    void guerrero_sin_enemigos_al_lado() {
        escena w;
        w.vivos({1, 2, 3});
        w.mover(2, 30, 30);
        w.mover(1, 31, 30); // team-mate
        w.mover(3, 32, 30); // enemy two cells away
        w.u(2).atacando = verdadero;
        w.u(2).moviendo = verdadero;
        w.m.decidirataque(2);
        QCOMPARE(int(w.u(2).espera), 0);
        QCOMPARE(w.u(2).atacando, falso);
        QCOMPARE(w.u(2).moviendo, falso);
    }

    void orientar_data() {
        QTest::addColumn<int>("dc");
        QTest::addColumn<int>("dr");
        QTest::addColumn<int>("direccion");
        QTest::newRow("arriba-izquierda") << -3 << -1 << 0;
        QTest::newRow("arriba") << 0 << -2 << 1;
        QTest::newRow("arriba-derecha") << 1 << -5 << 2;
        QTest::newRow("derecha") << 4 << 0 << 3;
        QTest::newRow("abajo-derecha") << 2 << 2 << 4;
        QTest::newRow("abajo") << 0 << 1 << 5;
        QTest::newRow("abajo-izquierda") << -1 << 7 << 6;
        QTest::newRow("izquierda") << -1 << 0 << 7;
        QTest::newRow("misma-celda") << 0 << 0 << 0;
    }
    void orientar() {
        QFETCH(int, dc);
        QFETCH(int, dr);
        QFETCH(int, direccion);
        escena w;
        w.u(1).direccion = 5;
        w.m.orientar(1, 10, 10, int16_t(10 + dc), int16_t(10 + dr));
        QCOMPARE(int(w.u(1).direccion), direccion);
    }

    void perseguir_elige_el_enemigo_mas_cercano() {
        escena w;
        w.vivos({1, 3, 4, 5});
        w.mover(1, 30, 30);
        w.mover(3, 40, 30); // 10 away
        w.mover(4, 25, 26); // 9 away
        w.mover(5, 36, 33); // 9 away, higher index
        w.m.perseguir(1);
        QCOMPARE(int(w.u(1).destx), 25);
        QCOMPARE(int(w.u(1).desty), 26);
    }

    void perseguir_sin_salida_o_sin_enemigos() {
        escena w;
        w.vivos({1, 3});
        w.mover(1, 30, 30);
        w.mover(3, 40, 40);
        for (int y = 29; y <= 31; ++y)
            for (int x = 29; x <= 31; ++x)
                if (x != 30 || y != 30)
                    w.terreno(x, y, (x + y) % 2 ? comun::pared : comun::arbol);
        QVERIFY(w.m.encerrado(1));
        w.u(1).destx = 7;
        w.m.perseguir(1);
        QCOMPARE(int(w.u(1).destx), 7); // boxed in: plans nothing

        w.terreno(31, 31, comun::pasto);
        QVERIFY(!w.m.encerrado(1));
        w.mover(0, 31, 31); // a living fighter blocks as well as a wall
        w.u(0).muerto = falso;
        QVERIFY(w.m.encerrado(1));

        escena v;
        v.vivos({1});
        v.u(1).destx = 7;
        v.m.perseguir(1);
        QCOMPARE(int(v.u(1).destx), 7); // nobody to chase
    }

    void el_que_ataca_no_camina_ni_planea() {
        escena w;
        w.vivos({2, 3});
        w.mover(2, 30, 30);
        w.mover(3, 31, 30);
        w.u(3).armadura = 100; // survives the whole test
        w.u(3).vida = 100;
        w.u(2).siguiendo = verdadero;
        w.u(2).pasos = {"29", "29", "28", "28"};
        w.u(2).destx = 28;
        w.u(2).desty = 28;
        w.tick();
        QCOMPARE(int(w.u(2).x), 30);
        QCOMPARE(w.u(2).atacando, verdadero);
        QCOMPARE(w.u(2).siguiendo, falso);
        QCOMPARE(int(w.u(2).espera), 4);
        // The next strike comes on the fourth tick.
        const int vida = w.u(3).vida;
        w.tick(3);
        QCOMPARE(int(w.u(3).vida), vida);
        QCOMPARE(int(w.u(2).pose), 3);
        w.tick();
        QCOMPARE(int(w.u(3).vida), vida - 1);
    }

    // --- caminar -------------------------------------------------------------------

    void caminar_da_un_paso_y_corre_el_camino() {
        escena w;
        w.vivos({1});
        w.mover(1, 30, 30);
        unidad& u = w.u(1);
        u.destx = 34;
        u.desty = 32;
        u.siguiendo = verdadero;
        u.pasos = {"31", "31", "32", "32", "33", "32", "34", "32"};
        u.pose = 2;
        u.bloqueos = 1;
        u.moviendo = verdadero;
        w.m.caminar(1);
        QCOMPARE(int(u.x), 31);
        QCOMPARE(int(u.y), 31);
        QCOMPARE(int(w.m.mapa(30, 30).ocupante), -1);
        QCOMPARE(int(w.m.mapa(31, 31).ocupante), 1);
        QCOMPARE(int(u.direccion), 4);
        QCOMPARE(int(u.pose), 0);
        QCOMPARE(int(u.bloqueos), 0);
        QCOMPARE(u.moviendo, falso);
        QCOMPARE(u.pasos,
                 (std::deque<std::string>{"32", "32", "33", "32", "34", "32", "34", "32"}));
        w.m.caminar(1);
        QCOMPARE(int(u.pose), 1);
        w.m.caminar(1);
        QCOMPARE(int(u.x), 33);
        // Now next to the destination: the path ends without a step.
        u.atacando = verdadero;
        w.m.caminar(1);
        QCOMPARE(int(u.x), 33);
        QCOMPARE(u.siguiendo, falso);
        QCOMPARE(u.atacando, falso);
    }

    void caminar_bloqueado_data() {
        QTest::addColumn<QString>("libre");
        QTest::addColumn<QList<int>>("bloqueos");
        QTest::addColumn<QList<int>>("siguiendo");
        QTest::newRow("bloqueado-se-rinde-al-tercero")
            << "nnn" << QList<int>{1, 2, 0} << QList<int>{-1, -1, 0};
        QTest::newRow("un-hueco-reinicia-la-cuenta")
            << "nnsn" << QList<int>{1, 2, 0, 1} << QList<int>{-1, -1, -1, -1};
    }
    void caminar_bloqueado() {
        QFETCH(QString, libre);
        QFETCH(QList<int>, bloqueos);
        QFETCH(QList<int>, siguiendo);
        escena w;
        w.vivos({1, 3});
        w.mover(1, 30, 30);
        unidad& u = w.u(1);
        u.destx = 40;
        u.desty = 30;
        u.siguiendo = verdadero;
        u.pasos.clear();
        for (int x = 31; x <= 40; ++x)
            u.pasos.insert(u.pasos.end(), {std::to_string(x), "30"});
        for (int k = 0; k < libre.size(); ++k) {
            // A living enemy stands on the next cell, or has left it.
            const int16_t siguiente = int16_t(u.x + 1);
            if (libre[k] == 'n')
                w.mover(3, siguiente, 30);
            else
                w.mover(3, 50, 50);
            w.m.caminar(1);
            QCOMPARE(int(u.bloqueos), bloqueos[k]);
            QCOMPARE(int(u.siguiendo), siguiendo[k]);
        }
    }

    void caminar_sobre_un_caido() {
        escena w;
        w.vivos({1});
        w.mover(1, 30, 30);
        w.mover(3, 31, 30); // dead enemy on the next cell
        unidad& u = w.u(1);
        u.destx = 35;
        u.desty = 30;
        u.siguiendo = verdadero;
        u.pasos = {"31", "30", "32", "30"};
        w.m.caminar(1);
        QCOMPARE(int(u.x), 31);
        QCOMPARE(int(w.m.mapa(31, 30).ocupante), 1);
    }
};

QTEST_APPLESS_MAIN(TestIa)
#include "test_ia.moc"
