#pragma once

#include "Comun/inicios.h"
#include "Comun/mapaarchivo.h"
#include "Juego/nucleo/azar.h"
#include "Juego/nucleo/entrada.h"
#include "Juego/nucleo/equilibrio.h"
#include "Juego/nucleo/reglas.h"
#include "Juego/nucleo/rejilla.h"
#include "Juego/nucleo/sucesos.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace juego {

class plataforma;
class busqueda;
struct pregunta;
struct respuesta;

using comun::falso;
using comun::pasox;
using comun::pasoy;
using comun::posicion;
using comun::verdadero;

inline constexpr int ladomapa = comun::ladorejilla;
inline constexpr int numunidades = 17;   // fighter slots 0..16
inline constexpr int numflechas = 101;   // arrow slots 0..100
inline constexpr int columnasvista = 40; // the view shows 40 x 30 cells
inline constexpr int filasvista = 30;
inline constexpr int tamcelda = 20; // pixels per cell side

// Fighter types.
inline constexpr int16_t arquero = 0;
inline constexpr int16_t guerrero = 1;

// What players call a team ("rojo", "azul"; the editor says it too) and a
// type ("Arquero", "Guerrero").
using comun::nombreequipo;
inline const char* nombretipo(int tipo) {
    return tipo == guerrero ? "Guerrero" : "Arquero";
}

struct unidad {
    int16_t vida = 0;
    int16_t tipo = 0;
    int16_t espera = 0;
    int16_t pose = 0;
    int16_t ataque = 0;
    int16_t moviendo = falso;
    int16_t x = 0;
    int16_t y = 0;
    int16_t sigx = 0;
    int16_t sigy = 0;
    int16_t destx = 0;
    int16_t desty = 0;
    int16_t direccion = 0;
    int16_t muerto = falso;
    std::string camino;
    // A deque, so that a step drops the front pair without moving the rest.
    std::deque<std::string> pasos;
    int16_t equipo = 0;
    int16_t muertes = 0;
    int16_t revivir = 0;
    int16_t armadura = 0;
    int16_t siguiendo = falso;
    int16_t atacando = falso;
    int16_t buscando = falso;
    int16_t bloqueos = 0;
    int16_t bajas = 0; // times this fighter died, for the scoreboard
    // Ticks of safety left after coming back under the balanced rules (0:
    // none); the field draws it as an outline that fades as it runs out.
    int16_t proteccion = 0;
    // Ticks left of a sword fighter's raised shield after an arrow hit it
    // (balanced rules).
    int16_t cubierto = 0;
};
// The longest safety after coming back: two seconds of ticks.
inline constexpr int16_t maxproteccion = 16;

struct flecha {
    double x = 0;
    double y = 0;
    int16_t destx = 0;
    int16_t desty = 0;
    double velx = 0;
    double vely = 0;
    int16_t activa = falso;
    int16_t direccion = 0;
    int16_t velocidad = 0;
    int16_t tirador = 0;
};

// What ends a match: nothing (the endless match), a number of kills of one
// team, or a time. The team with more kills wins; equal kills is a draw.
enum class tipoobjetivo : int16_t { ninguno = 0, muertes = 1, tiempo = 2 };

struct objetivo {
    tipoobjetivo tipo = tipoobjetivo::ninguno;
    int16_t valor = 0; // kills, or seconds
    bool operator==(const objetivo&) const = default;
};

// What a person asked for while their fighter was still recovering, kept
// for the first tick it can act (balanced rules only): one per slot, the
// latest request winning.
enum class tipopendiente : int16_t { nada = 0, paso = 1, golpe = 2, tiro = 3 };

struct pendiente {
    tipopendiente tipo = tipopendiente::nada;
    int16_t x = 0; // the direction of a step; the aimed cell of a shot
    int16_t y = 0;
    bool operator==(const pendiente&) const = default;
};

