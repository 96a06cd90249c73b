#include "Editor/ventana.h"

#include "Comun/escritura.h"
#include "Comun/listamapas.h"
#include "Editor/cajatamano.h"
#include "Editor/controles.h"
#include "Editor/escritura.h"
#include "Editor/vista.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
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
    // Any side from 50 to 1000 can be typed as well.
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setValidator(new QIntValidator(minimolado, maximolado, c));
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
    case Qt::Key_Escape:
        return vkescape;
    case Qt::Key_Delete:
        return vksuprimir;
    default:
        return k >= 0 && k <= 0x7f ? int16_t(k) : int16_t(0);
    }
}

} // namespace

main::main(const QString& carpeta, const QString& carpetausuario, const QString& carpetaejemplos,
           QWidget* padre)
    : QMainWindow(padre), dir(carpeta), dirusuario(carpetausuario),
      vigia(new QFileSystemWatcher(this)), vigiamapa(new QFileSystemWatcher(this)), reales(this),
      mensajes(&reales) {
    setObjectName("main");
    setWindowTitle(caption);
    cuerpo = new QWidget(this);
    cuerpo->setObjectName("cuerpo");
    cuerpo->setMinimumSize(anchocliente, altocliente);
    setCentralWidget(cuerpo);

    mainpic = new vista(QSize(celdasvista * tamcelda, celdasvista * tamcelda), cuerpo);
    mainpic->setObjectName("mainpic");
    // A click on the view takes the focus from the name box, so that the
    // letter keys act on the map again.
    mainpic->setFocusPolicy(Qt::ClickFocus);
    mainpic->move(0, 0);
    status = etiqueta("status", QString(), QRect(0, 500, 777, 17), cuerpo);
    Label1 = etiqueta("Label1", "Nombre del mapa", QRect(528, 8, 113, 17), cuerpo);
    nombre = new QLineEdit(cuerpo);
    nombre->setObjectName("nombre");
    nombre->setGeometry(528, 24, 113, 19);
    guardar = boton("guardar", "Guardar", QRect(528, 48, 113, 17), cuerpo);
    file = new QListWidget(cuerpo);
    file->setObjectName("file");
    file->setGeometry(504, 72, 153, 136);
    abrir = boton("abrir", "Abrir", QRect(528, 216, 113, 17), cuerpo);
    nuevomapa = boton("nuevomapa", "Mapa nuevo", QRect(528, 240, 113, 17), cuerpo);
    Label2 = etiqueta("Label2", "Terrenos", QRect(536, 280, 105, 17), cuerpo);
    const std::array<QPoint, 6> sitios = {QPoint(544, 296), QPoint(608, 296), QPoint(576, 328),
                                          QPoint(608, 328), QPoint(544, 328), QPoint(576, 296)};
    for (std::size_t i = 0; i < terrenos.size(); ++i) {
        terrenos[i] = new vista(QSize(22, 22), cuerpo);
        terrenos[i]->setObjectName("terrenos");
        terrenos[i]->setProperty("Index", int(i));
        terrenos[i]->move(sitios[i]);
        terrenos[i]->alpulsar = [this, i](QMouseEvent*) {
            nuc->terrenos_Click(int16_t(i));
            cuerpo->update();
        };
    }
    Label6 = etiqueta("Label6", "Jugadores", QRect(560, 376, 65, 17), cuerpo);
    for (std::size_t i = 0; i < px.size(); ++i) {
        px[i] = new vista(QSize(22, 22), cuerpo);
        px[i]->setObjectName("px");
        px[i]->setProperty("Index", int(i));
        px[i]->move(560 + 32 * int(i), 400);
        px[i]->alpulsar = [this, i](QMouseEvent*) {
            nuc->px_Click(int16_t(i));
            cuerpo->update();
        };
    }

    frame = new QFrame(cuerpo);
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
    minimapa = new vista(QSize(ladominimapa, ladominimapa), cuerpo);
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
    barrax = new QScrollBar(Qt::Horizontal, cuerpo);
    barrax->setObjectName("barrax");
    barrax->setGeometry(672, 432, ladominimapa, 15);
    barray = new QScrollBar(Qt::Vertical, cuerpo);
    barray->setObjectName("barray");
    barray->setGeometry(824, 280, 15, ladominimapa);
    for (QScrollBar* b : {barrax, barray})
        b->setFocusPolicy(Qt::NoFocus);
    connect(barrax, &QScrollBar::valueChanged, this,
            [this](int v) { nuc->ponervista(v, nuc->ver().vistay); });
    connect(barray, &QScrollBar::valueChanged, this,
            [this](int v) { nuc->ponervista(nuc->ver().vistax, v); });

    // The game beside the editor: in a build `Tarnhollow`, installed
    // `tarnhollow`, both in the program folder (games/ once installed).
    const QString aqui = QCoreApplication::applicationDirPath();
    sitiosjuego = {aqui + QStringLiteral("/Tarnhollow"), aqui + QStringLiteral("/tarnhollow")};
    const QString enruta = QStandardPaths::findExecutable(QStringLiteral("tarnhollow"));
    if (!enruta.isEmpty())
        sitiosjuego << enruta;
    lanzador = [](const QString& programa, const QStringList& argumentos) {
        // Its own folder as working folder: the game finds its data from
        // there, and nothing depends on where the editor was started.
        return QProcess::startDetached(programa, argumentos, QFileInfo(programa).absolutePath())
                   ? QString()
                   : QStringLiteral("El sistema no pudo iniciar el programa.");
    };
    hormigas = new QTimer(this);
    hormigas->setInterval(150);
    connect(hormigas, &QTimer::timeout, this, [this] {
        ++paso;
        if (nuc->ver().hayseleccion)
            dibujar();
        else
            hormigas->stop();
    });

    // Below the palette, where the window had nothing.
    tinte = new QCheckBox(QStringLiteral("Zonas sin acceso (C)"), cuerpo);
    tinte->setObjectName("tinte");
    tinte->setGeometry(512, 440, 148, 20);
    tinte->setFocusPolicy(Qt::NoFocus);
    tinte->setToolTip(QStringLiteral("Tiñe las casillas a las que ningún equipo puede llegar "
                                     "caminando desde su inicio; si los equipos no pueden "
                                     "encontrarse, lo que alcanza cada uno en su color"));
    connect(tinte, &QCheckBox::toggled, this, [this](bool si) {
        nuc->ponertinte(si);
        tinte->setChecked(nuc->ver().vertinte);
        actualizarmenus();
    });

    connect(guardar, &QPushButton::clicked, this, [this] { guardar_Click(); });
    // A name typed and Enter saves under it, as Guardar does; once saved,
    // the keys are the map's again.
    // Whatever the save said or asked, the keys go back to the map: a
    // letter typed next is a command, never more of the name.
    connect(nombre, &QLineEdit::returnPressed, this, [this] {
        guardar_Click();
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
    connect(vigiamapa, &QFileSystemWatcher::fileChanged, this, [this](const QString& ruta) {
        // A save that replaces the file ends the watch on the old one.
        if (QFileInfo::exists(ruta) && !vigiamapa->files().contains(ruta))
            vigiamapa->addPath(ruta);
        if (ruta.toStdString() == nuc->rutaactual())
            nuc->archivocambiado();
        mirarmapa();
    });

    mainpic->alpulsar = [this](QMouseEvent* ev) {
        QPoint p = ev->position().toPoint();
        int boton = ev->button() == Qt::RightButton    ? botonderecho
                    : ev->button() == Qt::MiddleButton ? botoncentral
                                                       : botonizquierdo;
        nuc->mainpic_MouseDown(desplazamiento(ev->modifiers()), p.x(), p.y(), boton);
        actualizarmenus();
        cuerpo->update(); // a right click may have chosen another terrain
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
        actualizarmenus(); // a selection was made: it can be copied now
    };

    mainpic->setToolTip(QStringLiteral("El mapa: clic o arrastre para pintar; F1, los controles"));
    const std::array<const char*, 6> nombres = {"Pasto", "Madera", "Pared",
                                                "Agua",  "Árbol",  "Piso"};
    // One line each: a tooltip over the palette must not cover the map.
    for (std::size_t i = 0; i < terrenos.size(); ++i)
        terrenos[i]->setToolTip(QString::fromUtf8(nombres[i]) +
                                QStringLiteral(" (tecla %1)").arg(i + 1));
    px[0]->setToolTip(QStringLiteral("Inicio del equipo rojo"));
    px[1]->setToolTip(QStringLiteral("Inicio del equipo azul"));

    cargarimagenes();
    for (QWidget* w : cuerpo->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != mainpic && w != status && w->x() >= 500)
            derecha.emplace_back(w, w->pos());
    // The window sees every key before the control that has the focus.
    qApp->installEventFilter(this);

    // The maps folder is created when missing; if that fails the list stays
    // empty and a save reports why it can't write.
    QDir().mkpath(dir);
    auto absoluta = [](const QString& c) {
        return c.isEmpty() ? std::string() : QDir(c).absolutePath().toStdString();
    };
    nuc = std::make_unique<nucleo>(static_cast<plataforma&>(*this), absoluta(dir),
                                   absoluta(dirusuario), absoluta(carpetaejemplos));
    crearmenus();
    // The rest of the client area, below the bar, is exactly the old window.
    resize(anchocliente, altocliente + menuBar()->sizeHint().height());
    QSettings ajustes;
    ajustes.beginGroup(QStringLiteral("editor"));
    restoreGeometry(ajustes.value(QStringLiteral("geometria")).toByteArray());
    nuc->recordar(int16_t(ajustes.value(QStringLiteral("pincel"), 0).toInt()),
                  int16_t(ajustes.value(QStringLiteral("tamanopincel"), 1).toInt()),
                  int16_t(ajustes.value(QStringLiteral("zoom"), tamcelda).toInt()));
    mnuMinimapa->setChecked(ajustes.value(QStringLiteral("minimapa"), true).toBool());
    nuc->ponerguerreros(ajustes.value(QStringLiteral("guerreros"), 4).toInt());
    const QString ultimo = ajustes.value(QStringLiteral("ultimo")).toString();
    ajustes.endGroup();
    refrescar({});
    nuc->Form_Load();
    // The last map opened comes back selected in the list, ready for Abrir.
    if (!ultimo.isEmpty())
        refrescar(QFile::encodeName(QFileInfo(ultimo).fileName()).toStdString());
    actualizarmenus();
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
    const bool tiles = e.reduccion == 1 && t >= 5;
    if (!tiles) {
        // A few pixels a cell or less: each pixel in the colour of the cell
        // under it, which reads better than a shrunken tile and stays fast
        // with a million cells in view.
        for (int py = 0; py < img.height(); ++py) {
            const int y = e.vistay + py * e.reduccion / t;
            if (y > e.altomapa)
                break;
            auto* fila = reinterpret_cast<QRgb*>(img.scanLine(py));
            for (int px = 0; px < img.width(); ++px) {
                const int x = e.vistax + px * e.reduccion / t;
                if (x > e.anchomapa)
                    break;
                fila[px] = colores[std::size_t(e.celda(x, y).terreno)];
            }
        }
    }
    const int ultimax =
        std::min({e.vistax + (img.width() + t - 1) / t - 1, int(e.anchomapa), lado - 1});
    const int ultimay =
        std::min({e.vistay + (img.height() + t - 1) / t - 1, int(e.altomapa), lado - 1});
    // Tiles are copied row by row: at 25 % a large view holds tens of
    // thousands of cells, too many for one painter call each.
    for (int y = e.vistay; y <= ultimay && tiles; ++y) {
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
    for (int k = 0; k < 2 && tiles; ++k) {
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
    const double s = e.escala();
    auto marco = [&](int x0, int y0, int x1, int y1) {
        return QRectF((x0 - e.vistax) * s, (y0 - e.vistay) * s, (x1 - x0 + 1) * s - 1,
                      (y1 - y0 + 1) * s - 1);
    };
    if (e.rectangulo) {
        // The rectangle being dragged, drawn over the cells it will paint.
        const QRectF r =
            marco(std::min(e.esquina.x, e.extremo.x), std::min(e.esquina.y, e.extremo.y),
                  std::max(e.esquina.x, e.extremo.x), std::max(e.esquina.y, e.extremo.y));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(r);
        p.setPen(QPen(Qt::yellow, 1, Qt::DashLine));
        p.drawRect(r);
    }
    dibujarencima(p);
    if (e.hayseleccion) {
        // Marching ants: the dashes move on with the timer.
        const QRectF r = marco(e.seleccion.x0, e.seleccion.y0, e.seleccion.x1, e.seleccion.y1);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(r);
        QPen hormiga(Qt::white, 1, Qt::CustomDashLine);
        hormiga.setDashPattern({4, 4});
        hormiga.setDashOffset(paso % 8);
        p.setPen(hormiga);
        p.drawRect(r);
    }
    if (e.pegando)
        dibujarcopia(p);
    p.end();
    mainpic->update();
    dibujarminimapa();
}

void main::dibujarcopia(QPainter& p) {
    const estado& e = nuc->ver();
    const recorte& c = e.copia;
    QImage copia(c.ancho, c.alto, QImage::Format_RGB32);
    for (int y = 0; y < c.alto; ++y) {
        auto* fila = reinterpret_cast<QRgb*>(copia.scanLine(y));
        for (int x = 0; x < c.ancho; ++x)
            fila[x] = colores[std::size_t(c.en(x, y))];
    }
    const double s = e.escala();
    const QRectF r((e.pegaren.x - e.vistax) * s, (e.pegaren.y - e.vistay) * s, c.ancho * s,
                   c.alto * s);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setOpacity(0.75);
    p.drawImage(r, copia);
    p.setOpacity(1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QPen(Qt::cyan, 1, Qt::DashLine));
    p.drawRect(r.adjusted(0, 0, -1, -1));
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
    const double t = e.escala();
    auto pixel = [&](int x, int y) { return QPointF(t * (x - e.vistax), t * (y - e.vistay)); };
    auto cuadro = [&](int x, int y, int lado) {
        return QRectF(pixel(x, y), QSizeF(t * lado, t * lado));
    };
    if (e.vertinte) {
        const nucleo::alcances& z = nuc->zonas();
        if (!z.celdas.empty()) {
            // One pixel a cell, stretched over the view: a single draw even
            // with the whole of a large map in view.
            const int ancho = e.anchomapa + 1;
            const int w = std::min(e.celdasx() + 1, ancho - e.vistax);
            const int h = std::min(e.celdasy() + 1, e.altomapa + 1 - e.vistay);
            QImage capa(w, h, QImage::Format_ARGB32_Premultiplied);
            const std::array<QRgb, 4> color = {
                0, qPremultiply(qRgba(230, 0, 0, 90)), qPremultiply(qRgba(0, 60, 255, 90)),
                z.separados ? qPremultiply(qRgba(90, 90, 90, 170))
                            : qPremultiply(qRgba(220, 0, 160, 110))};
            for (int y = 0; y < h; ++y) {
                auto* fila = reinterpret_cast<QRgb*>(capa.scanLine(y));
                const char* zonas = z.celdas.data() + std::size_t(e.vistay + y) * ancho + e.vistax;
                for (int x = 0; x < w; ++x)
                    fila[x] = color[std::size_t(zonas[x])];
            }
            p.drawImage(QRectF(0, 0, w * t, h * t), capa);
        }
    }
    if (e.trazandolinea) {
        // The line as it will be painted, brush size included.
        const int r = e.tamanopincel / 2;
        for (comun::posicion c : nucleo::celdaslinea(e.lineadesde, e.lineahasta, e.lineacerrada))
            p.fillRect(cuadro(c.x - r, c.y - r, 2 * r + 1), QColor(255, 255, 0, 90));
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
            const QPointF centro = pixel(s.x, s.y) + QPointF(t / 2.0, t / 2.0);
            const double radio = std::max(8.0, 1.5 * t);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::black, 4));
            p.drawEllipse(centro, radio, radio);
            p.setPen(QPen(colorinicio(k), 2));
            p.drawEllipse(centro, radio, radio);
        }
    }
    if (e.haypuntero && !e.pegando) {
        // The cell under the pointer, with the square a stroke would paint.
        const int r = e.pincel >= 0 && !e.herramientaseleccion ? e.tamanopincel / 2 : 0;
        const QRectF celda = cuadro(e.puntero.x - r, e.puntero.y - r, 2 * r + 1);
        p.setBrush(Qt::NoBrush);
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

void main::colocar() {
    // The view takes all the room the window gains; what stands right of it
    // moves along with the right edge, the map list grows downward and
    // what is below it follows.
    const int dx = cuerpo->width() - anchocliente;
    const int dy = std::max(0, cuerpo->height() - altocliente);
    for (auto& [w, sitio] : derecha)
        w->move(sitio + QPoint(dx, sitio.y() > file->y() ? dy : 0));
    file->resize(153, 136 + dy);
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
    actualizarmenus();
}

decision main::decidir(const std::string& texto, const std::string& titulo) {
    return mensajes->decidir(texto, titulo);
}

std::string main::leernombre() {
    return nombre->text().toStdString();
}

std::string main::tirar(const std::string& ruta) {
    QFile f(QString::fromStdString(ruta));
    errno = 0;
    if (f.moveToTrash())
        return {};
    const int error = errno;
    if (error != 0 && error != ENOENT)
        return comun::causasistema(error);
    return "El escritorio no tiene papelera para este archivo; no se ha borrado.";
}

void main::vigilar(const std::string& ruta) {
    if (!vigiamapa->files().isEmpty())
        vigiamapa->removePaths(vigiamapa->files());
    if (ruta.empty())
        return;
    const QString r = QString::fromStdString(ruta);
    vigiamapa->addPath(r);
    QSettings ajustes;
    ajustes.beginGroup(QStringLiteral("editor"));
    std::vector<std::string> lista;
    for (const QString& q : recientes())
        lista.push_back(q.toStdString());
    QStringList nueva;
    for (const std::string& q : nucleo::anadirreciente(lista, ruta))
        nueva << QString::fromStdString(q);
    ajustes.setValue(QStringLiteral("recientes"), nueva);
    ajustes.setValue(QStringLiteral("ultimo"), r);
}

QStringList main::recientes() const {
    QSettings ajustes;
    return ajustes.value(QStringLiteral("editor/recientes"))
        .toStringList()
        .mid(0, int(nucleo::maxrecientes));
}

void main::guardarajustes() {
    QSettings ajustes;
    ajustes.beginGroup(QStringLiteral("editor"));
    ajustes.setValue(QStringLiteral("geometria"), saveGeometry());
    const estado& e = nuc->ver();
    if (e.pincel >= 0)
        ajustes.setValue(QStringLiteral("pincel"), int(e.pincel));
    ajustes.setValue(QStringLiteral("tamanopincel"), int(e.tamanopincel));
    ajustes.setValue(QStringLiteral("zoom"), int(e.tamano));
    ajustes.setValue(QStringLiteral("minimapa"), mnuMinimapa->isChecked());
    ajustes.setValue(QStringLiteral("guerreros"), int(e.guerreros));
}

void main::refrescar(const std::string& elegido) {
    QByteArray quiere = QByteArray::fromStdString(elegido);
    if (quiere.isEmpty() && file->currentItem())
        quiere = file->currentItem()->data(Qt::UserRole).toByteArray();
    for (const QString& c : {dir, dirusuario}) {
        if (!c.isEmpty() && QDir(c).exists() && !vigia->directories().contains(c))
            vigia->addPath(c);
    }
    const QSignalBlocker quieto(file);
    file->clear();
    // A file name need not be UTF-8 (say, Latin-1 from an old system); the
    // list shows it as best it can, and the item keeps its bytes for Abrir.
    for (const comun::mapalistado& m : comun::listarmapas(nuc->carpetas())) {
        QString texto = QString::fromStdString(m.archivo);
        QString consejo;
        if (nuc->ocultaejemplo(m)) {
            // The shipped map is still there, hidden behind this one.
            texto += QStringLiteral(" (copia cambiada)");
            consejo = QStringLiteral("Copia cambiada de un mapa de ejemplo; Archivo → Restaurar "
                                     "mapa de ejemplo devuelve el original");
        } else if (nuc->esejemplo(m.archivo)) {
            consejo = QStringLiteral("Mapa de ejemplo del programa");
        }
        auto* item = new QListWidgetItem(texto, file);
        item->setData(Qt::UserRole, QByteArray::fromStdString(m.archivo));
        item->setToolTip(consejo);
        if (item->data(Qt::UserRole).toByteArray() == quiere && !quiere.isEmpty())
            file->setCurrentItem(item);
    }
}

std::string main::elegido() const {
    if (QListWidgetItem* item = file->currentItem(); item && item->isSelected())
        return item->data(Qt::UserRole).toByteArray().toStdString();
    return QFileInfo(QString::fromStdString(nuc->rutaactual())).fileName().toStdString();
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

void main::crearmenus() {
    auto accion = [this](QMenu* menu, const char* nombre, const QString& texto,
                         const QKeySequence& tecla, auto&& hacer) {
        QAction* a = menu->addAction(texto);
        a->setObjectName(nombre);
        a->setShortcut(tecla);
        connect(a, &QAction::triggered, this, hacer);
        return a;
    };
    // Keys a command of the map already answers go through the same path.
    auto tecla = [this](int16_t codigo, int16_t shift) {
        return [this, codigo, shift] {
            nuc->Form_KeyDown(codigo, shift, false);
            actualizarmenus();
            cuerpo->update();
        };
    };
    QMenu* archivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
    mnuNuevo = accion(archivo, "mnuNuevo", QStringLiteral("&Nuevo"), QKeySequence::New,
                      [this] { nuevomapa_Click(); });
    mnuAbrir = accion(archivo, "mnuAbrir", QStringLiteral("&Abrir..."), QKeySequence::Open,
                      [this] { mnuAbrir_Click(); });
    mnuGuardar = accion(archivo, "mnuGuardar", QStringLiteral("&Guardar"), QKeySequence::Save,
                        [this] { guardar_Click(); });
    mnuGuardarcomo =
        accion(archivo, "mnuGuardarcomo", QStringLiteral("Guardar &como..."),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { mnuGuardarcomo_Click(); });
    mnuRecientes = archivo->addMenu(QStringLiteral("Mapas &recientes"));
    mnuRecientes->setObjectName("mnuRecientes");
    connect(mnuRecientes, &QMenu::aboutToShow, this, [this] {
        mnuRecientes->clear();
        int n = 0;
        for (const QString& r : recientes()) {
            QAction* a = mnuRecientes->addAction(
                QStringLiteral("&%1 %2").arg(++n).arg(QDir::toNativeSeparators(r)));
            connect(a, &QAction::triggered, this, [this, r] { abrirreciente(r); });
        }
        if (n == 0)
            mnuRecientes->addAction(QStringLiteral("(ninguno)"))->setEnabled(false);
    });
    archivo->addSeparator();
    mnuRenombrar = accion(archivo, "mnuRenombrar", QStringLiteral("Cambiar &nombre del mapa..."),
                          QKeySequence(Qt::Key_F2), [this] { mnuRenombrar_Click(); });
    mnuBorrar = accion(archivo, "mnuBorrar", QStringLiteral("&Borrar mapa"), QKeySequence::Delete,
                       [this] { mnuBorrar_Click(); });
    // Supr and F2 act on the list only: in the name box they edit the text.
    for (QAction* a : {mnuRenombrar, mnuBorrar}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        file->addAction(a);
    }
    mnuRestaurar = accion(archivo, "mnuRestaurar", QStringLiteral("Restaurar mapa de &ejemplo"),
                          QKeySequence(), [this] { mnuRestaurar_Click(); });
    archivo->addSeparator();
    mnuSalir = accion(archivo, "mnuSalir", QStringLiteral("&Salir"),
                      QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    QMenu* editar = menuBar()->addMenu(QStringLiteral("&Editar"));
    mnuDeshacer = accion(editar, "mnuDeshacer", QStringLiteral("Deshacer"), QKeySequence::Undo,
                         tecla('Z', control));
    mnuRehacer = accion(editar, "mnuRehacer", QStringLiteral("Rehacer"), QKeySequence::Redo,
                        tecla('Y', control));
    mnuRehacer->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    editar->addSeparator();
    mnuSeleccion = accion(editar, "mnuSeleccion", QStringLiteral("&Seleccionar"),
                          QKeySequence(Qt::Key_S), tecla('S', 0));
    mnuSeleccion->setCheckable(true);
    mnuCortar = accion(editar, "mnuCortar", QStringLiteral("Cor&tar"), QKeySequence::Cut,
                       tecla('X', control));
    mnuCopiar = accion(editar, "mnuCopiar", QStringLiteral("&Copiar"), QKeySequence::Copy,
                       tecla('C', control));
    mnuPegar = accion(editar, "mnuPegar", QStringLiteral("&Pegar"), QKeySequence::Paste,
                      tecla('V', control));
    // Supr reaches the map through the key preview: as a shortcut it would
    // clash with the map list's own Supr.
    mnuBorrarseleccion =
        accion(editar, "mnuBorrarseleccion", QStringLiteral("&Borrar la selección\tSupr"),
               QKeySequence(), tecla(vksuprimir, 0));
    editar->addSeparator();
    mnuVoltearx = accion(editar, "mnuVoltearx", QStringLiteral("Voltear izquierda-derecha"),
                         QKeySequence(Qt::Key_X), tecla('X', 0));
    mnuVolteary = accion(editar, "mnuVolteary", QStringLiteral("Voltear arriba-abajo"),
                         QKeySequence(Qt::Key_Y), tecla('Y', 0));
    mnuGirar = accion(editar, "mnuGirar", QStringLiteral("&Girar un cuarto de vuelta"),
                      QKeySequence(Qt::Key_Z), tecla('Z', 0));
    mnuReflejar =
        accion(editar, "mnuReflejar", QStringLiteral("Reflejar la mitad"), QKeySequence(), [this] {
            nuc->reflejarmitad();
            actualizarmenus();
        });

    QMenu* menumapa = menuBar()->addMenu(QStringLiteral("&Mapa"));
    mnuRedimensionar = accion(menumapa, "mnuRedimensionar", QStringLiteral("&Redimensionar..."),
                              QKeySequence(), [this] { mnuRedimensionar_Click(); });
    menumapa->addSeparator();
    mnuProbar = accion(menumapa, "mnuProbar", QStringLiteral("&Probar"), QKeySequence(Qt::Key_F5),
                       [this] { nuc->probar(); });
    mnuGuerreros =
        accion(menumapa, "mnuGuerreros", QStringLiteral("&Guerreros por equipo al probar..."),
               QKeySequence(), [this] { mnuGuerreros_Click(); });

    QMenu* ver = menuBar()->addMenu(QStringLiteral("&Ver"));
    mnuAcercar = accion(ver, "mnuAcercar", QStringLiteral("&Acercar"), QKeySequence::ZoomIn,
                        tecla('+', control));
    mnuAlejar = accion(ver, "mnuAlejar", QStringLiteral("A&lejar"), QKeySequence::ZoomOut,
                       tecla('-', control));
    mnuTamanoreal = accion(ver, "mnuTamanoreal", QStringLiteral("&Tamaño real"),
                           QKeySequence(Qt::CTRL | Qt::Key_0), [this] {
                               nuc->tamanoreal();
                               actualizarmenus();
                           });
    mnuAjustar = accion(ver, "mnuAjustar", QStringLiteral("A&justar a la ventana"),
                        QKeySequence(Qt::CTRL | Qt::Key_9), [this] {
                            nuc->ajustarventana();
                            actualizarmenus();
                        });
    ver->addSeparator();
    mnuMinimapa =
        accion(ver, "mnuMinimapa", QStringLiteral("&Minimapa"), QKeySequence(), [this](bool si) {
            for (QWidget* w : {static_cast<QWidget*>(minimapa), static_cast<QWidget*>(barrax),
                               static_cast<QWidget*>(barray)})
                w->setVisible(si && (w == minimapa || nuc->ver().haymapa == verdadero));
        });
    mnuMinimapa->setCheckable(true);
    mnuMinimapa->setChecked(true);
    mnuTinte = accion(ver, "mnuTinte", QStringLiteral("&Zonas sin acceso"),
                      QKeySequence(Qt::Key_C), tecla('C', 0));
    mnuEspejo = accion(ver, "mnuEspejo", QStringLiteral("&Espejo"), QKeySequence(Qt::Key_M),
                       tecla('M', 0));
    for (QAction* a : {mnuTinte, mnuEspejo})
        a->setCheckable(true);

    QMenu* menuayuda = menuBar()->addMenu(QStringLiteral("A&yuda"));
    mnuControles = accion(menuayuda, "mnuControles", QStringLiteral("&Controles"),
                          QKeySequence::HelpContents, [this] { mnuControles_Click(); });
    mnuAcerca = accion(menuayuda, "mnuAcerca", QStringLiteral("&Acerca de"), QKeySequence(),
                       [this] { mnuAcerca_Click(); });
}

void main::actualizarmenus() {
    if (!mnuDeshacer)
        return;
    const estado& e = nuc->ver();
    const bool hay = e.haymapa == verdadero;
    const std::string d = nuc->nombredeshacer();
    const std::string r = nuc->nombrerehacer();
    mnuDeshacer->setText(QStringLiteral("Deshacer") +
                         (d.empty() ? QString() : " " + QString::fromStdString(d)));
    mnuRehacer->setText(QStringLiteral("Rehacer") +
                        (r.empty() ? QString() : " " + QString::fromStdString(r)));
    mnuDeshacer->setEnabled(hay && !d.empty());
    mnuRehacer->setEnabled(hay && !r.empty());
    for (QAction* a :
         {mnuGuardar, mnuGuardarcomo, mnuAcercar, mnuAlejar, mnuTamanoreal, mnuTinte, mnuEspejo,
          mnuSeleccion, mnuPegar, mnuReflejar, mnuAjustar, mnuRedimensionar, mnuProbar})
        a->setEnabled(hay);
    const bool algo = hay && (e.hayseleccion || e.pegando);
    for (QAction* a : {mnuVoltearx, mnuVolteary, mnuGirar})
        a->setEnabled(algo);
    for (QAction* a : {mnuCopiar, mnuCortar, mnuBorrarseleccion})
        a->setEnabled(hay && e.hayseleccion);
    const QSignalBlocker q0(mnuSeleccion);
    mnuSeleccion->setChecked(e.herramientaseleccion);
    if (e.hayseleccion && !hormigas->isActive())
        hormigas->start();
    const QSignalBlocker q1(mnuTinte);
    const QSignalBlocker q2(mnuEspejo);
    const QSignalBlocker q3(tinte);
    mnuTinte->setChecked(e.vertinte);
    tinte->setChecked(e.vertinte);
    mnuEspejo->setChecked(e.simetrico);
}

void main::mnuControles_Click() {
    if (!ayuda) {
        auto* d = new QDialog(this);
        d->setObjectName("ayuda");
        d->setWindowTitle(QStringLiteral("Controles del editor"));
        auto* tabla = new QTableWidget(int(controles().size()), 2, d);
        tabla->setObjectName("tabla");
        tabla->setHorizontalHeaderLabels(
            {QStringLiteral("Tecla o ratón"), QStringLiteral("Acción")});
        tabla->verticalHeader()->hide();
        tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tabla->setWordWrap(true);
        int fila = 0;
        for (const mando& c : controles()) {
            tabla->setItem(fila, 0, new QTableWidgetItem(QString::fromUtf8(c.tecla)));
            tabla->setItem(fila, 1, new QTableWidgetItem(QString::fromUtf8(c.accion)));
            ++fila;
        }
        tabla->resizeColumnsToContents();
        tabla->horizontalHeader()->setStretchLastSection(true);
        auto* cerrar = new QDialogButtonBox(QDialogButtonBox::Close, d);
        connect(cerrar, &QDialogButtonBox::rejected, d, &QDialog::close);
        auto* caja = new QVBoxLayout(d);
        caja->addWidget(tabla);
        caja->addWidget(cerrar);
        d->resize(760, 640);
        ayuda = d;
    }
    ayuda->show();
    ayuda->raise();
    ayuda->activateWindow();
}

void main::mnuAcerca_Click() {
    QMessageBox::about(
        this, QStringLiteral("Acerca de Tarnhollow Editor"),
        QStringLiteral("<p><b>Tarnhollow Editor</b> %1</p>"
                       "<p>El editor de mapas de Tarnhollow.</p>"
                       "<p>Licencia: GNU General Public License, versión 3 o posterior. "
                       "Es software libre y se ofrece sin ninguna garantía.</p>")
            .arg(QStringLiteral(TARNHOLLOW_VERSION)));
}

void main::mnuAbrir_Click() {
    QSettings ajustes;
    const QString desde = ajustes.value(QStringLiteral("editor/carpeta"), dir).toString();
    const QString ruta = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir un mapa"), desde,
                                                      QStringLiteral("Mapas (*.mapa)"), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (ruta.isEmpty())
        return;
    ajustes.setValue(QStringLiteral("editor/carpeta"), QFileInfo(ruta).absolutePath());
    nuc->abrirruta(QFile::encodeName(ruta).toStdString(), "Abrir otro mapa");
    mirarmapa();
}

void main::abrirreciente(const QString& ruta) {
    nuc->abrirruta(ruta.toStdString(), "Abrir un mapa reciente");
    mirarmapa();
}

void main::mnuGuardarcomo_Click() {
    // The name box is where a map's name is given: it takes the keys, its
    // text ready to be typed over; Enter saves.
    nombre->setFocus();
    nombre->selectAll();
    ponerestado("Escriba el nuevo nombre del mapa y pulse Intro");
}

void main::mnuBorrar_Click() {
    if (QListWidgetItem* item = file->currentItem())
        nuc->borrar_Click(item->data(Qt::UserRole).toByteArray().toStdString());
}

void main::mnuRenombrar_Click() {
    QListWidgetItem* item = file->currentItem();
    if (!item)
        return;
    const std::string archivo = item->data(Qt::UserRole).toByteArray().toStdString();
    if (nuc->esejemplo(archivo)) {
        nuc->renombrar_Click(archivo, archivo); // says why not
        return;
    }
    QInputDialog caja(this);
    caja.setWindowTitle(QStringLiteral("Cambiar nombre"));
    caja.setLabelText(QStringLiteral("Nuevo nombre del mapa:"));
    caja.setTextValue(QString::fromStdString(nucleo::limpiarnombre(archivo)));
    caja.setOkButtonText(QStringLiteral("Cambiar nombre"));
    caja.setCancelButtonText(QStringLiteral("Cancelar"));
    if (caja.exec() != QDialog::Accepted)
        return;
    nuc->renombrar_Click(archivo, caja.textValue().toStdString());
    file->setFocus();
}

void main::mnuRedimensionar_Click() {
    const estado& e = nuc->ver();
    if (e.haymapa != verdadero)
        return;
    cajatamano caja(e.anchomapa + 1, e.altomapa + 1, this);
    if (caja.exec() != QDialog::Accepted)
        return;
    nuc->redimensionar(caja.nuevoancho->value(), caja.nuevoalto->value(), caja.anclas->checkedId(),
                       int16_t(caja.terreno->currentIndex()));
    actualizarmenus();
}

void main::mnuGuerreros_Click() {
    bool si = false;
    const int n = QInputDialog::getInt(this, QStringLiteral("Probar"),
                                       QStringLiteral("Guerreros por equipo al probar el mapa:"),
                                       nuc->ver().guerreros, 1, 8, 1, &si);
    if (si)
        nuc->ponerguerreros(n);
}

void main::ponerportapapeles(const std::string& texto) {
    auto* datos = new QMimeData;
    const QByteArray bytes = QByteArray::fromStdString(texto);
    // Our own type for another editor window, plain text for anything else.
    datos->setData(QStringLiteral("application/x-tarnhollow-casillas"), bytes);
    datos->setText(QString::fromLatin1(bytes));
    QGuiApplication::clipboard()->setMimeData(datos);
}

std::string main::leerportapapeles() {
    const QMimeData* datos = QGuiApplication::clipboard()->mimeData();
    if (!datos)
        return {};
    const QString tipo = QStringLiteral("application/x-tarnhollow-casillas");
    if (datos->hasFormat(tipo))
        return datos->data(tipo).toStdString();
    return datos->text().toStdString();
}

std::string main::carpetaprueba() {
    if (!prueba || !prueba->isValid()) {
        // The user's cache when there is one, else the temporary folder.
        QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        if (base.isEmpty() || !QDir().mkpath(base))
            base = QDir::tempPath();
        prueba = std::make_unique<QTemporaryDir>(base + QStringLiteral("/prueba-XXXXXX"));
        if (!prueba->isValid())
            return {};
    }
    return QFile::encodeName(prueba->path()).toStdString();
}

std::string main::programajuego() {
    for (const QString& s : sitiosjuego) {
        const QFileInfo f(s);
        if (f.isFile() && f.isExecutable())
            return QFile::encodeName(f.absoluteFilePath()).toStdString();
    }
    return {};
}

std::string main::lanzar(const std::string& programa, const std::vector<std::string>& argumentos) {
    QStringList lista;
    for (const std::string& a : argumentos)
        lista << QFile::decodeName(QByteArray::fromStdString(a));
    return lanzador(QFile::decodeName(QByteArray::fromStdString(programa)), lista).toStdString();
}

void main::mnuRestaurar_Click() {
    nuc->restaurar_Click(elegido());
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
    actualizarmenus();
    cuerpo->update(); // the keys 1 to 6 choose another terrain
}

bool main::eventFilter(QObject* obj, QEvent* ev) {
    if (obj == cuerpo) {
        if (ev->type() == QEvent::Resize)
            colocar();
        else if (ev->type() == QEvent::Paint && nuc)
            pintarmarco();
        return false;
    }
    if (obj == nombre && ev->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(ev)->key() == Qt::Key_Escape) {
        mirarmapa();
        return true;
    }
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
    return mando;
}

void main::closeEvent(QCloseEvent* ev) {
    if (nuc->Form_QueryUnload()) {
        ev->ignore();
        return;
    }
    guardarajustes();
    if (ayuda)
        ayuda->close();
    ev->accept();
}

void main::pintarmarco() {
    // The selected brush gets a clear frame, so a click's effect is known.
    const estado& e = nuc->ver();
    QWidget* elegido = nullptr;
    if (e.pincel >= 0 && e.pincel < int(terrenos.size()))
        elegido = terrenos[std::size_t(e.pincel)];
    else if (e.pincelinicio >= 0 && e.pincelinicio < int(px.size()))
        elegido = px[std::size_t(e.pincelinicio)];
    if (!elegido)
        return;
    QPainter p(cuerpo);
    p.setPen(QPen(QColor(0, 90, 200), 2));
    p.drawRect(elegido->geometry().adjusted(-2, -2, 1, 1));
}

} // namespace editor
