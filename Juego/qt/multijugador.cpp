#include "Juego/qt/multijugador.h"

#include "Juego/qt/ajustes.h"
#include "Juego/qt/capas.h"
#include "Juego/qt/selectorobjetivo.h"
#include "Juego/qt/selectorreglas.h"

#include "Comun/mapaarchivo.h"
#include "Comun/teclas.h"
#include "Juego/qt/unjugador.h"
#include "Juego/red/anfitrion.h"
#include "Juego/red/cliente.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QValidator>
#include <QVBoxLayout>

#include <utility>

namespace juego {

namespace {

// Side of the map's picture beside the list.
constexpr int ladoprevia = 120;

// A name travels as at most `maxnombre` bytes of UTF-8, and a letter with an
// accent takes two of them: the field stops taking letters at that size,
// rather than letting a name be typed that is refused afterwards.
class bytesdenombre : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texto, int&) const override {
        return std::size_t(texto.toUtf8().size()) <= red::maxnombre ? Acceptable : Invalid;
    }
};

} // namespace

sesionred::sesionred(mesa& v) : jugada(v) {
    // Bottom left: the kill feed takes the top right, the minimap the
    // bottom right and the joins and leaves the top left.
    listajugadores = v.etiqueta(Qt::AlignBottom | Qt::AlignLeft, 11);
    listajugadores->setObjectName(QStringLiteral("listajugadores"));
}

sesionred::~sesionred() {
    if (cliente_)
        cliente_->disconnect(this);
    mesa_.simulacionactual().invocar(soltarpartida());
    delete listajugadores;
}

red::anfitrion* sesionred::anfitrionactual() const {
    return anfitrion_;
}

std::size_t sesionred::otrosjugadores() const {
    return anfitrion_ && lista_.size() > 1 ? lista_.size() - 1 : 0;
}

red::cliente* sesionred::clienteactual() const {
    return cliente_;
}

std::function<void()> sesionred::soltarpartida() const {
    // The host and the client live on the simulation's thread: they end
    // there, after whatever was sent to them before.
    return [a = anfitrion_, c = cliente_] {
        if (a) {
            a->detener(QStringLiteral("El anfitrión cerró la partida."));
            delete a.data();
        }
        if (c) {
            c->salir();
            delete c.data();
        }
    };
}

void sesionred::enred(std::function<void(red::anfitrion&)> f) {
    QPointer<red::anfitrion> a = anfitrion_;
    if (a)
        mesa_.simulacionactual().invocar([a, f = std::move(f)] {
            if (a)
                f(*a);
        });
}

void sesionred::enred(std::function<void(red::cliente&)> f) {
    QPointer<red::cliente> c = cliente_;
    if (c)
        mesa_.simulacionactual().invocar([c, f = std::move(f)] {
            if (c)
                f(*c);
        });
}

QString sesionred::escuchar(const QHostAddress& direccion, quint16 puerto) {
    simulacion& sim = mesa_.simulacionactual();
    QString e;
    mesa_.esperar([&](partida& p) {
        auto* a = new red::anfitrion(p, &sim);
        e = a->escuchar(direccion, puerto);
        if (!e.isEmpty()) {
            delete a;
            return;
        }
        anfitrion_ = a;
        puerto_ = a->puerto();
        // Each step of the host's clock is a frame for the window.
        connect(a, &red::anfitrion::sucedido, &sim, [&sim](const sucesos& s) { sim.publicar(s); });
        connect(a, &red::anfitrion::cambiojugadores, &sim,
                [&sim, a] { emit sim.jugadores(a->lista()); });
    });
    return e;
}

