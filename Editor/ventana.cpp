#include "Editor/ventana.h"

#include "Comun/listamapas.h"
#include "Editor/escritura.h"
#include "Editor/vista.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdlib>

namespace editor {

namespace {

const QString caption = QStringLiteral("Tarnhollow Editor");

QLabel* etiqueta(const char* nombre, const QString& texto, QRect r, QWidget* padre) {
    auto* l = new QLabel(texto, padre);
    l->setObjectName(nombre);
    l->setGeometry(r);
    return l;
}

QPushButton* boton(const char* nombre, const QString& texto, QRect r, QWidget* padre) {
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(nombre);
    b->setGeometry(r);
    return b;
}

QComboBox* lista(const char* nombre, QRect r, QWidget* padre) {
    auto* c = new QComboBox(padre);
    c->setObjectName(nombre);
    c->setGeometry(r);
    c->addItems({"50", "75", "100", "150", "200"});
    return c;
}

// The raster operations act on the pixels as they are, so every picture is
// brought to the view's own format first.
QImage cargar(const QString& ruta) {
    return QImage(ruta).convertToFormat(QImage::Format_RGB32);
}

// A 22 x 22 palette entry: a sunken border around its 20 x 20 picture.
void ponermuestra(vista* v, const QImage& dibujo) {
    QPainter p(&v->imagen);
    p.fillRect(v->imagen.rect(), Qt::white);
    p.setPen(Qt::darkGray);
    p.drawLine(0, 0, 21, 0);
    p.drawLine(0, 0, 0, 21);
    p.drawImage(1, 1, dibujo, 0, 0, 20, 20);
    v->update();
}

int16_t desplazamiento(Qt::KeyboardModifiers m) {
    int16_t s = 0;
    if (m & Qt::ShiftModifier)
        s = int16_t(s | mayusculas);
    if (m & Qt::ControlModifier)
        s = int16_t(s | control);
    if (m & Qt::AltModifier)
        s = int16_t(s | alternativa);
    return s;
}

// Key codes of the arrows as the core knows them; letters keep their
// capital's code, which Qt shares.
int16_t codigotecla(int k) {
    switch (k) {
    case Qt::Key_Left:
        return teclaizquierda;
    case Qt::Key_Up:
        return teclaarriba;
    case Qt::Key_Right:
        return tecladerecha;
    case Qt::Key_Down:
        return teclaabajo;
    default:
        return k >= 0 && k <= 0x7f ? int16_t(k) : int16_t(0);
    }
}

} // namespace

main::main(const QString& carpeta, const QString& carpetausuario, QWidget* padre)
    : QWidget(padre), dir(carpeta), dirusuario(carpetausuario),
      vigia(new QFileSystemWatcher(this)), reales(this), mensajes(&reales) {
    setObjectName("main");
    setWindowTitle(caption);
    setFixedSize(anchocliente, altocliente);

    mainpic = new vista(QSize(celdasvista * tamcelda, celdasvista * tamcelda), this);
    mainpic->setObjectName("mainpic");
    // A click on the view takes the focus from the name box, so that the
    // letter keys act on the map again.
    mainpic->setFocusPolicy(Qt::ClickFocus);
    mainpic->move(0, 0);
    status = etiqueta("status", QString(), QRect(0, 500, 777, 17), this);
    Label1 = etiqueta("Label1", "Nombre del mapa", QRect(528, 8, 113, 17), this);
    nombre = new QLineEdit(this);
    nombre->setObjectName("nombre");
    nombre->setGeometry(528, 24, 113, 19);
    guardar = boton("guardar", "Guardar", QRect(528, 48, 113, 17), this);
    file = new QListWidget(this);
    file->setObjectName("file");
    file->setGeometry(504, 72, 153, 136);
    abrir = boton("abrir", "Abrir", QRect(528, 216, 113, 17), this);
    nuevomapa = boton("nuevomapa", "Mapa nuevo", QRect(528, 240, 113, 17), this);
    Label2 = etiqueta("Label2", "Terrenos", QRect(536, 280, 105, 17), this);
    const std::array<QPoint, 6> sitios = {QPoint(544, 296), QPoint(608, 296), QPoint(576, 328),
                                          QPoint(608, 328), QPoint(544, 328), QPoint(576, 296)};
    for (std::size_t i = 0; i < terrenos.size(); ++i) {
        terrenos[i] = new vista(QSize(22, 22), this);
        terrenos[i]->setObjectName("terrenos");
        terrenos[i]->setProperty("Index", int(i));
        terrenos[i]->move(sitios[i]);
        terrenos[i]->alpulsar = [this, i](QMouseEvent*) {
            nuc->terrenos_Click(int16_t(i));
            update();
        };
    }
    Label6 = etiqueta("Label6", "Jugadores", QRect(560, 376, 65, 17), this);
    for (std::size_t i = 0; i < px.size(); ++i) {
        px[i] = new vista(QSize(22, 22), this);
        px[i]->setObjectName("px");
        px[i]->setProperty("Index", int(i));
        px[i]->move(560 + 32 * int(i), 400);
        px[i]->alpulsar = [this, i](QMouseEvent*) {
            nuc->px_Click(int16_t(i));
            update();
        };
    }

    frame = new QFrame(this);
    frame->setObjectName("frame");
    frame->setGeometry(664, 8, 97, 193);
    frame->setFrameShape(QFrame::StyledPanel);
    Label3 = etiqueta("Label3", "Nuevo Mapa", QRect(8, 8, 81, 17), frame);
    Label4 = etiqueta("Label4", "Ancho", QRect(32, 48, 49, 17), frame);
    ancho = lista("ancho", QRect(16, 64, 65, 21), frame);
    Label5 = etiqueta("Label5", "Alto", QRect(40, 104, 41, 17), frame);
    alto = lista("alto", QRect(16, 120, 65, 21), frame);
    crear = boton("crear", "Crear", QRect(8, 160, 81, 17), frame);

    // Below the palette, where the window had nothing.
    tinte = new QCheckBox(QStringLiteral("Zonas sin acceso (C)"), this);
    tinte->setObjectName("tinte");
    tinte->setGeometry(512, 440, 148, 20);
    tinte->setFocusPolicy(Qt::NoFocus);
    tinte->setToolTip(QStringLiteral("Tiñe las casillas a las que ningún equipo puede llegar "
                                     "caminando desde su inicio"));
    connect(tinte, &QCheckBox::toggled, this, [this](bool si) {
        nuc->ponertinte(si);
        tinte->setChecked(nuc->ver().vertinte);
    });

    connect(guardar, &QPushButton::clicked, this, [this] { guardar_Click(); });
    connect(abrir, &QPushButton::clicked, this, [this] { abrir_Click(); });
    connect(nuevomapa, &QPushButton::clicked, this, [this] { nuevomapa_Click(); });
    connect(crear, &QPushButton::clicked, this, [this] { crear_Click(); });
    connect(file, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        file->setCurrentItem(item);
        abrir_Click();
    });
    // Maps copied in or deleted from outside show up without a restart.
    connect(vigia, &QFileSystemWatcher::directoryChanged, this, [this] { refrescar({}); });

