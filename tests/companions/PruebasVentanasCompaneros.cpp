// Ventanas de los programas complementarios, fuera de pantalla: el archivo X
// sostenido mientras la ventana vive, la unidad y las líneas que llegan en modo
// selección, lo que dejan al aceptar, nada al cancelar, los avisos de datos malos y
// los números con la convención del usuario. Y la espera por un archivo compartido
// (diálogo Ocupado y aviso en la barra) con el reloj de la plataforma de prueba, sin dormir.
#include "Pruebas.h"

#include "ApoyoVentanas.h"
#include "common/ArchivoEnUso.h"
#include "common/BloqueoArchivo.h"
#include "common/Ocupado.h"
#include "companions/Programas.h"
#include "companions/frmClima.h"
#include "companions/frmDrenaje.h"
#include "companions/frmMr.h"
#include "companions/frmTransito.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Escenario : CarpetaGuionada {
    std::unique_ptr<SesionCompanero> sesion;

    std::unique_ptr<QWidget> ventana; // vive menos que la sesión
    // La ventana del programa, ya a la vista, sobre una sesión iniciada con la línea
    // de comandos dada (vacía: sin argumentos) y la convención de los números.
    template <class T>
    T& Abrir(const QString& argumento, const QString& extension,
             SeparadorDecimal separador = SeparadorDecimal::Punto) {
        QStringList argumentos{u"programa"_s};
        if (!argumento.isEmpty()) argumentos.append(argumento);
        sesion = std::make_unique<SesionCompanero>(LeerArgumentosCompanero(argumentos), extension,
                                                   separador);
        if (!sesion->Iniciar()) qFatal("sin sesión para %s", qPrintable(argumento));
        auto* v = new T(*sesion, plataforma);
        ventana.reset(v);
        v->show();
        if (!QTest::qWaitForWindowExposed(v)) qFatal("ventana sin mostrar");
        return *v;
    }
    // Lo que entrega la tabla de unidades antes de llamar al programa.
    static void Unidad() { EscribirArchivoUnidad(NombreArchivoUnidad, {7, u"T-07"_s, 1500, 3200}); }
};

// Reemplaza el texto de un campo como lo haría el usuario: entra, escribe, sale.
void Escribir(QWidget& ventana, const QString& nombre, const QString& texto) {
    QLineEdit* campo = Control<QLineEdit>(ventana, nombre);
    campo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(campo, texto);
}

void Pulsar(QWidget& ventana, const char* boton) {
    QTest::mouseClick(Control<QPushButton>(ventana, QString::fromLatin1(boton)), Qt::LeftButton);
}

} // namespace

class PruebasVentanasCompaneros : public QObject {
    Q_OBJECT

