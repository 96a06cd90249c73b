// tarnhollow-sim: plays the game core without a window, one command a line
// on standard input, answers on standard output.
#include "simulador.h"

#include <QGuiApplication>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    // Network matches (unirse) need Qt's event machinery, and the full
    // capture's text needs fonts: an application with no window of its own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    sim::simulador s;
    std::string linea;
    while (std::getline(std::cin, linea)) {
        s.ejecutar(linea, std::cout);
        std::cout.flush();
    }
    return 0;
}
