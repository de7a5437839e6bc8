// Ventana de alternativas fuera de pantalla: grilla, totales, cambio de fila,
// selección, dibujo, costos unitarios y reportes; y el diálogo de costos
// unitarios con el teclado: edición en la celda, Escape, Delete, aceptar y salir,
// los números con coma o punto decimal y lo que no es un número.
// El diagrama lineal abierto desde ella: clic en una columna y la unidad pasa a la
// grilla; otra alternativa llega al diagrama; rueda, arrastre e Inicio; la
// selección de menor costo; imprimir y exportar.
#include "Poppler.h"
#include "Pruebas.h"
#include "VentanaAlternativas.h"

#include "alternatives/HojaResultados.h"
#include "alternatives/PintarDiagrama.h"
#include "alternatives/Reportes.h"
#include "alternatives/frmCostosUnitarios.h"
#include "alternatives/frmDiagrama.h"
#include "alternatives/frmSensibilidad.h"
#include "app/Historial.h"
#include "common/Formato.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

// Las celdas de una fila de la grilla, en una línea.
QString Fila(const Grilla& g, int f) {
    return g.Textos().mid(qsizetype(f) * g.Columnas(), g.Columnas()).join(u'|');
}

struct Dialogo {
    ModuloVarek9 modulo;
    PlataformaGuionada plataforma;
    std::unique_ptr<frmCostosUnitarios> d;
    Grilla* g = nullptr;
    QLineEdit* txt = nullptr;

    explicit Dialogo(SeparadorDecimal separador = SeparadorDecimal::Punto) {
        for (int t = 1; t <= NumeroTiposCapa; ++t)
            modulo.Proyecto.CostosUnitarios[t] = 1000.0 * t + 0.5;
        modulo.Separador = separador;
        d = std::make_unique<frmCostosUnitarios>(modulo, plataforma);
        d->show();
        d->activateWindow();
        if (!QTest::qWaitForWindowActive(d.get())) qFatal("diálogo sin activar");
        g = d->findChild<Grilla*>(u"grdCU"_s);
        txt = d->findChild<QLineEdit*>(u"txtCU"_s);
    }
};

// Con el diagrama lineal abierto desde la ventana.
struct ConDiagrama : VentanaAlternativas {
    frmDiagrama* diagrama = nullptr;
    QWidget* lienzo = nullptr;

