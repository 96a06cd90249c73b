#include "Juego/red/relevo.h"

namespace juego::red {

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

} // namespace juego::red
