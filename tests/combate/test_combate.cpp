#include "apoyo/mundoprueba.h"

#include <QTest>

using namespace juego;
using prueba::mundoprueba;

namespace {

// Two fighters a side on open grass, starts far apart; tests move the ones
// they need and leave the others dead in a corner.
struct duelo : mundoprueba {
    explicit duelo(int16_t tipo = guerrero, int16_t maxp = 2) {
        cargar(plano(60, 60, {5, 5}, {50, 50}), maxp, tipo);
    }
    void dormir(std::vector<int16_t> quienes) {
        for (int16_t i : quienes) {
            m.unidades[i].muerto = verdadero;
            m.unidades[i].revivir = 10000;
        }
    }
    unidad& u(int i) { return m.unidades[i]; }
    QStringList sonidos() {
        recoger();
        QStringList r;
        for (const std::string& s : plat.pedidos)
            r << QString::fromStdString(s);
        plat.pedidos.clear();
        return r;
    }
};

} // namespace

class TestCombate : public QObject {
    Q_OBJECT

private slots:
    // --- herir, subirnivel ---------------------------------------------------

    void dano_data() {
        QTest::addColumn<int>("ataque");
        QTest::addColumn<int>("armadura");
        QTest::addColumn<int>("vida");
        QTest::newRow("20-contra-4") << 20 << 4 << 84;
        QTest::newRow("14-contra-14-quita-1") << 14 << 14 << 99;
        QTest::newRow("armadura-mayor-quita-1") << 14 << 30 << 99;
    }
    void dano() {
        QFETCH(int, ataque);
        QFETCH(int, armadura);
        QFETCH(int, vida);
        duelo w;
        w.u(2).armadura = int16_t(armadura);
        w.u(2).siguiendo = verdadero;
        w.m.herir(2, int16_t(ataque), 0);
        QCOMPARE(int(w.u(2).vida), vida);
        QCOMPARE(w.u(2).siguiendo, falso);
        QCOMPARE(w.u(2).destx, w.u(0).x);
        QCOMPARE(w.u(2).desty, w.u(0).y);
        QCOMPARE(w.u(2).muerto, falso);
    }

    void muerte_en_cero() {
        duelo w;
        w.u(2).armadura = 4;
        for (int golpe = 1; golpe <= 6; ++golpe)
            w.m.herir(2, 20, 0);
        QCOMPARE(int(w.u(2).vida), 4);
        QCOMPARE(w.u(2).muerto, falso);
        w.sonidos();
        w.u(2).atacando = verdadero;
        w.m.herir(2, 20, 0);
        QCOMPARE(int(w.u(2).vida), 0); // not -12
        QCOMPARE(w.u(2).muerto, verdadero);
        QCOMPARE(int(w.u(2).revivir), 25);
        QCOMPARE(w.u(2).atacando, falso);
        QCOMPARE(w.u(2).destx, w.u(2).x);
        QCOMPARE(int(w.u(0).muertes), 1);
        QCOMPARE(w.sonidos(), QStringList{"dead.wav"});
        // The fallen fighter stays on its cell, drawn as blood.
        QCOMPARE(int(w.m.mapa(w.u(2).x, w.u(2).y).ocupante), 2);
    }

