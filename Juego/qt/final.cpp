#include "Juego/qt/final.h"

#include "Juego/nucleo/mundo.h"
#include "Juego/qt/cuadro.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace juego {

namespace {

QString equipo(int e) {
    return QString::fromLatin1(nombreequipo(e));
}

} // namespace

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

template <class M> void pantallafinal::mostrar(const M& m, int16_t jugador, bool hayrevancha) {
    titulo->setText(textoganador(m.ganador));
    const int n = 2 * m.maxp;
    tabla->setRowCount(n);
    for (int i = 0; i < n; ++i) {
        const unidad& u = m.unidades[i];
        const QString quien = i == jugador             ? QStringLiteral("Tú")
                              : m.eshumano(int16_t(i)) ? QStringLiteral("Humano")
                                                       : QStringLiteral("Ordenador");
        const QStringList celdas = {equipo(u.equipo), QString::fromLatin1(nombretipo(u.tipo)),
                                    quien, QString::number(u.muertes), QString::number(u.bajas)};
        for (int c = 0; c < celdas.size(); ++c) {
            auto* item = new QTableWidgetItem(celdas[c]);
            item->setTextAlignment(Qt::AlignCenter);
            // The player's own row stands out.
            if (i == jugador) {
                QFont f = item->font();
                f.setBold(true);
                item->setFont(f);
                item->setBackground(QColor(255, 236, 160));
            }
            tabla->setItem(i, c, item);
        }
    }
    revancha->setEnabled(hayrevancha);
    // Tall enough for every row where the window has the room (eight a team
    // need it), and in the middle of the window, whatever its size.
    const int filas = tabla->horizontalHeader()->sizeHint().height() + 2 * tabla->frameWidth() +
                      n * tabla->verticalHeader()->defaultSectionSize();
    layout()->activate();
    int alto = std::max(380, height() - tabla->height() + filas);
    if (QWidget* p = parentWidget()) {
        alto = std::min(alto, std::max(380, p->height() - 20));
        resize(width(), alto);
    }
    centrar();
    raise();
    show();
}

void pantallafinal::centrar() {
    if (QWidget* p = parentWidget())
        move((p->width() - width()) / 2, (p->height() - height()) / 2);
}

template void pantallafinal::mostrar<mundo>(const mundo&, int16_t, bool);
template void pantallafinal::mostrar<cuadro>(const cuadro&, int16_t, bool);
template QString textoobjetivo<mundo>(const mundo&);
template QString textoobjetivo<cuadro>(const cuadro&);

} // namespace juego
