#include "apoyo/jugadorsimple.h"

#include <cstdlib>
#include <deque>
#include <limits>

namespace prueba {

using namespace juego;

namespace {

constexpr int32_t sinpaso = std::numeric_limits<int32_t>::max();

teclasflechas teclasde(int d) {
    // Held and pressed since the last query, as a key held down reads.
    constexpr uint16_t k = 0x8001;
    teclasflechas t;
    const int dx = pasox[std::size_t(d)];
    const int dy = pasoy[std::size_t(d)];
    if (dx < 0)
        t.izquierda = k;
    if (dx > 0)
        t.derecha = k;
    if (dy < 0)
        t.arriba = k;
    if (dy > 0)
        t.abajo = k;
    return t;
}

// Whether an archer at `j` reaches `o`, as far as a computer archer shoots.
bool aalcance(const mundo& m, const unidad& j, const unidad& o) {
    return mundo::distanciaarco(o.x - j.x, o.y - j.y) <= m.valor().alcancearco;
}

} // namespace

int16_t jugadorsimple::blanco(const mundo& m) const {
    const unidad& j = m.unidades[std::size_t(slot_)];
    int mejor = std::numeric_limits<int>::max();
    int16_t b = -1;
    for (int16_t i = 0; i < 2 * m.maxp; ++i) {
        const unidad& e = m.unidades[std::size_t(i)];
        if (e.equipo == j.equipo || e.muerto == verdadero)
            continue;
        const int d = std::max(std::abs(e.x - j.x), std::abs(e.y - j.y));
        if (d < mejor) {
            mejor = d;
            b = i;
        }
    }
    return b;
}

void jugadorsimple::campo(const mundo& m, int16_t x, int16_t y) {
    const int ancho = m.anchomapa + 1;
    const int alto = m.altomapa + 1;
    distancia_.assign(std::size_t(ancho * alto), sinpaso);
    std::deque<std::pair<int16_t, int16_t>> cola;
    distancia_[std::size_t(y * ancho + x)] = 0;
    cola.push_back({x, y});
    while (!cola.empty()) {
        const auto [cx, cy] = cola.front();
        cola.pop_front();
        const int32_t d = distancia_[std::size_t(cy * ancho + cx)];
        for (int k = 0; k < 8; ++k) {
            const int nx = cx + pasox[std::size_t(k)];
            const int ny = cy + pasoy[std::size_t(k)];
            if (nx < 0 || ny < 0 || nx >= ancho || ny >= alto)
                continue;
            if (m.mapa(nx, ny).transitable != verdadero)
                continue;
            int32_t& n = distancia_[std::size_t(ny * ancho + nx)];
            if (n != sinpaso)
                continue;
            n = d + 1;
            cola.push_back({int16_t(nx), int16_t(ny)});
        }
    }
    medidox_ = x;
    medidoy_ = y;
}

void jugadorsimple::jugar(partida& p) {
    const mundo& m = p.juego();
    const unidad& j = m.unidades[std::size_t(slot_)];
    const int16_t b = blanco(m);
    entradatick e;
    if (b >= 0 && j.muerto != verdadero) {
        const unidad& o = m.unidades[std::size_t(b)];
        const int cerca = std::max(std::abs(o.x - j.x), std::abs(o.y - j.y));
        const bool tira = j.tipo == arquero && aalcance(m, j, o);
        int d = -1;
        if (cerca == 1) {
            // Facing it: the step is refused, the facing stays.
            d = comun::direccionhacia(o.x - j.x, o.y - j.y);
        } else if (!tira) {
            if (std::max(std::abs(o.x - medidox_), std::abs(o.y - medidoy_)) > 2 ||
                ++cuenta_ % 8 == 0)
                campo(m, o.x, o.y);
            const int ancho = m.anchomapa + 1;
            int32_t mejor = sinpaso;
            for (int k = 0; k < 8; ++k) {
                const int nx = j.x + pasox[std::size_t(k)];
                const int ny = j.y + pasoy[std::size_t(k)];
                if (nx < 0 || ny < 0 || nx > m.anchomapa || ny > m.altomapa ||
                    !m.celdalibre(int16_t(nx), int16_t(ny)))
                    continue;
                const int32_t n = distancia_[std::size_t(ny * ancho + nx)];
                if (n < mejor) {
                    mejor = n;
                    d = k;
                }
            }
        }
        if (d >= 0)
            e.mandos.push_back({slot_, teclasde(d)});
    }
    p.tick(e);
    if (b < 0 || j.muerto == verdadero || m.fin == verdadero)
        return;
    const unidad& o = m.unidades[std::size_t(b)];
    if (o.muerto == verdadero)
        return;
    if (j.tipo == guerrero && std::max(std::abs(o.x - j.x), std::abs(o.y - j.y)) == 1 &&
        j.x + pasox[std::size_t(j.direccion & 7)] == o.x &&
        j.y + pasoy[std::size_t(j.direccion & 7)] == o.y)
        p.aplicar({tipoaccion::espacio, slot_, 0, 0});
    if (j.tipo == arquero && aalcance(m, j, o))
        p.aplicar({tipoaccion::click, slot_, o.x, o.y});
}

} // namespace prueba
