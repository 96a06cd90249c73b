#include "Juego/qt/carpetasjuego.h"

#include "Comun/carpetas.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace juego {

QString carpetadatos(const QString& nombre) {
    const QString usuario = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QString::fromStdString(comun::primeracarpeta(
        comun::carpetascandidatas(QCoreApplication::applicationDirPath().toStdString(),
                                  usuario.toStdString(), nombre.toStdString())));
}

QString carpetausuario(const QString& nombre) {
    const QString datos = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // No data folder known (no home folder): none at all, rather than a
    // folder at the root of the disk.
    if (datos.isEmpty())
        return {};
    const QString c = datos + QLatin1Char('/') + nombre;
    QDir().mkpath(c);
    return c;
}

} // namespace juego
