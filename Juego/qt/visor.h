#pragma once

#include "Juego/nucleo/repeticion.h"
#include "Juego/qt/jugada.h"

#include <cstdint>

class QTimer;

namespace juego {

class mundo;

// Plays a replay on the game window: the recorded steps drive the very same
// core, at 1x to 16x. P pauses, + and - change the speed, Tab picks the
// fighter the view follows, the arrow keys move the view freely and Esc
// stops watching. The field shows nobody's life: the status line tells the
// replay.
class visor : public jugada {
    Q_OBJECT
public:
    // Plays from the replay's first frame once it takes the field; by then
    // the match must hold the replay's start (`partida::empezarrepeticion`).
    visor(mesa& ventana, repeticion r);
    ~visor() override;

    simulacion::modo modosimulacion() const override;
    void empezar() override;
    void dejar() override;
    // Clicks on the field are nobody's.
    void clic(int px, int py, posicion vista) override;
    // A key pressed while watching; true when it was the viewer's.
    bool tecla(int qtkey, int16_t vk, bool repetida) override;
    QTimer* relojpropio() const override { return reloj; }
    bool sejuega() const override;
    bool lineadelapartida() const override;

    // The most steps one call of `avanzar` hands to the match.
    static constexpr std::size_t maxpasosllamada = 4096;

    // One tick of the recording, with the steps before it (at most
    // `maxpasosllamada` of them); false at the end.
    bool avanzar();
    bool terminado() const { return paso_ >= r_.pasos.size(); }
    const repeticion& grabacion() const { return r_; }
    // The steps of the recording played so far.
    std::size_t pasosvistos() const { return paso_; }
    int velocidad() const { return velocidad_; }
    bool pausado() const { return pausado_; }

    QTimer* reloj = nullptr;

signals:
    // Esc: the window closes the viewer.
    void salir();

private:
    void ajustarreloj();
    // Tells the simulation which view to make the frames for.
    void mirar();
    void informar();

    repeticion r_;
    std::size_t paso_ = 0;
    uint32_t hechos_ = 0; // repetitions of the current step already applied
    uint64_t tick_ = 0;
    uint64_t total_ = 0;
    int velocidad_ = 1;
    bool pausado_ = false;
    int16_t seguido_ = 0; // -1: the view moves freely
    int16_t vistax_ = 0;
    int16_t vistay_ = 0;
};

} // namespace juego
