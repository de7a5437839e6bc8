// Ventana de alternativas fuera de pantalla: grilla, totales, cambio de fila,
// selección, dibujo, costos unitarios y reportes.
#include "Pruebas.h"
#include "VentanaAlternativas.h"

#include "alternatives/Reportes.h"
#include "common/Formato.h"

#include <QLabel>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace {

// Costos por alternativa de cada unidad y sus totales, calculados sin la ventana.
struct Costos {
    QList<std::array<double, 7>> PorUnidad;
    std::array<double, 7> Total{};
};

Costos CostosDe(ModuloVarek9 m) {
    EstadoDiseno e;
    Costos c;
    c.PorUnidad.resize(m.Proyecto.NumeroUH + 1);
    DisenarProyecto(m, e, [&](int i) { c.PorUnidad[i] = e.CostoAlternativa; });
    c.Total = e.CostoTotal;
    return c;
}

} // namespace

class PruebasfrmAlternativas : public QObject {
    Q_OBJECT
private slots:
    void grillaTotalesSeleccionYCostos() {
        VentanaAlternativas e;
        e.modulo.ArchivoProyecto = u"/datos/Prueba"_s;
        e.Abrir();
        QCOMPARE(e.v->windowTitle(), u"ALTERNATIVAS DE DISEÑO [/datos/Prueba]"_s);
        Grilla& g = *e.grilla;
        QCOMPARE(g.Filas(), 7);
        const Costos c = CostosDe(e.modulo);
        for (int i = 1; i <= 3; ++i) {
            const UnidadHomogenea& u = e.modulo.Proyecto.UH[i];
            QCOMPARE(g.Texto(i + 1, 0), QString::number(i));
            QCOMPARE(g.Texto(i + 1, 1), u.CodigoTramo);
            QCOMPARE(g.Texto(i + 1, 2), Formato(u.AbscisaInicial, u"#,##0.00"));
            QCOMPARE(g.Texto(i + 1, 4), Formato(u.AbscisaFinal - u.AbscisaInicial, u"0.00"));
            QCOMPARE(g.Texto(i + 1, 6), Formato(u.EjesEquivalentes, u"0.00E+#00"));
            QCOMPARE(g.Texto(i + 1, 8), Formato(u.SNRequerido, u"0.00"));
            for (int n = 1; n <= 6; ++n)
                QCOMPARE(g.Texto(i + 1, 8 + n), Formato(c.PorUnidad[i][n] / 1000, u"#,##0"));
        }
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(e.v->Estado().CostoTotal[n] == c.Total[n]);
            QCOMPARE(g.Texto(6, 8 + n), Formato(c.Total[n] / 1000, u"#,##0"));
        }
        // Fila 2 actual y resaltada.
        QCOMPARE(g.Fila(), 2);
        QCOMPARE(e.v->FilaActual(), 2);
        QCOMPARE(g.ColorFondo(2, 7), QColor(255, 255, 192));

