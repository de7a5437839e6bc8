// La grilla compartida: modelo, celda actual y selección, desplazamiento,
// rectángulos, colores, celdas fijas combinadas, eventos y rutinas comunes.
#include "Pruebas.h"

#include "common/Grilla.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

#include <memory>

namespace {

// Una grilla de 100 filas y 6 columnas, con la fila 0 y la columna 0 fijas,
// dentro de una ventana de tamaño fijo.
struct Escenario {
    QWidget ventana;
    Grilla* grilla = new Grilla(&ventana);

    explicit Escenario(int filas = 100, int columnas = 6) {
        ventana.resize(420, 300);
        grilla->setGeometry(10, 20, 400, 260);
        grilla->PonerDimensiones(filas, columnas);
        for (int c = 0; c < columnas; ++c)
            grilla->PonerTexto(0, c, QStringLiteral("C%1").arg(c));
        NumerarFilas(*grilla);
        ventana.show();
        static_cast<void>(QTest::qWaitForWindowExposed(&ventana));
    }
    QModelIndex Indice(int f, int c) const {
        return grilla->model()->index(f - grilla->FilasFijas(), c - grilla->ColumnasFijas());
    }
};

QColor Pixel(QWidget& w, QPoint p) {
    return w.grab().toImage().pixelColor(p);
}

} // namespace

class PruebasGrilla : public QObject {
    Q_OBJECT
private slots:
    void modeloYTextos() {
        Escenario e(5, 4);
        QAbstractItemModelTester probador(e.grilla->model(),
                                          QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(e.grilla->model()->rowCount(), 4);
        QCOMPARE(e.grilla->model()->columnCount(), 3);
        e.grilla->PonerTexto(2, 3, QStringLiteral("x"));
        QCOMPARE(e.Indice(2, 3).data().toString(), QStringLiteral("x"));
        QCOMPARE(e.grilla->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("C2"));
        QCOMPARE(e.grilla->model()->headerData(3, Qt::Vertical).toString(), QStringLiteral("4"));
        // Fuera de la grilla no se lee ni se escribe nada.
        e.grilla->PonerTexto(9, 9, QStringLiteral("y"));
        QCOMPARE(e.grilla->Texto(9, 9), QString());

        // Crecer conserva textos; las filas nuevas vienen vacías.
        e.grilla->PonerFilas(8);
        QCOMPARE(e.grilla->Filas(), 8);
        QCOMPARE(e.grilla->Texto(2, 3), QStringLiteral("x"));
        QCOMPARE(e.grilla->Texto(7, 0), QString());
        e.grilla->PonerColumnas(6);
        QCOMPARE(e.grilla->Texto(2, 3), QStringLiteral("x"));
        QCOMPARE(e.grilla->Textos().size(), 8 * 6);

        // Dos filas fijas: el modelo ve solo las demás.
        e.grilla->PonerFijas(2, 1);
        QCOMPARE(e.grilla->model()->rowCount(), 6);
        QCOMPARE(e.grilla->Fila(), 2);
        e.grilla->PonerTexto(1, 3, QStringLiteral("y"));
        QCOMPARE(e.grilla->model()->headerData(2, Qt::Horizontal).toString(),
                 QStringLiteral("C3\ny"));
        QCOMPARE(e.Indice(2, 3).data().toString(), QStringLiteral("x"));
        e.grilla->PonerTextos(3, 3, QList<QString>(9, QStringLiteral("t")));
        QCOMPARE(e.grilla->model()->rowCount(), 1);
    }

    void celdaActualYDesplazamiento() {
        Escenario e;
        Grilla& g = *e.grilla;
        QSignalSpy cambios(&g, &Grilla::CeldaCambiada);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(1, 1));
        g.PonerCelda(80, 3);
        QCOMPARE(cambios.size(), 1);
        QCOMPARE(g.Fila(), 80);
        // Mover el cursor no desplaza: la fila 80 no se ve hasta ponerla arriba.
        QCOMPARE(g.FilaSuperior(), 1);
        QVERIFY(!g.FilaVisible(80));
        QVERIFY(g.FilaVisible(1));
        QVERIFY(g.FilaVisible(0));
        g.PonerFilaSuperior(80);
        QCOMPARE(g.FilaSuperior(), 80);
        QVERIFY(g.FilaVisible(80));
        QVERIFY(!g.FilaVisible(1));
        // Las celdas fijas no se pueden elegir.
        g.PonerCelda(0, 0);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(1, 1));

