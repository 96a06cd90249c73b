#include "Juego/qt/ventana.h"

#include "Comun/mapaarchivo.h"
#include "Comun/qt/carpetas.h"
#include "Juego/nucleo/repeticion.h"
#include "Juego/qt/multijugador.h"
#include "Juego/qt/reproductor.h"
#include "Juego/qt/unjugador.h"
#include "Juego/qt/visor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QSaveFile>
#include <QStandardPaths>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace juego {

campo::campo(QWidget* padre) : QWidget(padre), imagen(lienzo::nuevaimagen()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void campo::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, imagen);
}

void campo::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    emit pulsado(pos.x(), pos.y());
}

main::main() : partida_(*this) {
    setWindowTitle(QStringLiteral("Tarnhollow"));

    auto* cliente = new QWidget(this);
    cliente->setFixedSize(800, 623);
    setCentralWidget(cliente);

    mainpic = new campo(cliente);
    mainpic->setObjectName(QStringLiteral("mainpic"));
    mainpic->setGeometry(0, 0, 800, 600);
    connect(mainpic, &campo::pulsado, this, [this](int px, int py) {
        if (red_)
            red_->clic(px, py);
        else if (!visor_)
            procesar(partida_.clic(px, py));
    });

    status = new QLabel(cliente);
    status->setObjectName(QStringLiteral("status"));
    status->setGeometry(0, 600, 801, 25);
    status->setContentsMargins(4, 0, 0, 0);

    sonido_ = new QCheckBox(QStringLiteral("Sonido"), cliente);
    sonido_->setObjectName(QStringLiteral("sonido"));
    sonido_->setGeometry(728, 600, 73, 25);
    // Sound is part of the game: it starts on, and S or a click turns it off.
    sonido_->setChecked(true);
    // The space bar strikes; it must never toggle the box instead.
    sonido_->setFocusPolicy(Qt::NoFocus);
    sonido_->raise();

    mnuArchivo = menuBar()->addMenu(QStringLiteral("Archivo"));
    mnuArchivo->setObjectName(QStringLiteral("mnuArchivo"));
    mnuSolo = mnuArchivo->addAction(QStringLiteral("Un Jugador"), this, &main::mnuSolo_Click);
    mnuSolo->setObjectName(QStringLiteral("mnuSolo"));
    mnuMulti = mnuArchivo->addAction(QStringLiteral("Multijugador"), this, &main::mnuMulti_Click);
    mnuMulti->setObjectName(QStringLiteral("mnuMulti"));
    mnuArchivo->addSeparator();
    mnuVerRepeticion = mnuArchivo->addAction(QStringLiteral("Ver repetición…"), this,
                                             &main::mnuVerRepeticion_Click);
    mnuVerRepeticion->setObjectName(QStringLiteral("mnuVerRepeticion"));
    mnuGuardarRepeticion = mnuArchivo->addAction(QStringLiteral("Guardar repetición…"), this,
                                                 &main::mnuGuardarRepeticion_Click);
    mnuGuardarRepeticion->setObjectName(QStringLiteral("mnuGuardarRepeticion"));
    mnuGuardarPartida = mnuArchivo->addAction(QStringLiteral("Guardar partida…"), this,
                                              &main::mnuGuardarPartida_Click);
    mnuGuardarPartida->setObjectName(QStringLiteral("mnuGuardarPartida"));
    mnuCargarPartida = mnuArchivo->addAction(QStringLiteral("Cargar partida…"), this,
                                             &main::mnuCargarPartida_Click);
    mnuCargarPartida->setObjectName(QStringLiteral("mnuCargarPartida"));
    mnuArchivo->addSeparator();
    mnuSalir = mnuArchivo->addAction(QStringLiteral("Salir"), this, &main::mnuSalir_Click);
    mnuSalir->setObjectName(QStringLiteral("mnuSalir"));
    mnuAyuda = menuBar()->addMenu(QStringLiteral("Ayuda"));
    mnuAyuda->setObjectName(QStringLiteral("mnuAyuda"));
    mnuControles =
        mnuAyuda->addAction(QStringLiteral("Controles"), this, &main::mnuControles_Click);
    mnuControles->setObjectName(QStringLiteral("mnuControles"));
    mnuAcerca = mnuAyuda->addAction(QStringLiteral("Acerca..."), this, &main::mnuAcerca_Click);
    mnuAcerca->setObjectName(QStringLiteral("mnuAcerca"));

    timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("timer"));
    timer->setInterval(125);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, &main::timer_Timer);
    timer->start();

    reproductor_ = new reproductor(comun::carpetadatos(QStringLiteral("sonidos")), this);

    avisar = [this](const QString& titulo, const QString& texto) {
        QMessageBox::critical(this, titulo, texto);
    };
    pedirarchivo = [this](bool guardar, const QString& titulo, const QString& carpeta,
                          const QString& filtro) {
        return guardar ? QFileDialog::getSaveFileName(this, titulo, carpeta, filtro)
                       : QFileDialog::getOpenFileName(this, titulo, carpeta, filtro);
    };

    // The window sees every key before its controls do, and the arrow keys
    // are tracked whichever of our windows has the focus.
    qApp->installEventFilter(this);

    Form_Load();
}

