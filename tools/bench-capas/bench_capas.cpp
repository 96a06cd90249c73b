// Time of one frame as the player sees it, every overlay up (marker, life
// bars, kill feed, level-up message, pause, minimap, arrow to the enemy),
// at 1x, 2x and full HD, next to the plain frame's time; in the thread's CPU
// time, so other programs on the machine do not count. Then a frame of the
// motion between ticks, which the window draws at the display's rate, and
// what 60 of them a second cost of one core.
#include "apoyo/medidas.h"
#include "apoyo/mundoprueba.h"
#include "Juego/qt/capas.h"
#include "Juego/qt/lienzo.h"
#include "Juego/qt/suave.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medir(const char* nombre, int veces, const std::function<void()>& f, double base) {
    for (int i = 0; i < 10; ++i)
        f(); // warm-up
    std::vector<double> ms;
    for (int i = 0; i < veces; ++i) {
        const double t0 = medidas::cpums();
        f();
        ms.push_back(medidas::cpums() - t0);
    }
    std::sort(ms.begin(), ms.end());
    const double mediana = medidas::percentil(ms, 0.5);
    const double p99 = medidas::percentil(ms, 0.99);
    std::printf("%-36s mediana %7.3f ms  p99 %7.3f ms", nombre, mediana, p99);
    if (base > 0)
        std::printf("  (%.1fx el cuadro simple)", mediana / base);
    std::printf("\n");
    return mediana;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    prueba::mundoprueba w;
    comun::lectura l = comun::leerarchivo(MAPAS_DIR "/bosque.mapa");
    if (!l) {
        std::printf("bench-capas: %s\n", l.error.c_str());
        return 0;
    }
    w.cargar(*l.mapa, 8, juego::arquero);
    const juego::mundo& m = w.m;
    juego::capas c;
    // Wounded fighters around the player, four kills in the feed and the
    // player's level-up, then the pause: a scene laid out in the bench's
    // own world.
    for (int i = 1; i < 8; ++i)
        w.m.unidades[i].vida = int16_t(20 + 10 * i);
    w.m.unidades[0].muertes = 6;
    for (int16_t v = 8; v < 12; ++v) {
        w.m.herir(v, 1000, 0);
        c.anotar(m, w.m.recoger());
    }
    c.anotar(m, w.tecla(comun::vkp));
    if (c.mensajes(m).size() < 2 || c.bajas(m).size() < 4 ||
        juego::capas::enemigocercano(m, 0, m.vistas[0].x, m.vistas[0].y) < 0)
        std::printf("bench-capas: falta alguna capa en la escena\n");

    juego::lienzo lienzo;
    QImage cuadro = juego::lienzo::nuevaimagen();
    lienzo.dibujar(m, m.vistas[0], cuadro);

    std::printf("bosque.mapa, 8 contra 8, todas las capas, tiempo de CPU del hilo:\n");
    std::vector<double> base;
    const auto plano = [&] { lienzo.dibujar(m, m.vistas[0], cuadro); };
    {
        // The plain frame's median, the yardstick of the rest.
        std::vector<double> ms;
        for (int i = 0; i < 200; ++i) {
            const double t0 = medidas::cpums();
            plano();
            ms.push_back(medidas::cpums() - t0);
        }
        std::sort(ms.begin(), ms.end());
        base.push_back(ms[ms.size() / 2]);
    }
    medir("cuadro simple 800 x 600", 300, plano, 0);

    struct tamano {
        const char* nombre;
        QSize area;
        QRect destino;
    };
    const tamano tamanos[] = {
        {"con capas 1x (800 x 600)", {800, 600}, {0, 0, 800, 600}},
        {"con capas 2x (1600 x 1200)", {1600, 1200}, {0, 0, 1600, 1200}},
        {"con capas full HD (1920 x 1080)", {1920, 1080}, {240, 0, 1440, 1080}},
    };
    for (const tamano& t : tamanos) {
        QImage destino(t.area, QImage::Format_RGB32);
        medir(
            t.nombre, 200,
            [&] {
                QPainter p(&destino);
                if (t.destino != destino.rect())
                    p.fillRect(destino.rect(), Qt::black);
                c.componer(p, t.destino, m, cuadro, m.vistas[0].x, m.vistas[0].y);
            },
            base[0]);
    }

    // Half way between two ticks: every fighter one cell further on.
    juego::instante antes = juego::instante::de(m, m.vistas[0].x, m.vistas[0].y);
    for (auto& u : antes.unidades)
        u.x = int16_t(u.x - 1);
    const juego::instante ahora = juego::instante::de(m, m.vistas[0].x, m.vistas[0].y);
    juego::lienzosuave suave;
    QImage cuadrosuave = juego::lienzo::nuevaimagen();
    for (const tamano& t : tamanos) {
        QImage destino(t.area, QImage::Format_RGB32);
        char nombre[64];
        std::snprintf(nombre, sizeof nombre, "en movimiento %s", t.nombre + 10);
        const double ms = medir(
            nombre, 200,
            [&] {
                const juego::entremedias e = juego::interpolar(antes, ahora, 0.5);
                suave.dibujar(m, antes, ahora, e, 0.5, cuadrosuave);
                QPainter p(&destino);
                if (t.destino != destino.rect())
                    p.fillRect(destino.rect(), Qt::black);
                c.componer(p, t.destino, m, cuadrosuave, m.vistas[0].x, m.vistas[0].y, &e);
            },
            base[0]);
        std::printf("%-36s %.0f%% de un núcleo a 60 cuadros por segundo\n", "", ms * 60 / 10);
    }
    return 0;
}
