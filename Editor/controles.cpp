#include "Editor/controles.h"

namespace editor {

const std::vector<mando>& controles() {
    static const std::vector<mando> lista = {
        {"Clic en un terreno de Terrenos, o 1 a 6",
         "elegir el terreno (1 pasto, 2 madera, 3 pared, 4 agua, 5 árbol, 6 piso)"},
        {"Clic en la X roja o azul de Jugadores", "elegir el inicio de un equipo"},
        {"Clic o arrastre en el mapa",
         "pintar el terreno, o colocar el inicio elegido (necesita 3 x 3 casillas libres)"},
        {"Clic derecho en el mapa", "tomar el terreno de la casilla (nunca pinta)"},
        {"Mayús + clic", "rellenar la zona del mismo terreno"},
        {"Ctrl + arrastre", "rellenar un rectángulo"},
        {"L, o Alt + arrastre", "línea recta, a cualquier ángulo"},
        {"[ y ]", "pincel de 1, 3 o 5 casillas"},
        {"M", "pintura simétrica, activar o desactivar (Ver → Espejo)"},
        {"Mayús + M", "espejo por el centro, izquierda-derecha o arriba-abajo"},
        {"C", "teñir las zonas sin acceso (Ver → Zonas sin acceso)"},
        {"Ctrl + Z", "deshacer el último paso"},
        {"Ctrl + Y, o Ctrl + Mayús + Z", "rehacer"},
        {"Flechas", "desplazar la vista tres casillas"},
        {"Rueda, Mayús + rueda", "desplazar la vista arriba y abajo, o a los lados"},
        {"Ctrl + rueda, Ctrl + + y Ctrl + -", "acercar o alejar (25 %, 50 %, 100 %, 200 %)"},
        {"Ctrl + 0", "tamaño real (100 %)"},
        {"Arrastre con el botón central", "mover la vista"},
        {"Clic o arrastre en el minimapa", "llevar la vista allí"},
        {"Ctrl + N", "mapa nuevo"},
        {"Ctrl + O", "abrir un mapa de cualquier carpeta"},
        {"Ctrl + S, o Intro en el nombre", "guardar con el nombre escrito"},
        {"Ctrl + Mayús + S", "guardar como: escribir otro nombre"},
        {"Esc en el nombre", "volver al mapa"},
        {"Supr en la lista", "mover el mapa elegido a la papelera"},
        {"F2 en la lista", "cambiar el nombre del mapa elegido"},
        {"Doble clic en la lista", "abrir el mapa"},
        {"F1", "esta ayuda"},
        {"Ctrl + Q", "salir"},
    };
    return lista;
}

} // namespace editor
