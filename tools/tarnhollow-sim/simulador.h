#pragma once

#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/partida.h"
#include "Juego/qt/capas.h"
#include "Juego/qt/lienzo.h"
#include "Juego/red/cliente.h"

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sim {

// Reads one command per line and writes its answer; adding a command is
// adding one entry to `comandos`.
class simulador {
public:
    simulador();
    void ejecutar(const std::string& linea, std::ostream& salida);

    juego::grabadora plat;
    juego::partida partida{plat};
    const juego::mundo& mundo = partida.juego();

private:
    // What the window does with the events: the status line and sounds, and
    // what the overlays keep.
    void recibir(const juego::sucesos& s);

    using comando = std::function<void(const std::vector<std::string>&, std::ostream&)>;
    std::map<std::string, comando> comandos;
    std::vector<int16_t> sostenidas;
    juego::objetivo meta; // for the next `cargar`
    juego::reglas regla{juego::modoreglas::clasicas, juego::dificultad::normal, 1};
    juego::alineacion alineacion;
    int16_t tiposporequipo = 0;
    std::unique_ptr<juego::lienzo> lienzo; // loaded on the first capture
    juego::capas capas;
    // The network match this harness plays as a client, if any.
    std::unique_ptr<juego::red::cliente> cliente;
    bool enred() const;
};

} // namespace sim
