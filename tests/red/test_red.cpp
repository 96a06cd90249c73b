// Network play over the loopback address with the real sockets: every copy
// of a match stays equal, fighters pass between people and the computer, a
// bad peer is dropped alone, a copy gone astray is repaired, and a client
// refuses a host that sends nonsense.
#include "apoyo/bombear.h"
#include "apoyo/mundoprueba.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/huella.h"
#include "Juego/nucleo/partida.h"
#include "Juego/nucleo/repeticion.h"
#include "Juego/red/anfitrion.h"
#include "Juego/red/cliente.h"
#include "Juego/red/relevo.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace juego;
using red::anfitrion;
using red::cliente;

using prueba::bombear;

namespace {

// One peer's own copy of the match, read as const; a test spoils it on
// purpose with a scene (prueba::escena).
struct copia : prueba::partidaprueba {
    const mundo& w = p.juego();
};

// A host on the loopback address and its clients, the clock in the test's
// hands.
struct mesa {
    copia anfitriona;
    std::unique_ptr<anfitrion> a;
    QStringList registro;
    std::vector<std::unique_ptr<copia>> copias;
    std::vector<std::unique_ptr<cliente>> clientes;
    // The clock of the host and of every client: a step takes 125 ms.
    int64_t ahora = 0;

    explicit mesa(int16_t maxp, const char* mapa = "pradera.mapa", objetivo o = {},
                  reglas r = {}) {
        sucesos s;
        const std::string e =
            anfitriona.p.cargar(std::string(MAPAS_DIR "/") + mapa, maxp, guerrero, s, o, r);
        if (!e.empty())
            throw std::runtime_error(e);
        anfitriona.p.hacerred();
        a = std::make_unique<anfitrion>(anfitriona.p);
        a->registrar = [this](const QString& l) { registro << l; };
        a->reloj = [this] { return ahora; };
        if (!a->escuchar(QHostAddress::LocalHost, 0).isEmpty())
            throw std::runtime_error("no se puede escuchar");
    }

    cliente& unir(int16_t tipo, int16_t equipo, const QString& nombre = QStringLiteral("Ana")) {
        copias.push_back(std::make_unique<copia>());
        clientes.push_back(std::make_unique<cliente>(copias.back()->p));
        cliente& c = *clientes.back();
        c.reloj = [this] { return ahora; };
        c.conectar(QStringLiteral("127.0.0.1"), a->puerto(), nombre, tipo, equipo);
        bombear([&] { return c.estado() != cliente::fase::conectando; });
        return c;
    }

    // One step of the host's clock, and every client that plays has played it.
    bool paso() {
        ahora += 125;
        a->paso();
        return bombear([this] {
            for (const auto& c : clientes)
                if (c->estado() == cliente::fase::dentro && c->secuencia() != a->secuencia())
                    return false;
            return true;
        });
    }

    bool registrado(const QString& trozo) const {
        for (const QString& l : registro)
            if (l.contains(trozo))
                return true;
        return false;
    }
};

// Random keys, strokes and shots of one player, seeded.
void jugarazar(std::mt19937& r, const std::function<void(int16_t, bool)>& flecha,
               const std::function<void()>& espacio, const std::function<void(int, int)>& clic) {
    if (r() % 4 == 0)
        flecha(int16_t(37 + r() % 4), r() % 2 == 0);
    if (r() % 9 == 0)
        espacio();
    if (r() % 9 == 0)
        clic(int(r() % 800), int(r() % 600));
}

std::vector<uint8_t> bytes(const red::mensaje& m) {
    return red::codificar(m);
}

red::hola saludo(const char* nombre = "Hostil") {
    return {red::versionprotocolo, TARNHOLLOW_VERSION, nombre, guerrero, 1};
}

// A peer that speaks the framing by hand, as other people's tools may.
struct hostil {
    QTcpSocket s;
    // Connects and says hello; true once the host answered with a welcome.
    bool entrar(quint16 puerto, const std::string& nombre = "Hostil", int16_t equipo = 1) {
        s.connectToHost(QStringLiteral("127.0.0.1"), puerto);
        if (!bombear([&] { return s.state() == QAbstractSocket::ConnectedState; }))
            return false;
        red::hola h = saludo(nombre.c_str());
        h.equipo = equipo;
        mandar(h);
        bombear([&] {
            return s.bytesAvailable() >= 5 || s.state() != QAbstractSocket::ConnectedState;
        });
        const QByteArray cabeza = s.peek(5);
        return cabeza.size() == 5 && uint8_t(cabeza[4]) == uint8_t(red::tipomensaje::bienvenida);
    }
    void mandar(const red::mensaje& m) {
        const auto b = bytes(m);
        s.write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
        s.flush();
    }
};

// How many strokes of `slot` a match's record holds.
long golpes(const partida& p, int16_t slot) {
    return std::count_if(
        p.grabacion().pasos.begin(), p.grabacion().pasos.end(), [slot](const juego::paso& x) {
            return !x.estick && x.a.tipo == tipoaccion::espacio && x.a.slot == slot;
        });
}

// Whether the last tick of a match's record held an arrow key of `slot`.
bool conteclas(const partida& p, int16_t slot) {
    const auto& pasos = p.grabacion().pasos;
    for (auto it = pasos.rbegin(); it != pasos.rend(); ++it)
        if (it->estick)
            return std::any_of(
                it->entrada.mandos.begin(), it->entrada.mandos.end(),
                [slot](const mando& k) { return k.slot == slot && k.teclas != teclasflechas{}; });
    return false;
}

} // namespace

class TestRed : public QObject {
    Q_OBJECT

private slots:
    // Every message survives the codec; a damaged one is refused.
    void codec() {
        red::paso x;
        x.secuencia = 7;
        x.cambios = {{3, true}, {4, false}};
        x.acciones = {{tipoaccion::click, 3, 10, 12}, {tipoaccion::espacio, 4, 0, 0}};
        x.tick = true;
        x.mandos = {{3, {0x8001, 0, 0, 0x8000}}};
        x.numtick = 99;
        const std::vector<red::mensaje> todos = {
            saludo("Ana"),
            red::tecla{2, 39, true},
            red::accionred{{tipoaccion::click, 1, 999, 0}},
            red::huella{32, 0x123456789abcdefull},
            red::adios{},
            red::bienvenida{5, 9, {1, 2, 3}},
            red::rechazo{"no"},
            x,
            red::resinc{"La partida se desincronizó.", 4, {9}},
            red::jugadores{{{1, "Ana"}, {6, "Luis"}}}};
        for (const red::mensaje& m : todos) {
            const std::vector<uint8_t> b = red::codificar(m);
            red::desenmarcador d(red::delanfitrion(b[4]));
            QVERIFY(d.meter(b.data(), b.size()));
            std::vector<uint8_t> cuerpo;
            QVERIFY(d.sacar(cuerpo));
            red::mensaje vuelta;
            QCOMPARE(red::decodificar(cuerpo.data(), cuerpo.size(), vuelta), std::string());
            QVERIFY(vuelta == m);
            // Any cut short is refused, never read past its end.
            for (std::size_t n = 1; n < cuerpo.size(); ++n)
                QVERIFY(!red::decodificar(cuerpo.data(), n, vuelta).empty());
        }
    }

