#pragma once

#include "Comun/teclas.h"
#include "Juego/qt/ajustes.h"
#include "Juego/qt/capas.h"
#include "Juego/qt/carpetasjuego.h"
#include "Juego/qt/cuadro.h"
#include "Juego/qt/jugada.h"
#include "Juego/qt/lienzo.h"
#include "Juego/qt/mesa.h"
#include "Juego/qt/simulacion.h"
#include "Juego/qt/suave.h"

#include <QElapsedTimer>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QPainter;
class QCheckBox;
class QLabel;
class QMenu;
class QTimer;

namespace juego {

class pantallafinal;
class multijugador;
class reproductor;
class sesionred;
class unjugador;
class visor;

// The play field: shows the last frame drawn, scaled to the widget with the
// overlays over it, and hands clicks to the game as pixels of the frame.
class campo : public QWidget {
    Q_OBJECT
public:
    explicit campo(QWidget* padre = nullptr);
    // The frame as drawn, always 800 x 600 once a match has been drawn, and
    // none before.
    QImage imagen;
    // What is drawn over it, and the state and view it was drawn from.
    const capas* encima = nullptr;
    const cuadro* estado = nullptr;
    int16_t vistax = 0;
    int16_t vistay = 0;
    // When set, paints the field instead (the motion between ticks).
    std::function<void(QPainter&, const QRect&)> pintar;

    // Where the frame goes in an area of this size: whole-number scaling
    // where it fills most of the area, so pixels stay crisp, smooth scaling
    // otherwise; centred, keeping its shape.
    static QRect encuadre(QSize area);
    // The frame's pixel under point `pos` of an area of this size; none on
    // the bars around the frame.
    static std::optional<QPoint> pixeldecampo(QSize area, QPoint pos);

    // Keeps a label (a child of this widget) over the frame as drawn, in a
    // corner or at the middle of an edge (`donde`), four frame pixels in,
    // with letters `letra` frame pixels high: it grows and moves with the
    // frame, as what is drawn in the frame does.
    void sobreponer(QLabel* l, Qt::Alignment donde, int letra);
    // Lays those labels out again; after a label's text changed, say.
    void colocarencima();

signals:
    void pulsado(int px, int py);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent*) override;

private:
    struct sobrepuesta {
        QPointer<QLabel> etiqueta; // a label may go before the field does
        Qt::Alignment donde;
        int letra;
    };
    std::vector<sobrepuesta> encima_;
};

// The player's life as a bar beside the status line.
class barravida : public QWidget {
    Q_OBJECT
public:
    explicit barravida(QWidget* padre = nullptr);
    void ponervida(int v);
    int vida() const { return vida_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int vida_ = -1; // -1: no match
};

// A label over the field, light text on a dark band, that the mouse goes
// through: the network players' list and the game's short messages.
QLabel* etiquetacampo(QWidget* campo);

// The game window. Its match runs on the simulation's thread
// (`simulacion`); the window sends it input and draws the newest frame.
// What the field shows (a match of its own, a replay, a network match) is
// one `jugada` at a time, which gets the player's input and the frames.
class main : public QMainWindow, public mesa {
    Q_OBJECT
public:
    main();
    ~main() override;

    // Starts a match on the map file at `ruta`. A file the game cannot play
    // is refused with a message and the running match goes on untouched.
    // Rules with no seed get a fresh one: no two matches started here play
    // the same.
    bool cargarmapa(const QString& ruta, int16_t maxp, int16_t tipo, objetivo meta = {},
                    reglas regla = {}) override;
    // Saves the running match to `ruta` / restores a saved one; false (and
    // a message) on failure, with the running match untouched.
    bool guardarpartida(const QString& ruta);
    bool cargarpartida(const QString& ruta);
    // Saves the running match's replay to `ruta`.
    bool guardarrepeticion(const QString& ruta);
    // Plays the replay at `ruta` on the field; the running match ends.
    bool verrepeticion(const QString& ruta);

    // How messages reach the user; tests replace it to read them.
    std::function<void(const QString& titulo, const QString& texto)> avisar;
    // How a yes-or-no question is put to the user (No unless they say so);
    // tests replace it.
    std::function<bool(const QString& titulo, const QString& texto)> confirmar;
    // How a file name is asked for (save or open); tests replace it. An
    // empty answer means the user cancelled.
    std::function<QString(bool guardar, const QString& titulo, const QString& carpeta,
                          const QString& filtro)>
        pedirarchivo;
    // How a replay or a saved match to open is picked: from the list of
    // those in the player's folders, or any file through `pedirarchivo`.
    std::function<QString(const QString& titulo, const QString& carpeta, const QString& filtro,
                          const QString& extension)>
        elegirarchivo;

