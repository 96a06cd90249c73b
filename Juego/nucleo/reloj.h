#pragma once

// CPU time of the calling thread, in milliseconds: what the simulation's
// thread reports its ticks took, and what every benchmark measures with, so
// that other threads and processes on the machine do not count.

#include <time.h>

namespace juego {

inline double cpums() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

} // namespace juego
