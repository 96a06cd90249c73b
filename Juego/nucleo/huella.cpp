#include "Juego/nucleo/huella.h"

#include "Juego/nucleo/mundo.h"

#include <cstring>
#include <sstream>
#include <string>

namespace juego {

namespace {

// FNV-1a: fast, and a chance collision between two copies that differ is
// out of the question for this use.
class fnv {
public:
    void bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        for (std::size_t k = 0; k < n; ++k) {
            h_ ^= b[k];
            h_ *= 1099511628211ull;
        }
    }
    void i16(int16_t v) { bytes(&v, sizeof v); }
    void u32(uint32_t v) { bytes(&v, sizeof v); }
    void real(double v) { bytes(&v, sizeof v); }
    void texto(const std::string& s) {
        u32(uint32_t(s.size()));
        bytes(s.data(), s.size());
    }
    uint64_t valor() const { return h_; }

private:
    uint64_t h_ = 14695981039346656037ull;
};

void celdahuella(fnv& h, const celda& c) {
    h.i16(c.terreno);
    h.i16(c.transitable);
    h.i16(c.ocupante);
    h.i16(c.proyectil);
}

} // namespace

uint64_t huellapartida(const mundo& m) {
    fnv h;
    for (int16_t v : {m.anchomapa, m.altomapa, m.maxp, m.jugando, m.pausado})
        h.i16(v);
    h.u32(m.numtick);
    for (int16_t v : m.humano)
        h.i16(v);
    for (const posicion& p : m.inicio) {
        h.i16(p.x);
        h.i16(p.y);
    }
    for (const unidad& u : m.unidades) {
        for (int16_t v : {u.vida,      u.tipo,     u.espera,   u.pose,    u.ataque,  u.moviendo,
                          u.x,         u.y,        u.sigx,     u.sigy,    u.destx,   u.desty,
                          u.direccion, u.muerto,   u.equipo,   u.muertes, u.revivir, u.armadura,
                          u.siguiendo, u.atacando, u.buscando, u.bloqueos})
            h.i16(v);
        h.texto(u.camino);
        h.u32(uint32_t(u.pasos.size()));
        for (const std::string& p : u.pasos)
            h.texto(p);
    }
    for (const flecha& f : m.flechas) {
        h.real(f.x);
        h.real(f.y);
        h.real(f.velx);
        h.real(f.vely);
        for (int16_t v : {f.destx, f.desty, f.activa, f.direccion, f.velocidad, f.tirador})
            h.i16(v);
    }
    std::ostringstream azar;
    azar << m.rnd;
    h.texto(azar.str());
    for (int y = 0; y <= m.altomapa; ++y)
        for (int x = 0; x <= m.anchomapa; ++x)
            celdahuella(h, m.mapa(x, y));
    m.recorrerfuera([&](int16_t x, int16_t y, const celda& c) {
        h.i16(x);
        h.i16(y);
        celdahuella(h, c);
    });
    return h.valor();
}

} // namespace juego
