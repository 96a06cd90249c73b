#pragma once

#include <QDialog>

#include <array>

class QButtonGroup;
class QComboBox;
class QSpinBox;

namespace editor {

// Mapa → Redimensionar: the new width and height, where the old map stays
// (one of nine anchors) and the terrain of the cells the map gains.
class cajatamano : public QDialog {
public:
    cajatamano(int ancho, int alto, QWidget* padre);

    QSpinBox* nuevoancho;
    QSpinBox* nuevoalto;
    QButtonGroup* anclas; // ids 0 to 8 in reading order
    QComboBox* terreno;   // index = terrain kind
};

} // namespace editor
