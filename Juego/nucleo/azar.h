#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <random>

namespace juego {

// The game's random source: uniform values in [0, 1) from a fixed seed, so
// that every run of the program draws the same sequence.
class azar {
public:
    double siguiente() { return double(motor_()) / 4294967296.0; }

    // The engine's whole state as text, for snapshots.
    friend std::ostream& operator<<(std::ostream& o, const azar& a) { return o << a.motor_; }
    friend std::istream& operator>>(std::istream& i, azar& a) { return i >> a.motor_; }

private:
    std::mt19937 motor_{20261208u};
};

// The balanced rules' own random source, seeded per match: the classic
// source above keeps its sequence, so classic matches stay as they were. A
// single 64-bit word (splitmix64) is cheap to keep in every snapshot and to
// copy with the world.
class azarpropio {
public:
    void sembrar(uint32_t semilla) { estado = 0x9e3779b97f4a7c15ull ^ semilla; }
    uint64_t siguiente64() {
        uint64_t z = (estado += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // A whole number from 0 to n - 1 (0 when n is not positive).
    int16_t menorque(int n) { return n <= 0 ? int16_t(0) : int16_t(siguiente64() % uint64_t(n)); }

    uint64_t estado = 0;
    bool operator==(const azarpropio&) const = default;
};

} // namespace juego
