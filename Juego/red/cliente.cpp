#include "Juego/red/cliente.h"

#include "Juego/nucleo/huella.h"
#include "Juego/nucleo/partida.h"
#include "Juego/nucleo/plataforma.h"
#include "Juego/red/anfitrion.h"
#include "Juego/red/causared.h"
#include "Juego/red/relevo.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <QTimer>

namespace juego::red {

namespace {

// Steps a harness client may hold unplayed: hours of a match.
constexpr std::size_t maxcola = 200000;

} // namespace

cliente::cliente(partida& p, QObject* padre)
    : QObject(padre), version(TARNHOLLOW_VERSION), partida_(p) {
    auto arranque = std::make_shared<QElapsedTimer>();
    arranque->start();
    reloj = [arranque] { return int64_t(arranque->elapsed()); };
    s_ = new QTcpSocket(this);
    connect(s_, &QTcpSocket::connected, this, [this] {
        s_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        enviar(hola_);
    });
    connect(s_, &QTcpSocket::readyRead, this, &cliente::leer);
    connect(s_, &QTcpSocket::disconnected, this, [this] {
        // What arrived before the line closed is still played.
        leer();
        if (automatico)
            procesarcola();
        if (fase_ != fase::fuera && cola_.empty())
            perder();
    });
    connect(s_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        if (fase_ == fase::conectando && s_->state() != QAbstractSocket::ConnectedState)
            fallar(QStringLiteral("No se pudo conectar con el servidor: %1.").arg(causared(e)));
    });
    vigia_ = new QTimer(this);
    vigia_->setInterval(250);
    connect(vigia_, &QTimer::timeout, this, [this] {
        latir();
        if (!automatico || ultimo_.elapsed() <= silenciomaximo)
            return;
        if (fase_ == fase::conectando)
            fallar(QStringLiteral("No se pudo conectar con el servidor: no contesta."));
        else if (fase_ == fase::dentro)
            perder();
    });
}

cliente::~cliente() {
    s_->disconnect(this);
}

void cliente::conectar(const QString& host, quint16 puerto, const QString& nombre, int16_t tipo,
                       int16_t equipo) {
    hola_ = {versionprotocolo, version, nombre.toStdString(), tipo, equipo, 0};
    host_ = host;
    puerto_ = puerto;
    ficha_ = 0;
    entrar();
}

void cliente::entrar() {
    fase_ = fase::conectando;
    motivo_.clear();
    perdida_ = false;
    d_ = desenmarcador(true);
    cola_.clear();
    ultimo_.start();
    vigia_->start();
    s_->abort();
    s_->connectToHost(host_, puerto_);
}

bool cliente::puedevolver() const {
    return fase_ == fase::fuera && perdida_ && ficha_ != 0;
}

void cliente::volver() {
    if (!puedevolver())
        return;
    hola_.ficha = ficha_;
    entrar();
}

void cliente::enviar(const mensaje& m) {
    if (s_->state() != QAbstractSocket::ConnectedState)
        return;
    const std::vector<uint8_t> b = codificar(m);
    s_->write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
    // The harness runs no event loop between commands: send now.
    s_->flush();
    enviado_ = reloj();
}

void cliente::latir() {
    // The host lets a silent player's fighter go to the computer; a paused
    // match has no ticks and so no hashes, and the last one sent again
    // (which the host takes as nothing more than a sign of life) says this
    // player is still here.
    if (fase_ == fase::dentro && reloj() - enviado_ >= cadalatido)
        enviar(ultimahuella_);
}

void cliente::perder() {
    // Whoever hears `terminado` may ask `puedevolver` at once.
    perdida_ = fase_ == fase::dentro;
    if (perdida_ && ficha_ != 0)
        emit perdido();
    fallar(QStringLiteral("Se perdió la conexión con el servidor."));
}

void cliente::fallar(const QString& motivo) {
    if (fase_ == fase::fuera)
        return;
    fase_ = fase::fuera;
    motivo_ = motivo;
    vigia_->stop();
    cola_.clear();
    s_->abort();
    emit terminado(motivo);
}

void cliente::teclaflecha(int16_t codigo, bool abajo) {
    if (fase_ == fase::dentro && codigo >= 37 && codigo <= 40)
        enviar(tecla{slot_, codigo, abajo});
}

void cliente::espacio() {
    if (fase_ == fase::dentro)
        enviar(accionred{{tipoaccion::espacio, slot_, 0, 0}});
}

