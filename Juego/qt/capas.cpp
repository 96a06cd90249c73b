#include "Juego/qt/capas.h"

#include "Juego/nucleo/mundo.h"
#include "Juego/qt/cuadro.h"
#include "Juego/qt/suave.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace juego {

namespace {

constexpr int anchocampo = columnasvista * tamcelda;
constexpr int altocampo = filasvista * tamcelda;
// The marker of the player's own fighter: bright on grass, water, wood and
// stone alike, with a dark edge for the light floors.
const QColor colormarca(255, 222, 40);

template <class M> bool valido(const M& m, int16_t i) {
    return i >= 0 && i < 2 * m.maxp && i < numunidades;
}

QFont fuente(int pixeles, bool negrita) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixeles);
    f.setBold(negrita);
    return f;
}

// Text with a dark shadow, readable on every terrain. A full outline costs
// eight more passes of the text and shows no better over the dark bands.
void textocontorno(QPainter& p, const QRectF& caja, int alineacion, const QString& texto,
                   const QColor& color) {
    p.setPen(QColor(0, 0, 0, 230));
    p.drawText(caja.translated(1, 1), alineacion, texto);
    p.setPen(color);
    p.drawText(caja, alineacion, texto);
}

// A message across the field on a dark band.
void cartel(QPainter& p, int y, int alto, const QString& texto, const QColor& color, int pixeles) {
    p.setFont(fuente(pixeles, true));
    const int ancho = QFontMetrics(p.font()).horizontalAdvance(texto) + 4 * pixeles / 3;
    const QRectF caja((anchocampo - ancho) / 2.0, y, ancho, alto);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(caja, 6, 6);
    textocontorno(p, caja, Qt::AlignCenter, texto, color);
}

QColor colorterreno(int16_t t) {
    switch (t) {
    case 0:
        return QColor(86, 150, 60); // pasto
    case 1:
        return QColor(140, 96, 52); // madera
    case 2:
        return QColor(112, 112, 118); // pared
    case 3:
        return QColor(48, 96, 190); // agua
    case 4:
        return QColor(30, 90, 36); // arbol
    case 5:
        return QColor(196, 178, 140); // piso
    default:
        return QColor(0, 0, 0);
    }
}

} // namespace

QSize capas::tamanominiatura(int ancho, int alto, int lado) {
    const double escala = std::min(4.0, double(lado) / std::max(ancho, alto));
    return {std::max(1, int(std::lround(ancho * escala))),
            std::max(1, int(std::lround(alto * escala)))};
}

QImage capas::miniatura(int ancho, int alto, const std::function<int16_t(int, int)>& terreno,
                        int lado) {
    if (ancho <= 0 || alto <= 0 || lado <= 0)
        return {};
    const QSize t = tamanominiatura(ancho, alto, lado);
    const int iw = t.width();
    const int ih = t.height();
    QImage fondo(iw, ih, QImage::Format_RGB32);
    for (int py = 0; py < ih; ++py) {
        const int r = std::min(alto - 1, int((py + 0.5) * alto / ih));
        auto* linea = reinterpret_cast<QRgb*>(fondo.scanLine(py));
        for (int px = 0; px < iw; ++px) {
            const int c = std::min(ancho - 1, int((px + 0.5) * ancho / iw));
            linea[px] = colorterreno(terreno(c, r)).rgb();
        }
    }
    return fondo;
}

QString capas::nombre(const unidad& u) {
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(nombretipo(u.tipo)),
                                       QString::fromLatin1(nombreequipo(u.equipo)));
}

QColor capas::colorequipo(int equipo) {
    return equipo == 0 ? QColor(226, 44, 44) : QColor(52, 108, 240);
}

void capas::olvidar() {
    bajas_.clear();
    haynivel_ = false;
    ultimotick_ = 0;
}

