#include "Comun/alcance.h"

#include "Comun/terreno.h"

#include <vector>

namespace comun {

bool alcanzable(const plano& p, posicion desde, posicion hasta) {
    const int ancho = p.ancho();
    const int alto = p.alto();
    auto dentro = [&](int x, int y) { return x >= 0 && x < ancho && y >= 0 && y < alto; };
    auto libre = [&](int x, int y) { return dentro(x, y) && transitable(p.terreno(x, y)); };
    if (!libre(desde.x, desde.y) || !libre(hasta.x, hasta.y))
        return false;

    // Breadth first with an explicit queue: a 1000 x 1000 map would be far
    // too deep for recursion.
    std::vector<char> visto(std::size_t(ancho) * alto, 0);
    std::vector<int> cola;
    cola.reserve(std::size_t(ancho) * alto);
    auto indice = [&](int x, int y) { return y * ancho + x; };
    cola.push_back(indice(desde.x, desde.y));
    visto[std::size_t(cola.back())] = 1;
    const int meta = indice(hasta.x, hasta.y);
    for (std::size_t k = 0; k < cola.size(); ++k) {
        int actual = cola[k];
        if (actual == meta)
            return true;
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
    return false;
}

} // namespace comun