main::~main() {
    qApp->removeEventFilter(this);
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
    if (t == QEvent::ApplicationDeactivate) {
        // Keys released while another program has the focus never reach us.
        teclas_.soltartodas();
        if (red_)
            red_->soltartodas();
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

    if (!k->isAutoRepeat()) {
        if (t == QEvent::KeyPress)
            teclas_.apretar(vk);
        else
            teclas_.soltar(vk);
        if (red_)
            red_->teclaflecha(vk, t == QEvent::KeyPress);
    }
    if (t != QEvent::KeyPress || w->window() != this)
        return false;
    if (visor_)
        return visor_->tecla(k->key());
    if (red_)
        red_->tecla(vk);
    else
        procesar(partida_.tecla(vk));
    // The arrows walk and the space bar strikes: neither moves the focus
    // between controls nor presses them.
    return vk == 32 || (vk >= 37 && vk <= 40);
}

void main::closeEvent(QCloseEvent* e) {
    archivarpartida();
    e->accept();
    QApplication::quit();
}

bool main::cargarmapa(const QString& ruta, int16_t maxp, int16_t tipo) {
    // Read and checked before anything changes: a bad map leaves the
    // running match (and its recording) as it was.
    comun::lectura l = comun::leerarchivo(ruta.toStdString());
    std::string error = l ? mundo::errorpartida(*l.mapa) : l.error;
    if (!error.empty()) {
        avisar(QStringLiteral("Tarnhollow"), QString::fromStdString(error));
        return false;
    }
    archivarpartida();
    quitarvisor();
    terminarred({});
    sucesos s;
    partida_.empezar(*l.mapa, maxp, tipo, s);
    procesar(s);
    return true;
}

namespace {

// Saved matches and replays stay far below this; a larger file is refused
// before it is read.
constexpr std::size_t maxarchivo = 256u << 20;

bool escribirarchivo(const QString& ruta, const std::vector<uint8_t>& datos, QString& error) {
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(reinterpret_cast<const char*>(datos.data()), qint64(datos.size())) !=
            qint64(datos.size()) ||
        !f.commit()) {
        error = QStringLiteral("No se pudo guardar %1: %2").arg(ruta, f.errorString());
        return false;
    }
    return true;
}

} // namespace

QString main::carpetausuario(const QString& nombre) {
    const QString c =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/') + nombre;
    QDir().mkpath(c);
    return c;
}

void main::archivarpartida() {
    // Only a match that was played here; watching a replay records nothing new.
    if (!visor_ && partida_.grabando())
        archivar_(partida_.grabacion());
}

void main::archivar_(const repeticion& r) {
    if (r.ticks() == 0)
        return;
    const QString carpeta = carpetausuario(QStringLiteral("repeticiones"));
    const QString nombre =
        QDateTime::currentDateTime().toString(QStringLiteral("'partida-'yyyyMMdd-HHmmss'.repeticion'"));
    QString error;
    if (!escribirarchivo(carpeta + QLatin1Char('/') + nombre,
                         escribirrepeticion(r), error))
        return; // a full disk must not stop the game; the match is simply not kept
    // The newest ones are kept; the names sort by date.
    QDir d(carpeta);
    QStringList todas = d.entryList({QStringLiteral("partida-*.repeticion")}, QDir::Files,
                                    QDir::Name | QDir::Reversed);
    for (int k = repeticionesguardadas; k < todas.size(); ++k)
        d.remove(todas[k]);
}