template <class M> void capas::anotar(const M& m, const sucesos& s) {
    // A new or restored match counts its ticks from where it stands; what was
    // kept of a later tick belongs to another match.
    if (m.numtick < ultimotick_)
        olvidar();
    ultimotick_ = m.numtick;
    for (const suceso& e : s) {
        if (e.tipo == tiposuceso::baja && valido(m, e.a) && valido(m, e.b)) {
            QString quien = nombre(m.unidades[e.a]);
            if (e.a == jugador)
                quien += QStringLiteral(" (tú)");
            QString victima = nombre(m.unidades[e.b]);
            if (e.b == jugador)
                victima += QStringLiteral(" (tú)");
            bajas_.push_front(
                {m.numtick, quien, victima, m.unidades[e.a].equipo, m.unidades[e.b].equipo});
            while (bajas_.size() > maxbajas)
                bajas_.pop_back();
        } else if (e.tipo == tiposuceso::nivel && e.a == jugador && valido(m, e.a)) {
            nivel_ = {m.numtick, m.unidades[e.a].ataque, m.unidades[e.a].armadura};
            haynivel_ = true;
        }
    }
}

QString capas::baja::texto() const {
    return quien + QStringLiteral(" mató a ") + victima;
}

template <class M> QStringList capas::bajas(const M& m) const {
    QStringList r;
    for (const baja& b : bajas_)
        if (b.tick <= m.numtick && m.numtick < b.tick + duracionbaja)
            r << b.texto();
    return r;
}

template <class M> QStringList capas::mensajes(const M& m) const {
    QStringList r;
    if (m.jugando != verdadero && m.anchomapa == 0 && m.altomapa == 0) {
        r << QStringLiteral("Tarnhollow") << QStringLiteral("Archivo → Un Jugador");
        return r;
    }
    if (haynivel_ && nivel_.tick <= m.numtick && m.numtick < nivel_.tick + duracionnivel)
        r << QStringLiteral("¡Más fuerte! Ataque %1 · Armadura %2")
                 .arg(nivel_.ataque)
                 .arg(nivel_.armadura);
    const unidad& j = m.unidades[std::size_t(std::clamp<int>(jugador, 0, numunidades - 1))];
    if (m.jugando == verdadero && j.muerto == verdadero) {
        // The fighter comes back on the tick after its wait reaches zero.
        const int ticks = std::max(0, int(j.revivir)) + 1;
        r << QStringLiteral("Has muerto — vuelves en %1 s").arg((ticks * 125 + 999) / 1000);
    }
    if (m.jugando == verdadero && m.pausado == verdadero)
        r << (pausadopor.isEmpty() ? QStringLiteral("PAUSA")
                                   : QStringLiteral("PAUSA (%1)").arg(pausadopor));
    return r;
}

template <class M>
int16_t capas::enemigocercano(const M& m, int16_t visto, int16_t vx, int16_t vy,
                              const QRectF& zona) {
    const bool entero = zona.isEmpty() || zona == QRectF(0, 0, anchocampo, altocampo);
    if (entero && m.anchomapa + 1 <= columnasvista && m.altomapa + 1 <= filasvista)
        return -1;
    const int16_t jugador = std::clamp<int16_t>(visto, 0, numunidades - 1);
    const unidad& j = m.unidades[std::size_t(jugador)];
    // From the player, or from the middle of the view while the player lies dead.
    const double ox = j.muerto == verdadero ? vx + columnasvista / 2.0 : j.x;
    const double oy = j.muerto == verdadero ? vy + filasvista / 2.0 : j.y;
    int16_t mejor = -1;
    double dmejor = 0;
    for (int16_t i = 0; valido(m, i); ++i) {
        const unidad& u = m.unidades[i];
        if (u.equipo == j.equipo || u.muerto == verdadero)
            continue;
        const double d = std::hypot(u.x - ox, u.y - oy);
        if (mejor < 0 || d < dmejor) {
            mejor = i;
            dmejor = d;
        }
    }
    if (mejor < 0)
        return -1;
    const unidad& e = m.unidades[std::size_t(mejor)];
    const bool visible =
        entero ? e.x >= vx && e.x < vx + columnasvista && e.y >= vy && e.y < vy + filasvista
               : zona.contains(QPointF((e.x - vx + 0.5) * tamcelda, (e.y - vy + 0.5) * tamcelda));
    return visible ? -1 : mejor;
}