    QWidget* ventana() override { return this; }
    // The newest frame of the match: what is on screen.
    const cuadro& juego() const override { return *cuadro_; }
    simulacion& simulacionactual() override { return *sim_; }
    // Sends input to the match; its frame comes back later. (`esperar`
    // asks it and waits, with the frame drawn.)
    void enviar(std::function<sucesos(partida&)> f) override;
    // Waits until the match handled everything sent and its frames are
    // drawn. With `sincrono` (tests), every input waits like this.
    void sincronizar();
    bool sincrono = sincronos;
    // What `sincrono` starts as in every new window (tests set it).
    static inline bool sincronos = false;
    // Stops the match's clock (tests drive the ticks by hand).
    void pararreloj();
    // Whether the match's clock runs (or a replay's, while one is watched).
    bool relojactivo() const;
    // The whole match now, as a save writes it.
    std::vector<uint8_t> instantanea();
    // The replay being watched, or the network match played, if that is
    // what the field shows.
    visor* visoractual() const;
    sesionred* red() const override;
    reproductor* reproductoractual() const { return reproductor_; }
    capas& encima() override { return capas_; }
    // What the game remembers between runs, as it stands now.
    const ajustes& recordado() const override { return ajustes_; }
    // The set-up of the match just started, for the next run.
    void recordarpartida(const QString& mapa, int guerreros, const QString& tipo,
                         const objetivo& meta, const reglas& regla = {}) override;
    // The rules of a network match just started, for the next run.
    void recordarreglas(const reglas& regla) override;
    // A seed for a match's own random source: never 0, which the rules read
    // as none chosen.
    static uint32_t semillanueva();
    // Writes what the game remembers (the window does when it goes).
    void guardarajustes();
    unjugador* menu() const;
    static int16_t codigovk(int qtkey);
    // Where a window of size `tamano` opens: centred over the game window
    // (`sobre`, its frame), moved in as little as it takes to stay on the
    // screen's free area `pantalla`, its top-left corner first.
    static QPoint encima(QRect sobre, QSize tamano, QRect pantalla);
    // The game's data folders and the user's (carpetasjuego.h).
    static QString carpetadatos(const QString& nombre) { return juego::carpetadatos(nombre); }
    static QString carpetausuario(const QString& nombre) { return juego::carpetausuario(nombre); }
    // How many automatic replays are kept.
    static constexpr int repeticionesguardadas = 20;

    int16_t sonido() const override;
    void ponersonido(int16_t valor) override;
    // Draws the newest frame.
    void dibujar();

    // Shows and plays what the match reported.
    void procesar(const sucesos& s) override;
    // Keeps `r` among the archived replays (a network copy's record before
    // the host replaces its match); a failure is told on the field.
    void archivar(const repeticion& r) override;
    // A short message at the top left of the field: the last four stay,
    // each for a few seconds (a save, a player who joined, a kill).
    void decir(const QString& texto) override;
    void borrardichos() override;
    void ponerestado(const QString& texto) override;
    QLabel* etiqueta(Qt::Alignment donde, int letra) override;
    void colocarencima() override;
    // Through `avisar` and `confirmar`.
    void alertar(const QString& titulo, const QString& texto) override;
    bool preguntar(const QString& titulo, const QString& texto) override;
    // How long each of those messages stays, in ms; tests shorten it.
    int duraciondicho = 6000;

    // A kind of play of its own (a network match) takes over the window;
    // while it runs, keys, clicks and the clock are its.
    void empezarjugada(jugada* j) override;
    // The replay or network match on the field ends; a match of the
    // window's own goes on untouched.
    void terminarjugada(const QString& texto) override;
    bool dejarjugada(const QString& titulo) override;
    void reempezar(revancha r, const std::function<void(partida&)>& alempezar) override;
    multijugador* menured() const;

    campo* mainpic = nullptr;
    QLabel* status = nullptr;
    // The goal and what is left of it, over the field's top edge.
    QLabel* lblobjetivo = nullptr;
    QLabel* mensajes = nullptr; // what decir says
    pantallafinal* final_ = nullptr;
    QCheckBox* sonido_ = nullptr;
    barravida* vida = nullptr;
    QLabel* marcador = nullptr; // both teams' kills
    // The display's clock while fighters glide between ticks.
    QTimer* fotogramas = nullptr;
    QMenu* mnuArchivo = nullptr;
    QAction* mnuSolo = nullptr;
    QAction* mnuMulti = nullptr;
    QAction* mnuVerRepeticion = nullptr;
    QAction* mnuGuardarRepeticion = nullptr;
    QAction* mnuGuardarPartida = nullptr;
    QAction* mnuCargarPartida = nullptr;
    QAction* mnuSalir = nullptr;
    QMenu* mnuOpciones = nullptr;
    QAction* mnuSuave = nullptr;
    QAction* mnuMinimapa = nullptr;
    QAction* mnuPantallaCompleta = nullptr;
    QMenu* mnuAyuda = nullptr;
    QAction* mnuControles = nullptr;
    QAction* mnuAcerca = nullptr;

public slots:
    void timer_Timer();
    void mnuSolo_Click();
    void mnuMulti_Click();
    void mnuVerRepeticion_Click();
    void mnuGuardarRepeticion_Click();
    void mnuGuardarPartida_Click();
    void mnuCargarPartida_Click();
    void mnuSalir_Click();
    void mnuControles_Click();
    void mnuAcerca_Click();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    // While one of the window's dialogs is open, the match (or the replay
    // being watched) waits: no enemy strikes behind a question or an error.
    // Nothing of the match changes; its ticks only come later.
    class relojparado {
    public:
        explicit relojparado(main& v);
        ~relojparado();
        relojparado(const relojparado&) = delete;
        relojparado& operator=(const relojparado&) = delete;

