#include "apoyo/mundoprueba.h"
#include "apoyo/referencia.h"
#include "Juego/nucleo/abiertos.h"
#include "Juego/nucleo/espacio.h"
#include "Juego/nucleo/memoria.h"
#include "Juego/nucleo/mundo.h"
#include "Juego/nucleo/rejilla.h"

#include <QTest>

#include <memory>
#include <random>
#include <type_traits>

using namespace juego;

namespace {

prueba::plataformaprueba plat;

void ponerterreno(mundo& m, int x, int y, int16_t t) {
    m.ponerterreno(x, y, t);
    m.ponerocupante(x, y, -1);
}

int16_t ponerunidad(mundo& m, int16_t k, int x, int y, int16_t equipo, bool muerto) {
    unidad& u = m.unidades[k];
    u = unidad{};
    u.x = int16_t(x);
    u.y = int16_t(y);
    u.equipo = equipo;
    u.muerto = muerto ? verdadero : falso;
    m.ponerocupante(x, y, k);
    return k;
}

// A map drawn as text: '.' grass, '#' wall, '~' water, 'T' tree; 'S' the
// searching fighter (team 0) on grass, 'A' and 'a' a living and a dead
// team-mate, 'E' and 'e' a living and a dead enemy. Returns the searcher.
int16_t dibujar(mundo& m, const QStringList& filas) {
    m.anchomapa = int16_t(filas[0].size() - 1);
    m.altomapa = int16_t(filas.size() - 1);
    int16_t libre = 1;
    int16_t buscador = -1;
    for (int y = 0; y < filas.size(); ++y) {
        for (int x = 0; x < filas[y].size(); ++x) {
            const char ch = filas[y][x].toLatin1();
            ponerterreno(m, x, y, ch == '#' ? 2 : ch == '~' ? 3 : ch == 'T' ? 4 : 0);
            if (ch == 'S')
                buscador = ponerunidad(m, libre++, x, y, 0, false);
            else if (ch == 'A' || ch == 'a' || ch == 'E' || ch == 'e')
                ponerunidad(m, libre++, x, y, (ch == 'E' || ch == 'e') ? 1 : 0,
                            ch == 'a' || ch == 'e');
        }
    }
    return buscador;
}

QString camino(const unidad& u) {
    return QString::fromStdString(u.camino);
}

QString pasos(const unidad& u) {
    QStringList l;
    for (const std::string& p : u.pasos)
        l << QString::fromStdString(p);
    return l.join(',');
}

// Whether cells the fighter may cross link the destination to some neighbour
// of the start, found here independently of the game's shortcuts.
bool conectados(const mundo& m, int16_t i) {
    const unidad& u = m.unidades[i];
    const int ancho = m.anchomapa + 1;
    const int alto = m.altomapa + 1;
    std::vector<char> visto(std::size_t(ancho) * alto, 0);
    std::vector<std::pair<int, int>> pila{{u.destx, u.desty}};
    visto[std::size_t(u.desty) * ancho + u.destx] = 1;
    while (!pila.empty()) {
        const auto [cx, cy] = pila.back();
        pila.pop_back();
        for (int y = cy - 1; y <= cy + 1; ++y) {
            for (int x = cx - 1; x <= cx + 1; ++x) {
                if (x < 0 || y < 0 || x >= ancho || y >= alto)
                    continue;
                char& v = visto[std::size_t(y) * ancho + x];
                if (!v && m.celdapasable(int16_t(x), int16_t(y), i)) {
                    v = 1;
                    pila.push_back({x, y});
                }
            }
        }
    }
    for (int y = u.y - 1; y <= u.y + 1; ++y)
        for (int x = u.x - 1; x <= u.x + 1; ++x)
            if (x >= 0 && y >= 0 && x < ancho && y < alto && visto[std::size_t(y) * ancho + x])
                return true;
    return false;
}

// --- random worlds for the differential test ---------------------------------

enum class tipomapa {
    campo,
    laberinto,
    habitaciones,
    companeros,
    inalcanzable,
    lleno,
    tope,
    salida,
    franja,
    banda
};

struct azaroso {
    std::mt19937 rng;
    int entre(int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); }
    bool moneda(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
    int16_t obstaculo() { return int16_t(entre(2, 4)); }
    int16_t suelo() { return std::array<int16_t, 3>{0, 1, 5}[entre(0, 2)]; }
};

using plano = std::vector<int16_t>;

plano campo(azaroso& a, int w, int h, double densidad) {
    plano t(std::size_t(w) * h);
    for (int16_t& c : t)
        c = a.moneda(densidad) ? a.obstaculo() : a.suelo();
    return t;
}

// Corridors one cell wide, with a share of the walls knocked out to make loops
// and diagonal squeezes.
plano laberinto(azaroso& a, int w, int h, double huecos) {
    plano t(std::size_t(w) * h, 2);
    auto at = [&](int x, int y) -> int16_t& { return t[std::size_t(y) * w + x]; };
    std::vector<std::pair<int, int>> pila{{1, 1}};
    at(1, 1) = 0;
    while (!pila.empty()) {
        const auto [x, y] = pila.back();
        std::vector<std::pair<int, int>> vecinos;
        for (auto [dx, dy] : {std::pair{2, 0}, {-2, 0}, {0, 2}, {0, -2}}) {
            const int nx = x + dx, ny = y + dy;
            if (nx > 0 && ny > 0 && nx < w - 1 && ny < h - 1 && at(nx, ny) == 2)
                vecinos.push_back({nx, ny});
        }
        if (vecinos.empty()) {
            pila.pop_back();
            continue;
        }
        const auto [nx, ny] = vecinos[std::size_t(a.entre(0, int(vecinos.size()) - 1))];
        at((x + nx) / 2, (y + ny) / 2) = 0;
        at(nx, ny) = 0;
        pila.push_back({nx, ny});
    }
    for (int16_t& c : t)
        if (c == 2 && a.moneda(huecos))
            c = a.suelo();
    return t;
}

// Rooms on a regular grid; most walls between two rooms have a door.
plano habitaciones(azaroso& a, int w, int h) {
    plano t(std::size_t(w) * h, 5);
    const int lado = a.entre(4, 9);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x % lado == 0 || y % lado == 0)
                t[std::size_t(y) * w + x] = 2;
            else if (a.moneda(0.03))
                t[std::size_t(y) * w + x] = 4;
    for (int y = 0; y + lado < h; y += lado)
        for (int x = 0; x + lado < w; x += lado) {
            if (a.moneda(0.85))
                t[std::size_t(y + a.entre(1, lado - 1)) * w + x + lado] = 5;
            if (a.moneda(0.85))
                t[std::size_t(y + lado) * w + x + a.entre(1, lado - 1)] = 5;
        }
    return t;
}

