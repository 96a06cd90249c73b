#pragma once

#include "Comun/terreno.h"
#include "Juego/nucleo/descripcion.h"
#include "Juego/nucleo/mundo.h"

#include <cstdint>
#include <limits>

namespace juego {

// The records of snapshots, replays and network messages, each described
// once (see descripcion.h). Ranges are those the game can reach: a file
// that holds anything else was not written by it.
//
// To add a field to a fighter: one `a.campo(...)` line in describir(unidad)
// below, with the snapshot format it appears in and the value older files
// behave as, and that format's number in instantanea.h.

inline constexpr std::size_t maxcamino = 16u << 20;
inline constexpr std::size_t maxpaso = 8;
inline constexpr int16_t maximo16 = std::numeric_limits<int16_t>::max();
inline constexpr int16_t minimo16 = std::numeric_limits<int16_t>::min();

// One cell of the grid as the rules see it.
template <class A, class C> void describircelda(A& a, C& c) {
    a.campo("el terreno de una celda", c.terreno, 0, int16_t(comun::numterrenos - 1));
    a.campo("la marca de paso de una celda", c.transitable, verdadero, falso);
    a.campo("el ocupante de una celda", c.ocupante, -1, int16_t(numunidades - 1));
    a.campo("la flecha de una celda", c.proyectil, -1, int16_t(numflechas - 1));
    // The walkable flag always follows the terrain kind.
    a.exigir(!a.bien() || c.transitable == (comun::transitable(c.terreno) ? verdadero : falso),
             "la marca de paso de una celda no sigue a su terreno");
}

template <class A, class U> void describir(A& a, U& u) {
    // Counts and strengths only grow by the rules, and stop at their maximum.
    a.campo("la vida", u.vida, 0, 100);
    a.campo("el tipo", u.tipo, arquero, guerrero);
    a.campo("la espera", u.espera, 0, maximo16);
    a.campo("la postura", u.pose, 0, 3);
    a.campo("el ataque", u.ataque, 0, maximo16);
    a.campo("la marca de movimiento", u.moviendo, verdadero, falso);
    a.campo("la columna", u.x, -1, int16_t(ladomapa));
    a.campo("la fila", u.y, -1, int16_t(ladomapa));
    // A new match leaves a fighter's destination and next step as the last
    // match left them, on a map that may have been larger; until the fighter
    // plans anew they are only compared, never used to reach a cell.
    a.campo("la columna siguiente", u.sigx, -1, int16_t(ladomapa));
    a.campo("la fila siguiente", u.sigy, -1, int16_t(ladomapa));
    a.campo("la columna de destino", u.destx, 0, int16_t(ladomapa - 1));
    a.campo("la fila de destino", u.desty, 0, int16_t(ladomapa - 1));
    a.campo("la dirección", u.direccion, 0, 7);
    a.campo("la marca de muerto", u.muerto, verdadero, falso);
    a.campo("el equipo", u.equipo, 0, 1);
    a.campo("las muertes", u.muertes, 0, maximo16);
    a.campo("la cuenta para revivir", u.revivir, 0, maximo16);
    a.campo("la armadura", u.armadura, 0, maximo16);
    a.campo("la marca de seguir", u.siguiendo, verdadero, falso);
    a.campo("la marca de atacar", u.atacando, verdadero, falso);
    a.campo("la marca de buscar", u.buscando, verdadero, falso);
    a.campo("los bloqueos", u.bloqueos, 0, maximo16);
    a.campo("las bajas", u.bajas, 0, maximo16);
    a.campo("la protección", u.proteccion, 0, maxproteccion, 4);
    a.campo("el escudo", u.cubierto, 0, maximo16, 4);
    a.texto("el camino", u.camino, maxcamino);
    a.textos("los pasos", u.pasos, maxpaso);
}

template <class A, class F> void describirflecha(A& a, F& f) {
    a.real("la columna de una flecha", f.x, 2 * ladomapa);
    a.real("la fila de una flecha", f.y, 2 * ladomapa);
    a.campo("la columna de destino de una flecha", f.destx, minimo16, maximo16);
    a.campo("la fila de destino de una flecha", f.desty, minimo16, maximo16);
    a.real("la velocidad en columnas de una flecha", f.velx, 64);
    a.real("la velocidad en filas de una flecha", f.vely, 64);
    a.campo("la marca de vuelo de una flecha", f.activa, verdadero, falso);
    a.campo("la dirección de una flecha", f.direccion, 0, 7);
    a.campo("la velocidad de una flecha", f.velocidad, 0, 64);
    a.campo("el tirador de una flecha", f.tirador, 0, int16_t(numunidades - 1));
    // A flying arrow is over the map it was shot on and moves in
    // `velocidad` parts. That may be a larger map of an earlier match: a new
    // match lets it fly on, and it vanishes at its next step if it is off
    // this map.
    a.exigir(f.activa != verdadero || (f.velocidad >= 1 && f.x >= 0 && f.x <= ladomapa - 1 &&
                                       f.y >= 0 && f.y <= ladomapa - 1),
             "una flecha en vuelo está fuera de toda rejilla");
}

template <class A, class O> void describirobjetivo(A& a, O& o) {
    a.campo("el tipo de objetivo", o.tipo, 0, 2);
    a.campo("el valor del objetivo", o.valor, 0, maximo16);
    a.exigir(o.tipo == tipoobjetivo::ninguno || o.valor >= 1, "el objetivo no tiene valor");
}

// The rules of a match, from the file format `desde` on, and their edition
// from the format `desdeedicion` on; older files are classic matches, and
// balanced ones of the first edition.
template <class A, class R>
void describirreglas(A& a, R& r, uint16_t desde, uint16_t desdeedicion) {
    a.campo("las reglas", r.modo, 0, 1, desde);
    a.campo("la dificultad", r.nivel, 0, 2, desde, dificultad::normal);
    a.campo("la semilla", r.semilla, 0, UINT32_MAX, desde);
    a.campo("la edición de las reglas", r.edicion, 1, UINT16_MAX, desdeedicion, uint16_t(1));
    // A later version of the game may have tuned them again.
    a.exigir(!a.bien() || r.edicion <= edicionreglas,
             "sus reglas equilibradas son de una edición más nueva que las de esta versión "
             "del juego");
}

template <class A, class P> void describirpendiente(A& a, P& p) {
    a.campo("una acción en espera", p.tipo, 0, 3, 4);
    a.campo("la columna de una acción en espera", p.x, minimo16, maximo16, 4);
    a.campo("la fila de una acción en espera", p.y, minimo16, maximo16, 4);
    // A queued step is a direction.
    a.exigir(p.tipo != tipopendiente::paso || (p.x >= 0 && p.x <= 7),
             "un paso en espera no tiene dirección");
}

// Inputs and actions: the one codec of replays and network messages.
template <class A, class M> void describirmando(A& a, M& m) {
    a.campo("el luchador de unas teclas", m.slot, 0, int16_t(numunidades - 1));
    a.campo("la flecha izquierda", m.teclas.izquierda, 0, 0xffff);
    a.campo("la flecha derecha", m.teclas.derecha, 0, 0xffff);
    a.campo("la flecha abajo", m.teclas.abajo, 0, 0xffff);
    a.campo("la flecha arriba", m.teclas.arriba, 0, 0xffff);
}

template <class A, class X> void describiraccion(A& a, X& x) {
    a.campo("el tipo de acción", x.tipo, 0, uint8_t(tipoaccion::relevo));
    a.campo("el luchador de una acción", x.slot, 0, int16_t(numunidades - 1));
    a.campo("la columna de una acción", x.x, minimo16, maximo16);
    a.campo("la fila de una acción", x.y, minimo16, maximo16);
    // A hand-over gives the fighter to a person (1), to a newcomer who
    // starts it anew (2) or back (0).
    a.exigir(x.tipo != tipoaccion::relevo || (x.x >= 0 && x.x <= 2),
             "un relevo no da el luchador ni a una persona ni al ordenador");
}

} // namespace juego
