// Mapa → Redimensionar: grows, crops or shifts the map in one undo step.
#include "Editor/nucleo.h"

#include "Comun/inicios.h"
#include "Comun/terreno.h"
#include "Editor/plataforma.h"

#include <algorithm>

namespace editor {

void nucleo::redimensionar(int ancho, int alto, int ancla, int16_t terreno) {
    const std::string titulo = "Redimensionar";
    if (e.haymapa != verdadero)
        return;
    if (ancho < minimolado || ancho > maximolado || alto < minimolado || alto > maximolado) {
        plat.avisar("El ancho y el alto del mapa deben ser números del " +
                        std::to_string(minimolado) + " al " + std::to_string(maximolado) + ".",
                    titulo, icono::critico);
        return;
    }
    if (ancla < 0 || ancla > 8 || terreno < 0 || terreno >= comun::numterrenos)
        return;
    const int viejoancho = e.anchomapa + 1;
    const int viejoalto = e.altomapa + 1;
    // Where the old map's top-left corner lands: left, centre or right,
    // top, middle or bottom; negative where the map is cropped there.
    auto desplazar = [](int sitio, int nuevo, int viejo) {
        return sitio == 0 ? 0 : sitio == 1 ? (nuevo - viejo) / 2 : nuevo - viejo;
    };
    const int dx = desplazar(ancla % 3, ancho, viejoancho);
    const int dy = desplazar(ancla / 3, alto, viejoalto);
    std::string fuera;
    for (std::size_t k = 0; k < 2; ++k) {
        const entrada& s = e.inicio[k];
        const int x = s.x + dx;
        const int y = s.y + dy;
        if (s.colocado == verdadero && (x < 1 || y < 1 || x > ancho - 2 || y > alto - 2))
            fuera += std::string("\nEl inicio del equipo ") + comun::nombreequipo(int(k)) +
                     " quedaría en la columna " + std::to_string(x) + ", fila " +
                     std::to_string(y) + ", sin sus 3 x 3 casillas dentro del mapa.";
    }
    if (!fuera.empty()) {
        plat.avisar("No se puede redimensionar así:" + fuera +
                        "\nMueva los inicios o elija otro anclaje. El mapa no ha cambiado.",
                    titulo, icono::critico);
        return;
    }
    if (ancho == viejoancho && alto == viejoalto)
        return;
    // The old cells first, so that a shift never reads a cell it wrote.
    std::vector<casilla> viejo(std::size_t(viejoancho) * std::size_t(viejoalto));
    for (int x = 0; x < viejoancho; ++x)
        std::copy_n(e.mapa.begin() + std::ptrdiff_t(x) * lado, viejoalto,
                    viejo.begin() + std::ptrdiff_t(x) * viejoalto);
    const casilla nueva{terreno, comun::transitable(terreno) ? verdadero : falso, -1};
    const int anchototal = std::max(ancho, viejoancho);
    const int altototal = std::max(alto, viejoalto);
    actual.casillas.reserve(std::size_t(anchototal) * std::size_t(altototal));
    for (int x = 0; x < anchototal; ++x)
        for (int y = 0; y < altototal; ++y) {
            casilla c{}; // beyond the map the grid holds plain grass
            if (x < ancho && y < alto) {
                const int vx = x - dx;
                const int vy = y - dy;
                c = vx >= 0 && vy >= 0 && vx < viejoancho && vy < viejoalto
                        ? viejo[std::size_t(vx) * viejoalto + std::size_t(vy)]
                        : nueva;
            }
            cambiarcasilla(x, y, c);
        }
    for (std::size_t k = 0; k < 2; ++k) {
        entrada s = e.inicio[k];
        if (s.colocado == verdadero) {
            s.x = int16_t(s.x + dx);
            s.y = int16_t(s.y + dy);
            cambiarinicio(int16_t(k), s);
        }
    }
    actual.redimension = true;
    actual.tamanos = {e.anchomapa, e.altomapa, int16_t(ancho - 1), int16_t(alto - 1)};
    e.anchomapa = int16_t(ancho - 1);
    e.altomapa = int16_t(alto - 1);
    e.hayseleccion = false;
    e.pegando = false;
    ++e.version;
    cerrarpaso("redimensionar");
    ajustarvista();
    mostrarestado();
    plat.dibujar();
}

} // namespace editor
