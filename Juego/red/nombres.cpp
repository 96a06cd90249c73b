#include "Juego/red/nombres.h"

#include <QStringList>

namespace juego::red {

namespace {

// Letters that draw nothing though Unicode calls them letters or symbols:
// fillers of Hangul and the blank Braille cell.
bool invisible(char32_t c) {
    return c == 0x115f || c == 0x1160 || c == 0x3164 || c == 0xffa0 || c == 0x2800 || c == 0x034f;
}

bool marca(QChar::Category k) {
    return k == QChar::Mark_NonSpacing || k == QChar::Mark_SpacingCombining ||
           k == QChar::Mark_Enclosing;
}

bool quitar(char32_t c, QChar::Category k) {
    switch (k) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        break;
    }
    // Variation selectors change how the letter before them is drawn, not
    // which letter it is.
    return invisible(c) || (c >= 0xfe00 && c <= 0xfe0f) || (c >= 0xe0100 && c <= 0xe01ef);
}

} // namespace

QString limpiarnombre(const QString& nombre, int maxbytes) {
    // One spelling for letters that look alike whether composed or not.
    const QString n = nombre.normalized(QString::NormalizationForm_C);
    // Letters with their marks, spaces already made one.
    QStringList letras;
    int marcas = 0;
    for (const char32_t c : n.toUcs4()) {
        const QChar::Category k = QChar::category(c);
        if (quitar(c, k))
            continue;
        if (k == QChar::Separator_Space || c == U' ') {
            if (!letras.isEmpty() && letras.back() != QStringLiteral(" "))
                letras << QStringLiteral(" ");
            marcas = 0;
            continue;
        }
        if (marca(k)) {
            // Marks stacked past two only pile up over the lines around.
            if (letras.isEmpty() || letras.back() == QStringLiteral(" ") || marcas >= 2)
                continue;
            letras.back() += QString::fromUcs4(&c, 1);
            ++marcas;
            continue;
        }
        letras << QString::fromUcs4(&c, 1);
        marcas = 0;
    }
    while (!letras.isEmpty() && letras.back() == QStringLiteral(" "))
        letras.removeLast();
    QString limpio;
    int visibles = 0;
    for (const QString& l : letras) {
        if (visibles >= maxvisibles || (limpio + l).toUtf8().size() > maxbytes)
            break;
        limpio += l;
        ++visibles;
    }
    limpio = limpio.trimmed();
    return limpio.isEmpty() ? QStringLiteral("Jugador") : limpio;
}

QString escaparnombre(const QString& nombre) {
    QString r;
    for (const char32_t c : nombre.toUcs4()) {
        const QChar::Category k = QChar::category(c);
        const bool claro = c == U' ' || (c > 0x20 && c != U'\\' && !quitar(c, k) && !marca(k) &&
                                         k != QChar::Separator_Space);
        if (claro)
            r += QString::fromUcs4(&c, 1);
        else
            r += QStringLiteral("\\u{%1}").arg(uint(c), 4, 16, QLatin1Char('0'));
    }
    return r;
}

} // namespace juego::red
