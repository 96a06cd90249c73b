#pragma once

#include <QString>
#include <QStringList>

// Where the programs find their data folders (`mapas`, `sonidos`). Built,
// they sit beside the program; installed, the program is in PREFIX/games and
// the data in PREFIX/share/games/tarnhollow; a user may also keep copies in
// their own data folder. The first of these that holds the folder wins.
namespace comun {

// The candidate folders for `nombre`, in the order they are tried: beside
// the program, the installed data folder (found from the program's folder,
// so any install prefix works), then the user's folder.
QStringList carpetascandidatas(const QString& programa, const QString& usuario,
                               const QString& nombre);

// The first candidate that is a folder; the first candidate when none is,
// so that an empty list or a message names the place beside the program.
QString primeracarpeta(const QStringList& candidatas);

// The folder `nombre` for the running program.
QString carpetadatos(const QString& nombre);

} // namespace comun
