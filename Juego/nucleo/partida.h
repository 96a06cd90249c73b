#pragma once

#include "Comun/mapaarchivo.h"
#include "Comun/teclas.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/repeticion.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace juego {

class plataforma;

// A match as the window, the headless harness and the tests drive it: the
// world, plus the record of everything that came in since the match
// started, so any match can be kept, replayed or handed on. Each entry point
// returns what happened; the caller shows it.
class partida {
public:
    explicit partida(plataforma& p);
    ~partida();
    partida(const partida&) = delete;
    partida& operator=(const partida&) = delete;

    mundo& juego() { return mundo_; }
    const mundo& juego() const { return mundo_; }

    // Checks a map and starts a match on it, the local player in slot 0. On
    // a map the game cannot play returns why, and the running match goes on
    // untouched.
    std::string empezar(const comun::plano& p, int16_t maxp, int16_t tipo, sucesos& s,
                        objetivo o = {});
    // The same from a map file.
    std::string cargar(const std::string& ruta, int16_t maxp, int16_t tipo, sucesos& s,
                       objetivo o = {});

    // Whether a tick would do anything now: a match runs and is not paused.
    bool corre() const;
    // One tick of the match with these inputs.
    sucesos tick(const entradatick& e);
    // One tick with the local player's arrow keys, read from `t` in the
    // order the tick has always read them (left, right, down, up); the keys
    // are read only when the tick runs.
    sucesos tick(comun::estadoteclas& t);
    sucesos aplicar(const accion& a);
    // A key the local player pressed: P pauses, S turns sound on or off
    // (the player's own switch, not part of the match), the space bar strikes.
    sucesos tecla(int16_t codigo);
    // A click on the play field at pixel (px, py).
    sucesos clic(int px, int py);

    // The whole match now, and a saved one back; a bad file changes nothing.
    std::vector<uint8_t> instantanea() const;
    std::string restaurar(const std::vector<uint8_t>& datos, sucesos& s);

    // What came in since the match started (or was restored).
    bool grabando() const { return grabando_; }
    // The record is dropped: what is on the field is no match played here
    // (the last frame of a replay watched to its end).
    void olvidargrabacion();
    const repeticion& grabacion() const { return grabacion_; }

    // Restores a replay's start and plays every step of it.
    std::string reproducir(const repeticion& r, sucesos& s);
    // Applies one step of a replay once (a repeated tick counts one).
    sucesos aplicarpaso(const paso& p);

private:
    void empezargrabacion();

    plataforma& plat_;
    mundo mundo_;
    repeticion grabacion_;
    bool grabando_ = false;
};

// Reads a whole file of at most `maximo` bytes, or says why not in Spanish.
// Only regular files are opened, and never in a way that could block.
std::string leerbinario(const std::string& ruta, std::size_t maximo, std::vector<uint8_t>& datos);

} // namespace juego
