// tarnhollow-sim: plays the game core without a window, one command a line
// on standard input, answers on standard output.
#include "simulador.h"

#include <QGuiApplication>

#include <cstring>
#include <iostream>
#include <string>

namespace {

const char* ayuda = R"(uso: tarnhollow-sim < ORDENES
Lee una orden por línea y escribe su respuesta:
  reglas clasicas|equilibradas   las reglas de la próxima partida (clasicas)
  dificultad facil|normal|dificil  el nivel del equipo contrario (normal)
  semilla N                      la semilla de las reglas equilibradas (1)
  tipos ROJO AZUL                una letra por luchador, G o A (p. ej. GGGG AAAA),
                                 antes de cargar; manda sobre su TIPO
  espectador                     antes de cargar: nadie juega, todos son del ordenador
                                 y la vista sigue al luchador 0
  objetivo ninguno|muertes N|tiempo SEGUNDOS
  cargar RUTA MAXP TIPO          empieza una partida (TIPO Guerrero o Arquero)
  tick [N]  estado  teclas [FLECHAS]  tecla CODIGO  click PX PY  flechas  sonidos
  celda X Y  captura RUTA [completa]  instantanea RUTA  restaurar RUTA
  repeticion RUTA  reproducir RUTA  info RUTA
  unirse HOST PUERTO TIPO EQUIPO  esperar T  salir
)";

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::cout << ayuda;
        return 0;
    }
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
