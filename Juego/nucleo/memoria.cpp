#include "Juego/nucleo/memoria.h"

namespace juego {

const respuesta* memoria::buscar(uint64_t version, const pregunta& p) const {
    for (const recuerdo& r : recuerdos)
        if (r.valido && r.version == version && r.p == p)
            return &r.r;
    return nullptr;
}

void memoria::guardar(uint64_t version, const pregunta& p, const respuesta& r) {
    recuerdos[siguiente] = {true, version, p, r};
    siguiente = (siguiente + 1) % recuerdos.size();
}

void memoria::olvidar() {
    for (recuerdo& r : recuerdos)
        r.valido = false;
}

} // namespace juego
