#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace juego {

// How sounds share the mixer's voices and how loud each one is, apart from
// the audio device so it can be reasoned about (and tested) as numbers.
namespace mezcla {

// Voices of one sound file: that many of its sounds can overlap.
inline constexpr int vocesporsonido = 4;

struct voz {
    bool sonando = false;
    uint64_t turno = 0; // when it last started; later sounds have larger turns
};

// The voice a new sound takes: the first silent one, or else the one that
// started longest ago, which is cut off. -1 when there is no voice at all.
inline int elegirvoz(const std::vector<voz>& voces) {
    int vieja = -1;
    for (int k = 0; k < int(voces.size()); ++k) {
        if (!voces[std::size_t(k)].sonando)
            return k;
        if (vieja < 0 || voces[std::size_t(k)].turno < voces[std::size_t(vieja)].turno)
            vieja = k;
    }
    return vieja;
}

// Loudness of a sound heard `distancia` cells from the middle of the view:
// full near the middle, fading with distance, never silent, so a far fight
// is still heard.
inline constexpr double cercania = 8;
inline constexpr double minimo = 0.12;
inline double volumen(double distancia) {
    if (distancia <= cercania)
        return 1.0;
    return std::max(minimo, 1.0 / (1.0 + (distancia - cercania) / 16.0));
}

} // namespace mezcla

} // namespace juego