template <class M>
QRectF capas::recorte(const M& m, int16_t vx, int16_t vy, const entremedias* e) const {
    const double z = std::clamp(zoom, 1.0, 4.0);
    if (z == 1.0)
        return QRectF(0, 0, anchocampo, altocampo);
    const double w = anchocampo / z;
    const double h = altocampo / z;
    // Around the fighter shown, or the middle of the frame while it lies
    // dead or stands out of it (a replay's free view).
    QPointF c(anchocampo / 2.0, altocampo / 2.0);
    if (valido(m, jugador) && m.unidades[std::size_t(jugador)].muerto != verdadero) {
        const unidad& u = m.unidades[std::size_t(jugador)];
        const QPointF q = e ? e->unidades[std::size_t(jugador)]
                            : QPointF((u.x - vx) * tamcelda, (u.y - vy) * tamcelda);
        const QPointF centro = q + QPointF(tamcelda / 2.0, tamcelda / 2.0);
        if (QRectF(0, 0, anchocampo, altocampo).contains(centro))
            c = centro;
    }
    // Whole frame pixels, so that the picture stays crisp at 2x.
    const double x = std::round(std::clamp(c.x() - w / 2, 0.0, anchocampo - w));
    const double y = std::round(std::clamp(c.y() - h / 2, 0.0, altocampo - h));
    return QRectF(std::min(x, anchocampo - w), std::min(y, altocampo - h), w, h);
}

QPoint capas::acampo(QPoint px) const {
    const QRectF& r = mostrado_;
    const int x = int(std::floor(r.x() + (px.x() + 0.5) * r.width() / anchocampo));
    const int y = int(std::floor(r.y() + (px.y() + 0.5) * r.height() / altocampo));
    return QPoint(std::clamp(x, 0, anchocampo - 1), std::clamp(y, 0, altocampo - 1));
}

template <class M>
void capas::componer(QPainter& p, const QRect& destino, const M& m, const QImage& plano,
                     int16_t vx, int16_t vy, const entremedias* e) const {
    p.save();
    const bool titulo = m.jugando != verdadero && m.anchomapa == 0 && m.altomapa == 0;
    const QRectF r = titulo ? QRectF(0, 0, anchocampo, altocampo) : recorte(m, vx, vy, e);
    mostrado_ = r;
    const double sx = double(destino.width()) / r.width();
    const double sy = double(destino.height()) / r.height();
    const bool entero = sx == std::floor(sx) && sy == std::floor(sy);
    p.setRenderHint(QPainter::SmoothPixmapTransform, !entero);
    p.drawImage(QRectF(destino), plano, r);
    p.translate(destino.topLeft());
    p.scale(double(destino.width()) / anchocampo, double(destino.height()) / altocampo);
    p.setClipRect(QRect(0, 0, anchocampo, altocampo));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    if (titulo) {
        dibujartitulo(p);
    } else {
        // The marks over the fighters go with the field's zoom; the minimap,
        // the pointer and the messages stay the same size over it.
        p.save();
        p.scale(anchocampo / r.width(), altocampo / r.height());
        p.translate(-r.topLeft());
        dibujarmarcas(p, m, vx, vy, e);
        p.restore();
        if (minimapa)
            dibujarminimapa(p, m, vx, vy);
        dibujarflecha(p, m, vx, vy, r);
        dibujarmensajes(p, m);
    }
    p.restore();
}

template <class M>
QImage capas::componer(const M& m, const QImage& plano, int16_t vistax, int16_t vistay) const {
    QImage r(plano.size(), QImage::Format_RGB32);
    QPainter p(&r);
    componer(p, r.rect(), m, plano, vistax, vistay);
    return r;
}

