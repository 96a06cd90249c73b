#pragma once

#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QSoundEffect;

namespace juego {

// Plays the game's sound files without waiting. A new sound cuts off the one
// still playing. A missing file or no audio device gives silence.
class reproductor : public QObject {
    Q_OBJECT
public:
    explicit reproductor(QString carpeta, QObject* padre = nullptr);
    ~reproductor() override;

    void reproducir(const QString& nombre);

private:
    QString carpeta_;
    std::map<QString, QSoundEffect*> efectos_;
    QSoundEffect* sonando_ = nullptr;
};

} // namespace juego
