#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace juego {

class mundo;

// A snapshot holds the whole state of a running match (map, fighters,
// arrows, grid, random source, views, pause) and which slot it was written
// by: restoring it and playing on gives exactly the ticks the uninterrupted
// match gives. Not in it: the keys held at that moment and the sound switch,
// which are the player's, and what the path search remembers, which it
// works out again. Format 1 kept the view and status line of its own slot
// only; it is still read.
inline constexpr uint16_t versioninstantanea = 2;

// The snapshot of `m` as written by the copy that shows slot `jugador`.
std::vector<uint8_t> escribirinstantanea(const mundo& m, int16_t jugador);

// The match alone, without which slot a copy shows: two copies of a network
// match that agree give equal bytes.
std::vector<uint8_t> estadomundo(const mundo& m);

// Reads a snapshot into `m` and the slot it was written by into `jugador`,
// or returns why not in Spanish and leaves both untouched. The whole file
// is checked before anything is changed.
std::string leerinstantanea(const uint8_t* datos, std::size_t n, mundo& m, int16_t& jugador);

} // namespace juego
