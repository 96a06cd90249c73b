#include "Juego/qt/ventana.h"

#include "Comun/escritura.h"
#include "Comun/mapaarchivo.h"
#include "Juego/nucleo/repeticion.h"
#include "Juego/qt/archivo.h"
#include "Juego/qt/ayuda.h"
#include "Juego/qt/biblioteca.h"
#include "Juego/qt/final.h"
#include "Juego/qt/mezcla.h"
#include "Juego/qt/multijugador.h"
#include "Juego/qt/reproductor.h"
#include "Juego/qt/unjugador.h"
#include "Juego/qt/visor.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>

namespace juego {

namespace {

constexpr int anchocampo = columnasvista * tamcelda;
constexpr int altocampo = filasvista * tamcelda;
// The status row under the field.
constexpr int altofila = 23;

// The extensions of the files the player saves and opens.
const QString extrepeticion = QStringLiteral(".repeticion");
const QString extpartida = QStringLiteral(".partida");

} // namespace

campo::campo(QWidget* padre) : QWidget(padre) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect campo::encuadre(QSize area) {
    const int w = anchocampo;
    const int h = altocampo;
    if (area.width() <= 0 || area.height() <= 0)
        return QRect(0, 0, w, h);
    const double s = std::min(double(area.width()) / w, double(area.height()) / h);
    const double entero = std::floor(s);
    // A whole number at most a sixth smaller than the room allows keeps the
    // pixels crisp; otherwise the frame fills the room, smoothly scaled.
    const double escala = (entero >= 1 && entero >= s * 0.84) ? entero : s;
    const int dw = std::max(1, int(std::lround(w * escala)));
    const int dh = std::max(1, int(std::lround(h * escala)));
    return QRect((area.width() - dw) / 2, (area.height() - dh) / 2, dw, dh);
}

std::optional<QPoint> campo::pixeldecampo(QSize area, QPoint pos) {
    const QRect d = encuadre(area);
    if (!d.contains(pos))
        return std::nullopt;
    // Floor of the scaled position, clamped for the rounding at the last
    // pixel.
    const int px = int(std::floor((pos.x() - d.x()) * double(anchocampo) / d.width()));
    const int py = int(std::floor((pos.y() - d.y()) * double(altocampo) / d.height()));
    return QPoint(std::clamp(px, 0, anchocampo - 1), std::clamp(py, 0, altocampo - 1));
}

void campo::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect d = encuadre(size());
    if (d != rect() || imagen.isNull()) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(rect(), Qt::black);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (pintar)
        pintar(p, d);
    else if (encima && estado)
        encima->componer(p, d, *estado, imagen, vistax, vistay);
    else
        p.drawImage(d, imagen);
}

void campo::mousePressEvent(QMouseEvent* e) {
    if (const auto px = pixeldecampo(size(), e->position().toPoint())) {
        // Zoomed in, the field shows part of the frame: the pixel of the
        // frame under the pointer is the one a click means.
        const QPoint q = encima ? encima->acampo(*px) : *px;
        emit pulsado(q.x(), q.y());
    }
}

void campo::resizeEvent(QResizeEvent*) {
    colocarencima();
}

void campo::sobreponer(QLabel* l, Qt::Alignment donde, int letra) {
    encima_.push_back({l, donde, letra});
    colocarencima();
}

void campo::colocarencima() {
    const QRect d = encuadre(size());
    const double escala = double(d.width()) / anchocampo;
    const int margen = int(std::lround(4 * escala));
    std::erase_if(encima_, [](const sobrepuesta& e) { return e.etiqueta.isNull(); });
    for (const sobrepuesta& e : encima_) {
        QLabel* l = e.etiqueta;
        QFont f = l->font();
        const int px = std::max(1, int(std::lround(e.letra * escala)));
        if (f.pixelSize() != px) {
            f.setPixelSize(px);
            l->setFont(f);
        }
        l->adjustSize();
        int x = d.x() + margen;
        if (e.donde & Qt::AlignHCenter)
            x = d.x() + (d.width() - l->width()) / 2;
        else if (e.donde & Qt::AlignRight)
            x = d.x() + d.width() - margen - l->width();
        const int y = (e.donde & Qt::AlignBottom) ? d.y() + d.height() - margen - l->height()
                                                  : d.y() + margen;
        l->move(x, y);
    }
}

barravida::barravida(QWidget* padre) : QWidget(padre) {}

void barravida::ponervida(int v) {
    if (v == vida_)
        return;
    vida_ = v;
    setToolTip(v < 0 ? QString() : QStringLiteral("Vida: %1").arg(v));
    update();
}

void barravida::paintEvent(QPaintEvent*) {
    if (vida_ < 0)
        return;
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, QColor(40, 40, 40));
    const int lleno = int(std::lround(r.width() * std::clamp(vida_, 0, 100) / 100.0));
    // Green while healthy, yellow when hurt, red near death.
    const QColor color = vida_ > 60   ? QColor(60, 180, 70)
                         : vida_ > 25 ? QColor(230, 190, 40)
                                      : QColor(220, 50, 40);
    p.fillRect(QRect(r.x(), r.y(), lleno, r.height()), color);
    p.setPen(QColor(0, 0, 0));
    p.drawRect(r);
    p.setPen(vida_ > 25 ? QColor(0, 0, 0) : QColor(255, 255, 255));
    QFont f = p.font();
    f.setPixelSize(std::max(8, r.height() - 3));
    f.setBold(true);
    p.setFont(f);
    p.drawText(r, Qt::AlignCenter, QString::number(vida_));
}

