// A tour of every window and dialog of the game, opened, used and closed in
// different orders as a player would, with the event loop's deferred
// deletions run between steps. Its worth is under AddressSanitizer (the
// sanitizer build runs it with the rest): a window used after it is gone
// shows there even when the plain build survives it.
#include "Juego/qt/final.h"
#include "Juego/qt/multijugador.h"
#include "Juego/qt/unjugador.h"
#include "Juego/qt/ventana.h"
#include "Juego/qt/visor.h"

#include "apoyo/aparte.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace juego;

namespace {

const QString pradera = QStringLiteral(MAPAS_DIR "/pradera.mapa");

// What the event loop does between two things the player does.
void preguntarlector();
QString cadenarota();
void respirar() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    preguntarlector();
    const QString c = cadenarota();
    if (!c.isEmpty())
        qFatal("%s", qPrintable(c));
}

// A widget gone but still linked in its window's focus chain is what Qt
// trips over later, on a Tab or when a window is activated: every link must
// lead to a widget that is still there, and back again. The same holds for
// the child each window remembers as last focused, which a dialog's
// default button and a window's activation read without checking.
QString cadenarota() {
    const QWidgetList todos = QApplication::allWidgets();
    const QSet<QWidget*> vivos(todos.begin(), todos.end());
    for (QWidget* w : todos) {
        QWidget* n = w->nextInFocusChain();
        QWidget* p = w->previousInFocusChain();
        if (!vivos.contains(n) || !vivos.contains(p))
            return QStringLiteral("cadena rota en %1 (%2)")
                .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()));
        if (n->previousInFocusChain() != w)
            return QStringLiteral("cadena torcida en %1 (%2)")
                .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()));
        if (QWidget* f = w->focusWidget(); f && !vivos.contains(f))
            return QStringLiteral("foco perdido en %1 (%2)")
                .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()));
    }
    for (QWidget* f : {QApplication::focusWidget(), QApplication::activeWindow()})
        if (f && !vivos.contains(f))
            return QStringLiteral("foco de la aplicación perdido");
    return {};
}

// Where the keyboard is: the focus widget, or the active window.
QWidget* teclado(QWidget* sino) {
    if (QWidget* f = QApplication::focusWidget())
        return f;
    return QApplication::activeWindow() ? QApplication::activeWindow() : sino;
}

quint16 puertolibre() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

// A screen reader, as a desktop's accessibility bridge is: it hears of
// every change and asks the widget about itself, at once and again later.
std::vector<QAccessible::Id> oidos;
void lectorpantalla(QAccessibleEvent* e) {
    QAccessibleInterface* i = e->accessibleInterface();
    if (!i || !i->isValid())
        return;
    (void)i->state();
    (void)i->text(QAccessible::Name);
    oidos.push_back(QAccessible::uniqueId(i));
}
void preguntarlector() {
    for (QAccessible::Id id : std::exchange(oidos, {}))
        if (QAccessibleInterface* i = QAccessible::accessibleInterface(id); i && i->isValid()) {
            (void)i->state();
            (void)i->text(QAccessible::Name);
        }
}

// Closes the next modal box or dialog, whatever it is, as Esc would.
void cerrarmodal() {
    QTimer::singleShot(0, [] {
        if (QWidget* m = QApplication::activeModalWidget())
            QTest::keyClick(m, Qt::Key_Escape);
    });
}

// A click as the window system gives it: through the widget's window, so
// that Qt picks the receiver and moves the focus as on the desktop.
void pulsar(QWidget* w) {
    QWidget* ventana = w->window();
    QTest::mouseClick(ventana->windowHandle(), Qt::LeftButton, {},
                      w->mapTo(ventana, w->rect().center()));
}

// A key as the window system gives it, to whichever window is active.
void tecla(Qt::Key k, Qt::KeyboardModifiers m = {}) {
    QWidget* a = QApplication::activeWindow();
    if (a && a->windowHandle())
        QTest::keyClick(a->windowHandle(), k, m);
}

