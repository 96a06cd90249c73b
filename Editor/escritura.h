#pragma once

#include <QFileDevice>

#include <string>

namespace editor {

// Writes `texto` as the whole file at `ruta`; the old file is replaced only
// once the new one is complete. Empty on success, otherwise why not, in
// Spanish.
std::string escribirarchivo(const std::string& ruta, const std::string& texto);

// What Qt's error kind means, in Spanish; empty for no error.
std::string textoerror(QFileDevice::FileError e);

// True when a new file can be created in `carpeta`, which is created first
// when missing.
bool carpetaescribible(const std::string& carpeta);

} // namespace editor
