#pragma once

#include "Juego/nucleo/entrada.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace juego::red {

// The conversation between a host and its clients, in framed messages: a
// four-byte little-endian length, then the body, whose first byte is the
// kind. Each kind has its own size limit and its own sender, so a reader
// knows from the first five bytes whether to take a message at all.
// 2: the welcome carries a token with which a player who lost the line
// gets their fighter back.
inline constexpr uint16_t versionprotocolo = 2;
inline constexpr uint16_t puertopordefecto = 47650;
inline constexpr std::size_t maxnombre = 24;
inline constexpr std::size_t maxversion = 32;
inline constexpr std::size_t maxmotivo = 400;
inline constexpr std::size_t maxinstantanea = 64u << 20;
inline constexpr std::size_t maxacciones = 256;
inline constexpr std::size_t maxcambios = 34;

enum class tipomensaje : uint8_t {
    // client to host
    hola = 1,
    tecla = 2,
    accion = 3,
    huella = 4,
    adios = 5,
    // host to client
    bienvenida = 16,
    rechazo = 17,
    paso = 18,
    resinc = 19,
    jugadores = 20,
};

// A client introduces itself: its program's version, the name shown to
// the others, and the fighter type and team it wants.
struct hola {
    uint16_t protocolo = versionprotocolo;
    std::string version;
    std::string nombre;
    int16_t tipo = 0;
    int16_t equipo = 0;
    // The token of a welcome before, to take the same fighter back after a
    // lost line; 0 for a newcomer.
    uint64_t ficha = 0;
    bool operator==(const hola&) const = default;
};

// An arrow key of the client's fighter went down or up.
struct tecla {
    int16_t slot = 0;
    int16_t codigo = 0;
    bool abajo = false;
    bool operator==(const tecla&) const = default;
};

// A stroke or a shot of the client's fighter, between ticks.
struct accionred {
    accion a;
    bool operator==(const accionred&) const = default;
};

// The client's state hash after a tick.
struct huella {
    uint32_t tick = 0;
    uint64_t valor = 0;
    bool operator==(const huella&) const = default;
};

struct adios {
    bool operator==(const adios&) const = default;
};

// The host lets a client in: its fighter slot, and the match as it stands
// after step `secuencia`.
struct bienvenida {
    int16_t slot = 0;
    uint32_t secuencia = 0;
    std::vector<uint8_t> instantanea;
    uint64_t ficha = 0; // for coming back (see hola)
    bool operator==(const bienvenida&) const = default;
};

// The host refuses a client or ends its part in the match, saying why.
struct rechazo {
    std::string motivo;
    bool operator==(const rechazo&) const = default;
};

// A fighter slot passes to a person (humano) or back to the computer.
struct cambio {
    int16_t slot = 0;
    bool humano = false;
    bool fresco = false; // a newcomer takes it: it starts anew
    bool operator==(const cambio&) const = default;
};

// One step of the host's clock: the hand-overs, then the actions in the
// order they reached the host, then (unless the match is paused) one tick
// with the human slots' arrow keys. `numtick` is the match's tick number
// once the step is applied.
struct paso {
    uint32_t secuencia = 0;
    std::vector<cambio> cambios;
    std::vector<accion> acciones;
    bool tick = false;
    std::vector<mando> mandos;
    uint32_t numtick = 0;
    bool operator==(const paso&) const = default;
};

// The host's copy after step `secuencia` replaces a client's copy that
// went astray.
struct resinc {
    std::string motivo;
    uint32_t secuencia = 0;
    std::vector<uint8_t> instantanea;
    bool operator==(const resinc&) const = default;
};

struct jugadorred {
    int16_t slot = 0;
    std::string nombre;
    // The one who hosts the match (and alone pauses it).
    bool anfitrion = false;
    bool operator==(const jugadorred&) const = default;
};

// Who plays which fighter now.
struct jugadores {
    std::vector<jugadorred> lista;
    bool operator==(const jugadores&) const = default;
};

using mensaje = std::variant<hola, tecla, accionred, huella, adios, bienvenida, rechazo, paso,
                             resinc, jugadores>;

// The framed bytes of a message.
std::vector<uint8_t> codificar(const mensaje& m);

// Whether the host may send kind `t` (else only a client may), and the
// largest body of that kind; 0 for a kind that does not exist.
bool delanfitrion(uint8_t t);
std::size_t maximocuerpo(uint8_t t);

// Reads one message body (kind byte included); on failure returns why in
// Spanish and leaves `m` alone. Checks every field against its range; what
// only the match can judge (a cell inside the map, a slot that is the
// sender's) is the peer's to check.
std::string decodificar(const uint8_t* cuerpo, std::size_t n, mensaje& m);

// A valid name: 1 to `maxnombre` bytes of UTF-8 with no control characters.
bool nombrevalido(const std::string& s);

// Cuts a byte stream into messages. It holds at most one message of the
// largest kind the sender may send, refusing a kind that sender may not
// send or a length its kind does not allow as soon as the header arrives.
class desenmarcador {
public:
    explicit desenmarcador(bool deanfitrion) : deanfitrion_(deanfitrion) {}

    // Appends received bytes; false (and `error()`) on a bad header.
    bool meter(const uint8_t* p, std::size_t n);
    // The next whole message body, if there is one.
    bool sacar(std::vector<uint8_t>& cuerpo);
    const std::string& error() const { return error_; }

private:
    bool deanfitrion_;
    std::vector<uint8_t> buffer_;
    std::size_t inicio_ = 0;
    std::string error_;
};

} // namespace juego::red