// Once the next modal box or dialog is up, `hacer` answers it.
void alabrirse(std::function<void(QWidget*)> hacer, int intentos = 200) {
    QTimer::singleShot(10, [hacer = std::move(hacer), intentos]() mutable {
        if (QWidget* m = QApplication::activeModalWidget()) {
            hacer(m);
            return;
        }
        if (intentos > 0)
            alabrirse(std::move(hacer), intentos - 1);
    });
}

// Tab and Shift+Tab, in turns, to the active window.
void tabular(int veces) {
    for (int i = 0; i < veces; ++i)
        tecla(i % 2 ? Qt::Key_Backtab : Qt::Key_Tab, i % 2 ? Qt::ShiftModifier : Qt::NoModifier);
}

QPushButton* boton(QWidget* en, const QString& texto) {
    for (QPushButton* b : en->findChildren<QPushButton*>())
        if (b->text().remove(QLatin1Char('&')) == texto)
            return b;
    return nullptr;
}
} // namespace

class TestRecorrido : public QObject {
    Q_OBJECT

    ajustesaparte aparte;
    QTemporaryDir datos;
    QString repeticion;
    QString partidaguardada;

private slots:
    void initTestCase() {
        main::sincronos = true;
        QVERIFY(aparte.apartar());
        QAccessible::installUpdateHandler(lectorpantalla);
        QAccessible::setActive(true);
        // The set-up windows list it among the user's own maps, which are
        // this test's alone.
        QVERIFY(QFile::copy(pradera, unjugador::carpetausuario() + "/pradera.mapa"));
        // A replay and a saved match to open along the way.
        main v;
        QVERIFY(v.cargarmapa(pradera, 2, arquero));
        v.pararreloj();
        for (int t = 0; t < 10; ++t)
            v.timer_Timer();
        repeticion = datos.filePath("r.repeticion");
        partidaguardada = datos.filePath("p.partida");
        QVERIFY(v.guardarrepeticion(repeticion));
        QVERIFY(v.guardarpartida(partidaguardada));
    }

    // Un Jugador again before the event loop has deleted the set-up window
    // just closed: the player gets a window that stays.
    void menu_de_nuevo_mientras_se_cierra() {
        main v;
        v.mnuSolo->trigger();
        QPointer<unjugador> antes = v.menu();
        QVERIFY(QTest::qWaitForWindowExposed(antes));
        antes->close();
        v.mnuSolo->trigger();
        respirar();
        QVERIFY(!antes);
        QVERIFY(v.menu());
        QVERIFY(v.menu()->isVisible());
    }

    // The window goes right after a network match ended, before the event
    // loop had its turn (a SIGTERM while the message about it is open).
    void se_cierra_al_terminar_la_red() {
        auto* v = new main;
        v->avisar = [](const QString&, const QString&) {};
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        v->mnuMulti_Click();
        multijugador* m = v->menured();
        m->escucharen = QHostAddress::LocalHost;
        m->puerto->setValue(puertolibre());
        QTest::mouseClick(m->empezar, Qt::LeftButton);
        QVERIFY(v->red());
        v->terminarjugada(QStringLiteral("Fin"));
        QVERIFY(!v->red());
        delete v;
        respirar();
    }

