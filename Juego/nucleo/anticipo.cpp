#include "Juego/nucleo/anticipo.h"

#include "Juego/nucleo/reloj.h"

namespace juego {

anticipo::anticipo() = default;

anticipo::~anticipo() {
    if (!hilo_.joinable())
        return;
    {
        std::lock_guard<std::mutex> l(cerrojo_);
        salir_ = true;
        parar_ = true;
    }
    aviso_.notify_all();
    hilo_.join();
}

void anticipo::recoger(mundo& m) {
    parar_ = true;
    esperar();
    parar_ = false;
    m.busqueda_->prever(std::move(anotadas_));
    anotadas_.clear();
}

void anticipo::relanzar(mundo& m) {
    if (m.jugando != verdadero || m.pausado == verdadero || m.fin == verdadero)
        return;
    terreno_ = m.busqueda_->terrenos();
    copia_.copiarestado(m);
    if (!hilo_.joinable())
        hilo_ = std::thread([this] { trabajar(); });
    {
        std::lock_guard<std::mutex> l(cerrojo_);
        encargo_ = true;
    }
    aviso_.notify_one();
}

void anticipo::esperar() {
    std::unique_lock<std::mutex> l(cerrojo_);
    aviso_.wait(l, [this] { return !encargo_; });
}

void anticipo::trabajar() {
    std::unique_lock<std::mutex> l(cerrojo_);
    for (;;) {
        aviso_.wait(l, [this] { return encargo_ || salir_; });
        if (salir_)
            return;
        l.unlock();
        const double antes = juego::cpums();
        if (terrenovisto_ != terreno_) {
            // What the search worked out of the old terrain is dropped.
            copia_.busqueda_->terrenocambiado();
            terrenovisto_ = terreno_;
        }
        copia_.busqueda_->anotar(&anotadas_, &parar_, terreno_);
        copia_.timer_Timer(entradatick{});
        copia_.recoger();
        copia_.busqueda_->anotar(nullptr, nullptr, 0);
        cpums_ = juego::cpums() - antes;
        l.lock();
        encargo_ = false;
        aviso_.notify_one();
    }
}

} // namespace juego
