// The balanced rules (safety after coming back, one queued action, a random
// source of their own, difficulty), and what every rule set keeps: a new
// match without old arrows, the final status at the end of a match. The
// classic rules tick for tick are the fidelity test's.
#include "apoyo/mundoprueba.h"
#include "Juego/nucleo/instantanea.h"
#include "Juego/nucleo/repeticion.h"

#include <QTest>

using namespace juego;
using prueba::mundoprueba;

namespace {

constexpr reglas clasicas{modoreglas::clasicas, dificultad::normal, 7};
constexpr reglas equilibradas{modoreglas::equilibradas, dificultad::normal, 7};

// One fighter a side on open grass, starts far apart.
struct escena : mundoprueba {
    explicit escena(reglas r, int16_t tipo = guerrero, objetivo o = {}) {
        sucesos s;
        if (const std::string e = m.empezar(plano(40, 40, {5, 5}, {30, 30}), 1, tipo, s, o, r);
            !e.empty())
            throw std::runtime_error(e);
        plat.recibir(s);
    }
    unidad& u(int i) { return m.unidades[std::size_t(i)]; }
    // Steps `n` ticks with these keys (one tick, then the keys are up).
    void pulsar(const teclasflechas& t) {
        plat.recibir(delslot(m.timer_Timer(entradatick{{{0, t}}}), 0));
    }
};

// Archers (the red team) against sword fighters, `n` a side and all of
// them the computer's, on open grass; the error of the start, if any.
std::string archeroscontraespadas(mundoprueba& w, int16_t n, reglas r) {
    alineacion al;
    al.fijos = true;
    al.espectador = true;
    for (int16_t i = 0; i < 2 * n; ++i)
        al.tipos[std::size_t(i)] = i < n ? arquero : guerrero;
    sucesos s;
    return w.m.empezar(mundoprueba::plano(40, 40, {5, 5}, {30, 30}), n, arquero, s, {}, r, al);
}

// A watched 4 v 4 match of the balanced rules on a sample map.
std::vector<uint8_t> jugado(uint32_t semilla, int ticks) {
    prueba::plataformaprueba plat;
    partida p(plat);
    alineacion al;
    al.espectador = true;
    sucesos s;
    const std::string e = p.cargar(MAPAS_DIR "/pradera.mapa", 4, guerrero, s, {},
                                   {modoreglas::equilibradas, dificultad::normal, semilla}, al);
    if (!e.empty())
        throw std::runtime_error(e);
    for (int t = 0; t < ticks; ++t)
        p.tick(entradatick{});
    return estadomundo(p.juego());
}

} // namespace

class TestReglas : public QObject {
    Q_OBJECT

private slots:
    // --- safety after coming back ------------------------------------------

    void proteccion_data() {
        QTest::addColumn<bool>("equilibrio");
        QTest::addColumn<bool>("golpea"); // strikes before it is hit
        QTest::addColumn<bool>("herido");
        QTest::addColumn<int>("quedan"); // ticks of safety left when hit
        QTest::newRow("clasicas-sin-proteccion") << false << false << true << 0;
        QTest::newRow("equilibradas-protegido") << true << false << false << 14;
        QTest::newRow("su-ataque-la-acaba") << true << true << true << 0;
    }
    void proteccion() {
        QFETCH(bool, equilibrio);
        QFETCH(bool, golpea);
        QFETCH(bool, herido);
        QFETCH(int, quedan);
        escena w(equilibrio ? equilibradas : clasicas);
        w.u(1).vida = 1;
        w.m.herir(1, 200, 0);
        QCOMPARE(w.u(1).muerto, verdadero);
        w.u(1).revivir = 0;
        w.tick(1); // comes back
        QCOMPARE(w.u(1).muerto, falso);
        w.tick(2);
        if (golpea) {
            w.m.atacar(1, 0, 0);
            w.u(1).espera = 0;
        }
        QCOMPARE(int(w.u(1).proteccion), quedan);
        w.m.herir(1, 20, 0);
        QCOMPARE(w.u(1).vida < 100, herido);
        // It runs out by itself.
        w.tick(maxproteccion);
        QCOMPARE(int(w.u(1).proteccion), 0);
    }

    // --- one queued action -------------------------------------------------