    // Unidades de muestra con un hueco, un solape y una sin diseño.
    explicit ConDiagrama(int unidades = 6) : VentanaAlternativas(unidades) {
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

} // namespace

class PruebasfrmAlternativas : public QObject {
    Q_OBJECT
private slots:
    // La grilla, los totales, la selección y los costos unitarios. Después, cada
    // botón escribe su reporte con el escritor del núcleo y abre el diálogo de
    // impresión; cada reporte en PDF pide su nombre junto al proyecto: el segundo no
    // reemplaza al primero, y reemplazar un archivo lo confirma el diálogo.
    void grillaCostosYReportes() {
        VentanaAlternativas e;
        e.modulo.ArchivoProyecto = e.dir.filePath(u"Vía 3, tramo 2"_s);
        e.plataforma.ImpresoraPdf.setOutputFormat(QPrinter::PdfFormat);
        e.plataforma.ImpresoraPdf.setOutputFileName(e.dir.filePath(u"print.pdf"_s));
        e.plataforma.AceptarPropuesta = true;
        e.Abrir();
        QCOMPARE(e.v->windowTitle(),
                 u"ALTERNATIVAS DE DISEÑO [%1]"_s.arg(e.modulo.ArchivoProyecto));
        Grilla& g = *e.grilla;
        QCOMPARE(g.Filas(), 7);
        // Cada unidad con su diseño y sus costos en miles; al pie, los totales.
        QCOMPARE(Fila(g, 2),
                 u"1|T-1|1,000.00|1,987.50|987.50|6.50|8.92E+03|5.70|1.49|14,767|16,372|"
                 u"9,406|0|9,952|12,199"_s);
        QCOMPARE(Fila(g, 6).section(u'|', 9), u"44,300|49,116|29,020|7,383|30,709|37,450"_s);
        QCOMPARE(Fila(g, 1).section(u'|', 7, 9), u"(%)|Requerido|1"_s);
        // Fila 2 actual y resaltada.
        QVERIFY(e.v->FilaActual() == 2 && g.ColorFondo(2, 7) == QColor(255, 255, 192));

        // Otra fila pasa a ser la actual y resaltada.
        g.PonerCelda(3, 4);
        QVERIFY(e.v->FilaActual() == 3 && !g.ColorFondo(2, 0).isValid());
        QCOMPARE(g.ColorFondo(3, 14), QColor(255, 255, 192));
        // La selección sigue a la fila: se elige la primera aplicable distinta de la actual.
        int otra = 0;
        for (int n = 1; n <= 6 && !otra; ++n)
            if (e.Opcion(n)->isEnabled() && !e.Opcion(n)->isChecked()) otra = n;
        QVERIFY(otra > 0);
        // Volver a marcar la elegida no cambia nada; otra alternativa es un cambio.
        const int actual = e.modulo.Proyecto.UH[2].AlternativaSeleccionada;
        e.ClicOpcion(actual);
        QVERIFY(!e.modulo.ProyectoModificado);
        e.ClicOpcion(otra);
        QCOMPARE(e.modulo.Proyecto.UH[2].AlternativaSeleccionada, otra);
        QVERIFY(e.modulo.ProyectoModificado && QApplication::focusWidget() == &g);
        const int deLaUno = e.modulo.Proyecto.UH[1].AlternativaSeleccionada;
        g.PonerCelda(2, 0);
        QVERIFY(e.Opcion(deLaUno)->isChecked());
        g.PonerCelda(3, 0);
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(e.Opcion(n)->isChecked(), n == otra);

        // Filas de separación y totales: el dibujo queda pero apagado.
        const QRect antes = e.Caja(otra, 1)->geometry();
        for (const int fila : {5, 6}) {
            g.PonerCelda(fila, 10);
            for (int n = 1; n <= 6; ++n) {
                QVERIFY(!e.Opcion(n)->isEnabled());
                for (int k = 0; k < 5; ++k)
                    QVERIFY(!e.Caja(n, k)->isEnabled());
            }
            QVERIFY(e.Caja(otra, 1)->geometry() == antes && e.Caja(otra, 1)->isVisible());
        }
        g.PonerCelda(4, 0);
        QVERIFY(e.Caja(otra, 1)->isEnabled() || !e.Caja(otra, 1)->isVisible());

        const QString totalAntes = e.grilla->Texto(6, 9);
        // La edición del diálogo se prueba con él; aquí, qué hace la ventana con su
        // respuesta. Salir no cambia nada.
        e.plataforma.Modales.enqueue([](QDialog&) { return int(QDialog::Rejected); });
        e.Menu(0);
        QCOMPARE(e.plataforma.VentanasModales, QStringList{u"frmCostosUnitarios"_s});
        QCOMPARE(e.grilla->Texto(6, 9), totalAntes);
        // Aceptar un costo de base granular mayor sube los totales.
        e.plataforma.Modales.enqueue([&](QDialog&) {
            e.modulo.Proyecto.CostosUnitarios[CapaBG] = 500000;
            return int(QDialog::Accepted);
        });
        e.Menu(0);
        // Suben todas menos la 4, que no lleva base granular.
        QCOMPARE(Fila(g, 6).section(u'|', 9),
                 u"1,962,221|1,487,556|1,467,460|7,383|1,469,149|1,475,890"_s);
        // Con la coma decimal, la grilla en el acto, sin mover la fila; los reportes
        // siguen con el punto.
        g.PonerCelda(4, 3);
        e.v->findChild<QAction*>(u"mnuSeparadorComa"_s)->trigger();
        QCOMPARE(Fila(g, 6).section(u'|', 9),
                 u"1.962.221|1.487.556|1.467.460|7.383|1.469.149|1.475.890"_s);
        QCOMPARE(Fila(g, 2).section(u'|', 0, 8),
                 u"1|T-1|1.000,00|1.987,50|987,50|6,50|8,92E+03|5,70|1,49"_s);
        QCOMPARE(e.v->FilaActual(), 4);

        e.plataforma.VentanasModales.clear();
        // Los cinco botones y, por el menú, las cantidades de obra.
        for (int b = 0; b < 6; ++b) {
            e.plataforma.Modales.enqueue(
                [](QDialog& d) { return d.objectName() == u"Imprime"_s ? 1 : 0; });
            if (b < 5)
                QTest::mouseClick(e.Control(u"btnImprime%1"_s.arg(b)), Qt::LeftButton);
            else
                e.Menu(3);
            QCOMPARE(e.plataforma.VentanasModales.size(), b + 1);
            QCOMPARE(e.plataforma.VentanasModales.last(), u"Imprime"_s);
            // El archivo es el del escritor del reporte, y el diálogo lo soltó.
            const QString archivo = QString::fromLatin1(LeerBytes(u"Ultimo.inf"_s)).trimmed();
            QVERIFY(archivo.startsWith(u"r"_s) && !QFile::exists(archivo + u".PRO"_s));
            ModuloVarek9 copia = e.modulo;
            copia.Separador = SeparadorDecimal::Punto;
            EstadoDiseno estado;
            QVERIFY(EscribirReporte(b + 1, copia, estado, u"esperado"_s).Ok);
            QCOMPARE(LeerBytes(archivo), LeerBytes(u"esperado"_s));
        }
        // Imprime el reporte del botón b a PDF.
        const auto pdf = [&](int b) {
            e.plataforma.Modales.enqueue([](QDialog& d) {
                QTest::mouseClick(d.findChild<QWidget*>(u"PantallaImpresora1"_s), Qt::LeftButton);
                QTest::mouseClick(d.findChild<QWidget*>(u"Boton0"_s), Qt::LeftButton);
                return 0;
            });
            QTest::mouseClick(e.Control(u"btnImprime%1"_s.arg(b)), Qt::LeftButton);
        };
        pdf(0);
        pdf(1);
        pdf(3);
        const QStringList esperadas = {
            e.dir.filePath(u"Vía 3, tramo 2 - UNIDADES HOMOGENEAS DE DISEÑO.pdf"_s),
            e.dir.filePath(u"Vía 3, tramo 2 - ESPESORES ESTRUCTURAS ALTERNATIVAS.pdf"_s),
            e.dir.filePath(u"Vía 3, tramo 2 - COSTOS ALTERNATIVAS SELECCIONADAS.pdf"_s)};
        QCOMPARE(e.plataforma.PropuestasGuardar, esperadas);
        QCOMPARE(e.plataforma.ConfirmacionesGuardar, (QList<bool>{false, false, false}));
        QVERIFY(QFile::exists(esperadas[0]) && QFile::exists(esperadas[1]));
        QVERIFY(!QFile::exists(e.dir.filePath(u"print.pdf"_s)) && e.plataforma.Mensajes.isEmpty());
        // Cancelar el nombre no imprime.
        QFile::remove(esperadas[0]);
        e.plataforma.AceptarPropuesta = false;
        pdf(0);
        QVERIFY(!QFile::exists(esperadas[0]));
#ifdef Q_OS_LINUX
        // Una carpeta donde ni root puede crear archivos: el reporte no se escribe, se
        // avisa y no se abre el diálogo de impresión.
        {
            const DirectorioActual sinEscritura(u"/proc/self"_s);
            QTest::mouseClick(e.Control(u"btnImprime3"_s), Qt::LeftButton);
        }
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Icono, IconoMensaje::Exclamacion);
        QCOMPARE(e.plataforma.VentanasModales.size(), 10);
#endif
    }

