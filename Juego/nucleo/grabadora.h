#pragma once

#include "Juego/nucleo/plataforma.h"
#include "Juego/qt/teclas.h"

#include <string>
#include <vector>

namespace juego {

// A stand-in for the game window where there is none (the headless harness,
// tests, benchmarks): it keeps the status line, the sound box, the timer and
// the sounds asked for, and holds the arrow keys it is told to.
class grabadora : public plataforma {
public:
    void mostrar(const std::string& texto) override { status = texto; }
    uint16_t tecla(int16_t codigo) override { return teclas.consultar(codigo); }
    int16_t sonido() const override { return sonido_; }
    void ponersonido(int16_t valor) override { sonido_ = valor; }
    void reproducir(const std::string& nombre) override { pedidos.push_back(nombre); }
    bool temporizador() const override { return temporizador_; }
    void ponertemporizador(bool activo) override { temporizador_ = activo; }
    void dibujar() override { ++dibujos; }

    std::string status;
    std::vector<std::string> pedidos; // file names handed to the sound player
    estadoteclas teclas;
    int dibujos = 0;

private:
    int16_t sonido_ = 1;        // the window's box starts ticked
    bool temporizador_ = true;  // and its timer runs from the start
};

} // namespace juego
