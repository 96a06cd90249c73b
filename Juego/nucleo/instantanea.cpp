#include "Juego/nucleo/instantanea.h"

#include "Juego/nucleo/binario.h"
#include "Juego/nucleo/compresion.h"
#include "Juego/nucleo/descripcion.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/registros.h"

#include <algorithm>
#include <memory>
#include <sstream>

namespace juego {

namespace {

// Limits no real match comes near; they keep a hostile file from making
// the reader build huge texts.
constexpr std::size_t maxazar = 1u << 16;
constexpr std::size_t maxestado = 1024;

bool entre(int v, int a, int b) {
    return v >= a && v <= b;
}

// One cell of the grid as the rules see it.
struct celdaguardada {
    int16_t terreno = 0;
    int16_t transitable = 0;
    int16_t ocupante = 0;
    int16_t proyectil = 0;
};

struct celdafuera {
    int16_t x = 0;
    int16_t y = 0;
    celdaguardada c;
};

// Everything a snapshot holds, read and checked before the world is touched.
struct estado {
    int16_t anchomapa = 0, altomapa = 0, maxp = 0, jugador = 0;
    int16_t jugando = 0, pausado = 0;
    uint32_t numtick = 0;
    objetivo meta;
    int16_t fin = 0, ganador = -1;
    std::array<int16_t, numunidades> humano{};
    std::array<posicion, 3> inicio{};
    std::array<tipobase, 3> tipos{};
    std::array<unidad, numunidades> unidades{};
    std::array<flecha, numflechas> flechas{};
    azar rnd;
    reglas regla;
    azarpropio suerte;
    std::array<pendiente, numunidades> pendientes{};
    int32_t balanza = 0;
    // Format 1 kept one view and status line, those of the slot it was
    // written by; the others are made up as a match start makes them.
    bool todaslasvistas = false;
    posicion vista;
    std::array<posicion, numunidades> vistas{};
    std::array<std::string, numunidades> estados{};
    std::vector<celdaguardada> celdas; // the map, row after row
    std::vector<celdafuera> fuera;     // grid cells outside the map the rules wrote
};

// The match's own fields, before its fighters. `E` is the world when
// writing and the state being read otherwise; format 1 had the slot and
// its view among them.
template <class A, class E> void describirpartida(A& a, E& e) {
    a.campo("el ancho del mapa", e.anchomapa, 0, int16_t(ladomapa - 1));
    a.campo("el alto del mapa", e.altomapa, 0, int16_t(ladomapa - 1));
    a.campo("los luchadores por equipo", e.maxp, 1, 8);
    if constexpr (!std::is_const_v<E>) {
        if (a.version() == 1) {
            a.campo("el jugador", e.jugador, 0, int16_t(numunidades - 1));
            a.campo("la vista", e.vista.x, minimo16, maximo16);
            a.campo("la vista", e.vista.y, minimo16, maximo16);
        }
    }
    a.campo("la marca de partida en marcha", e.jugando, verdadero, verdadero);
    a.campo("la pausa", e.pausado, verdadero, falso);
    for (auto& h : e.humano)
        a.campo("una marca de jugador humano", h, verdadero, falso);
    a.campo("el número de tick", e.numtick, 0, UINT32_MAX);
    describirobjetivo(a, e.meta);
    a.campo("el final", e.fin, verdadero, falso);
    a.campo("el ganador", e.ganador, -1, 1);
    for (std::size_t k = 0; k < e.inicio.size(); ++k) {
        // The third start is never used; the teams' must leave room around.
        const int16_t bajo = k < 2 ? 1 : minimo16;
        const int16_t alto = k < 2 ? int16_t(ladomapa - 2) : maximo16;
        a.campo("un inicio de equipo", e.inicio[k].x, bajo, alto);
        a.campo("un inicio de equipo", e.inicio[k].y, bajo, alto);
    }
    for (auto& t : e.tipos) {
        a.campo("el ataque de un tipo", t.ataque, 0, maximo16);
        a.campo("la armadura de un tipo", t.armadura, 0, maximo16);
    }
    // Format 4 added the rules and format 5 their edition; older files are
    // classic matches.
    describirreglas(a, e.regla, 4, 5);
    a.campo("el azar de las reglas", e.suerte.estado, 0, UINT64_MAX, 4);
    for (auto& q : e.pendientes)
        describirpendiente(a, q);
    a.campo("la balanza de los tipos", e.balanza, INT32_MIN, INT32_MAX, 5);
}

void escribirmundo(escritor& w, const mundo& m) {
    escribe a(w);
    describirpartida(a, m);
    for (const unidad& u : m.unidades)
        describir(a, u);
    for (const flecha& f : m.flechas)
        describirflecha(a, f);
    std::ostringstream azar;
    azar << m.rnd;
    w.texto(azar.str());
    for (const posicion& v : m.vistas) {
        w.i16(v.x);
        w.i16(v.y);
    }
    for (const std::string& e : m.estados)
        w.texto(e);
    for (int y = 0; y <= m.altomapa; ++y)
        for (int x = 0; x <= m.anchomapa; ++x)
            describircelda(a, m.mapa(x, y));
    std::vector<std::pair<posicion, celda>> fuera;
    m.recorrerfuera([&](int16_t x, int16_t y, const celda& c) { fuera.push_back({{x, y}, c}); });
    w.u32(uint32_t(fuera.size()));
    for (const auto& [p, c] : fuera) {
        w.i16(p.x);
        w.i16(p.y);
        describircelda(a, c);
    }
}

// Why a fighter in play cannot be where it is on this map, or nullptr.
const char* fueradelmapa(const unidad& u, int16_t ancho, int16_t alto) {
    // The rules index the map with these without checking again.
    if (u.x < 0 || u.x > ancho || u.y < 0 || u.y > alto)
        return "un luchador está fuera del mapa";
    return nullptr;
}

std::string error(const std::string& motivo) {
    return "No se puede cargar la partida guardada: " + motivo + ".";
}

// Reads the match of a snapshot of format `version` into `e`.
std::string leermundo(lector& r, uint16_t version, estado& e) {
    lee a(r, version);
    describirpartida(a, e);
    if (!r.ok())
        return a.motivo().empty() ? "el archivo está cortado" : a.motivo();
    if (!entre(e.jugador, 0, 2 * e.maxp - 1))
        return "el jugador no es uno de la partida";

    for (int i = 0; i < numunidades; ++i) {
        describir(a, e.unidades[std::size_t(i)]);
        if (!r.ok())
            return a.motivo().empty() ? "el archivo está cortado o un camino es demasiado largo"
                                      : "un luchador tiene " + a.motivo();
        if (i < 2 * e.maxp)
            if (const char* mal =
                    fueradelmapa(e.unidades[std::size_t(i)], e.anchomapa, e.altomapa))
                return mal;
    }
    for (flecha& fl : e.flechas) {
        describirflecha(a, fl);
        if (!r.ok())
            return a.motivo().empty() ? "el archivo está cortado" : a.motivo();
    }
    {
        std::istringstream azar(r.texto(maxazar));
        azar >> e.rnd;
        if (!r.ok() || azar.fail())
            return "el estado del azar no es válido";
    }
    if (version == 1) {
        e.estados[std::size_t(e.jugador)] = r.texto(maxestado);
        e.vistas[std::size_t(e.jugador)] = e.vista;
    } else {
        e.todaslasvistas = true;
        for (posicion& v : e.vistas) {
            v.x = r.i16();
            v.y = r.i16();
            // Views are kept over the map between ticks; drawing relies on it.
            if (!entre(v.x, std::min(0, e.anchomapa - (columnasvista - 1)), e.anchomapa) ||
                !entre(v.y, std::min(0, e.altomapa - (filasvista - 1)), e.altomapa))
                r.fallar();
        }
        for (std::string& t : e.estados)
            t = r.texto(maxestado);
        if (!r.ok())
            return "el archivo está cortado o la vista de un luchador está fuera del mapa";
    }

    const std::size_t celdas = std::size_t(e.anchomapa + 1) * std::size_t(e.altomapa + 1);
    if (!r.ok() || celdas > r.quedan() / 8)
        return "el archivo está cortado";
    e.celdas.resize(celdas);
    for (std::size_t k = 0; k < celdas && r.ok(); ++k)
        describircelda(a, e.celdas[k]);
    const uint32_t nfuera = r.u32();
    if (!r.ok())
        return a.motivo().empty() ? "el archivo está cortado" : a.motivo();
    if (nfuera > r.quedan() / 12)
        return "el archivo está cortado";
    e.fuera.resize(nfuera);
    for (celdafuera& c : e.fuera) {
        c.x = r.i16();
        c.y = r.i16();
        describircelda(a, c.c);
        if (!mundo::enrejilla(c.x, c.y) || (c.x <= e.anchomapa && c.y <= e.altomapa))
            r.fallar();
        if (!r.ok())
            return "una celda fuera del mapa no es válida";
    }
    if (!r.alfinal())
        return "hay datos de más al final del archivo";
    return {};
}

void poner(mundo& m, estado& e) {
    m.limpiarmapa(e.anchomapa, e.altomapa);
    m.maxp = e.maxp;
    m.jugando = e.jugando;
    m.pausado = e.pausado;
    m.humano = e.humano;
    m.numtick = e.numtick;
    m.meta = e.meta;
    m.fin = e.fin;
    m.ganador = e.ganador;
    m.inicio = e.inicio;
    m.tipos = e.tipos;
    m.unidades = std::move(e.unidades);
    m.flechas = e.flechas;
    m.rnd = e.rnd;
    m.regla = e.regla;
    m.suerte = e.suerte;
    m.pendientes = e.pendientes;
    m.balanza = e.balanza;
    m.estados = std::move(e.estados);
    std::size_t k = 0;
    for (int y = 0; y <= m.altomapa; ++y) {
        for (int x = 0; x <= m.anchomapa; ++x) {
            const celdaguardada& c = e.celdas[k++];
            m.ponerterreno(x, y, c.terreno);
            m.ponerocupante(x, y, c.ocupante);
            if (c.proyectil >= 0)
                m.marcarflecha(c.proyectil, int16_t(x), int16_t(y));
        }
    }
    for (const celdafuera& c : e.fuera) {
        m.ponerterreno(c.x, c.y, c.c.terreno);
        m.ponerocupante(c.x, c.y, c.c.ocupante);
        if (c.c.proyectil >= 0)
            m.marcarflecha(c.c.proyectil, c.x, c.y);
    }
    // The views last: limpiarmapa put them in the corner.
    const std::size_t propia = std::size_t(e.jugador);
    for (int16_t i = 0; i < numunidades; ++i) {
        if (!e.todaslasvistas && std::size_t(i) != propia) {
            m.seguir(i);
            m.estados[std::size_t(i)] = m.textoestado(i);
        } else {
            m.vistas[std::size_t(i)] = m.vistaajustada(e.vistas[std::size_t(i)]);
        }
    }
    m.terrenolisto();
}

} // namespace

std::vector<uint8_t> escribirinstantanea(const mundo& m, const cabecera& c, bool guardar) {
    escritor w;
    w.bytes(firmainstantanea, sizeof firmainstantanea);
    w.u16(versioninstantanea);
    escribircabecera(w, c);
    escribirbloque(w, estadomundo(m), guardar);
    return std::move(w.datos);
}

std::vector<uint8_t> estadomundo(const mundo& m) {
    escritor w;
    escribirmundo(w, m);
    return std::move(w.datos);
}

std::string leerinstantanea(const uint8_t* datos, std::size_t n, mundo& m, cabecera& c) {
    lector r(datos, n);
    uint16_t version = 0;
    const std::string motivo = r.cabecera(firmainstantanea, 1, versioninstantanea,
                                          "el archivo no es una partida guardada de Tarnhollow",
                                          "la partida es", version);
    if (!motivo.empty() && empiezapor(datos, n, firmarepeticion))
        return error("el archivo es una repetición, que se ve con Archivo → Ver repetición");
    if (!motivo.empty())
        return error(motivo);

    // The state is big (every fighter's path): build it on the heap.
    auto e = std::make_unique<estado>();
    cabecera leida;
    leida.formato = version;
    std::string mal;
    if (version >= 3) {
        if (std::string f = leercabecera(r, version, leida); !f.empty())
            return f;
        std::vector<uint8_t> cuerpo;
        if (std::string f = leerbloque(r, maxpartida, cuerpo); !f.empty())
            return error(f);
        if (!r.alfinal())
            return error("hay datos de más al final del archivo");
        e->jugador = leida.jugador;
        lector b(cuerpo.data(), cuerpo.size());
        mal = leermundo(b, version, *e);
    } else {
        if (version == 2)
            e->jugador = r.i16();
        mal = leermundo(r, version, *e);
    }
    if (!mal.empty())
        return error(mal);

    // Whole and checked: now the world takes it.
    poner(m, *e);
    // The first formats tell only what the match holds.
    if (version < 3) {
        leida = cabeceradepartida(m, e->jugador, {}, 0, {});
        leida.juego.clear();
    }
    leida.formato = version;
    c = std::move(leida);
    return {};
}

} // namespace juego
