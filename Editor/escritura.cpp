#include "Editor/escritura.h"

#include "Comun/escritura.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <csignal>

namespace editor {

namespace {

// What a failed file operation means, in Spanish. The system's error number
// says the most; when Qt lost it, its own error kind still tells a little.
// Qt's errorString() is never shown: it is English.
std::string explicar(int error, const QString& ruta, qint64 bytes, QFileDevice::FileError qt) {
    if (error != 0 || qt == QFileDevice::NoError || qt == QFileDevice::WriteError ||
        qt == QFileDevice::OpenError || qt == QFileDevice::ResourceError ||
        qt == QFileDevice::UnspecifiedError)
        return comun::porquenoseescribio(error, ruta.toStdString(), bytes);
    return textoerror(qt);
}

} // namespace

std::string textoerror(QFileDevice::FileError e) {
    switch (e) {
    case QFileDevice::NoError:
        return {};
    case QFileDevice::ReadError:
        return "No se pudo leer el archivo.";
    case QFileDevice::WriteError:
        return "No se pudo escribir el archivo.";
    case QFileDevice::FatalError:
        return "Error grave al usar el archivo.";
    case QFileDevice::ResourceError:
        return "Faltan recursos del sistema (memoria, espacio o archivos abiertos).";
    case QFileDevice::OpenError:
        return "No se pudo abrir el archivo.";
    case QFileDevice::AbortError:
        return "Se interrumpió la operación con el archivo.";
    case QFileDevice::TimeOutError:
        return "El archivo tardó demasiado en responder.";
    case QFileDevice::RemoveError:
        return "No se pudo borrar el archivo.";
    case QFileDevice::RenameError:
        return "No se pudo cambiar el nombre del archivo.";
    case QFileDevice::PositionError:
        return "No se pudo situar la lectura en el archivo.";
    case QFileDevice::ResizeError:
        return "No se pudo cambiar el tamaño del archivo.";
    case QFileDevice::PermissionsError:
        return "No se pudieron cambiar los permisos del archivo.";
    case QFileDevice::CopyError:
        return "No se pudo copiar el archivo.";
    case QFileDevice::UnspecifiedError:
        break;
    }
    return "Error desconocido con el archivo.";
}

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
        return no + comun::porquenoseescribio(error, carpeta.toStdString() + "/x", n);
    }
    QSaveFile f(r);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly)) {
        const int error = errno;
        return explicar(error, r, n, f.error());
    }
    errno = 0;
    // A short map stays in QSaveFile's buffer until commit(), and commit()
    // puts the new file in place even when writing that buffer out failed
    // (a full disk, a file size limit): the old map would give way to an
    // empty or cut one, reported as saved. So the buffer is written out,
    // and checked, before the commit.
    if (f.write(texto.data(), n) != n || !f.flush()) {
        const int error = errno;
        std::string porque = explicar(error, r, n, f.error());
        f.cancelWriting();
        return porque;
    }
    errno = 0;
    if (!f.commit()) {
        const int error = errno;
        return explicar(error, r, n, f.error());
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
