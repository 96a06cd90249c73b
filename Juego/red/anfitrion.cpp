#include "Juego/red/anfitrion.h"

#include "Juego/nucleo/huella.h"
#include "Juego/nucleo/partida.h"
#include "Juego/red/causared.h"
#include "Juego/red/nombres.h"
#include "Juego/red/relevo.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace juego::red {

namespace {

// A client that falls this far behind in reading (beyond the match it was
// sent last) is not playing any more.
constexpr qint64 maxpendiente = 1ll << 20;
// Connections that have not said hello, from every address together; the
// players themselves are bounded by the fighters.
constexpr std::size_t maxsinsaludo = 64;
// A repair waits while this much is still unread: a peer that does not read
// gets one, the newest, and the host keeps no pile of copies for it.
constexpr qint64 umbralreparar = 64 << 10;
// The kernel's share of what waits for each peer.
constexpr int bufferenvio = 64 << 10;
constexpr int64_t minuto = 60000;
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
    uint32_t id = 0;
    QString direccion;
    cubo mensajes{mensajesporsegundo, rafagamensajes};
    int64_t ultimavez = 0;
    bool ausente = false;
    bool reparar = false;
    bool nueva = false;
    qint64 margen = 0;
    int pasos = 0;
    uint32_t ultimahuella = 0;
    // The tick of the match last sent to this peer to replace its copy.
    uint32_t resincado = 0;
    // Given with the welcome; brings the player back to this fighter.
    uint64_t ficha = 0;
};