bool main::guardarpartida(const QString& ruta) {
    if (visor_ || juego().jugando != verdadero) {
        avisar(QStringLiteral("Guardar partida"), QStringLiteral("No hay ninguna partida en marcha."));
        return false;
    }
    // Other people's fighters in it would stand still in a lone match.
    if (red_) {
        avisar(QStringLiteral("Guardar partida"),
               QStringLiteral("Una partida en red no se puede guardar."));
        return false;
    }
    QString error;
    if (!escribirarchivo(ruta, partida_.instantanea(), error)) {
        avisar(QStringLiteral("Guardar partida"), error);
        return false;
    }
    return true;
}

bool main::cargarpartida(const QString& ruta) {
    std::vector<uint8_t> datos;
    std::string error = leerbinario(ruta.toStdString(), maxarchivo, datos);
    // A bad file changes nothing; the match it replaces is kept among the
    // replays.
    const repeticion anterior = partida_.grabacion();
    const bool archivar = !visor_ && partida_.grabando();
    sucesos s;
    if (error.empty())
        error = partida_.restaurar(datos, s);
    if (!error.empty()) {
        avisar(QStringLiteral("Cargar partida"), QString::fromStdString(error));
        return false;
    }
    if (archivar)
        archivar_(anterior);
    quitarvisor();
    terminarred({});
    ponertemporizador(juego().pausado != verdadero);
    dibujar();
    procesar(s);
    return true;
}

bool main::guardarrepeticion(const QString& ruta) {
    // A network match is not recorded: its steps are the host's.
    if (!partida_.grabando() || red_) {
        avisar(QStringLiteral("Guardar repetición"),
               QStringLiteral("No hay ninguna partida que guardar."));
        return false;
    }
    QString error;
    if (!escribirarchivo(ruta, escribirrepeticion(partida_.grabacion()), error)) {
        avisar(QStringLiteral("Guardar repetición"), error);
        return false;
    }
    return true;
}

bool main::verrepeticion(const QString& ruta) {
    std::vector<uint8_t> datos;
    repeticion r;
    std::string error = leerbinario(ruta.toStdString(), maxarchivo, datos);
    if (error.empty())
        error = leerrepeticion(datos.data(), datos.size(), r);
    const repeticion anterior = partida_.grabacion();
    const bool archivar = !visor_ && partida_.grabando();
    sucesos s;
    if (error.empty())
        error = partida_.restaurar(r.inicio, s);
    if (!error.empty()) {
        avisar(QStringLiteral("Ver repetición"), QString::fromStdString(error));
        return false;
    }
    if (archivar)
        archivar_(anterior);
    quitarvisor();
    terminarred({});
    visor_ = new visor(*this, std::move(r));
    connect(visor_, &visor::salir, this, &main::cerrarvisor);
    // The recorded pause does not stop the viewer's clock, nor start the
    // game's.
    timer->stop();
    dibujar();
    return true;
}

void main::quitarvisor() {
    if (!visor_)
        return;
    visor_->reloj->stop();
    visor_->deleteLater();
    visor_ = nullptr;
}

void main::cerrarvisor() {
    if (!visor_)
        return;
    quitarvisor();
    // What is left on the field is the replay's last frame, not a match to
    // play on: it stays still until a new match starts.
    juego().jugando = falso;
    status->setText(QStringLiteral("Fin de la repetición."));
    dibujar();
}

void main::procesar(const sucesos& s) {
    for (const suceso& e : s) {
        if (e.tipo == tiposuceso::estado && !visor_)
            status->setText(QString::fromStdString(e.texto));
        else if (e.tipo == tiposuceso::sonido && sonido() == 1)
            reproductor_->reproducir(QString::fromStdString(e.texto));
    }
}

void main::timer_Timer() {
    // A network match runs on its host's clock.
    if (!visor_ && !red_)
        procesar(partida_.tick(teclas_));
}

void main::empezarred(sesionred* s) {
    if (s == red_)
        return;
    archivarpartida();
    quitarvisor();
    terminarred({});
    red_ = s;
}

