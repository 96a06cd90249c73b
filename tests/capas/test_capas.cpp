#include "apoyo/mundoprueba.h"
#include "Juego/qt/capas.h"
#include "Juego/qt/lienzo.h"
#include "Juego/qt/mezcla.h"
#include "Juego/qt/suave.h"

#include <QPainter>
#include <QTest>

#include <functional>

using namespace juego;
using prueba::mundoprueba;

namespace {

// Two teams of four on a 60 x 60 field, far apart: the player (a Guerrero,
// slot 0) near the top-left, the enemies out of view near the bottom-right.
struct escena : mundoprueba {
    capas c;
    lienzo l;
    QImage cuadro = lienzo::nuevaimagen();
    escena() { cargar(plano(60, 60, {10, 10}, {49, 49}), 4, guerrero); }
    void anotar(const sucesos& s) { c.anotar(m, s); }
    QImage componer() {
        l.dibujar(m, vista(), cuadro);
        return c.componer(m, cuadro, vista().x, vista().y);
    }
    // Pixel (dx, dy) from the top-left of fighter i's cell on the screen.
    QPoint en(int16_t i, int dx, int dy) const {
        return {(m.unidades[i].x - vista().x) * tamcelda + dx,
                (m.unidades[i].y - vista().y) * tamcelda + dy};
    }
};

bool parecido(QRgb a, QColor b) {
    return std::abs(qRed(a) - b.red()) < 40 && std::abs(qGreen(a) - b.green()) < 40 &&
           std::abs(qBlue(a) - b.blue()) < 40;
}

} // namespace

class TestCapas : public QObject {
    Q_OBJECT

private slots:
    void sucesos_a_mensajes() {
        struct caso {
            const char* nombre;
            std::function<sucesos(escena&)> hacer;
            QString esperado;
        };
        const caso casos[] = {
            {"baja-entre-otros",
             [](escena& w) {
                 w.m.herir(5, 1000, 1);
                 return w.m.recoger();
             },
             "Arquero rojo mató a Arquero azul"},
            {"baja-del-jugador",
             [](escena& w) {
                 w.m.herir(4, 1000, 0);
                 return w.m.recoger();
             },
             "Guerrero rojo (tú) mató a Guerrero azul"},
            {"muerte-del-jugador",
             [](escena& w) {
                 w.m.herir(0, 1000, 4);
                 return w.m.recoger();
             },
             "Has muerto — vuelves en 4 s"},
            {"nivel-del-jugador",
             [](escena& w) {
                 w.m.unidades[0].muertes = 6;
                 w.m.herir(4, 1000, 0);
                 return w.m.recoger();
             },
             "¡Más fuerte! Ataque 22 · Armadura 9"},
            {"pausa", [](escena& w) { return w.tecla(comun::vkp); }, "PAUSA"},
        };
        for (const caso& k : casos) {
            escena w;
            QVERIFY2(w.c.mensajes(w.m).isEmpty() && w.c.bajas(w.m).isEmpty(), k.nombre);
            w.anotar(k.hacer(w));
            const QStringList todo = w.c.mensajes(w.m) + w.c.bajas(w.m);
            QVERIFY2(todo.contains(k.esperado), qPrintable(k.nombre + (": " + todo.join('|'))));
        }
    }

    void bajas_y_cuentas_en_el_tiempo() {
        escena w;
        for (int16_t v = 4; v < 8; ++v) {
            w.m.herir(v, 1000, 1);
            w.anotar(w.m.recoger());
        }
        w.m.herir(1, 1000, 6);
        w.anotar(w.m.recoger());
        // The newest first, at most four.
        const QStringList b = w.c.bajas(w.m);
        QCOMPARE(b.size(), int(capas::maxbajas));
        QCOMPARE(b.first(), QStringLiteral("Guerrero azul mató a Arquero rojo"));
        QCOMPARE(w.m.muertesequipo(0), 4);
        QCOMPARE(w.m.muertesequipo(1), 1);

        w.m.numtick += capas::duracionbaja - 1;
        QCOMPARE(w.c.bajas(w.m).size(), int(capas::maxbajas));
        w.m.numtick += 1;
        QVERIFY(w.c.bajas(w.m).isEmpty());

        // The countdown follows the wait; a new match forgets the old kills.
        w.m.herir(0, 1000, 4);
        w.m.unidades[0].revivir = 0;
        QVERIFY(w.c.mensajes(w.m).contains("Has muerto — vuelves en 1 s"));
        w.anotar(w.m.recoger());
        QVERIFY(!w.c.bajas(w.m).isEmpty());
        w.cargar(mundoprueba::plano(60, 60, {10, 10}, {49, 49}), 4, guerrero);
        w.anotar({});
        QVERIFY(w.c.bajas(w.m).isEmpty());
    }

