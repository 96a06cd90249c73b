#include "Editor/escritura.h"

#include "Comun/escritura.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace editor {

namespace {

std::string explicar(int error, const QString& ruta, qint64 bytes, const QString& sistema) {
    const std::string causa = comun::porquenoseescribio(error, ruta.toStdString(), bytes);
    // Qt's own words add nothing when it lost the system's reason.
    if (sistema.isEmpty() || sistema == QStringLiteral("Unknown error") ||
        sistema == QIODevice::tr("Unknown error"))
        return causa;
    return causa + "\n(" + sistema.toStdString() + ")";
}

} // namespace

std::string escribirarchivo(const std::string& ruta, const std::string& texto) {
    const QString r = QString::fromStdString(ruta);
    const qint64 n = qint64(texto.size());
    const QString carpeta = QFileInfo(r).absolutePath();
    // Past a file size limit (ulimit -f) the system kills the writer with
    // SIGXFSZ, and the unsaved map dies with the editor. Ignored, the write
    // fails with EFBIG instead and is reported like a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    errno = 0;
    if (!QDir().mkpath(carpeta)) {
        const int error = errno;
        const std::string no = "No se puede crear la carpeta " + carpeta.toStdString() + ". ";
        if (error == EEXIST || error == ENOTDIR)
            return no + "Ya hay un archivo con ese nombre en el camino.";
        return no + explicar(error, r, n, QString::fromLocal8Bit(strerror(error)));
    }
    QSaveFile f(r);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly)) {
        const int error = errno;
        return explicar(error, r, n, f.errorString());
    }
    errno = 0;
    // A short map stays in QSaveFile's buffer until commit(), and commit()
    // puts the new file in place even when writing that buffer out failed
    // (a full disk, a file size limit): the old map would give way to an
    // empty or cut one, reported as saved. So the buffer is written out,
    // and checked, before the commit.
    if (f.write(texto.data(), n) != n || !f.flush()) {
        const int error = errno;
        std::string porque = explicar(error, r, n, f.errorString());
        f.cancelWriting();
        return porque;
    }
    errno = 0;
    if (!f.commit()) {
        const int error = errno;
        return explicar(error, r, n, f.errorString());
    }
    return {};
}

bool carpetaescribible(const std::string& carpeta) {
    const QString c = QString::fromStdString(carpeta);
    if (!QDir().mkpath(c))
        return false;
    QTemporaryFile prueba(c + QStringLiteral("/.prueba-XXXXXX"));
    return prueba.open();
}

} // namespace editor
