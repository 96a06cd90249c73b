#pragma once

#include <QAbstractSocket>
#include <QString>

namespace juego::red {

// Why a connection failed, in Spanish and in lower case, to follow a colon:
// Qt's own texts are in English.
inline QString causared(QAbstractSocket::SocketError e) {
    switch (e) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("nadie espera partidas en esa dirección y ese puerto");
    case QAbstractSocket::RemoteHostClosedError:
        return QStringLiteral("el otro lado cerró la conexión");
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("no se encuentra ninguna máquina con ese nombre");
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("no hubo respuesta a tiempo");
    case QAbstractSocket::NetworkError:
        return QStringLiteral("la red no llega hasta allí");
    case QAbstractSocket::SocketAccessError:
        return QStringLiteral("no hay permiso para usar la red así");
    case QAbstractSocket::SocketResourceError:
        return QStringLiteral("el sistema no tiene recursos para otra conexión");
    case QAbstractSocket::AddressInUseError:
        return QStringLiteral("otro programa ya lo usa");
    case QAbstractSocket::SocketAddressNotAvailableError:
        return QStringLiteral("esa dirección no es de esta máquina");
    case QAbstractSocket::UnsupportedSocketOperationError:
        return QStringLiteral("esta máquina no admite esa clase de dirección");
    default:
        return QStringLiteral("error de red número %1").arg(int(e));
    }
}

} // namespace juego::red
