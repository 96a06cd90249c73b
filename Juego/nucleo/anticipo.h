#pragma once

#include "Juego/nucleo/busqueda.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/plataforma.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace juego {

// Plays the next tick ahead, on a copy of the world and on a thread of its
// own, while the match waits for its timer; the path searches that tick
// will run are then answered at once.
//
// Up to the people's turns a tick depends on nothing but the world as the
// last tick left it, and the searches come before those turns; so in a
// match left alone the copy asks exactly the questions the real tick will
// ask. An answer is only given for the very same question (same fighter,
// cells, team-mates in the way and terrain), so a copy overtaken by a
// stroke, a new player or a new map costs nothing but the answers that no
// longer fit: those searches run in the tick as before.
class anticipo {
public:
    anticipo();
    ~anticipo();
    anticipo(const anticipo&) = delete;
    anticipo& operator=(const anticipo&) = delete;

    // Stops the copy and hands the answers it has to `m`.
    void recoger(mundo& m);
    // Once stopped: copies `m` and plays the copy's next tick (when a tick
    // of `m` would run).
    void relanzar(mundo& m);
    // Waits until the copy has played its tick: what the time between two
    // ticks gives it.
    void esperar();
    // CPU time of its thread that the last tick played ahead took, in ms;
    // read it once esperar or recoger returned.
    double cpums() const { return cpums_; }

private:
    class sinpantalla final : public plataforma {
    public:
        int16_t sonido() const override { return 0; }
        void ponersonido(int16_t) override {}
        void ponertemporizador(bool) override {}
        void dibujar() override {}
    };

    void trabajar();

    sinpantalla plat_;
    mundo copia_{plat_};
    // The terrain of the world copied, as its search counts them, and the
    // one the copy's search last dropped its work for. A new copy's search
    // has worked out nothing yet; a loaded map is never counted 0.
    uint32_t terreno_ = 0;
    uint32_t terrenovisto_ = 0;

    std::vector<busqueda::recuerdo> anotadas_;
    std::atomic<bool> parar_{false};
    std::mutex cerrojo_;
    std::condition_variable aviso_;
    bool encargo_ = false; // a tick to play; the copy belongs to the thread
    bool salir_ = false;
    double cpums_ = 0;
    std::thread hilo_;
};

} // namespace juego
