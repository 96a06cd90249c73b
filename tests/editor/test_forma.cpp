// Shaping a map: resize, the selection and what it does, the mirrored half,
// Probar, each team's reach and closed lines.
#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Editor/nucleo.h"
#include "registro.h"

#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <memory>
#include <sstream>

using namespace editor;

namespace {

struct foto {
    std::vector<casilla> mapa;
    std::array<entrada, 3> inicio;
    int16_t ancho;
    int16_t alto;
    bool operator==(const foto&) const = default;
};

} // namespace

class TestForma : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp;
    registro r;
    std::unique_ptr<nucleo> n;

    const estado& e() const { return n->ver(); }
    foto sacar() const { return {e().mapa, e().inicio, e().anchomapa, e().altomapa}; }
    int16_t t(int x, int y) const { return e().celda(x, y).terreno; }
    // Starts as the core places them, room checked.
    void colocar(int16_t p, int x, int y) {
        n->px_Click(p);
        n->mainpic_MouseDown(0, int((x - e().vistax + 0.5) * e().escala()),
                             int((y - e().vistay + 0.5) * e().escala()));
        n->mainpic_MouseUp(0, 0);
        QCOMPARE(e().inicio[std::size_t(p)].x, int16_t(x));
    }
    void pintar(int x, int y, int16_t terreno) {
        n->seleccionar(x, y, x, y);
        // Through the clipboard: a 1 x 1 copy of the wanted terrain.
        r.portapapeles = "tarnhollow-casillas 1 1 1\n" + std::string(1, char('0' + terreno));
        n->pegar();
        n->soltarcopia(x, y);
    }
    void marcas(int esperadas) const {
        int k = 0;
        for (const casilla& c : e().mapa)
            k += c.marca >= 0;
        QCOMPARE(k, esperadas);
    }