    mainpic->alpulsar = [this](QMouseEvent* ev) {
        QPoint p = ev->position().toPoint();
        int boton = ev->button() == Qt::RightButton    ? botonderecho
                    : ev->button() == Qt::MiddleButton ? botoncentral
                                                       : botonizquierdo;
        nuc->mainpic_MouseDown(desplazamiento(ev->modifiers()), p.x(), p.y(), boton);
        update(); // a right click may have chosen another terrain
    };
    mainpic->alsalir = [this] { nuc->mainpic_MouseLeave(); };
    mainpic->almover = [this](QMouseEvent* ev) {
        QPoint p = ev->position().toPoint();
        nuc->mainpic_MouseMove(p.x(), p.y());
    };
    mainpic->alsoltar = [this](QMouseEvent* ev) {
        QPoint p = ev->position().toPoint();
        nuc->mainpic_MouseUp(p.x(), p.y());
    };

    const QString teclas =
        QStringLiteral("Clic o arrastre: pintar el terreno o colocar el inicio elegido\n"
                       "Mayús + clic: rellenar la zona del mismo terreno\n"
                       "Ctrl + arrastre: rellenar un rectángulo\n"
                       "L, o Alt + arrastre: línea recta (a cualquier ángulo)\n"
                       "Clic derecho: tomar el terreno de la casilla\n"
                       "1 a 6: pasto, madera, pared, agua, árbol, piso\n"
                       "[ y ]: pincel de 1, 3 o 5 casillas\n"
                       "M: pintura simétrica (activar o desactivar)\n"
                       "Mayús + M: centro, izquierda-derecha o arriba-abajo\n"
                       "C: teñir las zonas sin acceso\n"
                       "Ctrl+Z: deshacer    Ctrl+Y o Ctrl+Mayús+Z: rehacer\n"
                       "Flechas: desplazar la vista");
    mainpic->setToolTip(teclas);
    const std::array<const char*, 6> nombres = {"Pasto", "Madera", "Pared",
                                                "Agua",  "Árbol",  "Piso"};
    for (std::size_t i = 0; i < terrenos.size(); ++i)
        terrenos[i]->setToolTip(QString::fromUtf8(nombres[i]) +
                                QStringLiteral(" (tecla %1)").arg(i + 1) + "\n\n" + teclas);
    px[0]->setToolTip(QStringLiteral("Inicio del equipo rojo\n\n") + teclas);
    px[1]->setToolTip(QStringLiteral("Inicio del equipo azul\n\n") + teclas);

