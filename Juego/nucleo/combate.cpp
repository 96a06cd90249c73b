#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/plataforma.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace juego {

namespace {

constexpr int16_t velocidadflecha = 4;
constexpr int16_t retrasorevivir = 25;
constexpr int16_t premiocada = 7;

// Counters stop at the 16-bit maximum: after days of play a wrapped kill
// count would go negative and a wrapped attack would make a fighter harmless.
int16_t mas(int16_t v, int16_t n) {
    return int16_t(std::min(int(v) + n, int(INT16_MAX)));
}

// Halves go to the even number (10.5 gives 10, 11.5 gives 12).
int16_t redondear(double v) {
    return int16_t(std::nearbyint(v));
}

} // namespace

void mundo::atacar(int16_t a, int16_t tx, int16_t ty) {
    if (tx < 0 || ty < 0 || tx > anchomapa || ty > altomapa)
        return;
    unidad& s = unidades[a];
    if (s.espera > 0)
        return;
    s.espera = valor().esperaespada;
    // Striking gives up the safety after coming back.
    s.proteccion = 0;
    s.pose = 2;
    s.moviendo = verdadero;
    const int16_t v = mapa(tx, ty).ocupante;
    if (v < 0)
        return;
    if (unidades[v].equipo == s.equipo)
        return;
    if (unidades[v].muerto == verdadero)
        return;
    sonar("hit0.wav", tx, ty);
    herir(v, s.ataque, a);
}

void mundo::disparar(int16_t a, int16_t sx, int16_t sy, int16_t tx, int16_t ty) {
    unidad& s = unidades[a];
    s.espera = valor().esperaarco;
    s.proteccion = 0;

    int ranura = -1;
    for (int k = 0; k < numflechas; ++k) {
        if (flechas[k].activa != verdadero) {
            ranura = k;
            break;
        }
    }
    // Every slot is flying: the shot is lost. The wait above still holds, as
    // for any shot, but nothing is aimed, heard or marked.
    if (ranura < 0)
        return;

    flecha& f = flechas[ranura];
    f.x = sx;
    f.y = sy;
    f.destx = tx;
    f.desty = ty;
    f.velocidad = velocidadflecha;
    f.activa = verdadero;
    f.tirador = a;
    borrarflecha(int16_t(ranura));

    // A shot at its own cell keeps the old facings.
    const int16_t dir = comun::direccionhacia(tx - sx, ty - sy);
    if (dir >= 0) {
        f.direccion = dir;
        s.direccion = dir;
    }

    const int dx = std::abs(tx - sx);
    const int dy = std::abs(ty - sy);
    const double v = f.velocidad;
    if (dx == 0) {
        f.velx = 0;
        f.vely = v;
    } else if (dy == 0) {
        f.velx = v;
        f.vely = 0;
    } else if (dx >= dy) {
        f.velx = v;
        f.vely = v * dy / dx;
    } else {
        f.vely = v;
        f.velx = v * dx / dy;
    }
    if (tx < sx)
        f.velx = -f.velx;
    if (ty < sy)
        f.vely = -f.vely;

    sonar("Bowfire.wav", sx, sy);
    if (enrejilla(sx, sy))
        marcarflecha(int16_t(ranura), sx, sy);
}

void mundo::borrarflecha(int16_t k) {
    // Only marks on the map are cleared; one left outside it by a shot from
    // off the map stays, as it always has.
    marcas& m = marcas_[std::size_t(k)];
    for (int16_t i = 0; i < m.n; ++i) {
        const posicion p = m.celdas[std::size_t(i)];
        if (p.x <= anchomapa && p.y <= altomapa && mapa(p.x, p.y).proyectil == k)
            celdas_.ponerproyectil(p.x, p.y, -1);
    }
    m.n = 0;
}

void mundo::marcarflecha(int16_t k, int16_t x, int16_t y) {
    desmarcarflecha(x, y);
    celdas_.ponerproyectil(x, y, k);
    // Only an arrow of the table keeps its marks; a mark of any other number
    // is left to whoever made it.
    if (k < 0 || k >= numflechas)
        return;
    marcas& m = marcas_[std::size_t(k)];
    for (int16_t i = 0; i < m.n; ++i)
        if (m.celdas[std::size_t(i)] == posicion{x, y})
            return;
    // An arrow clears the cell it marked at its next step, so it holds no
    // more than its launch cell and the cell it is over. A remembered cell
    // that another arrow marked since is forgotten first; then the oldest,
    // which the arrow cleared when it stepped on.
    if (m.n == 2) {
        int16_t quedan = 0;
        for (int16_t i = 0; i < m.n; ++i) {
            const posicion p = m.celdas[std::size_t(i)];
            if (mapa(p.x, p.y).proyectil == k)
                m.celdas[std::size_t(quedan++)] = p;
        }
        m.n = quedan;
        if (m.n == 2) {
            m.celdas[0] = m.celdas[1];
            m.n = 1;
        }
    }
    m.celdas[std::size_t(m.n++)] = {x, y};
}