template <class M>
void capas::dibujarmarcas(QPainter& p, const M& m, int16_t vx, int16_t vy,
                          const entremedias* e) const {
    // On the whole pixel the fighter's picture is drawn on, so that a mark
    // never sits a fraction off its fighter while it glides.
    auto donde = [&](int16_t i) {
        const unidad& u = m.unidades[std::size_t(i)];
        if (!e)
            return QPointF((u.x - vx) * tamcelda, (u.y - vy) * tamcelda);
        const QPointF q = e->unidades[std::size_t(i)];
        return QPointF(double(std::lround(q.x())), double(std::lround(q.y())));
    };
    auto fuera = [](QPointF q) {
        return q.x() <= -tamcelda || q.y() <= -tamcelda || q.x() >= anchocampo ||
               q.y() >= altocampo;
    };
    for (int16_t i = 0; valido(m, i); ++i) {
        const unidad& u = m.unidades[i];
        const QPointF q = donde(i);
        if (u.muerto == verdadero || fuera(q))
            continue;
        const double x = q.x();
        const double y = q.y();
        if (u.proteccion > 0) {
            // The safety after coming back: a bright outline round the
            // fighter that fades as its ticks run out.
            const double queda = std::min(1.0, double(u.proteccion) / maxproteccion);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(255, 255, 255, int(60 + 195 * queda)), 2));
            p.drawRoundedRect(QRectF(x - 1, y - 1, tamcelda + 2, tamcelda + 2), 7, 7);
            p.setPen(QPen(QColor(120, 220, 255, int(40 + 150 * queda)), 1));
            p.drawRoundedRect(QRectF(x - 3, y - 3, tamcelda + 6, tamcelda + 6), 9, 9);
        }
        if (i != jugador && m.eshumano(i) && !nombres[std::size_t(i)].isEmpty()) {
            // Above the life bar, in the team's colour on a dark band.
            p.setFont(fuente(10, true));
            const QFontMetrics fm(p.font());
            const QString& n = nombres[std::size_t(i)];
            const double ancho = fm.horizontalAdvance(n) + 6;
            const QRectF caja(x + tamcelda / 2.0 - ancho / 2, y - 19, ancho, 14);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 150));
            p.drawRoundedRect(caja, 3, 3);
            p.setPen(colorequipo(u.equipo).lighter(150));
            p.drawText(caja, Qt::AlignCenter, n);
        }
        if (u.vida > 0 && u.vida < 100) {
            const QRectF fondo(x + 1, y - 4, tamcelda - 2, 4);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 200));
            p.drawRect(fondo);
            p.setBrush(colorequipo(u.equipo));
            p.drawRect(QRectF(fondo.x() + 0.5, fondo.y() + 0.5,
                              (fondo.width() - 1) * u.vida / 100.0, fondo.height() - 1));
        }
    }
    // The player's own marker last, over every other mark on the field: a
    // team-mate standing just above must not hide it.
    if (!valido(m, jugador) || m.unidades[std::size_t(jugador)].muerto == verdadero ||
        fuera(donde(jugador)))
        return;
    const double x = donde(jugador).x();
    const double y = donde(jugador).y();
    // Drawn once and kept: two thick antialiased rings cost the window's
    // thread a millisecond and more at some frames, sixty times a second.
    static const QImage marca = [] {
        QImage img(QSize(tamcelda + 12, 42) * 2, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter q(&img);
        q.setRenderHint(QPainter::Antialiasing, true);
        q.scale(2, 2);
        q.translate(6, 16); // the fighter's cell's corner
        dibujarmarca(q, 0, 0);
        return img;
    }();
    p.drawImage(QRectF(x - 6, y - 16, tamcelda + 12, 42), marca);
}

void capas::dibujarmarca(QPainter& p, double x, double y) {
    // A ring at the feet and an arrow over the head.
    const QRectF anillo(x - 3, y + 12, tamcelda + 6, 10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 200), 4));
    p.drawEllipse(anillo);
    p.setPen(QPen(colormarca, 2));
    p.drawEllipse(anillo);
    const double mx = x + tamcelda / 2.0;
    const QPolygonF punta({QPointF(mx - 5, y - 13), QPointF(mx + 5, y - 13), QPointF(mx, y - 6)});
    p.setPen(QPen(QColor(0, 0, 0), 1.5));
    p.setBrush(colormarca);
    p.drawPolygon(punta);
}

