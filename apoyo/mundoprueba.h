#pragma once

// Worlds for tests. The core writes a match's world alone; a test that needs
// a scene laid out by hand (a fighter moved, a wall painted) lays it out in
// a world of its own, and hands it to a match the way a saved match comes
// back: through a restore.
//
// - mundoprueba: a world the test owns, driven with the core's own calls
//   (the ones partida makes), for the procedures of the core themselves.
// - partidaprueba: a match, driven through partida and read as const, for
//   what partida does (records, replays, snapshots, the network); its
//   scenes come in through escena().

#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Juego/nucleo/cabecera.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/instantanea.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/partida.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace prueba {

// The tests' platform records what the core asks of the window.
using plataformaprueba = juego::grabadora;

// An all-grass map of ancho x alto cells with the given starts.
inline comun::plano planovacio(int ancho, int alto, comun::posicion s0, comun::posicion s1) {
    comun::plano p = comun::plano::vacio(int16_t(ancho - 1), int16_t(alto - 1));
    p.inicio = {s0, s1};
    return p;
}

struct mundoprueba {
    plataformaprueba plat;
    // The test's own world, which the player of slot 0 plays.
    juego::mundo m{plat};

    mundoprueba() { m.Form_Load(); }

    static comun::plano plano(int ancho, int alto, comun::posicion s0, comun::posicion s1) {
        return planovacio(ancho, alto, s0, s1);
    }

    void cargar(const comun::plano& plano, int16_t maxp, int16_t tipo) {
        juego::sucesos s;
        const std::string error = m.empezar(plano, maxp, tipo, s);
        if (!error.empty())
            throw std::runtime_error(error);
        plat.recibir(juego::delslot(s, 0));
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
    // them (none while paused; the keys are read only when a tick runs).
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            if (m.corre())
                plat.recibir(
                    juego::delslot(m.timer_Timer(juego::entradalocal(plat.teclas, 0)), 0));
    }

    // A key press and a click of the local player, as the window hands them
    // on; what happened.
    juego::sucesos tecla(int16_t codigo) {
        return hacer(juego::acciondetecla(plat, m, codigo, 0));
    }
    juego::sucesos clic(int px, int py) {
        return hacer(juego::acciondeclic(m, px, py, vista(), 0));
    }
    juego::posicion vista() const { return m.vistade(0); }

    // Hands the events that procedures called directly left to the platform.
    void recoger() { plat.recibir(m.recoger()); }

    // The world as a saved match, and back from one (the reader's checks
    // and error included).
    std::vector<uint8_t> instantanea() const {
        return juego::escribirinstantanea(m, juego::cabeceradepartida(m, 0, {}, 0, {}));
    }
    std::string restaurar(const std::vector<uint8_t>& datos) {
        juego::cabecera c;
        return juego::leerinstantanea(datos.data(), datos.size(), m, c);
    }

private:
    juego::sucesos hacer(const std::optional<juego::accion>& a) {
        if (!a)
            return {};
        juego::sucesos s = juego::delslot(m.aplicar(*a), 0);
        plat.recibir(s);
        return s;
    }
};

// Lays a scene out on the match of `p`: the match as it stands is read into
// a world of the test's own, `f` changes it there, and the match restarts
// from it. Its record starts there too: a scene laid by hand is a new start.
inline void escena(juego::partida& p, const std::function<void(mundoprueba&)>& f) {
    mundoprueba w;
    std::string error = w.restaurar(p.instantanea());
    if (error.empty()) {
        f(w);
        juego::sucesos s;
        error = p.restaurar(w.m, s);
    }
    if (!error.empty())
        throw std::runtime_error(error);
}

struct partidaprueba {
    plataformaprueba plat;
    juego::partida p{plat};
    const juego::mundo& m = p.juego();

    static comun::plano plano(int ancho, int alto, comun::posicion s0, comun::posicion s1) {
        return planovacio(ancho, alto, s0, s1);
    }

    void cargar(const comun::plano& plano, int16_t maxp, int16_t tipo) {
        juego::sucesos s;
        const std::string error = p.empezar(plano, maxp, tipo, s);
        if (!error.empty())
            throw std::runtime_error(error);
        plat.recibir(s);
    }

    void escena(const std::function<void(mundoprueba&)>& f) { prueba::escena(p, f); }

    void tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            plat.recibir(p.tick(plat.teclas));
    }
    void tecla(int16_t codigo) { plat.recibir(p.tecla(codigo)); }
    void clic(int px, int py) { plat.recibir(p.clic(px, py)); }
    juego::posicion vista() const { return p.vista(); }
};

} // namespace prueba
