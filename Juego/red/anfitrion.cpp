#include "Juego/red/anfitrion.h"

#include "Juego/nucleo/huella.h"
#include "Juego/nucleo/partida.h"
#include "Juego/red/relevo.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace juego::red {

namespace {

// A client that falls this far behind in reading is not playing any more.
constexpr qint64 maxpendiente = 96ll << 20;
constexpr std::size_t maxconexiones = 64;
// Hashes are kept this long (in hash ticks) for late reports.
constexpr std::size_t huellasguardadas = 1024;

} // namespace

struct anfitrion::par {
    QTcpSocket* s = nullptr;
    desenmarcador d{false};
    bool dentro = false;
    bool cerrado = false;
    int16_t slot = -1;
    QString nombre;
    comun::estadoteclas teclas;
    int mensajes = 0;
    int pasos = 0;
    uint32_t ultimahuella = 0;
    // The tick of the match last sent to this peer to replace its copy.
    uint32_t resincado = 0;
};

anfitrion::anfitrion(partida& p, QObject* padre) : QObject(padre), partida_(p) {
    servidor_ = new QTcpServer(this);
    connect(servidor_, &QTcpServer::newConnection, this, &anfitrion::nuevaconexion);
}

anfitrion::~anfitrion() {
    for (auto& p : pares_)
        if (p->s)
            p->s->disconnect(this);
}

QString anfitrion::escuchar(const QHostAddress& direccion, quint16 puerto) {
    if (servidor_->listen(direccion, puerto))
        return {};
    QString porque = servidor_->errorString();
    switch (servidor_->serverError()) {
    case QAbstractSocket::AddressInUseError:
        porque = QStringLiteral("otro programa ya lo usa");
        break;
    case QAbstractSocket::SocketAccessError:
        porque = QStringLiteral("no hay permiso para usarlo");
        break;
    case QAbstractSocket::SocketAddressNotAvailableError:
        porque = QStringLiteral("la dirección %1 no es de esta máquina").arg(direccion.toString());
        break;
    default:
        break;
    }
    return QStringLiteral("No se puede escuchar en el puerto %1: %2.").arg(puerto).arg(porque);
}

quint16 anfitrion::puerto() const {
    return servidor_->serverPort();
}

void anfitrion::arrancar(int ms) {
    if (!reloj_) {
        reloj_ = new QTimer(this);
        reloj_->setTimerType(Qt::PreciseTimer);
        connect(reloj_, &QTimer::timeout, this, [this] { emit sucedido(paso()); });
    }
    reloj_->start(ms);
}

void anfitrion::log(const QString& linea) {
    if (registrar)
        registrar(linea);
}

QString anfitrion::quien(const par& p) const {
    if (p.dentro)
        return QStringLiteral("%1 (luchador %2)").arg(p.nombre).arg(p.slot);
    return QStringLiteral("La conexión desde %1").arg(p.s->peerAddress().toString());
}

int16_t anfitrion::entrarlocal(const QString& nombre, int16_t tipo, int16_t equipo) {
    const int16_t slot = elegirluchador(partida_.juego(), ocupados_, tipo, equipo);
    if (slot < 0)
        return -1;
    ocupados_[std::size_t(slot)] = true;
    local_ = slot;
    nombrelocal_ = nombre;
    // The host's own copy is the reference: it takes the fighter at once.
    partida_.ver(slot);
    partida_.relevar(slot, true);
    cambios_.push_back({slot, true});
    anunciarjugadores();
    return slot;
}

void anfitrion::teclalocal(int16_t codigo, bool abajo) {
    if (abajo)
        teclaslocal_.apretar(codigo);
    else
        teclaslocal_.soltar(codigo);
}

void anfitrion::accionlocal(const accion& a) {
    if (local_ < 0 && a.tipo != tipoaccion::pausa)
        return;
    accion b = a;
    b.slot = local_ < 0 ? 0 : local_;
    if (acciones_.size() < maxacciones)
        acciones_.push_back(b);
}

