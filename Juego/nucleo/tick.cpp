#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/plataforma.h"

namespace juego {

sucesos mundo::timer_Timer(const entradatick& e) {
    if (jugando != verdadero || pausado == verdadero || fin == verdadero)
        return recoger();
    // A match left running for years stops counting rather than starting
    // over at tick 0.
    if (numtick < UINT32_MAX)
        ++numtick;
    mostrarestado();

    const int16_t enjuego = int16_t(2 * maxp);

    for (int16_t i = 0; i < enjuego; ++i) {
        unidad& u = unidades[i];
        if (u.espera != 0)
            --u.espera;
        if (u.proteccion > 0)
            --u.proteccion;
        if (u.cubierto > 0)
            --u.cubierto;
        if (u.muerto == verdadero) {
            if (u.revivir == 0)
                reaparecer(i);
            else
                --u.revivir;
        }
    }

    for (int16_t i = 0; i < enjuego; ++i) {
        if (unidades[i].espera != 0 || eshumano(i))
            continue;
        if (unidades[i].muerto != verdadero)
            decidirataque(i);
        // An attack drops the path, so a fighter that struck does not also step.
        if (unidades[i].siguiendo == verdadero && unidades[i].muerto != verdadero)
            caminar(i);
    }

    for (int16_t i = 0; i < enjuego; ++i) {
        const unidad& u = unidades[i];
        if (!eshumano(i) && u.siguiendo != verdadero && u.atacando != verdadero &&
            u.muerto != verdadero)
            perseguir(i);
        unidad& v = unidades[i];
        if (v.moviendo == verdadero && v.espera == 1) {
            v.moviendo = falso;
            v.pose = 3;
        }
    }

    // The people's turns, in slot order. A human slot that sent no keys this
    // tick holds none.
    for (int16_t h = 0; h < enjuego; ++h) {
        if (!eshumano(h))
            continue;
        teclasflechas t;
        for (const mando& m : e.mandos)
            if (m.slot == h)
                t = m.teclas;
        turnojugador(h, t);
    }

    moverflechas();
    pesartipos();
    ajustarvista();
    comprobarfin();
    plat.dibujar();
    return recoger();
}

void mundo::comprobarfin() {
    // The endless match has nothing to count.
    if (meta.tipo == tipoobjetivo::ninguno)
        return;
    const int32_t rojo = muertesequipo(0);
    const int32_t azul = muertesequipo(1);
    const bool termina = meta.tipo == tipoobjetivo::muertes
                             ? rojo >= meta.valor || azul >= meta.valor
                             : numtick >= uint32_t(meta.valor) * 8u;
    if (!termina)
        return;
    fin = verdadero;
    ganador = rojo > azul ? int16_t(0) : azul > rojo ? int16_t(1) : int16_t(-1);
    // No later tick will rewrite the status lines: they show the final
    // values, not those from before the deciding tick.
    mostrarestado();
    avisar(tiposuceso::fin, ganador, -1, 0, 0);
    // Heard by everyone as loud as can be, wherever they look.
    sonar("fin.wav", -1, -1);
}

namespace {

// Pairs are tested first and need both keys' states to share a bit, so
// opposite keys never cancel: left with right goes left. -1: no direction.
int16_t direcciondeteclas(const teclasflechas& t) {
    if ((t.arriba & t.izquierda) != 0)
        return 0;
    if ((t.abajo & t.izquierda) != 0)
        return 6;
    if ((t.arriba & t.derecha) != 0)
        return 2;
    if ((t.abajo & t.derecha) != 0)
        return 4;
    if (t.izquierda != 0)
        return 7;
    if (t.derecha != 0)
        return 3;
    if (t.arriba != 0)
        return 1;
    if (t.abajo != 0)
        return 5;
    return -1;
}

} // namespace

void mundo::turnojugador(int16_t h, const teclasflechas& t) {
    unidad& j = unidades[h];
    pendiente& q = pendientes[std::size_t(h)];
    if (j.muerto == verdadero) {
        q = {};
        return;
    }
    if (j.espera != 0) {
        // Under the balanced rules a step asked for while recovering waits
        // for the first tick the fighter can move.
        if (equilibradas())
            if (const int16_t d = direcciondeteclas(t); d >= 0)
                q = {tipopendiente::paso, d, 0};
        return;
    }
    if (hacerpendiente(h))
        return;
    j.sigx = j.x;
    j.sigy = j.y;
    j.moviendo = falso;
    int16_t dir = direcciondeteclas(t);
    bool teclas = (t.izquierda | t.derecha | t.abajo | t.arriba) != 0;
    // Keys held now win over a step queued earlier.
    if (q.tipo == tipopendiente::paso) {
        if (dir < 0) {
            dir = q.x;
            teclas = true;
        }
        q = {};
    }
    if (teclas)
        j.pose = (j.pose == 1) ? 0 : 1;

    if (dir >= 0) {
        j.sigx = int16_t(j.x + pasox[dir]);
        j.sigy = int16_t(j.y + pasoy[dir]);
        j.direccion = dir;
    }

    if (celdalibre(j.sigx, j.sigy)) {
        ponerocupante(j.x, j.y, -1);
        j.x = j.sigx;
        j.y = j.sigy;
        vistas[std::size_t(h)] = {int16_t(j.x - 20), int16_t(j.y - 15)};
        ponerocupante(j.x, j.y, h);
    }
}

bool mundo::hacerpendiente(int16_t h) {
    pendiente& q = pendientes[std::size_t(h)];
    const pendiente p = q;
    if (p.tipo != tipopendiente::golpe && p.tipo != tipopendiente::tiro)
        return false;
    q = {};
    if (p.tipo == tipopendiente::golpe)
        espacio(h);
    else
        clic(h, p.x, p.y);
    return unidades[h].espera != 0;
}

sucesos mundo::aplicar(const accion& a) {
    // A match that is over takes nothing more.
    if (fin == verdadero)
        return recoger();
    switch (a.tipo) {
    case tipoaccion::pausa:
        pausado = (pausado == verdadero) ? falso : verdadero;
        plat.ponertemporizador(pausado != verdadero);
        break;
    case tipoaccion::espacio:
        if (eshumano(a.slot))
            espacio(a.slot);
        break;
    case tipoaccion::click:
        if (eshumano(a.slot))
            clic(a.slot, a.x, a.y);
        break;
    case tipoaccion::relevo:
        relevar(a.slot, a.x != 0, a.x == 2);
        break;
    }
    return recoger();
}

void mundo::espacio(int16_t a) {
    const unidad& j = unidades[a];
    if (equilibradas() && j.muerto != verdadero && j.espera != 0 && j.tipo == guerrero)
        pendientes[std::size_t(a)] = {tipopendiente::golpe, 0, 0};
    if (j.muerto != verdadero && j.espera == 0 && j.tipo == guerrero) {
        const int16_t d = int16_t(j.direccion & 7);
        atacar(a, int16_t(j.x + pasox[d]), int16_t(j.y + pasoy[d]));
    }
}

} // namespace juego