        // Cambiar todos los textos conserva celda y fila superior.
        g.PonerCelda(60, 2);
        g.PonerFilaSuperior(55);
        cambios.clear();
        QList<QString> textos = g.Textos();
        textos[qsizetype(60) * g.Columnas() + 2] = QStringLiteral("nuevo");
        g.PonerTextos(g.Filas(), g.Columnas(), textos);
        QCOMPARE(g.Texto(60, 2), QStringLiteral("nuevo"));
        QCOMPARE(g.Fila(), 60);
        QCOMPARE(g.FilaSuperior(), 55);
        // Aunque cambien las dimensiones.
        textos.resize(qsizetype(120) * g.Columnas());
        g.PonerTextos(120, g.Columnas(), textos);
        QCOMPARE(g.Filas(), 120);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(2, 60));
        QCOMPARE(g.FilaSuperior(), 55);
        QVERIFY(cambios.isEmpty());
    }

    void rectangulosSeleccionTeclasYRaton() {
        Escenario e;
        Grilla& g = *e.grilla;
        g.PonerAnchoColumna(0, 30);
        g.PonerAnchoColumna(2, 77);
        g.PonerAltoFilaFija(0, 3 * g.AltoNormal());
        QApplication::processEvents();
        const QRect celda = g.RectanguloCelda(3, 2);
        // La celda con su línea de la grilla a la derecha y abajo.
        QCOMPARE(celda.size(), QSize(77, g.AltoNormal()));
        QCOMPARE(celda.topLeft(),
                 g.visualRect(e.Indice(3, 2)).translated(g.viewport()->pos()).topLeft());
        // Las fijas: la columna 0 a la izquierda de la vista, la fila 0 encima.
        QCOMPARE(g.RectanguloCelda(3, 0).right() + 1, g.viewport()->x());
        QCOMPARE(g.RectanguloCelda(0, 2).bottom() + 1, g.viewport()->y());
        QCOMPARE(g.RectanguloCelda(0, 0).size(), QSize(30, 3 * g.AltoNormal()));

        // Mayús+flecha extiende la selección desde la celda puesta por programa.
        g.setFocus();
        QTest::keyClick(&g, Qt::Key_Right);
        g.PonerCelda(4, 2);
        QCOMPARE(g.Seleccion(), QRect(2, 4, 1, 1));
        QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(g.Seleccion(), QRect(2, 4, 1, 2));
        g.selectionModel()->select(QItemSelection(e.Indice(4, 2), e.Indice(6, 4)),
                                   QItemSelectionModel::ClearAndSelect);
        QCOMPARE(g.Seleccion(), QRect(QPoint(2, 4), QPoint(4, 6)));

        g.PonerCelda(1, 1);
        QSignalSpy pulsadas(&g, &Grilla::TeclaPulsada);
        QSignalSpy clics(&g, &Grilla::Clic);
        QSignalSpy dobles(&g, &Grilla::DobleClic);
        // Sin nadie que la atienda, la flecha mueve el cursor.
        QTest::keyClick(&g, Qt::Key_Down);
        QCOMPARE(g.Fila(), 2);
        QTest::keyClick(&g, Qt::Key_Right);
        QCOMPARE(g.Columna(), 2);
        // Atendida como tecla abajo, la grilla no la mueve.
        auto conexion = connect(&g, &Grilla::TeclaAbajo, &g, [](QKeyEvent* evento) {
            if (evento->key() == Qt::Key_Down) evento->accept();
        });
        QTest::keyClick(&g, Qt::Key_Down);
        QCOMPARE(g.Fila(), 2);
        disconnect(conexion);
        // Un carácter llega como tecla pulsada y no busca en la grilla.
        QTest::keyClick(&g, Qt::Key_9, Qt::NoModifier);
        QCOMPARE(pulsadas.size(), 1);
        QCOMPARE(pulsadas.first().first().toString(), QStringLiteral("9"));
        QCOMPARE(g.Fila(), 2);
        QTest::keyClick(&g, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(pulsadas.size(), 1);

        const QPoint centro = g.visualRect(e.Indice(5, 3)).center();
        QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, centro);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(3, 5));
        QCOMPARE(clics.size(), 1);
        QTest::mouseDClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, centro);
        QCOMPARE(dobles.size(), 1);
        // El doble clic trae un clic (el primero) y no otro al soltar.
        QCOMPARE(clics.size(), 1);
    }

    void coloresAlineacionYBarras() {
        Escenario e;
        Grilla& g = *e.grilla;
        const QColor amarillo(255, 255, 192);
        g.PonerAlineacionColumna(2, Qt::AlignRight);
        QCOMPARE(g.Alineacion(5, 2), Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(g.Alineacion(0, 2), Qt::Alignment(Qt::AlignCenter));
        g.PonerAlineacion(5, 2, Qt::AlignLeft | Qt::AlignVCenter);
        QCOMPARE(e.Indice(5, 2).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignLeft | Qt::AlignVCenter));
        QCOMPARE(e.Indice(6, 2).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));

        for (int c = 1; c < g.Columnas(); ++c)
            g.PonerColorFondo(1, c, amarillo);
        g.PonerColorTexto(2, 2, Qt::red);
        QCOMPARE(g.ColorFondo(1, 3), amarillo);
        QCOMPARE(e.Indice(2, 2).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        QVERIFY(!e.Indice(2, 3).data(Qt::BackgroundRole).isValid());
        QApplication::processEvents();
        // Se pinta el color, también en la celda actual (sola no se ve como
        // seleccionada).
        for (int c : {1, 3}) {
            const QRect r = g.RectanguloCelda(1, c);
            QCOMPARE(Pixel(g, r.bottomRight() - QPoint(5, 4)), amarillo);
        }
        g.PonerColorFondo(1, 3, QColor());
        QVERIFY(!g.ColorFondo(1, 3).isValid());
        QVERIFY(Pixel(g, g.RectanguloCelda(1, 3).bottomRight() - QPoint(5, 4)) != amarillo);

        // Sin barras la rueda tampoco desplaza.
        const auto rueda = [&] {
            const QPointF p(50, 50);
            QWheelEvent evento(p, g.viewport()->mapToGlobal(p), QPoint(), QPoint(0, -120),
                               Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(g.viewport(), &evento);
        };
        g.PonerBarras(false);
        QVERIFY(!g.Barras());
        QCOMPARE(g.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        rueda();
        QCOMPARE(g.FilaSuperior(), 1);
        g.PonerBarras(true);
        rueda();
        QVERIFY(g.FilaSuperior() > 1);
    }

    void celdasFijasCombinadas() {
        Escenario e(10, 6);
        Grilla& g = *e.grilla;
        g.PonerFijas(2, 1);
        for (int c = 1; c <= 4; ++c)
            g.PonerTexto(0, c, c <= 3 ? QStringLiteral("Grupo") : QStringLiteral("Otro"));
        g.PonerTexto(0, 0, QStringLiteral("#"));
        g.PonerTexto(1, 0, QStringLiteral("#"));
        QApplication::processEvents();
        // Sin combinar cada celda es la suya.
        QCOMPARE(g.RectanguloCombinado(0, 2), g.RectanguloCelda(0, 2));
        g.PonerCombinarFila(0, true);
        QCOMPARE(g.RectanguloCombinado(0, 2),
                 g.RectanguloCelda(0, 1).united(g.RectanguloCelda(0, 3)));
        QCOMPARE(g.RectanguloCombinado(0, 4), g.RectanguloCelda(0, 4));
        // La columna fija no se une a las demás aunque tenga el mismo texto.
        g.PonerTexto(0, 1, QStringLiteral("#"));
        QCOMPARE(g.RectanguloCombinado(0, 0), g.RectanguloCelda(0, 0));
        g.PonerCombinarColumna(0, true);
        QCOMPARE(g.RectanguloCombinado(1, 0),
                 g.RectanguloCelda(0, 0).united(g.RectanguloCelda(1, 0)));
        // Las celdas vacías no se combinan.
        QCOMPARE(g.RectanguloCombinado(1, 3), g.RectanguloCelda(1, 3));
    }

    void rutinasComunes() {
        Escenario e(30, 5);
        Grilla& g = *e.grilla;
        QCOMPARE(g.Texto(29, 0), QStringLiteral("29"));
        QCOMPARE(g.Texto(0, 0), QStringLiteral("C0"));

        g.PonerCelda(3, 4);
        MoverCeldaTrasTecla(g, Qt::Key_Return);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(1, 4));
        MoverCeldaTrasTecla(g, Qt::Key_Return);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(2, 4));
        g.PonerCelda(29, 4);
        MoverCeldaTrasTecla(g, Qt::Key_Enter);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(1, 29));
        // La fila que no se veía pasó a ser la superior (hasta donde se puede bajar).
        QVERIFY(g.FilaVisible(29));
        QVERIFY(g.FilaSuperior() > 1);
        MoverCeldaTrasTecla(g, Qt::Key_Down);
        QCOMPARE(g.Fila(), 29);
        g.PonerCelda(1, 2);
        MoverCeldaTrasTecla(g, Qt::Key_Up);
        QCOMPARE(g.Fila(), 1);
        QCOMPARE(g.FilaSuperior(), 1);
        MoverCeldaTrasTecla(g, Qt::Key_PageDown);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(2, 1));

        // Editores sobre la celda, hermanos de la grilla; la lista más ancha.
        auto* texto = new QLineEdit(&e.ventana);
        texto->setObjectName(QStringLiteral("txtPrueba"));
        auto* lista = new QComboBox(&e.ventana);
        lista->setObjectName(QStringLiteral("lstPrueba"));
        g.PonerCelda(3, 2);
        UbicarObjetoEnCelda(*texto, g);
        UbicarObjetoEnCelda(*lista, g);
        const QRect celda = g.RectanguloCelda(3, 2).translated(g.pos());
        QCOMPARE(texto->geometry(), celda);
        QCOMPARE(lista->geometry(), celda.adjusted(0, 0, PixelesDeTwips(250, &g), 0));
        QCOMPARE(PixelesDeTwips(1440, &g), g.logicalDpiX());

        // Anchos de diseño: exactos con una letra angosta, más anchos con una
        // letra de cifras anchas, en proporción al ancho de la cifra.
        QFont letra = g.font();
        letra.setPixelSize(6);
        g.setFont(letra);
        QCOMPARE(g.EscalaTwips(), 1.0);
        g.PonerAnchoColumnaTwips(2, 1440);
        QCOMPARE(g.AnchoColumna(2), g.logicalDpiX());
        letra.setPixelSize(30);
        g.setFont(letra);
        const double escala = g.fontMetrics().horizontalAdvance(QChar(u'0')) / 6.0;
        QVERIFY(escala > 2);
        QCOMPARE(g.EscalaTwips(), escala);
        g.PonerAnchoColumnaTwips(2, 900);
        QCOMPARE(g.AnchoColumna(2), qRound(60 * escala));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasGrilla)
#include "PruebasGrilla.moc"
