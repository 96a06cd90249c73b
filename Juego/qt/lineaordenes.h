#pragma once

#include "Juego/nucleo/mundo.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace juego {

struct ajustes;

// What the command line asks of the game. Everything in it has been
// checked: the map can be played, the replay read, the port is one.
struct arranque {
    enum class que { menu, ayuda, version, partida, repeticion, unirse };
    que hacer = que::menu;
    // ayuda, version: what to print before leaving.
    QString texto;
    // partida: the map; repeticion: the replay. Absolute, so that nothing
    // depends on the folder the game was started from.
    QString ruta;
    // partida: what the player left out takes the set-up window's choice.
    std::optional<int16_t> guerreros;
    std::optional<int16_t> tipo; // guerrero or arquero
    std::optional<objetivo> meta;
    // unirse: a host name or an address (IPv6 without its brackets, as
    // the join window's field takes it) and a port from 1 to 65535.
    QString host;
    quint16 puerto = 0;
};

// Either what to do or why not, in Spanish, for standard error.
struct lecturaarranque {
    std::optional<arranque> pedido;
    QString error;

    explicit operator bool() const { return pedido.has_value(); }
};

// Reads the program's arguments (the program's name first, as main gets
// them). It reads files but opens no window and never ends the program:
// the caller prints and chooses the exit status.
lecturaarranque leerarranque(const QStringList& argumentos);

// The set-up of a match asked for with --mapa: what the command line gave,
// the rest as the set-up window remembers it.
struct partidapedida {
    int16_t guerreros = 1;
    int16_t tipo = guerrero;
    objetivo meta;
    // The rules the set-up windows offer, as chosen last there.
    reglas regla;
};
partidapedida completar(const arranque& a, const ajustes& recordado);

} // namespace juego
