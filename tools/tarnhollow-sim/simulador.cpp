#include "simulador.h"

#include "Comun/mapaarchivo.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <algorithm>
#include <charconv>
#include <ctime>
#include <ostream>
#include <sstream>
#include <utility>

namespace sim {

namespace {

std::string json(const std::string& s) {
    std::string r = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            r += "\\\"";
            break;
        case '\\':
            r += "\\\\";
            break;
        case '\n':
            r += "\\n";
            break;
        case '\r':
            r += "\\r";
            break;
        case '\t':
            r += "\\t";
            break;
        default:
            if (c < 0x20) {
                char b[8];
                std::snprintf(b, sizeof b, "\\u%04x", c);
                r += b;
            } else {
                r += char(c);
            }
        }
    }
    return r + "\"";
}

std::string json(double v) {
    char b[32];
    auto [fin, ec] = std::to_chars(b, b + sizeof b, v);
    std::string r(b, fin);
    if (r.find_first_of(".eEn") == std::string::npos)
        r += ".0";
    return r;
}

std::string unalinea(std::string s) {
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

bool entero(const std::string& s, long& v) {
    auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && fin == s.data() + s.size();
}

// Builds one JSON object a field at a time, in the order the fields are added.
class objeto {
public:
    objeto& campo(const char* n, long v) { return crudo(n, std::to_string(v)); }
    objeto& campo(const char* n, double v) { return crudo(n, json(v)); }
    objeto& campo(const char* n, const std::string& v) { return crudo(n, json(v)); }
    objeto& crudo(const char* n, const std::string& v) {
        if (texto_.size() > 1)
            texto_ += ',';
        texto_ += json(std::string(n));
        texto_ += ':';
        texto_ += v;
        return *this;
    }
    std::string texto() const { return texto_ + "}"; }

private:
    std::string texto_ = "{";
};

std::string lista(const std::vector<std::string>& elementos) {
    std::string r = "[";
    for (std::size_t i = 0; i < elementos.size(); ++i) {
        if (i)
            r += ',';
        r += elementos[i];
    }
    return r + "]";
}

// `proteccion`: the balanced rules' field too (the classic answer stays as
// it always was).
std::string unidadjson(const juego::unidad& u, bool proteccion) {
    std::vector<std::string> pasos;
    for (const std::string& p : u.pasos)
        pasos.push_back(json(p));
    objeto o;
    o.campo("vida", long(u.vida))
        .campo("tipo", long(u.tipo))
        .campo("espera", long(u.espera))
        .campo("pose", long(u.pose))
        .campo("ataque", long(u.ataque))
        .campo("moviendo", long(u.moviendo))
        .campo("x", long(u.x))
        .campo("y", long(u.y))
        .campo("sigx", long(u.sigx))
        .campo("sigy", long(u.sigy))
        .campo("destx", long(u.destx))
        .campo("desty", long(u.desty))
        .campo("direccion", long(u.direccion))
        .campo("muerto", long(u.muerto))
        .campo("camino", u.camino)
        .crudo("pasos", lista(pasos))
        .campo("equipo", long(u.equipo))
        .campo("muertes", long(u.muertes))
        .campo("revivir", long(u.revivir))
        .campo("armadura", long(u.armadura))
        .campo("siguiendo", long(u.siguiendo))
        .campo("atacando", long(u.atacando))
        .campo("buscando", long(u.buscando))
        .campo("bloqueos", long(u.bloqueos))
        .campo("bajas", long(u.bajas));
    if (proteccion)
        o.campo("proteccion", long(u.proteccion));
    return o.texto();
}

int16_t codigoflecha(const std::string& nombre) {
    if (nombre == "izquierda")
        return 37;
    if (nombre == "arriba")
        return 38;
    if (nombre == "derecha")
        return 39;
    if (nombre == "abajo")
        return 40;
    return 0;
}

// A path given as the rest of the line: it may hold spaces.
std::string rutade(const std::vector<std::string>& a) {
    std::string ruta = a.empty() ? std::string() : a[0];
    for (std::size_t i = 1; i < a.size(); ++i)
        ruta += " " + a[i];
    return ruta;
}

// Whole or not at all: a full disk keeps the old file.
bool escribir(const std::string& ruta, const std::vector<uint8_t>& datos) {
    return juego::escribirbinario(ruta, datos).empty();
}

// A date as ISO 8601 in UTC, or null when the file does not know it.
std::string fechajson(int64_t ms) {
    if (ms <= 0)
        return "null";
    const std::time_t t = std::time_t(ms / 1000);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char b[32];
    std::strftime(b, sizeof b, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return json(std::string(b));
}

std::string cabecerajson(const juego::cabecera& c) {
    std::vector<std::string> jugadores;
    for (const juego::jugadorcabecera& j : c.jugadores)
        jugadores.push_back(objeto()
                                .campo("slot", long(j.slot))
                                .campo("nombre", j.nombre)
                                .campo("tipo", std::string(juego::nombretipo(j.tipo)))
                                .campo("equipo", long(j.equipo))
                                .texto());
    const char* objetivos[] = {"ninguno", "muertes", "tiempo"};
    objeto o;
    o.campo("version", long(c.formato))
        .campo("juego", c.juego)
        .campo("mapa", c.mapa)
        .campo("huellamapa", std::to_string(c.huellamapa))
        .crudo("fecha", fechajson(c.fecha))
        .campo("ticks", long(c.ticks))
        .crudo("objetivo", objeto()
                               .campo("tipo", std::string(objetivos[int(c.meta.tipo)]))
                               .campo("valor", long(c.meta.valor))
                               .texto())
        .campo("reglas", std::string(juego::clavemodo(c.regla.modo)))
        .campo("dificultad", std::string(juego::clavedificultad(c.regla.nivel)))
        .campo("edicion", long(c.regla.edicion))
        .campo("jugador", long(c.jugador))
        .crudo("jugadores", lista(jugadores))
        .campo("fin", long(c.fin == juego::verdadero ? 1 : 0));
    // The winner and the score mean something once the match is over.
    if (c.fin == juego::verdadero)
        o.crudo("ganador", c.ganador < 0 ? "null" : std::to_string(c.ganador))
            .crudo("muertes", lista({std::to_string(c.muertes[0]), std::to_string(c.muertes[1])}));
    return o.texto();
}

// Nobody plays ten million ticks (two weeks) in one command.
constexpr long maxticks = 10'000'000;

// Text needs a GUI application for its fonts; the harness has no window, so
// it makes an offscreen one the first time it writes text.
void aplicaciongrafica() {
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nombre[] = "tarnhollow-sim";
    static char* argv[] = {nombre, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace

void simulador::recibir(const juego::sucesos& s) {
    plat.recibir(s);
    capas.jugador = partida.jugador();
    capas.anotar(mundo, s);
}

bool simulador::enred() const {
    return cliente && cliente->estado() == juego::red::cliente::fase::dentro;
}

simulador::simulador() {
    using args = std::vector<std::string>;
    // Commands that would replace the match refuse while a network match is
    // held: `salir` first.
    auto libre = [this](std::ostream& o) {
        if (!enred())
            return true;
        o << "error: estás en una partida en red; sal antes con salir\n";
        return false;
    };

    comandos["cargar"] = [this, libre](const args& a, std::ostream& o) {
        if (a.size() < 3) {
            o << "error: uso: cargar RUTA MAXP TIPO\n";
            return;
        }
        if (!libre(o))
            return;
        // The path may hold spaces: the last two words are the count and type.
        std::string ruta = a[0];
        for (std::size_t i = 1; i + 2 < a.size(); ++i)
            ruta += " " + a[i];
        long maxp = 0;
        const std::string& tipo = a[a.size() - 1];
        if (!entero(a[a.size() - 2], maxp) || maxp < 1 || maxp > 8) {
            o << "error: el número de guerreros debe ser un número entero del 1 al 8\n";
            return;
        }
        if (tipo != "Guerrero" && tipo != "Arquero") {
            o << "error: el tipo debe ser Guerrero o Arquero\n";
            return;
        }
        if (alineacion.fijos && tiposporequipo != maxp) {
            o << "error: tipos dio " << tiposporequipo << " luchadores por equipo y cargar pide "
              << maxp << "\n";
            return;
        }
        juego::sucesos s;
        const std::string error = partida.cargar(
            ruta, int16_t(maxp), tipo == "Guerrero" ? juego::guerrero : juego::arquero, s, meta,
            regla, alineacion);
        if (!error.empty()) {
            o << "error: " << unalinea(error) << "\n";
            return;
        }
        capas.olvidar();
        recibir(s);
    };

    comandos["estado"] = [this](const args&, std::ostream& o) {
        std::vector<std::string> humanos;
        for (int i = 0; i < 2 * mundo.maxp; ++i)
            if (mundo.humano[std::size_t(i)] == juego::verdadero)
                humanos.push_back(std::to_string(i));
        std::vector<std::string> unidades;
        const bool equilibradas = mundo.equilibradas();
        for (int i = 0; i < 2 * mundo.maxp; ++i)
            unidades.push_back(unidadjson(mundo.unidades[i], equilibradas));
        std::vector<std::string> inicio;
        for (int e = 0; e < 2; ++e)
            inicio.push_back(objeto()
                                 .campo("x", long(mundo.inicio[e].x))
                                 .campo("y", long(mundo.inicio[e].y))
                                 .texto());
        objeto e;
        e.campo("anchomapa", long(mundo.anchomapa))
            .campo("altomapa", long(mundo.altomapa))
            .campo("vistax", long(partida.vista().x))
            .campo("vistay", long(partida.vista().y))
            .campo("tick", long(mundo.numtick))
            .campo("jugando", long(mundo.jugando))
            .campo("maxp", long(mundo.maxp))
            .campo("jugador", long(partida.jugador()));
        // Who else plays matters in a network match only; a lone match's
        // answer stays as it always was.
        if (cliente)
            e.crudo("humanos", lista(humanos));
        if (equilibradas)
            e.campo("reglas", std::string(juego::clavemodo(mundo.regla.modo)))
                .campo("dificultad", std::string(juego::clavedificultad(mundo.regla.nivel)))
                .campo("semilla", long(mundo.regla.semilla))
                .campo("edicion", long(mundo.regla.edicion))
                .campo("balanza", long(mundo.balanza));
        e.crudo("inicio", lista(inicio))
            .campo("status", plat.status)
            .campo("pausa", long(mundo.pausado))
            .campo("fin", long(mundo.fin == juego::verdadero ? 1 : 0))
            .crudo("unidades", lista(unidades));
        // The winner means something only once the match is over.
        if (mundo.fin == juego::verdadero)
            e.campo("ganador", long(mundo.ganador));
        o << e.texto() << "\n";
    };

    comandos["objetivo"] = [this](const args& a, std::ostream& o) {
        long n = 0;
        if (a.size() == 1 && a[0] == "ninguno") {
            meta = {};
        } else if (a.size() == 2 && a[0] == "muertes" && entero(a[1], n) && n >= 1 && n <= 500) {
            meta = {juego::tipoobjetivo::muertes, int16_t(n)};
        } else if (a.size() == 2 && a[0] == "tiempo" && entero(a[1], n) && n >= 1 && n <= 3600) {
            meta = {juego::tipoobjetivo::tiempo, int16_t(n)};
        } else {
            o << "error: uso: objetivo ninguno | objetivo muertes N (1 a 500) | "
                 "objetivo tiempo SEGUNDOS (1 a 3600)\n";
        }
    };

    comandos["reglas"] = [this](const args& a, std::ostream& o) {
        if (const auto m = a.size() == 1 ? juego::modode(a[0]) : std::nullopt)
            regla.modo = *m;
        else
            o << "error: uso: reglas clasicas | reglas equilibradas\n";
    };

    comandos["dificultad"] = [this](const args& a, std::ostream& o) {
        if (const auto d = a.size() == 1 ? juego::dificultadde(a[0]) : std::nullopt)
            regla.nivel = *d;
        else
            o << "error: uso: dificultad facil | normal | dificil\n";
    };

    comandos["semilla"] = [this](const args& a, std::ostream& o) {
        long n = 0;
        if (a.size() != 1 || !entero(a[0], n) || n < 0 || n > 4294967295L) {
            o << "error: uso: semilla N, con N entre 0 y 4294967295\n";
            return;
        }
        regla.semilla = uint32_t(n);
    };

    comandos["tipos"] = [this](const args& a, std::ostream& o) {
        auto valido = [](const std::string& t) {
            return !t.empty() && t.size() <= 8 && t.find_first_not_of("GA") == std::string::npos;
        };
        if (a.size() != 2 || !valido(a[0]) || a[0].size() != a[1].size() || !valido(a[1])) {
            o << "error: uso: tipos ROJO AZUL, una letra G o A por luchador, tantas en un "
                 "equipo como en el otro (de 1 a 8)\n";
            return;
        }
        // Slots go red first, then blue, as the match lays them out; the
        // count must match `cargar`'s.
        alineacion.fijos = true;
        alineacion.tipos.fill(juego::arquero);
        const std::string todos = a[0] + a[1];
        for (std::size_t i = 0; i < todos.size(); ++i)
            alineacion.tipos[i] = todos[i] == 'G' ? juego::guerrero : juego::arquero;
        tiposporequipo = int16_t(a[0].size());
    };

    comandos["espectador"] = [this](const args&, std::ostream&) { alineacion.espectador = true; };

    comandos["celda"] = [this](const args& a, std::ostream& o) {
        long x = 0, y = 0;
        if (a.size() != 2 || !entero(a[0], x) || !entero(a[1], y) ||
            !juego::mundo::enrejilla(int(x), int(y))) {
            o << "error: uso: celda X Y, con X e Y entre 0 y 999\n";
            return;
        }
        const juego::celda& c = mundo.mapa(int(x), int(y));
        o << objeto()
                 .campo("terreno", long(c.terreno))
                 .campo("transitable", long(c.transitable))
                 .campo("ocupante", long(c.ocupante))
                 .campo("proyectil", long(c.proyectil))
                 .texto()
          << "\n";
    };

    comandos["tick"] = [this](const args& a, std::ostream& o) {
        long n = 1;
        if (a.size() > 1 || (a.size() == 1 && (!entero(a[0], n) || n < 0 || n > maxticks))) {
            o << "error: uso: tick [N], con N entre 0 y " << maxticks << "\n";
            return;
        }
        if (enred()) {
            o << "error: en una partida en red los ticks los marca el anfitrión: usa esperar\n";
            return;
        }
        // While paused nothing ticks.
        for (long i = 0; i < n && partida.corre(); ++i)
            recibir(partida.tick(plat.teclas));
    };

    comandos["teclas"] = [this](const args& a, std::ostream& o) {
        std::vector<int16_t> nuevas;
        for (const std::string& nombre : a) {
            const int16_t c = codigoflecha(nombre);
            if (c == 0) {
                o << "error: tecla desconocida: " << nombre
                  << " (izquierda, derecha, arriba, abajo)\n";
                return;
            }
            nuevas.push_back(c);
        }
        // In a network match the keys go to the host as they change.
        for (int16_t c : sostenidas)
            if (std::find(nuevas.begin(), nuevas.end(), c) == nuevas.end())
                enred() ? cliente->teclaflecha(c, false) : plat.teclas.soltar(c);
        for (int16_t c : nuevas)
            if (std::find(sostenidas.begin(), sostenidas.end(), c) == sostenidas.end())
                enred() ? cliente->teclaflecha(c, true) : plat.teclas.apretar(c);
        sostenidas = nuevas;
    };

    comandos["tecla"] = [this](const args& a, std::ostream& o) {
        long c = 0;
        if (a.size() != 1 || !entero(a[0], c) || c < 0 || c > 255) {
            o << "error: uso: tecla CODIGO\n";
            return;
        }
        if (enred()) {
            // Only the host pauses; S is this player's own switch.
            if (c == comun::vkespacio)
                cliente->espacio();
            else if (c == comun::vks)
                recibir(partida.tecla(int16_t(c)));
            return;
        }
        recibir(partida.tecla(int16_t(c)));
    };

    comandos["click"] = [this](const args& a, std::ostream& o) {
        long px = 0, py = 0;
        if (a.size() != 2 || !entero(a[0], px) || !entero(a[1], py) || px < 0 || py < 0 ||
            px >= 800 || py >= 600) {
            o << "error: uso: click PX PY, dentro del campo de 800 x 600\n";
            return;
        }
        if (enred())
            cliente->clic(int(px), int(py));
        else
            recibir(partida.clic(int(px), int(py)));
    };

    comandos["flechas"] = [this](const args&, std::ostream& o) {
        std::vector<std::string> activas;
        for (int k = 0; k < juego::numflechas; ++k) {
            const juego::flecha& f = mundo.flechas[k];
            if (f.activa != juego::verdadero)
                continue;
            activas.push_back(objeto()
                                  .campo("ranura", long(k))
                                  .campo("x", f.x)
                                  .campo("y", f.y)
                                  .campo("destx", long(f.destx))
                                  .campo("desty", long(f.desty))
                                  .campo("velx", f.velx)
                                  .campo("vely", f.vely)
                                  .campo("activa", long(f.activa))
                                  .campo("direccion", long(f.direccion))
                                  .campo("velocidad", long(f.velocidad))
                                  .campo("tirador", long(f.tirador))
                                  .texto());
        }
        o << lista(activas) << "\n";
    };

    comandos["sonidos"] = [this](const args&, std::ostream& o) {
        std::vector<std::string> pedidos;
        for (const std::string& p : plat.pedidos)
            pedidos.push_back(json(p));
        plat.pedidos.clear();
        o << objeto().campo("sonido", long(plat.sonido())).crudo("pedidos", lista(pedidos)).texto()
          << "\n";
    };

    comandos["captura"] = [this](const args& a, std::ostream& o) {
        if (a.empty()) {
            o << "error: uso: captura RUTA.png [completa]\n";
            return;
        }
        // "completa": the picture as the player sees it, overlays included.
        const bool completa = a.size() >= 2 && a.back() == "completa";
        const std::string ruta = rutade(completa ? args(a.begin(), a.end() - 1) : a);
        if (!lienzo)
            lienzo = std::make_unique<juego::lienzo>();
        QImage imagen = juego::lienzo::nuevaimagen();
        const juego::posicion v = partida.vista();
        lienzo->dibujar(mundo, v, imagen);
        if (completa) {
            aplicaciongrafica();
            imagen = capas.componer(mundo, imagen, v.x, v.y);
        }
        if (!imagen.save(QString::fromStdString(ruta), "PNG"))
            o << "error: no se pudo escribir " << ruta << "\n";
    };

    comandos["instantanea"] = [this](const args& a, std::ostream& o) {
        if (a.empty()) {
            o << "error: uso: instantanea RUTA\n";
            return;
        }
        if (mundo.jugando != juego::verdadero) {
            o << "error: no hay ninguna partida en marcha\n";
            return;
        }
        if (!escribir(rutade(a), partida.instantanea()))
            o << "error: no se pudo escribir " << rutade(a) << "\n";
    };

    comandos["restaurar"] = [this, libre](const args& a, std::ostream& o) {
        if (a.empty()) {
            o << "error: uso: restaurar RUTA\n";
            return;
        }
        if (!libre(o))
            return;
        std::vector<uint8_t> datos;
        std::string error = juego::leerbinario(rutade(a), juego::maxarchivo, datos);
        juego::sucesos s;
        if (error.empty())
            error = partida.restaurar(datos, s);
        if (!error.empty()) {
            o << "error: " << unalinea(error) << "\n";
            return;
        }
        capas.olvidar();
        recibir(s);
    };

    comandos["repeticion"] = [this](const args& a, std::ostream& o) {
        if (a.empty()) {
            o << "error: uso: repeticion RUTA\n";
            return;
        }
        if (!partida.grabando()) {
            o << "error: no hay ninguna partida que grabar\n";
            return;
        }
        if (!escribir(rutade(a), juego::escribirrepeticion(partida.grabacion())))
            o << "error: no se pudo escribir " << rutade(a) << "\n";
    };

    comandos["reproducir"] = [this, libre](const args& a, std::ostream& o) {
        if (a.empty()) {
            o << "error: uso: reproducir RUTA\n";
            return;
        }
        if (!libre(o))
            return;
        std::vector<uint8_t> datos;
        juego::repeticion r;
        std::string error = juego::leerbinario(rutade(a), juego::maxarchivo, datos);
        if (error.empty())
            error = juego::leerrepeticion(datos.data(), datos.size(), r);
        // The snapshot inside is checked before the match is touched.
        // The events go to the overlays step by step, as in the window, and
        // are not kept: a replay of millions of ticks takes no more memory.
        bool primero = true;
        if (error.empty())
            error = partida.reproducir(r, [this, &primero](const juego::sucesos& s) {
                // Only once the replay's start is restored: a refused one
                // leaves the overlays as they were.
                if (std::exchange(primero, false))
                    capas.olvidar();
                recibir(s);
            });
        if (!error.empty()) {
            o << "error: " << unalinea(error) << "\n";
            return;
        }
    };

    comandos["info"] = [](const args& a, std::ostream& o) {
        if (a.empty()) {
            o << "error: uso: info RUTA\n";
            return;
        }
        std::vector<uint8_t> datos;
        juego::cabecera c;
        std::string error = juego::leerbinario(rutade(a), juego::maxarchivo, datos);
        if (error.empty())
            error = juego::leerinfo(datos.data(), datos.size(), c);
        if (!error.empty()) {
            o << "error: " << unalinea(error) << "\n";
            return;
        }
        o << cabecerajson(c) << "\n";
    };

    comandos["unirse"] = [this, libre](const args& a, std::ostream& o) {
        long puerto = 0, equipo = 0;
        if (a.size() != 4 || !entero(a[1], puerto) || puerto < 1 || puerto > 65535 ||
            (a[2] != "Guerrero" && a[2] != "Arquero") || !entero(a[3], equipo) || equipo < 0 ||
            equipo > 1) {
            o << "error: uso: unirse HOST PUERTO TIPO EQUIPO, con TIPO Guerrero o Arquero y "
                 "EQUIPO 0 o 1\n";
            return;
        }
        if (!libre(o))
            return;
        cliente = std::make_unique<juego::red::cliente>(partida);
        cliente->automatico = false;
        QObject::connect(cliente.get(), &juego::red::cliente::sucedido,
                         [this](const juego::sucesos& s) { recibir(s); });
        cliente->conectar(QString::fromStdString(a[0]), quint16(puerto),
                          QStringLiteral("Simulador"),
                          a[2] == "Guerrero" ? juego::guerrero : juego::arquero, int16_t(equipo));
        if (cliente->esperarentrada(10000)) {
            sostenidas.clear();
            o << "ok\n";
        } else {
            o << "error: " << unalinea(cliente->motivo().toStdString()) << "\n";
            cliente.reset();
        }
    };

    comandos["esperar"] = [this](const args& a, std::ostream& o) {
        long t = 0;
        if (a.size() != 1 || !entero(a[0], t) || t < 0 || t > 4294967295L) {
            o << "error: uso: esperar T\n";
            return;
        }
        if (!cliente) {
            o << "error: no estás en una partida en red\n";
            return;
        }
        const QString error = cliente->avanzarhasta(uint32_t(t));
        if (error.isEmpty())
            o << "ok\n";
        else
            o << "error: " << unalinea(error.toStdString()) << "\n";
    };

    comandos["salir"] = [this](const args&, std::ostream& o) {
        if (!cliente) {
            o << "error: no estás en una partida en red\n";
            return;
        }
        cliente->salir();
        cliente.reset();
        sostenidas.clear();
    };
}

void simulador::ejecutar(const std::string& linea, std::ostream& salida) {
    std::istringstream in(linea);
    std::string nombre;
    if (!(in >> nombre) || nombre[0] == '#')
        return; // blank lines and comments
    std::vector<std::string> argumentos;
    for (std::string a; in >> a;)
        argumentos.push_back(a);
    auto it = comandos.find(nombre);
    if (it == comandos.end()) {
        salida << "error: comando desconocido: " << nombre << "\n";
        return;
    }
    it->second(argumentos, salida);
}

} // namespace sim
