#pragma once

#include <string>
#include <vector>

namespace comun {

struct mapalistado {
    std::string archivo; // file name, ".mapa" included, as the lists show it
    std::string ruta;    // full path of the file that is read
    friend bool operator==(const mapalistado&, const mapalistado&) = default;
};

// Every "*.mapa" file of the given folders, sorted by file name. When two
// folders hold the same file name, the one listed first wins, so callers pass
// the user's own folder before the program's. Missing or unreadable folders
// list nothing; hidden files and anything but regular files are left out.
std::vector<mapalistado> listarmapas(const std::vector<std::string>& carpetas);

// True when `archivo` ends in ".mapa", in any case.
bool esmapa(const std::string& archivo);

} // namespace comun