    cargarimagenes();
    // The window sees every key before the control that has the focus.
    qApp->installEventFilter(this);

    // The maps folder is created when missing; if that fails the list stays
    // empty and a save reports why it can't write.
    QDir().mkpath(dir);
    nuc = std::make_unique<nucleo>(
        static_cast<plataforma&>(*this), QDir(dir).absolutePath().toStdString(),
        dirusuario.isEmpty() ? std::string() : QDir(dirusuario).absolutePath().toStdString());
    refrescar({});
    nuc->Form_Load();
}

main::~main() {
    qApp->removeEventFilter(this);
}

void main::cargarimagenes() {
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        tiles[i] = cargar(QString(":/imagenes/terreno%1.png").arg(i));
        ponermuestra(terrenos[i], tiles[i]);
    }
    for (std::size_t i = 0; i < equis.size(); ++i) {
        equis[i] = cargar(QString(":/imagenes/equis%1.png").arg(i));
        ponermuestra(px[i], cargar(QString(":/imagenes/px%1.png").arg(i)));
    }
}

void main::avisar(const std::string& texto, const std::string& titulo, icono i) {
    mensajes->avisar(texto, titulo, i);
}

bool main::preguntar(const std::string& texto, const std::string& titulo) {
    return mensajes->preguntar(texto, titulo);
}

void main::dibujar() {
    const estado& e = nuc->ver();
    QPainter p(&mainpic->imagen);
    for (int y = e.vistay; y <= e.vistay + celdasvista - 1; ++y) {
        for (int x = e.vistax; x <= e.vistax + celdasvista - 1; ++x) {
            const casilla& c = e.celda(x, y);
            int px = tamcelda * (x - e.vistax);
            int py = tamcelda * (y - e.vistay);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            if (x > e.anchomapa || y > e.altomapa) {
                // Not map: nothing there is saved, painted or played on.
                p.fillRect(px, py, tamcelda, tamcelda, QColor(32, 32, 40));
                continue;
            }
            p.drawImage(px, py, tiles[std::size_t(c.terreno)]);
            if (c.marca >= 0) {
                const QImage& m = equis[std::size_t(c.marca)];
                // The mask whitens the X's shape, then the image ANDs the
                // coloured X into it and leaves the rest of the tile alone.
                p.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
                p.drawImage(px, py, m, 20, 0, 20, 20);
                p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
                p.drawImage(px, py, m, 0, 0, 20, 20);
            }
        }
    }
    if (e.rectangulo) {
        // The rectangle being dragged, drawn over the cells it will paint.
        int x0 = std::min(e.esquina.x, e.extremo.x) - e.vistax;
        int y0 = std::min(e.esquina.y, e.extremo.y) - e.vistay;
        int w = std::abs(e.esquina.x - e.extremo.x) + 1;
        int h = std::abs(e.esquina.y - e.extremo.y) + 1;
        QRect r(x0 * tamcelda, y0 * tamcelda, w * tamcelda - 1, h * tamcelda - 1);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(r);
        p.setPen(QPen(Qt::yellow, 1, Qt::DashLine));
        p.drawRect(r);
    }
    dibujarencima(p);
    p.end();
    mainpic->update();
}

