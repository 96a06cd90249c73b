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

} // namespace juego
