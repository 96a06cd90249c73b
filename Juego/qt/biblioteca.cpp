#include "Juego/qt/biblioteca.h"

#include "Juego/nucleo/grabadora.h"
#include "Juego/nucleo/partida.h"
#include "Juego/nucleo/repeticion.h"
#include "Juego/qt/capas.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace juego {

namespace {

enum columna { cmapa, cfecha, cduracion, cjugadores, cresultado, carchivo, ncolumnas };

// Sorts dates and lengths by their values, not by their words.
class fila : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& otra) const override {
        const int c = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (c == cfecha || c == cduracion)
            return data(c, Qt::UserRole).toLongLong() < otra.data(c, Qt::UserRole).toLongLong();
        return QTreeWidgetItem::operator<(otra);
    }
};

// The map of a file, drawn small; empty when it cannot be read.
QImage plano(const QString& ruta, bool repeticiones) {
    std::vector<uint8_t> datos;
    if (!leerbinario(QFile::encodeName(ruta).toStdString(), maxarchivo, datos).empty())
        return {};
    if (repeticiones) {
        repeticion r;
        if (!leerrepeticion(datos.data(), datos.size(), r).empty())
            return {};
        datos = std::move(r.inicio);
    }
    // Through a match of its own, as any reader outside the core does.
    grabadora plat;
    partida p(plat);
    sucesos s;
    if (!p.restaurar(datos, s).empty())
        return {};
    const mundo& m = p.juego();
    return capas::miniatura(
        m.anchomapa + 1, m.altomapa + 1, [&m](int x, int y) { return terrenode(m, x, y); }, 240);
}

} // namespace

