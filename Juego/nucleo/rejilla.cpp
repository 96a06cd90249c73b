#include "Juego/nucleo/rejilla.h"

#include "Comun/terreno.h"

#include <algorithm>

namespace juego {

const celda rejilla::limpia_{};

template <class Cambio> void rejilla::cambiar(int x, int y, Cambio cambio) {
    if (dentro(x, y)) {
        cambio(celdas_[std::size_t(y) * std::size_t(ancho_ + 1) + std::size_t(x)]);
        return;
    }
    if (!enrejilla(x, y))
        return;
    const int32_t clave = int32_t(y) * lado + x;
    const auto f = fuera_.find(clave);
    celda c = f == fuera_.end() ? limpia_ : f->second;
    cambio(c);
    if (c == limpia_) {
        if (f != fuera_.end())
            fuera_.erase(f);
    } else if (f != fuera_.end()) {
        f->second = c;
    } else {
        fuera_.emplace(clave, c);
    }
}

void rejilla::limpiar(int16_t ancho, int16_t alto) {
    ancho_ = ancho;
    alto_ = alto;
    celdas_.assign(std::size_t(ancho + 1) * std::size_t(alto + 1), celda{});
    fuera_.clear();
    ++version_;
}

void rejilla::ponerterreno(int x, int y, int16_t t) {
    const int16_t paso = comun::transitable(t) ? comun::verdadero : comun::falso;
    cambiar(x, y, [&](celda& c) {
        if (c.terreno == t && c.transitable == paso)
            return;
        c.terreno = t;
        c.transitable = paso;
        ++version_;
    });
}

void rejilla::ponerocupante(int x, int y, int16_t k) {
    cambiar(x, y, [k](celda& c) { c.ocupante = k; });
}

void rejilla::ponerproyectil(int x, int y, int16_t k) {
    cambiar(x, y, [k](celda& c) { c.proyectil = k; });
}

void rejilla::recorrerfuera(const std::function<void(int16_t, int16_t, const celda&)>& f) const {
    // In grid order, so that equal worlds write equal snapshots.
    std::vector<int32_t> claves;
    claves.reserve(fuera_.size());
    for (const auto& [k, c] : fuera_)
        claves.push_back(k);
    std::sort(claves.begin(), claves.end());
    for (int32_t k : claves)
        f(int16_t(k % lado), int16_t(k / lado), fuera_.at(k));
}

} // namespace juego