QString sesionred::crear(int16_t tipo, int16_t equipo, quint16, const QString& nombre) {
    red::anfitrion* a = anfitrion_;
    std::vector<red::jugadorred> lista;
    const int16_t slot = mesa_.esperar([&](partida& p) {
        p.hacerred();
        const int16_t k = a->entrarlocal(nombre, tipo, equipo);
        a->registrar = [](const QString& l) { qInfo("%s", qPrintable(l)); };
        lista = a->lista();
        return k;
    });
    if (slot < 0)
        return QStringLiteral("El equipo %1 no tiene ningún luchador.")
            .arg(QString::fromLatin1(nombreequipo(equipo)));
    // Friends join with this machine's address and the port: both are said
    // at the start, and stay at the head of the players' list.
    QStringList direcciones;
    for (const QHostAddress& d : QNetworkInterface::allAddresses())
        if (d.protocol() == QAbstractSocket::IPv4Protocol && !d.isLoopback())
            direcciones << d.toString();
    direcciones_ = direcciones.join(QStringLiteral(", "));
    connect(&mesa_.simulacionactual(), &simulacion::jugadores, this, &sesionred::actualizarlista);
    actualizarlista(lista);
    mesa_.enviar([](partida& p) { return p.ver(p.jugador()); });
    mesa_.decir(QStringLiteral("Partida abierta en el ") + dondeanfitrion());
    enred([](red::anfitrion& h) { h.arrancar(); });
    return {};
}

void sesionred::unirse(const QString& host, quint16 puerto, const QString& nombre, int16_t tipo,
                       int16_t equipo) {
    simulacion& sim = mesa_.simulacionactual();
    mesa_.esperar([&](partida& p) {
        auto* c = new red::cliente(p, &sim);
        cliente_ = c;
        connect(c, &red::cliente::sucedido, &sim, [&sim](const sucesos& s) { sim.publicar(s); });
        connect(c, &red::cliente::cambiojugadores, &sim,
                [&sim, c] { emit sim.jugadores(c->lista()); });
    });
    connect(&sim, &simulacion::jugadores, this, &sesionred::actualizarlista);
    connect(cliente_, &red::cliente::unido, this, [this] {
        if (!enelcampo())
            return;
        dentro_ = true;
        mostrarlista();
        emit unido();
    });
    // With the session as context, so that its end cuts the client's
    // last words off with it.
    connect(cliente_, &red::cliente::aviso, this, [this](const QString& t) {
        if (enelcampo())
            mesa_.decir(t);
    });
    connect(cliente_, &red::cliente::perdido, this, [this] { puedevolver_ = true; });
    connect(cliente_, &red::cliente::grabada, this,
            [this](const std::shared_ptr<const repeticion>& r) { mesa_.archivar(*r); });
    connect(cliente_, &red::cliente::terminado, this,
            [this](const QString& motivo) { emit fallido(motivo); });
    enred([=](red::cliente& c) { c.conectar(host, puerto, nombre, tipo, equipo); });
}

void sesionred::volver() {
    if (!std::exchange(puedevolver_, false))
        return;
    dentro_ = false;
    sostenidas_.clear();
    mesa_.decir(QStringLiteral("Volviendo a la partida…"));
    enred([](red::cliente& c) { c.volver(); });
}

void sesionred::teclaflecha(int16_t codigo, bool abajo) {
    if (codigo < comun::vkizquierda || codigo > comun::vkabajo)
        return;
    // Only changes travel: a key already down is not sent again.
    if (abajo == (sostenidas_.count(codigo) > 0))
        return;
    if (abajo)
        sostenidas_.insert(codigo);
    else
        sostenidas_.erase(codigo);
    if (anfitrion_)
        enred([codigo, abajo](red::anfitrion& a) { a.teclalocal(codigo, abajo); });
    else if (cliente_)
        enred([codigo, abajo](red::cliente& c) { c.teclaflecha(codigo, abajo); });
}

void sesionred::soltartodas() {
    const std::set<int16_t> antes = sostenidas_;
    for (int16_t c : antes)
        teclaflecha(c, false);
}

simulacion::modo sesionred::modosimulacion() const {
    return simulacion::modo::red;
}

void sesionred::dejar() {
    capas& c = mesa_.encima();
    c.nombres = {};
    c.pausadopor.clear();
    disconnect();
    // Gone from the field at once, even while a message box waits.
    if (listajugadores)
        listajugadores->hide();
    mesa_.borrardichos();
}

bool sesionred::ofrecerevancha() const {
    return anfitrion_ != nullptr;
}

