#include "Comun/inicios.h"

#include "Comun/terreno.h"

namespace comun {

const char* nombreequipo(int equipo) {
    return equipo == 0 ? "rojo" : "azul";
}

std::vector<std::string> problemasinicios(const plano& p) {
    std::vector<std::string> v;
    for (int e = 0; e < 2; ++e) {
        const posicion s = p.inicio[std::size_t(e)];
        // The map never reaches past the grid, but a caller may hand a plan
        // that didn't come from the reader; both bounds are tested.
        const bool enmapa = s.x >= 1 && s.y >= 1 && s.x <= p.anchomapa - 1 &&
                            s.y <= p.altomapa - 1 && s.x <= ladorejilla - 2 &&
                            s.y <= ladorejilla - 2;
        if (!enmapa)
            v.push_back(std::string("El inicio del equipo ") + nombreequipo(e) + " (" +
                        std::to_string(s.x) + ", " + std::to_string(s.y) +
                        ") está demasiado cerca del borde: su equipo se coloca alrededor, "
                        "en casillas que quedan fuera del mapa.");
    }
    return v;
}

std::string errorinicios(const plano& p) {
    std::string texto;
    for (const std::string& s : problemasinicios(p))
        texto += (texto.empty() ? "" : "\n") + s;
    return texto;
}

} // namespace comun