void cliente::clic(int px, int py) {
    const mundo& m = partida_.juego();
    if (fase_ != fase::dentro || m.jugando != verdadero)
        return;
    const posicion c = mundo::celdadepixel(partida_.vista(), px, py);
    // The host takes shots at cells of the map only.
    if (c.x < 0 || c.y < 0 || c.x > m.anchomapa || c.y > m.altomapa)
        return;
    enviar(accionred{{tipoaccion::click, slot_, c.x, c.y}});
}

void cliente::salir() {
    if (fase_ == fase::fuera || fase_ == fase::libre)
        return;
    enviar(adios{});
    s_->disconnectFromHost();
    if (s_->state() != QAbstractSocket::UnconnectedState)
        s_->waitForDisconnected(1000);
    fase_ = fase::fuera;
    motivo_ = QStringLiteral("Saliste de la partida.");
    vigia_->stop();
    cola_.clear();
    emit terminado(motivo_);
}

void cliente::leer() {
    char trozo[65536];
    while (fase_ != fase::fuera && s_->bytesAvailable() > 0) {
        const qint64 n = s_->read(trozo, sizeof trozo);
        if (n <= 0)
            break;
        ultimo_.start();
        if (!d_.meter(reinterpret_cast<const uint8_t*>(trozo), std::size_t(n))) {
            fallar(QStringLiteral("El servidor envió datos no válidos: %1")
                       .arg(QString::fromStdString(d_.error())));
            return;
        }
        std::vector<uint8_t> cuerpo;
        while (fase_ != fase::fuera && d_.sacar(cuerpo)) {
            mensaje m;
            const std::string error = decodificar(cuerpo.data(), cuerpo.size(), m);
            if (!error.empty()) {
                fallar(QStringLiteral("El servidor envió datos no válidos: %1")
                           .arg(QString::fromStdString(error)));
                return;
            }
            recibir(std::move(m));
        }
    }
    if (automatico)
        procesarcola();
}

void cliente::recibir(mensaje&& m) {
    if (fase_ == fase::conectando) {
        if (auto* r = std::get_if<rechazo>(&m)) {
            fallar(QString::fromStdString(r->motivo));
        } else if (auto* b = std::get_if<bienvenida>(&m)) {
            slot_ = b->slot;
            ficha_ = b->ficha;
            if (restaurar(b->instantanea, b->secuencia)) {
                fase_ = fase::dentro;
                emit unido();
            }
        } else {
            fallar(QStringLiteral("El servidor no dio la bienvenida."));
        }
        return;
    }
    if (std::holds_alternative<bienvenida>(m)) {
        fallar(QStringLiteral("El servidor dio la bienvenida dos veces."));
        return;
    }
    if (cola_.size() >= maxcola) {
        fallar(QStringLiteral("Hay demasiados pasos de la partida sin jugar."));
        return;
    }
    cola_.push_back(std::move(m));
}

void cliente::procesarcola() {
    while (fase_ == fase::dentro && !cola_.empty()) {
        mensaje m = std::move(cola_.front());
        cola_.pop_front();
        aplicar(m);
    }
}

bool cliente::restaurar(const std::vector<uint8_t>& instantanea, uint32_t secuencia) {
    const uint32_t antes = partida_.juego().numtick;
    if (partida_.grabando() && partida_.grabacion().ticks() > 0)
        emit grabada(std::make_shared<const repeticion>(partida_.grabacion()));
    sucesos s;
    const std::string error = partida_.restaurar(instantanea, s);
    if (!error.empty()) {
        fallar(QStringLiteral("El servidor envió una partida que no se puede cargar: %1")
                   .arg(QString::fromStdString(error)));
        return false;
    }
    const mundo& w = partida_.juego();
    if (slot_ < 0 || slot_ >= 2 * w.maxp) {
        fallar(QStringLiteral("El servidor dio un luchador que no existe."));
        return false;
    }
    secuencia_ = secuencia;
    // The hashes start again from the copy just put in place.
    // A new match (its ticks start again) is announced with the hash of
    // tick 0, so the host tells late hashes of the old one from the new.
    if (fase_ == fase::dentro && partida_.juego().numtick < antes) {
        ultimahuella_ = {};
        enviar(ultimahuella_);
    }
    emit sucedido(partida_.ver(slot_));
    return true;
}

