// genimagenes: draws every picture of Tarnhollow and its editor in code and
// writes them as PNG files into the folder given on the command line.
//
//   genimagenes CARPETA               the pictures
//   genimagenes --muestra ARCHIVO     an 800 x 600 preview of a play field,
//                                     drawn with the game's raster operations
//
// QtGui only (QImage, QPainter); no application object and no fonts. All
// randomness comes from a fixed-seed hash, so every run writes the same bytes.

#include "dibujo.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace dibujo;

namespace {

constexpr double pi = 3.14159265358979323846;

// ---------------------------------------------------------------- terrain

QColor colorpasto(int x, int y) {
    const double grande = ruido(x, y, 10, 20, 11) - 0.5;
    const double medio = ruido(x, y, 4, 20, 12) - 0.5;
    const double fino = azar(x, y, 13) - 0.5;
    QColor c(86, 142, 58);
    c = aclarar(c, grande * 0.10 + medio * 0.12 + fino * 0.10);
    const double brizna = azar(x, y, 14);
    if (brizna > 0.93)
        c = mezclar(c, QColor(140, 188, 86), 0.55);
    else if (brizna < 0.07)
        c = mezclar(c, QColor(52, 98, 40), 0.55);
    return c;
}

QImage pasto() {
    QImage t(20, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            t.setPixel(x, y, colorpasto(x, y).rgb());
    return t;
}

QImage madera() {
    QImage t(20, 20, QImage::Format_RGB32);
    // Four planks of five rows; the last row of each is the gap below it.
    // Each plank has one end joint, at staggered columns.
    const std::array<int, 4> junta = {3, 13, 8, 17};
    const std::array<double, 4> tono = {0.02, -0.05, 0.05, -0.02};
    for (int y = 0; y < 20; ++y) {
        const int tabla = y / 5;
        const int fila = y % 5;
        for (int x = 0; x < 20; ++x) {
            QColor c(164, 112, 62);
            const double veta = ruido2(x, y, 5, 1, 20, 21 + tabla) - 0.5;
            const double fino = azar(x, y, 22) - 0.5;
            c = aclarar(c, tono[tabla] + veta * 0.16 + fino * 0.05);
            if (fila == 0)
                c = aclarar(c, 0.10);
            if (fila == 3)
                c = aclarar(c, -0.08);
            if (fila == 4)
                c = QColor(96, 62, 32);
            if (fila != 4 && x == junta[tabla])
                c = QColor(110, 72, 38);
            if (fila != 4 && x == junta[tabla] + 1)
                c = aclarar(c, 0.08);
            // Nail heads beside the joint.
            if ((fila == 1 || fila == 3) && x == (junta[tabla] + 18) % 20)
                c = QColor(90, 80, 72);
            t.setPixel(x, y, c.rgb());
        }
    }
    return t;
}

QImage pared() {
    QImage t(20, 20, QImage::Format_RGB32);
    // Three courses of stones (7, 7 and 6 rows, the last row of each the
    // joint) with staggered vertical joints; everything repeats every 20.
    struct hilada {
        int desde, hasta;
        std::vector<int> juntas;
    };
    const std::array<hilada, 3> hiladas = {hilada{0, 6, {0, 11}}, hilada{7, 13, {5, 15}},
                                           hilada{14, 19, {2, 9, 16}}};
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            int h = 0;
            while (y > hiladas[h].hasta)
                ++h;
            const hilada& hl = hiladas[h];
            const bool juntah = y == hl.hasta;
            // Which stone: the last joint at or left of x.
            int piedra = int(hl.juntas.size()) - 1;
            int izquierda = hl.juntas.back() - 20;
            for (int j = 0; j < int(hl.juntas.size()); ++j)
                if (hl.juntas[j] <= x) {
                    piedra = j;
                    izquierda = hl.juntas[j];
                }
            int derecha = piedra + 1 < int(hl.juntas.size()) ? hl.juntas[piedra + 1]
                                                             : hl.juntas.front() + 20;
            const bool juntav = x == izquierda;
            QColor c;
            if (juntah || juntav) {
                c = QColor(92, 88, 82);
                c = aclarar(c, (azar(x, y, 31) - 0.5) * 0.08);
            } else {
                c = QColor(142, 140, 134);
                c = aclarar(c, (azar(h, piedra, 32) - 0.5) * 0.22);
                c = aclarar(c,
                            (ruido(x, y, 4, 20, 33) - 0.5) * 0.14 + (azar(x, y, 34) - 0.5) * 0.07);
                // Bevel: lit from the top left.
                if (y == hl.desde || x == izquierda + 1)
                    c = aclarar(c, 0.20);
                else if (y == hl.hasta - 1 || x == derecha - 1)
                    c = aclarar(c, -0.18);
            }
            t.setPixel(x, y, c.rgb());
        }
    }
    return t;
}

