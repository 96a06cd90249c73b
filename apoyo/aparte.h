#pragma once

// Window tests run the game's own windows, which remember settings and write
// replays and saved matches to the user's folders. This keeps both away
// from the tester's: settings go to a folder that is gone after the test,
// user folders to Qt's test folders.

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

struct ajustesaparte {
    QTemporaryDir carpeta;

    // False when no temporary folder could be made.
    bool apartar() {
        if (!carpeta.isValid())
            return false;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, carpeta.path());
        QStandardPaths::setTestModeEnabled(true);
        return true;
    }
};
