// tarnhollow-sim: plays the game core without a window, one command a line
// on standard input, answers on standard output.
#include "simulador.h"

#include <QCoreApplication>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    // Network matches (unirse) need Qt's event machinery.
    QCoreApplication app(argc, argv);
    sim::simulador s;
    std::string linea;
    while (std::getline(std::cin, linea)) {
        s.ejecutar(linea, std::cout);
        std::cout.flush();
    }
    return 0;
}
