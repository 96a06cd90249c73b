#include "Juego/ventana.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnhollow"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/imagenes/tarnhollow.png")));
    juego::main ventana;
    ventana.show();
    return app.exec();
}
