#include "Comun/listamapas.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

namespace comun {

bool esmapa(const std::string& archivo) {
    static const std::string ext = ".mapa";
    if (archivo.size() <= ext.size())
        return false;
    return std::equal(ext.begin(), ext.end(), archivo.end() - std::ptrdiff_t(ext.size()),
                      [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b + 32 : b); });
}

std::vector<mapalistado> listarmapas(const std::vector<std::string>& carpetas) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> hallados;
    for (const std::string& carpeta : carpetas) {
        std::error_code ec;
        fs::directory_iterator it(carpeta, ec);
        // A folder that vanishes or can't be read while being listed just
        // gives what was seen so far.
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const std::string archivo = it->path().filename().string();
            if (archivo.empty() || archivo.front() == '.' || !esmapa(archivo))
                continue;
            std::error_code ecarchivo;
            if (!it->is_regular_file(ecarchivo))
                continue;
            hallados.emplace(archivo, it->path().string()); // first folder wins
        }
    }
    std::vector<mapalistado> v;
    v.reserve(hallados.size());
    for (auto& [archivo, ruta] : hallados)
        v.push_back({archivo, ruta});
    return v;
}

} // namespace comun