    // El panel de comprobaciones de la unidad actual y la marca en el costo de cada
    // alternativa que no cumple. A (W18 100000, CBR 5) y B (300000, 12) con Zr 1.282,
    // Subhumedo y Templado: los números, calculados aparte (raíz por bisección, espesores
    // por las reglas de diseño).
    void panelDeVerificacion() {
        VentanaAlternativas e;
        QList<UnidadHomogenea> unidades;
        for (const auto& [w18, cbr] : {std::pair{100000.0, 5.0}, std::pair{300000.0, 12.0}}) {
            UnidadHomogenea u = UnidadTramo(u"U"_s, 0, 100);
            u.AnchoCorona = 6;
            u.EjesEquivalentes = w18;
            u.CBR = cbr;
            u.ClimaHumedad = u"Subhumedo"_s;
            u.ClimaTemperatura = u"Templado"_s;
            u.TipoAfirmado = u"No hay"_s;
            unidades << u;
        }
        PonerUnidades(e.modulo.Proyecto, unidades);
        e.modulo.Proyecto.Zr = 1.282;
        e.modulo.Proyecto.So = 0.44;
        e.modulo.Proyecto.ServiciabilidadFinal = 2.0;
        e.Abrir();
        auto* panel = e.Control<QTableWidget>(u"grdVerificacion"_s);
        const auto celda = [&](int f, int n) { return panel->item(f, n - 1); };
        QCOMPARE(panel->verticalHeaderItem(2)->text(), u"SN sobre la base: requerido / aportado"_s);
        QCOMPARE(celda(0, 1)->text() + u'|' + celda(1, 1)->text() + u'|' + celda(2, 1)->text(),
                 u"2.3610|2.3591\nno cumple|1.3387 / 0.0000\nBG: no cumple"_s);
        QCOMPARE(celda(2, 3)->text() + u'|' + celda(0, 2)->text() + u'|' + celda(1, 2)->text(),
                 u"1.3387 / 1.3402\nBG: cumple|No aplica|"_s);
        QCOMPARE(celda(2, 1)->foreground().color(), QColor(192, 0, 0));
        QVERIFY(celda(2, 1)->toolTip().contains(u"tratamiento superficial no aporta"_s));
        QVERIFY(celda(2, 3)->toolTip().isEmpty());
        // Alternativa 1 de A no cumple; la 3 cumple todo.
        QVERIFY(!e.grilla->Aviso(2, 9).isEmpty() && e.grilla->Aviso(2, 11).isEmpty());
        // B: el MDF-2 redondeado al milímetro deja la base apenas por debajo; con la coma.
        e.v->findChild<QAction*>(u"mnuSeparadorComa"_s)->trigger();
        e.grilla->PonerCelda(3, 2);
        QCOMPARE(celda(2, 3)->text(), u"1,6334 / 1,6315\nBG: no cumple"_s);
        QVERIFY(!e.grilla->Aviso(3, 11).isEmpty());
        // La fila de totales no es una unidad: el panel queda vacío.
        e.grilla->PonerCelda(5, 2);
        QVERIFY(celda(0, 1)->text().isEmpty() && celda(2, 3)->text().isEmpty());
    }

