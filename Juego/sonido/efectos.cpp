// The sound module: the game's mixer on Qt Multimedia's QSoundEffect. It is
// built as a library of its own and loaded by the game at run time
// (Juego/qt/reproductor.cpp), so that only a game with sound maps it.
#include "Juego/qt/mezcla.h"
#include "Juego/qt/mezclador.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace juego {

namespace {

QtMessageHandler anterior = nullptr;

// Qt Multimedia's own words while it looks for a device: with none, it
// would say so once for every voice of every sound.
void callarmultimedia(QtMsgType tipo, const QMessageLogContext& c, const QString& texto) {
    const bool suyo = (c.category && QByteArray(c.category).startsWith("qt.multimedia")) ||
                      texto.contains(QStringLiteral("PulseAudio")) ||
                      texto.contains(QStringLiteral("audio device"));
    if (!suyo && anterior)
        anterior(tipo, c, texto);
}

bool haysalida() {
    anterior = qInstallMessageHandler(callarmultimedia);
    const bool hay = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(anterior);
    return hay;
}

// The mixing that reproductor.h describes, one QSoundEffect a voice.
class efectos final : public mezclador {
public:
    explicit efectos(QString carpeta) : carpeta_(std::move(carpeta)), hay_(haysalida()) {
        // Said once here; every sound after it is silence.
        if (!hay_)
            qWarning("Tarnhollow: no hay ningún dispositivo de sonido; el juego sigue sin "
                     "sonido.");
    }

    void reproducir(const QString& nombre, double volumen) override {
        if (!hay_)
            return;
        auto it = pistas_.find(nombre);
        if (it == pistas_.end()) {
            // Each file's voices are made once, the first time it is asked for.
            const QString ruta = carpeta_ + QLatin1Char('/') + nombre;
            pista p;
            if (QFileInfo::exists(ruta)) {
                for (int k = 0; k < mezcla::vocesporsonido; ++k) {
                    auto e = std::make_unique<QSoundEffect>();
                    e->setSource(QUrl::fromLocalFile(ruta));
                    p.voces.push_back(std::move(e));
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
        QSoundEffect& e = *p.voces[std::size_t(k)];
        p.turnos[std::size_t(k)] = ++turno_;
        e.stop();
        e.setVolume(float(volumen));
        e.play();
    }

    void callar() override {
        for (auto& [nombre, p] : pistas_)
            for (const auto& e : p.voces)
                e->stop();
    }

private:
    struct pista {
        std::vector<std::unique_ptr<QSoundEffect>> voces; // empty when the file is missing
        std::vector<uint64_t> turnos;
    };

    QString carpeta_;
    bool hay_; // an audio device to play on
    std::map<QString, pista> pistas_;
    uint64_t turno_ = 0;
};

} // namespace

} // namespace juego

// Named as juego::nombrefabrica says.
extern "C" Q_DECL_EXPORT juego::mezclador* tarnhollow_mezclador_1(const QString& carpeta) {
    return new juego::efectos(carpeta);
}
