#pragma once

class QCoreApplication;

namespace juego {

// The game speaks Spanish whatever the system's language: Qt's own dialogs
// and buttons ("Abrir", "Cancelar", "Sí"), the dates and file kinds of the
// file dialogs. Qt's Spanish catalogue is loaded when it is installed;
// without it those few words stay English.
void ponerespanol(QCoreApplication& app);
// Before the application is made: the file dialogs write their dates in
// the system's way, which Qt reads once from the environment.
void fechasenespanol();

} // namespace juego
