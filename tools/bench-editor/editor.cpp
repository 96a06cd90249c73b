// The editor's heaviest redraws: a window the size of a full-HD screen at
// 25 % on a 200 x 200 map (the whole map in view), and the minimap, after
// the whole map was filled; then the 1000 x 1000 rows: open, save, a full
// fill, its undo, a 200 x 200 paste and a redraw at the fit zoom, in thread
// CPU time. Prints medians and worst; never fails on speed.
#include "Comun/terreno.h"
#include "Editor/escritura.h"
#include "Editor/nucleo.h"
#include "Editor/plataforma.h"
#include "Editor/ventana.h"
#include "Editor/vista.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

template <class F> double mediana(F&& f) {
    std::vector<double> v;
    for (int i = 0; i < 31; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        v.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double cpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// `antes` runs untimed before each run of `f`.
void fila(const char* nombre, double meta, const std::function<void()>& f,
          const std::function<void()>& antes = {}) {
    std::vector<double> v;
    for (int i = 0; i < 15; ++i) {
        if (antes)
            antes();
        const double t0 = cpu();
        f();
        v.push_back(cpu() - t0);
    }
    std::sort(v.begin(), v.end());
    std::printf("1000 x 1000 %-26s mediana %7.2f ms, peor %7.2f ms (meta %3.0f ms)\n", nombre,
                v[v.size() / 2], v.back(), meta);
}

// The editor core without a window; saves through the window's writer.
class sinventana : public editor::plataforma {
public:
    std::string portapapeles;
    void avisar(const std::string&, const std::string&, editor::icono) override {}
    bool preguntar(const std::string&, const std::string&) override { return true; }
    editor::decision decidir(const std::string&, const std::string&) override {
        return editor::decision::descartar;
    }
    void dibujar() override {}
    void ponerestado(const std::string&) override {}
    void mostrarpanel(bool) override {}
    std::string escribir(const std::string& r, const std::string& t) override {
        return editor::escribirarchivo(r, t);
    }
    void refrescar(const std::string&) override {}
    bool escribible(const std::string&) override { return true; }
    void ponernombre(const std::string&) override {}
    void ponertitulo(const std::string&, bool) override {}
    std::string leernombre() override { return "grande"; }
    std::string tirar(const std::string&) override { return {}; }
    void vigilar(const std::string&) override {}
    void ponerportapapeles(const std::string& t) override { portapapeles = t; }
    std::string leerportapapeles() override { return portapapeles; }
    std::string carpetaprueba() override { return {}; }
    std::string programajuego() override { return {}; }
    std::string lanzar(const std::string&, const std::vector<std::string>&) override { return {}; }
};

void mil(const QString& carpeta) {
    sinventana p;
    editor::nucleo n(p, carpeta.toStdString());
    n.Form_Load();
    n.crear_Click(1000, 1000);
    // A start for each team and some terrain, so the save's checks have
    // something to walk.
    n.px_Click(0);
    n.mainpic_MouseDown(0, 5, 5);
    n.mainpic_MouseUp(5, 5);
    n.ponervista(990, 990);
    n.px_Click(1);
    n.mainpic_MouseDown(0, int(7 * n.ver().escala()), int(7 * n.ver().escala()));
    n.mainpic_MouseUp(0, 0);
    n.ponervista(0, 0);
    n.guardar_Click("grande");
    const std::string ruta = n.rutaactual();
    fila("abrir", 100, [&] { n.abrirruta(ruta, "Abrir"); });
    fila("guardar", 100, [&] { n.guardar_Click("grande"); });
    int16_t t = comun::madera;
    auto rellenar = [&] {
        t = t == comun::madera ? comun::piso : comun::madera;
        n.terrenos_Click(t);
        n.mainpic_MouseDown(editor::mayusculas, 100, 100);
        n.mainpic_MouseUp(100, 100);
    };
    fila("relleno completo", 100, rellenar);
    fila(
        "deshacer el relleno", 100, [&] { n.deshacer(); }, rellenar);
    p.portapapeles = "tarnhollow-casillas 1 200 200\n";
    for (int y = 0; y < 200; ++y)
        p.portapapeles += std::string(200, char('0' + (y % 3))) + "\n";
    fila("pegar 200 x 200", 100, [&] {
        n.pegar();
        n.soltarcopia(500, 500);
    });
}

void tecla(QWidget* w, int k, Qt::KeyboardModifiers m) {
    QKeyEvent p(QEvent::KeyPress, k, m);
    QApplication::sendEvent(w, &p);
    QKeyEvent s(QEvent::KeyRelease, k, m);
    QApplication::sendEvent(w, &s);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    editor::main w(tmp.path() + "/mapas", tmp.path() + "/usuario");
    w.resize(1920, 1050);
    w.show();
    w.ancho->setCurrentText("200");
    w.alto->setCurrentText("200");
    w.crear->click();
    // Fill it all with wood: the palette's key, then Shift + click.
    tecla(w.mainpic, Qt::Key_2, Qt::NoModifier);
    const QPointF sitio(30, 30);
    QMouseEvent pulsa(QEvent::MouseButtonPress, sitio, w.mainpic->mapToGlobal(sitio),
                      Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(w.mainpic, &pulsa);
    QMouseEvent suelta(QEvent::MouseButtonRelease, sitio, w.mainpic->mapToGlobal(sitio),
                       Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    QApplication::sendEvent(w.mainpic, &suelta);
    tecla(w.mainpic, Qt::Key_Minus, Qt::ControlModifier);
    tecla(w.mainpic, Qt::Key_Minus, Qt::ControlModifier);

    const auto& e = w.centro().ver();
    std::printf("vista %d x %d px, %d x %d celdas de %d px, mapa %d x %d\n", w.mainpic->width(),
                w.mainpic->height(), e.celdasx(), e.celdasy(), e.tamano, e.anchomapa + 1,
                e.altomapa + 1);
    const double vista = mediana([&] { w.redibujar(); });
    const double mini = mediana([&] { w.dibujarminimapa(); });
    std::printf("redibujar vista y minimapa: mediana %.2f ms (%.0f %% de 16 ms)\n", vista,
                100 * vista / 16.0);
    std::printf("solo el minimapa:           mediana %.2f ms (%.0f %% de 16 ms)\n", mini,
                100 * mini / 16.0);

    mil(tmp.path() + "/mil");
    // The whole 1000 x 1000 map in a 1600 x 1000 window, at the fit zoom.
    editor::main v(tmp.path() + "/mapas", tmp.path() + "/usuario");
    v.resize(1600, 1000);
    v.show();
    v.ancho->setCurrentText("1000");
    v.alto->setCurrentText("1000");
    v.crear->click();
    const auto& m = v.centro().ver();
    std::printf("vista %d x %d px, %d x %d celdas, zoom %s\n", v.mainpic->width(),
                v.mainpic->height(), m.celdasx(), m.celdasy(), v.centro().informezoom().c_str());
    fila("redibujar ajustado", 16, [&] { v.redibujar(); });
    tecla(v.mainpic, Qt::Key_C, Qt::NoModifier);
    fila("redibujar con el tinte", 16, [&] { v.redibujar(); });
    return 0;
}
