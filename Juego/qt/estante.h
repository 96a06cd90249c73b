#pragma once

#include "Juego/nucleo/cabecera.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace juego {

// One file on a shelf, as the list shows it.
struct ficha {
    enum class origen { archivada, conservada, guardada };
    QString ruta;
    origen procedencia = origen::guardada;
    // A file that is no replay or saved match of a version we read is
    // listed all the same, with why, and never deleted from here.
    bool legible = false;
    QString error;
    cabecera datos;
    QDateTime fecha; // when the match started, or the file's own date
};

// The replays or the saved matches in the player's folders: those the game
// archived by itself, those the player kept out of that rotation, and any
// the player saved there. It reads only each file's header, so that a
// folder of a thousand files lists at once.
class estante {
public:
    // `carpeta` is the kind's folder; replays also have their kept ones
    // in `conservadas()`.
    estante(const QString& carpeta, const QString& extension, bool conservar);

    // Every file of the kind, newest first.
    std::vector<ficha> listar() const;

    // Moves an archived or saved replay into the kept folder under `nombre`
    // (the kind's ending added), out of the archive's rotation. Empty when
    // done, otherwise why not; `nueva` is where it is now.
    QString conservar(const ficha& f, const QString& nombre, QString& nueva) const;
    // Sends the file to the desktop's trash; the player can take it back.
    QString borrar(const ficha& f) const;

    QString conservadas() const;

    // The words of the list.
    static QString textojugadores(const cabecera& c);
    static QString textoresultado(const ficha& f);
    static QString textoduracion(uint64_t ticks);

private:
    void leer(const QString& carpeta, ficha::origen o, const QStringList& nuestras,
              std::vector<ficha>& r) const;

    QString carpeta_;
    QString extension_;
    bool conservar_;
};

} // namespace juego
