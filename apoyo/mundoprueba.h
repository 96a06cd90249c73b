#pragma once

// A world for tests: the game core with a recording platform and helpers to
// lay out small maps and fighters by hand.

#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/partida.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace prueba {

// The tests' platform records what the core asks of the window.
using plataformaprueba = juego::grabadora;

struct mundoprueba {
    plataformaprueba plat;
    juego::partida p{plat};
    juego::mundo& m = p.mundo_;

    // An all-grass map of ancho x alto cells with the given starts.
    static comun::plano plano(int ancho, int alto, comun::posicion s0, comun::posicion s1) {
        comun::plano p = comun::plano::vacio(int16_t(ancho - 1), int16_t(alto - 1));
        p.inicio = {s0, s1};
        return p;
    }

    void cargar(const comun::plano& plano, int16_t maxp, int16_t tipo) {
        juego::sucesos s;
        const std::string error = p.empezar(plano, maxp, tipo, s);
        if (!error.empty())
            throw std::runtime_error(error);
        plat.recibir(s);
    }

    // Paints terrain on the loaded map.
    void terreno(int x, int y, int16_t t) { m.ponerterreno(x, y, t); }

    // Moves fighter i to (x, y), keeping the cells' occupants right.
    void mover(int16_t i, int16_t x, int16_t y) {
        juego::unidad& u = m.unidades[i];
        if (m.mapa(u.x, u.y).ocupante == i)
            m.ponerocupante(u.x, u.y, -1);
        u.x = x;
        u.y = y;
        m.ponerocupante(x, y, i);
    }

    // n ticks with the keys held in `plat.teclas`, as the window's timer runs
    // them (none while paused).
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            plat.recibir(p.tick(plat.teclas));
    }

    // A key press and a click of the local player, as the window hands them on.
    void tecla(int16_t codigo) { plat.recibir(p.tecla(codigo)); }
    void clic(int px, int py) { plat.recibir(p.clic(px, py)); }

    // Hands the events that procedures called directly left to the platform.
    void recoger() { plat.recibir(m.recoger()); }

    // The world behind a match a test did not build itself (the game
    // window's), to lay a scene out by hand.
    static juego::mundo& escribible(juego::partida& otra) { return otra.mundo_; }
};

} // namespace prueba