    private:
        main& v_;
        QPointer<QTimer> reloj_; // a replay's viewer may go meanwhile
        bool propio_;            // the field had a clock of its own
        bool corria_;
    };

    // Asks for a file of one kind (`tipo`, as "Partidas", and its extension)
    // in the user's `subcarpeta`, with the match held meanwhile; a file to
    // save always ends in the extension. Empty when the player cancels.
    QString preguntarruta(bool guardar, const QString& titulo, const QString& subcarpeta,
                          const QString& tipo, const QString& extension);
    // Changes the match on the field; the match it replaces is archived
    // if the change is made. Returns why not. With `modo`, the clock goes
    // to it in the same step on the simulation's thread: a new match's
    // start asks for the game's clock, which in the old mode could tick the
    // new match (a replay) before the window got round to handing it over.
    std::string cambiarpartida(const std::function<std::string(partida&)>& cambio,
                               std::optional<simulacion::modo> modo = std::nullopt);
    // Puts a new match on the field with `cambio`, played by `nueva` (the
    // window's own kind of play when null), or tells why not under `titulo`
    // (also when `yamal` already says why) and changes nothing.
    bool reemplazarpartida(const QString& titulo, const std::string& yamal, sucesos& s,
                           std::unique_ptr<jugada> nueva,
                           const std::function<std::string(partida&, sucesos&)>& cambio);
    // A match is starting: with sound on, the sound module is loaded now.
    void prepararsonido();
    void archivarpartida();
    // What was kept last among the replays: its start and how far it went.
    // The match on the field may be left twice without changing in between
    // (joining a network match that then fails), and it is kept once.
    std::vector<uint8_t> archivadainicio_;
    uint64_t archivadaticks_ = 0;
    std::size_t archivadapasos_ = 0;
    // `nueva` (the window's own match when null) takes the field; the one
    // there goes, deleted later (it may be in one of its own handlers).
    void ponerjugada(jugada* nueva);
    void esperaren(const std::function<void(partida&)>& f) override;
    // Lays the field and the status row out over the client area.
    void colocar();
    void mostrarencima(QWidget* w);
    void mostrarmarcador();
    void pantallacompleta();
    void ponerminimapa(bool visible);
    // Motion: how far between the last two frames the screen is now (1 when
    // motion is off or nothing glides), and the field drawn there.
    double fraccion() const;
    void pintarsuave(QPainter& p, const QRect& destino);
    int intervalo() const;
    // The clock that drives the field: the replay viewer's while one is
    // watched, none (the simulation's) otherwise.
    QTimer* relojactual() const;
    // A frame came from the simulation.
    void alcuadro(std::shared_ptr<const cuadro> c, const sucesos& s);
    // Draws the frames that came meanwhile.
    void entregar();

    // What the simulation sends the window arrives here, so that a wait
    // (`entregar`) hands over frames and nothing else queued for the
    // window: a call queued to it meanwhile runs later, not inside the
    // wait of whatever handler is running.
    QObject buzon_;
    std::unique_ptr<simulacion> sim_;
    std::shared_ptr<const cuadro> cuadro_;
    bool entregando_ = false;
    lienzo lienzo_;
    capas capas_;
    ajustes ajustes_;
    lienzosuave lienzosuave_;
    instante antes_;
    instante ahora_;
    bool haymovimiento_ = false; // antes_ and ahora_ are of this match
    QElapsedTimer desde_;        // since ahora_'s tick was drawn
    QImage cuadrosuave_;
    QPointF vistamostrada_; // the view of the last frame on screen
    reproductor* reproductor_ = nullptr;
    // What the field shows: the window's own match (`local_`, always
    // there) or another kind of play that took over.
    jugadalocal* local_ = nullptr;
    jugada* jugada_ = nullptr;
    // The messages shown, oldest first, each with its number in order of
    // arrival, so that each one's timer takes away that one.
    QList<std::pair<quint64, QString>> dichos_;
    quint64 dichosnumerados_ = 0;
    QPointer<unjugador> unjugador_;
    // How the last match was started, for Revancha.
    std::optional<revancha> ultima_;
    QPointer<multijugador> multijugador_;
};

} // namespace juego
