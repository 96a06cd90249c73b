#include "Comun/qt/carpetas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace comun {

QStringList carpetascandidatas(const QString& programa, const QString& usuario,
                               const QString& nombre) {
    // The data folder's place relative to the programs' folder comes from
    // the build's install layout (../share/games/tarnhollow by default).
    const QString instalada =
        QDir::cleanPath(programa + QLatin1Char('/') + QStringLiteral(TARNHOLLOW_DATOS_RELATIVA));
    QStringList candidatas{programa + QLatin1Char('/') + nombre,
                           instalada + QLatin1Char('/') + nombre};
    // No home folder at all (a service with no HOME): no user folder.
    if (!usuario.isEmpty())
        candidatas << usuario + QLatin1Char('/') + nombre;
    return candidatas;
}

QString primeracarpeta(const QStringList& candidatas) {
    for (const QString& c : candidatas)
        if (QFileInfo(c).isDir())
            return c;
    return candidatas.value(0);
}

QString carpetadatos(const QString& nombre) {
    return primeracarpeta(carpetascandidatas(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), nombre));
}

} // namespace comun
