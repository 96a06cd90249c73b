#pragma once

#include "Juego/nucleo/sucesos.h"
#include "Juego/qt/jugada.h"
#include "Juego/red/mensajes.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <set>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace juego {

class selectorobjetivo;
class selectorreglas;

namespace red {
class anfitrion;
class cliente;
} // namespace red

// The game window's link to a network match, as host or as client: it
// takes the player's keys and clicks while the match runs, shows what the
// steps bring, and keeps on the play field a small list of who is playing
// and the latest joins, leaves and kills.
class sesionred : public jugada {
    Q_OBJECT
public:
    explicit sesionred(mesa& v);
    ~sesionred() override;

    // Hosts a match on the map at `ruta` (already started by the window)
    // listening on `puerto`; an empty text, or why not.
    QString crear(int16_t tipo, int16_t equipo, quint16 puerto, const QString& nombre);
    // Listens before the match starts, so a port in use changes nothing.
    QString escuchar(const QHostAddress& direccion, quint16 puerto);
    void unirse(const QString& host, quint16 puerto, const QString& nombre, int16_t tipo,
                int16_t equipo);

    // The host and the client live on the simulation's thread: the window
    // only sends them work there (`enred`), never calls them itself.
    red::anfitrion* anfitrionactual() const;
    // Players in a match this window hosts, besides the host.
    std::size_t otrosjugadores() const override;
    red::cliente* clienteactual() const;
    // The client got its copy of the match.
    bool dentro() const { return dentro_; }
    // The client's line broke while it played, and the host keeps its
    // fighter a while: it may go back (the session stays).
    bool puedevolver() const { return puedevolver_; }
    void volver();
    void enred(std::function<void(red::anfitrion&)> f);
    void enred(std::function<void(red::cliente&)> f);
    // What a step of the match brought, for the window.
    void recibir(const sucesos& s) override;

    // The ticks are the host's, on the simulation's thread.
    simulacion::modo modosimulacion() const override;
    // The session's list and messages go from the field with it; whatever
    // it still had to say is no longer the player's concern.
    void dejar() override;
    // The host ends the match for its players, the client leaves it.
    std::function<void()> soltarpartida() const override;
    // The player's input while the match runs.
    void teclaflecha(int16_t codigo, bool abajo) override;
    void soltartodas() override;
    bool tecla(int qtkey, int16_t codigo, bool repetida) override;
    void clic(int px, int py, posicion vista) override;
    // Revancha is the host's: the same match anew for every player, each
    // keeping their fighter.
    bool ofrecerevancha() const override;
    void revanchar(const revancha& r) override;
    QString otrapartida() const override;

    // On the play field; the window may go first when it closes.
    QPointer<QLabel> listajugadores;

signals:
    // The client holds the match, or the attempt ended (with why).
    void unido();
    void fallido(const QString& motivo);

private:
    // The host and the client let go of the match in the step that ends it,
    // and what they said just before still arrives here afterwards, queued:
    // once another kind of play holds the field, the session's list,
    // names and messages no longer go on it.
    bool enelcampo() const;
    void actualizarlista(const std::vector<red::jugadorred>& l);
    void mostrarlista();
    // "puerto P de A": where friends find a match this machine hosts.
    QString dondeanfitrion() const;
    QString nombrede(int16_t slot) const;

    // Made on the simulation's thread while the window waits, and deleted
    // there when the match is let go of; null once gone.
    QPointer<red::anfitrion> anfitrion_;
    QPointer<red::cliente> cliente_;
    std::vector<red::jugadorred> lista_;
    bool dentro_ = false;
    bool puedevolver_ = false;
    quint16 puerto_ = 0;
    bool listavista_ = false; // the first players' list came
    QString direcciones_;     // this machine's addresses, for a host's list
    std::set<int16_t> sostenidas_;
};

// The window of "Multijugador": create a match others can join, or join
// one.
class multijugador : public QWidget {
    Q_OBJECT
public:
    explicit multijugador(mesa& juego);

    QLineEdit* nombre = nullptr;
    QComboBox* tip = nullptr;
    QComboBox* equipo = nullptr;
    QListWidget* File1 = nullptr;
    // The chosen map, small, and its size, as in the single-player window.
    QLabel* vistaprevia = nullptr;
    QLabel* tamano = nullptr;
    QComboBox* guerreros = nullptr;
    selectorobjetivo* objetivo = nullptr;
    // The host's rules hold for everyone who joins.
    selectorreglas* regla = nullptr;
    QSpinBox* puerto = nullptr;
    QPushButton* empezar = nullptr;
    QLineEdit* direccion = nullptr;
    QSpinBox* puertounirse = nullptr;
    QPushButton* conectar = nullptr;
    // Leaves the network match being played, if any.
    QPushButton* salir = nullptr;
    QLabel* estado = nullptr;
    // Where a created match waits for players: every address of this
    // machine (tests keep to the loopback one).
    QHostAddress escucharen{QHostAddress::Any};

public slots:
    void empezar_Click();
    void conectar_Click();
    void salir_Click();

protected:
    void showEvent(QShowEvent* e) override;
    // Esc closes; Enter in the fields of joining connects, in those of
    // creating starts.
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool datos(QString& nombrejugador, int16_t& tipo, int16_t& eq);

    mesa& juego_;
};

} // namespace juego
