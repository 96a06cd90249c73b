#pragma once

#include "Juego/nucleo/mundo.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace juego {

class escritor;
class lector;

// One player of a match as a file's header tells it.
struct jugadorcabecera {
    int16_t slot = 0;
    std::string nombre; // the person's, or "Ordenador"
    int16_t humano = falso;
    int16_t tipo = 0;
    int16_t equipo = 0;
    bool operator==(const jugadorcabecera&) const = default;
};

// What a saved match or a replay is, readable without playing it: it
// comes first in the file, before the packed match.
struct cabecera {
    uint16_t formato = 0; // of the file it was read from; not written
    std::string juego;    // the version of the game that wrote it
    std::string mapa;     // the map's name, empty when not known
    uint64_t huellamapa = 0;
    int64_t fecha = 0; // when the match started, in ms since 1970 (UTC); 0 when not known
    uint64_t ticks = 0;
    objetivo meta;
    reglas regla;        // headers older than the rules tell classic ones
    int16_t jugador = 0; // the slot of the copy that wrote it
    std::vector<jugadorcabecera> jugadores;
    int16_t fin = falso;
    int16_t ganador = -1;
    std::array<int32_t, 2> muertes{};
    bool operator==(const cabecera&) const = default;
};

// The game's version, as the header gives it.
const char* versionjuego();

// The digest of the map's terrain, for telling maps apart by content.
uint64_t huellaterreno(const mundo& m);

// The header of the match in `m` now, as the copy showing `jugador` sees
// it; `nombres` are the people's names by slot (empty: not known).
cabecera cabeceradepartida(const mundo& m, int16_t jugador, const std::string& mapa, int64_t fecha,
                           const std::array<std::string, numunidades>& nombres);

// The header as a block of its own: its length, then its fields, so a
// reader can take it alone.
void escribircabecera(escritor& w, const cabecera& c);
std::string leercabecera(lector& r, uint16_t version, cabecera& c);

// The header of a saved match or a replay of any format this version
// reads. Files of the first formats hold none: what it says is worked out
// from the match inside.
std::string leerinfo(const uint8_t* datos, std::size_t n, cabecera& c);

} // namespace juego
