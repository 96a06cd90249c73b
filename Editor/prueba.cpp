// Probar: the game plays the map as it is on screen, saved or not.
#include "Editor/nucleo.h"

#include "Comun/inicios.h"
#include "Editor/plataforma.h"

#include <algorithm>
#include <filesystem>

namespace editor {

void nucleo::ponerguerreros(int n) {
    // The game takes 1 to 8 fighters per team.
    e.guerreros = int16_t(std::clamp(n, 1, 8));
}

void nucleo::probar() {
    const std::string titulo = "Probar";
    if (e.haymapa != verdadero)
        return;
    if (e.inicio[0].colocado != verdadero || e.inicio[1].colocado != verdadero) {
        plat.avisar("Necesita poner la posicion de inicio de los jugadores", titulo,
                    icono::critico);
        return;
    }
    const comun::plano p = plano();
    // The game would refuse the map and close at once, with nothing shown.
    if (std::string porque = comun::errorinicios(p); !porque.empty()) {
        plat.avisar("No se puede probar este mapa: el juego no podría usarlo.\n" + porque, titulo,
                    icono::critico);
        return;
    }
    const std::string programa = plat.programajuego();
    if (programa.empty()) {
        plat.avisar("No se encuentra el juego Tarnhollow, ni junto al editor ni instalado.",
                    titulo, icono::critico);
        return;
    }
    const std::string carpeta = plat.carpetaprueba();
    if (carpeta.empty()) {
        plat.avisar("No se pudo crear una carpeta temporal para probar el mapa.", titulo,
                    icono::critico);
        return;
    }
    // A folder per try, so a game still running keeps its file; the file
    // takes the map's name, which the game shows.
    const std::string sub = carpeta + "/" + std::to_string(++pruebas);
    std::error_code ec;
    std::filesystem::create_directories(sub, ec);
    const std::string nombre = nombreinvalido(e.nombre).empty() ? e.nombre : "Sin nombre";
    const std::string ruta = sub + "/" + nombre + ".mapa";
    if (std::string fallo = plat.escribir(ruta, comun::escribirmapa(p)); !fallo.empty()) {
        plat.avisar("No se pudo escribir el mapa de prueba en " + ruta + ":\n" + fallo, titulo,
                    icono::critico);
        return;
    }
    if (std::string fallo =
            plat.lanzar(programa, {"--mapa", ruta, "--guerreros", std::to_string(e.guerreros)});
        !fallo.empty()) {
        plat.avisar("No se pudo iniciar el juego " + programa + ":\n" + fallo, titulo,
                    icono::critico);
        return;
    }
    textoestado =
        "Probando el mapa en el juego, " + std::to_string(e.guerreros) + " guerreros por equipo";
    muestraguardado = false;
    mostrarestado();
}

} // namespace editor
