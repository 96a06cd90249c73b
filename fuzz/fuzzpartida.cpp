// libFuzzer entry for the saved-match and replay readers (one binary, the
// reader chosen at build time). A file they accept must also be playable:
// a few ticks run on every accepted snapshot, and accepted replays short
// enough to play are played to their end, so that a value the checks let
// through but the rules cannot take shows up as a crash or a sanitizer
// report here rather than in a player's game.
#include "Juego/nucleo/cabecera.h"
#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/partida.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

juego::grabadora plat;
// One world for the whole run: it holds a large grid.
juego::partida& lapartida() {
    static juego::partida p(plat);
    return p;
}

void fallo(const char* que) {
    std::fprintf(stderr, "fuzzpartida: %s\n", que);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t n) {
    juego::partida& p = lapartida();
    juego::sucesos s;
    const std::vector<uint8_t> bytes(datos, datos + n);
    // The header alone, as a list of files reads it, of either kind and
    // every format (the first ones by decoding the match inside).
    juego::cabecera c;
    const std::string info = juego::leerinfo(datos, n, c);
    if (!info.empty() && (info.size() > 400 || info.rfind("No se puede ", 0) != 0))
        fallo("a header refused without a clear, short message");
#if defined(FUZZ_REPETICION)
    juego::repeticion r;
    std::string error = juego::leerrepeticion(datos, n, r);
    if (!error.empty() || r.ticks() > 2000)
        return 0;
    error = p.reproducir(r, [](const juego::sucesos&) {});
#else
    const std::string error = p.restaurar(bytes, s);
    if (error.empty()) {
        for (int t = 0; t < 3; ++t) {
            if (!p.corre())
                p.aplicar({juego::tipoaccion::pausa, 0, 0, 0});
            p.tick(juego::entradatick{{{p.jugador(), {1, 0, 0, 0x8001}}}});
        }
    }
#endif
    // Refusals are told in a short Spanish sentence.
    if (!error.empty() && (error.size() > 300 || error.rfind("No se puede ", 0) != 0))
        fallo("a refusal without a clear, short message");
    return 0;
}
