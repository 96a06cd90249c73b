// gensonidos: writes the game's four sounds as WAV files into the folder
// given on the command line.

#include "sintesis.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: gensonidos CARPETA\n");
        return 2;
    }
    const std::filesystem::path carpeta = argv[1];
    std::error_code error;
    std::filesystem::create_directories(carpeta, error);
    if (error) {
        std::fprintf(stderr, "gensonidos: no se pudo crear la carpeta %s\n", argv[1]);
        return 1;
    }
    for (const sonidos::sonido& s : sonidos::sintetizar()) {
        const std::filesystem::path ruta = carpeta / s.nombre;
        const std::string bytes = sonidos::wav(s.muestras);
        std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), std::streamsize(bytes.size()));
        if (!f) {
            std::fprintf(stderr, "gensonidos: no se pudo escribir %s\n", ruta.string().c_str());
            return 1;
        }
    }
    return 0;
}
