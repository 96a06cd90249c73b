#pragma once

#include "Juego/nucleo/binario.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace juego {

// The bulk of a saved file (the match inside a snapshot) goes through
// zlib's deflate: most of it is the map's terrain and empty cells, which
// shrink tenfold or more. The block says how it is stored, its size once
// unpacked and its size in the file, so a reader knows before allocating
// anything whether the file can justify that size.
enum class metodo : uint8_t { guardado = 0, deflate = 1 };

// Writes `datos` as a block, deflated unless `guardar` asks it stored as is
// (tests and fuzz seeds edit the bytes inside).
void escribirbloque(escritor& w, const std::vector<uint8_t>& datos, bool guardar = false);

// Reads a block of at most `maximo` bytes unpacked into `salida`, or
// returns why not in Spanish.
std::string leerbloque(lector& r, std::size_t maximo, std::vector<uint8_t>& salida);

} // namespace juego