void main::dibujarencima(QPainter& p) {
    const estado& e = nuc->ver();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const int vistos = celdasvista;
    auto pixel = [&](int x, int y) {
        return QPoint(tamcelda * (x - e.vistax), tamcelda * (y - e.vistay));
    };
    if (e.vertinte) {
        const std::vector<char> fuera = nuc->inalcanzables();
        const int ancho = e.anchomapa + 1;
        for (int y = e.vistay; y < e.vistay + vistos && y <= e.altomapa && !fuera.empty(); ++y)
            for (int x = e.vistax; x < e.vistax + vistos && x <= e.anchomapa; ++x)
                if (fuera[std::size_t(y) * ancho + x])
                    p.fillRect(QRect(pixel(x, y), QSize(tamcelda, tamcelda)),
                               QColor(220, 0, 160, 110));
    }
    if (e.trazandolinea) {
        // The line as it will be painted, brush size included.
        const int r = e.tamanopincel / 2;
        for (comun::posicion c : nucleo::celdaslinea(e.lineadesde, e.lineahasta))
            p.fillRect(QRect(pixel(c.x - r, c.y - r), QSize(tamcelda, tamcelda) * (2 * r + 1)),
                       QColor(255, 255, 0, 90));
    }
    if (e.simetrico) {
        // The mirror: a line for left-right or top-bottom, a cross at the
        // centre point.
        const double mx = tamcelda * ((e.anchomapa + 1) / 2.0 - e.vistax);
        const double my = tamcelda * ((e.altomapa + 1) / 2.0 - e.vistay);
        const double lado = tamcelda * vistos;
        for (QColor color : {QColor(0, 0, 0), QColor(255, 255, 255)}) {
            p.setPen(QPen(color, 1, color == Qt::black ? Qt::SolidLine : Qt::DashLine));
            if (e.modoespejo == espejo::horizontal)
                p.drawLine(QPointF(mx, 0), QPointF(mx, lado));
            else if (e.modoespejo == espejo::vertical)
                p.drawLine(QPointF(0, my), QPointF(lado, my));
            else {
                p.drawLine(QPointF(mx - 12, my), QPointF(mx + 12, my));
                p.drawLine(QPointF(mx, my - 12), QPointF(mx, my + 12));
                p.drawEllipse(QPointF(mx, my), 6, 6);
            }
        }
    }
    if (e.haypuntero) {
        // The cell under the pointer, with the square a stroke would paint.
        const int r = e.pincel >= 0 ? e.tamanopincel / 2 : 0;
        QRect celda(pixel(e.puntero.x - r, e.puntero.y - r),
                    QSize(tamcelda, tamcelda) * (2 * r + 1));
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(celda.adjusted(0, 0, -1, -1));
        p.setPen(QPen(Qt::white, 1, Qt::DashLine));
        p.drawRect(celda.adjusted(0, 0, -1, -1));
    }
}

void main::ponerestado(const std::string& texto) {
    status->setText(QString::fromStdString(texto));
}

void main::mostrarpanel(bool visible) {
    setFixedSize(visible ? anchoconpanel : anchocliente, altocliente);
}

std::string main::escribir(const std::string& ruta, const std::string& texto) {
    return escribirarchivo(ruta, texto);
}

bool main::escribible(const std::string& carpeta) {
    return carpetaescribible(carpeta);
}

void main::ponernombre(const std::string& texto) {
    nombre->setText(QString::fromStdString(texto));
}

void main::ponertitulo(const std::string& titulo, bool modificado) {
    setWindowTitle(QString::fromStdString(titulo));
    setWindowModified(modificado);
}

void main::refrescar(const std::string& elegido) {
    QString quiere = QString::fromStdString(elegido);
    if (quiere.isEmpty() && file->currentItem())
        quiere = file->currentItem()->text();
    for (const QString& c : {dir, dirusuario}) {
        if (!c.isEmpty() && QDir(c).exists() && !vigia->directories().contains(c))
            vigia->addPath(c);
    }
    file->clear();
    for (const comun::mapalistado& m : comun::listarmapas(nuc->carpetas()))
        file->addItem(QString::fromStdString(m.archivo));
    if (!quiere.isEmpty()) {
        auto hallados = file->findItems(quiere, Qt::MatchExactly);
        if (!hallados.isEmpty())
            file->setCurrentItem(hallados.front());
    }
}