struct recuento {
    int busquedas = 0;
    int encontrados = 0;
    int agotados = 0; // searches that ran and found nothing
    int atajos = 0;   // of those, the ones the game may end at once
    int llenos = 0;   // searches that overflowed the list
    int topes = 0;
    int perdidas = 0; // the destination reached with the list full
    int maximo = 0;
};

} // namespace

class TestBusqueda : public QObject {
    Q_OBJECT

    std::unique_ptr<mundo> m = std::make_unique<mundo>(plat);
    referencia::buscador ref;

    // Runs the reference and then the game's search from the same state and
    // tells what differs, or an empty text.
    QString comparar(int16_t i, recuento& r) {
        unidad& u = m->unidades[i];
        const unidad antes = u;
        // What the fighter makes of the reference's answer is what it must
        // make of the game's.
        unidad esperado = u;
        if (const std::optional<respuesta> dada = ref.buscarcamino(*m, i))
            mundo::seguircamino(esperado, *dada);
        m->buscarcamino(i);

        const bool busco = antes.buscando != verdadero && m->celdapasable(u.destx, u.desty, i);
        // Where no path can exist, or none can come out of the search any
        // more because the list filled up (the destination, or every way to
        // it, was reached while it was full) or because the cells left over
        // cost 9999 or more, the game may end the search early; the current
        // node then stays on the start.
        const bool atajo =
            busco && (!conectados(*m, i) || ref.ultimo.perdida ||
                      ((ref.ultimo.lleno || ref.ultimo.tope) && !ref.ultimo.encontrado));
        ++r.busquedas;
        r.encontrados += ref.ultimo.encontrado;
        r.agotados += busco && !ref.ultimo.encontrado;
        r.atajos += atajo;
        r.topes += ref.ultimo.tope;
        r.perdidas += ref.ultimo.perdida;
        r.maximo = std::max(r.maximo, ref.ultimo.maximo);

        QString d;
        if (u.siguiendo != esperado.siguiendo || u.buscando != esperado.buscando)
            d += QString(" siguiendo/buscando %1/%2, esperado %3/%4")
                     .arg(u.siguiendo)
                     .arg(u.buscando)
                     .arg(esperado.siguiendo)
                     .arg(esperado.buscando);
        if (u.camino != esperado.camino)
            d += " camino [" + camino(u) + "], esperado [" + camino(esperado) + "]";
        if (u.pasos != esperado.pasos)
            d += " pasos [" + pasos(u) + "], esperado [" + pasos(esperado) + "]";
        const bool enelinicio = atajo && u.sigx == u.x && u.sigy == u.y;
        r.llenos += ref.ultimo.lleno;
        if (!enelinicio && (u.sigx != esperado.sigx || u.sigy != esperado.sigy))
            d += QString(" sig (%1,%2), esperado (%3,%4)")
                     .arg(u.sigx)
                     .arg(u.sigy)
                     .arg(esperado.sigx)
                     .arg(esperado.sigy);
        if (!d.isEmpty())
            d = QString("luchador %1 de (%2,%3) a (%4,%5):")
                    .arg(i)
                    .arg(u.x)
                    .arg(u.y)
                    .arg(u.destx)
                    .arg(u.desty) +
                d;
        return d;
    }

private slots:
    void caminos_data();
    void caminos();
    void sinbusqueda_data();
    void sinbusqueda();
    void sincamino_data();
    void sincamino();
    void mapanuevo();
    void repintado();
    void lecturaconst();
    void escrituras_data();
    void escrituras();
    void fracasorecordado();
    void memoriarespuestas_data();
    void memoriarespuestas();
    void equiposalternos();
    void diferencial_data();
    void diferencial();
    void ordenabiertos_data();
    void ordenabiertos();
    void sellos_data();
    void sellos();
    void tapadas_data();
    void tapadas();
};

