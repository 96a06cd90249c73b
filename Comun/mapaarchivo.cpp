#include "Comun/mapaarchivo.h"

#include "Comun/escritura.h"
#include "Comun/terreno.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

namespace comun {

namespace {

constexpr std::string_view fin = "/fn";

// Map files are a few megabytes at most; anything far larger is not a map
// and is not worth reading into memory.
constexpr long long tamanomaximo = 64 * 1024 * 1024;

// Some text editors put this mark in front of a UTF-8 file. It is invisible,
// so a number right behind it must not be blamed for it.
constexpr std::string_view bom = "\xEF\xBB\xBF";

std::string_view recortar(std::string_view s) {
    auto blanco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blanco(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blanco(s.back()))
        s.remove_suffix(1);
    return s;
}

// Splits `s` at every `sep`, but into at most `maximo` parts: the last part
// keeps the rest. Callers ask for only the parts they read, so a file of
// millions of separators costs no more memory than the map it claims to be.
std::vector<std::string_view> partir(std::string_view s, std::string_view sep,
                                     std::size_t maximo) {
    std::vector<std::string_view> partes;
    std::size_t desde = 0;
    for (;;) {
        std::size_t hasta =
            partes.size() + 1 < maximo ? s.find(sep, desde) : std::string_view::npos;
        if (hasta == std::string_view::npos) {
            partes.push_back(s.substr(desde));
            return partes;
        }
        partes.push_back(s.substr(desde, hasta - desde));
        desde = hasta + sep.size();
    }
}

// A value from the file, quoted in a message. Only its start is shown: a
// number of ten million digits must not become a message box of ten million
// digits. The cut never splits a UTF-8 character.
std::string citar(std::string_view s) {
    constexpr std::size_t largo = 24;
    std::string r = "\"";
    if (s.size() <= largo) {
        r += s;
    } else {
        std::size_t corte = largo;
        while (corte > 0 && (static_cast<unsigned char>(s[corte]) & 0xC0) == 0x80)
            --corte;
        r += s.substr(0, corte);
        r += "…";
    }
    r += "\"";
    return r;
}

// A decimal integer that fits 16 bits, or the reason it is not one.
struct numero {
    int16_t valor = 0;
    std::string error;
};

numero leernumero(std::string_view texto, const std::string& que) {
    std::string_view s = recortar(texto);
    std::string_view cifras = s;
    bool negativo = false;
    if (!cifras.empty() && cifras.front() == '-') {
        negativo = true;
        cifras.remove_prefix(1);
    }
    bool valido = !cifras.empty();
    for (char c : cifras)
        valido = valido && c >= '0' && c <= '9';
    if (!valido)
        return {0, que + " no es un número entero: " + citar(s) + "."};
    long long v = 0;
    for (char c : cifras) {
        v = v * 10 + (c - '0');
        if (v > 100000)
            break; // already far outside 16 bits; stop before overflowing
    }
    if (negativo)
        v = -v;
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        return {0, que + " (" + citar(s) + ") no cabe en un entero de 16 bits."};
    return {int16_t(v), {}};
}

lectura rechazo(std::string motivo) {
    return {std::nullopt, std::move(motivo)};
}

std::string celdatexto(int x, int y) {
    return "La celda (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

} // namespace

plano plano::vacio(int16_t anchomapa, int16_t altomapa) {
    plano p;
    p.anchomapa = anchomapa;
    p.altomapa = altomapa;
    p.terrenos.assign(std::size_t(p.ancho()) * p.alto(), pasto);
    return p;
}

std::string escribirmapa(const plano& p) {
    std::string texto;
    texto.reserve(std::size_t(p.ancho()) * p.alto() * 2 + 32);
    texto += std::to_string(p.anchomapa) + "," + std::to_string(p.altomapa);
    texto += fin;
    for (int y = 0; y <= p.altomapa; ++y) {
        for (int x = 0; x <= p.anchomapa; ++x) {
            texto += std::to_string(p.terreno(x, y));
            texto += ',';
        }
    }
    texto += fin;
    texto += std::to_string(p.inicio[0].x) + "," + std::to_string(p.inicio[0].y) + "," +
             std::to_string(p.inicio[1].x) + "," + std::to_string(p.inicio[1].y);
    texto += fin;
    return texto;
}

lectura leermapa(std::string_view texto) {
    if (texto.starts_with(bom))
        texto.remove_prefix(bom.size());
    if (texto.empty())
        return rechazo("El archivo del mapa está vacío.");

    // Every section ends with "/fn"; whatever follows the third one is the
    // leftover of an older file or an editor's line break, and is ignored.
    std::vector<std::string_view> secciones = partir(texto, fin, 4);
    const std::size_t terminadas = secciones.size() - 1;
    if (terminadas < 1)
        return rechazo("Falta la cabecera del mapa: el ancho y el alto terminados en \"/fn\".");
    if (terminadas < 2)
        return rechazo("Falta la sección de celdas del mapa (terminada en \"/fn\").");
    if (terminadas < 3)
        return rechazo("Falta la sección de inicios del mapa (terminada en \"/fn\").");

    plano p;

    std::vector<std::string_view> cabecera = partir(secciones[0], ",", 3);
    if (cabecera.size() < 2)
        return rechazo(
            "La cabecera del mapa debe tener el ancho y el alto separados por una coma.");
    const std::string nombres[2] = {"El ancho del mapa", "El alto del mapa"};
    int16_t medidas[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        numero n = leernumero(cabecera[i], nombres[i]);
        if (!n.error.empty())
            return rechazo(n.error);
        if (n.valor < 0 || n.valor >= ladorejilla)
            return rechazo(nombres[i] + " en el archivo (" + std::to_string(n.valor) +
                           ") debe estar entre 0 y " + std::to_string(ladorejilla - 1) + ".");
        medidas[i] = n.valor;
    }
    p.anchomapa = medidas[0];
    p.altomapa = medidas[1];

    const std::size_t necesarias = std::size_t(p.ancho()) * p.alto();
    std::vector<std::string_view> celdas = partir(secciones[1], ",", necesarias + 1);
    std::size_t hay = celdas.size();
    if (hay > 0 && recortar(celdas.back()).empty())
        --hay; // the comma after the last value leaves an empty item
    if (hay < necesarias)
        return rechazo("Faltan celdas: un mapa de " + std::to_string(p.ancho()) + " x " +
                       std::to_string(p.alto()) + " necesita " + std::to_string(necesarias) +
                       " valores y el archivo tiene " + std::to_string(hay) + ".");
    p.terrenos.resize(necesarias);
    std::size_t k = 0;
    for (int y = 0; y <= p.altomapa; ++y) {
        for (int x = 0; x <= p.anchomapa; ++x, ++k) {
            // The cell's name is only built for the message of a bad value.
            numero n = leernumero(celdas[k], {});
            if (!n.error.empty())
                return rechazo(leernumero(celdas[k], celdatexto(x, y)).error);
            if (n.valor < 0 || n.valor >= numterrenos)
                return rechazo(celdatexto(x, y) + " tiene el terreno " + std::to_string(n.valor) +
                               "; los terrenos van de 0 a 5.");
            p.terrenos[k] = n.valor;
        }
    }

    std::vector<std::string_view> inicios = partir(secciones[2], ",", 5);
    if (inicios.size() < 4)
        return rechazo("Faltan posiciones de inicio: se necesitan cuatro números "
                       "(columna y fila de cada equipo).");
    for (int e = 0; e < 2; ++e) {
        const std::string equipo = " del inicio del equipo " + std::to_string(e);
        numero x = leernumero(inicios[2 * e], "La columna" + equipo);
        if (!x.error.empty())
            return rechazo(x.error);
        numero y = leernumero(inicios[2 * e + 1], "La fila" + equipo);
        if (!y.error.empty())
            return rechazo(y.error);
        if (x.valor < 0 || x.valor > p.anchomapa || y.valor < 0 || y.valor > p.altomapa)
            return rechazo("El inicio del equipo " + std::to_string(e) + " (" +
                           std::to_string(x.valor) + ", " + std::to_string(y.valor) +
                           ") está fuera del mapa de " + std::to_string(p.ancho()) + " x " +
                           std::to_string(p.alto()) + ".");
        p.inicio[e] = {x.valor, y.valor};
    }
    return {std::move(p), {}};
}

std::optional<std::string> leerbytes(const std::string& ruta, std::string& error) {
    auto falla = [&](std::string motivo) {
        error = std::move(motivo);
        return std::optional<std::string>();
    };
    // Without O_NONBLOCK, opening a FIFO (say, behind a symbolic link named
    // like a map) waits for a writer that never comes, and the program
    // hangs. Whatever is not a regular file is refused before any read.
    const int fd = ::open(ruta.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return falla("No se pudo abrir el archivo del mapa:\n" + ruta + "\n" +
                     causasistema(errno));
    struct cerrar {
        int fd;
        ~cerrar() { ::close(fd); }
    } cierre{fd};
    struct stat datos {};
    if (::fstat(fd, &datos) != 0)
        return falla("No se pudo leer el archivo del mapa:\n" + ruta + "\n" + causasistema(errno));
    if (!S_ISREG(datos.st_mode))
        return falla("El mapa no es un archivo normal:\n" + ruta);
    if (datos.st_size > tamanomaximo)
        return falla("El archivo es demasiado grande para ser un mapa:\n" + ruta);

    // Read to the end rather than trusting the size: a file that grows
    // while it is read is cut at the limit, and one that shrinks ends early.
    std::string texto;
    texto.resize(std::size_t(datos.st_size));
    std::size_t leido = 0;
    for (;;) {
        if (leido == texto.size()) {
            if (texto.size() > std::size_t(tamanomaximo))
                return falla("El archivo es demasiado grande para ser un mapa:\n" + ruta);
            texto.resize(texto.size() + 4096);
        }
        const ssize_t n = ::read(fd, texto.data() + leido, texto.size() - leido);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return falla("No se pudo leer el archivo del mapa:\n" + ruta + "\n" +
                         causasistema(errno));
        if (n == 0)
            break;
        leido += std::size_t(n);
    }
    texto.resize(leido);
    return texto;
}

lectura leerarchivo(const std::string& ruta) {
    std::string error;
    std::optional<std::string> texto = leerbytes(ruta, error);
    if (!texto)
        return rechazo(std::move(error));
    return leermapa(*texto);
}

} // namespace comun
