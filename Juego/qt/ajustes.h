#pragma once

#include "Juego/nucleo/mundo.h"

#include <QByteArray>
#include <QString>

class QSettings;

namespace juego {

// What the game remembers between runs. The settings file is the user's
// to edit, so every value read is checked and a bad one falls back to its
// default.
struct ajustes {
    bool sonido = true;
    bool suave = true;
    bool minimapa = true;
    // The field's zoom around the fighter: 1, 1.5 or 2.
    double zoom = 1.0;
    bool pantallacompleta = false;
    QByteArray geometria; // the window's, as Qt saves it
    // The last match's set-up: a map file name in the maps folder, 1 to 8
    // fighters a team, "Guerrero" or "Arquero", and its goal (5 to 500 kills,
    // or 1 to 60 whole minutes).
    QString mapa;
    int guerreros = 1;
    QString tipo = QStringLiteral("Guerrero");
    objetivo meta;
    // The rules and difficulty chosen last; the seed is never kept, every
    // match draws its own.
    reglas regla;

    static ajustes leer(QSettings& s);
    void escribir(QSettings& s) const;
    // Where the game keeps them.
    static QString organizacion() { return QStringLiteral("Tarnhollow"); }
};

} // namespace juego
