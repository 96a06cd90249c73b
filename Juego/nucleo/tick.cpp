#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/plataforma.h"

namespace juego {

namespace {

// Virtual-key codes, as the key-state query and the key-down handler use them.
constexpr int16_t vkespacio = 32;
constexpr int16_t vkizquierda = 37;
constexpr int16_t vkarriba = 38;
constexpr int16_t vkderecha = 39;
constexpr int16_t vkabajo = 40;
constexpr int16_t vkp = 80;
constexpr int16_t vks = 83;

} // namespace

void mundo::timer_Timer() {
    if (jugando != verdadero)
        return;
    mostrarestado();

    const uint16_t izquierda = plat.tecla(vkizquierda);
    const uint16_t derecha = plat.tecla(vkderecha);
    const uint16_t abajo = plat.tecla(vkabajo);
    const uint16_t arriba = plat.tecla(vkarriba);

    const int16_t enjuego = int16_t(2 * maxp);

    for (int16_t i = 0; i < enjuego; ++i) {
        unidad& u = unidades[i];
        if (u.espera != 0)
            --u.espera;
        if (u.muerto == verdadero) {
            if (u.revivir == 0)
                reaparecer(i);
            else
                --u.revivir;
        }
    }

    for (int16_t i = 0; i < enjuego; ++i) {
        if (unidades[i].espera != 0 || i == jugador)
            continue;
        if (unidades[i].muerto != verdadero)
            decidirataque(i);
        // An attack drops the path, so a fighter that struck does not also step.
        if (unidades[i].siguiendo == verdadero && unidades[i].muerto != verdadero)
            caminar(i);
    }

    for (int16_t i = 0; i < enjuego; ++i) {
        const unidad& u = unidades[i];
        if (i != jugador && u.siguiendo != verdadero && u.atacando != verdadero &&
            u.muerto != verdadero)
            perseguir(i);
        unidad& v = unidades[i];
        if (v.moviendo == verdadero && v.espera == 1) {
            v.moviendo = falso;
            v.pose = 3;
        }
    }

    unidad& j = unidades[jugador];
    if (j.espera == 0 && j.muerto != verdadero) {
        j.sigx = j.x;
        j.sigy = j.y;
        j.moviendo = falso;
        if ((izquierda | derecha | abajo | arriba) != 0)
            j.pose = (j.pose == 1) ? 0 : 1;

        // Pairs are tested first and need both keys' states to share a bit,
        // so opposite keys never cancel: left with right goes left.
        int16_t dir = -1;
        if ((arriba & izquierda) != 0)
            dir = 0;
        else if ((abajo & izquierda) != 0)
            dir = 6;
        else if ((arriba & derecha) != 0)
            dir = 2;
        else if ((abajo & derecha) != 0)
            dir = 4;
        else if (izquierda != 0)
            dir = 7;
        else if (derecha != 0)
            dir = 3;
        else if (arriba != 0)
            dir = 1;
        else if (abajo != 0)
            dir = 5;
        if (dir >= 0) {
            j.sigx = int16_t(j.x + pasox[dir]);
            j.sigy = int16_t(j.y + pasoy[dir]);
            j.direccion = dir;
        }

        if (celdalibre(j.sigx, j.sigy)) {
            mapa(j.x, j.y).ocupante = -1;
            j.x = j.sigx;
            j.y = j.sigy;
            vistax = int16_t(j.x - 20);
            vistay = int16_t(j.y - 15);
            mapa(j.x, j.y).ocupante = jugador;
        }
    }

    moverflechas();
    ajustarvista();
    plat.dibujar();
}

void mundo::Form_KeyDown(int16_t codigo) {
    if (codigo == vkp)
        plat.ponertemporizador(!plat.temporizador());
    if (codigo == vks)
        plat.ponersonido(plat.sonido() == 1 ? 0 : 1);
    if (codigo == vkespacio) {
        const unidad& j = unidades[jugador];
        if (j.muerto != verdadero && j.espera == 0 && j.tipo == guerrero) {
            const int16_t d = int16_t(j.direccion & 7);
            atacar(jugador, int16_t(j.x + pasox[d]), int16_t(j.y + pasoy[d]));
        }
    }
}

} // namespace juego