void TestBusqueda::caminos_data() {
    QTest::addColumn<QStringList>("filas");
    QTest::addColumn<QPoint>("destino");
    QTest::addColumn<QString>("esperado");

    QStringList abierto(12, QString(15, '.'));
    abierto[5][5] = 'S';
    abierto[7][9] = 'E';
    QTest::newRow("ejemplo-campo-abierto") << abierto << QPoint(9, 7) << "6,6,7,7,8,7,9,7";

    QStringList muro(12, QString(15, '.'));
    muro[5][5] = 'S';
    muro[5][8] = 'E';
    muro[4][7] = muro[5][7] = muro[6][7] = '#';
    QTest::newRow("ejemplo-muro") << muro << QPoint(8, 5) << "6,4,7,3,8,4,8,5";

    QStringList vecino(12, QString(15, '.'));
    vecino[5][5] = 'S';
    vecino[5][6] = 'E';
    QTest::newRow("un-paso") << vecino << QPoint(6, 5) << "6,5";

    QTest::newRow("enemigos-en-el-camino") << QStringList{".........", "..S.E.e.E", "........."}
                                           << QPoint(8, 1) << "3,1,4,1,5,1,6,1,7,1,8,1";
    // The team-mate forces a detour; at F 54 four cells wait, and (4,1) goes
    // before (4,3) only because it was queued first.
    QTest::newRow("companero-vivo-estorba")
        << QStringList{".......", ".......", "..S.A.E", ".......", "......."} << QPoint(6, 2)
        << "3,2,4,1,5,2,6,2";
    QTest::newRow("companero-muerto-no-estorba")
        << QStringList{".......", "..S.a.E", "......."} << QPoint(6, 1) << "3,1,4,1,5,1,6,1";
    QTest::newRow("diagonal-entre-muros")
        << QStringList{"#####", "#S###", "##.##", "###E#", "#####"} << QPoint(3, 3) << "2,2,3,3";
    // Every pick empties the list; the destination is the last open cell and
    // its block is all closed or wall when it is taken.
    QTest::newRow("callejon-sin-salida")
        << QStringList{"##########", "#S~.....E#", "#.########", "##########"} << QPoint(8, 1)
        << "";
    QTest::newRow("callejon-hasta-el-fondo") << QStringList{"#########", "#S.....E#", "#########"}
                                             << QPoint(7, 1) << "2,1,3,1,4,1,5,1,6,1,7,1";
    QTest::newRow("agua-y-arboles")
        << QStringList{"S.~..", ".~T..", "...~E"} << QPoint(4, 2) << "0,1,1,2,2,2,3,1,4,2";
}

void TestBusqueda::caminos() {
    QFETCH(QStringList, filas);
    QFETCH(QPoint, destino);
    QFETCH(QString, esperado);

    const int16_t s = dibujar(*m, filas);
    unidad& u = m->unidades[s];
    u.destx = int16_t(destino.x());
    u.desty = int16_t(destino.y());
    u.camino = "viejo";
    u.pasos = {"viejo"};
    const unidad antes = u;

    const bool hay = !esperado.isEmpty();
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        // The second round checks the reference on the same cases, since the
        // differential test trusts it.
        u = antes;
        if (vuelta == 0)
            m->buscarcamino(s);
        else if (const std::optional<respuesta> r = ref.buscarcamino(*m, s))
            mundo::seguircamino(u, *r);
        QCOMPARE(u.siguiendo, hay ? verdadero : falso);
        QCOMPARE(u.buscando, falso);
        QCOMPARE(camino(u), hay ? esperado : QString("viejo"));
        QCOMPARE(pasos(u), hay ? esperado : QString("viejo"));
        if (hay) {
            QCOMPARE(u.sigx, u.x);
            QCOMPARE(u.sigy, u.y);
        }
    }
}

void TestBusqueda::sinbusqueda_data() {
    QTest::addColumn<QPoint>("destino");
    QTest::addColumn<bool>("buscando");
    QTest::addColumn<QPoint>("inicio");

    const QPoint s(0, 1);
    QTest::newRow("destino-en-muro") << QPoint(4, 0) << false << s;
    QTest::newRow("destino-en-agua") << QPoint(4, 1) << false << s;
    QTest::newRow("destino-en-arbol") << QPoint(4, 2) << false << s;
    QTest::newRow("destino-en-companero") << QPoint(4, 3) << false << s;
    QTest::newRow("destino-fuera-del-mapa") << QPoint(5, 2) << false << s;
    QTest::newRow("destino-negativo") << QPoint(-1, 2) << false << s;
    QTest::newRow("ya-buscando") << QPoint(3, 2) << true << s;
    QTest::newRow("luchador-fuera-del-mapa") << QPoint(3, 2) << false << QPoint(5, 1);
}

// A refused search changes nothing at all, not even the current node.
void TestBusqueda::sinbusqueda() {
    QFETCH(QPoint, destino);
    QFETCH(bool, buscando);
    QFETCH(QPoint, inicio);

    const int16_t s = dibujar(*m, {"....#", "S...~", "....T", "....A"});
    unidad& u = m->unidades[s];
    u.x = int16_t(inicio.x());
    u.y = int16_t(inicio.y());
    u.destx = int16_t(destino.x());
    u.desty = int16_t(destino.y());
    u.buscando = buscando ? verdadero : falso;
    u.camino = "1,2";
    u.pasos = {"1", "2"};
    u.sigx = 7;
    u.sigy = 8;
    const unidad antes = u;
    m->buscarcamino(s);
    QCOMPARE(u.buscando, antes.buscando);
    QCOMPARE(u.siguiendo, falso);
    QCOMPARE(u.camino, antes.camino);
    QCOMPARE(u.pasos, antes.pasos);
    QCOMPARE(u.sigx, int16_t(7));
    QCOMPARE(u.sigy, int16_t(8));
}

void TestBusqueda::sincamino_data() {
    QTest::addColumn<QStringList>("filas");
    QTest::addColumn<QPoint>("destino");

    QTest::newRow("destino-encerrado")
        << QStringList{"S......", "....###", "....#E#", "....###"} << QPoint(5, 2);
    QTest::newRow("encerrado-por-companeros")
        << QStringList{"S......", "....AAA", "....AEA", "....AA#"} << QPoint(5, 2);
    QTest::newRow("mapa-partido") << QStringList{"S..~...", "...~...", "...~..E", "...~..."}
                                  << QPoint(6, 2);
    QTest::newRow("sin-salida-alrededor")
        << QStringList{"##.....", "S#.....", "##....E"} << QPoint(6, 2);

    // Two corridors joined only at the far end: the way round costs more than
    // the search may spend, so every waiting cell ends up with F of 9999 or
    // more. Such a search has to end with no path rather than spin.
    QString pared(1000, '#');
    QString pasillo(1000, '.');
    QString abajo = pared;
    abajo[999] = '.';
    QString ida = pasillo, vuelta = pasillo;
    ida[0] = 'S';
    vuelta[0] = 'E';
    QTest::newRow("vuelta-demasiado-larga")
        << QStringList{pared, ida, abajo, vuelta, pared} << QPoint(0, 3);
}

