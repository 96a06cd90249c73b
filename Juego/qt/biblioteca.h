#pragma once

#include "Juego/qt/estante.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace juego {

// The list a player picks a replay to watch or a saved match to load from:
// map, date, length, players and result of each, newest first, with a small
// picture of the selected one's map. Replays can be kept out of the
// archive's rotation under a name, and any file can go to the trash.
class biblioteca : public QDialog {
    Q_OBJECT
public:
    // `repeticiones`: the list of replays (with *Conservar*) rather than
    // of saved matches.
    biblioteca(QWidget* padre, const QString& titulo, const QString& carpeta,
               const QString& extension, bool repeticiones);

    // The file chosen, once accepted.
    QString elegida() const { return elegida_; }

    // How the player is asked (tests answer instead): a file outside the
    // list, a name to keep a replay under, a yes or no, and what went wrong.
    std::function<QString()> pedirotro;
    std::function<QString(const QString& propuesto)> pedirnombre;
    std::function<bool(const QString& texto)> confirmar;
    std::function<void(const QString& texto)> avisar;

    QTreeWidget* lista = nullptr;
    QPushButton* ver = nullptr;
    QPushButton* conservar = nullptr;
    QPushButton* borrar = nullptr;
    QPushButton* abrir = nullptr;
    QLabel* vista = nullptr;

    // Reads the folders again.
    void rellenar();
    const ficha* actual() const;

private:
    void seleccion();
    void elegir();
    void conservar_Click();
    void borrar_Click();

    estante estante_;
    bool repeticiones_;
    std::vector<ficha> fichas_;
    QString elegida_;
};

} // namespace juego
