#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Editor/nucleo.h"
#include "registro.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace editor;

namespace {

// New and opened maps start at the fit zoom.
int centro(int celda, int vista, const estado& e) {
    return int((celda - vista + 0.5) * e.escala());
}

struct foto {
    std::vector<casilla> mapa;
    std::array<entrada, 3> inicio;
    bool operator==(const foto&) const = default;
};

} // namespace

class TestHerramientas : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp;
    registro r;
    std::unique_ptr<nucleo> n;

    const estado& e() const { return n->ver(); }
    foto sacar() const { return {e().mapa, e().inicio}; }
    void pulsar(int x, int y, int16_t shift = 0) {
        n->mainpic_MouseDown(shift, centro(x, e().vistax, e()), centro(y, e().vistay, e()));
    }
    void mover(int x, int y) {
        n->mainpic_MouseMove(centro(x, e().vistax, e()), centro(y, e().vistay, e()));
    }
    void soltar(int x, int y) {
        n->mainpic_MouseUp(centro(x, e().vistax, e()), centro(y, e().vistay, e()));
    }
    void trazo(int16_t t, std::initializer_list<std::pair<int, int>> celdas) {
        n->terrenos_Click(t);
        auto c = celdas.begin();
        pulsar(c->first, c->second);
        for (++c; c != celdas.end(); ++c)
            mover(c->first, c->second);
        soltar((celdas.end() - 1)->first, (celdas.end() - 1)->second);
    }
    void colocar(int16_t p, int x, int y) {
        n->px_Click(p);
        pulsar(x, y);
        soltar(x, y);
    }
    void rellenar(int16_t t, int x, int y) {
        n->terrenos_Click(t);
        pulsar(x, y, mayusculas);
        soltar(x, y);
    }
    void rectangulo(int16_t t, int x0, int y0, int x1, int y1) {
        n->terrenos_Click(t);
        pulsar(x0, y0, control);
        mover((x0 + x1) / 2, (y0 + y1) / 2);
        soltar(x1, y1);
    }
    void deshacer() { n->Form_KeyDown('Z', control); }
    // New maps start at the fit zoom; these cases count cells at 100 %.
    void cien() {
        n->tamanoreal();
        n->ponervista(0, 0);
    }
    void rehacer() { n->Form_KeyDown('Y', control); }
    int contar(int16_t t) const {
        int k = 0;
        for (const casilla& c : e().mapa)
            k += c.terreno == t;
        return k;
    }

