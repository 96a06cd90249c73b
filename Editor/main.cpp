#include "Comun/carpetas.h"
#include "Comun/fallos.h"
#include "Editor/ventana.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The game's name, so that both programs share the user's data folder
    // and with it the user's own maps.
    QApplication::setApplicationName(QStringLiteral("Tarnhollow"));
    // A fault's report is kept in the user's data folder, beside the maps.
    const QString datos = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    comun::informarfallos("Editor de Tarnhollow", QFile::encodeName(datos).toStdString(),
                          "fallo-editor.txt");
    // The whole window speaks Spanish, so the message boxes' buttons do too
    // ("Sí" and "No"); without Qt's catalogue they simply stay in English.
    QTranslator qtbase;
    if (qtbase.load(QStringLiteral("qtbase_es"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtbase);
    QIcon icono(QStringLiteral(":/imagenes/editor.png"));
    app.setWindowIcon(icono);
    // Maps live beside the program or in the installed data folder, shared
    // with the game, and in the user's own folder when those can't be
    // written (installed under /usr). No data folder known (no home folder):
    // no user's folder at all, rather than "/mapas".
    const std::string mapas = comun::primeracarpeta(comun::carpetascandidatas(
        QCoreApplication::applicationDirPath().toStdString(), datos.toStdString(), "mapas"));
    // The maps as shipped: the installed data folder's, or in a build the
    // repository's, which the build only ever copies beside the program.
    const std::vector<std::string> candidatas = comun::carpetascandidatas(
        QCoreApplication::applicationDirPath().toStdString(), std::string(), "mapas");
    QString ejemplos;
    for (const QString& c :
         {QString::fromStdString(candidatas.back()), QStringLiteral(TARNHOLLOW_MAPAS_FUENTE)})
        if (ejemplos.isEmpty() && QDir(c).exists())
            ejemplos = c;
    editor::main ventana(QString::fromStdString(mapas),
                         datos.isEmpty() ? QString() : datos + QStringLiteral("/mapas"), ejemplos);
    ventana.setWindowIcon(icono);
    ventana.show();
    return app.exec();
}
