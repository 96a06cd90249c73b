// Long seeded matches played through tarnhollow-sim must give, answer for
// answer, what a known-good build recorded beside them (escenarios.py).
#include <QDir>
#include <QProcess>
#include <QTest>

class TestFidelidad : public QObject {
    Q_OBJECT

private slots:
    void partida_data() {
        QTest::addColumn<QString>("base");
        const QDir datos(TESTDATA_DIR);
        const QStringList sims = datos.entryList({"*.sim"}, QDir::Files, QDir::Name);
        QVERIFY(!sims.isEmpty());
        for (const QString& f : sims)
            QTest::newRow(qPrintable(f)) << datos.filePath(f.chopped(4));
    }

    void partida() {
        QFETCH(QString, base);
        QFile comandos(base + ".sim");
        QFile grabada(base + ".salida");
        QVERIFY(comandos.open(QIODevice::ReadOnly));
        QVERIFY(grabada.open(QIODevice::ReadOnly));
        QByteArray entrada = comandos.readAll();
        entrada.replace("$MAPAS", QByteArray(MAPAS_DIR));

        QProcess sim;
        sim.start(SIM, {});
        QVERIFY(sim.waitForStarted());
        sim.write(entrada);
        sim.closeWriteChannel();
        QVERIFY(sim.waitForFinished(120000));
        QCOMPARE(sim.exitCode(), 0);

        const QList<QByteArray> vista = sim.readAllStandardOutput().split('\n');
        const QList<QByteArray> esperada = grabada.readAll().split('\n');
        for (qsizetype i = 0; i < std::min(vista.size(), esperada.size()); ++i)
            QVERIFY2(vista[i] == esperada[i],
                     qPrintable(QStringLiteral("line %1 differs:\n  got      %2\n  recorded %3")
                                    .arg(i + 1)
                                    .arg(QString::fromUtf8(vista[i].left(300)))
                                    .arg(QString::fromUtf8(esperada[i].left(300)))));
        QCOMPARE(vista.size(), esperada.size());
    }
};

QTEST_GUILESS_MAIN(TestFidelidad)
#include "test_fidelidad.moc"
