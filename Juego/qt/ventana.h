#pragma once

#include "Comun/teclas.h"
#include "Juego/nucleo/partida.h"
#include "Juego/nucleo/plataforma.h"
#include "Juego/qt/lienzo.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QTimer;

namespace juego {

class multijugador;
class reproductor;
class sesionred;
class unjugador;
class visor;

// The play field: shows the last frame drawn and hands clicks to the game.
class campo : public QWidget {
    Q_OBJECT
public:
    explicit campo(QWidget* padre = nullptr);
    QImage imagen;

signals:
    void pulsado(int px, int py);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
};

// The game window.
class main : public QMainWindow, public plataforma {
    Q_OBJECT
public:
    main();
    ~main() override;

    // Starts a match on the map file at `ruta`. A file the game cannot play
    // is refused with a message and the running match goes on untouched.
    bool cargarmapa(const QString& ruta, int16_t maxp, int16_t tipo);
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
    // How a file name is asked for (save or open); tests replace it. An
    // empty answer means the user cancelled.
    std::function<QString(bool guardar, const QString& titulo, const QString& carpeta,
                          const QString& filtro)>
        pedirarchivo;

    mundo& juego() { return partida_.juego(); }
    partida& partidaactual() { return partida_; }
    visor* visoractual() const { return visor_; }
    unjugador* menu() const;
    static int16_t codigovk(int qtkey);
    // The user's own folders for replays and saved matches, made if missing.
    static QString carpetausuario(const QString& nombre);
    // How many automatic replays are kept.
    static constexpr int repeticionesguardadas = 20;

    // plataforma
    int16_t sonido() const override;
    void ponersonido(int16_t valor) override;
    void ponertemporizador(bool activo) override;
    void dibujar() override;

    // Shows and plays what the match reported.
    void procesar(const sucesos& s);

    // A network match takes over the window (the match being left is kept
    // among the replays); while it runs, keys, clicks and the clock are its.
    void empezarred(sesionred* s);
    // The network match ends here: the field stays on its last frame with
    // `texto` in the status line.
    void terminarred(const QString& texto);
    sesionred* red() const { return red_; }
    multijugador* menured() const;

    campo* mainpic = nullptr;
    QLabel* status = nullptr;
    QCheckBox* sonido_ = nullptr;
    QTimer* timer = nullptr;
    QMenu* mnuArchivo = nullptr;
    QAction* mnuSolo = nullptr;
    QAction* mnuMulti = nullptr;
    QAction* mnuVerRepeticion = nullptr;
    QAction* mnuGuardarRepeticion = nullptr;
    QAction* mnuGuardarPartida = nullptr;
    QAction* mnuCargarPartida = nullptr;
    QAction* mnuSalir = nullptr;
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
    // The match being left is kept among the automatic replays.
    void archivarpartida();
    void archivar_(const repeticion& r);
    void cerrarvisor();
    void quitarvisor();

    partida partida_;
    lienzo lienzo_;
    comun::estadoteclas teclas_;
    reproductor* reproductor_ = nullptr;
    visor* visor_ = nullptr;
    QPointer<unjugador> unjugador_;
    QPointer<multijugador> multijugador_;
    sesionred* red_ = nullptr;
};

} // namespace juego