template <class M> void capas::dibujarmensajes(QPainter& p, const M& m) const {
    // The kill feed in the top right corner, newest first, each name in its
    // team's colour (lightened to read on the dark band).
    p.setFont(fuente(13, true));
    const QFontMetrics fm(p.font());
    const QString mato = QStringLiteral(" mató a ");
    // A match with a goal shows it at the top edge of the field: the feed
    // starts below it.
    const int arriba = m.meta.tipo != tipoobjetivo::ninguno ? 34 : 6;
    int k = 0;
    for (const baja& b : bajas_) {
        if (b.tick > m.numtick || m.numtick >= b.tick + duracionbaja)
            continue;
        const int a1 = fm.horizontalAdvance(b.quien);
        const int a2 = fm.horizontalAdvance(mato);
        const int a3 = fm.horizontalAdvance(b.victima);
        const QRectF caja(anchocampo - 6 - (a1 + a2 + a3 + 12), arriba + 20 * k, a1 + a2 + a3 + 12,
                          18);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 150));
        p.drawRoundedRect(caja, 4, 4);
        const double x = caja.x() + 6;
        const int alin = Qt::AlignLeft | Qt::AlignVCenter;
        textocontorno(p, QRectF(x, caja.y(), a1 + 1, 18), alin, b.quien,
                      colorequipo(b.equipoquien).lighter(150));
        textocontorno(p, QRectF(x + a1, caja.y(), a2 + 1, 18), alin, mato, QColor(235, 235, 235));
        textocontorno(p, QRectF(x + a1 + a2, caja.y(), a3 + 1, 18), alin, b.victima,
                      colorequipo(b.equipovictima).lighter(150));
        ++k;
    }

    for (const QString& t : mensajes(m)) {
        if (t.startsWith(QStringLiteral("PAUSA")))
            cartel(p, 70, 64, t, QColor(255, 255, 255), 46);
        else if (t.startsWith(QStringLiteral("Has muerto")))
            cartel(p, 200, 44, t, QColor(255, 120, 110), 26);
        else
            cartel(p, 150, 36, t, QColor(255, 214, 64), 20);
    }
}

// At most 130 pixels on the long side, at most four per cell.
QImage capas::fondominimapa(const cuadro& m, int ancho, int alto) const {
    if (!m.terreno || m.terreno != fondode_) {
        fondo_ = miniatura(
            ancho, alto, [&m](int c, int r) { return m.terrenode(c, r); }, 130);
        fondode_ = m.terreno;
    }
    return fondo_;
}

QImage capas::fondominimapa(const mundo& m, int ancho, int alto) const {
    return miniatura(
        ancho, alto, [&m](int c, int r) { return terrenode(m, c, r); }, 130);
}

template <class M> QRectF capas::sitiominimapa(const M& m) const {
    const int ancho = m.anchomapa + 1;
    const int alto = m.altomapa + 1;
    if (!minimapa || ancho <= 0 || alto <= 0 || ancho > ladomapa || alto > ladomapa)
        return {};
    // At most 130 pixels on the long side, four a cell, in the corner.
    const QSize t = tamanominiatura(ancho, alto, 130);
    return QRectF(anchocampo - t.width() - 8, altocampo - t.height() - 8, t.width(), t.height());
}

