#include "Comun/alcance.h"

#include "Comun/terreno.h"

#include <vector>

namespace comun {

namespace {

// Breadth first from `desde` with an explicit queue (a 1000 x 1000 map would
// be far too deep for recursion); stops early when `meta` (a cell index, -1
// for none) is reached. Returns the cells seen, row after row.
std::vector<char> recorrer(const plano& p, posicion desde, int meta, bool& llego) {
    const int ancho = p.ancho();
    const int alto = p.alto();
    auto dentro = [&](int x, int y) { return x >= 0 && x < ancho && y >= 0 && y < alto; };
    auto libre = [&](int x, int y) { return dentro(x, y) && transitable(p.terreno(x, y)); };
    std::vector<char> visto(std::size_t(ancho) * alto, 0);
    llego = false;
    if (!libre(desde.x, desde.y))
        return visto;
    std::vector<int> cola;
    cola.reserve(std::size_t(ancho) * alto);
    auto indice = [&](int x, int y) { return y * ancho + x; };
    cola.push_back(indice(desde.x, desde.y));
    visto[std::size_t(cola.back())] = 1;
    for (std::size_t k = 0; k < cola.size(); ++k) {
        int actual = cola[k];
        if (actual == meta) {
            llego = true;
            return visto;
        }
        int cx = actual % ancho;
        int cy = actual / ancho;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                int x = cx + dx;
                int y = cy + dy;
                if (!libre(x, y) || visto[std::size_t(indice(x, y))])
                    continue;
                visto[std::size_t(indice(x, y))] = 1;
                cola.push_back(indice(x, y));
            }
        }
    }
    return visto;
}

} // namespace

bool alcanzable(const plano& p, posicion desde, posicion hasta) {
    const bool dentro = hasta.x >= 0 && hasta.x < p.ancho() && hasta.y >= 0 &&
                        hasta.y < p.alto() && transitable(p.terreno(hasta.x, hasta.y));
    if (!dentro)
        return false;
    bool llego = false;
    recorrer(p, desde, hasta.y * p.ancho() + hasta.x, llego);
    return llego;
}

std::vector<char> alcance(const plano& p, posicion desde) {
    bool llego = false;
    return recorrer(p, desde, -1, llego);
}

} // namespace comun