bool cliente::aplicar(mensaje& m) {
    if (auto* p = std::get_if<paso>(&m))
        return aplicarpaso(*p);
    if (auto* r = std::get_if<resinc>(&m)) {
        if (!restaurar(r->instantanea, r->secuencia))
            return false;
        emit aviso(QString::fromStdString(r->motivo));
        return true;
    }
    if (auto* j = std::get_if<jugadores>(&m)) {
        const mundo& w = partida_.juego();
        for (const jugadorred& x : j->lista) {
            if (x.slot >= 2 * w.maxp) {
                fallar(QStringLiteral("El servidor nombró a un luchador que no existe."));
                return false;
            }
        }
        lista_ = j->lista;
        for (const jugadorred& x : lista_)
            partida_.nombrar(x.slot, x.nombre);
        emit cambiojugadores();
        return true;
    }
    if (auto* r = std::get_if<rechazo>(&m)) {
        fallar(QString::fromStdString(r->motivo));
        return false;
    }
    fallar(QStringLiteral("El servidor envió un mensaje fuera de lugar."));
    return false;
}

bool cliente::aplicarpaso(const paso& p) {
    const mundo& w = partida_.juego();
    if (p.secuencia != secuencia_ + 1) {
        fallar(QStringLiteral("El servidor envió los pasos de la partida desordenados."));
        return false;
    }
    const int enjuego = 2 * w.maxp;
    for (const cambio& c : p.cambios) {
        if (c.slot >= enjuego) {
            fallar(QStringLiteral("El servidor relevó a un luchador que no existe."));
            return false;
        }
    }
    for (const accion& a : p.acciones) {
        if (a.slot >= enjuego ||
            (a.tipo == tipoaccion::click && (a.x > w.anchomapa || a.y > w.altomapa))) {
            fallar(QStringLiteral("El servidor envió una acción imposible."));
            return false;
        }
    }
    for (const mando& k : p.mandos) {
        if (k.slot >= enjuego) {
            fallar(QStringLiteral("El servidor envió las teclas de un luchador que no existe."));
            return false;
        }
    }
    secuencia_ = p.secuencia;
    sucesos s;
    auto juntar = [&s](sucesos&& mas) {
        s.insert(s.end(), std::make_move_iterator(mas.begin()),
                 std::make_move_iterator(mas.end()));
    };
    for (const cambio& c : p.cambios)
        juntar(partida_.relevar(c.slot, c.humano, c.fresco));
    for (const accion& a : p.acciones)
        juntar(partida_.aplicar(a));
    if (p.tick != partida_.corre()) {
        fallar(QStringLiteral("El servidor y esta copia no están de acuerdo en la pausa."));
        return false;
    }
    if (p.tick)
        juntar(partida_.tick(entradatick{p.mandos}));
    if (w.numtick != p.numtick) {
        fallar(QStringLiteral("El servidor envió un tick que no sigue al anterior."));
        return false;
    }
    if (p.tick && w.numtick % anfitrion::cadahuella == 0) {
        ultimahuella_ = huella{w.numtick, huellapartida(w)};
        enviar(ultimahuella_);
    }
    latir();
    emit sucedido(s);
    return true;
}

bool cliente::esperarentrada(int ms) {
    QElapsedTimer t;
    t.start();
    while (fase_ == fase::conectando && t.elapsed() < ms) {
        if (s_->state() != QAbstractSocket::ConnectedState)
            s_->waitForConnected(100);
        else
            s_->waitForReadyRead(100);
        QCoreApplication::processEvents();
    }
    if (fase_ == fase::conectando)
        fallar(QStringLiteral("El servidor no contestó a tiempo."));
    return fase_ == fase::dentro;
}

QString cliente::avanzarhasta(uint32_t t) {
    const mundo& w = partida_.juego();
    QElapsedTimer silencio;
    silencio.start();
    while (true) {
        if (fase_ != fase::dentro)
            return fase_ == fase::fuera ? motivo_
                                        : QStringLiteral("No estás en una partida en red.");
        if (w.numtick > t)
            return QStringLiteral("El tick %1 ya pasó: la partida va por el %2.")
                .arg(t)
                .arg(w.numtick);
        while (w.numtick != t && !cola_.empty() && fase_ == fase::dentro) {
            mensaje m = std::move(cola_.front());
            cola_.pop_front();
            aplicar(m);
        }
        if (fase_ == fase::dentro && w.numtick == t)
            return {};
        if (!cola_.empty())
            continue;
        if (s_->state() != QAbstractSocket::ConnectedState && s_->bytesAvailable() == 0) {
            fallar(QStringLiteral("Se perdió la conexión con el servidor."));
            return motivo_;
        }
        if (silencio.elapsed() > silenciomaximo) {
            fallar(QStringLiteral("Se perdió la conexión con el servidor."));
            return motivo_;
        }
        const qint64 antes = s_->bytesAvailable();
        if (s_->waitForReadyRead(100) || s_->bytesAvailable() > antes)
            silencio.start();
        leer();
        QCoreApplication::processEvents();
    }
}

} // namespace juego::red
