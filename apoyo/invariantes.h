#pragma once

// What must hold of a world after every tick of any match: shared by the soak
// test and the soak benchmark, so a long benchmark run checks exactly what
// the test checks.

#include "Juego/nucleo/mundo.h"

#include <QString>

#include <set>
#include <utility>

namespace invariantes {

using namespace juego;

inline bool bandera(int16_t v) {
    return v == verdadero || v == falso;
}

// The fighters and arrows; an empty text when all is well.
inline QString revisar(const mundo& m) {
    std::set<std::pair<int, int>> vivos;
    for (int i = 0; i < 2 * m.maxp; ++i) {
        const unidad& u = m.unidades[i];
        const QString quien = QStringLiteral("luchador %1: ").arg(i);
        if (!bandera(u.muerto) || !bandera(u.siguiendo) || !bandera(u.atacando) ||
            !bandera(u.moviendo) || !bandera(u.buscando))
            return quien + "bandera fuera de -1/0";
        if (u.buscando != falso)
            return quien + "búsqueda sin terminar";
        if (u.direccion < 0 || u.direccion > 7 || u.pose < 0 || u.pose > 3)
            return quien + "dirección o pose fuera de rango";
        if (u.espera < 0 || u.espera > 6 || u.revivir < 0 || u.revivir > 25 || u.bloqueos < 0 ||
            u.bloqueos > 2)
            return quien + "espera, revivir o bloqueos fuera de rango";
        if (u.equipo != i / m.maxp)
            return quien + "equipo cambiado";
        if (u.muerto == verdadero) {
            if (u.vida != 0)
                return quien + "muerto con vida";
            continue;
        }
        if (u.vida < 1 || u.vida > 100)
            return quien + QStringLiteral("vida %1").arg(u.vida);
        if (u.x < 0 || u.y < 0 || u.x > m.anchomapa || u.y > m.altomapa)
            return quien + "fuera del mapa";
        if (m.mapa(u.x, u.y).transitable != verdadero)
            return quien + "sobre terreno que no se pisa";
        if (m.mapa(u.x, u.y).ocupante != i)
            return quien + "su celda no lo nombra";
        if (!vivos.insert({u.x, u.y}).second)
            return quien + "comparte celda con otro vivo";
    }
    for (int k = 0; k < numflechas; ++k) {
        const flecha& f = m.flechas[k];
        if (f.activa == verdadero &&
            (f.x < 0 || f.y < 0 || f.x > m.anchomapa || f.y > m.altomapa || f.tirador < 0 ||
             f.tirador >= 2 * m.maxp))
            return QStringLiteral("flecha %1 fuera de sitio").arg(k);
    }
    return {};
}

// Every cell of the map; slower, so callers run it now and then.
inline QString revisarrejilla(const mundo& m) {
    for (int y = 0; y <= m.altomapa; ++y) {
        for (int x = 0; x <= m.anchomapa; ++x) {
            const celda& c = m.mapa(x, y);
            if (c.ocupante < -1 || c.ocupante >= 2 * m.maxp || c.proyectil < -1 ||
                c.proyectil >= numflechas)
                return QStringLiteral("celda (%1, %2) con valores fuera de rango").arg(x).arg(y);
            if (c.ocupante >= 0) {
                const unidad& u = m.unidades[c.ocupante];
                if (u.muerto != verdadero && (u.x != x || u.y != y))
                    return QStringLiteral("celda (%1, %2) nombra a un vivo que no está")
                        .arg(x)
                        .arg(y);
            }
        }
    }
    return {};
}

} // namespace invariantes
