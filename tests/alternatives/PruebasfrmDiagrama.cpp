// Diagrama lineal abierto desde la ventana de alternativas: clic en una columna y
// la unidad pasa a la grilla; otra alternativa llega al diagrama; rueda, arrastre
// e Inicio; la selección de menor costo; imprimir y exportar (PDF, SVG, PNG).
#include "Pruebas.h"
#include "VentanaAlternativas.h"

#include "alternatives/frmDiagrama.h"
#include "common/Formato.h"

#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

struct Escenario : VentanaAlternativas {
    frmDiagrama* diagrama = nullptr;
    QWidget* lienzo = nullptr;

    // Unidades de muestra con un hueco, un solape y una sin diseño.
    explicit Escenario(int unidades = 6) : VentanaAlternativas(unidades) {
        modulo.Proyecto.UH[2].AbscisaFinal += 300;
        modulo.Proyecto.UH[4].EjesEquivalentes = 600000;
        modulo.ArchivoProyecto = dir.filePath(u"Prueba"_s);
        Abrir();
        Menu(1);
        diagrama = v->Diagrama();
        if (!diagrama || !QTest::qWaitForWindowExposed(diagrama)) qFatal("sin diagrama");
        lienzo = diagrama->findChild<QWidget*>(u"pDiagrama"_s);
    }
    // Centro de la columna de la unidad i en el lienzo.
    QPoint Centro(int i) const {
        const DisposicionDiagrama& r = diagrama->Disposicion();
        for (const ColumnaDispuesta& c : r.Columnas)
            if (diagrama->Diagrama().Columnas[c.Columna].Unidad == i)
                return c.Estructura.center().toPoint();
        qFatal("la unidad %d no se ve", i);
    }
    const ColumnaDiagrama& Columna(int i) const {
        for (const ColumnaDiagrama& c : diagrama->Diagrama().Columnas)
            if (c.Unidad == i) return c;
        qFatal("la unidad %d no está", i);
    }
    void Rueda(const QPoint& donde, int grados) {
        QWheelEvent rueda(donde, lienzo->mapToGlobal(donde), {}, QPoint(0, grados * 8),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(lienzo, &rueda);
    }
};

QString Programa(const QString& nombre, const QStringList& argumentos) {
    const QString programa = QStandardPaths::findExecutable(nombre);
    if (programa.isEmpty()) qFatal("falta %s (paquete poppler-utils)", qPrintable(nombre));
    QProcess proceso;
    proceso.start(programa, argumentos);
    proceso.waitForFinished(30000);
    return QString::fromUtf8(proceso.readAllStandardOutput());
}

} // namespace

class PruebasfrmDiagrama : public QObject {
    Q_OBJECT
private slots:
    void seleccionIdaYVuelta_data() {
        QTest::addColumn<int>("unidad");
        QTest::addColumn<int>("alternativa"); // la que se elige después en la ventana
        QTest::newRow("primera") << 1 << 5;
        QTest::newRow("con solape") << 3 << 6;
        QTest::newRow("última") << 6 << 3;
    }
    void seleccionIdaYVuelta() {
        QFETCH(int, unidad);
        QFETCH(int, alternativa);
        Escenario e;
        QCOMPARE(e.diagrama->windowTitle(),
                 u"DIAGRAMA LINEAL DE ESTRUCTURAS [%1]"_s.arg(e.modulo.ArchivoProyecto));
        // La unidad sin diseño: columna sin alternativa; su fila sin marca.
        QCOMPARE(e.Columna(4).Alternativa, 0);
        for (int n = 1; n <= 6; ++n)
            QVERIFY(!e.grilla->Marcada(5, 8 + n));

        // La ayuda de la columna dice la unidad, su alternativa y sus capas.
        QHelpEvent ayuda(QEvent::ToolTip, e.Centro(unidad),
                         e.lienzo->mapToGlobal(e.Centro(unidad)));
        QApplication::sendEvent(e.lienzo, &ayuda);
        const ColumnaDiagrama& c = e.Columna(unidad);
        QVERIFY(QToolTip::text().startsWith(u"UH %1 [%2]"_s.arg(unidad).arg(c.Codigo)));
        QVERIFY(QToolTip::text().contains(
            u"Alternativa #%1: %2"_s.arg(c.Alternativa)
                .arg(c.Capas.isEmpty() ? QString() : c.Capas[0].Etiqueta)));
        QTest::mouseClick(e.lienzo, Qt::LeftButton, {}, e.Centro(unidad));
        QCOMPARE(e.grilla->Fila(), unidad + 1);
        const int antes = e.modulo.Proyecto.UH[unidad].AlternativaSeleccionada;
        QCOMPARE(e.Columna(unidad).Alternativa, antes);
        QVERIFY(e.grilla->Marcada(unidad + 1, 8 + antes));
        QTest::mouseClick(e.Opcion(alternativa), Qt::LeftButton);
        // El diagrama abierto y la marca de la grilla siguen a la elección.
        QCOMPARE(e.Columna(unidad).Alternativa, alternativa);
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(e.grilla->Marcada(unidad + 1, 8 + n), n == alternativa);
        QCOMPARE(e.grilla->Texto(unidad + 1, 8 + alternativa),
                 Formato(e.Columna(unidad).Costo / 1000, u"#,##0"));
    }