main::main() : sim_(std::make_unique<simulacion>()) {
    setWindowTitle(QStringLiteral("Tarnhollow"));
    // The field starts with the window's own match, the title screen.
    local_ = new jugadalocal(*this);
    jugada_ = local_;
    // An empty frame until the simulation's first one: the title screen.
    cuadro_ = std::make_shared<const cuadro>();
    connect(
        sim_.get(), &simulacion::publicado, &buzon_,
        [this](std::shared_ptr<const cuadro> c, const sucesos& s) { alcuadro(std::move(c), s); });
    connect(sim_.get(), &simulacion::sonidocambiado, &buzon_,
            [this](bool encendido) { ponersonido(encendido ? 1 : 0); });

    auto* cliente = new QWidget(this);
    // As narrow as the row under the field still fits: the status line's
    // text and the life bar up to 460, the kill count from 470 (some 190
    // wide) and the sound box's 72. The field itself scales to anything.
    cliente->setMinimumSize(470 + 190 + 72, 300 + altofila);
    cliente->resize(800, 600 + altofila);
    setCentralWidget(cliente);

    mainpic = new campo(cliente);
    mainpic->setObjectName(QStringLiteral("mainpic"));
    mainpic->setGeometry(0, 0, 800, 600);
    mainpic->encima = &capas_;
    mainpic->estado = cuadro_.get();
    connect(mainpic, &campo::pulsado, this, [this](int px, int py) {
        // While the view glides, the cell under the pointer is the one shown
        // there, not the one of the view the tick already reached.
        const posicion v = cuadro_->vista;
        if (haymovimiento_ && mnuSuave->isChecked()) {
            px += int(std::lround((vistamostrada_.x() - v.x) * tamcelda));
            py += int(std::lround((vistamostrada_.y() - v.y) * tamcelda));
        }
        jugada_->clic(px, py, v);
    });
    mainpic->pintar = [this](QPainter& p, const QRect& d) { pintarsuave(p, d); };

    status = new QLabel(cliente);
    status->setObjectName(QStringLiteral("status"));
    status->setTextFormat(Qt::PlainText);
    status->setGeometry(0, 600, 801, 25);
    status->setContentsMargins(4, 0, 0, 0);

    lblobjetivo = new QLabel(mainpic);
    lblobjetivo->setObjectName(QStringLiteral("lblobjetivo"));
    lblobjetivo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblobjetivo->setStyleSheet(QStringLiteral(
        "QLabel { color: white; background: rgba(0, 0, 0, 150); padding: 0 6px; }"));
    lblobjetivo->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblobjetivo->hide();
    // At the middle of the field's top edge: the kill feed and the players'
    // list take the corners.
    mainpic->sobreponer(lblobjetivo, Qt::AlignTop | Qt::AlignHCenter, 12);
    mensajes = etiquetacampo(mainpic);
    mensajes->setObjectName(QStringLiteral("mensajes"));
    mainpic->sobreponer(mensajes, Qt::AlignTop | Qt::AlignLeft, 11);

    final_ = new pantallafinal(cliente);
    connect(final_->cerrar, &QPushButton::clicked, this, [this] {
        // The last frame stays; say where the next match starts (a replay
        // has its own keys for what comes next).
        if (const QString otra = jugada_->otrapartida(); !otra.isEmpty())
            decir(otra);
    });
    connect(final_, &pantallafinal::otra, this, [this] {
        // A copy: starting the match replaces what it was started from.
        // The same rules, but not the same match again: a new seed.
        if (std::optional<revancha> r = ultima_) {
            r->regla.semilla = 0;
            jugada_->revanchar(*r);
        }
    });

    sonido_ = new QCheckBox(QStringLiteral("Sonido"), cliente);
    sonido_->setObjectName(QStringLiteral("sonido"));
    sonido_->setGeometry(728, 600, 73, 25);
    // Sound is part of the game: it starts on, and S or a click turns it off.
    sonido_->setChecked(true);
    // The space bar strikes; it must never toggle the box instead.
    sonido_->setFocusPolicy(Qt::NoFocus);
    sonido_->raise();

    vida = new barravida(cliente);
    vida->setObjectName(QStringLiteral("barravida"));
    marcador = new QLabel(cliente);
    marcador->setObjectName(QStringLiteral("marcador"));
    marcador->setTextFormat(Qt::RichText);

    mnuArchivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
    mnuArchivo->setObjectName(QStringLiteral("mnuArchivo"));
    mnuSolo = mnuArchivo->addAction(QStringLiteral("&Un Jugador"), this, &main::mnuSolo_Click);
    mnuSolo->setObjectName(QStringLiteral("mnuSolo"));
    mnuMulti = mnuArchivo->addAction(QStringLiteral("&Multijugador"), this, &main::mnuMulti_Click);
    mnuMulti->setObjectName(QStringLiteral("mnuMulti"));
    // What can be saved depends on what is on the field.
    connect(mnuArchivo, &QMenu::aboutToShow, this, [this] {
        const bool enmarcha = jugada_->sejuega() && juego().jugando == verdadero;
        // A match that ended has nothing left to play on; its replay can
        // still be kept.
        mnuGuardarPartida->setEnabled(enmarcha && juego().fin != verdadero);
        mnuGuardarRepeticion->setEnabled(enmarcha && juego().grabando);
    });
    mnuArchivo->addSeparator();
    mnuVerRepeticion = mnuArchivo->addAction(QStringLiteral("&Ver repetición…"), this,
                                             &main::mnuVerRepeticion_Click);
    mnuVerRepeticion->setObjectName(QStringLiteral("mnuVerRepeticion"));
    mnuGuardarRepeticion = mnuArchivo->addAction(QStringLiteral("Guardar &repetición…"), this,
                                                 &main::mnuGuardarRepeticion_Click);
    mnuGuardarRepeticion->setObjectName(QStringLiteral("mnuGuardarRepeticion"));
    mnuGuardarPartida = mnuArchivo->addAction(QStringLiteral("&Guardar partida…"), this,
                                              &main::mnuGuardarPartida_Click);
    mnuGuardarPartida->setObjectName(QStringLiteral("mnuGuardarPartida"));
    mnuCargarPartida = mnuArchivo->addAction(QStringLiteral("&Cargar partida…"), this,
                                             &main::mnuCargarPartida_Click);
    mnuCargarPartida->setObjectName(QStringLiteral("mnuCargarPartida"));
    mnuArchivo->addSeparator();
    mnuSalir = mnuArchivo->addAction(QStringLiteral("&Salir"), this, &main::mnuSalir_Click);
    mnuSalir->setObjectName(QStringLiteral("mnuSalir"));
    mnuOpciones = menuBar()->addMenu(QStringLiteral("&Opciones"));
    mnuOpciones->setObjectName(QStringLiteral("mnuOpciones"));
    mnuSuave = mnuOpciones->addAction(QStringLiteral("Movimiento &suave"));
    mnuSuave->setObjectName(QStringLiteral("mnuSuave"));
    mnuSuave->setCheckable(true);
    mnuMinimapa = mnuOpciones->addAction(QStringLiteral("&Minimapa\tM"));
    mnuMinimapa->setObjectName(QStringLiteral("mnuMinimapa"));
    mnuMinimapa->setCheckable(true);
    connect(mnuMinimapa, &QAction::toggled, this, &main::ponerminimapa);
    // The field drawn bigger around the fighter; the match sees the same.
    mnuOpciones->addSeparator();
    auto* zooms = new QActionGroup(this);
    for (const auto& [nombre, z] :
         {std::pair{"mnuZoom1", 1.0}, std::pair{"mnuZoom15", 1.5}, std::pair{"mnuZoom2", 2.0}}) {
        // The last digit is the item's letter: 1, 5 and 2 are all different.
        QString veces = QLocale(QLocale::Spanish).toString(z);
        veces.insert(veces.size() - 1, QLatin1Char('&'));
        QAction* a = mnuOpciones->addAction(QStringLiteral("Zoom %1x").arg(veces));
        a->setObjectName(QString::fromLatin1(nombre));
        a->setCheckable(true);
        a->setData(z);
        zooms->addAction(a);
    }
    connect(zooms, &QActionGroup::triggered, this, [this](QAction* a) {
        capas_.zoom = a->data().toDouble();
        mainpic->update();
    });
    mnuPantallaCompleta = mnuOpciones->addAction(QStringLiteral("&Pantalla completa\tF11"), this,
                                                 &main::pantallacompleta);
    mnuPantallaCompleta->setObjectName(QStringLiteral("mnuPantallaCompleta"));
    mnuAyuda = menuBar()->addMenu(QStringLiteral("A&yuda"));
    mnuAyuda->setObjectName(QStringLiteral("mnuAyuda"));
    mnuControles =
        mnuAyuda->addAction(QStringLiteral("&Controles"), this, &main::mnuControles_Click);
    mnuControles->setObjectName(QStringLiteral("mnuControles"));
    mnuAcerca = mnuAyuda->addAction(QStringLiteral("&Acerca..."), this, &main::mnuAcerca_Click);
    mnuAcerca->setObjectName(QStringLiteral("mnuAcerca"));

    fotogramas = new QTimer(this);
    fotogramas->setObjectName(QStringLiteral("fotogramas"));
    fotogramas->setInterval(16);
    fotogramas->setTimerType(Qt::PreciseTimer);
    connect(fotogramas, &QTimer::timeout, this, [this] {
        // A little past the end of the glide, the last frame is on screen.
        if (!haymovimiento_ || !mnuSuave->isChecked() || desde_.elapsed() > intervalo() + 40)
            fotogramas->stop();
        mainpic->update();
    });

    // Loads nothing yet: the sound module comes with the first match that
    // has sound (see reemplazarpartida and empezarred).
    reproductor_ = new reproductor(carpetadatos(QStringLiteral("sonidos")), this);
    // Turning sound off silences what is still playing too.
    connect(sonido_, &QCheckBox::toggled, this, [this](bool encendido) {
        if (!encendido)
            reproductor_->callar();
        sim_->ponersonidoventana(encendido);
    });

    avisar = [this](const QString& titulo, const QString& texto) {
        const relojparado espera(*this);
        // A host's refusal comes here word for word: it is never read as
        // markup, which could show pictures or links it chose.
        QMessageBox caja(QMessageBox::Critical, titulo, texto, QMessageBox::Ok, this);
        caja.setTextFormat(Qt::PlainText);
        caja.exec();
    };
    confirmar = [this](const QString& titulo, const QString& texto) {
        const relojparado espera(*this);
        QMessageBox caja(QMessageBox::Question, titulo, texto, QMessageBox::Yes | QMessageBox::No,
                         this);
        caja.setDefaultButton(QMessageBox::No);
        caja.setTextFormat(Qt::PlainText);
        return caja.exec() == QMessageBox::Yes;
    };
    // The dialog is not asked to warn of a file it would replace: a bare
    // name gets its ending only afterwards (preguntarruta), and that is the
    // name that must be asked about.
    pedirarchivo = [this](bool guardar, const QString& titulo, const QString& carpeta,
                          const QString& filtro) {
        // Qt's own dialog, not the desktop's: it speaks the game's Spanish
        // whatever language the desktop is in.
        const QFileDialog::Options opciones = QFileDialog::DontUseNativeDialog;
        return guardar ? QFileDialog::getSaveFileName(this, titulo, carpeta, filtro, nullptr,
                                                      opciones | QFileDialog::DontConfirmOverwrite)
                       : QFileDialog::getOpenFileName(this, titulo, carpeta, filtro, nullptr,
                                                      opciones);
    };
    elegirarchivo = [this](const QString& titulo, const QString& carpeta, const QString& filtro,
                           const QString& extension) {
        biblioteca b(this, titulo, carpeta, extension, extension == extrepeticion);
        b.pedirotro = [&] { return pedirarchivo(false, titulo, carpeta, filtro); };
        return b.exec() == QDialog::Accepted ? b.elegida() : QString();
    };

    // The window sees every key before its controls do, and the arrow keys
    // are tracked whichever of our windows has the focus.
    qApp->installEventFilter(this);

    resize(800, 600 + altofila + menuBar()->sizeHint().height());

    QSettings guardados(ajustes::organizacion(), QStringLiteral("Tarnhollow"));
    ajustes_ = ajustes::leer(guardados);
    sonido_->setChecked(ajustes_.sonido);
    mnuSuave->setChecked(ajustes_.suave);
    mnuMinimapa->setChecked(ajustes_.minimapa);
    capas_.minimapa = ajustes_.minimapa;
    capas_.zoom = ajustes_.zoom;
    for (QAction* a : mnuOpciones->actions())
        if (a->objectName().startsWith(QStringLiteral("mnuZoom")))
            a->setChecked(a->data().toDouble() == ajustes_.zoom);
    if (!ajustes_.geometria.isEmpty())
        restoreGeometry(ajustes_.geometria);
    if (ajustes_.pantallacompleta)
        setWindowState(windowState() | Qt::WindowFullScreen);

    colocar();
    Form_Load();
    sim_->ponersonidoventana(sonido_->isChecked());
    sim_->arrancar();
}

