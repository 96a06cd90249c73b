#pragma once

#include <string>
#include <vector>

namespace editor {

enum class icono { informacion, critico, pregunta };

// The answers to "save your changes first?".
enum class decision { guardar, descartar, cancelar };

// Modal message boxes. The window shows real ones; headless tests answer
// them with a recorder.
class avisos {
public:
    virtual ~avisos() = default;
    // A box with one OK button.
    virtual void avisar(const std::string& texto, const std::string& titulo, icono i) = 0;
    // A box with Yes and No; true for Yes. No is the default button: every
    // question asks before something is lost, and Enter must keep it.
    virtual bool preguntar(const std::string& texto, const std::string& titulo) = 0;
    // A box with Guardar, Descartar and Cancelar, before unsaved changes
    // would go: Enter saves, Escape cancels.
    virtual decision decidir(const std::string& texto, const std::string& titulo) = 0;
};

// What the editor needs from the window around it.
class plataforma : public avisos {
public:
    // Draws the whole view from the editor's state.
    virtual void dibujar() = 0;
    virtual void ponerestado(const std::string& texto) = 0;
    // Shows or hides the new-map panel by widening or narrowing the window.
    virtual void mostrarpanel(bool visible) = 0;
    // Writes `texto` as the whole file at `ruta`, replacing any old file only
    // once the new one is complete. Returns an empty text on success,
    // otherwise the reason in Spanish.
    virtual std::string escribir(const std::string& ruta, const std::string& texto) = 0;
    // Lists the maps folders again and selects `elegido` (a file name) when
    // given; otherwise the selection stays.
    virtual void refrescar(const std::string& elegido) = 0;
    // True when a new file can be written in `carpeta` (created if missing).
    virtual bool escribible(const std::string& carpeta) = 0;
    // Puts a map's name into the name box.
    virtual void ponernombre(const std::string& nombre) = 0;
    // The window's caption; `modificado` shows the unsaved-changes marker
    // where the caption holds "[*]".
    virtual void ponertitulo(const std::string& titulo, bool modificado) = 0;
    // What the name box holds now.
    virtual std::string leernombre() = 0;
    // Moves the file at `ruta` to the desktop's trash. Empty on success,
    // otherwise the reason in Spanish.
    virtual std::string tirar(const std::string& ruta) = 0;
    // The file of the map being edited is now `ruta` (opened or saved), or
    // none when empty: the window watches it and remembers it as recent.
    virtual void vigilar(const std::string& ruta) = 0;
    // The system clipboard, as text: what Copiar puts there and Pegar reads
    // (possibly from another editor window).
    virtual void ponerportapapeles(const std::string& texto) = 0;
    virtual std::string leerportapapeles() = 0;
    // Probar: a folder of our own for the maps handed to the game (kept
    // while the editor runs), and the game program; empty when none.
    virtual std::string carpetaprueba() = 0;
    virtual std::string programajuego() = 0;
    // Starts `programa` with `argumentos` on its own, not waiting for it.
    // Empty when it started, otherwise why not, in Spanish.
    virtual std::string lanzar(const std::string& programa,
                               const std::vector<std::string>& argumentos) = 0;
};

} // namespace editor
