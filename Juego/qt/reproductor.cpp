#include "Juego/qt/reproductor.h"

#include "Juego/qt/mezcla.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace juego {

reproductor::reproductor(QString carpeta, QObject* padre)
    : QObject(padre), carpeta_(std::move(carpeta)) {}

reproductor::~reproductor() = default;

void reproductor::reproducir(const QString& nombre, double volumen) {
    auto it = pistas_.find(nombre);
    if (it == pistas_.end()) {
        // Each file's voices are made once, the first time it is asked for.
        const QString ruta = carpeta_ + QLatin1Char('/') + nombre;
        pista p;
        if (QFileInfo::exists(ruta)) {
            for (int k = 0; k < mezcla::vocesporsonido; ++k) {
                auto* e = new QSoundEffect(this);
                e->setSource(QUrl::fromLocalFile(ruta));
                p.voces.push_back(e);
                p.turnos.push_back(0);
            }
        }
        it = pistas_.emplace(nombre, std::move(p)).first;
    }
    pista& p = it->second;
    std::vector<mezcla::voz> voces;
    for (std::size_t k = 0; k < p.voces.size(); ++k)
        voces.push_back({p.voces[k]->isPlaying(), p.turnos[k]});
    const int k = mezcla::elegirvoz(voces);
    if (k < 0)
        return;
    QSoundEffect* e = p.voces[std::size_t(k)];
    p.turnos[std::size_t(k)] = ++turno_;
    e->stop();
    e->setVolume(float(volumen));
    e->play();
}

void reproductor::callar() {
    for (auto& [nombre, p] : pistas_)
        for (QSoundEffect* e : p.voces)
            e->stop();
}

} // namespace juego
