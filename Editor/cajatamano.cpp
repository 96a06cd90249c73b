#include "Editor/cajatamano.h"

#include "Editor/nucleo.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace editor {

cajatamano::cajatamano(int ancho, int alto, QWidget* padre) : QDialog(padre) {
    setObjectName("cajatamano");
    setWindowTitle(QStringLiteral("Redimensionar el mapa"));
    auto lado = [this](const char* nombre, int valor) {
        auto* s = new QSpinBox(this);
        s->setObjectName(nombre);
        s->setRange(minimolado, maximolado);
        s->setValue(valor);
        s->setSuffix(QStringLiteral(" casillas"));
        return s;
    };
    nuevoancho = lado("nuevoancho", ancho);
    nuevoalto = lado("nuevoalto", alto);
    // The anchor: where the old map stays inside the new one.
    auto* rejilla = new QGridLayout;
    anclas = new QButtonGroup(this);
    static const std::array<const char*, 9> flechas = {"↖", "↑", "↗", "←", "•",
                                                       "→", "↙", "↓", "↘"};
    for (int i = 0; i < 9; ++i) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromUtf8(flechas[std::size_t(i)]));
        b->setCheckable(true);
        b->setFixedSize(28, 28);
        anclas->addButton(b, i);
        rejilla->addWidget(b, i / 3, i % 3);
    }
    anclas->button(0)->setChecked(true);
    terreno = new QComboBox(this);
    terreno->setObjectName("terreno");
    terreno->addItems({QStringLiteral("Pasto"), QStringLiteral("Madera"), QStringLiteral("Pared"),
                       QStringLiteral("Agua"), QStringLiteral("Árbol"), QStringLiteral("Piso")});
    auto* formulario = new QFormLayout;
    formulario->addRow(QStringLiteral("Ancho:"), nuevoancho);
    formulario->addRow(QStringLiteral("Alto:"), nuevoalto);
    formulario->addRow(QStringLiteral("El mapa queda:"), rejilla);
    formulario->addRow(QStringLiteral("Casillas nuevas:"), terreno);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Redimensionar"));
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* caja = new QVBoxLayout(this);
    caja->addLayout(formulario);
    caja->addWidget(botones);
}

} // namespace editor
