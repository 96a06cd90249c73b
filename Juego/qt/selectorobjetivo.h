#pragma once

#include "Juego/nucleo/mundo.h"

#include <QWidget>

class QComboBox;
class QSpinBox;

namespace juego {

// The choice of a match's goal, as both set-up windows offer it: "Sin fin"
// (the default), "Primer equipo a N muertes" (5 to 500, 50 at first) or
// "Tiempo límite" (1 to 60 minutes, 10 at first). The kills asked for start
// at 5 a fighter of a team, and follow the team's size until the player
// picks a number of their own.
class selectorobjetivo : public QWidget {
    Q_OBJECT
public:
    explicit selectorobjetivo(QWidget* padre);

    objetivo elegido() const;
    // Shows a goal chosen before (what elegido gave).
    void poner(const objetivo& o);
    // The fighters a team has now (1 to 8).
    void ponerguerreros(int n);
    static int muertespordefecto(int guerreros) { return 5 * guerreros; }

    QComboBox* tipo = nullptr;
    QSpinBox* cantidad = nullptr;

private:
    void tipo_Change();
    void ponercantidad(int v);

    int guerreros_ = 1;
    // The kills the player chose; 0 while the number follows the teams.
    int muertes_ = 0;
    bool poniendo_ = false;
};

} // namespace juego
