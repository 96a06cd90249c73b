#pragma once

// Lets Qt's event loop run (sockets, timers, deferred deletes) until a
// condition holds, for at most `ms` milliseconds: network tests and
// benchmarks wait this way instead of sleeping a fixed time.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <functional>

namespace prueba {

inline bool bombear(const std::function<bool()>& hecho, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!hecho()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

} // namespace prueba
