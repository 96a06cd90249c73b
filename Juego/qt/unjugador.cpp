#include "Juego/qt/unjugador.h"

#include "Comun/listamapas.h"
#include "Comun/mapaarchivo.h"
#include "Juego/qt/ajustes.h"
#include "Juego/qt/capas.h"
#include "Juego/qt/carpetasjuego.h"
#include "Juego/qt/mesa.h"
#include "Juego/qt/selectorobjetivo.h"
#include "Juego/qt/selectorreglas.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace juego {

namespace {

constexpr int ancho = 360;
constexpr int ladoprevia = 156;
// Map files of the largest grid stay far below this; a larger one is not
// read just to be previewed.
constexpr qint64 maxprevia = 16 << 20;

} // namespace

unjugador::unjugador(mesa& juego) : QWidget(nullptr, Qt::Window), juego_(juego) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Menú"));
    setFixedSize(ancho, 378);

    const char* textos[3] = {"Mapa", "Guerreros", "Escoge tu tipo"};
    const int filas[3] = {8, 240, 288};
    for (int i = 0; i < 3; ++i) {
        labels[i] = new QLabel(QString::fromUtf8(textos[i]), this);
        labels[i]->setGeometry(8, filas[i], 97, 17);
    }

    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    // Wide enough for the maps' names: the list never scrolls sideways.
    File1->setGeometry(8, 24, 160, 214);
    File1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    File1->setTextElideMode(Qt::ElideMiddle);
    connect(File1, &QListWidget::itemSelectionChanged, this, &unjugador::File1_Click);

    vistaprevia = new QLabel(this);
    vistaprevia->setObjectName(QStringLiteral("vistaprevia"));
    vistaprevia->setGeometry(176, 24, ladoprevia, ladoprevia);
    vistaprevia->setAlignment(Qt::AlignCenter);
    vistaprevia->setFrameShape(QFrame::StyledPanel);
    tamano = new QLabel(this);
    tamano->setObjectName(QStringLiteral("tamano"));
    tamano->setGeometry(176, 28 + ladoprevia, ladoprevia, 34);
    tamano->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    tamano->setWordWrap(true);

    guerreros = new QComboBox(this);
    guerreros->setObjectName(QStringLiteral("guerreros"));
    guerreros->setGeometry(24, 256, 57, 21);
    guerreros->setEditable(true);
    guerreros->setInsertPolicy(QComboBox::NoInsert);
    for (int n = 1; n <= 8; ++n)
        guerreros->addItem(QString::number(n));
    guerreros->setCurrentIndex(0);

    tip = new QComboBox(this);
    tip->setObjectName(QStringLiteral("tip"));
    tip->setGeometry(16, 304, 81, 21);
    tip->setEditable(true);
    tip->setInsertPolicy(QComboBox::NoInsert);
    tip->addItems({QStringLiteral("Guerrero"), QStringLiteral("Arquero")});
    tip->setCurrentIndex(0);
    // The type is chosen from the list only: typed characters are dropped.
    tip->lineEdit()->installEventFilter(this);
    tip->installEventFilter(this);

    empezar = new QPushButton(QStringLiteral("Empezar"), this);
    empezar->setObjectName(QStringLiteral("empezar"));
    empezar->setGeometry(8, 336, 97, 25);
    connect(empezar, &QPushButton::clicked, this, &unjugador::empezar_Click);
    // Nothing to start until a map is chosen.
    empezar->setEnabled(false);

    // What wins the match, under the preview. The endless match is the
    // default, as it always was; a goal adds an end and a scoreboard.
    lblobjetivo = new QLabel(QStringLiteral("Objetivo"), this);
    lblobjetivo->setGeometry(176, 240, ladoprevia, 17);
    objetivo = new selectorobjetivo(this);
    objetivo->setGeometry(176, 256, ancho - 176 - 8, 50);
    // The kills a goal asks for grow with the teams.
    connect(guerreros, &QComboBox::currentTextChanged, objetivo,
            [this](const QString& n) { objetivo->ponerguerreros(n.trimmed().toInt()); });
    regla = new selectorreglas(this);
    // "Equilibradas" and "Dificultad" side by side need the room to the
    // window's edge.
    regla->setGeometry(176, 312, ancho - 176 - 8, 56);

    Form_Load();
}

QString unjugador::carpetamapas() {
    return juego::carpetadatos(QStringLiteral("mapas"));
}

QString unjugador::carpetausuario() {
    return juego::carpetausuario(QStringLiteral("mapas"));
}

