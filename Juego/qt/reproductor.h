#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

class QSoundEffect;

namespace juego {

// Plays the game's sound files without waiting, mixed: each file has a few
// voices, so sounds overlap instead of cutting each other off; when all of a
// file's voices are busy the oldest is reused. A missing file or no audio
// device gives silence.
class reproductor : public QObject {
    Q_OBJECT
public:
    explicit reproductor(QString carpeta, QObject* padre = nullptr);
    ~reproductor() override;

    // Plays `nombre` at `volumen` (0 to 1).
    void reproducir(const QString& nombre, double volumen = 1.0);
    // Stops every sound still playing.
    void callar();

private:
    struct pista {
        std::vector<QSoundEffect*> voces; // empty when the file is missing
        std::vector<uint64_t> turnos;
    };

    QString carpeta_;
    std::map<QString, pista> pistas_;
    uint64_t turno_ = 0;
};

} // namespace juego
