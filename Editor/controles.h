#pragma once

#include <vector>

namespace editor {

// One key or mouse action of the editor and what it does.
struct mando {
    const char* tecla;
    const char* accion;
};

// Every key and mouse action, in the order the help window and the README
// list them: both are made from this one list, so neither forgets one.
const std::vector<mando>& controles();

} // namespace editor
