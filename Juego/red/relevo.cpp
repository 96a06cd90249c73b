#include "Juego/red/relevo.h"

namespace juego::red {

void prepararpartidared(mundo& m) {
    unidad& u = m.unidades[0];
    u.ataque = m.tipos[u.tipo].ataque;
    u.armadura = m.tipos[u.tipo].armadura;
    m.humano.fill(falso);
    m.ultimoestado = m.textoestado();
}

void relevar(mundo& m, int16_t slot, bool humano) {
    if (slot < 0 || slot >= numunidades)
        return;
    m.humano[std::size_t(slot)] = humano ? verdadero : falso;
    unidad& u = m.unidades[std::size_t(slot)];
    u.siguiendo = falso;
    u.atacando = falso;
    u.buscando = falso;
    u.bloqueos = 0;
    u.camino.clear();
    u.pasos.clear();
}

int16_t elegirluchador(const mundo& m, const std::array<bool, numunidades>& ocupados, int16_t tipo,
                       int16_t equipo) {
    if (m.jugando != verdadero || equipo < 0 || equipo > 1)
        return -1;
    const int primero = equipo * m.maxp;
    int16_t otro = -1;
    for (int i = primero; i < primero + m.maxp; ++i) {
        if (ocupados[std::size_t(i)])
            continue;
        if (m.unidades[std::size_t(i)].tipo == tipo)
            return int16_t(i);
        if (otro < 0)
            otro = int16_t(i);
    }
    return otro;
}

void vistapropia(mundo& m, int16_t slot) {
    m.jugador = slot;
    const unidad& u = m.unidades[std::size_t(slot)];
    m.vistax = int16_t(u.x - 20);
    m.vistay = int16_t(u.y - 15);
    m.ajustarvista();
    m.ultimoestado = m.textoestado();
}

} // namespace juego::red
