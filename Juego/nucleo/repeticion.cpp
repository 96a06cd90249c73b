#include "Juego/nucleo/repeticion.h"

#include "Juego/nucleo/binario.h"
#include "Juego/nucleo/descripcion.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/registros.h"

#include <cstring>

namespace juego {

namespace {

// Record kinds after the snapshot. Format 1 had one kind per action
// (3 to 6); format 2 writes every action as one record (7).
enum : uint8_t {
    rtick = 1,
    rrepetir = 2,
    respacio = 3,
    rclick = 4,
    rpausa = 5,
    rrelevo = 6,
    raccion = 7
};

std::string error(const std::string& motivo) {
    return "No se puede ver la repetición: " + motivo + ".";
}

} // namespace

void repeticion::anotartick(const entradatick& e) {
    if (!pasos.empty() && pasos.back().estick && pasos.back().entrada == e &&
        pasos.back().veces < 0xffff) {
        ++pasos.back().veces;
        return;
    }
    pasos.push_back({true, 1, e, {}});
}

void repeticion::anotaraccion(const accion& a) {
    pasos.push_back({false, 1, {}, a});
}

uint64_t repeticion::ticks() const {
    uint64_t n = 0;
    for (const paso& p : pasos)
        if (p.estick)
            n += p.veces;
    return n;
}

std::vector<uint8_t> escribirrepeticion(const repeticion& r) {
    escritor w;
    w.bytes(firmarepeticion, sizeof firmarepeticion);
    w.u16(versionrepeticion);
    escribircabecera(w, r.final);
    w.u32(uint32_t(r.inicio.size()));
    w.bytes(r.inicio.data(), r.inicio.size());
    escribe a(w);
    for (const paso& p : r.pasos) {
        if (p.estick) {
            w.u8(rtick);
            w.u8(uint8_t(p.entrada.mandos.size()));
            for (const mando& m : p.entrada.mandos)
                describirmando(a, m);
            if (p.veces > 1) {
                w.u8(rrepetir);
                w.u16(uint16_t(p.veces - 1));
            }
            continue;
        }
        w.u8(raccion);
        describiraccion(a, p.a);
    }
    return std::move(w.datos);
}

std::string leerrepeticion(const uint8_t* datos, std::size_t n, repeticion& salida) {
    lector r(datos, n);
    uint16_t version = 0;
    const std::string motivo =
        r.cabecera(firmarepeticion, 1, versionrepeticion,
                   "el archivo no es una repetición de Tarnhollow", "es", version);
    if (!motivo.empty() && empiezapor(datos, n, firmainstantanea))
        return error("el archivo es una partida guardada, que se abre con Archivo → Cargar "
                     "partida");
    if (!motivo.empty())
        return error(motivo);
    repeticion nueva;
    if (version >= 2)
        if (std::string e = leercabecera(r, version, nueva.final); !e.empty())
            return e;
    const uint32_t largo = r.u32();
    const uint8_t* inicio = r.bytes(largo);
    if (!inicio)
        return error("el archivo está cortado");

    nueva.inicio.assign(inicio, inicio + largo);
    lee a(r, version);
    auto slotvalido = [](int16_t s) { return s >= 0 && s < numunidades; };
    while (r.ok() && !r.alfinal()) {
        if (nueva.pasos.size() > maxpasosrepeticion)
            return error("es más larga de lo que el juego puede ver");
        const uint8_t tipo = r.u8();
        if (version >= 2 && tipo >= respacio && tipo <= rrelevo)
            return error("hay un registro de un tipo desconocido");
        switch (tipo) {
        case rtick: {
            const uint8_t cuantos = r.u8();
            if (cuantos > numunidades)
                return error("un tick lleva más jugadores de los que caben");
            paso p;
            p.entrada.mandos.resize(cuantos);
            for (mando& m : p.entrada.mandos)
                describirmando(a, m);
            if (!r.ok() && !a.motivo().empty())
                return error("un tick nombra a un luchador que no existe");
            nueva.pasos.push_back(std::move(p));
            break;
        }
        case rrepetir: {
            const uint16_t mas = r.u16();
            if (nueva.pasos.empty() || !nueva.pasos.back().estick ||
                nueva.pasos.back().veces != 1 || mas == 0)
                return error("una repetición de ticks no sigue a un tick");
            nueva.pasos.back().veces += mas;
            break;
        }
        case raccion: {
            if (version < 2)
                return error("hay un registro de un tipo desconocido");
            accion x;
            describiraccion(a, x);
            if (!r.ok() && !a.motivo().empty())
                return error("una acción no es válida: " + a.motivo());
            nueva.anotaraccion(x);
            break;
        }
        // The action records of format 1.
        case respacio:
        case rclick: {
            accion x;
            x.tipo = tipo == respacio ? tipoaccion::espacio : tipoaccion::click;
            x.slot = r.i16();
            if (tipo == rclick) {
                x.x = r.i16();
                x.y = r.i16();
            }
            if (!slotvalido(x.slot))
                return error("una acción nombra a un luchador que no existe");
            nueva.anotaraccion(x);
            break;
        }
        case rpausa:
            nueva.anotaraccion({tipoaccion::pausa, 0, 0, 0});
            break;
        case rrelevo: {
            const int16_t slot = r.i16();
            const uint8_t persona = r.u8();
            if (r.ok() && (!slotvalido(slot) || persona > 1))
                return error("un relevo nombra a un luchador que no existe");
            nueva.anotaraccion({tipoaccion::relevo, slot, int16_t(persona), 0});
            break;
        }
        default:
            if (r.ok())
                return error("hay un registro de un tipo desconocido");
        }
    }
    if (!r.ok())
        return error("el archivo está cortado");
    salida = std::move(nueva);
    return {};
}

} // namespace juego
