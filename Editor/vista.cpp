#include "Editor/vista.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace editor {

vista::vista(QSize tam, QWidget* padre) : QWidget(padre), imagen(tam, QImage::Format_RGB32) {
    imagen.fill(palette().color(QPalette::Window));
    resize(tam);
    // Moves arrive also without a button held; the handler decides.
    setMouseTracking(true);
}

void vista::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, imagen);
}

void vista::mousePressEvent(QMouseEvent* ev) {
    if (alpulsar)
        alpulsar(ev);
}

void vista::mouseMoveEvent(QMouseEvent* ev) {
    if (almover)
        almover(ev);
}

void vista::mouseReleaseEvent(QMouseEvent* ev) {
    if (alsoltar)
        alsoltar(ev);
}

void vista::wheelEvent(QWheelEvent* ev) {
    if (alrueda)
        alrueda(ev);
    else
        QWidget::wheelEvent(ev);
}

void vista::leaveEvent(QEvent*) {
    if (alsalir)
        alsalir();
}

} // namespace editor
