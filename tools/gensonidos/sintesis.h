#pragma once

// Synthesis of the game's four sounds. Standard library only, fixed seeds:
// every run gives the same samples.

#include <cstdint>
#include <string>
#include <vector>

namespace sonidos {

inline constexpr int frecuencia = 22050; // samples per second, mono

struct sonido {
    std::string nombre; // file name, e.g. "Bowfire.wav"
    std::vector<int16_t> muestras;
};

// "Bowfire.wav", "Bowhit.wav", "hit0.wav" and "dead.wav", each shorter than
// half a second, peaking just under full scale and faded in and out.
std::vector<sonido> sintetizar();

// A complete PCM 16-bit mono WAV file with the canonical 44-byte header.
std::string wav(const std::vector<int16_t>& muestras, int porsegundo = frecuencia);

} // namespace sonidos