    void encola_data() {
        QTest::addColumn<bool>("equilibrio");
        QTest::addColumn<int>("que");  // 0 stroke, 1 shot, 2 tapped arrow key
        QTest::addColumn<int>("tick"); // the tick it happens at, 0: never
        QTest::newRow("golpe-equilibradas") << true << 0 << 4;
        QTest::newRow("golpe-clasicas-se-pierde") << false << 0 << 0;
        QTest::newRow("tiro-equilibradas") << true << 1 << 5;
        QTest::newRow("tiro-clasicas-se-pierde") << false << 1 << 0;
        QTest::newRow("paso-equilibradas") << true << 2 << 4;
        QTest::newRow("paso-clasicas-se-pierde") << false << 2 << 0;
    }
    void encola() {
        QFETCH(bool, equilibrio);
        QFETCH(int, que);
        QFETCH(int, tick);
        escena w(equilibrio ? equilibradas : clasicas, que == 1 ? arquero : guerrero);
        w.mover(0, 10, 10);
        w.mover(1, 20, 20); // far: nobody interferes
        w.u(0).direccion = 3;
        // The first action starts the recovery; the second comes during it.
        if (que == 1)
            w.m.aplicar({tipoaccion::click, 0, 15, 10});
        else
            w.m.aplicar({tipoaccion::espacio, 0, 0, 0});
        if (que == 1)
            QCOMPARE(int(w.u(0).espera), 5);
        else
            w.u(0).espera = 4; // what a stroke or shot leaves, for either type
        w.pulsar({});
        if (que == 0)
            w.m.aplicar({tipoaccion::espacio, 0, 0, 0});
        else if (que == 1)
            w.m.aplicar({tipoaccion::click, 0, 15, 12});
        else
            w.pulsar({0, 1, 0, 0}); // right, pressed and let go between ticks
        int cuando = 0;
        const int16_t x0 = w.u(0).x;
        const int desde = que == 2 ? 2 : 1;
        for (int t = desde + 1; t <= 8 && cuando == 0; ++t) {
            const int16_t antes = w.u(0).espera;
            w.pulsar({});
            // A stroke or a shot starts a new recovery.
            const bool hecho = que == 2 ? w.u(0).x != x0 : w.u(0).espera > antes;
            if (hecho)
                cuando = t;
        }
        QCOMPARE(cuando, tick);
        if (tick && que == 2)
            QCOMPARE(int(w.u(0).x), x0 + 1);
        if (tick && que == 1) {
            int vuelan = 0;
            for (const flecha& f : w.m.flechas)
                vuelan += f.activa == verdadero ? 1 : 0;
            QCOMPARE(vuelan, 2);
        }
    }

    // --- difficulty ----------------------------------------------------------

    void dificultades() {
        // In every edition each level plays harder than the one before in
        // every respect.
        for (const edicion& e : ediciones) {
            const ajuste f = e.niveles[0];
            const ajuste n = e.niveles[1];
            const ajuste d = e.niveles[2];
            QVERIFY(f.demora > n.demora && n.demora >= d.demora);
            QVERIFY(f.punteria >= n.punteria && n.punteria >= d.punteria &&
                    f.punteria > d.punteria);
            QVERIFY(f.vista < n.vista && n.vista < d.vista);
            QVERIFY(f.fuerza < n.fuerza && n.fuerza < d.fuerza);
            QVERIFY(f.aguante > n.aguante && n.aguante > d.aguante);
            // A whole tick more is `demora`'s to say.
            QVERIFY(f.tarde >= n.tarde && n.tarde >= d.tarde && f.tarde < 100 && d.tarde >= 0);
        }
        // Only the other team plays at it when a person plays, by the
        // edition the match started with.
        for (uint16_t ed = 1; ed <= edicionreglas; ++ed) {
            reglas r{modoreglas::equilibradas, dificultad::dificil, 1, ed};
            escena w(r);
            QCOMPARE(w.m.ajustedeequipo(1).fuerza, ediciones[ed - 1].niveles[2].fuerza);
            QCOMPARE(w.m.ajustedeequipo(0).fuerza, ediciones[ed - 1].aliados.fuerza);
        }
    }

