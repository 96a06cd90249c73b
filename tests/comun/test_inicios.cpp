#include "Comun/inicios.h"
#include "Comun/listamapas.h"

#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

Q_DECLARE_METATYPE(comun::posicion)

class TestInicios : public QObject {
    Q_OBJECT

private slots:
    void bloque_dentro_del_mapa_data() {
        QTest::addColumn<int>("lado");
        QTest::addColumn<comun::posicion>("inicio");
        QTest::addColumn<bool>("valido");
        QTest::newRow("columna-0") << 50 << comun::posicion{0, 5} << false;
        QTest::newRow("fila-0") << 50 << comun::posicion{5, 0} << false;
        QTest::newRow("columna-1") << 50 << comun::posicion{1, 1} << true;
        QTest::newRow("penultima-columna") << 50 << comun::posicion{48, 48} << true;
        QTest::newRow("ultima-columna") << 50 << comun::posicion{49, 5} << false;
        QTest::newRow("ultima-fila") << 50 << comun::posicion{5, 49} << false;
        QTest::newRow("fuera-del-mapa") << 50 << comun::posicion{60, 60} << false;
        QTest::newRow("mapa-de-2-sin-sitio") << 2 << comun::posicion{1, 1} << false;
        QTest::newRow("mapa-de-3-en-el-centro") << 3 << comun::posicion{1, 1} << true;
        QTest::newRow("rejilla-998") << 1000 << comun::posicion{998, 998} << true;
        QTest::newRow("rejilla-999") << 1000 << comun::posicion{999, 5} << false;
    }
    void bloque_dentro_del_mapa() {
        QFETCH(int, lado);
        QFETCH(comun::posicion, inicio);
        QFETCH(bool, valido);
        comun::plano p = comun::plano::vacio(int16_t(lado - 1), int16_t(lado - 1));
        for (int e = 0; e < 2; ++e) {
            p.inicio = {comun::posicion{1, 1}, comun::posicion{1, 1}};
            p.inicio[std::size_t(e)] = inicio;
            if (lado < 3)
                p.inicio[std::size_t(1 - e)] = inicio;
            QCOMPARE(comun::errorinicios(p).empty(), valido);
            if (!valido)
                QVERIFY(comun::errorinicios(p).find(comun::nombreequipo(e)) != std::string::npos);
        }
    }

    void lista_de_varias_carpetas() {
        namespace fs = std::filesystem;
        QTemporaryDir tmp;
        const fs::path usuario = fs::path(tmp.path().toStdString()) / "usuario";
        const fs::path programa = fs::path(tmp.path().toStdString()) / "programa";
        fs::create_directories(usuario);
        fs::create_directories(programa);
        for (const auto& [carpeta, archivo] :
             std::initializer_list<std::pair<fs::path, const char*>>{
                 {programa, "arena.mapa"},
                 {usuario, "arena.mapa"},
                 {programa, "bosque.mapa"},
                 {usuario, "Alto.MAPA"},
                 {programa, "Campo.mapa"},
                 {usuario, ".oculto.mapa"},
                 {programa, "notas.txt"},
                 {programa, "mapa"},
             })
            std::ofstream(carpeta / archivo) << "x";
        fs::create_directories(programa / "carpeta.mapa");
        const auto v = comun::listarmapas({usuario.string(),
                                           (fs::path(tmp.path().toStdString()) / "falta").string(),
                                           programa.string()});
        const std::vector<comun::mapalistado> esperado = {
            {"Alto.MAPA", (usuario / "Alto.MAPA").string()},
            {"arena.mapa", (usuario / "arena.mapa").string()},
            {"bosque.mapa", (programa / "bosque.mapa").string()},
            {"Campo.mapa", (programa / "Campo.mapa").string()},
        };
        QCOMPARE(v.size(), esperado.size());
        for (std::size_t i = 0; i < v.size(); ++i) {
            QCOMPARE(v[i].archivo, esperado[i].archivo);
            QCOMPARE(v[i].ruta, esperado[i].ruta);
        }
    }
};

QTEST_GUILESS_MAIN(TestInicios)
#include "test_inicios.moc"
