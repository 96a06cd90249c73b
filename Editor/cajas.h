#pragma once

#include "Editor/plataforma.h"

class QWidget;

namespace editor {

// The real message boxes, modal over the editor window.
class cajas : public avisos {
public:
    explicit cajas(QWidget* padre) : padre(padre) {}
    void avisar(const std::string& texto, const std::string& titulo, icono i) override;
    bool preguntar(const std::string& texto, const std::string& titulo) override;
    decision decidir(const std::string& texto, const std::string& titulo) override;

private:
    QWidget* padre;
};

} // namespace editor
