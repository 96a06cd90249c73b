#include "Juego/qt/jugada.h"

#include "Comun/teclas.h"

#include <QWidget>

namespace juego {

jugada::jugada(mesa& m) : QObject(m.ventana()), mesa_(m) {}

jugada::~jugada() = default;

std::function<void()> jugada::soltarpartida() const {
    return [] {};
}

void jugada::teclaflecha(int16_t, bool) {}

void jugada::soltartodas() {}

void jugada::recibir(const sucesos& s) {
    mesa_.procesar(s);
}

QTimer* jugada::relojpropio() const {
    return nullptr;
}

bool jugada::sejuega() const {
    return true;
}

bool jugada::lineadelapartida() const {
    return true;
}

std::size_t jugada::otrosjugadores() const {
    return 0;
}

bool jugada::ofrecerevancha() const {
    return false;
}

void jugada::revanchar(const revancha&) {}

QString jugada::otrapartida() const {
    return {};
}

simulacion::modo jugadalocal::modosimulacion() const {
    return simulacion::modo::local;
}

void jugadalocal::clic(int px, int py, posicion vista) {
    // The cell under the pointer in the frame on screen, whatever the match
    // did since.
    mesa_.enviar([px, py, vista](partida& p) { return p.clic(px, py, vista); });
}

bool jugada::teclajuego(int16_t vk) {
    return vk == comun::vkespacio || (vk >= comun::vkizquierda && vk <= comun::vkabajo);
}

void jugada::cambiarsonido() {
    mesa_.ponersonido(mesa_.sonido() == 1 ? 0 : 1);
}

bool jugadalocal::tecla(int, int16_t vk, bool) {
    mesa_.enviar([vk](partida& p) { return p.tecla(vk); });
    return teclajuego(vk);
}

bool jugadalocal::ofrecerevancha() const {
    return true;
}

void jugadalocal::revanchar(const revancha& r) {
    mesa_.cargarmapa(r.ruta, r.maxp, r.tipo, r.meta, r.regla);
}

QString jugadalocal::otrapartida() const {
    return QStringLiteral("Otra partida: Archivo → Un Jugador");
}

} // namespace juego
