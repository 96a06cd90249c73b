#include "Juego/qt/simulacion.h"

#include "Juego/nucleo/reloj.h"
#include "Juego/nucleo/repeticion.h"
#include "Juego/red/mensajes.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

namespace juego {

simulacion::simulacion() {
    // What crosses to the window in queued signals.
    qRegisterMetaType<std::shared_ptr<const cuadro>>();
    qRegisterMetaType<sucesos>();
    qRegisterMetaType<std::shared_ptr<const repeticion>>();
    qRegisterMetaType<std::vector<red::jugadorred>>();
    // Qt names the system thread after the object: `ps -L` shows it.
    hilo_.setObjectName(QStringLiteral("partida"));
    partida_ = std::make_unique<partida>(*this);
}

simulacion::~simulacion() {
    parar();
}

void simulacion::arrancar() {
    moveToThread(&hilo_);
    hilo_.start();
    QMetaObject::invokeMethod(
        this, [this] { iniciar(); }, Qt::BlockingQueuedConnection);
}

void simulacion::iniciar() {
    timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("timer"));
    timer->setInterval(125);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, &simulacion::timer_Timer);
    timer->start();
    publicar({});
}

void simulacion::parar() {
    if (!hilo_.isRunning())
        return;
    // The match, its clock and the network objects go on their own thread;
    // then this object comes back to the thread that deletes it.
    QThread* aqui = QThread::currentThread() == &hilo_ ? nullptr : QThread::currentThread();
    QMetaObject::invokeMethod(
        this,
        [this, aqui] {
            qDeleteAll(children());
            timer = nullptr;
            partida_.reset();
            if (aqui)
                moveToThread(aqui);
        },
        Qt::BlockingQueuedConnection);
    hilo_.quit();
    hilo_.wait();
}

void simulacion::hacer(std::function<sucesos(partida&)> f) {
    QMetaObject::invokeMethod(
        this, [this, f = std::move(f)] { publicar(f(*partida_)); }, Qt::QueuedConnection);
}

void simulacion::invocar(std::function<void()> f) {
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void simulacion::sincronizar() {
    QMetaObject::invokeMethod(
        this, [] {}, Qt::BlockingQueuedConnection);
}

void simulacion::teclaflecha(int16_t codigo, bool abajo) {
    invocar([this, codigo, abajo] {
        if (abajo)
            teclas_.apretar(codigo);
        else
            teclas_.soltar(codigo);
    });
}

void simulacion::soltartodas() {
    invocar([this] { teclas_.soltartodas(); });
}

void simulacion::ponermodo(modo m) {
    invocar([this, m] { ponermodoaqui(m); });
}

void simulacion::ponermodoaqui(modo m) {
    modo_ = m;
    sostenido_ = false;
    // A replay's clock is its viewer's and a network match's its host's:
    // this one only ticks a match played here.
    if (m == modo::local)
        timer->start();
    else
        timer->stop();
}

void simulacion::sostener(bool parado) {
    invocar([this, parado] {
        if (parado == sostenido_)
            return;
        sostenido_ = parado;
        if (parado) {
            corria_ = timer->isActive();
            timer->stop();
        } else if (corria_ && modo_ == modo::local) {
            timer->start();
        }
        publicar({});
    });
}

void simulacion::mirar(std::optional<mirada> m) {
    invocar([this, m] {
        mirada_ = m;
        publicar({});
    });
}

void simulacion::timer_Timer() {
    if (modo_ != modo::local || !partida_)
        return;
    const double antes = cpums();
    publicar(partida_->tick(teclas_));
    const double ms = cpums() - antes;
    const std::lock_guard<std::mutex> l(medidas_);
    medidos_.peor = std::max(medidos_.peor, ms);
    medidos_.total += ms;
    ++medidos_.ticks;
}

simulacion::tiempos simulacion::medidos() const {
    const std::lock_guard<std::mutex> l(medidas_);
    return medidos_;
}

void simulacion::publicar(const sucesos& s) {
    if (!partida_)
        return;
    const partida& p = *partida_;
    const mundo& m = p.juego();
    // The grid's terrain version moves with every map laid down and every
    // repaint: the copy holds while it stays.
    if (!terreno_ || versionterreno_ != m.celdas().versionterreno()) {
        terreno_ = terrenomapa::de(m);
        versionterreno_ = m.celdas().versionterreno();
    }
    posicion v = p.vista();
    if (mirada_) {
        const int16_t i = mirada_->seguido;
        v = i >= 0 && i < 2 * m.maxp ? m.vistaen(i) : m.vistaajustada(mirada_->libre);
    }
    std::shared_ptr<cuadro> c = cuadro::de(m, p.jugador(), v, terreno_);
    c->grabando = p.grabando();
    c->reloj = timer && timer->isActive();
    emit publicado(std::move(c), s);
}

int16_t simulacion::sonido() const {
    return sonido_.load();
}

void simulacion::ponersonido(int16_t valor) {
    sonido_.store(valor == 1 ? 1 : 0);
    emit sonidocambiado(valor == 1);
}

void simulacion::ponertemporizador(bool activo) {
    // A replay's viewer and the network keep their own clocks; a dialog
    // open meanwhile holds the clock until it closes.
    if (modo_ != modo::local)
        return;
    if (sostenido_) {
        corria_ = activo;
        return;
    }
    if (activo)
        timer->start();
    else
        timer->stop();
}

} // namespace juego
