#include "Editor/nucleo.h"

#include "Comun/terreno.h"
#include "Editor/plataforma.h"

#include <algorithm>
#include <utility>

namespace editor {

namespace {

// Pixels to cells, rounding down also left of and above the view.
int acelda(int pixel) {
    return pixel >= 0 ? pixel / tamcelda : -((-pixel + tamcelda - 1) / tamcelda);
}

int16_t transitabilidad(int16_t terreno) {
    return comun::transitable(terreno) ? verdadero : falso;
}

// Why a map name can't be used as a file name in the maps folder, or an
// empty text when it can.
std::string nombreinvalido(const std::string& nombre) {
    if (nombre.find('/') != std::string::npos)
        return "El nombre del mapa no puede contener \"/\".";
    if (nombre.find('\0') != std::string::npos)
        return "El nombre del mapa contiene un carácter nulo.";
    if (nombre == "." || nombre == "..")
        return "El nombre del mapa no puede ser \".\" ni \"..\".";
    if (nombre.find_first_not_of(' ') == std::string::npos)
        return "El nombre del mapa no puede tener solo espacios.";
    return {};
}

} // namespace

nucleo::nucleo(plataforma& p, std::string carpeta) : plat(p), dir(std::move(carpeta)) {}

void nucleo::Form_Load() {
    plat.ponerestado("( 0 , 0 )");
    e.guardado = verdadero;
    limpiarmapa();
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
}

void nucleo::ajustarvista() {
    if (e.vistax < 0)
        e.vistax = 0;
    if (e.vistay < 0)
        e.vistay = 0;
    if (e.vistax + celdasvista - 1 > e.anchomapa)
        e.vistax = int16_t(e.anchomapa - (celdasvista - 1));
    if (e.vistay + celdasvista - 1 > e.altomapa)
        e.vistay = int16_t(e.altomapa - (celdasvista - 1));
    // A map narrower than the view (only a hand-made file can hold one)
    // would push the view left of column 0, outside the grid.
    if (e.vistax < 0)
        e.vistax = 0;
    if (e.vistay < 0)
        e.vistay = 0;
}

bool nucleo::hayespacio(int x, int y) const {
    int libres = 0;
    for (int j = y - 1; j <= y + 1; ++j) {
        for (int i = x - 1; i <= x + 1; ++i) {
            // Cells outside the grid count as not passable.
            if (i >= 0 && i < lado && j >= 0 && j < lado && e.celda(i, j).transitable == verdadero)
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
}

void nucleo::cambiarinicio(int16_t p, entrada nueva) {
    entrada& en = e.inicio[std::size_t(p)];
    if (en == nueva)
        return;
    actual.inicios.push_back({p, en, nueva});
    en = nueva;
}

void nucleo::cerrarpaso() {
    actual = paso{};
}

void nucleo::pintar(int x, int y) {
    casilla c = celda(x, y);
    c.terreno = e.pincel;
    c.transitable = transitabilidad(e.pincel);
    cambiarcasilla(x, y, c);
    e.guardado = falso;
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
    e.guardado = falso;
}

void nucleo::mainpic_MouseDown(int16_t, int x, int y) {
    if (e.haymapa != verdadero)
        return;
    int cx = std::clamp(acelda(x) + e.vistax, 0, lado - 1);
    int cy = std::clamp(acelda(y) + e.vistay, 0, lado - 1);
    if (e.pincel >= 0) {
        e.pintando = verdadero;
        pintar(cx, cy);
        plat.dibujar();
    } else if (e.pincelinicio >= 0) {
        if (!hayespacio(cx, cy)) {
            plat.avisar("Necesita tener espacio alrededor", "Atencion", icono::informacion);
            return;
        }
        colocarinicio(e.pincelinicio, cx, cy);
        cerrarpaso();
        plat.dibujar();
    }
}

void nucleo::mainpic_MouseMove(int x, int y) {
    if (e.pintando != verdadero)
        return;
    // While the button is held the moves keep coming from outside the view;
    // the cell is kept inside the grid on every side.
    int cx = std::clamp(acelda(x) + e.vistax, 0, lado - 1);
    int cy = std::clamp(acelda(y) + e.vistay, 0, lado - 1);
    pintar(cx, cy);
    plat.dibujar();
}

void nucleo::mainpic_MouseUp(int, int) {
    if (e.haymapa != verdadero)
        return;
    e.pintando = falso;
    cerrarpaso();
}

void nucleo::terrenos_Click(int16_t i) {
    if (e.haymapa != verdadero || i < 0 || i >= comun::numterrenos)
        return;
    e.pincel = i;
    e.pincelinicio = -1;
}

void nucleo::px_Click(int16_t i) {
    if (e.haymapa != verdadero || i < 0 || i > 1)
        return;
    e.pincelinicio = i;
    e.pincel = -1;
}

void nucleo::Form_KeyDown(int16_t codigo, int16_t, bool) {
    if (e.haymapa != verdadero)
        return;
    if (codigo == teclaizquierda)
        e.vistax = int16_t(e.vistax - 3);
    else if (codigo == tecladerecha)
        e.vistax = int16_t(e.vistax + 3);
    else if (codigo == teclaabajo)
        e.vistay = int16_t(e.vistay + 3);
    else if (codigo == teclaarriba)
        e.vistay = int16_t(e.vistay - 3);
    ajustarvista();
    plat.ponerestado("( " + std::to_string(e.vistax) + " , " + std::to_string(e.vistay) + " )");
    plat.dibujar();
}

void nucleo::nuevomapa_Click() {
    plat.mostrarpanel(true);
}

void nucleo::crear_Click(int ancho, int alto) {
    limpiarmapa();
    cerrarpaso();
    e.guardado = falso;
    // The sizes come from fixed lists; the clamp only keeps the grid safe.
    e.anchomapa = int16_t(std::clamp(ancho - 1, 0, lado - 1));
    e.altomapa = int16_t(std::clamp(alto - 1, 0, lado - 1));
    e.haymapa = verdadero;
    plat.mostrarpanel(false);
    plat.dibujar();
}

void nucleo::abrir_Click(const std::string& archivo) {
    if (archivo.empty())
        return;
    // Read the whole file before touching the map: a refused file leaves
    // the map being edited as it was.
    comun::lectura l = comun::leerarchivo(dir + "/" + archivo);
    if (!l) {
        plat.avisar("No se pudo abrir el mapa " + archivo + ":\n" + l.error, "Atencion",
                    icono::critico);
        return;
    }
    const comun::plano& p = *l.mapa;
    limpiarmapa();
    cerrarpaso();
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
    e.guardado = falso;
    plat.dibujar();
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

void nucleo::guardar_Click(const std::string& nombre) {
    if (e.haymapa != verdadero)
        return;
    if (nombre.empty())
        return;
    if (e.inicio[0].colocado != verdadero || e.inicio[1].colocado != verdadero) {
        plat.avisar("Necesita poner la posicion de inicio de los jugadores", "Guardar",
                    icono::critico);
        return;
    }
    if (std::string malo = nombreinvalido(nombre); !malo.empty()) {
        plat.avisar(malo + "\nNo se ha guardado nada.", "Guardar", icono::critico);
        return;
    }
    std::string texto = comun::escribirmapa(plano());
    std::string fallo = plat.escribir(dir + "/" + nombre + ".mapa", texto);
    if (!fallo.empty()) {
        plat.avisar("No se pudo guardar el mapa:\n" + fallo, "Guardar", icono::critico);
        return;
    }
    e.guardado = verdadero;
    plat.ponerestado("GUARDADO");
    plat.refrescar();
}

bool nucleo::Form_QueryUnload() {
    if (e.guardado == verdadero)
        return false;
    return !plat.preguntar("¿Desea salir sin guardar el mapa?", "Guardar");
}

} // namespace editor
