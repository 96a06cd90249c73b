#include "Juego/qt/lineaordenes.h"

#include "Comun/mapaarchivo.h"
#include "Juego/nucleo/partida.h"
#include "Juego/nucleo/repeticion.h"
#include "Juego/qt/ajustes.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>

#include <vector>

namespace juego {

namespace {

struct opcion {
    QStringList nombres;
    QString valor; // empty for a switch
    QString descripcion;
};

const std::vector<opcion>& opciones() {
    static const std::vector<opcion> o = {
        {{QStringLiteral("mapa")},
         QStringLiteral("RUTA"),
         QStringLiteral("Empieza una partida en el mapa RUTA (un archivo .mapa).")},
        {{QStringLiteral("guerreros")},
         QStringLiteral("N"),
         QStringLiteral("Guerreros por equipo, del 1 al 8.")},
        {{QStringLiteral("tipo")}, QStringLiteral("TIPO"), QStringLiteral("Guerrero o Arquero.")},
        {{QStringLiteral("objetivo")},
         QStringLiteral("OBJETIVO"),
         QStringLiteral("Cómo se gana: muertes:N (primer equipo a N muertes, de 5 a 500), "
                        "tiempo:S (S segundos en minutos enteros, de 60 a 3600) o sinfin.")},
        {{QStringLiteral("repeticion")},
         QStringLiteral("RUTA"),
         QStringLiteral("Reproduce la repetición RUTA.")},
        {{QStringLiteral("unirse")},
         QStringLiteral("HOST:PUERTO"),
         QStringLiteral("Abre Multijugador con HOST y PUERTO puestos para unirse a una partida "
                        "(una dirección IPv6 va entre corchetes: [::1]:4000).")},
        {{QStringLiteral("h"), QStringLiteral("help")},
         {},
         QStringLiteral("Muestra esta ayuda y sale.")},
        {{QStringLiteral("v"), QStringLiteral("version")},
         {},
         QStringLiteral("Muestra la versión y sale.")},
    };
    return o;
}

QString guiones(const QString& nombre) {
    return (nombre.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + nombre;
}

// The descriptions are Spanish, and so must be the words around them, which
// QCommandLineParser::helpText() would give in English without a translator
// (and installing one needs the application that is not there yet).
QString ayuda() {
    QString t = QStringLiteral("Uso: tarnhollow [opciones]\n\n"
                               "Tarnhollow, lucha por equipos en un mapa visto desde arriba.\n"
                               "Sin opciones abre la ventana del juego. Con --mapa, la "
                               "partida empieza enseguida;\n"
                               "--guerreros, --tipo y --objetivo que falten son los que "
                               "recuerda el menú Un Jugador.\n\n"
                               "Opciones:\n");
    constexpr int columna = 24;
    constexpr int ancho = 79;
    for (const opcion& o : opciones()) {
        QStringList n;
        for (const QString& nombre : o.nombres)
            n << guiones(nombre);
        QString cabeza = QStringLiteral("  ") + n.join(QStringLiteral(", "));
        if (!o.valor.isEmpty())
            cabeza += QLatin1Char(' ') + o.valor;
        QString linea = cabeza.size() < columna
                            ? cabeza.leftJustified(columna)
                            : cabeza + QLatin1Char('\n') + QString(columna, QLatin1Char(' '));
        int usado = columna;
        for (const QString& palabra : o.descripcion.split(QLatin1Char(' '))) {
            if (usado > columna && usado + 1 + palabra.size() > ancho) {
                linea += QLatin1Char('\n') + QString(columna, QLatin1Char(' '));
                usado = columna;
            }
            if (usado > columna) {
                linea += QLatin1Char(' ');
                ++usado;
            }
            linea += palabra;
            usado += int(palabra.size());
        }
        t += linea + QLatin1Char('\n');
    }
    return t;
}

// The readers' messages are written for a message box, a line break before
// the file name; on one line of standard error a colon does.
QString enunalinea(const std::string& s) {
    QString t = QString::fromStdString(s);
    t.replace(QStringLiteral(":\n"), QStringLiteral(": "));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t;
}

// A whole number written only with digits, so that "+3", " 3" or "3x"
// are refused rather than read as 3; nullopt when it is not one.
std::optional<int> entero(const QString& s) {
    if (s.isEmpty() || s.size() > 6)
        return std::nullopt;
    for (const QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return s.toInt();
}

QString citado(const QString& s) {
    return QStringLiteral("«") + s + QStringLiteral("»");
}

QString leerguerreros(const QString& s, int16_t& n) {
    const std::optional<int> v = entero(s);
    if (!v || *v < 1 || *v > 8)
        return QStringLiteral("--guerreros debe ser un número entero del 1 al 8, no %1.")
            .arg(citado(s));
    n = int16_t(*v);
    return {};
}

QString leertipo(const QString& s, int16_t& tipo) {
    if (s.compare(QStringLiteral("Guerrero"), Qt::CaseInsensitive) == 0)
        tipo = guerrero;
    else if (s.compare(QStringLiteral("Arquero"), Qt::CaseInsensitive) == 0)
        tipo = arquero;
    else
        return QStringLiteral("--tipo debe ser Guerrero o Arquero, no %1.").arg(citado(s));
    return {};
}

// The goals the set-up window offers, and only those: a goal it could not
// show would be remembered by no one and shown wrong at Revancha.
QString leerobjetivo(const QString& s, objetivo& meta) {
    if (s.compare(QStringLiteral("sinfin"), Qt::CaseInsensitive) == 0) {
        meta = {};
        return {};
    }
    const qsizetype dos = s.indexOf(QLatin1Char(':'));
    const QString clase = s.left(dos).toLower();
    const std::optional<int> v = dos < 0 ? std::nullopt : entero(s.mid(dos + 1));
    if (clase == QStringLiteral("muertes") && dos >= 0) {
        if (!v || *v < 5 || *v > 500)
            return QStringLiteral("--objetivo muertes:N lleva N del 5 al 500, no %1.")
                .arg(citado(s));
        meta = {tipoobjetivo::muertes, int16_t(*v)};
        return {};
    }
    if (clase == QStringLiteral("tiempo") && dos >= 0) {
        if (!v || *v < 60 || *v > 3600 || *v % 60 != 0)
            return QStringLiteral("--objetivo tiempo:S lleva S segundos en minutos enteros, "
                                  "de 60 a 3600 (tiempo:600 son 10 minutos), no %1.")
                .arg(citado(s));
        meta = {tipoobjetivo::tiempo, int16_t(*v)};
        return {};
    }
    return QStringLiteral("--objetivo debe ser muertes:N, tiempo:S o sinfin, no %1.")
        .arg(citado(s));
}

bool nombrehost(const QString& h) {
    if (h.isEmpty() || h.size() > 253)
        return false;
    bool solonumeros = true;
    for (const QChar c : h) {
        const bool letra = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        const bool digito = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!letra && !digito && c != QLatin1Char('-') && c != QLatin1Char('.'))
            return false;
        solonumeros = solonumeros && !letra && c != QLatin1Char('-');
    }
    // Digits and dots only mean an IPv4 address, and must be one: 300.1.1.1
    // is no host to look up.
    QHostAddress a;
    return !solonumeros || (a.setAddress(h) && a.protocol() == QAbstractSocket::IPv4Protocol);
}

QString leerunirse(const QString& s, QString& host, quint16& puerto) {
    const QString malo =
        QStringLiteral("--unirse lleva HOST:PUERTO (127.0.0.1:4000, [::1]:4000), no %1.")
            .arg(citado(s));
    QString h;
    QString p;
    if (s.startsWith(QLatin1Char('['))) {
        const qsizetype cierre = s.indexOf(QStringLiteral("]:"));
        if (cierre < 0)
            return malo;
        h = s.mid(1, cierre - 1);
        p = s.mid(cierre + 2);
        QHostAddress a;
        if (!a.setAddress(h) || a.protocol() != QAbstractSocket::IPv6Protocol)
            return QStringLiteral("--unirse: %1 no es una dirección IPv6.").arg(citado(h));
    } else {
        const qsizetype dos = s.lastIndexOf(QLatin1Char(':'));
        if (dos < 0)
            return malo;
        h = s.left(dos);
        p = s.mid(dos + 1);
        // "::1:4000" could be read more than one way.
        if (h.contains(QLatin1Char(':')))
            return QStringLiteral("--unirse: una dirección IPv6 va entre corchetes, "
                                  "como en [::1]:4000; no %1.")
                .arg(citado(s));
        if (!nombrehost(h))
            return QStringLiteral("--unirse: %1 no es un nombre de máquina ni una dirección.")
                .arg(citado(h));
    }
    const std::optional<int> v = entero(p);
    if (!v || *v < 1 || *v > 65535)
        return QStringLiteral("--unirse: el puerto debe ser un número del 1 al 65535, no %1.")
            .arg(citado(p));
    host = h;
    puerto = quint16(*v);
    return {};
}

QString leermapa(const QString& ruta) {
    if (ruta.isEmpty())
        return QStringLiteral("--mapa necesita la ruta de un archivo de mapa.");
    const comun::lectura l = comun::leerarchivo(QFile::encodeName(ruta).toStdString());
    if (!l)
        return enunalinea(l.error);
    const std::string error = mundo::errorpartida(*l.mapa);
    if (!error.empty())
        return QStringLiteral("no se puede jugar en %1: %2").arg(ruta, enunalinea(error));
    return {};
}

QString leerrepeticion(const QString& ruta) {
    if (ruta.isEmpty())
        return QStringLiteral("--repeticion necesita la ruta de una repetición.");
    // The reader would say so in the system's words, English here.
    if (!QFileInfo::exists(ruta))
        return QStringLiteral("no existe %1.").arg(ruta);
    std::vector<uint8_t> datos;
    std::string error = leerbinario(QFile::encodeName(ruta).toStdString(), maxarchivo, datos);
    repeticion r;
    if (error.empty())
        error = juego::leerrepeticion(datos.data(), datos.size(), r);
    if (!error.empty())
        return enunalinea(error);
    return {};
}

lecturaarranque fallo(const QString& error) {
    return {std::nullopt, error};
}

// QCommandLineParser's own messages are English; ours say the same in
// Spanish, from what it tells apart.
QString porquenoentiende(const QCommandLineParser& p, const QStringList& argumentos) {
    const QStringList desconocidas = p.unknownOptionNames();
    if (!desconocidas.isEmpty())
        return QStringLiteral("opción desconocida: %1.").arg(guiones(desconocidas.first()));
    // A value option takes the next argument whatever it is, so it only
    // misses its value at the end.
    const QString ultima = argumentos.size() > 1 ? argumentos.last() : QString();
    for (const opcion& o : opciones())
        for (const QString& n : o.nombres)
            if (!o.valor.isEmpty() &&
                (ultima == QStringLiteral("--") + n || ultima == QStringLiteral("-") + n))
                return QStringLiteral("falta el valor de --%1 (%2).").arg(n, o.valor);
    for (const QString& a : argumentos.mid(1)) {
        if (!a.contains(QLatin1Char('=')))
            continue;
        const QString nombre = a.section(QLatin1Char('='), 0, 0);
        for (const opcion& o : opciones())
            for (const QString& n : o.nombres)
                if (o.valor.isEmpty() &&
                    (nombre == QStringLiteral("--") + n || nombre == QStringLiteral("-") + n))
                    return QStringLiteral("%1 no lleva valor.").arg(guiones(n));
    }
    return QStringLiteral("no se entienden los argumentos (%1).").arg(p.errorText());
}

} // namespace

lecturaarranque leerarranque(const QStringList& argumentos) {
    QCommandLineParser p;
    // -mapa as well as --mapa, as many games take them; and no bundling of
    // one-letter switches, which would turn a mistyped -mapa into four
    // unknown letters.
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const opcion& o : opciones())
        p.addOption(QCommandLineOption(o.nombres, o.descripcion, o.valor));
    if (!p.parse(argumentos))
        return fallo(porquenoentiende(p, argumentos));
    if (!p.positionalArguments().isEmpty())
        return fallo(
            QStringLiteral("argumento de más: %1.").arg(citado(p.positionalArguments().first())));
    // The last of two would quietly win; the user meant one of them.
    for (const opcion& o : opciones())
        if (!o.valor.isEmpty() && p.values(o.nombres.first()).size() > 1)
            return fallo(QStringLiteral("--%1 va una sola vez.").arg(o.nombres.first()));