template <class M>
void capas::dibujarminimapa(QPainter& p, const M& m, int16_t vx, int16_t vy) const {
    const QRectF sitio = sitiominimapa(m);
    if (sitio.isEmpty())
        return;
    const int ancho = m.anchomapa + 1;
    const QImage fondo = fondominimapa(m, ancho, m.altomapa + 1);
    const double escala = sitio.width() / ancho;
    const QPointF origen = sitio.topLeft();
    const unidad& j = m.unidades[std::size_t(std::clamp<int>(jugador, 0, numunidades - 1))];
    p.save();
    // Over the player's own fighter (a start in the map's far corner, where
    // the view can go no further) it turns faint, so the fighter and the
    // fight around it stay in sight.
    const QRectF luchador((j.x - vx - 1) * tamcelda, (j.y - vy - 1) * tamcelda, 3 * tamcelda,
                          3 * tamcelda);
    if (j.muerto != verdadero && sitio.intersects(luchador))
        p.setOpacity(0.3);
    // Straight edges and squares are filled, not stroked: an antialiased
    // stroke of even a square's outline costs the window's thread a
    // millisecond and more at some frames, sixty times a second.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(sitio.adjusted(-3, -3, 3, 3), QColor(0, 0, 0, 220));
    p.drawImage(origen, fondo);

    p.save();
    p.setClipRect(sitio);
    p.translate(origen);
    const double punto = std::max(3.0, escala);
    for (int16_t i = 0; valido(m, i); ++i) {
        const unidad& u = m.unidades[i];
        if (u.muerto == verdadero || i == jugador)
            continue; // the player's own is drawn last, on top
        const QRectF cuadrado((u.x + 0.5) * escala - punto / 2, (u.y + 0.5) * escala - punto / 2,
                              punto, punto);
        p.fillRect(cuadrado.adjusted(-0.5, -0.5, 0.5, 0.5), Qt::black);
        p.fillRect(cuadrado.adjusted(0.5, 0.5, -0.5, -0.5), colorequipo(u.equipo));
    }
    // The part of the map on screen: the view, or less of it zoomed in.
    const QRectF& r = mostrado_;
    const QRectF vista((vx + r.x() / tamcelda) * escala, (vy + r.y() / tamcelda) * escala,
                       r.width() / tamcelda * escala, r.height() / tamcelda * escala);
    const double g = 1.5;
    p.fillRect(QRectF(vista.left(), vista.top(), vista.width(), g), colormarca);
    p.fillRect(QRectF(vista.left(), vista.bottom() - g, vista.width(), g), colormarca);
    p.fillRect(QRectF(vista.left(), vista.top(), g, vista.height()), colormarca);
    p.fillRect(QRectF(vista.right() - g, vista.top(), g, vista.height()), colormarca);
    if (j.muerto != verdadero) {
        const QPointF c((j.x + 0.5) * escala, (j.y + 0.5) * escala);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(c, punto * 0.8, punto * 0.8);
    }
    p.restore();
    p.restore();
}

template <class M>
void capas::dibujarflecha(QPainter& p, const M& m, int16_t vx, int16_t vy, const QRectF& r) const {
    const int16_t e = enemigocercano(m, jugador, vx, vy, r);
    if (e < 0)
        return;
    const unidad& u = m.unidades[std::size_t(e)];
    const double cx = anchocampo / 2.0;
    const double cy = altocampo / 2.0;
    // From the middle of the field as shown (zoomed or not) to the enemy.
    const double dx = ((u.x - vx + 0.5) * tamcelda - r.x()) * anchocampo / r.width() - cx;
    const double dy = ((u.y - vy + 0.5) * tamcelda - r.y()) * altocampo / r.height() - cy;
    // Where the line from the middle to the enemy meets the field's edge,
    // a little inside it.
    const double margen = 24;
    double t = 1e9;
    if (dx != 0)
        t = std::min(t, (cx - margen) / std::abs(dx));
    if (dy != 0)
        t = std::min(t, (cy - margen) / std::abs(dy));
    // Never over the minimap: where the line would end on it, the pointer
    // stops short of it, still on the line.
    const QRectF mini = sitiominimapa(m).adjusted(-margen, -margen, margen, margen);
    if (!mini.isEmpty() && mini.contains(QPointF(cx + dx * t, cy + dy * t))) {
        double entra = 0;
        if (dx > 0)
            entra = std::max(entra, (mini.left() - cx) / dx);
        if (dx < 0)
            entra = std::max(entra, (mini.right() - cx) / dx);
        if (dy > 0)
            entra = std::max(entra, (mini.top() - cy) / dy);
        if (dy < 0)
            entra = std::max(entra, (mini.bottom() - cy) / dy);
        t = std::min(t, entra);
    }
    const QPointF punta(cx + dx * t, cy + dy * t);
    const double angulo = std::atan2(dy, dx) * 180.0 / std::numbers::pi;

    p.save();
    p.translate(punta);
    p.rotate(angulo);
    const QPolygonF flecha({QPointF(14, 0), QPointF(-8, -10), QPointF(-3, 0), QPointF(-8, 10)});
    p.setPen(QPen(QColor(255, 255, 255), 2));
    p.setBrush(colorequipo(u.equipo));
    p.drawPolygon(flecha);
    p.restore();

    const unidad& j = m.unidades[std::size_t(std::clamp<int>(jugador, 0, numunidades - 1))];
    const int distancia = std::max(std::abs(u.x - j.x), std::abs(u.y - j.y));
    p.setFont(fuente(11, true));
    const QPointF dentro(punta.x() - dx * 28 / std::hypot(dx, dy),
                         punta.y() - dy * 28 / std::hypot(dx, dy));
    textocontorno(p, QRectF(dentro.x() - 20, dentro.y() - 8, 40, 16), Qt::AlignCenter,
                  QString::number(distancia), QColor(255, 255, 255));
}