void sesionred::revanchar(const revancha& r) {
    red::anfitrion* a = anfitrion_;
    if (!a)
        return;
    // In one go on the match's thread: no step of the host runs between
    // the new match and the players getting it.
    mesa_.reempezar(r, [a](partida& p) {
        p.hacerred();
        a->nuevapartida(QStringLiteral("Revancha: empieza otra partida."));
    });
}

QString sesionred::otrapartida() const {
    return QStringLiteral("Otra partida en red: Archivo → Multijugador");
}

bool sesionred::tecla(int, int16_t codigo, bool) {
    if (codigo == comun::vks) {
        cambiarsonido();
    } else if (codigo == comun::vkespacio) {
        if (anfitrion_)
            enred([](red::anfitrion& a) { a.accionlocal({tipoaccion::espacio, 0, 0, 0}); });
        else if (cliente_)
            enred([](red::cliente& c) { c.espacio(); });
    } else if (codigo == comun::vkp && anfitrion_) {
        // Only the host pauses the match.
        enred([](red::anfitrion& a) { a.accionlocal({tipoaccion::pausa, 0, 0, 0}); });
    } else if (codigo == comun::vkp && cliente_) {
        mesa_.decir(QStringLiteral("Solo el anfitrión puede pausar la partida"));
    }
    return teclajuego(codigo);
}

void sesionred::clic(int px, int py, posicion) {
    if (cliente_) {
        enred([px, py](red::cliente& c) { c.clic(px, py); });
        return;
    }
    if (!anfitrion_)
        return;
    const cuadro& m = mesa_.juego();
    const posicion c = mundo::celdadepixel(m.vista, px, py);
    if (c.x >= 0 && c.y >= 0 && c.x <= m.anchomapa && c.y <= m.altomapa)
        enred([c](red::anfitrion& a) { a.accionlocal({tipoaccion::click, 0, c.x, c.y}); });
}

QString sesionred::nombrede(int16_t slot) const {
    for (const red::jugadorred& j : lista_)
        if (j.slot == slot)
            return QString::fromStdString(j.nombre);
    return {};
}

void sesionred::recibir(const sucesos& s) {
    bool bajas = false;
    for (const suceso& e : s) {
        if (e.tipo == tiposuceso::baja) {
            bajas = true;
            // Kills among the computer's fighters are in the field's kill
            // feed already; here the ones a player took part in, by name.
            const QString a = nombrede(e.a);
            const QString b = nombrede(e.b);
            if (a.isEmpty() && b.isEmpty())
                continue;
            // The computer's fighters by the names the kill feed gives them.
            const cuadro& m = mesa_.juego();
            auto luchador = [&m](int16_t slot) {
                return slot >= 0 && slot < numunidades
                           ? capas::nombre(m.unidades[std::size_t(slot)])
                           : QStringLiteral("?");
            };
            mesa_.decir((a.isEmpty() ? luchador(e.a) : a) + QStringLiteral(" mató a ") +
                        (b.isEmpty() ? luchador(e.b) : b));
        }
    }
    mesa_.procesar(s);
    if (bajas)
        mostrarlista();
}

bool sesionred::enelcampo() const {
    return mesa_.red() == this;
}

void sesionred::actualizarlista(const std::vector<red::jugadorred>& l) {
    if (!enelcampo())
        return;
    // The first list holds who was there already: nobody joins by it. A
    // player who joined is told the name they play under (another player
    // may have taken theirs).
    if (!std::exchange(listavista_, true)) {
        for (const red::jugadorred& j : l)
            if (cliente_ && j.slot == mesa_.juego().jugador)
                mesa_.decir(
                    QStringLiteral("Juegas como %1").arg(QString::fromStdString(j.nombre)));
        lista_ = l;
        mostrarlista();
        return;
    }
    for (const red::jugadorred& j : l)
        if (std::find(lista_.begin(), lista_.end(), j) == lista_.end())
            mesa_.decir(QStringLiteral("%1 se unió").arg(QString::fromStdString(j.nombre)));
    for (const red::jugadorred& j : lista_)
        if (std::find(l.begin(), l.end(), j) == l.end())
            mesa_.decir(QStringLiteral("%1 se fue").arg(QString::fromStdString(j.nombre)));
    lista_ = l;
    mostrarlista();
}

