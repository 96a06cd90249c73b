#include "Comun/listamapas.h"

#include <algorithm>
#include <cstdint>
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
    // In the order a reader expects, capitals among the small letters:
    // "Campo.mapa" comes after "bosque.mapa", not before every small letter.
    // Names equal but for case keep their byte order (the map's order).
    auto plegar = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    std::stable_sort(v.begin(), v.end(), [&](const mapalistado& a, const mapalistado& b) {
        return std::lexicographical_compare(
            a.archivo.begin(), a.archivo.end(), b.archivo.begin(), b.archivo.end(),
            [&](char x, char y) { return plegar(uint8_t(x)) < plegar(uint8_t(y)); });
    });
    return v;
}

} // namespace comun