void main::guardar_Click() {
    nuc->guardar_Click(nombre->text().toStdString());
}

void main::abrir_Click() {
    auto elegidos = file->selectedItems();
    nuc->abrir_Click(elegidos.isEmpty() ? std::string() : elegidos.front()->text().toStdString());
}

void main::nuevomapa_Click() {
    nuc->nuevomapa_Click();
}

void main::crear_Click() {
    nuc->crear_Click(ancho->currentText().toInt(), alto->currentText().toInt());
}

void main::Form_KeyDown(QObject* obj, QKeyEvent* ev) {
    nuc->Form_KeyDown(codigotecla(ev->key()), desplazamiento(ev->modifiers()),
                      qobject_cast<QLineEdit*>(obj) != nullptr);
    const QSignalBlocker quieto(tinte);
    tinte->setChecked(nuc->ver().vertinte);
    update(); // the keys 1 to 6 choose another terrain
}

bool main::eventFilter(QObject* obj, QEvent* ev) {
    if (ev->type() == QEvent::KeyRelease) {
        ultimatecla = nullptr;
        ultimoreceptor = nullptr;
        return false;
    }
    if (ev->type() != QEvent::KeyPress)
        return false;
    auto* w = qobject_cast<QWidget*>(obj);
    if (!w)
        return false;
    auto* tecla = static_cast<QKeyEvent*>(ev);
    bool mando = false;
    if (w->window() == this) {
        bool repetida = ev == ultimatecla && ultimoreceptor && obj != ultimoreceptor &&
                        w->isAncestorOf(qobject_cast<QWidget*>(ultimoreceptor));
        ultimatecla = ev;
        ultimoreceptor = obj;
        // A key belongs to the control the user is looking at: in a text box
        // it is typing (Ctrl+Z included), in a list it moves the selection.
        // Elsewhere the map takes it, and an arrow goes nowhere else.
        const bool texto = qobject_cast<QLineEdit*>(w) != nullptr;
        bool enlista = false;
        for (QWidget* o = w; o && o != this; o = o->parentWidget())
            enlista =
                enlista || qobject_cast<QAbstractItemView*>(o) || qobject_cast<QComboBox*>(o);
        const bool ctrl = tecla->modifiers() & Qt::ControlModifier;
        const bool flecha = tecla->key() == Qt::Key_Left || tecla->key() == Qt::Key_Right ||
                            tecla->key() == Qt::Key_Up || tecla->key() == Qt::Key_Down;
        const bool almapa = !texto && (!enlista || (ctrl && !flecha));
        if (!repetida && almapa)
            Form_KeyDown(obj, tecla);
        mando = almapa && flecha && nuc->ver().haymapa == verdadero;
    }
    // Typed characters never reach the size lists, so a size can only be
    // picked from them (and not found by typing its first digit).
    for (QObject* o = obj; o; o = o->parent()) {
        if ((o == ancho || o == alto) && !tecla->text().isEmpty() &&
            tecla->text().front().isPrint())
            return true;
    }
    return mando;
}

void main::closeEvent(QCloseEvent* ev) {
    if (nuc->Form_QueryUnload())
        ev->ignore();
    else
        ev->accept();
}

void main::paintEvent(QPaintEvent*) {
    // The selected brush gets a clear frame, so a click's effect is known.
    const estado& e = nuc->ver();
    QWidget* elegido = nullptr;
    if (e.pincel >= 0 && e.pincel < int(terrenos.size()))
        elegido = terrenos[std::size_t(e.pincel)];
    else if (e.pincelinicio >= 0 && e.pincelinicio < int(px.size()))
        elegido = px[std::size_t(e.pincelinicio)];
    if (!elegido)
        return;
    QPainter p(this);
    p.setPen(QPen(QColor(0, 90, 200), 2));
    p.drawRect(elegido->geometry().adjusted(-2, -2, 1, 1));
}

} // namespace editor
