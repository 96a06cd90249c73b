// The crash report: a program that fails still says where, on standard
// error and in its file, and still ends by the signal that ended it.
#include "Comun/fallos.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestFallos : public QObject {
    Q_OBJECT

private slots:
    void informe_data() {
        QTest::addColumn<QString>("como");
        QTest::addColumn<QString>("senal");
        QTest::addColumn<bool>("carpeta"); // whether the report's folder can be made
        QTest::newRow("puntero") << "puntero" << "SIGSEGV" << true;
        QTest::newRow("abortar") << "abortar" << "SIGABRT" << true;
        QTest::newRow("sin-carpeta") << "puntero" << "SIGSEGV" << false;
    }

    void informe() {
        if (!comun::informesdefallos)
            QSKIP("AddressSanitizer gives its own report");
        QFETCH(QString, como);
        QFETCH(QString, senal);
        QFETCH(bool, carpeta);
        QTemporaryDir d;
        QVERIFY(d.isValid());
        // A folder that cannot be made: its parent is a file.
        QFile tapon(d.path() + "/tapon");
        QVERIFY(tapon.open(QIODevice::WriteOnly));
        const QString carpetainforme = carpeta ? d.path() + "/nueva" : tapon.fileName() + "/x";
        const QString ruta = carpetainforme + "/fallo.txt";
        QProcess p;
        p.start(QStringLiteral(FALLADOR), {carpetainforme, como});
        QVERIFY(p.waitForFinished(20000));
        // It dies of the fault, not of some exit of ours.
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        const QString cabeza = QStringLiteral("fallador %1 se cerró por un fallo: señal %2")
                                   .arg(QStringLiteral(TARNHOLLOW_VERSION), senal);
        QVERIFY2(err.contains(cabeza), qPrintable(err));
        // The calls that led there, down to the program's own start.
        QVERIFY2(err.contains("__libc_start_main"), qPrintable(err));
        QFile f(ruta);
        QCOMPARE(f.exists(), carpeta);
        if (!carpeta)
            return;
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString escrito = QString::fromUtf8(f.readAll());
        QVERIFY(escrito.startsWith(cabeza));
        QVERIFY(escrito.contains("__libc_start_main"));
        QVERIFY(err.contains("Este informe quedó en " + ruta));
        // It may hold a user's paths: only theirs to read.
        QCOMPARE(f.permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
    }
};

QTEST_GUILESS_MAIN(TestFallos)
#include "test_fallos.moc"
