// Diálogo de impresión, impresión en PDF, puerto de texto y visor propio, fuera
// de pantalla con la plataforma guionada.
#include "Archivos.h"
#include "PlataformaGuionada.h"
#include "Pruebas.h"

#include "printing/CodigoFormato.h"
#include "printing/ImpresoraQt.h"
#include "printing/Imprime.h"
#include "printing/frmVisor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

QByteArray P(int codigo) {
    return CodigoFormato(codigo).toLatin1();
}

// Dos encabezados y 120 líneas: 3 páginas de 58 líneas.
QByteArray ReporteTresPaginas() {
    QByteArray r = P(2101) + "#pg#fecha#\r\n" + P(2312) + "INFORME DE PRUEBA\r\n";
    for (int i = 1; i <= 120; ++i)
        r += P(100) + "linea " + QByteArray::number(i) + "\r\n";
    return r;
}

// Texto de un PDF por páginas (pdftotext separa las páginas con el código 12).
QStringList PaginasPdf(const QString& pdf) {
    const QString programa = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (programa.isEmpty()) qFatal("falta pdftotext (paquete poppler-utils)");
    QProcess proceso;
    proceso.start(programa, {u"-layout"_s, pdf, u"-"_s});
    proceso.waitForFinished(30000);
    QString texto = QString::fromUtf8(proceso.readAllStandardOutput());
    if (texto.endsWith(u'\f')) texto.chop(1);
    return texto.split(u'\f');
}

struct Escenario {
    QTemporaryDir dir;
    DirectorioActual aqui{dir.path()};
    PlataformaGuionada plataforma;
    QWidget ventana; // la ventana que llama al diálogo
    QString reporte = u"r00"_s;

    explicit Escenario(const QByteArray& contenido = ReporteTresPaginas()) {
        EscribirBytes(reporte, contenido);
        plataforma.ImpresoraPdf.setOutputFormat(QPrinter::PdfFormat);
        plataforma.ImpresoraPdf.setOutputFileName(dir.filePath(u"salida.pdf"_s));
        plataforma.AceptarPropuesta = true;
        ventana.show();
    }
    // Abre el diálogo; accion actúa sobre él ya mostrado y activado.
    void Imprimir(const std::function<void(Imprime&)>& accion, const QString& alias = QString()) {
        plataforma.Modales.enqueue([accion](QDialog& d) {
            d.activateWindow();
            if (!QTest::qWaitForWindowActive(&d)) qFatal("diálogo sin activar");
            accion(static_cast<Imprime&>(d));
            return int(QDialog::Rejected);
        });
        ImprimirArchivo(plataforma, &ventana, reporte, alias);
    }
    void Configurar(const QByteArray& imprimeSet) { EscribirBytes(u"Imprime.set"_s, imprimeSet); }
};

template <class T = QWidget>
T* Control(QWidget& d, const QString& nombre) {
    T* c = d.findChild<T*>(nombre);
    if (!c) qFatal("falta %s", qPrintable(nombre));
    return c;
}

void Elegir(Imprime& d, int destino) {
    QTest::mouseClick(Control<QRadioButton>(d, u"PantallaImpresora%1"_s.arg(destino)),
                      Qt::LeftButton);
}

} // namespace