private slots:
    void init() {
        r = registro{};
        tmp = std::make_unique<QTemporaryDir>();
        r.carpeta = tmp->path().toStdString() + "/prueba";
        n = std::make_unique<nucleo>(r, tmp->path().toStdString() + "/mapas");
        n->Form_Load();
        n->crear_Click(60, 50);
    }

    void redimensionar_data() {
        QTest::addColumn<int>("ancho");
        QTest::addColumn<int>("alto");
        QTest::addColumn<int>("ancla");
        QTest::addColumn<QPoint>("marca"); // where the wall at (10, 10) lands
        QTest::newRow("crece-arriba-izquierda") << 100 << 80 << 0 << QPoint(10, 10);
        QTest::newRow("crece-centro") << 100 << 80 << 4 << QPoint(30, 25);
        QTest::newRow("crece-abajo-derecha") << 100 << 80 << 8 << QPoint(50, 40);
        QTest::newRow("recorta-por-la-izquierda") << 54 << 50 << 2 << QPoint(4, 10);
        QTest::newRow("recorta-los-lados-abajo") << 52 << 50 << 7 << QPoint(6, 10);
        QTest::newRow("mil-por-mil") << 1000 << 1000 << 8 << QPoint(950, 960);
    }
    void redimensionar() {
        QFETCH(int, ancho);
        QFETCH(int, alto);
        QFETCH(int, ancla);
        QFETCH(QPoint, marca);
        pintar(10, 10, comun::pared);
        colocar(0, 20, 20);
        colocar(1, 40, 30);
        const foto antes = sacar();
        n->redimensionar(ancho, alto, ancla, comun::agua);
        QCOMPARE(e().anchomapa, int16_t(ancho - 1));
        QCOMPARE(e().altomapa, int16_t(alto - 1));
        QCOMPARE(t(marca.x(), marca.y()), int16_t(comun::pared));
        const int dx = marca.x() - 10;
        const int dy = marca.y() - 10;
        QCOMPARE(e().inicio[0].x, int16_t(20 + dx));
        QCOMPARE(e().inicio[1].y, int16_t(30 + dy));
        QCOMPARE(e().celda(20 + dx, 20 + dy).marca, int16_t(0));
        marcas(2);
        // Gained cells take the chosen terrain; beyond the map, plain grass.
        if (dx > 0)
            QCOMPARE(t(0, marca.y()), int16_t(comun::agua));
        if (ancho < 60)
            QCOMPARE(t(ancho, 0), int16_t(comun::pasto));
        QCOMPARE(n->nombredeshacer(), std::string("redimensionar"));
        n->deshacer();
        QVERIFY(sacar() == antes);
        n->rehacer();
        QCOMPARE(e().anchomapa, int16_t(ancho - 1));
        QCOMPARE(t(marca.x(), marca.y()), int16_t(comun::pared));
    }

    void redimensionar_rehusa_data() {
        QTest::addColumn<int>("ancho");
        QTest::addColumn<int>("ancla");
        QTest::addColumn<QString>("texto");
        QTest::newRow("inicio-fuera") << 50 << 2 << "inicio del equipo rojo";
        QTest::newRow("demasiado-pequeno") << 49 << 0 << "del 50 al 1000";
        QTest::newRow("demasiado-grande") << 1001 << 0 << "del 50 al 1000";
    }
    void redimensionar_rehusa() {
        QFETCH(int, ancho);
        QFETCH(int, ancla);
        QFETCH(QString, texto);
        colocar(0, 5, 20); // cropped 10 columns from the left, it would sit at -5
        const foto antes = sacar();
        n->redimensionar(ancho, 50, ancla, comun::pasto);
        QVERIFY(sacar() == antes);
        QCOMPARE(r.avisos.size(), std::size_t(1));
        QVERIFY2(r.avisos[0].texto.find(texto.toStdString()) != std::string::npos,
                 r.avisos[0].texto.c_str());
        QCOMPARE(n->pasosdeshacer(), std::size_t(1));
    }

    void transformar_data() {
        QTest::addColumn<QString>("accion");
        QTest::addColumn<QPoint>("pared");  // from (15, 10)
        QTest::addColumn<QPoint>("inicio"); // the red start inside, from (12, 12)
        // Selection (10, 10) to (15, 13): 6 x 4.
        QTest::newRow("voltear-x") << "X" << QPoint(10, 10) << QPoint(13, 12);
        QTest::newRow("voltear-y") << "Y" << QPoint(15, 13) << QPoint(12, 11);
        QTest::newRow("girar") << "Z" << QPoint(13, 15) << QPoint(11, 12);
    }
    void transformar() {
        QFETCH(QString, accion);
        QFETCH(QPoint, pared);
        QFETCH(QPoint, inicio);
        pintar(15, 10, comun::pared);
        colocar(0, 12, 12);
        // The blue start lies outside, below the selection, where the turned
        // block reaches: it stays, its X too.
        colocar(1, 11, 15);
        pintar(30, 30, comun::agua);
        n->seleccionar(10, 10, 15, 13);
        const foto antes = sacar();
        n->Form_KeyDown(int16_t(accion.at(0).unicode()), 0);
        QCOMPARE(t(pared.x(), pared.y()), int16_t(comun::pared));
        QCOMPARE(QPoint(e().inicio[0].x, e().inicio[0].y), inicio);
        QCOMPARE(e().celda(inicio.x(), inicio.y()).marca, int16_t(0));
        QCOMPARE(QPoint(e().inicio[1].x, e().inicio[1].y), QPoint(11, 15));
        QCOMPARE(e().celda(11, 15).marca, int16_t(1));
        QCOMPARE(t(30, 30), int16_t(comun::agua));
        marcas(2);
        int paredes = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 60; ++x)
                paredes += t(x, y) == comun::pared;
        QCOMPARE(paredes, 1);
        n->deshacer();
        QVERIFY(sacar() == antes);
    }

    void girar_que_no_cabe_se_rehusa() {
        n->seleccionar(50, 10, 59, 12); // turned: 3 wide, 10 high, fits
        n->girar();
        QVERIFY(r.avisos.empty());
        n->seleccionar(40, 45, 59, 49); // turned: 5 wide, 20 high from row 45
        const foto antes = sacar();
        n->girar();
        QVERIFY(sacar() == antes);
        QCOMPARE(r.avisos.size(), std::size_t(1));
    }

    void pegar_en_el_borde_data() {
        QTest::addColumn<QPoint>("centro");
        QTest::addColumn<int>("dentro"); // cells of the 4 x 3 copy inside the map
        QTest::newRow("en-medio") << QPoint(20, 20) << 12;
        QTest::newRow("abajo-derecha") << QPoint(59, 49) << 6;
        QTest::newRow("arriba-izquierda") << QPoint(0, 0) << 4;
        QTest::newRow("fuera-del-todo") << QPoint(-5, 0) << 0;
    }
    void pegar_en_el_borde() {
        QFETCH(QPoint, centro);
        QFETCH(int, dentro);
        r.portapapeles = "tarnhollow-casillas 1 4 3\n5555\n5555\n5555\n";
        const foto antes = sacar();
        n->pegar();
        QVERIFY(e().pegando);
        n->soltarcopia(centro.x(), centro.y());
        QVERIFY(!e().pegando);
        int pisos = 0;
        for (const casilla& c : e().mapa)
            pisos += c.terreno == comun::piso;
        QCOMPARE(pisos, dentro);
        QCOMPARE(n->pasosdeshacer(), std::size_t(dentro > 0 ? 1 : 0));
        n->deshacer();
        QVERIFY(sacar() == antes);
    }

    void copiar_cortar_borrar_y_esc() {
        pintar(5, 5, comun::arbol);
        pintar(6, 5, comun::agua);
        n->seleccionar(5, 5, 6, 5);
        n->Form_KeyDown('C', control);
        QCOMPARE(r.portapapeles, std::string("tarnhollow-casillas 1 2 1\n43\n"));
        n->Form_KeyDown('X', control);
        QCOMPARE(t(5, 5), int16_t(comun::pasto));
        QCOMPARE(n->nombredeshacer(), std::string("cortar"));
        // Pasted with X: mirrored while it follows the pointer.
        n->Form_KeyDown('V', control);
        n->Form_KeyDown('X', 0);
        n->soltarcopia(21, 20);
        QCOMPARE(t(20, 20), int16_t(comun::agua));
        QCOMPARE(t(21, 20), int16_t(comun::arbol));
        QVERIFY(e().hayseleccion);
        n->Form_KeyDown(vksuprimir, 0);
        QCOMPARE(t(20, 20), int16_t(comun::pasto));
        QCOMPARE(n->nombredeshacer(), std::string("borrar"));
        // Esc drops the copy being placed and changes nothing.
        const std::size_t pasos = n->pasosdeshacer();
        n->Form_KeyDown('V', control);
        n->Form_KeyDown(vkescape, 0);
        QVERIFY(!e().pegando);
        n->mainpic_MouseDown(0, 40, 40);
        QCOMPARE(n->pasosdeshacer(), pasos);
    }

    void portapapeles_ajeno_data() {
        QTest::addColumn<QString>("texto");
        QTest::newRow("vacio") << "";
        QTest::newRow("otro-texto") << "hola";
        QTest::newRow("terreno-6") << "tarnhollow-casillas 1 1 1\n6\n";
        QTest::newRow("fila-corta") << "tarnhollow-casillas 1 2 2\n00\n0\n";
        QTest::newRow("falta-una-fila") << "tarnhollow-casillas 1 2 2\n00\n";
        QTest::newRow("lado-1001") << "tarnhollow-casillas 1 1001 1\n";
        QTest::newRow("lado-0") << "tarnhollow-casillas 1 0 1\n\n";
        QTest::newRow("signo") << "tarnhollow-casillas 1 -1 1\n0\n";
    }
    void portapapeles_ajeno() {
        QFETCH(QString, texto);
        r.portapapeles = texto.toStdString();
        n->pegar();
        QVERIFY(!e().pegando);
        QCOMPARE(r.avisos.size(), std::size_t(1));
        QCOMPARE(r.avisos[0].titulo, std::string("Pegar"));
    }

    void reflejar_la_mitad_data() {
        QTest::addColumn<int>("modo"); // Shift+M presses from centro
        QTest::addColumn<QPoint>("espejo");
        QTest::newRow("centro") << 0 << QPoint(49, 39);
        QTest::newRow("izquierda-derecha") << 1 << QPoint(49, 10);
        QTest::newRow("arriba-abajo") << 2 << QPoint(10, 39);
    }
    void reflejar_la_mitad() {
        QFETCH(int, modo);
        QFETCH(QPoint, espejo);
        for (int i = 0; i < modo; ++i)
            n->Form_KeyDown('M', mayusculas);
        pintar(10, 10, comun::pared);
        colocar(0, 15, 15);
        colocar(1, 17, 15); // in the same half: it moves to the mirror
        const foto antes = sacar();
        n->reflejarmitad();
        QCOMPARE(t(espejo.x(), espejo.y()), int16_t(comun::pared));
        QCOMPARE(t(10, 10), int16_t(comun::pared));
        const comun::posicion m = n->espejar(15, 15);
        QCOMPARE(QPoint(e().inicio[1].x, e().inicio[1].y), QPoint(m.x, m.y));
        QCOMPARE(e().celda(m.x, m.y).marca, int16_t(1));
        marcas(2);
        QCOMPARE(n->pasosdeshacer(), std::size_t(4));
        n->deshacer();
        QVERIFY(sacar() == antes);
    }

    void probar_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("aviso"); // empty: the game starts
        QTest::newRow("arranca") << "bien"
                                 << "";
        QTest::newRow("sin-inicios") << "sin-inicios"
                                     << "posicion de inicio";
        QTest::newRow("inicio-en-el-borde") << "borde"
                                            << "juego no podría usarlo";
        QTest::newRow("sin-juego") << "sin-juego"
                                   << "No se encuentra el juego";
        QTest::newRow("sin-carpeta") << "sin-carpeta"
                                     << "carpeta temporal";
        QTest::newRow("no-arranca") << "no-arranca"
                                    << "No se pudo iniciar";
    }
    void probar() {
        QFETCH(QString, caso);
        QFETCH(QString, aviso);
        if (caso != "sin-inicios") {
            colocar(0, 10, 10);
            colocar(1, 40, 40);
        }
        if (caso == "borde") {
            // Only a hand-made file puts a start on the edge.
            comun::plano p = n->plano();
            p.inicio[1] = {59, 20};
            std::ofstream(tmp->path().toStdString() + "/borde.mapa") << comun::escribirmapa(p);
            r.eleccion = decision::descartar;
            n->abrirruta(tmp->path().toStdString() + "/borde.mapa", "Abrir");
            QCOMPARE(e().inicio[1].x, int16_t(59));
        }
        if (caso == "sin-juego")
            r.programa.clear();
        if (caso == "sin-carpeta")
            r.carpeta.clear();
        if (caso == "no-arranca")
            r.falloalanzar = "no";
        n->ponerguerreros(6);
        // Not saved, not named: tried as it is, and still to be saved.
        const int16_t guardado = e().guardado;
        n->probar();
        QCOMPARE(e().guardado, guardado);
        if (!aviso.isEmpty()) {
            QVERIFY(r.lanzados.empty());
            QCOMPARE(r.avisos.size(), std::size_t(1));
            QVERIFY2(r.avisos[0].texto.find(aviso.toStdString()) != std::string::npos,
                     r.avisos[0].texto.c_str());
            return;
        }
        QVERIFY(r.avisos.empty());
        QCOMPARE(r.lanzados.size(), std::size_t(1));
        const std::vector<std::string> l = r.lanzados[0];
        QCOMPARE(l.size(), std::size_t(5));
        QCOMPARE(l[0], std::string("/juego/Tarnhollow"));
        QCOMPARE(l[1], std::string("--mapa"));
        QCOMPARE(l[3], std::string("--guerreros"));
        QCOMPARE(l[4], std::string("6"));
        // The map as it is, in our temporary folder, never the user's.
        QVERIFY(l[2].rfind(r.carpeta + "/", 0) == 0);
        std::ifstream f(l[2], std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        QCOMPARE(s.str(), comun::escribirmapa(n->plano()));
        QVERIFY(!std::filesystem::exists(n->carpeta()) || std::filesystem::is_empty(n->carpeta()));
        // A second try gets a file of its own: the first game may still read.
        n->probar();
        QVERIFY(r.lanzados[1][2] != l[2]);
    }

    void alcance_de_cada_equipo() {
        colocar(0, 10, 10);
        colocar(1, 40, 40);
        QVERIFY(!n->zonas().separados);
        QCOMPARE(n->zonas().celdas[std::size_t(40) * 60 + 40], char(nadie));
        // A wall across the map: each side in its team's colour, a walled-in
        // pocket grey.
        n->seleccionar(0, 25, 59, 25);
        r.portapapeles = "tarnhollow-casillas 1 60 1\n" + std::string(60, '2') + "\n";
        n->pegar();
        n->soltarcopia(30, 25);
        for (int y = 1; y <= 3; ++y)
            for (int x = 50; x <= 52; ++x)
                if (x != 51 || y != 2)
                    pintar(x, y, comun::agua);
        const nucleo::alcances& z = n->zonas();
        QVERIFY(z.separados);
        QCOMPARE(z.celdas[std::size_t(0) * 60 + 0], char(equiporojo));
        QCOMPARE(z.celdas[std::size_t(49) * 60 + 59], char(equipoazul));
        QCOMPARE(z.celdas[std::size_t(25) * 60 + 3], char(nadie));
        QCOMPARE(z.celdas[std::size_t(2) * 60 + 51], char(aislada));
    }

    void lineas_cerradas_data() {
        QTest::addColumn<QPoint>("hasta");
        QTest::newRow("diagonal") << QPoint(20, 20);
        QTest::newRow("empinada") << QPoint(13, 30);
        QTest::newRow("hacia-arriba-izquierda") << QPoint(0, 3);
        QTest::newRow("recta") << QPoint(30, 10);
    }
    void lineas_cerradas() {
        QFETCH(QPoint, hasta);
        const comun::posicion a{10, 10};
        const comun::posicion b{int16_t(hasta.x()), int16_t(hasta.y())};
        const auto v = nucleo::celdaslinea(a, b, true);
        QVERIFY(v.front() == a && v.back() == b);
        for (std::size_t i = 1; i < v.size(); ++i)
            QCOMPARE(std::abs(v[i].x - v[i - 1].x) + std::abs(v[i].y - v[i - 1].y), 1);
        // Shift+L: the line tool, closed, and the status says so.
        n->Form_KeyDown('L', mayusculas);
        QVERIFY(e().herramientalinea && e().lineacerrada);
        QVERIFY(r.estado.find("línea cerrada") != std::string::npos);
    }

    void hueco_en_diagonal_al_guardar() {
        // A diagonal wall from corner to corner of a 50 x 50 map: it looks
        // closed, fighters squeeze through it.
        n->crear_Click(50, 50);
        for (int i = 0; i < 50; ++i)
            pintar(i, 49 - i, comun::pared);
        colocar(0, 10, 10);
        colocar(1, 40, 40);
        r.respuesta = false;
        n->guardar_Click("diagonal");
        QCOMPARE(r.preguntas.size(), std::size_t(1));
        QVERIFY2(r.preguntas[0].find("en diagonal") != std::string::npos, r.preguntas[0].c_str());
        // Drawn closed, there is no gap and the teams are cut off instead.
        n->seleccionar(0, 0, 49, 49);
        n->borrarseleccion();
        n->Form_KeyDown('L', mayusculas);
        for (comun::posicion c : nucleo::celdaslinea({0, 49}, {49, 0}, true))
            pintar(c.x, c.y, comun::pared);
        r.preguntas.clear();
        n->guardar_Click("diagonal");
        QCOMPARE(r.preguntas.size(), std::size_t(1));
        QVERIFY(r.preguntas[0].find("en diagonal") == std::string::npos);
        QVERIFY(r.preguntas[0].find("No se puede caminar") != std::string::npos);
    }

    void zoom_que_ajusta_data() {
        QTest::addColumn<int>("lado");
        QTest::addColumn<QSize>("vista");
        QTest::addColumn<QString>("zoom");
        // The view of a 1600 x 1000 window: 1260 x 950 pixels.
        QTest::newRow("mil-en-pantalla") << 1000 << QSize(1260, 950) << "3,8 %";
        QTest::newRow("doscientos") << 200 << QSize(500, 500) << "10 %";
        QTest::newRow("cincuenta") << 50 << QSize(1260, 950) << "50 %";
    }
    void zoom_que_ajusta() {
        QFETCH(int, lado);
        QFETCH(QSize, vista);
        QFETCH(QString, zoom);
        n->ponertamanovista(vista.width(), vista.height());
        n->Form_KeyDown('M', 0);
        n->crear_Click(lado, lado);
        QVERIFY(!e().simetrico);
        QVERIFY(e().celdasx() >= lado && e().celdasy() >= lado);
        QCOMPARE(n->informezoom(), zoom.toStdString());
        QVERIFY(r.estado.find("zoom " + zoom.toStdString()) != std::string::npos);
        n->tamanoreal();
        QCOMPARE(n->informezoom(), std::string("100 %"));
        n->ajustarventana();
        QCOMPARE(n->informezoom(), zoom.toStdString());
        QCOMPARE(e().vistax, int16_t(0));
    }
};

QTEST_GUILESS_MAIN(TestForma)
#include "test_forma.moc"