    // How long the other team's sword fighter waits after each stroke: the
    // stroke's own ticks, the delay drawn up to `demora`, and in `tarde`
    // hundredths of its strokes one tick more (only from edition 4 on).
    void esperas_data() {
        QTest::addColumn<int>("edicion");
        QTest::addColumn<int>("nivel");
        QTest::addColumn<int>("mayor"); // the longest wait beyond the stroke's
        QTest::addColumn<double>("media");
        QTest::newRow("3 facil") << 3 << int(dificultad::facil) << 2 << 1.0;
        QTest::newRow("4 facil") << 4 << int(dificultad::facil) << 3 << 1.04;
        QTest::newRow("4 normal") << 4 << int(dificultad::normal) << 1 << 0.5;
        QTest::newRow("4 dificil") << 4 << int(dificultad::dificil) << 1 << 0.5;
    }

    void esperas() {
        QFETCH(int, edicion);
        QFETCH(int, nivel);
        QFETCH(int, mayor);
        QFETCH(double, media);
        escena w({modoreglas::equilibradas, dificultad(nivel), 7, uint16_t(edicion)});
        w.u(1).tipo = guerrero;
        // Next to the person's fighter, who takes no harm meanwhile.
        w.mover(1, int16_t(w.u(0).x + 1), w.u(0).y);
        constexpr int veces = 6000;
        int mas = 0, suma = 0;
        for (int i = 0; i < veces; ++i) {
            w.u(0).proteccion = maxproteccion;
            w.u(1).espera = 0;
            w.m.decidirataque(1);
            const int extra = w.u(1).espera - w.m.valor().esperaespada;
            QVERIFY(extra >= 0);
            mas = std::max(mas, extra);
            suma += extra;
        }
        QCOMPARE(mas, mayor);
        QVERIFY2(std::abs(double(suma) / veces - media) < 0.025,
                 qPrintable(QString::number(double(suma) / veces)));
    }

    // --- the types weighed ------------------------------------------------------

    void pesodetipos_data() {
        QTest::addColumn<int>("modo");
        QTest::addColumn<int>("edicion");
        QTest::addColumn<int>("porequipo");
        QTest::addColumn<int>("personas");      // how many archers a person plays (slot 0 on)
        QTest::addColumn<int>("delosarqueros"); // kills of each archer
        QTest::addColumn<int>("delosguerreros");
        QTest::addColumn<int>("balanza");
        QTest::addColumn<int>("arquero");
        QTest::addColumn<int>("guerrero");
        // Two archers against two sword fighters, all the computer's.
        QTest::newRow("clasicas-sin-peso") << 0 << 2 << 2 << 0 << 0 << 4 << 0 << 100 << 100;
        QTest::newRow("primera-edicion-sin-peso") << 1 << 1 << 2 << 0 << 0 << 4 << 0 << 100 << 100;
        QTest::newRow("empate") << 1 << 2 << 2 << 0 << 3 << 3 << 0 << 100 << 100;
        QTest::newRow("arqueros-una-baja-atras") << 1 << 2 << 2 << 0 << 0 << 1 << 0 << 120 << 83;
        QTest::newRow("arqueros-una-baja-delante") << 1 << 2 << 2 << 0 << 1 << 0 << 0 << 80 << 125;
        QTest::newRow("lo-que-lleva-atras") << 1 << 2 << 2 << 0 << 0 << 0 << 1200 << 110 << 90;
        QTest::newRow("las-dos-partes-se-suman") << 1 << 2 << 2 << 0 << 1 << 0 << 3600 << 110 << 90;
        QTest::newRow("hasta-el-tope") << 1 << 2 << 2 << 0 << 0 << 20 << 0 << 200 << 50;
        // A person's kills tell how that person plays: the archer a person
        // steers is not counted, and without a computer archer nothing is
        // weighed.
        QTest::newRow("una-persona-no-cuenta") << 1 << 2 << 2 << 1 << 0 << 2 << 0 << 140 << 71;
        QTest::newRow("sin-arqueros-del-ordenador") << 1 << 2 << 2 << 2 << 0 << 4 << 0 << 100 << 100;
        // From the third edition the first part answers more in bigger
        // teams, counting the computer's fighters of the type it has fewer of.
        QTest::newRow("tercera-uno-contra-uno") << 1 << 3 << 1 << 0 << 0 << 1 << 0 << 120 << 83;
        QTest::newRow("tercera-cuatro-contra-cuatro") << 1 << 3 << 4 << 0 << 0 << 1 << 0 << 129 << 77;
        QTest::newRow("tercera-sin-la-persona") << 1 << 3 << 4 << 1 << 0 << 1 << 0 << 126 << 79;
        QTest::newRow("tercera-con-lo-que-lleva") << 1 << 3 << 4 << 0 << 0 << 0 << 1200 << 110 << 90;
    }
    void pesodetipos() {
        QFETCH(int, modo);
        QFETCH(int, edicion);
        QFETCH(int, porequipo);
        QFETCH(int, personas);
        QFETCH(int, delosarqueros);
        QFETCH(int, delosguerreros);
        QFETCH(int, balanza);
        QFETCH(int, arquero);
        QFETCH(int, guerrero);
        mundoprueba w;
        const reglas r{modoreglas(modo), dificultad::normal, 1, uint16_t(edicion)};
        QCOMPARE(archeroscontraespadas(w, int16_t(porequipo), r), std::string());
        for (int16_t i = 0; i < 2 * porequipo; ++i)
            w.m.unidades[std::size_t(i)].muertes =
                int16_t(i < porequipo ? delosarqueros : delosguerreros);
        for (int i = 0; i < personas; ++i)
            w.m.humano[std::size_t(i)] = verdadero;
        // The person's archer kills as many again: it must not count.
        if (personas == 1)
            w.m.unidades[0].muertes = int16_t(delosarqueros + 6);
        w.m.balanza = balanza;
        QCOMPARE(int(w.m.pesodetipo(juego::arquero)), arquero);
        QCOMPARE(int(w.m.pesodetipo(juego::guerrero)), guerrero);
    }

