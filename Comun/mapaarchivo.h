#pragma once

#include "Comun/basicos.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace comun {

// A map as stored in a `.mapa` file: its size, the terrain of every cell and
// the start cell of each team. Cells are kept row after row, as in the file.
struct plano {
    int16_t anchomapa = 0; // highest column index
    int16_t altomapa = 0;  // highest row index
    std::vector<int16_t> terrenos;
    std::array<posicion, 2> inicio{};

    int ancho() const { return anchomapa + 1; }
    int alto() const { return altomapa + 1; }
    int16_t terreno(int x, int y) const { return terrenos[std::size_t(y) * ancho() + x]; }
    void ponerterreno(int x, int y, int16_t t) { terrenos[std::size_t(y) * ancho() + x] = t; }

    // An all-grass map of the given highest indexes, both starts at (0, 0).
    static plano vacio(int16_t anchomapa, int16_t altomapa);
};

// Either a whole map or the reason it was refused; never half of one.
struct lectura {
    std::optional<plano> mapa;
    std::string error; // Spanish, for a message box; empty when `mapa` holds

    explicit operator bool() const { return mapa.has_value(); }
};

// The file text, byte for byte: one line, three sections ended by "/fn".
std::string escribirmapa(const plano& p);

// Parses a map text. Anything after the third "/fn" is ignored, so a file
// that kept the tail of a longer, older map still reads correctly.
lectura leermapa(std::string_view texto);

// The bytes of the file at `ruta`, read whole, when it is a regular file no
// larger than a map may be; otherwise nothing, and `error` says why in
// Spanish.
std::optional<std::string> leerbytes(const std::string& ruta, std::string& error);

// Reads the whole file at `ruta` and parses it.
lectura leerarchivo(const std::string& ruta);

} // namespace comun
