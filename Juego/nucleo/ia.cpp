#include "Juego/nucleo/mundo.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace juego {

namespace {

constexpr double lejos = 9999;

int16_t numero(const std::string& s) {
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return int16_t(v);
}

} // namespace

int16_t mundo::elegir(int16_t n) {
    return equilibradas() ? suerte.menorque(n) : int16_t(0);
}

void mundo::decidirataque(int16_t i) {
    unidad& u = unidades[i];
    if (u.espera >= 1)
        return;
    const int16_t enemigo = (u.equipo == 0) ? 1 : 0;
    const bool propias = equilibradas();
    const ajuste aj = ajustedeequipo(u.equipo);
    // What every attack leaves: the strike pose, the path dropped. A
    // computer fighter of the balanced rules may then take a moment longer
    // before its next move, so no two matches play alike.
    auto atacado = [&] {
        u.pose = 2;
        u.moviendo = verdadero;
        u.atacando = verdadero;
        u.siguiendo = falso;
        if (propias) {
            u.espera = int16_t(u.espera + suerte.menorque(aj.demora + 1));
            // Only a level that ever waits longer draws for it, so the
            // matches of the editions before it play as they always did.
            if (aj.tarde > 0 && suerte.menorque(100) < aj.tarde)
                ++u.espera;
        }
    };

    if (u.tipo != arquero) {
        // Enemies next to it, in the order they have always been looked at.
        std::array<posicion, 8> cerca{};
        int16_t n = 0;
        for (int16_t r = int16_t(u.y - 1); r <= u.y + 1; ++r) {
            for (int16_t c = int16_t(u.x - 1); c <= u.x + 1; ++c) {
                if (c < 0 || c > anchomapa || r < 0 || r > altomapa)
                    continue;
                const int16_t o = mapa(c, r).ocupante;
                if (o < 0 || unidades[o].equipo != enemigo || unidades[o].muerto != falso)
                    continue;
                if (n < 8)
                    cerca[std::size_t(n++)] = {c, r};
            }
        }
        if (n > 0) {
            const posicion b = cerca[std::size_t(elegir(n))];
            orientar(i, u.x, u.y, b.x, b.y);
            atacar(i, b.x, b.y);
            atacado();
            return;
        }
    } else {
        const double alcance =
            propias ? std::min(valor().alcancearco, double(aj.vista)) : valor().alcancearco;
        double mejor = lejos;
        int16_t blanco = -1;
        int16_t iguales = 0;
        for (int16_t j = 0; j < 2 * maxp; ++j) {
            const unidad& e = unidades[j];
            if (e.equipo != enemigo || e.muerto != falso)
                continue;
            const double d = distanciaarco(e.x - u.x, e.y - u.y);
            if (d > alcance)
                continue;
            if (d < mejor) {
                mejor = d;
                blanco = j;
                iguales = 1;
            } else if (propias && d == mejor && suerte.menorque(++iguales) == 0) {
                blanco = j;
            }
        }
        if (blanco >= 0) {
            int16_t tx = unidades[blanco].x;
            int16_t ty = unidades[blanco].y;
            if (propias && aj.punteria > 0) {
                const int16_t ex =
                    int16_t(tx + suerte.menorque(2 * aj.punteria + 1) - aj.punteria);
                const int16_t ey =
                    int16_t(ty + suerte.menorque(2 * aj.punteria + 1) - aj.punteria);
                // An aim that strays onto its own cell shoots at the target.
                if (ex != u.x || ey != u.y) {
                    tx = ex;
                    ty = ey;
                }
            }
            disparar(i, u.x, u.y, tx, ty);
            atacado();
            return;
        }
    }
    u.atacando = falso;
    u.moviendo = falso;
}

void mundo::perseguir(int16_t i) {
    if (encerrado(i))
        return;
    unidad& u = unidades[i];
    int mejor = int(lejos);
    int16_t blanco = -1;
    int16_t iguales = 0;
    for (int16_t j = 0; j < 2 * maxp; ++j) {
        const unidad& e = unidades[j];
        if (e.equipo == u.equipo || e.muerto != falso)
            continue;
        const int d = std::abs(e.x - u.x) + std::abs(e.y - u.y);
        if (d < mejor) {
            mejor = d;
            blanco = j;
            iguales = 1;
        } else if (equilibradas() && d == mejor && suerte.menorque(++iguales) == 0) {
            // Equally near enemies: the balanced rules draw which one.
            blanco = j;
        }
    }
    if (blanco < 0)
        return;
    u.destx = unidades[blanco].x;
    u.desty = unidades[blanco].y;
    if (u.x != u.destx || u.y != u.desty)
        buscarcamino(i);
}

bool mundo::encerrado(int16_t i) const {
    const unidad& u = unidades[i];
    for (int16_t r = int16_t(u.y - 1); r <= u.y + 1; ++r)
        for (int16_t c = int16_t(u.x - 1); c <= u.x + 1; ++c)
            if (celdalibre(c, r))
                return false;
    return true;
}

void mundo::orientar(int16_t i, int16_t dx, int16_t dy, int16_t hx, int16_t hy) {
    // No step at all faces up-left.
    const int16_t d = comun::direccionhacia(hx - dx, hy - dy);
    unidades[i].direccion = d < 0 ? int16_t(0) : d;
}

void mundo::caminar(int16_t i) {
    unidad& u = unidades[i];
    if (std::abs(u.x - u.destx) <= 1 && std::abs(u.y - u.desty) <= 1) {
        u.siguiendo = falso;
        u.atacando = falso;
        return;
    }
    // A path always holds at least one step; without one there is nothing
    // to follow, so the fighter plans again.
    if (u.pasos.size() < 2) {
        u.siguiendo = falso;
        return;
    }
    const int16_t nx = numero(u.pasos[0]);
    const int16_t ny = numero(u.pasos[1]);
    if (celdalibre(nx, ny)) {
        ponerocupante(u.x, u.y, -1);
        orientar(i, u.x, u.y, nx, ny);
        u.x = nx;
        u.y = ny;
        ponerocupante(nx, ny, i);
        u.moviendo = falso;
        u.pose = (u.pose == 0) ? 1 : 0;
        // The path moves up one cell and keeps its length, so its last cell
        // stays repeated at the end: the front pair leaves and the last pair
        // comes in again behind, without moving the pairs between.
        std::string penultimo = u.pasos[u.pasos.size() - 2];
        std::string ultimo = u.pasos.back();
        u.pasos.pop_front();
        u.pasos.pop_front();
        u.pasos.push_back(std::move(penultimo));
        u.pasos.push_back(std::move(ultimo));
        u.bloqueos = 0;
    } else if (u.bloqueos == 2) {
        u.siguiendo = falso;
        u.bloqueos = 0;
    } else {
        ++u.bloqueos;
    }
}

} // namespace juego
