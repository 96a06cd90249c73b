#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace juego {

// The replays the game keeps by itself in a folder: the newest `cuantas`
// it archived. It touches only files it wrote: their names are kept in an
// index of its own in the folder, so a replay the player saved there, or
// anything else lying there, is never deleted nor counts among them. Names
// carry the time to the millisecond and a counter, and are created only
// where no file is, so quick matches never overwrite one another; a file
// is written whole beside its name and then put in place.
class archivo {
public:
    explicit archivo(const QString& carpeta, int cuantas = 20);

    // Keeps `datos` as the newest replay and lets the oldest beyond
    // `cuantas` go. Empty when done, otherwise why not, in Spanish: the
    // caller tells the player.
    QString archivar(const std::vector<uint8_t>& datos);

    // The replay `nombre` leaves the archive's care (the player kept it
    // elsewhere, or threw it away): it no longer counts among the last ones
    // and is never deleted by it.
    void soltar(const QString& nombre);

    // The names of the replays it keeps, newest first.
    QStringList archivadas() const;

    // The temporary files a write cut short (the game killed, the power
    // gone) left behind; only ours. Done when the archive is opened.
    void limpiar();

    static bool nombrenuestro(const QString& nombre);

private:
    QStringList leerindice() const;
    bool escribirindice(const QStringList& nombres, QString& error);

    QString carpeta_;
    int cuantas_;
};

} // namespace juego
