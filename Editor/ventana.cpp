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
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace editor {

namespace {

const QString caption = QStringLiteral("Tarnhollow Editor");

// A team's start on the minimap and around it in the view.
QColor colorinicio(int equipo) {
    return equipo == 0 ? QColor(230, 0, 0) : QColor(0, 60, 255);
}

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
        return comun::vkizquierda;
    case Qt::Key_Up:
        return comun::vkarriba;
    case Qt::Key_Right:
        return comun::vkderecha;
    case Qt::Key_Down:
        return comun::vkabajo;
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
    setMinimumSize(anchocliente, altocliente);
    resize(anchocliente, altocliente);

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
    frame->hide();

    // Beside the palette: the whole map, the view's rectangle on it, and
    // the scroll bars along it.
    minimapa = new vista(QSize(ladominimapa, ladominimapa), this);
    minimapa->setObjectName("minimapa");
    minimapa->move(672, 280);
    minimapa->setToolTip(QStringLiteral("Clic o arrastre: llevar la vista allí"));
    auto alminimapa = [this](QMouseEvent* ev) {
        if (!(ev->buttons() & Qt::LeftButton))
            return;
        QPoint p = ev->position().toPoint();
        nuc->minimapa_Click(p.x(), p.y(), ladominimapa);
    };
    minimapa->alpulsar = alminimapa;
    minimapa->almover = alminimapa;
    barrax = new QScrollBar(Qt::Horizontal, this);
    barrax->setObjectName("barrax");
    barrax->setGeometry(672, 432, ladominimapa, 15);
    barray = new QScrollBar(Qt::Vertical, this);
    barray->setObjectName("barray");
    barray->setGeometry(824, 280, 15, ladominimapa);
    for (QScrollBar* b : {barrax, barray})
        b->setFocusPolicy(Qt::NoFocus);
    connect(barrax, &QScrollBar::valueChanged, this,
            [this](int v) { nuc->ponervista(v, nuc->ver().vistay); });
    connect(barray, &QScrollBar::valueChanged, this,
            [this](int v) { nuc->ponervista(nuc->ver().vistax, v); });

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
    // A name typed and Enter saves under it, as Guardar does; once saved,
    // the keys are the map's again.
    connect(nombre, &QLineEdit::returnPressed, this, [this] {
        guardar_Click();
        if (nuc->ver().guardado == verdadero)
            mirarmapa();
    });
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
    mainpic->alrueda = [this](QWheelEvent* ev) {
        const QPoint a = ev->angleDelta();
        const int d = a.y() != 0 ? a.y() : a.x();
        if (d == 0)
            return;
        const int signo = d > 0 ? 1 : -1;
        const QPoint p = ev->position().toPoint();
        if (ev->modifiers() & Qt::ControlModifier)
            nuc->acercar(signo, p.x(), p.y());
        else if ((ev->modifiers() & Qt::ShiftModifier) || a.y() == 0)
            nuc->desplazar(-3 * signo, 0);
        else
            nuc->desplazar(0, -3 * signo);
    };
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
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != mainpic && w != status && w->x() >= 500)
            derecha.emplace_back(w, w->pos());
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
    if (nuc->ver().haymapa != verdadero)
        pintarvacio();
}

main::~main() {
    qApp->removeEventFilter(this);
}

void main::cargarimagenes() {
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        tiles[i] = cargar(QString(":/imagenes/terreno%1.png").arg(i));
        colores[i] =
            tiles[i].scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0);
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

