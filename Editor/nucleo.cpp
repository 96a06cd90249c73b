#include "Editor/nucleo.h"

#include "Comun/alcance.h"
#include "Comun/escritura.h"
#include "Comun/inicios.h"
#include "Comun/listamapas.h"
#include "Comun/terreno.h"
#include "Editor/plataforma.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>

#include <unistd.h>

#include <cerrno>

namespace editor {

namespace {

// Pixels to cells, rounding down also left of and above the view: `tam`
// pixels show `red` cells.
int acelda(int pixel, int tam, int red = 1) {
    const int v = pixel * red;
    return v >= 0 ? v / tam : -((-v + tam - 1) / tam);
}

int16_t transitabilidad(int16_t terreno) {
    return comun::transitable(terreno) ? verdadero : falso;
}

const std::string extension = ".mapa";
const std::string titulobase = "Tarnhollow Editor";

bool espacio(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::string nucleo::limpiarnombre(const std::string& texto) {
    std::size_t i = 0;
    std::size_t f = texto.size();
    while (i < f && espacio(texto[i]))
        ++i;
    while (f > i && espacio(texto[f - 1]))
        --f;
    std::string n = texto.substr(i, f - i);
    if (comun::esmapa(n)) {
        n.resize(n.size() - extension.size());
        while (!n.empty() && espacio(n.back()))
            n.pop_back();
    }
    return n;
}

std::string nucleo::nombreinvalido(const std::string& nombre) {
    if (nombre.empty())
        return "Escriba el nombre del mapa.";
    if (nombre.front() == '.')
        return "El nombre del mapa no puede empezar por \".\": sería un archivo oculto.";
    for (unsigned char c : nombre) {
        if (c < 0x20 || c == 0x7f)
            return "El nombre del mapa no puede contener caracteres de control.";
        if (std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos)
            return "El nombre del mapa no puede contener ninguno de estos caracteres: "
                   "/ \\ : * ? \" < > |";
    }
    // Most file systems take 255 bytes for a file name, extension included.
    if (nombre.size() + extension.size() > 255)
        return "El nombre del mapa es demasiado largo para el sistema de archivos.";
    return {};
}

nucleo::nucleo(plataforma& p, std::string carpeta, std::string carpetausuario,
               std::string carpetaejemplos)
    : plat(p), dir(std::move(carpeta)), dirusuario(std::move(carpetausuario)),
      direjemplos(std::move(carpetaejemplos)) {}

std::vector<std::string> nucleo::carpetas() const {
    if (dirusuario.empty())
        return {dir};
    return {dirusuario, dir};
}

std::string nucleo::informevista() const {
    return "( " + std::to_string(e.vistax) + " , " + std::to_string(e.vistay) + " )";
}

std::string nucleo::informepuntero() const {
    static const std::array<const char*, comun::numterrenos> nombres = {"Pasto", "Madera", "Pared",
                                                                        "Agua",  "Árbol",  "Piso"};
    std::string t;
    if (e.haypuntero) {
        const casilla& c = e.celda(e.puntero.x, e.puntero.y);
        t += "columna " + std::to_string(e.puntero.x) + ", fila " + std::to_string(e.puntero.y) +
             ": " + nombres[std::size_t(std::clamp<int>(c.terreno, 0, comun::numterrenos - 1))] +
             "    ";
    }
    t += "mapa " + std::to_string(e.anchomapa + 1) + " x " + std::to_string(e.altomapa + 1) +
         "    ";
    // What a click puts down: a terrain, with the brush's size in cells (not
    // to be read as its key), or a team's start, which takes one cell.
    const std::string ladopincel = std::to_string(e.tamanopincel);
    if (e.pincel >= 0 && e.pincel < comun::numterrenos)
        t += std::string(nombres[std::size_t(e.pincel)]) + " (pincel " + ladopincel + " x " +
             ladopincel + ")";
    else
        t += std::string("inicio ") + comun::nombreequipo(e.pincelinicio);
    if (e.pegando)
        t += "    pegar " + std::to_string(e.copia.ancho) + " x " + std::to_string(e.copia.alto) +
             " (clic: soltar, Esc: nada)";
    else if (e.herramientaseleccion)
        t += "    selección" + (e.hayseleccion ? " " + std::to_string(e.seleccion.ancho()) +
                                                     " x " + std::to_string(e.seleccion.alto())
                                               : std::string());
    else if (e.herramientalinea)
        t += e.lineacerrada ? "    línea cerrada" : "    línea";
    t += "    zoom " + informezoom();
    return t;
}

void nucleo::mostrarestado() {
    if (e.haymapa == verdadero)
        plat.ponerestado(textoestado + "    " + informepuntero());
    else
        plat.ponerestado(textoestado);
}

comun::posicion nucleo::espejar(int x, int y) const {
    int mx = x;
    int my = y;
    if (e.modoespejo != espejo::vertical)
        mx = e.anchomapa - x;
    if (e.modoespejo != espejo::horizontal)
        my = e.altomapa - y;
    return {int16_t(mx), int16_t(my)};
}

std::vector<comun::posicion> nucleo::celdaslinea(comun::posicion a, comun::posicion b,
                                                 bool cerrada) {
    // Bresenham: every step moves one cell along the longer side and, when
    // the error says so, one along the shorter.
    std::vector<comun::posicion> v;
    int x = a.x;
    int y = a.y;
    const int dx = std::abs(b.x - a.x);
    const int dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    while (true) {
        v.push_back({int16_t(x), int16_t(y)});
        if (x == b.x && y == b.y)
            break;
        const int e2 = 2 * err;
        const bool enx = e2 >= dy;
        const bool eny = e2 <= dx;
        if (enx) {
            err += dy;
            x += sx;
        }
        // A diagonal step becomes two along the sides, the column first.
        if (enx && eny && cerrada)
            v.push_back({int16_t(x), int16_t(y)});
        if (eny) {
            err += dx;
            y += sy;
        }
    }
    return v;
}

std::vector<char> nucleo::inalcanzables() const {
    if (e.haymapa != verdadero ||
        (e.inicio[0].colocado != verdadero && e.inicio[1].colocado != verdadero))
        return {};
    const comun::plano p = plano();
    std::vector<char> fuera(std::size_t(p.ancho()) * p.alto(), 0);
    for (int y = 0; y < p.alto(); ++y)
        for (int x = 0; x < p.ancho(); ++x)
            fuera[std::size_t(y) * p.ancho() + x] = comun::transitable(p.terreno(x, y));
    for (std::size_t k = 0; k < 2; ++k) {
        if (e.inicio[k].colocado != verdadero)
            continue;
        const std::vector<char> dentro = comun::alcance(p, {e.inicio[k].x, e.inicio[k].y});
        for (std::size_t i = 0; i < fuera.size(); ++i)
            if (dentro[i])
                fuera[i] = 0;
    }
    return fuera;
}

const nucleo::alcances& nucleo::zonas() const {
    if (versionzonas == e.version && e.haymapa == verdadero)
        return cachezonas;
    versionzonas = e.version;
    cachezonas = {};
    if (e.haymapa != verdadero ||
        (e.inicio[0].colocado != verdadero && e.inicio[1].colocado != verdadero))
        return cachezonas;
    const comun::plano p = plano();
    const int ancho = p.ancho();
    std::array<std::vector<char>, 2> dentro;
    for (std::size_t k = 0; k < 2; ++k)
        if (e.inicio[k].colocado == verdadero)
            dentro[k] = comun::alcance(p, {e.inicio[k].x, e.inicio[k].y});
    const bool ambos = !dentro[0].empty() && !dentro[1].empty();
    cachezonas.separados = ambos && !dentro[0][std::size_t(e.inicio[1].y) * ancho + e.inicio[1].x];
    std::vector<char>& c = cachezonas.celdas;
    c.assign(std::size_t(ancho) * p.alto(), nadie);
    for (std::size_t i = 0; i < c.size(); ++i) {
        const bool rojo = !dentro[0].empty() && dentro[0][i];
        const bool azul = !dentro[1].empty() && dentro[1][i];
        if (!comun::transitable(p.terrenos[i]))
            continue;
        if (!rojo && !azul)
            c[i] = aislada;
        else if (cachezonas.separados)
            c[i] = rojo ? equiporojo : equipoazul;
    }
    return cachezonas;
}

std::string nucleo::informezoom() const {
    // In tenths of a percent: 100 % is `tamcelda` pixels per cell.
    const int decimas = (2000 * e.tamano + tamcelda * e.reduccion) / (2 * tamcelda * e.reduccion);
    std::string t = std::to_string(decimas / 10);
    if (decimas % 10 != 0) {
        t += ',';
        t += char('0' + decimas % 10);
    }
    t += " %";
    return t;
}

void nucleo::ajustarventana() {
    if (e.haymapa != verdadero)
        return;
    zoomajustado();
    ajustarvista();
    textoestado = informevista();
    muestraguardado = false;
    mostrarestado();
    plat.dibujar();
}

void nucleo::empezarmapa() {
    // What was set for the last map is no help on this one: an asymmetric
    // map opened with mirror painting on would get mirrored strokes.
    e.simetrico = false;
    e.hayseleccion = false;
    e.seleccionando = false;
    e.pegando = false;
    zoomajustado();
    ajustarvista();
}

void nucleo::zoomajustado() {
    // The largest step that fits, else the smallest there is.
    nivelzoom z = niveles.front();
    for (const nivelzoom& n : niveles)
        if ((e.anchomapa + 1) * n.tamano <= e.anchovista * n.reduccion &&
            (e.altomapa + 1) * n.tamano <= e.altovista * n.reduccion)
            z = n;
    e.tamano = z.tamano;
    e.reduccion = z.reduccion;
    e.vistax = 0;
    e.vistay = 0;
}

std::optional<comun::posicion> nucleo::huecodiagonal(comun::posicion inicio) const {
    // What the team walks to along rows and columns only; a diagonal step
    // out of that, between two blocking cells, is a gap in what looks like
    // a closed wall. Two floods of the map: cheap enough for every save.
    const int ancho = e.anchomapa + 1;
    const int alto = e.altomapa + 1;
    auto libre = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < ancho && y < alto && e.celda(x, y).transitable == verdadero;
    };
    if (!libre(inicio.x, inicio.y))
        return std::nullopt;
    std::vector<char> visto(std::size_t(ancho) * std::size_t(alto), 0);
    std::vector<int> cola;
    cola.reserve(visto.size());
    cola.push_back(inicio.y * ancho + inicio.x);
    visto[std::size_t(cola.back())] = 1;
    for (std::size_t k = 0; k < cola.size(); ++k) {
        const int cx = cola[k] % ancho;
        const int cy = cola[k] / ancho;
        for (auto [vx, vy] : {std::pair{cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}}) {
            if (!libre(vx, vy) || visto[std::size_t(vy * ancho + vx)])
                continue;
            visto[std::size_t(vy * ancho + vx)] = 1;
            cola.push_back(vy * ancho + vx);
        }
    }
    // Any diagonal step from there to a cell not reached means both corner
    // cells block: were one passable, the cell would have been reached.
    for (int i : cola) {
        const int cx = i % ancho;
        const int cy = i / ancho;
        for (int dy = -1; dy <= 1; dy += 2)
            for (int dx = -1; dx <= 1; dx += 2)
                if (libre(cx + dx, cy + dy) && !visto[std::size_t((cy + dy) * ancho + cx + dx)])
                    return comun::posicion{int16_t(cx + dx), int16_t(cy + dy)};
    }
    return std::nullopt;
}

void nucleo::ponertinte(bool si) {
    if (e.haymapa != verdadero)
        return;
    e.vertinte = si;
    plat.dibujar();
}

void nucleo::revisar() {
    const bool limpia = e.haymapa != verdadero || (actual.vacio() && punto() == limpio);
    e.guardado = limpia ? verdadero : falso;
    // "GUARDADO" must not stay while the map differs from the saved file.
    if (!limpia && muestraguardado) {
        muestraguardado = false;
        textoestado = informevista();
        mostrarestado();
    }
    std::string t = titulobase;
    if (e.haymapa == verdadero)
        t += " — " + (e.nombre.empty() ? std::string("Sin nombre") : e.nombre) + "[*]";
    static const std::array<const char*, 3> modos = {"centro", "izquierda-derecha",
                                                     "arriba-abajo"};
    const char* modo = modos[std::size_t(e.modoespejo)];
    if (e.simetrico)
        t += std::string(" - simétrico (") + modo + ")";
    else if (e.modoespejo != espejo::centro)
        t += std::string(" - simetría desactivada (") + modo + ")";
    plat.ponertitulo(t, !limpia);
}

// Asks before unsaved changes are dropped; true when they may go, saved or
// not.
bool nucleo::descartar(const std::string& titulo) {
    if (e.haymapa != verdadero || e.guardado == verdadero)
        return true;
    switch (plat.decidir("El mapa tiene cambios sin guardar. ¿Desea guardarlos?", titulo)) {
    case decision::guardar:
        guardar_Click(plat.leernombre());
        return e.guardado == verdadero;
    case decision::descartar:
        return true;
    case decision::cancelar:
        break;
    }
    return false;
}

void nucleo::Form_Load() {
    textoestado = "( 0 , 0 )";
    mostrarestado();
    e.guardado = verdadero;
    limpiarmapa();
    revisar();
}

void nucleo::limpiarmapa() {
    e.anchomapa = 0;
    e.altomapa = 0;
    e.vistax = 0;
    e.vistay = 0;
    e.haymapa = falso;
    e.inicio[0].colocado = falso;
    e.inicio[1].colocado = falso;
    std::fill(e.mapa.begin(), e.mapa.end(), casilla{});
    ++e.version;
}

void nucleo::ajustarvista() {
    if (e.vistax < 0)
        e.vistax = 0;
    if (e.vistay < 0)
        e.vistay = 0;
    if (e.vistax + e.celdasx() - 1 > e.anchomapa)
        e.vistax = int16_t(e.anchomapa - (e.celdasx() - 1));
    if (e.vistay + e.celdasy() - 1 > e.altomapa)
        e.vistay = int16_t(e.altomapa - (e.celdasy() - 1));
    // A map narrower than the view (only a hand-made file can hold one)
    // would push the view left of column 0, outside the grid.
    if (e.vistax < 0)
        e.vistax = 0;
    if (e.vistay < 0)
        e.vistay = 0;
    situarpuntero();
}

bool nucleo::situarpuntero() {
    const comun::posicion antes = e.puntero;
    const bool habia = e.haypuntero;
    const int cx = acelda(e.ratonx, e.tamano, e.reduccion) + e.vistax;
    const int cy = acelda(e.ratony, e.tamano, e.reduccion) + e.vistay;
    e.haypuntero = e.ratonenvista && cx >= 0 && cy >= 0 && cx <= e.anchomapa && cy <= e.altomapa;
    if (e.haypuntero)
        e.puntero = {int16_t(cx), int16_t(cy)};
    return habia != e.haypuntero || !(antes == e.puntero);
}

bool nucleo::hayespacio(int x, int y) const {
    int libres = 0;
    for (int j = y - 1; j <= y + 1; ++j) {
        for (int i = x - 1; i <= x + 1; ++i) {
            // Cells outside the map count as not passable: the game places
            // the team on this block, and only the map is played on.
            if (i >= 0 && i <= e.anchomapa && j >= 0 && j <= e.altomapa &&
                e.celda(i, j).transitable == verdadero)
                ++libres;
        }
    }
    return libres == 9;
}

void nucleo::cambiarcasilla(int x, int y, casilla nueva) {
    casilla& c = celda(x, y);
    if (c == nueva)
        return;
    actual.casillas.push_back({int32_t(x * lado + y), c, nueva});
    c = nueva;
    ++e.version;
    // The status line names the terrain under the pointer: painted under a
    // still pointer, by a stroke, a line, a rectangle or a fill, it is new.
    if (e.haypuntero && x == e.puntero.x && y == e.puntero.y)
        mostrarestado();
}

void nucleo::cambiarinicio(int16_t p, entrada nueva) {
    entrada& en = e.inicio[std::size_t(p)];
    if (en == nueva)
        return;
    actual.inicios.push_back({p, en, nueva});
    en = nueva;
    ++e.version;
}

std::size_t nucleo::peso(const paso& p) {
    return sizeof(paso) + p.casillas.capacity() * sizeof(cambio) +
           p.inicios.capacity() * sizeof(cambioinicio);
}

void nucleo::cerrarpaso(const char* nombre) {
    if (actual.vacio())
        return;
    actual.nombre = nombre;
    actual.casillas.shrink_to_fit();
    actual.inicios.shrink_to_fit();
    bytes += peso(actual);
    actual.id = ++serie;
    deshechos.push_back(std::move(actual));
    actual = paso{};
    for (const paso& p : rehechos)
        bytes -= peso(p);
    rehechos.clear();
    // A long session keeps its most recent steps, never the whole past.
    while (bytes > limitememoria && deshechos.size() > 1) {
        bytes -= peso(deshechos.front());
        base = deshechos.front().id;
        deshechos.pop_front();
    }
    revisar();
}

void nucleo::olvidar() {
    actual = paso{};
    deshechos.clear();
    rehechos.clear();
    bytes = 0;
    // A new or opened map is where nothing is lost yet.
    base = ++serie;
    limpio = base;
    if (muestraguardado) {
        muestraguardado = false;
        textoestado = informevista();
    }
}

std::size_t nucleo::memoria() const {
    std::size_t total = 0;
    for (const paso& p : deshechos)
        total += peso(p);
    for (const paso& p : rehechos)
        total += peso(p);
    return total;
}

std::string nucleo::nombredeshacer() const {
    return deshechos.empty() ? std::string() : std::string(deshechos.back().nombre);
}

std::string nucleo::nombrerehacer() const {
    return rehechos.empty() ? std::string() : std::string(rehechos.back().nombre);
}

void nucleo::deshacer() {
    // Not in the middle of a stroke: its step isn't closed yet.
    if (!actual.vacio() || deshechos.empty())
        return;
    paso p = std::move(deshechos.back());
    deshechos.pop_back();
    for (auto c = p.casillas.rbegin(); c != p.casillas.rend(); ++c)
        e.mapa[std::size_t(c->indice)] = c->antes;
    for (auto i = p.inicios.rbegin(); i != p.inicios.rend(); ++i)
        e.inicio[std::size_t(i->equipo)] = i->antes;
    if (p.redimension) {
        e.anchomapa = p.tamanos[0];
        e.altomapa = p.tamanos[1];
    }
    rehechos.push_back(std::move(p));
    trasdeshacer();
}

void nucleo::rehacer() {
    if (!actual.vacio() || rehechos.empty())
        return;
    paso p = std::move(rehechos.back());
    rehechos.pop_back();
    for (const cambio& c : p.casillas)
        e.mapa[std::size_t(c.indice)] = c.despues;
    for (const cambioinicio& i : p.inicios)
        e.inicio[std::size_t(i.equipo)] = i.despues;
    if (p.redimension) {
        e.anchomapa = p.tamanos[2];
        e.altomapa = p.tamanos[3];
    }
    deshechos.push_back(std::move(p));
    trasdeshacer();
}

void nucleo::trasdeshacer() {
    ++e.version;
    // What was selected or being placed may not fit the map any more.
    e.hayseleccion = false;
    e.pegando = false;
    ajustarvista();
    revisar();
    mostrarestado();
}

void nucleo::pintarcelda(int x, int y) {
    casilla c = celda(x, y);
    c.terreno = e.pincel;
    c.transitable = transitabilidad(e.pincel);
    cambiarcasilla(x, y, c);
}

void nucleo::pintar(int x, int y) {
    pintarcelda(x, y);
    if (e.simetrico) {
        comun::posicion m = espejar(x, y);
        if (m.x >= 0 && m.x <= e.anchomapa && m.y >= 0 && m.y <= e.altomapa)
            pintarcelda(m.x, m.y);
    }
}

void nucleo::pincelada(int x, int y) {
    const int r = e.tamanopincel / 2;
    for (int j = std::max(0, y - r); j <= std::min(int(e.altomapa), y + r); ++j)
        for (int i = std::max(0, x - r); i <= std::min(int(e.anchomapa), x + r); ++i)
            pintar(i, j);
}

comun::posicion nucleo::enmapa(int x, int y) const {
    return {int16_t(std::clamp(acelda(x, e.tamano, e.reduccion) + e.vistax, 0, int(e.anchomapa))),
            int16_t(std::clamp(acelda(y, e.tamano, e.reduccion) + e.vistay, 0, int(e.altomapa)))};
}

void nucleo::rellenar(int x, int y) {
    const int16_t objetivo = celda(x, y).terreno;
    if (objetivo == e.pincel)
        return;
    // The region is found whole before anything is painted, so a mirrored
    // cell painted early can't change which cells belong to it.
    const int ancho = e.anchomapa + 1;
    const int alto = e.altomapa + 1;
    std::vector<char> visto(std::size_t(ancho) * alto, 0);
    std::vector<std::pair<int, int>> region;
    region.reserve(visto.size());
    region.emplace_back(x, y);
    visto[std::size_t(y) * ancho + x] = 1;
    for (std::size_t k = 0; k < region.size(); ++k) {
        auto [cx, cy] = region[k];
        const std::array<std::pair<int, int>, 4> vecinos = {
            std::pair{cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}};
        for (auto [vx, vy] : vecinos) {
            if (vx < 0 || vx >= ancho || vy < 0 || vy >= alto)
                continue;
            char& v = visto[std::size_t(vy) * ancho + vx];
            if (v || celda(vx, vy).terreno != objetivo)
                continue;
            v = 1;
            region.emplace_back(vx, vy);
        }
    }
    actual.casillas.reserve(actual.casillas.size() + region.size() * (e.simetrico ? 2 : 1));
    for (auto [cx, cy] : region)
        pintar(cx, cy);
}

void nucleo::pintarrectangulo() {
    int x0 = std::min(e.esquina.x, e.extremo.x);
    int x1 = std::max(e.esquina.x, e.extremo.x);
    int y0 = std::min(e.esquina.y, e.extremo.y);
    int y1 = std::max(e.esquina.y, e.extremo.y);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            pintar(x, y);
}

void nucleo::colocarinicio(int16_t p, int x, int y) {
    entrada en = e.inicio[std::size_t(p)];
    if (en.colocado == verdadero) {
        casilla vieja = celda(en.x, en.y);
        vieja.marca = -1;
        cambiarcasilla(en.x, en.y, vieja);
    } else {
        en.colocado = verdadero;
    }
    casilla nueva = celda(x, y);
    nueva.marca = p;
    cambiarcasilla(x, y, nueva);
    en.x = int16_t(x);
    en.y = int16_t(y);
    cambiarinicio(p, en);
}

void nucleo::mainpic_MouseDown(int16_t shift, int x, int y, int boton) {
    if (e.haymapa != verdadero)
        return;
    const int cx = acelda(x, e.tamano, e.reduccion) + e.vistax;
    const int cy = acelda(y, e.tamano, e.reduccion) + e.vistay;
    // Only a hand-made map smaller than the view shows cells outside it.
    if (cx < 0 || cy < 0 || cx > e.anchomapa || cy > e.altomapa)
        return;
    if (boton == botonderecho) {
        // Picks the terrain under the pointer; never paints.
        e.pincel = celda(cx, cy).terreno;
        e.pincelinicio = -1;
        mostrarestado();
        return;
    }
    if (boton == botoncentral) {
        e.arrastrandovista = true;
        e.arrastrex = x + e.vistax * e.escala();
        e.arrastrey = y + e.vistay * e.escala();
        return;
    }
    if (boton != botonizquierdo)
        return;
    if (e.pegando) {
        soltarcopia(cx, cy);
    } else if (e.herramientaseleccion) {
        e.seleccionando = true;
        e.seldesde = {int16_t(cx), int16_t(cy)};
        seleccionar(cx, cy, cx, cy);
    } else if (e.pincel >= 0 && (shift & mayusculas)) {
        comun::posicion c = enmapa(x, y);
        rellenar(c.x, c.y);
        cerrarpaso("relleno");
        plat.dibujar();
    } else if (e.pincel >= 0 && (shift & control)) {
        e.rectangulo = true;
        e.esquina = enmapa(x, y);
        e.extremo = e.esquina;
        plat.dibujar();
    } else if (e.pincel >= 0 && (e.herramientalinea || (shift & alternativa))) {
        e.trazandolinea = true;
        e.lineadesde = {int16_t(cx), int16_t(cy)};
        e.lineahasta = e.lineadesde;
        plat.dibujar();
    } else if (e.pincel >= 0) {
        e.pintando = verdadero;
        e.ultimapincelada = {int16_t(cx), int16_t(cy)};
        pincelada(cx, cy);
        revisar();
        plat.dibujar();
    } else if (e.pincelinicio >= 0) {
        if (!hayespacio(cx, cy)) {
            plat.avisar("Necesita tener espacio alrededor", "Atencion", icono::informacion);
            return;
        }
        colocarinicio(e.pincelinicio, cx, cy);
        // A fair map in one click: the other team starts at the mirrored
        // cell, when it has room there.
        const comun::posicion m = espejar(cx, cy);
        if (e.simetrico && !(m.x == cx && m.y == cy) && hayespacio(m.x, m.y))
            colocarinicio(int16_t(1 - e.pincelinicio), m.x, m.y);
        cerrarpaso("inicio");
        plat.dibujar();
    }
}

void nucleo::mainpic_MouseMove(int x, int y) {
    if (e.haymapa != verdadero)
        return;
    e.ratonenvista = true;
    e.ratonx = x;
    e.ratony = y;
    const bool movido = situarpuntero();
    if (movido)
        mostrarestado();
    if (e.arrastrandovista) {
        // The map follows the pointer, a whole cell at a time.
        const int vx = int(std::lround((e.arrastrex - x) / e.escala()));
        const int vy = int(std::lround((e.arrastrey - y) / e.escala()));
        if (vx != e.vistax || vy != e.vistay)
            ponervista(vx, vy);
        return;
    }
    if (e.pegando) {
        if (movido && e.haypuntero) {
            e.pegaren = {int16_t(e.puntero.x - e.copia.ancho / 2),
                         int16_t(e.puntero.y - e.copia.alto / 2)};
            plat.dibujar();
        }
        return;
    }
    if (e.seleccionando) {
        const comun::posicion c = enmapa(x, y);
        seleccionar(e.seldesde.x, e.seldesde.y, c.x, c.y);
        return;
    }
    if (e.trazandolinea) {
        e.lineahasta = enmapa(x, y);
        plat.dibujar();
        return;
    }
    if (e.rectangulo) {
        e.extremo = enmapa(x, y);
        plat.dibujar();
        return;
    }
    if (e.pintando != verdadero) {
        // Only the outline of the cell under the pointer moved.
        if (movido)
            plat.dibujar();
        return;
    }
    // While the button is held the moves keep coming from outside the view;
    // the stroke stops at the map's edges, as nothing beyond them is saved.
    // A quick hand moves the pointer several cells between two moves: the
    // cells it passed over are painted too, so the stroke has no gaps.
    const comun::posicion c = enmapa(x, y);
    for (comun::posicion p : celdaslinea(e.ultimapincelada, c))
        pincelada(p.x, p.y);
    e.ultimapincelada = c;
    plat.dibujar();
}

void nucleo::ponertamanovista(int ancho, int alto) {
    e.anchovista = std::max(1, ancho);
    e.altovista = std::max(1, alto);
    ajustarvista();
    if (e.haymapa == verdadero)
        plat.dibujar();
}

void nucleo::acercar(int pasos, int x, int y) {
    if (e.haymapa != verdadero)
        return;
    const int i = std::clamp(nivelactual() + pasos, 0, int(niveles.size()) - 1);
    // The cell under the pointer stays under it, unless the map's edge
    // stops the view.
    const int cx = acelda(x, e.tamano, e.reduccion) + e.vistax;
    const int cy = acelda(y, e.tamano, e.reduccion) + e.vistay;
    e.tamano = niveles[std::size_t(i)].tamano;
    e.reduccion = niveles[std::size_t(i)].reduccion;
    e.vistax = int16_t(std::clamp(cx - acelda(x, e.tamano, e.reduccion), -1, lado));
    e.vistay = int16_t(std::clamp(cy - acelda(y, e.tamano, e.reduccion), -1, lado));
    ajustarvista();
    textoestado = informevista();
    muestraguardado = false;
    mostrarestado();
    plat.dibujar();
}

void nucleo::ponervista(int x, int y) {
    if (e.haymapa != verdadero)
        return;
    e.vistax = int16_t(std::clamp(x, -1, lado));
    e.vistay = int16_t(std::clamp(y, -1, lado));
    ajustarvista();
    textoestado = informevista();
    muestraguardado = false;
    mostrarestado();
    plat.dibujar();
}

void nucleo::desplazar(int dx, int dy) {
    ponervista(e.vistax + dx, e.vistay + dy);
}

comun::posicion nucleo::celdaminimapa(int x, int y, int ladominimapa) const {
    const int mayor = std::max(e.anchomapa, e.altomapa) + 1;
    const int cx = int(std::floor(double(x) * mayor / ladominimapa));
    const int cy = int(std::floor(double(y) * mayor / ladominimapa));
    return {int16_t(std::clamp(cx, 0, int(e.anchomapa))),
            int16_t(std::clamp(cy, 0, int(e.altomapa)))};
}

void nucleo::minimapa_Click(int x, int y, int ladominimapa) {
    if (e.haymapa != verdadero)
        return;
    const comun::posicion c = celdaminimapa(x, y, ladominimapa);
    ponervista(c.x - e.celdasx() / 2, c.y - e.celdasy() / 2);
}

void nucleo::mainpic_MouseLeave() {
    e.ratonenvista = false;
    if (e.haymapa != verdadero || !e.haypuntero)
        return;
    e.haypuntero = false;
    mostrarestado();
    plat.dibujar();
}

void nucleo::mainpic_MouseUp(int x, int y) {
    if (e.haymapa != verdadero)
        return;
    e.pintando = falso;
    if (e.arrastrandovista) {
        e.arrastrandovista = false;
        return;
    }
    if (e.seleccionando) {
        e.seleccionando = false;
        const comun::posicion c = enmapa(x, y);
        seleccionar(e.seldesde.x, e.seldesde.y, c.x, c.y);
        return;
    }
    if (e.trazandolinea) {
        e.trazandolinea = false;
        e.lineahasta = enmapa(x, y);
        for (comun::posicion c : celdaslinea(e.lineadesde, e.lineahasta, e.lineacerrada))
            pincelada(c.x, c.y);
        cerrarpaso("línea");
        plat.dibujar();
        return;
    }
    if (e.rectangulo) {
        e.rectangulo = false;
        e.extremo = enmapa(x, y);
        pintarrectangulo();
        cerrarpaso("rectángulo");
        plat.dibujar();
        return;
    }
    cerrarpaso("pincelada");
}

void nucleo::terrenos_Click(int16_t i) {
    if (e.haymapa != verdadero || i < 0 || i >= comun::numterrenos)
        return;
    e.pincel = i;
    e.pincelinicio = -1;
    e.herramientaseleccion = false;
    mostrarestado();
}

void nucleo::px_Click(int16_t i) {
    if (e.haymapa != verdadero || i < 0 || i > 1)
        return;
    e.pincelinicio = i;
    e.pincel = -1;
    e.herramientaseleccion = false;
    mostrarestado();
}

void nucleo::Form_KeyDown(int16_t codigo, int16_t shift, bool entexto) {
    if (e.haymapa != verdadero)
        return;
    const bool ctrl = shift & control;
    const bool mayus = shift & mayusculas;
    const bool solo = shift == 0 && !entexto;
    if (ctrl && codigo == 'Z' && !mayus)
        deshacer();
    else if (ctrl && (codigo == 'Y' || (codigo == 'Z' && mayus)))
        rehacer();
    else if (ctrl && !mayus && codigo == 'C' && !entexto)
        copiar();
    else if (ctrl && !mayus && codigo == 'X' && !entexto)
        cortar();
    else if (ctrl && !mayus && codigo == 'V' && !entexto)
        pegar();
    else if (codigo == 'S' && solo) {
        e.herramientaseleccion = !e.herramientaseleccion;
        e.herramientalinea = false;
    } else if (codigo == 'X' && solo)
        voltear(true);
    else if (codigo == 'Y' && solo)
        voltear(false);
    else if (codigo == 'Z' && solo)
        girar();
    else if (codigo == vksuprimir && solo)
        borrarseleccion();
    else if (codigo == vkescape && !entexto)
        cancelar();
    else if (codigo == 'L' && shift == mayusculas && !entexto) {
        e.lineacerrada = !e.lineacerrada;
        e.herramientalinea = true;
        e.herramientaseleccion = false;
    } else if (codigo == 'M' && shift == 0 && !entexto)
        e.simetrico = !e.simetrico;
    else if (codigo == 'M' && shift == mayusculas && !entexto)
        e.modoespejo = espejo((int(e.modoespejo) + 1) % 3);
    else if (codigo >= '1' && codigo <= '6' && shift == 0 && !entexto)
        terrenos_Click(int16_t(codigo - '1'));
    else if (codigo == '[' && !ctrl && !entexto)
        e.tamanopincel = int16_t(std::max(1, e.tamanopincel - 2));
    else if (codigo == ']' && !ctrl && !entexto)
        e.tamanopincel = int16_t(std::min(5, e.tamanopincel + 2));
    else if (ctrl && (codigo == '+' || codigo == '=' || codigo == '-') && !entexto) {
        const double s = e.escala();
        const int px = e.haypuntero ? int((e.puntero.x - e.vistax + 0.5) * s) : e.anchovista / 2;
        const int py = e.haypuntero ? int((e.puntero.y - e.vistay + 0.5) * s) : e.altovista / 2;
        acercar(codigo == '-' ? -1 : 1, px, py);
    } else if (codigo == 'L' && shift == 0 && !entexto) {
        e.herramientalinea = !e.herramientalinea;
        e.herramientaseleccion = false;
    } else if (codigo == 'C' && shift == 0 && !entexto)
        e.vertinte = !e.vertinte;
    else if (codigo == comun::vkizquierda)
        e.vistax = int16_t(e.vistax - 3);
    else if (codigo == comun::vkderecha)
        e.vistax = int16_t(e.vistax + 3);
    else if (codigo == comun::vkabajo)
        e.vistay = int16_t(e.vistay + 3);
    else if (codigo == comun::vkarriba)
        e.vistay = int16_t(e.vistay - 3);
    ajustarvista();
    muestraguardado = false;
    textoestado = informevista();
    mostrarestado();
    revisar();
    plat.dibujar();
}

void nucleo::nuevomapa_Click() {
    plat.mostrarpanel(true);
}

void nucleo::crear_Click(int ancho, int alto) {
    if (ancho < minimolado || ancho > maximolado || alto < minimolado || alto > maximolado) {
        plat.avisar("El ancho y el alto del mapa deben ser números del " +
                        std::to_string(minimolado) + " al " + std::to_string(maximolado) + ".",
                    "Mapa nuevo", icono::critico);
        return;
    }
    if (!descartar("Crear un mapa nuevo"))
        return;
    limpiarmapa();
    olvidar();
    e.rectangulo = false;
    e.trazandolinea = false;
    e.anchomapa = int16_t(ancho - 1);
    e.altomapa = int16_t(alto - 1);
    e.haymapa = verdadero;
    empezarmapa();
    e.nombre.clear();
    archivoabierto.clear();
    rutaabierta.clear();
    disco.clear();
    ejemploaceptado.clear();
    // A new map has no name yet: Guardar must not reuse the last map's.
    plat.ponernombre({});
    plat.vigilar({});
    plat.mostrarpanel(false);
    mostrarestado();
    revisar();
    plat.dibujar();
}

std::string nucleo::rutalistada(const std::string& archivo) const {
    for (const comun::mapalistado& m : comun::listarmapas(carpetas()))
        if (m.archivo == archivo)
            return m.ruta;
    return {};
}

void nucleo::abrir_Click(const std::string& archivo) {
    if (archivo.empty())
        return;
    if (!descartar("Abrir otro mapa"))
        return;
    const std::string ruta = rutalistada(archivo);
    if (ruta.empty()) {
        plat.avisar("El mapa " + archivo + " ya no está en la carpeta de mapas.", "Atencion",
                    icono::critico);
        plat.refrescar({});
        return;
    }
    cargar(ruta);
}

void nucleo::abrirruta(const std::string& ruta, const std::string& titulo) {
    if (ruta.empty() || !descartar(titulo))
        return;
    cargar(ruta);
}

bool nucleo::cargar(const std::string& ruta) {
    const std::string archivo = std::filesystem::path(ruta).filename().string();
    // Read the whole file before touching the map: a refused file leaves
    // the map being edited as it was.
    std::string error;
    std::optional<std::string> contenido = comun::leerbytes(ruta, error);
    comun::lectura l = contenido ? comun::leermapa(*contenido) : comun::lectura{{}, error};
    if (!l) {
        plat.avisar("No se pudo abrir el mapa " + archivo + ":\n" + l.error, "Atencion",
                    icono::critico);
        return false;
    }
    const comun::plano& p = *l.mapa;
    limpiarmapa();
    olvidar();
    e.rectangulo = false;
    e.trazandolinea = false;
    e.anchomapa = p.anchomapa;
    e.altomapa = p.altomapa;
    for (int y = 0; y <= e.altomapa; ++y) {
        for (int x = 0; x <= e.anchomapa; ++x) {
            casilla& c = celda(x, y);
            c.terreno = p.terreno(x, y);
            c.transitable = transitabilidad(c.terreno);
        }
    }
    for (std::size_t k = 0; k < 2; ++k)
        e.inicio[k] = {p.inicio[k].x, p.inicio[k].y, verdadero};
    celda(e.inicio[0].x, e.inicio[0].y).marca = 0;
    celda(e.inicio[1].x, e.inicio[1].y).marca = 1;
    e.haymapa = verdadero;
    empezarmapa();
    e.nombre =
        comun::esmapa(archivo) ? archivo.substr(0, archivo.size() - extension.size()) : archivo;
    archivoabierto = archivo;
    rutaabierta = ruta;
    disco = std::move(*contenido);
    avisado.clear();
    ejemploaceptado.clear();
    plat.ponernombre(e.nombre);
    plat.vigilar(ruta);
    mostrarestado();
    revisar();
    plat.dibujar();
    return true;
}

void nucleo::archivocambiado() {
    if (e.haymapa != verdadero || rutaabierta.empty())
        return;
    std::string error;
    std::optional<std::string> ahora = comun::leerbytes(rutaabierta, error);
    // Gone or unreadable, there is nothing to load; our own saves leave the
    // bytes we wrote, and one change is reported once.
    if (!ahora || *ahora == disco || *ahora == avisado)
        return;
    avisado = *ahora;
    std::string texto = "El mapa \"" + e.nombre + "\" ha cambiado fuera del editor.";
    if (e.guardado != verdadero)
        texto += "\nSi lo vuelve a cargar, perderá los cambios que no ha guardado.";
    texto += "\n¿Desea volver a cargarlo?";
    if (plat.preguntar(texto, "Mapa cambiado"))
        cargar(rutaabierta);
}

bool nucleo::esejemplo(const std::string& archivo) const {
    if (direjemplos.empty() || archivo.empty())
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(direjemplos + "/" + archivo, ec);
}

bool nucleo::ocultaejemplo(const comun::mapalistado& m) const {
    if (!esejemplo(m.archivo))
        return false;
    std::error_code ec;
    if (std::filesystem::equivalent(m.ruta, direjemplos + "/" + m.archivo, ec))
        return false;
    std::string error;
    std::optional<std::string> copia = comun::leerbytes(m.ruta, error);
    std::optional<std::string> original = comun::leerbytes(direjemplos + "/" + m.archivo, error);
    return copia && original && *copia != *original;
}

bool nucleo::rehusarejemplo(const std::string& archivo, const std::string& titulo) {
    if (!esejemplo(archivo))
        return false;
    plat.avisar("\"" + archivo +
                    "\" es un mapa de ejemplo del programa: no se puede borrar ni "
                    "cambiar de nombre. Archivo → Restaurar mapa de ejemplo lo devuelve a su "
                    "estado original.",
                titulo, icono::informacion);
    return true;
}

void nucleo::borrar_Click(const std::string& archivo) {
    const std::string titulo = "Borrar mapa";
    if (archivo.empty() || rehusarejemplo(archivo, titulo))
        return;
    const std::string ruta = rutalistada(archivo);
    if (ruta.empty()) {
        plat.refrescar({});
        return;
    }
    if (!plat.preguntar("¿Desea mover el mapa \"" + archivo + "\" a la papelera?", titulo))
        return;
    if (std::string fallo = plat.tirar(ruta); !fallo.empty()) {
        plat.avisar("No se pudo borrar el mapa " + archivo + ":\n" + fallo, titulo,
                    icono::critico);
        return;
    }
    if (ruta == rutaabierta) {
        // The map stays on screen, but no file holds it any more.
        rutaabierta.clear();
        archivoabierto.clear();
        disco.clear();
        e.nombre.clear();
        limpio = 0;
        plat.vigilar({});
        revisar();
    }
    plat.refrescar({});
}

void nucleo::renombrar_Click(const std::string& archivo, const std::string& texto) {
    const std::string titulo = "Cambiar nombre";
    if (archivo.empty() || rehusarejemplo(archivo, titulo))
        return;
    const std::string ruta = rutalistada(archivo);
    if (ruta.empty()) {
        plat.refrescar({});
        return;
    }
    const std::string nombre = limpiarnombre(texto);
    if (std::string malo = nombreinvalido(nombre); !malo.empty()) {
        plat.avisar(malo, titulo, icono::critico);
        return;
    }
    const std::string nuevo = nombre + extension;
    if (nuevo == archivo)
        return;
    namespace fs = std::filesystem;
    const std::string destino = (fs::path(ruta).parent_path() / nuevo).string();
    std::error_code ec;
    bool existe = !rutalistada(nuevo).empty() || esejemplo(nuevo);
    for (const std::string& c : carpetas())
        existe = existe || fs::exists(c + "/" + nuevo, ec);
    if (existe) {
        plat.avisar("Ya existe un mapa llamado \"" + nombre + "\".", titulo, icono::critico);
        return;
    }
    // A hard link never replaces a file that appeared meanwhile; where the
    // file system has none, a plain rename after the check above.
    int error = 0;
    if (::link(ruta.c_str(), destino.c_str()) == 0) {
        if (::unlink(ruta.c_str()) != 0)
            error = errno;
    } else if (errno == EEXIST) {
        error = EEXIST;
    } else {
        fs::rename(ruta, destino, ec);
        error = ec ? ec.value() : 0;
    }
    if (error != 0) {
        plat.avisar("No se pudo cambiar el nombre del mapa " + archivo + ":\n" +
                        comun::causasistema(error),
                    titulo, icono::critico);
        plat.refrescar({});
        return;
    }
    if (ruta == rutaabierta) {
        rutaabierta = destino;
        archivoabierto = nuevo;
        e.nombre = nombre;
        plat.ponernombre(nombre);
        plat.vigilar(destino);
        revisar();
    }
    plat.refrescar(nuevo);
}

void nucleo::restaurar_Click(const std::string& archivo) {
    const std::string titulo = "Restaurar mapa de ejemplo";
    if (archivo.empty())
        return;
    if (!esejemplo(archivo)) {
        plat.avisar("\"" + archivo + "\" no es un mapa de ejemplo del programa.", titulo,
                    icono::informacion);
        return;
    }
    std::string error;
    std::optional<std::string> original = comun::leerbytes(direjemplos + "/" + archivo, error);
    if (!original) {
        plat.avisar(error, titulo, icono::critico);
        return;
    }
    if (!plat.preguntar("¿Desea devolver el mapa de ejemplo \"" + archivo +
                            "\" a su estado original? Se perderán los cambios guardados en él.",
                        titulo))
        return;
    namespace fs = std::filesystem;
    const std::string antes = rutaabierta;
    bool tocado = false;
    for (const std::string& c : carpetas()) {
        const std::string ruta = c + "/" + archivo;
        std::error_code ec;
        if (fs::equivalent(c, direjemplos, ec) || !fs::exists(ruta, ec))
            continue;
        // The user's own copy only hides the original: it goes; a copy in
        // the program's folder is what both programs read: it is rewritten.
        std::string fallo = c == dirusuario ? plat.tirar(ruta) : plat.escribir(ruta, *original);
        if (!fallo.empty()) {
            plat.avisar("No se pudo restaurar el mapa " + archivo + ":\n" + fallo, titulo,
                        icono::critico);
            plat.refrescar({});
            return;
        }
        tocado = tocado || ruta == antes;
    }
    // The open copy, unchanged since it was saved, shows the original now.
    if (tocado && e.guardado == verdadero)
        cargar(rutalistada(archivo));
    plat.refrescar(archivo);
}

comun::plano nucleo::plano() const {
    comun::plano p = comun::plano::vacio(e.anchomapa, e.altomapa);
    for (int y = 0; y <= e.altomapa; ++y)
        for (int x = 0; x <= e.anchomapa; ++x)
            p.ponerterreno(x, y, e.celda(x, y).terreno);
    for (std::size_t k = 0; k < 2; ++k)
        p.inicio[k] = {e.inicio[k].x, e.inicio[k].y};
    return p;
}

void nucleo::guardar_Click(const std::string& texto) {
    if (e.haymapa != verdadero)
        return;
    const std::string nombre = limpiarnombre(texto);
    if (std::string malo = nombreinvalido(nombre); !malo.empty()) {
        plat.avisar(malo + "\nNo se ha guardado nada.", "Guardar", icono::critico);
        return;
    }
    if (e.inicio[0].colocado != verdadero || e.inicio[1].colocado != verdadero) {
        plat.avisar("Necesita poner la posicion de inicio de los jugadores", "Guardar",
                    icono::critico);
        return;
    }
    // What is written must open again, in the editor and in the game.
    const std::string contenido = comun::escribirmapa(plano());
    comun::lectura vuelta = comun::leermapa(contenido);
    std::string porque = vuelta ? comun::errorinicios(*vuelta.mapa) : vuelta.error;
    if (!porque.empty()) {
        plat.avisar("No se puede guardar este mapa: el juego no podría usarlo.\n" + porque +
                        "\nNo se ha guardado nada.",
                    "Guardar", icono::critico);
        return;
    }
    if (std::vector<std::string> pr = problemas(); !pr.empty()) {
        std::string pregunta = "El mapa tiene problemas:\n";
        for (const std::string& p : pr)
            pregunta += "- " + p + "\n";
        pregunta += "\n¿Guardar de todos modos?";
        if (!plat.preguntar(pregunta, "Guardar"))
            return;
    }
    // The opened map keeps its file name, extension case included.
    const std::string archivo =
        nombre == e.nombre && !archivoabierto.empty() ? archivoabierto : nombre + extension;
    // Installed where the user can't write, maps go to the user's own folder;
    // and a map of this name already there is the one both programs list,
    // so it is the one replaced.
    std::string destino = dirusuario.empty() || plat.escribible(dir) ? dir : dirusuario;
    std::error_code ec;
    if (!dirusuario.empty() && std::filesystem::exists(dirusuario + "/" + archivo, ec))
        destino = dirusuario;
    const std::string ruta = destino + "/" + archivo;
    const bool mismo = ruta == rutaabierta;
    const bool ejemplo = esejemplo(archivo) && ejemploaceptado != ruta;
    if (!mismo || ejemplo) {
        bool existe = ejemplo || !rutalistada(archivo).empty();
        for (const std::string& c : carpetas())
            existe = existe || std::filesystem::exists(c + "/" + archivo, ec);
        std::string pregunta = "Ya existe un mapa llamado \"" + nombre + "\".";
        if (ejemplo)
            pregunta = "\"" + nombre +
                       "\" es un mapa de ejemplo del programa. Archivo → "
                       "Restaurar mapa de ejemplo podrá devolverlo a su estado original.";
        if (existe && !plat.preguntar(pregunta + " ¿Desea reemplazarlo?", "Guardar"))
            return;
        if (ejemplo)
            ejemploaceptado = ruta;
    }
    if (mismo) {
        // Someone else saved this file since it was opened here: asked
        // first, rather than putting their work back silently.
        std::string error;
        std::optional<std::string> ahora = comun::leerbytes(ruta, error);
        if (ahora && *ahora != disco &&
            !plat.preguntar("El mapa \"" + nombre +
                                "\" ha cambiado en el disco desde que lo abrió. ¿Desea "
                                "reemplazarlo con el suyo?",
                            "Guardar"))
            return;
    }
    std::string fallo = plat.escribir(ruta, contenido);
    if (!fallo.empty()) {
        plat.avisar("No se pudo guardar el mapa en " + ruta + ":\n" + fallo, "Guardar",
                    icono::critico);
        return;
    }
    limpio = punto();
    e.nombre = nombre;
    archivoabierto = archivo;
    rutaabierta = ruta;
    disco = contenido;
    avisado.clear();
    plat.ponernombre(nombre);
    plat.vigilar(ruta);
    textoestado = "GUARDADO en " + ruta;
    mostrarestado();
    muestraguardado = true;
    revisar();
    plat.refrescar(archivo);
}

// What would spoil a match on this map: painting after a start was placed
// can close its space or wall the teams off from each other.
std::vector<std::string> nucleo::problemas() const {
    std::vector<std::string> v;
    for (std::size_t p = 0; p < 2; ++p) {
        if (!hayespacio(e.inicio[p].x, e.inicio[p].y))
            v.push_back(std::string("El inicio del equipo ") + comun::nombreequipo(int(p)) +
                        " no tiene espacio libre alrededor.");
    }
    comun::posicion a{e.inicio[0].x, e.inicio[0].y};
    comun::posicion b{e.inicio[1].x, e.inicio[1].y};
    if (a == b)
        v.push_back("Los dos equipos empiezan en la misma casilla.");
    else if (!comun::alcanzable(plano(), a, b))
        v.push_back("No se puede caminar de un inicio al otro.");
    for (std::size_t p = 0; p < 2; ++p) {
        if (std::optional<comun::posicion> h = huecodiagonal({e.inicio[p].x, e.inicio[p].y}))
            v.push_back(std::string("El equipo ") + comun::nombreequipo(int(p)) +
                        " puede salir de su zona en diagonal, entre dos casillas que cierran el "
                        "paso, hacia la columna " +
                        std::to_string(h->x) + ", fila " + std::to_string(h->y) +
                        " (Mayús + L dibuja líneas cerradas).");
    }
    return v;
}

void nucleo::recordar(int16_t pincel, int16_t tamanopincel, int16_t tamano) {
    if (pincel >= 0 && pincel < comun::numterrenos) {
        e.pincel = pincel;
        e.pincelinicio = -1;
    }
    if (tamanopincel == 1 || tamanopincel == 3 || tamanopincel == 5)
        e.tamanopincel = tamanopincel;
    for (const nivelzoom& z : niveles)
        if (z.tamano == tamano && z.reduccion == 1)
            e.tamano = tamano, e.reduccion = 1;
    ajustarvista();
}

int nucleo::nivelactual() const {
    // The largest step not above the zoom: after Ajustar the zoom may lie
    // between two steps.
    int i = 0;
    while (i + 1 < int(niveles.size()) && niveles[std::size_t(i + 1)].tamano * e.reduccion <=
                                              e.tamano * niveles[std::size_t(i + 1)].reduccion)
        ++i;
    return i;
}

void nucleo::tamanoreal() {
    int real = 0;
    while (niveles[std::size_t(real)].tamano != tamcelda)
        ++real;
    acercar(real - nivelactual(), e.anchovista / 2, e.altovista / 2);
}

std::vector<std::string> nucleo::anadirreciente(std::vector<std::string> lista,
                                                const std::string& ruta) {
    if (ruta.empty())
        return lista;
    lista.erase(std::remove(lista.begin(), lista.end(), ruta), lista.end());
    lista.insert(lista.begin(), ruta);
    if (lista.size() > maxrecientes)
        lista.resize(maxrecientes);
    return lista;
}

bool nucleo::Form_QueryUnload() {
    if (e.guardado == verdadero)
        return false;
    return !plat.preguntar("¿Desea salir sin guardar el mapa?", "Guardar");
}

} // namespace editor
