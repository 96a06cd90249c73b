#pragma once

#include "Comun/basicos.h"
#include "Comun/listamapas.h"
#include "Comun/mapaarchivo.h"
#include "Comun/teclas.h"
#include "Editor/recorte.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace editor {

class plataforma;

using comun::falso;
using comun::verdadero;

inline constexpr int lado = comun::ladorejilla;
inline constexpr int celdasvista = 25; // the view shows 25 x 25 cells
inline constexpr int tamcelda = 20;    // pixels per cell side at 100 %
// The zoom steps: `tamano` pixels show `reduccion` cells along a side. Below
// one pixel per cell a pixel shows one of the cells under it, so that a
// 1000 x 1000 map fits a window of a common screen.
struct nivelzoom {
    int16_t tamano;
    int16_t reduccion;
};
inline constexpr std::array<nivelzoom, 10> niveles = {
    {{1, 2}, {3, 4}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {10, 1}, {20, 1}, {40, 1}}};
// Sides of the new map and of a resize.
inline constexpr int minimolado = 50;
inline constexpr int maximolado = 1000;

// Shift bits as the window hands them over with a key code (Comun/teclas.h).
inline constexpr int16_t mayusculas = 1;
inline constexpr int16_t control = 2;
inline constexpr int16_t alternativa = 4;

// Key codes beyond the letters, as the window hands them over.
inline constexpr int16_t vkescape = 27;
inline constexpr int16_t vksuprimir = 46;

// Mouse buttons as the view hands them over.
inline constexpr int botonizquierdo = 1;
inline constexpr int botonderecho = 2;
inline constexpr int botoncentral = 4;

// Where mirrored painting puts the second cell.
enum class espejo : int16_t {
    centro,     // through the map's centre point
    horizontal, // left and right of the middle column
    vertical,   // above and below the middle row
};

struct casilla {
    int16_t terreno = 0;
    int16_t transitable = verdadero;
    int16_t marca = -1; // team whose start X the cell shows, -1 for none
    friend bool operator==(const casilla&, const casilla&) = default;
};