// Who is in a match and of which type, when the caller sets it rather than
// the usual alternation: `fijos` gives every slot its type, `espectador`
// leaves every fighter to the computer (the view follows slot 0).
struct alineacion {
    bool fijos = false;
    std::array<int16_t, numunidades> tipos{};
    bool espectador = false;
};

struct tipobase {
    int16_t ataque = 0;
    int16_t armadura = 0;
};

// The whole state of the game and every procedure that changes it. Only
// the core writes it: `partida` owns the world and hands it out as const,
// so the window, the network peers, the server, the harness and the
// benchmarks change it through `partida` alone, which records every change.
// A test that needs a scene laid out by hand builds a world of its own and
// hands it to a match through `partida::restaurar`, as a saved match.
// The input of a tick comes in as a value, and what happened goes out as
// events; only drawing, the pause timer and the sound switch go through
// `plataforma`.
class mundo {
public:
    explicit mundo(plataforma& p);
    ~mundo();
    mundo(const mundo&) = delete;
    mundo& operator=(const mundo&) = delete;

    // --- state ---------------------------------------------------------
    int16_t anchomapa = 0;
    int16_t altomapa = 0;
    std::array<unidad, numunidades> unidades{};
    int16_t maxp = 0;
    std::array<flecha, numflechas> flechas{};
    std::array<posicion, 3> inicio{};
    std::array<tipobase, 3> tipos{};
    int16_t jugando = falso;
    // Ticks run since the match started.
    uint32_t numtick = 0;
    // The goal of the match and whether it is over: once it is, nothing
    // changes the state any more. `ganador` is the winning team, or -1 for
    // a draw.
    objetivo meta;
    // The rules the match plays by, fixed when it starts.
    reglas regla;
    bool equilibradas() const { return regla.modo == modoreglas::equilibradas; }
    const valores& valor() const { return valoresde(regla); }
    // The team whose computer fighters play at the chosen difficulty: the
    // one against slot 0's. The difficulty measures the computer against a
    // person: with nobody playing (a watched match, a network match nobody
    // joined yet) both teams play as a person's allies do, so neither side
    // is favoured and the fighters' own balance shows.
    int16_t rival() const { return unidades[0].equipo == 0 ? int16_t(1) : int16_t(0); }
    bool conpersonas() const {
        for (int16_t h : humano)
            if (h == verdadero)
                return true;
        return false;
    }
    ajuste ajustedeequipo(int16_t equipo) const {
        return equipo == rival() && conpersonas() ? ajustede(regla) : edicionde(regla).aliados;
    }
    // The balanced rules' random source, and each slot's queued action.
    azarpropio suerte;
    std::array<pendiente, numunidades> pendientes{};
    // The archers' lag summed over the ticks of the match (see
    // atrasoarqueros), kept within what the weighing can use.
    int32_t balanza = 0;
    int16_t fin = falso;
    int16_t ganador = -1;
    // The pause: while it holds no tick runs.
    int16_t pausado = falso;
    // Slots whose fighter a person steers with the keys; every other slot is
    // the computer's.
    std::array<int16_t, numunidades> humano{};
    // What a person steering each slot sees: the top left cell of its view,
    // which follows the fighter as it walks and comes back, and its status
    // line as the last tick (or the match start) wrote it. Every copy of a
    // network match keeps them for every slot alike, so that which slot a
    // copy shows is no part of the match (see partida::jugador).
    std::array<posicion, numunidades> vistas{};
    std::array<std::string, numunidades> estados{};

    // Cell (x, y) of the grid. Reading never changes anything; cells are
    // written only through the setters below and the arrow marks.
    const celda& mapa(int x, int y) const { return celdas_.mapa(x, y); }
    const rejilla& celdas() const { return celdas_; }
    static bool enrejilla(int x, int y) { return rejilla::enrejilla(x, y); }
    // Every change of a cell's terrain goes through here: the walkable flag
    // follows the kind, and the grid's terrain version, which the path
    // search trusts, moves on. Cells outside the grid are left alone.
    void ponerterreno(int x, int y, int16_t t);
    // The fighter that last entered cell (x, y), or -1.
    void ponerocupante(int x, int y, int16_t k);