void main::alcuadro(std::shared_ptr<const cuadro> c, const sucesos& s) {
    cuadro_ = std::move(c);
    mainpic->estado = cuadro_.get();
    dibujar();
    jugada_->recibir(s);
}

void main::entregar() {
    // Not from inside a frame being drawn: that one finishes first.
    if (std::exchange(entregando_, true))
        return;
    QCoreApplication::sendPostedEvents(&buzon_, QEvent::MetaCall);
    entregando_ = false;
}

void main::enviar(std::function<sucesos(partida&)> f) {
    sim_->hacer(std::move(f));
    if (sincrono)
        sincronizar();
}

void main::sincronizar() {
    sim_->sincronizar();
    entregar();
}

void main::pararreloj() {
    sim_->invocar([s = sim_.get()] {
        s->timer->stop();
        s->publicar({});
    });
    sincronizar();
}

bool main::relojactivo() const {
    const QTimer* propio = relojactual();
    return propio ? propio->isActive() : cuadro_->reloj;
}

std::vector<uint8_t> main::instantanea() {
    return esperar([](partida& p) { return p.instantanea(); });
}

void main::guardarajustes() {
    ajustes_.sonido = sonido() == 1;
    ajustes_.suave = mnuSuave->isChecked();
    ajustes_.minimapa = capas_.minimapa;
    ajustes_.zoom = capas_.zoom;
    ajustes_.pantallacompleta = isFullScreen();
    ajustes_.geometria = saveGeometry();
    QSettings guardados(ajustes::organizacion(), QStringLiteral("Tarnhollow"));
    ajustes_.escribir(guardados);
}

