#include "Juego/qt/reproductor.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace juego {

reproductor::reproductor(QString carpeta, QObject* padre)
    : QObject(padre), carpeta_(std::move(carpeta)) {}

reproductor::~reproductor() = default;

void reproductor::reproducir(const QString& nombre) {
    auto it = efectos_.find(nombre);
    if (it == efectos_.end()) {
        // Each file is loaded once, the first time it is asked for.
        const QString ruta = carpeta_ + QLatin1Char('/') + nombre;
        QSoundEffect* e = nullptr;
        if (QFileInfo::exists(ruta)) {
            e = new QSoundEffect(this);
            e->setSource(QUrl::fromLocalFile(ruta));
        }
        it = efectos_.emplace(nombre, e).first;
    }
    if (sonando_)
        sonando_->stop();
    sonando_ = it->second;
    if (sonando_)
        sonando_->play();
}

} // namespace juego
