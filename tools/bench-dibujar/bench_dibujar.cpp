// Time of one full redraw of the play field on the 200 x 200 sample map with
// sixteen fighters, some of them lying dead, and arrows in flight, in the CPU
// time of this thread.
#include "apoyo/medidas.h"
#include "apoyo/mundoprueba.h"
#include "Juego/qt/lienzo.h"

#include <cstdio>
#include <vector>

int main() {
    prueba::mundoprueba w;
    comun::lectura l = comun::leerarchivo(MAPAS_DIR "/bosque.mapa");
    if (!l) {
        std::printf("bench-dibujar: %s\n", l.error.c_str());
        return 0;
    }
    w.cargar(*l.mapa, 8, juego::arquero);
    // The scene is laid out in the bench's own world: the view over the
    // players' start, where the fighters stand, some fallen, arrows flying.
    w.m.seguir(0);
    for (int i = 1; i < 16; i += 4)
        w.m.unidades[i].muerto = juego::verdadero;
    const juego::unidad& j = w.m.unidades[0];
    for (int k = 0; k < 8; ++k)
        w.m.disparar(0, j.x, j.y, int16_t(j.x + k - 4), int16_t(j.y + 9));
    const juego::mundo& m = w.m;

    juego::lienzo lienzo;
    QImage cuadro = juego::lienzo::nuevaimagen();
    for (int i = 0; i < 20; ++i)
        lienzo.dibujar(m, m.vistas[0], cuadro); // warm-up

    std::vector<double> ms;
    for (int i = 0; i < 300; ++i) {
        const double antes = medidas::cpums();
        lienzo.dibujar(m, m.vistas[0], cuadro);
        ms.push_back(medidas::cpums() - antes);
    }
    const double mediana = medidas::mediana(ms);
    std::printf("dibujar, 200 x 200, 16 luchadores: mediana %.3f ms de CPU (%.1f%% de un tick "
                "de 125 ms)\n",
                mediana, 100 * mediana / 125);
    return 0;
}
