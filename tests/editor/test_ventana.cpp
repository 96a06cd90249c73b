#include "Comun/mapaarchivo.h"
#include "Comun/terreno.h"
#include "Editor/cajas.h"
#include "Editor/controles.h"
#include "Editor/escritura.h"
#include "Editor/ventana.h"
#include "Editor/vista.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <fstream>
#include <memory>

#include <sys/resource.h>

using namespace editor;

namespace {

// Answers the window's message boxes without showing them.
class contestador : public avisos {
public:
    struct aviso {
        QString texto;
        QString titulo;
        icono i;
    };
    QList<aviso> avisos;
    QStringList preguntas;
    bool respuesta = false;

    void avisar(const std::string& t, const std::string& ti, icono i) override {
        avisos.push_back({QString::fromStdString(t), QString::fromStdString(ti), i});
    }
    bool preguntar(const std::string& t, const std::string&) override {
        preguntas << QString::fromStdString(t);
        return respuesta;
    }
    decision eleccion = decision::cancelar;
    decision decidir(const std::string& t, const std::string&) override {
        preguntas << QString::fromStdString(t);
        return eleccion;
    }
};

QPoint centro(int x, int y) {
    return {x * tamcelda + tamcelda / 2, y * tamcelda + tamcelda / 2};
}

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestVentana : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp;
    std::unique_ptr<main> w;
    contestador c;

    QString carpeta() const { return tmp->path() + "/mapas"; }
    const estado& e() const { return w->centro().ver(); }

    void crear(const QString& ancho = "50", const QString& alto = "50") {
        QTest::mouseClick(w->nuevomapa, Qt::LeftButton);
        w->ancho->setCurrentText(ancho);
        w->alto->setCurrentText(alto);
        QTest::mouseClick(w->crear, Qt::LeftButton);
        // A new map opens at the fit zoom; the cases here click at 100 %.
        w->mnuTamanoreal->trigger();
        w->barrax->setValue(0);
        w->barray->setValue(0);
    }
    void clic(QWidget* v) { QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(11, 11)); }
    void colocar(int equipo, int x, int y) {
        clic(w->px[std::size_t(equipo)]);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(x, y));
    }
    // With `intro`, Enter in the name box saves instead of the button.
    void guardar(const QString& nombre, bool intro = false) {
        w->nombre->setText(nombre);
        if (intro) {
            w->nombre->setFocus();
            QTest::keyClick(w->nombre, Qt::Key_Return);
        } else
            QTest::mouseClick(w->guardar, Qt::LeftButton);
    }

    QTemporaryDir configuracion;

