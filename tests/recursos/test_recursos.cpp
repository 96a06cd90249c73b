// The generated pictures, the synthesised sounds and the sample maps, checked
// for what would break the game or the editor: wrong sizes, masks that are
// not exactly black and white or do not match their image, sprites that look
// the same in different facings, broken WAV files, unplayable maps.

#include "Comun/alcance.h"
#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdint>

using namespace comun;

Q_DECLARE_METATYPE(std::string)

namespace {

constexpr QRgb blanco = 0xFFFFFF;
constexpr QRgb negro = 0x000000;

QRgb rgb(const QImage& i, int x, int y) {
    return i.pixel(x, y) & 0xFFFFFF;
}

QImage cargar(const QString& nombre) {
    return QImage(":/imagenes/" + nombre);
}

// The 20 x 20 block at (x, y), as bytes to compare.
QByteArray bloque(const QImage& i, int x, int y) {
    QByteArray b;
    for (int j = 0; j < 20; ++j)
        for (int k = 0; k < 20; ++k) {
            const QRgb p = rgb(i, x + k, y + j);
            b.append(char(qRed(p))).append(char(qGreen(p))).append(char(qBlue(p)));
        }
    return b;
}

int luz(QRgb p) {
    return (qRed(p) * 3 + qGreen(p) * 6 + qBlue(p)) / 10;
}

struct wavleido {
    QString error;
    int porsegundo = 0;
    std::vector<int16_t> muestras;
};

uint32_t leer32(const QByteArray& b, int at) {
    return uint32_t(uchar(b[at])) | uint32_t(uchar(b[at + 1])) << 8 |
           uint32_t(uchar(b[at + 2])) << 16 | uint32_t(uchar(b[at + 3])) << 24;
}
uint16_t leer16(const QByteArray& b, int at) {
    return uint16_t(uchar(b[at]) | uchar(b[at + 1]) << 8);
}

wavleido leerwav(const QByteArray& b) {
    wavleido w;
    if (b.size() < 44)
        return {"más corto que la cabecera", 0, {}};
    if (b.mid(0, 4) != "RIFF" || b.mid(8, 4) != "WAVE" || b.mid(12, 4) != "fmt " ||
        b.mid(36, 4) != "data")
        return {"cabecera sin RIFF/WAVE/fmt/data en su sitio", 0, {}};
    if (leer32(b, 4) != uint32_t(b.size() - 8))
        return {"tamaño RIFF incorrecto", 0, {}};
    if (leer32(b, 16) != 16 || leer16(b, 20) != 1 || leer16(b, 22) != 1 || leer16(b, 34) != 16)
        return {"no es PCM de 16 bits mono", 0, {}};
    w.porsegundo = int(leer32(b, 24));
    if (w.porsegundo != 22050 && w.porsegundo != 44100)
        return {"frecuencia inesperada", 0, {}};
    if (leer32(b, 28) != uint32_t(w.porsegundo) * 2 || leer16(b, 32) != 2)
        return {"bytes por segundo o alineación incorrectos", 0, {}};
    if (leer32(b, 40) != uint32_t(b.size() - 44))
        return {"tamaño de datos incorrecto", 0, {}};
    for (int at = 44; at + 1 < b.size(); at += 2)
        w.muestras.push_back(int16_t(leer16(b, at)));
    return w;
}

} // namespace

class TestRecursos : public QObject {
    Q_OBJECT

    QTemporaryDir carpetasonidos;

private slots:
    void initTestCase() {
        QVERIFY(carpetasonidos.isValid());
        QProcess gen;
        gen.start(GENSONIDOS, {carpetasonidos.path()});
        QVERIFY2(gen.waitForFinished(60000), "gensonidos no terminó");
        QCOMPARE(gen.exitStatus(), QProcess::NormalExit);
        QCOMPARE(gen.exitCode(), 0);
    }

    // ---------------------------------------------------------- pictures

