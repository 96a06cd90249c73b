#pragma once

#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/pregunta.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace referencia {

// How the last search went, so that the differential test can make sure its
// maps reach the situations they are meant to reach.
struct informe {
    bool encontrado = false;
    bool lleno = false;   // some reached cell found all 1000 entries in use
    bool perdida = false; // the destination was one of them
    bool tope = false;    // it ended with waiting cells whose F was 9999 or more
    int tomadas = 0;      // nodes taken
    int maximo = 0;       // most entries in use at once
};

// The path search done the plain way, one step after another: the search
// fields of every map cell cleared before each search, a 1000-entry array
// kept in queue order and scanned from the front at every pick. It is slow on purpose; the game's
// search must give exactly what this one gives. Unlike the plain method it
// never hands control to an event loop, and it stops with no path as soon as
// no waiting cell can be taken, where the plain method could spin for ever.
//
// It reads the world and answers as the game's search does (a path or a
// failure, and where it left its current node), for the caller to compare;
// no answer at all when the fighter may not search (already searching, a
// destination it cannot step on, standing off the map), which leaves the
// fighter as it was.
class buscador {
public:
    std::optional<juego::respuesta> buscarcamino(const juego::mundo& m, int16_t i);
    informe ultimo;

private:
    struct nodo {
        int16_t x = 0;
        int16_t y = 0;
        int16_t usado = juego::falso;
    };

    // The search fields of one map cell, and the spare word after them.
    struct campos {
        int16_t costof = 0;
        int16_t costog = 0;
        int16_t costoh = 0;
        int16_t padrex = 0;
        int16_t padrey = 0;
        int16_t cerrada = juego::falso;
        int16_t abierta = juego::falso;
        int16_t libre = 0;
    };
    campos& mapa(int x, int y) { return celdas[std::size_t(y) * ancho + std::size_t(x)]; }

    bool celdapasable(const juego::mundo& m, int16_t x, int16_t y, int16_t i) const;
    void limpiarbusqueda(const juego::mundo& m);
    void expandir(const juego::mundo& m, int16_t i);
    bool agregarabierto(int16_t x, int16_t y);
    bool mejorabierto();
    bool hayabiertos() const { return abiertos[0].usado == juego::verdadero; }

    std::array<nodo, 1000> abiertos{};
    std::vector<campos> celdas; // the map's cells, row after row
    int ancho = 0;
    int16_t sigx = 0; // the current node
    int16_t sigy = 0;
    int16_t mejorx = 0;
    int16_t mejory = 0;
    int16_t descartes = 0;
};

} // namespace referencia