private slots:
    void init() {
        r = registro{};
        tmp = std::make_unique<QTemporaryDir>();
        n = std::make_unique<nucleo>(r, tmp->path().toStdString());
        n->Form_Load();
        n->crear_Click(50, 50);
    }

    void ida_y_vuelta_data() {
        QTest::addColumn<QString>("accion");
        QTest::newRow("trazo") << "trazo";
        QTest::newRow("relleno") << "relleno";
        QTest::newRow("rectangulo") << "rectangulo";
        QTest::newRow("primer-inicio") << "primer-inicio";
        QTest::newRow("inicio-movido") << "inicio-movido";
        QTest::newRow("inicio-compartido-se-va") << "compartido-se-va";
        QTest::newRow("segundo-a-celda-compartida") << "segundo-a-compartida";
        QTest::newRow("trazo-simetrico") << "trazo-simetrico";
    }
    void ida_y_vuelta() {
        QFETCH(QString, accion);
        // Some history first, so the step undone isn't the only one.
        trazo(comun::pared, {{20, 2}, {21, 2}, {22, 2}, {22, 3}});
        colocar(0, 10, 10);
        if (accion == "inicio-movido" || accion == "compartido-se-va" ||
            accion == "segundo-a-compartida")
            colocar(1, accion == "inicio-movido" ? 30 : 10, 10);
        if (accion == "segundo-a-compartida")
            colocar(1, 30, 30);

        foto antes = sacar();
        std::size_t pasos = n->pasosdeshacer();
        if (accion == "trazo") {
            trazo(comun::agua, {{3, 3}, {4, 3}, {5, 4}, {10, 10}});
        } else if (accion == "relleno") {
            rellenar(comun::piso, 5, 5);
        } else if (accion == "rectangulo") {
            rectangulo(comun::arbol, 2, 3, 8, 12);
        } else if (accion == "primer-inicio") {
            colocar(1, 30, 30);
        } else if (accion == "inicio-movido") {
            colocar(1, 35, 20);
        } else if (accion == "compartido-se-va") {
            colocar(1, 30, 30); // cell (10, 10) loses its X
        } else if (accion == "segundo-a-compartida") {
            colocar(1, 10, 10);
        } else if (accion == "trazo-simetrico") {
            n->Form_KeyDown('M', 0);
            trazo(comun::madera, {{1, 1}, {2, 1}, {3, 2}});
        }
        foto despues = sacar();
        QVERIFY(!(antes == despues));
        QCOMPARE(n->pasosdeshacer(), pasos + 1);

        deshacer();
        QVERIFY(sacar() == antes);
        QCOMPARE(e().guardado, falso);
        rehacer();
        QVERIFY(sacar() == despues);
        n->Form_KeyDown('Z', control);
        QVERIFY(sacar() == antes);
        n->Form_KeyDown('Z', control | mayusculas);
        QVERIFY(sacar() == despues);
    }

    void nueva_edicion_borra_rehacer() {
        trazo(comun::agua, {{3, 3}});
        trazo(comun::pared, {{4, 4}});
        deshacer();
        QCOMPARE(n->pasosrehacer(), std::size_t(1));
        trazo(comun::arbol, {{6, 6}});
        QCOMPARE(n->pasosrehacer(), std::size_t(0));
        rehacer();
        QCOMPARE(e().celda(4, 4).terreno, int16_t(comun::pasto));
        QCOMPARE(e().celda(6, 6).terreno, int16_t(comun::arbol));
    }

    void crear_y_abrir_borran_la_historia() {
        colocar(0, 10, 10);
        colocar(1, 30, 30);
        n->guardar_Click("historia");
        trazo(comun::agua, {{3, 3}});
        r.eleccion = decision::descartar; // the stroke may go
        n->abrir_Click("historia.mapa");
        deshacer();
        QCOMPARE(n->pasosdeshacer(), std::size_t(0));
        QCOMPARE(e().inicio[0].colocado, verdadero);
        trazo(comun::agua, {{3, 3}});
        deshacer();
        QCOMPARE(n->pasosrehacer(), std::size_t(1));
        n->crear_Click(50, 50);
        QCOMPARE(n->pasosdeshacer() + n->pasosrehacer(), std::size_t(0));
    }

    void relleno_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("pintadas");
        // A closed wall ring from (10, 10) to (20, 20) stands on the map.
        QTest::newRow("dentro-del-anillo") << 15 << 15 << 81;
        QTest::newRow("fuera-hasta-el-borde-del-mapa") << 2 << 2 << 2500 - 121;
        QTest::newRow("sobre-el-anillo-mismo") << 10 << 10 << 40;
    }
    void relleno() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, pintadas);
        n->terrenos_Click(comun::pared);
        for (int i = 10; i <= 20; ++i) {
            for (auto [cx, cy] : {std::pair{i, 10}, {i, 20}, {10, i}, {20, i}}) {
                pulsar(cx, cy);
                soltar(cx, cy);
            }
        }
        // A drag beyond the map leaves grass outside it; the fill must not
        // spread there.
        n->terrenos_Click(comun::pasto);
        std::size_t pasos = n->pasosdeshacer();
        rellenar(comun::agua, x, y);
        QCOMPARE(n->pasosdeshacer(), pasos + 1);
        QCOMPARE(contar(comun::agua), pintadas);
        QCOMPARE(e().celda(x, y).transitable, falso);
        QCOMPARE(e().celda(50, 5).terreno, int16_t(comun::pasto));
        QCOMPARE(e().celda(5, 50).terreno, int16_t(comun::pasto));
        deshacer();
        QCOMPARE(contar(comun::agua), 0);
    }

    void relleno_del_mismo_terreno_no_es_un_paso() {
        rellenar(comun::pasto, 5, 5);
        QCOMPARE(n->pasosdeshacer(), std::size_t(0));
        QCOMPARE(e().pintando, falso);
    }

    void relleno_de_todo_un_mapa_grande() {
        n->crear_Click(200, 200);
        rellenar(comun::piso, 100, 100);
        QCOMPARE(contar(comun::piso), 200 * 200);
        QCOMPARE(e().celda(199, 199).terreno, int16_t(comun::piso));
        QCOMPARE(e().celda(200, 0).terreno, int16_t(comun::pasto));
    }

    void rectangulo_data() {
        QTest::addColumn<QPoint>("desde");
        QTest::addColumn<QPoint>("hasta");
        QTest::addColumn<QRect>("celdas");
        QTest::newRow("abajo-derecha") << QPoint(2, 3) << QPoint(6, 9) << QRect(2, 3, 5, 7);
        QTest::newRow("arriba-izquierda") << QPoint(6, 9) << QPoint(2, 3) << QRect(2, 3, 5, 7);
        QTest::newRow("abajo-izquierda") << QPoint(6, 3) << QPoint(2, 9) << QRect(2, 3, 5, 7);
        QTest::newRow("arriba-derecha") << QPoint(2, 9) << QPoint(6, 3) << QRect(2, 3, 5, 7);
        QTest::newRow("una-celda") << QPoint(4, 4) << QPoint(4, 4) << QRect(4, 4, 1, 1);
        QTest::newRow("una-fila") << QPoint(8, 4) << QPoint(1, 4) << QRect(1, 4, 8, 1);
        QTest::newRow("soltado-fuera-del-mapa-para-en-el-borde")
            << QPoint(20, 20) << QPoint(-30, -30) << QRect(0, 0, 21, 21);
    }
    void rectangulo() {
        QFETCH(QPoint, desde);
        QFETCH(QPoint, hasta);
        QFETCH(QRect, celdas);
        n->terrenos_Click(comun::arbol);
        int dibujos = r.dibujos;
        pulsar(desde.x(), desde.y(), control);
        QVERIFY(e().rectangulo);
        mover(hasta.x(), hasta.y());
        QVERIFY(r.dibujos > dibujos + 1);  // the outline follows the mouse
        QCOMPARE(contar(comun::arbol), 0); // nothing painted while dragging
        soltar(hasta.x(), hasta.y());
        QVERIFY(!e().rectangulo);
        QCOMPARE(contar(comun::arbol), celdas.width() * celdas.height());
        for (int y = celdas.top(); y <= celdas.bottom(); ++y)
            for (int x = celdas.left(); x <= celdas.right(); ++x)
                QCOMPARE(e().celda(x, y).terreno, int16_t(comun::arbol));
        QCOMPARE(n->pasosdeshacer(), std::size_t(1));
        deshacer();
        QCOMPARE(contar(comun::arbol), 0);
    }

    void rectangulo_mas_alla_del_mapa_por_la_derecha() {
        for (int i = 0; i < 10; ++i)
            n->Form_KeyDown(comun::vkderecha, 0);
        n->terrenos_Click(comun::agua);
        pulsar(45, 45, control);
        n->mainpic_MouseUp(5000, 5000);
        QCOMPARE(contar(comun::agua), 25);
        QCOMPARE(e().celda(50, 50).terreno, int16_t(comun::pasto));
    }

    void simetria_data() {
        QTest::addColumn<int>("lado");
        QTest::addColumn<QPoint>("celda");
        QTest::addColumn<QPoint>("espejo");
        QTest::newRow("par-esquina") << 50 << QPoint(0, 0) << QPoint(49, 49);
        QTest::newRow("par-cerca-del-centro") << 50 << QPoint(24, 24) << QPoint(25, 25);
        QTest::newRow("impar-esquina") << 75 << QPoint(0, 3) << QPoint(74, 71);
        QTest::newRow("impar-centro-sobre-si-misma") << 75 << QPoint(37, 37) << QPoint(37, 37);
    }
    void simetria() {
        QFETCH(int, lado);
        QFETCH(QPoint, celda);
        QFETCH(QPoint, espejo);
        n->crear_Click(lado, lado);
        n->Form_KeyDown('M', 0);
        QVERIFY(e().simetrico);
        while (celda.x() > e().vistax + e().celdasx() - 1 ||
               celda.y() > e().vistay + e().celdasy() - 1) {
            n->Form_KeyDown(comun::vkderecha, 0);
            n->Form_KeyDown(comun::vkabajo, 0);
        }
        trazo(comun::pared, {{celda.x(), celda.y()}});
        QCOMPARE(e().celda(espejo.x(), espejo.y()).terreno, int16_t(comun::pared));
        QCOMPARE(e().celda(espejo.x(), espejo.y()).transitable, falso);
        QCOMPARE(contar(comun::pared), celda == espejo ? 1 : 2);
        deshacer();
        QCOMPARE(contar(comun::pared), 0);
    }

    void simetria_en_relleno_rectangulo_e_inicios() {
        n->Form_KeyDown('M', 0);
        rectangulo(comun::agua, 0, 0, 1, 2);
        QCOMPARE(contar(comun::agua), 12);
        QCOMPARE(e().celda(48, 47).terreno, int16_t(comun::agua));
        rellenar(comun::piso, 20, 20);
        QCOMPARE(contar(comun::piso), 2500 - 12);
        // One click places both starts, as one step.
        const std::size_t pasos = n->pasosdeshacer();
        colocar(0, 10, 10);
        QCOMPARE(e().celda(39, 39).marca, int16_t(1));
        QCOMPARE(e().inicio[1].colocado, verdadero);
        QCOMPARE(n->pasosdeshacer(), pasos + 1);
        deshacer();
        QCOMPARE(e().inicio[0].colocado, falso);
        QCOMPARE(e().inicio[1].colocado, falso);
        rehacer();
        // No room at the mirrored cell: only the clicked team's start moves.
        n->Form_KeyDown('M', 0);
        rectangulo(comun::arbol, 38, 38, 38, 38);
        n->Form_KeyDown('M', 0);
        colocar(0, 12, 12);
        QCOMPARE(e().inicio[0].x, int16_t(12));
        QCOMPARE(e().inicio[1].x, int16_t(39));
        n->Form_KeyDown('M', 0);
        QVERIFY(!e().simetrico);
        trazo(comun::pared, {{5, 5}});
        QCOMPARE(contar(comun::pared), 1);
    }

    void comprobacion_al_guardar_data() {
        QTest::addColumn<QString>("estropear");
        QTest::addColumn<bool>("respuesta");
        QTest::addColumn<bool>("escribe");
        QTest::addColumn<int>("lineas"); // problems listed
        QTest::newRow("mapa-limpio-guarda-sin-preguntar") << "" << false << true << 0;
        QTest::newRow("inicio-sin-espacio-y-no") << "espacio" << false << false << 1;
        QTest::newRow("inicio-sin-espacio-y-si") << "espacio" << true << true << 1;
        QTest::newRow("equipos-separados-y-no") << "muro" << false << false << 1;
        QTest::newRow("equipos-separados-y-si") << "muro" << true << true << 1;
        QTest::newRow("inicio-tapiado-dos-problemas") << "tapiar" << false << false << 2;
    }
    void comprobacion_al_guardar() {
        QFETCH(QString, estropear);
        QFETCH(bool, respuesta);
        QFETCH(bool, escribe);
        QFETCH(int, lineas);
        colocar(0, 5, 5);
        colocar(1, 40, 20);
        n->terrenos_Click(comun::pared);
        if (estropear == "espacio") {
            pulsar(6, 6);
            soltar(6, 6);
        } else if (estropear == "muro") {
            pulsar(20, 0, 0);
            for (int y = 1; y < 60; ++y)
                n->mainpic_MouseMove(centro(20, 0, e()), centro(y, 0, e()));
            soltar(20, 49);
        } else if (estropear == "tapiar") {
            rectangulo(comun::agua, 4, 4, 6, 6);
        }
        r.respuesta = respuesta;
        r.estado = "antes";
        n->guardar_Click("comprobado");
        QCOMPARE(r.preguntas.size(), std::size_t(lineas ? 1 : 0));
        if (lineas) {
            const std::string& p = r.preguntas[0];
            QVERIFY(p.starts_with("El mapa tiene problemas:\n"));
            QVERIFY(p.ends_with("¿Guardar de todos modos?"));
            QCOMPARE(int(std::count(p.begin(), p.end(), '-')), lineas);
        }
        QCOMPARE(r.escrituras, escribe ? 1 : 0);
        QCOMPARE(e().guardado, escribe ? verdadero : falso);
        QCOMPARE(r.estado.substr(0, 8), std::string(escribe ? "GUARDADO" : "antes"));
        QVERIFY(r.avisos.empty());
    }

    void modos_de_espejo_data() {
        QTest::addColumn<int>("pulsaciones"); // of Shift+M
        QTest::addColumn<QPoint>("espejo");   // of cell (3, 4) on a 50 x 75 map
        QTest::addColumn<QString>("titulo");
        QTest::newRow("centro") << 0 << QPoint(46, 70) << "(centro)";
        QTest::newRow("izquierda-derecha") << 1 << QPoint(46, 4) << "(izquierda-derecha)";
        QTest::newRow("arriba-abajo") << 2 << QPoint(3, 70) << "(arriba-abajo)";
        QTest::newRow("vuelta-al-centro") << 3 << QPoint(46, 70) << "(centro)";
    }
    void modos_de_espejo() {
        QFETCH(int, pulsaciones);
        QFETCH(QPoint, espejo);
        QFETCH(QString, titulo);
        n->crear_Click(50, 75);
        for (int i = 0; i < pulsaciones; ++i)
            n->Form_KeyDown('M', mayusculas);
        QVERIFY(!e().simetrico);
        n->Form_KeyDown('M', 0);
        QVERIFY(r.titulo.ends_with(" - simétrico " + titulo.toStdString()));
        trazo(comun::pared, {{3, 4}});
        QCOMPARE(e().celda(espejo.x(), espejo.y()).terreno, int16_t(comun::pared));
        QCOMPARE(contar(comun::pared), 2);
    }

    void pinceles_y_lineas_data() {
        // Each row: keys pressed first, the drag (Alt held or not), and the
        // painted cells expected, as a set.
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<QList<QPoint>>("arrastre");
        QTest::addColumn<QList<QPoint>>("celdas");
        QList<QPoint> cuadro3;
        for (int y = 9; y <= 11; ++y)
            for (int x = 9; x <= 11; ++x)
                cuadro3 << QPoint(x, y);
        QTest::newRow("pincel-1") << "" << false << QList<QPoint>{{10, 10}}
                                  << QList<QPoint>{{10, 10}};
        QTest::newRow("pincel-3") << "]" << false << QList<QPoint>{{10, 10}} << cuadro3;
        QTest::newRow("pincel-5-vuelve-a-3")
            << "]][" << false << QList<QPoint>{{10, 10}} << cuadro3;
        QTest::newRow("pincel-3-en-la-esquina-se-recorta")
            << "]" << false << QList<QPoint>{{0, 0}}
            << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}, {1, 1}};
        QTest::newRow("linea-con-alt") << "" << true << QList<QPoint>{{2, 2}, {9, 9}, {6, 2}}
                                       << QList<QPoint>{{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}};
        QTest::newRow("linea-con-l-en-diagonal") << "L" << false << QList<QPoint>{{1, 1}, {4, 4}}
                                                 << QList<QPoint>{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
        QTest::newRow("linea-en-angulo") << "L" << false << QList<QPoint>{{0, 0}, {4, 2}}
                                         << QList<QPoint>{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}};
    }
    void pinceles_y_lineas() {
        QFETCH(QString, teclas);
        QFETCH(bool, alt);
        QFETCH(QList<QPoint>, arrastre);
        QFETCH(QList<QPoint>, celdas);
        for (QChar t : teclas)
            n->Form_KeyDown(int16_t(t.unicode()), 0);
        n->terrenos_Click(comun::pared);
        const std::size_t pasos = n->pasosdeshacer();
        pulsar(arrastre.front().x(), arrastre.front().y(), alt ? alternativa : 0);
        for (const QPoint& c : arrastre.mid(1)) {
            mover(c.x(), c.y());
            // A line paints nothing until it is released.
            if (alt || teclas.contains('L'))
                QCOMPARE(contar(comun::pared), 0);
        }
        soltar(arrastre.back().x(), arrastre.back().y());
        comun::lectura l = comun::leermapa(comun::escribirmapa(n->plano()));
        QVERIFY(l);
        QSet<QPoint> pintadas;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x)
                if (l.mapa->terreno(x, y) == comun::pared)
                    pintadas.insert(QPoint(x, y));
        QCOMPARE(pintadas, QSet<QPoint>(celdas.begin(), celdas.end()));
        QCOMPARE(n->pasosdeshacer(), pasos + 1);
        deshacer();
        QCOMPARE(contar(comun::pared), 0);
    }

    void teclas_y_clic_derecho_eligen_el_terreno() {
        for (int k = 1; k <= 6; ++k) {
            n->Form_KeyDown(int16_t('0' + k), 0);
            QCOMPARE(e().pincel, int16_t(k - 1));
            QCOMPARE(e().pincelinicio, int16_t(-1));
        }
        n->Form_KeyDown('1', 0, true); // typed in a text box
        QCOMPARE(e().pincel, int16_t(comun::piso));
        trazo(comun::agua, {{7, 7}});
        n->px_Click(1);
        n->mainpic_MouseDown(0, centro(7, 0, e()), centro(7, 0, e()), botonderecho);
        n->mainpic_MouseMove(centro(8, 0, e()), centro(8, 0, e()));
        n->mainpic_MouseUp(centro(8, 0, e()), centro(8, 0, e()));
        QCOMPARE(e().pincel, int16_t(comun::agua));
        QCOMPARE(e().pincelinicio, int16_t(-1));
        QCOMPARE(contar(comun::agua), 1);
        QCOMPARE(n->pasosdeshacer(), std::size_t(1));
    }

    void estado_del_puntero() {
        cien();
        n->Form_KeyDown(comun::vkderecha, 0);
        trazo(comun::arbol, {{12, 7}});
        n->Form_KeyDown(']', 0);
        mover(12, 7);
        QCOMPARE(r.estado, std::string("( 3 , 0 )    columna 12, fila 7: Árbol    mapa 50 x 50"
                                       "    Árbol (pincel 3 x 3)    zoom 100 %"));
        // Painted under the still pointer, by a stroke or a fill, the cell
        // tells its new terrain.
        n->terrenos_Click(comun::pared);
        pulsar(12, 7);
        QVERIFY2(r.estado.find("fila 7: Pared") != std::string::npos, r.estado.c_str());
        soltar(12, 7);
        n->terrenos_Click(comun::agua);
        pulsar(12, 7, mayusculas);
        QVERIFY2(r.estado.find("fila 7: Agua") != std::string::npos, r.estado.c_str());
        soltar(12, 7);
        n->terrenos_Click(comun::arbol);
        // The view moves under the still pointer, by key, zoom or scroll
        // bar: the cell under it is another one.
        n->Form_KeyDown(comun::vkderecha, 0);
        QVERIFY2(r.estado.find("columna 15, fila 7:") != std::string::npos, r.estado.c_str());
        n->ponervista(0, 0);
        QVERIFY2(r.estado.find("columna 9, fila 7:") != std::string::npos, r.estado.c_str());
        n->mainpic_MouseLeave();
        n->Form_KeyDown(comun::vkderecha, 0);
        QVERIFY(!e().haypuntero);
        n->px_Click(1);
        QCOMPARE(r.estado, std::string("( 3 , 0 )    mapa 50 x 50    inicio azul    zoom 100 %"));
    }

    void tinte_de_lo_inalcanzable() {
        // Team 0 walled in a 5 x 5 room; team 1 outside.
        colocar(0, 10, 10);
        colocar(1, 30, 30);
        rectangulo(comun::pared, 7, 7, 13, 7);
        rectangulo(comun::pared, 7, 13, 13, 13);
        rectangulo(comun::pared, 7, 7, 7, 13);
        rectangulo(comun::pared, 13, 7, 13, 13);
        n->Form_KeyDown('C', 0);
        QVERIFY(e().vertinte);
        std::vector<char> fuera = n->inalcanzables();
        // Both sides reach their own area: nothing walkable is left out.
        QCOMPARE(std::count(fuera.begin(), fuera.end(), 1), 0);
        rectangulo(comun::pared, 25, 25, 35, 25); // no effect on reach
        rectangulo(comun::agua, 40, 0, 40, 49);   // cuts off columns 41..49
        fuera = n->inalcanzables();
        QCOMPARE(std::count(fuera.begin(), fuera.end(), 1), 9 * 50);
        QVERIFY(fuera[std::size_t(20) * 50 + 45]);
        QVERIFY(!fuera[std::size_t(10) * 50 + 10]);
        QVERIFY(!fuera[std::size_t(7) * 50 + 7]); // a wall isn't tinted
    }

    void acercar_deja_la_celda_bajo_el_puntero_data() {
        QTest::addColumn<int>("lado");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QList<int>>("pasos");
        QTest::addColumn<QPoint>("celda"); // under the pointer at the end
        QTest::newRow("alejar-al-50")
            << 200 << QPoint(130, 250) << QList<int>{-1} << QPoint(66, 72);
        QTest::newRow("alejar-al-25")
            << 200 << QPoint(400, 100) << QList<int>{-1, -1} << QPoint(80, 65);
        QTest::newRow("acercar-al-200")
            << 200 << QPoint(250, 250) << QList<int>{1} << QPoint(72, 72);
        QTest::newRow("ida-y-vuelta")
            << 200 << QPoint(37, 411) << QList<int>{1, -1, -1, 1} << QPoint(61, 80);
        QTest::newRow("mas-alla-del-200-no-cambia")
            << 200 << QPoint(250, 250) << QList<int>{1, 1, 1} << QPoint(72, 72);
        // The whole 50 x 50 map fits at 25 %: the view stays at its corner.
        QTest::newRow("mapa-entero-a-la-vista")
            << 50 << QPoint(250, 250) << QList<int>{-2} << QPoint(50, 50);
    }
    void acercar_deja_la_celda_bajo_el_puntero() {
        QFETCH(int, lado);
        QFETCH(QPoint, pixel);
        QFETCH(QList<int>, pasos);
        QFETCH(QPoint, celda);
        n->crear_Click(lado, lado);
        cien();
        n->ponervista(60, 60);
        for (int p : pasos)
            n->acercar(p, pixel.x(), pixel.y());
        const int t = e().tamano;
        QCOMPARE(QPoint(e().vistax + pixel.x() / t, e().vistay + pixel.y() / t), celda);
        QCOMPARE(r.inicioestado(),
                 "( " + std::to_string(e().vistax) + " , " + std::to_string(e().vistay) + " )");
    }

    void minimapa_data() {
        QTest::addColumn<int>("ancho");
        QTest::addColumn<int>("alto");
        QTest::addColumn<QPoint>("pixel"); // on a 150-pixel minimap
        QTest::addColumn<QPoint>("celda");
        QTest::addColumn<QPoint>("vista"); // after a click there, at 100 %
        QTest::newRow("50-esquina") << 50 << 50 << QPoint(0, 0) << QPoint(0, 0) << QPoint(0, 0);
        QTest::newRow("50-ultima")
            << 50 << 50 << QPoint(149, 149) << QPoint(49, 49) << QPoint(25, 25);
        QTest::newRow("200-centro")
            << 200 << 200 << QPoint(75, 75) << QPoint(100, 100) << QPoint(88, 88);
        QTest::newRow("200x100") << 200 << 100 << QPoint(75, 30) << QPoint(100, 40)
                                 << QPoint(88, 28);
        QTest::newRow("200x100-bajo-el-mapa")
            << 200 << 100 << QPoint(10, 140) << QPoint(13, 99) << QPoint(1, 75);
        QTest::newRow("75x50") << 75 << 50 << QPoint(149, 10) << QPoint(74, 5) << QPoint(50, 0);
    }
    void minimapa() {
        QFETCH(int, ancho);
        QFETCH(int, alto);
        QFETCH(QPoint, pixel);
        QFETCH(QPoint, celda);
        QFETCH(QPoint, vista);
        n->crear_Click(ancho, alto);
        cien();
        comun::posicion c = n->celdaminimapa(pixel.x(), pixel.y(), 150);
        QCOMPARE(QPoint(c.x, c.y), celda);
        n->minimapa_Click(pixel.x(), pixel.y(), 150);
        QCOMPARE(QPoint(e().vistax, e().vistay), vista);
    }

    void vista_mayor_y_boton_central() {
        n->crear_Click(200, 200);
        n->ponertamanovista(1000, 700); // 50 x 35 cells
        cien();
        QCOMPARE(e().celdasx(), 50);
        n->ponervista(500, 500);
        QCOMPARE(QPoint(e().vistax, e().vistay), QPoint(150, 165));
        n->mainpic_MouseDown(0, 100, 100, botoncentral);
        n->mainpic_MouseMove(141, 121); // the map two cells right, one down
        n->mainpic_MouseUp(141, 121);
        QCOMPARE(QPoint(e().vistax, e().vistay), QPoint(148, 164));
        QCOMPARE(n->pasosdeshacer(), std::size_t(0));
        n->desplazar(-3, 0);
        QCOMPARE(e().vistax, int16_t(145));
    }

    void mil_trazos_ocupan_poco() {
        n->crear_Click(200, 200);
        for (int k = 0; k < 1000; ++k) {
            int x = k % 20;
            trazo(int16_t(1 + (k / 20) % 5), {{x, 1}, {x, 2}, {x, 3}, {x, 4}, {x, 5}});
        }
        QCOMPARE(n->pasosdeshacer(), std::size_t(1000));
        // Five changed cells a stroke, not copies of the map.
        QVERIFY2(n->memoria() < 1000 * 250, std::to_string(n->memoria()).c_str());
    }

    void la_historia_tiene_tope() {
        n->crear_Click(200, 200);
        for (int k = 0; k < 120; ++k)
            rellenar(k % 2 ? comun::pasto : comun::piso, 50, 50);
        QVERIFY(n->memoria() <= nucleo::limitememoria);
        QVERIFY(n->pasosdeshacer() < 120);
        QVERIFY(n->pasosdeshacer() > 50);
        // The most recent steps are the ones kept.
        deshacer();
        QCOMPARE(contar(comun::piso), 200 * 200);
    }
};

QTEST_GUILESS_MAIN(TestHerramientas)
#include "test_herramientas.moc"
