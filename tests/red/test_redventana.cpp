// Two game windows over the loopback address: one creates a match from the
// "Multijugador" window, the other joins it, and each sees the other's
// fighter walk.
#include "apoyo/bombear.h"
#include "Comun/mapaarchivo.h"
#include "Juego/nucleo/partida.h"
#include "Juego/nucleo/repeticion.h"
#include "Juego/qt/archivo.h"
#include "Juego/qt/final.h"
#include "Juego/qt/multijugador.h"
#include "Juego/qt/unjugador.h"
#include "Juego/qt/ventana.h"
#include "Juego/qt/visor.h"
#include "Juego/red/anfitrion.h"
#include "Juego/red/cliente.h"

#include "apoyo/aparte.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>

using namespace juego;

using prueba::bombear;

namespace {

// Waits until `w` has the keyboard and what switching windows set off has
// been handled: a key tapped before that could be let go again by it.
void activo(QWidget* w) {
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCoreApplication::processEvents();
}

const QString nombremapa = QStringLiteral("prueba_red.mapa");

// A port of the loopback address nobody listens on now.
quint16 puertolibre() {
    QTcpServer libre;
    return libre.listen(QHostAddress::LocalHost, 0) ? libre.serverPort() : 0;
}

// `v` hosts a match of one fighter a team on the test map, alone, on the
// loopback address.
void hospedar(main& v, quint16 puerto) {
    v.mnuMulti->trigger();
    multijugador* m = v.menured();
    m->escucharen = QHostAddress::LocalHost;
    const auto items = m->File1->findItems(nombremapa, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    m->File1->setCurrentItem(items.first());
    m->guerreros->setCurrentIndex(0);
    m->puerto->setValue(puerto);
    QTest::mouseClick(m->empezar, Qt::LeftButton);
    QVERIFY(v.red() && v.red()->anfitrionactual());
}

// `v` joins the match at `puerto` of the loopback address, in the blue
// team (the host plays red).
void unirse(main& v, quint16 puerto) {
    v.mnuMulti->trigger();
    multijugador* m = v.menured();
    m->equipo->setCurrentIndex(1);
    m->direccion->setText(QStringLiteral("127.0.0.1"));
    m->puertounirse->setValue(puerto);
    QTest::mouseClick(m->conectar, Qt::LeftButton);
    QVERIFY(v.red() && v.red()->clienteactual());
}

int archivadas() {
    return int(archivo(main::carpetausuario(QStringLiteral("repeticiones"))).archivadas().size());
}

} // namespace

class TestRedVentana : public QObject {
    Q_OBJECT

    ajustesaparte aparte;

private slots:
    void initTestCase() {
        main::sincronos = true;
        QVERIFY(aparte.apartar());
        QDir().mkpath(unjugador::carpetamapas());
        comun::plano p = comun::plano::vacio(49, 49);
        p.inicio = {comun::posicion{10, 10}, comun::posicion{16, 10}};
        QFile f(unjugador::carpetamapas() + QLatin1Char('/') + nombremapa);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const std::string texto = comun::escribirmapa(p);
        f.write(texto.data(), qint64(texto.size()));
    }
    void cleanupTestCase() {
        QFile::remove(unjugador::carpetamapas() + QLatin1Char('/') + nombremapa);
    }

    void nombre_con_tildes() {
        // Accented letters take two bytes each on the wire: the field takes
        // no more than fit, and what it took is a name the host accepts.
        main a;
        a.mnuMulti->trigger();
        QLineEdit* nombre = a.menured()->nombre;
        nombre->clear();
        for (int k = 0; k < 20; ++k)
            QTest::sendKeyEvent(QTest::Click, nombre, Qt::Key_Ntilde, QString(QChar(0xf1)),
                                Qt::NoModifier);
        QCOMPARE(nombre->text(), QString(12, QChar(0xf1)));
        QVERIFY(red::nombrevalido(nombre->text().toStdString()));
    }