void anfitrion::nuevaconexion() {
    while (QTcpSocket* s = servidor_->nextPendingConnection()) {
        // Seventeen fighters need no more lines than this; the rest of a
        // flood of connections is shut at once.
        if (pares_.size() >= maxconexiones) {
            log(QStringLiteral("Conexión rechazada desde %1: hay demasiadas abiertas.")
                    .arg(s->peerAddress().toString()));
            s->abort();
            s->deleteLater();
            continue;
        }
        auto p = std::make_unique<par>();
        p->s = s;
        s->setParent(this);
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        par* q = p.get();
        connect(s, &QTcpSocket::readyRead, this, [this, q] {
            leer(*q);
            limpiar();
        });
        connect(s, &QTcpSocket::disconnected, this, [this, q] {
            if (!q->cerrado)
                echar(*q, QStringLiteral("se fue"), false);
            limpiar();
        });
        pares_.push_back(std::move(p));
    }
}

void anfitrion::leer(par& p) {
    if (p.cerrado)
        return;
    char trozo[65536];
    while (!p.cerrado && p.s->bytesAvailable() > 0) {
        const qint64 n = p.s->read(trozo, sizeof trozo);
        if (n <= 0)
            break;
        if (!p.d.meter(reinterpret_cast<const uint8_t*>(trozo), std::size_t(n))) {
            echar(p, QString::fromStdString(p.d.error()), true);
            return;
        }
        std::vector<uint8_t> cuerpo;
        while (!p.cerrado && p.d.sacar(cuerpo)) {
            mensaje m;
            const std::string error = decodificar(cuerpo.data(), cuerpo.size(), m);
            if (!error.empty()) {
                echar(p, QString::fromStdString(error), true);
                return;
            }
            if (++p.mensajes > maxmensajesporpaso) {
                echar(p, QStringLiteral("envía demasiados mensajes"), true);
                return;
            }
            manejar(p, std::move(m));
        }
    }
}

void anfitrion::manejar(par& p, mensaje&& m) {
    const mundo& w = partida_.juego();
    if (auto* h = std::get_if<hola>(&m)) {
        if (p.dentro)
            echar(p, QStringLiteral("saludó dos veces"), true);
        else
            saludar(p, *h);
        return;
    }
    if (!p.dentro) {
        echar(p, QStringLiteral("envió algo antes de saludar"), true);
        return;
    }
    if (auto* k = std::get_if<tecla>(&m)) {
        if (k->slot != p.slot) {
            echar(p, QStringLiteral("quiso mover el luchador %1, que no es suyo").arg(k->slot),
                  true);
            return;
        }
        if (k->abajo)
            p.teclas.apretar(k->codigo);
        else
            p.teclas.soltar(k->codigo);
    } else if (auto* a = std::get_if<accionred>(&m)) {
        if (a->a.slot != p.slot) {
            echar(p,
                  QStringLiteral("quiso atacar con el luchador %1, que no es suyo").arg(a->a.slot),
                  true);
            return;
        }
        if (a->a.tipo == tipoaccion::pausa) {
            echar(p, QStringLiteral("quiso pausar la partida, y solo el anfitrión puede"), true);
            return;
        }
        if (a->a.tipo == tipoaccion::click && (a->a.x > w.anchomapa || a->a.y > w.altomapa)) {
            echar(p,
                  QStringLiteral("apuntó a la celda (%1, %2), fuera del mapa")
                      .arg(a->a.x)
                      .arg(a->a.y),
                  true);
            return;
        }
        if (acciones_.size() >= maxacciones) {
            echar(p, QStringLiteral("envía demasiadas acciones"), true);
            return;
        }
        acciones_.push_back(a->a);
    } else if (auto* h = std::get_if<huella>(&m)) {
        if (h->tick > w.numtick || h->tick % cadahuella != 0 || h->tick <= p.ultimahuella) {
            echar(p, QStringLiteral("envió la huella del tick %1 fuera de orden").arg(h->tick),
                  true);
            return;
        }
        p.ultimahuella = h->tick;
        // A hash from before the last resend was taken on the copy that the
        // resend replaces: it cannot ask for the match again, or a backlog of
        // hashes would have the host build and send a snapshot for each.
        if (h->tick <= p.resincado)
            return;
        auto it = huellas_.find(h->tick);
        if (it == huellas_.end() || it->second == h->valor)
            return;
        log(QStringLiteral("La copia de %1 se desincronizó en el tick %2: se le envía la "
                           "partida de nuevo.")
                .arg(quien(p))
                .arg(h->tick));
        resinc r;
        r.motivo = "La partida se desincronizó.";
        r.secuencia = secuencia_;
        r.instantanea = partida_.instantanea();
        p.resincado = w.numtick;
        enviar(p, r);
    } else if (std::holds_alternative<adios>(m)) {
        echar(p, QStringLiteral("se fue"), false);
    }
}

