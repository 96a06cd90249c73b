#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace editor {

// A picture box: shows its persistent picture and hands mouse positions,
// in its own pixels, to the window's handlers.
class vista : public QWidget {
public:
    vista(QSize tam, QWidget* padre);

    QImage imagen;
    std::function<void(QMouseEvent*)> alpulsar;
    std::function<void(QMouseEvent*)> almover;
    std::function<void(QMouseEvent*)> alsoltar;
    std::function<void()> alsalir;
    std::function<void(QWheelEvent*)> alrueda;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* ev) override;
    void mouseMoveEvent(QMouseEvent* ev) override;
    void mouseReleaseEvent(QMouseEvent* ev) override;
    void leaveEvent(QEvent* ev) override;
    void wheelEvent(QWheelEvent* ev) override;
};

} // namespace editor