void TestBusqueda::sincamino() {
    QFETCH(QStringList, filas);
    QFETCH(QPoint, destino);

    const int16_t s = dibujar(*m, filas);
    unidad& u = m->unidades[s];
    u.destx = int16_t(destino.x());
    u.desty = int16_t(destino.y());
    u.siguiendo = verdadero;
    u.camino = "1,2";
    u.pasos = {"1", "2"};
    m->buscarcamino(s);
    QCOMPARE(u.siguiendo, falso);
    QCOMPARE(u.buscando, falso);
    QCOMPARE(u.camino, std::string("1,2"));
    QCOMPARE(u.pasos, (std::deque<std::string>{"1", "2"}));
}

// Loading a map must make the search forget the zones of the map before, even
// when both have the same size.
void TestBusqueda::mapanuevo() {
    m->Form_Load();
    comun::plano p = comun::plano::vacio(49, 49);
    p.inicio = {comun::posicion{10, 10}, comun::posicion{40, 40}};
    // The player's fighter spawns at (9, 9); walls close it in.
    for (int y = 8; y <= 10; ++y)
        for (int x = 8; x <= 10; ++x)
            if (x != 9 || y != 9)
                p.ponerterreno(x, y, 2);
    const int16_t cazador = 1;
    for (bool cerrado : {true, false, true}) {
        if (!cerrado)
            for (int y = 8; y <= 10; ++y)
                p.ponerterreno(8, y, 0);
        m->cargarmapa(p, 1, arquero);
        unidad& u = m->unidades[cazador];
        QCOMPARE(u.equipo, int16_t(1));
        u.destx = m->unidades[0].x;
        u.desty = m->unidades[0].y;
        m->buscarcamino(cazador);
        QCOMPARE(u.siguiendo, cerrado ? falso : verdadero);
        if (!cerrado) {
            QVERIFY(u.camino.ends_with(",9,9"));
            for (int y = 8; y <= 10; ++y)
                p.ponerterreno(8, y, 2);
        }
    }
}

// A cell repainted in the middle of a match reaches the search: a river
// that split the map gets a ford, and the failure remembered from before
// does not stand in the way.
void TestBusqueda::repintado() {
    const int16_t s = dibujar(*m, {"S..~...", "...~...", "...~..E"});
    unidad& u = m->unidades[s];
    u.destx = 6;
    u.desty = 2;
    m->buscarcamino(s);
    QCOMPARE(u.siguiendo, falso);
    m->ponerterreno(3, 1, comun::madera); // the ford
    m->buscarcamino(s);
    QCOMPARE(u.siguiendo, verdadero);
    QCOMPARE(QString::fromStdString(u.camino), QString("1,1,2,1,3,1,4,2,5,2,6,2"));
}

// No writable reference to a cell is handed out: a write that skips the
// setters, and so the terrain version, does not compile.
static_assert(std::is_same_v<decltype(std::declval<mundo&>().mapa(0, 0)), const celda&>);
static_assert(std::is_same_v<decltype(std::declval<rejilla&>().mapa(0, 0)), const celda&>);

// Reading every cell of the grid, on the map and off it, keeps nothing aside
// and leaves the terrain as it was.
void TestBusqueda::lecturaconst() {
    m->limpiarmapa(49, 39);
    const uint64_t version = m->celdas().versionterreno();
    long suma = 0;
    for (int y = -1; y <= ladomapa; ++y)
        for (int x = -1; x <= ladomapa; ++x)
            suma += m->mapa(x, y).terreno + m->mapa(x, y).ocupante;
    QCOMPARE(suma, -long(ladomapa) * ladomapa - 4 * (ladomapa + 1));
    QCOMPARE(m->celdas().apartadas(), std::size_t(0));
    QCOMPARE(m->celdas().versionterreno(), version);
}

enum class escritura { igual, otra, fuera, ocupante, flecha, devuelta, sinrejilla, limpiar };

void TestBusqueda::escrituras_data() {
    QTest::addColumn<int>("cual");
    QTest::addColumn<bool>("cambia");   // the terrain version moves on
    QTest::addColumn<int>("apartadas"); // cells kept aside afterwards

    QTest::newRow("terreno-igual") << int(escritura::igual) << false << 0;
    QTest::newRow("terreno-distinto") << int(escritura::otra) << true << 0;
    QTest::newRow("terreno-fuera-del-mapa") << int(escritura::fuera) << true << 1;
    QTest::newRow("ocupante-fuera-del-mapa") << int(escritura::ocupante) << false << 1;
    QTest::newRow("flecha-fuera-del-mapa") << int(escritura::flecha) << false << 1;
    QTest::newRow("fuera-y-vuelta-a-limpia") << int(escritura::devuelta) << false << 0;
    QTest::newRow("fuera-de-la-rejilla") << int(escritura::sinrejilla) << false << 0;
    QTest::newRow("mapa-limpiado") << int(escritura::limpiar) << true << 0;
}

void TestBusqueda::escrituras() {
    QFETCH(int, cual);
    QFETCH(bool, cambia);
    QFETCH(int, apartadas);

    m->limpiarmapa(9, 9);
    m->ponerterreno(3, 3, comun::pared);
    const uint64_t antes = m->celdas().versionterreno();
    switch (escritura(cual)) {
    case escritura::igual:
        m->ponerterreno(3, 3, comun::pared);
        break;
    case escritura::otra:
        m->ponerterreno(3, 3, comun::agua);
        QCOMPARE(m->mapa(3, 3).transitable, falso);
        break;
    case escritura::fuera:
        m->ponerterreno(500, 20, comun::arbol);
        QCOMPARE(m->mapa(500, 20).terreno, int16_t(comun::arbol));
        break;
    case escritura::ocupante:
        m->ponerocupante(20, 500, 3);
        QCOMPARE(m->mapa(20, 500).ocupante, int16_t(3));
        break;
    case escritura::flecha:
        m->marcarflecha(4, 999, 999);
        QCOMPARE(m->mapa(999, 999).proyectil, int16_t(4));
        break;
    case escritura::devuelta:
        m->ponerocupante(20, 500, 3);
        m->ponerocupante(20, 500, -1);
        m->marcarflecha(4, 999, 999);
        m->desmarcarflecha(999, 999);
        break;
    case escritura::sinrejilla:
        m->ponerterreno(-1, 5, comun::pared);
        m->ponerocupante(5, ladomapa, 2);
        QCOMPARE(m->mapa(-1, 5).terreno, int16_t(comun::pasto));
        break;
    case escritura::limpiar:
        m->limpiarmapa(9, 9);
        QCOMPARE(m->mapa(3, 3).terreno, int16_t(comun::pasto));
        break;
    }
    QCOMPARE(m->celdas().versionterreno() != antes, cambia);
    QCOMPARE(int(m->celdas().apartadas()), apartadas);
}