void main::recordarpartida(const QString& mapa, int guerreros, const QString& tipo,
                           const objetivo& meta, const reglas& regla) {
    ajustes_.mapa = mapa;
    ajustes_.guerreros = guerreros;
    ajustes_.tipo = tipo;
    ajustes_.meta = meta;
    recordarreglas(regla);
}

void main::recordarreglas(const reglas& regla) {
    ajustes_.regla = regla;
    ajustes_.regla.semilla = 0;
}

uint32_t main::semillanueva() {
    uint32_t s = 0;
    while (s == 0)
        s = QRandomGenerator::global()->generate();
    return s;
}

QTimer* main::relojactual() const {
    return jugada_->relojpropio();
}

int main::intervalo() const {
    const QTimer* propio = relojactual();
    return propio ? std::max(1, propio->interval()) : 125;
}

double main::fraccion() const {
    if (!haymovimiento_ || !mnuSuave->isChecked() || !desde_.isValid())
        return 1.0;
    return avance(double(desde_.nsecsElapsed()) / 1e6, intervalo());
}

void main::pintarsuave(QPainter& p, const QRect& d) {
    const cuadro& m = juego();
    const double t = fraccion();
    if (t >= 1.0) {
        vistamostrada_ = QPointF(mainpic->vistax, mainpic->vistay);
        capas_.componer(p, d, m, mainpic->imagen, mainpic->vistax, mainpic->vistay);
        return;
    }
    const entremedias e = interpolar(antes_, ahora_, t);
    if (cuadrosuave_.isNull())
        cuadrosuave_ = lienzo::nuevaimagen();
    lienzosuave_.dibujar(m, antes_, ahora_, e, t, cuadrosuave_);
    vistamostrada_ = e.vista;
    capas_.componer(p, d, m, cuadrosuave_, mainpic->vistax, mainpic->vistay, &e);
}

void main::ponerminimapa(bool visible) {
    capas_.minimapa = visible;
    if (mnuMinimapa->isChecked() != visible)
        mnuMinimapa->setChecked(visible);
    mainpic->update();
}

void main::colocar() {
    const QSize a = centralWidget()->size();
    const int y = a.height() - altofila;
    mainpic->setGeometry(0, 0, a.width(), y);
    status->setGeometry(0, y, a.width() + 1, 25);
    sonido_->setGeometry(a.width() - 72, y, 73, 25);
    // Beside the status line's text, which keeps the left of the row.
    vida->setGeometry(360, y + 5, 100, 14);
    marcador->setGeometry(470, y, std::max(0, a.width() - 72 - 470), 25);
    vida->raise();
    marcador->raise();
    sonido_->raise();
    final_->colocar(campo::encuadre(mainpic->size()).translated(mainpic->pos()));
}

void main::mostrarmarcador() {
    const cuadro& m = juego();
    if (m.anchomapa == 0 && m.altomapa == 0 && m.jugando != verdadero) {
        vida->ponervida(-1);
        marcador->clear();
        return;
    }
    // The bar shows the life the status line shows, "Vida: N - ...": the
    // values the tick started with, so that the two never disagree (and stay
    // together in a pause). Before a match's first line, and while a replay
    // tells its own on that line, the life as it is now.
    const std::string& linea = m.estado;
    vida->ponervida(jugada_->lineadelapartida() && linea.rfind("Vida: ", 0) == 0
                        ? std::atoi(linea.c_str() + 6)
                        : m.unidades[std::size_t(m.jugador)].vida);
    // Kills, as the status line and the goal count them ("Muertes").
    marcador->setText(QStringLiteral("Muertes: <b style=\"color:%1\">rojo %2</b> · "
                                     "<b style=\"color:%3\">azul %4</b>")
                          .arg(capas::colorequipo(0).darker(120).name())
                          .arg(m.muertesequipo(0))
                          .arg(capas::colorequipo(1).name())
                          .arg(m.muertesequipo(1)));
}

void main::pantallacompleta() {
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
}

main::~main() {
    qApp->removeEventFilter(this);
    guardarajustes();
    // The network objects live on the simulation's thread and go before it;
    // so does a kind of play that ended but still waits for the event loop
    // to delete it (the window may go first: a SIGTERM during the message
    // about that end), as a network session's end speaks to the simulation.
    jugada_ = local_;
    for (jugada* j : findChildren<jugada*>(Qt::FindDirectChildrenOnly))
        if (j != local_)
            delete j;
    sim_->parar();
    // The set-up window is a window of its own, but it belongs to this one.
    delete unjugador_.data();
}

