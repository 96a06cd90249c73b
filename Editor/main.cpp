#include "Editor/ventana.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QIcon icono(QStringLiteral(":/imagenes/editor.png"));
    app.setWindowIcon(icono);
    // Maps live beside the program, shared with the game.
    editor::main ventana(QCoreApplication::applicationDirPath() + QStringLiteral("/mapas"));
    ventana.setWindowIcon(icono);
    ventana.show();
    return app.exec();
}