anfitrion::anfitrion(partida& p, QObject* padre) : QObject(padre), partida_(p) {
    auto arranque = std::make_shared<QElapsedTimer>();
    arranque->start();
    reloj = [arranque] { return int64_t(arranque->elapsed()); };
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
    QString porque = causared(servidor_->serverError());
    switch (servidor_->serverError()) {
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
        return QStringLiteral("%1 (luchador %2)").arg(escaparnombre(p.nombre)).arg(p.slot);
    return QStringLiteral("La conexión desde %1").arg(p.direccion);
}

int16_t anfitrion::entrarlocal(const QString& nombre, int16_t tipo, int16_t equipo) {
    const int16_t slot = elegirluchador(partida_.juego(), ocupados_, tipo, equipo);
    if (slot < 0)
        return -1;
    ocupados_[std::size_t(slot)] = true;
    local_ = slot;
    nombrelocal_ = limpiarnombre(nombre, int(maxnombre));
    partida_.ver(slot);
    relevar(slot, true);
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
    if (enespera_[0] < esperaacciones) {
        ++enespera_[0];
        acciones_.emplace_back(0, b);
    }
}

void anfitrion::nuevaconexion() {
    while (QTcpSocket* s = servidor_->nextPendingConnection()) {
        const QString direccion = s->peerAddress().toString();
        // Idle lines of one address push out its own oldest idle line, not
        // anyone else's: whoever says hello at once still gets in.
        std::vector<par*> suyas;
        std::size_t sinsaludo = 0;
        for (auto& q : pares_) {
            if (q->cerrado || q->dentro)
                continue;
            ++sinsaludo;
            if (q->direccion == direccion)
                suyas.push_back(q.get());
        }
        if (suyas.size() >= std::size_t(sinsaludopordireccion)) {
            par& viejo = *suyas.front();
            viejo.dentro = false;
            rechazar(direccion, QStringLiteral("sobraban conexiones sin saludo de una dirección"));
            viejo.cerrado = true;
            viejo.s->disconnect(this);
            viejo.s->abort();
            viejo.s->deleteLater();
            viejo.s = nullptr;
            --sinsaludo;
        }
        if (sinsaludo >= maxsinsaludo) {
            rechazar(direccion, QStringLiteral("había demasiadas conexiones sin saludo"));
            s->abort();
            s->deleteLater();
            continue;
        }
        auto p = std::make_unique<par>();
        p->s = s;
        p->id = siguienteid_++;
        p->direccion = direccion;
        p->ultimavez = reloj();
        s->setParent(this);
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        s->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, bufferenvio);
        par* q = p.get();
        connect(s, &QTcpSocket::readyRead, this, [this, q] {
            leer(*q);
            limpiar();
        });
        connect(s, &QTcpSocket::disconnected, this, [this, q] {
            // A goodbye that came just before the line closed still counts.
            leer(*q);
            if (!q->cerrado)
                echar(*q, QStringLiteral("perdió la conexión"), false, true);
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
            if (!p.mensajes.tomar(reloj())) {
                echar(p,
                      QStringLiteral("envía demasiados mensajes (más de %1 por segundo)")
                          .arg(mensajesporsegundo),
                      true);
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
    p.ultimavez = reloj();
    if (p.ausente) {
        p.ausente = false;
        relevar(p.slot, true);
        log(QStringLiteral("%1 volvió: lleva otra vez su luchador.").arg(quien(p)));
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
        // Past its share and what may wait for the next steps, a backlog
        // is trimmed: the player meant it, but it is old.
        if (enespera_[p.id] >= esperaacciones)
            return;
        ++enespera_[p.id];
        acciones_.emplace_back(p.id, a->a);
    } else if (auto* h = std::get_if<huella>(&m)) {
        // Hashes of the match before a new one mean nothing; the client
        // marks where its new match starts with the hash of tick 0.
        if (p.nueva) {
            if (h->tick == 0) {
                p.nueva = false;
                p.ultimahuella = 0;
            }
            return;
        }
        // The last hash again is the client's heartbeat while no tick runs.
        if (h->tick == p.ultimahuella)
            return;
        if (h->tick > w.numtick || h->tick % cadahuella != 0 || h->tick < p.ultimahuella) {
            echar(p, QStringLiteral("envió la huella del tick %1 fuera de orden").arg(h->tick),
                  true);
            return;
        }
        p.ultimahuella = h->tick;
        // A hash from before the last resend was taken on the copy that the
        // resend replaces: it cannot ask for the match again, or a backlog of
        // hashes would have the host build and send a snapshot for each.
        if (h->tick <= p.resincado || p.reparar)
            return;
        auto it = huellas_.find(h->tick);
        if (it == huellas_.end() || it->second == h->valor)
            return;
        log(QStringLiteral("La copia de %1 se desincronizó en el tick %2: se le envía la "
                           "partida de nuevo.")
                .arg(quien(p))
                .arg(h->tick));
        // Sent after the next step, once what it was sent before is read.
        p.reparar = true;
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
        echar(p,
              QStringLiteral("tiene otra versión (%1)")
                  .arg(escaparnombre(QString::fromStdString(h.version))),
              true);
        return;
    }
    // A peer joining and leaving over and over would fill every step with
    // hand-overs; a friend on the same network, or a reconnect, still fits
    // in the allowance.
    auto e = entradas_.try_emplace(p.direccion, 1.0 / segundosporentrada, entradasseguidas).first;
    if (!e->second.tomar(reloj())) {
        enviar(p, rechazo{"Demasiadas entradas seguidas desde tu dirección. Espera unos "
                          "segundos y vuelve a intentarlo."});
        rechazar(p.direccion, QStringLiteral("entraban demasiadas veces seguidas"));
        echar(p, {}, false);
        return;
    }
    const mundo& m = partida_.juego();
    // A player whose line broke takes their own fighter back, under the
    // same name.
    int16_t slot = -1;
    QString vuelve;
    // By the token of their welcome, or (their game was restarted and the
    // token is gone) by their name from the same address.
    const QString pedido = limpiarnombre(QString::fromStdString(h.nombre), int(maxnombre));
    auto r = std::find_if(reservas_.begin(), reservas_.end(),
                          [&h](const reserva& x) { return h.ficha != 0 && x.ficha == h.ficha; });
    if (r == reservas_.end())
        r = std::find_if(reservas_.begin(), reservas_.end(), [&](const reserva& x) {
            return x.nombre == pedido && x.direccion == p.direccion;
        });
    if (r != reservas_.end()) {
        slot = r->slot;
        vuelve = r->nombre;
        reservas_.erase(r);
    }
    if (slot < 0)
        slot = elegirluchador(m, ocupados_, h.tipo, h.equipo);
    if (slot < 0) {
        const bool llenos = elegirluchador(m, ocupados_, h.tipo, int16_t(1 - h.equipo)) < 0;
        enviar(p, rechazo{llenos ? std::string("Los dos equipos están llenos: no queda ningún "
                                               "luchador libre en la partida.")
                                 : std::string("El equipo ") + nombreequipo(h.equipo) +
                                       " no tiene ningún luchador libre. Prueba con el otro "
                                       "equipo."});
        log(QStringLiteral("%1 no encontró sitio en el equipo %2.")
                .arg(quien(p), QString::fromLatin1(nombreequipo(h.equipo))));
        echar(p, QStringLiteral("no encontró sitio"), false);
        return;
    }
    ocupados_[std::size_t(slot)] = true;
    p.slot = slot;
    p.nombre = !vuelve.isEmpty() ? vuelve : nombrelibre(pedido);
    p.ficha = QRandomGenerator::system()->generate64() | 1u;
    p.dentro = true;
    p.ultimavez = reloj();
    // Every copy, the host's too, hands the fighter over in a step; a
    // newcomer starts it anew, one coming back finds it as they left it.
    relevar(slot, true, vuelve.isEmpty());
    bienvenida b;
    b.slot = slot;
    b.secuencia = secuencia_;
    b.instantanea = partida_.instantanea();
    b.ficha = p.ficha;
    p.margen = qint64(b.instantanea.size());
    enviar(p, b);
    if (!vuelve.isEmpty()) {
        log(QStringLiteral("%1 volvió: luchador %2.").arg(escaparnombre(p.nombre)).arg(slot));
    } else {
        log(QStringLiteral("%1 se unió: equipo %2, luchador %3 (%4).")
                .arg(escaparnombre(p.nombre))
                .arg(QString::fromLatin1(nombreequipo(h.equipo)))
                .arg(slot)
                .arg(QString::fromLatin1(nombretipo(m.unidades[std::size_t(slot)].tipo))));
    }
    anunciarjugadores();
}

void anfitrion::echar(par& p, const QString& motivo, bool problema, bool perdido) {
    if (p.cerrado)
        return;
    p.cerrado = true;
    QString porque = motivo;
    if (porque.endsWith(QLatin1Char('.')))
        porque.chop(1);
    if (problema && !p.dentro) {
        // Lines that never played are counted, not written one by one.
        rechazar(p.direccion, porque);
        if (p.s->state() == QAbstractSocket::ConnectedState)
            enviar(p,
                   rechazo{("El servidor te sacó de la partida: " + porque + ".").toStdString()});
    } else if (problema) {
        log(QStringLiteral("%1 queda fuera: %2.").arg(quien(p), porque));
        if (p.s->state() == QAbstractSocket::ConnectedState)
            enviar(p,
                   rechazo{("El servidor te sacó de la partida: " + porque + ".").toStdString()});
    } else if (p.dentro && perdido) {
        log(QStringLiteral("%1 perdió la conexión: su luchador le espera un minuto.")
                .arg(quien(p)));
    } else if (p.dentro) {
        log(QStringLiteral("%1 salió de la partida.").arg(quien(p)));
    }
    if (p.dentro) {
        ocupados_[std::size_t(p.slot)] = perdido;
        if (perdido)
            reservas_.push_back({p.ficha, p.slot, p.nombre, p.direccion, reloj() + esperavuelta});
        if (!p.ausente)
            relevar(p.slot, false);
        p.dentro = false;
    }
    // What it sent and no step has taken yet goes with it.
    std::erase_if(acciones_, [&p](const auto& x) { return x.first == p.id; });
    enespera_.erase(p.id);
    p.s->disconnect(this);
    // Whatever was still to be said goes out before the line closes.
    connect(p.s, &QTcpSocket::disconnected, p.s, &QObject::deleteLater);
    p.s->disconnectFromHost();
    if (p.s->state() == QAbstractSocket::UnconnectedState)
        p.s->deleteLater();
    p.s = nullptr;
    anunciarjugadores();
}

void anfitrion::rechazar(const QString& direccion, const QString& porque) {
    ++rechazos_[{direccion, porque}];
    resumir();
}

void anfitrion::resumir() {
    // The first after a quiet minute is written at once; the rest of a
    // flood wait for the minute's line.
    const int64_t t = reloj();
    if (rechazos_.empty() || (resumido_ && t - resumen_ < minuto))
        return;
    QStringList partes;
    int total = 0;
    for (const auto& [clave, n] : rechazos_) {
        partes << QStringLiteral("%1 desde %2: %3").arg(n).arg(clave.first, clave.second);
        total += n;
    }
    if (total == 1)
        log(QStringLiteral("La conexión desde %1 queda fuera: %2.")
                .arg(rechazos_.begin()->first.first, rechazos_.begin()->first.second));
    else
        log(QStringLiteral("Conexiones que quedaron fuera en el último minuto: %1 (%2).")
                .arg(total)
                .arg(partes.join(QStringLiteral("; "))));
    rechazos_.clear();
    resumen_ = t;
    resumido_ = true;
}

void anfitrion::reparar(par& p) {
    resinc r;
    r.motivo = "La partida se desincronizó.";
    r.secuencia = secuencia_;
    r.instantanea = partida_.instantanea();
    p.resincado = partida_.juego().numtick;
    p.margen = qint64(r.instantanea.size());
    p.reparar = false;
    enviar(p, r);
}

qint64 anfitrion::pendiente() const {
    qint64 n = 0;
    for (const auto& p : pares_)
        if (!p->cerrado && p->s)
            n += p->s->bytesToWrite();
    return n;
}

void anfitrion::relevar(int16_t slot, bool humano, bool fresco) {
    const bool ahora =
        cambios_.size() < maxcambios &&
        std::all_of(cambios_.begin(), cambios_.end(), [](const auto& c) { return c.second; });
    cambios_.push_back({{slot, humano, fresco}, ahora});
    if (ahora)
        partida_.relevar(slot, humano, fresco);
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
        l.push_back({local_, nombrelocal_.toStdString(), true});
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
    // The names go into the files of the match too: its replays and saves
    // tell who played, not just "Jugador".
    for (const jugadorred& x : j.lista)
        partida_.nombrar(x.slot, x.nombre);
    for (auto& p : pares_)
        if (p->dentro && !p->cerrado)
            enviar(*p, j);
    emit cambiojugadores();
}

sucesos anfitrion::paso() {
    const mundo& m = partida_.juego();
    // The host's match was stopped (the window left it and its goodbye is
    // on the way): a step now would tell the players a match that does not
    // run, which their copies, still running, would take for a broken one.
    if (m.jugando != verdadero)
        return {};
    const int64_t ahora = reloj();
    red::paso x;
    x.secuencia = ++secuencia_;

    // Liveness: a silent player's keys are let go after a second, and after
    // ten the computer plays its fighter; the peer stays, and its next
    // message hands the fighter back (see manejar).
    // A host that stalled itself heard nobody meanwhile: silence counts
    // from its return.
    const bool atascado = ahora - ultimopaso_ > silenciosoltar;
    std::erase_if(reservas_, [&](const reserva& x) {
        if (ahora <= x.hasta)
            return false;
        ocupados_[std::size_t(x.slot)] = false;
        log(QStringLiteral("%1 no volvió a tiempo: su luchador queda libre.")
                .arg(escaparnombre(x.nombre)));
        return true;
    });
    ultimopaso_ = ahora;
    for (auto& p : pares_) {
        if (p->cerrado || !p->dentro || p->ausente)
            continue;
        if (atascado)
            p->ultimavez = std::max(p->ultimavez, ahora - silenciosoltar);
        const int64_t callado = ahora - p->ultimavez;
        if (callado > silenciosoltar)
            p->teclas.soltartodas();
        if (callado > silencioausente) {
            p->ausente = true;
            relevar(p->slot, false);
            log(QStringLiteral("%1 no da señales: el ordenador lleva su luchador hasta que "
                               "vuelva.")
                    .arg(quien(*p)));
        }
    }

    // A step never carries more than a client takes; the rest wait.
    sucesos s;
    auto juntar = [&s](sucesos&& mas) {
        s.insert(s.end(), std::make_move_iterator(mas.begin()),
                 std::make_move_iterator(mas.end()));
    };
    const std::size_t nc = std::min(cambios_.size(), maxcambios);
    for (std::size_t k = 0; k < nc; ++k) {
        const auto [c, tomado] = cambios_.front();
        cambios_.pop_front();
        if (!tomado)
            juntar(partida_.relevar(c.slot, c.humano, c.fresco));
        x.cambios.push_back(c);
    }
    // Each peer its own share of the step, in the order the actions came.
    std::map<uint32_t, std::size_t> tomadas;
    for (auto it = acciones_.begin(); it != acciones_.end() && x.acciones.size() < maxacciones;) {
        if (tomadas[it->first] >= cuotaacciones) {
            ++it;
            continue;
        }
        ++tomadas[it->first];
        --enespera_[it->first];
        x.acciones.push_back(it->second);
        it = acciones_.erase(it);
    }

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
        if (!p->dentro) {
            if (++p->pasos > pasossinhola)
                echar(*p, QStringLiteral("no saludó a tiempo"), true);
            continue;
        }
        if (p->s->bytesToWrite() > maxpendiente + p->margen) {
            echar(*p, QStringLiteral("no recibe lo que se le envía"), true);
            continue;
        }
        p->s->write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
        if (p->reparar && p->s->bytesToWrite() < umbralreparar)
            reparar(*p);
    }
    limpiar();
    resumir();
    // Who no longer tries to join need not be remembered.
    std::erase_if(entradas_, [ahora](auto& e) { return e.second.lleno(ahora); });

    if (siguientepartida && m.fin == verdadero) {
        if (finvisto_ < 0)
            finvisto_ = ahora;
        if (ahora - finvisto_ >= esperasiguiente) {
            finvisto_ = -1;
            if (siguientepartida())
                nuevapartida(QStringLiteral("Empieza la partida siguiente."));
        }
    }
    return s;
}

void anfitrion::nuevapartida(const QString& aviso) {
    // What waited was meant for the match that ended.
    cambios_.clear();
    acciones_.clear();
    enespera_.clear();
    huellas_.clear();
    finvisto_ = -1;
    // Every player keeps its fighter: the hand-overs go into the new
    // match's record before any client gets it, so every copy starts equal.
    if (local_ >= 0) {
        partida_.ver(local_);
        partida_.relevar(local_, true);
    }
    for (auto& p : pares_)
        if (p->dentro && !p->cerrado && !p->ausente)
            partida_.relevar(p->slot, true);
    resinc r;
    r.motivo = aviso.toStdString();
    r.secuencia = secuencia_;
    r.instantanea = partida_.instantanea();
    for (auto& p : pares_) {
        if (!p->dentro || p->cerrado)
            continue;
        p->nueva = true;
        p->resincado = 0;
        p->reparar = false;
        p->margen = qint64(r.instantanea.size());
        enviar(*p, r);
    }
    log(aviso);
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
    }
    // The goodbye must leave before the host's sockets close, or the
    // players are told the line was lost: up to a second for all of them.
    QElapsedTimer t;
    t.start();
    for (auto& p : pares_) {
        while (!p->cerrado && p->s->state() == QAbstractSocket::ConnectedState &&
               p->s->bytesToWrite() > 0 && t.elapsed() < 1000)
            p->s->waitForBytesWritten(int(std::max<qint64>(1, 1000 - t.elapsed())));
    }
    for (auto& p : pares_) {
        if (p->cerrado)
            continue;
        p->dentro = false; // no hand-over: the match itself ends
        echar(*p, motivo, false);
    }
    limpiar();
    servidor_->close();
}

void anfitrion::cerrar() {
    detener(QStringLiteral("El anfitrión cerró la partida."));
}

} // namespace juego::red
