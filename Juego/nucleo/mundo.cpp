#include "Juego/nucleo/mundo.h"

#include <algorithm>

#include "Comun/inicios.h"
#include "Comun/terreno.h"
#include "Juego/nucleo/busqueda.h"
#include "Juego/nucleo/plataforma.h"

namespace juego {

mundo::mundo(plataforma& p) : plat(p), busqueda_(std::make_unique<busqueda>()) {}

mundo::~mundo() = default;

void mundo::Form_Load() {
    tipos[arquero] = {20, 0};
    tipos[guerrero] = {14, 4};
}

std::string mundo::errorpartida(const comun::plano& p) {
    // The editor saves nothing that fails this same check.
    return comun::errorinicios(p);
}

std::string mundo::empezar(const comun::plano& p, int16_t nuevomaxp, int16_t tipo, sucesos& s,
                           objetivo o, reglas r, const alineacion& al) {
    if (std::string e = errorpartida(p); !e.empty())
        return e;
    for (int16_t t : al.tipos)
        if (al.fijos && t != arquero && t != guerrero)
            return "Un luchador no es ni Arquero ni Guerrero.";
    s = cargarmapa(p, nuevomaxp, tipo, o, r, al);
    plat.ponertemporizador(true);
    plat.dibujar();
    return {};
}

void mundo::limpiarmapa(int16_t ancho, int16_t alto) {
    anchomapa = ancho;
    altomapa = alto;
    vistas.fill({0, 0});
    // Cleared all at once rather than through ponerterreno; the grid's
    // terrain version moves on once.
    celdas_.limpiar(ancho, alto);
    marcas_.fill({});
}

void mundo::ponerterreno(int x, int y, int16_t t) {
    celdas_.ponerterreno(x, y, t);
}

void mundo::ponerocupante(int x, int y, int16_t k) {
    celdas_.ponerocupante(x, y, k);
}

void mundo::terrenolisto() {
    busqueda_->preparar(celdas_, anchomapa, altomapa);
}

void mundo::recorrerfuera(const std::function<void(int16_t, int16_t, const celda&)>& f) const {
    celdas_.recorrerfuera(f);
}

sucesos mundo::cargarmapa(const comun::plano& p, int16_t nuevomaxp, int16_t tipo, objetivo o,
                          reglas r, const alineacion& al) {
    limpiarmapa(p.anchomapa, p.altomapa);
    for (int y = 0; y <= altomapa; ++y)
        for (int x = 0; x <= anchomapa; ++x)
            ponerterreno(x, y, p.terreno(x, y));
    for (int e = 0; e < 2; ++e)
        inicio[e] = {p.inicio[e].x, p.inicio[e].y};
    // Arrows of the last match would fly on over this map and could hurt.
    flechas.fill({});

    // The one who starts a match plays slot 0.
    maxp = nuevomaxp;
    humano.fill(falso);
    if (!al.espectador)
        humano[0] = verdadero;
    unidades[0].equipo = 0;
    unidades[0].tipo = al.fijos ? al.tipos[0] : tipo;

    colocarequipo(0);
    colocarequipo(1);
    if (al.fijos)
        for (int16_t i = 1; i < 2 * maxp; ++i) {
            unidad& u = unidades[std::size_t(i)];
            u.tipo = al.tipos[std::size_t(i)];
            u.ataque = tipos[u.tipo].ataque;
            u.armadura = tipos[u.tipo].armadura;
        }

    unidad& j = unidades[0];
    // A watched match has no lone player to give a head start to; under
    // the balanced rules the difficulty takes its place.
    const bool ventaja = !al.espectador && r.modo == modoreglas::clasicas;
    if (ventaja) {
        j.ataque += 5;
        j.armadura += 3;
    }
    // The status line is written before the sword fighter's extra point, so
    // it shows one less until the first tick rewrites it.
    mostrarestado();
    if (j.tipo == guerrero && ventaja)
        j.ataque += 1;
    jugando = verdadero;
    pausado = falso;
    numtick = 0;
    meta = o;
    regla = r;
    suerte.sembrar(r.semilla);
    pendientes.fill({});
    balanza = 0;
    fin = falso;
    ganador = -1;
    // The first frame shows each one's own fighter, as every later step
    // does, rather than the map's corner where it may not be.
    for (int16_t i = 0; i < numunidades; ++i)
        seguir(i);

    terrenolisto();
    return recoger();
}

void mundo::colocarequipo(int16_t e) {
    const int primero = e * maxp;
    for (int i = primero; i < primero + maxp; ++i) {
        unidad& u = unidades[i];
        if (i != 0)
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
        u.bajas = 0;
        u.muerto = falso;
        u.bloqueos = 0;
        u.pose = 0;
        u.revivir = 0;
        u.proteccion = 0;
        u.cubierto = 0;
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
                ponerocupante(cx, cy, int16_t(siguiente));
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
    for (posicion& v : vistas)
        v = vistaajustada(v);
}

posicion mundo::vistasobre(posicion v, int16_t ancho, int16_t alto) {
    if (v.x < 0)
        v.x = 0;
    if (v.y < 0)
        v.y = 0;
    // The upper clamp comes last: on a map narrower than the view the origin
    // ends up negative, and drawing shows black beyond the map.
    if (v.x + (columnasvista - 1) > ancho)
        v.x = int16_t(ancho - (columnasvista - 1));
    if (v.y + (filasvista - 1) > alto)
        v.y = int16_t(alto - (filasvista - 1));
    return v;
}

posicion mundo::vistade(int16_t slot) const {
    if (conpersonas() || jugando != verdadero)
        return vistas[std::size_t(slot)];
    return vistaen(slot);
}

std::string mundo::textoestado(int16_t i) const {
    const unidad& j = unidades[std::size_t(i)];
    return "Vida: " + std::to_string(j.vida) + " - Muertes: " + std::to_string(j.muertes) +
           " - Ataque: " + std::to_string(j.ataque) + " - Armadura: " + std::to_string(j.armadura);
}

void mundo::mostrarestado() {
    for (int16_t i = 0; i < 2 * maxp; ++i) {
        estados[std::size_t(i)] = textoestado(i);
        salida_.push_back({tiposuceso::estado, estados[std::size_t(i)], 0, 0, i, -1});
    }
}

void mundo::relevar(int16_t slot, bool persona, bool fresco) {
    if (slot < 0 || slot >= numunidades)
        return;
    humano[std::size_t(slot)] = persona ? verdadero : falso;
    // What a person queued is theirs, not the next one's to steer it.
    pendientes[std::size_t(slot)] = {};
    unidad& u = unidades[std::size_t(slot)];
    u.siguiendo = falso;
    u.atacando = falso;
    u.buscando = falso;
    u.bloqueos = 0;
    u.camino.clear();
    u.pasos.clear();
    if (persona && fresco) {
        if (u.muerto != verdadero)
            u.vida = 100;
        u.ataque = tipos[std::size_t(u.tipo)].ataque;
        u.armadura = tipos[std::size_t(u.tipo)].armadura;
    }
    if (persona)
        seguir(slot);
}

void mundo::prepararred() {
    unidad& u = unidades[0];
    u.ataque = tipos[u.tipo].ataque;
    u.armadura = tipos[u.tipo].armadura;
    humano.fill(falso);
    estados[0] = textoestado(0);
}

int32_t mundo::muertesequipo(int16_t e) const {
    int32_t n = 0;
    for (int i = 0; i < 2 * maxp; ++i)
        if (unidades[i].equipo == e)
            n += unidades[i].muertes;
    return n;
}

void mundo::sonar(const std::string& nombre, int16_t x, int16_t y) {
    salida_.push_back({tiposuceso::sonido, nombre, x, y, -1, -1});
}

void mundo::avisar(tiposuceso tipo, int16_t a, int16_t b, int16_t x, int16_t y) {
    salida_.push_back({tipo, {}, x, y, a, b});
}

posicion mundo::celdadepixel(posicion v, int px, int py) {
    // Floor, not truncation: a pixel left of or above the field is in the
    // cell before the view's first one.
    auto piso = [](int a, int b) {
        int q = a / b;
        if ((a % b != 0) && ((a < 0) != (b < 0)))
            --q;
        return q;
    };
    return {int16_t(piso(px, tamcelda) + v.x), int16_t(piso(py, tamcelda) + v.y)};
}

} // namespace juego
