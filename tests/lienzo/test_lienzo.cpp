#include "apoyo/mundoprueba.h"
#include "Juego/qt/cuadro.h"
#include "Juego/qt/lienzo.h"
#include "Juego/qt/suave.h"

#include <QLineF>
#include <QTest>

#include <functional>

using namespace juego;
using prueba::mundoprueba;

namespace {

QImage imagen(const char* nombre) {
    return QImage(QStringLiteral(":/imagenes/") + QLatin1String(nombre))
        .convertToFormat(QImage::Format_RGB32);
}

QRgb px(const QImage& i, int x, int y) {
    return i.pixel(x, y) & 0xFFFFFF;
}

// What a masked 20 x 20 picture leaves over a tile: NOT mask OR tile, then
// AND the image.
QRgb enmascarado(QRgb fondo, QRgb img, QRgb mascara) {
    return (~mascara | fondo) & img & 0xFFFFFF;
}

struct escena : mundoprueba {
    lienzo l;
    QImage cuadro = lienzo::nuevaimagen();
    escena(int ancho = 60, int alto = 60) {
        cargar(plano(ancho, alto, {5, 5}, {int16_t(ancho - 6), int16_t(alto - 6)}), 1, arquero);
    }
    void dibujar() { l.dibujar(m, vista(), cuadro); }

    // Compares the 20 x 20 block at pixel (x, y) with what `esperado` says
    // for each of its pixels.
    void comparar(int x, int y, const std::function<QRgb(int, int)>& esperado) {
        for (int j = 0; j < tamcelda; ++j)
            for (int i = 0; i < tamcelda; ++i)
                if (px(cuadro, x + i, y + j) != esperado(i, j))
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x + i).arg(y + j)));
    }
};

} // namespace

class TestLienzo : public QObject {
    Q_OBJECT

private slots:

