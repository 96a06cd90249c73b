#include "Comun/alcance.h"
#include "Comun/terreno.h"

#include <QTest>

using namespace comun;

namespace {

// A map drawn in text: '.' grass, '#' wall, '~' water, 'T' tree, '_' floor;
// 'a' and 'b' are grass cells where the walk starts and ends.
struct dibujado {
    plano p;
    posicion a;
    posicion b;
};

dibujado leerdibujo(const QStringList& filas) {
    dibujado d;
    d.p = plano::vacio(int16_t(filas[0].size() - 1), int16_t(filas.size() - 1));
    for (int y = 0; y < filas.size(); ++y) {
        for (int x = 0; x < filas[y].size(); ++x) {
            QChar c = filas[y][x];
            int16_t t = c == '#'   ? pared
                        : c == '~' ? agua
                        : c == 'T' ? arbol
                        : c == '_' ? piso
                                   : pasto;
            d.p.ponerterreno(x, y, t);
            if (c == 'a')
                d.a = {int16_t(x), int16_t(y)};
            if (c == 'b')
                d.b = {int16_t(x), int16_t(y)};
        }
    }
    return d;
}

} // namespace

class TestAlcance : public QObject {
    Q_OBJECT

private slots:
    void caminos_data() {
        QTest::addColumn<QStringList>("mapa");
        QTest::addColumn<bool>("llega");
        QTest::newRow("campo-abierto") << QStringList{"a....", ".....", "....b"} << true;
        QTest::newRow("muro-de-lado-a-lado") << QStringList{"a.#..", "..#..", "..#.b"} << false;
        QTest::newRow("hueco-en-el-muro") << QStringList{"a.#..", "..._.", "..#.b"} << true;
        QTest::newRow("agua-y-arboles-cierran") << QStringList{"a.~..", "..T..", "..~.b"} << false;
        QTest::newRow("rincon-cerrado-por-muros")
            << QStringList{"a.#..", "..#..", "###..", "....b"} << false;
        QTest::newRow("paso-diagonal-sin-esquina")
            << QStringList{"a#...", "#.#..", "..#..", "...#b"} << true;
        QTest::newRow("rodeo-largo") << QStringList{"a#...", ".#.#.", ".#.#.", "...#b"} << true;
        QTest::newRow("misma-celda") << QStringList{"....", ".b..", "...."} << true;
        QTest::newRow("encerrado-contra-el-borde")
            << QStringList{"a#...", "##...", "....b"} << false;
    }
    void caminos() {
        QFETCH(QStringList, mapa);
        QFETCH(bool, llega);
        dibujado d = leerdibujo(mapa);
        if (QString(QTest::currentDataTag()) == "misma-celda")
            d.a = d.b;
        QCOMPARE(alcanzable(d.p, d.a, d.b), llega);
        QCOMPARE(alcanzable(d.p, d.b, d.a), llega);
    }

    void extremos_no_transitables() {
        dibujado d = leerdibujo({"a....", ".....", "....b"});
        d.p.ponerterreno(0, 0, pared);
        QVERIFY(!alcanzable(d.p, d.a, d.b));
        d.p.ponerterreno(0, 0, pasto);
        d.p.ponerterreno(4, 2, arbol);
        QVERIFY(!alcanzable(d.p, d.a, d.b));
        d.a = d.b; // one cell that is not passable doesn't reach itself
        QVERIFY(!alcanzable(d.p, d.a, d.b));
    }

    void mapa_grande_sin_recursion() {
        // A 1000 x 1000 serpentine: the walk is about half a million cells long.
        plano p = plano::vacio(999, 999);
        for (int y = 1; y < 1000; y += 2)
            for (int x = 0; x < 1000; ++x)
                if (x != ((y / 2) % 2 == 0 ? 999 : 0))
                    p.ponerterreno(x, y, pared);
        QVERIFY(alcanzable(p, {0, 0}, {0, 998}));
        p.ponerterreno(999, 1, pared);
        QVERIFY(!alcanzable(p, {0, 0}, {0, 998}));
    }
};

QTEST_APPLESS_MAIN(TestAlcance)
#include "test_alcance.moc"
