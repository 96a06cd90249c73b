#include "Juego/qt/archivo.h"

#include "Comun/escritura.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace juego {

namespace {

const QString indice = QStringLiteral(".tarnhollow-archivo");
const QString prefijotemporal = QStringLiteral(".tarnhollow-archivo-");

// The names the archive gives: the date and time to the millisecond and a
// counter. Only these are ever deleted, and only when the index lists them.
const QRegularExpression
    patron(QStringLiteral("^partida-\\d{8}-\\d{6}-\\d{3}-\\d{1,4}\\.repeticion$"));

QString sistema(int numero) {
    return QString::fromLocal8Bit(std::strerror(numero));
}

bool escribirtodo(int fd, const std::vector<uint8_t>& datos) {
    std::size_t hecho = 0;
    while (hecho < datos.size()) {
        const ssize_t n = ::write(fd, datos.data() + hecho, datos.size() - hecho);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        hecho += std::size_t(n);
    }
    return ::fsync(fd) == 0;
}

} // namespace

archivo::archivo(const QString& carpeta, int cuantas) : carpeta_(carpeta), cuantas_(cuantas) {
    limpiar();
}

bool archivo::nombrenuestro(const QString& nombre) {
    return patron.match(nombre).hasMatch();
}

void archivo::limpiar() {
    if (carpeta_.isEmpty())
        return;
    QDir d(carpeta_);
    for (const QString& n :
         d.entryList({prefijotemporal + QLatin1Char('*')}, QDir::Files | QDir::Hidden))
        d.remove(n);
}

QStringList archivo::leerindice() const {
    QStringList r;
    if (carpeta_.isEmpty())
        return r;
    QFile f(carpeta_ + QLatin1Char('/') + indice);
    if (!f.open(QIODevice::ReadOnly) || f.size() > (1 << 20))
        return r;
    for (const QByteArray& l : f.readAll().split('\n')) {
        const QString n = QString::fromUtf8(l).trimmed();
        // A hand-edited index cannot point the clean-up at another file.
        if (nombrenuestro(n) && !r.contains(n))
            r << n;
    }
    return r;
}

bool archivo::escribirindice(const QStringList& nombres, QString& error) {
    QSaveFile f(carpeta_ + QLatin1Char('/') + indice);
    const QByteArray datos = (nombres.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size() && f.commit())
        return true;
    error = QStringLiteral("No se pudo anotar la repetición archivada. %1")
                .arg(QString::fromStdString(comun::causasistema(errno)));
    return false;
}

QStringList archivo::archivadas() const {
    QStringList r;
    const QStringList todas = leerindice();
    for (auto it = todas.crbegin(); it != todas.crend(); ++it)
        if (QFileInfo::exists(carpeta_ + QLatin1Char('/') + *it))
            r << *it;
    return r;
}

void archivo::soltar(const QString& nombre) {
    QStringList nombres = leerindice();
    QString error;
    // Failing to write the index leaves the name listed; the worst it does
    // is delete nothing, as the file is gone from this folder.
    if (nombres.removeAll(nombre) > 0)
        escribirindice(nombres, error);
}

QString archivo::archivar(const std::vector<uint8_t>& datos) {
    const QString fallo = QStringLiteral("No se pudo archivar la repetición: %1.");
    if (carpeta_.isEmpty())
        return fallo.arg(QStringLiteral("no hay carpeta de datos del usuario"));
    if (!QDir().mkpath(carpeta_) || !QFileInfo(carpeta_).isDir())
        return fallo.arg(QStringLiteral("no se puede crear la carpeta %1").arg(carpeta_));

    // The whole replay first, under a name of ours that no user picks.
    QByteArray temporal = (carpeta_ + QLatin1Char('/') + prefijotemporal + "XXXXXX").toLocal8Bit();
    const int fd = ::mkostemp(temporal.data(), O_CLOEXEC);
    if (fd < 0)
        return fallo.arg(sistema(errno));
    const bool escrito = escribirtodo(fd, datos);
    const int numero = errno;
    ::close(fd);
    if (!escrito) {
        ::unlink(temporal.constData());
        return fallo.arg(sistema(numero));
    }

    // Then its name, taken only where no file is: two matches ended in
    // the same millisecond get two counters.
    const QString base = QStringLiteral("partida-") + QDateTime::currentDateTime().toString(
                                                          QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString nombre;
    for (int k = 1; k <= 9999 && nombre.isEmpty(); ++k) {
        const QString n = base + QStringLiteral("-%1.repeticion").arg(k);
        const QByteArray ruta = (carpeta_ + QLatin1Char('/') + n).toLocal8Bit();
        const int f = ::open(ruta.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (f >= 0) {
            ::close(f);
            if (::rename(temporal.constData(), ruta.constData()) != 0) {
                const int e = errno;
                ::unlink(ruta.constData());
                ::unlink(temporal.constData());
                return fallo.arg(sistema(e));
            }
            nombre = n;
        } else if (errno != EEXIST) {
            const int e = errno;
            ::unlink(temporal.constData());
            return fallo.arg(sistema(e));
        }
    }
    if (nombre.isEmpty()) {
        ::unlink(temporal.constData());
        return fallo.arg(QStringLiteral("no queda ningún nombre libre"));
    }

    // The newest `cuantas` in the index stay; the others were ours and go.
    QStringList nombres = leerindice();
    nombres << nombre;
    QStringList fuera;
    while (nombres.size() > cuantas_)
        fuera << nombres.takeFirst();
    QString error;
    if (!escribirindice(nombres, error))
        return error;
    for (const QString& n : fuera)
        QFile::remove(carpeta_ + QLatin1Char('/') + n);
    return {};
}

} // namespace juego
