#pragma once

#include "Juego/nucleo/mundo.h"

#include <QWidget>

class QComboBox;
class QSpinBox;

namespace juego {

// The choice of a match's goal, as both set-up windows offer it: "Sin fin"
// (the default), "Primer equipo a N muertes" (5 to 500, 50 at first) or
// "Tiempo límite" (1 to 60 minutes, 10 at first).
class selectorobjetivo : public QWidget {
    Q_OBJECT
public:
    explicit selectorobjetivo(QWidget* padre);

    objetivo elegido() const;
    // Shows a goal chosen before (what elegido gave).
    void poner(const objetivo& o);

    QComboBox* tipo = nullptr;
    QSpinBox* cantidad = nullptr;

private:
    void tipo_Change();
};

} // namespace juego
