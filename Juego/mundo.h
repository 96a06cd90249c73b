#pragma once

#include "Comun/mapaarchivo.h"
#include "Juego/azar.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace juego {

class plataforma;
class busqueda;

// Flags hold -1 for true and 0 for false, and are tested against -1.
inline constexpr int16_t verdadero = -1;
inline constexpr int16_t falso = 0;

inline constexpr int ladomapa = 1000;       // the grid is 1000 x 1000 cells
inline constexpr int numunidades = 17;      // fighter slots 0..16
inline constexpr int numflechas = 101;      // arrow slots 0..100
inline constexpr int columnasvista = 40;    // the view shows 40 x 30 cells
inline constexpr int filasvista = 30;
inline constexpr int tamcelda = 20;         // pixels per cell side

// Column and row change of one step in each facing: 0 up-left, 1 up,
// 2 up-right, 3 right, 4 down-right, 5 down, 6 down-left, 7 left.
inline constexpr std::array<int16_t, 8> pasox = {-1, 0, 1, 1, 1, 0, -1, -1};
inline constexpr std::array<int16_t, 8> pasoy = {-1, -1, -1, 0, 1, 1, 1, 0};

// Fighter types.
inline constexpr int16_t arquero = 0;
inline constexpr int16_t guerrero = 1;

struct celda {
    int16_t terreno = 0;
    int16_t transitable = verdadero;
    int16_t ocupante = -1;  // fighter that last entered the cell
    int16_t proyectil = -1; // arrow last marked over the cell
};

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
};

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

struct posicion {
    int16_t x = 0;
    int16_t y = 0;
};

struct tipobase {
    int16_t ataque = 0;
    int16_t armadura = 0;
};

// The whole state of the game and every procedure that changes it. The
// window, the headless harness and the tests drive this same object; what it
// needs from the outside world goes through `plataforma`.
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
    int16_t jugador = 0;
    std::array<flecha, numflechas> flechas{};
    std::array<posicion, 3> inicio{};
    std::array<tipobase, 3> tipos{};
    int16_t vistax = 0;
    int16_t vistay = 0;
    int16_t jugando = falso;

    // Cell (x, y) of the grid; callers keep x and y inside 0..999.
    celda& mapa(int x, int y) { return mapa_[std::size_t(y) * ladomapa + std::size_t(x)]; }
    const celda& mapa(int x, int y) const {
        return mapa_[std::size_t(y) * ladomapa + std::size_t(x)];
    }
    static bool enrejilla(int x, int y) { return x >= 0 && y >= 0 && x < ladomapa && y < ladomapa; }
    // Every change of a cell's terrain goes through here: the walkable flag
    // follows the kind, and the path search drops what it worked out from
    // the terrain before. Cells outside the grid are left alone.
    void ponerterreno(int x, int y, int16_t t);

    // --- window load and match set-up -----------------------------------
    void Form_Load();
    // Why the game cannot play a map that the file reader accepted, or an
    // empty text when it can.
    static std::string errorpartida(const comun::plano& p);
    // Loads a whole, checked map and starts the match on it. The window
    // switches the timer off before and draws and switches it on after.
    void cargarmapa(const comun::plano& p, int16_t maxp, int16_t tipo);
    void limpiarmapa();
    void colocarequipo(int16_t e);

    // --- cell tests and view --------------------------------------------
    bool celdalibre(int16_t x, int16_t y) const;
    bool celdasinvivos(int16_t x, int16_t y) const;
    void ajustarvista();

    // --- tick and input ----------------------------------------------------
    void timer_Timer();
    void Form_KeyDown(int16_t codigo);
    void mainpic_MouseDown(int px, int py);
    void mostrarestado();
    std::string textoestado() const;
    void sonar(const std::string& nombre);

    // --- combat ------------------------------------------------------------
    void atacar(int16_t a, int16_t tx, int16_t ty);
    void disparar(int16_t a, int16_t sx, int16_t sy, int16_t tx, int16_t ty);
    void borrarflecha(int16_t k);
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
    void buscarcamino(int16_t i);
    bool celdapasable(int16_t x, int16_t y, int16_t i) const;

    plataforma& plat;
    azar rnd;

private:
    std::vector<celda> mapa_;
    std::unique_ptr<busqueda> busqueda_;
};

} // namespace juego
