#include "Juego/nucleo/instantanea.h"

#include "Comun/terreno.h"
#include "Juego/nucleo/binario.h"
#include "Juego/nucleo/mundo.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

namespace juego {

namespace {

// Limits no real match comes near; they keep a hostile file from making
// the reader build huge texts.
constexpr std::size_t maxcamino = 16u << 20;
constexpr std::size_t maxpaso = 8;
constexpr std::size_t maxazar = 1u << 16;
constexpr std::size_t maxestado = 1024;

// One cell of the grid as the rules see it.
struct celdaguardada {
    int16_t terreno;
    int16_t transitable;
    int16_t ocupante;
    int16_t proyectil;
};

struct celdafuera {
    int16_t x;
    int16_t y;
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
    // Format 1 kept one view and status line, those of the slot it was
    // written by; the others are made up as a match start makes them.
    bool todaslasvistas = false;
    std::array<posicion, numunidades> vistas{};
    std::array<std::string, numunidades> estados{};
    std::vector<celdaguardada> celdas; // the map, row after row
    std::vector<celdafuera> fuera;     // grid cells outside the map the rules wrote
};

bool bandera(int16_t v) {
    return v == verdadero || v == falso;
}

bool entre(int v, int a, int b) {
    return v >= a && v <= b;
}

void escribircelda(escritor& w, const celda& c) {
    w.i16(c.terreno);
    w.i16(c.transitable);
    w.i16(c.ocupante);
    w.i16(c.proyectil);
}

celdaguardada leercelda(lector& r) {
    celdaguardada c{};
    c.terreno = r.i16();
    c.transitable = r.i16();
    c.ocupante = r.i16();
    c.proyectil = r.i16();
    // The walkable flag always follows the terrain kind.
    const int16_t sigue = comun::transitable(c.terreno) ? verdadero : falso;
    if (!entre(c.terreno, 0, comun::numterrenos - 1) || c.transitable != sigue ||
        !entre(c.ocupante, -1, numunidades - 1) || !entre(c.proyectil, -1, numflechas - 1))
        r.fallar();
    return c;
}

void escribirunidad(escritor& w, const unidad& u) {
    for (int16_t v : {u.vida,      u.tipo,     u.espera,   u.pose,     u.ataque,  u.moviendo,
                      u.x,         u.y,        u.sigx,     u.sigy,     u.destx,   u.desty,
                      u.direccion, u.muerto,   u.equipo,   u.muertes,  u.revivir, u.armadura,
                      u.siguiendo, u.atacando, u.buscando, u.bloqueos, u.bajas})
        w.i16(v);
    w.texto(u.camino);
    w.u32(uint32_t(u.pasos.size()));
    for (const std::string& p : u.pasos)
        w.texto(p);
}

void leerunidad(lector& r, unidad& u) {
    for (int16_t* v :
         {&u.vida,      &u.tipo,     &u.espera,   &u.pose,     &u.ataque,  &u.moviendo,
          &u.x,         &u.y,        &u.sigx,     &u.sigy,     &u.destx,   &u.desty,
          &u.direccion, &u.muerto,   &u.equipo,   &u.muertes,  &u.revivir, &u.armadura,
          &u.siguiendo, &u.atacando, &u.buscando, &u.bloqueos, &u.bajas})
        *v = r.i16();
    u.camino = r.texto(maxcamino);
    const uint32_t n = r.u32();
    // Each step takes at least the four bytes of its length.
    if (!r.ok() || n > r.quedan() / 4) {
        r.fallar();
        return;
    }
    for (uint32_t k = 0; k < n && r.ok(); ++k)
        u.pasos.push_back(r.texto(maxpaso));
}

// Why a fighter's values cannot come from a match on this map, or nullptr.
const char* unidadmala(const unidad& u, int16_t ancho, int16_t alto, bool enjuego) {
    if (!bandera(u.moviendo) || !bandera(u.muerto) || !bandera(u.siguiendo) ||
        !bandera(u.atacando) || !bandera(u.buscando))
        return "una marca de un luchador no vale -1 ni 0";
    if (!entre(u.tipo, arquero, guerrero) || !entre(u.equipo, 0, 1) || !entre(u.direccion, 0, 7) ||
        !entre(u.pose, 0, 3))
        return "el tipo, el equipo, la dirección o la postura de un luchador no existe";
    if (u.espera < 0 || u.revivir < 0 || u.bloqueos < 0 || u.bajas < 0)
        return "una cuenta de un luchador es negativa";
    // A new match leaves a fighter's destination and next step as the last
    // match left them, on a map that may have been larger; until the fighter
    // plans anew they are only compared, never used to reach a cell.
    if (!entre(u.destx, 0, ladomapa - 1) || !entre(u.desty, 0, ladomapa - 1))
        return "el destino de un luchador está fuera de toda rejilla";
    if (!entre(u.sigx, -1, ladomapa) || !entre(u.sigy, -1, ladomapa))
        return "el paso siguiente de un luchador está fuera de toda rejilla";
    if (!enjuego)
        return nullptr;
    // The rules index the map with these without checking again.
    if (!entre(u.x, 0, ancho) || !entre(u.y, 0, alto))
        return "un luchador está fuera del mapa";
    return nullptr;
}

void escribirflecha(escritor& w, const flecha& f) {
    w.real(f.x);
    w.real(f.y);
    w.i16(f.destx);
    w.i16(f.desty);
    w.real(f.velx);
    w.real(f.vely);
    w.i16(f.activa);
    w.i16(f.direccion);
    w.i16(f.velocidad);
    w.i16(f.tirador);
}

void leerflecha(lector& r, flecha& f) {
    f.x = r.real();
    f.y = r.real();
    f.destx = r.i16();
    f.desty = r.i16();
    f.velx = r.real();
    f.vely = r.real();
    f.activa = r.i16();
    f.direccion = r.i16();
    f.velocidad = r.i16();
    f.tirador = r.i16();
}

const char* flechamala(const flecha& f) {
    if (!std::isfinite(f.x) || !std::isfinite(f.y) || !std::isfinite(f.velx) ||
        !std::isfinite(f.vely))
        return "una flecha tiene una posición o una velocidad que no es un número";
    if (!bandera(f.activa) || !entre(f.direccion, 0, 7) || !entre(f.velocidad, 0, 64))
        return "una flecha tiene una marca, una dirección o una velocidad imposible";
    // A flying arrow is over the map it was shot on, and moves in
    // `velocidad` parts. That may be a larger map of an earlier match: a new
    // match lets it fly on, and it vanishes at its next step if it is off
    // this map.
    if (f.activa == verdadero &&
        (f.velocidad < 1 || f.x < 0 || f.x > ladomapa - 1 || f.y < 0 || f.y > ladomapa - 1 ||
         std::abs(f.velx) > 64 || std::abs(f.vely) > 64))
        return "una flecha en vuelo está fuera de toda rejilla";
    return nullptr;
}

std::string error(const std::string& motivo) {
    return "No se puede cargar la partida guardada: " + motivo + ".";
}

} // namespace

namespace {

// The match alone: what every copy of a network match holds alike.
void escribirmundo(escritor& w, const mundo& m) {
    for (int16_t v : {m.anchomapa, m.altomapa, m.maxp, m.jugando, m.pausado})
        w.i16(v);
    for (int16_t h : m.humano)
        w.i16(h);
    w.u32(m.numtick);
    w.i16(int16_t(m.meta.tipo));
    w.i16(m.meta.valor);
    w.i16(m.fin);
    w.i16(m.ganador);
    for (const posicion& p : m.inicio) {
        w.i16(p.x);
        w.i16(p.y);
    }
    for (const tipobase& t : m.tipos) {
        w.i16(t.ataque);
        w.i16(t.armadura);
    }
    for (const unidad& u : m.unidades)
        escribirunidad(w, u);
    for (const flecha& f : m.flechas)
        escribirflecha(w, f);
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
            escribircelda(w, m.mapa(x, y));
    std::vector<std::pair<posicion, celda>> fuera;
    m.recorrerfuera([&](int16_t x, int16_t y, const celda& c) { fuera.push_back({{x, y}, c}); });
    w.u32(uint32_t(fuera.size()));
    for (const auto& [p, c] : fuera) {
        w.i16(p.x);
        w.i16(p.y);
        escribircelda(w, c);
    }
}

} // namespace

std::vector<uint8_t> escribirinstantanea(const mundo& m, int16_t jugador) {
    escritor w;
    w.bytes(firmainstantanea, sizeof firmainstantanea);
    w.u16(versioninstantanea);
    w.i16(jugador);
    escribirmundo(w, m);
    return std::move(w.datos);
}

std::vector<uint8_t> estadomundo(const mundo& m) {
    escritor w;
    escribirmundo(w, m);
    return std::move(w.datos);
}

std::string leerinstantanea(const uint8_t* datos, std::size_t n, mundo& m, int16_t& jugador) {
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
    posicion vista; // of format 1
    if (version == 1) {
        for (int16_t* v : {&e->anchomapa, &e->altomapa, &e->maxp, &e->jugador, &vista.x, &vista.y,
                           &e->jugando, &e->pausado})
            *v = r.i16();
    } else {
        e->jugador = r.i16();
        for (int16_t* v : {&e->anchomapa, &e->altomapa, &e->maxp, &e->jugando, &e->pausado})
            *v = r.i16();
    }
    for (int16_t& h : e->humano)
        h = r.i16();
    e->numtick = r.u32();
    e->meta.tipo = tipoobjetivo(r.i16());
    e->meta.valor = r.i16();
    e->fin = r.i16();
    e->ganador = r.i16();
    for (posicion& p : e->inicio) {
        p.x = r.i16();
        p.y = r.i16();
    }
    for (tipobase& t : e->tipos) {
        t.ataque = r.i16();
        t.armadura = r.i16();
    }
    if (!r.ok())
        return error("el archivo está cortado");
    if (!entre(e->anchomapa, 0, ladomapa - 1) || !entre(e->altomapa, 0, ladomapa - 1))
        return error("el tamaño del mapa no está entre 1 y 1000 celdas");
    if (e->jugando != verdadero || !entre(e->maxp, 1, 8))
        return error("no guarda una partida en marcha de 1 a 8 luchadores por equipo");
    if (!entre(e->jugador, 0, 2 * e->maxp - 1) || !bandera(e->pausado))
        return error("el jugador o la pausa no son válidos");
    for (int16_t h : e->humano)
        if (!bandera(h))
            return error("una marca de jugador humano no vale -1 ni 0");
    if (!entre(int(e->meta.tipo), 0, 2) ||
        (e->meta.tipo != tipoobjetivo::ninguno && e->meta.valor < 1) || !bandera(e->fin) ||
        !entre(e->ganador, -1, 1))
        return error("el objetivo o el final de la partida no son válidos");
    for (int k = 0; k < 2; ++k)
        if (!entre(e->inicio[k].x, 1, ladomapa - 2) || !entre(e->inicio[k].y, 1, ladomapa - 2))
            return error("un inicio de equipo está fuera de la rejilla");

    for (int i = 0; i < numunidades; ++i) {
        leerunidad(r, e->unidades[i]);
        if (!r.ok())
            return error("el archivo está cortado o un camino es demasiado largo");
        if (const char* mal =
                unidadmala(e->unidades[i], e->anchomapa, e->altomapa, i < 2 * e->maxp))
            return error(mal);
    }
    for (flecha& fl : e->flechas) {
        leerflecha(r, fl);
        if (!r.ok())
            return error("el archivo está cortado");
        if (const char* mal = flechamala(fl))
            return error(mal);
    }
    {
        std::istringstream azar(r.texto(maxazar));
        azar >> e->rnd;
        if (!r.ok() || azar.fail())
            return error("el estado del azar no es válido");
    }
    if (version == 1) {
        e->estados[std::size_t(e->jugador)] = r.texto(maxestado);
        e->vistas[std::size_t(e->jugador)] = vista;
    } else {
        e->todaslasvistas = true;
        for (posicion& v : e->vistas) {
            v.x = r.i16();
            v.y = r.i16();
            // Views are kept over the map between ticks; drawing relies on it.
            if (!entre(v.x, std::min(0, e->anchomapa - (columnasvista - 1)), e->anchomapa) ||
                !entre(v.y, std::min(0, e->altomapa - (filasvista - 1)), e->altomapa))
                r.fallar();
        }
        for (std::string& t : e->estados)
            t = r.texto(maxestado);
        if (!r.ok())
            return error("el archivo está cortado o la vista de un luchador está fuera del mapa");
    }

    const std::size_t celdas = std::size_t(e->anchomapa + 1) * std::size_t(e->altomapa + 1);
    if (!r.ok() || celdas > r.quedan() / 8)
        return error("el archivo está cortado");
    e->celdas.reserve(celdas);
    for (std::size_t k = 0; k < celdas && r.ok(); ++k)
        e->celdas.push_back(leercelda(r));
    const uint32_t nfuera = r.u32();
    if (!r.ok())
        return error("el archivo está cortado o una celda no es válida");
    if (nfuera > r.quedan() / 12)
        return error("el archivo está cortado");
    e->fuera.reserve(nfuera);
    for (uint32_t k = 0; k < nfuera && r.ok(); ++k) {
        celdafuera c{};
        c.x = r.i16();
        c.y = r.i16();
        c.c = leercelda(r);
        if (!mundo::enrejilla(c.x, c.y) || (c.x <= e->anchomapa && c.y <= e->altomapa))
            r.fallar();
        e->fuera.push_back(c);
    }
    if (!r.ok())
        return error("una celda fuera del mapa no es válida");
    if (!r.alfinal())
        return error("hay datos de más al final del archivo");

    // Whole and checked: now the world takes it.
    m.limpiarmapa(e->anchomapa, e->altomapa);
    m.maxp = e->maxp;
    m.jugando = e->jugando;
    m.pausado = e->pausado;
    m.humano = e->humano;
    m.numtick = e->numtick;
    m.meta = e->meta;
    m.fin = e->fin;
    m.ganador = e->ganador;
    m.inicio = e->inicio;
    m.tipos = e->tipos;
    m.unidades = std::move(e->unidades);
    m.flechas = e->flechas;
    m.rnd = e->rnd;
    m.estados = std::move(e->estados);
    std::size_t k = 0;
    for (int y = 0; y <= m.altomapa; ++y) {
        for (int x = 0; x <= m.anchomapa; ++x) {
            const celdaguardada& c = e->celdas[k++];
            m.ponerterreno(x, y, c.terreno);
            m.ponerocupante(x, y, c.ocupante);
            if (c.proyectil >= 0)
                m.marcarflecha(c.proyectil, int16_t(x), int16_t(y));
        }
    }
    for (const celdafuera& c : e->fuera) {
        m.ponerterreno(c.x, c.y, c.c.terreno);
        m.ponerocupante(c.x, c.y, c.c.ocupante);
        if (c.c.proyectil >= 0)
            m.marcarflecha(c.c.proyectil, c.x, c.y);
    }
    // The views last: limpiarmapa put them in the corner.
    const std::size_t propia = std::size_t(e->jugador);
    for (int16_t i = 0; i < numunidades; ++i) {
        if (!e->todaslasvistas && std::size_t(i) != propia) {
            m.seguir(i);
            m.estados[std::size_t(i)] = m.textoestado(i);
        } else {
            m.vistas[std::size_t(i)] = m.vistaajustada(e->vistas[std::size_t(i)]);
        }
    }
    m.terrenolisto();
    jugador = e->jugador;
    return {};
}

} // namespace juego