    // Opciones, Sensibilidad: las curvas de la unidad actual en su ventana, exportadas a
    // SVG; fuera de una unidad con diseño, un aviso y ninguna ventana.
    void sensibilidadDeLaUnidad() {
        VentanaAlternativas e;
        e.modulo.Proyecto.UH[2].EjesEquivalentes = 600000;
        e.Abrir();
        const QString ruta = e.dir.filePath(u"curvas.svg"_s);
        e.plataforma.RutasGuardar.enqueue(ruta);
        QString titulo;
        e.plataforma.Modales.enqueue([&](QDialog& d) {
            titulo = d.windowTitle();
            if (dynamic_cast<frmSensibilidad&>(d).Curvas().size() == 3)
                QTest::mouseClick(d.findChild<QPushButton*>(u"btnExportar"_s), Qt::LeftButton);
            return 0;
        });
        e.Menu(4);
        QCOMPARE(e.plataforma.VentanasModales, QStringList{u"frmSensibilidad"_s});
        QCOMPARE(titulo, u"SENSIBILIDAD ["_s + e.modulo.ArchivoProyecto + u']');
        const QString svg = QString::fromUtf8(LeerBytes(ruta));
        QVERIFY(svg.startsWith(u"<?xml"_s) && svg.endsWith(u"</svg>\n"_s));
        QVERIFY(svg.contains(u">Sensibilidad de la unidad 1 [T-1]</text>"_s));
        // Por curva, la línea del SN (azul) y la del costo (discontinua), más la leyenda.
        QCOMPARE(svg.count(u"fill=\"none\" stroke=\"rgb(0,70,160)\" stroke-width=\"2.00\"/>"_s),
                 3 + 1);
        QCOMPARE(svg.count(u"fill=\"none\" stroke=\"rgb(170,40,0)\" stroke-width=\"2.00\" "
                           u"stroke-dasharray=\"6,4\"/>"_s),
                 3 + 1);
        for (const int fila : {3, 5}) {
            e.grilla->PonerCelda(fila, 1);
            e.Menu(4);
        }
        QCOMPARE(e.plataforma.VentanasModales.size(), 1);
        QStringList avisos;
        for (const MensajeRegistrado& m : e.plataforma.Mensajes)
            avisos << m.Texto;
        QCOMPARE(avisos, (QStringList{u"La unidad [T-2] no tiene diseño: Tránsito mayor que "
                                      u"500,000 ejes: fuera del alcance del método."_s,
                                      u"Elija una unidad en la grilla."_s}));
    }