biblioteca::biblioteca(QWidget* padre, const QString& titulo, const QString& carpeta,
                       const QString& extension, bool repeticiones)
    : QDialog(padre), estante_(carpeta, extension, repeticiones), repeticiones_(repeticiones) {
    setWindowTitle(titulo);
    resize(1040, 460);

    lista = new QTreeWidget(this);
    lista->setObjectName(QStringLiteral("lista"));
    lista->setRootIsDecorated(false);
    lista->setColumnCount(ncolumnas);
    lista->setHeaderLabels({QStringLiteral("Mapa"), QStringLiteral("Fecha"),
                            QStringLiteral("Duración"), QStringLiteral("Jugadores"),
                            QStringLiteral("Resultado"), QStringLiteral("Archivo")});
    lista->setSortingEnabled(true);
    lista->setAlternatingRowColors(true);
    lista->header()->setStretchLastSection(true);

    vista = new QLabel(this);
    vista->setObjectName(QStringLiteral("vista"));
    vista->setFixedSize(250, 250);
    vista->setAlignment(Qt::AlignCenter);
    vista->setFrameShape(QFrame::StyledPanel);

    ver = new QPushButton(repeticiones ? QStringLiteral("Ver") : QStringLiteral("Cargar"), this);
    ver->setDefault(true);
    conservar = new QPushButton(QStringLiteral("Conservar…"), this);
    conservar->setToolTip(QStringLiteral(
        "La guarda aparte con un nombre: el juego no la borrará al archivar las siguientes."));
    conservar->setVisible(repeticiones);
    borrar = new QPushButton(QStringLiteral("Borrar…"), this);
    borrar->setToolTip(QStringLiteral("La lleva a la papelera del escritorio."));
    abrir = new QPushButton(QStringLiteral("Abrir archivo…"), this);
    auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), this);

    auto* botones = new QHBoxLayout;
    botones->addWidget(abrir);
    botones->addStretch();
    botones->addWidget(borrar);
    botones->addWidget(conservar);
    botones->addWidget(cancelar);
    botones->addWidget(ver);
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(lista, 1);
    arriba->addWidget(vista, 0, Qt::AlignTop);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addLayout(botones);

    pedirotro = [] { return QString(); };
    pedirnombre = [this](const QString& propuesto) {
        bool ok = false;
        const QString n =
            QInputDialog::getText(this, QStringLiteral("Conservar repetición"),
                                  QStringLiteral("Nombre:"), QLineEdit::Normal, propuesto, &ok);
        return ok ? n : QString();
    };
    confirmar = [this](const QString& texto) {
        return QMessageBox::question(this, windowTitle(), texto,
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
    avisar = [this](const QString& texto) { QMessageBox::warning(this, windowTitle(), texto); };

    connect(lista, &QTreeWidget::itemSelectionChanged, this, &biblioteca::seleccion);
    connect(lista, &QTreeWidget::itemActivated, this, &biblioteca::elegir);
    connect(ver, &QPushButton::clicked, this, &biblioteca::elegir);
    connect(conservar, &QPushButton::clicked, this, &biblioteca::conservar_Click);
    connect(borrar, &QPushButton::clicked, this, &biblioteca::borrar_Click);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(abrir, &QPushButton::clicked, this, [this] {
        const QString r = pedirotro();
        if (!r.isEmpty()) {
            elegida_ = r;
            accept();
        }
    });
    rellenar();
}

void biblioteca::rellenar() {
    fichas_ = estante_.listar();
    lista->setSortingEnabled(false);
    lista->clear();
    const QLocale es(QLocale::Spanish, QLocale::Spain);
    for (std::size_t i = 0; i < fichas_.size(); ++i) {
        const ficha& f = fichas_[i];
        auto* it = new fila(lista);
        it->setData(0, Qt::UserRole + 1, qulonglong(i));
        const QString mapa = QString::fromStdString(f.datos.mapa);
        it->setText(cmapa, !f.legible       ? QStringLiteral("—")
                           : mapa.isEmpty() ? QStringLiteral("(sin nombre)")
                                            : mapa);
        it->setText(cfecha, es.toString(f.fecha, QStringLiteral("d MMM yyyy, HH:mm")));
        it->setData(cfecha, Qt::UserRole, f.fecha.toMSecsSinceEpoch());
        it->setText(cduracion, f.legible ? estante::textoduracion(f.datos.ticks) : QString());
        it->setData(cduracion, Qt::UserRole, qlonglong(f.datos.ticks));
        it->setText(cjugadores, f.legible ? estante::textojugadores(f.datos) : QString());
        it->setText(cresultado, estante::textoresultado(f));
        if (!f.legible)
            it->setToolTip(cresultado, f.error);
        QString nombre = QFileInfo(f.ruta).fileName();
        if (f.procedencia == ficha::origen::conservada)
            nombre += QStringLiteral(" (conservada)");
        else if (f.procedencia == ficha::origen::archivada)
            nombre += QStringLiteral(" (archivada)");
        it->setText(carchivo, nombre);
        it->setToolTip(carchivo, f.ruta);
        if (!f.legible)
            for (int c = 0; c < ncolumnas; ++c)
                it->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
    }
    lista->setSortingEnabled(true);
    lista->sortByColumn(cfecha, Qt::DescendingOrder);
    for (int c = 0; c + 1 < ncolumnas; ++c)
        lista->resizeColumnToContents(c);
    if (lista->topLevelItemCount() > 0)
        lista->setCurrentItem(lista->topLevelItem(0));
    seleccion();
}

const ficha* biblioteca::actual() const {
    const QTreeWidgetItem* it = lista->currentItem();
    if (!it || !it->isSelected())
        return nullptr;
    const std::size_t i = it->data(0, Qt::UserRole + 1).toULongLong();
    return i < fichas_.size() ? &fichas_[i] : nullptr;
}

void biblioteca::seleccion() {
    const ficha* f = actual();
    ver->setEnabled(f && f->legible);
    conservar->setEnabled(f && f->legible && f->procedencia != ficha::origen::conservada);
    borrar->setEnabled(f && f->legible);
    if (!f) {
        vista->setText(lista->topLevelItemCount() == 0
                           ? (repeticiones_ ? QStringLiteral("Aún no hay repeticiones.")
                                            : QStringLiteral("Aún no hay partidas guardadas."))
                           : QString());
        return;
    }
    const QImage p = f->legible ? plano(f->ruta, repeticiones_) : QImage();
    if (p.isNull())
        vista->setText(f->legible ? QStringLiteral("Sin vista del mapa") : f->error);
    else
        vista->setPixmap(QPixmap::fromImage(p));
    vista->setWordWrap(true);
}

void biblioteca::elegir() {
    const ficha* f = actual();
    if (!f || !f->legible)
        return;
    elegida_ = f->ruta;
    accept();
}

void biblioteca::conservar_Click() {
    const ficha* f = actual();
    if (!f)
        return;
    QString propuesto = QString::fromStdString(f->datos.mapa);
    if (f->fecha.isValid())
        propuesto += f->fecha.toString(QStringLiteral(" yyyy-MM-dd HH.mm"));
    const QString nombre = pedirnombre(propuesto.trimmed());
    if (nombre.isEmpty())
        return;
    QString nueva;
    if (const QString error = estante_.conservar(*f, nombre, nueva); !error.isEmpty()) {
        avisar(error);
        return;
    }
    rellenar();
}

void biblioteca::borrar_Click() {
    const ficha* f = actual();
    if (!f ||
        !confirmar(QStringLiteral("¿Llevar %1 a la papelera?").arg(QFileInfo(f->ruta).fileName())))
        return;
    if (const QString error = estante_.borrar(*f); !error.isEmpty()) {
        avisar(error);
        return;
    }
    rellenar();
}

} // namespace juego