    // --- window load and match set-up -----------------------------------
    void Form_Load();
    // Why the game cannot play a map that the file reader accepted, or an
    // empty text when it can.
    static std::string errorpartida(const comun::plano& p);
    // Checks a map and a line-up and starts a match on them (cargarmapa),
    // the window's timer running; on what the game cannot play returns why
    // and changes nothing.
    std::string empezar(const comun::plano& p, int16_t maxp, int16_t tipo, sucesos& s,
                        objetivo o = {}, reglas r = {}, const alineacion& al = {});
    // Loads a whole, checked map and starts the match on it, with the local
    // player in slot 0 (`empezar` checks the map first).
    sucesos cargarmapa(const comun::plano& p, int16_t maxp, int16_t tipo, objetivo o = {},
                       reglas r = {}, const alineacion& al = {});
    // Kills of team e so far.
    int32_t muertesequipo(int16_t e) const;
    // Clears the grid and lays out the storage for a map of (ancho + 1) x
    // (alto + 1) cells, which it takes as its size.
    void limpiarmapa(int16_t ancho = 0, int16_t alto = 0);
    // Terrain writing is over (a map or a saved match was loaded): the search
    // works out what it keeps of the terrain now, not in the first tick.
    void terrenolisto();
    // Calls f for every grid cell outside the map that is not as a cleared
    // cell: what the rules wrote there.
    void recorrerfuera(const std::function<void(int16_t, int16_t, const celda&)>& f) const;
    void colocarequipo(int16_t e);

    // --- cell tests and view --------------------------------------------
    bool celdalibre(int16_t x, int16_t y) const;
    bool celdasinvivos(int16_t x, int16_t y) const;
    // Keeps every slot's view over the map.
    void ajustarvista();
    // A view origin `v` kept over the map; on a map narrower than the view
    // the origin ends up negative, and drawing shows black beyond the map.
    posicion vistaajustada(posicion v) const { return vistasobre(v, anchomapa, altomapa); }
    // The same over a map of ancho x alto cells past the first (what frames
    // drawn from the world use too).
    static posicion vistasobre(posicion v, int16_t ancho, int16_t alto);
    // How far an archer reckons a target dx columns and dy rows away: the
    // longer axis plus 0.42 of the shorter one, a cheap stand-in for the
    // straight line.
    static double distanciaarco(int dx, int dy) {
        const double a = std::abs(dx);
        const double b = std::abs(dy);
        return a != b ? std::max(a, b) + 0.42 * std::min(a, b) : 1.42 * a;
    }
    // The view with fighter i in its middle, kept over the map.
    posicion vistaen(int16_t i) const {
        const unidad& u = unidades[std::size_t(i)];
        return vistaajustada({int16_t(u.x - 20), int16_t(u.y - 15)});
    }
    // The view that follows slot i's fighter, as a step or a return sets it.
    void seguir(int16_t i) { vistas[std::size_t(i)] = vistaen(i); }
    // The cell under pixel (px, py) of the play field seen from view `v`.
    static posicion celdadepixel(posicion v, int px, int py);

