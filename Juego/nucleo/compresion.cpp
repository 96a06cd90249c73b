#include "Juego/nucleo/compresion.h"

#include <zlib.h>

namespace juego {

namespace {

// Deflate never packs more than 1032 bytes into one (RFC 1951's longest
// match in its shortest code), so a block that claims more per byte it
// holds is lying, and is refused before its size is allocated.
constexpr std::size_t maxrazon = 1032;

} // namespace

void escribirbloque(escritor& w, const std::vector<uint8_t>& datos, bool guardar) {
    std::vector<uint8_t> comprimido;
    if (!guardar) {
        uLongf largo = compressBound(uLong(datos.size()));
        comprimido.resize(largo);
        if (compress2(comprimido.data(), &largo, datos.data(), uLong(datos.size()), 6) == Z_OK)
            comprimido.resize(largo);
        else
            guardar = true;
    }
    w.u8(uint8_t(guardar ? metodo::guardado : metodo::deflate));
    w.u32(uint32_t(datos.size()));
    const std::vector<uint8_t>& cuerpo = guardar ? datos : comprimido;
    w.u32(uint32_t(cuerpo.size()));
    w.bytes(cuerpo.data(), cuerpo.size());
}

std::string leerbloque(lector& r, std::size_t maximo, std::vector<uint8_t>& salida) {
    const uint8_t m = r.u8();
    const uint32_t tamano = r.u32();
    const uint32_t largo = r.u32();
    const uint8_t* p = r.bytes(largo);
    if (!p)
        return "el archivo está cortado";
    if (m > uint8_t(metodo::deflate))
        return "la partida está guardada con una compresión desconocida";
    if (tamano > maximo)
        return "la partida que guarda es más grande de lo que el juego acepta";
    if (m == uint8_t(metodo::guardado)) {
        if (tamano != largo)
            return "la partida guardada no tiene el tamaño que dice";
        salida.assign(p, p + largo);
        return {};
    }
    if (tamano > std::size_t(largo) * maxrazon + 64)
        return "la partida comprimida dice ser más grande de lo que puede ser";
    std::vector<uint8_t> datos(tamano);
    uLongf hecho = tamano;
    const int e = uncompress(datos.data(), &hecho, p, largo);
    if (e != Z_OK || hecho != tamano)
        return "la partida comprimida está dañada";
    salida = std::move(datos);
    return {};
}

} // namespace juego
