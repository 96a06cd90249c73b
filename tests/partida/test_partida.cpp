// The match as data: snapshots and replays give back exactly the match they
// were taken from, bad files change nothing, and the tick reports what
// happened as events.
#include "apoyo/jugadorazar.h"
#include "apoyo/mundoprueba.h"
#include "apoyo/planos.h"
#include "Juego/nucleo/busqueda.h"
#include "Juego/nucleo/cabecera.h"
#include "Juego/nucleo/instantanea.h"
#include "Juego/nucleo/repeticion.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <random>
#include <tuple>
#include <utility>

using namespace juego;
using prueba::jugadorazar;
using prueba::mundoprueba;
using prueba::partidaprueba;

namespace {

comun::plano mapade(const char* nombre) {
    comun::lectura l = comun::leerarchivo(std::string(MAPAS_DIR "/") + nombre);
    if (!l)
        throw std::runtime_error(l.error);
    return *l.mapa;
}

} // namespace

// The bytes of the match's own fields in an unpacked snapshot, before
// its first fighter: sizes, flags, the human marks, the tick, the goal
// and end, the starts, the types, the rules (mode, level, seed,
// edition), their random source, the queued actions and the weighing of
// the types.
constexpr std::size_t campospartida =
    2 * 5 + 2 * numunidades + 4 + 8 + 4 * 3 + 4 * 3 + (2 + 2 + 4 + 2) + 8 + 6 * numunidades + 4;

class TestPartida : public QObject {
    Q_OBJECT

private slots:
    void instantanea_ida_y_vuelta_data() {
        QTest::addColumn<QString>("mapa");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("antes");
        // A match on a larger map played before, in the same world.
        QTest::addColumn<QString>("previo");
        QTest::newRow("pradera-guerrero") << "pradera.mapa" << int(guerrero) << 700 << "";
        QTest::newRow("bosque-arquero") << "bosque.mapa" << int(arquero) << 1500 << "";
        QTest::newRow("islas-al-empezar") << "islas.mapa" << int(arquero) << 0 << "";
        // Destinations and next steps are left over from the larger map.
        QTest::newRow("pradera-tras-bosque")
            << "pradera.mapa" << int(guerrero) << 0 << "bosque.mapa";
    }
    void instantanea_ida_y_vuelta() {
        QFETCH(QString, mapa);
        QFETCH(int, tipo);
        QFETCH(int, antes);
        QFETCH(QString, previo);
        partidaprueba a;
        jugadorazar ja(7);
        if (!previo.isEmpty()) {
            a.cargar(mapade(qPrintable(previo)), 8, guerrero);
            for (int t = 0; t < 300; ++t)
                ja.jugar(a);
        }
        a.cargar(mapade(qPrintable(mapa)), 8, int16_t(tipo));
        for (int t = 0; t < antes; ++t)
            ja.jugar(a);
        const std::vector<uint8_t> foto = a.p.instantanea();
        a.plat.pedidos.clear();

        // Restored into a world that has played another match before.
        partidaprueba b;
        b.cargar(mapade("rio.mapa"), 3, guerrero);
        b.tick(50);
        sucesos s;
        QCOMPARE(QString::fromStdString(b.p.restaurar(foto, s)), QString());
        b.plat.recibir(s);
        b.plat.pedidos.clear();
        QCOMPARE(b.plat.status, a.plat.status);
        QVERIFY(b.p.instantanea() == foto);

        // The same player, with the same keys held, from here on: the same
        // match, tick for tick.
        b.plat.teclas = a.plat.teclas;
        jugadorazar jb = ja;
        for (int t = 0; t < 600; ++t) {
            ja.jugar(a);
            jb.jugar(b);
            // Every few ticks: a snapshot costs a look at the whole grid.
            if ((t % 4 == 0 || t == 599) && a.p.instantanea() != b.p.instantanea())
                QFAIL(
                    qPrintable(QStringLiteral("matches part at tick %1 after restoring").arg(t)));
        }
        QCOMPARE(b.plat.pedidos, a.plat.pedidos);
    }