// A hunter outside a big walled room whose door its own team-mates hold:
// too big a room for the flood around the target, so the search runs in
// full and fails. Asked again, the answer is the same without a search,
// until a team-mate steps out of the door.
void TestBusqueda::fracasorecordado() {
    QStringList filas;
    for (int y = 0; y < 26; ++y) {
        QString f(30, '.');
        if (y >= 2 && y <= 23)
            for (int x = 6; x <= 27; ++x)
                if (y == 2 || y == 23 || x == 6 || x == 27)
                    f[x] = '#';
        filas << f;
    }
    filas[0][0] = 'S';
    filas[12][6] = 'A'; // the door, held
    filas[12][16] = 'E';
    const int16_t s = dibujar(*m, filas);
    unidad& u = m->unidades[s];
    u.destx = 16;
    u.desty = 12;
    recuento r;
    QString d = comparar(s, r);
    QVERIFY2(d.isEmpty(), qPrintable(d));
    QCOMPARE(u.siguiendo, falso);
    QVERIFY2(u.sigx != u.x || u.sigy != u.y, "the search ran in full");
    const int16_t sigx = u.sigx, sigy = u.sigy;
    u.sigx = u.x;
    m->buscarcamino(s);
    QCOMPARE(u.sigx, sigx);
    QCOMPARE(u.sigy, sigy);
    d = comparar(s, r);
    QVERIFY2(d.isEmpty(), qPrintable(d));

    // The team-mate steps out of the door: the way is open.
    const int16_t puerta = m->mapa(6, 12).ocupante;
    m->ponerocupante(6, 12, -1);
    m->unidades[puerta].x = 3;
    m->unidades[puerta].y = 20;
    m->ponerocupante(3, 20, puerta);
    d = comparar(s, r);
    QVERIFY2(d.isEmpty(), qPrintable(d));
    QCOMPARE(u.siguiendo, verdadero);
    QVERIFY(u.camino.ends_with(",16,12"));
}

// A remembered answer is given only to the very same question on the very
// same terrain, whoever asks it.
enum class cambio { nada, version, inicio, destino, bloqueo, otrobloqueo, mapa, olvido, lleno };

void TestBusqueda::memoriarespuestas_data() {
    QTest::addColumn<int>("cual");
    QTest::addColumn<bool>("dada");

    QTest::newRow("misma-pregunta") << int(cambio::nada) << true;
    QTest::newRow("otro-terreno") << int(cambio::version) << false;
    QTest::newRow("otro-inicio") << int(cambio::inicio) << false;
    QTest::newRow("otro-destino") << int(cambio::destino) << false;
    QTest::newRow("un-bloqueo-mas") << int(cambio::bloqueo) << false;
    QTest::newRow("bloqueo-en-otra-celda") << int(cambio::otrobloqueo) << false;
    QTest::newRow("mapa-de-otro-tamano") << int(cambio::mapa) << false;
    QTest::newRow("olvidada") << int(cambio::olvido) << false;
    QTest::newRow("desplazada-por-otras") << int(cambio::lleno) << false;
}

void TestBusqueda::memoriarespuestas() {
    QFETCH(int, cual);
    QFETCH(bool, dada);

    memoria mem;
    pregunta p;
    p.anchomapa = 40;
    p.altomapa = 30;
    p.x = 3;
    p.y = 4;
    p.destx = 20;
    p.desty = 25;
    p.nbloqueos = 1;
    p.bloqueos[0] = 5 * ladomapa + 5;
    respuesta r;
    r.sigx = 17;
    r.sigy = 9;
    mem.guardar(7, p, r);
    uint64_t version = 7;
    switch (cambio(cual)) {
    case cambio::nada:
        break;
    case cambio::version:
        version = 8;
        break;
    case cambio::inicio:
        p.x = 4;
        break;
    case cambio::destino:
        p.desty = 24;
        break;
    case cambio::bloqueo:
        p.bloqueos[std::size_t(p.nbloqueos++)] = 6 * ladomapa + 5;
        break;
    case cambio::otrobloqueo:
        p.bloqueos[0] = 5 * ladomapa + 6;
        break;
    case cambio::mapa:
        p.anchomapa = 41;
        break;
    case cambio::olvido:
        mem.olvidar();
        break;
    case cambio::lleno:
        // Every fighter of a full match fails with questions of its own
        // before this one is asked again.
        for (int16_t k = 0; k < numunidades + 1; ++k) {
            pregunta otra = p;
            otra.x = int16_t(10 + k);
            mem.guardar(7, otra, r);
        }
        break;
    }
    const respuesta* hallada = mem.buscar(version, p);
    QCOMPARE(hallada != nullptr, dada);
    if (hallada != nullptr) {
        QCOMPARE(hallada->sigx, int16_t(17));
        QCOMPARE(hallada->sigy, int16_t(9));
        QCOMPARE(hallada->encontrado, false);
    }
}