QString sesionred::dondeanfitrion() const {
    const QString puerto = QStringLiteral("puerto %1").arg(puerto_);
    return direcciones_.isEmpty() ? puerto : puerto + QStringLiteral(" de ") + direcciones_;
}

void sesionred::mostrarlista() {
    const cuadro& m = mesa_.juego();
    std::array<QString, numunidades> nombres{};
    QString anfitrion;
    for (const red::jugadorred& j : lista_) {
        if (j.slot >= 0 && j.slot < numunidades)
            nombres[std::size_t(j.slot)] = QString::fromStdString(j.nombre);
        if (j.anfitrion)
            anfitrion = QString::fromStdString(j.nombre);
    }
    mesa_.encima().nombres = nombres;
    mesa_.encima().pausadopor = anfitrion;
    QStringList lineas{anfitrion_ ? QStringLiteral("Jugadores · ") + dondeanfitrion()
                                  : QStringLiteral("Jugadores")};
    for (const red::jugadorred& j : lista_) {
        if (j.slot >= 2 * m.maxp)
            continue;
        const unidad& u = m.unidades[std::size_t(j.slot)];
        // Kills are "muertes", as in the status line.
        lineas << QStringLiteral("%1 · %2 · %3 %4")
                      .arg(QString::fromStdString(j.nombre) +
                           (j.slot == m.jugador ? QStringLiteral(" (tú)") : QString()))
                      .arg(QStringLiteral("%1 %2").arg(
                          QString::fromLatin1(nombretipo(u.tipo)).toLower(),
                          QString::fromLatin1(nombreequipo(u.equipo))))
                      .arg(u.muertes)
                      .arg(u.muertes == 1 ? QStringLiteral("muerte") : QStringLiteral("muertes"));
    }
    listajugadores->setText(lineas.join(QLatin1Char('\n')));
    mesa_.colocarencima();
    listajugadores->show();
    listajugadores->raise();
}

