#pragma once

#include <cstdint>

namespace juego {

class mundo;

// A 64-bit digest of everything the rules play with, for telling whether
// two copies of a match still agree. What each copy keeps for itself is left
// out: which fighter it shows (`jugador`), its view and its status line.
uint64_t huellapartida(const mundo& m);

} // namespace juego