    // A port where nobody hosts a match: the player is told so in Spanish.
    void puerto_sin_partida() {
        QTcpServer libre;
        QVERIFY(libre.listen(QHostAddress::LocalHost, 0));
        const quint16 puerto = libre.serverPort();
        libre.close();
        copia c;
        cliente k(c.p);
        k.conectar(QStringLiteral("127.0.0.1"), puerto, QStringLiteral("Ana"), guerrero, 0);
        QVERIFY(bombear([&] { return k.estado() == cliente::fase::fuera; }));
        QVERIFY2(k.motivo().contains(QStringLiteral("nadie espera partidas")),
                 qPrintable(k.motivo()));
    }

    void nombres_repetidos() {
        // Players of one name are told apart by a number, within the
        // name's 24 bytes.
        mesa m(4);
        m.a->entrarlocal(QStringLiteral("Ana"), guerrero, 0);
        const QString largo = QString(12, QChar(0xf1)); // 24 bytes of "ñ"
        for (const QString& n : {QStringLiteral("Ana"), QStringLiteral("Ana"), largo, largo})
            QVERIFY(m.unir(guerrero, 1, n).estado() == cliente::fase::dentro);
        QStringList nombres;
        for (const red::jugadorred& j : m.a->lista())
            nombres << QString::fromStdString(j.nombre);
        nombres.sort();
        QCOMPARE(nombres,
                 QStringList({"Ana", "Ana 2", "Ana 3", QString(11, QChar(0xf1)) + " 2", largo}));
        for (const red::jugadorred& j : m.a->lista())
            QVERIFY(red::nombrevalido(j.nombre));
    }

    // A newcomer takes a living fighter of the type asked for when there is
    // one: team blue of four is slots 4 (warrior), 5 (archer), 6 (warrior),
    // 7 (archer).
    void luchador_para_quien_llega_data() {
        QTest::addColumn<QList<int>>("muertos");
        QTest::addColumn<QList<int>>("ocupados");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("elegido");
        QTest::newRow("el primero de su tipo") << QList<int>{} << QList<int>{} << 0 << 5;
        QTest::newRow("vivo antes que muerto") << QList<int>{5} << QList<int>{} << 0 << 7;
        QTest::newRow("su tipo muerto antes que otro vivo")
            << QList<int>{5, 7} << QList<int>{} << 0 << 5;
        QTest::newRow("otro tipo si no queda el suyo") << QList<int>{} << QList<int>{5, 7} << 0 << 4;
        QTest::newRow("otro tipo vivo antes que muerto")
            << QList<int>{4} << QList<int>{5, 7} << 0 << 6;
        QTest::newRow("equipo lleno") << QList<int>{} << QList<int>{4, 5, 6, 7} << 1 << -1;
    }
    void luchador_para_quien_llega() {
        QFETCH(QList<int>, muertos);
        QFETCH(QList<int>, ocupados);
        QFETCH(int, tipo);
        QFETCH(int, elegido);
        prueba::mundoprueba w;
        w.cargar(prueba::mundoprueba::plano(30, 30, {5, 5}, {20, 20}), 4, guerrero);
        for (int i : muertos)
            w.m.unidades[std::size_t(i)].muerto = verdadero;
        std::array<bool, numunidades> o{};
        for (int i : ocupados)
            o[std::size_t(i)] = true;
        QCOMPARE(int(red::elegirluchador(w.m, o, int16_t(tipo), 1)), elegido);
    }

    // A newcomer's fighter starts anew, as one coming back does: full life,
    // its type's own attack and armour; its kills stay on the scoreboard.
    // Every copy agrees.
    void quien_llega_empieza_de_nuevo() {
        mesa m(2);
        // Slot 3, the blue archer, wounded and grown by seven kills.
        m.anfitriona.escena([](prueba::mundoprueba& e) {
            unidad& u = e.m.unidades[3];
            u.vida = 40;
            u.ataque = 23;
            u.armadura = 1;
            u.muertes = 7;
        });
        cliente& c = m.unir(arquero, 1, QStringLiteral("Ana"));
        QCOMPARE(c.slot(), int16_t(3));
        QVERIFY(m.paso());
        for (const mundo* w : {&m.anfitriona.w, &m.copias[0]->w}) {
            const unidad& v = w->unidades[3];
            QCOMPARE(v.vida, int16_t(100));
            QCOMPARE(v.ataque, w->tipos[arquero].ataque);
            QCOMPARE(v.armadura, w->tipos[arquero].armadura);
            QCOMPARE(v.muertes, int16_t(7));
        }
        QCOMPARE(huellapartida(m.copias[0]->w), huellapartida(m.anfitriona.w));
    }

