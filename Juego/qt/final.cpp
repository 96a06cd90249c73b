#include "Juego/qt/final.h"

#include "Juego/nucleo/mundo.h"
#include "Juego/qt/cuadro.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace juego {

namespace {

QString equipo(int e) {
    return QString::fromLatin1(nombreequipo(e));
}

} // namespace

QString textoreglas(const reglas& r) {
    QString t = QStringLiteral("Reglas: ") + QString::fromUtf8(nombremodo(r.modo));
    // The classic rules have no difficulty to tell.
    if (r.modo == modoreglas::equilibradas)
        t += QStringLiteral(" · Dificultad: ") + QString::fromUtf8(nombredificultad(r.nivel));
    return t;
}

QString textoganador(int ganador) {
    if (ganador < 0)
        return QStringLiteral("Empate");
    return QStringLiteral("¡Gana el equipo %1!").arg(equipo(ganador));
}

template <class M> QString textoobjetivo(const M& m) {
    const int32_t rojo = m.muertesequipo(0);
    const int32_t azul = m.muertesequipo(1);
    const QString marcador = QStringLiteral("rojo %1 · azul %2").arg(rojo).arg(azul);
    // Once the goal is reached the field stands still: the line says why,
    // also after the scoreboard is closed.
    if (m.fin == verdadero && m.meta.tipo != tipoobjetivo::ninguno)
        return QStringLiteral("Partida terminada · %1").arg(marcador);
    switch (m.meta.tipo) {
    case tipoobjetivo::ninguno:
        return {};
    case tipoobjetivo::muertes: {
        const int32_t faltan = std::max(0, m.meta.valor - std::max(rojo, azul));
        return QStringLiteral("Objetivo: %1 muertes · %2 · faltan %3")
            .arg(m.meta.valor)
            .arg(marcador)
            .arg(faltan);
    }
    case tipoobjetivo::tiempo: {
        // Eight ticks a second.
        const int64_t quedan =
            std::max<int64_t>(0, int64_t(m.meta.valor) * 8 - int64_t(m.numtick));
        const int64_t segundos = (quedan + 7) / 8;
        return QStringLiteral("Tiempo: %1:%2 · %3")
            .arg(segundos / 60)
            .arg(segundos % 60, 2, 10, QLatin1Char('0'))
            .arg(marcador);
    }
    }
    return {};
}

