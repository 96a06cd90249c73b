#pragma once

#include "Editor/cajas.h"
#include "Editor/nucleo.h"
#include "Editor/plataforma.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QMenu;
class QPainter;
class QScrollBar;
class QTemporaryDir;
class QTimer;
class QComboBox;
class QFileSystemWatcher;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace editor {

class vista;

// The editor window. Controls keep their designer names; the handlers turn
// events into calls of the editor core and its state into pixels and texts.
class main : public QMainWindow, private plataforma {
public:
    // `carpeta` is the program's maps folder, `carpetausuario` the user's
    // own (none when empty); both are listed, and saves go to the user's
    // when the program's can't be written. `carpetaejemplos` holds the maps
    // as shipped (none when empty).
    explicit main(const QString& carpeta, const QString& carpetausuario = QString(),
                  const QString& carpetaejemplos = QString(), QWidget* padre = nullptr);
    ~main() override;

    const nucleo& centro() const { return *nuc; }
    // Message boxes go here; tests put a recorder in place of the real boxes.
    void ponermensajes(avisos* a) { mensajes = a ? a : &reales; }

    // The window opens at this size; the controls of the first 662 pixels
    // keep their places, the column beyond holds the new-map panel (shown by
    // "Mapa nuevo") and the minimap with its scroll bars. A larger window
    // gives the map view the extra room.
    static constexpr int anchocliente = 840;
    static constexpr int altocliente = 519;
    static constexpr int ladominimapa = 150;

    // Everything below the menu bar; its size is the client area that the
    // controls' places are measured in.
    QWidget* cuerpo;
    vista* mainpic;
    QLabel* status;
    QLabel* Label1;
    QLineEdit* nombre;
    QPushButton* guardar;
    QListWidget* file;
    QPushButton* abrir;
    QPushButton* nuevomapa;
    QLabel* Label2;
    std::array<vista*, 6> terrenos;
    QLabel* Label6;
    std::array<vista*, 2> px;
    QFrame* frame;
    QLabel* Label3;
    QLabel* Label4;
    QComboBox* ancho;
    QLabel* Label5;
    QComboBox* alto;
    QPushButton* crear;
    QCheckBox* tinte;
    vista* minimapa;
    QScrollBar* barrax;
    QScrollBar* barray;

    // The menus' actions, by the names they are found under in tests.
    QAction* mnuNuevo = nullptr;
    QAction* mnuAbrir = nullptr;
    QAction* mnuGuardar = nullptr;
    QAction* mnuGuardarcomo = nullptr;
    QMenu* mnuRecientes = nullptr;
    QAction* mnuRestaurar = nullptr;
    QAction* mnuBorrar = nullptr;
    QAction* mnuRenombrar = nullptr;
    QAction* mnuSalir = nullptr;
    QAction* mnuDeshacer = nullptr;
    QAction* mnuRehacer = nullptr;
    QAction* mnuAcercar = nullptr;
    QAction* mnuAlejar = nullptr;
    QAction* mnuTamanoreal = nullptr;
    QAction* mnuMinimapa = nullptr;
    QAction* mnuTinte = nullptr;
    QAction* mnuEspejo = nullptr;
    QAction* mnuCopiar = nullptr;
    QAction* mnuCortar = nullptr;
    QAction* mnuPegar = nullptr;
    QAction* mnuBorrarseleccion = nullptr;
    QAction* mnuSeleccion = nullptr;
    QAction* mnuVoltearx = nullptr;
    QAction* mnuVolteary = nullptr;
    QAction* mnuGirar = nullptr;
    QAction* mnuReflejar = nullptr;
    QAction* mnuAjustar = nullptr;
    QAction* mnuRedimensionar = nullptr;
    QAction* mnuProbar = nullptr;
    QAction* mnuGuerreros = nullptr;
    QAction* mnuControles = nullptr;
    QAction* mnuAcerca = nullptr;
    QWidget* ayuda = nullptr; // the help window, made when first shown

