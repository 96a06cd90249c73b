// The editor's heaviest redraws: a window the size of a full-HD screen at
// 25 % on a 200 x 200 map (the whole map in view), and the minimap, after
// the whole map was filled. Prints medians; never fails on speed.
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
    return 0;
}
