#include "Editor/cajas.h"

#include <QMessageBox>

namespace editor {

void cajas::avisar(const std::string& texto, const std::string& titulo, icono i) {
    QMessageBox::Icon forma = QMessageBox::Information;
    if (i == icono::critico)
        forma = QMessageBox::Critical;
    else if (i == icono::pregunta)
        forma = QMessageBox::Question;
    QMessageBox caja(forma, QString::fromStdString(titulo), QString::fromStdString(texto),
                     QMessageBox::Ok, padre);
    caja.exec();
}

bool cajas::preguntar(const std::string& texto, const std::string& titulo) {
    QMessageBox caja(QMessageBox::Question, QString::fromStdString(titulo),
                     QString::fromStdString(texto), QMessageBox::Yes | QMessageBox::No, padre);
    caja.setDefaultButton(QMessageBox::No);
    caja.setEscapeButton(QMessageBox::No);
    return caja.exec() == QMessageBox::Yes;
}

} // namespace editor