    QTemporaryDir Carpeta; // la de los archivos esperados

private slots:
    // El archivo ausente, libre o tomado por otro que lo suelta tras unas pausas (-1:
    // nunca; lo suelta o se cancela en el diálogo). Se esperan las pausas y el diálogo.
    // En la barra (de estado, una etiqueta o ninguna) la espera no atiende eventos ni
    // tiene diálogo: avisa, espera y borra el aviso.
    void espera_data() {
        // El archivo: 0 ausente, 1 libre, 2 tomado; liberaA, en ms de pausas; la barra,
        // vacía con diálogo; lo esperado, "pausas | ventanas | aviso".
        Columnas<int, qint64, double, bool, QString, QString>(
            {"archivo", "liberaA", "azar", "cancelaEnDialogo", "barra", "esperado"});
        const auto fila = [](const char* nombre, qint64 liberaA, const char* esperado,
                             int archivo = 2, double azar = 0.5, bool cancela = false,
                             const char* barra = "") {
            QTest::newRow(nombre) << archivo << liberaA << azar << cancela << QString(barra)
                                  << QString(esperado);
        };
        const char* cinco = "1000 1000 1000 1000 1000 | Ocupado | ";
        fila("ausente", -1, " |  | ", 0);
        fila("libre", -1, " |  | ", 1);
        fila("liberado en la 2ª", 1200, "1000 1000 |  | ");
        fila("azar 0: 0.5 s", 1200, "500 500 500 |  | ", 2, 0.0);
        fila("azar casi 1: 1.5 s", 1200, "1500 |  | ", 2, 0.9999);
        fila("liberado en la 5ª", 5000, "1000 1000 1000 1000 1000 |  | ");
        fila("cancelado", -1, cinco, 2, 0.5, true);
        fila("liberado con el diálogo", -1, cinco);
        // Libre: ni aviso ni pausa.
        fila("libre, etiqueta", -1, " |  | visible", 1, 0.5, false, "etiqueta");
        fila("libre, barra de estado", -1, " |  | ", 1, 0.5, false, "estado");
        fila("etiqueta", 1200, "1000 1000 |  | oculta", 2, 0.5, false, "etiqueta");
        fila("barra de estado", 1200,
             "1000 1000 |  | La tabla [tabla.dat] está siendo utilizada por otro usuario.../", 2,
             0.5, false, "estado");
        fila("ninguna", 1200, "1000 1000 |  | ", 2, 0.5, false, "ninguna");
    }
    void espera() {
        TOMAR((archivo, liberaA, azar, cancelaEnDialogo, barra), int, qint64, double, bool,
              QString);
        const QTemporaryDir aqui;
        const QString ruta = aqui.filePath(u"tabla.dat"_s);
        BloqueoArchivo otro(ruta);
        QStatusBar estado;
        QLabel etiqueta;
        etiqueta.show();
        QStringList avisos;
        connect(&estado, &QStatusBar::messageChanged, &estado,
                [&avisos](const QString& m) { avisos.append(m); });
        QWidget* aviso = barra == u"estado"     ? static_cast<QWidget*>(&estado)
                         : barra == u"etiqueta" ? &etiqueta
                                                : nullptr;
        if (archivo > 0) QVERIFY(EscribirBytes(ruta, "datos"));
        if (archivo > 1) QVERIFY(otro.Bloquear());
        PlataformaGuionada plataforma;
        plataforma.ValorAzar = azar;
        // El reloj de arena mientras espera; en el diálogo, el puntero normal.
        const auto puntero = [] {
            return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1;
        };
        int esperando = Qt::WaitCursor, enDialogo = Qt::ArrowCursor;
        if (liberaA >= 0)
            plataforma.Programar(liberaA, [&] { otro.Liberar(), esperando = puntero(); });
        QString rotulo;
        bool cancelarVisible = false, seCerroSolo = false;
        plataforma.Modales.enqueue([&](QDialog& d) {
            rotulo = Texto(d, "Label1"), enDialogo = puntero();
            cancelarVisible = Control<QPushButton>(d, "Cancelar")->isVisible();
            if (cancelaEnDialogo) {
                Control<QPushButton>(d, "Cancelar")->click();
            } else {
                otro.Liberar();
                seCerroSolo = QTest::qWaitFor([&] { return !d.isVisible(); }, 5000);
            }
            return d.result();
        });

        // Solo el diálogo cancela la espera.
        QCOMPARE(EsperarArchivoLibre(plataforma, ruta, aviso, barra.isEmpty() ? 0 : 1),
                 cancelaEnDialogo);
        QVERIFY(esperando == Qt::WaitCursor && enDialogo == Qt::ArrowCursor && puntero() == -1);
        QStringList pausas;
        for (const int p : plataforma.Pausas)
            pausas << QString::number(p);
        if (barra == u"etiqueta")
            avisos << (etiqueta.isVisible() ? u"visible"_s : u"oculta"_s) + etiqueta.text();
        QTEST(pausas.join(u' ') + u" | "_s + plataforma.VentanasModales.join(u' ') + u" | "_s +
                  avisos.join(u'/'),
              "esperado");
        if (!plataforma.VentanasModales.isEmpty()) {
            QVERIFY(rotulo == QStringLiteral(" El Archivo [%1]").arg(ruta) && cancelarVisible);
            QCOMPARE(seCerroSolo, !cancelaEnDialogo);
        }
        // Cancelar no libera nada.
        QCOMPARE(ArchivoEnUso(ruta), cancelaEnDialogo);
    }

