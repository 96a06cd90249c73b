#pragma once

#include "Juego/nucleo/repeticion.h"
#include "Juego/nucleo/sucesos.h"
#include "Juego/red/mensajes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QTcpSocket;
class QTimer;

namespace juego {

class partida;

namespace red {

// A player's end of a network match: it sends this player's keys, clicks
// and strokes to the host and plays the host's steps on its own copy of the
// match. Whatever the host sends is checked; a host that sends something
// impossible, or falls silent, ends the match here with a clear message.
class cliente : public QObject {
    Q_OBJECT
public:
    enum class fase { libre, conectando, dentro, fuera };

    explicit cliente(partida& p, QObject* padre = nullptr);
    ~cliente() override;

    // Steps are played as they arrive (the game window); when false they
    // wait for `avanzarhasta` (the harness, to stop at a given tick).
    bool automatico = true;
    // How long the host may stay silent before the match is given up.
    int silenciomaximo = 5000;

    void conectar(const QString& host, quint16 puerto, const QString& nombre, int16_t tipo,
                  int16_t equipo);
    // After the line to the host broke (not a refusal, not the match's
    // end): whether the host gave a token to come back with, and coming
    // back with it. The host keeps the fighter for a minute.
    bool puedevolver() const;
    void volver();
    fase estado() const { return fase_; }
    // Why the match ended here, once `estado()` is `fuera`.
    QString motivo() const { return motivo_; }
    int16_t slot() const { return slot_; }
    // The last host step played here.
    uint32_t secuencia() const { return secuencia_; }
    const std::vector<jugadorred>& lista() const { return lista_; }

    // This player's input: an arrow key went down or up, the space bar, a
    // click at pixel (px, py) of the play field.
    void teclaflecha(int16_t codigo, bool abajo);
    void espacio();
    void clic(int px, int py);
    void salir();

    // Waits (blocking, at most `ms`) until the match is held or refused.
    bool esperarentrada(int ms);
    // Plays the steps that came in until the match's tick number is exactly
    // `t`, waiting for more while the host is not silent too long; an empty
    // text, or why not.
    QString avanzarhasta(uint32_t t);

    // The version this client announces; a test may pretend another.
    std::string version;
    // The client's clock in ms, for its heartbeat; a test sets its own.
    std::function<int64_t()> reloj;
    // With nothing else sent for this long, the last hash goes again, so
    // the host knows this player is still there while no tick runs.
    static constexpr int64_t cadalatido = 2000;

signals:
    void unido();
    void sucedido(const juego::sucesos& s);
    // A notice for the player ("La partida se desincronizó").
    void aviso(const QString& texto);
    void cambiojugadores();
    // The line broke while playing, and the player can come back to the
    // match (`volver`); `terminado` follows.
    void perdido();
    // The record of the match this copy held, just before the host's
    // replaces it (the next match, a repair, a return): kept, not lost.
    void grabada(std::shared_ptr<const juego::repeticion> r);
    void terminado(const QString& motivo);

private:
    void leer();
    void recibir(mensaje&& m);
    void procesarcola();
    // Plays one queued message; false once the match ended here.
    bool aplicar(mensaje& m);
    bool aplicarpaso(const paso& p);
    bool restaurar(const std::vector<uint8_t>& instantanea, uint32_t secuencia);
    void enviar(const mensaje& m);
    void fallar(const QString& motivo);
    // The line broke: the match ends here, and while it was being played
    // the player may come back to it (`volver`).
    void perder();
    // Connects and greets with `hola_`.
    void entrar();
    void latir();

    partida& partida_;
    QTcpSocket* s_ = nullptr;
    QTimer* vigia_ = nullptr;
    QElapsedTimer ultimo_;
    desenmarcador d_{true};
    std::deque<mensaje> cola_;
    fase fase_ = fase::libre;
    QString motivo_;
    hola hola_;
    QString host_;
    quint16 puerto_ = 0;
    uint64_t ficha_ = 0;
    bool perdida_ = false; // the match ended here because the line broke
    int16_t slot_ = -1;
    uint32_t secuencia_ = 0;
    std::vector<jugadorred> lista_;
    huella ultimahuella_;
    int64_t enviado_ = 0;
};

} // namespace red
} // namespace juego