// A rectangle of cells, corners included.
struct area {
    int x0 = 0;
    int y0 = 0;
    int x1 = -1;
    int y1 = -1;
    int ancho() const { return x1 - x0 + 1; }
    int alto() const { return y1 - y0 + 1; }
    bool contiene(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// What the reach tint shows of a cell.
enum zona : char {
    nadie = 0,      // blocked, or walked to when the teams can meet
    equiporojo = 1, // only team 0 walks there
    equipoazul = 2, // only team 1
    aislada = 3,    // passable, but no team walks there
};

struct entrada {
    int16_t x = 0;
    int16_t y = 0;
    int16_t colocado = falso;
    friend bool operator==(const entrada&, const entrada&) = default;
};

// Everything the window keeps about the map being edited.
struct estado {
    std::vector<casilla> mapa = std::vector<casilla>(std::size_t(lado) * lado);
    std::array<entrada, 3> inicio{}; // entry 2 is never used
    int16_t anchomapa = 0;
    int16_t altomapa = 0;
    int16_t vistax = 0;
    int16_t vistay = 0;
    int16_t haymapa = falso;
    // True while the map equals what was last saved or opened: the undo
    // history is at its clean point.
    int16_t guardado = verdadero;
    // The name of the map as opened or last saved, empty for a new map.
    std::string nombre;
    int16_t pincel = 0;
    int16_t pincelinicio = 0;
    int16_t pintando = falso;
    comun::posicion ultimapincelada{}; // where the drag painted last
    // Power tools: mirrored painting and the rectangle being dragged.
    bool simetrico = false;
    bool rectangulo = false;
    comun::posicion esquina{};
    comun::posicion extremo{};
    espejo modoespejo = espejo::centro;
    int16_t tamanopincel = 1;      // side of the square a stroke paints: 1, 3 or 5
    bool herramientalinea = false; // L: every drag draws a straight line
    bool trazandolinea = false;    // a line is being dragged
    comun::posicion lineadesde{};
    comun::posicion lineahasta{};
    bool lineacerrada = false; // Shift+L: lines without diagonal steps
    bool vertinte = false;     // C: tint what each team can walk to
    // S: the selection tool; the selection and the copy being placed.
    bool herramientaseleccion = false;
    bool seleccionando = false; // the rectangle is being dragged
    bool hayseleccion = false;
    area seleccion{};
    comun::posicion seldesde{};
    bool pegando = false; // Ctrl+V: the copy follows the pointer
    recorte copia;
    comun::posicion pegaren{}; // the copy's top-left cell, may lie off the map
    int16_t guerreros = 4;     // fighters per team when the map is tried
    // Counts every change of a cell or a start, for what is worked out
    // from the map (the tint) and kept until it changes.
    uint64_t version = 0;
    // The view: `tamano` pixels show `reduccion` cells, and the whole cells
    // that fit across and down (25 x 25 at 100 % in a 500 x 500 view).
    int16_t tamano = tamcelda;
    int16_t reduccion = 1;
    double escala() const { return double(tamano) / reduccion; }
    int anchovista = celdasvista * tamcelda;
    int altovista = celdasvista * tamcelda;
    int celdasx() const { return std::max(1, anchovista * reduccion / tamano); }
    int celdasy() const { return std::max(1, altovista * reduccion / tamano); }
    bool arrastrandovista = false; // middle button held
    double arrastrex = 0;
    double arrastrey = 0;
    bool haypuntero = false;
    comun::posicion puntero{}; // the map cell under the pointer
    // Where the pointer is over the view, in pixels, while it is there: the
    // cell under it changes when the view moves under a still pointer too.
    bool ratonenvista = false;
    int ratonx = 0;
    int ratony = 0;

    const casilla& celda(int x, int y) const { return mapa[std::size_t(x) * lado + y]; }
};

// The editor without its window: state, painting, starts, new, open and
// save. Every change of a cell or a start goes through `cambiarcasilla` and
// `cambiarinicio`, which record it in the current step; a stroke, a fill, a
// rectangle or a start placement closes its step into the undo history.
class nucleo {
public:
    // Maps are listed from the program's maps folder `carpeta` and from the
    // user's own `carpetausuario` (the user's map wins on equal names); a
    // save goes to the program's folder when it can be written, else to the
    // user's.
    // `carpetaejemplos` holds the maps that ship with the program, as
    // shipped: they are never written there, and restoring one copies it
    // back from there.
    nucleo(plataforma& p, std::string carpeta, std::string carpetausuario = {},
           std::string carpetaejemplos = {});

    const estado& ver() const { return e; }
    const std::string& carpeta() const { return dir; }
    const std::string& carpetausuario() const { return dirusuario; }
    const std::string& carpetaejemplos() const { return direjemplos; }
    // The file of the map being edited, empty for a new map.
    const std::string& rutaactual() const { return rutaabierta; }
    // Folders to list, the one that wins first.
    std::vector<std::string> carpetas() const;

    // Window load.
    void Form_Load();

    void limpiarmapa();
    // Keeps the view on the map, and the cell under the pointer with it.
    void ajustarvista();
    // Works out the cell under the pointer again; true when it changed.
    bool situarpuntero();
    bool hayespacio(int x, int y) const;

    // Mouse on the view, in pixels of the view; `shift` holds the
    // `mayusculas` and `control` bits.
    void mainpic_MouseDown(int16_t shift, int x, int y, int boton = botonizquierdo);
    void mainpic_MouseMove(int x, int y);
    // The pointer left the view.
    void mainpic_MouseLeave();

    // The view was resized to this many pixels.
    void ponertamanovista(int ancho, int alto);
    // One zoom step in (`pasos` > 0) or out, keeping the cell under the
    // pixel (x, y) of the view where it is.
    void acercar(int pasos, int x, int y);
    // Scrolls by cells, or puts the view's corner at a cell; the status
    // reports the view as the arrow keys do.
    void desplazar(int dx, int dy);
    void ponervista(int x, int y);
    // The map cell at pixel (x, y) of a minimap `lado` pixels on its longer
    // side, the map drawn at its top-left corner; and the view centred there.
    comun::posicion celdaminimapa(int x, int y, int lado) const;
    void minimapa_Click(int x, int y, int lado);
    void mainpic_MouseUp(int x, int y);

    void terrenos_Click(int16_t i);
    void px_Click(int16_t i);

    // `entexto` tells that the key goes to a text box, where letters are
    // typing rather than commands.
    void Form_KeyDown(int16_t codigo, int16_t shift, bool entexto = false);

    void nuevomapa_Click();
    void crear_Click(int ancho, int alto);
    // `archivo` is the selected file name of the list, empty when none.
    void abrir_Click(const std::string& archivo);
    // Opens the map file at `ruta`, from any folder (the open dialog, the
    // recent maps); `titulo` names the action in the question about
    // unsaved changes.
    void abrirruta(const std::string& ruta, const std::string& titulo);
    void guardar_Click(const std::string& nombre);
    // The open map's file changed on disk: offers to load it again.
    void archivocambiado();
    // The list's entry `archivo`: to the trash after a question, or renamed
    // to the typed `texto` by Guardar's rules. Neither touches a shipped map.
    void borrar_Click(const std::string& archivo);
    void renombrar_Click(const std::string& archivo, const std::string& texto);
    // Puts the shipped `archivo` back as it came with the program.
    void restaurar_Click(const std::string& archivo);
    // True when a map of this file name ships with the program.
    bool esejemplo(const std::string& archivo) const;
    // True when the listed map is a changed copy standing in for a shipped one.
    bool ocultaejemplo(const comun::mapalistado& m) const;
    // Brush and zoom as remembered from the last session.
    void recordar(int16_t pincel, int16_t tamanopincel, int16_t tamano);
    // Back to 100 %, around the view's centre.
    void tamanoreal();
    // The largest zoom step that shows the whole map, from its corner.
    void ajustarventana();
    // "100 %", "2,5 %": the zoom as the status shows it.
    std::string informezoom() const;

    // Mapa → Redimensionar: the new size (50 to 1000 a side), where the old
    // map stays (`ancla` 0 to 8: top-left, top, top-right, left, ... in
    // reading order) and the terrain of the cells it gains. One undo step.
    void redimensionar(int ancho, int alto, int ancla, int16_t terreno);

    // The selection: a rectangle of map cells, clipped to the map.
    void seleccionar(int x0, int y0, int x1, int y1);
    void copiar();
    void cortar();
    // Supr: the selection back to grass; starts stay where they are.
    void borrarseleccion();
    // Ctrl+V: the clipboard's copy follows the pointer until a click drops
    // it with its centre on `soltarcopia`'s cell.
    void pegar();
    void soltarcopia(int x, int y);
    // Esc: the copy being placed goes, or else the selection.
    void cancelar();
    // X, Y and Z: mirror left-right, top-bottom, or turn a quarter
    // clockwise the copy being placed, or else the selection with the starts
    // in it. A turned selection keeps its top-left corner.
    void voltear(bool horizontal);
    void girar();
    // Editar → Reflejar la mitad: the half holding the red start (else the
    // first half) copied onto the other by the mirror mode, and the other
    // team's start at the mirror of it.
    void reflejarmitad();

    // Probar (F5): the map as it is, to the game through a temporary file.
    void probar();
    void ponerguerreros(int n);

    // Per map cell, row after row, what the tint shows; `separados` when
    // the two placed starts can't reach each other. Worked out again only
    // after a change.
    struct alcances {
        bool separados = false;
        std::vector<char> celdas;
    };
    const alcances& zonas() const;
    // The recent maps with `ruta` put first, each once, at most `maxrecientes`.
    static constexpr std::size_t maxrecientes = 8;
    static std::vector<std::string> anadirreciente(std::vector<std::string> lista,
                                                   const std::string& ruta);
    // True when the closing must be cancelled.
    bool Form_QueryUnload();

    // The map as written to a file.
    comun::plano plano() const;
    // "( vistax , vistay )", as the status shows it.
    std::string informevista() const;
    // The cell under the pointer, the map's size and the brush, for the status.
    std::string informepuntero() const;

    // The cell that mirrored painting pairs with (x, y).
    comun::posicion espejar(int x, int y) const;
    // The cells of a straight line from `a` to `b`, ends included: one per
    // column or row along its longer side, at any angle.
    // Closed, every step goes along a row or a column, so that a line of
    // walls has no diagonal gap a fighter could step through.
    static std::vector<comun::posicion> celdaslinea(comun::posicion a, comun::posicion b,
                                                    bool cerrada = false);
    // One flag per map cell, row after row: a passable cell that no placed
    // start can walk to. Empty when no start is placed.
    std::vector<char> inalcanzables() const;
    void ponertinte(bool si);

    // The name a typed text stands for: trimmed, without a typed ".mapa".
    static std::string limpiarnombre(const std::string& texto);
    // Why a (cleaned) name can't be a map's file name; empty when it can.
    static std::string nombreinvalido(const std::string& nombre);

    void deshacer();
    void rehacer();
    std::size_t pasosdeshacer() const { return deshechos.size(); }
    std::size_t pasosrehacer() const { return rehechos.size(); }
    // What the next undo or redo takes back ("relleno", "línea", ...),
    // empty when there is none.
    std::string nombredeshacer() const;
    std::string nombrerehacer() const;
    // Bytes held by the undo and redo history.
    std::size_t memoria() const;
    // The history drops its oldest steps beyond this many bytes.
    static constexpr std::size_t limitememoria = 64u << 20;

private:
    // What undoing and redoing a step both do once the cells are back: the
    // map counts as changed and the view, checks and status line follow.
    void trasdeshacer();
    struct cambio {
        int32_t indice;
        casilla antes;
        casilla despues;
    };
    struct cambioinicio {
        int16_t equipo;
        entrada antes;
        entrada despues;
    };
    struct paso {
        uint64_t id = 0; // names the state after the step, for the clean point
        const char* nombre = "";
        std::vector<cambio> casillas;
        std::vector<cambioinicio> inicios;
        // A resize: the highest column and row before and after.
        bool redimension = false;
        std::array<int16_t, 4> tamanos{};
        bool vacio() const { return casillas.empty() && inicios.empty() && !redimension; }
    };

    casilla& celda(int x, int y) { return e.mapa[std::size_t(x) * lado + y]; }
    void cambiarcasilla(int x, int y, casilla nueva);
    void cambiarinicio(int16_t p, entrada nueva);
    void pintar(int x, int y);
    void pincelada(int x, int y);
    void mostrarestado();
    void pintarcelda(int x, int y);
    void rellenar(int x, int y);
    void pintarrectangulo();
    void colocarinicio(int16_t p, int x, int y);
    void cerrarpaso(const char* nombre);
    void olvidar();
    uint64_t punto() const { return deshechos.empty() ? base : deshechos.back().id; }
    // Brings `guardado`, the status and the caption up to date after a change.
    void revisar();
    bool descartar(const std::string& titulo);
    // Loads the file at `ruta` over the map being edited; false (with a
    // message) when it can't be read or isn't a map.
    bool cargar(const std::string& ruta);
    // Where the listed map `archivo` lies, empty when it isn't listed.
    std::string rutalistada(const std::string& archivo) const;
    bool rehusarejemplo(const std::string& archivo, const std::string& titulo);
    comun::posicion enmapa(int x, int y) const;
    std::vector<std::string> problemas() const;
    // Where a team standing at `inicio` can step diagonally out of what it
    // reaches along rows and columns: the cell beyond the gap, if any.
    std::optional<comun::posicion> huecodiagonal(comun::posicion inicio) const;
    // Terrain of one cell, its start mark kept.
    void ponerterreno(int x, int y, int16_t terreno);
    // The selection's terrain.
    recorte tomar(const area& a) const;
    // A new or opened map starts at the fit zoom, without the last map's
    // mirror, selection or copy.
    void empezarmapa();
    void transformar(int modo);
    int nivelactual() const;
    void zoomajustado();
    static std::size_t peso(const paso& p);

    plataforma& plat;
    std::string dir;
    std::string dirusuario;
    std::string direjemplos;
    std::string rutaabierta;     // the file of the map being edited
    std::string disco;           // its bytes as last read or written here
    std::string avisado;         // bytes of an outside change already reported
    std::string ejemploaceptado; // a shipped map the user chose to save over
    uint64_t serie = 0;
    uint64_t base = 0;   // the state before the oldest step kept
    uint64_t limpio = 0; // the state that was saved or opened
    bool muestraguardado = false;
    std::string textoestado = "( 0 , 0 )"; // the view report or the save message
    std::string archivoabierto;            // file name of the map opened or saved
    estado e;
    paso actual;
    std::deque<paso> deshechos;
    std::deque<paso> rehechos;
    std::size_t bytes = 0;
    int pruebas = 0; // maps handed to the game so far
    mutable alcances cachezonas;
    mutable uint64_t versionzonas = ~uint64_t(0);
};

} // namespace editor
