#pragma once

#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/reglas.h"

#include <QFrame>
#include <QRect>
#include <QString>

#include <array>

class QLabel;
class QPushButton;
class QTableWidget;

namespace juego {

class mundo;
class cuadro;

// The end of a match with a goal: who won and every fighter's score, over
// the last frame. Revancha plays the same map, teams and rules again (with
// a new seed); Cerrar leaves the last frame in view.
class pantallafinal : public QFrame {
    Q_OBJECT
public:
    explicit pantallafinal(QWidget* padre);

    // Fills the screen from the match that just ended, played by rules
    // `regla` and seen by slot `jugador` ("Tú"), and shows it.
    template <class M>
    void mostrar(const M& m, int16_t jugador, bool hayrevancha, const reglas& regla = {});
    // Over the middle of the field as drawn (`cuadro`, in the parent's
    // pixels), and as large as the field's scale makes its letters; never
    // so small that it cannot be read, never out of the parent.
    void colocar(const QRect& cuadro);

    // The names of the people in a network match, by slot (empty: none).
    std::array<QString, numunidades> nombres{};

    QLabel* titulo = nullptr;
    // The rules the match was played by.
    QLabel* lblreglas = nullptr;
    QTableWidget* tabla = nullptr;
    QPushButton* revancha = nullptr;
    QPushButton* cerrar = nullptr;

signals:
    void otra();

private:
    void ajustar();

    QRect cuadro_;
    double escala_ = 1.0;
    int jugador_ = -1;
};

// "Reglas: Clásicas", or "Reglas: Equilibradas · Dificultad: Difícil".
QString textoreglas(const reglas& r);

// What is left of the match's goal ("Objetivo: 50 muertes · rojo 12 · azul
// 9 · faltan 38", "Tiempo: 7:32 · rojo 3 · azul 5"), or an empty text for
// the endless match.
template <class M> QString textoobjetivo(const M& m);

// "¡Gana el equipo rojo!", "¡Gana el equipo azul!" or "Empate".
QString textoganador(int ganador);

} // namespace juego