    // Una unidad sin diseño dice por qué donde irían las estructuras; con todos los
    // costos unitarios en 0 la ventana lo dice una vez al abrir. La que tiene diseño
    // dibuja las cajas del dibujo del núcleo.
    void dibujoYMotivoSinDiseno() {
        VentanaAlternativas e(5);
        // Tránsito alto, sin tránsito, sin CBR y una demanda tan baja que la ecuación no
        // tiene raíz en [0, 30]; la unidad 5 sí se diseña, con afirmado y subrasante.
        const QList<std::pair<double, double>> casos{{500400, 5}, {0, 5}, {80000, -1}, {100, 100}};
        for (int i = 1; i <= 4; ++i) {
            e.modulo.Proyecto.UH[i].EjesEquivalentes = casos[i - 1].first;
            e.modulo.Proyecto.UH[i].CBR = casos[i - 1].second;
        }
        UnidadHomogenea& u4 = e.modulo.Proyecto.UH[5];
        u4.TipoAfirmado = u"AFR-1"_s;
        u4.EspesorAfirmado = 20;
        u4.EspesorSubrasante = 30;
        e.modulo.Proyecto.CostosUnitarios.fill(0);
        e.Abrir();
        auto* lb = e.Control<QLabel>(u"lbSinDiseno"_s);
        QStringList motivos;
        for (int i = 1; i <= 4; ++i) {
            e.grilla->PonerCelda(i + 1, 0);
            motivos << (lb->isVisible() ? lb->text() : QString());
        }
        QCOMPARE(motivos,
                 (QStringList{u"Tránsito mayor que 500,000 ejes: fuera del alcance del método"_s,
                              u"Tránsito no definido"_s, u"CBR no definido"_s,
                              u"El número estructural no converge"_s}));
        // Ninguna alternativa ni estructura.
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(!e.Control(u"imgNoAplica%1"_s.arg(n))->isVisible());
            QVERIFY(!e.Opcion(n)->isEnabled() && !e.Opcion(n)->isChecked());
            for (int k = 0; k < 5; ++k)
                QVERIFY(!e.Caja(n, k)->isVisible());
        }
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QVERIFY(e.plataforma.Mensajes[0].Texto.startsWith(u"Los costos unitarios son cero"_s));
        // Otra fila con diseño no lo muestra, y sí su dibujo.
        e.grilla->PonerCelda(6, 0);
        const DibujoEspesores& d = e.v->Dibujo();
        QVERIFY(!lb->isVisible() && d.Tmax > 0);
        int aplicables = 0;
        for (int n = 1; n <= 6; ++n) {
            const EstructuraDibujada& s = d.Estructuras[n];
            QCOMPARE(e.Control(u"imgNoAplica%1"_s.arg(n))->isVisible(), !s.Aplica);
            QCOMPARE(e.Opcion(n)->isEnabled(), s.Aplica);
            if (!s.Aplica) continue;
            ++aplicables;
            for (int k = 0; k < 5; ++k) {
                QWidget* caja = e.Caja(n, k);
                QCOMPARE(caja->isVisible(), s.Cajas[k].Visible);
                if (!s.Cajas[k].Visible) continue;
                // Alto en píxeles a 96 ppp: twips / 15, con el redondeo de cada borde.
                QVERIFY(std::abs(caja->height() - s.Cajas[k].Alto / 15.0) <= 1.0);
                QCOMPARE(caja->toolTip(), s.Cajas[k].Ayuda);
            }
        }
        QVERIFY(aplicables > 0);
    }

    void escribirYAceptar() {
        Dialogo e;
        // El geotextil es la novena fila, con su número de tipo: no hay afirmado ni
        // subrasante.
        QVERIFY(e.g->Texto(9, 0) == u"11"_s && e.g->Columna() == 4);
        e.g->PonerCelda(2, 4);
        QTest::keyClicks(e.g, u"a"_s); // las letras no abren el editor
        QVERIFY(!e.d->Editando());
        QTest::keyClicks(e.g, u"1"_s);
        QVERIFY(e.d->Editando());
        QTest::keyClicks(e.txt, u"234.5"_s);
        QTest::keyClick(e.txt, Qt::Key_Return);
        QVERIFY(!e.d->Editando() && QApplication::focusWidget() == e.g);
        // Delete vacía la celda; vacía vale 0.
        QTest::keyClick(e.g, Qt::Key_Delete);
        QVERIFY(e.g->Texto(3, 4).isEmpty() && !e.modulo.ProyectoModificado);
        QTest::mouseClick(e.d->findChild<QWidget*>(u"btnAceptar"_s), Qt::LeftButton);
        QVERIFY(e.d->result() == int(QDialog::Accepted) && e.modulo.ProyectoModificado);
        // El afirmado no se lista y conserva su costo.
        const auto& cu = e.modulo.Proyecto.CostosUnitarios;
        QCOMPARE((QList<double>{cu[CapaTSD], cu[CapaBG], cu[CapaSBG], cu[CapaAFR]}),
                 (QList<double>{1000.5, 1234.5, 0, 9000.5}));
    }

    void escapeRestaura() {
        Dialogo e;
        e.g->PonerCelda(4, 4);
        QTest::keyClick(e.g, Qt::Key_F2);
        QVERIFY(e.d->Editando());
        // Lo escrito reemplaza el número de la celda.
        QTest::keyClicks(e.txt, u"77"_s);
        QCOMPARE(e.g->Texto(4, 4), u"77.00"_s);
        QTest::keyClick(e.txt, Qt::Key_Escape);
        QVERIFY(!e.d->Editando() && e.g->Texto(4, 4) == u"4,000.50"_s);
        // Doble clic también abre el editor con el número de la celda.
        const QRect celda = e.g->RectanguloCelda(5, 4);
        QTest::mouseDClick(e.g->viewport(), Qt::LeftButton, {},
                           e.g->viewport()->mapFrom(e.g, celda.center()));
        QVERIFY(e.d->Editando() && e.txt->text() == u"5000.5"_s); // el valor exacto
        // Flecha abajo cierra y baja; la celda conserva lo escrito.
        QTest::keyClicks(e.txt, u"9"_s);
        QTest::keyClick(e.txt, Qt::Key_Down);
        QVERIFY(!e.d->Editando() && e.g->Texto(5, 4) == u"9.00"_s && e.g->Fila() == 6);
        // Salir: nada llega al proyecto.
        QTest::mouseClick(e.d->findChild<QWidget*>(u"btnSalir"_s), Qt::LeftButton);
        QVERIFY(e.modulo.Proyecto.CostosUnitarios[5] == 5000.5 && !e.modulo.ProyectoModificado);
    }

    // La forma ambigua se lee con la convención; con la otra y sin ambigüedad, igual.
    // Sin número se rechaza y la celda conserva su valor (el de BG es 2000.5).
    void costosConSeparador_data() {
        Columnas<bool, QString, QString, double, QString>(
            {"coma", "escrito", "celda", "guardado", "aviso"});
        QTest::newRow("miles con coma")
            << true << u"750.000"_s << u"750.000,00"_s << 750000.0 << QString();
        QTest::newRow("decimales con punto")
            << false << u"750.000"_s << u"750.00"_s << 750.0 << QString();
        QTest::newRow("coma decimal")
            << true << u"1234,5"_s << u"1.234,50"_s << 1234.5 << QString();
        QTest::newRow("coma con punto") << false << u"6,5"_s << u"6.50"_s << 6.5 << QString();
        QTest::newRow("sin número")
            << true << u"cinco"_s << u"2.000,50"_s << 2000.5
            << u"El costo unitario [cinco] de [BG] no es un número; la celda conserva su valor..."_s;
    }
    void costosConSeparador() {
        TOMAR((coma, escrito, celda, aviso), bool, QString, QString, QString);
        Dialogo e(coma ? SeparadorDecimal::Coma : SeparadorDecimal::Punto);
        QCOMPARE(e.g->Texto(1, 4), coma ? u"1.000,50"_s : u"1,000.50"_s);
        e.g->PonerCelda(2, 4);
        QTest::keyClick(e.g, Qt::Key_F2);
        QCOMPARE(e.txt->text(), coma ? u"2000,5"_s : u"2000.5"_s);
        QTest::keyClicks(e.txt, escrito);
        QCOMPARE(e.g->Texto(2, 4), celda); // mientras se escribe
        QTest::keyClick(e.txt, Qt::Key_Return);
        QCOMPARE(e.g->Texto(2, 4), celda);
        QCOMPARE(e.plataforma.Mensajes.size(), aviso.isEmpty() ? 0 : 1);
        QCOMPARE(e.plataforma.Mensajes.value(0).Texto, aviso);
        QCOMPARE(e.g->Fila(), aviso.isEmpty() ? 3 : 2); // rechazado, se queda para corregirlo
        // La otra convención, desde el menú: la grilla cambia, los valores no.
        e.d->findChild<QAction*>(coma ? u"mnuSeparadorPunto"_s : u"mnuSeparadorComa"_s)->trigger();
        QCOMPARE(e.g->Texto(1, 4), coma ? u"1,000.50"_s : u"1.000,50"_s);
        QTest::mouseClick(e.d->findChild<QWidget*>(u"btnAceptar"_s), Qt::LeftButton);
        QTEST(e.modulo.Proyecto.CostosUnitarios[CapaBG], "guardado");
        QCOMPARE(e.modulo.Proyecto.CostosUnitarios[CapaTSD], 1000.5);
    }

    void seleccionZoomArrastreYMenorCosto() {
        ConDiagrama e(12);
        QCOMPARE(e.diagrama->windowTitle(),
                 u"DIAGRAMA LINEAL DE ESTRUCTURAS [%1]"_s.arg(e.modulo.ArchivoProyecto));
        // La unidad sin diseño: columna sin alternativa; su fila sin marca.
        QCOMPARE(e.Columna(4).Alternativa, 0);
        for (int n = 1; n <= 6; ++n)
            QVERIFY(!e.grilla->Marcada(5, 8 + n));
        // La primera, una con solape y otra; cada una con la alternativa que se elige
        // después en la ventana.
        for (const auto& [unidad, alternativa] : {std::pair{1, 5}, {3, 6}, {6, 3}}) {
            // Sobre la columna, su ayuda.
            QHelpEvent ayuda(QEvent::ToolTip, e.Centro(unidad),
                             e.lienzo->mapToGlobal(e.Centro(unidad)));
            QApplication::sendEvent(e.lienzo, &ayuda);
            QCOMPARE(QToolTip::text(), e.Columna(unidad).Ayuda());
            QTest::mouseClick(e.lienzo, Qt::LeftButton, {}, e.Centro(unidad));
            QCOMPARE(e.grilla->Fila(), unidad + 1);
            const int antes = e.modulo.Proyecto.UH[unidad].AlternativaSeleccionada;
            QCOMPARE(e.Columna(unidad).Alternativa, antes);
            QVERIFY(e.grilla->Marcada(unidad + 1, 8 + antes));
            e.ClicOpcion(alternativa);
            // El diagrama abierto y la marca de la grilla siguen a la elección.
            QCOMPARE(e.Columna(unidad).Alternativa, alternativa);
            for (int n = 1; n <= 6; ++n)
                QCOMPARE(e.grilla->Marcada(unidad + 1, 8 + n), n == alternativa);
            QCOMPARE(e.grilla->Texto(unidad + 1, 8 + alternativa),
                     Formato(e.Columna(unidad).Costo / 1000, u"#,##0"));
        }

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
        QCOMPARE(e.grilla->Fila(), 7); // arrastrar no elige unidad: sigue la 6
        // Alejar más allá del camino se queda en el camino; Inicio lo muestra entero.
        e.Rueda(punto, -15);
        QTest::keyClick(e.lienzo, Qt::Key_Home);
        QVERIFY(e.diagrama->Desde() == desde && e.diagrama->Hasta() == hasta);
        e.Rueda(punto, -10 * 15);
        QCOMPARE(e.diagrama->Hasta() - e.diagrama->Desde(), hasta - desde);

        // La selección de menor costo llega al diagrama abierto y a la grilla; Ctrl+Z en el
        // diagrama la deshace.
        HistorialProyecto historial{e.modulo};
        historial.Vaciar();
        const QByteArray previo = TextoProyecto(e.modulo.Proyecto);
        ModuloVarek9 copia = e.modulo;
        const ResultadoMenorCosto esperado = SeleccionarMenorCosto(copia);
        QVERIFY(esperado.Cambiadas > 0);
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si); // "Todas"
        e.Menu(2);
        QCOMPARE(e.plataforma.Mensajes.size(), 2);
        QCOMPARE(e.plataforma.Mensajes[1].Texto,
                 u"Costo total de las alternativas seleccionadas: antes %1, ahora %2 (miles de "
                 "pesos)"_s.arg(Formato(esperado.CostoAntes / 1000, u"#,##0"),
                                Formato(esperado.CostoDespues / 1000, u"#,##0")));
        QVERIFY(e.modulo.ProyectoModificado);
        for (int i = 1; i <= 12; ++i) {
            const int n = copia.Proyecto.UH[i].AlternativaSeleccionada;
            QCOMPARE(e.modulo.Proyecto.UH[i].AlternativaSeleccionada, n);
            if (i == 4) continue; // sin diseño
            QVERIFY(e.Columna(i).Alternativa == n && e.grilla->Marcada(i + 1, 8 + n));
        }
        // La opción marcada de la fila actual es la nueva selección.
        const int n = e.modulo.Proyecto.UH[6].AlternativaSeleccionada;
        QVERIFY(e.Opcion(n)->isChecked());
        e.diagrama->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e.diagrama));
        QTest::keyClick(e.diagrama, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(TextoProyecto(e.modulo.Proyecto), previo);
    }

    // El SVG y el PNG salen por la misma exportación que la orden diagrama de
    // varek9-cli, que prueba su contenido; aquí, el PDF del botón y el de la impresora.
    // Ni el botón ni la impresora escriben sobre el proyecto ("Prueba.vk9"), y otro
    // archivo ("viejo.svg") no se reemplaza sin preguntar.
    void exportarEImprimir_data() {
        // aviso: sin aviso se escribe y se lee el PDF.
        Columnas<bool, QString, int, QString>({"impresora", "archivo", "unidades", "aviso"});
        QTest::newRow("pdf") << false << u"d.pdf"_s << 6 << QString();
        QTest::newRow("pdf largo") << false << u"d.pdf"_s << 120 << QString();
        QTest::newRow("impresora") << true << u"impreso.pdf"_s << 120 << QString();
        const QString proyecto = u": El archivo [Prueba.vk9] es el proyecto abierto: no se puede "
                                 "escribir sobre él. Elija otro nombre..."_s;
        QTest::newRow("sobre el proyecto")
            << false << u"Prueba.vk9"_s << 6 << u"EXPORTAR DIAGRAMA"_s + proyecto;
        QTest::newRow("impresora sobre el proyecto")
            << true << u"Prueba.vk9"_s << 6 << u"IMPRESORA"_s + proyecto;
        QTest::newRow("otro archivo")
            << false << u"viejo.svg"_s << 6
            << u"EXPORTAR DIAGRAMA: El archivo [viejo.svg] ya existe. ¿Desea reemplazarlo?"_s;
    }
    void exportarEImprimir() {
        TOMAR((impresora, archivo, unidades, aviso), bool, QString, int, QString);
        ConDiagrama e(unidades);
        const DiagramaLineal& d = e.diagrama->Diagrama();
        const QString ruta = e.dir.filePath(archivo);
        const QByteArray viejo = "[Proyecto]\r\n";
        for (const QString& otro : {u"Prueba.vk9"_s, u"viejo.svg"_s})
            QVERIFY(EscribirBytes(otro, viejo));
        if (impresora) {
            e.plataforma.ImpresoraPdf.setOutputFormat(QPrinter::PdfFormat);
            e.plataforma.ImpresoraPdf.setOutputFileName(ruta);
            QTest::mouseClick(e.diagrama->findChild<QWidget*>(u"btnImprimir"_s), Qt::LeftButton);
            QCOMPARE(e.plataforma.ImpresorasConfiguradas, 1);
        } else {
            e.plataforma.RutasGuardar.enqueue(ruta);
            QTest::mouseClick(e.diagrama->findChild<QWidget*>(u"btnExportar"_s), Qt::LeftButton);
            QCOMPARE(e.plataforma.PropuestasGuardar.size(), 1);
        }
        QStringList avisos;
        for (const MensajeRegistrado& m : e.plataforma.Mensajes)
            avisos << m.Titulo + u": "_s + m.Texto;
        QCOMPARE(avisos, aviso.isEmpty() ? QStringList() : QStringList{aviso});
        for (const QString& otro : {u"Prueba.vk9"_s, u"viejo.svg"_s})
            QCOMPARE(LeerBytes(otro), viejo); // la respuesta por defecto es No
        if (!aviso.isEmpty()) return;
        QVERIFY(QFileInfo(ruta).size() > 0);

        // PDF: apaisado, varias páginas si el camino es largo, cada rótulo legible.
        SALTAR_SIN_PDFTOTEXT();
        const QString info = SalidaPoppler(u"pdfinfo"_s, {ruta});
        const int paginas = info.section(u"Pages:"_s, 1).trimmed().section(u'\n', 0, 0).toInt();
        QCOMPARE(paginas > 1, unidades > 6);
        const auto tamano = QRegularExpression(u"Page size: +([\\d.]+) x ([\\d.]+)"_s).match(info);
        QVERIFY(tamano.captured(1).toDouble() > tamano.captured(2).toDouble()); // apaisada
        const QString texto = SalidaPoppler(u"pdftotext"_s, {ruta, u"-"_s});
        QCOMPARE(texto.count(u"DIAGRAMA LINEAL DE ESTRUCTURAS"_s), paginas);
        QVERIFY(texto.contains(u"Página %1 de %1"_s.arg(paginas)));
        bool conTratamiento = false;
        for (const ColumnaDiagrama& c : d.Columnas) {
            QVERIFY2(texto.contains(TextoAbscisa(c.Desde)), qPrintable(c.Codigo));
            for (const CapaDiagrama& capa : c.Capas) {
                if (capa.Espesor > 0) QVERIFY(texto.contains(capa.Etiqueta));
                conTratamiento = conTratamiento || capa.Espesor <= 0;
            }
        }
        // El tratamiento superficial se dibuja con su rótulo.
        QCOMPARE(texto.contains(u"TSD"_s), conTratamiento);
    }

    // La memoria del ejemplo desde su botón: propone el nombre junto al proyecto y la
    // escribe en el papel de la impresora, sin mensajes (su contenido: PruebasMemoria).
    void memoriaDeDiseno() {
        VentanaAlternativas e;
        QVERIFY(!LeerProyectoDesde(e.modulo, VAREK9_EJEMPLOS u"/Ejemplo.vk9"_s).NoEsProyecto);
        e.modulo.ArchivoProyecto = e.dir.filePath(u"Ejemplo"_s);
        e.Abrir();
        const QString ruta = e.dir.filePath(u"memoria.pdf"_s);
        e.plataforma.ImpresoraPdf.setPageSize(QPageSize(QPageSize::Letter));
        e.plataforma.RutasGuardar.enqueue(ruta);
        QTest::mouseClick(e.Control<QPushButton>(u"btnMemoria"_s), Qt::LeftButton);
        QCOMPARE(e.plataforma.PropuestasGuardar,
                 QStringList{e.dir.filePath(u"Ejemplo - Memoria de Diseño.pdf"_s)});
        QVERIFY(e.plataforma.Mensajes.isEmpty() && LeerBytes(ruta).startsWith("%PDF"));
        SALTAR_SIN_PDFTOTEXT();
        QVERIFY(SalidaPoppler(u"pdfinfo"_s, {ruta}).contains(u"612 x 792 pts (letter)"_s));
    }

    // Opciones -> "Exportar a Hoja de Cálculo...": el nombre elegido (con la
    // extensión que falte), nunca sobre el proyecto.
    void exportarAHoja_data() {
        // escrito (vacío: no se escribe).
        Columnas<QString, QString, QString>({"elegido", "escrito", "aviso"});
        const bool xlsx = HayEscrituraXlsx();
        QTest::newRow("xlsx") << u"r.xlsx"_s << (xlsx ? u"r.xlsx"_s : QString())
                              << (xlsx ? QString() : TextoSinXlsx());
        QTest::newRow("csv") << u"r.CSV"_s << u"r.CSV"_s << QString();
        QTest::newRow("sin extensión") << u"r"_s << (xlsx ? u"r.xlsx"_s : u"r.csv"_s) << QString();
        QTest::newRow("sobre el proyecto")
            << u"Prueba.vk9"_s << QString()
            << u"El archivo [Prueba.vk9] es el proyecto abierto: no se puede escribir sobre él. "
               "Elija otro nombre..."_s;
    }
    void exportarAHoja() {
        TOMAR((elegido, escrito, aviso), QString, QString, QString);
        ConDiagrama e(5);
        e.modulo.Separador = SeparadorDecimal::Coma;
        QVERIFY(EscribirBytes(u"Prueba.vk9"_s, "[Proyecto]\r\n"));
        e.plataforma.RutasGuardar.enqueue(e.dir.filePath(elegido));
        e.Menu(5);
        QCOMPARE(e.plataforma.PropuestasGuardar.size(), 1);
        QVERIFY(e.plataforma.PropuestasGuardar[0].endsWith(
            HayEscrituraXlsx() ? u"Prueba - Resultados.xlsx"_s : u"Prueba - Resultados.csv"_s));
        QCOMPARE(e.plataforma.Mensajes.size(), aviso.isEmpty() ? 0 : 1);
        QCOMPARE(e.plataforma.Mensajes.value(0).Texto.remove(e.dir.path() + u'/'), aviso);
        QCOMPARE(LeerBytes(u"Prueba.vk9"_s), QByteArray("[Proyecto]\r\n"));
        const QStringList archivos = QDir(e.dir.path()).entryList({u"r*"_s}, QDir::Files);
        QCOMPARE(archivos, escrito.isEmpty() ? QStringList() : QStringList{escrito});
        if (escrito.isEmpty()) return;
        const QByteArray bytes = LeerBytes(escrito);
        if (escrito.endsWith(u"CSV"_s) || escrito.endsWith(u"csv"_s)) {
            // Con la coma decimal de la ventana, separado por ";".
            QVERIFY(bytes.startsWith("\xEF\xBB\xBFUnidades\r\nUH;"));
            return;
        }
        // La hoja Selección: títulos, las 5 unidades y el total.
        const LecturaHoja l = LeerXlsx(bytes, u"Selección"_s);
        QVERIFY(l.Error.isEmpty() && l.Filas.value(0).value(0).Texto == u"UH"_s);
        QCOMPARE(l.Filas.value(6).value(0).Texto, u"TOTAL"_s);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmAlternativas)
#include "PruebasfrmAlternativas.moc"
