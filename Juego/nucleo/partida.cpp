#include "Juego/nucleo/partida.h"

#include "Comun/escritura.h"
#include "Juego/nucleo/instantanea.h"
#include "Juego/nucleo/plataforma.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace juego {

partida::partida(plataforma& p) : plat_(p), mundo_(p) {
    mundo_.Form_Load();
}

partida::~partida() = default;

sucesos delslot(sucesos s, int16_t slot) {
    std::erase_if(s,
                  [slot](const suceso& e) { return e.tipo == tiposuceso::estado && e.a != slot; });
    return s;
}

entradatick entradalocal(comun::estadoteclas& t, int16_t slot) {
    entradatick e;
    teclasflechas k;
    k.izquierda = t.consultar(comun::vkizquierda);
    k.derecha = t.consultar(comun::vkderecha);
    k.abajo = t.consultar(comun::vkabajo);
    k.arriba = t.consultar(comun::vkarriba);
    e.mandos.push_back({slot, k});
    return e;
}

std::optional<accion> acciondetecla(plataforma& plat, const mundo& m, int16_t codigo,
                                    int16_t slot) {
    if (codigo == comun::vkp)
        return accion{tipoaccion::pausa, 0, 0, 0};
    if (codigo == comun::vks)
        plat.ponersonido(plat.sonido() == 1 ? 0 : 1);
    if (codigo == comun::vkespacio && m.jugando == verdadero)
        return accion{tipoaccion::espacio, slot, 0, 0};
    return std::nullopt;
}

std::optional<accion> acciondeclic(const mundo& m, int px, int py, posicion vista, int16_t slot) {
    if (m.jugando != verdadero)
        return std::nullopt;
    const posicion c = mundo::celdadepixel(vista, px, py);
    return accion{tipoaccion::click, slot, c.x, c.y};
}

sucesos partida::ver(int16_t slot) {
    if (slot < 0 || slot >= numunidades)
        return {};
    jugador_ = slot;
    // A record that has nothing in it yet (a network match just joined)
    // starts on this copy's own fighter, as its replay should.
    if (grabando_ && grabacion_.pasos.empty())
        grabacion_.inicio = instantanea();
    return {{tiposuceso::estado, estado(), 0, 0, jugador_, -1}};
}

std::string partida::empezar(const comun::plano& p, int16_t maxp, int16_t tipo, sucesos& s,
                             objetivo o, const std::string& mapa, reglas r, const alineacion& al) {
    const int64_t fecha = plat_.ahora();
    if (std::string e = mundo_.empezar(p, maxp, tipo, s, o, r, al); !e.empty())
        return e;
    jugador_ = 0;
    mapa_ = mapa;
    fecha_ = fecha;
    nombres_ = {};
    s = delslot(std::move(s), jugador_);
    empezargrabacion();
    return {};
}

std::string partida::cargar(const std::string& ruta, int16_t maxp, int16_t tipo, sucesos& s,
                            objetivo o, reglas r, const alineacion& al) {
    comun::lectura l = comun::leerarchivo(ruta);
    if (!l)
        return l.error;
    // The map's name is its file's, without the folder or the extension.
    std::string nombre = ruta.substr(ruta.find_last_of('/') + 1);
    if (const std::size_t punto = nombre.rfind('.'); punto != std::string::npos && punto > 0)
        nombre.resize(punto);
    return empezar(*l.mapa, maxp, tipo, s, o, nombre, r, al);
}

void partida::hacerred() {
    mundo_.prepararred();
    empezargrabacion();
}

posicion partida::vista() const {
    return mundo_.vistade(jugador_);
}

bool partida::corre() const {
    return mundo_.corre();
}

sucesos partida::tick(const entradatick& e) {
    if (!corre())
        return {};
    const bool lleno = anotar(paso{true, 1, e, {}});
    return conaviso(delslot(mundo_.timer_Timer(e), jugador_), lleno);
}

sucesos partida::tick(comun::estadoteclas& t) {
    if (!corre())
        return {};
    return tick(entradalocal(t, jugador_));
}

sucesos partida::aplicar(const accion& a) {
    // Once the match is over nothing comes in: the replay ends with it.
    if (mundo_.fin == verdadero)
        return {};
    const bool lleno = anotar(paso{false, 1, {}, a});
    return conaviso(delslot(mundo_.aplicar(a), jugador_), lleno);
}

sucesos partida::relevar(int16_t slot, bool humano, bool fresco) {
    return aplicar({tipoaccion::relevo, slot, int16_t(humano ? (fresco ? 2 : 1) : 0), 0});
}

sucesos partida::tecla(int16_t codigo) {
    if (const std::optional<accion> a = acciondetecla(plat_, mundo_, codigo, jugador_))
        return aplicar(*a);
    return {};
}

sucesos partida::clic(int px, int py) {
    return clic(px, py, vista());
}

sucesos partida::clic(int px, int py, posicion v) {
    if (const std::optional<accion> a = acciondeclic(mundo_, px, py, v, jugador_))
        return aplicar(*a);
    return {};
}

void partida::detener(bool olvidar) {
    mundo_.jugando = falso;
    mundo_.pausado = falso;
    if (olvidar) {
        grabando_ = false;
        grabacion_ = {};
    }
}

std::vector<uint8_t> partida::instantanea(bool guardar) const {
    return escribirinstantanea(mundo_, cabeceraactual(), guardar);
}

cabecera partida::cabeceraactual() const {
    return cabeceradepartida(mundo_, jugador_, mapa_, fecha_, nombres_);
}