    // The window's help text as rows of key and action.
    void mnuControles_Click();
    void mnuAcerca_Click();
    void mnuAbrir_Click();
    void mnuGuardarcomo_Click();
    void mnuRestaurar_Click();
    void mnuBorrar_Click();
    void mnuRenombrar_Click();
    void abrirreciente(const QString& ruta);
    void mnuRedimensionar_Click();
    void mnuGuerreros_Click();

    // Probar starts the game through this; tests put a recorder here. It
    // returns why the program didn't start, empty when it did.
    std::function<QString(const QString& programa, const QStringList& argumentos)> lanzador;
    // Where the game is looked for, the first that can be run wins: beside
    // the editor in a build, beside it once installed (both in games/),
    // then on the PATH.
    QStringList sitiosjuego;
    QStringList recientes() const;

    // The whole redraw (view and minimap), and the minimap alone.
    void redibujar() { dibujar(); }
    void dibujarminimapa();
    // No map yet: the view says how to get one, and the view's scroll bars
    // wait for a map to scroll.
    void pintarvacio();

    void guardar_Click();
    void abrir_Click();
    void nuevomapa_Click();
    void crear_Click();
    // After Crear or Abrir: the map, once there is one, takes the keys.
    void mirarmapa();

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;
    void closeEvent(QCloseEvent* ev) override;

private:
    // plataforma
    void avisar(const std::string& texto, const std::string& titulo, icono i) override;
    bool preguntar(const std::string& texto, const std::string& titulo) override;
    void dibujar() override;
    void ponerestado(const std::string& texto) override;
    void mostrarpanel(bool visible) override;
    std::string escribir(const std::string& ruta, const std::string& texto) override;
    void refrescar(const std::string& elegido) override;
    bool escribible(const std::string& carpeta) override;
    void ponernombre(const std::string& texto) override;
    void ponertitulo(const std::string& titulo, bool modificado) override;
    decision decidir(const std::string& texto, const std::string& titulo) override;
    std::string leernombre() override;
    std::string tirar(const std::string& ruta) override;
    void vigilar(const std::string& ruta) override;
    void ponerportapapeles(const std::string& texto) override;
    std::string leerportapapeles() override;
    std::string carpetaprueba() override;
    std::string programajuego() override;
    std::string lanzar(const std::string& programa,
                       const std::vector<std::string>& argumentos) override;
    // The copy being placed, over the view.
    void dibujarcopia(QPainter& p);

    void crearmenus();
    // Undo and redo name their step; the check marks follow the map.
    void actualizarmenus();
    // Places the controls for the client area's size.
    void colocar();
    // The selected brush's frame, drawn on the client area.
    void pintarmarco();
    // The map list's selected entry, or the open map's file when none.
    std::string elegido() const;
    void guardarajustes();

    void cargarimagenes();
    // Tint, line preview, mirror and pointer over the drawn cells.
    void dibujarencima(QPainter& p);
    void escalar();
    void Form_KeyDown(QObject* obj, QKeyEvent* ev);

    QString dir;
    QString dirusuario;
    QFileSystemWatcher* vigia;
    QFileSystemWatcher* vigiamapa; // the open map's own file
    cajas reales;
    avisos* mensajes;
    std::unique_ptr<nucleo> nuc;
    std::array<QImage, 6> tiles;
    std::array<QImage, 2> equis;
    // The pictures at the view's current cell size, and each terrain's
    // mean colour for the minimap.
    int escala = 0;
    std::array<QImage, 6> tilesvista;
    std::array<QImage, 2> equisvista;
    std::array<QRgb, 6> colores{};
    // Controls right of the view and where they sit at the opening size.
    std::vector<std::pair<QWidget*, QPoint>> derecha;
    // The key preview sees a key once, at its first receiver, not again
    // while it travels up to the parents.
    const QEvent* ultimatecla = nullptr;
    QObject* ultimoreceptor = nullptr;
    // The maps handed to the game, removed when the editor closes.
    std::unique_ptr<QTemporaryDir> prueba;
    // The selection's outline marches.
    QTimer* hormigas;
    int paso = 0;
};

} // namespace editor
