#pragma once

#include "Comun/mapaarchivo.h"
#include "Comun/teclas.h"
#include "Juego/nucleo/cabecera.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/repeticion.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace juego {

class plataforma;

// The one door into a match. The window, the replay viewer, the network
// host and client, the dedicated server, the harness and the benchmarks all
// drive the match through here and read the world as const: a tick with its
// input, a stroke, a shot, the pause, a fighter handed to a person or back,
// a new match, a restore. Everything that changes the match is written into
// its record, so any match, local or over the network, can be kept,
// replayed or handed on. Each entry point returns what happened; the caller
// shows it.
//
// Which fighter this copy shows is the viewer's, not the match's: the world
// keeps a view and a status line for every slot, and the events of the
// status lines that reach the caller are those of `jugador()`.
class partida {
public:
    explicit partida(plataforma& p);
    ~partida();
    partida(const partida&) = delete;
    partida& operator=(const partida&) = delete;

    const mundo& juego() const { return mundo_; }

    // The slot this copy shows: its view, its status line, its keys.
    int16_t jugador() const { return jugador_; }
    // Shows slot `slot` from now on (a network player's own fighter); the
    // match itself does not change. Returns the status line it shows.
    sucesos ver(int16_t slot);
    // With nobody playing (a watched match) nothing moves the views, so the
    // view follows the shown slot's fighter.
    posicion vista() const;
    const std::string& estado() const { return mundo_.estados[std::size_t(jugador_)]; }

    // Checks a map and starts a match on it, the local player in slot 0. On
    // a map the game cannot play returns why, and the running match goes on
    // untouched.
    // `mapa` is the map's name the files of the match give; `al` sets every
    // slot's type or leaves every fighter to the computer (a watched match).
    std::string empezar(const comun::plano& p, int16_t maxp, int16_t tipo, sucesos& s,
                        objetivo o = {}, const std::string& mapa = {}, reglas r = {},
                        const alineacion& al = {});
    // The same from a map file.
    std::string cargar(const std::string& ruta, int16_t maxp, int16_t tipo, sucesos& s,
                       objetivo o = {}, reglas r = {}, const alineacion& al = {});
    // The match just started becomes a network match (every fighter the
    // computer's until somebody takes it); its record starts here.
    void hacerred();

    // Whether a tick would do anything now: a match runs and is not paused.
    bool corre() const;
    // One tick of the match with these inputs.
    sucesos tick(const entradatick& e);
    // One tick with the local player's arrow keys, read from `t` in the
    // order the tick has always read them (left, right, down, up); the keys
    // are read only when the tick runs.
    sucesos tick(comun::estadoteclas& t);
    sucesos aplicar(const accion& a);
    // The fighter of `slot` passes to a person (a network player joined) or
    // back to the computer (they left); `fresco`: a newcomer, who starts it
    // anew (see mundo::relevar).
    sucesos relevar(int16_t slot, bool humano, bool fresco = false);
    // A key the local player pressed: P pauses, S turns sound on or off
    // (the player's own switch, not part of the match), the space bar strikes.
    sucesos tecla(int16_t codigo);
    // A click on the play field at pixel (px, py) of the field seen from
    // `vista` (what is on screen; the match's own view when not given).
    sucesos clic(int px, int py);
    sucesos clic(int px, int py, posicion vista);
    // The match stops here where it is (a network match ended, a replay
    // was watched to its end): no tick runs and nothing comes in any more.
    // With `olvidar`, the record goes too: what is on the field is no match
    // played here.
    void detener(bool olvidar);

    // The whole match now, and a saved one back; a bad file changes nothing.
    // `guardar` leaves the match inside unpacked.
    std::vector<uint8_t> instantanea(bool guardar = false) const;
    // What the files of the match say it is, now.
    cabecera cabeceraactual() const;
    // The name a person playing `slot` goes by in the files (a network
    // player's); the computer's fighters are "Ordenador".
    void nombrar(int16_t slot, const std::string& nombre);
    std::string restaurar(const std::vector<uint8_t>& datos, sucesos& s);
    // A whole world laid out elsewhere (a scene a test built) becomes the
    // match, as a saved match of it would: the slot shown, the map's name
    // and the date stay, and the record starts afresh there. A world the
    // saved-match reader would refuse is refused the same way.
    std::string restaurar(const mundo& m, sucesos& s);
    // A saved match to play on alone: the one who saved it plays their
    // fighter again and the computer every other.
    std::string cargarsolo(const std::vector<uint8_t>& datos, sucesos& s);

    // What came in since the match started (or was restored).
    bool grabando() const { return grabando_; }
    // Its header tells the match as it stands now.
    const repeticion& grabacion() const;

    // Restores a replay's start, to watch it; a damaged start is told as a
    // damaged replay. Without `grabar` the steps played are not recorded
    // again: someone watching keeps nothing new, and a replay of millions of
    // steps does not fill the memory a second time.
    std::string empezarrepeticion(const repeticion& r, sucesos& s, bool grabar = true);
    // Restores a replay's start and plays every step of it, handing the
    // events of each step to `recibir` as they come (the restore's first):
    // a replay of millions of ticks keeps none of them.
    std::string reproducir(const repeticion& r,
                           const std::function<void(const sucesos&)>& recibir);
    // Applies one step of a replay once (a repeated tick counts one).
    sucesos aplicarpaso(const paso& p);

private:
    void empezargrabacion();
    // Adds a step to the record; true when the record just reached the most
    // a replay holds and stopped there.
    bool anotar(const paso& p);
    static sucesos conaviso(sucesos s, bool lleno);

    plataforma& plat_;
    mundo mundo_;
    int16_t jugador_ = 0;
    // What the files' headers tell that the world does not hold.
    std::string mapa_;
    int64_t fecha_ = 0;
    std::array<std::string, numunidades> nombres_{};
    mutable repeticion grabacion_;
    bool grabando_ = false;
    // The record is full: it keeps what it has and takes nothing more.
    bool lleno_ = false;
};

// The local player's controls as a match reads them for the slot it shows;
// whoever drives a world of its own (a test) reads them the same way.
//
// The arrow keys of `slot` for one tick, read from `t` in the order the tick
// has always read them (left, right, down, up).
entradatick entradalocal(comun::estadoteclas& t, int16_t slot);
// The events a copy showing `slot` hands on: the status lines of other
// slots are theirs.
sucesos delslot(sucesos s, int16_t slot);
// What a key the player of `slot` pressed asks of the match: P the pause,
// the space bar a stroke while a match is on. S switches the player's own
// sound at once, which is no part of the match, and asks nothing.
std::optional<accion> acciondetecla(plataforma& plat, const mundo& m, int16_t codigo,
                                    int16_t slot);
// A click of the player of `slot` at pixel (px, py) of the field seen from
// `vista`: a shot at that cell while a match is on.
std::optional<accion> acciondeclic(const mundo& m, int px, int py, posicion vista, int16_t slot);

// The largest saved match or replay the game reads.
inline constexpr std::size_t maxarchivo = 256u << 20;

// Reads a whole file of at most `maximo` bytes, or says why not in Spanish.
// Only regular files are opened, and never in a way that could block.
std::string leerbinario(const std::string& ruta, std::size_t maximo, std::vector<uint8_t>& datos);

// Writes a whole file so that whoever reads it finds the old file or the
// new one whole, never a cut one: a temporary file beside it, flushed to
// disk, then renamed over it. Returns why not in Spanish, the old file
// left as it was.
std::string escribirbinario(const std::string& ruta, const std::vector<uint8_t>& datos);

} // namespace juego
