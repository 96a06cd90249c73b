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
        {"Mayús + L", "línea cerrada: sin pasos en diagonal, nadie la cruza"},
        {"[ y ]", "pincel de 1, 3 o 5 casillas"},
        {"M", "pintura simétrica, activar o desactivar (Ver → Espejo)"},
        {"Mayús + M", "espejo por el centro, izquierda-derecha o arriba-abajo"},
        {"C", "teñir las zonas sin acceso (Ver → Zonas sin acceso); si los equipos no pueden "
              "encontrarse, lo que alcanza cada uno en su color y lo demás en gris"},
        {"S, y arrastre", "seleccionar un rectángulo (Editar → Seleccionar)"},
        {"Ctrl + C, Ctrl + X", "copiar o cortar la selección (cortar deja pasto)"},
        {"Ctrl + V, y clic", "pegar: la copia sigue al puntero y un clic la suelta"},
        {"Esc", "soltar la copia sin pegarla, o quitar la selección"},
        {"Supr", "borrar la selección (queda pasto)"},
        {"X, Y", "voltear izquierda-derecha o arriba-abajo la copia o la selección"},
        {"Z", "girar un cuarto de vuelta la copia o la selección"},
        {"Editar → Reflejar la mitad",
         "copiar la mitad del inicio rojo sobre la otra según el espejo, con los inicios"},
        {"Mapa → Redimensionar", "otro ancho y alto (50 a 1000), con anclaje"},
        {"F5", "probar el mapa en el juego (Mapa → Guerreros por equipo al probar)"},
        {"Ctrl + Z", "deshacer el último paso"},
        {"Ctrl + Y, o Ctrl + Mayús + Z", "rehacer"},
        {"Flechas", "desplazar la vista tres casillas"},
        {"Rueda, Mayús + rueda", "desplazar la vista arriba y abajo, o a los lados"},
        {"Ctrl + rueda, Ctrl + + y Ctrl + -", "acercar o alejar (de 2,5 % a 200 %)"},
        {"Ctrl + 0", "tamaño real (100 %)"},
        {"Ctrl + 9", "ajustar a la ventana: todo el mapa a la vista"},
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