// Fighters of both teams take turns searching over a gap in a wall that a
// fighter of the first team holds. While a search runs, the searcher's
// team-mates block their cells, and the searches share their workspace:
// the gap must be open again for the other team, and for the first team
// once its fighter there is dead.
void TestBusqueda::equiposalternos() {
    const int16_t s = dibujar(*m, {"S....#....", ".....A....", ".....#...E"});
    const int16_t guardia = m->mapa(5, 1).ocupante;
    const int16_t enemigo = m->mapa(9, 2).ocupante;
    unidad& u = m->unidades[s];
    unidad& e = m->unidades[enemigo];
    u.destx = 9;
    u.desty = 2;
    e.destx = 0;
    e.desty = 0;
    recuento r;
    for (int vuelta = 0; vuelta < 3; ++vuelta) {
        QString d = comparar(s, r);
        QVERIFY2(d.isEmpty(), qPrintable(d));
        QCOMPARE(u.siguiendo, falso);
        d = comparar(enemigo, r);
        QVERIFY2(d.isEmpty(), qPrintable(d));
        QCOMPARE(e.siguiendo, verdadero);
        QVERIFY(e.camino.find("5,1") != std::string::npos);
    }
    m->unidades[guardia].muerto = verdadero;
    const QString d = comparar(s, r);
    QVERIFY2(d.isEmpty(), qPrintable(d));
    QCOMPARE(u.siguiendo, verdadero);
    QVERIFY(u.camino.find("5,1") != std::string::npos);
}

void TestBusqueda::diferencial_data() {
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("mundos");
    QTest::addColumn<int>("semilla");

    QTest::newRow("campo-abierto") << int(tipomapa::campo) << 400 << 11;
    QTest::newRow("laberinto") << int(tipomapa::laberinto) << 300 << 12;
    QTest::newRow("habitaciones-con-puertas") << int(tipomapa::habitaciones) << 300 << 13;
    QTest::newRow("companeros-como-obstaculos") << int(tipomapa::companeros) << 300 << 14;
    QTest::newRow("destino-inalcanzable") << int(tipomapa::inalcanzable) << 300 << 15;
    QTest::newRow("lista-abierta-llena") << int(tipomapa::lleno) << 12 << 16;
    QTest::newRow("costo-al-tope") << int(tipomapa::tope) << 8 << 17;
    QTest::newRow("bloques-de-salida") << int(tipomapa::salida) << 3 << 18;
    QTest::newRow("franja-de-mil") << int(tipomapa::franja) << 30 << 19;
    QTest::newRow("banda-de-pasillos") << int(tipomapa::banda) << 12 << 20;
}