    // --- tick and input ----------------------------------------------------
    // Whether a tick would do anything now: a match is on, not paused and
    // not over.
    bool corre() const { return jugando == verdadero && pausado != verdadero && fin != verdadero; }
    // What the player of slot `slot` sees: with nobody playing (a watched
    // match) nothing moves the views, so the view follows that slot's
    // fighter.
    posicion vistade(int16_t slot) const;
    // One tick with the arrow keys of the human slots. Does nothing before a
    // match or while paused.
    sucesos timer_Timer(const entradatick& e);
    // A stroke, a shot or the pause key, between ticks.
    sucesos aplicar(const accion& a);
    // The balanced rules' weighing of the types (equilibrio.h): hundredths
    // of a kill per fighter that the computer's archers are behind its
    // sword fighters now (negative: ahead), with how many fighters the
    // computer has of the type it has fewer of (empty when it does not
    // play both types), and hundredths of the damage fighters of type
    // `tipo` deal now.
    struct atraso {
        int32_t bajas;
        int16_t luchadores;
    };
    std::optional<atraso> atrasoarqueros() const;
    int16_t pesodetipo(int16_t tipo) const;
    // Adds this tick's lag to `balanza`.
    void pesartipos();
    bool eshumano(int16_t i) const { return i >= 0 && i < numunidades && humano[i] == verdadero; }
    // Rewrites every slot's status line, and says so slot by slot.
    void mostrarestado();
    std::string textoestado(int16_t i) const;
    // The fighter of `slot` passes to a person or back to the computer.
    // Whatever the computer was planning is dropped, so it plans afresh
    // from where the person left the fighter rather than jumping along an
    // old path; a person's view starts on the fighter. With `fresco` (a
    // newcomer takes it) the fighter starts anew as one coming back does:
    // full life if alive, its type's own attack and armour; its kills stay
    // on the scoreboard.
    void relevar(int16_t slot, bool humano, bool fresco = false);
    // A network match is everyone's: the fighter of slot 0 loses the lone
    // player's head start and goes to the computer until somebody takes it.
    void prepararred();
    void sonar(const std::string& nombre, int16_t x, int16_t y);
    // Takes the events that procedures called directly (by tests) left.
    sucesos recoger() { return std::exchange(salida_, {}); }

    // --- combat ------------------------------------------------------------
    void espacio(int16_t a);
    void clic(int16_t a, int16_t cx, int16_t cy);
    void atacar(int16_t a, int16_t tx, int16_t ty);
    void disparar(int16_t a, int16_t sx, int16_t sy, int16_t tx, int16_t ty);
    void borrarflecha(int16_t k);
    // Every arrow mark on the grid goes through these two, so each arrow
    // knows the few cells it marks and clearing it needs no search.
    void marcarflecha(int16_t k, int16_t x, int16_t y);
    void desmarcarflecha(int16_t x, int16_t y);
    void moverflechas();
    void herir(int16_t v, int16_t atk, int16_t k);
    void subirnivel(int16_t k);
    void reaparecer(int16_t i);

    // --- computer fighters -------------------------------------------------
    void decidirataque(int16_t i);
    void perseguir(int16_t i);
    bool encerrado(int16_t i) const;
    void orientar(int16_t i, int16_t dx, int16_t dy, int16_t hx, int16_t hy);
    void caminar(int16_t i);

    // --- path search -------------------------------------------------------
    // Fighter i looks for a way to (destx, desty); nothing happens while
    // it is searching already, when the destination cannot be stepped on,
    // or when it stands off the map.
    void buscarcamino(int16_t i);
    bool celdapasable(int16_t x, int16_t y, int16_t i) const;
    // What fighter i's search asks, and what the fighter makes of the
    // answer: the path in camino and pasos, and where the search left off.
    pregunta preguntacamino(int16_t i) const;
    static void seguircamino(unidad& u, const respuesta& r);
    const busqueda& buscador() const { return *busqueda_; }

    plataforma& plat;
    azar rnd;

private:
    void turnojugador(int16_t h, const teclasflechas& t);
    // What the person queued, done now that the fighter can act: true when
    // it struck or shot, which is its whole turn.
    bool hacerpendiente(int16_t h);
    // One of `n` equal choices: the first under the classic rules, a drawn
    // one under the balanced rules.
    int16_t elegir(int16_t n);
    void comprobarfin();
    void avisar(tiposuceso tipo, int16_t a, int16_t b, int16_t x, int16_t y);

    sucesos salida_; // what happened since the last entry point returned
    // The cells each arrow slot marked and has not cleared itself: its
    // launch cell and the cell it flies over, so two at most.
    struct marcas {
        std::array<posicion, 2> celdas{};
        int16_t n = 0;
    };
    std::array<marcas, numflechas> marcas_{};
    rejilla celdas_;
    std::unique_ptr<busqueda> busqueda_;
};

} // namespace juego