unjugador* main::menu() const {
    return unjugador_;
}

void main::Form_Load() {
    mnuMulti->setEnabled(true);
}

int16_t main::codigovk(int qtkey) {
    switch (qtkey) {
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    default:
        // Letters, digits and the space bar share their codes with Qt.
        return (qtkey >= 0 && qtkey < 128) ? int16_t(qtkey) : 0;
    }
}

bool main::eventFilter(QObject* objeto, QEvent* evento) {
    const QEvent::Type t = evento->type();
    if (t == QEvent::Resize && objeto == centralWidget()) {
        colocar();
        return false;
    }
    if (t == QEvent::ApplicationDeactivate) {
        // Keys released while another program has the focus never reach us.
        sim_->soltartodas();
        jugada_->soltartodas();
        return false;
    }
    if (t != QEvent::KeyPress && t != QEvent::KeyRelease)
        return false;
    auto* w = qobject_cast<QWidget*>(objeto);
    if (!w)
        return false;
    auto* k = static_cast<QKeyEvent*>(evento);
    const int16_t vk = codigovk(k->key());
    // Qt delivers one key event to the focus widget and then again to each
    // parent that ignores it; only the first delivery counts.
    QWidget* foco = QApplication::focusWidget();
    if (foco ? w != foco : !w->isWindow())
        return false;

    // Keys typed into another of our windows (the set-up window's list, the
    // Multijugador window's fields) act there and never walk the fighter, in
    // a match of one or over the network; a release anywhere still counts,
    // so no key stays held.
    const bool abajo = t == QEvent::KeyPress;
    if (!k->isAutoRepeat() && (!abajo || w->window() == this)) {
        sim_->teclaflecha(vk, abajo);
        jugada_->teclaflecha(vk, abajo);
    }
    if (t != QEvent::KeyPress || w->window() != this)
        return false;
    if (k->key() == Qt::Key_F11) {
        pantallacompleta();
        return true;
    }
    if (k->key() == Qt::Key_M && !k->isAutoRepeat()) {
        ponerminimapa(!capas_.minimapa);
        return true;
    }
    return jugada_->tecla(k->key(), vk, k->isAutoRepeat());
}

void main::closeEvent(QCloseEvent* e) {
    if (!dejarjugada(QStringLiteral("Salir"))) {
        e->ignore();
        return;
    }
    archivarpartida();
    e->accept();
    QApplication::quit();
}

void main::reempezar(revancha r, const std::function<void(partida&)>& alempezar) {
    r.regla.semilla = semillanueva();
    const std::string ruta = r.ruta.toStdString();
    sucesos s;
    const std::string error = cambiarpartida([&](partida& p) {
        std::string e = p.cargar(ruta, r.maxp, r.tipo, s, r.meta, r.regla);
        if (e.empty())
            alempezar(p);
        return e;
    });
    if (!error.empty()) {
        avisar(QStringLiteral("Revancha"), QString::fromStdString(error));
        return;
    }
    ultima_ = r;
    final_->hide();
    capas_.olvidar();
    procesar(s);
}

bool main::cargarmapa(const QString& ruta, int16_t maxp, int16_t tipo, objetivo meta,
                      reglas regla) {
    if (regla.semilla == 0)
        regla.semilla = semillanueva();
    sucesos s;
    const std::string r = ruta.toStdString();
    if (!reemplazarpartida(QStringLiteral("Tarnhollow"), {}, s, nullptr,
                           [r, maxp, tipo, meta, regla](partida& p, sucesos& e) {
                               return p.cargar(r, maxp, tipo, e, meta, regla);
                           }))
        return false;
    ultima_ = revancha{ruta, maxp, tipo, meta, regla};
    procesar(s);
    return true;
}

std::string main::cambiarpartida(const std::function<std::string(partida&)>& cambio,
                                 std::optional<simulacion::modo> modo) {
    // The match being left is kept among the replays, unless the new one
    // is refused: then nothing changes, and it is kept once, when it goes.
    const bool guardar = jugada_->sejuega() && juego().grabando;
    repeticion anterior;
    simulacion& sim = *sim_;
    const std::string error = esperar([&](partida& p) {
        if (guardar)
            anterior = p.grabacion();
        std::string e = cambio(p);
        if (e.empty() && modo)
            sim.ponermodoaqui(*modo);
        return e;
    });
    if (error.empty() && guardar)
        archivar(anterior);
    return error;
}

bool main::reemplazarpartida(const QString& titulo, const std::string& yamal, sucesos& s,
                             std::unique_ptr<jugada> nueva,
                             const std::function<std::string(partida&, sucesos&)>& cambio) {
    if (!dejarjugada(titulo))
        return false;
    // A refused file changes nothing: the match or the replay being watched
    // goes on.
    if (!yamal.empty()) {
        avisar(titulo, QString::fromStdString(yamal));
        return false;
    }
    // In the very step that loads the new match, what drove the old one
    // lets go of it and the clock goes to the new kind of play: no other
    // clock can tick the new match in between.
    const simulacion::modo modo = (nueva ? nueva.get() : local_)->modosimulacion();
    const std::function<void()> soltar = jugada_->soltarpartida();
    const std::string error = cambiarpartida(
        [&](partida& p) {
            std::string e = cambio(p, s);
            if (e.empty())
                soltar();
            return e;
        },
        modo);
    if (!error.empty()) {
        avisar(titulo, QString::fromStdString(error));
        return false;
    }
    // What was on the field goes only now, so that a refused file leaves a
    // replay playing. A network match left for another one ends, and the
    // new match stays as it started.
    ponerjugada(nueva.release());
    ultima_.reset();
    final_->hide();
    capas_.olvidar();
    haymovimiento_ = false;
    dibujar();
    prepararsonido();
    return true;
}

void main::prepararsonido() {
    // Loading the sound module takes a moment: done as the match starts, the
    // first stroke is not the one that waits. With sound off, the first
    // sound after turning it on loads it instead.
    if (sonido() == 1)
        reproductor_->preparar();
}

