#include "Editor/cajas.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace editor {

namespace {

// Shows the box and gives the keyboard back to the control that had it:
// a question must not leave the keys somewhere the user didn't put them.
int mostrar(QMessageBox& caja) {
    QPointer<QWidget> antes = QApplication::focusWidget();
    const int r = caja.exec();
    if (antes)
        antes->setFocus(Qt::OtherFocusReason);
    return r;
}

} // namespace

void cajas::avisar(const std::string& texto, const std::string& titulo, icono i) {
    QMessageBox::Icon forma = QMessageBox::Information;
    if (i == icono::critico)
        forma = QMessageBox::Critical;
    else if (i == icono::pregunta)
        forma = QMessageBox::Question;
    QMessageBox caja(forma, QString::fromStdString(titulo), QString::fromStdString(texto),
                     QMessageBox::Ok, padre);
    mostrar(caja);
}

bool cajas::preguntar(const std::string& texto, const std::string& titulo) {
    QMessageBox caja(QMessageBox::Question, QString::fromStdString(titulo),
                     QString::fromStdString(texto), QMessageBox::Yes | QMessageBox::No, padre);
    caja.setDefaultButton(QMessageBox::No);
    caja.setEscapeButton(QMessageBox::No);
    return mostrar(caja) == QMessageBox::Yes;
}

decision cajas::decidir(const std::string& texto, const std::string& titulo) {
    QMessageBox caja(QMessageBox::Warning, QString::fromStdString(titulo),
                     QString::fromStdString(texto),
                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, padre);
    caja.setDefaultButton(QMessageBox::Save);
    caja.setEscapeButton(QMessageBox::Cancel);
    switch (mostrar(caja)) {
    case QMessageBox::Save:
        return decision::guardar;
    case QMessageBox::Discard:
        return decision::descartar;
    default:
        return decision::cancelar;
    }
}

} // namespace editor
