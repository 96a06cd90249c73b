#pragma once

#include "Juego/nucleo/binario.h"

#include <cmath>
#include <cstdint>
#include <deque>
#include <string>
#include <type_traits>

namespace juego {

// Every record the game saves or sends lists its fields once, in a function
// template `describir(a, registro)` (see registros.h). The same list writes
// the record (`escribe`), reads and checks it (`lee`), and, since the network's
// state hash is a digest of the written bytes, hashes it. A field names its
// range, which the reader enforces, and the format version it first appeared
// in with the value a file older than that behaves as, which the reader
// gives it instead of reading. Adding a field is one line in the description.

namespace detalle {

template <class T>
using base = typename std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>,
                                         std::type_identity<T>>::type;

} // namespace detalle

class escribe {
public:
    explicit escribe(escritor& w) : w_(w) {}

    // A writer writes the newest version of everything.
    uint16_t version() const { return 0xffff; }
    bool bien() const { return true; }

    template <class T>
    void campo(const char*, const T& v, detalle::base<T>, detalle::base<T>, uint16_t = 1,
               T = T{}) {
        using B = detalle::base<T>;
        const B b = static_cast<B>(v);
        if constexpr (sizeof(B) == 1)
            w_.u8(uint8_t(b));
        else if constexpr (sizeof(B) == 2)
            w_.u16(uint16_t(b));
        else if constexpr (sizeof(B) == 4)
            w_.u32(uint32_t(b));
        else
            w_.u64(uint64_t(b));
    }
    void real(const char*, const double& v, double, uint16_t = 1) { w_.real(v); }
    void texto(const char*, const std::string& s, std::size_t, uint16_t = 1) { w_.texto(s); }
    void textos(const char*, const std::deque<std::string>& l, std::size_t, uint16_t = 1) {
        w_.u32(uint32_t(l.size()));
        for (const std::string& s : l)
            w_.texto(s);
    }
    void exigir(bool, const char*) {}

private:
    escritor& w_;
};

class lee {
public:
    lee(lector& r, uint16_t version) : r_(r), version_(version) {}

    uint16_t version() const { return version_; }
    bool bien() const { return r_.ok(); }
    // Why the last record failed, naming the field: empty when the file was
    // merely cut short.
    const std::string& motivo() const { return motivo_; }

    template <class T>
    void campo(const char* nombre, T& v, detalle::base<T> minimo, detalle::base<T> maximo,
               uint16_t desde = 1, T defecto = T{}) {
        if (version_ < desde) {
            v = defecto;
            return;
        }
        using B = detalle::base<T>;
        B b{};
        if constexpr (sizeof(B) == 1)
            b = B(r_.u8());
        else if constexpr (sizeof(B) == 2)
            b = B(r_.u16());
        else if constexpr (sizeof(B) == 4)
            b = B(r_.u32());
        else
            b = B(r_.u64());
        bool marca = false;
        if constexpr (std::is_signed_v<B>)
            marca = minimo == -1 && maximo == 0;
        if (r_.ok() && (b < minimo || b > maximo) && marca)
            fallar(std::string(nombre) + " vale " + std::to_string(b) + " y no es -1 ni 0");
        else if (r_.ok() && (b < minimo || b > maximo))
            fallar(std::string(nombre) + " vale " + std::to_string(b) + ", fuera de " +
                   std::to_string(minimo) + " a " + std::to_string(maximo));
        v = static_cast<T>(b);
    }
    void real(const char* nombre, double& v, double limite, uint16_t desde = 1) {
        if (version_ < desde) {
            v = 0;
            return;
        }
        v = r_.real();
        if (r_.ok() && !(std::isfinite(v) && std::abs(v) <= limite))
            fallar(std::string(nombre) + " no es un número entre -" + std::to_string(int(limite)) +
                   " y " + std::to_string(int(limite)));
    }
    void texto(const char* nombre, std::string& s, std::size_t maximo, uint16_t desde = 1) {
        if (version_ < desde) {
            s.clear();
            return;
        }
        s = r_.texto(maximo);
        if (!r_.ok() && motivo_.empty() && r_.quedan() == 0)
            motivo_ = std::string(nombre) + " es demasiado largo o está cortado";
    }
    void textos(const char* nombre, std::deque<std::string>& l, std::size_t maximo,
                uint16_t desde = 1) {
        l.clear();
        if (version_ < desde)
            return;
        const uint32_t n = r_.u32();
        // Each text takes at least the four bytes of its length.
        if (!r_.ok() || n > r_.quedan() / 4) {
            fallar(std::string(nombre) + " son más de los que caben en el archivo");
            return;
        }
        for (uint32_t k = 0; k < n && r_.ok(); ++k)
            l.push_back(r_.texto(maximo));
    }
    // A check between fields that the ranges cannot say.
    void exigir(bool cierto, const char* motivo) {
        if (!cierto && r_.ok())
            fallar(motivo);
    }

private:
    void fallar(std::string motivo) {
        if (motivo_.empty())
            motivo_ = std::move(motivo);
        r_.fallar();
    }

    lector& r_;
    uint16_t version_;
    std::string motivo_;
};

} // namespace juego
