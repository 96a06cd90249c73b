#include "Juego/qt/reproductor.h"

#include "Juego/qt/mezclador.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

// The build hands in the module's name and the layout it installs; these
// are its defaults.
#ifndef TARNHOLLOW_MODULO_SONIDO
#define TARNHOLLOW_MODULO_SONIDO "libtarnhollow-sonido.so"
#endif
#ifndef TARNHOLLOW_MODULOS_RELATIVA
#define TARNHOLLOW_MODULOS_RELATIVA "../lib/games/tarnhollow"
#endif

namespace juego {

namespace {

void sinsonido(const QString& porque) {
    qWarning("Tarnhollow: %s; el juego sigue sin sonido.", qUtf8Printable(porque));
}

} // namespace

reproductor::reproductor(QString carpeta, QObject* padre)
    : QObject(padre), carpeta_(std::move(carpeta)) {}

reproductor::~reproductor() = default;

QStringList reproductor::carpetasmodulo() {
    const QString programa = QCoreApplication::applicationDirPath();
    return {programa, QDir::cleanPath(programa + QLatin1Char('/') +
                                      QStringLiteral(TARNHOLLOW_MODULOS_RELATIVA))};
}

QString reproductor::nombremodulo() {
    return QStringLiteral(TARNHOLLOW_MODULO_SONIDO);
}

void reproductor::preparar() {
    if (intentado_)
        return;
    intentado_ = true;
    QString ruta;
    for (const QString& c : carpetas) {
        const QString r = QDir(c).filePath(nombremodulo());
        if (QFileInfo(r).isFile()) {
            ruta = r;
            break;
        }
    }
    if (ruta.isEmpty()) {
        sinsonido(QStringLiteral("no se encontró el módulo de sonido %1 en %2")
                      .arg(nombremodulo(), carpetas.join(QStringLiteral(", "))));
        return;
    }
    QLibrary modulo(ruta);
    // The mixer's code is the module's: it stays loaded for good.
    modulo.setLoadHints(QLibrary::PreventUnloadHint);
    if (!modulo.load()) {
        sinsonido(QStringLiteral("no se pudo cargar el módulo de sonido (%1)")
                      .arg(modulo.errorString()));
        return;
    }
    const auto fabrica = reinterpret_cast<fabricamezclador>(modulo.resolve(nombrefabrica));
    if (!fabrica) {
        sinsonido(
            QStringLiteral("%1 no es un módulo de sonido de esta versión del juego").arg(ruta));
        return;
    }
    mezclador_.reset(fabrica(carpeta_));
    if (!mezclador_)
        sinsonido(QStringLiteral("el módulo de sonido %1 no dio un reproductor").arg(ruta));
}

void reproductor::reproducir(const QString& nombre, double volumen) {
    preparar();
    if (mezclador_)
        mezclador_->reproducir(nombre, volumen);
}

void reproductor::callar() {
    if (mezclador_)
        mezclador_->callar();
}

} // namespace juego
