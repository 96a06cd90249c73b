#include "Juego/red/relevo.h"

namespace juego::red {

int16_t elegirluchador(const mundo& m, const std::array<bool, numunidades>& ocupados, int16_t tipo,
                       int16_t equipo) {
    if (m.jugando != verdadero || equipo < 0 || equipo > 1)
        return -1;
    // The best first: a living fighter of the type asked for, then a dead
    // one of that type, then a living one of the other type, then any.
    const int primero = equipo * m.maxp;
    int16_t mejor = -1;
    int nota = -1;
    for (int i = primero; i < primero + m.maxp; ++i) {
        if (ocupados[std::size_t(i)])
            continue;
        const unidad& u = m.unidades[std::size_t(i)];
        const int esta = (u.tipo == tipo ? 2 : 0) + (u.muerto != verdadero ? 1 : 0);
        if (esta > nota) {
            mejor = int16_t(i);
            nota = esta;
        }
    }
    return mejor;
}

} // namespace juego::red