    void tamanos_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QSize>("tamano");
        for (int t = 0; t < 6; ++t)
            QTest::newRow(qPrintable(QString("terreno%1").arg(t)))
                << QString("terreno%1.png").arg(t) << QSize(20, 20);
        QTest::newRow("personajes-rojo") << "personajes0.png" << QSize(160, 320);
        QTest::newRow("personajes-azul") << "personajes1.png" << QSize(160, 320);
        QTest::newRow("sangre") << "sangre.png" << QSize(40, 20);
        QTest::newRow("flechas") << "flech.png" << QSize(20, 160);
        QTest::newRow("equis-rojo") << "equis0.png" << QSize(40, 20);
        QTest::newRow("equis-azul") << "equis1.png" << QSize(40, 20);
        QTest::newRow("paleta-rojo") << "px0.png" << QSize(20, 20);
        QTest::newRow("paleta-azul") << "px1.png" << QSize(20, 20);
        QTest::newRow("icono-juego") << "tarnhollow.png" << QSize(64, 64);
        QTest::newRow("icono-editor") << "editor.png" << QSize(64, 64);
    }
    void tamanos() {
        QFETCH(QString, nombre);
        QFETCH(QSize, tamano);
        const QImage i = cargar(nombre);
        QVERIFY2(!i.isNull(), qPrintable(nombre + " no está en los recursos"));
        QCOMPARE(i.size(), tamano);
    }

    // Tiles and palette icons are copied whole: every pixel must be opaque.
    void opacos_data() {
        QTest::addColumn<QString>("nombre");
        for (int t = 0; t < 6; ++t)
            QTest::newRow(qPrintable(QString("terreno%1").arg(t)))
                << QString("terreno%1.png").arg(t);
        QTest::newRow("paleta-rojo") << "px0.png";
        QTest::newRow("paleta-azul") << "px1.png";
    }
    void opacos() {
        QFETCH(QString, nombre);
        const QImage i = cargar(nombre);
        for (int y = 0; y < i.height(); ++y)
            for (int x = 0; x < i.width(); ++x)
                QVERIFY2(qAlpha(i.pixel(x, y)) == 255,
                         qPrintable(QString("(%1, %2)").arg(x).arg(y)));
    }

    // A tile's last column must continue into its first one as smoothly as
    // neighbouring columns inside it do, or every map shows a grid of seams.
    void terrenos_sin_costuras_data() {
        QTest::addColumn<int>("t");
        const char* nombres[] = {"pasto", "madera", "pared", "agua", "arbol", "piso"};
        for (int t = 0; t < 6; ++t)
            QTest::newRow(nombres[t]) << t;
    }
    void terrenos_sin_costuras() {
        QFETCH(int, t);
        const QImage i = cargar(QString("terreno%1.png").arg(t));
        auto salto = [&](bool columnas, int a, int b) {
            double s = 0;
            for (int k = 0; k < 20; ++k)
                s += std::abs(luz(columnas ? i.pixel(a, k) : i.pixel(k, a)) -
                              luz(columnas ? i.pixel(b, k) : i.pixel(k, b)));
            return s / 20;
        };
        for (bool columnas : {true, false}) {
            double interior = 0;
            for (int a = 0; a < 19; ++a)
                interior = std::max(interior, salto(columnas, a, a + 1));
            const double borde = salto(columnas, 19, 0);
            QVERIFY2(borde <= interior * 1.15 + 2,
                     qPrintable(QString("%1: borde %2, interior %3")
                                    .arg(columnas ? "columnas" : "filas")
                                    .arg(borde)
                                    .arg(interior)));
        }
        // And it is a texture, not a flat colour.
        QSet<QRgb> colores;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                colores.insert(rgb(i, x, y));
        QVERIFY(colores.size() >= 8);
    }

    // Every image/mask pair: the mask is exactly black or white; where it is
    // white the image is pure white (the ground shows through), where it is
    // black the image is not pure white (else the figure has holes).
    void mascaras_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<int>("minimo"); // fewest opaque pixels a picture may have
        QTest::newRow("personajes-rojo") << "personajes0.png" << 60;
        QTest::newRow("personajes-azul") << "personajes1.png" << 60;
        QTest::newRow("sangre") << "sangre.png" << 40;
        QTest::newRow("equis-rojo") << "equis0.png" << 60;
        QTest::newRow("equis-azul") << "equis1.png" << 60;
    }
    void mascaras() {
        QFETCH(QString, nombre);
        QFETCH(int, minimo);
        const QImage h = cargar(nombre);
        for (int by = 0; by < h.height(); by += 20)
            for (int bx = 0; bx < h.width(); bx += 40) {
                int opacos = 0;
                for (int y = by; y < by + 20; ++y)
                    for (int x = bx; x < bx + 20; ++x) {
                        const QRgb img = rgb(h, x, y), mas = rgb(h, x + 20, y);
                        const QString donde = QString("imagen (%1, %2)").arg(x).arg(y);
                        QVERIFY2(mas == blanco || mas == negro,
                                 qPrintable("máscara gris en " + donde));
                        if (mas == blanco)
                            QVERIFY2(img == blanco, qPrintable("fondo no blanco en " + donde));
                        else
                            QVERIFY2(img != blanco, qPrintable("agujero blanco en " + donde));
                        opacos += mas == negro;
                    }
                QVERIFY2(opacos >= minimo,
                         qPrintable(QString("figura casi vacía en (%1, %2)").arg(bx).arg(by)));
            }
    }

    // The facings of one figure must all look different, and so must its poses.
    void personajes_distintos_data() {
        QTest::addColumn<int>("equipo");
        QTest::addColumn<int>("tipo");
        QTest::newRow("arquero-rojo") << 0 << 0;
        QTest::newRow("guerrero-rojo") << 0 << 1;
        QTest::newRow("arquero-azul") << 1 << 0;
        QTest::newRow("guerrero-azul") << 1 << 1;
    }
    void personajes_distintos() {
        QFETCH(int, equipo);
        QFETCH(int, tipo);
        const QImage h = cargar(QString("personajes%1.png").arg(equipo));
        for (int pose = 0; pose < 4; ++pose)
            for (int a = 0; a < 8; ++a)
                for (int b = a + 1; b < 8; ++b)
                    QVERIFY2(bloque(h, 40 * pose, 160 * tipo + 20 * a) !=
                                 bloque(h, 40 * pose, 160 * tipo + 20 * b),
                             qPrintable(QString("pose %1: direcciones %2 y %3 iguales")
                                            .arg(pose)
                                            .arg(a)
                                            .arg(b)));
        for (int k = 0; k < 8; ++k)
            for (int a = 0; a < 4; ++a)
                for (int b = a + 1; b < 4; ++b)
                    QVERIFY2(
                        bloque(h, 40 * a, 160 * tipo + 20 * k) !=
                            bloque(h, 40 * b, 160 * tipo + 20 * k),
                        qPrintable(
                            QString("dirección %1: poses %2 y %3 iguales").arg(k).arg(a).arg(b)));
        // The two fighter types must not be the same picture.
        QVERIFY(bloque(h, 0, 20 * 5) != bloque(h, 0, 160 + 20 * 5));
    }

    // Team 0 is red and team 1 blue; swapped sheets would mislabel every fighter.
    void colores_de_equipo() {
        for (int equipo = 0; equipo < 2; ++equipo) {
            const QImage h = cargar(QString("personajes%1.png").arg(equipo));
            int rojos = 0, azules = 0;
            for (int y = 0; y < 320; ++y)
                for (int x = 0; x < 160; ++x) {
                    const QRgb p = rgb(h, x, y);
                    rojos += qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60;
                    azules += qBlue(p) > qRed(p) + 60 && qBlue(p) > qGreen(p) + 30;
                }
            if (equipo == 0)
                QVERIFY2(rojos > 4 * azules,
                         qPrintable(QString("%1 / %2").arg(rojos).arg(azules)));
            else
                QVERIFY2(azules > 4 * rojos,
                         qPrintable(QString("%1 / %2").arg(azules).arg(rojos)));
        }
    }

    // Arrows have no mask: white is the background, the arrow must be dark so
    // that ANDing it onto the ground shows it, and each band points its own way.
    void flechas() {
        const QImage h = cargar("flech.png");
        std::vector<QByteArray> bandas;
        for (int k = 0; k < 8; ++k) {
            const QString banda = QString("banda %1").arg(k);
            int oscuros = 0, minx = 20, maxx = -1, miny = 20, maxy = -1;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x) {
                    const QRgb p = rgb(h, x, 20 * k + y);
                    if (p == blanco)
                        continue;
                    QVERIFY2(luz(p) < 140, qPrintable(banda + ": píxel claro en la flecha"));
                    ++oscuros;
                    minx = std::min(minx, x);
                    maxx = std::max(maxx, x);
                    miny = std::min(miny, y);
                    maxy = std::max(maxy, y);
                }
            QVERIFY2(oscuros >= 15, qPrintable(banda + ": flecha casi vacía"));
            QVERIFY2(oscuros <= 120, qPrintable(banda + ": fondo no blanco"));
            const int ancho = maxx - minx, alto = maxy - miny;
            if (k == 1 || k == 5)
                QVERIFY2(alto > 2 * ancho, qPrintable(banda + ": no es vertical"));
            if (k == 3 || k == 7)
                QVERIFY2(ancho > 2 * alto, qPrintable(banda + ": no es horizontal"));
            bandas.push_back(bloque(h, 0, 20 * k));
        }
        for (int a = 0; a < 8; ++a)
            for (int b = a + 1; b < 8; ++b)
                QVERIFY2(bandas[a] != bandas[b], qPrintable(QString("%1 y %2").arg(a).arg(b)));
    }

    // ---------------------------------------------------------- sounds

    void sonidos_data() {
        QTest::addColumn<QString>("nombre");
        for (const char* n : {"Bowfire.wav", "Bowhit.wav", "hit0.wav", "dead.wav", "fin.wav"})
            QTest::newRow(n) << QString(n);
    }
    void sonidos() {
        QFETCH(QString, nombre);
        QFile f(carpetasonidos.filePath(nombre));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(nombre + " no existe"));
        const wavleido w = leerwav(f.readAll());
        QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
        const double segundos = double(w.muestras.size()) / w.porsegundo;
        QVERIFY2(segundos > 0.05 && segundos < 0.5, qPrintable(QString::number(segundos)));
        int pico = 0;
        double energia = 0;
        for (int16_t m : w.muestras) {
            pico = std::max(pico, std::abs(int(m)));
            energia += double(m) * m;
        }
        const double rms = std::sqrt(energia / w.muestras.size());
        // At most about -1 dBFS, never at full scale; and clearly audible.
        QVERIFY2(pico <= 29500, qPrintable(QString("pico %1").arg(pico)));
        QVERIFY2(pico >= 8000, qPrintable(QString("pico %1").arg(pico)));
        QVERIFY2(rms >= 800, qPrintable(QString("rms %1").arg(rms)));
        // Faded in and out: no click at either end.
        QVERIFY(std::abs(int(w.muestras.front())) < 500);
        QVERIFY(std::abs(int(w.muestras.back())) < 500);
    }

    void sonidos_distintos() {
        std::vector<QByteArray> datos;
        for (const char* n : {"Bowfire.wav", "Bowhit.wav", "hit0.wav", "dead.wav", "fin.wav"}) {
            QFile f(carpetasonidos.filePath(n));
            QVERIFY(f.open(QIODevice::ReadOnly));
            datos.push_back(f.readAll());
        }
        for (std::size_t a = 0; a < datos.size(); ++a)
            for (std::size_t b = a + 1; b < datos.size(); ++b)
                QVERIFY(datos[a] != datos[b]);
    }

    // ---------------------------------------------------------- maps

    void mapas_esperados_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<int>("anchomapa");
        QTest::addColumn<int>("altomapa");
        QTest::newRow("pradera") << "pradera.mapa" << 49 << 49;
        QTest::newRow("rio") << "rio.mapa" << 74 << 49;
        QTest::newRow("fortaleza") << "fortaleza.mapa" << 99 << 99;
        QTest::newRow("islas") << "islas.mapa" << 149 << 149;
        QTest::newRow("bosque") << "bosque.mapa" << 199 << 199;
    }
    void mapas_esperados() {
        QFETCH(QString, nombre);
        QFETCH(int, anchomapa);
        QFETCH(int, altomapa);
        const lectura l = leerarchivo(QDir(MAPAS_DIR).filePath(nombre).toStdString());
        QVERIFY2(l, l.error.c_str());
        QCOMPARE(int(l.mapa->anchomapa), anchomapa);
        QCOMPARE(int(l.mapa->altomapa), altomapa);
    }

    void mapas_jugables_data() {
        QTest::addColumn<QString>("ruta");
        const QStringList mapas = QDir(MAPAS_DIR).entryList({"*.mapa"}, QDir::Files, QDir::Name);
        QVERIFY(!mapas.isEmpty());
        for (const QString& m : mapas)
            QTest::newRow(qPrintable(m)) << QDir(MAPAS_DIR).filePath(m);
    }
    void mapas_jugables() {
        QFETCH(QString, ruta);
        const lectura l = leerarchivo(ruta.toStdString());
        QVERIFY2(l, l.error.c_str());
        const plano& p = *l.mapa;
        // The game's view is 40 x 30 cells and the editor offers these sides.
        for (int lado : {int(p.anchomapa), int(p.altomapa)})
            QVERIFY2(lado == 49 || lado == 74 || lado == 99 || lado == 149 || lado == 199,
                     qPrintable(QString::number(lado)));
        for (int t : p.terrenos)
            QVERIFY(t >= 0 && t < numterrenos);
        for (int e = 0; e < 2; ++e) {
            const posicion s = p.inicio[e];
            const QString equipo = QString("inicio %1 (%2, %3)").arg(e).arg(s.x).arg(s.y);
            QVERIFY2(s.x >= 1 && s.y >= 1 && s.x < p.anchomapa && s.y < p.altomapa,
                     qPrintable(equipo + " en el borde"));
            for (int y = s.y - 1; y <= s.y + 1; ++y)
                for (int x = s.x - 1; x <= s.x + 1; ++x)
                    QVERIFY2(transitable(p.terreno(x, y)), qPrintable(equipo + " sin espacio"));
        }
        const posicion a = p.inicio[0], b = p.inicio[1];
        // Well apart: at least half the map's width or height between them.
        const int dx = std::abs(a.x - b.x), dy = std::abs(a.y - b.y);
        QVERIFY2(2 * dx >= p.ancho() || 2 * dy >= p.alto(), "inicios demasiado cerca");
        QVERIFY2(comun::alcanzable(p, a, b), "los equipos no pueden alcanzarse");
    }
};

QTEST_GUILESS_MAIN(TestRecursos)
#include "test_recursos.moc"
