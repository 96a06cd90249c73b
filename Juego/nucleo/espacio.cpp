#include "Juego/nucleo/espacio.h"
#include "Juego/nucleo/rejilla.h"

namespace juego {

void espacio::preparar(const rejilla& r, int16_t anchomapa, int16_t altomapa) {
    const int columnas = anchomapa + 1;
    const int filas = altomapa + 1;
    // A new size starts all cleared.
    const std::size_t total = std::size_t(columnas + 2) * std::size_t(filas + 2);
    if (nodos.size() != total || anchoborde_ != columnas + 2) {
        nodos = std::vector<nodo>(total);
        generacion_ = 0;
        base_ = 0;
    }
    anchoborde_ = columnas + 2;
    // Every cell starts as not reached by any search (stamps start at 1), or
    // as a wall for good.
    for (nodo& n : nodos)
        n.estado = muro;
    for (int y = 0; y < filas; ++y)
        for (int x = 0; x < columnas; ++x)
            if (r.mapa(x, y).transitable == comun::verdadero)
                nodos[std::size_t(lugarde(x, y))].estado = 0;
}

void espacio::nueva() {
    generacion_ += 1;
    // Out of stamps: the words of the searches before would read as reached
    // by the ones to come, so they are cleared for real, once.
    if (generacion_ > ultima_) {
        for (nodo& n : nodos)
            if (n.estado != muro)
                n.estado = 0;
        generacion_ = 1;
    }
    base_ = generacion_ << 2;
}

void espacio::tapar(const pregunta& p) {
    tapadas.clear();
    for (int16_t k = 0; k < p.nbloqueos; ++k) {
        const int x = p.bloqueos[std::size_t(k)] % rejilla::lado;
        const int y = p.bloqueos[std::size_t(k)] / rejilla::lado;
        if (x > p.anchomapa || y > p.altomapa)
            continue;
        uint32_t& e = nodos[std::size_t(lugarde(x, y))].estado;
        tapadas.push_back({lugarde(x, y), e == muro});
        e = muro;
    }
}

void espacio::destapar() {
    // Backwards, so that a cell listed twice gets its first value back. A
    // cell that was walkable comes back as not reached by any search, which
    // is all a later search needs to know of it.
    for (auto k = tapadas.rbegin(); k != tapadas.rend(); ++k)
        nodos[std::size_t(k->first)].estado = k->second ? muro : 0;
    tapadas.clear();
}

} // namespace juego
