#pragma once

#include "Juego/nucleo/pregunta.h"

#include <array>
#include <cstdint>

namespace juego {

// Answers the search gave, each with the whole question it answered and the
// terrain version it ran on: the same question on the same terrain gets the
// same answer, so a remembered one is given again without searching. Kept
// for the failures, which a fighter asks again every tick until something
// changes; a path found is followed, not asked for again.
class memoria {
public:
    // The answer to `p` on terrain `version`, or null when none is kept.
    const respuesta* buscar(uint64_t version, const pregunta& p) const;
    // Keeps `r` in place of the oldest answer kept.
    void guardar(uint64_t version, const pregunta& p, const respuesta& r);
    void olvidar();

private:
    struct recuerdo {
        bool valido = false;
        uint64_t version = 0;
        pregunta p;
        respuesta r;
    };
    // One more than the fighters that can ask in a tick, so that a
    // fighter's answer is still kept when it asks again the next tick.
    std::array<recuerdo, 18> recuerdos{};
    std::size_t siguiente = 0; // the oldest, replaced next
};

} // namespace juego