void anfitrion::saludar(par& p, const hola& h) {
    const std::string nuestra = TARNHOLLOW_VERSION;
    if (h.protocolo != versionprotocolo || h.version != nuestra) {
        const QString motivo =
            QStringLiteral("Versiones distintas: el servidor tiene Tarnhollow %1 (protocolo %2) "
                           "y tu juego es Tarnhollow %3 (protocolo %4).")
                .arg(QString::fromStdString(nuestra))
                .arg(versionprotocolo)
                .arg(QString::fromStdString(h.version).left(int(maxversion)))
                .arg(h.protocolo);
        enviar(p, rechazo{motivo.toStdString()});
        echar(p, QStringLiteral("tiene otra versión (%1)").arg(QString::fromStdString(h.version)),
              true);
        return;
    }
    const mundo& m = partida_.juego();
    const int16_t slot = elegirluchador(m, ocupados_, h.tipo, h.equipo);
    if (slot < 0) {
        enviar(p, rechazo{std::string("El equipo ") + nombreequipo(h.equipo) +
                          " no tiene ningún luchador libre. Prueba con el otro equipo."});
        log(QStringLiteral("%1 no encontró sitio en el equipo %2.")
                .arg(quien(p), QString::fromLatin1(nombreequipo(h.equipo))));
        echar(p, QStringLiteral("no encontró sitio"), false);
        return;
    }
    ocupados_[std::size_t(slot)] = true;
    p.slot = slot;
    p.nombre = nombrelibre(QString::fromStdString(h.nombre));
    p.dentro = true;
    // The host's copy takes the hand-over at once, so the newcomer's copy
    // already shows its fighter as its own; the others get it with the next
    // step, where playing it again changes nothing.
    partida_.relevar(slot, true);
    cambios_.push_back({slot, true});
    bienvenida b;
    b.slot = slot;
    b.secuencia = secuencia_;
    b.instantanea = partida_.instantanea();
    enviar(p, b);
    log(QStringLiteral("%1 se unió: equipo %2, luchador %3 (%4).")
            .arg(p.nombre)
            .arg(QString::fromLatin1(nombreequipo(h.equipo)))
            .arg(slot)
            .arg(QString::fromLatin1(nombretipo(m.unidades[std::size_t(slot)].tipo))));
    anunciarjugadores();
}

void anfitrion::echar(par& p, const QString& motivo, bool problema) {
    if (p.cerrado)
        return;
    p.cerrado = true;
    QString porque = motivo;
    if (porque.endsWith(QLatin1Char('.')))
        porque.chop(1);
    if (problema) {
        log(QStringLiteral("%1 queda fuera: %2.").arg(quien(p), porque));
        if (p.s->state() == QAbstractSocket::ConnectedState)
            enviar(p,
                   rechazo{("El servidor te sacó de la partida: " + porque + ".").toStdString()});
    } else if (p.dentro) {
        log(QStringLiteral("%1 salió de la partida.").arg(quien(p)));
    }
    if (p.dentro) {
        ocupados_[std::size_t(p.slot)] = false;
        partida_.relevar(p.slot, false);
        cambios_.push_back({p.slot, false});
        p.dentro = false;
    }
    p.s->disconnect(this);
    // Whatever was still to be said goes out before the line closes.
    connect(p.s, &QTcpSocket::disconnected, p.s, &QObject::deleteLater);
    p.s->disconnectFromHost();
    if (p.s->state() == QAbstractSocket::UnconnectedState)
        p.s->deleteLater();
    p.s = nullptr;
    anunciarjugadores();
}

void anfitrion::limpiar() {
    std::erase_if(pares_, [](const std::unique_ptr<par>& p) { return p->cerrado; });
}

void anfitrion::enviar(par& p, const mensaje& m) {
    if (!p.s)
        return;
    const std::vector<uint8_t> b = codificar(m);
    p.s->write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
}

