#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>

using namespace comun;

// Every byte this program asks of operator new, so a test can tell how much
// reading one text cost.
namespace {
std::atomic<std::size_t> pedidos{0};
}

void* operator new(std::size_t n) {
    pedidos += n;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

Q_DECLARE_METATYPE(std::string)

class TestMapaArchivo : public QObject {
    Q_OBJECT

    static plano ejemplo31() {
        // 3 columns, 2 rows: grass grass wall / tree floor water.
        plano p = plano::vacio(2, 1);
        p.ponerterreno(2, 0, pared);
        p.ponerterreno(0, 1, arbol);
        p.ponerterreno(1, 1, piso);
        p.ponerterreno(2, 1, agua);
        p.inicio = {posicion{0, 0}, posicion{1, 1}};
        return p;
    }

private slots:
    void escritura_exacta() {
        QCOMPARE(escribirmapa(ejemplo31()), std::string("2,1/fn0,0,2,4,5,3,/fn0,0,1,1/fn"));

        plano p = plano::vacio(49, 49);
        p.inicio = {posicion{5, 5}, posicion{40, 40}};
        std::string t = escribirmapa(p);
        QVERIFY(t.starts_with("49,49/fn"));
        std::size_t celdas = t.find("/fn", 8);
        std::string seccion = t.substr(8, celdas - 8);
        QCOMPARE(std::count(seccion.begin(), seccion.end(), ','), 2500);
        QVERIFY(seccion.ends_with(","));
        QVERIFY(t.ends_with("/fn5,5,40,40/fn"));

        p = plano::vacio(74, 49);
        t = escribirmapa(p);
        QVERIFY(t.starts_with("74,49/fn"));
    }

    void ida_y_vuelta_data() {
        QTest::addColumn<std::string>("cola");
        QTest::newRow("sin-cola") << std::string();
        QTest::newRow("salto-de-linea") << std::string("\r\n");
        QTest::newRow("cola-de-mapa-mayor") << std::string("0,0,1,2,3/fn0,0,5,5/fn");
    }
    void ida_y_vuelta() {
        QFETCH(std::string, cola);
        plano p = ejemplo31();
        lectura l = leermapa(escribirmapa(p) + cola);
        QVERIFY2(l, l.error.c_str());
        QCOMPARE(l.mapa->anchomapa, 2);
        QCOMPARE(l.mapa->altomapa, 1);
        QCOMPARE(l.mapa->terrenos, p.terrenos);
        QCOMPARE(l.mapa->inicio[0], p.inicio[0]);
        QCOMPARE(l.mapa->inicio[1], p.inicio[1]);
    }

    void inicios_iguales() {
        plano p = plano::vacio(49, 49);
        p.inicio = {posicion{7, 8}, posicion{7, 8}};
        std::string t = escribirmapa(p);
        QVERIFY(t.ends_with("/fn7,8,7,8/fn"));
        lectura l = leermapa(t);
        QVERIFY(l);
        QCOMPARE(l.mapa->inicio[0], l.mapa->inicio[1]);
    }

    void archivo_sobrescrito_con_cola() {
        // A small map written over the file of a larger one: the old tail
        // stays behind the new text and must not disturb reading.
        plano grande = plano::vacio(199, 199);
        grande.ponerterreno(3, 3, agua);
        plano chico = plano::vacio(49, 49);
        chico.inicio = {posicion{2, 2}, posicion{47, 47}};
        std::string viejo = escribirmapa(grande);
        std::string nuevo = escribirmapa(chico);
        std::string mezcla = nuevo + viejo.substr(nuevo.size());
        lectura l = leermapa(mezcla);
        QVERIFY2(l, l.error.c_str());
        QCOMPARE(l.mapa->anchomapa, 49);
        QCOMPARE(l.mapa->inicio[1], (posicion{47, 47}));
    }

    void rechazos_data() {
        QTest::addColumn<std::string>("texto");
        QTest::addColumn<QString>("menciona");
        QTest::newRow("vacio") << std::string() << "vacío";
        QTest::newRow("sin-terminadores") << std::string("2,1") << "cabecera";
        QTest::newRow("sin-celdas") << std::string("2,1/fn") << "celdas";
        QTest::newRow("sin-inicios") << std::string("2,1/fn0,0,2,4,5,3,/fn0,0,1,1") << "inicios";
        QTest::newRow("cabecera-de-un-numero") << std::string("2/fn0,/fn0,0,0,0/fn") << "cabecera";
        QTest::newRow("ancho-no-numerico") << std::string("a,1/fn0,/fn0,0,0,0/fn") << "ancho";
        QTest::newRow("ancho-fuera-de-16-bits")
            << std::string("70000,1/fn0,/fn0,0,0,0/fn") << "16 bits";
        QTest::newRow("ancho-1000") << std::string("1000,0/fn0,/fn0,0,0,0/fn") << "999";
        QTest::newRow("alto-negativo") << std::string("0,-1/fn0,/fn0,0,0,0/fn") << "alto";
        QTest::newRow("faltan-celdas")
            << std::string("2,1/fn0,0,2,4,5,/fn0,0,1,1/fn") << "Faltan celdas";
        QTest::newRow("celda-no-numerica")
            << std::string("2,1/fn0,0,2,x,5,3,/fn0,0,1,1/fn") << "(0, 1)";
        QTest::newRow("celda-con-signo-mas")
            << std::string("2,1/fn0,0,2,+4,5,3,/fn0,0,1,1/fn") << "(0, 1)";
        QTest::newRow("terreno-6")
            << std::string("2,1/fn0,0,2,4,6,3,/fn0,0,1,1/fn") << "terreno 6";
        QTest::newRow("tres-inicios") << std::string("2,1/fn0,0,2,4,5,3,/fn0,0,1/fn") << "inicio";
        QTest::newRow("inicio-fuera")
            << std::string("2,1/fn0,0,2,4,5,3,/fn0,0,3,1/fn") << "fuera del mapa";
        QTest::newRow("inicio-negativo")
            << std::string("2,1/fn0,0,2,4,5,3,/fn0,-1,1,1/fn") << "fuera del mapa";
        QTest::newRow("numero-enorme")
            << std::string("2,1/fn0,0,2,4,5,3,/fn0,0,99999999999999999999,1/fn") << "16 bits";
    }
    void rechazos() {
        QFETCH(std::string, texto);
        QFETCH(QString, menciona);
        lectura l = leermapa(texto);
        QVERIFY(!l);
        QVERIFY2(QString::fromStdString(l.error).contains(menciona), l.error.c_str());
    }

    // Texts of millions of separators that claim a tiny map. Reading one
    // once split the whole text, a gigabyte of memory and half a minute for
    // a 60 MB file; what it costs now follows the map, not the file.
    void memoria_acotada_data() {
        QTest::addColumn<std::string>("texto");
        QTest::addColumn<bool>("valido");
        const std::string comas(4'000'000, ',');
        std::string fines;
        for (int i = 0; i < 1'000'000; ++i)
            fines += "/fn";
        QTest::newRow("comas-en-celdas") << "0,0/fn" + comas + "/fn0,0,0,0/fn" << false;
        QTest::newRow("comas-tras-la-ultima-celda") << "0,0/fn5" + comas + "/fn0,0,0,0/fn" << true;
        QTest::newRow("comas-en-cabecera") << "0,0" + comas + "/fn0,/fn0,0,0,0/fn" << true;
        QTest::newRow("comas-en-inicios") << "0,0/fn0,/fn0,0,0,0" + comas + "/fn" << true;
        QTest::newRow("fines-repetidos") << "0,0/fn0,/fn0,0,0,0" + fines << true;
    }
    void memoria_acotada() {
        QFETCH(std::string, texto);
        QFETCH(bool, valido);
        const std::size_t antes = pedidos;
        lectura l = leermapa(texto);
        const std::size_t gastado = pedidos - antes;
        QCOMPARE(bool(l), valido);
        QVERIFY2(gastado < 64 * 1024, qPrintable(QString::number(gastado) + " bytes"));
    }

    void archivo_en_disco() {
        lectura l = leerarchivo("/no/existe/nada.mapa");
        QVERIFY(!l);
        QVERIFY(!l.error.empty());

        const std::string ruta = QDir::tempPath().toStdString() + "/test_comun_ejemplo.mapa";
        {
            std::ofstream f(ruta, std::ios::binary);
            f << escribirmapa(ejemplo31());
        }
        l = leerarchivo(ruta);
        std::remove(ruta.c_str());
        QVERIFY2(l, l.error.c_str());
        QCOMPARE(l.mapa->terreno(2, 1), agua);
    }

    // Files nobody means as a map, each read from disk: what the reader says
    // and that it says it briefly. A FIFO used to hang the reader in open().
    void archivos_hostiles_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("menciona"); // empty: the file is a good map
        QTest::newRow("fifo-tras-enlace") << "fifo"
                                          << "no es un archivo normal";
        QTest::newRow("carpeta-llamada-mapa") << "carpeta"
                                              << "no es un archivo normal";
        QTest::newRow("numero-de-10-mb") << "numero"
                                         << "no cabe en un entero de 16 bits";
        QTest::newRow("texto-de-10-mb") << "letras"
                                        << "no es un número entero";
        QTest::newRow("marca-de-orden-de-bytes") << "bom"
                                                 << "";
    }
    void archivos_hostiles() {
        QFETCH(QString, caso);
        QFETCH(QString, menciona);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::string ruta = dir.filePath("x.mapa").toStdString();
        const std::string valido = escribirmapa(ejemplo31());
        auto escribir = [&](const std::string& t) { std::ofstream(ruta, std::ios::binary) << t; };
        if (caso == "fifo") {
            const std::string fifo = dir.filePath("tubo").toStdString();
            QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
            QCOMPARE(::symlink(fifo.c_str(), ruta.c_str()), 0);
        } else if (caso == "carpeta") {
            QVERIFY(QDir(dir.path()).mkdir("x.mapa"));
        } else if (caso == "numero" || caso == "letras") {
            escribir("2,1/fn0,0,2,4,5,3,/fn0," +
                     std::string(10'000'000, caso == "numero" ? '7' : 'a') + ",1,1/fn");
        } else {
            escribir("\xEF\xBB\xBF" + valido);
        }
        const lectura l = leerarchivo(ruta);
        if (menciona.isEmpty()) {
            QVERIFY2(l, l.error.c_str());
            QCOMPARE(escribirmapa(*l.mapa), valido);
            return;
        }
        QVERIFY(!l);
        const QString error = QString::fromStdString(l.error);
        QVERIFY2(error.contains(menciona), l.error.c_str());
        QVERIFY2(error.size() < 200 + dir.path().size(), l.error.c_str());
    }

    void transitabilidad() {
        QVERIFY(transitable(pasto));
        QVERIFY(transitable(madera));
        QVERIFY(transitable(piso));
        QVERIFY(!transitable(pared));
        QVERIFY(!transitable(agua));
        QVERIFY(!transitable(arbol));
    }
};

QTEST_APPLESS_MAIN(TestMapaArchivo)
#include "test_mapaarchivo.moc"