    // The window draws from frames made on the simulation's thread: a frame
    // keeps only the cells around the view, and must draw every pixel as the
    // whole world does, at a tick and between two ticks.
    void el_cuadro_dibuja_como_el_mundo_data() {
        QTest::addColumn<int>("ancho");
        QTest::addColumn<int>("alto");
        QTest::addColumn<QPoint>("vista");
        QTest::addColumn<QPoint>("antes"); // the view of the tick before
        QTest::newRow("vista-en-medio") << 120 << 90 << QPoint(40, 30) << QPoint(39, 31);
        QTest::newRow("vista-en-la-esquina") << 120 << 90 << QPoint(0, 0) << QPoint(1, 1);
        QTest::newRow("vista-al-final") << 120 << 90 << QPoint(81, 61) << QPoint(80, 60);
        QTest::newRow("mapa-menor-que-la-vista")
            << 20 << 15 << QPoint(-19, -14) << QPoint(-19, -14);
        QTest::newRow("vista-salta") << 120 << 90 << QPoint(40, 30) << QPoint(2, 2);
    }
    void el_cuadro_dibuja_como_el_mundo() {
        QFETCH(int, ancho);
        QFETCH(int, alto);
        QFETCH(QPoint, vista);
        QFETCH(QPoint, antes);
        escena w(ancho, alto);
        const posicion v{int16_t(vista.x()), int16_t(vista.y())};
        // Walls, fighters, a dead one and an arrow at the view's edges.
        for (int k = 0; k < 6; ++k)
            w.terreno(std::max(0, v.x + 7 * k), std::max(0, v.y + 5 * k), comun::pared);
        w.mover(1, int16_t(std::max(0, v.x + 39)), int16_t(std::max(0, v.y + 29)));
        w.mover(0, int16_t(std::max(0, int(v.x))), int16_t(std::max(0, v.y + 1)));
        w.m.unidades[0].muerto = verdadero;
        flecha& f = w.m.flechas[2];
        f.activa = verdadero;
        f.x = std::max(0, v.x + 38) + 0.5;
        f.y = std::max(0, int(v.y));
        w.m.marcarflecha(2, int16_t(f.x), int16_t(f.y));
        w.m.vistas[0] = v;
        const auto k = cuadro::de(w.m, 0, v, terrenomapa::de(w.m));

        QImage a = lienzo::nuevaimagen();
        QImage b = lienzo::nuevaimagen();
        w.l.dibujar(w.m, v, a);
        w.l.dibujar(*k, v, b);
        QVERIFY(a == b);

        const instante i0 = instante::de(w.m, int16_t(antes.x()), int16_t(antes.y()));
        const instante i1 = instante::de(*k, v.x, v.y);
        QVERIFY(i0.unidades[1].x == i1.unidades[1].x);
        for (double t : {0.0, 0.3, 0.7}) {
            const entremedias e = interpolar(i0, i1, t);
            lienzosuave s;
            s.dibujar(w.m, i0, i1, e, t, a);
            s.dibujar(*k, i0, i1, e, t, b);
            QVERIFY2(a == b, qPrintable(QStringLiteral("t = %1").arg(t)));
        }
    }
    // A step glides from the tick that made it: the first frame after that
    // tick already shows the fighter on its way (most of it), and the glide
    // is over, exactly on the new cell, before the next tick comes.
    void el_paso_se_ve_en_el_tick_que_lo_da_data() {
        QTest::addColumn<int>("intervalo"); // ms between ticks
        QTest::addColumn<QPoint>("paso");
        QTest::newRow("juego-a-la-derecha") << 125 << QPoint(1, 0);
        QTest::newRow("juego-en-diagonal") << 125 << QPoint(-1, 1);
        QTest::newRow("repeticion-lenta") << 500 << QPoint(0, -1);
        QTest::newRow("repeticion-rapida") << 31 << QPoint(1, 1);
    }
    void el_paso_se_ve_en_el_tick_que_lo_da() {
        QFETCH(int, intervalo);
        QFETCH(QPoint, paso);
        escena w;
        w.mover(1, 20, 20);
        const instante i0 = instante::de(w.m, 0, 0);
        w.mover(1, int16_t(20 + paso.x()), int16_t(20 + paso.y()));
        const instante i1 = instante::de(w.m, 0, 0);
        const QPointF viejo(20 * tamcelda, 20 * tamcelda);
        const QPointF nuevo = viejo + QPointF(paso) * tamcelda;
        auto donde = [&](double ms) {
            return interpolar(i0, i1, avance(ms, intervalo)).unidades[1];
        };
        // On its way in the first frame; at the game's own pace past the
        // middle, so the nearest cell to what is drawn is already the new one.
        const QPointF primero = donde(0);
        const double hecho = 1 - QLineF(primero, nuevo).length() / QLineF(viejo, nuevo).length();
        QVERIFY2(hecho > (intervalo <= 125 ? 0.5 : 0.0), qPrintable(QString::number(hecho)));
        double antes = 0;
        for (int ms = 0; ms < intervalo; ++ms) {
            const double t = avance(ms, intervalo);
            QVERIFY(t >= antes);
            antes = t;
        }
        QCOMPARE(donde(intervalo - 1), nuevo);
        // And the picture: the fighter's pixels have left the old cell's
        // middle column in the first frame.
        lienzosuave s;
        const entremedias e = interpolar(i0, i1, avance(0, intervalo));
        s.dibujar(w.m, i0, i1, e, avance(0, intervalo), w.cuadro);
        QImage quieto = lienzo::nuevaimagen();
        s.dibujar(w.m, i0, i1, interpolar(i0, i1, 0), 0, quieto);
        QVERIFY(w.cuadro.copy(400, 400, 20, 20) != quieto.copy(400, 400, 20, 20));
    }

    void terreno_en_cada_celda() {
        escena w;
        for (int t = 0; t < 6; ++t)
            w.terreno(10 + t, 3, int16_t(t));
        w.dibujar();
        for (int t = 0; t < 6; ++t) {
            const QImage tile = imagen(qPrintable(QStringLiteral("terreno%1.png").arg(t)));
            w.comparar(20 * (10 + t), 60, [&](int i, int j) { return px(tile, i, j); });
        }
    }

