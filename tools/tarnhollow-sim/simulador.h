#pragma once

#include "Juego/lienzo.h"
#include "Juego/mundo.h"
#include "Juego/plataforma.h"
#include "Juego/teclas.h"

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sim {

// Stands in for the game window: remembers the status line, the sound box,
// the sounds asked for and the timer, and holds the arrow keys it is told to.
class plataformasim : public juego::plataforma {
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
    std::vector<std::string> pedidos;
    juego::estadoteclas teclas;
    int dibujos = 0;

private:
    int16_t sonido_ = 1;
    bool temporizador_ = true; // the game's timer runs from the start
};

// Reads one command per line and writes its answer; adding a command is
// adding one entry to `comandos`.
class simulador {
public:
    simulador();
    void ejecutar(const std::string& linea, std::ostream& salida);

    plataformasim plat;
    juego::mundo mundo{plat};

private:
    using comando = std::function<void(const std::vector<std::string>&, std::ostream&)>;
    std::map<std::string, comando> comandos;
    std::vector<int16_t> sostenidas;
    std::unique_ptr<juego::lienzo> lienzo; // loaded on the first capture
};

} // namespace sim
