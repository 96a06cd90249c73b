#pragma once

#include "Comun/teclas.h"
#include "Juego/nucleo/sucesos.h"
#include "Juego/red/mensajes.h"

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <array>
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

    // Tells every client why the match ends and stops listening.
    void detener(const QString& motivo);

    // Where joins, leaves and problems are written; one line each.
    std::function<void(const QString&)> registrar;

    // Steps after which a connection that has not said hello is dropped,
    // and messages a client may send in one step.
    static constexpr int pasossinhola = 40;
    static constexpr int maxmensajesporpaso = 64;
    // A hash every this many ticks.
    static constexpr uint32_t cadahuella = 16;

signals:
    // What an automatic step of the clock produced.
    void sucedido(const juego::sucesos& s);
    void cambiojugadores();

private:
    struct par;
    void nuevaconexion();
    void leer(par& p);
    void manejar(par& p, mensaje&& m);
    // The name a newcomer plays under: the one asked for, or with a number
    // after it when a player in the match has that name already.
    QString nombrelibre(const QString& pedido) const;
    void saludar(par& p, const hola& h);
    void echar(par& p, const QString& motivo, bool problema);
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
    std::vector<cambio> cambios_;
    std::vector<accion> acciones_;
    std::map<uint32_t, uint64_t> huellas_; // the latest hashes, by tick
    uint32_t secuencia_ = 0;
    std::size_t bytespaso_ = 0;
    int16_t local_ = -1;
    QString nombrelocal_;
    comun::estadoteclas teclaslocal_;
};

} // namespace red
} // namespace juego