    void dialogo() {
        const QString ruta = Carpeta.filePath("dialogo.dat");
        BloqueoArchivo otro(ruta);
        QVERIFY(otro.Bloquear());
        PlataformaGuionada plataforma;
        plataforma.ValorAzar = 0.25;
        Ocupado d(plataforma);
        d.PonerArchivo(ruta);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), u"Chequeo de Concurrencia de Archivos"_s);
        // El rótulo con el archivo, en espera(); ni él ni el resultado se ven.
        QCOMPARE(Textos(d, {"Label4", "lbResultado"}), ruta + u"|0"_s);
        for (const char* oculto : {"Label4", "lbResultado"})
            QVERIFY(Control<QLabel>(d, QLatin1String(oculto))->isHidden());
        // La primera revisión encuentra el archivo tomado y deja la descripción; la
        // revisión periódica pide 2 s y cada vuelta, 0.5 a 1.5 s según el azar.
        QTRY_VERIFY(!Texto(d, "lbError").isEmpty());
        // Los rótulos, uno bajo otro dentro del diálogo.
        int y = -1;
        for (const char* rotulo : {"Label1", "Label2", "Label3", "lbError"}) {
            const QRect caja = Control(d, QLatin1String(rotulo))->geometry();
            QVERIFY(caja.top() > y && d.rect().contains(caja));
            y = caja.bottom();
        }
        QVERIFY(d.isVisible() && plataforma.Intervalos.mid(0, 2) == (QList<int>{2000, 750}));
        // Una vuelta nunca pasa de un día; sin número, no espera.
        QVERIFY(MilisegundosAlAzar(1, 0, 1e9) == 86400000 &&
                MilisegundosAlAzar(std::nan(""), 0, 1) == 0);

        // El doble clic esconde y muestra "Cancelar"; escondido, Escape no abandona.
        QTest::mouseDClick(&d, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!Control<QPushButton>(d, "Cancelar")->isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible() && !d.Cancelado());
        QTest::mouseDClick(&d, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(Control<QPushButton>(d, "Cancelar")->isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible() && d.Cancelado() && Texto(d, "lbResultado") == QStringLiteral("1"));
    }

    void transitoEnModoSeleccion() {
        Escenario e;
        Escenario::Unidad();
        QVERIFY(EscribirBytes("varek-9.tto", "Programa=Transito\r\nTPD=450\r\nCrecimiento=4\r\n"));
        auto& v = e.Abrir<frmTransito>(u"varek-9,N1,SinPresentacion,Seleccionar"_s, u".tto"_s);
        QCOMPARE(Texto(v, "lbUnidad"),
                 QStringLiteral("Unidad de diseño de la fila 7: tramo [T-07], abscisas 1,500.00 a "
                                "3,200.00 m"));
        // Lo guardado con la unidad llena los campos; lo demás, los valores típicos.
        QCOMPARE(Textos(v, {"txtTPD", "txtCrecimiento", "txtFactorC2G"}), u"450|4|3.44"_s);

        // El ejemplo de las pruebas de cálculo: W18 = 1,825,912.5
        Escribir(v, "txtTPD", "1000");
        const char* porcentajes[] = {"50", "10", "20", "20", "0", "0", "0", "0"};
        const char* factores[] = {"0.001", "1", "1.5", "3", "0", "0", "0", "0"};
        for (int i = 0; i < NumeroClasesVehiculo; ++i) {
            const QString clave = ClasesVehiculo()[i].Clave.toString();
            Escribir(v, "txtPorcentaje" + clave, porcentajes[i]);
            Escribir(v, "txtFactor" + clave, factores[i]);
        }
        Escribir(v, "txtCrecimiento", "0");
        QCOMPARE(Texto(v, "lbSuma"), u"100.00 %"_s);
        QVERIFY(Texto(v, "lbResultado").contains(u"1.83E+06") &&
                Texto(v, "lbResultado").contains(u"1,825,913"));

        Pulsar(v, "btnAceptar");
        QCOMPARE(v.result(), int(QDialog::Accepted)); // y cerrada
        // Las líneas del resultado, en PruebasCalculo; aquí, la referencia delante y CR LF.
        QVERIFY(LeerBytes("N1.RES").startsWith("varek-9\r\n 1825912.5 \r\n"));
        // Qué líneas se guardan, en PruebasCalculo; aquí, que se guardan al aceptar.
        QVERIFY(LineasDeTexto(LeerBytes("varek-9.tto")).contains("TPD=1000"));
        // X sigue tomado hasta que el programa termina.
        QVERIFY(ArchivoEnUso("N1"));
        e.sesion->Terminar();
        QVERIFY(!ArchivoEnUso("N1"));
    }

    void datosMalosYCancelar() {
        Escenario e;
        QVERIFY(EscribirBytes("varek-9.tto", "TPD=450\r\n"));
        auto& v = e.Abrir<frmTransito>(u"varek-9,N1,SinPresentacion,Seleccionar"_s, u".tto"_s);
        // Sin archivo de la unidad no se muestra ninguna.
        QVERIFY(!Control<QLabel>(v, "lbUnidad")->isVisible());

        Escribir(v, "txtTPD", "12,5,0");
        QVERIFY(Texto(v, "lbResultado").contains(u"TPD"));
        // Sigue abierta, con el foco en el campo malo.
        Pulsar(v, "btnAceptar");
        QCOMPARE(e.Avisos().size(), 1);
        QVERIFY(e.Avisos()[0].startsWith(u"DATOS DE ENTRADA: El tránsito promedio diario (TPD)"));
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(v, "txtTPD"));
        QVERIFY(Control<QLineEdit>(v, "txtTPD")->hasSelectedText());

        Escribir(v, "txtTPD", "300");
        Escribir(v, "txtPorcentajeBuses", "25");
        Pulsar(v, "btnAceptar");
        QCOMPARE(e.UltimoMensaje(),
                 u"La composición del tránsito suma 115.00 %; debe sumar 100 %..."_s);

        // Cancelar no deja resultado ni toca las líneas recibidas.
        Pulsar(v, "btnCancelar");
        QVERIFY(!v.isVisible() && v.result() == int(QDialog::Rejected) && !QFile::exists("N1.RES"));
        QCOMPARE(LeerBytes("varek-9.tto"), QByteArray("TPD=450\r\n"));
    }

    // "1.500" es ambiguo: mil quinientos con la coma, uno y medio con el punto. Los
    // campos y los avisos con la convención; las líneas guardadas, con el punto.
    void convencionDelUsuario_data() {
        // guardado: la línea del TPD; vacía si no acepta.
        Columnas<bool, QString, QString>({"coma", "escrito", "guardado"});
        QTest::newRow("coma") << true << u"1.500"_s << u"TPD=1500"_s;
        QTest::newRow("punto") << false << u"1.500"_s << u"TPD=1.5"_s;
        QTest::newRow("sin número") << true << u"cinco"_s << QString();
    }
    void convencionDelUsuario() {
        TOMAR((coma, escrito, guardado), bool, QString, QString);
        Escenario e;
        auto& v = e.Abrir<frmTransito>(u"varek-9,N1,SinPresentacion,Seleccionar"_s, u".tto"_s,
                                       coma ? SeparadorDecimal::Coma : SeparadorDecimal::Punto);
        QCOMPARE(Textos(v, {"txtFactorC2G", "lbSuma"}),
                 coma ? u"3,44|100,00 %"_s : u"3.44|100.00 %"_s);
        Escribir(v, "txtTPD", escrito);
        Pulsar(v, "btnAceptar");
        QCOMPARE(v.isVisible(), guardado.isEmpty());
        if (guardado.isEmpty())
            QCOMPARE(e.UltimoMensaje(),
                     u"El tránsito promedio diario (TPD) debe ser un número "
                     "mayor que 0 y no mayor que 1.000.000 vehículos por día..."_s);
        else
            QVERIFY(LineasDeTexto(LeerBytes("varek-9.tto")).contains(guardado) &&
                    LineasDeTexto(LeerBytes("varek-9.tto")).contains(u"Factor.C2G=3.44"_s));
    }

    void climaConEnterYETPDigitada() {
        Escenario e;
        Escenario::Unidad();
        auto& v = e.Abrir<frmClima>(u"varek-9,C1,SinPresentacion,Seleccionar"_s, u".cli"_s);
        QVERIFY(!Control<QLineEdit>(v, "txtETP")->isEnabled());

        // Enter pasa al campo siguiente.
        QLineEdit* p = Control<QLineEdit>(v, "txtPrecipitacion");
        p->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(p, "1500");
        QTest::keyClick(p, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(v, "txtTemperatura"));
        QTest::keyClicks(QApplication::focusWidget(), "20");
        // 1500 mm y 20 °C: ETP = 1178.6, Im = 27.27 -> Humedo, Templado.
        QVERIFY(Texto(v, "lbResultado").contains(u"<b>Humedo</b>") &&
                Texto(v, "lbResultado").contains(u"<b>Templado</b>"));

        Control<QRadioButton>(v, "opcETP1")->click();
        QVERIFY(Control<QLineEdit>(v, "txtETP")->isEnabled());
        Pulsar(v, "btnAceptar");
        QVERIFY(e.UltimoMensaje().startsWith(u"La evapotranspiración potencial anual"));
        // 1500 / 600 = 2.5: Im = 150 -> Superhumedo.
        Escribir(v, "txtETP", "600");
        // Enter del último campo lleva a "Aceptar" y Enter sobre él acepta.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), Control<QPushButton>(v, "btnAceptar"));
        // Aceptar cierra (en transitoEnModoSeleccion) y entrega.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(LineasDeTexto(LeerBytes("C1.RES")),
                 (QStringList{"varek-9", " 1500 ", " 600 ", "Superhumedo", " 150 ", " 20 ",
                              "Templado"}));

        // La siguiente vez la ventana vuelve con lo guardado, ETP digitada incluida.
        Escenario otra;
        QVERIFY(EscribirBytes("varek-9.cli", LeerBytes(e.carpeta.filePath("varek-9.cli"))));
        auto& w = otra.Abrir<frmClima>(u"varek-9,C1,SinPresentacion,Seleccionar"_s, u".cli"_s);
        QCOMPARE(Textos(w, {"txtETP", "txtPrecipitacion"}), u"600|1500"_s);
        QVERIFY(Control<QRadioButton>(w, "opcETP1")->isChecked());
    }

    void mrYUsoLibre() {
        Escenario e;
        auto& v = e.Abrir<frmMr>(u",M1,SinPresentacion"_s, u".mr"_s);
        QPlainTextEdit* lista = Control<QPlainTextEdit>(v, "txtCBR");
        lista->setFocus();
        QTest::keyClicks(lista, "9 3");
        QTest::keyClick(lista, Qt::Key_Return); // en la lista Enter es otra línea
        QTest::keyClicks(lista, "7, 5");
        QCOMPARE(lista->toPlainText(), u"9 3\n7, 5"_s);
        QCOMPARE(Texto(v, "lbEnsayos").left(12), u"4 de 50 ensa"_s);
        Escribir(v, "txtEjes", "5000");
        // 60 %: 5 + 15/25 x 2 = 6.2
        QVERIFY(Texto(v, "lbResultado").contains(u"<b>6.20 %</b>"));
        Pulsar(v, "btnAceptar");
        // En uso libre la línea 1 va vacía y no hay archivo de líneas.
        QCOMPARE(LineasDeTexto(LeerBytes("M1.RES")).mid(0, 3), (QStringList{"", " 6.2 ", " 60 "}));
        QVERIFY(!QFile::exists(".mr"));

        // Sin argumentos: ni X ni archivos; aceptar solo cierra.
        Escenario libre;
        auto& w = libre.Abrir<frmMr>(QString(), u".mr"_s);
        QVERIFY(!libre.sesion->SosteniendoIntercambio());
        Control<QPlainTextEdit>(w, "txtCBR")->setPlainText("4");
        Escribir(w, "txtEjes", "0");
        Pulsar(w, "btnAceptar");
        QVERIFY(!w.isVisible() && QDir::current().entryList(QDir::Files).isEmpty());
    }

    void drenaje() {
        Escenario e;
        QVERIFY(EscribirBytes("varek-9.dre", "Calidad=Regular\r\nSaturacion=12\r\n"));
        auto& v = e.Abrir<frmDrenaje>(u"varek-9,D1,SinPresentacion,Seleccionar"_s, u".dre"_s);
        auto* tabla = Control<QTableWidget>(v, "grdTabla");
        QCOMPARE(tabla->item(2, 2)->text(), u"1.00 – 0.80"_s);
        // Regular, 12 %
        QVERIFY(tabla->item(2, 2)->font().bold() && !tabla->item(0, 0)->font().bold());

        Escribir(v, "txtSaturacion", "0.5");
        QVERIFY(tabla->item(2, 0)->font().bold() && !tabla->item(2, 2)->font().bold());
        QComboBox* calidad = Control<QComboBox>(v, "lstCalidad");
        calidad->setCurrentIndex(0);
        QVERIFY(tabla->item(0, 0)->font().bold());
        QVERIFY(Texto(v, "lbResultado").contains(u"<b>1.40 – 1.35</b>"));

        calidad->setCurrentIndex(-1);
        Pulsar(v, "btnAceptar");
        QCOMPARE(e.UltimoMensaje(), u"Elija la calidad del drenaje..."_s);
        QCOMPARE(QApplication::focusWidget(), calidad);
        calidad->setCurrentIndex(4);
        Escribir(v, "txtSaturacion", "30");
        Pulsar(v, "btnAceptar");
        QCOMPARE(LineasDeTexto(LeerBytes("D1.RES")),
                 (QStringList{"varek-9", "Muy pobre", " 30 ", " .4 ", " .4 ", " .4 "}));
    }

    void archivoQueNoSePuedeEscribir() {
        Escenario e;
        // Una carpeta con el nombre del archivo de líneas impide escribirlo.
        QVERIFY(QDir().mkdir("varek-9.tto"));
        auto& v = e.Abrir<frmTransito>(u"varek-9,N1,SinPresentacion,Seleccionar"_s, u".tto"_s);
        Escribir(v, "txtTPD", "100");
        Pulsar(v, "btnAceptar");
        QVERIFY(v.isVisible()); // el usuario no pierde lo escrito
        QVERIFY(e.Avisos().last().startsWith(u"ERROR: Se presentó un error en el sistema..."));
        QVERIFY(!QFile::exists("N1.RES"));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasVentanasCompaneros)
#include "PruebasVentanasCompaneros.moc"