private slots:
    void initTestCase() {
        // The user's own settings are never read nor touched by a test.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configuracion.path()));
    }
    void init() {
        QSettings().clear();
        tmp = std::make_unique<QTemporaryDir>();
        c = contestador{};
        w = std::make_unique<main>(carpeta());
        w->ponermensajes(&c);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() {
        // Closing asks nothing once the map counts as saved.
        c.respuesta = true;
        w.reset();
    }

    void disposicion_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("sitio");
        QTest::addColumn<QString>("texto");
        QTest::newRow("mainpic") << "mainpic" << QRect(0, 0, 500, 500) << "";
        QTest::newRow("status") << "status" << QRect(0, 500, 777, 17) << "( 0 , 0 )";
        QTest::newRow("Label1") << "Label1" << QRect(528, 8, 113, 17) << "Nombre del mapa";
        QTest::newRow("nombre") << "nombre" << QRect(528, 24, 113, 19) << "";
        QTest::newRow("guardar") << "guardar" << QRect(528, 48, 113, 17) << "Guardar";
        QTest::newRow("file") << "file" << QRect(504, 72, 153, 136) << "";
        QTest::newRow("abrir") << "abrir" << QRect(528, 216, 113, 17) << "Abrir";
        QTest::newRow("nuevomapa") << "nuevomapa" << QRect(528, 240, 113, 17) << "Mapa nuevo";
        QTest::newRow("Label2") << "Label2" << QRect(536, 280, 105, 17) << "Terrenos";
        QTest::newRow("Label6") << "Label6" << QRect(560, 376, 65, 17) << "Jugadores";
        QTest::newRow("frame") << "frame" << QRect(664, 8, 97, 193) << "";
        QTest::newRow("Label3") << "Label3" << QRect(8, 8, 81, 17) << "Nuevo Mapa";
        QTest::newRow("Label4") << "Label4" << QRect(32, 48, 49, 17) << "Ancho";
        QTest::newRow("ancho") << "ancho" << QRect(16, 64, 65, 21) << "50";
        QTest::newRow("Label5") << "Label5" << QRect(40, 104, 41, 17) << "Alto";
        QTest::newRow("alto") << "alto" << QRect(16, 120, 65, 21) << "50";
        QTest::newRow("crear") << "crear" << QRect(8, 160, 81, 17) << "Crear";
        QTest::newRow("minimapa") << "minimapa" << QRect(672, 280, 150, 150) << "";
        QTest::newRow("barrax") << "barrax" << QRect(672, 432, 150, 15) << "";
        QTest::newRow("barray") << "barray" << QRect(824, 280, 15, 150) << "";
    }
    void disposicion() {
        QFETCH(QString, control);
        QFETCH(QRect, sitio);
        QFETCH(QString, texto);
        QCOMPARE(w->windowTitle(), QString("Tarnhollow Editor"));
        // Below the menu bar, the window is the size it always was.
        QCOMPARE(w->cuerpo->size(), QSize(840, 519));
        QCOMPARE(w->cuerpo->y(), w->menuBar()->height());
        QCOMPARE(w->height(), 519 + w->menuBar()->height());
        auto* x = w->findChild<QWidget*>(control);
        QVERIFY(x);
        QCOMPARE(x->geometry(), sitio);
        if (auto* l = qobject_cast<QLabel*>(x))
            QCOMPARE(l->text(), texto);
        else if (auto* b = qobject_cast<QPushButton*>(x))
            QCOMPARE(b->text(), texto);
        else if (auto* cb = qobject_cast<QComboBox*>(x))
            QCOMPARE(cb->currentText(), texto);
    }

    void paleta_en_su_sitio() {
        const QList<QPoint> terrenos = {{544, 296}, {608, 296}, {576, 328},
                                        {608, 328}, {544, 328}, {576, 296}};
        for (std::size_t i = 0; i < 6; ++i)
            QCOMPARE(w->terrenos[i]->geometry(), QRect(terrenos[int(i)], QSize(22, 22)));
        QCOMPARE(w->px[0]->geometry(), QRect(560, 400, 22, 22));
        QCOMPARE(w->px[1]->geometry(), QRect(592, 400, 22, 22));
        QStringList tamanos;
        for (int i = 0; i < w->ancho->count(); ++i)
            tamanos << w->ancho->itemText(i);
        QCOMPARE(tamanos, QStringList({"50", "75", "100", "150", "200"}));
    }

    void panel_de_mapa_nuevo() {
        // Before there is a map the view's scroll bars have nothing to show.
        QVERIFY(w->barrax->isHidden() && w->barray->isHidden());
        QVERIFY(!w->frame->isVisible());
        QTest::mouseClick(w->nuevomapa, Qt::LeftButton);
        QVERIFY(w->frame->isVisible());
        QVERIFY(w->frame->geometry().right() < w->width());
        QTest::mouseClick(w->crear, Qt::LeftButton);
        QVERIFY(!w->barrax->isHidden() && !w->barray->isHidden());
        QVERIFY(!w->frame->isVisible());
        QCOMPARE(w->cuerpo->size(), QSize(840, 519));
    }

    void ventana_mayor_vista_mayor() {
        crear("200", "200");
        w->resize(1200, 800 + w->menuBar()->height());
        QCOMPARE(w->mainpic->size(), QSize(860, 781));
        QCOMPARE(w->nombre->pos(), QPoint(528 + 360, 24));
        // The list grows downward, and what stands below it follows.
        QCOMPARE(w->file->geometry(), QRect(504 + 360, 72, 153, 136 + 281));
        QCOMPARE(w->abrir->pos(), QPoint(528 + 360, 216 + 281));
        QCOMPARE(w->minimapa->pos(), QPoint(672 + 360, 280 + 281));
        QCOMPARE(w->status->y(), 781);
        QCOMPARE(e().celdasx(), 43);
        QCOMPARE(w->barrax->maximum(), 200 - 43);
        QCOMPARE(w->barray->maximum(), 200 - 39);
        // A start in the corner shows on the minimap, over the view's frame,
        // though a cell is under a pixel there.
        colocar(0, 1, 1);
        QCOMPARE(QColor(w->minimapa->imagen.pixel(2, 2)), QColor(230, 0, 0));
        // The minimap: a click centres the view there.
        QTest::mouseClick(w->minimapa, Qt::LeftButton, {}, QPoint(75, 30));
        QCOMPARE(QPoint(e().vistax, e().vistay), QPoint(100 - 21, 40 - 19));
        QCOMPARE(w->barrax->value(), 79);
        w->barray->setValue(50);
        QCOMPARE(e().vistay, int16_t(50));
        // Ctrl + wheel zooms out around the pointer.
        const QPoint sitio(430, 300);
        const QPoint antes(e().vistax + sitio.x() / 20, e().vistay + sitio.y() / 20);
        QWheelEvent rueda(sitio, w->mainpic->mapToGlobal(sitio), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->mainpic, &rueda);
        QCOMPARE(e().tamano, int16_t(10));
        QCOMPARE(QPoint(e().vistax + sitio.x() / 10, e().vistay + sitio.y() / 10), antes);
        // Zoomed out, the start has a ring in its colour around it.
        w->barrax->setValue(0);
        w->barray->setValue(0);
        QCOMPARE(QColor(w->mainpic->imagen.pixel(15 + 15, 15)), QColor(230, 0, 0));
    }

    void abrir_deja_el_panel_visible() {
        crear();
        colocar(0, 5, 5);
        colocar(1, 9, 9);
        guardar("panel", true);
        // Saved by Enter, the keys are the map's again.
        QCOMPARE(w->focusWidget(), w->mainpic);
        QTest::mouseClick(w->nuevomapa, Qt::LeftButton);
        w->file->setCurrentRow(0);
        QTest::mouseClick(w->abrir, Qt::LeftButton);
        QCOMPARE(e().guardado, verdadero);
        QCOMPARE(w->nombre->text(), QString("panel"));
        QCOMPARE(w->windowTitle(), QString("Tarnhollow Editor — panel[*]"));
        QVERIFY(w->frame->isVisible());
    }

    void el_mapa_toma_las_teclas() {
        // Straight after Crear or Abrir, 3 chooses a terrain (a wall); it is
        // not typed into the name box.
        for (bool abrir : {false, true}) {
            if (abrir) {
                colocar(0, 5, 5);
                colocar(1, 20, 20);
                guardar("teclas");
                w->file->setCurrentRow(0);
                w->nombre->setFocus();
                QTest::mouseClick(w->abrir, Qt::LeftButton);
            } else {
                crear();
            }
            QCOMPARE(w->focusWidget(), w->mainpic);
            clic(w->terrenos[comun::pasto]);
            QTest::keyClick(w->focusWidget(), Qt::Key_3);
            QCOMPARE(e().pincel, int16_t(comun::pared));
        }
    }

    void tamanos_escritos_data() {
        QTest::addColumn<QString>("ancho");
        QTest::addColumn<int>("anchomapa"); // -1: refused, no map
        QTest::newRow("de-la-lista") << "75" << 74;
        QTest::newRow("sesenta") << "60" << 59;
        QTest::newRow("mil") << "1000" << 999;
        QTest::newRow("muy-pequeno") << "30" << -1;
        QTest::newRow("mas-de-mil-no-se-escribe") << "2000" << -1;
    }
    void tamanos_escritos() {
        QFETCH(QString, ancho);
        QFETCH(int, anchomapa);
        QTest::mouseClick(w->nuevomapa, Qt::LeftButton);
        w->ancho->setFocus();
        w->ancho->lineEdit()->selectAll();
        QTest::keyClicks(w->ancho->lineEdit(), ancho);
        QTest::mouseClick(w->crear, Qt::LeftButton);
        if (anchomapa < 0) {
            QCOMPARE(e().haymapa, falso);
            QCOMPARE(c.avisos.size(), 1);
            QVERIFY(c.avisos[0].texto.contains("del 50 al 1000"));
        } else {
            QCOMPARE(e().anchomapa, int16_t(anchomapa));
            QCOMPARE(e().altomapa, int16_t(49));
            QVERIFY(c.avisos.isEmpty());
        }
    }

    void teclas_donde_se_mira() {
        for (const char* nombre : {"a.mapa", "b.mapa", "c.mapa"})
            QFile(carpeta() + "/" + nombre).open(QIODevice::WriteOnly);
        crear();
        w->nombre->setFocus();
        QTest::keyClicks(w->nombre, "Mapa");
        QTest::keyClick(w->nombre, Qt::Key_Left);
        QTest::keyClick(w->nombre, Qt::Key_Down);
        QCOMPARE(w->status->text().section("    ", 0, 0), QString("( 0 , 0 )"));
        QCOMPARE(w->nombre->cursorPosition(), 3);
        QTest::keyClick(w->nombre, Qt::Key_M);
        QVERIFY(!e().simetrico);
        QTRY_COMPARE(w->file->count(), 3);
        w->file->setFocus();
        w->file->setCurrentRow(0);
        QTest::keyClick(w->file, Qt::Key_Down);
        QTest::keyClick(w->file, Qt::Key_Right);
        QCOMPARE(w->status->text().section("    ", 0, 0), QString("( 0 , 0 )"));
        QCOMPARE(w->file->currentRow(), 1);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(20, 20));
        QTest::keyClick(w->mainpic, Qt::Key_Right);
        QTest::keyClick(w->mainpic, Qt::Key_Down);
        QCOMPARE(w->status->text().section("    ", 0, 0), QString("( 3 , 3 )"));
        // A size list takes typed digits as a side, not as a terrain key.
        const int16_t pincel = e().pincel;
        QTest::keyClicks(w->ancho, "3");
        QCOMPARE(w->ancho->currentText(), QString("503"));
        QCOMPARE(e().pincel, pincel);
    }

    void raton_pinta_y_coloca() {
        crear();
        clic(w->terrenos[comun::pared]);
        QTest::mousePress(w->mainpic, Qt::LeftButton, {}, centro(2, 2));
        QTest::mouseMove(w->mainpic, centro(3, 2));
        QTest::mouseMove(w->mainpic, centro(4, 3));
        QTest::mouseRelease(w->mainpic, Qt::LeftButton, {}, centro(4, 3));
        QTest::mouseMove(w->mainpic, centro(8, 8));
        QCOMPARE(e().celda(2, 2).terreno, int16_t(comun::pared));
        QCOMPARE(e().celda(3, 2).terreno, int16_t(comun::pared));
        QCOMPARE(e().celda(4, 3).transitable, falso);
        QCOMPARE(e().celda(8, 8).terreno, int16_t(comun::pasto));

        colocar(0, 3, 3); // next to the wall: refused
        QCOMPARE(c.avisos.size(), 1);
        QCOMPARE(c.avisos[0].texto, QString("Necesita tener espacio alrededor"));
        QCOMPARE(c.avisos[0].titulo, QString("Atencion"));
        QVERIFY(c.avisos[0].i == icono::informacion);
        colocar(0, 10, 10);
        QCOMPARE(e().celda(10, 10).marca, int16_t(0));
    }

    void marcas_pintadas_con_mascara() {
        crear();
        colocar(0, 5, 5);
        colocar(1, 7, 5);
        const QImage& img = w->mainpic->imagen;
        const QImage rojo(":/imagenes/equis0.png");
        QVERIFY(!rojo.isNull());
        QImage tile = QImage(":/imagenes/terreno0.png").convertToFormat(QImage::Format_RGB32);
        QImage eq0 = rojo.convertToFormat(QImage::Format_RGB32);
        QImage eq1 = QImage(":/imagenes/equis1.png").convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                // Where the mask is black the X shows; elsewhere the tile.
                bool enx = qGray(eq0.pixel(20 + x, y)) < 128;
                QRgb esperado = enx ? eq0.pixel(x, y) : tile.pixel(x, y);
                QCOMPARE(img.pixel(100 + x, 100 + y) | 0xff000000, esperado | 0xff000000);
                bool enx1 = qGray(eq1.pixel(20 + x, y)) < 128;
                QRgb esperado1 = enx1 ? eq1.pixel(x, y) : tile.pixel(x, y);
                QCOMPARE(img.pixel(140 + x, 100 + y) | 0xff000000, esperado1 | 0xff000000);
            }
        }
    }

    void guardar_y_cerrar() {
        crear();
        colocar(0, 5, 5);
        colocar(1, 20, 20);
        guardar("uno");
        QCOMPARE(w->status->text().section("    ", 0, 0),
                 "GUARDADO en " + QDir(carpeta()).absolutePath() + "/uno.mapa");
        QCOMPARE(w->windowTitle(), QString("Tarnhollow Editor — uno[*]"));
        QVERIFY(!w->isWindowModified());
        QCOMPARE(w->file->currentItem()->text(), QString("uno.mapa"));
        QCOMPARE(leer(carpeta() + "/uno.mapa"),
                 QByteArray::fromStdString(comun::escribirmapa(w->centro().plano())));
        QCOMPARE(w->file->count(), 1);
        QCOMPARE(w->file->item(0)->text(), QString("uno.mapa"));
        QVERIFY(w->close());
        QVERIFY(c.preguntas.isEmpty());
    }

    void cerrar_con_cambios_y_decir_no() {
        crear();
        colocar(0, 5, 5);
        colocar(1, 20, 20);
        guardar("dos");
        clic(w->terrenos[comun::agua]);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(12, 12));
        c.respuesta = false;
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(c.preguntas, QStringList("¿Desea salir sin guardar el mapa?"));
        c.respuesta = true;
        QVERIFY(w->close());
    }

    void guardar_encima_de_un_mapa_mayor() {
        // A longer file of the same name: the new file holds only the new text.
        comun::plano grande = comun::plano::vacio(199, 199);
        grande.inicio = {comun::posicion{5, 5}, comun::posicion{50, 50}};
        QFile f(carpeta() + "/tres.mapa");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(comun::escribirmapa(grande)));
        f.close();
        crear();
        colocar(0, 5, 5);
        colocar(1, 20, 20);
        c.respuesta = true; // replace it
        guardar("tres");
        QCOMPARE(c.preguntas.size(), 1);
        QByteArray hecho = leer(carpeta() + "/tres.mapa");
        QCOMPARE(hecho, QByteArray::fromStdString(comun::escribirmapa(w->centro().plano())));
        comun::lectura l = comun::leerarchivo((carpeta() + "/tres.mapa").toStdString());
        QVERIFY(l);
        QCOMPARE(l.mapa->anchomapa, int16_t(49));
    }

    void guardar_sin_carpeta_posible() {
        // A plain file where the maps folder should be: nothing can be written.
        w.reset();
        QVERIFY(QDir(carpeta()).removeRecursively());
        QFile estorbo(carpeta());
        QVERIFY(estorbo.open(QIODevice::WriteOnly));
        estorbo.close();
        w = std::make_unique<main>(carpeta());
        w->ponermensajes(&c);
        QCOMPARE(w->file->count(), 0);
        crear();
        colocar(0, 5, 5);
        colocar(1, 20, 20);
        guardar("cuatro");
        QCOMPARE(c.avisos.size(), 1);
        QCOMPARE(c.avisos[0].titulo, QString("Guardar"));
        QVERIFY(c.avisos[0].i == icono::critico);
        QCOMPARE(w->status->text().section("    ", 0, 0), QString("( 0 , 0 )"));
        QCOMPARE(e().guardado, falso);
    }

    void deshacer_con_el_teclado() {
        crear();
        clic(w->terrenos[comun::agua]);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(4, 4));
        QVERIFY(w->isWindowModified());
        w->nombre->setFocus();
        QTest::keyClicks(w->nombre, "isla");
        QTest::keyClick(w->nombre, Qt::Key_Z, Qt::ControlModifier);
        // The text's undo, not the map's.
        QCOMPARE(e().celda(4, 4).terreno, int16_t(comun::agua));
        QCOMPARE(w->nombre->text(), QString());
        QTest::keyClick(w->nombre, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w->nombre->text(), QString("isla"));
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(20, 20));
        QTest::keyClick(w->mainpic, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(w->mainpic, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e().celda(4, 4).terreno, int16_t(comun::pasto));
        QVERIFY(!w->isWindowModified());
        QTest::keyClick(w->mainpic, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(e().celda(4, 4).terreno, int16_t(comun::agua));
        QVERIFY(w->isWindowModified());
    }

    void modo_simetrico_en_el_titulo() {
        crear();
        const QString titulo = w->windowTitle();
        QCOMPARE(titulo, QString("Tarnhollow Editor — Sin nombre[*]"));
        w->nombre->setFocus();
        QTest::keyClicks(w->nombre, "Mm");
        QCOMPARE(w->windowTitle(), titulo);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(20, 20));
        QCOMPARE(QApplication::focusWidget(), w->mainpic);
        QTest::keyClick(w->mainpic, Qt::Key_M);
        QVERIFY(w->windowTitle() != titulo);
        QVERIFY(w->windowTitle().startsWith(titulo));
        clic(w->terrenos[comun::pared]);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(1, 2));
        QCOMPARE(e().celda(48, 47).terreno, int16_t(comun::pared));
        QTest::keyClick(w->mainpic, Qt::Key_M);
        QCOMPARE(w->windowTitle(), titulo);
    }

    void la_lista_sigue_la_carpeta() {
        comun::plano p = comun::plano::vacio(49, 49);
        p.inicio = {comun::posicion{5, 5}, comun::posicion{9, 9}};
        p.ponerterreno(7, 7, comun::arbol);
        QFile f(carpeta() + "/nuevo.mapa");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(comun::escribirmapa(p)));
        f.close();
        QTRY_COMPARE(w->file->count(), 1);
        QListWidgetItem* item = w->file->item(0);
        const QPoint sitio = w->file->visualItemRect(item).center();
        QTest::mouseClick(w->file->viewport(), Qt::LeftButton, {}, sitio);
        QTest::mouseDClick(w->file->viewport(), Qt::LeftButton, {}, sitio);
        QCOMPARE(e().haymapa, verdadero);
        QCOMPARE(e().celda(7, 7).terreno, int16_t(comun::arbol));
        QVERIFY(QFile::remove(carpeta() + "/nuevo.mapa"));
        QTRY_COMPARE(w->file->count(), 0);
    }

    void nombre_de_archivo_que_no_es_utf8() {
        // Latin-1 "latín", from an older system: listed, so it opens.
        comun::plano p = comun::plano::vacio(49, 49);
        p.inicio = {comun::posicion{5, 5}, comun::posicion{20, 20}};
        p.ponerterreno(7, 7, comun::arbol);
        std::ofstream(QFile::encodeName(carpeta()).toStdString() + "/lat\xe9n.mapa",
                      std::ios::binary)
            << comun::escribirmapa(p);
        QTRY_COMPARE(w->file->count(), 1);
        w->file->setCurrentRow(0);
        QTest::mouseClick(w->abrir, Qt::LeftButton);
        QVERIFY(c.avisos.isEmpty());
        QCOMPARE(e().celda(7, 7).terreno, int16_t(comun::arbol));
    }

    void errores_de_escritura_en_castellano_data() {
        QTest::addColumn<QString>("ruta");
        QTest::addColumn<QString>("dice");
        QTest::addColumn<int>("limite"); // file size limit in bytes, 0 for none
        QTest::newRow("nombre-largo") << QString(300, 'n') + ".mapa"
                                      << "demasiado largo" << 0;
        QTest::newRow("carpeta-que-es-archivo") << "estorbo/x.mapa"
                                                << "Ya hay un archivo con ese nombre" << 0;
        QTest::newRow("limite-de-tamano") << "grande.mapa"
                                          << "tamaño máximo" << 1024;
    }
    void errores_de_escritura_en_castellano() {
        QFETCH(QString, ruta);
        QFETCH(QString, dice);
        QFETCH(int, limite);
        const QString destino = tmp->path() + "/" + ruta;
        QFile(tmp->path() + "/estorbo").open(QIODevice::WriteOnly);
        if (QFile viejo(destino); viejo.open(QIODevice::WriteOnly))
            viejo.write("viejo");
        const QByteArray antes = leer(destino);
        rlimit previo{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previo), 0);
        if (limite > 0) {
            rlimit menor = previo;
            menor.rlim_cur = rlim_t(limite);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &menor), 0);
        }
        const std::string texto =
            escribirarchivo(destino.toStdString(), std::string(std::size_t(4 * limite + 1), 'x'));
        setrlimit(RLIMIT_FSIZE, &previo);
        QVERIFY2(QString::fromStdString(texto).contains(dice), texto.c_str());
        // Qt's text when it lost the reason says nothing to anyone.
        QVERIFY2(!QString::fromStdString(texto).contains(QStringLiteral("Unknown error")),
                 texto.c_str());
        QCOMPARE(leer(destino), antes);
    }

    void la_pregunta_de_verdad_dice_no_con_intro() {
        cajas reales(w.get());
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
        });
        QVERIFY(!reales.preguntar("¿Desea salir sin guardar el mapa?", "Guardar"));
    }

    void relleno_y_rectangulo_con_el_raton() {
        crear();
        clic(w->terrenos[comun::piso]);
        QTest::mousePress(w->mainpic, Qt::LeftButton, Qt::ControlModifier, centro(2, 2));
        QTest::mouseMove(w->mainpic, centro(5, 4));
        QImage durante = w->mainpic->imagen.copy();
        QTest::mouseRelease(w->mainpic, Qt::LeftButton, Qt::ControlModifier, centro(6, 4));
        QCOMPARE(e().celda(6, 4).terreno, int16_t(comun::piso));
        QCOMPARE(e().celda(2, 2).terreno, int16_t(comun::piso));
        QCOMPARE(e().celda(7, 4).terreno, int16_t(comun::pasto));
        // The outline shows while dragging and is gone with the release.
        QVERIFY(durante != w->mainpic->imagen);
        QVERIFY(durante.pixel(40, 70) != w->mainpic->imagen.pixel(40, 70));

        clic(w->terrenos[comun::agua]);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, Qt::ShiftModifier, centro(10, 10));
        QCOMPARE(e().celda(49, 49).terreno, int16_t(comun::agua));
        QCOMPARE(e().celda(4, 3).terreno, int16_t(comun::piso));
    }

    void menus_con_sus_teclas_data() {
        QTest::addColumn<QString>("accion");
        QTest::addColumn<QKeySequence>("tecla");
        QTest::newRow("nuevo") << "mnuNuevo" << QKeySequence(Qt::CTRL | Qt::Key_N);
        QTest::newRow("abrir") << "mnuAbrir" << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("guardar") << "mnuGuardar" << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("guardar-como")
            << "mnuGuardarcomo" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("salir") << "mnuSalir" << QKeySequence(Qt::CTRL | Qt::Key_Q);
        QTest::newRow("deshacer") << "mnuDeshacer" << QKeySequence(Qt::CTRL | Qt::Key_Z);
        QTest::newRow("tamano-real") << "mnuTamanoreal" << QKeySequence(Qt::CTRL | Qt::Key_0);
        QTest::newRow("zonas-sin-acceso") << "mnuTinte" << QKeySequence(Qt::Key_C);
        QTest::newRow("espejo") << "mnuEspejo" << QKeySequence(Qt::Key_M);
        QTest::newRow("controles") << "mnuControles" << QKeySequence(Qt::Key_F1);
        QTest::newRow("borrar") << "mnuBorrar" << QKeySequence(Qt::Key_Delete);
        QTest::newRow("renombrar") << "mnuRenombrar" << QKeySequence(Qt::Key_F2);
    }
    void menus_con_sus_teclas() {
        QFETCH(QString, accion);
        QFETCH(QKeySequence, tecla);
        auto* a = w->findChild<QAction*>(accion);
        QVERIFY(a);
        QCOMPARE(a->shortcut(), tecla);
        // Shown in a menu, so the key is written beside the entry.
        bool enmenu = false;
        for (QObject* o : a->associatedObjects())
            enmenu = enmenu || qobject_cast<QMenu*>(o);
        QVERIFY(enmenu);
    }

    void teclas_de_los_menus_actuan() {
        crear();
        clic(w->terrenos[comun::agua]);
        QTest::mousePress(w->mainpic, Qt::LeftButton, Qt::ShiftModifier, centro(3, 3));
        QTest::mouseRelease(w->mainpic, Qt::LeftButton, Qt::ShiftModifier, centro(3, 3));
        QCOMPARE(w->mnuDeshacer->text(), QString("Deshacer relleno"));
        QTest::keyClick(w->mainpic, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e().celda(3, 3).terreno, int16_t(comun::pasto));
        QCOMPARE(w->mnuRehacer->text(), QString("Rehacer relleno"));
        QTest::keyClick(w->mainpic, Qt::Key_C);
        QVERIFY(e().vertinte && w->mnuTinte->isChecked() && w->tinte->isChecked());
        QTest::keyClick(w->mainpic, Qt::Key_M);
        QVERIFY(e().simetrico && w->mnuEspejo->isChecked());
        QTest::keyClick(w->mainpic, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(e().tamano, int16_t(10));
        QTest::keyClick(w->mainpic, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(e().tamano, int16_t(20));
        // In the name box the same letters are typing.
        w->nombre->setFocus();
        QTest::keyClicks(w->nombre, "cm");
        QCOMPARE(w->nombre->text(), QString("cm"));
        QVERIFY(e().vertinte && e().simetrico);
        QTest::keyClick(w->nombre, Qt::Key_F1);
        QVERIFY(w->ayuda && w->ayuda->isVisible());
    }

    void ayuda_y_readme_de_una_lista() {
        w->mnuControles->trigger();
        auto* tabla = w->ayuda->findChild<QTableWidget*>("tabla");
        QVERIFY(tabla);
        QCOMPARE(tabla->rowCount(), int(controles().size()));
        // The README's table of the editor's controls is the same list.
        QFile readme(QStringLiteral(MAPAS_DIR) + "/../README.md");
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString texto = QString::fromUtf8(readme.readAll());
        const int desde = texto.indexOf("| tecla o ratón | acción |");
        QVERIFY(desde >= 0);
        QStringList filas;
        for (const QString& l : texto.mid(desde).split('\n').mid(2)) {
            if (!l.startsWith('|'))
                break;
            filas << l;
        }
        QCOMPARE(filas.size(), tabla->rowCount());
        for (int i = 0; i < tabla->rowCount(); ++i)
            QCOMPARE(filas[i],
                     "| " + tabla->item(i, 0)->text() + " | " + tabla->item(i, 1)->text() + " |");
    }

    void preguntas_de_verdad_data() {
        // tecla: pressed in the box; otherwise boton, the standard button
        // clicked.
        QTest::addColumn<QString>("caja");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("boton");
        QTest::addColumn<int>("respuesta");
        QTest::newRow("guardar-con-intro")
            << "decidir" << int(Qt::Key_Return) << 0 << int(decision::guardar);
        QTest::newRow("cancelar-con-esc")
            << "decidir" << int(Qt::Key_Escape) << 0 << int(decision::cancelar);
        QTest::newRow("descartar")
            << "decidir" << 0 << int(QMessageBox::Discard) << int(decision::descartar);
        QTest::newRow("salir-no-con-intro") << "preguntar" << int(Qt::Key_Return) << 0 << 0;
        QTest::newRow("salir-si") << "preguntar" << 0 << int(QMessageBox::Yes) << 1;
    }
    void preguntas_de_verdad() {
        QFETCH(QString, caja);
        QFETCH(int, tecla);
        QFETCH(int, boton);
        QFETCH(int, respuesta);
        cajas reales(w.get());
        w->nombre->setFocus();
        QTimer::singleShot(0, [tecla, boton] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(m);
            if (tecla)
                QTest::keyClick(m, Qt::Key(tecla));
            else
                m->button(QMessageBox::StandardButton(boton))->click();
        });
        if (caja == "decidir")
            QCOMPARE(int(reales.decidir("¿Desea guardarlos?", "Abrir otro mapa")), respuesta);
        else
            QCOMPARE(int(reales.preguntar("¿Desea salir sin guardar el mapa?", "Guardar")),
                     respuesta);
        // The keys are back where they were.
        QCOMPARE(w->focusWidget(), w->nombre);
    }

    void intro_y_esc_devuelven_las_teclas_al_mapa() {
        // A map the save check complains about: both teams on one cell.
        comun::plano p = comun::plano::vacio(49, 49);
        p.inicio = {comun::posicion{5, 5}, comun::posicion{5, 5}};
        std::ofstream(QFile::encodeName(carpeta()).toStdString() + "/mismo.mapa")
            << comun::escribirmapa(p);
        QTRY_COMPARE(w->file->count(), 1);
        w->file->setCurrentRow(0);
        QTest::mouseClick(w->abrir, Qt::LeftButton);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(20, 20));
        w->nombre->setFocus();
        c.respuesta = false; // "¿Guardar de todos modos?" No
        QTest::keyClick(w->nombre, Qt::Key_Return);
        QCOMPARE(c.preguntas.size(), 1);
        QCOMPARE(QApplication::focusWidget(), w->mainpic);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C);
        QCOMPARE(w->nombre->text(), QString("mismo"));
        c.respuesta = true;
        QTest::mouseClick(w->guardar, Qt::LeftButton);
        QVERIFY(!QFile::exists(carpeta() + "/mismoc.mapa"));
        QVERIFY(QFile::exists(carpeta() + "/mismo.mapa"));
        // Esc leaves the name box as it is.
        w->nombre->setFocus();
        QTest::keyClick(w->nombre, Qt::Key_X);
        QTest::keyClick(w->nombre, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), w->mainpic);
        QCOMPARE(w->nombre->text(), QString("mismox"));
        // Crear starts without the last map's name.
        c.eleccion = decision::descartar;
        crear();
        QCOMPARE(w->nombre->text(), QString());
        QCOMPARE(w->windowTitle(), QString("Tarnhollow Editor — Sin nombre[*]"));
    }

    void supr_y_f2_en_la_lista_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("enfoque"); // where the key is pressed
        QTest::addColumn<QStringList>("quedan");
        QTest::newRow("supr-en-la-lista")
            << int(Qt::Key_Delete) << "file" << QStringList{"b.mapa"};
        QTest::newRow("supr-en-el-nombre")
            << int(Qt::Key_Delete) << "nombre" << QStringList{"a.mapa", "b.mapa"};
        QTest::newRow("f2-en-la-lista")
            << int(Qt::Key_F2) << "file" << QStringList{"b.mapa", "c.mapa"};
    }
    void supr_y_f2_en_la_lista() {
        QFETCH(int, tecla);
        QFETCH(QString, enfoque);
        QFETCH(QStringList, quedan);
        qputenv("XDG_DATA_HOME", QFile::encodeName(tmp->path() + "/datos"));
        crear();
        colocar(0, 5, 5);
        colocar(1, 20, 20);
        guardar("b");
        guardar("a");
        w->file->setCurrentRow(0);
        c.respuesta = true;
        QWidget* donde = enfoque == "file" ? static_cast<QWidget*>(w->file) : w->nombre;
        donde->setFocus();
        if (tecla == Qt::Key_F2) {
            QTimer::singleShot(0, [] {
                QTRY_VERIFY(QApplication::activeModalWidget());
                auto* campo = QApplication::activeModalWidget()->findChild<QLineEdit*>();
                QVERIFY(campo);
                campo->setText("c");
                QTest::keyClick(campo, Qt::Key_Return);
            });
        }
        QTest::keyClick(donde, Qt::Key(tecla));
        QStringList hay;
        for (int i = 0; i < w->file->count(); ++i)
            hay << w->file->item(i)->data(Qt::UserRole).toString();
        QCOMPARE(hay, quedan);
        QCOMPARE(QDir(carpeta()).entryList({"*.mapa"}), quedan);
    }

    void ejemplo_marcado_en_la_lista() {
        QTemporaryDir ejemplos;
        comun::plano p = comun::plano::vacio(49, 49);
        p.inicio = {comun::posicion{5, 5}, comun::posicion{20, 20}};
        for (const QString& d : {ejemplos.path(), carpeta()})
            std::ofstream(QFile::encodeName(d).toStdString() + "/pradera.mapa")
                << comun::escribirmapa(p);
        w = std::make_unique<main>(carpeta(), QString(), ejemplos.path());
        w->ponermensajes(&c);
        QCOMPARE(w->file->item(0)->text(), QString("pradera.mapa"));
        w->file->setCurrentRow(0);
        QTest::mouseClick(w->abrir, Qt::LeftButton);
        clic(w->terrenos[comun::agua]);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(15, 15));
        c.respuesta = true;
        QTest::mouseClick(w->guardar, Qt::LeftButton);
        QCOMPARE(c.preguntas.size(), 1);
        QCOMPARE(w->file->item(0)->text(), QString("pradera.mapa (copia cambiada)"));
        w->mnuRestaurar->trigger();
        QCOMPARE(w->file->item(0)->text(), QString("pradera.mapa"));
    }

    void cambio_de_fuera_se_ofrece() {
        crear();
        colocar(0, 5, 5);
        colocar(1, 20, 20);
        guardar("islotes");
        comun::plano p = w->centro().plano();
        p.ponerterreno(30, 30, comun::arbol);
        c.respuesta = true; // load it again
        std::ofstream(QFile::encodeName(carpeta()).toStdString() + "/islotes.mapa")
            << comun::escribirmapa(p);
        QTRY_COMPARE(e().celda(30, 30).terreno, int16_t(comun::arbol));
        QCOMPARE(c.preguntas.size(), 1);
    }

    void se_recuerda() {
        crear();
        colocar(0, 5, 5);
        colocar(1, 20, 20);
        guardar("memoria");
        clic(w->terrenos[comun::pared]);
        QTest::keyClick(w->mainpic, Qt::Key_Minus, Qt::ControlModifier);
        w->resize(1000, 700);
        QVERIFY(w->close());
        w = std::make_unique<main>(carpeta());
        w->ponermensajes(&c);
        QCOMPARE(w->size(), QSize(1000, 700));
        QCOMPARE(e().pincel, int16_t(comun::pared));
        QCOMPARE(e().tamano, int16_t(10));
        QCOMPARE(w->file->currentItem()->text(), QString("memoria.mapa"));
        QCOMPARE(w->recientes(), QStringList{QDir(carpeta()).absolutePath() + "/memoria.mapa"});
    }

    void probar_con_f5() {
        crear();
        colocar(0, 5, 5);
        colocar(1, 20, 20);
        // A stand-in for the game: the window runs nothing in a test.
        const QString juego = tmp->path() + "/juego/Tarnhollow";
        QDir().mkpath(tmp->path() + "/juego");
        QFile f(juego);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        w->sitiosjuego = {tmp->path() + "/no-esta", juego};
        QString programa;
        QStringList argumentos;
        w->lanzador = [&](const QString& p, const QStringList& a) {
            programa = p;
            argumentos = a;
            return QString();
        };
        QTest::keyClick(w->mainpic, Qt::Key_F5);
        QVERIFY(c.avisos.isEmpty());
        QCOMPARE(programa, juego);
        QCOMPARE(argumentos.size(), 4);
        QCOMPARE(argumentos[0], QString("--mapa"));
        QCOMPARE(argumentos[2], QString("--guerreros"));
        QCOMPARE(argumentos[3], QString("4"));
        QVERIFY(!argumentos[1].startsWith(carpeta()));
        QCOMPARE(leer(argumentos[1]),
                 QByteArray::fromStdString(comun::escribirmapa(w->centro().plano())));
        QVERIFY(w->status->text().contains("Probando"));
    }

    void copiar_entre_dos_ventanas() {
        crear();
        clic(w->terrenos[comun::pared]);
        QTest::mouseClick(w->mainpic, Qt::LeftButton, {}, centro(2, 2));
        QTest::keyClick(w->mainpic, Qt::Key_S);
        QVERIFY(w->mnuSeleccion->isChecked());
        QTest::mousePress(w->mainpic, Qt::LeftButton, {}, centro(2, 2));
        QTest::mouseMove(w->mainpic, centro(3, 2));
        QTest::mouseRelease(w->mainpic, Qt::LeftButton, {}, centro(3, 2));
        QVERIFY(w->status->text().contains("selección 2 x 1"));
        QVERIFY(w->mnuCopiar->isEnabled());
        QTest::keyClick(w->mainpic, Qt::Key_C, Qt::ControlModifier);
        main otra(carpeta());
        otra.ponermensajes(&c);
        otra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&otra));
        otra.crear->click();
        otra.mnuTamanoreal->trigger();
        otra.barrax->setValue(0);
        otra.barray->setValue(0);
        otra.mainpic->setFocus();
        QTest::keyClick(otra.mainpic, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(otra.centro().ver().pegando);
        QTest::mouseClick(otra.mainpic, Qt::LeftButton, {}, centro(10, 10));
        QCOMPARE(otra.centro().ver().celda(9, 10).terreno, int16_t(comun::pared));
        QCOMPARE(otra.centro().ver().celda(10, 10).terreno, int16_t(comun::pasto));
        QVERIFY(c.avisos.isEmpty());
    }
};

QTEST_MAIN(TestVentana)
#include "test_ventana.moc"