    // A player whose line breaks gets their fighter and name back with the
    // token of their welcome within the minute, and not after it; a
    // stranger's token is a newcomer's greeting.
    void volver_tras_un_corte() {
        mesa m(2);
        cliente& c = m.unir(arquero, 1, QStringLiteral("Ana"));
        const int16_t suyo = c.slot();
        QVERIFY(suyo >= 2 && !c.puedevolver());
        QVERIFY(m.paso());
        auto cortar = [&] {
            c.findChild<QTcpSocket*>()->abort();
            bombear([&] { return c.estado() == cliente::fase::fuera; });
            QVERIFY(c.puedevolver());
            const QString perdida = QStringLiteral("Ana (luchador %1) perdió la conexión").arg(suyo);
            QVERIFY(bombear([&] { return m.registrado(perdida); }));
            m.registro.clear();
            QVERIFY(m.paso());
            QCOMPARE(m.anfitriona.w.humano[suyo], falso);
        };
        cortar();
        // Meanwhile a newcomer of the same team and type gets the other one.
        cliente& otro = m.unir(arquero, 1, QStringLiteral("Eva"));
        QVERIFY(otro.slot() >= 2 && otro.slot() != suyo);
        m.ahora += anfitrion::esperavuelta / 2;
        c.volver();
        bombear([&] { return c.estado() != cliente::fase::conectando; });
        QCOMPARE(c.estado(), cliente::fase::dentro);
        QCOMPARE(c.slot(), suyo);
        QVERIFY(m.paso());
        QCOMPARE(m.anfitriona.w.humano[suyo], verdadero);
        QVERIFY(m.registrado(QStringLiteral("Ana volvió: luchador %1").arg(suyo)));
        QVERIFY(huellapartida(m.copias[0]->w) == huellapartida(m.anfitriona.w));

        // A game restarted meanwhile has lost the token: the same name from
        // the same address takes the fighter back all the same.
        cortar();
        cliente& otravez = m.unir(arquero, 1, QStringLiteral("Ana"));
        QCOMPARE(otravez.estado(), cliente::fase::dentro);
        QCOMPARE(otravez.slot(), suyo);
        otravez.salir();
        QVERIFY(bombear([&] { return m.registrado(QStringLiteral("salió de la partida")); }));
        c.volver();
        bombear([&] { return c.estado() != cliente::fase::conectando; });
        QCOMPARE(c.slot(), suyo);

        // Past the minute the fighter is free again, and the team is full.
        cortar();
        m.ahora += anfitrion::esperavuelta + 1000;
        QVERIFY(m.paso());
        QVERIFY(m.registrado(QStringLiteral("Ana no volvió a tiempo")));
        cliente& tercero = m.unir(guerrero, 1, QStringLiteral("Luis"));
        QCOMPARE(tercero.slot(), suyo);
        c.volver();
        bombear([&] { return c.estado() != cliente::fase::conectando; });
        QCOMPARE(c.estado(), cliente::fase::fuera);
        QVERIFY2(c.motivo().contains("El equipo azul no tiene ningún luchador libre"),
                 qPrintable(c.motivo()));

        // With both teams full the refusal says so.
        mesa llena(1);
        llena.unir(guerrero, 0, QStringLiteral("Uno"));
        llena.unir(guerrero, 1, QStringLiteral("Dos"));
        cliente& sobra = llena.unir(guerrero, 0, QStringLiteral("Tres"));
        QCOMPARE(sobra.estado(), cliente::fase::fuera);
        QVERIFY2(sobra.motivo().contains("Los dos equipos están llenos"),
                 qPrintable(sobra.motivo()));
    }

    // A host and three clients over a few thousand ticks: people join late,
    // leave and come back, everybody plays at random, the host pauses now and
    // then; no copy ever drifts and no fighter ever jumps.
    void copias_iguales() {
        // The balanced rules, whose random source every copy must draw alike.
        mesa m(4, "pradera.mapa", {}, {modoreglas::equilibradas, dificultad::dificil, 77});
        anfitrion& a = *m.a;
        const int16_t propio = a.entrarlocal(QStringLiteral("Anfitriona"), arquero, 0);
        QVERIFY(propio >= 0 && m.anfitriona.w.unidades[propio].tipo == arquero);
        cliente& c1 = m.unir(guerrero, 0, QStringLiteral("Uno"));
        cliente& c2 = m.unir(arquero, 1, QStringLiteral("Dos"));
        QVERIFY(c1.estado() == cliente::fase::dentro && c2.estado() == cliente::fase::dentro);
        QCOMPARE(m.copias[0]->w.unidades[c1.slot()].tipo, guerrero);
        QCOMPARE(m.copias[1]->w.unidades[c2.slot()].equipo, int16_t(1));
        QVERIFY(m.paso());
        QCOMPARE(m.anfitriona.w.humano[c1.slot()], verdadero);

        std::mt19937 r(1208);
        std::vector<posicion> antes(numunidades);
        std::vector<int16_t> muertoantes(numunidades);
        int16_t dejado = -1;
        for (int k = 0; k < 2400; ++k) {
            if (k == 300)
                m.unir(guerrero, 1, QStringLiteral("Tres"));
            if (k == 900) {
                dejado = c1.slot();
                c1.salir();
            }
            if (k == 1300)
                m.unir(guerrero, 0, QStringLiteral("Vuelve"));
            if (k % 500 == 250)
                a.accionlocal({tipoaccion::pausa, 0, 0, 0});
            if (k % 500 == 260)
                a.accionlocal({tipoaccion::pausa, 0, 0, 0});
            jugarazar(
                r, [&](int16_t c, bool b) { a.teclalocal(c, b); },
                [&] {
                    a.accionlocal({tipoaccion::espacio, 0, 0, 0});
                },
                [&](int px, int py) {
                    const posicion c = mundo::celdadepixel(m.anfitriona.p.vista(), px, py);
                    if (c.x >= 0 && c.y >= 0 && c.x <= m.anfitriona.w.anchomapa &&
                        c.y <= m.anfitriona.w.altomapa)
                        a.accionlocal({tipoaccion::click, 0, c.x, c.y});
                });
            for (auto& c : m.clientes)
                jugarazar(
                    r, [&](int16_t t, bool b) { c->teclaflecha(t, b); }, [&] { c->espacio(); },
                    [&](int px, int py) { c->clic(px, py); });
            QVERIFY2(m.paso(), "un cliente no jugó el paso a tiempo");
            const mundo& w = m.anfitriona.w;
            for (int i = 0; i < 2 * w.maxp; ++i) {
                const unidad& u = w.unidades[i];
                if (k > 0 && u.muerto != verdadero && muertoantes[i] != verdadero)
                    QVERIFY2(
                        std::abs(u.x - antes[i].x) <= 1 && std::abs(u.y - antes[i].y) <= 1,
                        qPrintable(
                            QStringLiteral("el luchador %1 saltó en el paso %2").arg(i).arg(k)));
                antes[i] = {u.x, u.y};
                muertoantes[i] = u.muerto;
            }
            if (k == 901)
                QCOMPARE(w.humano[dejado], falso);
        }
        QVERIFY(m.anfitriona.w.numtick > 2000);
        const uint64_t h = huellapartida(m.anfitriona.w);
        int jugando = 0;
        for (std::size_t i = 0; i < m.clientes.size(); ++i) {
            if (m.clientes[i]->estado() != cliente::fase::dentro)
                continue;
            ++jugando;
            QCOMPARE(huellapartida(m.copias[i]->w), h);
            // The clients play by the host's choice.
            QCOMPARE(m.copias[i]->w.regla, m.anfitriona.w.regla);
            // Each copy shows its own fighter.
            QCOMPARE(m.copias[i]->p.jugador(), m.clientes[i]->slot());
        }
        QCOMPARE(jugando, 3);
        QVERIFY2(!m.registrado(QStringLiteral("desincroniz")), qPrintable(m.registro.join('\n')));
        QVERIFY(m.registrado(QStringLiteral("Uno (luchador %1) salió").arg(dejado)));

        // Every copy recorded the match, hand-overs included: each record,
        // written out, read back and played on a copy of its own, ends where
        // the host is.
        auto reproducida = [](const partida& p) {
            repeticion r;
            const std::vector<uint8_t> archivo = escribirrepeticion(p.grabacion());
            const std::string e = leerrepeticion(archivo.data(), archivo.size(), r);
            copia otra;
            sucesos s;
            const std::string f = e.empty() ? otra.p.reproducir(r, [](const sucesos&) {}) : e;
            return f.empty() ? huellapartida(otra.w) : 0;
        };
        const auto relevos = std::count_if(
            m.anfitriona.p.grabacion().pasos.begin(), m.anfitriona.p.grabacion().pasos.end(),
            [](const juego::paso& x) { return !x.estick && x.a.tipo == tipoaccion::relevo; });
        QCOMPARE(relevos, 6); // the host, four joins and a leave
        // The records tell who played each fighter, on every copy alike.
        auto personas = [](const partida& p) {
            QStringList r;
            for (const jugadorcabecera& j : p.grabacion().final.jugadores)
                if (j.humano == verdadero)
                    r << QString::fromStdString(j.nombre);
            r.sort();
            return r;
        };
        const QStringList esperadas{"Anfitriona", "Dos", "Tres", "Vuelve"};
        QCOMPARE(personas(m.anfitriona.p), esperadas);
        for (std::size_t i = 0; i < m.clientes.size(); ++i)
            if (m.clientes[i]->estado() == cliente::fase::dentro)
                QCOMPARE(personas(m.copias[i]->p), esperadas);
        QCOMPARE(reproducida(m.anfitriona.p), h);
        for (std::size_t i = 0; i < m.clientes.size(); ++i)
            if (m.clientes[i]->estado() == cliente::fase::dentro)
                QCOMPARE(reproducida(m.copias[i]->p), h);

        // The host's match saved and loaded alone: the host's fighter is the
        // loader's, every other the computer's, and nothing else changed.
        copia sola;
        sucesos s;
        QCOMPARE(sola.p.cargarsolo(m.anfitriona.p.instantanea(), s), std::string());
        QCOMPARE(sola.p.jugador(), propio);
        for (int16_t i = 0; i < numunidades; ++i)
            QCOMPARE(sola.w.eshumano(i), i == propio);
        QCOMPARE(sola.w.numtick, m.anfitriona.w.numtick);
        QCOMPARE(sola.w.unidades[2].x, m.anfitriona.w.unidades[2].x);
        // The one who came back took a free warrior of their team: the one
        // left free, or another that was alive when it lay dead.
        const int16_t vuelto = m.clientes[3]->slot();
        QCOMPARE(m.anfitriona.w.unidades[vuelto].equipo, int16_t(0));
        QCOMPARE(m.anfitriona.w.unidades[vuelto].tipo, guerrero);
        QCOMPARE(a.lista().size(), std::size_t(4));
    }

