#pragma once

// Maps the benchmarks play on besides the sample maps: the shapes that make
// the path search work hardest. Each is the same on every run.

#include "Comun/mapaarchivo.h"

#include <cstdint>

namespace planos {

// Open grass of lado x lado cells, the starts two cells in from opposite
// corners.
comun::plano abierto(int lado);

// A maze of one-cell corridors with a few walls knocked out, the starts in
// opposite corners with their spawn blocks cleared.
comun::plano laberinto(int lado, uint32_t semilla);

// Rooms of 9 x 9 cells, one door between neighbours. Each team starts in a
// big walled hall whose only door, three cells wide, is the top row of the
// team's spawn block: the door is held by team-mates from the first tick.
comun::plano salas(int lado);

// Makes the cells within `radio` of `centro` grass: a spawn block kept clear.
void despejar(comun::plano& p, comun::posicion centro, int radio);

} // namespace planos
