#include "Comun/qt/carpetas.h"
#include "Editor/ventana.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The whole window speaks Spanish, so the message boxes' buttons do too
    // ("Sí" and "No"); without Qt's catalogue they simply stay in English.
    QTranslator qtbase;
    if (qtbase.load(QStringLiteral("qtbase_es"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtbase);
    QIcon icono(QStringLiteral(":/imagenes/editor.png"));
    app.setWindowIcon(icono);
    // Maps live beside the program or in the installed data folder, shared
    // with the game.
    editor::main ventana(comun::carpetadatos(QStringLiteral("mapas")));
    ventana.setWindowIcon(icono);
    ventana.show();
    return app.exec();
}
