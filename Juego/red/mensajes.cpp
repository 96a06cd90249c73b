#include "Juego/red/mensajes.h"

#include "Juego/nucleo/binario.h"
#include "Juego/nucleo/registros.h"

namespace juego::red {

namespace {

constexpr int16_t numslots = 17;
constexpr int16_t ladorejilla = 1000;

bool entre(int v, int a, int b) {
    return v >= a && v <= b;
}

// Actions and keys are the replay's records: one codec for both.
void escribiraccion(escritor& w, const accion& a) {
    juego::escribe e(w);
    describiraccion(e, a);
}

bool leeraccion(lector& r, accion& a) {
    lee l(r, versionprotocolo);
    accion x;
    describiraccion(l, x);
    // Hand-overs are the host's alone, and a shot aims inside the grid.
    if (!r.ok() || x.tipo == tipoaccion::relevo || !entre(x.x, 0, ladorejilla - 1) ||
        !entre(x.y, 0, ladorejilla - 1))
        return false;
    a = x;
    return true;
}

void escribirbytes(escritor& w, const std::vector<uint8_t>& b) {
    w.u32(uint32_t(b.size()));
    w.bytes(b.data(), b.size());
}

bool leerbytes(lector& r, std::vector<uint8_t>& b) {
    const uint32_t n = r.u32();
    if (!r.ok() || n > r.quedan() || n > maxinstantanea)
        return false;
    const uint8_t* p = r.bytes(n);
    b.assign(p, p + n);
    return true;
}

bool bandera(lector& r, bool& v) {
    const uint8_t b = r.u8();
    v = b == 1;
    return r.ok() && b <= 1;
}

struct escribe {
    escritor& w;
    void operator()(const hola& m) {
        w.u8(uint8_t(tipomensaje::hola));
        w.u16(m.protocolo);
        w.texto(m.version);
        w.texto(m.nombre);
        w.u8(uint8_t(m.tipo));
        w.u8(uint8_t(m.equipo));
        // A greeting of the first protocol had no token (see its reading).
        if (m.protocolo >= 2)
            w.u64(m.ficha);
    }
    void operator()(const tecla& m) {
        w.u8(uint8_t(tipomensaje::tecla));
        w.i16(m.slot);
        w.u8(uint8_t(m.codigo));
        w.u8(m.abajo ? 1 : 0);
    }
    void operator()(const accionred& m) {
        w.u8(uint8_t(tipomensaje::accion));
        escribiraccion(w, m.a);
    }
    void operator()(const huella& m) {
        w.u8(uint8_t(tipomensaje::huella));
        w.u32(m.tick);
        w.u32(uint32_t(m.valor & 0xffffffffu));
        w.u32(uint32_t(m.valor >> 32));
    }
    void operator()(const adios&) { w.u8(uint8_t(tipomensaje::adios)); }
    void operator()(const bienvenida& m) {
        w.u8(uint8_t(tipomensaje::bienvenida));
        w.i16(m.slot);
        w.u32(m.secuencia);
        escribirbytes(w, m.instantanea);
        w.u64(m.ficha);
    }
    void operator()(const rechazo& m) {
        w.u8(uint8_t(tipomensaje::rechazo));
        w.texto(m.motivo);
    }
    void operator()(const paso& m) {
        w.u8(uint8_t(tipomensaje::paso));
        w.u32(m.secuencia);
        w.u8(uint8_t(m.cambios.size()));
        for (const cambio& c : m.cambios) {
            w.i16(c.slot);
            w.u8(c.humano ? (c.fresco ? 2 : 1) : 0);
        }
        w.u16(uint16_t(m.acciones.size()));
        for (const accion& a : m.acciones)
            escribiraccion(w, a);
        w.u8(m.tick ? 1 : 0);
        w.u8(uint8_t(m.mandos.size()));
        juego::escribe e(w);
        for (const mando& k : m.mandos)
            describirmando(e, k);
        w.u32(m.numtick);
    }
    void operator()(const resinc& m) {
        w.u8(uint8_t(tipomensaje::resinc));
        w.texto(m.motivo);
        w.u32(m.secuencia);
        escribirbytes(w, m.instantanea);
    }
    void operator()(const jugadores& m) {
        w.u8(uint8_t(tipomensaje::jugadores));
        w.u8(uint8_t(m.lista.size()));
        for (const jugadorred& j : m.lista) {
            w.i16(j.slot);
            w.texto(j.nombre);
            w.u8(j.anfitrion ? 1 : 0);
        }
    }
};

std::string mal(const char* que) {
    return std::string("Mensaje no válido: ") + que + ".";
}

} // namespace

namespace {

// Text a peer sends that ends up on a screen or in a log line: well-formed
// UTF-8 with no control characters (C0, DEL, C1, line and paragraph
// separators). Anything else would turn into replacement characters three
// bytes long on the host's way through QString, so a name sent back in the
// player list could outgrow its limit, and a newline would forge a log line.
bool legible(const std::string& s) {
    std::size_t k = 0;
    while (k < s.size()) {
        const auto b = [&s](std::size_t i) { return uint8_t(s[i]); };
        const uint8_t c = b(k);
        std::size_t largo = 0;
        uint32_t cp = 0;
        if (c < 0x80) {
            largo = 1;
            cp = c;
        } else if (c >= 0xc2 && c <= 0xdf) {
            largo = 2;
            cp = c & 0x1fu;
        } else if (c >= 0xe0 && c <= 0xef) {
            largo = 3;
            cp = c & 0x0fu;
        } else if (c >= 0xf0 && c <= 0xf4) {
            largo = 4;
            cp = c & 0x07u;
        } else {
            return false;
        }
        if (s.size() - k < largo)
            return false;
        for (std::size_t i = 1; i < largo; ++i) {
            if ((b(k + i) & 0xc0) != 0x80)
                return false;
            cp = cp << 6 | (b(k + i) & 0x3fu);
        }
        // Overlong forms, surrogates and what lies past Unicode's end.
        if ((largo == 3 && cp < 0x800) || (largo == 4 && (cp < 0x10000 || cp > 0x10ffff)) ||
            (cp >= 0xd800 && cp <= 0xdfff))
            return false;
        if (cp < 0x20 || (cp >= 0x7f && cp <= 0x9f) || cp == 0x2028 || cp == 0x2029)
            return false;
        k += largo;
    }
    return true;
}

} // namespace

bool nombrevalido(const std::string& s) {
    return !s.empty() && s.size() <= maxnombre && legible(s);
}

bool delanfitrion(uint8_t t) {
    return t >= uint8_t(tipomensaje::bienvenida);
}

std::size_t maximocuerpo(uint8_t t) {
    switch (tipomensaje(t)) {
    case tipomensaje::hola:
        return 1 + 2 + 4 + maxversion + 4 + maxnombre + 2 + 8;
    case tipomensaje::tecla:
        return 1 + 2 + 2;
    case tipomensaje::accion:
        return 1 + 7;
    case tipomensaje::huella:
        return 1 + 12;
    case tipomensaje::adios:
        return 1;
    case tipomensaje::bienvenida:
        return 1 + 2 + 4 + 4 + maxinstantanea + 8;
    case tipomensaje::rechazo:
        return 1 + 4 + maxmotivo;
    case tipomensaje::paso:
        return 1 + 4 + 1 + 3 * maxcambios + 2 + 7 * maxacciones + 1 + 1 + 10 * numslots + 4;
    case tipomensaje::resinc:
        return 1 + 4 + maxmotivo + 4 + 4 + maxinstantanea;
    case tipomensaje::jugadores:
        return 1 + 1 + numslots * (2 + 4 + maxnombre + 1);
    }
    return 0;
}

std::vector<uint8_t> codificar(const mensaje& m) {
    escritor w;
    w.u32(0);
    std::visit(escribe{w}, m);
    const uint32_t n = uint32_t(w.datos.size() - 4);
    for (int k = 0; k < 4; ++k)
        w.datos[std::size_t(k)] = uint8_t(n >> (8 * k));
    return std::move(w.datos);
}

std::string decodificar(const uint8_t* cuerpo, std::size_t n, mensaje& m) {
    if (n == 0)
        return mal("está vacío");
    const uint8_t t = cuerpo[0];
    if (maximocuerpo(t) == 0)
        return mal("es de un tipo desconocido");
    if (n > maximocuerpo(t))
        return mal("es más largo de lo que su tipo permite");
    lector r(cuerpo + 1, n - 1);
    mensaje leido;
    switch (tipomensaje(t)) {
    case tipomensaje::hola: {
        hola h;
        h.protocolo = r.u16();
        h.version = r.texto(maxversion);
        h.nombre = r.texto(maxnombre);
        h.tipo = r.u8();
        h.equipo = r.u8();
        // A greeting of the first protocol has no token; it is read whole,
        // so the host can tell it is of another version.
        if (h.protocolo >= 2)
            h.ficha = r.u64();
        if (!r.ok())
            return mal("el saludo está cortado");
        if (!nombrevalido(h.nombre))
            return mal("el nombre está vacío o tiene caracteres que no se pueden mostrar");
        if (!legible(h.version))
            return mal("la versión tiene caracteres que no se pueden mostrar");
        if (!entre(h.tipo, 0, 1) || !entre(h.equipo, 0, 1))
            return mal("el tipo o el equipo no existe");
        leido = h;
        break;
    }
    case tipomensaje::tecla: {
        tecla k;
        k.slot = r.i16();
        k.codigo = r.u8();
        bool abajo = false;
        const bool bien = bandera(r, abajo);
        if (!r.ok())
            return mal("la tecla está cortada");
        if (!bien || !entre(k.slot, 0, numslots - 1) || !entre(k.codigo, 37, 40))
            return mal("la tecla no es una flecha o el luchador no existe");
        k.abajo = abajo;
        leido = k;
        break;
    }
    case tipomensaje::accion: {
        accionred a;
        const bool bien = leeraccion(r, a.a);
        if (!r.ok())
            return mal("la acción está cortada");
        if (!bien)
            return mal("la acción no existe o apunta fuera de la rejilla");
        leido = a;
        break;
    }
    case tipomensaje::huella: {
        huella h;
        h.tick = r.u32();
        const uint64_t bajo = r.u32();
        h.valor = bajo | (uint64_t(r.u32()) << 32);
        leido = h;
        break;
    }
    case tipomensaje::adios:
        leido = adios{};
        break;
    case tipomensaje::bienvenida: {
        bienvenida b;
        b.slot = r.i16();
        b.secuencia = r.u32();
        if (!r.ok() || !entre(b.slot, 0, numslots - 1) || !leerbytes(r, b.instantanea))
            return mal("la bienvenida está cortada o su luchador no existe");
        b.ficha = r.u64();
        if (!r.ok())
            return mal("la bienvenida está cortada");
        leido = std::move(b);
        break;
    }
    case tipomensaje::rechazo: {
        rechazo x;
        x.motivo = r.texto(maxmotivo);
        leido = x;
        break;
    }
    case tipomensaje::paso: {
        paso p;
        p.secuencia = r.u32();
        const uint8_t nc = r.u8();
        if (!r.ok() || nc > maxcambios)
            return mal("el paso trae demasiados relevos");
        for (uint8_t k = 0; k < nc; ++k) {
            cambio c;
            c.slot = r.i16();
            const uint8_t quien = r.u8();
            if (!r.ok() || quien > 2 || !entre(c.slot, 0, numslots - 1))
                return mal("un relevo del paso no es válido");
            c.humano = quien != 0;
            c.fresco = quien == 2;
            p.cambios.push_back(c);
        }
        const uint16_t na = r.u16();
        if (!r.ok() || na > maxacciones)
            return mal("el paso trae demasiadas acciones");
        for (uint16_t k = 0; k < na; ++k) {
            accion a;
            if (!leeraccion(r, a))
                return mal("una acción del paso no es válida");
            p.acciones.push_back(a);
        }
        const uint8_t nm = bandera(r, p.tick) ? r.u8() : 0;
        if (!r.ok() || nm > numslots || (!p.tick && nm != 0))
            return mal("las teclas del paso no son válidas");
        for (uint8_t k = 0; k < nm; ++k) {
            mando x;
            lee l(r, versionprotocolo);
            describirmando(l, x);
            if (!l.motivo().empty())
                return mal("las teclas del paso son de un luchador que no existe");
            for (const mando& y : p.mandos)
                if (y.slot == x.slot)
                    return mal("el paso trae dos veces las teclas de un luchador");
            p.mandos.push_back(x);
        }
        p.numtick = r.u32();
        leido = std::move(p);
        break;
    }
    case tipomensaje::resinc: {
        resinc x;
        x.motivo = r.texto(maxmotivo);
        x.secuencia = r.u32();
        if (!r.ok() || !leerbytes(r, x.instantanea))
            return mal("la resincronización está cortada");
        leido = std::move(x);
        break;
    }
    case tipomensaje::jugadores: {
        jugadores x;
        const uint8_t nj = r.u8();
        if (!r.ok() || nj > numslots)
            return mal("la lista de jugadores es demasiado larga");
        for (uint8_t k = 0; k < nj; ++k) {
            jugadorred j;
            j.slot = r.i16();
            j.nombre = r.texto(maxnombre);
            const bool bien = bandera(r, j.anfitrion);
            if (!r.ok() || !bien || !entre(j.slot, 0, numslots - 1) || !nombrevalido(j.nombre))
                return mal("un jugador de la lista no es válido");
            x.lista.push_back(std::move(j));
        }
        leido = std::move(x);
        break;
    }
    }
    if (!r.ok())
        return mal("está cortado");
    if (!r.alfinal())
        return mal("tiene datos de más al final");
    m = std::move(leido);
    return {};
}

bool desenmarcador::meter(const uint8_t* p, std::size_t n) {
    if (!error_.empty())
        return false;
    // Consumed messages are dropped before the buffer grows.
    if (inicio_ > 0 && inicio_ == buffer_.size()) {
        buffer_.clear();
        inicio_ = 0;
    } else if (inicio_ > (1u << 16)) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(inicio_));
        inicio_ = 0;
    }
    buffer_.insert(buffer_.end(), p, p + n);
    // Every header in what arrived is judged now, before more is kept.
    std::size_t k = inicio_;
    while (buffer_.size() - k >= 5) {
        const uint32_t largo = uint32_t(buffer_[k]) | uint32_t(buffer_[k + 1]) << 8 |
                               uint32_t(buffer_[k + 2]) << 16 | uint32_t(buffer_[k + 3]) << 24;
        const uint8_t t = buffer_[k + 4];
        if (maximocuerpo(t) == 0 || delanfitrion(t) != deanfitrion_) {
            error_ = "Mensaje no válido: de un tipo que este interlocutor no envía.";
            return false;
        }
        if (largo == 0 || largo > maximocuerpo(t)) {
            error_ = "Mensaje no válido: más largo de lo que su tipo permite.";
            return false;
        }
        if (buffer_.size() - k - 4 < largo)
            break;
        k += 4 + largo;
    }
    return true;
}

bool desenmarcador::sacar(std::vector<uint8_t>& cuerpo) {
    if (!error_.empty() || buffer_.size() - inicio_ < 4)
        return false;
    const std::size_t k = inicio_;
    const uint32_t largo = uint32_t(buffer_[k]) | uint32_t(buffer_[k + 1]) << 8 |
                           uint32_t(buffer_[k + 2]) << 16 | uint32_t(buffer_[k + 3]) << 24;
    if (buffer_.size() - k - 4 < largo)
        return false;
    cuerpo.assign(buffer_.begin() + std::ptrdiff_t(k + 4),
                  buffer_.begin() + std::ptrdiff_t(k + 4 + largo));
    inicio_ = k + 4 + largo;
    return true;
}

} // namespace juego::red
