// The selection and what is done with it: copy, cut, paste, clear, mirror,
// turn, and the mirrored half of the whole map.
#include "Editor/nucleo.h"

#include "Comun/terreno.h"
#include "Editor/plataforma.h"

#include <algorithm>

namespace editor {

void nucleo::ponerterreno(int x, int y, int16_t terreno) {
    casilla c = celda(x, y);
    c.terreno = terreno;
    c.transitable = comun::transitable(terreno) ? verdadero : falso;
    cambiarcasilla(x, y, c);
}

recorte nucleo::tomar(const area& a) const {
    recorte r;
    r.ancho = int16_t(a.ancho());
    r.alto = int16_t(a.alto());
    r.terrenos.resize(std::size_t(r.ancho) * std::size_t(r.alto));
    for (int y = a.y0; y <= a.y1; ++y)
        for (int x = a.x0; x <= a.x1; ++x)
            r.terrenos[std::size_t(y - a.y0) * r.ancho + std::size_t(x - a.x0)] =
                e.celda(x, y).terreno;
    return r;
}

void nucleo::seleccionar(int x0, int y0, int x1, int y1) {
    if (e.haymapa != verdadero)
        return;
    auto enx = [&](int v) { return std::clamp(v, 0, int(e.anchomapa)); };
    auto eny = [&](int v) { return std::clamp(v, 0, int(e.altomapa)); };
    e.seleccion = {enx(std::min(x0, x1)), eny(std::min(y0, y1)), enx(std::max(x0, x1)),
                   eny(std::max(y0, y1))};
    e.hayseleccion = true;
    mostrarestado();
    plat.dibujar();
}

void nucleo::copiar() {
    if (e.haymapa != verdadero || !e.hayseleccion)
        return;
    plat.ponerportapapeles(escribirrecorte(tomar(e.seleccion)));
    textoestado = "Copiadas " + std::to_string(e.seleccion.ancho()) + " x " +
                  std::to_string(e.seleccion.alto()) + " casillas";
    muestraguardado = false;
    mostrarestado();
}

void nucleo::cortar() {
    if (e.haymapa != verdadero || !e.hayseleccion)
        return;
    copiar();
    for (int y = e.seleccion.y0; y <= e.seleccion.y1; ++y)
        for (int x = e.seleccion.x0; x <= e.seleccion.x1; ++x)
            ponerterreno(x, y, comun::pasto);
    cerrarpaso("cortar");
    plat.dibujar();
}

void nucleo::borrarseleccion() {
    if (e.haymapa != verdadero || !e.hayseleccion)
        return;
    for (int y = e.seleccion.y0; y <= e.seleccion.y1; ++y)
        for (int x = e.seleccion.x0; x <= e.seleccion.x1; ++x)
            ponerterreno(x, y, comun::pasto);
    cerrarpaso("borrar");
    plat.dibujar();
}

void nucleo::pegar() {
    if (e.haymapa != verdadero)
        return;
    std::optional<recorte> r = leerrecorte(plat.leerportapapeles());
    if (!r) {
        plat.avisar("El portapapeles no tiene casillas copiadas en el editor.", "Pegar",
                    icono::informacion);
        return;
    }
    e.copia = std::move(*r);
    e.pegando = true;
    e.trazandolinea = false;
    e.rectangulo = false;
    e.seleccionando = false;
    // Until the pointer comes, the copy waits in the middle of the view.
    const comun::posicion c = e.haypuntero ? e.puntero
                                           : comun::posicion{int16_t(e.vistax + e.celdasx() / 2),
                                                             int16_t(e.vistay + e.celdasy() / 2)};
    e.pegaren = {int16_t(c.x - e.copia.ancho / 2), int16_t(c.y - e.copia.alto / 2)};
    mostrarestado();
    plat.dibujar();
}

void nucleo::soltarcopia(int x, int y) {
    if (e.haymapa != verdadero || !e.pegando)
        return;
    const int x0 = x - e.copia.ancho / 2;
    const int y0 = y - e.copia.alto / 2;
    // What hangs over the map's edge is left out.
    const area dentro{std::max(0, x0), std::max(0, y0),
                      std::min(int(e.anchomapa), x0 + e.copia.ancho - 1),
                      std::min(int(e.altomapa), y0 + e.copia.alto - 1)};
    for (int j = dentro.y0; j <= dentro.y1; ++j)
        for (int i = dentro.x0; i <= dentro.x1; ++i)
            ponerterreno(i, j, e.copia.en(i - x0, j - y0));
    e.pegando = false;
    cerrarpaso("pegar");
    // The dropped copy is the selection, ready to be turned or moved on.
    if (dentro.x0 <= dentro.x1 && dentro.y0 <= dentro.y1) {
        e.seleccion = dentro;
        e.hayseleccion = true;
    }
    mostrarestado();
    plat.dibujar();
}

void nucleo::cancelar() {
    if (e.pegando)
        e.pegando = false;
    else
        e.hayseleccion = false;
    e.seleccionando = false;
    mostrarestado();
    plat.dibujar();
}

void nucleo::voltear(bool horizontal) {
    transformar(horizontal ? 0 : 1);
}

void nucleo::girar() {
    transformar(2);
}

void nucleo::transformar(int modo) {
    if (e.haymapa != verdadero)
        return;
    auto cambiado = [modo](const recorte& r) {
        return modo == 0 ? r.volteadox() : modo == 1 ? r.volteadoy() : r.girado();
    };
    if (e.pegando) {
        const int cx = e.pegaren.x + e.copia.ancho / 2;
        const int cy = e.pegaren.y + e.copia.alto / 2;
        e.copia = cambiado(e.copia);
        e.pegaren = {int16_t(cx - e.copia.ancho / 2), int16_t(cy - e.copia.alto / 2)};
        mostrarestado();
        plat.dibujar();
        return;
    }
    if (!e.hayseleccion)
        return;
    const area a = e.seleccion;
    const recorte nuevo = cambiado(tomar(a));
    const area b{a.x0, a.y0, a.x0 + nuevo.ancho - 1, a.y0 + nuevo.alto - 1};
    if (b.x1 > e.anchomapa || b.y1 > e.altomapa) {
        plat.avisar("La selección girada no cabe en el mapa: acérquela a la esquina de arriba a "
                    "la izquierda o hágala más pequeña.",
                    "Girar", icono::informacion);
        return;
    }
    // Where each start inside the selection goes with it; starts outside
    // stay, even where the turned block now covers their cell.
    std::array<std::optional<comun::posicion>, 2> destino;
    for (std::size_t k = 0; k < 2; ++k) {
        const entrada& s = e.inicio[k];
        if (s.colocado != verdadero || !a.contiene(s.x, s.y))
            continue;
        const int rx = s.x - a.x0;
        const int ry = s.y - a.y0;
        int nx = rx;
        int ny = ry;
        if (modo == 0)
            nx = a.ancho() - 1 - rx;
        else if (modo == 1)
            ny = a.alto() - 1 - ry;
        else
            nx = a.alto() - 1 - ry, ny = rx;
        destino[k] = comun::posicion{int16_t(b.x0 + nx), int16_t(b.y0 + ny)};
    }
    // The block is lifted, leaving grass, and put down changed.
    for (int y = a.y0; y <= std::max(a.y1, b.y1); ++y)
        for (int x = a.x0; x <= std::max(a.x1, b.x1); ++x) {
            if (b.contiene(x, y))
                ponerterreno(x, y, nuevo.en(x - b.x0, y - b.y0));
            else if (a.contiene(x, y))
                ponerterreno(x, y, comun::pasto);
        }
    for (std::size_t k = 0; k < 2; ++k)
        if (destino[k])
            colocarinicio(int16_t(k), destino[k]->x, destino[k]->y);
    e.seleccion = b;
    cerrarpaso(modo == 2 ? "girar" : "voltear");
    mostrarestado();
    plat.dibujar();
}

void nucleo::reflejarmitad() {
    if (e.haymapa != verdadero)
        return;
    const int ancho = e.anchomapa + 1;
    auto indice = [ancho](int x, int y) { return y * ancho + x; };
    // A cell belongs to the first half when it comes before its mirror in
    // reading order; the half holding the red start (else the blue one) is
    // the one copied.
    bool primera = true;
    int equipo = -1;
    for (int k = 0; k < 2 && equipo < 0; ++k) {
        const entrada& s = e.inicio[std::size_t(k)];
        const comun::posicion m = espejar(s.x, s.y);
        if (s.colocado == verdadero && !(m.x == s.x && m.y == s.y)) {
            equipo = k;
            primera = indice(s.x, s.y) < indice(m.x, m.y);
        }
    }
    for (int y = 0; y <= e.altomapa; ++y)
        for (int x = 0; x <= e.anchomapa; ++x) {
            const comun::posicion m = espejar(x, y);
            const int i = indice(x, y);
            const int j = indice(m.x, m.y);
            if (i != j && (i < j) == primera)
                ponerterreno(m.x, m.y, e.celda(x, y).terreno);
        }
    if (equipo >= 0) {
        const entrada& s = e.inicio[std::size_t(equipo)];
        const comun::posicion m = espejar(s.x, s.y);
        if (hayespacio(m.x, m.y))
            colocarinicio(int16_t(1 - equipo), m.x, m.y);
    }
    cerrarpaso("reflejar la mitad");
    plat.dibujar();
}

} // namespace editor
