#include "Comun/mapaarchivo.h"
#include "Juego/qt/unjugador.h"
#include "Juego/qt/ventana.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace juego;

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

void elegir(unjugador& u, const QString& nombre) {
    const auto items = u.File1->findItems(nombre, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    u.File1->setCurrentItem(items.first());
}

} // namespace

class TestVentana : public QObject {
    Q_OBJECT

    QStringList avisos;

    void atrapar(main& v) {
        avisos.clear();
        v.avisar = [this](const QString& t, const QString& texto) { avisos << t + ": " + texto; };
    }

private slots:
    void initTestCase() {
        QDir().mkpath(carpeta());
        escribir("prueba_a.mapa", mapa(50, 50, {10, 10}, {40, 40}));
        escribir("prueba_b.mapa", mapa(75, 50, {20, 20}, {60, 30}));
        escribir("prueba_rota.mapa", "49,49/fn0,0,0/fn1,1,2,2/fn");
        escribir("prueba_borde.mapa", mapa(50, 50, {0, 10}, {40, 40}));
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
        QVERIFY(v.timer->isActive());
        QCOMPARE(v.timer->interval(), 125);
        QCOMPARE(v.mnuSolo->text(), QStringLiteral("Un Jugador"));
        QVERIFY(v.mnuMulti->isEnabled());
        QCOMPARE(v.mnuSalir->text(), QStringLiteral("Salir"));
        QCOMPARE(v.mnuControles->text(), QStringLiteral("Controles"));
        QCOMPARE(v.mnuAcerca->text(), QStringLiteral("Acerca..."));
        QCOMPARE(v.juego().tipos[0].ataque, int16_t(20));
        QCOMPARE(v.juego().tipos[1].armadura, int16_t(4));
        QCOMPARE(v.juego().jugando, falso);
        QVERIFY(v.status->text().isEmpty());
    }

    void menu_de_partida() {
        main v;
        atrapar(v);
        v.mnuSolo->trigger();
        QPointer<unjugador> u = v.menu();
        QVERIFY(u);
        QCOMPARE(u->windowTitle(), QStringLiteral("Menú"));
        QCOMPARE(u->size(), QSize(113, 365));
        QCOMPARE(u->guerreros->currentText(), QStringLiteral("1"));
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

        // Without a selected map, "Empezar" does nothing.
        QTest::mouseClick(u->empezar, Qt::LeftButton);
        QVERIFY(u);
        QCOMPARE(v.juego().jugando, falso);
        QVERIFY(avisos.isEmpty());
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
        v.timer->stop(); // a pause before the match: starting it resumes
        QTest::mouseClick(u->empezar, Qt::LeftButton);
        QVERIFY(avisos.isEmpty());
        QTRY_VERIFY(!u);
        const mundo& m = v.juego();
        QCOMPARE(m.jugando, verdadero);
        QCOMPARE(int(m.maxp), 3);
        QCOMPARE(int(m.unidades[0].tipo), 0);
        QCOMPARE(int(m.unidades[0].ataque), 25);
        QCOMPARE(int(m.unidades[0].armadura), 3);
        QCOMPARE(int(m.unidades[5].equipo), 1);
        QVERIFY(v.timer->isActive());
        QCOMPARE(v.status->text(),
                 QStringLiteral("Vida: 100 - Muertes: 0 - Ataque: 25 - Armadura: 3"));
        // The first frame is drawn.
        QVERIFY(v.mainpic->imagen.pixel(100, 100) != qRgb(0, 0, 0));

        // The next "Un Jugador" shows a fresh window.
        v.mnuSolo->trigger();
        QCOMPARE(v.menu()->guerreros->currentText(), QStringLiteral("1"));
    }

