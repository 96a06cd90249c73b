#include "Juego/nucleo/partida.h"

#include "Juego/nucleo/instantanea.h"
#include "Juego/nucleo/plataforma.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace juego {

partida::partida(plataforma& p) : plat_(p), mundo_(p) {
    mundo_.Form_Load();
}

partida::~partida() = default;

std::string partida::empezar(const comun::plano& p, int16_t maxp, int16_t tipo, sucesos& s,
                             objetivo o) {
    if (std::string e = mundo::errorpartida(p); !e.empty())
        return e;
    s = mundo_.cargarmapa(p, maxp, tipo, o);
    plat_.ponertemporizador(true);
    plat_.dibujar();
    empezargrabacion();
    return {};
}

std::string partida::cargar(const std::string& ruta, int16_t maxp, int16_t tipo, sucesos& s,
                            objetivo o) {
    comun::lectura l = comun::leerarchivo(ruta);
    if (!l)
        return l.error;
    return empezar(*l.mapa, maxp, tipo, s, o);
}

bool partida::corre() const {
    return mundo_.jugando == verdadero && mundo_.pausado != verdadero && mundo_.fin != verdadero;
}

sucesos partida::tick(const entradatick& e) {
    if (!corre())
        return {};
    if (grabando_)
        grabacion_.anotartick(e);
    return mundo_.timer_Timer(e);
}

sucesos partida::tick(comun::estadoteclas& t) {
    if (!corre())
        return {};
    entradatick e;
    teclasflechas k;
    k.izquierda = t.consultar(comun::vkizquierda);
    k.derecha = t.consultar(comun::vkderecha);
    k.abajo = t.consultar(comun::vkabajo);
    k.arriba = t.consultar(comun::vkarriba);
    e.mandos.push_back({mundo_.jugador, k});
    return tick(e);
}

sucesos partida::aplicar(const accion& a) {
    // Once the match is over nothing comes in: the replay ends with it.
    if (mundo_.fin == verdadero)
        return {};
    if (grabando_)
        grabacion_.anotaraccion(a);
    return mundo_.aplicar(a);
}

sucesos partida::tecla(int16_t codigo) {
    sucesos s;
    if (codigo == comun::vkp)
        s = aplicar({tipoaccion::pausa, 0, 0, 0});
    if (codigo == comun::vks)
        plat_.ponersonido(plat_.sonido() == 1 ? 0 : 1);
    if (codigo == comun::vkespacio && mundo_.jugando == verdadero)
        s = aplicar({tipoaccion::espacio, mundo_.jugador, 0, 0});
    return s;
}

sucesos partida::clic(int px, int py) {
    if (mundo_.jugando != verdadero)
        return {};
    const posicion c = mundo_.celdadepixel(px, py);
    return aplicar({tipoaccion::click, mundo_.jugador, c.x, c.y});
}

std::vector<uint8_t> partida::instantanea() const {
    return escribirinstantanea(mundo_);
}

std::string partida::restaurar(const std::vector<uint8_t>& datos, sucesos& s) {
    if (std::string e = leerinstantanea(datos.data(), datos.size(), mundo_); !e.empty())
        return e;
    plat_.ponertemporizador(mundo_.pausado != verdadero);
    plat_.dibujar();
    s = {{tiposuceso::estado, mundo_.ultimoestado, 0, 0, -1, -1}};
    grabando_ = true;
    grabacion_ = {datos, {}};
    return {};
}

void partida::olvidargrabacion() {
    grabando_ = false;
    grabacion_ = {};
}

void partida::empezargrabacion() {
    grabando_ = true;
    grabacion_ = {instantanea(), {}};
}

sucesos partida::aplicarpaso(const paso& p) {
    if (!p.estick)
        return aplicar(p.a);
    return tick(p.entrada);
}

std::string partida::reproducir(const repeticion& r, sucesos& s) {
    std::string e = restaurar(r.inicio, s);
    if (e.empty()) {
        for (const paso& p : r.pasos) {
            for (uint32_t k = 0; k < p.veces; ++k) {
                sucesos mas = aplicarpaso(p);
                s.insert(s.end(), std::make_move_iterator(mas.begin()),
                         std::make_move_iterator(mas.end()));
            }
        }
    }
    return e;
}

std::string leerbinario(const std::string& ruta, std::size_t maximo, std::vector<uint8_t>& datos) {
    // O_NONBLOCK: opening a FIFO left where a file should be must not hang.
    const int fd = ::open(ruta.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return "No se puede abrir " + ruta + ": " + std::strerror(errno) + ".";
    struct stat st {};
    std::string error;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        error = "No se puede abrir " + ruta + ": no es un archivo normal.";
    else if (std::size_t(st.st_size) > maximo)
        error = "No se puede abrir " + ruta + ": es demasiado grande.";
    if (error.empty()) {
        datos.assign(std::size_t(st.st_size), 0);
        std::size_t hecho = 0;
        while (hecho < datos.size()) {
            const ssize_t n = ::read(fd, datos.data() + hecho, datos.size() - hecho);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            hecho += std::size_t(n);
        }
        if (hecho != datos.size())
            error = "No se puede leer " + ruta + " entero.";
    }
    ::close(fd);
    if (!error.empty())
        datos.clear();
    return error;
}

} // namespace juego
