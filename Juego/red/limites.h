#pragma once

#include <algorithm>
#include <cstdint>

namespace juego::red {

// A rate with a burst allowance: `porsegundo` uses come back each second, up
// to `rafaga` saved. A peer cut off for a while (a slow link, a host that
// froze) sends its backlog on the saved allowance instead of being taken for
// a flood; only a peer that keeps sending faster than the rate runs dry.
class cubo {
public:
    cubo(double porsegundo, double rafaga)
        : ritmo_(porsegundo), rafaga_(rafaga), fichas_(rafaga) {}

    // Takes one use at time `ahora` (ms); false when none is left.
    bool tomar(int64_t ahora) {
        llenar(ahora);
        if (fichas_ < 1)
            return false;
        fichas_ -= 1;
        return true;
    }
    // Whether the allowance is whole again, so nothing need be kept of it.
    bool lleno(int64_t ahora) const {
        const double dt = empezado_ && ahora > ultimo_ ? double(ahora - ultimo_) : 0.0;
        return fichas_ + ritmo_ * dt / 1000.0 >= rafaga_;
    }

private:
    void llenar(int64_t ahora) {
        if (empezado_ && ahora > ultimo_)
            fichas_ = std::min(rafaga_, fichas_ + ritmo_ * double(ahora - ultimo_) / 1000.0);
        if (!empezado_ || ahora > ultimo_)
            ultimo_ = ahora;
        empezado_ = true;
    }

    double ritmo_;
    double rafaga_;
    double fichas_;
    int64_t ultimo_ = 0;
    bool empezado_ = false;
};

} // namespace juego::red