void main::terminarred(const QString& texto) {
    if (!red_)
        return;
    sesionred* s = std::exchange(red_, nullptr);
    // Gone from the field at once, even while a message box waits.
    if (s->listajugadores)
        s->listajugadores->hide();
    if (s->mensajes)
        s->mensajes->hide();
    s->deleteLater();
    // The copy of the match stops where it was; it is not a match to play on.
    juego().jugando = falso;
    juego().pausado = falso;
    timer->start();
    if (!texto.isEmpty())
        status->setText(texto);
    dibujar();
}

multijugador* main::menured() const {
    return multijugador_;
}

void main::mnuMulti_Click() {
    if (!multijugador_)
        multijugador_ = new multijugador(*this);
    multijugador_->show();
    multijugador_->raise();
    multijugador_->activateWindow();
}

void main::mnuSolo_Click() {
    if (!unjugador_)
        unjugador_ = new unjugador(*this);
    unjugador_->show();
    unjugador_->raise();
    unjugador_->activateWindow();
}

void main::mnuVerRepeticion_Click() {
    const QString ruta =
        pedirarchivo(false, QStringLiteral("Ver repetición"), carpetausuario("repeticiones"),
                     QStringLiteral("Repeticiones de Tarnhollow (*.repeticion)"));
    if (!ruta.isEmpty())
        verrepeticion(ruta);
}

void main::mnuGuardarRepeticion_Click() {
    const QString ruta =
        pedirarchivo(true, QStringLiteral("Guardar repetición"), carpetausuario("repeticiones"),
                     QStringLiteral("Repeticiones de Tarnhollow (*.repeticion)"));
    if (!ruta.isEmpty())
        guardarrepeticion(ruta.endsWith(QStringLiteral(".repeticion"))
                              ? ruta
                              : ruta + QStringLiteral(".repeticion"));
}

void main::mnuGuardarPartida_Click() {
    const QString ruta =
        pedirarchivo(true, QStringLiteral("Guardar partida"), carpetausuario("partidas"),
                     QStringLiteral("Partidas de Tarnhollow (*.partida)"));
    if (!ruta.isEmpty())
        guardarpartida(ruta.endsWith(QStringLiteral(".partida")) ? ruta
                                                                 : ruta + QStringLiteral(".partida"));
}

void main::mnuCargarPartida_Click() {
    const QString ruta =
        pedirarchivo(false, QStringLiteral("Cargar partida"), carpetausuario("partidas"),
                     QStringLiteral("Partidas de Tarnhollow (*.partida)"));
    if (!ruta.isEmpty())
        cargarpartida(ruta);
}

void main::mnuSalir_Click() {
    archivarpartida();
    QApplication::quit();
}

void main::mnuControles_Click() {
    const QString texto = QStringLiteral("P = Pausa\r\n"
                                         "Moverse ---> Flechas\r\n"
                                         "\r\n"
                                         "Atacar:\r\n"
                                         "Arquero ---> Click Izquierdo\r\n"
                                         "Guerrero ---> Barra de Espacio\r\n"
                                         "Activar/Desactivar Sonido ----> S");
    QMessageBox::information(this, QStringLiteral("Controles"), texto);
}

void main::mnuAcerca_Click() {
    const QString texto =
        QStringLiteral("Tarnhollow\r\n"
                       "\r\n"
                       "Un juego de combate por equipos visto desde arriba.\r\n"
                       "Programación, dibujos y sonidos: el equipo de Tarnhollow.\r\n"
                       "Hecho con C++ y Qt.");
    QMessageBox::information(this, QStringLiteral("Acerca..."), texto);
}

int16_t main::sonido() const {
    return sonido_->isChecked() ? 1 : 0;
}

void main::ponersonido(int16_t valor) {
    sonido_->setChecked(valor == 1);
}

void main::ponertemporizador(bool activo) {
    // While a replay plays its own clock runs the match.
    if (visor_)
        return;
    if (activo)
        timer->start();
    else
        timer->stop();
}

void main::dibujar() {
    // The viewer may show another fighter's view; the match keeps its own.
    mundo& m = juego();
    const int16_t vx = m.vistax;
    const int16_t vy = m.vistay;
    if (visor_)
        visor_->ponervista(m);
    lienzo_.dibujar(m, mainpic->imagen);
    m.vistax = vx;
    m.vistay = vy;
    mainpic->update();
}

} // namespace juego
