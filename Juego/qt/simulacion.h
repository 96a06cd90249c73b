#pragma once

#include "Comun/teclas.h"
#include "Juego/nucleo/partida.h"
#include "Juego/nucleo/plataforma.h"
#include "Juego/qt/cuadro.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

class QTimer;

namespace juego {

namespace red {
struct jugadorred;
}

// The window's match, on a thread of its own named "partida". The match
// (`partida`) belongs to this object and lives on that thread: the window
// never holds it. The window sends input here and gets back, after every
// tick or input, a frame that never changes (`cuadro`) with what happened,
// so drawing never waits for a tick, however large the map.
//
// Everything the window asks goes through the thread's event queue, in the
// order it was asked: `hacer` for input (it never waits), `esperar` for an
// explicit action of the player that needs an answer (a save, a load).
class simulacion : public QObject, public plataforma {
    Q_OBJECT
public:
    // Who drives the ticks: the simulation's own clock (a match played
    // here), a replay's viewer (steps it sends) or the network (the host's
    // clock, on this same thread).
    enum class modo { local, visor, red };

    simulacion();
    ~simulacion() override;

    // Starts the thread; the object lives on it from here on.
    void arrancar();
    // Ends the thread after what is queued; the match goes with it.
    void parar();

    // --- from the window's thread ------------------------------------
    // Runs `f` on the match on the simulation's thread, then publishes a
    // frame with what it returned.
    void hacer(std::function<sucesos(partida&)> f);
    // Runs `f` on the simulation's thread (the network objects live there
    // too) without publishing anything.
    void invocar(std::function<void()> f);
    // Runs `f` on the match and waits for its answer; a frame follows.
    // Only for what the player explicitly did, never for a tick or a draw.
    template <class F> auto esperar(F f) -> std::invoke_result_t<F, partida&>;
    // Waits until everything asked before has been handled (its frames are
    // queued to the window by then).
    void sincronizar();

    // A key of the arrows went down or up (auto-repeat already dropped).
    void teclaflecha(int16_t codigo, bool abajo);
    void soltartodas();
    // The "Sonido" box as the player left it.
    void ponersonidoventana(bool encendido) { sonido_.store(encendido ? 1 : 0); }
    void ponermodo(modo m);
    // While a dialog is open the clock stops, and after it runs on as it
    // did before (unless the mode changed meanwhile).
    void sostener(bool parado);
    // The view drawn: the shown slot's own, or the one a replay's viewer
    // picks (a fighter it follows, or a free view).
    struct mirada {
        int16_t seguido = 0; // -1: the free view
        posicion libre{};
    };
    void mirar(std::optional<mirada> m);

    // CPU time of the simulation's thread for the clock's ticks so far (the
    // tick and its frame), in ms: the slowest and the sum, and how many.
    struct tiempos {
        double peor = 0;
        double total = 0;
        uint64_t ticks = 0;
    };
    tiempos medidos() const;

    // --- on the simulation's thread ----------------------------------
    // Publishes a frame of the match as it is now with these events.
    void publicar(const sucesos& s);
    // `ponermodo` at once, for a change made on this thread that must not
    // leave the clock a moment to tick in the old mode (a replay loaded:
    // its start asks for the match clock, which would play a tick of its
    // own before the viewer takes over).
    void ponermodoaqui(modo m);
    QTimer* timer = nullptr;
    void timer_Timer();

    // plataforma
    int16_t sonido() const override;
    void ponersonido(int16_t valor) override;
    void ponertemporizador(bool activo) override;
    void dibujar() override {}

signals:
    // A new frame and what happened since the last one.
    void publicado(std::shared_ptr<const juego::cuadro> c, juego::sucesos s);
    // The match turned the sound on or off (the S key).
    void sonidocambiado(bool encendido);
    // Who plays a network match now, as its host or client says.
    void jugadores(std::vector<juego::red::jugadorred> l);

private:
    void iniciar();

    QThread hilo_;
    std::unique_ptr<partida> partida_; // made and used on the thread only
    comun::estadoteclas teclas_;
    std::atomic<int16_t> sonido_{1};
    mutable std::mutex medidas_;
    tiempos medidos_;
    modo modo_ = modo::local;
    bool sostenido_ = false;
    bool corria_ = false;
    std::optional<mirada> mirada_;
    // The minimap's terrain, made again only when the terrain changed.
    std::shared_ptr<const terrenomapa> terreno_;
    uint64_t versionterreno_ = 0;
};

template <class F> auto simulacion::esperar(F f) -> std::invoke_result_t<F, partida&> {
    using R = std::invoke_result_t<F, partida&>;
    if constexpr (std::is_void_v<R>) {
        QMetaObject::invokeMethod(
            this,
            [this, &f] {
                f(*partida_);
                publicar({});
            },
            Qt::BlockingQueuedConnection);
    } else {
        std::optional<R> r;
        QMetaObject::invokeMethod(
            this,
            [this, &f, &r] {
                r.emplace(f(*partida_));
                publicar({});
            },
            Qt::BlockingQueuedConnection);
        return std::move(*r);
    }
}

} // namespace juego