void main::escalar() {
    const int t = nuc->ver().tamano;
    if (t == escala)
        return;
    escala = t;
    // Nearest-neighbour scaling keeps the masks exactly black and white.
    for (std::size_t i = 0; i < tiles.size(); ++i)
        tilesvista[i] = tiles[i]
                            .scaled(t, t, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                            .convertToFormat(QImage::Format_RGB32);
    for (std::size_t i = 0; i < equis.size(); ++i)
        equisvista[i] = equis[i].scaled(2 * t, t, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void main::dibujar() {
    const estado& e = nuc->ver();
    escalar();
    const int t = e.tamano;
    QImage& img = mainpic->imagen;
    // Whole cells and the part of one more where the view isn't a multiple
    // of the cell size; beyond the map, "not map" (nothing there is saved,
    // painted or played on).
    img.fill(QColor(32, 32, 40));
    const int ultimax =
        std::min({e.vistax + (img.width() + t - 1) / t - 1, int(e.anchomapa), lado - 1});
    const int ultimay =
        std::min({e.vistay + (img.height() + t - 1) / t - 1, int(e.altomapa), lado - 1});
    // Tiles are copied row by row: at 25 % a large view holds tens of
    // thousands of cells, too many for one painter call each.
    for (int y = e.vistay; y <= ultimay; ++y) {
        const int py = t * (y - e.vistay);
        const int filas = std::min(t, img.height() - py);
        for (int x = e.vistax; x <= ultimax; ++x) {
            const int px = t * (x - e.vistax);
            const int columnas = std::min(t, img.width() - px);
            const QImage& tile = tilesvista[std::size_t(e.celda(x, y).terreno)];
            for (int j = 0; j < filas; ++j)
                std::memcpy(reinterpret_cast<QRgb*>(img.scanLine(py + j)) + px,
                            tile.constScanLine(j), std::size_t(columnas) * sizeof(QRgb));
        }
    }
    QPainter p(&img);
    for (int k = 0; k < 2; ++k) {
        const entrada& en = e.inicio[std::size_t(k)];
        if (en.colocado != verdadero || e.celda(en.x, en.y).marca < 0)
            continue;
        const int x = en.x;
        const int y = en.y;
        if (x < e.vistax || y < e.vistay || x > ultimax || y > ultimay)
            continue;
        const int px = t * (x - e.vistax);
        const int py = t * (y - e.vistay);
        const QImage& m = equisvista[std::size_t(e.celda(x, y).marca)];
        // The mask whitens the X's shape, then the image ANDs the coloured X
        // into it and leaves the rest of the tile alone.
        p.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
        p.drawImage(px, py, m, t, 0, t, t);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(px, py, m, 0, 0, t, t);
    }
    if (e.rectangulo) {
        // The rectangle being dragged, drawn over the cells it will paint.
        int x0 = std::min(e.esquina.x, e.extremo.x) - e.vistax;
        int y0 = std::min(e.esquina.y, e.extremo.y) - e.vistay;
        int w = std::abs(e.esquina.x - e.extremo.x) + 1;
        int h = std::abs(e.esquina.y - e.extremo.y) + 1;
        QRect r(x0 * t, y0 * t, w * t - 1, h * t - 1);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(r);
        p.setPen(QPen(Qt::yellow, 1, Qt::DashLine));
        p.drawRect(r);
    }
    dibujarencima(p);
    p.end();
    mainpic->update();
    dibujarminimapa();
}

void main::dibujarminimapa() {
    const estado& e = nuc->ver();
    // One pixel per cell, then scaled to the minimap with the map's shape.
    const int ancho = e.anchomapa + 1;
    const int alto = e.altomapa + 1;
    QImage mapa(ancho, alto, QImage::Format_RGB32);
    for (int y = 0; y < alto; ++y) {
        auto* fila = reinterpret_cast<QRgb*>(mapa.scanLine(y));
        for (int x = 0; x < ancho; ++x) {
            const casilla& c = e.celda(x, y);
            fila[x] = c.marca >= 0 ? colorinicio(c.marca).rgb() : colores[std::size_t(c.terreno)];
        }
    }
    const double escalamini = double(ladominimapa) / std::max(ancho, alto);
    QPainter p(&minimapa->imagen);
    p.fillRect(minimapa->imagen.rect(), QColor(32, 32, 40));
    p.drawImage(QRectF(0, 0, ancho * escalamini, alto * escalamini), mapa);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(e.vistax * escalamini, e.vistay * escalamini,
                      std::min(e.celdasx(), ancho) * escalamini - 1,
                      std::min(e.celdasy(), alto) * escalamini - 1));
    // The starts over everything: a cell of a 200-cell map is under a
    // pixel, and a start in a corner lies under the view's frame.
    for (int k = 0; k < 2; ++k) {
        const entrada& s = e.inicio[std::size_t(k)];
        if (s.colocado != verdadero)
            continue;
        const double lado = std::max(7.0, 3 * escalamini);
        const QPointF centro((s.x + 0.5) * escalamini, (s.y + 0.5) * escalamini);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(colorinicio(k));
        p.drawRect(QRectF(centro.x() - lado / 2, centro.y() - lado / 2, lado, lado));
    }
    p.end();
    minimapa->update();

    const QSignalBlocker qx(barrax);
    const QSignalBlocker qy(barray);
    barrax->show();
    barray->show();
    barrax->setRange(0, std::max(0, ancho - e.celdasx()));
    barrax->setPageStep(e.celdasx());
    barrax->setValue(e.vistax);
    barray->setRange(0, std::max(0, alto - e.celdasy()));
    barray->setPageStep(e.celdasy());
    barray->setValue(e.vistay);
}

void main::dibujarencima(QPainter& p) {
    const estado& e = nuc->ver();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const int t = e.tamano;
    const int vistosx = e.celdasx() + 1;
    const int vistosy = e.celdasy() + 1;
    auto pixel = [&](int x, int y) { return QPoint(t * (x - e.vistax), t * (y - e.vistay)); };
    if (e.vertinte) {
        const std::vector<char> fuera = nuc->inalcanzables();
        const int ancho = e.anchomapa + 1;
        for (int y = e.vistay; y < e.vistay + vistosy && y <= e.altomapa && !fuera.empty(); ++y)
            for (int x = e.vistax; x < e.vistax + vistosx && x <= e.anchomapa; ++x)
                if (fuera[std::size_t(y) * ancho + x])
                    p.fillRect(QRect(pixel(x, y), QSize(t, t)), QColor(220, 0, 160, 110));
    }
    if (e.trazandolinea) {
        // The line as it will be painted, brush size included.
        const int r = e.tamanopincel / 2;
        for (comun::posicion c : nucleo::celdaslinea(e.lineadesde, e.lineahasta))
            p.fillRect(QRect(pixel(c.x - r, c.y - r), QSize(t, t) * (2 * r + 1)),
                       QColor(255, 255, 0, 90));
    }
    if (e.simetrico) {
        // The mirror: a line for left-right or top-bottom, a cross at the
        // centre point.
        const double mx = t * ((e.anchomapa + 1) / 2.0 - e.vistax);
        const double my = t * ((e.altomapa + 1) / 2.0 - e.vistay);
        const double anchol = mainpic->imagen.width();
        const double altol = mainpic->imagen.height();
        for (QColor color : {QColor(0, 0, 0), QColor(255, 255, 255)}) {
            p.setPen(QPen(color, 1, color == Qt::black ? Qt::SolidLine : Qt::DashLine));
            if (e.modoespejo == espejo::horizontal)
                p.drawLine(QPointF(mx, 0), QPointF(mx, altol));
            else if (e.modoespejo == espejo::vertical)
                p.drawLine(QPointF(0, my), QPointF(anchol, my));
            else {
                p.drawLine(QPointF(mx - 12, my), QPointF(mx + 12, my));
                p.drawLine(QPointF(mx, my - 12), QPointF(mx, my + 12));
                p.drawEllipse(QPointF(mx, my), 6, 6);
            }
        }
    }
    if (t < tamcelda) {
        // Zoomed out, a start is a few pixels: a ring in its team's colour
        // finds it.
        for (int k = 0; k < 2; ++k) {
            const entrada& s = e.inicio[std::size_t(k)];
            if (s.colocado != verdadero)
                continue;
            const QPointF centro = QPointF(pixel(s.x, s.y)) + QPointF(t / 2.0, t / 2.0);
            const double radio = std::max(8.0, 1.5 * t);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::black, 4));
            p.drawEllipse(centro, radio, radio);
            p.setPen(QPen(colorinicio(k), 2));
            p.drawEllipse(centro, radio, radio);
        }
    }
    if (e.haypuntero) {
        // The cell under the pointer, with the square a stroke would paint.
        const int r = e.pincel >= 0 ? e.tamanopincel / 2 : 0;
        QRect celda(pixel(e.puntero.x - r, e.puntero.y - r), QSize(t, t) * (2 * r + 1));
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
    frame->setVisible(visible);
}

void main::resizeEvent(QResizeEvent* ev) {
    QWidget::resizeEvent(ev);
    // The view takes all the room the window gains; what stands right of it
    // moves along with the right edge.
    const int dx = width() - anchocliente;
    const int dy = height() - altocliente;
    for (auto& [w, sitio] : derecha)
        w->move(sitio + QPoint(dx, 0));
    mainpic->setFixedSize(500 + dx, 500 + dy);
    mainpic->imagen = QImage(mainpic->size(), QImage::Format_RGB32);
    mainpic->imagen.fill(palette().color(QPalette::Window));
    status->setGeometry(0, 500 + dy, 777 + dx, 17);
    if (nuc) {
        nuc->ponertamanovista(mainpic->width(), mainpic->height());
        if (nuc->ver().haymapa != verdadero)
            pintarvacio();
    }
}

void main::pintarvacio() {
    QImage& img = mainpic->imagen;
    img.fill(palette().color(QPalette::Window));
    QPainter p(&img);
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(img.rect(), Qt::AlignCenter,
               QStringLiteral("Mapa nuevo, o elija un mapa y pulse Abrir, para empezar"));
    p.end();
    mainpic->update();
    barrax->hide();
    barray->hide();
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
    // A file name need not be UTF-8 (say, Latin-1 from an old system); the
    // list shows it as best it can, and the item keeps its bytes for Abrir.
    for (const comun::mapalistado& m : comun::listarmapas(nuc->carpetas())) {
        auto* item = new QListWidgetItem(QString::fromStdString(m.archivo), file);
        item->setData(Qt::UserRole, QByteArray::fromStdString(m.archivo));
    }
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
    nuc->abrir_Click(elegidos.isEmpty()
                         ? std::string()
                         : elegidos.front()->data(Qt::UserRole).toByteArray().toStdString());
    mirarmapa();
}

void main::nuevomapa_Click() {
    nuc->nuevomapa_Click();
}

void main::crear_Click() {
    nuc->crear_Click(ancho->currentText().toInt(), alto->currentText().toInt());
    mirarmapa();
}

void main::mirarmapa() {
    // With a map in view the keys are for it (1 to 6 choose a terrain), not
    // for the name box that Qt would hand the focus to next.
    if (nuc->ver().haymapa == verdadero)
        mainpic->setFocus();
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
