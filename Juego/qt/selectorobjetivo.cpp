#include "Juego/qt/selectorobjetivo.h"

#include <QComboBox>
#include <QSpinBox>
#include <QVBoxLayout>

#include <utility>

namespace juego {

selectorobjetivo::selectorobjetivo(QWidget* padre) : QWidget(padre) {
    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    tipo = new QComboBox(this);
    tipo->setObjectName(QStringLiteral("objetivo"));
    // Short enough for the set-up window's narrow column; the number box
    // below reads "primero a 50 muertes".
    tipo->addItems({QStringLiteral("Sin fin"), QStringLiteral("Por muertes"),
                    QStringLiteral("Tiempo límite")});
    cantidad = new QSpinBox(this);
    cantidad->setObjectName(QStringLiteral("cantidad"));
    // A number typed out of range becomes the nearest one allowed, not the
    // number shown before the typing.
    cantidad->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    capa->addWidget(tipo);
    capa->addWidget(cantidad);
    capa->addStretch();
    connect(tipo, &QComboBox::currentIndexChanged, this, &selectorobjetivo::tipo_Change);
    connect(cantidad, &QSpinBox::valueChanged, this, [this](int v) {
        if (!poniendo_ && tipo->currentIndex() == 1)
            muertes_ = v;
    });
    tipo_Change();
}

void selectorobjetivo::tipo_Change() {
    const int k = tipo->currentIndex();
    // Hidden, not gone: the combo box stays where it is.
    QSizePolicy p = cantidad->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    cantidad->setSizePolicy(p);
    cantidad->setVisible(k != 0);
    // A new range moves the number too: that is not the player's choice.
    poniendo_ = true;
    if (k == 1) {
        cantidad->setRange(5, 500);
        cantidad->setPrefix(QStringLiteral("primero a "));
        cantidad->setSuffix(QStringLiteral(" muertes"));
        ponercantidad(muertes_ > 0 ? muertes_ : muertespordefecto(guerreros_));
    } else if (k == 2) {
        cantidad->setRange(1, 60);
        cantidad->setPrefix(QString());
        cantidad->setSuffix(QStringLiteral(" min"));
        ponercantidad(10);
    }
    poniendo_ = false;
}

void selectorobjetivo::ponercantidad(int v) {
    const bool antes = std::exchange(poniendo_, true);
    cantidad->setValue(v);
    poniendo_ = antes;
}

void selectorobjetivo::ponerguerreros(int n) {
    // A number typed into the fighters' box may be anything; the window
    // refuses it when the match starts.
    if (n < 1 || n > 8)
        return;
    guerreros_ = n;
    if (tipo->currentIndex() == 1 && muertes_ == 0)
        ponercantidad(muertespordefecto(n));
}

void selectorobjetivo::poner(const objetivo& o) {
    if (o.tipo == tipoobjetivo::muertes) {
        // A number that was the default for these teams stays the default.
        muertes_ = o.valor == muertespordefecto(guerreros_) ? 0 : o.valor;
        tipo->setCurrentIndex(1);
        ponercantidad(o.valor);
    } else if (o.tipo == tipoobjetivo::tiempo) {
        tipo->setCurrentIndex(2);
        cantidad->setValue(o.valor / 60);
    } else {
        tipo->setCurrentIndex(0);
    }
}

objetivo selectorobjetivo::elegido() const {
    // What is typed counts even when the box still has the focus (Intro).
    cantidad->interpretText();
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
