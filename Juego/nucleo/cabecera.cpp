#include "Juego/nucleo/cabecera.h"

#include "Juego/nucleo/binario.h"
#include "Juego/nucleo/descripcion.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/instantanea.h"
#include "Juego/nucleo/registros.h"
#include "Juego/nucleo/repeticion.h"

namespace juego {

namespace {

// The header has a version of its own, so its fields can grow the same
// way in both kinds of file.
// Version 2 added the match's rules, so a list of replays can show them;
// version 3 their edition.
constexpr uint16_t versioncabecera = 3;
constexpr std::size_t maxcabecera = 1u << 16;
constexpr std::size_t maxtexto = 256;

template <class A, class J> void describirjugador(A& a, J& j) {
    a.campo("el luchador de un jugador", j.slot, 0, int16_t(numunidades - 1));
    a.texto("el nombre de un jugador", j.nombre, maxtexto);
    a.campo("la marca de persona de un jugador", j.humano, verdadero, falso);
    a.campo("el tipo de un jugador", j.tipo, arquero, guerrero);
    a.campo("el equipo de un jugador", j.equipo, 0, 1);
}

template <class A, class C> void describircabecera(A& a, C& c) {
    a.texto("la versión del juego", c.juego, maxtexto);
    a.texto("el nombre del mapa", c.mapa, maxtexto);
    a.campo("la huella del mapa", c.huellamapa, 0, UINT64_MAX);
    a.campo("la fecha", c.fecha, 0, INT64_MAX);
    a.campo("la duración", c.ticks, 0, UINT64_MAX);
    describirobjetivo(a, c.meta);
    a.campo("el jugador que la guardó", c.jugador, 0, int16_t(numunidades - 1));
    a.campo("el final", c.fin, verdadero, falso);
    a.campo("el ganador", c.ganador, -1, 1);
    a.campo("las muertes del equipo rojo", c.muertes[0], 0, INT32_MAX);
    a.campo("las muertes del equipo azul", c.muertes[1], 0, INT32_MAX);
    describirreglas(a, c.regla, 2, 3);
}

std::string error(const std::string& motivo) {
    return "No se puede leer la cabecera: " + motivo + ".";
}

} // namespace

const char* versionjuego() {
    return TARNHOLLOW_VERSION;
}

uint64_t huellaterreno(const mundo& m) {
    // FNV-1a over the size and every cell's terrain.
    uint64_t h = 14695981039346656037ull;
    auto mezclar = [&h](int v) {
        for (int k = 0; k < 2; ++k) {
            h ^= uint8_t(v >> (8 * k));
            h *= 1099511628211ull;
        }
    };
    mezclar(m.anchomapa);
    mezclar(m.altomapa);
    for (int y = 0; y <= m.altomapa; ++y)
        for (int x = 0; x <= m.anchomapa; ++x)
            mezclar(m.mapa(x, y).terreno);
    return h;
}

cabecera cabeceradepartida(const mundo& m, int16_t jugador, const std::string& mapa, int64_t fecha,
                           const std::array<std::string, numunidades>& nombres) {
    cabecera c;
    c.juego = versionjuego();
    c.mapa = mapa;
    c.huellamapa = huellaterreno(m);
    c.fecha = fecha;
    c.ticks = m.numtick;
    c.meta = m.meta;
    c.regla = m.regla;
    c.jugador = jugador;
    for (int16_t i = 0; i < 2 * m.maxp && i < numunidades; ++i) {
        const unidad& u = m.unidades[std::size_t(i)];
        const bool persona = m.eshumano(i);
        std::string nombre = nombres[std::size_t(i)];
        if (!persona)
            nombre = "Ordenador";
        else if (nombre.empty())
            nombre = "Jugador";
        c.jugadores.push_back({i, nombre, persona ? verdadero : falso, u.tipo, u.equipo});
    }
    c.fin = m.fin;
    c.ganador = m.ganador;
    c.muertes = {m.muertesequipo(0), m.muertesequipo(1)};
    return c;
}

void escribircabecera(escritor& w, const cabecera& c) {
    escritor b;
    b.u16(versioncabecera);
    escribe a(b);
    describircabecera(a, c);
    b.u8(uint8_t(c.jugadores.size()));
    for (const jugadorcabecera& j : c.jugadores)
        describirjugador(a, j);
    w.u32(uint32_t(b.datos.size()));
    w.bytes(b.datos.data(), b.datos.size());
}

std::string leercabecera(lector& r, uint16_t formato, cabecera& salida) {
    const uint32_t largo = r.u32();
    const uint8_t* p = r.bytes(largo);
    if (!p)
        return error("el archivo está cortado");
    if (largo > maxcabecera)
        return error("es demasiado larga");
    lector b(p, largo);
    const uint16_t version = b.u16();
    if (b.ok() && version > versioncabecera)
        return error("es del formato " + std::to_string(version) +
                     " y esta versión del juego lee hasta el " + std::to_string(versioncabecera));
    cabecera c;
    c.formato = formato;
    lee a(b, version);
    describircabecera(a, c);
    const uint8_t n = b.u8();
    if (b.ok() && n > numunidades - 1)
        return error("tiene más jugadores de los que caben");
    c.jugadores.resize(n);
    for (jugadorcabecera& j : c.jugadores)
        describirjugador(a, j);
    if (!a.motivo().empty())
        return error(a.motivo());
    if (!b.ok())
        return error("está cortada");
    salida = std::move(c);
    return {};
}

std::string leerinfo(const uint8_t* datos, std::size_t n, cabecera& c) {
    lector r(datos, n);
    const bool esrepeticion = empiezapor(datos, n, firmarepeticion);
    if (!esrepeticion && !empiezapor(datos, n, firmainstantanea))
        return "No se puede leer el archivo: no es una partida guardada ni una repetición de "
               "Tarnhollow.";
    r.bytes(8);
    const uint16_t version = r.u16();
    const uint16_t conc = esrepeticion ? 2 : 3; // the first formats with a header
    const uint16_t ultima = esrepeticion ? versionrepeticion : versioninstantanea;
    if (r.ok() && version > ultima)
        return std::string(esrepeticion ? "No se puede ver la repetición"
                                        : "No se puede "
                                          "cargar la partida "
                                          "guardada") +
               ": es del formato " + std::to_string(version) +
               " y esta versión del juego lee hasta el formato " + std::to_string(ultima) + ".";
    if (r.ok() && version >= conc)
        return leercabecera(r, version, c);
    // The first formats: the match inside says what it holds.
    grabadora plat;
    mundo m(plat);
    cabecera leida;
    if (!esrepeticion) {
        if (std::string e = leerinstantanea(datos, n, m, leida); !e.empty())
            return e;
        c = std::move(leida);
        return {};
    }
    repeticion rep;
    if (std::string e = leerrepeticion(datos, n, rep); !e.empty())
        return e;
    if (std::string e = leerinstantanea(rep.inicio.data(), rep.inicio.size(), m, leida);
        !e.empty())
        return "No se puede ver la repetición: su comienzo está dañado (" + e + ")";
    leida.ticks += rep.ticks();
    leida.formato = version;
    // Where it ended is known only by playing it.
    leida.fin = falso;
    leida.ganador = -1;
    c = std::move(leida);
    return {};
}

} // namespace juego
