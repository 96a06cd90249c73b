#include "Comun/mapaarchivo.h"
#include "Juego/nucleo/repeticion.h"
#include "Juego/qt/archivo.h"
#include "Juego/qt/ayuda.h"
#include "Juego/qt/final.h"
#include "Juego/qt/idioma.h"
#include "Juego/qt/selectorobjetivo.h"
#include "Juego/qt/selectorreglas.h"
#include "Juego/qt/unjugador.h"
#include "Juego/qt/ventana.h"
#include "Juego/qt/visor.h"

#include "apoyo/aparte.h"
#include "apoyo/mundoprueba.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <sys/resource.h>

using namespace juego;
using prueba::mundoprueba;

namespace {

QString carpeta() {
    return unjugador::carpetamapas();
}

void escribir(const QString& nombre, const std::string& texto) {
    QFile f(carpeta() + QLatin1Char('/') + nombre);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(texto.data(), qint64(texto.size()));
}

std::string mapa(int ancho, int alto, comun::posicion a, comun::posicion b) {
    comun::plano p = comun::plano::vacio(int16_t(ancho - 1), int16_t(alto - 1));
    p.inicio = {a, b};
    return comun::escribirmapa(p);
}

// Starts a match on a 12 x 12 map, written in `d`, whose teams start five
// cells apart: they meet within a few ticks.
bool empezarcerca(main& v, const QTemporaryDir& d, int16_t maxp) {
    const QString ruta = d.filePath("chico.mapa");
    QFile m(ruta);
    if (!m.open(QIODevice::WriteOnly))
        return false;
    m.write(QByteArray::fromStdString(mapa(12, 12, {3, 3}, {8, 8})));
    m.close();
    return v.cargarmapa(ruta, maxp, guerrero);
}

// A match on one of the test maps in a window on the screen, its ticks
// driven by hand.
bool avista(main& v, const char* mapa, int16_t maxp, int16_t tipo) {
    if (!v.cargarmapa(carpeta() + "/" + mapa, maxp, tipo))
        return false;
    v.pararreloj();
    v.show();
    return QTest::qWaitForWindowExposed(&v);
}

void elegir(unjugador& u, const QString& nombre) {
    const auto items = u.File1->findItems(nombre, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    u.File1->setCurrentItem(items.first());
}

} // namespace

class TestVentana : public QObject {
    Q_OBJECT

    QStringList avisos;
    ajustesaparte aparte;

    void atrapar(main& v) {
        avisos.clear();
        v.avisar = [this](const QString& t, const QString& texto) { avisos << t + ": " + texto; };
    }

private slots:
    void initTestCase() {
        // Every input waits for the simulation's thread: what the tests
        // read after it is the match's answer, with no sleep.
        main::sincronos = true;
        QVERIFY(aparte.apartar());
        // Qt's test folders outlive a run: no replays of an earlier one.
        QDir(main::carpetausuario("repeticiones")).removeRecursively();
        QDir().mkpath(carpeta());
        escribir("prueba_a.mapa", mapa(50, 50, {10, 10}, {40, 40}));
        escribir("prueba_b.mapa", mapa(75, 50, {20, 20}, {60, 30}));
        escribir("prueba_rota.mapa", "49,49/fn0,0,0/fn1,1,2,2/fn");
        escribir("prueba_borde.mapa", mapa(50, 50, {0, 10}, {40, 40}));
    }
    void init() {
        // Every test starts as a first run.
        QSettings(ajustes::organizacion(), QStringLiteral("Tarnhollow")).clear();
    }
    void cleanupTestCase() {
        for (const char* n : {"prueba_a", "prueba_b", "prueba_rota", "prueba_borde"})
            QFile::remove(carpeta() + QLatin1Char('/') + n + ".mapa");
    }

    void ventana_principal() {
        main v;
        QCOMPARE(v.windowTitle(), QStringLiteral("Tarnhollow"));
        QCOMPARE(v.centralWidget()->size(), QSize(800, 623));
        QCOMPARE(v.mainpic->geometry(), QRect(0, 0, 800, 600));
        QCOMPARE(v.status->geometry(), QRect(0, 600, 801, 25));
        QCOMPARE(v.sonido_->text(), QStringLiteral("Sonido"));
        QVERIFY((v.sincronizar(), v.relojactivo()));
        // The captions as shown; the letter each is reached by is marked.
        const auto visto = [](const QAction* a) { return QString(a->text()).remove(u'&'); };
        QCOMPARE(visto(v.mnuSolo), QStringLiteral("Un Jugador"));
        QVERIFY(v.mnuMulti->isEnabled());
        QCOMPARE(visto(v.mnuSalir), QStringLiteral("Salir"));
        QCOMPARE(visto(v.mnuControles), QStringLiteral("Controles"));
        QCOMPARE(visto(v.mnuAcerca), QStringLiteral("Acerca..."));
        QCOMPARE(v.juego().tipos[0].ataque, int16_t(20));
        QCOMPARE(v.juego().tipos[1].armadura, int16_t(4));
        QCOMPARE(v.juego().jugando, falso);
        QVERIFY(v.status->text().isEmpty());
    }