    void balanza() {
        // Each tick adds how far the archers are behind, up to what takes
        // the weight to its bounds, and a new match starts level.
        mundoprueba w;
        QCOMPARE(archeroscontraespadas(w, 1, equilibradas), std::string());
        w.m.unidades[1].muertes = 2;
        w.m.pesartipos();
        w.m.pesartipos();
        QCOMPARE(w.m.balanza, 400);
        const valores& v = w.m.valor();
        const int tope = v.memoria * std::max(v.pesomaximo - 100, 100 - v.pesominimo);
        w.m.balanza = tope - 1;
        w.m.pesartipos();
        QCOMPARE(w.m.balanza, tope);
        w.m.unidades[1].muertes = 0;
        w.m.unidades[0].muertes = 90;
        for (int k = 0; k < 3; ++k)
            w.m.pesartipos();
        QCOMPARE(w.m.balanza, -tope);
        QCOMPARE(archeroscontraespadas(w, 1, equilibradas), std::string());
        QCOMPARE(w.m.balanza, 0);
    }

    // --- who plays --------------------------------------------------------------

    void alineaciones_data() {
        QTest::addColumn<bool>("espectador");
        QTest::newRow("con-jugador") << false;
        QTest::newRow("espectador") << true;
    }
    void alineaciones() {
        QFETCH(bool, espectador);
        prueba::plataformaprueba plat;
        partida p(plat);
        alineacion al;
        al.fijos = true;
        al.espectador = espectador;
        al.tipos = {guerrero, guerrero, arquero, arquero, arquero, guerrero};
        sucesos s;
        QCOMPARE(p.cargar(MAPAS_DIR "/rio.mapa", 3, arquero, s, {}, clasicas, al), std::string());
        const mundo& m = p.juego();
        for (int16_t i = 0; i < 6; ++i) {
            QCOMPARE(m.unidades[std::size_t(i)].tipo, al.tipos[std::size_t(i)]);
            QCOMPARE(m.eshumano(i), i == 0 && !espectador);
        }
        // Only a lone player gets the head start.
        QCOMPARE(m.unidades[0].ataque > m.tipos[guerrero].ataque, !espectador);
        for (int t = 0; t < 60; ++t)
            p.tick(entradatick{});
        // Nobody steers slot 0 in a watched match: the view follows it.
        const unidad& u = m.unidades[0];
        if (espectador)
            QCOMPARE(p.vista(), m.vistaajustada({int16_t(u.x - 20), int16_t(u.y - 15)}));
        al.tipos[1] = 7;
        QVERIFY(!p.cargar(MAPAS_DIR "/rio.mapa", 3, arquero, s, {}, clasicas, al).empty());
    }

    // --- seeds -----------------------------------------------------------------