    void dibujo_sobre_el_cuadro() {
        escena w;
        w.m.unidades[1].vida = 50;
        const QImage a = w.componer();
        const QImage plano = w.cuadro;
        // The frame under the overlays is left as drawn; the same state
        // gives the same picture.
        QCOMPARE(w.componer(), a);
        QCOMPARE(w.cuadro, plano);

        const QColor marca(255, 222, 40);
        QVERIFY(parecido(a.pixel(w.en(0, 10, 21)), marca));                // ring at the feet
        QVERIFY(parecido(a.pixel(w.en(0, 10, -10)), marca));               // arrow over the head
        QVERIFY(parecido(a.pixel(w.en(1, 5, -2)), capas::colorequipo(0))); // wounded
        QCOMPARE(a.pixel(w.en(2, 5, -2)), plano.pixel(w.en(2, 5, -2)));    // unhurt: no bar

        // The enemies are out of view on a map larger than it: an arrow
        // points to the nearest; none once one stands in view.
        QVERIFY(capas::enemigocercano(w.m, 0, w.vista().x, w.vista().y) >= 4);
        w.mover(4, int16_t(w.m.unidades[0].x + 3), w.m.unidades[0].y);
        QCOMPARE(capas::enemigocercano(w.m, 0, w.vista().x, w.vista().y), int16_t(-1));

        // M hides the minimap in the bottom-right corner (here, a point of
        // its dark frame).
        const QPoint esquina(792, 560);
        auto lejos = [&] {
            const QRgb a = w.componer().pixel(esquina), b = w.cuadro.pixel(esquina);
            return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b));
        };
        const int encima = lejos();
        QVERIFY(encima > 0);
        // Over the player's own fighter it turns faint.
        w.mover(0, int16_t(w.vista().x + 38), int16_t(w.vista().y + 28));
        QVERIFY2(lejos() * 2 < encima, qPrintable(QString("%1 %2").arg(lejos()).arg(encima)));
        w.c.minimapa = false;
        QCOMPARE(lejos(), 0);
    }

    // Zoomed in, the field shows a part of the frame bigger, and a click
    // still means the cell under the pointer.
    void zoom_y_clics_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("jugador");
        QTest::addColumn<QPoint>("vista");
        QTest::newRow("1x-en-medio") << 1.0 << QPoint(30, 30) << QPoint(10, 15);
        QTest::newRow("1.5x-en-medio") << 1.5 << QPoint(30, 30) << QPoint(10, 15);
        QTest::newRow("2x-en-medio") << 2.0 << QPoint(30, 30) << QPoint(10, 15);
        QTest::newRow("2x-en-la-esquina") << 2.0 << QPoint(1, 1) << QPoint(0, 0);
        QTest::newRow("2x-al-final") << 2.0 << QPoint(58, 58) << QPoint(20, 30);
    }
    void zoom_y_clics() {
        QFETCH(double, zoom);
        QFETCH(QPoint, jugador);
        QFETCH(QPoint, vista);
        escena w;
        for (int16_t i = 4; i < 8; ++i)
            w.m.unidades[i].muerto = verdadero; // no pointer to them
        w.c.minimapa = false;
        w.c.zoom = zoom;
        w.mover(0, int16_t(jugador.x()), int16_t(jugador.y()));
        w.m.vistas[0] = {int16_t(vista.x()), int16_t(vista.y())};
        // A pool beside the player, the only water in sight.
        const QPoint agua(jugador.x() + (jugador.x() < 50 ? 2 : -2), jugador.y() + 1);
        w.terreno(agua.x(), agua.y(), comun::agua);
        const QImage a = w.componer();
        QRect caja;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb c = a.pixel(x, y);
                if (qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 30)
                    caja |= QRect(x, y, 1, 1);
            }
        QVERIFY(!caja.isEmpty());
        QVERIFY2(std::abs(caja.width() - tamcelda * zoom) <= 2,
                 qPrintable(QString::number(caja.width())));
        for (const QPoint& punto :
             {caja.center(), caja.topLeft() + QPoint(1, 1), caja.bottomRight() - QPoint(1, 1)}) {
            const QPoint f = w.c.acampo(punto);
            QCOMPARE(QPoint(f.x() / tamcelda + vista.x(), f.y() / tamcelda + vista.y()), agua);
        }
    }

    // Marks over the field: the player's own above every other, and the
    // safety after coming back as an outline that fades as it runs out.
    void marcas_sobre_el_campo() {
        escena w;
        const QColor marca(255, 222, 40);
        // A wounded team-mate glides over the player's head: its bar is
        // where the player's arrow is, and the arrow stays on top.
        w.m.unidades[1].vida = 40;
        w.mover(1, w.m.unidades[0].x, int16_t(w.m.unidades[0].y - 1));
        const instante i = instante::de(w.m, w.vista().x, w.vista().y);
        entremedias e = interpolar(i, i, 1.0);
        e.unidades[1] = e.unidades[0] + QPointF(0, -8);
        w.l.dibujar(w.m, w.vista(), w.cuadro);
        QImage a(w.cuadro.size(), QImage::Format_RGB32);
        QPainter pintor(&a);
        w.c.componer(pintor, a.rect(), w.m, w.cuadro, w.vista().x, w.vista().y, &e);
        pintor.end();
        QVERIFY(parecido(a.pixel(w.en(0, 10, -10)), marca));

        // Team-mate 2 comes back with its safety: brightest when full,
        // gone at 0.
        const QPoint borde = w.en(2, -1, 10);
        auto brillo = [&](int16_t proteccion) {
            w.m.unidades[2].proteccion = proteccion;
            return qGray(w.componer().pixel(borde)) - qGray(w.cuadro.pixel(borde));
        };
        const int lleno = brillo(maxproteccion);
        const int cuarto = brillo(maxproteccion / 4);
        QVERIFY2(lleno > cuarto && cuarto > 0,
                 qPrintable(QString("%1 %2").arg(lleno).arg(cuarto)));
        QCOMPARE(brillo(0), 0);

        // A person's name over their fighter, never over the computer's nor
        // over the player's own.
        auto escrito = [&](int16_t i) {
            const QImage con = w.componer();
            const QRect encima(w.en(i, -10, -19), QSize(40, 14));
            int distintos = 0;
            for (int y = encima.top(); y <= encima.bottom(); ++y)
                for (int x = encima.left(); x <= encima.right(); ++x)
                    distintos += con.pixel(x, y) != w.cuadro.pixel(x, y);
            return distintos > 20;
        };
        w.c.nombres[2] = w.c.nombres[0] = QStringLiteral("Ana");
        w.m.unidades[2].proteccion = 0;
        w.m.unidades[2].vida = 100;
        QVERIFY(!escrito(2));
        w.m.humano[2] = verdadero;
        QVERIFY(escrito(2));
        w.c.nombres[2].clear();
        QVERIFY(!escrito(2));
    }

    // The pointer to the nearest enemy never lies over the minimap.
    void flecha_fuera_del_minimapa_data() {
        QTest::addColumn<QPoint>("enemigo");
        QTest::newRow("abajo-a-la-derecha") << QPoint(55, 40);
        QTest::newRow("casi-en-la-esquina") << QPoint(57, 44);
        QTest::newRow("a-la-derecha") << QPoint(58, 25);
        QTest::newRow("abajo") << QPoint(25, 58);
    }
    // The minimap's picture of the terrain is kept from frame to frame; a
    // new map, or new terrain on the same one, shows at the next frame.
    void minimapa_sigue_al_terreno() {
        escena pasto;
        escena lago;
        for (int y = 25; y <= 35; ++y)
            for (int x = 25; x <= 35; ++x)
                lago.terreno(x, y, comun::agua);
        capas c;
        const QImage plano = lienzo::nuevaimagen();
        auto centro = [&](const escena& w) {
            const auto k = cuadro::de(w.m, 0, w.vista(), terrenomapa::de(w.m));
            const QImage a = c.componer(*k, plano, w.vista().x, w.vista().y);
            return a.pixel(c.sitiominimapa(*k).center().toPoint());
        };
        const QRgb verde = centro(pasto);
        QVERIFY(centro(lago) != verde);
        QCOMPARE(centro(pasto), verde);
    }

    void flecha_fuera_del_minimapa() {
        QFETCH(QPoint, enemigo);
        escena w;
        for (int16_t i = 5; i < 8; ++i)
            w.m.unidades[i].muerto = verdadero;
        w.mover(4, int16_t(enemigo.x()), int16_t(enemigo.y()));
        QCOMPARE(capas::enemigocercano(w.m, 0, w.vista().x, w.vista().y), int16_t(4));
        const QImage a = w.componer();
        const QRectF mini = w.c.sitiominimapa(w.m);
        QVERIFY(!mini.isEmpty());
        // The pointer's white edge: nothing in the minimap is that white but
        // the player's own dot, near the top-left corner of the map.
        int blancos = 0;
        for (int y = int(mini.top()); y < int(mini.bottom()); ++y)
            for (int x = int(mini.left()) + 40; x < int(mini.right()); ++x) {
                const QRgb c = a.pixel(x, y);
                blancos += qRed(c) > 235 && qGreen(c) > 235 && qBlue(c) > 235;
            }
        QCOMPARE(blancos, 0);
        // And it is drawn: the frame differs from the picture along the edge
        // it points to.
        const QImage b = w.cuadro;
        int cambios = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                cambios += !mini.adjusted(-2, -2, 2, 2).contains(x, y) && (x > 700 || y > 500) &&
                           a.pixel(x, y) != b.pixel(x, y);
        QVERIFY(cambios > 50);
    }

    void titulo_antes_de_jugar() {
        prueba::plataformaprueba plat;
        partida p(plat);
        capas c;
        const QImage negro = lienzo::nuevaimagen();
        const QImage t = c.componer(p.juego(), negro, 0, 0);
        QVERIFY(c.mensajes(p.juego()).contains("Archivo → Un Jugador"));
        QVERIFY(t.pixel(400, 160) != negro.pixel(400, 160));
        // Drawn at twice the size, the overlays scale with the frame.
        QImage doble(1600, 1200, QImage::Format_RGB32);
        QPainter pintor(&doble);
        c.componer(pintor, doble.rect(), p.juego(), negro, 0, 0);
        pintor.end();
        QCOMPARE(doble.pixel(2 * 20, 2 * 580), t.pixel(20, 580));
    }

    void movimiento_entre_ticks() {
        instante antes;
        antes.vistax = 10;
        antes.vistay = 10;
        antes.unidades[0] = {30, 25, true};  // steps right
        antes.unidades[1] = {40, 40, false}; // comes back to life far away
        antes.unidades[2] = {12, 12, true};  // stands
        instante ahora = antes;
        ahora.vistax = 11;
        ahora.unidades[0].x = 31;
        ahora.unidades[1] = {5, 5, true};
        const entremedias e = interpolar(antes, ahora, 0.5);
        QCOMPARE(e.vista, QPointF(10.5, 10));
        QCOMPARE(e.unidades[0], QPointF((30.5 - 10.5) * 20, 15 * 20));
        QCOMPARE(e.unidades[1], QPointF((5 - 10.5) * 20, (5 - 10) * 20));
        QCOMPARE(e.unidades[2], QPointF((12 - 10.5) * 20, 2 * 20));
        // A view that jumped (a respawn) is not slid across the map.
        ahora.vistax = 40;
        QCOMPARE(interpolar(antes, ahora, 0.25).vista, QPointF(40, 10));

        // At the end of the glide, with no arrow straddling cells, the
        // moving picture is the tick's own frame.
        escena w;
        w.m.unidades[3].muerto = verdadero;
        w.l.dibujar(w.m, w.vista(), w.cuadro);
        const instante i = instante::de(w.m, w.vista().x, w.vista().y);
        lienzosuave s;
        QImage suave = lienzo::nuevaimagen();
        s.dibujar(w.m, i, i, interpolar(i, i, 1.0), 1.0, suave);
        QCOMPARE(suave, w.cuadro);
    }

    void mezcla_de_voces() {
        using mezcla::voz;
        struct caso {
            const char* nombre;
            std::vector<voz> voces;
            int elegida;
        };
        const caso casos[] = {
            {"sin-voces", {}, -1},
            {"la-primera-libre", {{true, 5}, {false, 2}, {false, 9}}, 1},
            {"todas-ocupadas-la-mas-vieja", {{true, 5}, {true, 2}, {true, 9}}, 1},
            {"la-libre-antes-que-la-vieja", {{true, 1}, {true, 2}, {false, 9}}, 2},
        };
        for (const caso& k : casos)
            QVERIFY2(mezcla::elegirvoz(k.voces) == k.elegida, k.nombre);

        // Full near the middle of the view, fading with distance, never silent.
        QCOMPARE(mezcla::volumen(0), 1.0);
        QCOMPARE(mezcla::volumen(mezcla::cercania), 1.0);
        QCOMPARE(mezcla::volumen(24), 0.5);
        double antes = 1.0;
        for (double d : {10.0, 20.0, 40.0, 80.0, 160.0, 1400.0}) {
            const double v = mezcla::volumen(d);
            QVERIFY(v < antes || v == mezcla::minimo);
            QVERIFY(v >= mezcla::minimo);
            antes = v;
        }
    }
};

QTEST_MAIN(TestCapas)
#include "test_capas.moc"