    void mapas_rechazados_data() {
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QString>("guerreros");
        QTest::addColumn<QString>("aviso");
        QTest::newRow("faltan-celdas") << "prueba_rota.mapa" << "2" << "Faltan celdas";
        QTest::newRow("inicio-en-el-borde") << "prueba_borde.mapa" << "2" << "borde";
        QTest::newRow("cero-guerreros") << "prueba_b.mapa" << "0" << "del 1 al 8";
        QTest::newRow("nueve-guerreros") << "prueba_b.mapa" << "9" << "del 1 al 8";
        QTest::newRow("guerreros-no-numerico") << "prueba_b.mapa" << "tres" << "del 1 al 8";
    }
    void mapas_rechazados() {
        QFETCH(QString, archivo);
        QFETCH(QString, guerreros);
        QFETCH(QString, aviso);
        main v;
        atrapar(v);
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 2, guerrero));
        v.timer->stop(); // paused: a refused map must not resume the match
        v.juego().unidades[0].x = 9;
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
        QVERIFY(!v.timer->isActive());
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
        QVERIFY(v.timer->isActive());
    }

    void teclas_de_la_ventana() {
        main v;
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, guerrero));
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        v.timer->stop(); // ticks are driven by hand below
        mundo& m = v.juego();
        m.unidades[1].muerto = verdadero;
        m.unidades[1].revivir = 10000;

        // P pauses and resumes; S toggles the sound box twice back.
        QTest::keyClick(&v, Qt::Key_P);
        QCOMPARE(m.pausado, verdadero);
        QVERIFY(!v.timer->isActive());
        QTest::keyClick(&v, Qt::Key_P);
        QCOMPARE(m.pausado, falso);
        QVERIFY(v.timer->isActive());
        v.timer->stop();
        const bool sonido = v.sonido_->isChecked();
        QTest::keyClick(&v, Qt::Key_S);
        QCOMPARE(v.sonido_->isChecked(), !sonido);
        QTest::keyClick(&v, Qt::Key_S);
        QCOMPARE(v.sonido_->isChecked(), sonido);

        // The space bar strikes and does not press the sound box.
        v.sonido_->setFocus();
        QTest::keyClick(v.sonido_, Qt::Key_Space);
        QCOMPARE(int(m.unidades[0].espera), 4);
        QCOMPARE(v.sonido_->isChecked(), sonido);

        // An arrow key held across a tick walks the fighter.
        m.unidades[0].espera = 0;
        const int x0 = m.unidades[0].x;
        // Keys reach whichever control has the focus first.
        QWidget* foco = QApplication::focusWidget() ? QApplication::focusWidget() : &v;
        QTest::keyPress(foco, Qt::Key_Right);
        v.timer_Timer();
        QTest::keyRelease(foco, Qt::Key_Right);
        QCOMPARE(int(m.unidades[0].x), x0 + 1);
        v.timer_Timer();
        QCOMPARE(int(m.unidades[0].x), x0 + 1);
    }

    void cajas_de_ayuda_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("texto");
        QTest::newRow("controles") << "mnuControles" << "Controles"
                                   << "P = Pausa\r\nMoverse ---> Flechas\r\n\r\nAtacar:\r\n"
                                      "Arquero ---> Click Izquierdo\r\n"
                                      "Guerrero ---> Barra de Espacio\r\n"
                                      "Activar/Desactivar Sonido ----> S";
        QTest::newRow("acerca") << "mnuAcerca" << "Acerca..." << "";
    }
    void cajas_de_ayuda() {
        QFETCH(QString, item);
        QFETCH(QString, titulo);
        QFETCH(QString, texto);
        main v;
        QString visto, vistotitulo;
        QMessageBox::Icon icono = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!caja)
                return;
            visto = caja->text();
            vistotitulo = caja->windowTitle();
            icono = caja->icon();
            caja->accept();
        });
        v.findChild<QAction*>(item)->trigger();
        QCOMPARE(vistotitulo, titulo);
        QCOMPARE(icono, QMessageBox::Information);
        if (!texto.isEmpty())
            QCOMPARE(visto, texto);
        else
            QVERIFY(visto.contains("Tarnhollow"));
    }

    void clic_en_el_campo() {
        main v;
        QVERIFY(v.cargarmapa(carpeta() + "/prueba_a.mapa", 1, arquero));
        v.timer->stop();
        QTest::mouseClick(v.mainpic, Qt::RightButton, {}, QPoint(400, 300));
        QCOMPARE(v.juego().flechas[0].activa, verdadero);
        QCOMPARE(int(v.juego().flechas[0].destx), 20);
        QCOMPARE(int(v.juego().flechas[0].desty), 15);
        QCOMPARE(int(v.juego().unidades[0].espera), 5);
    }
};

QTEST_MAIN(TestVentana)
#include "test_ventana.moc"