namespace {

bool escribirarchivo(const QString& ruta, const std::vector<uint8_t>& datos, QString& error) {
    // Past a file size limit (ulimit -f) the system would kill the game
    // with SIGXFSZ in the middle of the write; ignored, the write fails and
    // is reported.
    std::signal(SIGXFSZ, SIG_IGN);
    const qint64 n = qint64(datos.size());
    QSaveFile f(ruta);
    // commit() puts the new file in place even when writing out QSaveFile's
    // buffer failed (a full disk), so a cut file would replace a good one:
    // the buffer is written out, and checked, first.
    errno = 0;
    bool bien = f.open(QIODevice::WriteOnly);
    bien = bien && f.write(reinterpret_cast<const char*>(datos.data()), n) == n && f.flush();
    bien = bien && f.commit();
    if (bien)
        return true;
    // The reason in Spanish, from the system's error number: Qt's own
    // words for it are English.
    const int numero = errno;
    error =
        QStringLiteral("No se pudo guardar %1. %2")
            .arg(QFileInfo(ruta).fileName(),
                 QString::fromStdString(comun::porquenoseescribio(numero, ruta.toStdString(), n)));
    return false;
}

} // namespace

void main::archivarpartida() {
    // Only a match that was played here, alone or over the network:
    // watching a replay records nothing new.
    if (jugada_->sejuega() && juego().grabando)
        archivar(esperar([](partida& p) { return p.grabacion(); }));
}

void main::archivar(const repeticion& r) {
    if (r.ticks() == 0)
        return;
    if (r.ticks() == archivadaticks_ && r.pasos.size() == archivadapasos_ &&
        r.inicio == archivadainicio_)
        return;
    archivadainicio_ = r.inicio;
    archivadaticks_ = r.ticks();
    archivadapasos_ = r.pasos.size();
    // A full disk must not stop the game, but the player is told.
    const QString error =
        archivo(carpetausuario(QStringLiteral("repeticiones")), repeticionesguardadas)
            .archivar(escribirrepeticion(r));
    if (!error.isEmpty())
        decir(error);
}

bool main::guardarpartida(const QString& ruta) {
    if (!jugada_->sejuega() || juego().jugando != verdadero || juego().fin == verdadero) {
        avisar(QStringLiteral("Guardar partida"),
               QStringLiteral("No hay ninguna partida en marcha."));
        return false;
    }
    QString error;
    if (!escribirarchivo(ruta, instantanea(), error)) {
        avisar(QStringLiteral("Guardar partida"), error);
        return false;
    }
    decir(QStringLiteral("Partida guardada: %1").arg(QFileInfo(ruta).fileName()));
    return true;
}

bool main::cargarpartida(const QString& ruta) {
    std::vector<uint8_t> datos;
    const std::string error = leerbinario(ruta.toStdString(), maxarchivo, datos);
    sucesos s;
    if (!reemplazarpartida(QStringLiteral("Cargar partida"), error, s, nullptr,
                           [&datos](partida& p, sucesos& e) { return p.cargarsolo(datos, e); }))
        return false;
    procesar(s);
    // A match saved after its end shows its end again.
    if (juego().fin == verdadero)
        final_->mostrar(juego(), juego().jugador, false, juego().regla);
    return true;
}

bool main::guardarrepeticion(const QString& ruta) {
    // The record as the match has it now, not as the last frame said.
    const std::optional<std::vector<uint8_t>> datos =
        esperar([](partida& p) -> std::optional<std::vector<uint8_t>> {
            if (!p.grabando())
                return std::nullopt;
            return escribirrepeticion(p.grabacion());
        });
    if (!datos) {
        avisar(QStringLiteral("Guardar repetición"),
               QStringLiteral("No hay ninguna partida que guardar."));
        return false;
    }
    QString error;
    if (!escribirarchivo(ruta, *datos, error)) {
        avisar(QStringLiteral("Guardar repetición"), error);
        return false;
    }
    decir(QStringLiteral("Repetición guardada: %1").arg(QFileInfo(ruta).fileName()));
    return true;
}

bool main::verrepeticion(const QString& ruta) {
    std::vector<uint8_t> datos;
    repeticion r;
    std::string error = leerbinario(ruta.toStdString(), maxarchivo, datos);
    if (error.empty())
        error = leerrepeticion(datos.data(), datos.size(), r);
    // The recorded pause does not stop the viewer's clock, nor start the
    // game's. Esc leaves the replay's last frame on the field.
    auto v = std::make_unique<visor>(*this, std::move(r));
    const repeticion& vista = v->grabacion();
    connect(v.get(), &visor::salir, this,
            [this] { terminarjugada(QStringLiteral("Fin de la repetición.")); });
    sucesos s;
    if (!reemplazarpartida(
            QStringLiteral("Ver repetición"), error, s, std::move(v),
            [&vista](partida& p, sucesos& e) { return p.empezarrepeticion(vista, e, false); }))
        return false;
    // Its keys work at once: the window that was chosen from (a file
    // dialog, the set-up window) gives the keyboard back to the field.
    raise();
    activateWindow();
    setFocus(Qt::OtherFocusReason);
    return true;
}

void main::ponerjugada(jugada* nueva) {
    if (!nueva)
        nueva = local_;
    jugada* vieja = std::exchange(jugada_, nueva);
    // The replay's status line tells the replay, not the player's life,
    // and needs the room the bar takes. Also when the window's own match
    // takes the field again from the last frame of a replay, which kept
    // the bar hidden.
    vida->setVisible(nueva->lineadelapartida());
    if (vieja == nueva)
        return;
    vieja->dejar();
    if (vieja != local_)
        vieja->deleteLater();
    sim_->ponermodo(nueva->modosimulacion());
    nueva->empezar();
}

void main::terminarjugada(const QString& texto) {
    if (jugada_ == local_)
        return;
    const bool sejugaba = jugada_->sejuega();
    const bool vidavisible = !vida->isHidden();
    const std::function<void()> soltar = jugada_->soltarpartida();
    ponerjugada(nullptr);
    // What is left on the field is the last frame, not a match to play on:
    // it stays still, as it was shown, until a new match starts, and what
    // drove it (a network host or client) lets go of it in the same step.
    // A network copy's record is kept among the replays; a replay's last
    // frame is not a match played here.
    vida->setVisible(vidavisible);
    if (sejugaba)
        archivarpartida();
    esperar([&soltar](partida& p) {
        soltar();
        p.detener(true);
    });
    if (!texto.isEmpty())
        status->setText(texto);
}

