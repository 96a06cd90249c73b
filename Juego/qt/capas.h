#pragma once

#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/sucesos.h"
#include "Juego/qt/cuadro.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

class QPainter;

namespace juego {

class mundo;
class cuadro;
struct unidad;
struct entremedias;

// Everything the player sees over the play field's frame: their own
// fighter's marker, life bars, the pause and death messages, the level-up
// message, the kill feed, the minimap and the arrow to the nearest enemy.
// The frame itself is never touched: the overlays are drawn over a copy.
// What is drawn depends on the match state and on what `anotar` kept of
// the events, never on the clock, so two pictures with no tick between them
// are the same.
class capas {
public:
    // How long, in ticks, a kill stays in the feed and the level-up message
    // stays up; and how many kills the feed shows at once.
    static constexpr uint32_t duracionbaja = 48;
    static constexpr uint32_t duracionnivel = 20;
    static constexpr std::size_t maxbajas = 4;

    // Each reads the world or a frame made of it (`cuadro`) alike.

    // Keeps what the overlays show of the events of a tick or an input.
    template <class M> void anotar(const M& m, const sucesos& s);
    // A new match: the last one's kills and messages go.
    void olvidar();

    // Draws `plano` (the 800 x 600 frame drawn with the view at vistax,
    // vistay) scaled into `destino`, then the overlays at the same scale.
    // With `e`, the frame shows the fighters between two ticks, and the
    // marks over them follow them there.
    template <class M>
    void componer(QPainter& p, const QRect& destino, const M& m, const QImage& plano,
                  int16_t vistax, int16_t vistay, const entremedias* e = nullptr) const;
    // The same into a new picture of the frame's size, as the player sees it.
    template <class M>
    QImage componer(const M& m, const QImage& plano, int16_t vistax, int16_t vistay) const;

    // The texts written over the field now, in drawing order.
    template <class M> QStringList mensajes(const M& m) const;
    // The kill feed's lines now, newest first.
    template <class M> QStringList bajas(const M& m) const;

    // Team colour of the overlays (0 red, 1 blue).
    static QColor colorequipo(int equipo);
    // A fighter as the kill feed names it: "Guerrero rojo".
    static QString nombre(const unidad& u);
    // A small picture of a map of ancho x alto cells, at most `lado` pixels
    // on its long side and four per cell, one colour per terrain kind.
    static QImage miniatura(int ancho, int alto, const std::function<int16_t(int, int)>& terreno,
                            int lado);
    // Its size in pixels.
    static QSize tamanominiatura(int ancho, int alto, int lado);
    // The nearest living enemy of slot `jugador` outside the view, or -1.
    // `visto` is the part of the view's frame on screen (zoomed in), in its
    // pixels; the whole frame when empty.
    template <class M>
    static int16_t enemigocercano(const M& m, int16_t jugador, int16_t vistax, int16_t vistay,
                                  const QRectF& visto = {});

    // The part of the frame `plano` shown at `zoom` (in its pixels): the
    // whole frame at 1, a smaller part around the slot's fighter (`e`: as
    // it glides) when larger, never past the frame's edges.
    template <class M>
    QRectF recorte(const M& m, int16_t vistax, int16_t vistay, const entremedias* e) const;
    // The frame's pixel under pixel `px` of the field as last composed: the
    // same pixel at zoom 1. Clicks go through it, so that they hit the cell
    // under the pointer at any zoom.
    QPoint acampo(QPoint px) const;
    // Where the minimap stands over the field, or an empty rectangle.
    template <class M> QRectF sitiominimapa(const M& m) const;

    // The minimap in the corner; M shows and hides it.
    bool minimapa = true;
    // How much bigger the field is drawn around the fighter: 1, 1.5 or 2.
    double zoom = 1.0;
    // The slot whose fighter the overlays speak of: the one this window shows.
    int16_t jugador = 0;
    // The names of the people playing over the network, by slot (empty for
    // none): written over their fighters, so friends find each other.
    std::array<QString, numunidades> nombres{};
    // Who alone pauses a network match (its host), for the pause's sign.
    QString pausadopor;

private:
    struct baja {
        uint32_t tick = 0;
        QString quien;
        QString victima;
        int equipoquien = 0;
        int equipovictima = 0;
        QString texto() const;
    };
    struct nivel {
        uint32_t tick = 0;
        int16_t ataque = 0;
        int16_t armadura = 0;
    };

    template <class M>
    void dibujarmarcas(QPainter& p, const M& m, int16_t vx, int16_t vy,
                       const entremedias* e) const;
    template <class M> void dibujarmensajes(QPainter& p, const M& m) const;
    template <class M> void dibujarminimapa(QPainter& p, const M& m, int16_t vx, int16_t vy) const;
    template <class M>
    void dibujarflecha(QPainter& p, const M& m, int16_t vx, int16_t vy, const QRectF& r) const;
    static void dibujartitulo(QPainter& p);
    // The player's own marker round the cell whose corner is (x, y).
    static void dibujarmarca(QPainter& p, double x, double y);
    // The minimap's picture of the terrain. A frame's terrain is one shared
    // copy until the map changes, so its picture is made once for it, not
    // at every frame shown (130 x 130 cells each time).
    QImage fondominimapa(const cuadro& m, int ancho, int alto) const;
    QImage fondominimapa(const mundo& m, int ancho, int alto) const;

    std::deque<baja> bajas_;
    nivel nivel_;
    bool haynivel_ = false;
    uint32_t ultimotick_ = 0;
    // What the last composed picture showed of its frame, for the clicks.
    mutable QRectF mostrado_{0, 0, 800, 600};
    mutable std::shared_ptr<const terrenomapa> fondode_;
    mutable QImage fondo_;
};

} // namespace juego
