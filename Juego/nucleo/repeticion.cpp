#include "Juego/nucleo/repeticion.h"

#include "Juego/nucleo/binario.h"
#include "Juego/nucleo/mundo.h"

#include <cstring>

namespace juego {

namespace {

// Record kinds after the snapshot.
// A hand-over (a network player joined or left) is a slot and 1 or 0.
enum : uint8_t { rtick = 1, rrepetir = 2, respacio = 3, rclick = 4, rpausa = 5, rrelevo = 6 };

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
    w.u32(uint32_t(r.inicio.size()));
    w.bytes(r.inicio.data(), r.inicio.size());
    for (const paso& p : r.pasos) {
        if (p.estick) {
            w.u8(rtick);
            w.u8(uint8_t(p.entrada.mandos.size()));
            for (const mando& m : p.entrada.mandos) {
                w.i16(m.slot);
                w.u16(m.teclas.izquierda);
                w.u16(m.teclas.derecha);
                w.u16(m.teclas.abajo);
                w.u16(m.teclas.arriba);
            }
            if (p.veces > 1) {
                w.u8(rrepetir);
                w.u16(uint16_t(p.veces - 1));
            }
            continue;
        }
        switch (p.a.tipo) {
        case tipoaccion::espacio:
            w.u8(respacio);
            w.i16(p.a.slot);
            break;
        case tipoaccion::click:
            w.u8(rclick);
            w.i16(p.a.slot);
            w.i16(p.a.x);
            w.i16(p.a.y);
            break;
        case tipoaccion::pausa:
            w.u8(rpausa);
            break;
        case tipoaccion::relevo:
            w.u8(rrelevo);
            w.i16(p.a.slot);
            w.u8(p.a.x != 0 ? 1 : 0);
            break;
        }
    }
    return std::move(w.datos);
}

std::string leerrepeticion(const uint8_t* datos, std::size_t n, repeticion& salida) {
    lector r(datos, n);
    const std::string motivo = r.cabecera(firmarepeticion, versionrepeticion,
                                          "el archivo no es una repetición de Tarnhollow", "es");
    if (!motivo.empty() && empiezapor(datos, n, firmainstantanea))
        return error("el archivo es una partida guardada, que se abre con Archivo → Cargar "
                     "partida");
    if (!motivo.empty())
        return error(motivo);
    const uint32_t largo = r.u32();
    const uint8_t* inicio = r.bytes(largo);
    if (!inicio)
        return error("el archivo está cortado");

    repeticion nueva;
    nueva.inicio.assign(inicio, inicio + largo);
    auto slotvalido = [](int16_t s) { return s >= 0 && s < numunidades; };
    while (r.ok() && !r.alfinal()) {
        if (nueva.pasos.size() > maxpasosrepeticion)
            return error("es más larga de lo que el juego puede ver");
        const uint8_t tipo = r.u8();
        switch (tipo) {
        case rtick: {
            const uint8_t cuantos = r.u8();
            if (cuantos > numunidades)
                return error("un tick lleva más jugadores de los que caben");
            paso p;
            p.entrada.mandos.resize(cuantos);
            for (mando& m : p.entrada.mandos) {
                m.slot = r.i16();
                m.teclas.izquierda = r.u16();
                m.teclas.derecha = r.u16();
                m.teclas.abajo = r.u16();
                m.teclas.arriba = r.u16();
                if (!slotvalido(m.slot))
                    return error("un tick nombra a un luchador que no existe");
            }
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
        case respacio:
        case rclick: {
            accion a;
            a.tipo = tipo == respacio ? tipoaccion::espacio : tipoaccion::click;
            a.slot = r.i16();
            if (tipo == rclick) {
                a.x = r.i16();
                a.y = r.i16();
            }
            if (!slotvalido(a.slot))
                return error("una acción nombra a un luchador que no existe");
            nueva.anotaraccion(a);
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