    void premio_cada_siete_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("ataque");
        QTest::addColumn<int>("armadura");
        QTest::newRow("arquero") << 0 << 23 << 1;
        QTest::newRow("guerrero") << 1 << 16 << 6;
    }
    void premio_cada_siete() {
        QFETCH(int, tipo);
        QFETCH(int, ataque);
        QFETCH(int, armadura);
        duelo w;
        unidad& k = w.u(1);
        k.tipo = int16_t(tipo);
        k.ataque = w.m.tipos[tipo].ataque;
        k.armadura = w.m.tipos[tipo].armadura;
        for (int n = 1; n <= 14; ++n) {
            w.u(2).vida = 1;
            w.u(2).muerto = falso;
            w.m.herir(2, 1, 1);
            QCOMPARE(int(k.muertes), n);
            const int premios = n / 7;
            QCOMPARE(int(k.ataque),
                     w.m.tipos[tipo].ataque + premios * (ataque - w.m.tipos[tipo].ataque));
            QCOMPARE(int(k.armadura),
                     w.m.tipos[tipo].armadura + premios * (armadura - w.m.tipos[tipo].armadura));
        }
    }

    // --- sword strokes ----------------------------------------------------------

    void golpe_de_espada_data() {
        QTest::addColumn<QString>("blanco");
        QTest::addColumn<int>("vida");
        QTest::addColumn<QStringList>("sonidos");
        QTest::newRow("enemigo") << "enemigo" << 100 - (20 - 0) << QStringList{"hit0.wav"};
        QTest::newRow("celda-vacia") << "vacia" << 100 << QStringList{};
        QTest::newRow("companero") << "companero" << 100 << QStringList{};
        QTest::newRow("enemigo-muerto") << "muerto" << 0 << QStringList{};
    }
    void golpe_de_espada() {
        QFETCH(QString, blanco);
        QFETCH(int, vida);
        QFETCH(QStringList, sonidos);
        duelo w; // player sword fighter, attack 20; slot 3 an enemy archer
        w.dormir({2});
        w.mover(0, 20, 20);
        w.u(0).direccion = 3;
        int16_t victima = 3;
        if (blanco == "enemigo" || blanco == "muerto")
            w.mover(3, 21, 20);
        if (blanco == "companero") {
            victima = 1;
            w.mover(1, 21, 20);
        }
        if (blanco == "muerto") {
            w.u(3).vida = 0;
            w.u(3).muerto = verdadero;
        }
        w.sonidos();
        w.tecla(32);
        QCOMPARE(int(w.u(0).espera), 4);
        QCOMPARE(int(w.u(0).pose), 2);
        QCOMPARE(w.u(0).moviendo, verdadero);
        QCOMPARE(w.sonidos(), sonidos);
        if (blanco != "vacia")
            QCOMPARE(int(w.u(victima).vida), vida);
        // Holding the key does not queue a second stroke.
        w.tecla(32);
        QCOMPARE(int(w.u(0).espera), 4);
    }

    void sin_sonido_no_se_pide_ningun_archivo() {
        duelo w(arquero);
        w.dormir({1});
        w.mover(0, 10, 20);
        w.mover(2, 12, 20);
        w.u(2).vida = 1;
        w.plat.ponersonido(0);
        w.sonidos();
        w.m.disparar(0, 10, 20, 20, 20); // a shot, a hit and a death
        w.m.moverflechas();
        QCOMPARE(w.u(2).muerto, verdadero);
        QVERIFY(w.sonidos().isEmpty());
    }

    void golpe_fuera_del_mapa_no_cambia_nada() {
        duelo w;
        w.mover(0, 0, 20);
        for (int16_t d : {int16_t(0), int16_t(6), int16_t(7)}) {
            w.u(0).direccion = d;
            w.u(0).pose = 1;
            w.tecla(32);
            QCOMPARE(int(w.u(0).espera), 0);
            QCOMPARE(int(w.u(0).pose), 1);
            QCOMPARE(w.u(0).moviendo, falso);
        }
    }

    // --- arrows -------------------------------------------------------------------

    void disparo_diagonal() {
        duelo w(arquero);
        w.dormir({1, 2, 3});
        w.mover(0, 10, 10);
        w.sonidos();
        w.m.disparar(0, 10, 10, 14, 12);
        const flecha& f = w.m.flechas[0];
        QCOMPARE(f.activa, verdadero);
        QCOMPARE(int(f.direccion), 4);
        QCOMPARE(int(w.u(0).direccion), 4);
        QCOMPARE(f.velx, 4.0);
        QCOMPARE(f.vely, 2.0);
        QCOMPARE(int(w.u(0).espera), 6);
        QCOMPARE(int(w.m.mapa(10, 10).proyectil), 0);
        QCOMPARE(w.sonidos(), QStringList{"Bowfire.wav"});

        // Sub-steps (11, 10.5), (12, 11), (13, 11.5), (14, 12): halves go to
        // the even cell, so the arrow marks (11, 10) then (13, 12).
        w.m.moverflechas();
        QCOMPARE(f.x, 14.0);
        QCOMPARE(f.y, 12.0);
        QCOMPARE(int(w.m.mapa(14, 12).proyectil), 0);
        QCOMPARE(int(w.m.mapa(10, 10).proyectil), -1);
        QCOMPARE(int(w.m.mapa(11, 10).proyectil), -1);
        QCOMPARE(int(w.m.mapa(13, 12).proyectil), -1);
    }

    void redondeo_de_subpasos_elige_la_celda_par() {
        // An enemy on (11, 10) is hit by the first sub-step at (11, 10.5);
        // one on (11, 11) would not be.
        for (int fila : {10, 11}) {
            duelo w(arquero);
            w.dormir({1, 2});
            w.mover(0, 10, 10);
            w.mover(3, 11, int16_t(fila));
            w.m.disparar(0, 10, 10, 14, 12);
            w.m.moverflechas();
            QCOMPARE(w.u(3).vida < 100, fila == 10);
        }
    }

    void disparo_hacia_arriba_pasa_el_blanco() {
        duelo w(arquero);
        w.dormir({1, 2, 3});
        w.mover(0, 10, 10);
        w.m.disparar(0, 10, 10, 10, 3);
        const flecha& f = w.m.flechas[0];
        QCOMPARE(int(f.direccion), 1);
        QCOMPARE(f.velx, 0.0);
        QCOMPARE(f.vely, -4.0);
        w.m.moverflechas();
        QCOMPARE(f.y, 6.0);
        w.m.moverflechas();
        QCOMPARE(f.y, 2.0);
        QCOMPARE(f.activa, verdadero);
        // Rows 1 and 0 in the next tick, then off the top edge, silently.
        w.m.moverflechas();
        QCOMPARE(f.activa, falso);
        for (int y = 0; y < 12; ++y)
            QCOMPARE(int(w.m.mapa(10, y).proyectil), -1);
    }

    void vuela_sobre_todo_menos_enemigos_vivos() {
        duelo w(arquero, 3); // player archer 0, team-mates 1 and 2, enemies 3..5
        w.dormir({5});
        w.mover(0, 10, 20);
        w.terreno(11, 20, comun::pared);
        w.terreno(12, 20, comun::agua);
        w.terreno(13, 20, comun::arbol);
        w.mover(1, 14, 20); // team-mate
        w.mover(3, 15, 20); // dead enemy
        w.u(3).muerto = verdadero;
        w.u(3).revivir = 10000;
        w.mover(4, 17, 20); // living enemy
        w.mover(2, 19, 20); // team-mate beyond the enemy
        w.sonidos();
        w.m.disparar(0, 10, 20, 30, 20);
        w.m.moverflechas(); // up to column 14
        QCOMPARE(w.m.flechas[0].activa, verdadero);
        QCOMPARE(int(w.u(1).vida), 100);
        w.m.moverflechas(); // 15 (dead), 16, 17: hit
        QCOMPARE(w.m.flechas[0].activa, falso);
        QCOMPARE(int(w.u(4).vida), 100 - (25 - 4)); // a sword fighter's armour
        QCOMPARE(int(w.u(2).vida), 100);
        QCOMPARE(w.sonidos(), (QStringList{"Bowfire.wav", "Bowhit.wav"}));
        // The mark on the victim's cell stays behind, stale.
        QCOMPARE(int(w.m.mapa(17, 20).proyectil), 0);
    }

    void muerte_por_flecha_cuenta_para_el_tirador_muerto() {
        duelo w(arquero);
        w.mover(0, 10, 20);
        w.mover(2, 12, 20);
        w.u(2).vida = 5;
        w.m.disparar(0, 10, 20, 20, 20);
        w.u(0).muertes = 6;
        w.u(0).muerto = verdadero; // the shooter falls before the arrow lands
        w.u(0).ataque = 40;
        w.sonidos();
        w.m.moverflechas();
        QCOMPARE(w.u(2).muerto, verdadero);
        QCOMPARE(int(w.u(0).muertes), 7);
        QCOMPARE(int(w.u(0).ataque), 43);
        QCOMPARE(w.sonidos(), (QStringList{"Bowhit.wav", "dead.wav"}));
    }

    void dos_flechas_sobre_una_celda() {
        duelo w(arquero);
        w.dormir({1, 2, 3});
        w.mover(0, 10, 20);
        w.m.disparar(0, 10, 20, 10, 10); // slot 0 flies up
        w.m.disparar(0, 10, 20, 20, 20); // slot 1 flies right
        // Both start on (10, 20): the mark names the last one.
        QCOMPARE(int(w.m.mapa(10, 20).proyectil), 1);
        w.m.moverflechas();
        QCOMPARE(int(w.m.mapa(10, 16).proyectil), 0);
        QCOMPARE(int(w.m.mapa(14, 20).proyectil), 1);
    }

    void ranuras_llenas_pierden_el_disparo() {
        duelo w(arquero);
        w.dormir({1, 2, 3});
        w.mover(0, 10, 20);
        for (flecha& f : w.m.flechas)
            f.activa = verdadero;
        w.m.flechas[7].direccion = 3;
        w.u(0).direccion = 5;
        w.sonidos();
        w.m.disparar(0, 10, 20, 5, 5);
        QCOMPARE(int(w.u(0).espera), 6);
        QCOMPARE(int(w.u(0).direccion), 5);
        QVERIFY(w.sonidos().isEmpty());
        QCOMPARE(int(w.m.mapa(10, 20).proyectil), -1);
    }

    void flecha_de_otra_partida() {
        duelo w(arquero, 8);
        w.m.disparar(12, w.u(12).x, w.u(12).y, 0, w.u(12).y); // slot 12 shoots left
        QCOMPARE(w.m.flechas[0].activa, verdadero);
        // A new match starts with no arrow of the last one in flight, so
        // none flies on over the new map into its fighters.
        w.cargar(mundoprueba::plano(60, 60, {5, 5}, {50, 50}), 2, arquero);
        for (const flecha& f : w.m.flechas)
            QCOMPARE(f.activa, falso);
    }

    void clic_del_jugador_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("espera");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<bool>("dispara");
        QTest::addColumn<bool>("redibuja");
        QTest::newRow("arquero-dispara") << 0 << 0 << QPoint(300, 210) << true << true;
        QTest::newRow("su-propia-celda") << 0 << 0 << QPoint(205, 215) << false << false;
        QTest::newRow("en-espera") << 0 << 2 << QPoint(300, 210) << false << false;
        QTest::newRow("guerrero-solo-redibuja") << 1 << 0 << QPoint(300, 210) << false << true;
    }
    void clic_del_jugador() {
        QFETCH(int, tipo);
        QFETCH(int, espera);
        QFETCH(QPoint, pixel);
        QFETCH(bool, dispara);
        QFETCH(bool, redibuja);
        duelo w{int16_t(tipo)};
        w.dormir({1, 2, 3});
        w.mover(0, 10, 10); // drawn at pixel (200, 200) with the view at 0, 0
        w.u(0).espera = int16_t(espera);
        const int antes = w.plat.dibujos;
        w.clic(pixel.x(), pixel.y());
        QCOMPARE(w.m.flechas[0].activa == verdadero, dispara);
        QCOMPARE(w.plat.dibujos > antes, redibuja);
        if (dispara) {
            QCOMPARE(int(w.m.flechas[0].destx), 15);
            QCOMPARE(int(w.m.flechas[0].desty), 10);
            QCOMPARE(int(w.u(0).espera), 5);
            QCOMPARE(int(w.u(0).pose), 2);
            QCOMPARE(w.u(0).moviendo, verdadero);
        }
    }

    void clic_en_pausa_dispara_una_flecha_que_espera() {
        duelo w(arquero);
        w.dormir({1, 2, 3});
        w.mover(0, 10, 10);
        w.tecla(80);
        w.clic(300, 200);
        w.clic(300, 300);
        w.tick(3);
        QCOMPARE(w.m.flechas[0].activa, verdadero);
        QCOMPARE(w.m.flechas[1].activa, falso);
        QCOMPARE(w.m.flechas[0].x, 10.0);
        w.tecla(80);
        w.tick();
        QCOMPARE(w.m.flechas[0].x, 14.0);
    }

    // --- respawn ------------------------------------------------------------------

    void reaparece_en_el_tick_26() {
        duelo w;
        w.dormir({1, 3});
        w.mover(2, 30, 30);
        w.u(2).vida = 1;
        w.m.herir(2, 50, 0); // dies between ticks
        for (int t = 1; t <= 25; ++t) {
            w.tick();
            QCOMPARE(w.u(2).muerto, verdadero);
        }
        w.tick();
        QCOMPARE(w.u(2).muerto, falso);
        QCOMPARE(int(w.u(2).vida), 100);
        // Lowest row, rightmost column of the block around team 1's start.
        QCOMPARE(int(w.u(2).x), 51);
        QCOMPARE(int(w.u(2).y), 51);
        QCOMPARE(int(w.m.mapa(51, 51).ocupante), 2);
        QCOMPARE(int(w.m.mapa(30, 30).ocupante), -1);
    }

    void reaparecer_elige_la_ultima_celda_libre() {
        duelo w;
        w.u(2).muerto = verdadero;
        w.mover(2, 30, 30);
        w.terreno(51, 51, comun::pared);
        w.terreno(50, 51, comun::agua);
        w.m.reaparecer(2);
        QCOMPARE(int(w.u(2).x), 49);
        QCOMPARE(int(w.u(2).y), 51);
        QCOMPARE(int(w.u(2).sigx), 49);
        QCOMPARE(int(w.u(2).desty), 51);
    }

    void reaparecer_bloqueado_reintenta_cada_tick() {
        duelo w;
        w.dormir({1});
        for (int y = 49; y <= 51; ++y)
            for (int x = 49; x <= 51; ++x)
                w.terreno(x, y, comun::pared);
        w.mover(2, 30, 30);
        w.u(2).vida = 1;
        w.m.herir(2, 50, 0);
        w.u(2).revivir = 0;
        w.tick(3);
        QCOMPARE(w.u(2).muerto, verdadero);
        QCOMPARE(int(w.u(2).revivir), 0);
        w.terreno(49, 51, comun::pasto);
        w.tick();
        QCOMPARE(w.u(2).muerto, falso);
        QCOMPARE(int(w.u(2).x), 49);
        QCOMPARE(int(w.u(2).y), 51);
    }

    void el_jugador_reaparece_y_la_vista_lo_sigue() {
        mundoprueba w;
        w.cargar(mundoprueba::plano(200, 200, {150, 150}, {20, 20}), 1, guerrero);
        w.m.unidades[0].vida = 1;
        w.m.herir(0, 30, 1);
        w.m.reaparecer(0);
        QCOMPARE(int(w.m.unidades[0].x), 151);
        QCOMPARE(int(w.vista().x), 131);
        QCOMPARE(int(w.vista().y), 136);
        // Near the far corner the view stays inside the map.
        w.m.unidades[0].muerto = verdadero;
        w.m.inicio[0] = {198, 198};
        w.m.reaparecer(0);
        QCOMPARE(int(w.vista().x), 160);
        QCOMPARE(int(w.vista().y), 170);
    }
};

QTEST_APPLESS_MAIN(TestCombate)
#include "test_combate.moc"
