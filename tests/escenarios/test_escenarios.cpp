// Plays every scenario file of the data folder through tarnhollow-sim. A
// line "#= path value" checks the JSON answer of the command before it: the
// path walks objects by key and arrays by index, the value is compared as
// JSON (or as plain text for strings).
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString separador = QStringLiteral("__fin__");

struct paso {
    QString comando;
    int linea = 0;
    QList<QPair<QString, QString>> esperas; // path, value
};

QJsonValue buscar(QJsonValue v, const QString& ruta) {
    for (const QString& parte : ruta.split('.')) {
        bool indice = false;
        const int n = parte.toInt(&indice);
        if (indice && v.isArray())
            v = v.toArray().at(n);
        else if (v.isObject())
            v = v.toObject().value(parte);
        else
            return QJsonValue(QJsonValue::Undefined);
    }
    return v;
}

QString texto(const QJsonValue& v) {
    if (v.isString())
        return v.toString();
    if (v.isDouble()) {
        const double d = v.toDouble();
        return d == double(qint64(d)) && !QString::number(d).contains('.')
                   ? QString::number(qint64(d))
                   : QString::number(d);
    }
    QJsonArray envoltorio{v};
    const QString s = QString::fromUtf8(QJsonDocument(envoltorio).toJson(QJsonDocument::Compact));
    return s.mid(1, s.size() - 2);
}

QString normalizar(const QString& esperado) {
    // Numbers in the file may be written as -4.0; compare them as numbers.
    bool ok = false;
    const double d = esperado.toDouble(&ok);
    if (ok)
        return texto(QJsonValue(d));
    return esperado;
}

} // namespace

class TestEscenarios : public QObject {
    Q_OBJECT

private slots:
    void escenario_data() {
        QTest::addColumn<QString>("archivo");
        const QDir datos(TESTDATA_DIR);
        for (const QString& f : datos.entryList({"*.sim"}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(f)) << datos.filePath(f);
    }

    void escenario() {
        QFETCH(QString, archivo);
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        QList<paso> pasos;
        int numero = 0;
        for (const QString& bruta : QString::fromUtf8(f.readAll()).split('\n')) {
            ++numero;
            const QString l = bruta.trimmed();
            if (l.startsWith("#=")) {
                QVERIFY2(!pasos.isEmpty(), "a check before any command");
                const QString resto = l.mid(2).trimmed();
                const int espacio = resto.indexOf(' ');
                pasos.last().esperas.append({resto.left(espacio), resto.mid(espacio + 1)});
            } else if (!l.isEmpty() && !l.startsWith('#')) {
                QString c = l;
                c.replace("$DATOS", TESTDATA_DIR);
                pasos.append({c, numero, {}});
            }
        }

        // Each command is followed by an unknown one, whose error line marks
        // where the command's own answer ends.
        QByteArray entrada;
        for (const paso& p : pasos)
            entrada += (p.comando + '\n' + separador + '\n').toUtf8();
        QProcess sim;
        sim.start(SIM, {});
        QVERIFY(sim.waitForStarted());
        sim.write(entrada);
        sim.closeWriteChannel();
        QVERIFY(sim.waitForFinished(60000));
        QCOMPARE(sim.exitCode(), 0);
        const QStringList salida = QString::fromUtf8(sim.readAllStandardOutput()).split('\n');

        int k = 0;
        for (const paso& p : pasos) {
            QStringList respuesta;
            while (k < salida.size() && !salida[k].contains(separador))
                respuesta << salida[k++];
            ++k;
            const QString donde = QStringLiteral("%1:%2 %3")
                                      .arg(QFileInfo(archivo).fileName())
                                      .arg(p.linea)
                                      .arg(p.comando);
            for (const QString& r : respuesta)
                QVERIFY2(!r.startsWith("error:"), qPrintable(donde + " -> " + r));
            if (p.esperas.isEmpty())
                continue;
            QVERIFY2(respuesta.size() == 1, qPrintable(donde + ": no JSON answer"));
            QJsonParseError e;
            const QJsonDocument doc = QJsonDocument::fromJson(respuesta[0].toUtf8(), &e);
            QVERIFY2(e.error == QJsonParseError::NoError,
                     qPrintable(donde + ": " + e.errorString()));
            const QJsonValue raiz = doc.isArray() ? QJsonValue(doc.array()) : doc.object();
            for (const auto& [ruta, valor] : p.esperas) {
                const QString visto = texto(buscar(raiz, ruta));
                QVERIFY2(visto == normalizar(valor),
                         qPrintable(donde + ": " + ruta + " is " + visto + ", expected " + valor));
            }
        }
    }

    // "captura RUTA completa" is the picture the player sees: the same twice
    // with no tick between, changed by the pause; the plain capture stays
    // the frame alone.
    void captura_completa() {
        QTemporaryDir d;
        const QString entrada = QStringLiteral("cargar %1/duelo.mapa 1 Arquero\n"
                                               "tick 3\n"
                                               "captura %2/plano.png\n"
                                               "captura %2/a.png completa\n"
                                               "captura %2/b.png completa\n"
                                               "tecla 80\n"
                                               "captura %2/pausa.png completa\n"
                                               "captura %2/plano2.png\n")
                                    .arg(TESTDATA_DIR, d.path());
        QProcess sim;
        sim.start(SIM, {});
        QVERIFY(sim.waitForStarted());
        sim.write(entrada.toUtf8());
        sim.closeWriteChannel();
        QVERIFY(sim.waitForFinished(60000));
        QCOMPARE(sim.readAllStandardOutput(), QByteArray());
        auto leer = [&](const char* n) { return QImage(d.filePath(n)); };
        QCOMPARE(leer("a.png").size(), QSize(800, 600));
        QCOMPARE(leer("a.png"), leer("b.png"));
        QVERIFY(leer("a.png") != leer("plano.png"));
        QVERIFY(leer("pausa.png") != leer("a.png"));
        QCOMPARE(leer("plano2.png"), leer("plano.png"));
    }
};

QTEST_GUILESS_MAIN(TestEscenarios)
#include "test_escenarios.moc"