    void crear_y_unirse() {
        QStringList avisos;
        main a, b;
        a.avisar = b.avisar = [&](const QString& t, const QString& x) { avisos << t + ": " + x; };
        a.show();
        b.show();
        quint16 puerto = 0;
        {
            QTcpServer libre;
            QVERIFY(libre.listen(QHostAddress::LocalHost, 0));
            puerto = libre.serverPort();
        }

        QVERIFY(a.mnuMulti->isEnabled());
        a.mnuMulti->trigger();
        multijugador* ma = a.menured();
        QVERIFY(ma);
        ma->escucharen = QHostAddress::LocalHost;
        ma->nombre->setText(QStringLiteral("Ana"));
        const auto items = ma->File1->findItems(nombremapa, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        ma->File1->setCurrentItem(items.first());
        // The chosen map is shown, as in the single-player window.
        QCOMPARE(ma->tamano->text(), QStringLiteral("50 x 50 celdas"));
        QVERIFY(!ma->vistaprevia->pixmap().isNull());
        ma->guerreros->setCurrentIndex(0);
        ma->puerto->setValue(puerto);
        QTest::mouseClick(ma->empezar, Qt::LeftButton);
        QVERIFY2(a.red() && a.red()->anfitrionactual(), qPrintable(avisos.join('\n')));
        // The host is told where friends find the match.
        const QString enpuerto = QStringLiteral("puerto %1").arg(puerto);
        QVERIFY(a.mensajes->text().contains(enpuerto));
        QVERIFY(a.red()->listajugadores->text().startsWith("Jugadores · " + enpuerto));
        QCOMPARE(a.juego().jugador, int16_t(0));

        b.mnuMulti->trigger();
        multijugador* mb = b.menured();
        mb->nombre->setText(QStringLiteral("Luis"));
        mb->equipo->setCurrentIndex(1);
        mb->puertounirse->setValue(puerto);
        // Enter in the address connects.
        mb->direccion->setFocus();
        QTest::keyClick(mb->direccion, Qt::Key_Return);
        QVERIFY(bombear([&] { return b.red() && b.red()->dentro(); }));
        QCOMPARE(b.juego().jugador, int16_t(1));
        QVERIFY(bombear([&] { return b.red()->listajugadores->text().contains("Ana"); }));
        QVERIFY(a.red()->listajugadores->text().contains(QStringLiteral("Luis")));
        // Who was there already did not just join; the newcomer is told the
        // name they play under, and finds their own row in the list.
        QVERIFY(bombear([&] { return a.mensajes->text().contains("Luis se unió"); }));
        QVERIFY2(b.mensajes->text().contains("Juegas como Luis") &&
                     !b.mensajes->text().contains("se unió"),
                 qPrintable(b.mensajes->text()));
        QVERIFY(!a.mensajes->text().contains("Ana se unió"));
        QVERIFY(
            b.red()->listajugadores->text().contains(QStringLiteral("Luis (tú) · arquero azul")));

        // Each presses an arrow in its own window; both copies see both steps.
        const int16_t ax = a.juego().unidades[0].x;
        const int16_t bx = a.juego().unidades[1].x;
        a.activateWindow();
        activo(&a);
        QTest::keyClick(&a, Qt::Key_Down);
        QVERIFY(bombear(
            [&] { return a.juego().unidades[0].y == 10 && b.juego().unidades[0].y == 10; }));
        b.activateWindow();
        activo(&b);
        QTest::keyClick(&b, Qt::Key_Right);
        QVERIFY(bombear([&] {
            return a.juego().unidades[1].x == bx + 1 && b.juego().unidades[1].x == bx + 1;
        }));
        QCOMPARE(a.juego().unidades[0].x, ax);
        QVERIFY(avisos.isEmpty());
        // An arrow typed into the Multijugador window stays there, however
        // long it is held: the fighter does not walk.
        a.mnuMulti->trigger();
        ma->activateWindow();
        ma->direccion->setFocus();
        QTest::keyPress(ma->direccion, Qt::Key_Down);
        bombear([] { return false; }, 400);
        QTest::keyRelease(ma->direccion, Qt::Key_Down);
        ma->hide();
        a.activateWindow();
        activo(&a);
        QTest::keyClick(&a, Qt::Key_Left);
        QVERIFY(bombear([&] {
            return a.juego().unidades[0].x == ax - 1 && b.juego().unidades[0].x == ax - 1;
        }));
        QCOMPARE(a.juego().unidades[0].y, int16_t(10));
        // P in a client's window pauses nothing, and says who can.
        QTest::keyClick(&b, Qt::Key_P);
        QVERIFY(b.mensajes->text().contains(QStringLiteral("Solo el anfitrión")));
        // The host's does, and every copy says whose pause it is.
        a.activateWindow();
        activo(&a);
        QTest::keyClick(&a, Qt::Key_P);
        auto pausa = [](main& v) { return v.encima().mensajes(v.juego()).join('|'); };
        QVERIFY(bombear([&] { return pausa(b).contains("PAUSA (Ana)"); }));
        QVERIFY(pausa(a).contains("PAUSA (Ana)"));
        QTest::keyClick(&a, Qt::Key_P);
        QVERIFY(bombear([&] { return !pausa(b).contains("PAUSA"); }));

        // The client leaves from the window; the computer takes its fighter.
        b.mnuMulti->trigger();
        QVERIFY(mb->salir->isEnabled());
        QTest::mouseClick(mb->salir, Qt::LeftButton);
        QVERIFY(!b.red());
        QVERIFY(bombear([&] { return a.juego().humano[1] == falso; }));
        QVERIFY(bombear([&] { return !a.red()->listajugadores->text().contains("Luis"); }));

        // Back in; then the line breaks: the client is offered to go back,
        // and goes back to the same fighter.
        QTest::mouseClick(mb->conectar, Qt::LeftButton);
        QVERIFY(bombear([&] { return b.red() && b.red()->dentro(); }));
        QStringList ofertas;
        b.confirmar = [&](const QString&, const QString& texto) {
            ofertas << texto;
            return true;
        };
        b.red()->enred([](red::cliente& c) { c.findChild<QTcpSocket*>()->abort(); });
        QVERIFY(bombear([&] { return !ofertas.isEmpty() && b.red() && b.red()->dentro(); }));
        QCOMPARE(ofertas.size(), 1);
        QVERIFY2(ofertas[0].contains("¿Quieres volver a la partida?"), qPrintable(ofertas[0]));
        QCOMPARE(b.juego().jugador, int16_t(1));
        QVERIFY(bombear([&] {
            return a.juego().humano[1] == verdadero &&
                   a.red()->listajugadores->text().contains("Luis");
        }));
        QVERIFY(avisos.isEmpty());

        // At the end each side's results name the people; the host's
        // Revancha starts the match anew with everybody in it, the guest's
        // screen offers none.
        const suceso fin{tiposuceso::fin, {}, 0, 0, -1, -1};
        a.procesar({fin});
        b.procesar({fin});
        auto quien = [](const main& v, int fila) {
            return v.final_->tabla->item(fila, 2)->text();
        };
        QCOMPARE(quien(a, 0), QStringLiteral("Tú"));
        QCOMPARE(quien(a, 1), QStringLiteral("Luis"));
        QCOMPARE(quien(b, 0), QStringLiteral("Ana"));
        QVERIFY(a.final_->revancha->isEnabled());
        QVERIFY(!b.final_->revancha->isEnabled());
        const uint32_t antes = a.juego().numtick;
        QVERIFY(antes > 2);
        QTest::mouseClick(a.final_->revancha, Qt::LeftButton);
        QVERIFY(!a.final_->isVisible());
        QVERIFY(bombear([&] {
            return b.mensajes->text().contains("Revancha") && b.red() && b.red()->dentro() &&
                   b.juego().numtick < antes;
        }));
        QVERIFY(a.juego().numtick < antes);
        QCOMPARE(a.juego().humano[0], verdadero);
        QCOMPARE(a.juego().humano[1], verdadero);
        QCOMPARE(b.juego().jugador, int16_t(1));

        // Then the host leaves, and the client is told plainly.
        // The host is asked before ending the match for everyone, whether by
        // leaving it or by starting another; No keeps it going.
        QStringList preguntas;
        a.confirmar = [&](const QString&, const QString& texto) {
            preguntas << texto;
            return false;
        };
        a.mnuMulti->trigger();
        QTest::mouseClick(ma->salir, Qt::LeftButton);
        QVERIFY(!a.cargarmapa(a.menured()->File1->currentItem()->data(Qt::UserRole).toString(), 1,
                              guerrero));
        QCOMPARE(preguntas.size(), 2);
        QVERIFY2(preguntas[0].contains("1 jugador más"), qPrintable(preguntas[0]));
        QVERIFY(a.red() && b.red());
        a.terminarjugada(QStringLiteral("fin"));
        QVERIFY(bombear([&] { return !b.red(); }));
        QVERIFY2(avisos.join('\n').contains(QStringLiteral("cerró la partida")),
                 qPrintable(avisos.join('\n')));

        // Both sides kept their replays of the network match, and what
        // joined and left is in them. (A record with no tick is not kept;
        // a guest's record that starts from the host's match after a
        // return or a Revancha holds no hand-over of its own.)
        const QDir repeticiones(main::carpetausuario(QStringLiteral("repeticiones")));
        const QStringList guardadas =
            repeticiones.entryList({QStringLiteral("*.repeticion")}, QDir::Files);
        QVERIFY2(guardadas.size() >= 2, qPrintable(guardadas.join(' ')));
        int conrelevos = 0;
        for (const QString& g : guardadas) {
            std::vector<uint8_t> datos;
            repeticion r;
            QCOMPARE(leerbinario(repeticiones.filePath(g).toStdString(), 64u << 20, datos),
                     std::string());
            const std::string e = leerrepeticion(datos.data(), datos.size(), r);
            QVERIFY2(e.empty(), qPrintable(g + ": " + QString::fromStdString(e)));
            conrelevos += std::any_of(r.pasos.begin(), r.pasos.end(), [](const juego::paso& x) {
                return !x.estick && x.a.tipo == tipoaccion::relevo;
            });
        }
        QVERIFY2(conrelevos >= 2, qPrintable(guardadas.join(' ')));
    }

    // What the window offers is what the kind of play on its field says,
    // whichever it is: saving it, the life bar beside the status line,
    // Revancha at the end, and where the next match starts.
    void lo_que_ofrece_cada_jugada_data() {
        QTest::addColumn<QString>("jugada");
        QTest::addColumn<bool>("guardar");
        QTest::addColumn<bool>("vida");
        QTest::addColumn<bool>("revancha");
        QTest::addColumn<QString>("otra");
        const QString otrared = QStringLiteral("Otra partida en red: Archivo → Multijugador");
        QTest::newRow("propia") << "propia" << true << true << true
                                << QStringLiteral("Otra partida: Archivo → Un Jugador");
        QTest::newRow("repetición") << "repetición" << false << false << false << QString();
        QTest::newRow("anfitrión") << "anfitrión" << true << true << true << otrared;
        QTest::newRow("invitado") << "invitado" << true << true << false << otrared;
    }
    void lo_que_ofrece_cada_jugada() {
        QFETCH(QString, jugada);
        QFETCH(bool, guardar);
        QFETCH(bool, vida);
        QFETCH(bool, revancha);
        QFETCH(QString, otra);
        QStringList avisos;
        main anfitrion, v;
        anfitrion.avisar =
            v.avisar = [&](const QString& t, const QString& x) { avisos << t + ": " + x; };
        const QString mapa = unjugador::carpetamapas() + QLatin1Char('/') + nombremapa;
        QTemporaryDir d;
        if (jugada == QStringLiteral("propia") || jugada == QStringLiteral("repetición")) {
            QVERIFY(v.cargarmapa(mapa, 1, guerrero));
            v.pararreloj();
            for (int t = 0; t < 5; ++t)
                v.timer_Timer();
            if (jugada == QStringLiteral("repetición")) {
                QVERIFY(v.guardarrepeticion(d.filePath("r.repeticion")));
                QVERIFY(v.verrepeticion(d.filePath("r.repeticion")));
                QVERIFY(v.visoractual());
            }
        } else if (jugada == QStringLiteral("anfitrión")) {
            hospedar(v, puertolibre());
        } else {
            const quint16 puerto = puertolibre();
            hospedar(anfitrion, puerto);
            unirse(v, puerto);
            QVERIFY2(bombear([&] { return v.red() && v.red()->dentro(); }),
                     qPrintable(avisos.join('\n')));
        }
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(avisos.isEmpty(), qPrintable(avisos.join('\n')));
        emit v.mnuArchivo->aboutToShow();
        QCOMPARE(v.mnuGuardarPartida->isEnabled(), guardar);
        QCOMPARE(v.mnuGuardarRepeticion->isEnabled(), guardar);
        QCOMPARE(!v.vida->isHidden(), vida);
        const suceso fin{tiposuceso::fin, {}, 0, 0, -1, -1};
        v.procesar({fin});
        QVERIFY(v.final_->isVisibleTo(&v));
        QCOMPARE(v.final_->revancha->isEnabled(), revancha);
        QTest::mouseClick(v.final_->cerrar, Qt::LeftButton);
        if (otra.isEmpty())
            QVERIFY2(!v.mensajes->text().contains("Otra partida"), qPrintable(v.mensajes->text()));
        else
            QVERIFY2(v.mensajes->text().endsWith(otra), qPrintable(v.mensajes->text()));
    }

    // Joining a network match ends the match on the field, whether this
    // window hosts it or plays it alone, and its record is kept among the
    // replays once; nothing more is kept when the new connection is given
    // up, though the old match is still on the field then.
    void la_partida_dejada_se_guarda_una_vez_data() {
        QTest::addColumn<bool>("hospedada");
        QTest::newRow("hospedada") << true;
        QTest::newRow("local") << false;
    }
    void la_partida_dejada_se_guarda_una_vez() {
        QFETCH(bool, hospedada);
        QStringList avisos;
        main a;
        a.avisar = [&](const QString& t, const QString& x) { avisos << t + ": " + x; };
        if (hospedada)
            hospedar(a, puertolibre());
        else
            QVERIFY(a.cargarmapa(QStringLiteral(MAPAS_DIR "/rio.mapa"), 1, guerrero));
        if (QTest::currentTestFailed())
            return;
        QVERIFY(bombear([&] { return a.juego().numtick > 3; }));
        const int antes = archivadas();
        QTcpServer mudo;
        QVERIFY(mudo.listen(QHostAddress::LocalHost, 0));
        unirse(a, mudo.serverPort());
        QCOMPARE(archivadas(), antes + 1);
        QTest::mouseClick(a.menured()->salir, Qt::LeftButton);
        QVERIFY(!a.red());
        QCOMPARE(a.status->text(), QStringLiteral("Conexión cancelada."));
        QCOMPARE(archivadas(), antes + 1);
        QVERIFY2(avisos.isEmpty(), qPrintable(avisos.join('\n')));
    }

    // Un Jugador while hosting a guest asks before the match ends for
    // everyone. While the question waits, a map saved meanwhile (the editor,
    // a file manager) makes the set-up window list its folders anew: the
    // map chosen before still starts, and is the one remembered.
    void mapa_guardado_durante_la_pregunta() {
        main a, b;
        a.avisar = b.avisar = [](const QString& t, const QString& x) {
            QFAIL(qPrintable(t + ": " + x));
        };
        const quint16 puerto = puertolibre();
        hospedar(a, puerto);
        unirse(b, puerto);
        QVERIFY(bombear([&] { return a.red() && a.red()->otrosjugadores() > 0; }));
        // Both folders are watched only when they are there.
        QVERIFY(QDir().mkpath(unjugador::carpetausuario()));
        a.mnuSolo->trigger();
        unjugador* u = a.menu();
        u->File1->setCurrentItem(u->File1->findItems(nombremapa, Qt::MatchExactly).value(0));
        QVERIFY(u->empezar->isEnabled());
        const QString otro = unjugador::carpetausuario() + QStringLiteral("/otro.mapa");
        QFile::remove(otro);
        bool relistada = false;
        a.confirmar = [&](const QString&, const QString&) {
            QFile::copy(unjugador::carpetamapas() + QLatin1Char('/') + nombremapa, otro);
            relistada = bombear(
                [&] { return !u->File1->findItems("otro.mapa", Qt::MatchExactly).isEmpty(); });
            return true;
        };
        QTest::mouseClick(u->empezar, Qt::LeftButton);
        QFile::remove(otro);
        QVERIFY(relistada);
        QVERIFY(!a.red());
        QCOMPARE(a.recordado().mapa, nombremapa);
    }

    // A replay opened while hosting a guest: the host's clock stops with the
    // match it drove. However long the window takes to let the session go,
    // the replay plays its own ticks and no more, and the guest is told the
    // host closed the match, not that its steps went wrong. The session's
    // last news (the guest sent away) stays off the replay's field.
    void repeticion_sobre_la_partida_en_red() {
        QTemporaryDir d;
        const QString ruta = d.filePath("r.repeticion");
        repeticion grabada;
        {
            main c;
            QVERIFY(c.cargarmapa(unjugador::carpetamapas() + QLatin1Char('/') + nombremapa, 1,
                                 guerrero));
            c.pararreloj();
            for (int i = 0; i < 20; ++i)
                c.timer_Timer();
            QVERIFY(c.guardarrepeticion(ruta));
            grabada = c.esperar([](partida& p) { return p.grabacion(); });
        }
        main a, b;
        QStringList avisos;
        a.avisar = [](const QString& t, const QString& x) { QFAIL(qPrintable(t + ": " + x)); };
        b.avisar = [&](const QString& t, const QString& x) { avisos << t + ": " + x; };
        const quint16 puerto = puertolibre();
        hospedar(a, puerto);
        unirse(b, puerto);
        QVERIFY(bombear(
            [&] { return a.red() && a.red()->otrosjugadores() > 0 && b.red()->dentro(); }));
        a.confirmar = [](const QString&, const QString&) { return true; };
        QVERIFY(a.verrepeticion(ruta));
        // Several of the host's steps long, with no event handled.
        QThread::msleep(500);
        while (a.visoractual()->avanzar()) {
        }
        QCOMPARE(uint64_t(a.juego().numtick), grabada.ticks());
        QVERIFY(bombear([&] { return !b.red(); }));
        QVERIFY2(avisos.join('\n').contains(QStringLiteral("El anfitrión cerró la partida.")),
                 qPrintable(avisos.join('\n')));
        QVERIFY2(!a.mensajes->text().contains(QStringLiteral("se fue")),
                 qPrintable(a.mensajes->text()));
        QVERIFY(std::all_of(a.encima().nombres.begin(), a.encima().nombres.end(),
                            [](const QString& n) { return n.isEmpty(); }));
        QVERIFY(a.encima().pausadopor.isEmpty());
    }

    // A host that does not answer: the player cancels, and hears nothing of
    // it afterwards.
    void cancelar_la_conexion() {
        QStringList avisos;
        main b;
        b.avisar = [&](const QString& t, const QString& x) { avisos << t + ": " + x; };
        QTcpServer mudo;
        QVERIFY(mudo.listen(QHostAddress::LocalHost, 0));
        b.mnuMulti->trigger();
        multijugador* mb = b.menured();
        mb->direccion->setText(QStringLiteral("127.0.0.1"));
        mb->puertounirse->setValue(mudo.serverPort());
        QTest::mouseClick(mb->conectar, Qt::LeftButton);
        QVERIFY(mb->salir->isEnabled());
        QVERIFY(bombear([&] { return mudo.hasPendingConnections(); }));
        QPointer<sesionred> sesion = b.red();
        QTest::mouseClick(mb->salir, Qt::LeftButton);
        QVERIFY(!b.red());
        QVERIFY(mb->conectar->isEnabled());
        QCOMPARE(b.status->text(), QStringLiteral("Conexión cancelada."));
        QVERIFY(bombear([&] { return sesion.isNull(); }));
        QVERIFY2(avisos.isEmpty(), qPrintable(avisos.join('\n')));

        // Nothing listens any more: the failure is told, and there is no
        // network match left to leave.
        const quint16 cerrado = mudo.serverPort();
        mudo.close();
        mb->puertounirse->setValue(cerrado);
        QTest::mouseClick(mb->conectar, Qt::LeftButton);
        QVERIFY(bombear([&] { return !avisos.isEmpty(); }));
        QVERIFY(!b.red());
        QVERIFY(!mb->salir->isEnabled());
        QVERIFY(mb->conectar->isEnabled());
    }
};

QTEST_MAIN(TestRedVentana)
#include "test_redventana.moc"
