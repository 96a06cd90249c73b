#pragma once

#include "Juego/qt/lienzo.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/plataforma.h"
#include "Juego/qt/teclas.h"

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

class reproductor;
class unjugador;

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

    // How messages reach the user; tests replace it to read them.
    std::function<void(const QString& titulo, const QString& texto)> avisar;

    mundo& juego() { return mundo_; }
    unjugador* menu() const;
    static int16_t codigovk(int qtkey);

    // plataforma
    void mostrar(const std::string& texto) override;
    uint16_t tecla(int16_t codigo) override;
    int16_t sonido() const override;
    void ponersonido(int16_t valor) override;
    void reproducir(const std::string& nombre) override;
    bool temporizador() const override;
    void ponertemporizador(bool activo) override;
    void dibujar() override;

    campo* mainpic = nullptr;
    QLabel* status = nullptr;
    QCheckBox* sonido_ = nullptr;
    QTimer* timer = nullptr;
    QMenu* mnuArchivo = nullptr;
    QAction* mnuSolo = nullptr;
    QAction* mnuMulti = nullptr;
    QAction* mnuSalir = nullptr;
    QMenu* mnuAyuda = nullptr;
    QAction* mnuControles = nullptr;
    QAction* mnuAcerca = nullptr;

public slots:
    void timer_Timer();
    void mnuSolo_Click();
    void mnuSalir_Click();
    void mnuControles_Click();
    void mnuAcerca_Click();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();

    mundo mundo_;
    lienzo lienzo_;
    estadoteclas teclas_;
    reproductor* reproductor_ = nullptr;
    QPointer<unjugador> unjugador_;
};

} // namespace juego
