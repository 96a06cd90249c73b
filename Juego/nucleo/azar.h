#pragma once

#include <cstdint>
#include <random>

namespace juego {

// The game's random source: uniform values in [0, 1) from a fixed seed, so
// that every run of the program draws the same sequence.
class azar {
public:
    double siguiente() { return double(motor_()) / 4294967296.0; }

private:
    std::mt19937 motor_{20261208u};
};

} // namespace juego