        // Otra fila pasa a ser la actual y resaltada.
        g.PonerCelda(3, 4);
        QCOMPARE(e.v->FilaActual(), 3);
        QVERIFY(!g.ColorFondo(2, 0).isValid());
        QCOMPARE(g.ColorFondo(3, 14), QColor(255, 255, 192));
        // La selección sigue a la fila: se elige la primera aplicable distinta de la actual.
        int otra = 0;
        for (int n = 1; n <= 6 && !otra; ++n)
            if (e.Opcion(n)->isEnabled() && !e.Opcion(n)->isChecked()) otra = n;
        QVERIFY(otra > 0);
        // Volver a marcar la elegida no cambia nada; otra alternativa es un cambio.
        const int actual = e.modulo.Proyecto.UH[2].AlternativaSeleccionada;
        QTest::mouseClick(e.Opcion(actual), Qt::LeftButton);
        QVERIFY(!e.modulo.ProyectoModificado);
        QTest::mouseClick(e.Opcion(otra), Qt::LeftButton);
        QCOMPARE(e.modulo.Proyecto.UH[2].AlternativaSeleccionada, otra);
        QVERIFY(e.modulo.ProyectoModificado);
        QCOMPARE(QApplication::focusWidget(), &g);
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
            QCOMPARE(e.Caja(otra, 1)->geometry(), antes);
            QVERIFY(e.Caja(otra, 1)->isVisible());
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
        const Costos nuevos = CostosDe(e.modulo);
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(e.grilla->Texto(6, 8 + n), Formato(nuevos.Total[n] / 1000, u"#,##0"));
        QVERIFY(e.grilla->Texto(6, 9) != totalAntes);
    }

    void dibujoDeLaUnidadActual() {
        VentanaAlternativas e;
        // Unidad 2 con afirmado y capa de subrasante.
        UnidadHomogenea& u2 = e.modulo.Proyecto.UH[2];
        u2.TipoAfirmado = u"AFR-1"_s;
        u2.EspesorAfirmado = 20;
        u2.EspesorSubrasante = 30;
        e.Abrir();
        e.grilla->PonerCelda(3, 0);
        const DibujoEspesores& d = e.v->Dibujo();
        QVERIFY(d.Tmax > 0);
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
            QVERIFY(e.Caja(n, 3)->isVisible() && e.Caja(n, 4)->isVisible());
        }
        QVERIFY(aplicables > 0);
    }

    // Una unidad sin diseño dice por qué donde irían las estructuras; con todos los
    // costos unitarios en 0 la ventana lo dice una vez al abrir.
    void motivoSinDiseno_data() {
        QTest::addColumn<double>("w18");
        QTest::addColumn<double>("cbr");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("transito alto")
            << 500400.0 << 5.0
            << u"Tránsito mayor que 500,000 ejes: fuera del alcance del método"_s;
        QTest::newRow("sin transito") << 0.0 << 5.0 << u"Tránsito no definido"_s;
        QTest::newRow("sin cbr") << 80000.0 << -1.0 << u"CBR no definido"_s;
    }
    void motivoSinDiseno() {
        QFETCH(double, w18);
        QFETCH(double, cbr);
        QFETCH(QString, motivo);
        VentanaAlternativas e;
        e.modulo.Proyecto.UH[1].EjesEquivalentes = w18;
        e.modulo.Proyecto.UH[1].CBR = cbr;
        e.modulo.Proyecto.CostosUnitarios.fill(0);
        e.Abrir();
        e.grilla->PonerCelda(2, 0);
        auto* lb = e.Control<QLabel>(u"lbSinDiseno"_s);
        QVERIFY(lb->isVisible());
        QCOMPARE(lb->text(), motivo);
        // Ninguna alternativa ni estructura.
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(!e.Control(u"imgNoAplica%1"_s.arg(n))->isVisible());
            QVERIFY(!e.Opcion(n)->isEnabled() && !e.Opcion(n)->isChecked());
            for (int k = 0; k < 5; ++k)
                QVERIFY(!e.Caja(n, k)->isVisible());
        }
        // Otra fila con diseño no lo muestra.
        e.grilla->PonerCelda(3, 0);
        QVERIFY(!lb->isVisible());
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Texto,
                 u"Los costos unitarios son cero: defínalos en Opciones → Definición de Costos "
                 "Unitarios"_s);
    }

    // Cada reporte en PDF pide su nombre junto al proyecto: el segundo no
    // reemplaza al primero, y reemplazar un archivo lo confirma el diálogo.
    void cadaPdfConSuNombre() {
        VentanaAlternativas e;
        e.modulo.ArchivoProyecto = e.dir.filePath(u"Vía 3, tramo 2"_s);
        e.plataforma.ImpresoraPdf.setOutputFormat(QPrinter::PdfFormat);
        e.plataforma.ImpresoraPdf.setOutputFileName(e.dir.filePath(u"print.pdf"_s));
        e.plataforma.AceptarPropuesta = true;
        e.Abrir();
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
        const QStringList esperadas = {
            e.dir.filePath(u"Vía 3, tramo 2 - UNIDADES HOMOGENEAS DE DISEÑO.pdf"_s),
            e.dir.filePath(u"Vía 3, tramo 2 - ESPESORES ESTRUCTURAS ALTERNATIVAS.pdf"_s)};
        QCOMPARE(e.plataforma.PropuestasGuardar, esperadas);
        QCOMPARE(e.plataforma.ConfirmacionesGuardar, (QList<bool>{true, true}));
        QVERIFY(QFile::exists(esperadas[0]) && QFile::exists(esperadas[1]));
        QVERIFY(!QFile::exists(e.dir.filePath(u"print.pdf"_s)));
        QVERIFY(e.plataforma.Mensajes.isEmpty());
        // Cancelar el nombre no imprime.
        QFile::remove(esperadas[0]);
        e.plataforma.AceptarPropuesta = false;
        pdf(0);
        QVERIFY(!QFile::exists(esperadas[0]));
    }

    void reportesDesdeLaVentana() {
        VentanaAlternativas e;
        e.Abrir();
        for (int b = 0; b < 4; ++b) {
            e.plataforma.Modales.enqueue(
                [](QDialog& d) { return d.objectName() == u"Imprime"_s ? 1 : 0; });
            QTest::mouseClick(e.Control(u"btnImprime%1"_s.arg(b)), Qt::LeftButton);
            QCOMPARE(e.plataforma.VentanasModales.size(), b + 1);
            QCOMPARE(e.plataforma.VentanasModales.last(), u"Imprime"_s);
            // El archivo es el del escritor del reporte, y el diálogo lo soltó.
            const QString archivo = QString::fromLatin1(LeerBytes(u"Ultimo.inf"_s)).trimmed();
            QVERIFY(archivo.startsWith(u"r"_s));
            QVERIFY(!QFile::exists(archivo + u".PRO"_s));
            ModuloVarek9 copia = e.modulo;
            EstadoDiseno estado;
            QVERIFY(EscribirReporte(b + 1, copia, estado, u"esperado"_s).Ok);
            QCOMPARE(LeerBytes(archivo), LeerBytes(u"esperado"_s));
        }
        QVERIFY(e.plataforma.Mensajes.isEmpty());
#ifdef Q_OS_LINUX
        // Una carpeta donde ni root puede crear archivos: el reporte no se escribe, se
        // avisa y no se abre el diálogo de impresión.
        {
            const DirectorioActual sinEscritura(u"/proc/self"_s);
            QTest::mouseClick(e.Control(u"btnImprime3"_s), Qt::LeftButton);
        }
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Titulo, u"ERROR"_s);
        QVERIFY(
            e.plataforma.Mensajes[0].Texto.startsWith(u"Se presentó un error en el sistema..."_s));
        QCOMPARE(e.plataforma.Mensajes[0].Icono, IconoMensaje::Exclamacion);
        QCOMPARE(e.plataforma.VentanasModales.size(), 4);
#endif
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmAlternativas)
#include "PruebasfrmAlternativas.moc"
