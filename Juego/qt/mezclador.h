#pragma once

#include <QString>

namespace juego {

// What plays the game's sounds, as the game sees it. The player itself is
// in the sound module (Juego/sonido), the one part of the game built on Qt
// Multimedia: the game loads it when a match first wants sound, so a game
// that stays at its title screen, or plays silently, never maps Qt
// Multimedia and the audio libraries behind it.
class mezclador {
public:
    virtual ~mezclador() = default;
    // Plays `nombre`, a file of the sounds folder, at `volumen` (0 to 1).
    virtual void reproducir(const QString& nombre, double volumen) = 0;
    // Stops every sound still playing.
    virtual void callar() = 0;
};

// The module's one export: a new mixer of the sound files in `carpeta`,
// owned by the caller. The number in its name is this interface's version:
// a module left from a build with another interface then has no such name,
// and is refused instead of being called wrongly. Change both together.
using fabricamezclador = mezclador* (*)(const QString& carpeta);
inline constexpr char nombrefabrica[] = "tarnhollow_mezclador_1";

} // namespace juego