    void repeticion_ida_y_vuelta() {
        partidaprueba a;
        a.cargar(mapade("fortaleza.mapa"), 6, arquero);
        jugadorazar j(11);
        std::vector<std::vector<uint8_t>> fotos;
        for (int t = 0; t < 1500; ++t) {
            const uint64_t antes = a.p.grabacion().ticks();
            j.jugar(a);
            if (a.p.grabacion().ticks() != antes)
                fotos.push_back(t % 3 == 0 ? a.p.instantanea() : std::vector<uint8_t>{});
        }
        a.tecla(80); // ends paused, with a stroke after the last tick
        a.tecla(32);
        const std::vector<uint8_t> bytes = escribirrepeticion(a.p.grabacion());

        repeticion r;
        QCOMPARE(QString::fromStdString(leerrepeticion(bytes.data(), bytes.size(), r)), QString());
        QCOMPARE(r.ticks(), a.p.grabacion().ticks());
        partidaprueba b;
        sucesos s;
        QCOMPARE(QString::fromStdString(b.p.restaurar(r.inicio, s)), QString());
        std::size_t tick = 0;
        for (const paso& p : r.pasos) {
            for (uint32_t k = 0; k < p.veces; ++k) {
                b.p.aplicarpaso(p);
                // Ticks only run unpaused, so each tick step matches a photo.
                if (p.estick && !fotos[tick++].empty() && b.p.instantanea() != fotos[tick - 1])
                    QFAIL(qPrintable(QStringLiteral("replay parts at tick %1").arg(tick)));
            }
        }
        QCOMPARE(tick, fotos.size());
        QVERIFY(b.p.instantanea() == a.p.instantanea());
        QCOMPARE(b.m.pausado, verdadero);

        // Played in one go, as the harness does, and written again the same.
        partidaprueba c;
        QCOMPARE(QString::fromStdString(c.p.reproducir(r, [](const sucesos&) {})), QString());
        QVERIFY(c.p.instantanea() == a.p.instantanea());
        QVERIFY(escribirrepeticion(c.p.grabacion()) == bytes);
    }

    // A record that reaches the most a replay holds keeps what it has, as
    // the match stood then, says so once, and the replay still reads and
    // plays; the match itself goes on.
    void repeticion_llena() {
        partidaprueba a;
        a.cargar(mapade("pradera.mapa"), 2, guerrero);
        a.tick(3);
        int avisos = 0;
        // Each pause is a step of its own: the quickest way there.
        auto pausas = [&](std::size_t n) {
            for (std::size_t k = 0; k < n; ++k)
                for (const suceso& e : a.p.aplicar({tipoaccion::pausa, 0, 0, 0}))
                    avisos += e.tipo == tiposuceso::aviso;
        };
        pausas(maxpasosrepeticion - a.p.grabacion().pasos.size());
        QCOMPARE(a.p.grabacion().pasos.size(), maxpasosrepeticion);
        QVERIFY(a.p.grabando());
        QCOMPARE(avisos, 0);
        pausas(a.m.pausado == verdadero ? 3 : 4); // ends unpaused
        a.tick(5);
        QCOMPARE(avisos, 1);
        QCOMPARE(a.p.grabacion().pasos.size(), maxpasosrepeticion);
        QCOMPARE(a.p.grabacion().final.ticks, uint64_t(3));
        QCOMPARE(a.m.numtick, 8u);

        const std::vector<uint8_t> bytes = escribirrepeticion(a.p.grabacion());
        repeticion r;
        QCOMPARE(QString::fromStdString(leerrepeticion(bytes.data(), bytes.size(), r)), QString());
        QCOMPARE(r.ticks(), uint64_t(3));
    }

