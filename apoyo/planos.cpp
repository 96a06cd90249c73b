#include "apoyo/planos.h"

#include "Comun/terreno.h"

#include <random>
#include <utility>
#include <vector>

namespace planos {

comun::plano abierto(int lado) {
    comun::plano p = comun::plano::vacio(int16_t(lado - 1), int16_t(lado - 1));
    p.inicio = {comun::posicion{2, 2}, comun::posicion{int16_t(lado - 3), int16_t(lado - 3)}};
    return p;
}

comun::plano laberinto(int lado, uint32_t semilla) {
    comun::plano p = comun::plano::vacio(int16_t(lado - 1), int16_t(lado - 1));
    std::mt19937 azar(semilla);
    for (int16_t& t : p.terrenos)
        t = comun::pared;
    std::vector<std::pair<int, int>> pila{{1, 1}};
    p.ponerterreno(1, 1, comun::pasto);
    while (!pila.empty()) {
        const auto [x, y] = pila.back();
        std::vector<std::pair<int, int>> vecinos;
        for (auto [dx, dy] : {std::pair{2, 0}, {-2, 0}, {0, 2}, {0, -2}}) {
            const int nx = x + dx, ny = y + dy;
            if (nx > 0 && ny > 0 && nx < lado - 1 && ny < lado - 1 &&
                p.terreno(nx, ny) == comun::pared)
                vecinos.push_back({nx, ny});
        }
        if (vecinos.empty()) {
            pila.pop_back();
            continue;
        }
        const auto [nx, ny] = vecinos[azar() % vecinos.size()];
        p.ponerterreno((x + nx) / 2, (y + ny) / 2, comun::pasto);
        p.ponerterreno(nx, ny, comun::pasto);
        pila.push_back({nx, ny});
    }
    for (int y = 1; y < lado - 1; ++y)
        for (int x = 1; x < lado - 1; ++x)
            if (p.terreno(x, y) == comun::pared && azar() % 20 == 0)
                p.ponerterreno(x, y, comun::pasto);
    const comun::posicion a{3, 3}, b{int16_t(lado - 4), int16_t(lado - 4)};
    despejar(p, a, 1);
    despejar(p, b, 1);
    p.inicio = {a, b};
    return p;
}

comun::plano salas(int lado) {
    comun::plano p = comun::plano::vacio(int16_t(lado - 1), int16_t(lado - 1));
    constexpr int paso = 10;
    for (int y = 0; y < lado; ++y)
        for (int x = 0; x < lado; ++x)
            p.ponerterreno(x, y, (x % paso == 0 || y % paso == 0) ? comun::pared : comun::piso);
    for (int y = 0; y + paso < lado; y += paso)
        for (int x = 0; x + paso < lado; x += paso) {
            p.ponerterreno(x + paso, y + paso / 2, comun::piso);
            p.ponerterreno(x + paso / 2, y + paso, comun::piso);
        }
    // The halls: 29 x 29 cells inside, the spawn block's top row in the wall.
    const int medio = lado / 2;
    const comun::posicion a{int16_t(medio), 21}, b{int16_t(medio), int16_t(lado - 50)};
    for (const comun::posicion s : {a, b}) {
        const int arriba = s.y - 1, abajo = s.y + 29;
        for (int y = arriba; y <= abajo; ++y)
            for (int x = s.x - 15; x <= s.x + 15; ++x) {
                const bool borde = y == arriba || y == abajo || x == s.x - 15 || x == s.x + 15;
                p.ponerterreno(x, y, borde ? comun::pared : comun::piso);
            }
        for (int x = s.x - 1; x <= s.x + 1; ++x)
            p.ponerterreno(x, arriba, comun::piso);
    }
    p.inicio = {a, b};
    return p;
}

void despejar(comun::plano& p, comun::posicion centro, int radio) {
    for (int y = centro.y - radio; y <= centro.y + radio; ++y)
        for (int x = centro.x - radio; x <= centro.x + radio; ++x)
            p.ponerterreno(x, y, comun::pasto);
}

} // namespace planos