    void luchador_con_mascara_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("equipo");
        QTest::addColumn<int>("direccion");
        QTest::addColumn<int>("pose");
        QTest::addColumn<QPoint>("origen");
        QTest::newRow("arquero-arriba-izquierda-pose-0") << 0 << 0 << 0 << 0 << QPoint(0, 0);
        QTest::newRow("arquero-izquierda-pose-3") << 0 << 1 << 7 << 3 << QPoint(120, 140);
        QTest::newRow("guerrero-izquierda-pose-2") << 1 << 0 << 7 << 2 << QPoint(80, 300);
        QTest::newRow("guerrero-abajo-pose-1") << 1 << 1 << 5 << 1 << QPoint(40, 260);
    }
    void luchador_con_mascara() {
        QFETCH(int, tipo);
        QFETCH(int, equipo);
        QFETCH(int, direccion);
        QFETCH(int, pose);
        QFETCH(QPoint, origen);
        escena w;
        w.terreno(20, 20, comun::piso);
        w.mover(1, 20, 20);
        unidad& u = w.m.unidades[1];
        u.tipo = int16_t(tipo);
        u.equipo = int16_t(equipo);
        u.direccion = int16_t(direccion);
        u.pose = int16_t(pose);
        w.m.vistas[0].x = 5;
        w.m.vistas[0].y = 8;
        w.dibujar();
        const QImage hoja = imagen(equipo ? "personajes1.png" : "personajes0.png");
        const QImage tile = imagen("terreno5.png");
        bool figura = false;
        w.comparar(300, 240, [&](int i, int j) {
            const QRgb m = px(hoja, origen.x() + 20 + i, origen.y() + j);
            figura = figura || m == 0;
            return enmascarado(px(tile, i, j), px(hoja, origen.x() + i, origen.y() + j), m);
        });
        QVERIFY2(figura, "the sprite has an opaque part");
    }

    void sangre_de_un_caido() {
        escena w;
        w.mover(1, 12, 7);
        w.m.unidades[1].muerto = verdadero;
        w.dibujar();
        const QImage s = imagen("sangre.png");
        const QImage tile = imagen("terreno0.png");
        w.comparar(240, 140, [&](int i, int j) {
            return enmascarado(px(tile, i, j), px(s, i, j), px(s, 20 + i, j));
        });
    }

    void flecha_que_sobresale_queda_tapada() {
        escena w;
        w.terreno(11, 10, comun::madera);
        flecha& f = w.m.flechas[3];
        f.activa = verdadero;
        f.x = 10.5;
        f.y = 10;
        f.direccion = 3;
        w.m.marcarflecha(3, 10, 10);
        w.dibujar();
        const QImage a = imagen("flech.png");
        const QImage hierba = imagen("terreno0.png");
        const QImage madera = imagen("terreno1.png");
        // Half the arrow lies over cell (10, 10) at pixel 210; the rest
        // sticks into (11, 10), whose tile is painted later and covers it.
        bool oscuro = false;
        for (int j = 0; j < 20; ++j) {
            for (int i = 0; i < 10; ++i) {
                const QRgb esperado = px(hierba, 10 + i, j) & px(a, i, 60 + j);
                QCOMPARE(px(w.cuadro, 210 + i, 200 + j), esperado);
                oscuro = oscuro || px(a, i, 60 + j) != 0xFFFFFF;
            }
        }
        QVERIFY(oscuro);
        w.comparar(220, 200, [&](int i, int j) { return px(madera, i, j); });

        // A mark whose arrow has landed is not drawn.
        f.activa = falso;
        w.dibujar();
        w.comparar(200, 200, [&](int i, int j) { return px(hierba, i, j); });
    }

    void flecha_redondea_a_par() {
        escena w;
        flecha& f = w.m.flechas[0];
        f.activa = verdadero;
        f.x = 10.025; // 200.5 pixels: halves go to the even pixel, 200
        f.y = 10;
        f.direccion = 1;
        w.m.marcarflecha(0, 10, 10);
        w.dibujar();
        const QImage a = imagen("flech.png");
        const QImage hierba = imagen("terreno0.png");
        w.comparar(200, 200, [&](int i, int j) { return px(hierba, i, j) & px(a, i, 20 + j); });
    }

    void esquina_inferior_derecha() {
        escena w;
        w.m.vistas[0].x = 3;
        w.m.vistas[0].y = 4;
        w.mover(1, 42, 33);
        w.dibujar();
        const QImage tile = imagen("terreno0.png");
        bool distinto = false;
        for (int j = 0; j < 20; ++j)
            for (int i = 0; i < 20; ++i)
                distinto = distinto || px(w.cuadro, 780 + i, 580 + j) != px(tile, i, j);
        QVERIFY2(distinto, "the fighter is drawn in the bottom-right cell");
    }

    void mapa_pequeno_fuera_de_la_rejilla_en_negro() {
        escena w(30, 20);
        w.m.ajustarvista();
        QCOMPARE(int(w.vista().x), -10);
        QCOMPARE(int(w.vista().y), -10);
        w.dibujar();
        for (int y : {0, 150, 199})
            for (int x : {0, 100, 199, 599})
                QCOMPARE(px(w.cuadro, x, y), QRgb(0));
        const QImage tile = imagen("terreno0.png");
        w.comparar(400, 400, [&](int i, int j) { return px(tile, i, j); });
    }

    void estado_roto_no_lee_fuera() {
        // Values no rule can produce must still draw nothing out of bounds.
        escena w;
        w.m.ponerterreno(1, 1, 9);
        w.m.ponerocupante(2, 1, 40);
        w.m.marcarflecha(500, 3, 1);
        w.mover(1, 4, 1);
        w.m.unidades[1].direccion = 12;
        w.m.unidades[1].pose = 7;
        w.m.vistas[0].x = 990;
        w.dibujar();
    }
};

QTEST_APPLESS_MAIN(TestLienzo)
#include "test_lienzo.moc"
