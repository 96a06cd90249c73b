// The world's side of the path search: what a fighter asks and what it does
// with the answer. The search itself (busqueda) sees only the grid.
#include "Juego/nucleo/busqueda.h"
#include "Juego/nucleo/mundo.h"

namespace juego {

static_assert(numunidades - 1 <= maxbloqueos, "every team-mate of a fighter fits a question");

bool mundo::celdapasable(int16_t x, int16_t y, int16_t i) const {
    if (x < 0 || x > anchomapa || y < 0 || y > altomapa)
        return false;
    const celda& c = mapa(x, y);
    if (c.transitable != verdadero)
        return false;
    if (c.ocupante >= 0) {
        const unidad& o = unidades[c.ocupante];
        if (o.equipo == unidades[i].equipo && o.muerto != verdadero)
            return false;
    }
    return true;
}

pregunta mundo::preguntacamino(int16_t i) const {
    const unidad& u = unidades[i];
    pregunta p;
    p.anchomapa = anchomapa;
    p.altomapa = altomapa;
    p.x = u.x;
    p.y = u.y;
    p.destx = u.destx;
    p.desty = u.desty;
    // A cell names a living fighter only while that fighter stands on it, so
    // the cells celdapasable refuses for their occupant are exactly these.
    for (int16_t j = 0; j < numunidades; ++j) {
        const unidad& o = unidades[j];
        if (j == i || o.equipo != u.equipo || o.muerto == verdadero || !enrejilla(o.x, o.y))
            continue;
        if (mapa(o.x, o.y).ocupante == j)
            p.bloqueos[std::size_t(p.nbloqueos++)] = int32_t(o.y) * ladomapa + o.x;
    }
    return p;
}

void mundo::seguircamino(unidad& u, const respuesta& r) {
    u.siguiendo = falso;
    u.sigx = r.sigx;
    u.sigy = r.sigy;
    if (!r.encontrado)
        return;
    u.camino.clear();
    u.pasos.clear();
    for (std::size_t k = r.via.size(); k > 0; k -= 2) {
        u.pasos.push_back(std::to_string(r.via[k - 2]));
        u.pasos.push_back(std::to_string(r.via[k - 1]));
        if (!u.camino.empty())
            u.camino += ',';
        u.camino += u.pasos[u.pasos.size() - 2];
        u.camino += ',';
        u.camino += u.pasos.back();
    }
    u.siguiendo = verdadero;
}

void mundo::buscarcamino(int16_t i) {
    unidad& u = unidades[i];
    if (u.buscando == verdadero)
        return;
    if (!celdapasable(u.destx, u.desty, i))
        return;
    // A fighter always stands on the map; this only keeps a broken caller
    // from asking about a start outside it.
    if (u.x < 0 || u.y < 0 || u.x > anchomapa || u.y > altomapa)
        return;
    seguircamino(u, busqueda_->buscarcamino(celdas_, preguntacamino(i)));
}

} // namespace juego