void main::procesar(const sucesos& s) {
    capas_.jugador = juego().jugador;
    capas_.anotar(juego(), s);
    bool cambio = false;
    for (const suceso& e : s) {
        if (e.tipo == tiposuceso::estado && jugada_->lineadelapartida()) {
            status->setText(QString::fromStdString(e.texto));
        } else if (e.tipo == tiposuceso::sonido && sonido() == 1) {
            // Heard from the middle of the view on the screen; a sound of
            // no cell (the end of the match) everywhere.
            const double dx = e.x - (mainpic->vistax + columnasvista / 2.0);
            const double dy = e.y - (mainpic->vistay + filasvista / 2.0);
            reproductor_->reproducir(QString::fromStdString(e.texto),
                                     e.x < 0 ? 1.0 : mezcla::volumen(std::hypot(dx, dy)));
        } else if (e.tipo == tiposuceso::aviso) {
            decir(QString::fromStdString(e.texto));
        } else if (e.tipo == tiposuceso::fin) {
            // Revancha is a new match of this window's own, or of the match
            // it hosts: not while watching a replay, nor as a network guest.
            final_->nombres = capas_.nombres;
            final_->mostrar(juego(), juego().jugador,
                            ultima_.has_value() && jugada_->ofrecerevancha(), juego().regla);
        }
        cambio = cambio || e.tipo != tiposuceso::sonido;
    }
    // A match that runs again under the end screen (the dedicated server
    // starts the next one on its own) takes the screen away.
    if (final_->isVisible() && juego().jugando == verdadero && juego().fin != verdadero)
        final_->hide();
    if (cambio || s.empty()) {
        mostrarmarcador();
        // Messages and bars change between frames too (a pause, a stroke).
        mainpic->update();
    }
    const QString meta = juego().jugando == verdadero ? textoobjetivo(juego()) : QString();
    if (meta != lblobjetivo->text()) {
        lblobjetivo->setText(meta);
        mainpic->colocarencima();
        lblobjetivo->setVisible(!meta.isEmpty());
    }
}

QLabel* etiquetacampo(QWidget* campo) {
    auto* l = new QLabel(campo);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    // No size in the sheet: the field sets it as the frame grows.
    l->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 150); color: white; "
                                    "padding: 3px;"));
    l->setTextFormat(Qt::PlainText);
    l->hide();
    return l;
}

void main::decir(const QString& texto) {
    const quint64 numero = ++dichosnumerados_;
    dichos_.append({numero, texto});
    while (dichos_.size() > 4)
        dichos_.removeFirst();
    auto mostrar = [this] {
        QStringList lineas;
        for (const auto& d : dichos_)
            lineas << d.second;
        mensajes->setText(lineas.join(QLatin1Char('\n')));
        mainpic->colocarencima();
        mensajes->setVisible(!dichos_.isEmpty());
        mensajes->raise();
    };
    mostrar();
    // Each message stays a few seconds, however many come after it.
    QTimer::singleShot(duraciondicho, this, [this, mostrar, numero] {
        dichos_.removeIf([numero](const auto& d) { return d.first == numero; });
        mostrar();
    });
}

void main::timer_Timer() {
    // One tick now, as the simulation's clock would (a network match runs
    // on its host's clock, a replay on its viewer's).
    sim_->invocar([s = sim_.get()] { s->timer_Timer(); });
    if (sincrono)
        sincronizar();
}

void main::empezarjugada(jugada* j) {
    if (j == jugada_)
        return;
    // A network match or a replay on the field ends first (a network copy
    // kept among the replays); a match of the window's own is kept here.
    // Either way it is kept once.
    terminarjugada({});
    archivarpartida();
    ponerjugada(j);
    prepararsonido();
}

bool main::dejarjugada(const QString& titulo) {
    const std::size_t otros = jugada_->otrosjugadores();
    return otros == 0 ||
           confirmar(
               titulo,
               QStringLiteral("En tu partida en red hay %1 %2 más: si la dejas, termina "
                              "para todos. ¿Quieres dejarla?")
                   .arg(otros)
                   .arg(otros == 1 ? QStringLiteral("jugador") : QStringLiteral("jugadores")));
}

void main::esperaren(const std::function<void(partida&)>& f) {
    sim_->esperar(f);
    entregar();
}

visor* main::visoractual() const {
    return qobject_cast<visor*>(jugada_);
}

sesionred* main::red() const {
    return qobject_cast<sesionred*>(jugada_);
}

void main::borrardichos() {
    dichos_.clear();
    mensajes->hide();
}

void main::ponerestado(const QString& texto) {
    status->setText(texto);
}

QLabel* main::etiqueta(Qt::Alignment donde, int letra) {
    QLabel* l = etiquetacampo(mainpic);
    mainpic->sobreponer(l, donde, letra);
    return l;
}

void main::colocarencima() {
    mainpic->colocarencima();
}

void main::alertar(const QString& titulo, const QString& texto) {
    avisar(titulo, texto);
}

bool main::preguntar(const QString& titulo, const QString& texto) {
    return confirmar(titulo, texto);
}

multijugador* main::menured() const {
    return multijugador_;
}

QPoint main::encima(QRect sobre, QSize tamano, QRect pantalla) {
    QRect r(QPoint(), tamano);
    r.moveCenter(sobre.center());
    r.moveLeft(std::max(pantalla.left(), std::min(r.left(), pantalla.right() + 1 - r.width())));
    r.moveTop(std::max(pantalla.top(), std::min(r.top(), pantalla.bottom() + 1 - r.height())));
    return r.topLeft();
}

void main::mostrarencima(QWidget* w) {
    // A window shown for the first time opens over this one, where the
    // player looks, and not wherever the window manager finds room; one
    // shown again stays where the player put it.
    if (!w->isVisible() && !w->testAttribute(Qt::WA_Moved)) {
        w->adjustSize();
        const QScreen* s = screen();
        w->move(encima(frameGeometry(), w->frameGeometry().size(),
                       s ? s->availableGeometry() : frameGeometry()));
    }
    w->show();
    w->raise();
    w->activateWindow();
}