    // The player's clicks and keys as the window system hands them over
    // (Qt picks the receiver and moves the focus itself): the list of
    // replays and the question before watching, the end screen, the set-up
    // and network windows, each followed by Tab and Shift+Tab through the
    // game window, whose focus chain must never hold a widget that went.
    void foco_por_la_ventana() {
        QDir().mkpath(main::carpetausuario("repeticiones"));
        QFile::copy(repeticion, main::carpetausuario("repeticiones") + "/r.repeticion");
        auto* v = new main;
        QStringList avisos;
        v->avisar = [&avisos](const QString& t, const QString& x) { avisos << t + ": " + x; };
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        v->activateWindow();
        respirar();
        for (int vuelta = 0; vuelta < 3; ++vuelta) {
            QVERIFY(v->cargarmapa(pradera, 2, guerrero));
            respirar();
            tabular(30);
            // The list of replays, then the question, both answered by clicks.
            alabrirse([](QWidget* b) {
                QTest::keyClick(b->windowHandle(), Qt::Key_Tab);
                pulsar(boton(b, "Ver"));
                alabrirse([](QWidget* q) {
                    QTest::keyClick(q->windowHandle(), Qt::Key_Tab);
                    QPushButton* si = boton(q, "Sí");
                    if (!si)
                        si = boton(q, "Yes");
                    pulsar(si);
                });
            });
            v->mnuVerRepeticion->trigger();
            respirar();
            QVERIFY(v->visoractual());
            tabular(10);
            tecla(Qt::Key_Escape);
            respirar();
            tabular(30);
            // A match to its end; Revancha and Cerrar clicked.
            QVERIFY(v->cargarmapa(pradera, 1, guerrero, {tipoobjetivo::tiempo, 1}));
            v->pararreloj();
            for (int t = 0; t < 20 && !v->final_->isVisible(); ++t)
                v->timer_Timer();
            QVERIFY(v->final_->isVisible());
            pulsar(v->final_->tabla);
            tabular(10);
            pulsar(vuelta == 1 ? v->final_->cerrar : v->final_->revancha);
            respirar();
            QVERIFY(!v->final_->isVisible());
            tabular(30);
            // The set-up window, clicked through.
            v->mnuSolo->trigger();
            QPointer<unjugador> u = v->menu();
            QVERIFY(QTest::qWaitForWindowExposed(u));
            u->activateWindow();
            respirar();
            const auto items = u->File1->findItems("pradera.mapa", Qt::MatchExactly);
            QVERIFY(!items.isEmpty());
            u->File1->scrollToItem(items.first());
            const QRect r = u->File1->visualItemRect(items.first());
            QTest::mouseClick(u->windowHandle(), Qt::LeftButton, {},
                              u->File1->viewport()->mapTo(u, r.center()));
            tabular(10);
            if (vuelta == 2)
                tecla(Qt::Key_Escape);
            else
                pulsar(u->empezar);
            tabular(10);
            respirar();
            QVERIFY(!u);
            tabular(30);
            // A network match hosted and left.
            v->mnuMulti_Click();
            multijugador* m = v->menured();
            QVERIFY(QTest::qWaitForWindowExposed(m));
            m->activateWindow();
            respirar();
            tabular(10);
            m->escucharen = QHostAddress::LocalHost;
            m->puerto->setValue(puertolibre());
            pulsar(m->empezar);
            respirar();
            QVERIFY2(v->red(), qPrintable(avisos.join('\n')));
            tabular(30);
            v->mnuMulti_Click();
            m->activateWindow();
            respirar();
            pulsar(m->salir);
            tabular(10);
            tecla(Qt::Key_Escape);
            respirar();
            tabular(30);
        }
        QVERIFY2(avisos.isEmpty(), qPrintable(avisos.join('\n')));
        delete v;
        respirar();
    }

