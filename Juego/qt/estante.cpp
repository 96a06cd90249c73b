#include "Juego/qt/estante.h"

#include "Juego/nucleo/partida.h"
#include "Juego/qt/archivo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace juego {

namespace {

// The header sits at the start of every file of the later formats and is
// far smaller than this; the first formats are read whole to tell it.
constexpr qint64 principio = 64 * 1024;

std::string leercabecerade(const QString& ruta, cabecera& c) {
    const QFileInfo i(ruta);
    if (!i.isFile())
        return "No es un archivo normal.";
    if (i.size() > qint64(maxarchivo))
        return "Es demasiado grande.";
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return f.errorString().toStdString();
    const QByteArray datos = f.read(principio);
    std::string error = leerinfo(reinterpret_cast<const uint8_t*>(datos.constData()),
                                 std::size_t(datos.size()), c);
    if (!error.empty() && i.size() > principio) {
        std::vector<uint8_t> todo;
        error = leerbinario(QFile::encodeName(ruta).toStdString(), maxarchivo, todo);
        if (error.empty())
            error = leerinfo(todo.data(), todo.size(), c);
    }
    return error;
}

} // namespace

estante::estante(const QString& carpeta, const QString& extension, bool conservar)
    : carpeta_(carpeta), extension_(extension), conservar_(conservar) {}

QString estante::conservadas() const {
    return carpeta_ + QStringLiteral("/conservadas");
}

void estante::leer(const QString& carpeta, ficha::origen o, const QStringList& nuestras,
                   std::vector<ficha>& r) const {
    if (carpeta.isEmpty())
        return;
    const QDir d(carpeta);
    for (const QFileInfo& i : d.entryInfoList({QLatin1Char('*') + extension_}, QDir::Files)) {
        ficha f;
        f.ruta = i.absoluteFilePath();
        f.procedencia = nuestras.contains(i.fileName()) ? ficha::origen::archivada : o;
        const std::string error = leercabecerade(f.ruta, f.datos);
        f.legible = error.empty();
        f.error = QString::fromStdString(error);
        f.fecha = f.legible && f.datos.fecha > 0
                      ? QDateTime::fromMSecsSinceEpoch(f.datos.fecha)
                      : i.lastModified();
        r.push_back(std::move(f));
    }
}

std::vector<ficha> estante::listar() const {
    std::vector<ficha> r;
    const QStringList nuestras = conservar_ ? archivo(carpeta_).archivadas() : QStringList();
    leer(carpeta_, ficha::origen::guardada, nuestras, r);
    if (conservar_)
        leer(conservadas(), ficha::origen::conservada, {}, r);
    std::stable_sort(r.begin(), r.end(),
                     [](const ficha& a, const ficha& b) { return a.fecha > b.fecha; });
    return r;
}

QString estante::conservar(const ficha& f, const QString& nombre, QString& nueva) const {
    const QString limpio = nombre.trimmed();
    // The name becomes one file in the kept folder, nothing else.
    if (limpio.isEmpty() || limpio.startsWith(QLatin1Char('.')) || limpio.contains(QLatin1Char('/')) ||
        limpio.size() > 120)
        return QStringLiteral("Escribe un nombre sin «/» que no empiece por un punto.");
    if (f.procedencia == ficha::origen::conservada)
        return QStringLiteral("Esa repetición ya está conservada.");
    if (!QDir().mkpath(conservadas()))
        return QStringLiteral("No se puede crear la carpeta %1.").arg(conservadas());
    nueva = conservadas() + QLatin1Char('/') + limpio;
    if (!nueva.endsWith(extension_))
        nueva += extension_;
    if (QFileInfo::exists(nueva))
        return QStringLiteral("Ya hay una repetición conservada con el nombre %1.")
            .arg(QFileInfo(nueva).fileName());
    QFile origen(f.ruta);
    if (!origen.rename(nueva))
        return QStringLiteral("No se pudo conservar la repetición: %1.").arg(origen.errorString());
    // Out of the rotation: the archive forgets it, so it neither counts
    // among the last ones nor is ever deleted.
    if (f.procedencia == ficha::origen::archivada)
        archivo(carpeta_).soltar(QFileInfo(f.ruta).fileName());
    return {};
}

QString estante::borrar(const ficha& f) const {
    if (!f.legible)
        return QStringLiteral("Ese archivo no es de Tarnhollow: bórralo tú si quieres.");
    QFile archivofisico(f.ruta);
    if (!archivofisico.moveToTrash())
        return QStringLiteral("No se pudo llevar %1 a la papelera: %2.")
            .arg(QFileInfo(f.ruta).fileName(), archivofisico.errorString());
    if (f.procedencia == ficha::origen::archivada)
        archivo(carpeta_).soltar(QFileInfo(f.ruta).fileName());
    return {};
}

QString estante::textojugadores(const cabecera& c) {
    QStringList personas;
    int porequipo = 0;
    for (const jugadorcabecera& j : c.jugadores) {
        if (j.equipo == 0)
            ++porequipo;
        if (j.humano == verdadero)
            personas << QStringLiteral("%1 (%2)").arg(QString::fromStdString(j.nombre),
                                                      QString::fromLatin1(nombretipo(j.tipo)));
    }
    QString t = QStringLiteral("%1 contra %1").arg(porequipo);
    // The balanced rules are worth telling; the classic ones are the game.
    if (c.regla.modo == modoreglas::equilibradas)
        t += QStringLiteral(", %1 (%2)")
                 .arg(QString::fromUtf8(nombremodo(c.regla.modo)).toLower(),
                      QString::fromUtf8(nombredificultad(c.regla.nivel)));
    if (!personas.isEmpty())
        t += QStringLiteral(": ") + personas.join(QStringLiteral(", "));
    return t;
}

QString estante::textoresultado(const ficha& f) {
    if (!f.legible)
        return QStringLiteral("No se puede leer");
    const cabecera& c = f.datos;
    const QString cuenta = QStringLiteral("%1-%2").arg(c.muertes[0]).arg(c.muertes[1]);
    if (c.fin != verdadero)
        return QStringLiteral("Sin terminar, %1").arg(cuenta);
    if (c.ganador < 0)
        return QStringLiteral("Empate, %1").arg(cuenta);
    return QStringLiteral("Gana el equipo %1, %2")
        .arg(QString::fromLatin1(nombreequipo(c.ganador)), cuenta);
}

QString estante::textoduracion(uint64_t ticks) {
    // Eight ticks a second.
    const uint64_t segundos = ticks / 8;
    if (segundos >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(segundos / 3600)
            .arg((segundos / 60) % 60, 2, 10, QLatin1Char('0'))
            .arg(segundos % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(segundos / 60).arg(segundos % 60, 2, 10, QLatin1Char('0'));
}

} // namespace juego