    // Whatever a peer sends that it should not drops that peer alone.
    void peer_hostil_data() {
        QTest::addColumn<bool>("saluda");
        QTest::addColumn<QByteArray>("envio");
        QTest::addColumn<QString>("motivo");
        auto b = [](const std::vector<uint8_t>& v) {
            return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
        };
        const QByteArray largo("\xe8\x03\x00\x00\x02", 5);
        QTest::newRow("mas-largo-que-su-tipo") << true << largo << "más largo";
        QTest::newRow("tipo-desconocido")
            << true << QByteArray("\x01\x00\x00\x00\x63", 5) << "tipo";
        QTest::newRow("tipo-del-anfitrion") << true << b(bytes(red::rechazo{"x"})) << "tipo";
        QTest::newRow("cuerpo-cortado")
            << true << QByteArray("\x03\x00\x00\x00\x02\x00\x00", 7) << "cortad";
        QTest::newRow("antes-de-saludar")
            << false << b(bytes(red::tecla{1, 37, true})) << "antes de saludar";
        QTest::newRow("saludo-doble") << true << b(bytes(saludo())) << "dos veces";
        QTest::newRow("luchador-ajeno")
            << true << b(bytes(red::tecla{0, 37, true})) << "no es suyo";
        QTest::newRow("celda-fuera-del-mapa")
            << true << b(bytes(red::accionred{{tipoaccion::click, 2, 300, 10}}))
            << "fuera del mapa";
        QTest::newRow("pausa-de-un-cliente")
            << true << b(bytes(red::accionred{{tipoaccion::pausa, 2, 0, 0}})) << "pausar";
        QByteArray rafaga;
        for (int k = 0; k < 1000; ++k)
            rafaga += b(bytes(red::tecla{2, 37, k % 2 == 0}));
        QTest::newRow("rafaga") << true << rafaga << "demasiados mensajes";
        QTest::newRow("huella-de-un-tick-futuro")
            << true << b(bytes(red::huella{16000, 1})) << "fuera de orden";
        QTest::newRow("nombre-con-control") << false << b(bytes(saludo("a\nb"))) << "nombre";
        QTest::newRow("nombre-con-control-c1")
            << false << b(bytes(saludo("a\u0085b"))) << "nombre";
        // Each bad byte would come back in the player list as three.
        QTest::newRow("nombre-utf8-roto")
            << false << b(bytes(saludo(std::string(red::maxnombre, '\xff').c_str()))) << "nombre";
        red::hola otra = saludo();
        otra.version = "9.9\n[x] Servidor detenido.";
        QTest::newRow("version-con-salto-de-linea")
            << false << b(bytes(otra)) << "versión tiene caracteres";
        QTest::newRow("nunca-saluda") << false << QByteArray() << "no saludó a tiempo";
    }
    void peer_hostil() {
        QFETCH(bool, saluda);
        QFETCH(QByteArray, envio);
        QFETCH(QString, motivo);
        mesa m(2);
        cliente& bueno = m.unir(guerrero, 0);
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), m.a->puerto());
        QVERIFY(bombear([&] { return s.state() == QAbstractSocket::ConnectedState; }));
        if (saluda) {
            const auto h = bytes(saludo());
            s.write(reinterpret_cast<const char*>(h.data()), qint64(h.size()));
            QVERIFY(bombear([&] { return m.a->clientes() == 2; }));
            // The hostile peer took fighter 2, the first of team 1.
            QVERIFY(m.paso());
        }
        s.write(envio);
        for (int k = 0; k < 60 && s.state() != QAbstractSocket::UnconnectedState; ++k) {
            QVERIFY(m.paso());
            bombear([&] { return s.state() == QAbstractSocket::UnconnectedState; }, 20);
        }
        QCOMPARE(s.state(), QAbstractSocket::UnconnectedState);
        QVERIFY2(m.registrado(motivo), qPrintable(m.registro.join('\n')));
        QVERIFY(m.paso());
        QCOMPARE(bueno.estado(), cliente::fase::dentro);
        QCOMPARE(m.a->clientes(), 1);
        QCOMPARE(m.anfitriona.w.humano[2], falso);
        QCOMPARE(huellapartida(m.copias[0]->w), huellapartida(m.anfitriona.w));
    }

    // Stopping the match while a player's line was just reset: the goodbye
    // that fails to leave must not pull the peer out from under the stop.
    void detener_con_linea_rota() {
        mesa m(2);
        m.unir(guerrero, 0);
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), m.a->puerto());
        QVERIFY(bombear([&] { return s.state() == QAbstractSocket::ConnectedState; }));
        const auto h = bytes(saludo());
        s.write(reinterpret_cast<const char*>(h.data()), qint64(h.size()));
        QVERIFY(bombear([&] { return m.a->clientes() == 2; }));
        // Closing with no linger sends a reset instead of a goodbye.
        const linger l{1, 0};
        ::setsockopt(int(s.socketDescriptor()), SOL_SOCKET, SO_LINGER, &l, sizeof l);
        s.abort();
        QThread::msleep(50);
        m.a->detener(QStringLiteral("El servidor se detuvo."));
        QVERIFY(bombear([&] { return m.clientes[0]->estado() == cliente::fase::fuera; }));
        QCOMPARE(m.clientes[0]->motivo(), QStringLiteral("El servidor se detuvo."));
        QCOMPARE(m.a->clientes(), 0);
        QVERIFY2(!m.registrado(QStringLiteral("salió")), qPrintable(m.registro.join('\n')));
    }

    // Another version is refused, naming both; a full team refuses too.
    void entrada_rechazada() {
        mesa m(1);
        m.copias.push_back(std::make_unique<copia>());
        m.clientes.push_back(std::make_unique<cliente>(m.copias.back()->p));
        cliente& viejo = *m.clientes.back();
        viejo.version = "0.0.9";
        viejo.conectar(QStringLiteral("127.0.0.1"), m.a->puerto(), QStringLiteral("Viejo"),
                       guerrero, 0);
        QVERIFY(bombear([&] { return viejo.estado() == cliente::fase::fuera; }));
        QVERIFY2(viejo.motivo().contains(QStringLiteral("0.0.9")) &&
                     viejo.motivo().contains(QStringLiteral(TARNHOLLOW_VERSION)),
                 qPrintable(viejo.motivo()));
        QVERIFY(m.unir(guerrero, 0).estado() == cliente::fase::dentro);
        cliente& tarde = m.unir(guerrero, 0, QStringLiteral("Tarde"));
        QCOMPARE(tarde.estado(), cliente::fase::fuera);
        // Players know the teams by their colours.
        QVERIFY2(
            tarde.motivo().contains(QStringLiteral("El equipo rojo no tiene ningún luchador")),
            qPrintable(tarde.motivo()));
    }

    // A copy that went astray is noticed by its hash and given the match again.
    void desincronizacion_reparada() {
        mesa m(3);
        cliente& c = m.unir(arquero, 1);
        QString aviso;
        QObject::connect(&c, &cliente::aviso, [&](const QString& t) { aviso = t; });
        for (int k = 0; k < 20; ++k)
            QVERIFY(m.paso());
        m.copias[0]->escena([](prueba::mundoprueba& e) { e.m.unidades[0].vida -= 7; });
        for (int k = 0; k < 40 && aviso.isEmpty(); ++k)
            QVERIFY(m.paso());
        QCOMPARE(aviso, QStringLiteral("La partida se desincronizó."));
        QVERIFY(m.registrado(QStringLiteral("se desincronizó en el tick 32")));
        for (int k = 0; k < 40; ++k)
            QVERIFY(m.paso());
        QCOMPARE(huellapartida(m.copias[0]->w), huellapartida(m.anfitriona.w));
        QCOMPARE(c.estado(), cliente::fase::dentro);
        QCOMPARE(m.copias[0]->p.jugador(), c.slot());

        // A backlog of wrong hashes, all older than the copy sent to replace
        // the first one's, is answered once.
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), m.a->puerto());
        QVERIFY(bombear([&] { return s.state() == QAbstractSocket::ConnectedState; }));
        QByteArray envio;
        for (const red::mensaje& x :
             {red::mensaje(saludo()), red::mensaje(red::huella{16, 1}),
              red::mensaje(red::huella{32, 1}), red::mensaje(red::huella{48, 1})}) {
            const auto b = bytes(x);
            envio.append(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
        }
        s.write(envio);
        QVERIFY(bombear([&] { return m.registrado(QStringLiteral("Hostil (luchador")); }));
        for (int k = 0; k < 4; ++k)
            QVERIFY(m.paso());
        QCOMPARE(m.registro.filter(QStringLiteral("de Hostil")).size(), 1);
    }

    // A client process killed in the middle of the match frees its fighter.
    void cliente_matado() {
        mesa m(2);
        QProcess sim;
        sim.start(QStringLiteral(SIM_PATH), {});
        QVERIFY(sim.waitForStarted(5000));
        sim.write(
            QStringLiteral("unirse 127.0.0.1 %1 Arquero 1\nestado\n").arg(m.a->puerto()).toUtf8());
        QByteArray salida;
        // The harness answers each batch of commands with its `estado`.
        auto respuesta = [&] {
            return bombear(
                [&] {
                    salida += sim.readAllStandardOutput();
                    return salida.contains("\"humanos\"");
                },
                10000);
        };
        QVERIFY(respuesta());
        QVERIFY2(salida.startsWith("ok\n"), salida.constData());
        QCOMPARE(m.a->clientes(), 1);
        const int16_t slot = m.a->lista().at(0).slot;
        QVERIFY(salida.contains(QStringLiteral("\"humanos\":[%1]").arg(slot).toUtf8()));
        // `esperar` stops at exactly the asked tick, even with later ones in.
        const uint32_t t = m.anfitriona.w.numtick + 3;
        sim.write(QStringLiteral("esperar %1\nestado\n").arg(t).toUtf8());
        for (int k = 0; k < 6; ++k)
            m.a->paso();
        salida.clear();
        QVERIFY(respuesta());
        QVERIFY2(salida.startsWith("ok\n") &&
                     salida.contains(QStringLiteral("\"tick\":%1,").arg(t).toUtf8()),
                 salida.constData());
        // The harness's copy, held at tick t, keeps the match and its replay;
        // the replay, played on a copy of its own, ends where that match is.
        QTemporaryDir d;
        const QString foto = d.filePath(QStringLiteral("t.partida"));
        const QString grabada = d.filePath(QStringLiteral("t.repeticion"));
        sim.write(
            QStringLiteral("instantanea %1\nrepeticion %2\nestado\n").arg(foto, grabada).toUtf8());
        salida.clear();
        QVERIFY(respuesta());
        QVERIFY2(!salida.contains("error"), salida.constData());
        copia restaurada, reproducida;
        std::vector<uint8_t> datos;
        sucesos ss;
        QCOMPARE(leerbinario(foto.toStdString(), 64u << 20, datos), std::string());
        QCOMPARE(restaurada.p.restaurar(datos, ss), std::string());
        repeticion r;
        QCOMPARE(leerbinario(grabada.toStdString(), 64u << 20, datos), std::string());
        QCOMPARE(leerrepeticion(datos.data(), datos.size(), r), std::string());
        QCOMPARE(reproducida.p.reproducir(r, [](const sucesos&) {}), std::string());
        QCOMPARE(reproducida.w.numtick, t);
        QCOMPARE(huellapartida(reproducida.w), huellapartida(restaurada.w));
        sim.kill();
        sim.waitForFinished(5000);
        QVERIFY(bombear([&] { return m.a->clientes() == 0; }));
        QVERIFY(m.paso());
        QCOMPARE(m.anfitriona.w.humano[slot], falso);
        // A killed game said no goodbye: its fighter waits for it a while.
        QVERIFY(m.registrado(QStringLiteral("perdió la conexión")));
    }

    // A host that sends nonsense, or nothing, ends the match with a message.
    void anfitrion_hostil_data() {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("paso-sin-bienvenida") << 0 << "bienvenida";
        QTest::newRow("mensaje-de-cliente") << 1 << "no válidos";
        QTest::newRow("partida-rota") << 2 << "no se puede cargar";
        QTest::newRow("pasos-desordenados") << 3 << "desordenados";
        QTest::newRow("silencio") << 4 << "Se perdió la conexión con el servidor";
        QTest::newRow("luchador-inexistente") << 5 << "no existe";
    }
    void anfitrion_hostil() {
        QFETCH(int, caso);
        QFETCH(QString, motivo);
        copia real;
        sucesos s;
        QCOMPARE(real.p.cargar(MAPAS_DIR "/pradera.mapa", 2, guerrero, s), std::string());
        QTcpServer falso_;
        QVERIFY(falso_.listen(QHostAddress::LocalHost, 0));
        copia mia;
        cliente c(mia.p);
        c.silenciomaximo = 300;
        c.conectar(QStringLiteral("127.0.0.1"), falso_.serverPort(), QStringLiteral("Ana"),
                   guerrero, 0);
        QVERIFY(bombear([&] { return falso_.hasPendingConnections(); }));
        QTcpSocket* s2 = falso_.nextPendingConnection();
        auto mandar = [&](const red::mensaje& m) {
            const auto b = bytes(m);
            s2->write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
        };
        const red::bienvenida buena{1, 0, real.p.instantanea()};
        if (caso == 0)
            mandar(red::paso{});
        if (caso == 1)
            mandar(red::tecla{0, 37, true});
        if (caso == 2)
            mandar(red::bienvenida{1, 0, {1, 2, 3}});
        if (caso == 3) {
            mandar(buena);
            red::paso p;
            p.secuencia = 2;
            mandar(p);
        }
        if (caso == 4)
            mandar(buena);
        if (caso == 5)
            mandar(red::bienvenida{9, 0, real.p.instantanea()});
        QVERIFY(bombear([&] { return c.estado() == cliente::fase::fuera; }, 3000));
        QVERIFY2(c.motivo().contains(motivo), qPrintable(c.motivo()));
    }

    // A peer joining and leaving over and over: no step carries more
    // hand-overs than a client takes, and joins past the allowance of an
    // address are refused saying why, while a second one is always let in.
    void entradas_seguidas_data() {
        QTest::addColumn<double>("permitidas");
        QTest::addColumn<int>("vueltas");
        QTest::addColumn<int>("recibidas");
        QTest::newRow("segunda-entrada-seguida") << 4.0 << 1 << 1;
        QTest::newRow("rafaga-de-entradas-rechazada") << 4.0 << 30 << 3;
        QTest::newRow("mas-relevos-que-caben-en-un-paso") << 1000.0 << 60 << 60;
    }
    void entradas_seguidas() {
        QFETCH(double, permitidas);
        QFETCH(int, vueltas);
        QFETCH(int, recibidas);
        mesa m(4);
        m.a->entradasseguidas = permitidas;
        cliente& bueno = m.unir(guerrero, 0);
        QVERIFY(m.paso());
        int dentro = 0;
        QStringList motivos;
        for (int k = 0; k < vueltas; ++k) {
            hostil h;
            if (h.entrar(m.a->puerto())) {
                ++dentro;
                h.mandar(red::adios{});
            } else {
                red::desenmarcador d(true);
                const QByteArray b = h.s.readAll();
                std::vector<uint8_t> cuerpo;
                red::mensaje r;
                if (d.meter(reinterpret_cast<const uint8_t*>(b.data()), std::size_t(b.size())) &&
                    d.sacar(cuerpo) && red::decodificar(cuerpo.data(), cuerpo.size(), r).empty() &&
                    std::holds_alternative<red::rechazo>(r))
                    motivos << QString::fromStdString(std::get<red::rechazo>(r).motivo);
            }
            QVERIFY(bombear([&] { return m.a->clientes() == 1; }));
        }
        for (int k = 0; k < 6; ++k)
            QVERIFY(m.paso());
        QCOMPARE(dentro, recibidas);
        QCOMPARE(motivos.size(), vueltas - recibidas);
        for (const QString& t : motivos)
            QVERIFY2(
                t.startsWith(QStringLiteral("Demasiadas entradas seguidas desde tu dirección")),
                qPrintable(t));
        QCOMPARE(bueno.estado(), cliente::fase::dentro);
        QCOMPARE(huellapartida(m.copias[0]->w), huellapartida(m.anfitriona.w));
        // A minute later the address may join again.
        m.ahora += 60000;
        hostil otro;
        QVERIFY(otro.entrar(m.a->puerto()));
    }

    // Limits that drop a peer for what it did itself: four peers filling the
    // step, a backlog after a stall, and a peer that never stops.
    void limites_justos_data() {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QString>("echado");
        QTest::newRow("cuatro-llenan-el-paso") << 0 << "";
        QTest::newRow("atasco-de-cinco-segundos") << 1 << "";
        QTest::newRow("inundacion-sostenida") << 2 << "Hostil0 (luchador";
    }
    void limites_justos() {
        QFETCH(int, caso);
        QFETCH(QString, echado);
        mesa m(4);
        m.a->entradasseguidas = 16;
        cliente& bueno = m.unir(guerrero, 0);
        std::vector<std::unique_ptr<hostil>> malos;
        for (int i = 0; i < 4; ++i) {
            malos.push_back(std::make_unique<hostil>());
            QVERIFY(malos.back()->entrar(m.a->puerto(), "Hostil" + std::to_string(i)));
        }
        QVERIFY(m.paso());
        std::vector<int16_t> suyos(4, -1);
        for (const red::jugadorred& j : m.a->lista())
            if (j.nombre.starts_with("Hostil"))
                suyos[std::size_t(j.nombre[6] - '0')] = j.slot;
        QVERIFY(std::find(suyos.begin(), suyos.end(), -1) == suyos.end());
        const int pasos = caso == 2 ? 40 : 8;
        if (caso == 1) {
            // The host froze: what the player did meanwhile comes at once.
            m.ahora += 5000;
            for (int k = 0; k < 300; ++k) {
                bueno.espacio();
                bueno.teclaflecha(int16_t(37 + k % 4), k % 2 == 0);
            }
        }
        for (int k = 0; k < pasos; ++k) {
            if (caso == 0)
                for (std::size_t i = 0; i < malos.size(); ++i)
                    for (int j = 0; j < 64; ++j)
                        malos[i]->mandar(red::accionred{{tipoaccion::espacio, suyos[i], 0, 0}});
            if (caso == 2 && malos[0]->s.state() == QAbstractSocket::ConnectedState)
                for (int j = 0; j < 200; ++j)
                    malos[0]->mandar(red::accionred{{tipoaccion::espacio, suyos[0], 0, 0}});
            bombear([&] { return false; }, 5);
            bueno.espacio();
            QVERIFY(m.paso());
        }
        for (int k = 0; k < 20; ++k)
            QVERIFY(m.paso());
        QCOMPARE(bueno.estado(), cliente::fase::dentro);
        QCOMPARE(huellapartida(m.copias[0]->w), huellapartida(m.anfitriona.w));
        const QStringList fuera = m.registro.filter(QStringLiteral("queda fuera"));
        if (echado.isEmpty())
            QVERIFY2(fuera.isEmpty(), qPrintable(fuera.join('\n')));
        else
            QVERIFY2(fuera.size() == 1 && fuera[0].startsWith(echado) &&
                         fuera[0].contains(QStringLiteral("por segundo")),
                     qPrintable(fuera.join('\n')));
        // Every stroke of the honest player went into a step.
        QVERIFY(golpes(m.anfitriona.p, bueno.slot()) >= pasos);
    }

    // Connections that never say hello keep nobody out and write no line
    // each; a peer that never reads gets one repair at a time.
    void conexiones_ociosas() {
        mesa m(2);
        std::vector<std::unique_ptr<QTcpSocket>> ociosas;
        const auto abiertas = [&](QAbstractSocket::SocketState e) {
            return std::count_if(ociosas.begin(), ociosas.end(),
                                 [e](const auto& s) { return s->state() == e; });
        };
        // In batches within the listening backlog.
        for (int k = 0; k < 120; ++k) {
            ociosas.push_back(std::make_unique<QTcpSocket>());
            ociosas.back()->connectToHost(QStringLiteral("127.0.0.1"), m.a->puerto());
            if (k % 20 == 19)
                QVERIFY(bombear([&] {
                    return abiertas(QAbstractSocket::ConnectedState) <=
                               red::anfitrion::sinsaludopordireccion &&
                           abiertas(QAbstractSocket::ConnectingState) == 0;
                }));
        }
        cliente& bueno = m.unir(guerrero, 0);
        QVERIFY2(bueno.estado() == cliente::fase::dentro, qPrintable(bueno.motivo()));
        QVERIFY2(m.registro.size() <= 3, qPrintable(m.registro.join('\n')));
        m.ahora += 60000;
        QVERIFY(m.paso());
        QVERIFY2(m.registrado(QStringLiteral("Conexiones que quedaron fuera en el último minuto")),
                 qPrintable(m.registro.join('\n')));
        QVERIFY2(m.registro.size() <= 4, qPrintable(m.registro.join('\n')));
    }

    void reparaciones_sin_leer() {
        mesa m(8, "bosque.mapa");
        cliente& bueno = m.unir(guerrero, 0);
        const qint64 copia = qint64(m.anfitriona.p.instantanea().size());
        // A peer with a tiny window that never reads a byte.
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        const int poco = 1024;
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &poco, sizeof poco);
        sockaddr_in dir{};
        dir.sin_family = AF_INET;
        dir.sin_port = htons(m.a->puerto());
        dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QVERIFY(::connect(fd, reinterpret_cast<const sockaddr*>(&dir), sizeof dir) == 0);
        auto mandar = [fd](const red::mensaje& x) {
            const auto b = bytes(x);
            return ::write(fd, b.data(), b.size()) == ssize_t(b.size());
        };
        QVERIFY(mandar(saludo()));
        QVERIFY(bombear([&] { return m.a->clientes() == 2; }));
        qint64 maximo = 0;
        int pedidas = 0;
        for (int k = 0; k < 640; ++k) {
            QVERIFY(m.paso());
            const uint32_t t = m.anfitriona.w.numtick;
            if (t % red::anfitrion::cadahuella == 0) {
                QVERIFY(mandar(red::huella{t, 1}));
                ++pedidas;
            }
            maximo = std::max(maximo, m.a->pendiente());
        }
        ::close(fd);
        QVERIFY(pedidas >= 30);
        // The step messages and one copy of the match, never a pile of them.
        QVERIFY2(
            maximo < 2 * copia + 64 * 1024,
            qPrintable(QStringLiteral("%1 bytes pendientes, copia de %2").arg(maximo).arg(copia)));
        QCOMPARE(bueno.estado(), cliente::fase::dentro);
    }

    // A player that falls silent: keys let go after a second, the fighter to
    // the computer after ten (in a step, so every copy agrees), back to the
    // player when it speaks again; a paused player's heartbeat keeps it in.
    void jugador_callado() {
        mesa m(2);
        cliente& bueno = m.unir(guerrero, 0);
        hostil h;
        QVERIFY(h.entrar(m.a->puerto()));
        QVERIFY(m.paso());
        const int16_t slot = m.a->lista().back().slot;
        h.mandar(red::tecla{slot, 39, true});
        QVERIFY(bombear([&] { return h.s.bytesToWrite() == 0; }));
        bombear([] { return false; }, 20);
        QVERIFY(m.paso());
        QVERIFY(conteclas(m.anfitriona.p, slot));
        for (int k = 0; k < 9; ++k)
            QVERIFY(m.paso());
        QVERIFY(!conteclas(m.anfitriona.p, slot));
        QCOMPARE(m.anfitriona.w.humano[slot], verdadero);
        for (int k = 0; k < 72; ++k)
            QVERIFY(m.paso());
        QCOMPARE(m.anfitriona.w.humano[slot], falso);
        QCOMPARE(m.copias[0]->w.humano[slot], falso);
        QCOMPARE(h.s.state(), QAbstractSocket::ConnectedState);
        QVERIFY(m.registrado(QStringLiteral("Hostil (luchador %1) no da señales").arg(slot)));
        h.mandar(red::tecla{slot, 39, false});
        bombear([] { return false; }, 20);
        QVERIFY(m.paso());
        QCOMPARE(m.anfitriona.w.humano[slot], verdadero);
        QCOMPARE(m.copias[0]->w.humano[slot], verdadero);

        m.a->accionlocal({tipoaccion::pausa, 0, 0, 0});
        for (int k = 0; k < 120; ++k)
            QVERIFY(m.paso());
        QCOMPARE(m.anfitriona.w.pausado, verdadero);
        QCOMPARE(m.anfitriona.w.humano[bueno.slot()], verdadero);
        QCOMPARE(bueno.estado(), cliente::fase::dentro);
        QCOMPARE(huellapartida(m.copias[0]->w), huellapartida(m.anfitriona.w));
    }

    // Names as every screen shows them, and the log never carries a
    // character that turns or hides a line.
    void nombres_limpios_data() {
        QTest::addColumn<QString>("pedido");
        QTest::addColumn<QString>("visto");
        QTest::newRow("vuelta-bidi") << QStringLiteral("\u202eLuis") << "Luis";
        QTest::newRow("ancho-cero-como-otro") << QStringLiteral("A\u200bna") << "Ana 2";
        QTest::newRow("solo-espacios") << QStringLiteral("   ") << "Jugador";
        QTest::newRow("relleno-invisible") << QStringLiteral("\u3164\u3164") << "Jugador";
        QTest::newRow("espacios-de-sobra") << QStringLiteral("  Luis   Mar\u00a0 ") << "Luis Mar";
        QTest::newRow("marcas-apiladas")
            << QStringLiteral("x\u0301\u0301\u0301\u0301\u0301") << "x\u0301\u0301";
        QTest::newRow("compuesta-o-no-igual") << QStringLiteral("Jose\u0301") << "José";
    }
    void nombres_limpios() {
        QFETCH(QString, pedido);
        QFETCH(QString, visto);
        mesa m(2);
        m.a->entrarlocal(QStringLiteral("Ana"), guerrero, 0);
        QCOMPARE(m.unir(guerrero, 1, pedido).estado(), cliente::fase::dentro);
        QStringList nombres;
        for (const red::jugadorred& j : m.a->lista())
            nombres << QString::fromStdString(j.nombre);
        QCOMPARE(nombres.size(), 2);
        QVERIFY2(nombres.contains(visto), qPrintable(nombres.join('|')));
        for (const QString& l : m.registro)
            for (const QChar c : l)
                QVERIFY2(c.category() != QChar::Other_Format &&
                             c.category() != QChar::Other_Control,
                         qPrintable(l));
    }

    // After the goal is reached the next match starts by itself on the same
    // map, every player in the fighter it had.
    void partida_siguiente() {
        const objetivo o{tipoobjetivo::tiempo, 1};
        mesa m(2, "pradera.mapa", o);
        m.a->siguientepartida = [&m, o] {
            sucesos s;
            if (!m.anfitriona.p.cargar(MAPAS_DIR "/pradera.mapa", 2, guerrero, s, o).empty())
                return false;
            m.anfitriona.p.hacerred();
            return true;
        };
        cliente& c = m.unir(arquero, 1);
        QString aviso;
        QObject::connect(&c, &cliente::aviso, [&](const QString& t) { aviso = t; });
        for (int k = 0; k < 12; ++k)
            QVERIFY(m.paso());
        QCOMPARE(m.anfitriona.w.fin, verdadero);
        for (int k = 0; k < 200 && aviso.isEmpty(); ++k)
            QVERIFY(m.paso());
        QCOMPARE(aviso, QStringLiteral("Empieza la partida siguiente."));
        QCOMPARE(m.anfitriona.w.fin, falso);
        for (int k = 0; k < 40; ++k)
            QVERIFY(m.paso());
        QCOMPARE(c.estado(), cliente::fase::dentro);
        QCOMPARE(m.anfitriona.w.humano[c.slot()], verdadero);
        QCOMPARE(huellapartida(m.copias[0]->w), huellapartida(m.anfitriona.w));
        QVERIFY2(!m.registrado(QStringLiteral("queda fuera")), qPrintable(m.registro.join('\n')));
    }

    // The host quits: the goodbye leaves before its lines close.
    void despedida_del_anfitrion() {
        mesa m(4);
        for (int k = 0; k < 3; ++k)
            m.unir(guerrero, int16_t(k % 2), QStringLiteral("J%1").arg(k));
        QVERIFY(m.paso());
        m.a->cerrar();
        m.a.reset();
        QVERIFY(bombear([&] {
            return std::all_of(m.clientes.begin(), m.clientes.end(),
                               [](const auto& c) { return c->estado() == cliente::fase::fuera; });
        }));
        for (const auto& c : m.clientes)
            QCOMPARE(c->motivo(), QStringLiteral("El anfitrión cerró la partida."));
    }
};

QTEST_GUILESS_MAIN(TestRed)
#include "test_red.moc"
