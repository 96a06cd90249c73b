#include "Juego/qt/mezcla.h"
#include "Juego/qt/reproductor.h"
#include "Juego/qt/ventana.h"

#include "apoyo/aparte.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace juego;

namespace {

// Whether a library whose file name holds `nombre` is mapped in this process.
bool cargada(const char* nombre) {
    QFile f(QStringLiteral("/proc/self/maps"));
    return f.open(QIODevice::ReadOnly) && f.readAll().contains(nombre);
}

QStringList avisos;
void anotar(QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
    if (tipo == QtWarningMsg)
        avisos << texto;
}

const QString pradera = QStringLiteral(MAPAS_DIR "/pradera.mapa");

} // namespace

class TestSonido : public QObject {
    Q_OBJECT

    ajustesaparte aparte;

private slots:
    void initTestCase() { QVERIFY(aparte.apartar()); }

    // First of all: a module once loaded stays in the process.
    void el_menu_no_carga_el_sonido() {
        QVERIFY2(!cargada("libQt6Multimedia"), "la ventana del juego enlaza Qt Multimedia");
        main v;
        v.reproductoractual()->carpetas = {QStringLiteral(MODULO_DIR)};
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        // Sound off and on again at the menu, and the set-up window shown.
        v.sonido_->click();
        v.sonido_->click();
        QVERIFY(v.sonido() == 1);
        v.mnuSolo->trigger();
        QTest::qWait(50);
        QVERIFY(!v.reproductoractual()->listo());
        // Nor does a match with sound off.
        v.ponersonido(0);
        QVERIFY(v.cargarmapa(pradera, 2, 0));
        v.dibujar();
        QVERIFY(!v.reproductoractual()->listo());
        QVERIFY(!cargada("libQt6Multimedia"));
        QVERIFY(!cargada(qPrintable(reproductor::nombremodulo())));
    }

    void sin_modulo_hay_silencio_data() {
        QTest::addColumn<QByteArray>("archivo"); // what lies where the module should be
        QTest::addColumn<QString>("aviso");
        QTest::newRow("no está") << QByteArray() << QStringLiteral("no se encontró");
        QTest::newRow("no es una biblioteca")
            << QByteArray("esto no es una biblioteca\n") << QStringLiteral("no se pudo cargar");
    }
    void sin_modulo_hay_silencio() {
        QFETCH(QByteArray, archivo);
        QFETCH(QString, aviso);
        QTemporaryDir carpeta;
        if (!archivo.isNull()) {
            QFile f(QDir(carpeta.path()).filePath(reproductor::nombremodulo()));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(archivo);
        }
        reproductor r(QStringLiteral(SONIDOS_DIR));
        r.carpetas = {carpeta.path()};
        avisos.clear();
        const QtMessageHandler antes = qInstallMessageHandler(anotar);
        r.preparar();
        r.reproducir(QStringLiteral("hit0.wav"));
        r.reproducir(QStringLiteral("hit0.wav"), 0.5);
        r.callar();
        qInstallMessageHandler(antes);
        QVERIFY(!r.listo());
        // Said once, and why.
        QCOMPARE(avisos.size(), 1);
        QVERIFY2(avisos[0].contains(aviso) && avisos[0].contains(QStringLiteral("sin sonido")),
                 qPrintable(avisos[0]));
    }

    void la_partida_carga_el_sonido() {
        main v;
        v.reproductoractual()->carpetas = {QStringLiteral(MODULO_DIR)};
        v.ponersonido(1);
        QVERIFY(v.cargarmapa(pradera, 2, 0));
        QVERIFY(v.reproductoractual()->listo());
        QVERIFY(cargada("libQt6Multimedia"));

        // More of one sound at once than it has voices, a missing file, and
        // silence: whatever the audio device, nothing breaks.
        reproductor r(QStringLiteral(SONIDOS_DIR));
        r.carpetas = {QStringLiteral(MODULO_DIR)};
        for (int k = 0; k <= mezcla::vocesporsonido; ++k)
            r.reproducir(QStringLiteral("hit0.wav"), 0.5);
        r.reproducir(QStringLiteral("no-existe.wav"));
        QVERIFY(r.listo());
        r.callar();
    }

    // A machine with no audio device is told so once, not once a sound.
    void sin_dispositivo_un_aviso() {
        reproductor r(QStringLiteral(SONIDOS_DIR));
        r.carpetas = {QStringLiteral(MODULO_DIR)};
        avisos.clear();
        const QtMessageHandler antes = qInstallMessageHandler(anotar);
        for (const char* s : {"hit0.wav", "dead.wav", "hit0.wav", "Bowfire.wav", "Bowhit.wav"})
            r.reproducir(QString::fromLatin1(s));
        QTest::qWait(200);
        r.callar();
        qInstallMessageHandler(antes);
        QVERIFY(r.listo());
        QVERIFY2(avisos.size() <= 1, qPrintable(avisos.join('\n')));
    }
};

QTEST_MAIN(TestSonido)
#include "test_sonido.moc"