void mundo::desmarcarflecha(int16_t x, int16_t y) {
    const int16_t k = mapa(x, y).proyectil;
    if (k >= 0 && k < numflechas) {
        marcas& m = marcas_[std::size_t(k)];
        for (int16_t i = 0; i < m.n; ++i) {
            if (m.celdas[std::size_t(i)] == posicion{x, y}) {
                m.celdas[std::size_t(i)] = m.celdas[std::size_t(m.n - 1)];
                --m.n;
                break;
            }
        }
    }
    celdas_.ponerproyectil(x, y, -1);
}

void mundo::moverflechas() {
    for (int16_t s = 0; s < numflechas; ++s) {
        flecha& f = flechas[s];
        if (f.activa != verdadero)
            continue;
        for (int paso = 0; paso < f.velocidad; ++paso) {
            int16_t cx = redondear(f.x);
            int16_t cy = redondear(f.y);
            if (enrejilla(cx, cy))
                desmarcarflecha(cx, cy);

            f.x += f.velx / f.velocidad;
            f.y += f.vely / f.velocidad;
            if (f.x < 0 || f.x > anchomapa || f.y < 0 || f.y > altomapa) {
                f.activa = falso;
                break;
            }

            cx = redondear(f.x);
            cy = redondear(f.y);
            marcarflecha(s, cx, cy);
            const celda& c = mapa(cx, cy);
            if (c.ocupante == -1)
                continue;

            // An arrow shot in an earlier match may name a slot that is not in
            // play any more: its team means nothing now, so it hurts nobody.
            const int16_t t = f.tirador;
            if (t < 0 || t >= 2 * maxp)
                continue;
            const int16_t v = c.ocupante;
            if (unidades[v].equipo != unidades[t].equipo && unidades[v].muerto != verdadero) {
                sonar("Bowhit.wav", cx, cy);
                herir(v, unidades[t].ataque, t);
                f.activa = falso;
                break;
            }
        }
    }
}

void mundo::herir(int16_t v, int16_t atk, int16_t k) {
    unidad& u = unidades[v];
    if (u.proteccion > 0)
        return;
    int d = atk - u.armadura;
    if (equilibradas()) {
        const valores& w = valor();
        d = d * w.danio[unidades[k].tipo & 1][u.tipo & 1] / 100;
        d = d * pesodetipo(unidades[k].tipo) / 100;
        // The difficulty of the other team's computer fighters.
        if (!eshumano(k))
            d = d * ajustedeequipo(unidades[k].equipo).fuerza / 100;
        if (!eshumano(v))
            d = d * ajustedeequipo(u.equipo).aguante / 100;
        if (unidades[k].tipo == arquero && u.tipo == guerrero) {
            if (u.cubierto > 0)
                d = d * w.escudo / 100;
            u.cubierto = w.cubierto;
        }
    }
    if (d <= 0)
        d = 1;
    u.vida = int16_t(u.vida - d);
    // Under the classic rules every hit stops the fighter to plan anew
    // towards whoever hit it, so a sword fighter under the arrows of a few
    // archers hardly moves. The balanced rules let it walk on.
    if (!equilibradas()) {
        u.siguiendo = falso;
        u.destx = unidades[k].x;
        u.desty = unidades[k].y;
    }
    if (u.vida > 0)
        return;

    u.vida = 0;
    u.muerto = verdadero;
    u.revivir = retrasorevivir;
    u.atacando = falso;
    u.siguiendo = falso;
    u.destx = u.x;
    u.desty = u.y;
    const int16_t antes = unidades[k].muertes;
    unidades[k].muertes = mas(antes, 1);
    u.bajas = mas(u.bajas, 1);
    sonar("dead.wav", u.x, u.y);
    avisar(tiposuceso::muerte, v, -1, u.x, u.y);
    avisar(tiposuceso::baja, k, v, u.x, u.y);
    // A count stuck at its maximum earns nothing more.
    if (unidades[k].muertes != antes)
        subirnivel(k);
}

