#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace juego {

class mesa;
class selectorobjetivo;
class selectorreglas;

// The set-up window of a single-player match: map, fighters per team and
// the player's type.
class unjugador : public QWidget {
    Q_OBJECT
public:
    explicit unjugador(mesa& juego);

    // The maps folder beside the program.
    static QString carpetamapas();
    // The user's own maps folder.
    static QString carpetausuario();
    // Fills `lista` with the maps of both folders, the user's winning on
    // equal names; each item's Qt::UserRole holds the file's path.
    static void listarmapas(QListWidget* lista);
    // Shows the map of `ruta` (empty for none) in `imagen`, `lado` pixels
    // square, with both starts, and its size in cells in `tamano`.
    static void mostrarmapa(const QString& ruta, QLabel* imagen, QLabel* tamano, int lado);

    std::array<QLabel*, 3> labels{};
    QListWidget* File1 = nullptr;
    QComboBox* guerreros = nullptr;
    QComboBox* tip = nullptr;
    QPushButton* empezar = nullptr;
    // A small picture of the chosen map, and its size.
    QLabel* vistaprevia = nullptr;
    QLabel* tamano = nullptr;
    // The goal of the match, under the preview.
    QLabel* lblobjetivo = nullptr;
    selectorobjetivo* objetivo = nullptr;
    // The rules and the difficulty, under the goal.
    selectorreglas* regla = nullptr;

public slots:
    void empezar_Click();
    void File1_Click();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    // Enter starts, Esc closes.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Form_Load();

    mesa& juego_;
};

} // namespace juego