pantallafinal::pantallafinal(QWidget* padre) : QFrame(padre) {
    setObjectName(QStringLiteral("pantallafinal"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* capa = new QVBoxLayout(this);
    titulo = new QLabel(this);
    titulo->setObjectName(QStringLiteral("titulo"));
    titulo->setAlignment(Qt::AlignCenter);
    QFont grande = titulo->font();
    grande.setPointSize(grande.pointSize() * 2);
    grande.setBold(true);
    titulo->setFont(grande);
    capa->addWidget(titulo);
    lblreglas = new QLabel(this);
    lblreglas->setObjectName(QStringLiteral("lblreglas"));
    lblreglas->setAlignment(Qt::AlignCenter);
    capa->addWidget(lblreglas);

    tabla = new QTableWidget(0, 5, this);
    tabla->setObjectName(QStringLiteral("tabla"));
    tabla->setHorizontalHeaderLabels({QStringLiteral("Equipo"), QStringLiteral("Tipo"),
                                      QStringLiteral("Jugador"), QStringLiteral("Muertes"),
                                      QStringLiteral("Bajas")});
    tabla->verticalHeader()->hide();
    tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla->setSelectionMode(QAbstractItemView::NoSelection);
    tabla->setFocusPolicy(Qt::NoFocus);
    tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    capa->addWidget(tabla);

    auto* botones = new QHBoxLayout;
    revancha = new QPushButton(QStringLiteral("Revancha"), this);
    revancha->setObjectName(QStringLiteral("revancha"));
    cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    cerrar->setObjectName(QStringLiteral("cerrar"));
    // The space bar strikes in the game; it must not press a button here.
    revancha->setFocusPolicy(Qt::NoFocus);
    cerrar->setFocusPolicy(Qt::NoFocus);
    botones->addStretch();
    botones->addWidget(revancha);
    botones->addWidget(cerrar);
    capa->addLayout(botones);
    connect(revancha, &QPushButton::clicked, this, &pantallafinal::otra);
    connect(cerrar, &QPushButton::clicked, this, &QWidget::hide);
    hide();
}

template <class M>
void pantallafinal::mostrar(const M& m, int16_t jugador, bool hayrevancha, const reglas& regla) {
    titulo->setText(textoganador(m.ganador));
    lblreglas->setText(textoreglas(regla));
    const int n = 2 * m.maxp;
    jugador_ = jugador;
    tabla->setRowCount(n);
    for (int i = 0; i < n; ++i) {
        const unidad& u = m.unidades[i];
        const QString& nombre = nombres[std::size_t(i)];
        const QString quien = i == jugador ? QStringLiteral("Tú")
                              : m.eshumano(int16_t(i))
                                  ? (nombre.isEmpty() ? QStringLiteral("Humano") : nombre)
                                  : QStringLiteral("Ordenador");
        const QStringList celdas = {equipo(u.equipo), QString::fromLatin1(nombretipo(u.tipo)),
                                    quien, QString::number(u.muertes), QString::number(u.bajas)};
        for (int c = 0; c < celdas.size(); ++c) {
            auto* item = new QTableWidgetItem(celdas[c]);
            item->setTextAlignment(Qt::AlignCenter);
            // The player's own row stands out.
            if (i == jugador)
                item->setBackground(QColor(255, 236, 160));
            tabla->setItem(i, c, item);
        }
    }
    revancha->setEnabled(hayrevancha);
    ajustar();
    raise();
    show();
}

void pantallafinal::colocar(const QRect& cuadro) {
    cuadro_ = cuadro;
    escala_ = std::max(0.1, cuadro.width() / 800.0);
    ajustar();
}

void pantallafinal::ajustar() {
    QWidget* p = parentWidget();
    if (!p)
        return;
    // Letters grow with the field, as what is drawn on it does; below the
    // field's own size they stay at a size that reads.
    const int letra = std::max(12, int(std::lround(12 * escala_)));
    QFont f = font();
    f.setPixelSize(letra);
    setFont(f);
    QFont grande = f;
    grande.setPixelSize(std::max(20, int(std::lround(26 * escala_))));
    grande.setBold(true);
    titulo->setFont(grande);
    QFont negrita = f;
    negrita.setBold(true);
    for (int c = 0; jugador_ >= 0 && jugador_ < tabla->rowCount() && c < tabla->columnCount(); ++c)
        if (QTableWidgetItem* item = tabla->item(jugador_, c))
            item->setFont(negrita);
    const int fila = letra + 10;
    tabla->verticalHeader()->setDefaultSectionSize(fila);
    tabla->horizontalHeader()->setFixedHeight(fila);
    // Tall enough for every row where the window has the room (eight a team
    // need it); the table scrolls where it has not.
    const int filas = fila + 2 * tabla->frameWidth() + tabla->rowCount() * fila;
    // Everything but the table, from the sizes the new letters give.
    const QMargins m = layout()->contentsMargins();
    const int resto = m.top() + m.bottom() + 3 * layout()->spacing() +
                      titulo->sizeHint().height() + lblreglas->sizeHint().height() +
                      revancha->sizeHint().height() + 2 * frameWidth();
    const int maxancho = std::max(1, p->width() - 8);
    const int maxalto = std::max(1, p->height() - 8);
    const int ancho = std::min(maxancho, std::max(380, int(std::lround(500 * escala_))));
    // As tall as its rows need, with no empty table under a small match.
    const int alto = std::min(maxalto, std::max(int(std::lround(240 * escala_)), resto + filas));
    resize(ancho, alto);
    // Over the middle of the field; the whole parent before the field is
    // laid out.
    const QRect sobre = cuadro_.isValid() ? cuadro_ : p->rect();
    const int x = std::clamp(sobre.center().x() - ancho / 2, 0, std::max(0, p->width() - ancho));
    const int y = std::clamp(sobre.center().y() - alto / 2, 0, std::max(0, p->height() - alto));
    move(x, y);
}

template void pantallafinal::mostrar<mundo>(const mundo&, int16_t, bool, const reglas&);
template void pantallafinal::mostrar<cuadro>(const cuadro&, int16_t, bool, const reglas&);
template QString textoobjetivo<mundo>(const mundo&);
template QString textoobjetivo<cuadro>(const cuadro&);

} // namespace juego