void capas::dibujartitulo(QPainter& p) {
    QLinearGradient cielo(0, 0, 0, altocampo);
    cielo.setColorAt(0, QColor(18, 28, 44));
    cielo.setColorAt(0.62, QColor(44, 58, 60));
    cielo.setColorAt(0.63, QColor(40, 70, 36));
    cielo.setColorAt(1, QColor(22, 44, 20));
    p.fillRect(QRect(0, 0, anchocampo, altocampo), cielo);

    // A hollow between two hills, and a keep standing in it.
    QPainterPath colinas;
    colinas.moveTo(0, 420);
    colinas.cubicTo(180, 300, 300, 330, 400, 400);
    colinas.cubicTo(500, 330, 640, 290, 800, 410);
    colinas.lineTo(800, 600);
    colinas.lineTo(0, 600);
    colinas.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 54, 30));
    p.drawPath(colinas);
    p.setBrush(QColor(70, 70, 78));
    p.drawRect(QRectF(372, 330, 56, 72));
    for (int k = 0; k < 4; ++k)
        p.drawRect(QRectF(372 + 16 * k, 320, 8, 12));
    p.setBrush(QColor(255, 210, 90));
    p.drawRect(QRectF(394, 350, 12, 16));

    p.setFont(fuente(76, true));
    textocontorno(p, QRectF(0, 110, anchocampo, 100), Qt::AlignCenter,
                  QStringLiteral("Tarnhollow"), QColor(240, 200, 80));
    p.setFont(fuente(22, false));
    textocontorno(p, QRectF(0, 470, anchocampo, 40), Qt::AlignCenter,
                  QStringLiteral("Archivo → Un Jugador"), QColor(240, 240, 240));
    p.setFont(fuente(14, false));
    textocontorno(p, QRectF(0, 505, anchocampo, 30), Qt::AlignCenter,
                  QStringLiteral("para empezar una partida"), QColor(200, 200, 200));
}

#define INSTANCIAR(M)                                                                             \
    template void capas::anotar<M>(const M&, const sucesos&);                                     \
    template QStringList capas::bajas<M>(const M&) const;                                         \
    template QStringList capas::mensajes<M>(const M&) const;                                      \
    template int16_t capas::enemigocercano<M>(const M&, int16_t, int16_t, int16_t,                \
                                              const QRectF&);                                     \
    template QRectF capas::recorte<M>(const M&, int16_t, int16_t, const entremedias*) const;      \
    template QRectF capas::sitiominimapa<M>(const M&) const;                                      \
    template void capas::componer<M>(QPainter&, const QRect&, const M&, const QImage&, int16_t,   \
                                     int16_t, const entremedias*) const;                          \
    template QImage capas::componer<M>(const M&, const QImage&, int16_t, int16_t) const;
INSTANCIAR(mundo)
INSTANCIAR(cuadro)
#undef INSTANCIAR

} // namespace juego
