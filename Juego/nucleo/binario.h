#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace juego {

// The first bytes of a saved match and of a replay, so that each reader can
// tell a player who opened the other kind where it belongs.
inline constexpr char firmainstantanea[8] = {'T', 'A', 'R', 'N', 'I', 'N', 'S', 'T'};
inline constexpr char firmarepeticion[8] = {'T', 'A', 'R', 'N', 'R', 'E', 'P', 'E'};

inline bool empiezapor(const uint8_t* datos, std::size_t n, const char (&firma)[8]) {
    return n >= sizeof firma && std::memcmp(datos, firma, sizeof firma) == 0;
}

// Little-endian writing and bounded reading of the game's binary files
// (snapshots, replays). The reader never trusts a length: every count is
// checked against what is left before anything is allocated, and the first
// failure sticks, so a caller checks `ok()` once at the end.
class escritor {
public:
    void u8(uint8_t v) { datos.push_back(v); }
    void u16(uint16_t v) {
        u8(uint8_t(v & 0xff));
        u8(uint8_t(v >> 8));
    }
    void i16(int16_t v) { u16(uint16_t(v)); }
    void u32(uint32_t v) {
        u16(uint16_t(v & 0xffff));
        u16(uint16_t(v >> 16));
    }
    void u64(uint64_t v) {
        u32(uint32_t(v & 0xffffffffu));
        u32(uint32_t(v >> 32));
    }
    void real(double v) { u64(std::bit_cast<uint64_t>(v)); }
    void texto(const std::string& s) {
        u32(uint32_t(s.size()));
        datos.insert(datos.end(), s.begin(), s.end());
    }
    void bytes(const void* p, std::size_t n) {
        if (n == 0)
            return;
        const std::size_t k = datos.size();
        datos.resize(k + n);
        std::memcpy(datos.data() + k, p, n);
    }

    std::vector<uint8_t> datos;
};

class lector {
public:
    lector(const uint8_t* p, std::size_t n) : p_(p), n_(n) {}

    bool ok() const { return ok_; }
    std::size_t quedan() const { return ok_ ? n_ - k_ : 0; }
    bool alfinal() const { return ok_ && k_ == n_; }
    // Marks the input as bad (a value out of range, say).
    void fallar() { ok_ = false; }

    uint8_t u8() {
        if (!tomar(1))
            return 0;
        return p_[k_ - 1];
    }
    uint16_t u16() {
        const uint16_t a = u8();
        return uint16_t(a | (uint16_t(u8()) << 8));
    }
    int16_t i16() { return int16_t(u16()); }
    uint32_t u32() {
        const uint32_t a = u16();
        return a | (uint32_t(u16()) << 16);
    }
    uint64_t u64() {
        const uint64_t a = u32();
        return a | (uint64_t(u32()) << 32);
    }
    double real() { return std::bit_cast<double>(u64()); }
    // A text of at most `maximo` bytes.
    std::string texto(std::size_t maximo) {
        const uint32_t n = u32();
        if (!ok_ || n > maximo || n > quedan()) {
            ok_ = false;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(p_ + k_), n);
        k_ += n;
        return s;
    }
    // Reads a file's 8-byte signature and its format number. Empty when
    // both are the expected ones; otherwise why not, in Spanish: `ajeno`
    // for another signature, and for another format `sujeto` followed by
    // "del formato N y esta versión del juego lee el formato M".
    std::string cabecera(const char (&firma)[8], uint16_t version, const std::string& ajeno,
                         const std::string& sujeto) {
        uint16_t leida = 0;
        return cabecera(firma, version, version, ajeno, sujeto, leida);
    }
    // The same for a reader of every format from `primera` to `ultima`; the
    // one read is left in `leida`.
    std::string cabecera(const char (&firma)[8], uint16_t primera, uint16_t ultima,
                         const std::string& ajeno, const std::string& sujeto, uint16_t& leida) {
        const uint8_t* f = bytes(sizeof firma);
        if (!f || std::memcmp(f, firma, sizeof firma) != 0)
            return ajeno;
        leida = u16();
        if (!ok_)
            return "el archivo está cortado";
        if (leida < primera || leida > ultima)
            return sujeto + " del formato " + std::to_string(leida) +
                   " y esta versión del juego lee " +
                   (primera == ultima ? "el formato " + std::to_string(ultima)
                                      : "los formatos " + std::to_string(primera) + " a " +
                                            std::to_string(ultima));
        return {};
    }
    // The next `n` bytes, or nullptr when fewer are left.
    const uint8_t* bytes(std::size_t n) {
        if (!tomar(n))
            return nullptr;
        return p_ + k_ - n;
    }

private:
    bool tomar(std::size_t n) {
        if (!ok_ || n > n_ - k_) {
            ok_ = false;
            return false;
        }
        k_ += n;
        return true;
    }

    const uint8_t* p_;
    std::size_t n_;
    std::size_t k_ = 0;
    bool ok_ = true;
};

} // namespace juego