    arranque a;
    if (p.isSet(QStringLiteral("help"))) {
        a.hacer = arranque::que::ayuda;
        a.texto = ayuda();
        return {a, {}};
    }
    if (p.isSet(QStringLiteral("version"))) {
        a.hacer = arranque::que::version;
        a.texto = QStringLiteral("Tarnhollow " TARNHOLLOW_VERSION "\n");
        return {a, {}};
    }

    QStringList modos;
    for (const char* m : {"mapa", "repeticion", "unirse"})
        if (p.isSet(QLatin1String(m)))
            modos << QLatin1String(m);
    if (modos.size() > 1)
        return fallo(
            QStringLiteral("--%1 y --%2 no van juntas: elige una.").arg(modos[0], modos[1]));
    for (const char* d : {"guerreros", "tipo", "objetivo"})
        if (p.isSet(QLatin1String(d)) && !p.isSet(QStringLiteral("mapa")))
            return fallo(QStringLiteral("--%1 solo vale con --mapa.").arg(QLatin1String(d)));

    QString error;
    if (p.isSet(QStringLiteral("mapa"))) {
        a.hacer = arranque::que::partida;
        const QString ruta = p.value(QStringLiteral("mapa"));
        if (p.isSet(QStringLiteral("guerreros"))) {
            int16_t n = 0;
            if (!(error = leerguerreros(p.value(QStringLiteral("guerreros")), n)).isEmpty())
                return fallo(error);
            a.guerreros = n;
        }
        if (p.isSet(QStringLiteral("tipo"))) {
            int16_t t = 0;
            if (!(error = leertipo(p.value(QStringLiteral("tipo")), t)).isEmpty())
                return fallo(error);
            a.tipo = t;
        }
        if (p.isSet(QStringLiteral("objetivo"))) {
            objetivo m;
            if (!(error = leerobjetivo(p.value(QStringLiteral("objetivo")), m)).isEmpty())
                return fallo(error);
            a.meta = m;
        }
        // The file last: a mistyped number is reported without reading it.
        if (!(error = leermapa(ruta)).isEmpty())
            return fallo(error);
        a.ruta = QFileInfo(ruta).absoluteFilePath();
    } else if (p.isSet(QStringLiteral("repeticion"))) {
        a.hacer = arranque::que::repeticion;
        const QString ruta = p.value(QStringLiteral("repeticion"));
        if (!(error = leerrepeticion(ruta)).isEmpty())
            return fallo(error);
        a.ruta = QFileInfo(ruta).absoluteFilePath();
    } else if (p.isSet(QStringLiteral("unirse"))) {
        a.hacer = arranque::que::unirse;
        if (!(error = leerunirse(p.value(QStringLiteral("unirse")), a.host, a.puerto)).isEmpty())
            return fallo(error);
    }
    return {a, {}};
}

partidapedida completar(const arranque& a, const ajustes& recordado) {
    partidapedida p;
    p.guerreros = a.guerreros.value_or(int16_t(recordado.guerreros));
    p.tipo = a.tipo.value_or(recordado.tipo == QStringLiteral("Arquero") ? arquero : guerrero);
    p.meta = a.meta.value_or(recordado.meta);
    p.regla = recordado.regla;
    p.regla.semilla = 0;
    return p;
}

} // namespace juego