// A window of its own that the game window keeps: closing it only hides it,
// so the address, port and name are still there next time.
multijugador::multijugador(mesa& juego) : QWidget(juego.ventana(), Qt::Window), juego_(juego) {
    setWindowTitle(QStringLiteral("Multijugador"));

    auto* todo = new QVBoxLayout(this);
    auto* tu = new QFormLayout;
    nombre = new QLineEdit(QStringLiteral("Jugador"), this);
    nombre->setObjectName(QStringLiteral("nombre"));
    nombre->setMaxLength(int(red::maxnombre));
    nombre->setValidator(new bytesdenombre(nombre));
    tip = new QComboBox(this);
    tip->setObjectName(QStringLiteral("tip"));
    tip->addItems({QStringLiteral("Guerrero"), QStringLiteral("Arquero")});
    equipo = new QComboBox(this);
    equipo->setObjectName(QStringLiteral("equipo"));
    equipo->addItems({QStringLiteral("Rojo"), QStringLiteral("Azul")});
    tu->addRow(QStringLiteral("Tu nombre"), nombre);
    tu->addRow(QStringLiteral("Escoge tu tipo"), tip);
    tu->addRow(QStringLiteral("Equipo"), equipo);
    todo->addLayout(tu);

    auto* crear = new QGroupBox(QStringLiteral("Crear partida"), this);
    auto* fc = new QFormLayout(crear);
    File1 = new QListWidget(crear);
    File1->setObjectName(QStringLiteral("File1"));
    // The same maps as a single-player match: the user's own first.
    unjugador::listarmapas(File1);
    vistaprevia = new QLabel(crear);
    vistaprevia->setObjectName(QStringLiteral("vistaprevia"));
    vistaprevia->setFixedSize(ladoprevia, ladoprevia);
    vistaprevia->setAlignment(Qt::AlignCenter);
    vistaprevia->setFrameShape(QFrame::StyledPanel);
    tamano = new QLabel(crear);
    tamano->setObjectName(QStringLiteral("tamano"));
    connect(File1, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* actual) {
        unjugador::mostrarmapa(actual ? actual->data(Qt::UserRole).toString() : QString(),
                               vistaprevia, tamano, ladoprevia);
    });
    if (File1->count() > 0)
        File1->setCurrentRow(0);
    guerreros = new QComboBox(crear);
    guerreros->setObjectName(QStringLiteral("guerreros"));
    for (int n = 1; n <= 8; ++n)
        guerreros->addItem(QString::number(n));
    guerreros->setCurrentIndex(3);
    puerto = new QSpinBox(crear);
    puerto->setObjectName(QStringLiteral("puerto"));
    puerto->setRange(1, 65535);
    puerto->setValue(red::puertopordefecto);
    empezar = new QPushButton(QStringLiteral("Empezar"), crear);
    empezar->setObjectName(QStringLiteral("empezar"));
    auto* mapa = new QHBoxLayout;
    mapa->addWidget(File1);
    auto* previa = new QVBoxLayout;
    previa->addWidget(vistaprevia);
    previa->addWidget(tamano, 0, Qt::AlignHCenter);
    previa->addStretch();
    mapa->addLayout(previa);
    fc->addRow(QStringLiteral("Mapa"), mapa);
    fc->addRow(QStringLiteral("Guerreros"), guerreros);
    // The host's goal holds for everyone: it travels in the match itself.
    objetivo = new selectorobjetivo(crear);
    objetivo->ponerguerreros(guerreros->currentIndex() + 1);
    connect(guerreros, &QComboBox::currentIndexChanged, objetivo,
            [this](int i) { objetivo->ponerguerreros(i + 1); });
    fc->addRow(QStringLiteral("Objetivo"), objetivo);
    regla = new selectorreglas(crear);
    regla->poner(juego.recordado().regla);
    regla->llevara(fc);
    fc->addRow(QStringLiteral("Puerto"), puerto);
    fc->addRow(empezar);
    todo->addWidget(crear);

    auto* unir = new QGroupBox(QStringLiteral("Unirse"), this);
    auto* fu = new QFormLayout(unir);
    direccion = new QLineEdit(QStringLiteral("127.0.0.1"), unir);
    direccion->setObjectName(QStringLiteral("direccion"));
    puertounirse = new QSpinBox(unir);
    puertounirse->setObjectName(QStringLiteral("puertounirse"));
    puertounirse->setRange(1, 65535);
    puertounirse->setValue(red::puertopordefecto);
    conectar = new QPushButton(QStringLiteral("Conectar"), unir);
    conectar->setObjectName(QStringLiteral("conectar"));
    fu->addRow(QStringLiteral("Dirección"), direccion);
    fu->addRow(QStringLiteral("Puerto"), puertounirse);
    fu->addRow(conectar);
    todo->addWidget(unir);

    salir = new QPushButton(QStringLiteral("Salir de la partida en red"), this);
    salir->setObjectName(QStringLiteral("salir"));
    todo->addWidget(salir);

    estado = new QLabel(this);
    estado->setObjectName(QStringLiteral("estado"));
    estado->setWordWrap(true);
    // It shows the host's own words when the match ends.
    estado->setTextFormat(Qt::PlainText);
    todo->addWidget(estado);

    connect(empezar, &QPushButton::clicked, this, &multijugador::empezar_Click);
    connect(conectar, &QPushButton::clicked, this, &multijugador::conectar_Click);
    connect(salir, &QPushButton::clicked, this, &multijugador::salir_Click);
}

void multijugador::showEvent(QShowEvent* e) {
    salir->setEnabled(juego_.red() != nullptr);
    QWidget::showEvent(e);
}

void multijugador::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(e);
        return;
    }
    QWidget* foco = focusWidget();
    auto en = [foco](const QWidget* w) { return foco && (foco == w || w->isAncestorOf(foco)); };
    if ((en(direccion) || en(puertounirse)) && conectar->isEnabled())
        conectar_Click();
    else if (en(File1) || en(guerreros) || en(objetivo) || en(puerto))
        empezar_Click();
}