    void semillas() {
        const std::vector<uint8_t> a = jugado(11, 400);
        QCOMPARE(jugado(11, 400), a);
        QVERIFY(jugado(12, 400) != a);
    }

    // --- a balanced match kept and played on ----------------------------------

    void idayvuelta() {
        prueba::plataformaprueba plat;
        partida p(plat);
        sucesos s;
        QCOMPARE(p.cargar(MAPAS_DIR "/bosque.mapa", 4, arquero, s, {},
                          {modoreglas::equilibradas, dificultad::dificil, 99}),
                 std::string());
        auto jugar = [](partida& q, int desde, int hasta) {
            for (int t = desde; t < hasta; ++t) {
                const uint16_t k = t % 3 ? 0x8001 : 0;
                q.tick(entradatick{{{0, {k, 0, uint16_t(k ? 0 : 1), 0}}}});
                if (t % 4 == 0)
                    q.aplicar({tipoaccion::click, 0, int16_t(10 + t % 7), int16_t(10 + t % 5)});
            }
        };
        jugar(p, 0, 150);
        const std::vector<uint8_t> guardada = p.instantanea();
        jugar(p, 150, 400);
        const std::vector<uint8_t> final = estadomundo(p.juego());
        QCOMPARE(p.cabeceraactual().regla.nivel, dificultad::dificil);

        // The snapshot plays on to the same state...
        prueba::plataformaprueba plat2;
        partida q(plat2);
        QCOMPARE(q.restaurar(guardada, s), std::string());
        QCOMPARE(q.juego().regla, p.juego().regla);
        jugar(q, 150, 400);
        QCOMPARE(estadomundo(q.juego()), final);

        // ...and so does the replay, through its file.
        const std::vector<uint8_t> archivo = escribirrepeticion(p.grabacion());
        repeticion r;
        QCOMPARE(leerrepeticion(archivo.data(), archivo.size(), r), std::string());
        QCOMPARE(r.final.regla.modo, modoreglas::equilibradas);
        prueba::plataformaprueba plat3;
        partida v(plat3);
        QCOMPARE(v.reproducir(r, [](const sucesos&) {}), std::string());
        QCOMPARE(estadomundo(v.juego()), final);
    }

    // --- what every rule set keeps ----------------------------------------------

    void nuevapartidasinflechas_data() {
        QTest::addColumn<bool>("equilibrio");
        QTest::newRow("clasicas") << false;
        QTest::newRow("equilibradas") << true;
    }
    void nuevapartidasinflechas() {
        QFETCH(bool, equilibrio);
        escena w(equilibrio ? equilibradas : clasicas, arquero);
        w.m.aplicar({tipoaccion::click, 0, 30, 30});
        QCOMPARE(w.m.flechas[0].activa, verdadero);
        // A smaller map: the arrow would fly on over it onto the fighters.
        sucesos s;
        QCOMPARE(w.m.empezar(mundoprueba::plano(12, 12, {2, 2}, {9, 9}), 1, arquero, s, {},
                             equilibrio ? equilibradas : clasicas),
                 std::string());
        for (const flecha& f : w.m.flechas)
            QCOMPARE(f.activa, falso);
        for (int y = 0; y <= w.m.altomapa; ++y)
            for (int x = 0; x <= w.m.anchomapa; ++x)
                QCOMPARE(int(w.m.mapa(x, y).proyectil), -1);
    }

    void estadoalfinal_data() {
        QTest::addColumn<bool>("equilibrio");
        QTest::newRow("clasicas") << false;
        QTest::newRow("equilibradas") << true;
    }
    void estadoalfinal() {
        QFETCH(bool, equilibrio);
        escena w(equilibrio ? equilibradas : clasicas, guerrero, {tipoobjetivo::muertes, 1});
        w.mover(0, 10, 10);
        w.mover(1, 11, 10);
        w.u(0).vida = 1;
        // The computer's fighter strikes inside the tick and reaches the goal.
        w.tick(1);
        QCOMPARE(w.u(0).muerto, verdadero);
        QCOMPARE(w.m.fin, verdadero);
        QVERIFY2(w.plat.status.rfind("Vida: 0 ", 0) == 0, w.plat.status.c_str());
        QVERIFY2(w.m.estados[1].find("Muertes: 1") != std::string::npos, w.m.estados[1].c_str());
    }
};

QTEST_GUILESS_MAIN(TestReglas)
#include "test_reglas.moc"