QImage agua() {
    QImage t(20, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const double u = 2 * pi * x / 20.0;
            const double v = 2 * pi * y / 20.0;
            const double ola = std::sin(u + 2 * v) * 0.5 + std::sin(2 * u - v + 1.3) * 0.35 +
                               std::sin(3 * v + u * 0 + 0.4) * 0.25;
            QColor c(44, 104, 170);
            c = aclarar(c, (ruido(x, y, 5, 20, 41) - 0.5) * 0.14 + (azar(x, y, 42) - 0.5) * 0.04);
            if (ola > 0.78)
                c = mezclar(c, QColor(120, 178, 228), 0.55);
            else if (ola > 0.62)
                c = mezclar(c, QColor(90, 150, 210), 0.35);
            else if (ola < -0.85)
                c = aclarar(c, -0.10);
            t.setPixel(x, y, c.rgb());
        }
    }
    return t;
}

QImage arbol() {
    QImage t(20, 20, QImage::Format_RGB32);
    const double cx = 9.5, cy = 9.2;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const double dx = x - cx, dy = y - cy;
            const double ang = std::atan2(dy, dx);
            const double radio =
                7.9 + 0.7 * std::sin(7 * ang + 0.5) + 0.35 * std::sin(11 * ang + 2.0);
            const double d = std::hypot(dx, dy);
            // Shadow on the grass, towards the bottom right.
            const double ds = std::hypot(dx - 1.4, dy - 1.6);
            QColor c = colorpasto(x, y);
            if (ds < radio + 0.6)
                c = aclarar(c, -0.30);
            if (d < radio) {
                // Leaf clumps, lit from the top left.
                const double grumo = ruido(x, y, 3, 21, 51);
                double luz = -(dx + dy) / (2.0 * radio); // +0.7 top left .. -0.7 bottom right
                luz += (grumo - 0.5) * 0.7;
                luz += (azar(x, y, 52) - 0.5) * 0.25;
                luz -= std::max(0.0, d - radio + 1.5) * 0.25; // darker rim
                QColor hoja(48, 104, 40);
                if (luz > 0.25)
                    hoja = QColor(92, 150, 58);
                else if (luz > 0.02)
                    hoja = QColor(68, 126, 48);
                else if (luz < -0.35)
                    hoja = QColor(30, 72, 30);
                c = hoja;
            }
            t.setPixel(x, y, c.rgb());
        }
    }
    return t;
}

QImage piso() {
    QImage t(20, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const int bx = x / 10, by = y / 10;
            const int ix = x % 10, iy = y % 10;
            QColor c(200, 186, 156);
            c = aclarar(c, (azar(bx, by, 61) - 0.5) * 0.10 +
                               (ruido(x, y, 5, 20, 62) - 0.5) * 0.08 +
                               (azar(x, y, 63) - 0.5) * 0.05);
            if (ix == 9 || iy == 9)
                c = QColor(168, 152, 124);
            else if (ix == 0 || iy == 0)
                c = aclarar(c, 0.12);
            else if (ix == 8 || iy == 8)
                c = aclarar(c, -0.05);
            t.setPixel(x, y, c.rgb());
        }
    }
    return t;
}

// ---------------------------------------------------------------- figures

struct colores {
    QColor tunica, borde, claro;
};

const std::array<colores, 2> equipos = {
    colores{QColor(196, 40, 36), QColor(96, 14, 12), QColor(236, 96, 76)},
    colores{QColor(38, 86, 200), QColor(14, 32, 100), QColor(92, 140, 240)}};

const QColor piel(240, 196, 150);
const QColor pielborde(150, 96, 60);
const QColor cuero(96, 62, 34);
const QColor cueroborde(52, 32, 18);

QPen pluma(const QColor& c, double ancho) {
    return QPen(c, ancho, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void pie(QPainter& p, QPointF c) {
    p.setPen(pluma(cueroborde, 0.6));
    p.setBrush(cuero);
    p.drawEllipse(c, 1.4, 2.0);
}

void brazo(QPainter& p, const colores& e, QPointF hombro, QPointF mano) {
    p.setBrush(Qt::NoBrush);
    // Sleeves a shade darker than the tunic, so the arms read apart from it.
    p.setPen(pluma(e.borde, 2.8));
    p.drawLine(hombro, mano);
    p.setPen(pluma(e.tunica.darker(135), 1.7));
    p.drawLine(hombro, mano);
}

void mano(QPainter& p, QPointF c) {
    p.setPen(pluma(pielborde, 0.6));
    p.setBrush(piel);
    p.drawEllipse(c, 1.3, 1.3);
}

// The torso, `ancho` across the shoulders and `hondo` front to back.
void cuerpo(QPainter& p, const colores& e, double ancho, double hondo) {
    QRadialGradient g(QPointF(-1.5, -0.2), ancho + 1);
    g.setColorAt(0, e.claro);
    g.setColorAt(0.6, e.tunica);
    g.setColorAt(1, e.tunica.darker(120));
    p.setPen(pluma(e.borde, 1.0));
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0.8), ancho, hondo);
}

