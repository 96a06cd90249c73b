#pragma once

// What every benchmark measures with: the CPU time of its own thread (so
// other processes on the machine do not count) and percentiles of a run.

#include "Juego/nucleo/reloj.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace medidas {

// CPU time of the calling thread, in milliseconds.
using juego::cpums;

// The value below which a share `p` (0 to 1) of the sorted values lie.
inline double percentil(const std::vector<double>& orden, double p) {
    if (orden.empty())
        return 0;
    return orden[std::min(orden.size() - 1, std::size_t(p * double(orden.size())))];
}

// The process's resident memory now, in MiB (not the peak: the peak would
// carry the largest map played so far into every later line).
inline double residente() {
    std::ifstream f("/proc/self/status");
    std::string linea;
    while (std::getline(f, linea))
        if (linea.rfind("VmRSS:", 0) == 0)
            return std::atof(linea.c_str() + 6) / 1024.0;
    return 0;
}

inline double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return percentil(v, 0.5);
}

} // namespace medidas