QString anfitrion::nombrelibre(const QString& pedido) const {
    // Two players of one name could not be told apart in the list or in the
    // messages, so the later one becomes "Ana 2".
    const std::vector<jugadorred> jugando = lista();
    auto usado = [&jugando](const QString& n) {
        const std::string s = n.toStdString();
        return std::any_of(jugando.begin(), jugando.end(),
                           [&s](const jugadorred& j) { return j.nombre == s; });
    };
    if (!usado(pedido))
        return pedido;
    for (int k = 2;; ++k) {
        const QString cola = QStringLiteral(" %1").arg(k);
        QString base = pedido;
        // Still within the bytes a name may take, and never half a letter.
        while (!base.isEmpty() && (base + cola).toUtf8().size() > qsizetype(maxnombre))
            base.chop(base.size() >= 2 && base.back().isLowSurrogate() ? 2 : 1);
        const QString n = base.trimmed() + cola;
        if (!usado(n))
            return n;
    }
}

std::vector<jugadorred> anfitrion::lista() const {
    std::vector<jugadorred> l;
    if (local_ >= 0)
        l.push_back({local_, nombrelocal_.toStdString()});
    for (const auto& p : pares_)
        if (p->dentro && !p->cerrado)
            l.push_back({p->slot, p->nombre.toStdString()});
    std::sort(l.begin(), l.end(),
              [](const jugadorred& a, const jugadorred& b) { return a.slot < b.slot; });
    return l;
}

int anfitrion::clientes() const {
    int n = 0;
    for (const auto& p : pares_)
        n += p->dentro && !p->cerrado;
    return n;
}

void anfitrion::anunciarjugadores() {
    const jugadores j{lista()};
    for (auto& p : pares_)
        if (p->dentro && !p->cerrado)
            enviar(*p, j);
    emit cambiojugadores();
}

sucesos anfitrion::paso() {
    const mundo& m = partida_.juego();
    red::paso x;
    x.secuencia = ++secuencia_;
    x.cambios = std::exchange(cambios_, {});
    x.acciones = std::exchange(acciones_, {});
    sucesos s;
    auto juntar = [&s](sucesos&& mas) {
        s.insert(s.end(), std::make_move_iterator(mas.begin()),
                 std::make_move_iterator(mas.end()));
    };
    for (const accion& a : x.acciones)
        juntar(partida_.aplicar(a));
    if (partida_.corre()) {
        x.tick = true;
        entradatick e;
        for (int16_t h = 0; h < 2 * m.maxp; ++h) {
            comun::estadoteclas* t = nullptr;
            if (h == local_)
                t = &teclaslocal_;
            for (auto& p : pares_)
                if (p->dentro && !p->cerrado && p->slot == h)
                    t = &p->teclas;
            if (!t || !m.eshumano(h))
                continue;
            mando k{h, {}};
            k.teclas.izquierda = t->consultar(comun::vkizquierda);
            k.teclas.derecha = t->consultar(comun::vkderecha);
            k.teclas.abajo = t->consultar(comun::vkabajo);
            k.teclas.arriba = t->consultar(comun::vkarriba);
            // A slot with no key sent holds none: it costs nothing on the line.
            if (k.teclas != teclasflechas{})
                e.mandos.push_back(k);
        }
        juntar(partida_.tick(e));
        x.mandos = std::move(e.mandos);
        if (m.numtick % cadahuella == 0) {
            huellas_[m.numtick] = huellapartida(m);
            if (huellas_.size() > huellasguardadas)
                huellas_.erase(huellas_.begin());
        }
    }
    x.numtick = m.numtick;
    const std::vector<uint8_t> b = codificar(x);
    bytespaso_ = b.size();
    for (auto& p : pares_) {
        if (p->cerrado)
            continue;
        p->mensajes = 0;
        if (!p->dentro) {
            if (++p->pasos > pasossinhola)
                echar(*p, QStringLiteral("no saludó a tiempo"), true);
            continue;
        }
        if (p->s->bytesToWrite() > maxpendiente) {
            echar(*p, QStringLiteral("no recibe lo que se le envía"), true);
            continue;
        }
        p->s->write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
    }
    limpiar();
    return s;
}

void anfitrion::detener(const QString& motivo) {
    if (reloj_)
        reloj_->stop();
    for (auto& p : pares_) {
        if (p->cerrado)
            continue;
        // A line found broken while the goodbye is flushed reports its loss
        // at once, and that handler would drop the peer from under this loop.
        p->s->disconnect(this);
        enviar(*p, rechazo{motivo.toStdString()});
        p->s->flush();
        p->dentro = false; // no hand-over: the match itself ends
        echar(*p, motivo, false);
    }
    limpiar();
    servidor_->close();
}

} // namespace juego::red
