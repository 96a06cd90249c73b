// libFuzzer entry for the map reader. Besides crashes and sanitizer reports,
// it treats as a finding every accepted map that the game could not hold in
// its grid, and every accepted map that does not survive being written and
// read again unchanged: the editor saves what it opened. A refusal must say
// why in a few lines: a message that quotes a whole hostile value would
// freeze the message box that shows it.
#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::size_t largomensaje = 300; // bytes

void fallo(const char* que) {
    std::fprintf(stderr, "fuzzmapa: %s\n", que);
    std::abort();
}

void comprobar(const comun::plano& p) {
    using comun::ladorejilla;
    if (p.anchomapa < 0 || p.anchomapa >= ladorejilla || p.altomapa < 0 ||
        p.altomapa >= ladorejilla)
        fallo("accepted a size outside the grid");
    if (p.terrenos.size() != std::size_t(p.ancho()) * std::size_t(p.alto()))
        fallo("cell count does not match the size");
    for (int16_t t : p.terrenos)
        if (t < 0 || t >= comun::numterrenos)
            fallo("accepted an unknown terrain");
    for (const comun::posicion& s : p.inicio)
        if (s.x < 0 || s.x > p.anchomapa || s.y < 0 || s.y > p.altomapa)
            fallo("accepted a start outside the map");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t largo) {
    const std::string_view texto(reinterpret_cast<const char*>(datos), largo);
    comun::lectura l = comun::leermapa(texto);
    if (!l) {
        if (l.error.empty())
            fallo("refused a map without saying why");
        if (l.error.size() > largomensaje)
            fallo("a refusal message longer than a few lines");
        return 0;
    }
    if (!l.error.empty())
        fallo("accepted a map and reported an error too");
    comprobar(*l.mapa);

    comun::lectura otra = comun::leermapa(comun::escribirmapa(*l.mapa));
    if (!otra)
        fallo("a written map does not read back");
    if (otra.mapa->anchomapa != l.mapa->anchomapa || otra.mapa->altomapa != l.mapa->altomapa ||
        otra.mapa->terrenos != l.mapa->terrenos || otra.mapa->inicio != l.mapa->inicio)
        fallo("a written map reads back different");
    return 0;
}