    void recorrido_data() {
        QTest::addColumn<QString>("pasos");
        // u: Un Jugador, Esc · U: Un Jugador, Empezar · E: Un Jugador, Intro ·
        // k: Un Jugador closed by its window · F: a match to its end, Cerrar ·
        // R: a match to its end, Revancha · v: a replay, Esc · V: a replay left
        // playing · c: Cargar partida · m: Multijugador, Esc · M: host a network
        // match · S: leave it · d: a file dialog, cancelled · h: the help box.
        QTest::newRow("de-uno-en-uno") << "uUEkFRvcmdh";
        QTest::newRow("revancha-y-cerrar") << "RRFURFk";
        QTest::newRow("repeticion-en-medio") << "VcVUVvVEV";
        QTest::newRow("red-y-vuelta") << "mMSmMUMvMRS";
        QTest::newRow("dialogos-con-todo-abierto") << "VdhukmdMdVd";
        QTest::newRow("se-cierra-con-red") << "UMV";
        QTest::newRow("se-cierra-tras-dejar-la-red") << "MS";
        QTest::newRow("se-cierra-con-el-menu") << "Vu";
    }
    void recorrido() {
        QFETCH(QString, pasos);
        auto* v = new main;
        v->confirmar = [](const QString&, const QString&) { return true; };
        QStringList avisos;
        v->avisar = [&avisos](const QString& t, const QString& x) { avisos << t + ": " + x; };
        QString respuesta;
        v->pedirarchivo = [&respuesta](bool, const QString&, const QString&, const QString&) {
            return respuesta;
        };
        v->elegirarchivo = [&respuesta](const QString&, const QString&, const QString&,
                                        const QString&) { return respuesta; };
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        for (const QChar paso : pasos) {
            switch (paso.toLatin1()) {
            case 'u':
            case 'U':
            case 'E':
            case 'k': {
                v->mnuSolo->trigger();
                QPointer<unjugador> u = v->menu();
                QVERIFY(u);
                QVERIFY(QTest::qWaitForWindowExposed(u));
                const auto items = u->File1->findItems("pradera.mapa", Qt::MatchExactly);
                QVERIFY(!items.isEmpty());
                u->File1->setCurrentItem(items.first());
                u->File1->setFocus();
                if (paso == 'u')
                    QTest::keyClick(u->File1, Qt::Key_Escape);
                else if (paso == 'E')
                    QTest::keyClick(u->File1, Qt::Key_Return);
                else if (paso == 'U')
                    QTest::mouseClick(u->empezar, Qt::LeftButton);
                else
                    u->close();
                respirar();
                QVERIFY(!u);
                break;
            }
            case 'F':
            case 'R': {
                QVERIFY(v->cargarmapa(pradera, 1, guerrero, {tipoobjetivo::tiempo, 1}));
                v->pararreloj();
                for (int t = 0; t < 20 && !v->final_->isVisible(); ++t)
                    v->timer_Timer();
                QVERIFY(v->final_->isVisible());
                QTest::mouseClick(paso == 'F' ? v->final_->cerrar : v->final_->revancha,
                                  Qt::LeftButton);
                respirar();
                QVERIFY(!v->final_->isVisible());
                break;
            }
            case 'v':
            case 'V':
                respuesta = repeticion;
                v->mnuVerRepeticion->trigger();
                QVERIFY(v->visoractual());
                respirar();
                if (paso == 'v') {
                    QTest::keyClick(teclado(v), Qt::Key_Escape);
                    respirar();
                    QVERIFY(!v->visoractual());
                }
                break;
            case 'c':
                respuesta = partidaguardada;
                v->mnuCargarPartida->trigger();
                respirar();
                QVERIFY(!v->visoractual());
                break;
            case 'm':
            case 'M': {
                v->mnuMulti_Click();
                multijugador* m = v->menured();
                QVERIFY(QTest::qWaitForWindowExposed(m));
                if (paso == 'm') {
                    QTest::keyClick(teclado(m), Qt::Key_Escape);
                } else {
                    m->escucharen = QHostAddress::LocalHost;
                    m->puerto->setValue(puertolibre());
                    QTest::mouseClick(m->empezar, Qt::LeftButton);
                    QVERIFY2(v->red(), qPrintable(avisos.join('\n')));
                }
                respirar();
                QVERIFY(!m->isVisible());
                break;
            }
            case 'S':
                v->mnuMulti_Click();
                QTest::mouseClick(v->menured()->salir, Qt::LeftButton);
                v->menured()->close();
                respirar();
                QVERIFY(!v->red());
                break;
            case 'd': {
                // The game's own dialog, not the test's answer.
                main w;
                cerrarmodal();
                QCOMPARE(w.pedirarchivo(false, "Cargar partida", datos.path(), "(*.partida)"),
                         QString());
                cerrarmodal();
                QCOMPARE(w.pedirarchivo(true, "Guardar partida", datos.path(), "(*.partida)"),
                         QString());
                // And the list of replays the menu opens.
                cerrarmodal();
                QCOMPARE(w.elegirarchivo("Ver repetición", datos.path(), "(*.repeticion)",
                                         ".repeticion"),
                         QString());
                respirar();
                break;
            }
            case 'h':
                cerrarmodal();
                v->mnuControles->trigger();
                respirar();
                break;
            default:
                QFAIL("paso desconocido");
            }
        }
        QVERIFY2(avisos.isEmpty(), qPrintable(avisos.join('\n')));
        // The window goes with whatever is still open, as when the player
        // closes it; the event loop then runs what was left for later.
        delete v;
        respirar();
    }
};

QTEST_MAIN(TestRecorrido)
#include "test_recorrido.moc"