// The archer's hood: cloth of the team's colour drawn to a point at the
// back, the face showing in front.
void capucha(QPainter& p, const colores& e) {
    QPainterPath tela;
    tela.moveTo(0, -3.1);
    tela.cubicTo(QPointF(3.6, -3.1), QPointF(3.6, 2.0), QPointF(0, 4.6));
    tela.cubicTo(QPointF(-3.6, 2.0), QPointF(-3.6, -3.1), QPointF(0, -3.1));
    p.setPen(pluma(e.borde, 0.8));
    p.setBrush(e.tunica.darker(125));
    p.drawPath(tela);
    p.setPen(pluma(pielborde, 0.5));
    p.setBrush(piel);
    p.drawEllipse(QPointF(0, -1.4), 1.9, 1.5);
}

// The archer's cape: it falls from the shoulders and flares out behind, so
// an archer is long and pointed from any side where a warrior is broad.
void capa(QPainter& p, const colores& e, double vuelo) {
    QPainterPath tela;
    tela.moveTo(-5.0, 0.0);
    tela.cubicTo(QPointF(-6.4, 3.0), QPointF(-6.6 - vuelo, 6.0), QPointF(-4.2 - vuelo, 7.6));
    tela.quadTo(QPointF(0, 9.6), QPointF(4.2 + vuelo, 7.6));
    tela.cubicTo(QPointF(6.6 + vuelo, 6.0), QPointF(6.4, 3.0), QPointF(5.0, 0.0));
    tela.closeSubpath();
    QLinearGradient g(0, 0, 0, 9);
    g.setColorAt(0, e.tunica.darker(115));
    g.setColorAt(1, e.tunica.darker(170));
    p.setPen(pluma(e.borde.darker(120), 0.9));
    p.setBrush(g);
    p.drawPath(tela);
    // A fold down the middle.
    p.setPen(pluma(e.borde, 0.5));
    p.drawLine(QPointF(0, 2.5), QPointF(0, 8.4));
}

// The warrior's helmet: round steel with a ridge from brow to nape.
void casco(QPainter& p) {
    QRadialGradient g(QPointF(-1.0, -1.0), 3.6);
    g.setColorAt(0, QColor(226, 230, 238));
    g.setColorAt(0.6, QColor(150, 156, 170));
    g.setColorAt(1, QColor(96, 100, 114));
    p.setPen(pluma(QColor(40, 42, 50), 0.8));
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0.3), 3.5, 3.5);
    p.setPen(pluma(QColor(50, 40, 36), 1.1));
    p.drawLine(QPointF(0, -3.2), QPointF(0, 3.7));
}

// Steel shoulder plates that make the warrior broad.
void hombreras(QPainter& p) {
    for (double lado : {-1.0, 1.0}) {
        const QPointF c(lado * 6.3, 0.6);
        QRadialGradient g(c + QPointF(-0.5, -0.6), 2.4);
        g.setColorAt(0, QColor(214, 218, 228));
        g.setColorAt(1, QColor(110, 114, 128));
        p.setPen(pluma(QColor(40, 42, 50), 0.7));
        p.setBrush(g);
        p.drawEllipse(c, 1.8, 1.6);
    }
}

// A sword whose grip is at `base`, pointing along `dir` (unit), blade `largo`.
void espada(QPainter& p, QPointF base, QPointF dir, double largo) {
    const QPointF n(-dir.y(), dir.x());
    // Pommel and grip behind the hand.
    p.setPen(pluma(QColor(70, 48, 20), 1.1));
    p.drawLine(base - dir * 1.4, base + dir * 0.6);
    p.setPen(pluma(QColor(60, 44, 16), 0.5));
    p.setBrush(QColor(200, 160, 60));
    p.drawEllipse(base - dir * 1.6, 0.75, 0.75);
    // Blade.
    const QPointF raiz = base + dir * 1.0;
    const QPointF punta = base + dir * largo;
    const QPointF hombro = base + dir * (largo - 1.4);
    QPolygonF hoja;
    hoja << raiz + n * 0.9 << hombro + n * 0.85 << punta << hombro - n * 0.85 << raiz - n * 0.9;
    p.setPen(pluma(QColor(70, 76, 92), 0.5));
    p.setBrush(QColor(196, 202, 214));
    p.drawPolygon(hoja);
    p.setPen(pluma(QColor(236, 240, 246), 0.45));
    p.drawLine(raiz + dir * 0.4, hombro);
    // Cross guard.
    p.setPen(pluma(QColor(80, 58, 20), 1.5));
    p.drawLine(raiz - n * 1.8, raiz + n * 1.8);
    p.setPen(pluma(QColor(206, 166, 70), 0.8));
    p.drawLine(raiz - n * 1.6, raiz + n * 1.6);
}

