#include "Editor/recorte.h"

#include "Comun/basicos.h"
#include "Comun/terreno.h"

namespace editor {

namespace {

const std::string_view cabecera = "tarnhollow-casillas 1 ";

// A whole number of at most four digits, nothing else.
std::optional<int> numero(std::string_view s) {
    if (s.empty() || s.size() > 4)
        return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

} // namespace

recorte recorte::volteadox() const {
    recorte r = *this;
    for (int y = 0; y < alto; ++y)
        for (int x = 0; x < ancho; ++x)
            r.terrenos[std::size_t(y) * ancho + x] = en(ancho - 1 - x, y);
    return r;
}

recorte recorte::volteadoy() const {
    recorte r = *this;
    for (int y = 0; y < alto; ++y)
        for (int x = 0; x < ancho; ++x)
            r.terrenos[std::size_t(y) * ancho + x] = en(x, alto - 1 - y);
    return r;
}

recorte recorte::girado() const {
    // Clockwise: the old left column becomes the new top row.
    recorte r;
    r.ancho = alto;
    r.alto = ancho;
    r.terrenos.resize(terrenos.size());
    for (int y = 0; y < r.alto; ++y)
        for (int x = 0; x < r.ancho; ++x)
            r.terrenos[std::size_t(y) * r.ancho + x] = en(y, alto - 1 - x);
    return r;
}

std::string escribirrecorte(const recorte& r) {
    std::string t(cabecera);
    t += std::to_string(r.ancho) + " " + std::to_string(r.alto) + "\n";
    t.reserve(t.size() + r.terrenos.size() + std::size_t(r.alto));
    for (int y = 0; y < r.alto; ++y) {
        for (int x = 0; x < r.ancho; ++x)
            t += char('0' + r.en(x, y));
        t += '\n';
    }
    return t;
}

std::optional<recorte> leerrecorte(std::string_view texto) {
    if (texto.substr(0, cabecera.size()) != cabecera)
        return std::nullopt;
    texto.remove_prefix(cabecera.size());
    const std::size_t fin = texto.find('\n');
    if (fin == std::string_view::npos)
        return std::nullopt;
    std::string_view tam = texto.substr(0, fin);
    if (!tam.empty() && tam.back() == '\r')
        tam.remove_suffix(1);
    texto.remove_prefix(fin + 1);
    const std::size_t blanco = tam.find(' ');
    if (blanco == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> ancho = numero(tam.substr(0, blanco));
    const std::optional<int> alto = numero(tam.substr(blanco + 1));
    if (!ancho || !alto || *ancho < 1 || *alto < 1 || *ancho > comun::ladorejilla ||
        *alto > comun::ladorejilla)
        return std::nullopt;
    // The rows must all be there before anything is kept: the size alone
    // never decides how much is allocated.
    if (texto.size() < std::size_t(*ancho) * std::size_t(*alto))
        return std::nullopt;
    recorte r;
    r.ancho = int16_t(*ancho);
    r.alto = int16_t(*alto);
    r.terrenos.reserve(std::size_t(*ancho) * std::size_t(*alto));
    for (int y = 0; y < *alto; ++y) {
        const std::size_t f = texto.find('\n');
        std::string_view fila = texto.substr(0, f);
        if (!fila.empty() && fila.back() == '\r')
            fila.remove_suffix(1);
        if (fila.size() != std::size_t(*ancho))
            return std::nullopt;
        for (char c : fila) {
            if (c < '0' || c >= '0' + comun::numterrenos)
                return std::nullopt;
            r.terrenos.push_back(int16_t(c - '0'));
        }
        texto.remove_prefix(f == std::string_view::npos ? texto.size() : f + 1);
    }
    return r;
}

} // namespace editor