std::optional<mundo::atraso> mundo::atrasoarqueros() const {
    // Only the computer's fighters are weighed against each other: a
    // person's kills say how well that person plays, not the type.
    std::array<int64_t, 2> bajas{};
    std::array<int64_t, 2> cuantos{};
    for (int16_t i = 0; i < 2 * maxp; ++i) {
        if (eshumano(i))
            continue;
        const unidad& u = unidades[std::size_t(i)];
        bajas[std::size_t(u.tipo & 1)] += u.muertes;
        ++cuantos[std::size_t(u.tipo & 1)];
    }
    if (cuantos[arquero] == 0 || cuantos[guerrero] == 0)
        return std::nullopt;
    // In whole numbers, so every machine agrees.
    return atraso{int32_t(100 *
                          (bajas[guerrero] * cuantos[arquero] - bajas[arquero] * cuantos[guerrero]) /
                          (cuantos[arquero] * cuantos[guerrero])),
                  int16_t(std::min(cuantos[arquero], cuantos[guerrero]))};
}

int16_t mundo::pesodetipo(int16_t tipo) const {
    const valores& w = valor();
    if (w.ganancia <= 0)
        return 100;
    const std::optional<atraso> a = atrasoarqueros();
    if (!a)
        return 100;
    // What the archers gain, in hundredths; the sword fighters lose as much
    // in proportion, so the two weights stay each other's inverse.
    const int64_t ganancia = int64_t(w.ganancia) * (100 + w.crecida * (a->luchadores - 1)) / 100;
    const int64_t mas = ganancia * a->bajas / 100 + balanza / w.memoria;
    const int64_t arqueros = std::clamp<int64_t>(100 + mas, w.pesominimo, w.pesomaximo);
    const int64_t peso = tipo == arquero ? arqueros : 10000 / arqueros;
    return int16_t(std::clamp<int64_t>(peso, w.pesominimo, w.pesomaximo));
}

void mundo::pesartipos() {
    const valores& w = valor();
    if (w.ganancia <= 0)
        return;
    const std::optional<atraso> a = atrasoarqueros();
    if (!a)
        return;
    // Beyond what takes the weight to its bounds the sum would only make
    // the weighing slow to turn.
    const int64_t tope = int64_t(w.memoria) * std::max(w.pesomaximo - 100, 100 - w.pesominimo);
    balanza = int32_t(std::clamp<int64_t>(int64_t(balanza) + a->bajas, -tope, tope));
}

void mundo::subirnivel(int16_t k) {
    unidad& u = unidades[k];
    if (u.muertes % premiocada != 0)
        return;
    if (u.tipo == arquero) {
        u.ataque = mas(u.ataque, 3);
        u.armadura = mas(u.armadura, 1);
    } else {
        u.ataque = mas(u.ataque, 2);
        u.armadura = mas(u.armadura, 2);
    }
    avisar(tiposuceso::nivel, k, -1, u.x, u.y);
}

void mundo::reaparecer(int16_t i) {
    unidad& u = unidades[i];
    const int16_t sx = inicio[u.equipo & 1].x;
    const int16_t sy = inicio[u.equipo & 1].y;
    bool hay = false;
    int16_t nx = 0;
    int16_t ny = 0;
    // The last free cell wins: the lowest row, then the rightmost column.
    for (int16_t r = int16_t(sy - 1); r <= sy + 1; ++r) {
        for (int16_t c = int16_t(sx - 1); c <= sx + 1; ++c) {
            if (celdalibre(c, r)) {
                hay = true;
                nx = c;
                ny = r;
            }
        }
    }
    if (!hay)
        return;

    u.muerto = falso;
    u.vida = 100;
    u.cubierto = 0;
    if (equilibradas())
        u.proteccion = maxproteccion;
    if (enrejilla(u.x, u.y) && mapa(u.x, u.y).ocupante == i)
        ponerocupante(u.x, u.y, -1);
    u.x = u.sigx = u.destx = nx;
    u.y = u.sigy = u.desty = ny;
    ponerocupante(nx, ny, i);
    avisar(tiposuceso::reaparicion, i, -1, nx, ny);
    seguir(i);
}

void mundo::clic(int16_t a, int16_t cx, int16_t cy) {
    if (jugando != verdadero)
        return;
    unidad& j = unidades[a];
    if (j.muerto == verdadero)
        return;
    if (cx == j.x && cy == j.y)
        return;
    if (j.espera != 0) {
        if (equilibradas() && j.tipo == arquero)
            pendientes[std::size_t(a)] = {tipopendiente::tiro, cx, cy};
        return;
    }
    if (j.tipo == arquero) {
        disparar(a, j.x, j.y, cx, cy);
        j.espera = valor().esperaclic;
        j.pose = 2;
        j.moviendo = verdadero;
    }
    plat.dibujar();
}

} // namespace juego