class PruebasImprime : public QObject {
    Q_OBJECT

private slots:
    void dialogoAlAbrirYAlCerrar() {
        Escenario e;
        e.Configurar("Puerto : LPT1\r\nPuertos : lab lpt3\r\n");
        e.Imprimir(
            [&](Imprime& d) {
                QCOMPARE(d.windowTitle(), u"Imprimir Archivo : r00"_s);
                QCOMPARE(Control<QLabel>(d, u"Archivo"_s)->text(), u"r00"_s);
                QCOMPARE(Control<QLabel>(d, u"lbPrefijo"_s)->text(), u"LAB"_s);
                QCOMPARE(Control<QLabel>(d, u"Paginas"_s)->text(), u"3"_s);
                QCOMPARE(Control<QComboBox>(d, u"opcPuerto"_s)->currentText(), u"LPT3"_s);
                QVERIFY(Control<QLabel>(d, u"lbImpresora"_s)->text().startsWith(u"PDF : "_s));
                QVERIFY(Control<QRadioButton>(d, u"PantallaImpresora0"_s)->isChecked());
                QCOMPARE(Control<QLineEdit>(d, u"Copias"_s)->text(), u"1"_s);
                QVERIFY(Control<QLineEdit>(d, u"Pagina0"_s)->text().isEmpty());
                // Mientras el diálogo está abierto el reporte queda retenido.
                QVERIFY(QFile::exists(u"r00.PRO"_s));
                QVERIFY(QFile::exists(u"r00.txt"_s));
            },
            u" lab "_s);
        QVERIFY(!QFile::exists(u"r00.PRO"_s));
        QCOMPARE(LeerBytes(u"Ultimo.inf"_s), QByteArray("r00\r\n"));
        QCOMPARE(e.plataforma.VentanasModales, QStringList{u"Imprime"_s});
    }

    void marcaDeAncho() {
        // Sin prefijos y más de 96 columnas: "c"; más de 80: "m".
        for (const auto& [ancho, marca] : {std::pair{97, "c"}, {81, "m"}, {80, ""}}) {
            Escenario e(QByteArray(ancho, 'x') + "\r\n");
            e.Imprimir([&](Imprime& d) {
                QCOMPARE(Control<QLabel>(d, u"Paginas"_s)->text(), u"1"_s + QLatin1String(marca));
            });
        }
    }