    // Alt and a menu's letter open it, before a match and while the match's
    // keys are read.
    void menus_con_el_teclado() {
        main v;
        v.show();
        QVERIFY(QTest::qWaitForWindowActive(&v));
        const std::pair<Qt::Key, QMenu*> menus[] = {
            {Qt::Key_A, v.mnuArchivo}, {Qt::Key_O, v.mnuOpciones}, {Qt::Key_Y, v.mnuAyuda}};
        for (bool enpartida : {false, true}) {
            if (enpartida)
                QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, guerrero));
            for (const auto& [letra, menu] : menus) {
                QTest::keyClick(&v, letra, Qt::AltModifier);
                QTRY_VERIFY2(menu->isVisible(), qPrintable(menu->title()));
                menu->close();
                QTRY_VERIFY(!menu->isVisible());
            }
        }
    }

    // A window of ours opens over the game window and on the screen.
    void ventanas_encima() {
        const QRect pantalla(0, 0, 1280, 1024);
        const struct {
            QRect sobre;
            QSize tamano;
            QPoint esperado;
        } casos[] = {
            {{100, 100, 800, 650}, {360, 378}, {320, 236}},
            // Near an edge it is moved in, no further than it takes.
            {{900, 700, 800, 650}, {360, 378}, {920, 646}},
            {{-500, -300, 800, 650}, {360, 378}, {0, 0}},
            // Larger than the screen: its top-left corner, with the title.
            {{100, 100, 800, 650}, {1400, 1100}, {0, 0}},
        };
        for (const auto& c : casos)
            QCOMPARE(main::encima(c.sobre, c.tamano, pantalla), c.esperado);
        QCOMPARE(main::encima({0, 0, 800, 650}, {360, 378}, {1280, 0, 1920, 1080}),
                 QPoint(1280, 136));
    }

    void menu_de_partida() {
        main v;
        atrapar(v);
        v.mnuSolo->trigger();
        QPointer<unjugador> u = v.menu();
        QVERIFY(u);
        QCOMPARE(u->windowTitle(), QStringLiteral("Menú"));
        QCOMPARE(u->size(), QSize(360, 378));
        QCOMPARE(u->guerreros->currentText(), QStringLiteral("1"));
        // The classic rules first; a difficulty only for the balanced ones.
        QCOMPARE(u->regla->modo->currentText(), QStringLiteral("Clásicas"));
        QCOMPARE(u->regla->nivel->currentText(), QStringLiteral("Normal"));
        QVERIFY(!u->regla->nivel->isEnabled());
        u->regla->modo->setCurrentIndex(1);
        QVERIFY(u->regla->nivel->isEnabled());
        u->regla->modo->setCurrentIndex(0);
        QVERIFY(!u->regla->nivel->isEnabled());
        QCOMPARE(u->guerreros->count(), 8);
        QCOMPARE(u->tip->currentText(), QStringLiteral("Guerrero"));
        QCOMPARE(u->empezar->geometry(), QRect(8, 336, 97, 25));
        QVERIFY(!u->File1->findItems("prueba_a.mapa", Qt::MatchExactly).isEmpty());
        QVERIFY(u->File1->findItems("nada.txt", Qt::MatchExactly).isEmpty());

        // Showing it again brings the same window with its choices.
        u->guerreros->setCurrentIndex(4);
        v.mnuSolo->trigger();
        QCOMPARE(v.menu(), u.data());
        QCOMPARE(u->guerreros->currentText(), QStringLiteral("5"));

        // Without a selected map, "Empezar" is off; a map shows its preview.
        QVERIFY(!u->empezar->isEnabled());
        QTest::mouseClick(u->empezar, Qt::LeftButton);
        QVERIFY(u);
        QCOMPARE(v.juego().jugando, falso);
        QVERIFY(avisos.isEmpty());
        elegir(*u, "prueba_b.mapa");
        QVERIFY(u->empezar->isEnabled());
        QCOMPARE(u->tamano->text(), QStringLiteral("75 x 50 celdas"));
        QCOMPARE(u->vistaprevia->pixmap().width(), 152);
        elegir(*u, "prueba_rota.mapa");
        QVERIFY(u->vistaprevia->pixmap().isNull());
        QVERIFY(u->empezar->isEnabled()); // it says why when pressed
    }

    void tip_no_admite_escritura() {
        main v;
        v.mnuSolo->trigger();
        unjugador* u = v.menu();
        u->show();
        QTest::keyClicks(u->tip->lineEdit(), "Arq");
        QCOMPARE(u->tip->currentText(), QStringLiteral("Guerrero"));
        QTest::keyClick(u->tip->lineEdit(), Qt::Key_Backspace);
        QCOMPARE(u->tip->currentText(), QStringLiteral("Guerrero"));
        u->tip->setCurrentIndex(1);
        QCOMPARE(u->tip->currentText(), QStringLiteral("Arquero"));
        // "Guerreros" does take typing.
        u->guerreros->lineEdit()->selectAll();
        QTest::keyClicks(u->guerreros->lineEdit(), "3");
        QCOMPARE(u->guerreros->currentText(), QStringLiteral("3"));
    }

    void empezar_una_partida() {
        main v;
        atrapar(v);
        v.mnuSolo->trigger();
        QPointer<unjugador> u = v.menu();
        elegir(*u, "prueba_a.mapa");
        u->tip->setCurrentIndex(1);
        u->guerreros->setCurrentIndex(2);
        u->objetivo->poner({tipoobjetivo::muertes, 40});
        u->regla->poner({modoreglas::equilibradas, dificultad::dificil});
        v.pararreloj(); // a pause before the match: starting it resumes
        QTest::mouseClick(u->empezar, Qt::LeftButton);
        QVERIFY(avisos.isEmpty());
        QTRY_VERIFY(!u);
        // The match plays by the rules chosen, with a seed of its own.
        const reglas jugadas = v.juego().regla;
        QCOMPARE(jugadas.modo, modoreglas::equilibradas);
        QCOMPARE(jugadas.nivel, dificultad::dificil);
        QVERIFY(jugadas.semilla != 0);
        const cuadro m = v.juego();
        QCOMPARE(m.jugando, verdadero);
        QCOMPARE(int(m.maxp), 3);
        QCOMPARE(int(m.unidades[0].tipo), 0);
        // Under the balanced rules the difficulty takes the place of the
        // lone player's head start: an archer's own values.
        QCOMPARE(int(m.unidades[0].ataque), 20);
        QCOMPARE(int(m.unidades[0].armadura), 0);
        QCOMPARE(int(m.unidades[5].equipo), 1);
        QVERIFY((v.sincronizar(), v.relojactivo()));
        QCOMPARE(v.status->text(),
                 QStringLiteral("Vida: 100 - Muertes: 0 - Ataque: 20 - Armadura: 0"));
        // The first frame is drawn.
        QVERIFY(v.mainpic->imagen.pixel(100, 100) != qRgb(0, 0, 0));
        // Beside the status line: the player's life and both teams' kills.
        QCOMPARE(v.vida->vida(), 100);
        v.enviar([](partida& p) {
            sucesos s;
            prueba::escena(p, [&s](mundoprueba& e) {
                e.m.herir(5, 1000, 0);
                s = e.m.recoger();
            });
            return s;
        });
        QVERIFY2(v.marcador->text().contains("rojo 1") && v.marcador->text().contains("azul 0"),
                 qPrintable(v.marcador->text()));

        // The next "Un Jugador" shows a fresh window with the last choices.
        v.mnuSolo->trigger();
        QCOMPARE(v.menu()->guerreros->currentText(), QStringLiteral("3"));
        QCOMPARE(v.menu()->tip->currentText(), QStringLiteral("Arquero"));
        QCOMPARE(v.menu()->File1->currentItem()->text(), QStringLiteral("prueba_a.mapa"));
        QCOMPARE(v.menu()->objetivo->elegido(), (objetivo{tipoobjetivo::muertes, 40}));
        QCOMPARE(v.menu()->regla->elegidas(),
                 (reglas{modoreglas::equilibradas, dificultad::dificil, 0}));
    }

    // "Por muertes" asks for 5 kills a fighter of a team, and follows the
    // teams' size until the player types a number of their own.
    void muertes_por_defecto_data() {
        QTest::addColumn<int>("guerreros");
        QTest::addColumn<QString>("escrito"); // empty: nothing typed
        QTest::addColumn<int>("despues");     // fighters chosen afterwards, 0: none
        QTest::addColumn<int>("muertes");
        QTest::newRow("uno-por-equipo") << 1 << "" << 0 << 5;
        QTest::newRow("ocho-por-equipo") << 8 << "" << 0 << 40;
        QTest::newRow("sigue-a-los-equipos") << 3 << "" << 6 << 30;
        QTest::newRow("lo-escrito-se-queda") << 3 << "17" << 6 << 17;
    }
    void muertes_por_defecto() {
        QFETCH(int, guerreros);
        QFETCH(QString, escrito);
        QFETCH(int, despues);
        QFETCH(int, muertes);
        main v;
        v.mnuSolo->trigger();
        unjugador* u = v.menu();
        u->guerreros->setCurrentIndex(guerreros - 1);
        u->objetivo->tipo->setCurrentIndex(1);
        if (!escrito.isEmpty()) {
            u->objetivo->cantidad->selectAll();
            QTest::keyClicks(u->objetivo->cantidad, escrito);
        }
        if (despues > 0)
            u->guerreros->setCurrentIndex(despues - 1);
        QCOMPARE(u->objetivo->elegido(), (objetivo{tipoobjetivo::muertes, int16_t(muertes)}));
    }

    void mapas_rechazados_data() {
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QString>("guerreros");
        QTest::addColumn<QString>("aviso");
        QTest::newRow("faltan-celdas") << "prueba_rota.mapa"
                                       << "2"
                                       << "Faltan celdas";
        QTest::newRow("inicio-en-el-borde") << "prueba_borde.mapa"
                                            << "2"
                                            << "borde";
        QTest::newRow("cero-guerreros") << "prueba_b.mapa"
                                        << "0"
                                        << "del 1 al 8";
        QTest::newRow("nueve-guerreros") << "prueba_b.mapa"
                                         << "9"
                                         << "del 1 al 8";
        QTest::newRow("guerreros-no-numerico") << "prueba_b.mapa"
                                               << "tres"
                                               << "del 1 al 8";
    }
    void mapas_rechazados() {
        QFETCH(QString, archivo);
        QFETCH(QString, guerreros);
        QFETCH(QString, aviso);
        main v;
        atrapar(v);
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 2, guerrero));
        v.esperar([](partida& p) {
            prueba::escena(p, [](mundoprueba& e) { e.m.unidades[0].x = 9; });
        });
        v.pararreloj(); // paused: a refused map must not resume the match
        v.mnuSolo->trigger();
        QPointer<unjugador> u = v.menu();
        elegir(*u, archivo);
        u->guerreros->setEditText(guerreros);
        QTest::mouseClick(u->empezar, Qt::LeftButton);
        QCOMPARE(avisos.size(), 1);
        QVERIFY2(avisos.first().contains(aviso), qPrintable(avisos.first()));
        QVERIFY(u); // stays open with its choices
        QCOMPARE(u->guerreros->currentText(), guerreros);
        QCOMPARE(int(v.juego().anchomapa), 49);
        QCOMPARE(int(v.juego().maxp), 2);
        QVERIFY(!(v.sincronizar(), v.relojactivo()));
    }

    void cerrar_el_menu_no_toca_la_partida() {
        main v;
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_b.mapa", 1, arquero));
        v.mnuSolo->trigger();
        QPointer<unjugador> u = v.menu();
        elegir(*u, "prueba_a.mapa");
        u->close();
        QTRY_VERIFY(!u);
        QCOMPARE(int(v.juego().anchomapa), 74);
        QVERIFY((v.sincronizar(), v.relojactivo()));
    }

    void teclas_de_la_ventana() {
        main v;
        QVERIFY(avista(v, "prueba_a.mapa", 1, guerrero));
        v.esperar([](partida& p) {
            prueba::escena(p, [](mundoprueba& e) {
                e.m.unidades[1].muerto = verdadero;
                e.m.unidades[1].revivir = 10000;
            });
        });

        // P pauses and resumes; S toggles the sound box twice back.
        QTest::keyClick(&v, Qt::Key_P);
        QCOMPARE(v.juego().pausado, verdadero);
        QVERIFY(!(v.sincronizar(), v.relojactivo()));
        QTest::keyClick(&v, Qt::Key_P);
        QCOMPARE(v.juego().pausado, falso);
        QVERIFY((v.sincronizar(), v.relojactivo()));
        v.pararreloj();
        const bool sonido = v.sonido_->isChecked();
        QTest::keyClick(&v, Qt::Key_S);
        QCOMPARE(v.sonido_->isChecked(), !sonido);
        QTest::keyClick(&v, Qt::Key_S);
        QCOMPARE(v.sonido_->isChecked(), sonido);
        // M hides and shows the minimap.
        QTest::keyClick(&v, Qt::Key_M);
        QVERIFY(!v.encima().minimapa);
        QTest::keyClick(&v, Qt::Key_M);
        QVERIFY(v.encima().minimapa);

        // The space bar strikes and does not press the sound box.
        v.sonido_->setFocus();
        QTest::keyClick(v.sonido_, Qt::Key_Space);
        QCOMPARE(int(v.juego().unidades[0].espera), 4);
        QCOMPARE(v.sonido_->isChecked(), sonido);

        // An arrow key held across a tick walks the fighter.
        v.esperar([](partida& p) {
            prueba::escena(p, [](mundoprueba& e) { e.m.unidades[0].espera = 0; });
        });
        const int x0 = v.juego().unidades[0].x;
        // Keys reach whichever control has the focus first.
        QWidget* foco = QApplication::focusWidget() ? QApplication::focusWidget() : &v;
        QTest::keyPress(foco, Qt::Key_Right);
        v.timer_Timer();
        QTest::keyRelease(foco, Qt::Key_Right);
        QCOMPARE(int(v.juego().unidades[0].x), x0 + 1);
        v.timer_Timer();
        QCOMPARE(int(v.juego().unidades[0].x), x0 + 1);
    }

    // The match ticks on a thread of its own, named for `ps -L`.
    void la_partida_tiene_su_hilo() {
        main v;
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, guerrero));
        QStringList nombres;
        for (const QString& t : QDir(QStringLiteral("/proc/self/task"))
                                    .entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile f(QStringLiteral("/proc/self/task/%1/comm").arg(t));
            if (f.open(QIODevice::ReadOnly))
                nombres << QString::fromUtf8(f.readAll()).trimmed();
        }
        QVERIFY2(nombres.contains(QStringLiteral("partida")), qPrintable(nombres.join(' ')));
        // Ticks sent by hand come back as frames of later ticks.
        v.pararreloj();
        const uint32_t t0 = v.juego().numtick;
        v.timer_Timer();
        v.timer_Timer();
        QCOMPARE(v.juego().numtick, t0 + 2);
        // A wait hands over the frames, and nothing else queued for the
        // window: that runs later, not inside the handler that waited.
        bool corrio = false;
        QTimer::singleShot(0, &v, [&] { corrio = true; });
        v.enviar([](partida& p) { return p.tick(entradatick{}); });
        v.esperar([](partida&) {});
        QCOMPARE(v.juego().numtick, t0 + 3);
        QVERIFY(!corrio);
        QTRY_VERIFY(corrio);
    }

    // Behind an error box or a question the match waits, and goes on after.
    void la_partida_espera_a_los_cuadros() {
        main v;
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, guerrero));
        QVERIFY((v.sincronizar(), v.relojactivo()));
        for (int pregunta = 0; pregunta < 2; ++pregunta) {
            bool corria = true;
            QTimer::singleShot(0, &v, [&] {
                corria = (v.sincronizar(), v.relojactivo());
                if (QWidget* caja = QApplication::activeModalWidget())
                    caja->close();
            });
            if (pregunta)
                QVERIFY(!v.confirmar("Pregunta", "¿Sí?"));
            else
                v.avisar("Error", "Algo falló.");
            QVERIFY(!corria);
            QVERIFY((v.sincronizar(), v.relojactivo()));
        }
    }

    // In the set-up window Esc closes, Enter starts the chosen match.
    void menu_con_el_teclado() {
        main v;
        v.pararreloj();
        v.mnuSolo->trigger();
        unjugador* u = v.menu();
        QVERIFY(QTest::qWaitForWindowExposed(u));
        QTest::keyClick(u->File1, Qt::Key_Escape);
        QVERIFY(!u->isVisible());
        // The window closed goes; Un Jugador shows a fresh one.
        v.mnuSolo->trigger();
        u = v.menu();
        QVERIFY(u->isVisible());
        QVERIFY(u->File1->count() > 0);
        u->File1->setCurrentRow(0);
        QTest::keyClick(u->File1, Qt::Key_Return);
        QCOMPARE(v.juego().jugando, verdadero);
        QVERIFY(!u->isVisible());
    }

    void teclas_del_menu_no_mueven_al_luchador() {
        main v;
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, guerrero));
        v.pararreloj();
        v.mnuSolo->trigger();
        unjugador* u = v.menu();
        u->show();
        QVERIFY(QTest::qWaitForWindowExposed(u));
        u->File1->setFocus();
        const int x0 = v.juego().unidades[0].x;
        QTest::keyPress(u->File1, Qt::Key_Right);
        v.timer_Timer();
        QTest::keyRelease(u->File1, Qt::Key_Right);
        v.timer_Timer();
        QCOMPARE(int(v.juego().unidades[0].x), x0);
    }

    void clic_a_cualquier_escala_data() {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QRect>("cuadro");
        QTest::addColumn<QPoint>("punto");
        QTest::addColumn<QPoint>("pixel"); // (-1, -1): outside the frame
        QTest::newRow("tamano-normal")
            << QSize(800, 600) << QRect(0, 0, 800, 600) << QPoint(419, 300) << QPoint(419, 300);
        QTest::newRow("doble-entero") << QSize(1700, 1250) << QRect(50, 25, 1600, 1200)
                                      << QPoint(50 + 839, 25 + 599) << QPoint(419, 299);
        QTest::newRow("full-hd-suave") << QSize(1920, 1080) << QRect(240, 0, 1440, 1080)
                                       << QPoint(240 + 1439, 1079) << QPoint(799, 599);
        QTest::newRow("banda-negra") << QSize(1920, 1080) << QRect(240, 0, 1440, 1080)
                                     << QPoint(100, 500) << QPoint(-1, -1);
        QTest::newRow("mas-pequeno")
            << QSize(400, 300) << QRect(0, 0, 400, 300) << QPoint(201, 151) << QPoint(402, 302);
    }
    void clic_a_cualquier_escala() {
        QFETCH(QSize, area);
        QFETCH(QRect, cuadro);
        QFETCH(QPoint, punto);
        QFETCH(QPoint, pixel);
        QCOMPARE(campo::encuadre(area), cuadro);
        const auto p = campo::pixeldecampo(area, punto);
        QCOMPARE(p.value_or(QPoint(-1, -1)), pixel);
    }

    // Labels over the field grow and move with the frame as drawn, so that
    // they neither shrink beside a large frame nor sit on the black bands.
    void etiquetas_con_el_cuadro_data() {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<int>("letra");     // pixels, for 11 frame pixels
        QTest::addColumn<QPoint>("arriba"); // the top-left label's corner
        QTest::addColumn<int>("centro");    // the top-middle label's middle
        QTest::addColumn<int>("abajo");     // the bottom-left label's bottom edge
        QTest::newRow("tamano-normal") << QSize(800, 600) << 11 << QPoint(4, 4) << 400 << 596;
        QTest::newRow("doble") << QSize(1600, 1200) << 22 << QPoint(8, 8) << 800 << 1192;
        QTest::newRow("bandas-a-los-lados")
            << QSize(1000, 600) << 11 << QPoint(104, 4) << 500 << 596;
        QTest::newRow("suave-con-bandas-arriba")
            << QSize(1200, 1000) << 17 << QPoint(6, 56) << 600 << 944;
    }
    void etiquetas_con_el_cuadro() {
        QFETCH(QSize, area);
        QFETCH(int, letra);
        QFETCH(QPoint, arriba);
        QFETCH(int, centro);
        QFETCH(int, abajo);
        campo c;
        c.resize(800, 600);
        c.show();
        auto* esquina = new QLabel(QStringLiteral("Bea se unió"), &c);
        auto* medio = new QLabel(QStringLiteral("Objetivo: 50 muertes"), &c);
        auto* pie = new QLabel(QStringLiteral("Jugadores"), &c);
        auto* ida = new QLabel(QStringLiteral("se va antes"), &c);
        c.sobreponer(esquina, Qt::AlignTop | Qt::AlignLeft, 11);
        c.sobreponer(medio, Qt::AlignTop | Qt::AlignHCenter, 11);
        c.sobreponer(pie, Qt::AlignBottom | Qt::AlignLeft, 11);
        c.sobreponer(ida, Qt::AlignTop | Qt::AlignRight, 11);
        delete ida; // a label gone before the field is forgotten
        c.resize(area);
        QCOMPARE(esquina->font().pixelSize(), letra);
        QCOMPARE(esquina->pos(), arriba);
        QVERIFY(std::abs(medio->x() + medio->width() / 2 - centro) <= 1);
        QCOMPARE(medio->y(), arriba.y());
        QCOMPARE(pie->x(), arriba.x());
        QCOMPARE(pie->y() + pie->height(), abajo);
        // A longer text is laid out again where it belongs.
        medio->setText(medio->text() + QStringLiteral(" · rojo 0 · azul 0 · faltan 50"));
        c.colocarencima();
        QVERIFY(std::abs(medio->x() + medio->width() / 2 - centro) <= 1);
        QCOMPARE(medio->width(), medio->sizeHint().width());
    }

    void ventana_redimensionable() {
        main v;
        QVERIFY(avista(v, "prueba_a.mapa", 1, arquero));
        v.resize(v.width() + 800, v.height() + 600);
        QTRY_COMPARE(v.mainpic->width(), 1600);
        QCOMPARE(v.status->y(), v.mainpic->height());
        QCOMPARE(v.mainpic->imagen.size(), QSize(800, 600));
        // A click aims at the cell under the pointer at twice the size.
        QTest::mouseClick(
            v.mainpic, Qt::LeftButton, {},
            QPoint(800 + 2 * 20 * 3 + 1, (v.mainpic->height() - 1200) / 2 + 600 + 1));
        QCOMPARE(v.juego().flechas[0].activa, verdadero);
        QCOMPARE(int(v.juego().flechas[0].destx), v.juego().vista.x + 23);
        QCOMPARE(int(v.juego().flechas[0].desty), v.juego().vista.y + 15);

        // As narrow as it goes, the row under the field still fits side by
        // side: the life bar, the kill count (big numbers too), the sound box.
        for (int k = 0; k < 2; ++k)
            v.esperar([k](partida& p) {
                prueba::escena(p, [k](mundoprueba& e) { e.m.unidades[k].muertes = 999; });
            });
        v.timer_Timer();
        v.resize(1, 1);
        QTRY_VERIFY(v.width() < 800);
        QVERIFY(v.vida->geometry().right() < v.marcador->x());
        QVERIFY2(v.marcador->x() + v.marcador->sizeHint().width() <= v.sonido_->x(),
                 qPrintable(v.marcador->text()));
    }

    // Zoomed in, a click still aims at the cell drawn under the pointer.
    void clic_con_zoom() {
        main v;
        QVERIFY(avista(v, "prueba_a.mapa", 1, arquero));
        v.mnuSuave->setChecked(false);
        v.findChild<QAction*>("mnuZoom2")->trigger();
        v.mainpic->repaint();
        const posicion vista = v.juego().vista;
        const QRectF r = v.encima().recorte(v.juego(), vista.x, vista.y, nullptr);
        QCOMPARE(r.size(), QSizeF(400, 300));
        const QPoint en(2 * 20 * 3 + 5, 2 * 20 * 2 + 5);
        QTest::mouseClick(v.mainpic, Qt::LeftButton, {}, en);
        QCOMPARE(v.juego().flechas[0].activa, verdadero);
        QCOMPARE(int(v.juego().flechas[0].destx), vista.x + int(r.x() + en.x() / 2) / 20);
        QCOMPARE(int(v.juego().flechas[0].desty), vista.y + int(r.y() + en.y() / 2) / 20);
        v.findChild<QAction*>("mnuZoom1")->trigger();
    }

    void repeticion_en_la_ventana() {
        main v;
        atrapar(v);
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 2, arquero));
        v.pararreloj();
        for (int i = 0; i < 20; ++i)
            v.timer_Timer();
        QTemporaryDir d;
        const QString ruta = d.filePath("r.repeticion");
        QVERIFY(v.guardarrepeticion(ruta));
        // The ticks it holds: 20, and on a slow run (under Memcheck) those
        // the clock played before it stopped.
        repeticion grabada;
        {
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray b = f.readAll();
            QCOMPARE(leerrepeticion(reinterpret_cast<const uint8_t*>(b.constData()),
                                    std::size_t(b.size()), grabada),
                     std::string());
        }
        QVERIFY(grabada.ticks() >= 20);
        // A save is told on the field, by the file's name.
        QCOMPARE(v.mensajes->text(), QStringLiteral("Repetición guardada: r.repeticion"));
        QVERIFY(v.verrepeticion(ruta));
        QVERIFY(v.visoractual());
        // From the free view Shift+Tab follows the last fighter, Tab goes
        // on to the first; S is the player's sound switch here too.
        QTest::keyClick(&v, Qt::Key_Left);
        QTest::keyClick(&v, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY2(v.status->text().contains("azul (3)"), qPrintable(v.status->text()));
        QTest::keyClick(&v, Qt::Key_Tab);
        QVERIFY2(v.status->text().contains("rojo (0)"), qPrintable(v.status->text()));
        const int16_t sonido = v.sonido();
        QTest::keyClick(&v, Qt::Key_S);
        QCOMPARE(v.sonido(), int16_t(sonido == 1 ? 0 : 1));
        QTest::keyClick(&v, Qt::Key_S);
        while (v.visoractual()->avanzar()) {
        }
        QVERIFY2(v.status->text().startsWith("Repetición terminada"),
                 qPrintable(v.status->text()));
        // The replay's line has the room of the life bar, and all of it
        // shows before the kill count begins.
        QVERIFY(v.vida->isHidden());
        QVERIFY(v.status->fontMetrics().horizontalAdvance(v.status->text()) < v.marcador->x());
        // Those and no more: the game's clock played none of its own on the
        // replay while the viewer took over.
        QCOMPARE(uint64_t(v.juego().numtick), grabada.ticks());
        // Nor when the replay is opened again over the one being watched:
        // the game's clock, made to tick whenever its thread is idle, would
        // play the new replay if it ran for a moment in between.
        simulacion* sim = &v.simulacionactual();
        int intervalo = 0; // read and written on the simulation's thread only
        sim->invocar([sim, &intervalo] {
            intervalo = sim->timer->interval();
            sim->timer->setInterval(0);
        });
        for (int vez = 0; vez < 3; ++vez) {
            QVERIFY(v.verrepeticion(ruta));
            while (v.visoractual()->avanzar()) {
            }
            QCOMPARE(uint64_t(v.juego().numtick), grabada.ticks());
        }
        sim->invocar([sim, &intervalo] { sim->timer->setInterval(intervalo); });
        v.sincronizar();
        QVERIFY(avisos.isEmpty());
        QTest::keyClick(&v, Qt::Key_Escape);
        QVERIFY(!v.visoractual());
        QCOMPARE(v.status->text(), QStringLiteral("Fin de la repetición."));
        // The last frame is nobody's match: the life bar comes back with the
        // next one.
        QVERIFY(v.vida->isHidden());
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 2, arquero));
        QVERIFY(!v.vida->isHidden());
    }

    // A replay of two million pauses between two ticks (some 2 MB) plays
    // a bounded batch of steps per timer call, and to the very end.
    void repeticion_de_pausas() {
        prueba::partidaprueba a;
        a.cargar(prueba::partidaprueba::plano(30, 30, {5, 5}, {20, 20}), 1, guerrero);
        a.tick();
        const std::size_t pausas = maxpasosrepeticion - 4;
        for (std::size_t k = 0; k < pausas; ++k)
            a.p.aplicar({tipoaccion::pausa, 0, 0, 0});
        a.tick();
        QTemporaryDir d;
        const QString ruta = d.filePath("pausas.repeticion");
        {
            const std::vector<uint8_t> bytes = escribirrepeticion(a.p.grabacion());
            QVERIFY(bytes.size() > 2'000'000);
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        }
        main v;
        atrapar(v);
        QVERIFY(v.verrepeticion(ruta));
        visor& r = *v.visoractual();
        r.reloj->stop();
        std::size_t antes = r.pasosvistos(), llamadas = 0;
        qint64 peor = 0;
        QElapsedTimer t;
        while (!r.terminado() && llamadas < 2 * pausas / visor::maxpasosllamada) {
            t.start();
            r.avanzar();
            peor = std::max(peor, t.elapsed());
            QVERIFY(r.pasosvistos() - antes <= visor::maxpasosllamada);
            antes = r.pasosvistos();
            ++llamadas;
        }
        QVERIFY(r.terminado());
        QVERIFY(llamadas >= pausas / visor::maxpasosllamada);
        qInfo("%zu llamadas; la más larga, %lld ms", llamadas, peor);
        QVERIFY(v.instantanea() == a.p.instantanea());
        QVERIFY(avisos.isEmpty());
    }

    // Ver repetición from the menu: it asks before it ends a running match
    // (No keeps playing), its keys work at once wherever the keyboard was,
    // and a saved match that cannot be loaded leaves the replay playing.
    void repeticion_desde_el_menu() {
        main v;
        atrapar(v);
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, guerrero));
        v.pararreloj();
        for (int t = 0; t < 5; ++t)
            v.timer_Timer();
        QTemporaryDir d;
        QString respuesta = d.filePath("r.repeticion");
        QVERIFY(v.guardarrepeticion(respuesta));
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        v.pedirarchivo = [&](bool, const QString&, const QString&, const QString&) {
            return respuesta;
        };
        v.elegirarchivo = [&](const QString&, const QString&, const QString&, const QString&) {
            return respuesta;
        };
        QStringList preguntas;
        bool si = false;
        v.confirmar = [&](const QString&, const QString& texto) {
            preguntas << texto;
            return si;
        };
        const uint32_t tick = v.juego().numtick;
        v.mnuVerRepeticion->trigger();
        QCOMPARE(preguntas.size(), 1);
        QVERIFY(!v.visoractual());
        QCOMPARE(v.juego().numtick, tick);
        v.timer_Timer();
        QCOMPARE(v.juego().numtick, tick + 1);

        // The set-up window has the keyboard when the replay starts.
        v.mnuSolo->trigger();
        QVERIFY(QTest::qWaitForWindowActive(v.menu()));
        si = true;
        v.mnuVerRepeticion->trigger();
        QCOMPARE(preguntas.size(), 2);
        QVERIFY(v.visoractual());
        QTRY_COMPARE(QApplication::activeWindow(), &v);
        QWidget* teclado = QApplication::focusWidget();
        QTest::keyClick(teclado ? teclado : QApplication::activeWindow(), Qt::Key_Escape);
        QVERIFY(!v.visoractual());

        v.mnuVerRepeticion->trigger();
        QVERIFY(v.visoractual());
        QFile roto(d.filePath("roto.partida"));
        QVERIFY(roto.open(QIODevice::WriteOnly));
        roto.write("TARNINST");
        roto.close();
        for (const QString& archivo : {roto.fileName(), d.filePath("no-esta.partida")}) {
            avisos.clear();
            respuesta = archivo;
            v.mnuCargarPartida->trigger();
            QCOMPARE(avisos.size(), 1);
            QVERIFY(v.visoractual());
            QVERIFY(v.relojactivo());
        }
    }

    void la_barra_dice_lo_que_la_linea() {
        // The status line shows the values the tick started with; the life
        // bar beside it shows the same life, tick after tick of a fight and
        // in a pause, though the fighter's life has moved on.
        QTemporaryDir d;
        main v;
        atrapar(v);
        QVERIFY(empezarcerca(v, d, 8));
        v.pararreloj();
        int atrasada = 0;
        for (int t = 0; t < 400; ++t) {
            v.timer_Timer();
            const QString linea = v.status->text();
            QCOMPARE(v.vida->vida(), linea.section(' ', 1, 1).toInt());
            atrasada += v.vida->vida() != v.juego().unidades[0].vida;
        }
        QVERIFY(atrasada > 0); // the fight did hurt the player in some tick
    }

    void guardar_sin_sitio_deja_el_archivo_anterior() {
        // A small map keeps the snapshot inside the file's write buffer, so
        // the failure only shows when that buffer is written out.
        QTemporaryDir d;
        main v;
        atrapar(v);
        QVERIFY(empezarcerca(v, d, 1));
        v.pararreloj();
        const QString ruta = d.filePath("p.partida");
        QVERIFY(v.guardarpartida(ruta));
        QCOMPARE(v.mensajes->text(), QStringLiteral("Partida guardada: p.partida"));
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray antes = f.readAll();
        f.close();
        QVERIFY(antes.size() < 16384);
        v.timer_Timer();
        // A file size limit: without care the game dies of SIGXFSZ, or puts
        // a cut file in place of the good one and calls it saved.
        rlimit previo{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previo), 0);
        rlimit menor = previo;
        menor.rlim_cur = rlim_t(antes.size() / 2);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &menor), 0);
        const bool guardada = v.guardarpartida(ruta);
        setrlimit(RLIMIT_FSIZE, &previo);
        QVERIFY(!guardada);
        QCOMPARE(avisos.size(), 1);
        // Why, in Spanish, before the system's own words.
        QVERIFY2(avisos[0].contains("No se pudo guardar p.partida. El archivo supera el tamaño "
                                    "máximo"),
                 qPrintable(avisos[0]));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), antes);
        avisos.clear();
        QVERIFY(!v.guardarpartida(d.filePath(QString(300, 'x') + ".partida")));
        QCOMPARE(avisos.size(), 1);
        QVERIFY2(avisos[0].contains("El nombre del archivo es demasiado largo."),
                 qPrintable(avisos[0]));
    }

    void ajustes_de_una_vez_a_otra() {
        QTemporaryDir d;
        QSettings s(d.filePath("a.conf"), QSettings::IniFormat);
        ajustes a;
        a.sonido = false;
        a.suave = false;
        a.minimapa = false;
        a.zoom = 1.5;
        a.mapa = "rio.mapa";
        a.guerreros = 6;
        a.tipo = "Arquero";
        a.meta = {tipoobjetivo::tiempo, 300};
        a.regla = {modoreglas::equilibradas, dificultad::facil, 0};
        a.escribir(s);
        const ajustes b = ajustes::leer(s);
        QCOMPARE(b.sonido, false);
        QCOMPARE(b.suave, false);
        QCOMPARE(b.minimapa, false);
        QCOMPARE(b.zoom, 1.5);
        QCOMPARE(b.mapa, QStringLiteral("rio.mapa"));
        QCOMPARE(b.guerreros, 6);
        QCOMPARE(b.tipo, QStringLiteral("Arquero"));
        QCOMPARE(b.meta, (objetivo{tipoobjetivo::tiempo, 300}));
        QCOMPARE(b.regla, (reglas{modoreglas::equilibradas, dificultad::facil, 0}));

        // A hand-edited file: what is wrong falls back to the default.
        s.setValue("sonido", "quizás");
        s.setValue("partida/mapa", "../../etc/passwd");
        s.setValue("partida/guerreros", 12);
        s.setValue("partida/tipo", "Mago");
        s.setValue("partida/objetivovalor", 301); // not whole minutes
        s.setValue("zoom", "3");
        s.setValue("partida/reglas", "locas");
        s.setValue("partida/dificultad", "imposible");
        const ajustes c = ajustes::leer(s);
        QCOMPARE(c.regla, reglas{});
        QCOMPARE(c.sonido, true);
        QCOMPARE(c.zoom, 1.0);
        QVERIFY(c.mapa.isEmpty());
        QCOMPARE(c.guerreros, 1);
        QCOMPARE(c.tipo, QStringLiteral("Guerrero"));
        QCOMPARE(c.meta, objetivo{});

        // The window keeps sound and the minimap switched off across runs.
        {
            main v;
            QVERIFY(v.sonido_->isChecked());
            v.sonido_->setChecked(false);
            v.mnuMinimapa->setChecked(false);
            v.findChild<QAction*>("mnuZoom2")->trigger();
            QCOMPARE(v.encima().zoom, 2.0);
        }
        main v;
        QVERIFY(!v.sonido_->isChecked());
        QVERIFY(!v.encima().minimapa);
        QCOMPARE(v.encima().zoom, 2.0);
        QVERIFY(v.findChild<QAction*>("mnuZoom2")->isChecked());
        // Back to 1x for the windows that follow.
        v.findChild<QAction*>("mnuZoom1")->trigger();
    }

    void cajas_de_ayuda_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("empieza");
        QTest::addColumn<QStringList>("tiene");
        // The box's first lines as they always read; the sound switch no
        // longer sits under "Atacar:", and the later keys and the rules
        // follow.
        QTest::newRow("controles")
            << "mnuControles"
            << "Controles"
            << "P = Pausa\r\nMoverse ---> Flechas\r\n\r\nAtacar:\r\n"
               "Arquero ---> Click Izquierdo\r\nGuerrero ---> Barra de Espacio\r\n\r\n"
            << QStringList{"Activar/Desactivar Sonido ----> S",
                           "---> M",
                           "---> F11",
                           "---> Esc",
                           "Tab",
                           "+ y -",
                           "3 segundos",
                           "Cada 7 muertes",
                           "5 de ataque",
                           "3 de armadura",
                           "Por muertes",
                           "Equilibradas"};
        QTest::newRow("acerca") << "mnuAcerca"
                                << "Acerca..."
                                << "Tarnhollow" << QStringList{};
    }
    void cajas_de_ayuda() {
        QFETCH(QString, item);
        QFETCH(QString, titulo);
        QFETCH(QString, empieza);
        QFETCH(QStringList, tiene);
        main v;
        // The match waits while the box is read.
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, guerrero));
        bool corria = true;
        QString visto, vistotitulo;
        QMessageBox::Icon icono = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!caja)
                return;
            v.sincronizar();
            corria = v.relojactivo();
            visto = caja->text();
            vistotitulo = caja->windowTitle();
            icono = caja->icon();
            caja->accept();
        });
        v.findChild<QAction*>(item)->trigger();
        QCOMPARE(vistotitulo, titulo);
        QCOMPARE(icono, QMessageBox::Information);
        QVERIFY2(visto.startsWith(empieza), qPrintable(visto));
        QVERIFY(!corria);
        QVERIFY((v.sincronizar(), v.relojactivo()));
        for (const QString& t : tiene)
            QVERIFY2(visto.contains(t), qPrintable(t));
    }

    // The README's key tables name every key the help box lists, and no
    // other: a key added to the game without its line fails here.
    void readme_y_ayuda_data() {
        QTest::addColumn<int>("donde");
        QTest::addColumn<QString>("tabla"); // the header of the README's table
        QTest::newRow("partida") << int(entradaayuda::donde::partida)
                                 << "| key or mouse | action |";
        QTest::newRow("repeticion")
            << int(entradaayuda::donde::repeticion) << "| key | while watching a replay |";
    }
    void readme_y_ayuda() {
        QFETCH(int, donde);
        QFETCH(QString, tabla);
        QFile f(QStringLiteral(README));
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lineas = QString::fromUtf8(f.readAll()).split('\n');
        const qsizetype inicio = lineas.indexOf(tabla);
        QVERIFY2(inicio >= 0, qPrintable(tabla));
        QStringList enreadme;
        for (qsizetype i = inicio + 2; i < lineas.size() && lineas[i].startsWith('|'); ++i)
            enreadme << lineas[i].section('|', 1, 1).trimmed();
        QStringList enayuda;
        for (const entradaayuda& e : entradasayuda())
            if (int(e.en) == donde && e.readme)
                enayuda << QString::fromUtf8(e.readme);
        enreadme.sort();
        enayuda.sort();
        QCOMPARE(enreadme, enayuda);
    }

    void clic_en_el_campo() {
        main v;
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, arquero));
        v.pararreloj();
        QTest::mouseClick(v.mainpic, Qt::RightButton, {}, QPoint(400, 300));
        QCOMPARE(v.juego().flechas[0].activa, verdadero);
        QCOMPARE(int(v.juego().flechas[0].destx), 20);
        QCOMPARE(int(v.juego().flechas[0].desty), 15);
        QCOMPARE(int(v.juego().unidades[0].espera), 5);
    }

    // Saving and loading a match, watching its replay, and the automatic
    // archive of the last matches, through the menu as a player uses it.
    void partidas_y_repeticiones() {
        main v;
        atrapar(v);
        QString respuesta;
        v.pedirarchivo = [&](bool, const QString&, const QString&, const QString&) {
            return respuesta;
        };
        v.elegirarchivo = [&](const QString&, const QString&, const QString&, const QString&) {
            return respuesta;
        };
        const QString temporal = QDir::tempPath() + "/tarnhollow-prueba-ventana";
        QDir(temporal).removeRecursively();
        QDir().mkpath(temporal);

        // The menu offers to save only what there is.
        emit v.mnuArchivo->aboutToShow();
        QVERIFY(!v.mnuGuardarPartida->isEnabled());
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_b.mapa", 3, arquero));
        emit v.mnuArchivo->aboutToShow();
        QVERIFY(v.mnuGuardarPartida->isEnabled());
        v.pararreloj();
        for (int t = 0; t < 40; ++t)
            v.timer_Timer();

        respuesta = temporal + "/a"; // the ending is added
        v.mnuGuardarPartida->trigger();
        QVERIFY(QFile::exists(temporal + "/a.partida"));
        // Under a name that is taken, with or without its ending, the player
        // is asked first, and No keeps the file.
        QStringList preguntas;
        bool reemplazar = false;
        v.confirmar = [&](const QString&, const QString& texto) {
            preguntas << texto;
            return reemplazar;
        };
        auto contenido = [&] {
            QFile f(temporal + "/a.partida");
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        {
            QFile f(temporal + "/a.partida");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("viejo");
        }
        v.mnuGuardarPartida->trigger();
        QCOMPARE(preguntas.size(), 1);
        QVERIFY2(preguntas[0].contains("a.partida"), qPrintable(preguntas[0]));
        QCOMPARE(contenido(), QByteArray("viejo"));
        reemplazar = true;
        respuesta = temporal + "/a.partida";
        v.mnuGuardarPartida->trigger();
        QCOMPARE(preguntas.size(), 2);
        QVERIFY(contenido().startsWith("TARNINST"));
        respuesta = temporal + "/a.repeticion";
        v.mnuGuardarRepeticion->trigger();
        const std::vector<uint8_t> foto = v.instantanea();
        for (int t = 0; t < 10; ++t)
            v.timer_Timer();

        // Loading brings the saved moment back (the loaded match, whose
        // clock runs again at once, starts its record there); a bad file
        // changes nothing.
        auto inicio = [&v] {
            const std::vector<uint8_t> d =
                v.esperar([](partida& p) { return p.grabacion().inicio; });
            return QByteArray(reinterpret_cast<const char*>(d.data()), qsizetype(d.size()));
        };
        respuesta = temporal + "/a.partida";
        v.mnuCargarPartida->trigger();
        QVERIFY(inicio() == contenido());
        QVERIFY(avisos.isEmpty());
        QFile roto(temporal + "/roto.partida");
        QVERIFY(roto.open(QIODevice::WriteOnly));
        roto.write("TARNINST");
        roto.close();
        respuesta = roto.fileName();
        v.mnuCargarPartida->trigger();
        QCOMPARE(avisos.size(), 1);
        QVERIFY2(avisos[0].contains("cortado"), qPrintable(avisos[0]));
        QVERIFY(inicio() == contenido());

        // The replay plays (here at 16x) to the saved moment; Esc leaves
        // the viewer with the last frame on the field.
        respuesta = temporal + "/a.repeticion";
        v.mnuVerRepeticion->trigger();
        QVERIFY(v.visoractual());
        for (int k = 0; k < 4; ++k)
            QTest::keyClick(&v, Qt::Key_Plus);
        QCOMPARE(v.visoractual()->velocidad(), 16);
        QTRY_VERIFY_WITH_TIMEOUT(v.visoractual()->terminado(), 10000);
        QVERIFY(v.instantanea() == foto);
        QTest::keyClick(&v, Qt::Key_Escape);
        QVERIFY(!v.visoractual());

        // Every match played is archived when the next starts; files the
        // archive did not write, named as it names its own, stay.
        QDir archivo(main::carpetausuario("repeticiones"));
        archivo.removeRecursively();
        for (int k = 0; k < main::repeticionesguardadas + 2; ++k) {
            QFile f(
                main::carpetausuario("repeticiones") +
                QStringLiteral("/partida-20000101-0000%1.repeticion").arg(k, 2, 10, QChar('0')));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        // The replay watched last is not a match played here: it is not
        // archived again.
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, guerrero));
        QCOMPARE(archivo.entryList({"*.repeticion"}, QDir::Files).size(),
                 main::repeticionesguardadas + 2);
        v.pararreloj();
        v.timer_Timer();
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, guerrero));
        const QStringList quedan = archivo.entryList({"*.repeticion"}, QDir::Files, QDir::Name);
        QCOMPARE(quedan.size(), main::repeticionesguardadas + 3);
        QVERIFY(quedan.contains("partida-20000101-000000.repeticion"));
        QCOMPARE(juego::archivo(archivo.path()).archivadas().size(), 1);
        QDir(temporal).removeRecursively();
    }

    // The last four messages show; each goes when its own time is up,
    // whatever came before or after it.
    void mensajes_cada_uno_su_tiempo() {
        main v;
        v.duraciondicho = 300;
        v.decir("a");
        QTest::qWait(150);
        for (const char* t : {"b", "c", "d", "e"})
            v.decir(t);
        QCOMPARE(v.mensajes->text(), QStringLiteral("b\nc\nd\ne"));
        // a's time is up, but a has gone already.
        QTest::qWait(200);
        QCOMPARE(v.mensajes->text(), QStringLiteral("b\nc\nd\ne"));
        QTRY_VERIFY_WITH_TIMEOUT(v.mensajes->isHidden(), 2000);
    }

    // The scoreboard grows with the field as what is drawn on it does,
    // shows all sixteen rows of eight a team where the window has the room,
    // and stays inside and readable at the window's smallest size.
    void marcador_final_a_su_medida() {
        main v;
        QVERIFY(avista(v, "prueba_b.mapa", 8, guerrero));
        const QSize minimo = v.minimumSizeHint().expandedTo(v.minimumSize());
        int letraanterior = 0;
        for (const QSize tamano : {minimo, QSize(820, 660), QSize(1600, 1300)}) {
            v.resize(tamano);
            QTRY_COMPARE(v.width(), tamano.width());
            v.final_->mostrar(v.juego(), 0, true);
            v.final_->layout()->activate();
            const QRect dentro = v.centralWidget()->rect();
            QVERIFY2(
                dentro.contains(v.final_->geometry()),
                qPrintable(QStringLiteral("%1 x %2").arg(tamano.width()).arg(tamano.height())));
            // Never smaller than letters that read, and larger with the field.
            const int letra = QFontInfo(v.final_->tabla->font()).pixelSize();
            QVERIFY(letra >= 12);
            QVERIFY(QFontInfo(v.final_->titulo->font()).pixelSize() >= 20);
            QVERIFY(letra >= letraanterior);
            letraanterior = letra;
            // The title, the rules and the buttons whole; some rows at least.
            QVERIFY(v.final_->titulo->height() >= v.final_->titulo->sizeHint().height());
            QVERIFY(v.final_->revancha->height() >= v.final_->revancha->sizeHint().height());
            QVERIFY(v.final_->tabla->viewport()->height() >= 3 * v.final_->tabla->rowHeight(0));
            if (tamano.width() > 1000) {
                QVERIFY(v.final_->tabla->viewport()->height() >=
                        16 * v.final_->tabla->rowHeight(0));
                QVERIFY(letra >= 20);
            }
        }
    }

    void objetivo_escrito_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("escrito");
        QTest::addColumn<int>("valor"); // kills, or seconds
        QTest::newRow("muertes-bajo-el-minimo") << 1 << "3" << 5;
        QTest::newRow("muertes-sobre-el-maximo-no-entra") << 1 << "900" << 90;
        QTest::newRow("muertes-en-el-rango") << 1 << "80" << 80;
        QTest::newRow("minutos-cero") << 2 << "0" << 60;
    }
    void objetivo_escrito() {
        // A number typed out of range gives the nearest allowed one, even
        // while the box still has the focus; never the number shown before.
        QFETCH(int, tipo);
        QFETCH(QString, escrito);
        QFETCH(int, valor);
        QWidget ventana;
        selectorobjetivo s(&ventana);
        s.tipo->setCurrentIndex(tipo);
        s.cantidad->selectAll();
        QTest::keyClicks(s.cantidad, escrito);
        QCOMPARE(int(s.elegido().valor), valor);
    }

    // A match with a goal shows what is left, ends with its winner and a
    // scoreboard, and Revancha plays the same match again.
    void final_de_partida() {
        main v;
        atrapar(v);
        v.pararreloj();
        QVERIFY(!v.lblobjetivo->isVisible());
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_b.mapa", 2, arquero, {tipoobjetivo::tiempo, 2}));
        v.show();
        v.pararreloj();
        QVERIFY(v.lblobjetivo->isVisible());
        QCOMPARE(v.lblobjetivo->text(), QStringLiteral("Tiempo: 0:02 · rojo 0 · azul 0"));
        for (int t = 0; t < 15; ++t)
            v.timer_Timer();
        QVERIFY(!v.final_->isVisible());
        QCOMPARE(v.lblobjetivo->text(), QStringLiteral("Tiempo: 0:01 · rojo 0 · azul 0"));
        v.timer_Timer();
        QVERIFY(v.final_->isVisible());
        QCOMPARE(v.final_->titulo->text(), QStringLiteral("Empate"));
        // It stays in the middle when the window grows.
        v.resize(v.width() + 400, v.height() + 300);
        const QRect campo = campo::encuadre(v.mainpic->size());
        QTRY_COMPARE(v.final_->geometry().center().x() / 2, campo.center().x() / 2);
        QCOMPARE(v.final_->geometry().center().y() / 2, campo.center().y() / 2);
        // It tells the rules the match was played by.
        QCOMPARE(v.final_->lblreglas->text(), QStringLiteral("Reglas: Clásicas"));
        // Over, the match can no longer be saved to play on; its replay can.
        emit v.mnuArchivo->aboutToShow();
        QVERIFY(!v.mnuGuardarPartida->isEnabled());
        QVERIFY(v.mnuGuardarRepeticion->isEnabled());
        QCOMPARE(v.lblobjetivo->text(), QStringLiteral("Partida terminada · rojo 0 · azul 0"));
        QCOMPARE(v.final_->tabla->rowCount(), 4);
        QCOMPARE(v.final_->tabla->item(0, 2)->text(), QStringLiteral("Tú"));
        QVERIFY(v.final_->tabla->item(0, 0)->font().bold());
        QCOMPARE(v.final_->tabla->item(3, 0)->text(), QStringLiteral("azul"));

        // Cerrar leaves the last frame and says where the next match starts;
        // Revancha starts the same match anew.
        v.final_->cerrar->click();
        QVERIFY(!v.final_->isVisible());
        QCOMPARE(v.mensajes->text(), QStringLiteral("Otra partida: Archivo → Un Jugador"));
        v.final_->mostrar(v.juego(), 0, true);
        const reglas antes = v.juego().regla;
        v.final_->revancha->click();
        QVERIFY(!v.final_->isVisible());
        // The same rules, but a new seed: not the same match again.
        QCOMPARE(v.juego().regla.modo, antes.modo);
        QVERIFY(v.juego().regla.semilla != antes.semilla);
        QCOMPARE(v.juego().fin, falso);
        QCOMPARE(int(v.juego().numtick), 0);
        QCOMPARE(v.juego().meta, (objetivo{tipoobjetivo::tiempo, 2}));
        QCOMPARE(int(v.juego().anchomapa), 74);
        QVERIFY(avisos.isEmpty());
        QCOMPARE(textoganador(0), QStringLiteral("¡Gana el equipo rojo!"));
        QCOMPARE(textoreglas({modoreglas::equilibradas, dificultad::dificil, 7}),
                 QStringLiteral("Reglas: Equilibradas · Dificultad: Difícil"));
        QCOMPARE(textoreglas({modoreglas::clasicas, dificultad::dificil, 7}),
                 QStringLiteral("Reglas: Clásicas"));
        QCOMPARE(textoganador(1), QStringLiteral("¡Gana el equipo azul!"));
    }

    // The file dialogs speak Spanish whatever the system does: Qt's own
    // dialog, with Qt's Spanish words and Spanish dates.
    void dialogos_en_espanol() {
        ponerespanol(*qApp);
        QCOMPARE(QLocale().toString(QDate(2026, 12, 9), QStringLiteral("d MMM")),
                 QStringLiteral("9 dic"));
        main v;
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        bool propio = false;
        QStringList botones;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            propio = d->testOption(QFileDialog::DontUseNativeDialog);
            for (const QPushButton* b : d->findChildren<QPushButton*>())
                botones << b->text();
            d->reject();
        });
        QCOMPARE(v.pedirarchivo(false, "Ver repetición", QDir::tempPath(), "(*.repeticion)"),
                 QString());
        QVERIFY(propio);
        QVERIFY2(botones.contains(QStringLiteral("Cancelar")), qPrintable(botones.join(',')));
        // The tests after this one read Qt's words as they were.
        for (QTranslator* t : qApp->findChildren<QTranslator*>())
            QCoreApplication::removeTranslator(t);
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_MAIN(TestVentana)
#include "test_ventana.moc"
