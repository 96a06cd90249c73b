#pragma once

#include <QString>

namespace juego {

// The data folder `nombre` (mapas, sonidos): beside the program, in the
// installed data folder or in the user's, the first that exists.
QString carpetadatos(const QString& nombre);
// The user's own folder `nombre` (replays, saved matches, maps), made if
// missing; empty when the system knows no data folder for the user.
QString carpetausuario(const QString& nombre);

} // namespace juego
