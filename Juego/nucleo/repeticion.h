#pragma once

#include "Juego/nucleo/cabecera.h"
#include "Juego/nucleo/entrada.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace juego {

// A replay is the snapshot taken when the match started plus everything
// that came in afterwards, in order: the input of each tick that ran and the
// strokes, shots, pauses and hand-overs between ticks. Playing it drives the
// same core and ends exactly where the match was when it was written.
//
// Format 3 starts from a snapshot that carries the match's rules (its
// records are those of format 2). Format 2 starts with a header telling the
// match as it was when the replay was written (cabecera.h) and records every
// action alike; format 1 had no header and a record kind per action. All
// are read.
inline constexpr uint16_t versionrepeticion = 3;

// A step takes some 40 bytes in memory and can come from a single byte of
// the file (a pause), so a file of pauses at the size the game accepts would
// ask for gigabytes. Two million steps is some seventy hours of keys that
// change on every tick, or of clicks without a pause, far beyond any match.
inline constexpr std::size_t maxpasosrepeticion = std::size_t(1) << 21;

// One thing that came in: a tick with its input, repeated `veces` times in a
// row (held keys make long runs of equal ticks), or an action.
struct paso {
    bool estick = true;
    uint32_t veces = 1;
    entradatick entrada; // of a tick
    accion a;            // otherwise
};

struct repeticion {
    std::vector<uint8_t> inicio; // the snapshot of the match's start
    std::vector<paso> pasos;
    // The match as it stood when the replay was taken (what a list of
    // replays shows); partida keeps it up to date.
    cabecera final;

    // Adds what came in, folding a tick equal to the last into it.
    void anotartick(const entradatick& e);
    void anotaraccion(const accion& a);
    uint64_t ticks() const;
};

std::vector<uint8_t> escribirrepeticion(const repeticion& r);

// Reads a replay's frame and input, or returns why not in Spanish. The
// snapshot inside is checked when it is restored.
std::string leerrepeticion(const uint8_t* datos, std::size_t n, repeticion& r);

} // namespace juego