void multijugador::salir_Click() {
    const sesionred* s = juego_.red();
    if (!s || !juego_.dejarjugada(QStringLiteral("Salir de la partida en red")))
        return;
    // Leaving before the host answered cancels the connection.
    const bool dentro = s->clienteactual() && s->dentro();
    juego_.terminarjugada(s->anfitrionactual() ? QStringLiteral("Cerraste la partida en red.")
                          : dentro             ? QStringLiteral("Saliste de la partida en red.")
                                               : QStringLiteral("Conexión cancelada."));
    salir->setEnabled(false);
    conectar->setEnabled(true);
    estado->clear();
}

bool multijugador::datos(QString& nombrejugador, int16_t& tipo, int16_t& eq) {
    nombrejugador = nombre->text().trimmed();
    if (!red::nombrevalido(nombrejugador.toStdString())) {
        juego_.alertar(QStringLiteral("Multijugador"),
                       QStringLiteral("Escribe un nombre de 1 a %1 letras.").arg(red::maxnombre));
        return false;
    }
    tipo = tip->currentIndex() == 0 ? guerrero : arquero;
    eq = int16_t(equipo->currentIndex());
    return true;
}

void multijugador::empezar_Click() {
    QString n;
    int16_t tipo = 0, eq = 0;
    if (!datos(n, tipo, eq))
        return;
    QListWidgetItem* elegido = File1->currentItem();
    if (!elegido) {
        juego_.alertar(QStringLiteral("Multijugador"), QStringLiteral("Elige un mapa."));
        return;
    }
    const QString ruta = elegido->data(Qt::UserRole).toString();
    auto* s = new sesionred(juego_);
    // The port first: a port in use leaves the running match alone.
    if (const QString e = s->escuchar(escucharen, quint16(puerto->value())); !e.isEmpty()) {
        delete s;
        juego_.alertar(QStringLiteral("Multijugador"), e);
        return;
    }
    const reglas r = regla->elegidas();
    if (!juego_.cargarmapa(ruta, int16_t(guerreros->currentIndex() + 1), guerrero,
                           objetivo->elegido(), r)) {
        delete s;
        return;
    }
    juego_.recordarreglas(r);
    juego_.empezarjugada(s);
    if (const QString e = s->crear(tipo, eq, quint16(puerto->value()), n); !e.isEmpty()) {
        juego_.terminarjugada(e);
        juego_.alertar(QStringLiteral("Multijugador"), e);
        return;
    }
    close();
}

void multijugador::conectar_Click() {
    QString n;
    int16_t tipo = 0, eq = 0;
    if (!datos(n, tipo, eq) || !juego_.dejarjugada(QStringLiteral("Multijugador")))
        return;
    auto* s = new sesionred(juego_);
    juego_.empezarjugada(s);
    estado->setText(QStringLiteral("Conectando con %1…").arg(direccion->text()));
    conectar->setEnabled(false);
    // A host that does not answer need not be waited for.
    salir->setEnabled(true);
    QPointer<multijugador> yo(this);
    connect(s, &sesionred::unido, this, [yo] {
        if (!yo)
            return;
        yo->estado->clear();
        yo->conectar->setEnabled(true);
        yo->close();
    });
    mesa& v = juego_;
    // The question below waits while the network goes on: the session may
    // have been let go meanwhile, and is then left alone.
    QPointer<sesionred> sesion(s);
    auto enjuego = [&v, sesion] { return sesion && v.red() == sesion.data(); };
    connect(s, &sesionred::fallido, v.ventana(), [&v, yo, sesion, enjuego](const QString& motivo) {
        // A broken line is not the end: the host keeps the fighter a
        // minute, and Yes goes back to it.
        if (sesion && sesion->puedevolver() &&
            v.preguntar(QStringLiteral("Multijugador"),
                        motivo + QStringLiteral(" El servidor guarda tu luchador durante un "
                                                "minuto. ¿Quieres volver a la partida?"))) {
            if (enjuego())
                sesion->volver();
            return;
        }
        if (yo) {
            yo->estado->setText(motivo);
            yo->conectar->setEnabled(true);
            yo->salir->setEnabled(false);
        }
        if (enjuego())
            v.terminarjugada(motivo);
        v.alertar(QStringLiteral("Multijugador"), motivo);
    });
    s->unirse(direccion->text().trimmed(), quint16(puertounirse->value()), n, tipo, eq);
}

} // namespace juego
