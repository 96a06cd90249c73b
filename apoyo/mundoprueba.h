#pragma once

// A world for tests: the game core with a recording platform and helpers to
// lay out small maps and fighters by hand.

#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Juego/grabadora.h"
#include "Juego/mundo.h"

#include <string>
#include <vector>

namespace prueba {

// The tests' platform records what the core asks of the window.
using plataformaprueba = juego::grabadora;

struct mundoprueba {
    plataformaprueba plat;
    juego::mundo m{plat};

    mundoprueba() { m.Form_Load(); }

    // An all-grass map of ancho x alto cells with the given starts.
    static comun::plano plano(int ancho, int alto, comun::posicion s0, comun::posicion s1) {
        comun::plano p = comun::plano::vacio(int16_t(ancho - 1), int16_t(alto - 1));
        p.inicio = {s0, s1};
        return p;
    }

    void cargar(const comun::plano& p, int16_t maxp, int16_t tipo) {
        plat.ponertemporizador(false);
        m.cargarmapa(p, maxp, tipo);
        plat.ponertemporizador(true);
    }

    // Paints terrain on the loaded map.
    void terreno(int x, int y, int16_t t) { m.ponerterreno(x, y, t); }

    // Moves fighter i to (x, y), keeping the cells' occupants right.
    void mover(int16_t i, int16_t x, int16_t y) {
        juego::unidad& u = m.unidades[i];
        if (m.mapa(u.x, u.y).ocupante == i)
            m.mapa(u.x, u.y).ocupante = -1;
        u.x = x;
        u.y = y;
        m.mapa(x, y).ocupante = i;
    }

    // Sends every fighter but the listed ones far away to a corner so they
    // stay out of the scene under test.
    void apartar(std::vector<int16_t> quedan) {
        int16_t columna = m.anchomapa;
        for (int16_t i = 0; i < 2 * m.maxp; ++i) {
            bool queda = false;
            for (int16_t q : quedan)
                queda = queda || q == i;
            if (!queda)
                mover(i, columna--, m.altomapa);
        }
    }

    void tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            if (plat.temporizador())
                m.timer_Timer();
    }
};

} // namespace prueba
