#pragma once

#include <QString>

namespace juego::red {

// Most letters a name shows; the wire's byte limit may cut it shorter.
inline constexpr int maxvisibles = 24;

// The name a player is shown under: trimmed, runs of spaces made one, with
// no control, format (bidi overrides, zero-width joiners), private or
// unassigned characters and no invisible fillers, at most two marks on a
// letter, at most `maxvisibles` letters and `maxbytes` bytes of UTF-8 (never
// half a letter). What is left empty becomes "Jugador".
QString limpiarnombre(const QString& nombre, int maxbytes);

// The same name as a log line writes it: anything that is not a plain
// printable character comes out as \u{XXXX}, so no name can forge, hide or
// turn around a line.
QString escaparnombre(const QString& nombre);

} // namespace juego::red
