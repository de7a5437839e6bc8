// Ventanas de los cuatro programas complementarios, fuera de pantalla: el
// archivo X sostenido mientras la ventana vive, la unidad y las líneas que
// llegan en modo selección, lo que dejan al aceptar, nada al cancelar y los
// avisos de datos malos.
#include "Pruebas.h"

#include "ApoyoVentanas.h"
#include "common/ArchivoEnUso.h"
#include "companions/Programas.h"
#include "companions/frmClima.h"
#include "companions/frmDrenaje.h"
#include "companions/frmMr.h"
#include "companions/frmTransito.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Escenario : CarpetaGuionada {
    std::unique_ptr<SesionCompanero> sesion;

    // Sesión con la línea de comandos dada (vacía: sin argumentos) ya iniciada.
    bool Iniciar(const QString& argumento, const QString& extension) {
        QStringList argumentos{u"programa"_s};
        if (!argumento.isEmpty()) argumentos.append(argumento);
        sesion = std::make_unique<SesionCompanero>(LeerArgumentosCompanero(argumentos), extension);
        return sesion->Iniciar();
    }
    std::unique_ptr<QWidget> ventana; // vive menos que la sesión
    // La ventana del programa sobre una sesión así iniciada, ya a la vista.
    template <class T>
    T& Abrir(const QString& argumento, const QString& extension) {
        if (!Iniciar(argumento, extension)) qFatal("sin sesión para %s", qPrintable(argumento));
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
    QCOMPARE(campo->text(), texto);
}

void Pulsar(QWidget& ventana, const char* boton) {
    QTest::mouseClick(Control<QPushButton>(ventana, QString::fromLatin1(boton)), Qt::LeftButton);
}

QStringList Lineas(const QString& ruta) {
    return LineasDeTexto(LeerBytes(ruta));
}

} // namespace

class PruebasVentanasCompaneros : public QObject {
    Q_OBJECT
private slots:
    void transitoEnModoSeleccion() {
        Escenario e;
        Escenario::Unidad();
        QVERIFY(EscribirBytes("varek-9.tto", "Programa=Transito\r\nTPD=450\r\nCrecimiento=4\r\n"));
        auto& v = e.Abrir<frmTransito>(u"varek-9,N1,SinPresentacion,Seleccionar"_s, u".tto"_s);
        QVERIFY(ArchivoEnUso("N1"));
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
        QVERIFY(!v.isVisible());
        QCOMPARE(v.result(), int(QDialog::Accepted));
        QCOMPARE(Lineas("N1.RES").mid(0, 3), (QStringList{"varek-9", " 1825912.5 ", " 1000 "}));
        QVERIFY(LeerBytes("N1.RES").endsWith("\r\n"));
        // Qué líneas se guardan, en PruebasCalculo; aquí, que se guardan al aceptar.
        QVERIFY(Lineas("varek-9.tto").contains("TPD=1000"));
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
        Pulsar(v, "btnAceptar");
        QVERIFY(v.isVisible());
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
        QVERIFY(!v.isVisible());
        QCOMPARE(v.result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists("N1.RES"));
        QCOMPARE(LeerBytes("varek-9.tto"), QByteArray("TPD=450\r\n"));
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
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!v.isVisible());
        QCOMPARE(Lineas("C1.RES"), (QStringList{"varek-9", " 1500 ", " 600 ", "Superhumedo",
                                                " 150 ", " 20 ", "Templado"}));
        QVERIFY(Lineas("varek-9.cli").contains("ETP.Modo=Digitada"));

        // La siguiente vez la ventana vuelve con lo guardado.
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
        QVERIFY(!v.isVisible());
        // En uso libre la línea 1 va vacía y no hay archivo de líneas.
        QCOMPARE(Lineas("M1.RES").mid(0, 3), (QStringList{"", " 6.2 ", " 60 "}));
        QVERIFY(!QFile::exists(".mr"));

        // Sin argumentos: ni X ni archivos; aceptar solo cierra.
        Escenario libre;
        auto& w = libre.Abrir<frmMr>(QString(), u".mr"_s);
        QVERIFY(!libre.sesion->SosteniendoIntercambio());
        Control<QPlainTextEdit>(w, "txtCBR")->setPlainText("4");
        Escribir(w, "txtEjes", "0");
        Pulsar(w, "btnAceptar");
        QVERIFY(!w.isVisible());
        QVERIFY(QDir::current().entryList(QDir::Files).isEmpty());
    }

    void drenaje() {
        Escenario e;
        QVERIFY(EscribirBytes("varek-9.dre", "Calidad=Regular\r\nSaturacion=12\r\n"));
        auto& v = e.Abrir<frmDrenaje>(u"varek-9,D1,SinPresentacion,Seleccionar"_s, u".dre"_s);
        auto* tabla = Control<QTableWidget>(v, "grdTabla");
        QAbstractItemModelTester revisor(tabla->model());
        QCOMPARE(tabla->item(2, 2)->text(), u"1.00 – 0.80"_s);
        QVERIFY(tabla->item(2, 2)->font().bold()); // Regular, 12 %
        QVERIFY(!tabla->item(0, 0)->font().bold());

        Escribir(v, "txtSaturacion", "0.5");
        QVERIFY(tabla->item(2, 0)->font().bold());
        QVERIFY(!tabla->item(2, 2)->font().bold());
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
        QVERIFY(!v.isVisible());
        QCOMPARE(Lineas("D1.RES"),
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
