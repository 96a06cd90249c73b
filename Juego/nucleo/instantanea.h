#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace juego {

class mundo;

// A snapshot holds the whole state of a running match (map, fighters,
// arrows, grid, random source, view, pause): restoring it and playing on
// gives exactly the ticks the uninterrupted match gives. Not in it: the keys
// held at that moment and the sound switch, which are the player's, and
// what the path search remembers, which it works out again.
inline constexpr uint16_t versioninstantanea = 1;

std::vector<uint8_t> escribirinstantanea(const mundo& m);

// The same without what each copy of a network match keeps for itself
// (which fighter it shows, its view and its status line): two copies that
// agree give equal bytes.
std::vector<uint8_t> estadocomun(const mundo& m);

// Reads a snapshot into `m`, or returns why not in Spanish and leaves `m`
// untouched. The whole file is checked before anything is changed.
std::string leerinstantanea(const uint8_t* datos, std::size_t n, mundo& m);

} // namespace juego