void main::mnuMulti_Click() {
    if (!multijugador_)
        multijugador_ = new multijugador(*this);
    mostrarencima(multijugador_);
}

void main::mnuSolo_Click() {
    // A set-up window that closed is only waiting to be deleted: showing it
    // again would hand the player a window the event loop is about to
    // delete under them. A fresh one takes its place.
    if (!unjugador_ || !unjugador_->isVisible())
        unjugador_ = new unjugador(*this);
    mostrarencima(unjugador_);
}

main::relojparado::relojparado(main& v)
    : v_(v), reloj_(v.relojactual()), propio_(reloj_), corria_(propio_ && reloj_->isActive()) {
    if (propio_)
        reloj_->stop();
    else
        v_.sim_->sostener(true);
}

main::relojparado::~relojparado() {
    // Not if the clock changed meanwhile (a replay's viewer came or went):
    // then the new one is already as it should be.
    if (!propio_)
        v_.sim_->sostener(false);
    else if (corria_ && reloj_ && reloj_ == v_.relojactual())
        reloj_->start();
}

QString main::preguntarruta(bool guardar, const QString& titulo, const QString& subcarpeta,
                            const QString& tipo, const QString& extension) {
    QString ruta;
    {
        const relojparado espera(*this);
        const QString carpeta = carpetausuario(subcarpeta);
        const QString filtro =
            tipo + QStringLiteral(" de Tarnhollow (*") + extension + QLatin1Char(')');
        ruta = guardar ? pedirarchivo(true, titulo, carpeta, filtro)
                       : elegirarchivo(titulo, carpeta, filtro, extension);
    }
    if (!guardar || ruta.isEmpty())
        return ruta;
    // A file saved under a bare name still gets the kind's extension.
    if (!ruta.endsWith(extension))
        ruta += extension;
    if (QFileInfo::exists(ruta) &&
        !confirmar(titulo, QStringLiteral("Ya hay un archivo %1. ¿Quieres reemplazarlo?")
                               .arg(QFileInfo(ruta).fileName())))
        return QString();
    return ruta;
}

void main::mnuVerRepeticion_Click() {
    const QString titulo = QStringLiteral("Ver repetición");
    const QString ruta = preguntarruta(false, titulo, QStringLiteral("repeticiones"),
                                       QStringLiteral("Repeticiones"), extrepeticion);
    if (ruta.isEmpty())
        return;
    // Watching ends the match being played, for good: the player says so
    // first (a network match with others in it asks its own question).
    const bool enmarcha =
        jugada_->sejuega() && juego().jugando == verdadero && juego().fin != verdadero;
    const bool preguntared = jugada_->otrosjugadores() > 0;
    if (enmarcha && !preguntared &&
        !confirmar(titulo, QStringLiteral("Para ver la repetición termina la partida en marcha "
                                          "y no se podrá seguir (queda entre las "
                                          "repeticiones). ¿Quieres verla?")))
        return;
    verrepeticion(ruta);
}

void main::mnuGuardarRepeticion_Click() {
    const QString ruta =
        preguntarruta(true, QStringLiteral("Guardar repetición"), QStringLiteral("repeticiones"),
                      QStringLiteral("Repeticiones"), extrepeticion);
    if (!ruta.isEmpty())
        guardarrepeticion(ruta);
}

void main::mnuGuardarPartida_Click() {
    const QString ruta =
        preguntarruta(true, QStringLiteral("Guardar partida"), QStringLiteral("partidas"),
                      QStringLiteral("Partidas"), extpartida);
    if (!ruta.isEmpty())
        guardarpartida(ruta);
}

void main::mnuCargarPartida_Click() {
    const QString ruta =
        preguntarruta(false, QStringLiteral("Cargar partida"), QStringLiteral("partidas"),
                      QStringLiteral("Partidas"), extpartida);
    if (!ruta.isEmpty())
        cargarpartida(ruta);
}

void main::mnuSalir_Click() {
    if (!dejarjugada(QStringLiteral("Salir")))
        return;
    archivarpartida();
    QApplication::quit();
}

void main::mnuControles_Click() {
    // The match waits while the player reads.
    const relojparado espera(*this);
    QMessageBox::information(this, QStringLiteral("Controles"), textocontroles());
}

void main::mnuAcerca_Click() {
    const QString texto =
        QStringLiteral("Tarnhollow\r\n"
                       "\r\n"
                       "Un juego de combate por equipos visto desde arriba.\r\n"
                       "Programación, dibujos y sonidos: el equipo de Tarnhollow.\r\n"
                       "Hecho con C++ y Qt.");
    const relojparado espera(*this);
    QMessageBox::information(this, QStringLiteral("Acerca..."), texto);
}

int16_t main::sonido() const {
    return sonido_->isChecked() ? 1 : 0;
}

void main::ponersonido(int16_t valor) {
    sonido_->setChecked(valor == 1);
}

void main::dibujar() {
    // The frame is drawn from the view the simulation made it for: the
    // player's, or the one a replay's viewer picked.
    const cuadro& m = juego();
    const posicion v = m.vista;
    // The frame is made for the first match drawn: the title screen is
    // painted straight onto the window and needs none.
    if (mainpic->imagen.isNull())
        mainpic->imagen = lienzo::nuevaimagen();
    lienzo_.dibujar(m, v, mainpic->imagen);
    mainpic->vistax = v.x;
    mainpic->vistay = v.y;
    // A new tick starts a new glide from where the last one ended; a frame
    // drawn between ticks (a shot) only adds what it shows.
    const instante nuevo = instante::de(m, v.x, v.y);
    const bool otrotick = !haymovimiento_ || nuevo.tick != ahora_.tick;
    if (otrotick) {
        antes_ = haymovimiento_ ? ahora_ : nuevo;
        desde_.restart();
    }
    ahora_ = nuevo;
    haymovimiento_ = m.jugando == verdadero;
    // The display's frames count from the tick's, so the glide's frames
    // fall where it expects them and it ends on time.
    if (haymovimiento_ && mnuSuave->isChecked() && (otrotick || !fotogramas->isActive()))
        fotogramas->start();
    mainpic->update();
}

} // namespace juego
