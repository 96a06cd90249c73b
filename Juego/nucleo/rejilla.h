#pragma once

#include "Comun/basicos.h"

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace juego {

struct celda {
    int16_t terreno = 0;
    int16_t transitable = comun::verdadero;
    int16_t ocupante = -1;  // fighter that last entered the cell
    int16_t proyectil = -1; // arrow last marked over the cell
    bool operator==(const celda&) const = default;
};

// The cells of the 1000 x 1000 grid. Cells of the map live in storage sized
// to it; a grid cell outside the map reads as a cleared cell until something
// is written there, and only what differs from a cleared cell is kept aside.
//
// Reading is const and never allocates. No writable reference to a cell
// leaves this class: every write goes through one of the three setters, so
// the terrain version below changes exactly when terrain does, and whatever
// was worked out from the terrain (the search's zones, its remembered
// answers) can trust it.
class rejilla {
public:
    static constexpr int lado = comun::ladorejilla;

    rejilla() : celdas_(1) {}

    // Cell (x, y); a cell off the grid reads as a cleared one.
    const celda& mapa(int x, int y) const {
        if (dentro(x, y))
            return celdas_[std::size_t(y) * std::size_t(ancho_ + 1) + std::size_t(x)];
        if (!enrejilla(x, y))
            return limpia_;
        const auto f = fuera_.find(int32_t(y) * lado + x);
        return f == fuera_.end() ? limpia_ : f->second;
    }
    static bool enrejilla(int x, int y) { return x >= 0 && y >= 0 && x < lado && y < lado; }

    // Counts every change of terrain since the grid was made: equal numbers
    // mean equal terrain everywhere.
    uint64_t versionterreno() const { return version_; }

    // Clears every cell and lays out storage for (ancho + 1) x (alto + 1)
    // cells; the cost follows the map, not the grid.
    void limpiar(int16_t ancho, int16_t alto);
    // The walkable flag follows the kind. Cells off the grid are left alone,
    // by these setters too.
    void ponerterreno(int x, int y, int16_t t);
    void ponerocupante(int x, int y, int16_t k);
    void ponerproyectil(int x, int y, int16_t k);

    // Calls f, in grid order, for every cell outside the map that is not as
    // a cleared cell.
    void recorrerfuera(const std::function<void(int16_t, int16_t, const celda&)>& f) const;
    // How many cells outside the map are kept aside.
    std::size_t apartadas() const { return fuera_.size(); }

private:
    bool dentro(int x, int y) const {
        return unsigned(x) <= unsigned(ancho_) && unsigned(y) <= unsigned(alto_);
    }
    // Applies `cambio` to cell (x, y) of the grid; outside the map the cell
    // is kept aside only while it differs from a cleared one.
    template <class Cambio> void cambiar(int x, int y, Cambio cambio);

    std::vector<celda> celdas_;
    int16_t ancho_ = 0; // the size celdas_ is laid out for
    int16_t alto_ = 0;
    std::unordered_map<int32_t, celda> fuera_;
    uint64_t version_ = 0;
    static const celda limpia_;
};

} // namespace juego
