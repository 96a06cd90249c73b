#include "Comun/carpetas.h"

#include <filesystem>
#include <system_error>

// The build hands in the layout it installs; this is its default.
#ifndef TARNHOLLOW_DATOS_RELATIVA
#define TARNHOLLOW_DATOS_RELATIVA "../share/games/tarnhollow"
#endif

namespace comun {

std::vector<std::string> carpetascandidatas(const std::string& programa,
                                            const std::string& usuario,
                                            const std::string& nombre) {
    // The data folder's place relative to the programs' folder comes from
    // the build's install layout (../share/games/tarnhollow by default).
    const std::filesystem::path instalada =
        (std::filesystem::path(programa) / TARNHOLLOW_DATOS_RELATIVA).lexically_normal();
    std::vector<std::string> candidatas{programa + '/' + nombre, (instalada / nombre).string()};
    if (!usuario.empty())
        candidatas.push_back(usuario + '/' + nombre);
    return candidatas;
}

std::string primeracarpeta(const std::vector<std::string>& candidatas) {
    for (const std::string& c : candidatas) {
        std::error_code e;
        if (std::filesystem::is_directory(c, e))
            return c;
    }
    return candidatas.empty() ? std::string() : candidatas.front();
}

} // namespace comun
