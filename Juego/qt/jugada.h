#pragma once

#include "Juego/qt/mesa.h"
#include "Juego/qt/simulacion.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

class QTimer;

namespace juego {

// A kind of play the game window shows: a match of its own, a replay being
// watched, a network match. The window holds exactly one, hands it the
// player's input and the match's frames, and asks it what to offer; it
// never asks which kind it is. Each lives on the window (its child) and is
// deleted later once another takes its place, so that one may end from its
// own key or signal handler.
class jugada : public QObject {
    Q_OBJECT
public:
    explicit jugada(mesa& m);
    ~jugada() override;

    // Who drives the match's ticks while this is on the field.
    virtual simulacion::modo modosimulacion() const = 0;
    // It takes the field, once the simulation runs in its mode; it leaves
    // it, just before the window lets it go.
    virtual void empezar() {}
    virtual void dejar() {}
    // What makes whatever drives the match besides the window (a network
    // host or client) let go of it. The window runs it on the simulation's
    // thread, in the very step that puts another match in its place, so
    // that nothing of it reaches the new one; it does nothing when nothing
    // else drives the match.
    virtual std::function<void()> soltarpartida() const;

    // A click on pixel (px, py) of the frame that was made for view `vista`.
    virtual void clic(int px, int py, posicion vista) = 0;
    // A key pressed on the window (`vk` its game code); true when it was
    // used and must go nowhere else.
    virtual bool tecla(int qtkey, int16_t vk, bool repetida) = 0;
    // The arrows, held or let go anywhere in the game (the window's own
    // simulation already heard them).
    virtual void teclaflecha(int16_t vk, bool abajo);
    // The game lost the keyboard: no key stays held.
    virtual void soltartodas();
    // What a frame of the match brought.
    virtual void recibir(const sucesos& s);

    // The clock that drives the field when it is not the simulation's (a
    // replay's viewer); none otherwise.
    virtual QTimer* relojpropio() const;
    // The field holds a match played here, alone or over the network, that
    // can be saved and is archived when left (a replay was not).
    virtual bool sejuega() const;
    // The status line tells the match's own line, with the life bar beside
    // it (a replay tells itself there instead, in the bar's room).
    virtual bool lineadelapartida() const;
    // Players who would lose the match if it ended here.
    virtual std::size_t otrosjugadores() const;
    // Whether Revancha is offered when the match ends, and what it does.
    virtual bool ofrecerevancha() const;
    virtual void revanchar(const revancha& r);
    // What the player is told when they close the end screen; nothing when
    // empty.
    virtual QString otrapartida() const;

protected:
    // The arrows walk and the space bar strikes: neither moves the focus
    // between controls nor presses them, in any kind of play.
    static bool teclajuego(int16_t vk);
    // The sound is the player's own switch, whatever is on the field.
    void cambiarsonido();

    mesa& mesa_;
};

// A match of the window's own on the field: what is there when nothing else
// is (also the last frame of a replay or a network match that ended).
class jugadalocal : public jugada {
    Q_OBJECT
public:
    using jugada::jugada;

    simulacion::modo modosimulacion() const override;
    void clic(int px, int py, posicion vista) override;
    bool tecla(int qtkey, int16_t vk, bool repetida) override;
    bool ofrecerevancha() const override;
    void revanchar(const revancha& r) override;
    QString otrapartida() const override;
};

} // namespace juego
