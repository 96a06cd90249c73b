#pragma once

#include "Comun/teclas.h"
#include "Juego/nucleo/plataforma.h"
#include "Juego/nucleo/sucesos.h"

#include <cstddef>
#include <string>
#include <vector>

namespace juego {

// A stand-in for the game window where there is none (the headless harness,
// tests, benchmarks): it keeps the sound box and the timer, holds the arrow
// keys it is told to, and does with the match's events what the window does
// (the status line, and the sounds handed to the player while sound is on).
class grabadora : public plataforma {
public:
    int16_t sonido() const override { return sonido_; }
    void ponersonido(int16_t valor) override { sonido_ = valor; }
    void ponertemporizador(bool activo) override { temporizador_ = activo; }
    void dibujar() override { ++dibujos; }

    bool temporizador() const { return temporizador_; }

    void recibir(const sucesos& s) {
        for (const suceso& e : s) {
            if (e.tipo == tiposuceso::estado)
                status = e.texto;
            else if (e.tipo == tiposuceso::sonido && sonido_ == 1)
                anotarsonido(e.texto);
        }
    }

    std::string status;
    std::vector<std::string> pedidos; // file names handed to the sound player
    // A harness left ticking for days without asking for its sounds keeps
    // only the newest ones.
    static constexpr std::size_t maxpedidos = 100000;
    comun::estadoteclas teclas;
    int dibujos = 0;

private:
    void anotarsonido(const std::string& nombre) {
        if (pedidos.size() >= maxpedidos)
            pedidos.erase(pedidos.begin(), pedidos.begin() + maxpedidos / 2);
        pedidos.push_back(nombre);
    }

    int16_t sonido_ = 1;       // the window's box starts ticked
    bool temporizador_ = true; // and its timer runs from the start
};

} // namespace juego