// A round shield of the team's colour with a steel rim and boss.
void escudo(QPainter& p, QPointF c, const colores& e) {
    const double r = 3.1;
    QRadialGradient g(c + QPointF(-0.8, -0.8), r + 0.6);
    g.setColorAt(0, e.claro);
    g.setColorAt(1, e.tunica.darker(110));
    p.setPen(pluma(QColor(36, 38, 46), 1.5));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(pluma(QColor(196, 200, 210), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r - 0.3, r - 0.3);
    p.setPen(pluma(QColor(60, 62, 72), 0.4));
    p.setBrush(QColor(220, 222, 230));
    p.drawEllipse(c, 1.0, 1.0);
}

// The bow across the front: tips at (+-ancho, ypuntas), grip at (0, yempunadura);
// the string runs from the tips to `cuerda` (straight when cuerda is on the
// line of the tips).
void arco(QPainter& p, double ancho, double ypuntas, double yempunadura, QPointF cuerda) {
    const QPointF izq(-ancho, ypuntas), der(ancho, ypuntas);
    QPainterPath curva;
    curva.moveTo(izq);
    curva.quadTo(QPointF(0, 2 * yempunadura - ypuntas), der);
    p.setBrush(Qt::NoBrush);
    p.setPen(pluma(QColor(214, 204, 170), 0.9));
    p.drawLine(izq, cuerda);
    p.drawLine(cuerda, der);
    p.setPen(pluma(QColor(40, 22, 8), 2.6));
    p.drawPath(curva);
    p.setPen(pluma(QColor(150, 94, 40), 1.3));
    p.drawPath(curva);
}

void flechaen(QPainter& p, QPointF cola, QPointF punta, double cabeza) {
    QPointF d = punta - cola;
    const double l = std::hypot(d.x(), d.y());
    d /= l;
    const QPointF n(-d.y(), d.x());
    p.setPen(pluma(QColor(70, 44, 20), 1.2));
    p.drawLine(cola, punta - d * cabeza * 0.8);
    QPolygonF c;
    c << punta << punta - d * cabeza + n * cabeza * 0.6 << punta - d * cabeza * 0.8
      << punta - d * cabeza - n * cabeza * 0.6;
    p.setPen(pluma(QColor(30, 30, 34), 0.4));
    p.setBrush(QColor(70, 72, 80));
    p.drawPolygon(c);
}

void carcaj(QPainter& p) {
    p.save();
    p.translate(3.0, 4.0);
    p.rotate(-35);
    p.setPen(pluma(cueroborde, 0.6));
    p.setBrush(QColor(132, 84, 40));
    p.drawRoundedRect(QRectF(-1.4, -3.0, 2.8, 6.0), 0.9, 0.9);
    // Fletchings sticking out at the upper end, light against the cape.
    p.setPen(pluma(QColor(120, 110, 90), 0.3));
    p.setBrush(QColor(238, 234, 220));
    p.drawEllipse(QPointF(-0.7, -3.4), 0.7, 1.0);
    p.drawEllipse(QPointF(0.7, -3.5), 0.7, 1.0);
    p.restore();
}

// A unit vector at `grados` clockwise from "up".
QPointF hacia(double grados) {
    const double a = grados * pi / 180;
    return QPointF(std::sin(a), -std::cos(a));
}

// One figure facing up, centred at (0, 0), one unit per output pixel.
// Everything stays within 10 units of the centre, so no facing is clipped.
void figura(QPainter& p, int tipo, int pose, const colores& e) {
    std::array<QPointF, 2> pies;
    if (pose == 0)
        pies = {QPointF(-2.6, -4.4), QPointF(2.6, 4.2)};
    else if (pose == 1)
        pies = {QPointF(-2.6, 4.2), QPointF(2.6, -4.4)};
    else
        pies = {QPointF(-2.7, -3.4), QPointF(2.7, 3.8)};
    pie(p, pies[0]);
    pie(p, pies[1]);

    const QPointF hombroi(-5.0, 0.4), hombrod(5.0, 0.4);

    if (tipo == 0) {
        // Arquero: hooded and caped, slim, the long bow across the front and
        // the quiver on the back.
        p.save();
        // The cape swings with the step.
        p.translate(pose == 0 ? 0.5 : pose == 1 ? -0.5 : 0.0, 0);
        capa(p, e, pose == 2 ? -0.4 : 0.0);
        p.restore();
        carcaj(p);
        cuerpo(p, e, 5.2, 3.1);
        capucha(p, e);
        if (pose == 2) {
            const QPointF nock(0, -1.4);
            brazo(p, e, hombroi, QPointF(-0.8, -7.2));
            brazo(p, e, hombrod, QPointF(1.2, -1.8));
            arco(p, 6.0, -4.8, -8.6, nock);
            flechaen(p, nock, QPointF(0, -9.6), 2.2);
            mano(p, QPointF(-0.3, -8.0));
            mano(p, QPointF(1.0, -1.6));
        } else {
            const QPointF derecha = pose == 0   ? QPointF(5.0, -2.4)
                                    : pose == 1 ? QPointF(5.0, 1.4)
                                                : QPointF(5.6, 2.6);
            const double vaiven = pose == 1 ? 0.4 : 0.0;
            brazo(p, e, hombroi, QPointF(-0.8, -7.2 + vaiven));
            brazo(p, e, hombrod, derecha);
            arco(p, 6.4, -4.2 + vaiven, -8.6 + vaiven, QPointF(0, -4.2 + vaiven));
            mano(p, QPointF(-0.3, -8.1 + vaiven));
            mano(p, derecha);
        }
    } else {
        // Guerrero: broad, helmeted, with steel on the shoulders, the sword
        // in the right hand and a big shield of the team's colour on the left.
        cuerpo(p, e, 6.9, 3.9);
        hombreras(p);
        casco(p);
        if (pose == 0 || pose == 1) {
            const QPointF md = pose == 0 ? QPointF(4.8, -2.8) : QPointF(4.9, -1.2);
            const QPointF mi = pose == 0 ? QPointF(-5.0, -1.0) : QPointF(-5.0, -2.6);
            brazo(p, e, hombrod, md);
            brazo(p, e, hombroi, mi);
            escudo(p, mi + QPointF(-0.2, -0.8), e);
            espada(p, md, hacia(pose == 0 ? -18.0 : -12.0), 6.8);
            mano(p, md);
        } else if (pose == 2) {
            // Stroke: the blade swung straight out in front, with a swish.
            const QPointF md(1.6, -4.4);
            const QPointF mi(-5.2, 1.0);
            p.setBrush(Qt::NoBrush);
            p.setPen(pluma(QColor(232, 236, 244), 1.2));
            p.drawArc(QRectF(-8.6, -8.6, 17.2, 17.2), 10 * 16, 62 * 16);
            brazo(p, e, hombrod, md);
            brazo(p, e, hombroi, mi);
            escudo(p, mi + QPointF(-0.4, -0.4), e);
            espada(p, md, hacia(-8.0), 5.6);
            mano(p, md);
        } else {
            // After the stroke: the blade carried through to the left.
            const QPointF md(-2.2, -4.4);
            const QPointF mi(-5.0, 2.0);
            brazo(p, e, hombrod, md);
            brazo(p, e, hombroi, mi);
            escudo(p, mi + QPointF(-0.4, 0.4), e);
            espada(p, md, hacia(-55.0), 5.6);
            mano(p, md);
        }
    }
}

// Clockwise angle of facing k from "up": 0 up-left, 1 up, ... 7 left.
double angulo(int k) {
    return (k - 1) * 45.0;
}

QImage spritefigura(int tipo, int pose, int k, const colores& e) {
    QImage l = lienzo();
    QPainter p(&l);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(10 * escala, 10 * escala);
    p.scale(escala, escala);
    p.rotate(angulo(k));
    figura(p, tipo, pose, e);
    p.end();
    // The outline tells the two kinds apart before their shapes do, on any
    // ground and in either team: dark around a warrior, pale straw around
    // an archer.
    return contornear(reducir(l), tipo == 0 ? QColor(238, 226, 160) : QColor(16, 14, 12));
}

QImage personajes(int equipo) {
    QImage h(160, 320, QImage::Format_RGB32);
    h.fill(Qt::white);
    for (int tipo = 0; tipo < 2; ++tipo)
        for (int k = 0; k < 8; ++k)
            for (int pose = 0; pose < 4; ++pose)
                ponersprite(h, spritefigura(tipo, pose, k, equipos[equipo]), 40 * pose,
                            160 * tipo + 20 * k, true);
    return h;
}

QImage sangre() {
    QImage l = lienzo();
    QPainter p(&l);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(escala, escala);
    const QPointF c(10, 10.5);
    QPolygonF mancha;
    const int puntas = 18;
    for (int i = 0; i < puntas; ++i) {
        const double a = 2 * pi * i / puntas;
        const double r = 4.4 + 2.8 * azar(i, 0, 71) + (i % 3 == 0 ? 1.4 : 0.0);
        mancha << c + QPointF(std::cos(a) * r, std::sin(a) * r * 0.9);
    }
    p.setPen(pluma(QColor(74, 4, 6), 0.8));
    p.setBrush(QColor(120, 10, 12));
    p.drawPolygon(mancha);
    // Droplets around it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(104, 8, 10));
    const std::array<QPointF, 5> gotas = {QPointF(3.0, 5.0), QPointF(16.8, 4.2),
                                          QPointF(17.0, 15.6), QPointF(4.2, 16.4),
                                          QPointF(10.5, 2.2)};
    const std::array<double, 5> radios = {1.2, 0.9, 1.3, 0.8, 0.75};
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(gotas[i], radios[i], radios[i]);
    // Wet shine.
    p.setBrush(QColor(168, 30, 30));
    p.drawEllipse(QPointF(8.6, 9.0), 1.6, 1.1);
    p.end();
    QImage s(40, 20, QImage::Format_RGB32);
    ponersprite(s, reducir(l), 0, 0, true);
    return s;
}

QImage flech() {
    QImage h(20, 160, QImage::Format_RGB32);
    h.fill(Qt::white);
    for (int k = 0; k < 8; ++k) {
        QImage l = lienzo();
        QPainter p(&l);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.translate(10 * escala, 10 * escala);
        p.scale(escala, escala);
        p.rotate(angulo(k));
        // Fletching: two vanes at the tail.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(128, 24, 20));
        for (int lado : {-1, 1}) {
            QPolygonF vano;
            vano << QPointF(0, 3.2) << QPointF(lado * 2.3, 5.4) << QPointF(lado * 2.3, 8.6)
                 << QPointF(0, 6.4);
            p.drawPolygon(vano);
        }
        flechaen(p, QPointF(0, 8.4), QPointF(0, -9.2), 4.2);
        p.end();
        ponersprite(h, reducir(l), 0, 20 * k, false);
    }
    return h;
}

QImage equisgrande(int equipo) {
    QImage l = lienzo();
    QPainter p(&l);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(escala, escala);
    const QColor c = equipo == 0 ? QColor(214, 32, 32) : QColor(32, 84, 222);
    const QColor b = equipo == 0 ? QColor(110, 8, 8) : QColor(10, 30, 110);
    for (auto [ancho, color] : {std::pair{5.2, b}, std::pair{3.2, c}}) {
        p.setPen(QPen(color, ancho, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(QPointF(4.5, 4.5), QPointF(15.5, 15.5));
        p.drawLine(QPointF(15.5, 4.5), QPointF(4.5, 15.5));
    }
    p.end();
    return reducir(l);
}

QImage equis(int equipo) {
    QImage s(40, 20, QImage::Format_RGB32);
    ponersprite(s, equisgrande(equipo), 0, 0, true);
    return s;
}

QImage px(int equipo) {
    QImage s(20, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool borde = x == 0 || y == 0 || x == 19 || y == 19;
            s.setPixel(x, y, borde ? qRgb(150, 146, 136) : qRgb(236, 232, 220));
        }
    QPainter p(&s);
    p.drawImage(0, 0, equisgrande(equipo));
    return s;
}

// ---------------------------------------------------------------- icons

QImage iconojuego() {
    QImage i(64, 64, QImage::Format_ARGB32_Premultiplied);
    i.fill(Qt::transparent);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient fondo(0, 0, 0, 64);
    fondo.setColorAt(0, QColor(72, 120, 60));
    fondo.setColorAt(1, QColor(34, 70, 34));
    p.setPen(QPen(QColor(24, 40, 22), 2));
    p.setBrush(fondo);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    // Bow from bottom left to top right, string and arrow across.
    p.save();
    p.translate(32, 32);
    p.rotate(-45);
    QPainterPath curva;
    curva.moveTo(-22, 6);
    curva.quadTo(0, -20, 22, 6);
    p.setPen(QPen(QColor(236, 228, 200), 1.6));
    p.drawLine(QPointF(-22, 6), QPointF(22, 6));
    p.setPen(QPen(QColor(56, 32, 12), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curva);
    p.setPen(QPen(QColor(170, 110, 52), 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curva);
    p.restore();

    // Sword from bottom right to top left.
    p.save();
    p.translate(32, 32);
    p.rotate(-45);
    QPolygonF hoja;
    hoja << QPointF(-3.2, 10) << QPointF(-3.2, -18) << QPointF(0, -25) << QPointF(3.2, -18)
         << QPointF(3.2, 10);
    p.setPen(QPen(QColor(60, 66, 80), 1.4));
    QLinearGradient acero(-3, 0, 3, 0);
    acero.setColorAt(0, QColor(236, 240, 246));
    acero.setColorAt(1, QColor(150, 156, 170));
    p.setBrush(acero);
    p.drawPolygon(hoja);
    p.setPen(QPen(QColor(80, 58, 20), 1.2));
    p.setBrush(QColor(214, 170, 64));
    p.drawRoundedRect(QRectF(-10, 9, 20, 4.5), 2, 2);
    p.setBrush(QColor(110, 70, 34));
    p.drawRect(QRectF(-2, 13.5, 4, 8));
    p.setBrush(QColor(214, 170, 64));
    p.drawEllipse(QPointF(0, 23.5), 3, 3);
    p.restore();
    p.end();
    return i;
}

QImage iconoeditor(const std::array<QImage, 6>& tiles) {
    QImage i(64, 64, QImage::Format_ARGB32_Premultiplied);
    i.fill(Qt::transparent);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(40, 40, 40));
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 6, 6);
    const std::array<int, 9> orden = {0, 4, 3, 0, 1, 3, 2, 5, 0};
    for (int f = 0; f < 3; ++f)
        for (int c = 0; c < 3; ++c)
            p.drawImage(2 + 20 * c, 2 + 20 * f, tiles[orden[3 * f + c]]);
    // Thin grid lines.
    p.setPen(QPen(QColor(20, 20, 20, 150), 1));
    for (int k = 1; k < 3; ++k) {
        p.drawLine(QPointF(2 + 20 * k - 0.5, 2), QPointF(2 + 20 * k - 0.5, 62));
        p.drawLine(QPointF(2, 2 + 20 * k - 0.5), QPointF(62, 2 + 20 * k - 0.5));
    }
    // Pencil from the bottom right towards the centre.
    p.translate(44, 44);
    p.rotate(45);
    p.setPen(QPen(QColor(60, 40, 10), 1.2));
    p.setBrush(QColor(244, 196, 48));
    p.drawRect(QRectF(-4.5, -14, 9, 26));
    p.setBrush(QColor(230, 130, 140));
    p.drawRoundedRect(QRectF(-4.5, 12, 9, 7), 2, 2);
    p.setBrush(QColor(180, 180, 186));
    p.drawRect(QRectF(-4.5, 10, 9, 3));
    QPolygonF punta;
    punta << QPointF(-4.5, -14) << QPointF(0, -24) << QPointF(4.5, -14);
    p.setBrush(QColor(232, 196, 150));
    p.drawPolygon(punta);
    QPolygonF mina;
    mina << QPointF(-1.6, -20.4) << QPointF(0, -24) << QPointF(1.6, -20.4);
    p.setBrush(QColor(40, 40, 44));
    p.drawPolygon(mina);
    p.end();
    return i;
}

// ---------------------------------------------------------------- preview

// An 800 x 600 play field drawn the way the game draws it: a small arena,
// and every figure in every facing and pose, blood and arrows.
QImage muestra(const std::array<QImage, 6>& tiles, const std::array<QImage, 2>& hojas,
               const QImage& mancha, const QImage& flechas) {
    constexpr int columnas = 40, filas = 30;
    std::vector<int> mapa(columnas * filas, 0);
    auto poner = [&](int x, int y, int t) {
        if (x >= 0 && y >= 0 && x < columnas && y < filas)
            mapa[y * columnas + x] = t;
    };
    // River down the left side, with a wooden bridge.
    for (int y = 0; y < filas; ++y) {
        const int x0 = 3 + int(std::lround(1.5 * std::sin(y * 0.35)));
        for (int x = x0; x < x0 + 3; ++x)
            poner(x, y, y == 7 || y == 8 ? 1 : 3);
    }
    // A stone house with a floor and a door.
    for (int y = 1; y <= 10; ++y)
        for (int x = 24; x <= 37; ++x)
            poner(x, y, (y == 1 || y == 10 || x == 24 || x == 37) ? 2 : 5);
    poner(30, 10, 5);
    poner(31, 10, 5);
    // A wooden deck.
    for (int y = 2; y <= 6; ++y)
        for (int x = 9; x <= 15; ++x)
            poner(x, y, 1);
    // Trees.
    for (int y = 0; y < filas; ++y)
        for (int x = 0; x < columnas; ++x) {
            const bool bosque =
                (x >= 16 && x <= 22 && y >= 0 && y <= 6) || (x >= 34 && y >= 12 && y <= 15);
            if (mapa[y * columnas + x] == 0 && bosque && azar(x, y, 81) < 0.6)
                poner(x, y, 4);
        }

    struct cosa {
        int x, y, tipo, equipo, pose, dir;
    };
    std::vector<cosa> figuras;
    // All facings and poses: 8 facings x 4 poses in each of four rows.
    for (int fila = 0; fila < 4; ++fila)
        for (int k = 0; k < 8; ++k)
            for (int pose = 0; pose < 4; ++pose)
                figuras.push_back({7 + k * 4 + pose, 17 + fila * 3, fila / 2, fila % 2, pose, k});
    // A few inside the house and on the deck.
    figuras.push_back({27, 4, 1, 0, 2, 3});
    figuras.push_back({29, 4, 1, 1, 3, 7});
    figuras.push_back({33, 7, 0, 1, 2, 6});
    figuras.push_back({11, 4, 0, 0, 0, 4});
    figuras.push_back({13, 3, 1, 1, 1, 5});

    QImage v(800, 600, QImage::Format_RGB32);
    std::vector<int> ocupante(columnas * filas, -1);
    for (int i = 0; i < int(figuras.size()); ++i)
        ocupante[figuras[i].y * columnas + figuras[i].x] = i;
    std::vector<std::array<int, 2>> muertos = {{20, 13}, {9, 12}, {26, 8}};
    for (auto [x, y] : muertos)
        ocupante[y * columnas + x] = -2;

    for (int r = 0; r < filas; ++r)
        for (int c = 0; c < columnas; ++c) {
            const int x = 20 * c, y = 20 * r;
            QPainter p(&v);
            p.drawImage(x, y, tiles[mapa[r * columnas + c]]);
            p.end();
            const int o = ocupante[r * columnas + c];
            if (o == -2) {
                mergepaint(v, x, y, mancha, 20, 0);
                srcand(v, x, y, mancha, 0, 0);
            } else if (o >= 0) {
                const cosa& f = figuras[o];
                const int sx = 40 * f.pose, sy = 160 * f.tipo + 20 * f.dir;
                mergepaint(v, x, y, hojas[f.equipo], sx + 20, sy);
                srcand(v, x, y, hojas[f.equipo], sx, sy);
            }
        }
    // Arrows in flight.
    for (int k = 0; k < 8; ++k) {
        const int x = 20 * (8 + 3 * k) + 7, y = 20 * 13 + (k % 2) * 6;
        mergepaint(v, x, y, flechas, 0, 20 * k);
        srcand(v, x, y, flechas, 0, 20 * k);
    }
    return v;
}

bool guardar(const QImage& i, const QString& carpeta, const char* nombre) {
    const QString ruta = carpeta + "/" + nombre;
    if (!i.save(ruta, "PNG")) {
        std::fprintf(stderr, "genimagenes: no se pudo escribir %s\n",
                     ruta.toLocal8Bit().constData());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool conmuestra = argc == 3 && std::string(argv[1]) == "--muestra";
    if (argc != 2 && !conmuestra) {
        std::fprintf(stderr, "uso: genimagenes CARPETA\n     genimagenes --muestra ARCHIVO.png\n");
        return 2;
    }

    const std::array<QImage, 6> tiles = {pasto(), madera(), pared(), agua(), arbol(), piso()};
    const std::array<QImage, 2> hojas = {personajes(0), personajes(1)};
    const QImage mancha = sangre();
    const QImage flechas = flech();

    if (conmuestra) {
        if (!muestra(tiles, hojas, mancha, flechas).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
            std::fprintf(stderr, "genimagenes: no se pudo escribir %s\n", argv[2]);
            return 1;
        }
        return 0;
    }

    const QString carpeta = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(carpeta)) {
        std::fprintf(stderr, "genimagenes: no se pudo crear la carpeta %s\n", argv[1]);
        return 1;
    }
    bool bien = true;
    for (int t = 0; t < 6; ++t) {
        const std::string nombre = "terreno" + std::to_string(t) + ".png";
        bien = guardar(tiles[t], carpeta, nombre.c_str()) && bien;
    }
    bien = guardar(hojas[0], carpeta, "personajes0.png") && bien;
    bien = guardar(hojas[1], carpeta, "personajes1.png") && bien;
    bien = guardar(mancha, carpeta, "sangre.png") && bien;
    bien = guardar(flechas, carpeta, "flech.png") && bien;
    bien = guardar(equis(0), carpeta, "equis0.png") && bien;
    bien = guardar(equis(1), carpeta, "equis1.png") && bien;
    bien = guardar(px(0), carpeta, "px0.png") && bien;
    bien = guardar(px(1), carpeta, "px1.png") && bien;
    bien = guardar(iconojuego(), carpeta, "tarnhollow.png") && bien;
    bien = guardar(iconoeditor(tiles), carpeta, "editor.png") && bien;
    return bien ? 0 : 1;
}
