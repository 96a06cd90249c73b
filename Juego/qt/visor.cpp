#include "Juego/qt/visor.h"

#include "Comun/teclas.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/qt/capas.h"
#include "Juego/qt/cuadro.h"
#include "Juego/qt/estante.h"
#include "Juego/qt/simulacion.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace juego {

visor::visor(mesa& ventana, repeticion r) : jugada(ventana), r_(std::move(r)) {
    total_ = r_.ticks();
    reloj = new QTimer(this);
    reloj->setTimerType(Qt::PreciseTimer);
    connect(reloj, &QTimer::timeout, this, [this] {
        if (!avanzar())
            reloj->stop();
    });
    ajustarreloj();
}

visor::~visor() = default;

simulacion::modo visor::modosimulacion() const {
    return simulacion::modo::visor;
}

void visor::empezar() {
    // The view starts where the replay's first frame has it.
    const cuadro& c = mesa_.juego();
    seguido_ = c.jugador;
    vistax_ = c.vista.x;
    vistay_ = c.vista.y;
    mirar();
    reloj->start();
    informar();
}

void visor::dejar() {
    // The match's view and clock go back to the game.
    reloj->stop();
    mesa_.simulacionactual().mirar(std::nullopt);
}

void visor::clic(int, int, posicion) {}

bool visor::sejuega() const {
    return false;
}

bool visor::lineadelapartida() const {
    return false;
}

void visor::ajustarreloj() {
    reloj->setInterval(125 / velocidad_);
}

void visor::mirar() {
    mesa_.simulacionactual().mirar(simulacion::mirada{seguido_, {vistax_, vistay_}});
}

bool visor::avanzar() {
    // The steps of one tick go to the match together; the frame after them
    // comes back when the simulation has played them. A replay made of
    // nothing but pauses has millions of steps between two ticks: they go
    // a bounded batch a call, so the window never stops to gather them.
    std::vector<paso> pasos;
    while (!terminado() && pasos.size() < maxpasosllamada) {
        const paso& s = r_.pasos[paso_];
        pasos.push_back(s);
        pasos.back().veces = 1;
        if (++hechos_ >= s.veces) {
            ++paso_;
            hechos_ = 0;
        }
        if (s.estick) {
            ++tick_;
            break;
        }
    }
    // The last steps may be strokes or a pause after the last tick: they
    // were part of the match too.
    while (!terminado() && !r_.pasos[paso_].estick && pasos.size() < maxpasosllamada) {
        pasos.push_back(r_.pasos[paso_]);
        ++paso_;
    }
    mesa_.enviar([pasos = std::move(pasos)](partida& p) {
        sucesos todo;
        for (const paso& s : pasos) {
            sucesos e = p.aplicarpaso(s);
            todo.insert(todo.end(), e.begin(), e.end());
        }
        return todo;
    });
    informar();
    return !terminado();
}

bool visor::tecla(int qtkey, int16_t vk, bool repetida) {
    // The sound is the player's own switch, while watching too.
    if (vk == comun::vks && !repetida) {
        cambiarsonido();
        return true;
    }
    const cuadro& m = mesa_.juego();
    switch (qtkey) {
    case Qt::Key_P:
        pausado_ = !pausado_;
        if (pausado_)
            reloj->stop();
        else if (!terminado())
            reloj->start();
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        velocidad_ = std::min(16, velocidad_ * 2);
        ajustarreloj();
        break;
    case Qt::Key_Minus:
        velocidad_ = std::max(1, velocidad_ / 2);
        ajustarreloj();
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const int n = std::max(1, 2 * int(m.maxp));
        const int paso = qtkey == Qt::Key_Tab ? 1 : n - 1;
        // From the free view, Tab goes to the first fighter and Shift+Tab
        // to the last.
        seguido_ = int16_t(seguido_ < 0 ? (paso == 1 ? 0 : n - 1) : (seguido_ + paso) % n);
        break;
    }
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // The free view starts where the followed fighter's view was.
        if (seguido_ >= 0 && seguido_ < 2 * m.maxp) {
            vistax_ = int16_t(m.unidades[seguido_].x - 20);
            vistay_ = int16_t(m.unidades[seguido_].y - 15);
        }
        seguido_ = -1;
        const int dx = qtkey == Qt::Key_Left ? -2 : qtkey == Qt::Key_Right ? 2 : 0;
        const int dy = qtkey == Qt::Key_Up ? -2 : qtkey == Qt::Key_Down ? 2 : 0;
        // Clamped as the game clamps its view, so the free view never drifts
        // off the map.
        auto limitar = [](int v, int mayor) { return std::min(std::max(v, 0), mayor); };
        vistax_ = int16_t(limitar(vistax_ + dx, std::max(0, m.anchomapa - (columnasvista - 1))));
        vistay_ = int16_t(limitar(vistay_ + dy, std::max(0, m.altomapa - (filasvista - 1))));
        break;
    }
    case Qt::Key_Escape:
        emit salir();
        return true;
    default:
        return false;
    }
    mirar();
    informar();
    return true;
}

void visor::informar() {
    const cuadro& m = mesa_.juego();
    QString quien = QStringLiteral("vista libre");
    if (seguido_ >= 0 && seguido_ < 2 * m.maxp) {
        quien = QStringLiteral("%1 (%2)").arg(capas::nombre(m.unidades[seguido_])).arg(seguido_);
    }
    QString estado = terminado() ? QStringLiteral("terminada")
                     : pausado_  ? QStringLiteral("en pausa")
                                 : QStringLiteral("%1x").arg(velocidad_);
    mesa_.ponerestado(
        QStringLiteral("Repetición %1 · %2 / %3 · %4 · P, +/-, Tab, "
                       "flechas, Esc")
            .arg(estado, estante::textoduracion(tick_), estante::textoduracion(total_), quien));
}

} // namespace juego
