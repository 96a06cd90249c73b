#include "Juego/qt/idioma.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace juego {

void fechasenespanol() {
    // Only the dates: the C library's numbers stay as they were, and a
    // locale the user forces on everything (LC_ALL) is theirs to keep.
    if (qEnvironmentVariableIsEmpty("LC_ALL"))
        qputenv("LC_TIME", "es_ES.UTF-8");
}

void ponerespanol(QCoreApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    auto* qtbase = new QTranslator(&app);
    if (qtbase->load(QStringLiteral("qtbase_es"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtbase);
    else
        delete qtbase;
}

} // namespace juego
