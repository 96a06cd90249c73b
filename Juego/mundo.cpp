#include "Juego/mundo.h"

#include "Comun/terreno.h"
#include "Juego/busqueda.h"
#include "Juego/plataforma.h"

namespace juego {

mundo::mundo(plataforma& p)
    : plat(p), mapa_(std::size_t(ladomapa) * ladomapa), busqueda_(std::make_unique<busqueda>()) {}

mundo::~mundo() = default;

void mundo::Form_Load() {
    tipos[arquero] = {20, 0};
    tipos[guerrero] = {14, 4};
}

std::string mundo::errorpartida(const comun::plano& p) {
    // Fighters spawn on the eight cells around a start; a start on the first
    // or last column or row of the grid would put some of them outside it.
    for (int e = 0; e < 2; ++e) {
        const comun::posicion s = p.inicio[e];
        if (s.x == 0 || s.y == 0 || s.x == ladomapa - 1 || s.y == ladomapa - 1)
            return "El inicio del equipo " + std::to_string(e) + " (" + std::to_string(s.x) +
                   ", " + std::to_string(s.y) +
                   ") está en el borde de la rejilla: no hay sitio para colocar a su equipo "
                   "alrededor.";
    }
    return {};
}

void mundo::limpiarmapa() {
    anchomapa = 0;
    altomapa = 0;
    vistax = 0;
    vistay = 0;
    // Every cell at once rather than through ponerterreno: the search is
    // told once below.
    for (celda& c : mapa_) {
        c.terreno = comun::pasto;
        c.transitable = verdadero;
        c.ocupante = -1;
        c.proyectil = -1;
    }
    busqueda_->terrenocambiado();
}

void mundo::ponerterreno(int x, int y, int16_t t) {
    if (!enrejilla(x, y))
        return;
    celda& c = mapa(x, y);
    c.terreno = t;
    c.transitable = comun::transitable(t) ? verdadero : falso;
    busqueda_->terrenocambiado();
}

void mundo::cargarmapa(const comun::plano& p, int16_t nuevomaxp, int16_t tipo) {
    limpiarmapa();
    anchomapa = p.anchomapa;
    altomapa = p.altomapa;
    for (int y = 0; y <= altomapa; ++y)
        for (int x = 0; x <= anchomapa; ++x)
            ponerterreno(x, y, p.terreno(x, y));
    for (int e = 0; e < 2; ++e)
        inicio[e] = {p.inicio[e].x, p.inicio[e].y};

    maxp = nuevomaxp;
    jugador = 0;
    unidades[jugador].equipo = 0;
    unidades[jugador].tipo = tipo;

    colocarequipo(0);
    colocarequipo(1);

    unidad& j = unidades[jugador];
    j.ataque += 5;
    j.armadura += 3;
    // The status line is written before the sword fighter's extra point, so
    // it shows one less until the first tick rewrites it.
    mostrarestado();
    if (j.tipo == guerrero)
        j.ataque += 1;
    jugando = verdadero;

    // The search works out what it keeps of the terrain now, not in the
    // first tick of the match.
    busqueda_->nuevomapa(*this);
}

void mundo::colocarequipo(int16_t e) {
    const int primero = e * maxp;
    for (int i = primero; i < primero + maxp; ++i) {
        unidad& u = unidades[i];
        if (i != jugador)
            u.tipo = (i % 2 == 1) ? arquero : guerrero;
        u.armadura = tipos[u.tipo].armadura;
        u.ataque = tipos[u.tipo].ataque;
        u.atacando = falso;
        u.moviendo = falso;
        u.buscando = falso;
        u.espera = 0;
        u.direccion = int16_t(rnd.siguiente() * 8);
        u.equipo = e;
        u.siguiendo = falso;
        u.muertes = 0;
        u.muerto = falso;
        u.bloqueos = 0;
        u.pose = 0;
        u.revivir = 0;
        u.vida = 100;
        u.x = 0;
        u.y = 0;
    }

    const int16_t sx = inicio[e].x;
    const int16_t sy = inicio[e].y;
    int siguiente = primero;
    int16_t cx = sx - 1;
    int16_t cy = sy - 1;
    while (siguiente < primero + maxp) {
        if (cx != sx || cy != sy) {
            unidad& u = unidades[siguiente];
            u.x = cx;
            u.y = cy;
            if (enrejilla(cx, cy))
                mapa(cx, cy).ocupante = int16_t(siguiente);
            ++siguiente;
        }
        ++cx;
        if (cx > sx + 1) {
            cx = sx - 1;
            ++cy;
        }
    }
}

bool mundo::celdalibre(int16_t x, int16_t y) const {
    if (x < 0 || y < 0 || x > anchomapa || y > altomapa)
        return false;
    const celda& c = mapa(x, y);
    if (c.transitable != verdadero)
        return false;
    if (c.ocupante < 0)
        return true;
    return unidades[c.ocupante].muerto == verdadero;
}

bool mundo::celdasinvivos(int16_t x, int16_t y) const {
    if (x < 0 || y < 0 || x > anchomapa || y > altomapa)
        return false;
    const celda& c = mapa(x, y);
    if (c.ocupante < 0)
        return true;
    return unidades[c.ocupante].muerto == verdadero;
}

void mundo::ajustarvista() {
    if (vistax < 0)
        vistax = 0;
    if (vistay < 0)
        vistay = 0;
    // The upper clamp comes last: on a map narrower than the view the origin
    // ends up negative, and drawing shows black beyond the map.
    if (vistax + (columnasvista - 1) > anchomapa)
        vistax = int16_t(anchomapa - (columnasvista - 1));
    if (vistay + (filasvista - 1) > altomapa)
        vistay = int16_t(altomapa - (filasvista - 1));
}

std::string mundo::textoestado() const {
    const unidad& j = unidades[jugador];
    return "Vida: " + std::to_string(j.vida) + " - Muertes: " + std::to_string(j.muertes) +
           " - Ataque: " + std::to_string(j.ataque) + " - Armadura: " + std::to_string(j.armadura);
}

void mundo::mostrarestado() {
    plat.mostrar(textoestado());
}

void mundo::sonar(const std::string& nombre) {
    if (plat.sonido() != 1)
        return;
    plat.reproducir(nombre);
}

} // namespace juego
