// libFuzzer entry for the editor's clipboard reader: whatever another
// program left on the clipboard reaches it. Besides crashes and sanitizer
// reports, an accepted block must be whole and survive being written and
// read again unchanged.
#include "Editor/recorte.h"

#include "Comun/basicos.h"
#include "Comun/terreno.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t largo) {
    const std::string_view texto(reinterpret_cast<const char*>(datos), largo);
    const std::optional<editor::recorte> r = editor::leerrecorte(texto);
    if (!r)
        return 0;
    auto fallo = [](const char* que) {
        std::fprintf(stderr, "fuzzrecorte: %s\n", que);
        std::abort();
    };
    if (r->ancho < 1 || r->alto < 1 || r->ancho > comun::ladorejilla ||
        r->alto > comun::ladorejilla)
        fallo("accepted a size outside the grid");
    if (r->terrenos.size() != std::size_t(r->ancho) * std::size_t(r->alto))
        fallo("cell count does not match the size");
    for (int16_t t : r->terrenos)
        if (t < 0 || t >= comun::numterrenos)
            fallo("accepted an unknown terrain");
    const std::optional<editor::recorte> vuelta = editor::leerrecorte(editor::escribirrecorte(*r));
    if (!vuelta || vuelta->terrenos != r->terrenos || vuelta->ancho != r->ancho)
        fallo("written and read again, the block changed");
    return 0;
}
