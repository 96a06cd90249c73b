#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

// A block of terrain lifted out of a map: what Copiar puts on the clipboard
// and Pegar drops. Starts are not part of it: each team has one, and a
// pasted copy would make a second.
struct recorte {
    int16_t ancho = 0;
    int16_t alto = 0;
    std::vector<int16_t> terrenos; // row after row

    int16_t en(int x, int y) const { return terrenos[std::size_t(y) * ancho + x]; }
    bool vacio() const { return terrenos.empty(); }

    // Mirrored left to right, top to bottom, and turned a quarter clockwise.
    recorte volteadox() const;
    recorte volteadoy() const;
    recorte girado() const;
};

// The clipboard text: a header line with the size, then one line of digits
// (the terrain kinds) per row, readable and pasteable into a text editor.
std::string escribirrecorte(const recorte& r);

// Reads what `escribirrecorte` wrote, from any clipboard: nothing unless the
// header, the size (1 to 1000 a side) and every row check out.
std::optional<recorte> leerrecorte(std::string_view texto);

} // namespace editor
