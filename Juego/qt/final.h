#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QPushButton;
class QTableWidget;

namespace juego {

class mundo;
class cuadro;

// The end of a match with a goal: who won and every fighter's score, over
// the last frame. Revancha starts the same match again; Cerrar leaves the
// last frame in view.
class pantallafinal : public QFrame {
    Q_OBJECT
public:
    explicit pantallafinal(QWidget* padre);

    // Fills the screen from the match that just ended, seen by slot
    // `jugador` ("Tú"), and shows it.
    template <class M> void mostrar(const M& m, int16_t jugador, bool hayrevancha);
    // Back in the middle of the window, after the window changed its size.
    void centrar();

    QLabel* titulo = nullptr;
    QTableWidget* tabla = nullptr;
    QPushButton* revancha = nullptr;
    QPushButton* cerrar = nullptr;

signals:
    void otra();
};

// What is left of the match's goal ("Objetivo: 50 muertes · rojo 12 · azul
// 9 · faltan 38", "Tiempo: 7:32 · rojo 3 · azul 5"), or an empty text for
// the endless match.
template <class M> QString textoobjetivo(const M& m);

// "¡Gana el equipo rojo!", "¡Gana el equipo azul!" or "Empate".
QString textoganador(int ganador);

} // namespace juego
