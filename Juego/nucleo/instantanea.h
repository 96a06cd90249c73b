#pragma once

#include "Juego/nucleo/cabecera.h"

#include <cstdint>
#include <string>
#include <vector>

namespace juego {

class mundo;

// A snapshot holds the whole state of a running match (map, fighters,
// arrows, grid, random source, views, pause) and a header that says what
// it is (cabecera.h), with which slot it was written by: restoring it and
// playing on gives exactly the ticks the uninterrupted match gives. Not in
// it: the keys held at that moment and the sound switch, which are the
// player's, and what the path search remembers, which it works out again.
//
// Format 5 added the edition of the balanced rules (reglas.h), so a match
// keeps the values it started with, and the balanced rules' weighing of
// the types. Format 4 added the rules of the match (which, the
// difficulty, the seed and the state of their random source), each
// fighter's safety after coming back and raised shield, and each slot's
// queued action. Format 3 put the header first and packs the match; format
// 2 had the slot alone before the match, unpacked; format 1 kept the view
// and status line of its own slot only. All of them are read.
inline constexpr uint16_t versioninstantanea = 5;

// Saved matches stay far below this unpacked.
inline constexpr std::size_t maxpartida = 256u << 20;

// The snapshot of `m` with header `c` (`c.jugador` is the slot of the copy
// writing it). `guardar` leaves the match unpacked, for tests that edit it.
std::vector<uint8_t> escribirinstantanea(const mundo& m, const cabecera& c, bool guardar = false);

// The match alone, without which slot a copy shows: two copies of a network
// match that agree give equal bytes.
std::vector<uint8_t> estadomundo(const mundo& m);

// Reads a snapshot into `m` and its header into `c` (for the first formats,
// as much of one as the match tells), or returns why not in Spanish and
// leaves both untouched. The whole file is checked before anything is
// changed.
std::string leerinstantanea(const uint8_t* datos, std::size_t n, mundo& m, cabecera& c);

} // namespace juego
