#include <QImage>
#include <QTest>

class TestRecursos : public QObject {
    Q_OBJECT
private slots:
    void carga() { QVERIFY(!QImage(":/imagenes/terreno0.png").isNull()); }
};

QTEST_GUILESS_MAIN(TestRecursos)
#include "test_recursos.moc"
