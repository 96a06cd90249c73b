#pragma once

#include "Juego/nucleo/reglas.h"

#include <QWidget>

class QComboBox;
class QFormLayout;
class QLabel;

namespace juego {

// The choice of the rules a match plays by, as both set-up windows offer
// it: "Clásicas" (the default) or "Equilibradas", and the other team's
// difficulty, which only the balanced rules have.
class selectorreglas : public QWidget {
    Q_OBJECT
public:
    explicit selectorreglas(QWidget* padre);

    // The rules chosen, with no seed: each match draws its own.
    reglas elegidas() const;
    // Shows rules chosen before.
    void poner(const reglas& r);
    // Hands both rows to a form of the window, to line up with its other
    // rows; the selector keeps driving them.
    void llevara(QFormLayout* f);

    QLabel* lblmodo = nullptr;
    QComboBox* modo = nullptr;
    QLabel* lblnivel = nullptr;
    QComboBox* nivel = nullptr;

private:
    void modo_Change();
};

} // namespace juego
