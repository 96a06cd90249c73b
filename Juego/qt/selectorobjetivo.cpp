#include "Juego/qt/selectorobjetivo.h"

#include <QComboBox>
#include <QSpinBox>
#include <QVBoxLayout>

namespace juego {

selectorobjetivo::selectorobjetivo(QWidget* padre) : QWidget(padre) {
    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    tipo = new QComboBox(this);
    tipo->setObjectName(QStringLiteral("objetivo"));
    tipo->addItems({QStringLiteral("Sin fin"), QStringLiteral("Primer equipo a N muertes"),
                    QStringLiteral("Tiempo límite")});
    cantidad = new QSpinBox(this);
    cantidad->setObjectName(QStringLiteral("cantidad"));
    capa->addWidget(tipo);
    capa->addWidget(cantidad);
    capa->addStretch();
    connect(tipo, &QComboBox::currentIndexChanged, this, &selectorobjetivo::tipo_Change);
    tipo_Change();
}

void selectorobjetivo::tipo_Change() {
    const int k = tipo->currentIndex();
    // Hidden, not gone: the combo box stays where it is.
    QSizePolicy p = cantidad->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    cantidad->setSizePolicy(p);
    cantidad->setVisible(k != 0);
    if (k == 1) {
        cantidad->setRange(5, 500);
        cantidad->setSuffix(QStringLiteral(" muertes"));
        cantidad->setValue(50);
    } else if (k == 2) {
        cantidad->setRange(1, 60);
        cantidad->setSuffix(QStringLiteral(" min"));
        cantidad->setValue(10);
    }
}

objetivo selectorobjetivo::elegido() const {
    switch (tipo->currentIndex()) {
    case 1:
        return {tipoobjetivo::muertes, int16_t(cantidad->value())};
    case 2:
        return {tipoobjetivo::tiempo, int16_t(cantidad->value() * 60)};
    default:
        return {};
    }
}

} // namespace juego
