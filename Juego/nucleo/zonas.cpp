#include "Juego/nucleo/zonas.h"
#include "Juego/nucleo/rejilla.h"

#include <algorithm>

namespace juego {

bool zonas::vigentes(const rejilla& r, int16_t anchomapa, int16_t altomapa) const {
    return version == r.versionterreno() && ancho == anchomapa && alto == altomapa;
}

bool zonas::alcanzable(const pregunta& u) const {
    const int columnas = u.anchomapa + 1;
    const int32_t meta = zona[std::size_t(u.desty) * columnas + u.destx];
    for (int y = u.y - 1; y <= u.y + 1; ++y) {
        for (int x = u.x - 1; x <= u.x + 1; ++x) {
            if (x < 0 || y < 0 || x > u.anchomapa || y > u.altomapa)
                continue;
            if (zona[std::size_t(y) * columnas + x] == meta)
                return true;
        }
    }
    return false;
}

void zonas::calcular(const rejilla& m, int16_t anchomapa, int16_t altomapa) {
    const int columnas = anchomapa + 1;
    const int filas = altomapa + 1;
    auto transitable = [&](int x, int y) { return m.mapa(x, y).transitable == comun::verdadero; };
    zona.assign(std::size_t(columnas) * filas, 0);
    std::vector<int32_t> porver;
    int32_t cuenta = 0;
    for (int y0 = 0; y0 < filas; ++y0) {
        for (int x0 = 0; x0 < columnas; ++x0) {
            const std::size_t k0 = std::size_t(y0) * columnas + x0;
            if (zona[k0] != 0 || !transitable(x0, y0))
                continue;
            ++cuenta;
            zona[k0] = cuenta;
            porver.push_back(int32_t(k0));
            while (!porver.empty()) {
                const int k = porver.back();
                porver.pop_back();
                const int cx = k % columnas;
                const int cy = k / columnas;
                for (int y = std::max(cy - 1, 0); y <= std::min(cy + 1, filas - 1); ++y) {
                    for (int x = std::max(cx - 1, 0); x <= std::min(cx + 1, columnas - 1); ++x) {
                        const std::size_t kk = std::size_t(y) * columnas + x;
                        if (zona[kk] == 0 && transitable(x, y)) {
                            zona[kk] = cuenta;
                            porver.push_back(int32_t(kk));
                        }
                    }
                }
            }
        }
    }
    version = m.versionterreno();
    ancho = anchomapa;
    alto = altomapa;
}

} // namespace juego
