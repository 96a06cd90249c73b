#include "dibujo.h"

#include <algorithm>
#include <cmath>

namespace dibujo {

namespace {

int modulo(int a, int m) {
    int r = a % m;
    return r < 0 ? r + m : r;
}

double suave(double t) {
    return t * t * (3 - 2 * t);
}

} // namespace

double ruido2(double x, double y, int celdax, int celday, int periodo, int semilla) {
    const int nx = std::max(1, periodo / celdax);
    const int ny = std::max(1, periodo / celday);
    const double fx = x / celdax;
    const double fy = y / celday;
    const int ix = int(std::floor(fx));
    const int iy = int(std::floor(fy));
    const double tx = suave(fx - ix);
    const double ty = suave(fy - iy);
    auto v = [&](int a, int b) { return azar(modulo(a, nx), modulo(b, ny), semilla); };
    const double arriba = v(ix, iy) * (1 - tx) + v(ix + 1, iy) * tx;
    const double abajo = v(ix, iy + 1) * (1 - tx) + v(ix + 1, iy + 1) * tx;
    return arriba * (1 - ty) + abajo * ty;
}

double ruido(double x, double y, int celda, int periodo, int semilla) {
    return ruido2(x, y, celda, celda, periodo, semilla);
}

QColor mezclar(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() * (1 - t) + b.redF() * t),
                            float(a.greenF() * (1 - t) + b.greenF() * t),
                            float(a.blueF() * (1 - t) + b.blueF() * t));
}

QColor aclarar(const QColor& c, double f) {
    return f >= 0 ? mezclar(c, Qt::white, f) : mezclar(c, Qt::black, -f);
}

QImage lienzo() {
    QImage l(20 * escala, 20 * escala, QImage::Format_ARGB32_Premultiplied);
    l.fill(Qt::transparent);
    return l;
}

QImage reducir(const QImage& grande) {
    const QImage g = grande.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage r(20, 20, QImage::Format_ARGB32);
    r.fill(Qt::transparent);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            double a = 0, rr = 0, gg = 0, bb = 0;
            for (int j = 0; j < escala; ++j) {
                const QRgb* fila = reinterpret_cast<const QRgb*>(g.constScanLine(y * escala + j));
                for (int i = 0; i < escala; ++i) {
                    QRgb p = fila[x * escala + i];
                    a += qAlpha(p);
                    rr += qRed(p);
                    gg += qGreen(p);
                    bb += qBlue(p);
                }
            }
            const double n = escala * escala;
            if (a / n < 127.5)
                continue;
            int cr = std::clamp(int(std::lround(rr * 255 / a)), 0, 255);
            int cg = std::clamp(int(std::lround(gg * 255 / a)), 0, 255);
            int cb = std::clamp(int(std::lround(bb * 255 / a)), 0, 255);
            if (cr >= 250 && cg >= 250 && cb >= 250)
                cr = cg = cb = 248; // pure white would let the ground show through
            r.setPixel(x, y, qRgba(cr, cg, cb, 255));
        }
    }
    return r;
}

QImage contornear(const QImage& sprite, const QColor& color) {
    QImage r = sprite;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            if (qAlpha(sprite.pixel(x, y)) == 255)
                continue;
            const bool toca = (x > 0 && qAlpha(sprite.pixel(x - 1, y)) == 255) ||
                              (x < 19 && qAlpha(sprite.pixel(x + 1, y)) == 255) ||
                              (y > 0 && qAlpha(sprite.pixel(x, y - 1)) == 255) ||
                              (y < 19 && qAlpha(sprite.pixel(x, y + 1)) == 255);
            if (toca)
                r.setPixel(x, y, color.rgb() | 0xFF000000U);
        }
    return r;
}

void ponersprite(QImage& hoja, const QImage& sprite, int x, int y, bool conmascara) {
    for (int j = 0; j < 20; ++j) {
        for (int i = 0; i < 20; ++i) {
            QRgb p = sprite.pixel(i, j);
            bool opaco = qAlpha(p) == 255;
            hoja.setPixel(x + i, y + j, opaco ? (p | 0xFF000000U) : 0xFFFFFFFFU);
            if (conmascara)
                hoja.setPixel(x + 20 + i, y + j, opaco ? 0xFF000000U : 0xFFFFFFFFU);
        }
    }
}

namespace {

// Combines a 20 x 20 block of `fuente` into `destino` pixel by pixel with
// `op` (source, destination); pixels outside `destino` are skipped.
template <typename Op>
void combinar(QImage& destino, int dx, int dy, const QImage& fuente, int sx, int sy, Op op) {
    for (int j = 0; j < 20; ++j)
        for (int i = 0; i < 20; ++i) {
            if (dx + i < 0 || dy + j < 0 || dx + i >= destino.width() ||
                dy + j >= destino.height())
                continue;
            const QRgb s = fuente.pixel(sx + i, sy + j);
            const QRgb d = destino.pixel(dx + i, dy + j);
            destino.setPixel(dx + i, dy + j, (op(s, d) & 0x00FFFFFFU) | 0xFF000000U);
        }
}

} // namespace

void mergepaint(QImage& destino, int dx, int dy, const QImage& fuente, int sx, int sy) {
    combinar(destino, dx, dy, fuente, sx, sy, [](QRgb s, QRgb d) { return ~s | d; });
}

void srcand(QImage& destino, int dx, int dy, const QImage& fuente, int sx, int sy) {
    combinar(destino, dx, dy, fuente, sx, sy, [](QRgb s, QRgb d) { return s & d; });
}

} // namespace dibujo