    // A file that cannot be read says why in Spanish, and hands nothing on.
    void leer_archivo_data() {
        QTest::addColumn<QString>("nombre"); // inside a fresh folder
        QTest::addColumn<int>("bytes");      // written there first, or -1
        QTest::addColumn<QString>("motivo");
        QTest::newRow("no-existe") << "nada.partida" << -1 << "no existe";
        QTest::newRow("carpeta") << "." << -1 << "no es un archivo normal";
        QTest::newRow("demasiado-grande") << "g.partida" << 11 << "demasiado grande";
        QTest::newRow("cabe-justo") << "j.partida" << 10 << "";
    }
    void leer_archivo() {
        QFETCH(QString, nombre);
        QFETCH(int, bytes);
        QFETCH(QString, motivo);
        QTemporaryDir d;
        const std::string ruta = (d.path() + "/" + nombre).toStdString();
        if (bytes >= 0) {
            QFile f(QString::fromStdString(ruta));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(bytes, 'x'));
        }
        std::vector<uint8_t> datos{1, 2, 3};
        const QString e = QString::fromStdString(leerbinario(ruta, 10, datos));
        QVERIFY2(e.contains(motivo), qPrintable(e));
        QCOMPARE(datos.size(), motivo.isEmpty() ? std::size_t(bytes) : std::size_t(0));
        QVERIFY2(!e.contains("No such") && !e.contains("directory"), qPrintable(e));
    }

    void archivos_malos_data() {
        QTest::addColumn<bool>("esrepeticion");
        QTest::addColumn<int>("cambio");
        QTest::addColumn<QString>("motivo");
        // Changes to a good file, by kind (see below).
        QTest::newRow("vacio") << false << 0 << "no es una partida guardada";
        QTest::newRow("otra-firma") << false << 1 << "no es una partida guardada";
        QTest::newRow("otra-version") << false << 2 << "formato 9";
        QTest::newRow("cortado-a-la-mitad") << false << 3 << "cortado";
        QTest::newRow("un-byte-de-menos") << false << 4 << "cortado";
        QTest::newRow("un-byte-de-mas") << false << 5 << "de más";
        QTest::newRow("nueve-por-equipo") << false << 6 << "1 a 8";
        QTest::newRow("mapa-enorme-sin-celdas") << false << 7 << "cortado";
        QTest::newRow("marca-humana-rara") << false << 8 << "-1 ni 0";
        QTest::newRow("camino-de-4-gb") << false << 9 << "cortado";
        // The other kind of file is named, with where it opens.
        QTest::newRow("una-repeticion") << false << 10 << "es una repetición, que se ve con";
        QTest::newRow("r-vacia") << true << 0 << "no es una repetición";
        QTest::newRow("r-otra-version") << true << 2 << "formato 9";
        QTest::newRow("r-instantanea-cortada") << true << 3 << "cortado";
        QTest::newRow("r-registro-desconocido") << true << 5 << "tipo desconocido";
        QTest::newRow("r-tick-de-otro-luchador") << true << 6 << "no existe";
        QTest::newRow("r-repetir-sin-tick") << true << 7 << "no sigue a un tick";
        QTest::newRow("r-instantanea-mala") << true << 8 << "-1 ni 0";
        QTest::newRow("r-millones-de-pausas") << true << 9 << "más larga";
        QTest::newRow("r-una-partida") << true << 10 << "es una partida guardada, que se abre";
    }
    void archivos_malos() {
        QFETCH(bool, esrepeticion);
        QFETCH(int, cambio);
        QFETCH(QString, motivo);
        partidaprueba w;
        w.cargar(mapade("pradera.mapa"), 4, guerrero);
        w.tick(30);
        const std::vector<uint8_t> foto = w.p.instantanea();
        auto poner16 = [](std::vector<uint8_t>& d, std::size_t en, uint16_t v) {
            d[en] = uint8_t(v & 0xff);
            d[en + 1] = uint8_t(v >> 8);
        };
        // The match unpacked, so its bytes can be edited: after the
        // signature (8), the format (2), the header's length (4) and header,
        // and the block's method and two sizes (9), the match's 16-bit fields.
        const std::vector<uint8_t> suelta = w.p.instantanea(true);
        const std::size_t cuerpo = 8 + 2 + 4 + 9 + (suelta[10] | std::size_t(suelta[11]) << 8);
        // The first fighter's path text follows its 25 numbers.
        const std::size_t camino = cuerpo + campospartida + 2 * 25;

        std::vector<uint8_t> d;
        if (!esrepeticion) {
            d = suelta;
            switch (cambio) {
            case 0:
                d.clear();
                break;
            case 1:
                d[0] = 'X';
                break;
            case 2:
                poner16(d, 8, 9);
                break;
            case 3:
                d.resize(d.size() / 2);
                break;
            case 4:
                d.pop_back();
                break;
            case 5:
                d.push_back(0);
                break;
            case 6:
                poner16(d, cuerpo + 4, 9);
                break;
            case 7:
                poner16(d, cuerpo, 999);
                poner16(d, cuerpo + 2, 999);
                d.resize(camino + 2000);
                break;
            case 8:
                poner16(d, cuerpo + 10, 5);
                break;
            case 9:
                poner16(d, camino, 0xffff);
                poner16(d, camino + 2, 0xffff);
                break;
            case 10:
                d = escribirrepeticion(w.p.grabacion());
                break;
            }
        } else {
            w.tecla(80);
            w.tecla(80);
            d = escribirrepeticion(w.p.grabacion());
            const std::size_t cola =
                10 + 4 + (d[10] | std::size_t(d[11]) << 8) + 4 + w.p.grabacion().inicio.size();
            switch (cambio) {
            case 0:
                d.clear();
                break;
            case 2:
                poner16(d, 8, 9);
                break;
            case 3:
                d.resize(cola - 5);
                break;
            case 5:
                d.push_back(77);
                break;
            case 6:
                poner16(d, cola + 2, 40);
                break; // first tick record's slot
            case 7:
                d.resize(cola);
                d.push_back(2);
                d.push_back(1);
                d.push_back(0);
                break;
            case 8: {
                repeticion mala = w.p.grabacion();
                mala.inicio = suelta;
                poner16(mala.inicio, cuerpo + 10, 5);
                d = escribirrepeticion(mala);
                break;
            }
            case 10:
                d = foto;
                break;
            case 9:
                // Pauses, each an action record of 8 bytes.
                for (std::size_t k = 0; k < (std::size_t(1) << 21) + 2; ++k)
                    d.insert(d.end(), {7, 2, 0, 0, 0, 0, 0, 0});
                break;
            }
        }

        std::string error;
        sucesos s;
        if (esrepeticion) {
            repeticion r;
            error = leerrepeticion(d.data(), d.size(), r);
            if (error.empty())
                error = w.p.reproducir(r, [](const sucesos&) {});
        } else {
            error = w.p.restaurar(d, s);
        }
        QVERIFY2(QString::fromStdString(error).contains(motivo), error.c_str());
        QVERIFY(error.rfind("No se puede ", 0) == 0);
        // The running match goes on untouched.
        QVERIFY(w.p.instantanea() == foto || esrepeticion);
        if (esrepeticion)
            QCOMPARE(int(w.m.pausado), int(falso));
    }

    // What the formats refuse since the header and packing came in, and the
    // words they use: a newer file names both versions, a value the game
    // cannot reach is named, a packed block is judged before its size is
    // allocated, and a replay says it is the replay that is damaged.
    void formatos_refusados_data() {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("partida-de-un-formato-nuevo") << 0
                                                     << "del formato 9 y esta versión del "
                                                        "juego lee los formatos 1 a 5";
        QTest::newRow("repeticion-de-un-formato-nuevo") << 1
                                                        << "del formato 9 y esta versión "
                                                           "del juego lee los formatos 1 a 3";
        QTest::newRow("vida-de-un-vivo-imposible") << 2 << "la vida vale -32768";
        QTest::newRow("ataque-imposible") << 3 << "el ataque vale -32768";
        QTest::newRow("bloque-que-dice-ser-enorme") << 4 << "más grande de lo que puede ser";
        QTest::newRow("bloque-mayor-que-el-limite") << 5 << "más grande de lo que el juego acepta";
        QTest::newRow("bloque-danado") << 6 << "comprimida está dañada";
        QTest::newRow("repeticion-de-comienzo-danado")
            << 7 << "No se puede ver la repetición: su comienzo está dañado";
        QTest::newRow("cabecera-con-un-jugador-de-mas") << 8 << "jugador que la guardó";
        QTest::newRow("reglas-de-una-edicion-nueva") << 9 << "de una edición más nueva";
    }
    void formatos_refusados() {
        QFETCH(int, caso);
        QFETCH(QString, motivo);
        partidaprueba w;
        w.cargar(mapade("pradera.mapa"), 4, guerrero);
        w.tick(30);
        const std::vector<uint8_t> foto = w.p.instantanea();
        const std::vector<uint8_t> suelta = w.p.instantanea(true);
        auto poner16 = [](std::vector<uint8_t>& d, std::size_t en, uint16_t v) {
            d[en] = uint8_t(v & 0xff);
            d[en + 1] = uint8_t(v >> 8);
        };
        auto poner32 = [&](std::vector<uint8_t>& d, std::size_t en, uint32_t v) {
            poner16(d, en, uint16_t(v & 0xffff));
            poner16(d, en + 2, uint16_t(v >> 16));
        };
        const std::size_t cabecera = 14 + (foto[10] | std::size_t(foto[11]) << 8);
        const std::size_t luchador = cabecera + 9 + campospartida;

        std::vector<uint8_t> d = foto;
        bool esrepeticion = false;
        switch (caso) {
        case 0:
            poner16(d, 8, 9);
            break;
        case 1:
            d = escribirrepeticion(w.p.grabacion());
            poner16(d, 8, 9);
            esrepeticion = true;
            break;
        case 2:
            d = suelta;
            poner16(d, luchador, 0x8000);
            break;
        case 3:
            d = suelta;
            poner16(d, luchador + 8, 0x8000);
            break;
        case 4:
            poner32(d, cabecera + 1, 200u << 20);
            break;
        case 5:
            poner32(d, cabecera + 1, 0xffffffffu);
            break;
        case 6:
            d[cabecera + 20] ^= 0x55;
            break;
        case 7: {
            repeticion r = w.p.grabacion();
            r.inicio[cabecera + 20] ^= 0x55;
            d = escribirrepeticion(r);
            esrepeticion = true;
            break;
        }
        case 8:
            // The writer's slot follows the header's version, the game's
            // version, the (empty) map name, three 64-bit fields and the goal.
            d[14 + 2 + 4 + std::strlen(versionjuego()) + 4 + 24 + 4] = 40;
            break;
        case 9:
            // The edition comes last among the rules, before their random
            // source, the queued actions and the weighing.
            d = suelta;
            poner16(d, luchador - 4 - 6 * numunidades - 8 - 2, edicionreglas + 1);
            break;
        }
        std::string error;
        sucesos s;
        if (esrepeticion) {
            repeticion r;
            error = leerrepeticion(d.data(), d.size(), r);
            if (error.empty())
                error = w.p.reproducir(r, [](const sucesos&) {});
        } else {
            error = w.p.restaurar(d, s);
        }
        QVERIFY2(QString::fromStdString(error).contains(motivo), error.c_str());
        // Nothing changed: the match goes on as it was.
        QVERIFY(w.p.instantanea() == foto);
    }

    // The header is told alike by a file's own header and, for the files
    // without one, by the match inside; a match that ended says who won.
    void cabecera_de_una_partida_acabada() {
        partidaprueba w;
        sucesos s;
        QCOMPARE(QString::fromStdString(w.p.empezar(mapade("pradera.mapa"), 2, arquero, s,
                                                    {tipoobjetivo::tiempo, 2}, "pradera")),
                 QString());
        w.tick(40);
        QCOMPARE(int(w.m.fin), int(verdadero));
        const std::vector<uint8_t> foto = w.p.instantanea();
        cabecera c;
        QCOMPARE(QString::fromStdString(leerinfo(foto.data(), foto.size(), c)), QString());
        QCOMPARE(int(c.formato), int(versioninstantanea));
        QCOMPARE(c.mapa, std::string("pradera"));
        QCOMPARE(int(c.fin), int(verdadero));
        QCOMPARE(int(c.ganador), int(w.m.ganador));
        QCOMPARE(c.muertes[0], w.m.muertesequipo(0));
        QCOMPARE(int(c.jugadores.size()), 4);
        QCOMPARE(c.huellamapa, huellaterreno(w.m));
        const std::vector<uint8_t> rep = escribirrepeticion(w.p.grabacion());
        cabecera r;
        QCOMPARE(QString::fromStdString(leerinfo(rep.data(), rep.size(), r)), QString());
        QCOMPARE(r.ticks, c.ticks);
        QCOMPARE(int(r.ganador), int(c.ganador));
    }

    void vista_al_empezar_data() {
        QTest::addColumn<int>("ancho");
        QTest::addColumn<int>("alto");
        QTest::addColumn<int>("sx");
        QTest::addColumn<int>("sy");
        QTest::addColumn<int>("vx");
        QTest::addColumn<int>("vy");
        // The player starts up-left of its start: (sx - 1, sy - 1).
        QTest::newRow("centrada") << 200 << 200 << 100 << 120 << 79 << 104;
        QTest::newRow("esquina") << 200 << 200 << 5 << 5 << 0 << 0;
        QTest::newRow("borde-lejano") << 200 << 100 << 190 << 95 << 160 << 70;
        QTest::newRow("mapa-estrecho") << 20 << 10 << 10 << 5 << -20 << -20;
    }
    void vista_al_empezar() {
        QFETCH(int, ancho);
        QFETCH(int, alto);
        QFETCH(int, sx);
        QFETCH(int, sy);
        QFETCH(int, vx);
        QFETCH(int, vy);
        partidaprueba w;
        w.cargar(partidaprueba::plano(ancho, alto, {int16_t(sx), int16_t(sy)}, {2, 2}), 1,
                 guerrero);
        QCOMPARE(int(w.p.vista().x), vx);
        QCOMPARE(int(w.p.vista().y), vy);
    }

    void sucesos_de_una_baja() {
        mundoprueba w;
        w.cargar(mundoprueba::plano(50, 50, {10, 10}, {30, 30}), 1, guerrero);
        w.m.recoger();
        unidad& v = w.m.unidades[1];
        w.m.unidades[0].muertes = 6;
        v.vida = 1;
        w.m.herir(1, 50, 0);
        const sucesos s = w.m.recoger();
        QCOMPARE(int(s.size()), 4);
        QCOMPARE(int(s[0].tipo), int(tiposuceso::sonido));
        QCOMPARE(s[0].texto, std::string("dead.wav"));
        QCOMPARE(std::pair(int(s[0].x), int(s[0].y)), std::pair(int(v.x), int(v.y)));
        QCOMPARE(int(s[1].tipo), int(tiposuceso::muerte));
        QCOMPARE(int(s[1].a), 1);
        QCOMPARE(int(s[2].tipo), int(tiposuceso::baja));
        QCOMPARE(std::pair(int(s[2].a), int(s[2].b)), std::pair(0, 1));
        QCOMPARE(int(s[3].tipo), int(tiposuceso::nivel)); // the seventh kill
        QCOMPARE(int(s[3].a), 0);

        // The fallen fighter's return is reported by the tick that brings it.
        bool vuelve = false;
        for (int t = 0; t < 40 && !vuelve; ++t)
            for (const suceso& e : w.m.timer_Timer(entradatick{}))
                vuelve = vuelve || (e.tipo == tiposuceso::reaparicion && e.a == 1);
        QVERIFY(vuelve);
    }

    // Matches with a goal end at the end of the tick that reaches it, and
    // then nothing changes them; the goal and the end live in snapshots and
    // replays.
    void objetivos_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("valor");
        QTest::addColumn<int>("antesde"); // the kills happen just before this tick
        QTest::addColumn<int>("rojas");
        QTest::addColumn<int>("azules");
        QTest::addColumn<int>("ultimo"); // the last tick that runs
        QTest::addColumn<int>("ganador");
        const int muertes = int(tipoobjetivo::muertes);
        const int tiempo = int(tipoobjetivo::tiempo);
        QTest::newRow("rojo-llega") << muertes << 3 << 5 << 3 << 1 << 5 << 0;
        QTest::newRow("ambos-llegan-gana-el-que-mas") << muertes << 2 << 3 << 2 << 3 << 3 << 1;
        QTest::newRow("ambos-llegan-empate") << muertes << 2 << 3 << 2 << 2 << 3 << -1;
        QTest::newRow("nadie-llega") << muertes << 4 << 3 << 3 << 3 << 0 << -1;
        QTest::newRow("tiempo-gana-azul") << tiempo << 2 << 4 << 0 << 1 << 16 << 1;
        QTest::newRow("tiempo-empate") << tiempo << 1 << 2 << 1 << 1 << 8 << -1;
    }
    void objetivos() {
        QFETCH(int, tipo);
        QFETCH(int, valor);
        QFETCH(int, antesde);
        QFETCH(int, rojas);
        QFETCH(int, azules);
        QFETCH(int, ultimo);
        QFETCH(int, ganador);
        // Teams far apart: nobody fights by themselves in these few ticks.
        partidaprueba w;
        sucesos s;
        w.p.empezar(partidaprueba::plano(200, 200, {10, 10}, {190, 190}), 4, arquero, s,
                    {tipoobjetivo(tipo), int16_t(valor)});
        // Arrows in flight when the match ends hurt nobody any more.
        w.clic(700, 500);
        bool finvisto = false;
        for (int t = 1; t <= 40; ++t) {
            // The kills come in as a scene, which the record starts from.
            if (t == antesde)
                w.escena([&](mundoprueba& e) {
                    for (int k = 0; k < rojas; ++k)
                        e.m.herir(int16_t(4 + k), 999, 1);
                    for (int k = 0; k < azules; ++k)
                        e.m.herir(int16_t(1 + k), 999, 5);
                });
            for (const suceso& e : w.p.tick(entradatick{}))
                if (e.tipo == tiposuceso::fin) {
                    QVERIFY(!finvisto);
                    finvisto = true;
                    QCOMPARE(int(e.a), ganador);
                }
        }
        if (ultimo == 0) {
            QCOMPARE(w.m.fin, falso);
            QCOMPARE(int(w.m.numtick), 40);
            return;
        }
        QVERIFY(finvisto);
        QCOMPARE(w.m.fin, verdadero);
        QCOMPARE(int(w.m.numtick), ultimo);
        QCOMPARE(int(w.m.ganador), ganador);
        QCOMPARE(int(w.m.unidades[4].bajas), rojas > 0 ? 1 : 0);

        // Nothing changes a match that is over.
        const std::vector<uint8_t> alfinal = w.p.instantanea();
        w.tecla(32);
        w.clic(100, 100);
        w.tecla(80);
        w.tick(5);
        QVERIFY(w.p.instantanea() == alfinal);

        // A snapshot and the replay keep the goal and end where it ended.
        partidaprueba b;
        QCOMPARE(QString::fromStdString(b.p.restaurar(alfinal, s)), QString());
        QCOMPARE(b.m.meta, w.m.meta);
        QCOMPARE(b.m.fin, verdadero);
        const std::vector<uint8_t> rep = escribirrepeticion(w.p.grabacion());
        repeticion r;
        QCOMPARE(QString::fromStdString(leerrepeticion(rep.data(), rep.size(), r)), QString());
        QCOMPARE(int(r.ticks()), ultimo - antesde + 1);
    }

    // After days of play the counters stop at the 16-bit maximum instead of
    // wrapping round to negative values.
    void contadores_al_maximo_data() {
        QTest::addColumn<int>("muertes");
        QTest::addColumn<int>("ataque");
        QTest::addColumn<int>("muertesdespues");
        QTest::addColumn<int>("ataquedespues");
        QTest::newRow("sube-de-nivel-hasta-el-tope") << 32766 << 32766 << 32767 << 32767;
        QTest::newRow("cuenta-en-el-tope") << 32767 << 100 << 32767 << 100;
        QTest::newRow("ataque-en-el-tope") << 13 << 32767 << 14 << 32767;
    }
    void contadores_al_maximo() {
        QFETCH(int, muertes);
        QFETCH(int, ataque);
        QFETCH(int, muertesdespues);
        QFETCH(int, ataquedespues);
        mundoprueba w;
        w.cargar(mundoprueba::plano(50, 50, {10, 10}, {30, 30}), 1, guerrero);
        unidad& k = w.m.unidades[0];
        k.muertes = int16_t(muertes);
        k.ataque = int16_t(ataque);
        k.armadura = 32767;
        w.m.unidades[1].bajas = 32767;
        w.m.herir(1, 999, 0);
        QCOMPARE(int(k.muertes), muertesdespues);
        QCOMPARE(int(k.ataque), ataquedespues);
        QCOMPARE(int(k.armadura), 32767);
        QCOMPARE(int(w.m.unidades[1].bajas), 32767);

        // Nor does the harness's log of sounds grow without end.
        const sucesos muchos(grabadora::maxpedidos + 1, {tiposuceso::sonido, "hit0.wav"});
        w.plat.recibir(muchos);
        QVERIFY(w.plat.pedidos.size() <= grabadora::maxpedidos);
        QVERIFY(!w.plat.pedidos.empty());
    }

    // Clearing an arrow's marks looks only at the cells the arrow marked:
    // it must clear on the map exactly what a look at every cell would.
    void marcas_de_flechas() {
        mundoprueba w;
        w.cargar(mapade("bosque.mapa"), 8, arquero);
        jugadorazar j(3);
        int revisadas = 0;
        for (int t = 1; t <= 1500; ++t) {
            j.jugar(w);
            if (t % 25 != 0)
                continue;
            std::vector<std::tuple<int, int, int>> antes;
            for (int y = 0; y <= w.m.altomapa; ++y)
                for (int x = 0; x <= w.m.anchomapa; ++x)
                    if (w.m.mapa(x, y).proyectil >= 0)
                        antes.emplace_back(x, y, w.m.mapa(x, y).proyectil);
            const std::vector<uint8_t> foto = w.instantanea();
            for (int16_t k = 0; k < numflechas; ++k)
                if (w.m.flechas[k].activa != verdadero)
                    w.m.borrarflecha(k);
            for (const auto& [x, y, k] : antes) {
                const bool libre = w.m.flechas[k].activa != verdadero;
                QCOMPARE(int(w.m.mapa(x, y).proyectil), libre ? -1 : k);
                revisadas += libre ? 1 : 0;
            }
            for (int y = 0; y <= w.m.altomapa; ++y)
                for (int x = 0; x <= w.m.anchomapa; ++x)
                    if (w.m.mapa(x, y).proyectil >= 0)
                        QVERIFY(std::find(antes.begin(), antes.end(),
                                          std::tuple(x, y, int(w.m.mapa(x, y).proyectil))) !=
                                antes.end());
            // Back to the match as it was, marks remembered from the grid.
            QCOMPARE(QString::fromStdString(w.restaurar(foto)), QString());
        }
        // Spent arrows did leave marks to clear.
        QVERIFY(revisadas > 20);
    }

    // The world keeps only the map's cells; the grid beyond it reads as
    // cleared, keeps what the rules write there, through a snapshot too,
    // and a new match clears it.
    void fuera_del_mapa() {
        mundoprueba w;
        w.cargar(mundoprueba::plano(50, 40, {10, 10}, {30, 30}), 1, guerrero);
        const celda& lejos = std::as_const(w.m).mapa(999, 999);
        QCOMPARE(int(lejos.terreno), int(comun::pasto));
        QCOMPARE(int(lejos.transitable), int(verdadero));
        QCOMPARE(int(lejos.ocupante), -1);
        QCOMPARE(int(lejos.proyectil), -1);
        w.m.ponerocupante(60, 5, 1);
        w.m.marcarflecha(7, 3, 45);
        (void)w.m.mapa(700, 700); // a plain look leaves nothing behind
        QCOMPARE(int(std::as_const(w.m).mapa(60, 5).ocupante), 1);

        // A match restarted from that world: the same world, and a record
        // that starts there.
        partidaprueba b;
        b.cargar(partidaprueba::plano(30, 30, {5, 5}, {20, 20}), 2, arquero);
        b.tick(3);
        sucesos s;
        QCOMPARE(QString::fromStdString(b.p.restaurar(w.m, s)), QString());
        QCOMPARE(b.m.mapa(60, 5).ocupante, int16_t(1));
        QCOMPARE(b.m.mapa(3, 45).proyectil, int16_t(7));
        QVERIFY(estadomundo(b.m) == estadomundo(w.m));
        QVERIFY(b.p.grabando());
        QCOMPARE(b.p.grabacion().ticks(), uint64_t(0));
        QVERIFY(b.p.grabacion().inicio == b.p.instantanea());
        QCOMPARE(s.size(), std::size_t(1));
        QCOMPARE(s[0].texto, w.m.estados[0]);

        // A world the saved-match reader refuses is refused, and the match
        // goes on untouched.
        const std::vector<uint8_t> antes = b.p.instantanea();
        w.m.unidades[1].x = 70;
        QVERIFY(!b.p.restaurar(w.m, s).empty());
        QVERIFY(b.p.instantanea() == antes);

        w.cargar(mundoprueba::plano(200, 200, {10, 10}, {30, 30}), 1, guerrero);
        QCOMPARE(int(std::as_const(w.m).mapa(60, 5).ocupante), -1);
        QCOMPARE(int(std::as_const(w.m).mapa(3, 45).proyectil), -1);
    }
};

QTEST_GUILESS_MAIN(TestPartida)
#include "test_partida.moc"
