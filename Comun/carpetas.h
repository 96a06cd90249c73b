#pragma once

#include <string>
#include <vector>

// Where the programs find their data folders (`mapas`, `sonidos`). Built,
// they sit beside the program; installed, the program is in PREFIX/games and
// the data in PREFIX/share/games/tarnhollow; a user may also keep copies in
// their own data folder. The first of these that holds the folder wins. The
// programs' Qt side hands in their own folder and the user's.
namespace comun {

// The candidate folders for `nombre`, in the order they are tried: beside
// the program, the installed data folder (found from the program's folder,
// so any install prefix works), then the user's folder (none when `usuario`
// is empty: a service with no home folder).
std::vector<std::string> carpetascandidatas(const std::string& programa,
                                            const std::string& usuario, const std::string& nombre);

// The first candidate that is a folder; the first candidate when none is,
// so that an empty list or a message names the place beside the program.
std::string primeracarpeta(const std::vector<std::string>& candidatas);

} // namespace comun
