#include "Juego/ventana.h"

#include "Comun/mapaarchivo.h"
#include "Comun/qt/carpetas.h"
#include "Juego/reproductor.h"
#include "Juego/unjugador.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
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

main::main() : mundo_(*this) {
    setWindowTitle(QStringLiteral("Tarnhollow"));

    auto* cliente = new QWidget(this);
    cliente->setFixedSize(800, 623);
    setCentralWidget(cliente);

    mainpic = new campo(cliente);
    mainpic->setObjectName(QStringLiteral("mainpic"));
    mainpic->setGeometry(0, 0, 800, 600);
    connect(mainpic, &campo::pulsado, this,
            [this](int px, int py) { mundo_.mainpic_MouseDown(px, py); });

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
    mnuMulti = mnuArchivo->addAction(QStringLiteral("Multijugador"));
    mnuMulti->setObjectName(QStringLiteral("mnuMulti"));
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
    mundo_.Form_Load();
    mnuMulti->setEnabled(false);
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
    }
    if (t != QEvent::KeyPress || w->window() != this)
        return false;
    mundo_.Form_KeyDown(vk);
    // The arrows walk and the space bar strikes: neither moves the focus
    // between controls nor presses them.
    return vk == 32 || (vk >= 37 && vk <= 40);
}

void main::closeEvent(QCloseEvent* e) {
    e->accept();
    QApplication::quit();
}

bool main::cargarmapa(const QString& ruta, int16_t maxp, int16_t tipo) {
    comun::lectura l = comun::leerarchivo(ruta.toStdString());
    std::string error = l ? mundo::errorpartida(*l.mapa) : l.error;
    if (!error.empty()) {
        avisar(QStringLiteral("Tarnhollow"), QString::fromStdString(error));
        return false;
    }
    timer->stop();
    mundo_.cargarmapa(*l.mapa, maxp, tipo);
    dibujar();
    timer->start();
    return true;
}

void main::timer_Timer() {
    mundo_.timer_Timer();
}

void main::mnuSolo_Click() {
    if (!unjugador_)
        unjugador_ = new unjugador(*this);
    unjugador_->show();
    unjugador_->raise();
    unjugador_->activateWindow();
}

void main::mnuSalir_Click() {
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

void main::mostrar(const std::string& texto) {
    status->setText(QString::fromStdString(texto));
}

uint16_t main::tecla(int16_t codigo) {
    return teclas_.consultar(codigo);
}

int16_t main::sonido() const {
    return sonido_->isChecked() ? 1 : 0;
}

void main::ponersonido(int16_t valor) {
    sonido_->setChecked(valor == 1);
}

void main::reproducir(const std::string& nombre) {
    reproductor_->reproducir(QString::fromStdString(nombre));
}

bool main::temporizador() const {
    return timer->isActive();
}

void main::ponertemporizador(bool activo) {
    if (activo)
        timer->start();
    else
        timer->stop();
}

void main::dibujar() {
    lienzo_.dibujar(mundo_, mainpic->imagen);
    mainpic->update();
}

} // namespace juego
