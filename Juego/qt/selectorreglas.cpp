#include "Juego/qt/selectorreglas.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

namespace juego {

selectorreglas::selectorreglas(QWidget* padre) : QWidget(padre) {
    auto* capa = new QFormLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    modo = new QComboBox(this);
    modo->setObjectName(QStringLiteral("reglas"));
    for (modoreglas m : {modoreglas::clasicas, modoreglas::equilibradas})
        modo->addItem(QString::fromUtf8(nombremodo(m)), int(m));
    nivel = new QComboBox(this);
    nivel->setObjectName(QStringLiteral("dificultad"));
    for (dificultad d : {dificultad::facil, dificultad::normal, dificultad::dificil})
        nivel->addItem(QString::fromUtf8(nombredificultad(d)), int(d));
    nivel->setCurrentIndex(1);
    lblmodo = new QLabel(QStringLiteral("Reglas"), this);
    lblnivel = new QLabel(QStringLiteral("Dificultad"), this);
    lblmodo->setBuddy(modo);
    lblnivel->setBuddy(nivel);
    capa->addRow(lblmodo, modo);
    capa->addRow(lblnivel, nivel);
    modo->setToolTip(QStringLiteral("Clásicas: el juego de siempre.\nEquilibradas: un momento "
                                    "a salvo al volver, una acción en espera y luchadores "
                                    "ajustados, con la dificultad del otro equipo."));
    connect(modo, &QComboBox::currentIndexChanged, this, &selectorreglas::modo_Change);
    modo_Change();
}

void selectorreglas::modo_Change() {
    // The classic rules have no difficulty: the choice waits, greyed, for
    // the balanced ones.
    const bool equilibradas = modo->currentData().toInt() == int(modoreglas::equilibradas);
    nivel->setEnabled(equilibradas);
    lblnivel->setEnabled(equilibradas);
}

reglas selectorreglas::elegidas() const {
    reglas r;
    r.modo = modoreglas(modo->currentData().toInt());
    r.nivel = dificultad(nivel->currentData().toInt());
    return r;
}

void selectorreglas::llevara(QFormLayout* f) {
    delete layout();
    f->addRow(lblmodo, modo);
    f->addRow(lblnivel, nivel);
    hide();
}

void selectorreglas::poner(const reglas& r) {
    modo->setCurrentIndex(modo->findData(int(r.modo)));
    nivel->setCurrentIndex(nivel->findData(int(r.nivel)));
}

} // namespace juego