void unjugador::listarmapas(QListWidget* lista) {
    // A missing folder simply lists nothing. Each item keeps its file's
    // path, as the same name may stand in either folder.
    const QString antes =
        lista->currentItem() ? lista->currentItem()->data(Qt::UserRole).toString() : QString();
    lista->clear();
    for (const comun::mapalistado& m :
         comun::listarmapas({carpetausuario().toStdString(), carpetamapas().toStdString()})) {
        auto* item = new QListWidgetItem(QString::fromStdString(m.archivo), lista);
        item->setData(Qt::UserRole, QString::fromStdString(m.ruta));
        item->setToolTip(item->text());
        if (!antes.isEmpty() && item->data(Qt::UserRole).toString() == antes)
            lista->setCurrentItem(item);
    }
    // The list follows its folders while the window is open: a map saved
    // in the editor meanwhile shows up, a deleted one goes.
    if (lista->findChild<QFileSystemWatcher*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    auto* vigia = new QFileSystemWatcher(lista);
    for (const QString& c : {carpetausuario(), carpetamapas()})
        if (QDir(c).exists())
            vigia->addPath(c);
    QObject::connect(vigia, &QFileSystemWatcher::directoryChanged, lista,
                     [lista] { listarmapas(lista); });
}

void unjugador::Form_Load() {
    // The user's own maps (where the editor saves when it can't write beside
    // the program) win over a shipped map of the same name.
    listarmapas(File1);

    // The last match's choices, when its map is still there.
    const ajustes& a = juego_.recordado();
    guerreros->setCurrentIndex(a.guerreros - 1);
    tip->setCurrentIndex(a.tipo == QStringLiteral("Arquero") ? 1 : 0);
    objetivo->poner(a.meta);
    regla->poner(a.regla);
    const auto items = File1->findItems(a.mapa, Qt::MatchExactly);
    if (!a.mapa.isEmpty() && !items.isEmpty())
        File1->setCurrentItem(items.first());
}

void unjugador::File1_Click() {
    QListWidgetItem* elegido = File1->currentItem();
    const bool hay = elegido && elegido->isSelected();
    empezar->setEnabled(hay);
    mostrarmapa(hay ? elegido->data(Qt::UserRole).toString() : QString(), vistaprevia, tamano,
                ladoprevia);
}

void unjugador::mostrarmapa(const QString& ruta, QLabel* imagen, QLabel* tamano, int lado) {
    imagen->clear();
    tamano->clear();
    if (ruta.isEmpty())
        return;
    if (QFileInfo(ruta).size() > maxprevia) {
        tamano->setText(QStringLiteral("Mapa demasiado grande"));
        return;
    }
    const comun::lectura l = comun::leerarchivo(ruta.toStdString());
    if (!l) {
        // Empezar says why in full; here a short word is enough.
        tamano->setText(QStringLiteral("No se puede leer"));
        return;
    }
    const comun::plano& p = *l.mapa;
    QImage img = capas::miniatura(
        p.ancho(), p.alto(), [&p](int c, int r) { return p.terreno(c, r); }, lado - 4);
    // The two starts, in their teams' colours.
    QPainter pintor(&img);
    const double escala = double(img.width()) / p.ancho();
    for (int e = 0; e < 2; ++e) {
        const QPointF c((p.inicio[e].x + 0.5) * escala, (p.inicio[e].y + 0.5) * escala);
        pintor.setPen(QColor(0, 0, 0));
        pintor.setBrush(capas::colorequipo(e));
        pintor.drawRect(QRectF(c.x() - 2.5, c.y() - 2.5, 5, 5));
    }
    pintor.end();
    imagen->setPixmap(QPixmap::fromImage(img));
    tamano->setText(QStringLiteral("%1 x %2 celdas").arg(p.ancho()).arg(p.alto()));
}

bool unjugador::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(evento);
        const bool escribe = !k->text().isEmpty() && k->text().at(0).isPrint();
        const bool borra = k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Delete;
        if (escribe || borra || k->matches(QKeySequence::Paste) || k->matches(QKeySequence::Cut))
            return true;
    }
    if (evento->type() == QEvent::InputMethod)
        return true;
    return QWidget::eventFilter(objeto, evento);
}

void unjugador::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        empezar_Click();
    else if (e->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(e);
}

void unjugador::empezar_Click() {
    QListWidgetItem* elegido = File1->currentItem();
    if (!elegido || !elegido->isSelected())
        return;
    const int16_t tipo = tip->currentText() == QStringLiteral("Guerrero") ? guerrero : arquero;
    const QString ruta = elegido->data(Qt::UserRole).toString();
    // The name is taken now: leaving a network match asks first, and while
    // the question waits the list may read its folders again (a map saved
    // meanwhile), deleting this item.
    const QString nombre = elegido->text();

    // The box accepts typing, but only 1 to 8 fighters fit a team.
    bool ok = false;
    const int n = guerreros->currentText().trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 8) {
        juego_.alertar(QStringLiteral("Menú"),
                       QStringLiteral("El número de guerreros debe ser un número entero del 1 "
                                      "al 8."));
        return;
    }

    const juego::objetivo meta = objetivo->elegido();
    const reglas r = regla->elegidas();

    // A map the game refuses keeps this window open for another choice.
    if (juego_.cargarmapa(ruta, int16_t(n), tipo, meta, r)) {
        juego_.recordarpartida(nombre, n, tip->currentText(), meta, r);
        close();
    }
}

} // namespace juego
