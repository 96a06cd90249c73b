#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Editor/nucleo.h"
#include "registro.h"

#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

using namespace editor;

namespace {

// Pixel in the middle of the view cell that shows (x, y).
// New and opened maps start at the fit zoom.
int centro(int celda, int vista, const estado& e) {
    return int((celda - vista + 0.5) * e.escala());
}

std::string leer(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace

class TestNucleo : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp;
    registro r;
    std::unique_ptr<nucleo> n;

    const estado& e() const { return n->ver(); }
    void pulsar(int x, int y, int16_t shift = 0) {
        n->mainpic_MouseDown(shift, centro(x, e().vistax, e()), centro(y, e().vistay, e()));
    }
    void mover(int x, int y) {
        n->mainpic_MouseMove(centro(x, e().vistax, e()), centro(y, e().vistay, e()));
    }
    void soltar(int x, int y) {
        n->mainpic_MouseUp(centro(x, e().vistax, e()), centro(y, e().vistay, e()));
    }
    void cien() {
        n->tamanoreal();
        n->ponervista(0, 0);
    }
    void colocar(int16_t p, int x, int y) {
        n->px_Click(p);
        pulsar(x, y);
        soltar(x, y);
    }
    std::string archivo(const std::string& nombre) const {
        return n->carpeta() + "/" + nombre + ".mapa";
    }
    void escribirarchivo(const std::string& nombre, const std::string& texto) {
        std::ofstream(archivo(nombre), std::ios::binary) << texto;
    }

private slots:
    void init() {
        r = registro{};
        tmp = std::make_unique<QTemporaryDir>(); // every case starts with no maps
        n = std::make_unique<nucleo>(r, tmp->path().toStdString());
        n->Form_Load();
    }

    void sin_mapa_nada_responde() {
        n->terrenos_Click(2);
        n->px_Click(1);
        pulsar(3, 3);
        mover(4, 4);
        n->Form_KeyDown(comun::vkderecha, 0);
        n->guardar_Click("algo");
        QCOMPARE(e().pincel, int16_t(0));
        QCOMPARE(e().pincelinicio, int16_t(0));
        QCOMPARE(e().pintando, falso);
        QCOMPARE(e().vistax, int16_t(0));
        QCOMPARE(e().guardado, verdadero);
        QCOMPARE(r.dibujos, 0);
        QCOMPARE(r.inicioestado(), std::string("( 0 , 0 )"));
        QCOMPARE(r.escrituras, 0);
        QVERIFY(r.avisos.empty());
    }

    void crear_75_por_50() {
        n->nuevomapa_Click();
        QCOMPARE(r.panel, 1);
        n->crear_Click(75, 50);
        QCOMPARE(e().anchomapa, int16_t(74));
        QCOMPARE(e().altomapa, int16_t(49));
        QCOMPARE(e().haymapa, verdadero);
        // Nothing to lose yet: closing or opening another map asks nothing.
        QCOMPARE(e().guardado, verdadero);
        QCOMPARE(r.panel, -1);
        QCOMPARE(r.dibujos, 1);
        QCOMPARE(e().inicio[0].colocado, falso);
        QCOMPARE(e().inicio[1].colocado, falso);
        QCOMPARE(r.inicioestado(), std::string("( 0 , 0 )"));

        n->guardar_Click("nuevo");
        QCOMPARE(r.avisos.size(), std::size_t(1));
        QCOMPARE(r.avisos[0].texto,
                 std::string("Necesita poner la posicion de inicio de los jugadores"));
        QCOMPARE(r.avisos[0].titulo, std::string("Guardar"));
        QVERIFY(r.avisos[0].i == icono::critico);
        QCOMPARE(r.escrituras, 0);
        QCOMPARE(e().guardado, verdadero);
    }

    void crear_suelta_el_mapa_anterior() {
        n->crear_Click(50, 50);
        n->terrenos_Click(comun::agua);
        pulsar(5, 5);
        soltar(5, 5);
        colocar(0, 10, 10);
        n->Form_KeyDown(comun::vkderecha, 0);
        r.eleccion = decision::descartar;
        n->crear_Click(100, 50);
        QCOMPARE(e().celda(5, 5).terreno, int16_t(comun::pasto));
        QCOMPARE(e().celda(10, 10).marca, int16_t(-1));
        QCOMPARE(e().inicio[0].colocado, falso);
        QCOMPARE(e().vistax, int16_t(0));
        // The brush is kept.
        QCOMPARE(e().pincelinicio, int16_t(0));
    }

    void pasto_con_el_pincel_inicial() {
        // A map opened with a wall, no palette click: the first press paints grass.
        comun::plano p = comun::plano::vacio(49, 49);
        p.ponerterreno(7, 8, comun::pared);
        p.inicio = {comun::posicion{5, 5}, comun::posicion{20, 20}};
        escribirarchivo("muro", comun::escribirmapa(p));
        n->abrir_Click("muro.mapa");
        QCOMPARE(e().celda(7, 8).transitable, falso);
        pulsar(7, 8);
        QCOMPARE(e().celda(7, 8).terreno, int16_t(comun::pasto));
        QCOMPARE(e().celda(7, 8).transitable, verdadero);
        QCOMPARE(e().pintando, verdadero);
    }

    void arrastre_data() {
        QTest::addColumn<int>("pincel");
        QTest::addColumn<int16_t>("transitable");
        QTest::newRow("pared-cierra") << int(comun::pared) << falso;
        QTest::newRow("agua-cierra") << int(comun::agua) << falso;
        QTest::newRow("arbol-cierra") << int(comun::arbol) << falso;
        QTest::newRow("madera-abre") << int(comun::madera) << verdadero;
        QTest::newRow("piso-abre") << int(comun::piso) << verdadero;
    }
    void arrastre() {
        QFETCH(int, pincel);
        QFETCH(int16_t, transitable);
        n->crear_Click(50, 50);
        n->terrenos_Click(int16_t(pincel));
        pulsar(2, 2);
        for (int x = 3; x <= 6; ++x)
            mover(x, 2);
        mover(6, 3);
        soltar(6, 3);
        mover(9, 9); // after the release nothing more is painted
        for (auto [x, y] : {std::pair{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {6, 3}}) {
            QCOMPARE(e().celda(x, y).terreno, int16_t(pincel));
            QCOMPARE(e().celda(x, y).transitable, transitable);
        }
        QCOMPARE(e().celda(9, 9).terreno, int16_t(comun::pasto));
        QCOMPARE(e().celda(2, 3).terreno, int16_t(comun::pasto));
        QCOMPARE(e().pintando, falso);
    }

    void arrastre_fuera_de_la_vista_data() {
        QTest::addColumn<int>("px");
        QTest::addColumn<int>("py");
        QTest::addColumn<int>("cx");
        QTest::addColumn<int>("cy");
        // View scrolled to (3, 3) on a 50 x 50 map.
        QTest::newRow("izquierda-una-celda") << -5 << 100 << 2 << 8;
        QTest::newRow("izquierda-lejos-para-en-0") << -400 << 100 << 0 << 8;
        QTest::newRow("arriba-lejos-para-en-0") << 100 << -400 << 8 << 0;
        QTest::newRow("esquina-para-en-0-0") << -9000 << -9000 << 0 << 0;
        QTest::newRow("derecha-para-en-el-borde-del-mapa") << 1000 << 100 << 49 << 8;
        QTest::newRow("mas-alla-de-la-rejilla-para-en-el-mapa") << 30000 << 40000 << 49 << 49;
    }
    void arrastre_fuera_de_la_vista() {
        QFETCH(int, px);
        QFETCH(int, py);
        QFETCH(int, cx);
        QFETCH(int, cy);
        n->crear_Click(50, 50);
        cien(); // the view scrolls at 100 %
        n->Form_KeyDown(comun::vkderecha, 0);
        n->Form_KeyDown(comun::vkabajo, 0);
        QCOMPARE(r.inicioestado(), std::string("( 3 , 3 )"));
        n->terrenos_Click(comun::madera);
        pulsar(10, 10);
        n->mainpic_MouseMove(px, py);
        QCOMPARE(e().celda(cx, cy).terreno, int16_t(comun::madera));
    }

    void arrastre_rapido_sin_huecos() {
        // One move of ten cells across and four down: each column between
        // gets its cell, and nothing outside the band the pointer crossed.
        n->crear_Click(50, 50);
        n->terrenos_Click(comun::madera);
        pulsar(5, 5);
        mover(15, 9);
        soltar(15, 9);
        int pintadas = 0;
        for (int x = 0; x < 50; ++x) {
            int enlacolumna = 0;
            for (int y = 0; y < 50; ++y) {
                if (e().celda(x, y).terreno != comun::madera)
                    continue;
                QVERIFY(x >= 5 && x <= 15 && y >= 5 && y <= 9);
                ++enlacolumna;
            }
            QCOMPARE(enlacolumna, x >= 5 && x <= 15 ? 1 : 0);
            pintadas += enlacolumna;
        }
        QCOMPARE(pintadas, 11);
    }

    void inicios_data() {
        // Each row: placements as (team, x, y), then the expected marks.
        QTest::addColumn<QList<QList<int>>>("pasos");
        QTest::addColumn<QList<QList<int>>>("marcas"); // (x, y, marca)
        QTest::newRow("mismo-equipo-dos-veces-en-la-misma-celda")
            << QList<QList<int>>{{0, 10, 10}, {0, 10, 10}} << QList<QList<int>>{{10, 10, 0}};
        QTest::newRow("mover-borra-la-x-vieja") << QList<QList<int>>{{0, 10, 10}, {0, 20, 15}}
                                                << QList<QList<int>>{{10, 10, -1}, {20, 15, 0}};
        QTest::newRow("compartida-muestra-el-ultimo")
            << QList<QList<int>>{{0, 10, 10}, {1, 10, 10}} << QList<QList<int>>{{10, 10, 1}};
        QTest::newRow("compartida-y-se-va-el-ultimo-queda-sin-x")
            << QList<QList<int>>{{0, 10, 10}, {1, 10, 10}, {1, 20, 20}}
            << QList<QList<int>>{{10, 10, -1}, {20, 20, 1}};
    }
    void inicios() {
        QFETCH(QList<QList<int>>, pasos);
        QFETCH(QList<QList<int>>, marcas);
        n->crear_Click(50, 50);
        for (const auto& p : pasos)
            colocar(int16_t(p[0]), p[1], p[2]);
        for (const auto& m : marcas)
            QCOMPARE(e().celda(m[0], m[1]).marca, int16_t(m[2]));
        const auto& ultimo = pasos.back();
        QCOMPARE(e().inicio[std::size_t(ultimo[0])].x, int16_t(ultimo[1]));
        QCOMPARE(e().inicio[std::size_t(ultimo[0])].y, int16_t(ultimo[2]));
        QCOMPARE(e().inicio[std::size_t(ultimo[0])].colocado, verdadero);
        QVERIFY(r.avisos.empty());
    }

    void espacio_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("muro"); // wall at (muro, 5) first, -1 for none
        QTest::addColumn<bool>("aceptado");
        QTest::newRow("columna-1-aceptada") << 1 << 5 << -1 << true;
        QTest::newRow("columna-0-rechazada") << 0 << 5 << -1 << false;
        QTest::newRow("fila-0-rechazada") << 5 << 0 << -1 << false;
        QTest::newRow("muro-en-el-bloque") << 6 << 6 << 7 << false;
        QTest::newRow("muro-junto-al-bloque") << 5 << 6 << 7 << true;
        QTest::newRow("penultima-columna-del-mapa") << 48 << 5 << -1 << true;
        QTest::newRow("ultima-columna-del-mapa") << 49 << 5 << -1 << false;
        QTest::newRow("ultima-fila-del-mapa") << 5 << 49 << -1 << false;
    }
    void espacio() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, muro);
        QFETCH(bool, aceptado);
        n->crear_Click(50, 50);
        n->Form_KeyDown(comun::vkderecha, 0); // brings column 49 into view
        n->Form_KeyDown(comun::vkizquierda, 0);
        if (muro >= 0) {
            n->terrenos_Click(comun::pared);
            pulsar(muro, 5);
            soltar(muro, 5);
        }
        if (y >= 25)
            for (int i = 0; i < 10; ++i)
                n->Form_KeyDown(comun::vkabajo, 0);
        if (x >= 25)
            for (int i = 0; i < 10; ++i)
                n->Form_KeyDown(comun::vkderecha, 0);
        colocar(0, 20, 20);
        colocar(0, x, y);
        QCOMPARE(n->hayespacio(x, y), aceptado);
        if (aceptado) {
            QVERIFY(r.avisos.empty());
            QCOMPARE(e().inicio[0].x, int16_t(x));
        } else {
            QCOMPARE(r.avisos.size(), std::size_t(1));
            QCOMPARE(r.avisos[0].texto, std::string("Necesita tener espacio alrededor"));
            QCOMPARE(r.avisos[0].titulo, std::string("Atencion"));
            QVERIFY(r.avisos[0].i == icono::informacion);
            QCOMPARE(e().inicio[0].x, int16_t(20)); // keeps its old cell
            QCOMPARE(e().celda(20, 20).marca, int16_t(0));
            QCOMPARE(e().celda(x, y).marca, int16_t(-1));
        }
    }

    void pintar_sobre_un_inicio_lo_conserva() {
        n->crear_Click(50, 50);
        colocar(0, 10, 10);
        n->terrenos_Click(comun::agua);
        pulsar(10, 10);
        mover(11, 10);
        soltar(11, 10);
        QCOMPARE(e().celda(10, 10).marca, int16_t(0));
        QCOMPARE(e().inicio[0].colocado, verdadero);
    }

    void desplazamiento_data() {
        QTest::addColumn<int>("ancho");
        QTest::addColumn<QList<int>>("teclas");
        QTest::addColumn<QString>("estado");
        QTest::newRow("izquierda-en-la-esquina")
            << 50 << QList<int>{comun::vkizquierda} << "( 0 , 0 )";
        QTest::newRow("una-a-la-derecha") << 50 << QList<int>{comun::vkderecha} << "( 3 , 0 )";
        QTest::newRow("derecha-para-en-25")
            << 50 << QList<int>(12, comun::vkderecha) << "( 25 , 0 )";
        QTest::newRow("abajo-para-en-25") << 50 << QList<int>(12, comun::vkabajo) << "( 0 , 25 )";
        QTest::newRow("200-de-ancho-avanza")
            << 200 << QList<int>(12, comun::vkderecha) << "( 36 , 0 )";
        QTest::newRow("vuelta-arriba")
            << 50 << QList<int>{comun::vkabajo, comun::vkabajo, comun::vkarriba} << "( 0 , 3 )";
        QTest::newRow("otra-tecla-no-mueve") << 50 << QList<int>{'A'} << "( 0 , 0 )";
    }
    void desplazamiento() {
        QFETCH(int, ancho);
        QFETCH(QList<int>, teclas);
        QFETCH(QString, estado);
        n->crear_Click(ancho, 50);
        cien(); // the view scrolls at 100 %
        int antes = r.dibujos;
        for (int t : teclas)
            n->Form_KeyDown(int16_t(t), 0);
        QCOMPARE(QString::fromStdString(r.inicioestado()), estado);
        // Every key redraws, arrow or not.
        QCOMPARE(r.dibujos, antes + int(teclas.size()));
    }

    void vista_en_un_mapa_pequeno() {
        // Only a hand-made file can be narrower than the view; it stays at 0.
        escribirarchivo("chico", "2,1/fn0,0,2,4,5,3,/fn0,0,1,1/fn");
        n->abrir_Click("chico.mapa");
        QCOMPARE(e().haymapa, verdadero);
        n->Form_KeyDown(comun::vkderecha, 0);
        QCOMPARE(e().vistax, int16_t(0));
        QCOMPARE(e().vistay, int16_t(0));
    }

    void nombres_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("archivo"); // written file, empty when refused
        QTest::addColumn<QString>("porque");  // part of the refusal
        QTest::newRow("normal") << "arena"
                                << "arena.mapa"
                                << "";
        QTest::newRow("espacios-dentro") << "dos  rios"
                                         << "dos  rios.mapa"
                                         << "";
        QTest::newRow("espacios-alrededor") << "  isla \t"
                                            << "isla.mapa"
                                            << "";
        QTest::newRow("extension-escrita") << "valle.mapa"
                                           << "valle.mapa"
                                           << "";
        QTest::newRow("extension-mayusculas") << "lago.MAPA "
                                              << "lago.mapa"
                                              << "";
        QTest::newRow("acentos") << "Cañón"
                                 << "Cañón.mapa"
                                 << "";
        QTest::newRow("vacio") << ""
                               << ""
                               << "Escriba";
        QTest::newRow("solo-espacios") << "   "
                                       << ""
                                       << "Escriba";
        QTest::newRow("solo-extension") << ".mapa"
                                        << ""
                                        << "oculto";
        QTest::newRow("oculto") << ".x"
                                << ""
                                << "oculto";
        QTest::newRow("punto") << "."
                               << ""
                               << "oculto";
        QTest::newRow("barra") << "../fuera"
                               << ""
                               << "oculto";
        QTest::newRow("barra-dentro") << "a/b"
                                      << ""
                                      << "caracteres:";
        QTest::newRow("barra-inversa") << "a\\b"
                                       << ""
                                       << "caracteres:";
        QTest::newRow("interrogacion") << "a?"
                                       << ""
                                       << "caracteres:";
        QTest::newRow("comillas") << "a\"b"
                                  << ""
                                  << "caracteres:";
        QTest::newRow("tabulador-dentro") << "a\tb"
                                          << ""
                                          << "control";
        QTest::newRow("nulo") << QString(QChar(0)) + "x"
                              << ""
                              << "control";
        QTest::newRow("250-letras") << QString(250, 'a') << QString(250, 'a') + ".mapa"
                                    << "";
        QTest::newRow("251-letras") << QString(251, 'a') << ""
                                    << "largo";
    }
    void nombres() {
        QFETCH(QString, nombre);
        QFETCH(QString, archivo);
        QFETCH(QString, porque);
        n->crear_Click(50, 75);
        colocar(0, 5, 5);
        colocar(1, 30, 60);
        r.estado = "antes";
        n->guardar_Click(nombre.toStdString());
        const bool escribe = !archivo.isEmpty();
        QCOMPARE(r.escrituras, escribe ? 1 : 0);
        QCOMPARE(r.avisos.size(), std::size_t(escribe ? 0 : 1));
        QCOMPARE(e().guardado, escribe ? verdadero : falso);
        if (escribe) {
            const std::string ruta = n->carpeta() + "/" + archivo.toStdString();
            QCOMPARE(leer(ruta), comun::escribirmapa(n->plano()));
            QCOMPARE(r.inicioestado(), "GUARDADO en " + ruta);
            QCOMPARE(r.elegido, archivo.toStdString());
            QCOMPARE(r.nombre + ".mapa", archivo.toStdString());
        } else {
            QVERIFY2(r.avisos[0].texto.find(porque.toStdString()) != std::string::npos,
                     r.avisos[0].texto.c_str());
            QCOMPARE(r.avisos[0].titulo, std::string("Guardar"));
            QCOMPARE(r.estado, std::string("antes"));
        }
    }

    void preguntas_antes_de_perder_data() {
        // accion: what is done over unsaved changes; eleccion: the answer to
        // "save first?" (Guardar, Descartar, Cancelar) or, for a save over
        // another map, to "replace it?" (si, no).
        QTest::addColumn<QString>("accion");
        QTest::addColumn<QString>("eleccion");
        QTest::addColumn<QString>("titulo"); // of the question, empty when none
        QTest::addColumn<bool>("perdido");   // the painted cell is gone from the view
        QTest::addColumn<bool>("escrito");   // the painted cell reached mio.mapa
        QTest::newRow("abrir-y-guardar") << "abrir"
                                         << "guardar"
                                         << "Abrir otro mapa" << true << true;
        QTest::newRow("abrir-y-descartar") << "abrir"
                                           << "descartar"
                                           << "Abrir otro mapa" << true << false;
        QTest::newRow("abrir-y-cancelar") << "abrir"
                                          << "cancelar"
                                          << "Abrir otro mapa" << false << false;
        QTest::newRow("abrir-guardar-sin-nombre") << "abrir-sin-nombre"
                                                  << "guardar"
                                                  << "Abrir otro mapa" << false << false;
        QTest::newRow("reciente-y-descartar") << "reciente"
                                              << "descartar"
                                              << "Abrir un mapa reciente" << true << false;
        QTest::newRow("crear-y-guardar") << "crear"
                                         << "guardar"
                                         << "Crear un mapa nuevo" << true << true;
        QTest::newRow("crear-y-cancelar") << "crear"
                                          << "cancelar"
                                          << "Crear un mapa nuevo" << false << false;
        QTest::newRow("guardar-encima-de-otro-y-no") << "otro"
                                                     << "no"
                                                     << "Guardar" << false << false;
        QTest::newRow("guardar-encima-de-otro-y-si") << "otro"
                                                     << "si"
                                                     << "Guardar" << false << false;
        QTest::newRow("guardar-con-su-nombre") << "mismo"
                                               << "no"
                                               << "" << false << true;
        QTest::newRow("guardar-con-nombre-nuevo") << "nuevo"
                                                  << "no"
                                                  << "" << false << false;
    }
    void preguntas_antes_de_perder() {
        QFETCH(QString, accion);
        QFETCH(QString, eleccion);
        QFETCH(QString, titulo);
        QFETCH(bool, perdido);
        QFETCH(bool, escrito);
        comun::plano otro = comun::plano::vacio(49, 49);
        otro.ponerterreno(1, 1, comun::pared);
        otro.inicio = {comun::posicion{5, 5}, comun::posicion{9, 9}};
        const std::string textootro = comun::escribirmapa(otro);
        escribirarchivo("otro", textootro);
        n->crear_Click(50, 50);
        colocar(0, 5, 5);
        colocar(1, 30, 30);
        n->guardar_Click("mio");
        n->terrenos_Click(comun::agua);
        pulsar(12, 12);
        soltar(12, 12);
        QCOMPARE(e().guardado, falso);
        r.respuesta = eleccion == "si";
        r.eleccion = eleccion == "guardar"     ? decision::guardar
                     : eleccion == "descartar" ? decision::descartar
                                               : decision::cancelar;
        r.preguntas.clear();
        r.titulos.clear();
        if (accion == "abrir-sin-nombre")
            r.nombre.clear();
        if (accion.startsWith("abrir"))
            n->abrir_Click("otro.mapa");
        else if (accion == "reciente")
            n->abrirruta(archivo("otro"), "Abrir un mapa reciente");
        else if (accion == "crear")
            n->crear_Click(75, 50);
        else
            n->guardar_Click(accion == "mismo" ? "mio" : accion.toStdString());
        QCOMPARE(r.titulos.size(), std::size_t(titulo.isEmpty() ? 0 : 1));
        if (!titulo.isEmpty())
            QCOMPARE(r.titulos[0], titulo.toStdString());
        if (accion == "otro")
            QCOMPARE(leer(archivo("otro")) != textootro, eleccion == "si");
        else
            QCOMPARE(e().celda(12, 12).terreno != comun::agua, perdido);
        comun::lectura mio = comun::leerarchivo(archivo("mio"));
        QVERIFY(mio);
        QCOMPARE(mio.mapa->terreno(12, 12) == comun::agua, escrito);
        // Only a save with an empty name box has something to say.
        QCOMPARE(r.avisos.size(), std::size_t(accion == "abrir-sin-nombre" ? 1 : 0));
    }

    void punto_limpio() {
        // Steps after a save; after each, whether the map counts as saved.
        n->crear_Click(50, 50);
        QCOMPARE(r.titulo, std::string("Tarnhollow Editor — Sin nombre[*]"));
        QVERIFY(!r.modificado);
        colocar(0, 5, 5);
        colocar(1, 30, 30);
        QVERIFY(r.modificado);
        n->guardar_Click("limpio");
        QCOMPARE(r.titulo, std::string("Tarnhollow Editor — limpio[*]"));
        const std::string guardado = r.estado;
        QVERIFY(guardado.starts_with("GUARDADO"));
        const std::vector<std::pair<const char*, bool>> pasos = {
            {"pintar", false},   {"deshacer", true}, {"rehacer", false},
            {"deshacer", true},  {"inicio", false},  {"deshacer", true},
            {"deshacer", false}, {"rehacer", true},  {"pintar", false},
        };
        for (auto [paso, limpio] : pasos) {
            if (std::string(paso) == "pintar") {
                n->terrenos_Click(comun::pared);
                pulsar(12, 12);
                soltar(12, 12);
            } else if (std::string(paso) == "inicio") {
                colocar(1, 31, 31);
            } else if (std::string(paso) == "deshacer") {
                n->deshacer();
            } else {
                n->rehacer();
            }
            QCOMPARE(e().guardado, limpio ? verdadero : falso);
            QCOMPARE(r.modificado, !limpio);
            QCOMPARE(n->Form_QueryUnload(), !limpio);
            // "GUARDADO" goes with the first change.
            QVERIFY(r.estado != guardado);
        }
    }

    void guardar_fallido_no_cambia_nada() {
        n->crear_Click(50, 50);
        colocar(0, 5, 5);
        colocar(1, 30, 30);
        r.fallo = "disco lleno";
        r.estado = "antes";
        n->guardar_Click("lleno");
        QCOMPARE(r.avisos.size(), std::size_t(1));
        QVERIFY(r.avisos[0].texto.find("disco lleno") != std::string::npos);
        QCOMPARE(r.avisos[0].titulo, std::string("Guardar"));
        QCOMPARE(e().guardado, falso);
        QCOMPARE(r.estado, std::string("antes"));
        QCOMPARE(r.refrescos, 0);
        QCOMPARE(e().celda(5, 5).marca, int16_t(0));
    }

    void ida_y_vuelta_al_cargador_del_juego() {
        n->crear_Click(75, 50);
        n->terrenos_Click(comun::arbol);
        pulsar(3, 4);
        mover(4, 4);
        soltar(4, 4);
        n->terrenos_Click(comun::piso);
        pulsar(24, 24);
        soltar(24, 24);
        colocar(0, 10, 10);
        colocar(1, 10, 10);
        r.respuesta = true; // both teams on one cell: saved all the same
        n->guardar_Click("vuelta");
        comun::lectura l = comun::leerarchivo(archivo("vuelta"));
        QVERIFY2(l, l.error.c_str());
        QCOMPARE(l.mapa->anchomapa, int16_t(74));
        QCOMPARE(l.mapa->altomapa, int16_t(49));
        QCOMPARE(l.mapa->terreno(3, 4), int16_t(comun::arbol));
        QCOMPARE(l.mapa->terreno(4, 4), int16_t(comun::arbol));
        QCOMPARE(l.mapa->terreno(24, 24), int16_t(comun::piso));
        QCOMPARE(l.mapa->terreno(5, 4), int16_t(comun::pasto));
        QVERIFY(l.mapa->inicio[0] == (comun::posicion{10, 10}));
        QVERIFY(l.mapa->inicio[1] == (comun::posicion{10, 10}));

        // And back into the editor: the shared cell shows team 1's X.
        n->crear_Click(50, 50);
        n->abrir_Click("vuelta.mapa");
        QCOMPARE(e().anchomapa, int16_t(74));
        QCOMPARE(e().celda(3, 4).transitable, falso);
        QCOMPARE(e().celda(10, 10).marca, int16_t(1));
        QCOMPARE(e().inicio[0].colocado, verdadero);
        QCOMPARE(e().guardado, verdadero);
        n->guardar_Click("vuelta2");
        QCOMPARE(leer(archivo("vuelta2")), leer(archivo("vuelta")));
    }

    void carpeta_del_usuario() {
        // The program's folder can't be written: the map goes to the user's,
        // and the user's map wins over a shipped one of the same name.
        QTemporaryDir usuario;
        n = std::make_unique<nucleo>(r, tmp->path().toStdString(), usuario.path().toStdString());
        n->Form_Load();
        r.sinpermiso = {n->carpeta()};
        comun::plano muestra = comun::plano::vacio(49, 49);
        muestra.inicio = {comun::posicion{5, 5}, comun::posicion{9, 9}};
        escribirarchivo("muestra", comun::escribirmapa(muestra));
        n->abrir_Click("muestra.mapa");
        QCOMPARE(r.nombre, std::string("muestra"));
        QCOMPARE(r.titulo, std::string("Tarnhollow Editor — muestra[*]"));
        n->terrenos_Click(comun::pared);
        pulsar(20, 20);
        soltar(20, 20);
        // The user's copy will hide the program's map: asked first.
        r.respuesta = true;
        n->guardar_Click("muestra");
        QCOMPARE(r.preguntas.size(), std::size_t(1));
        const std::string ruta = usuario.path().toStdString() + "/muestra.mapa";
        QCOMPARE(r.inicioestado(), "GUARDADO en " + ruta);
        QCOMPARE(leer(archivo("muestra")), comun::escribirmapa(muestra));
        n->crear_Click(50, 50);
        n->abrir_Click("muestra.mapa");
        QCOMPARE(e().celda(20, 20).terreno, int16_t(comun::pared));
        // Writable again, the program's folder doesn't take a map whose
        // listed copy is the user's: saving it again updates the user's.
        r.sinpermiso.clear();
        pulsar(21, 21);
        soltar(21, 21);
        n->guardar_Click("muestra");
        QCOMPARE(r.inicioestado(), "GUARDADO en " + ruta);
        QCOMPARE(leer(archivo("muestra")), comun::escribirmapa(muestra));
        QCOMPARE(leer(ruta), comun::escribirmapa(n->plano()));
    }

    void guardar_lo_abierto_conserva_su_archivo() {
        comun::plano p = comun::plano::vacio(49, 49);
        p.inicio = {comun::posicion{5, 5}, comun::posicion{9, 9}};
        const std::string ruta = n->carpeta() + "/Alto.MAPA";
        std::ofstream(ruta, std::ios::binary) << comun::escribirmapa(p);
        n->abrir_Click("Alto.MAPA");
        QCOMPARE(r.nombre, std::string("Alto"));
        n->guardar_Click(r.nombre);
        QCOMPARE(r.inicioestado(), "GUARDADO en " + ruta);
        QVERIFY(!std::filesystem::exists(archivo("Alto")));
    }

    void nunca_escribe_lo_que_no_se_abre() {
        // A hand-made 2 x 2 map: it opens, but no start fits, and saving it
        // (also over its own name) writes nothing.
        const std::string texto = "1,1/fn0,0,0,0,/fn0,0,1,1/fn";
        escribirarchivo("mini", texto);
        n->abrir_Click("mini.mapa");
        QCOMPARE(e().haymapa, verdadero);
        colocar(0, 1, 1);
        QCOMPARE(r.avisos.size(), std::size_t(1));
        QCOMPARE(r.avisos[0].texto, std::string("Necesita tener espacio alrededor"));
        n->terrenos_Click(comun::piso);
        pulsar(1, 1);
        mover(20, 20); // beyond the map: the stroke stops at its edge
        soltar(20, 20);
        QCOMPARE(e().celda(1, 1).terreno, int16_t(comun::piso));
        QCOMPARE(e().celda(2, 2).terreno, int16_t(comun::pasto));
        pulsar(5, 5); // outside the map: nothing
        QCOMPARE(e().celda(5, 5).terreno, int16_t(comun::pasto));
        soltar(5, 5);
        r.respuesta = true;
        n->guardar_Click("mini");
        QCOMPARE(r.avisos.size(), std::size_t(2));
        QVERIFY(r.avisos[1].texto.find("demasiado cerca del borde") != std::string::npos);
        QCOMPARE(r.escrituras, 0);
        QCOMPARE(leer(archivo("mini")), texto);
    }

    void abrir_sin_seleccion_no_hace_nada() {
        n->crear_Click(50, 50);
        colocar(0, 5, 5);
        int antes = r.dibujos;
        n->abrir_Click("");
        QCOMPARE(e().inicio[0].colocado, verdadero);
        QCOMPARE(r.dibujos, antes);
    }

    void abrir_rechazado_deja_el_mapa_data() {
        QTest::addColumn<QString>("texto");
        QTest::newRow("vacio") << "";
        QTest::newRow("sin-inicios") << "49,49/fn0,/fn";
        QTest::newRow("terreno-9") << "1,0/fn0,9,/fn0,0,0,0/fn";
        QTest::newRow("tamano-1000") << "1000,0/fn0,/fn0,0,0,0/fn";
    }
    void abrir_rechazado_deja_el_mapa() {
        QFETCH(QString, texto);
        n->crear_Click(100, 50);
        cien(); // the view scrolls at 100 %
        n->terrenos_Click(comun::agua);
        pulsar(3, 3);
        soltar(3, 3);
        colocar(0, 10, 10);
        colocar(1, 30, 30);
        n->Form_KeyDown(comun::vkderecha, 0);
        n->guardar_Click("bueno");
        QVERIFY(r.avisos.empty());
        escribirarchivo("roto", texto.toStdString());
        n->abrir_Click("roto.mapa");
        QCOMPARE(r.avisos.size(), std::size_t(1));
        QCOMPARE(r.avisos[0].titulo, std::string("Atencion"));
        QCOMPARE(e().anchomapa, int16_t(99));
        QCOMPARE(e().celda(3, 3).terreno, int16_t(comun::agua));
        QCOMPARE(e().celda(10, 10).marca, int16_t(0));
        QCOMPARE(e().vistax, int16_t(3));
        QCOMPARE(e().haymapa, verdadero);
    }

    void cerrar_data() {
        QTest::addColumn<QString>("antes"); // what happens before closing
        QTest::addColumn<bool>("pregunta");
        QTest::newRow("sin-mapa") << "" << false;
        QTest::newRow("recien-creado") << "crear" << true;
        QTest::newRow("recien-guardado") << "crear,guardar" << false;
        QTest::newRow("guardado-y-luego-pintado") << "crear,guardar,pintar" << true;
        QTest::newRow("guardado-y-luego-un-inicio") << "crear,guardar,inicio" << true;
        QTest::newRow("guardado-y-luego-desplazado") << "crear,guardar,tecla" << false;
        QTest::newRow("recien-abierto") << "crear,guardar,abrir" << false;
        QTest::newRow("abierto-y-pintado") << "crear,guardar,abrir,pintar" << true;
    }
    void cerrar() {
        QFETCH(QString, antes);
        QFETCH(bool, pregunta);
        for (const QString& paso : antes.split(',', Qt::SkipEmptyParts)) {
            if (paso == "crear") {
                n->crear_Click(50, 50);
                colocar(0, 5, 5);
                colocar(1, 30, 30);
            } else if (paso == "guardar") {
                n->guardar_Click("cierre");
            } else if (paso == "pintar") {
                n->terrenos_Click(comun::pared);
                pulsar(12, 12);
                soltar(12, 12);
            } else if (paso == "inicio") {
                colocar(1, 31, 31);
            } else if (paso == "tecla") {
                n->Form_KeyDown(comun::vkderecha, 0);
            } else if (paso == "abrir") {
                n->abrir_Click("cierre.mapa");
            }
        }
        r.respuesta = false;
        QCOMPARE(n->Form_QueryUnload(), pregunta);
        QCOMPARE(r.preguntas.size(), std::size_t(pregunta ? 1 : 0));
        if (pregunta) {
            QCOMPARE(r.preguntas[0], std::string("¿Desea salir sin guardar el mapa?"));
            r.respuesta = true;
            QCOMPARE(n->Form_QueryUnload(), false);
        }
    }

    void mapas_de_ejemplo_data() {
        // instalado: the program's maps folder is the shipped one and can't
        // be written, so saves go to the user's; otherwise (a build) the
        // program's folder holds copies of the shipped maps.
        QTest::addColumn<bool>("instalado");
        QTest::addColumn<bool>("respuesta"); // to "replace the shipped map?"
        QTest::newRow("copia-guardar-y-no") << false << false;
        QTest::newRow("copia-guardar-y-si") << false << true;
        QTest::newRow("instalado-guardar-y-no") << true << false;
        QTest::newRow("instalado-guardar-y-si") << true << true;
    }
    void mapas_de_ejemplo() {
        QFETCH(bool, instalado);
        QFETCH(bool, respuesta);
        QTemporaryDir ejemplos;
        QTemporaryDir usuario;
        comun::plano p = comun::plano::vacio(49, 49);
        p.inicio = {comun::posicion{5, 5}, comun::posicion{20, 20}};
        const std::string original = comun::escribirmapa(p);
        const std::string dirjuego = instalado ? ejemplos.path().toStdString() : n->carpeta();
        std::ofstream(ejemplos.path().toStdString() + "/pradera.mapa") << original;
        std::ofstream(dirjuego + "/pradera.mapa") << original;
        n = std::make_unique<nucleo>(r, dirjuego, usuario.path().toStdString(),
                                     ejemplos.path().toStdString());
        n->Form_Load();
        if (instalado)
            r.sinpermiso = {dirjuego};
        const std::string copia =
            (instalado ? usuario.path().toStdString() : dirjuego) + "/pradera.mapa";
        n->abrir_Click("pradera.mapa");
        n->terrenos_Click(comun::agua);
        pulsar(30, 30);
        soltar(30, 30);
        r.respuesta = respuesta;
        n->guardar_Click("pradera");
        QCOMPARE(r.preguntas.size(), std::size_t(1));
        QVERIFY(r.preguntas[0].find("mapa de ejemplo") != std::string::npos);
        QCOMPARE(std::filesystem::exists(copia) && leer(copia) != original, respuesta);
        QCOMPARE(leer(ejemplos.path().toStdString() + "/pradera.mapa"), original);
        const comun::mapalistado listado{"pradera.mapa", n->rutaactual()};
        QCOMPARE(n->ocultaejemplo({"pradera.mapa", copia}), respuesta);
        QVERIFY(!n->ocultaejemplo(listado) || respuesta);
        // Once said yes, later saves of the same map don't ask again.
        pulsar(31, 31);
        soltar(31, 31);
        r.preguntas.clear();
        n->guardar_Click("pradera");
        QCOMPARE(r.preguntas.size(), std::size_t(respuesta ? 0 : 1));
        // Neither deleted nor renamed, whatever the answer.
        r.respuesta = true;
        n->borrar_Click("pradera.mapa");
        n->renombrar_Click("pradera.mapa", "otra");
        QVERIFY(r.tirados.empty());
        QVERIFY(!std::filesystem::exists(n->carpeta() + "/otra.mapa"));
        QCOMPARE(r.avisos.size(), std::size_t(2));
        // Restored: the shipped map is the one listed and read again.
        r.avisos.clear();
        n->restaurar_Click("pradera.mapa");
        QVERIFY(r.avisos.empty());
        std::string listada;
        for (const comun::mapalistado& m : comun::listarmapas(n->carpetas()))
            if (m.archivo == "pradera.mapa")
                listada = m.ruta;
        QCOMPARE(leer(listada), original);
        QVERIFY(!n->ocultaejemplo({"pradera.mapa", listada}));
        QCOMPARE(r.tirados.size(), std::size_t(instalado && respuesta ? 1 : 0));
        QCOMPARE(e().celda(30, 30).terreno, int16_t(respuesta ? comun::pasto : comun::agua));
    }

    void cambiado_fuera_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<int>("preguntas");
        QTest::addColumn<bool>("recargado"); // the outside change is in the view
        QTest::addColumn<bool>("pisado");    // our save replaced the outside change
        QTest::newRow("recargar") << "recargar" << 1 << true << false;
        QTest::newRow("no-recargar-y-no-pisar") << "no-pisar" << 2 << false << false;
        QTest::newRow("no-recargar-y-pisar") << "pisar" << 2 << false << true;
        QTest::newRow("se-dice-una-vez") << "dos-avisos" << 1 << false << false;
        QTest::newRow("el-propio-guardado-no-cuenta") << "propio" << 0 << false << true;
    }
    void cambiado_fuera() {
        QFETCH(QString, caso);
        QFETCH(int, preguntas);
        QFETCH(bool, recargado);
        QFETCH(bool, pisado);
        n->crear_Click(50, 50);
        colocar(0, 5, 5);
        colocar(1, 30, 30);
        n->guardar_Click("islotes");
        QCOMPARE(r.vigilado, archivo("islotes"));
        // Another editor saves a cell.
        comun::lectura otro = comun::leerarchivo(archivo("islotes"));
        otro.mapa->ponerterreno(40, 40, comun::arbol);
        if (caso != "propio")
            escribirarchivo("islotes", comun::escribirmapa(*otro.mapa));
        r.respuesta = caso == "recargar";
        n->archivocambiado();
        if (caso == "dos-avisos")
            n->archivocambiado();
        if (caso != "recargar" && caso != "dos-avisos") {
            n->terrenos_Click(comun::agua);
            pulsar(12, 12);
            soltar(12, 12);
            r.respuesta = caso == "pisar";
            n->guardar_Click("islotes");
        }
        QCOMPARE(int(r.preguntas.size()), preguntas);
        QCOMPARE(e().celda(40, 40).terreno == comun::arbol, recargado);
        comun::lectura ahora = comun::leerarchivo(archivo("islotes"));
        QVERIFY(ahora);
        QCOMPARE(ahora.mapa->terreno(12, 12) == comun::agua, pisado);
        QCOMPARE(ahora.mapa->terreno(40, 40) == comun::arbol, caso != "propio" && !pisado);
    }

    void borrar_y_renombrar_data() {
        QTest::addColumn<QString>("accion");
        QTest::addColumn<QString>("texto");      // the new name for a rename
        QTest::addColumn<bool>("respuesta");     // to "to the trash?"
        QTest::addColumn<QStringList>("quedan"); // maps listed afterwards
        QTest::addColumn<QString>("nombre");     // in the name box afterwards
        QTest::newRow("borrar-y-si") << "borrar"
                                     << "" << true << QStringList{"b.mapa"} << "a";
        QTest::newRow("borrar-y-no") << "borrar"
                                     << "" << false << QStringList{"a.mapa", "b.mapa"} << "a";
        QTest::newRow("renombrar")
            << "renombrar"
            << " c.mapa " << false << QStringList{"b.mapa", "c.mapa"} << "c";
        QTest::newRow("renombrar-sobre-otro")
            << "renombrar"
            << "b" << false << QStringList{"a.mapa", "b.mapa"} << "a";
        QTest::newRow("renombrar-nombre-malo")
            << "renombrar"
            << "x/y" << false << QStringList{"a.mapa", "b.mapa"} << "a";
    }
    void borrar_y_renombrar() {
        QFETCH(QString, accion);
        QFETCH(QString, texto);
        QFETCH(bool, respuesta);
        QFETCH(QStringList, quedan);
        QFETCH(QString, nombre);
        n->crear_Click(50, 50);
        colocar(0, 5, 5);
        colocar(1, 30, 30);
        n->guardar_Click("b");
        n->guardar_Click("a");
        r.respuesta = respuesta;
        if (accion == "borrar")
            n->borrar_Click("a.mapa");
        else
            n->renombrar_Click("a.mapa", texto.toStdString());
        QStringList listados;
        for (const comun::mapalistado& m : comun::listarmapas(n->carpetas()))
            listados << QString::fromStdString(m.archivo);
        QCOMPARE(listados, quedan);
        QCOMPARE(QString::fromStdString(r.nombre), nombre);
        // A map with no file any more counts as unsaved.
        QCOMPARE(e().guardado, accion == "borrar" && respuesta ? falso : verdadero);
        const bool rehusado = accion == "renombrar" && nombre == "a";
        QCOMPARE(r.avisos.size(), std::size_t(rehusado ? 1 : 0));
        if (nombre == "c")
            QCOMPARE(r.vigilado, archivo("c"));
    }

    void recientes_data() {
        QTest::addColumn<QStringList>("antes");
        QTest::addColumn<QString>("ruta");
        QTest::addColumn<QStringList>("despues");
        QTest::newRow("primera") << QStringList{} << "/m/a.mapa" << QStringList{"/m/a.mapa"};
        QTest::newRow("ya-estaba-sube") << QStringList{"/m/a.mapa", "/m/b.mapa"} << "/m/b.mapa"
                                        << QStringList{"/m/b.mapa", "/m/a.mapa"};
        QTest::newRow("ruta-vacia-nada")
            << QStringList{"/m/a.mapa"} << "" << QStringList{"/m/a.mapa"};
        QStringList ocho;
        for (int i = 0; i < 8; ++i)
            ocho << QString("/m/%1.mapa").arg(i);
        QStringList tras = ocho.mid(0, 7);
        tras.prepend("/m/n.mapa");
        QTest::newRow("la-novena-echa-la-mas-vieja") << ocho << "/m/n.mapa" << tras;
    }
    void recientes() {
        QFETCH(QStringList, antes);
        QFETCH(QString, ruta);
        QFETCH(QStringList, despues);
        std::vector<std::string> v;
        for (const QString& a : antes)
            v.push_back(a.toStdString());
        QStringList hecho;
        for (const std::string& a : nucleo::anadirreciente(v, ruta.toStdString()))
            hecho << QString::fromStdString(a);
        QCOMPARE(hecho, despues);
    }

    void nombres_de_los_pasos_data() {
        QTest::addColumn<QString>("como");
        QTest::addColumn<QString>("paso");
        QTest::newRow("clic") << "clic"
                              << "pincelada";
        QTest::newRow("mayus-clic") << "relleno"
                                    << "relleno";
        QTest::newRow("ctrl-arrastre") << "rectangulo"
                                       << "rectángulo";
        QTest::newRow("alt-arrastre") << "linea"
                                      << "línea";
        QTest::newRow("inicio") << "inicio"
                                << "inicio";
    }
    void nombres_de_los_pasos() {
        QFETCH(QString, como);
        QFETCH(QString, paso);
        n->crear_Click(50, 50);
        QCOMPARE(n->nombredeshacer(), std::string());
        n->terrenos_Click(comun::agua);
        if (como == "inicio") {
            colocar(0, 5, 5);
        } else {
            const int16_t shift = como == "relleno"      ? mayusculas
                                  : como == "rectangulo" ? control
                                  : como == "linea"      ? alternativa
                                                         : int16_t(0);
            pulsar(2, 2, shift);
            mover(4, 4);
            soltar(4, 4);
        }
        QCOMPARE(QString::fromStdString(n->nombredeshacer()), paso);
        n->deshacer();
        QCOMPARE(n->nombredeshacer(), std::string());
        QCOMPARE(QString::fromStdString(n->nombrerehacer()), paso);
    }
};

QTEST_GUILESS_MAIN(TestNucleo)
#include "test_nucleo.moc"
