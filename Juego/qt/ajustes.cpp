#include "Juego/qt/ajustes.h"

#include <QSettings>

namespace juego {

namespace {

bool logico(QSettings& s, const QString& clave, bool poromision) {
    const QVariant v = s.value(clave);
    if (!v.isValid())
        return poromision;
    const QString t = v.toString().trimmed().toLower();
    if (t == QStringLiteral("true") || t == QStringLiteral("1"))
        return true;
    if (t == QStringLiteral("false") || t == QStringLiteral("0"))
        return false;
    return poromision;
}

} // namespace

ajustes ajustes::leer(QSettings& s) {
    ajustes a;
    a.sonido = logico(s, QStringLiteral("sonido"), a.sonido);
    a.suave = logico(s, QStringLiteral("movimientosuave"), a.suave);
    a.minimapa = logico(s, QStringLiteral("minimapa"), a.minimapa);
    const QString zoom = s.value(QStringLiteral("zoom")).toString().trimmed();
    if (zoom == QStringLiteral("1.5") || zoom == QStringLiteral("2"))
        a.zoom = zoom.toDouble();
    a.pantallacompleta = logico(s, QStringLiteral("ventana/pantallacompleta"), false);
    const QByteArray g = s.value(QStringLiteral("ventana/geometria")).toByteArray();
    // Qt checks the geometry's own contents; a huge value is not worth trying.
    if (g.size() <= 4096)
        a.geometria = g;

    // Only a plain file name: the set-up window looks it up in its own folder.
    const QString mapa = s.value(QStringLiteral("partida/mapa")).toString();
    if (mapa.size() <= 255 && !mapa.contains(QLatin1Char('/')) &&
        !mapa.contains(QLatin1Char('\\')) && mapa != QStringLiteral("..") &&
        mapa.endsWith(QStringLiteral(".mapa")))
        a.mapa = mapa;
    bool ok = false;
    const int n = s.value(QStringLiteral("partida/guerreros")).toInt(&ok);
    if (ok && n >= 1 && n <= 8)
        a.guerreros = n;
    const QString tipo = s.value(QStringLiteral("partida/tipo")).toString();
    if (tipo == QStringLiteral("Guerrero") || tipo == QStringLiteral("Arquero"))
        a.tipo = tipo;
    const QString meta = s.value(QStringLiteral("partida/objetivo")).toString();
    const int valor = s.value(QStringLiteral("partida/objetivovalor")).toInt(&ok);
    if (ok && meta == QStringLiteral("muertes") && valor >= 5 && valor <= 500)
        a.meta = {tipoobjetivo::muertes, int16_t(valor)};
    else if (ok && meta == QStringLiteral("tiempo") && valor >= 60 && valor <= 3600 &&
             valor % 60 == 0)
        a.meta = {tipoobjetivo::tiempo, int16_t(valor)};
    const std::string modo = s.value(QStringLiteral("partida/reglas")).toString().toStdString();
    a.regla.modo = modode(modo).value_or(modoreglas::clasicas);
    const std::string nivel =
        s.value(QStringLiteral("partida/dificultad")).toString().toStdString();
    a.regla.nivel = dificultadde(nivel).value_or(dificultad::normal);
    return a;
}

void ajustes::escribir(QSettings& s) const {
    s.setValue(QStringLiteral("sonido"), sonido);
    s.setValue(QStringLiteral("movimientosuave"), suave);
    s.setValue(QStringLiteral("minimapa"), minimapa);
    s.setValue(QStringLiteral("zoom"), zoom == 2.0   ? QStringLiteral("2")
                                       : zoom == 1.5 ? QStringLiteral("1.5")
                                                     : QStringLiteral("1"));
    s.setValue(QStringLiteral("ventana/pantallacompleta"), pantallacompleta);
    s.setValue(QStringLiteral("ventana/geometria"), geometria);
    s.setValue(QStringLiteral("partida/mapa"), mapa);
    s.setValue(QStringLiteral("partida/guerreros"), guerreros);
    s.setValue(QStringLiteral("partida/tipo"), tipo);
    s.setValue(QStringLiteral("partida/objetivo"),
               meta.tipo == tipoobjetivo::muertes  ? QStringLiteral("muertes")
               : meta.tipo == tipoobjetivo::tiempo ? QStringLiteral("tiempo")
                                                   : QStringLiteral("ninguno"));
    s.setValue(QStringLiteral("partida/objetivovalor"), int(meta.valor));
    s.setValue(QStringLiteral("partida/reglas"), QString::fromLatin1(clavemodo(regla.modo)));
    s.setValue(QStringLiteral("partida/dificultad"),
               QString::fromLatin1(clavedificultad(regla.nivel)));
}

} // namespace juego
