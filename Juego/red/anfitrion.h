#pragma once

#include "Comun/teclas.h"
#include "Juego/nucleo/sucesos.h"
#include "Juego/red/limites.h"
#include "Juego/red/mensajes.h"

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace juego {

class partida;

namespace red {

// The host of a network match: it owns the match clock. Each step of the
// clock it applies the hand-overs and actions that came in, runs one tick
// with the arrow keys of every human slot, and sends all of that to every
// client, which plays the same step on its own copy. A peer that sends
// anything it should not is dropped with a logged reason; the match goes on.
class anfitrion : public QObject {
    Q_OBJECT
public:
    // Hosts the match `p`, which must be running; its fighters all start as
    // the computer's (see prepararpartidared).
    explicit anfitrion(partida& p, QObject* padre = nullptr);
    ~anfitrion() override;

    // Starts listening; an empty text, or why not.
    QString escuchar(const QHostAddress& direccion, quint16 puerto);
    quint16 puerto() const;
    // Runs the clock by itself, one step every `ms`; without it the owner
    // (a test) calls `paso` itself.
    void arrancar(int ms = 125);

    // The host's own player (the game's "Crear partida"): the slot it took,
    // or -1 when its team has no fighter free.
    int16_t entrarlocal(const QString& nombre, int16_t tipo, int16_t equipo);
    void teclalocal(int16_t codigo, bool abajo);
    // Space bar (espacio), a shot at a cell (click) or P (pausa) of the
    // host's player, played at the next step like everyone's.
    void accionlocal(const accion& a);

    // One step of the clock; returns what happened, for the host's screen.
    sucesos paso();

    // Who plays now, and how many clients are connected.
    std::vector<jugadorred> lista() const;
    int clientes() const;
    uint32_t secuencia() const { return secuencia_; }
    // Bytes of the last step's message, as each client got it.
    std::size_t bytesultimopaso() const { return bytespaso_; }

    // Tells every client why the match ends, waits up to a second for that
    // to leave, and stops listening.
    void detener(const QString& motivo);
    // The host quits: every client is told "El anfitrión cerró la partida.".
    void cerrar();

    // A new match has started in the same `partida` (same map and fighters
    // per team): every player keeps its fighter and every client is sent the
    // new match.
    void nuevapartida(const QString& aviso);
    // When set, the host starts the next match by itself `esperasiguiente`
    // ms after one ends: this starts it in `partida` (false when it could
    // not), then every client gets it.
    std::function<bool()> siguientepartida;
    int64_t esperasiguiente = 15000;

    // Bytes written to the clients that have not left yet, all together.
    qint64 pendiente() const;

    // Joins from one address: this many at once, then one every few seconds.
    double entradasseguidas = 4;
    double segundosporentrada = 3;

    // The host's clock in ms, for the limits per second and the silence of
    // peers; a test sets its own.
    std::function<int64_t()> reloj;

    // Where joins, leaves and problems are written; one line each.
    std::function<void(const QString&)> registrar;

    // Steps after which a connection that has not said hello is dropped.
    static constexpr int pasossinhola = 40;
    // The limit that once held per step; messages now count per second.
    static constexpr int maxmensajesporpaso = 64;
    // Messages a client may send each second, and how many it may save up
    // while quiet (ten seconds' worth: a backlog after a stall fits).
    static constexpr double mensajesporsegundo = 64;
    static constexpr double rafagamensajes = 640;
    // Actions of one peer in one step: seventeen peers fit in a step, so no
    // peer can crowd out another. What waits beyond `esperaacciones` is
    // dropped (a backlog is trimmed, never punished).
    static constexpr std::size_t cuotaacciones = maxacciones / 17;
    static constexpr std::size_t esperaacciones = 4 * cuotaacciones;
    // Connections of one address that have not said hello yet.
    static constexpr int sinsaludopordireccion = 4;
    // Silence of a player after which its keys are let go, and after which
    // the computer plays its fighter until it speaks again.
    static constexpr int64_t silenciosoltar = 1000;
    static constexpr int64_t silencioausente = 10000;
    // A hash every this many ticks.
    static constexpr uint32_t cadahuella = 16;
    // How long the fighter of a player who lost the line waits for them:
    // they come back with the token of their welcome and play it again.
    static constexpr int64_t esperavuelta = 60000;

signals:
    // What an automatic step of the clock produced.
    void sucedido(const juego::sucesos& s);
    void cambiojugadores();

private:
    struct par;
    void nuevaconexion();
    void leer(par& p);
    void manejar(par& p, mensaje&& m);
    // A peer was closed or refused before playing: counted, and written
    // as one line a minute.
    void rechazar(const QString& direccion, const QString& porque);
    void resumir();
    void reparar(par& p);
    void relevar(int16_t slot, bool humano, bool fresco = false);
    // The name a newcomer plays under: the one asked for, or with a number
    // after it when a player in the match has that name already.
    QString nombrelibre(const QString& pedido) const;
    void saludar(par& p, const hola& h);
    // `perdido`: the line broke without a goodbye; the fighter waits for
    // the player's return.
    void echar(par& p, const QString& motivo, bool problema, bool perdido = false);
    void enviar(par& p, const mensaje& m);
    void anunciarjugadores();
    void limpiar();
    void log(const QString& linea);
    QString quien(const par& p) const;

    partida& partida_;
    QTcpServer* servidor_ = nullptr;
    QTimer* reloj_ = nullptr;
    std::vector<std::unique_ptr<par>> pares_;
    std::array<bool, 17> ocupados_{};
    // Fighters kept for players whose line broke, until `hasta`; the
    // computer plays them meanwhile.
    struct reserva {
        uint64_t ficha = 0;
        int16_t slot = -1;
        QString nombre;
        QString direccion;
        int64_t hasta = 0;
    };
    std::vector<reserva> reservas_;
    // Hand-overs wait here for a step with room for them.
    // Each with whether the host's copy already took it: a hand-over that
    // goes out with the very next step is taken at once, so a newcomer's
    // welcome already shows its fighter as its own.
    std::deque<std::pair<cambio, bool>> cambios_;
    // Actions in the order they came, with the peer that sent them (0 for
    // the host's own player), until that peer's share of a step takes them.
    std::deque<std::pair<uint32_t, accion>> acciones_;
    std::map<uint32_t, std::size_t> enespera_;
    uint32_t siguienteid_ = 1;
    std::map<QString, cubo> entradas_;
    std::map<std::pair<QString, QString>, int> rechazos_; // by address and reason
    int64_t resumen_ = 0;
    bool resumido_ = false;
    int64_t finvisto_ = -1;
    int64_t ultimopaso_ = 0;
    std::map<uint32_t, uint64_t> huellas_; // the latest hashes, by tick
    uint32_t secuencia_ = 0;
    std::size_t bytespaso_ = 0;
    int16_t local_ = -1;
    QString nombrelocal_;
    comun::estadoteclas teclaslocal_;
};

} // namespace red
} // namespace juego