    void zoomArrastreInicioYMenorCosto() {
        Escenario e(12);
        const double desde = e.diagrama->Desde(), hasta = e.diagrama->Hasta();
        QCOMPARE(desde, e.diagrama->Diagrama().AbscisaMinima);
        QCOMPARE(hasta, e.diagrama->Diagrama().AbscisaMaxima);
        // Dos pasos de rueda hacia adelante: el tramo se achica y la abscisa bajo
        // el puntero no se mueve.
        const QPoint punto = e.Centro(3);
        const double fija = e.diagrama->Disposicion().Abscisa(punto.x());
        e.Rueda(punto, 2 * 15);
        QVERIFY(std::abs((e.diagrama->Hasta() - e.diagrama->Desde()) * 1.25 * 1.25 -
                         (hasta - desde)) < 1e-6);
        QVERIFY(std::abs(e.diagrama->Disposicion().Abscisa(punto.x()) - fija) < 1e-6);
        // Arrastrar 100 puntos a la izquierda lleva la vista hacia abscisas mayores.
        const double antes = e.diagrama->Desde();
        const double porPunto =
            (e.diagrama->Hasta() - antes) / e.diagrama->Disposicion().Estructuras.width();
        QTest::mousePress(e.lienzo, Qt::LeftButton, {}, punto);
        QTest::mouseMove(e.lienzo, punto - QPoint(50, 0));
        QTest::mouseMove(e.lienzo, punto - QPoint(100, 0));
        QTest::mouseRelease(e.lienzo, Qt::LeftButton, {}, punto - QPoint(100, 0));
        QVERIFY(std::abs(e.diagrama->Desde() - (antes + 100 * porPunto)) < 1e-6);
        QCOMPARE(e.grilla->Fila(), 2); // arrastrar no elige unidad
        // Alejar más allá del camino se queda en el camino; Inicio lo muestra entero.
        e.Rueda(punto, -15);
        QTest::keyClick(e.lienzo, Qt::Key_Home);
        QCOMPARE(e.diagrama->Desde(), desde);
        QCOMPARE(e.diagrama->Hasta(), hasta);
        e.Rueda(punto, -10 * 15);
        QCOMPARE(e.diagrama->Hasta() - e.diagrama->Desde(), hasta - desde);

        // La selección de menor costo llega al diagrama abierto y a la grilla.
        ModuloVarek9 copia = e.modulo;
        const ResultadoMenorCosto esperado = SeleccionarMenorCosto(copia);
        QVERIFY(esperado.Cambiadas > 0);
        e.Menu(2);
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Texto,
                 u"Costo total de las alternativas seleccionadas: antes %1, ahora %2 (miles de "
                 "pesos)"_s.arg(Formato(esperado.CostoAntes / 1000, u"#,##0"),
                                Formato(esperado.CostoDespues / 1000, u"#,##0")));
        QVERIFY(e.modulo.ProyectoModificado);
        for (int i = 1; i <= 12; ++i) {
            const int n = copia.Proyecto.UH[i].AlternativaSeleccionada;
            QCOMPARE(e.modulo.Proyecto.UH[i].AlternativaSeleccionada, n);
            if (i == 4) continue; // sin diseño
            QCOMPARE(e.Columna(i).Alternativa, n);
            QVERIFY(e.grilla->Marcada(i + 1, 8 + n));
        }
        // La opción marcada de la fila actual es la nueva selección.
        const int n = e.modulo.Proyecto.UH[1].AlternativaSeleccionada;
        QVERIFY(e.Opcion(n)->isChecked());
    }

    void exportarEImprimir_data() {
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<int>("unidades");
        QTest::newRow("pdf") << u"d.pdf"_s << 6;
        QTest::newRow("pdf largo") << u"d.pdf"_s << 120;
        QTest::newRow("svg") << u"d.svg"_s << 6;
        QTest::newRow("png") << u"d.png"_s << 30;
        QTest::newRow("impresora") << QString() << 120;
    }
    void exportarEImprimir() {
        QFETCH(QString, archivo);
        QFETCH(int, unidades);
        Escenario e(unidades);
        const DiagramaLineal& d = e.diagrama->Diagrama();
        QString ruta = e.dir.filePath(archivo.isEmpty() ? u"impreso.pdf"_s : archivo);
        if (archivo.isEmpty()) {
            e.plataforma.ImpresoraPdf.setOutputFormat(QPrinter::PdfFormat);
            e.plataforma.ImpresoraPdf.setOutputFileName(ruta);
            QTest::mouseClick(e.diagrama->findChild<QPushButton*>(u"btnImprimir"_s),
                              Qt::LeftButton);
            QCOMPARE(e.plataforma.ImpresorasConfiguradas, 1);
        } else {
            e.plataforma.RutasGuardar.enqueue(ruta);
            QTest::mouseClick(e.diagrama->findChild<QPushButton*>(u"btnExportar"_s),
                              Qt::LeftButton);
            QCOMPARE(e.plataforma.PropuestasGuardar.size(), 1);
        }
        QVERIFY(e.plataforma.Mensajes.isEmpty());
        QVERIFY(QFileInfo(ruta).size() > 0);

        // El contenido del PNG y del SVG lo prueba la orden diagrama de varek9-cli; aquí,
        // que el botón escribe el formato pedido.
        if (ruta.endsWith(u".png"_s)) {
            QVERIFY(QImage(ruta).dotsPerMeterX() == qRound(200 / 0.0254));
            return;
        }
        if (ruta.endsWith(u".svg"_s)) {
            QCOMPARE(LeerBytes(ruta).count("class=\"unidad\""), d.Columnas.size());
            return;
        }
        // PDF: apaisado, varias páginas si el camino es largo, cada rótulo legible.
        const QString info = Programa(u"pdfinfo"_s, {ruta});
        const int paginas = info.section(u"Pages:"_s, 1).trimmed().section(u'\n', 0, 0).toInt();
        QCOMPARE(paginas > 1, unidades > 6);
        const auto tamano = QRegularExpression(u"Page size: +([\\d.]+) x ([\\d.]+)"_s).match(info);
        QVERIFY(tamano.captured(1).toDouble() > tamano.captured(2).toDouble()); // apaisada
        const QString texto = Programa(u"pdftotext"_s, {ruta, u"-"_s});
        QCOMPARE(texto.count(u"DIAGRAMA LINEAL DE ESTRUCTURAS"_s), paginas);
        QVERIFY(texto.contains(u"Página %1 de %1"_s.arg(paginas)));
        for (const ColumnaDiagrama& c : d.Columnas) {
            QVERIFY2(texto.contains(TextoAbscisa(c.Desde)), qPrintable(c.Codigo));
            for (const CapaDiagrama& capa : c.Capas)
                if (capa.Espesor > 0) QVERIFY(texto.contains(capa.Etiqueta));
        }
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmDiagrama)
#include "PruebasfrmDiagrama.moc"