void partida::nombrar(int16_t slot, const std::string& nombre) {
    if (slot >= 0 && slot < numunidades)
        nombres_[std::size_t(slot)] = nombre;
}

const repeticion& partida::grabacion() const {
    if (grabando_ && !lleno_)
        grabacion_.final = cabeceraactual();
    return grabacion_;
}

std::string partida::restaurar(const std::vector<uint8_t>& datos, sucesos& s) {
    cabecera c;
    if (std::string e = leerinstantanea(datos.data(), datos.size(), mundo_, c); !e.empty())
        return e;
    jugador_ = c.jugador;
    mapa_ = c.mapa;
    fecha_ = c.fecha;
    nombres_ = {};
    for (const jugadorcabecera& j : c.jugadores)
        if (j.humano == verdadero)
            nombres_[std::size_t(j.slot)] = j.nombre;
    plat_.ponertemporizador(mundo_.pausado != verdadero);
    plat_.dibujar();
    s = {{tiposuceso::estado, estado(), 0, 0, jugador_, -1}};
    grabando_ = true;
    lleno_ = false;
    // A replay of this match is written in the newest format only, the
    // snapshot it starts from included.
    grabacion_ = {c.formato == versioninstantanea ? datos : instantanea(), {}, {}};
    return {};
}

std::string partida::restaurar(const mundo& m, sucesos& s) {
    return restaurar(escribirinstantanea(m, cabeceradepartida(m, jugador_, mapa_, fecha_, nombres_)),
                     s);
}

std::string partida::cargarsolo(const std::vector<uint8_t>& datos, sucesos& s) {
    if (std::string e = restaurar(datos, s); !e.empty())
        return e;
    // Only a network match has other people in it; a lone match's save
    // comes back exactly as it was.
    bool cambio = false;
    for (int16_t i = 0; i < numunidades; ++i) {
        const bool propio = i == jugador_;
        if (mundo_.eshumano(i) != propio) {
            mundo_.relevar(i, propio);
            cambio = true;
        }
    }
    if (cambio)
        empezargrabacion();
    return {};
}

bool partida::anotar(const paso& p) {
    if (!grabando_ || lleno_)
        return false;
    // Past what a replay may hold the record could never be watched: a
    // server left running for weeks keeps what it has, as the match stood
    // then, and records no more.
    if (grabacion_.pasos.size() >= maxpasosrepeticion) {
        grabacion_.final = cabeceraactual();
        lleno_ = true;
        return true;
    }
    if (p.estick)
        grabacion_.anotartick(p.entrada);
    else
        grabacion_.anotaraccion(p.a);
    return false;
}

sucesos partida::conaviso(sucesos s, bool lleno) {
    if (lleno)
        s.push_back({tiposuceso::aviso,
                     "La repetición ha llegado a su tamaño máximo: se guarda hasta aquí y el "
                     "resto de la partida ya no se graba.",
                     0, 0, -1, -1});
    return s;
}

void partida::empezargrabacion() {
    grabando_ = true;
    lleno_ = false;
    grabacion_ = {instantanea(), {}, {}};
}

sucesos partida::aplicarpaso(const paso& p) {
    if (!p.estick)
        return aplicar(p.a);
    return tick(p.entrada);
}

std::string partida::empezarrepeticion(const repeticion& r, sucesos& s, bool grabar) {
    std::string e = restaurar(r.inicio, s);
    if (e.empty() && !grabar) {
        grabando_ = false;
        grabacion_ = {};
    }
    // The reader's words are about a saved match; the player opened a replay.
    const std::string guardada = "No se puede cargar la partida guardada: ";
    if (e.rfind(guardada, 0) == 0)
        e = "No se puede ver la repetición: su comienzo está dañado (" +
            e.substr(guardada.size(), e.size() - guardada.size() - 1) + ").";
    return e;
}

std::string partida::reproducir(const repeticion& r,
                                const std::function<void(const sucesos&)>& recibir) {
    sucesos s;
    if (std::string e = empezarrepeticion(r, s); !e.empty())
        return e;
    recibir(s);
    for (const paso& p : r.pasos) {
        for (uint32_t k = 0; k < p.veces; ++k) {
            s = aplicarpaso(p);
            if (!s.empty())
                recibir(s);
        }
    }
    return {};
}

std::string leerbinario(const std::string& ruta, std::size_t maximo, std::vector<uint8_t>& datos) {
    datos.clear();
    // O_NONBLOCK: opening a FIFO left where a file should be must not hang.
    const int fd = ::open(ruta.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return "No se puede abrir " + ruta + ". " + comun::causasistema(errno);
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

std::string escribirbinario(const std::string& ruta, const std::vector<uint8_t>& datos) {
    std::string temporal = ruta + ".temporal-XXXXXX";
    const int fd = ::mkostemp(temporal.data(), O_CLOEXEC);
    if (fd < 0)
        return "No se puede escribir " + ruta + ". " + comun::causasistema(errno);
    std::size_t hecho = 0;
    while (hecho < datos.size()) {
        const ssize_t n = ::write(fd, datos.data() + hecho, datos.size() - hecho);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        hecho += std::size_t(n);
    }
    int numero = hecho == datos.size() ? 0 : (errno ? errno : ENOSPC);
    if (numero == 0 && ::fsync(fd) != 0)
        numero = errno;
    if (::close(fd) != 0 && numero == 0)
        numero = errno;
    if (numero == 0 && ::rename(temporal.c_str(), ruta.c_str()) != 0)
        numero = errno;
    if (numero == 0)
        return {};
    ::unlink(temporal.c_str());
    return "No se puede escribir " + ruta + ". " + comun::causasistema(numero);
}

} // namespace juego
