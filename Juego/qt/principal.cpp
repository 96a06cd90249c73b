#include "Juego/qt/ventana.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnhollow"));
    // The game speaks Spanish, so the message boxes' buttons do too.
    QTranslator qtbase;
    if (qtbase.load(QStringLiteral("qtbase_es"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtbase);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/imagenes/tarnhollow.png")));
    juego::main ventana;
    ventana.show();
    return app.exec();
}
