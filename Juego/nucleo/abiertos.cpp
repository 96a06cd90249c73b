#include "Juego/nucleo/abiertos.h"

namespace juego {

abiertos::abiertos() : cubos(topef), eslabones(capacidad) {}

void abiertos::dimensionar(std::size_t lugares) {
    if (eslabonde.size() != lugares)
        eslabonde = std::vector<int16_t>(lugares);
}

void abiertos::vaciar() {
    for (int f = minimo; f <= maximo; ++f)
        cubos[std::size_t(f)].primero = -1;
    usados = 0;
    libre = -1;
    minimo = topef;
    maximo = -1;
    enlista = 0;
    ordenes = 0;
}

} // namespace juego