void TestBusqueda::diferencial() {
    QFETCH(int, tipo);
    QFETCH(int, mundos);
    QFETCH(int, semilla);
    const auto t = tipomapa(tipo);
    azaroso a{std::mt19937(uint32_t(semilla))};
    recuento r;

    for (int n = 0; n < mundos; ++n) {
        // An open list of 1000 overflows only on wide open ground.
        const bool grande = t == tipomapa::lleno || t == tipomapa::tope || t == tipomapa::salida;
        const int lado = t == tipomapa::lleno    ? 560
                         : t == tipomapa::salida ? 400
                         : grande                ? 200
                                                 : 60;
        // A strip as long as a map can be, where the ends lie almost 9999
        // apart.
        const bool franja = t == tipomapa::franja;
        // A band of corridors as long: its far cells cost close to 9999 and
        // the ways around its walls wander near that bound, on both sides of
        // long floods.
        const bool banda = t == tipomapa::banda;
        const int w = franja || banda ? a.entre(900, 1000) : a.entre(lado * 3 / 4, lado);
        const int h = franja  ? a.entre(2, 4)
                      : banda ? a.entre(20, 40)
                              : a.entre(lado * 3 / 4, lado);
        plano terreno;
        switch (t) {
        case tipomapa::laberinto:
        case tipomapa::tope:
        case tipomapa::banda:
            terreno = laberinto(a, w, h,
                                t == tipomapa::tope    ? 0.0
                                : t == tipomapa::banda ? a.entre(10, 40) / 100.0
                                                       : a.entre(0, 20) / 100.0);
            break;
        case tipomapa::habitaciones:
            terreno = habitaciones(a, w, h);
            break;
        case tipomapa::lleno:
        case tipomapa::salida:
        case tipomapa::franja:
            terreno = campo(a, w, h, a.entre(0, 4) / 100.0);
            break;
        default:
            terreno = campo(a, w, h, a.entre(0, 35) / 100.0);
        }
        if (t == tipomapa::inalcanzable && a.moneda(0.5)) {
            // A river or a wall from edge to edge.
            const int x0 = a.entre(1, w - 2);
            const int16_t k = a.obstaculo();
            for (int y = 0; y < h; ++y)
                terreno[std::size_t(y) * w + std::clamp(x0 + a.entre(-1, 1), 0, w - 1)] = k;
        }

        m->anchomapa = int16_t(w - 1);
        m->altomapa = int16_t(h - 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ponerterreno(*m, x, y, terreno[std::size_t(y) * w + x]);

        std::vector<std::pair<int, int>> libres;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (m->mapa(x, y).transitable == verdadero)
                    libres.push_back({x, y});
        std::shuffle(libres.begin(), libres.end(), a.rng);
        const int maxp = std::min<int>(t == tipomapa::companeros || grande ? 8 : a.entre(1, 8),
                                       int(libres.size()) / 2);
        if (maxp == 0)
            continue;
        // In the band the teams stand at its two ends, as far apart as the
        // band lets them: the first team on the leftmost free cells, the
        // second on the rightmost.
        if (banda) {
            std::stable_sort(libres.begin(), libres.end(),
                             [](const auto& p, const auto& q) { return p.first < q.first; });
            std::reverse(libres.begin() + maxp, libres.end());
        }
        for (int16_t k = 0; k < 2 * maxp; ++k)
            ponerunidad(*m, k, libres[k].first, libres[k].second, k < maxp ? 0 : 1,
                        a.moneda(t == tipomapa::companeros ? 0.3 : 0.1));

        // Both teams packed in their spawn blocks in opposite corners, as a
        // match starts: searches out of a block flood the ground behind it,
        // fill the list and reach the far corner with no room left.
        if (t == tipomapa::salida) {
            for (int16_t k = 0; k < 2 * maxp; ++k) {
                const unidad& u = m->unidades[k];
                m->ponerocupante(u.x, u.y, -1);
            }
            for (int16_t k = 0; k < 2 * maxp; ++k) {
                const int e = k < maxp ? 0 : 1;
                const int sx = e == 0 ? 2 : w - 3, sy = e == 0 ? 2 : h - 3;
                const int lugar = (k % maxp) + (k % maxp >= 4 ? 1 : 0);
                const int x = sx - 1 + lugar % 3, y = sy - 1 + lugar / 3;
                ponerterreno(*m, x, y, 0);
                ponerunidad(*m, k, x, y, int16_t(e), false);
            }
        }

        // Ring the first enemy with walls and the searcher's team-mates, so
        // that the search has to take every cell it can reach. The wide rings
        // hold more cells than the game floods before it searches.
        const bool anillo = t == tipomapa::lleno || (t == tipomapa::inalcanzable && a.moneda(0.5));
        if (anillo) {
            // The widest ring holds more than the game floods even in a long
            // search, so that the full list is reached by a search in full.
            const int radio = t == tipomapa::lleno ? (a.moneda(0.5) ? 12 : 70) : 1;
            unidad& e = m->unidades[maxp];
            e.muerto = falso;
            int16_t companero = 1;
            for (int y = e.y - radio; y <= e.y + radio; ++y)
                for (int x = e.x - radio; x <= e.x + radio; ++x) {
                    if (x < 0 || y < 0 || x >= w || y >= h ||
                        std::max(std::abs(x - e.x), std::abs(y - e.y)) != radio)
                        continue;
                    const celda& c = m->mapa(x, y);
                    if (c.ocupante >= 0 && m->unidades[c.ocupante].equipo == 0) {
                        m->unidades[c.ocupante].muerto = falso;
                    } else if (c.ocupante < 0 && c.transitable == verdadero && companero < maxp) {
                        unidad& f = m->unidades[companero++];
                        m->ponerocupante(f.x, f.y, -1);
                        ponerunidad(*m, int16_t(companero - 1), x, y, 0, false);
                    } else {
                        ponerterreno(*m, x, y, 2);
                    }
                }
        }

        for (int b = 0; b < (t == tipomapa::lleno ? 2 : 5); ++b) {
            const int16_t i = anillo && b == 0 ? 0 : int16_t(a.entre(0, 2 * maxp - 1));
            unidad& u = m->unidades[i];
            const int eleccion = t == tipomapa::salida ? 0 : a.entre(0, 99);
            std::pair<int, int> d;
            if (anillo && b == 0) {
                d = {m->unidades[maxp].x, m->unidades[maxp].y};
            } else if (eleccion < 60) {
                const unidad& o = m->unidades[(u.equipo == 0 ? maxp : 0) + a.entre(0, maxp - 1)];
                d = {o.x, o.y};
            } else if (eleccion < 75) {
                d = {a.entre(-1, w), a.entre(-1, h)};
            } else if (eleccion < 85) {
                const unidad& o = m->unidades[(u.equipo == 0 ? 0 : maxp) + a.entre(0, maxp - 1)];
                d = {o.x, o.y};
            } else if (eleccion < 95) {
                d = {u.x + a.entre(-1, 1), u.y + a.entre(-1, 1)};
            } else {
                d = libres[std::size_t(a.entre(0, int(libres.size()) - 1))];
            }
            u.destx = int16_t(d.first);
            u.desty = int16_t(d.second);
            u.siguiendo = a.moneda(0.5) ? verdadero : falso;
            u.buscando = a.moneda(0.03) ? verdadero : falso;
            u.camino = "viejo" + std::to_string(b);
            u.pasos = {u.camino};
            u.sigx = int16_t(a.entre(0, 999));
            u.sigy = int16_t(a.entre(0, 999));
            const QString dif = comparar(i, r);
            QVERIFY2(dif.isEmpty(),
                     qPrintable(QString("mundo %1 busqueda %2: ").arg(n).arg(b) + dif));
        }
    }

    qDebug("%d busquedas: %d con camino, %d sin camino (%d sin remedio), %d con la lista llena, "
           "%d con el destino perdido, %d al tope; hasta %d en la lista",
           r.busquedas, r.encontrados, r.agotados, r.atajos, r.llenos, r.perdidas, r.topes,
           r.maximo);
    // The maps must bring about what the row is named after.
    QVERIFY(r.encontrados > 0);
    QVERIFY(r.agotados > 0);
    if (t == tipomapa::inalcanzable)
        QVERIFY(r.atajos > 0);
    if (t == tipomapa::lleno)
        QVERIFY(r.llenos > 0);
    if (t == tipomapa::salida)
        QVERIFY(r.perdidas > 0);
    if (t == tipomapa::tope || t == tipomapa::franja)
        QVERIFY(r.topes > 0);
}

// The open list by itself, driven by a script: "pL:F" queues place L with
// F, "rL:A:F" drops its F from A to F, "t" takes the pick (its place, or "-"
// when none can be taken), "c" tells how many wait, "v" empties the list.
void TestBusqueda::ordenabiertos_data() {
    QTest::addColumn<QString>("guion");
    QTest::addColumn<QString>("esperado");

    QTest::newRow("igual-f-primero-encolado") << "p1:30 p2:30 p3:30 t t t t"
                                              << "1,2,3,-";
    QTest::newRow("menor-f-primero") << "p1:40 p2:30 p3:50 t t t"
                                     << "2,1,3";
    QTest::newRow("rebajada-entra-por-orden-de-cola") << "p1:30 p2:30 p3:20 r2:30:20 t t t"
                                                      << "2,3,1";
    QTest::newRow("rebajada-tras-las-encoladas-antes") << "p1:20 p2:30 p3:20 r2:30:20 t t t"
                                                       << "1,2,3";
    QTest::newRow("tope-espera-sin-tomarse") << "p1:9999 p2:30 c t c t"
                                             << "2,2,1,-";
    QTest::newRow("tope-rebajado-se-toma") << "p1:9999 p2:30 r1:9999:20 t t"
                                           << "1,2";
    QTest::newRow("menor-tras-tomar") << "p1:30 t p2:20 t"
                                      << "1,2";
    QTest::newRow("enlace-devuelto-y-reusado") << "p1:30 p2:30 t p3:30 p4:10 r3:30:10 t t t"
                                               << "1,3,4,2";
    QTest::newRow("vaciada") << "p1:30 p2:20 v c p3:40 t t"
                             << "0,3,-";
}

void TestBusqueda::ordenabiertos() {
    QFETCH(QString, guion);
    QFETCH(QString, esperado);
    abiertos a;
    a.dimensionar(16);
    a.vaciar();
    QStringList visto;
    for (const QString& paso : guion.split(' ')) {
        const QStringList n = paso.mid(1).split(':');
        if (paso[0] == 'p') {
            a.poner(n[0].toInt(), n[0].toInt(), 0, n[1].toInt());
        } else if (paso[0] == 'r') {
            a.rebajar(n[0].toInt(), n[1].toInt(), n[2].toInt());
        } else if (paso[0] == 'c') {
            visto << QString::number(a.cuantos());
        } else if (paso[0] == 'v') {
            a.vaciar();
        } else {
            int32_t lugar = -1;
            int16_t x = -1, y = -1;
            visto << (a.tomar(lugar, x, y) ? QString::number(lugar) : "-");
            if (lugar >= 0)
                QCOMPARE(x, int16_t(lugar));
        }
    }
    QCOMPARE(visto.join(','), esperado);
}

// A cell taken in one search counts as not reached in the next, also when
// the stamps run out in between and start again.
void TestBusqueda::sellos_data() {
    QTest::addColumn<int>("ultima");  // the last stamp before they wrap
    QTest::addColumn<int>("antes");   // searches started before the marks
    QTest::addColumn<int>("despues"); // and after them
    QTest::addColumn<bool>("alcanzada");

    QTest::newRow("misma-busqueda") << 5 << 1 << 0 << true;
    QTest::newRow("busqueda-siguiente") << 5 << 1 << 1 << false;
    QTest::newRow("marcada-en-la-ultima-antes-de-la-vuelta") << 3 << 3 << 1 << false;
    QTest::newRow("marcada-en-la-primera-tras-la-vuelta") << 3 << 4 << 0 << true;
    QTest::newRow("varias-vueltas") << 2 << 2 << 7 << false;
}

void TestBusqueda::sellos() {
    QFETCH(int, ultima);
    QFETCH(int, antes);
    QFETCH(int, despues);
    QFETCH(bool, alcanzada);
    rejilla r;
    r.limpiar(2, 2);
    r.ponerterreno(1, 1, comun::pared);
    espacio e{uint32_t(ultima)};
    e.preparar(r, 2, 2);
    for (int k = 0; k < antes; ++k)
        e.nueva();
    e[e.lugarde(0, 0)].estado = e.base() + espacio::cerrada;
    e[e.lugarde(2, 2)].estado = e.base() + espacio::alcanzada;
    for (int k = 0; k < despues; ++k)
        e.nueva();
    QCOMPARE(e[e.lugarde(0, 0)].estado >= e.base(), alcanzada);
    QCOMPARE(e[e.lugarde(2, 2)].estado >= e.base(), alcanzada);
    QCOMPARE(e[e.lugarde(0, 1)].estado >= e.base(), false);
    QCOMPARE(e[e.lugarde(1, 1)].estado, espacio::muro);
    QCOMPARE(e[e.lugarde(-1, 0)].estado, espacio::muro);
}

// Team-mates are walled in for one search and given back as they were: a
// wall stays one, a cell listed twice gets its first value back, a cell off
// the map is left alone.
void TestBusqueda::tapadas_data() {
    QTest::addColumn<QList<int>>("bloqueos"); // grid cells, row * 1000 + column

    QTest::newRow("companero-en-hierba") << QList<int>{1002};
    QTest::newRow("companero-sobre-muro") << QList<int>{1001};
    QTest::newRow("companero-listado-dos-veces") << QList<int>{2, 2};
    QTest::newRow("companero-fuera-del-mapa") << QList<int>{5, 3000, 2000};
}

void TestBusqueda::tapadas() {
    QFETCH(QList<int>, bloqueos);
    rejilla r;
    r.limpiar(2, 2);
    r.ponerterreno(1, 1, comun::pared);
    espacio e;
    e.preparar(r, 2, 2);
    e.nueva();
    pregunta p;
    p.anchomapa = 2;
    p.altomapa = 2;
    for (int b : bloqueos)
        p.bloqueos[std::size_t(p.nbloqueos++)] = b;
    // The map and its border, row after row.
    auto estados = [&] {
        QList<uint32_t> l;
        for (int y = -1; y <= 3; ++y)
            for (int x = -1; x <= 3; ++x)
                l << e[e.lugarde(x, y)].estado;
        return l;
    };
    const QList<uint32_t> antes = estados();
    QList<uint32_t> tapado = antes;
    for (int b : bloqueos)
        if (b % rejilla::lado <= 2 && b / rejilla::lado <= 2)
            tapado[(b / rejilla::lado + 1) * 5 + b % rejilla::lado + 1] = espacio::muro;
    e.tapar(p);
    QCOMPARE(estados(), tapado);
    e.destapar();
    QCOMPARE(estados(), antes);
}

QTEST_APPLESS_MAIN(TestBusqueda)
#include "test_busqueda.moc"
