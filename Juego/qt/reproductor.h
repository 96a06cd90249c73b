#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace juego {

class mezclador;

// Plays the game's sound files without waiting, mixed: each file has a few
// voices, so sounds overlap instead of cutting each other off; when all of a
// file's voices are busy the oldest is reused. A missing file or no audio
// device gives silence.
//
// The playing is done by the sound module (see mezclador.h), loaded the
// first time it is needed: by `preparar` when a match with sound starts, or
// else by the first sound. A module that is missing or cannot be loaded
// gives silence too, and says why once on stderr.
class reproductor : public QObject {
    Q_OBJECT
public:
    explicit reproductor(QString carpeta, QObject* padre = nullptr);
    ~reproductor() override;

    // Plays `nombre` at `volumen` (0 to 1).
    void reproducir(const QString& nombre, double volumen = 1.0);
    // Stops every sound still playing; with nothing loaded yet, nothing
    // plays, so nothing is loaded for it.
    void callar();
    // Loads the module now, so that the first sound of a match does not
    // wait for it. Only the first call tries.
    void preparar();
    // Whether the module is loaded and its mixer made.
    bool listo() const { return mezclador_ != nullptr; }

    // Where the module is looked for, the first holding it wins: the
    // program's own folder (a build), then the installed modules folder as
    // seen from the program's folder, so any install prefix works.
    static QStringList carpetasmodulo();
    // The module's file name.
    static QString nombremodulo();
    // The folders this one searches; tests point it elsewhere before the
    // first sound.
    QStringList carpetas = carpetasmodulo();

private:
    QString carpeta_;
    std::unique_ptr<mezclador> mezclador_;
    bool intentado_ = false;
};

} // namespace juego
