#pragma once

#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/reglas.h"
#include "Juego/nucleo/sucesos.h"

#include <QString>
#include <QtCore/qnamespace.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

class QLabel;
class QWidget;

namespace juego {

class capas;
class cuadro;
class jugada;
class partida;
class sesionred;
class simulacion;
struct ajustes;
struct repeticion;

// How a match was started from a map, so that Revancha can start it again.
struct revancha {
    QString ruta;
    int16_t maxp = 0;
    int16_t tipo = 0;
    objetivo meta;
    reglas regla; // its seed is drawn again for each Revancha
};

// The game window as the windows it opens (the set-up ones) and the kinds
// of play it shows (a replay, a network match) see it: only what they use,
// so that none of them depends on the window itself.
class mesa {
public:
    // The window, as the parent of what opens from it or lives on it.
    virtual QWidget* ventana() = 0;

    // --- the match on the field ----------------------------------------
    // The newest frame of the match: what is on screen.
    virtual const cuadro& juego() const = 0;
    virtual simulacion& simulacionactual() = 0;
    // Sends input to the match; its frame comes back later.
    virtual void enviar(std::function<sucesos(partida&)> f) = 0;
    // Asks the match and waits for the answer, with its frame drawn: for
    // what the player explicitly did, never for a tick.
    template <class F> auto esperar(F f) -> std::invoke_result_t<F, partida&> {
        using R = std::invoke_result_t<F, partida&>;
        if constexpr (std::is_void_v<R>) {
            esperaren([&f](partida& p) { f(p); });
        } else {
            std::optional<R> r;
            esperaren([&f, &r](partida& p) { r.emplace(f(p)); });
            return std::move(*r);
        }
    }
    // Shows and plays what the match reported.
    virtual void procesar(const sucesos& s) = 0;
    // Keeps `r` among the archived replays.
    virtual void archivar(const repeticion& r) = 0;

    // --- what is shown around it ---------------------------------------
    // A short message at the top left of the field.
    virtual void decir(const QString& texto) = 0;
    // Takes away every such message at once.
    virtual void borrardichos() = 0;
    // The status line under the field.
    virtual void ponerestado(const QString& texto) = 0;
    // A new label over the field, kept in place (`donde`) and in size
    // (`letra` frame pixels high) as the frame grows; its owner deletes it.
    virtual QLabel* etiqueta(Qt::Alignment donde, int letra) = 0;
    // Lays those labels out again after their text changed.
    virtual void colocarencima() = 0;
    // What is drawn over the frame (the players' names).
    virtual capas& encima() = 0;
    virtual int16_t sonido() const = 0;
    virtual void ponersonido(int16_t valor) = 0;
    // A message the player must acknowledge, and a yes-or-no question (No
    // unless they say so).
    virtual void alertar(const QString& titulo, const QString& texto) = 0;
    virtual bool preguntar(const QString& titulo, const QString& texto) = 0;

    // --- starting and ending matches -----------------------------------
    // What the game remembers between runs.
    virtual const ajustes& recordado() const = 0;
    virtual void recordarpartida(const QString& mapa, int guerreros, const QString& tipo,
                                 const objetivo& meta, const reglas& regla) = 0;
    virtual void recordarreglas(const reglas& regla) = 0;
    // Starts a match of the window's own on a map; false (told to the
    // player) when it cannot, with what was on the field untouched.
    virtual bool cargarmapa(const QString& ruta, int16_t maxp, int16_t tipo, objetivo meta,
                            reglas regla) = 0;
    // The same match anew in place, the kind of play on the field going on:
    // `alempezar` runs on the new match before any tick of it.
    virtual void reempezar(revancha r, const std::function<void(partida&)>& alempezar) = 0;
    // A kind of play of its own takes over the window (the match being left
    // is kept among the replays).
    virtual void empezarjugada(jugada* j) = 0;
    // The kind of play on the field ends, unless it is the window's own
    // match: the field stays on its last frame with `texto` in the status
    // line, and the match left there stops where it was.
    virtual void terminarjugada(const QString& texto) = 0;
    // Before anything that ends the match on the field while other players
    // are in it: asks whether to end it for everyone. True when there is
    // nothing to ask or the player says yes.
    virtual bool dejarjugada(const QString& titulo) = 0;
    // The network match on the field, if that is what is there.
    virtual sesionred* red() const = 0;

protected:
    ~mesa() = default;

private:
    // `esperar` without a result.
    virtual void esperaren(const std::function<void(partida&)>& f) = 0;
};

} // namespace juego
