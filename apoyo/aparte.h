#pragma once

// Window tests run the game's own windows, which remember settings and write
// replays and saved matches to the user's folders. This keeps both away
// from the tester's, and from every other test program running beside it:
// settings and the user's data, cache and config folders all go to a
// folder of this process that is gone after the test. (Qt's own test mode
// shares one folder between every test program of the machine, so one
// test's clean-up could take another's replays from under it.)

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

struct ajustesaparte {
    QTemporaryDir carpeta;

    // False when no temporary folder could be made.
    bool apartar() {
        if (!carpeta.isValid())
            return false;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, carpeta.path());
        for (const char* v : {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"}) {
            const QString c = carpeta.path() + QLatin1Char('/') + QLatin1String(v);
            if (!QDir().mkpath(c) || !qputenv(v, QFile::encodeName(c)))
                return false;
        }
        return true;
    }
};