    void reglasDeHabilitacion() {
        Escenario e;
        e.Imprimir([&](Imprime& d) {
            auto* inicial = Control<QLineEdit>(d, u"Pagina0"_s);
            auto* final = Control<QLineEdit>(d, u"Pagina1"_s);
            auto* copias = Control<QLineEdit>(d, u"Copias"_s);
            auto* aceptar = Control<QPushButton>(d, u"Boton0"_s);
            // Pantalla: sin páginas ni copias.
            QVERIFY(!Control<QGroupBox>(d, u"fraPaginas"_s)->isEnabled());
            QVERIFY(!inicial->isEnabled() && !final->isEnabled() && !copias->isEnabled());
            Elegir(d, 1);
            QVERIFY(inicial->isEnabled() && final->isEnabled() && copias->isEnabled());
            Elegir(d, 2);
            QVERIFY(Control<QGroupBox>(d, u"fraCopias"_s)->isEnabled());
            Elegir(d, 0);
            QVERIFY(!copias->isEnabled());
            Elegir(d, 1);

            // "&Aceptar" solo con la última no menor que la primera.
            inicial->setFocus();
            QTest::keyClicks(inicial, u"3"_s);
            QVERIFY(!aceptar->isEnabled());
            QTest::keyClick(inicial, Qt::Key_Return); // Enter pasa a la página final...
            QCOMPARE(QApplication::focusWidget(), final);
            // ...que toma la primera y queda seleccionada para escribir encima.
            QCOMPARE(final->text(), u"3"_s);
            QCOMPARE(final->selectedText(), u"3"_s);
            QVERIFY(aceptar->isEnabled());
            QTest::keyClicks(final, u"2"_s);
            QCOMPARE(final->text(), u"2"_s);
            QVERIFY(!aceptar->isEnabled());
            QTest::keyClicks(final, u"0"_s);
            QVERIFY(aceptar->isEnabled());
            QTest::keyClick(final, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), copias);
            QCOMPARE(copias->selectedText(), u"1"_s);
        });
    }

    void impresoraEnPdf() {
        Escenario e;
        e.Imprimir([&](Imprime& d) {
            Elegir(d, 1);
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), Control(d, u"Boton1"_s));
        });
        QVERIFY(e.plataforma.Mensajes.isEmpty());
        const QStringList paginas = PaginasPdf(e.dir.filePath(u"salida.pdf"_s));
        QCOMPARE(paginas.size(), 3);
        for (int i = 0; i < 3; ++i) {
            // Cada página con su número, la fecha y el título.
            QVERIFY2(paginas[i].contains(QRegularExpression(
                         u"\\b%1 \\[\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\\]"_s.arg(i + 1))),
                     qPrintable(paginas[i].left(300)));
            QVERIFY(paginas[i].contains(u"INFORME DE PRUEBA"_s));
        }
        QVERIFY(paginas[0].contains(u"linea 56"_s) && !paginas[0].contains(u"linea 57"_s));
        QVERIFY(paginas[2].contains(u"linea 120"_s));

        // Rango 2 a 3 y dos copias: cuatro hojas.
        e.Imprimir([&](Imprime& d) {
            Elegir(d, 1);
            Control<QLineEdit>(d, u"Pagina0"_s)->setText(u"2"_s);
            Control<QLineEdit>(d, u"Pagina1"_s)->setText(u"3"_s);
            Control<QLineEdit>(d, u"Copias"_s)->setText(u"2"_s);
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
        });
        const QStringList rango = PaginasPdf(e.dir.filePath(u"salida.pdf"_s));
        QCOMPARE(rango.size(), 4);
        QVERIFY(rango[0].contains(u"linea 57"_s) && rango[3].contains(u"linea 120"_s));
    }

    void eleccionDeImpresora() {
        Escenario e;
        const QString pdf = e.dir.filePath(u"elegido.pdf"_s);
        e.plataforma.EleccionImpresora = [&](QPrinter& p) {
            p.setOutputFileName(pdf);
            p.setPageOrientation(QPageLayout::Landscape);
        };
        e.plataforma.ImpresoraPdf.setOutputFileName(QString());
        e.Imprimir([&](Imprime& d) {
            QVERIFY(Control<QLabel>(d, u"lbImpresora"_s)->text().startsWith(u"(ninguna"_s));
            // Sin impresora ni archivo, imprimir abre primero el diálogo de impresora.
            Elegir(d, 1);
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
            QCOMPARE(e.plataforma.ImpresorasConfiguradas, 1);
            QCOMPARE(Control<QLabel>(d, u"lbImpresora"_s)->text(), u"PDF : "_s + pdf);
            QVERIFY(QFile::exists(pdf));
            // El botón de impresora deja el foco en "&Aceptar".
            QTest::mouseClick(Control(d, u"btnImpresora"_s), Qt::LeftButton);
            QCOMPARE(e.plataforma.ImpresorasConfiguradas, 2);
            QCOMPARE(QApplication::focusWidget(), Control(d, u"Boton0"_s));
        });
        QVERIFY(e.plataforma.Mensajes.isEmpty());
        // Cancelar el diálogo de impresora no imprime nada.
        e.plataforma.ImpresoraPdf.setOutputFileName(QString());
        e.plataforma.RespuestaImpresora = false;
        QFile::remove(pdf);
        e.Imprimir([&](Imprime& d) {
            Elegir(d, 1);
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
        });
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(e.plataforma.Mensajes.isEmpty());
    }

    void reportesAnchosSinCortes() {
        // Los reportes del proyecto no caben de pie: la hoja se pone apaisada y, si
        // hace falta, todo se reduce; cada columna queda en el papel.
        for (int n = 1; n <= 4; ++n) {
            QTemporaryDir dir;
            const QString reporte =
                QStringLiteral(VAREK9_DATOS_PRUEBA "/reportes/reporte%1.txt").arg(n);
            QPrinter impresora(QPrinter::HighResolution);
            impresora.setOutputFormat(QPrinter::PdfFormat);
            impresora.setOutputFileName(dir.filePath(u"r.pdf"_s));
            impresora.setPageOrientation(QPageLayout::Portrait);
            const QByteArray datos = LeerBytes(reporte);
            const ResumenReporte resumen = CargarProyecto(datos, 58);
            ParametrosImpresion p;
            p.Fecha = "05/12/2026 10:00:00";
            const ResultadoImpresora r = ImprimirEnImpresora(impresora, reporte, resumen,
                                                             ConfiguracionImpresion(), p, false);
            QVERIFY2(r.Ok, qPrintable(r.Error));
            QCOMPARE(r.Paginas, resumen.TotalPaginas);
            QVERIFY(r.AnchoTwips > AnchoLineaTwips * 1.05 ? r.Apaisada : true);
            const QRectF area = impresora.pageLayout().paintRect(QPageLayout::Inch);
            QVERIFY(r.AnchoTwips * r.Escala <= area.width() * TwipsPorPulgada + 0.5);
            QVERIFY(r.AltoTwips * r.Escala <= area.height() * TwipsPorPulgada + 0.5);

            // La palabra más a la derecha de la línea más ancha está en el PDF.
            QByteArray ancha;
            for (const QByteArray& l : datos.split('\n'))
                if (l.trimmed().size() > ancha.trimmed().size()) ancha = l;
            const QByteArray ultima = ancha.trimmed().split(' ').last();
            QVERIFY2(PaginasPdf(dir.filePath(u"r.pdf"_s))
                         .join(u'\n')
                         .contains(QString::fromLatin1(ultima)),
                     ultima.constData());
        }
    }

    void imagenesDeLaLista() {
        QTemporaryDir dir;
        DirectorioActual aqui(dir.path());
        EscribirBytes(u"r00"_s, ReporteTresPaginas());
        // Una imagen de 960 x 480 puntos a 3780 puntos por metro (unos 96 ppp).
        QImage logo(960, 480, QImage::Format_RGB32);
        logo.fill(Qt::blue);
        logo.setDotsPerMeterX(3780);
        logo.setDotsPerMeterY(3780);
        QVERIFY(logo.save(u"logo.png"_s));
        EscribirBytes(u"r00.img"_s, "logo.png 100 200\r\nfalta.png 0 0\r\n");
        QPrinter impresora(QPrinter::HighResolution);
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(dir.filePath(u"r.pdf"_s));
        const ResumenReporte resumen = CargarProyecto(LeerBytes(u"r00"_s), 58);
        const ResultadoImpresora r =
            ImprimirEnImpresora(impresora, u"r00"_s, resumen, ConfiguracionImpresion(), {}, false);
        QVERIFY2(r.Ok, qPrintable(r.Error));
        QCOMPARE(r.Paginas, 3);
        // A la derecha del margen izquierdo (3 cm) más su X, con su ancho natural; la que
        // no existe se salta. Lo que pasa del papel se reduce: nada queda cortado.
        QVERIFY(std::abs(r.AnchoTwips - (CmATwips(3) + 100 + 960 / (3780 * 0.0254) * 1440)) < 1);
        QVERIFY(r.AltoTwips >= 200 + 7200);
        QVERIFY(r.Escala < 1);
    }

    void puertoDeTexto() {
        Escenario e(P(2000) + "TITULO\r\n" + P(1) + "derecha\r\n");
        const QString destino = e.dir.filePath(u"puerto.txt"_s);
        e.Imprimir([&](Imprime& d) {
            Elegir(d, 2);
            Control<QComboBox>(d, u"opcPuerto"_s)->setEditText(destino);
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
        });
        QVERIFY(e.plataforma.Mensajes.isEmpty());
        const QByteArray esperado = "TITULO\r\n" + QByteArray(80 - 7, ' ') + "derecha\r\n\f";
        QCOMPARE(LeerBytes(destino), esperado);
        const QByteArray bat = LeerBytes(u"q.bat"_s);
        QVERIFY(bat.startsWith("TYPE t"));
        QVERIFY(bat.endsWith(" >" + destino.toLocal8Bit() + "\r\n"));
        const QString cola = QString::fromLatin1(bat.mid(5, bat.indexOf(' ', 5) - 5));
        QCOMPARE(LeerBytes(cola), esperado);
        QVERIFY(QFile::exists(cola + u".DAT"_s));

        // PRN va a la impresora predeterminada con lp; un puerto que no existe falla.
        e.Imprimir([&](Imprime& d) {
            Elegir(d, 2);
            Control<QComboBox>(d, u"opcPuerto"_s)->setEditText(u"PRN"_s);
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
        });
        QCOMPARE(e.plataforma.ProcesosIniciados.size(), 1);
        QVERIFY(e.plataforma.ProcesosIniciados[0].startsWith(u"lp t"_s));
        e.plataforma.ProcesosIniciables = false;
        e.Imprimir([&](Imprime& d) {
            Elegir(d, 2);
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
        });
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Titulo, u"IMPRESORA"_s);
        QCOMPARE(e.plataforma.Mensajes[0].Texto, u"Error al imprimir..."_s);
        QCOMPARE(e.plataforma.Mensajes[0].Icono, IconoMensaje::Critico);
    }

    void erroresDeImpresion() {
        Escenario e;
        QByteArray imagenes;
        for (int i = 0; i <= 20; ++i)
            imagenes += "logo.png 10 10\r\n";
        EscribirBytes(u"r00.img"_s, imagenes);
        e.Imprimir([&](Imprime& d) {
            Elegir(d, 1);
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
        });
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Texto, u"Error al imprimir..."_s);

        // Un reporte que ya no existe: imprimir no hace nada.
        QFile::remove(u"r00.img"_s);
        e.Imprimir([&](Imprime& d) {
            QFile::remove(e.reporte);
            Elegir(d, 1);
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
        });
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
    }

    void visorPropio() {
        Escenario e;
        frmVisor* visor = nullptr;
        e.Imprimir([&](Imprime& d) {
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
            visor = d.findChild<frmVisor*>();
            QVERIFY(visor && visor->isVisible());
        });
        // Q.COM es un visor de DOS: se abre el del programa, que sobrevive al diálogo.
        QVERIFY(visor);
        QVERIFY(visor->isVisible());
        QCOMPARE(visor->parentWidget(), &e.ventana);
        QCOMPARE(visor->Paginas(), 3);
        const QString texto = visor->Texto();
        QVERIFY(texto.contains(frmVisor::Separador(2)) && texto.contains(frmVisor::Separador(3)));
        QVERIFY(!texto.contains(u'\f'));
        QVERIFY(texto.indexOf(u"linea 56"_s) < texto.indexOf(frmVisor::Separador(2)));
        QVERIFY(visor->Buscar(u"linea 120"_s));
        QVERIFY(!visor->Buscar(u"no está"_s));
        QTest::mouseClick(Control(*visor, u"btnCopiar"_s), Qt::LeftButton);
        QVERIFY(e.plataforma.Portapapeles.contains(u"linea 120"_s));
        // Imprimir desde el visor abre el diálogo del mismo reporte.
        e.plataforma.Modales.enqueue(
            [](QDialog& d) { return d.windowTitle() == u"Imprimir Archivo : r00"_s ? 1 : 0; });
        QTest::mouseClick(Control(*visor, u"btnImprimir"_s), Qt::LeftButton);
        QCOMPARE(e.plataforma.VentanasModales.size(), 2);
        visor->close();
    }

    void visoresConfigurados() {
        Escenario e;
        // Visor en blanco: "q.bat" con q.com y el visor del programa.
        e.Configurar("Archivo para Ver Informes :   \r\n");
        e.Imprimir([&](Imprime& d) {
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
            QVERIFY(d.findChild<frmVisor*>());
        });
        QCOMPARE(LeerBytes(u"q.bat"_s), QByteArray("q.com r00.txt\r\n"));
        QVERIFY(e.plataforma.ProcesosIniciados.isEmpty());

        // Un programa que existe se respeta; uno que no, cae en el visor propio.
        e.Configurar("Archivo para Ver Informes : sh -c true\r\n");
        e.Imprimir([&](Imprime& d) {
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
            QVERIFY(!d.findChild<frmVisor*>());
        });
        QCOMPARE(e.plataforma.ProcesosIniciados,
                 QStringList{QStandardPaths::findExecutable(u"sh"_s) + u" -c true r00.txt"_s});
        e.Configurar("Archivo para Ver Informes : NOTEPAD.EXE\r\n");
        e.Imprimir([&](Imprime& d) {
            QTest::mouseClick(Control(d, u"Boton0"_s), Qt::LeftButton);
            QVERIFY(d.findChild<frmVisor*>());
        });
        for (frmVisor* v : e.ventana.findChildren<frmVisor*>())
            v->close();
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasImprime)
#include "PruebasImprime.moc"
