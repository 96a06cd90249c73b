#include "Comun/escritura.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

namespace comun {

std::string causaescritura(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "No queda espacio en el disco.";
    case EACCES:
    case EPERM:
        return "No tiene permiso para escribir en esa carpeta.";
    case EROFS:
        return "El sistema de archivos es de solo lectura.";
    case ENAMETOOLONG:
        return "El nombre del archivo es demasiado largo.";
    case EFBIG:
        return "El archivo supera el tamaño máximo que el sistema permite escribir.";
    default:
        return {};
    }
}

std::string causasistema(int error) {
    if (std::string c = causaescritura(error); !c.empty())
        return c;
    switch (error) {
    case ENOENT:
        return "El archivo o la carpeta no existe.";
    case EISDIR:
        return "Es una carpeta, no un archivo.";
    case ENOTDIR:
        return "Una parte del camino no es una carpeta.";
    case EEXIST:
        return "Ya existe un archivo con ese nombre.";
    case EIO:
        return "Error de entrada o salida del disco.";
    case EMFILE:
    case ENFILE:
        return "Hay demasiados archivos abiertos.";
    case ELOOP:
        return "Hay demasiados enlaces simbólicos en el camino.";
    case EBUSY:
    case ETXTBSY:
        return "El archivo está en uso.";
    case EXDEV:
        return "No se puede mover entre dos discos distintos.";
    case ENOTEMPTY:
        return "La carpeta no está vacía.";
    case ENOMEM:
        return "No queda memoria libre.";
    case 0:
        return "Error desconocido del sistema.";
    default:
        return "Error del sistema número " + std::to_string(error) + ".";
    }
}

namespace {

int adivinar(const std::string& ruta, long long bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path archivo = fs::absolute(fs::path(ruta), ec);
    if (ec)
        archivo = fs::path(ruta);
    const std::string carpeta = archivo.parent_path().string();
    struct statvfs v {};
    if (statvfs(carpeta.c_str(), &v) == 0) {
        if (v.f_flag & ST_RDONLY)
            return EROFS;
        if (static_cast<long long>(v.f_bavail) * static_cast<long long>(v.f_frsize) < bytes + 4096)
            return ENOSPC;
        if (archivo.filename().string().size() > v.f_namemax)
            return ENAMETOOLONG;
    }
    if (access(carpeta.c_str(), W_OK) != 0)
        return EACCES;
    return 0;
}

} // namespace

std::string porquenoseescribio(int error, const std::string& ruta, long long bytes) {
    std::string causa = causaescritura(error);
    if (causa.empty())
        causa = causaescritura(adivinar(ruta, bytes));
    if (causa.empty())
        causa = error != 0 ? causasistema(error) : "No se pudo escribir el archivo.";
    return causa;
}

} // namespace comun
