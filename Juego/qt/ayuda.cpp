#include "Juego/qt/ayuda.h"

#include <QStringList>

#include <array>

namespace juego {

namespace {

using d = entradaayuda::donde;

// The first six lines are the box's as it has always read; what came later
// (the sound, the minimap, full screen, replays, goals) follows them.
constexpr std::array entradas{
    entradaayuda{d::partida, 0, "", "P = Pausa", "P"},
    entradaayuda{d::partida, 0, "", "Moverse ---> Flechas", "arrow keys"},
    entradaayuda{d::partida, 1, "Atacar:", "Arquero ---> Click Izquierdo",
                 "click on the play field"},
    entradaayuda{d::partida, 1, "", "Guerrero ---> Barra de Espacio", "space bar"},
    entradaayuda{d::partida, 2, "", "Activar/Desactivar Sonido ----> S", "S"},
    entradaayuda{d::partida, 2, "", "Minimapa ---> M", "M"},
    entradaayuda{d::partida, 2, "", "Pantalla completa ---> F11", "F11"},
    entradaayuda{d::repeticion, 3, "Viendo una repetición:", "Pausa ---> P", "P"},
    entradaayuda{d::repeticion, 3, "", "Velocidad (1x a 16x) ---> + y -", "+ and -"},
    entradaayuda{d::repeticion, 3, "",
                 "Seguir al luchador siguiente ---> Tab (anterior: "
                 "Mayús+Tab)",
                 "Tab (Shift+Tab)"},
    entradaayuda{d::repeticion, 3, "", "Mover la vista ---> Flechas", "arrow keys"},
    entradaayuda{d::repeticion, 3, "", "Activar/Desactivar Sonido ----> S", "S"},
    entradaayuda{d::repeticion, 3, "", "Dejar de verla ---> Esc", "Esc"},
    entradaayuda{d::regla, 4, "Reglas:",
                 "Un luchador caído vuelve junto al inicio de su equipo tras unos 3 segundos.",
                 nullptr},
    entradaayuda{d::regla, 4, "",
                 "Cada 7 muertes sube de nivel: el Arquero gana 3 de ataque y 1 de armadura, "
                 "el Guerrero 2 y 2.",
                 nullptr},
    entradaayuda{d::regla, 4, "",
                 "Con reglas Clásicas tu luchador empieza con 5 de ataque y 3 de armadura de "
                 "más (el Guerrero, 1 de ataque más aún).",
                 nullptr},
    entradaayuda{d::regla, 4, "",
                 "Objetivo: Sin fin, Por muertes (gana el primer equipo que llega) o Tiempo "
                 "límite (gana el equipo con más muertes).",
                 nullptr},
    entradaayuda{d::regla, 4, "",
                 "Reglas Equilibradas: dos segundos a salvo al volver, una acción en espera, "
                 "luchadores ajustados (el tipo que va por detrás en la partida golpea más "
                 "fuerte) y la dificultad del otro equipo en lugar de la ventaja de tu "
                 "luchador.",
                 nullptr},
};

} // namespace

std::span<const entradaayuda> entradasayuda() {
    return entradas;
}

QString textocontroles() {
    QStringList lineas;
    int grupo = entradas.front().grupo;
    for (const entradaayuda& e : entradas) {
        if (e.grupo != grupo)
            lineas << QString();
        grupo = e.grupo;
        if (*e.titulo)
            lineas << QString::fromUtf8(e.titulo);
        lineas << QString::fromUtf8(e.linea);
    }
    return lineas.join(QStringLiteral("\r\n"));
}

} // namespace juego
