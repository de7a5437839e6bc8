// Propiedades del proyecto con teclado y ratón (Zr y So en vivo, límites al
// salir de los números, descripción de varias líneas, el cuadro, aceptar y
// salir), la presentación del programa y las rutinas de ventana (centrar,
// seleccionar al entrar, Enter como Tab y elegir en una lista desplegable).
#include "Pruebas.h"

#include "app/frmAbout.h"
#include "app/frmProyecto.h"
#include "common/VentanasLibzrl.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Como keyClicks, también con letras fuera del ASCII (í, á, ¦).
void Teclear(QWidget* control, const QString& texto) {
    for (const QChar c : texto)
        QTest::sendKeyEvent(QTest::Click, control, static_cast<Qt::Key>(c.toUpper().unicode()),
                            QString(c), Qt::NoModifier);
}

struct Dialogo {
    std::unique_ptr<frmProyecto> v;

    explicit Dialogo(ModuloVarek9& m) : v(std::make_unique<frmProyecto>(m)) {
        v->show();
        v->activateWindow();
        if (!QTest::qWaitForWindowActive(v.get())) qFatal("ventana sin activar");
    }
    template <class T = QWidget>
    T* Control(const QString& nombre) const {
        T* control = v->findChild<T*>(nombre);
        if (!control) qFatal("falta %s", qPrintable(nombre));
        return control;
    }
    QString Texto(const QString& nombre) const { return Control<QLineEdit>(nombre)->text(); }
    QString Etiqueta(const QString& nombre) const { return Control<QLabel>(nombre)->text(); }
    QString Descripcion() const { return Control<QPlainTextEdit>(u"txt1"_s)->toPlainText(); }
    // Entra con un clic (que selecciona todo) y escribe encima.
    void Escribir(const QString& nombre, const QString& texto) const {
        QTest::mouseClick(Control(nombre), Qt::LeftButton);
        Teclear(Control(nombre), texto);
    }
    void Enter(const QString& nombre) const { QTest::keyClick(Control(nombre), Qt::Key_Return); }
    void Clic(const QString& nombre) const { QTest::mouseClick(Control(nombre), Qt::LeftButton); }
    // En el borde del cuadro, fuera de sus controles.
    void DobleClicCuadro() const {
        QTest::mouseDClick(Control(u"Cuadro"_s), Qt::LeftButton, {}, QPoint(3, 30));
    }
};

} // namespace

class PruebasfrmProyecto : public QObject {
    Q_OBJECT
private slots:
    void plegadoDeLineasYListas() {
        QCOMPARE(LimpiarEnter(u"  uno\r\ndos\r\n\ttres \r "_s), u"uno¦dos¦tres "_s);
        QCOMPARE(LimpiarEnter(u"a\nb\rc\r\n\r\nd"_s), u"abc¦¦d"_s); // solo CR LF es salto
        QCOMPARE(RecuperarEnter(u"a¦b¦"_s), u"a\r\nb\r\n"_s);
        // Trim13 es QuitarControles (en PruebasComunes): aquí, que pasa el blanco.
        QCOMPARE(Trim13(u" a\tb\x1f "_s, true), u"a b "_s);
        // La búsqueda en sí se prueba sobre la lista de textos en PruebasComunes.
        QComboBox lista;
        lista.addItems({u"Abc"_s, u"ABD"_s, u"xyz"_s});
        SeleccionarEnLista(lista, u"abD"_s, false);
        QCOMPARE(lista.currentIndex(), 1);
        SeleccionarEnLista(lista, u"q"_s, false);
        QCOMPARE(lista.currentIndex(), -1);
    }

    void alAbrir() {
        ModuloVarek9 m;
        m.Proyecto.Nombre = u"  Vía Norte  "_s;
        m.Proyecto.Descripcion = u"Primera¦Segunda"_s;
        m.Proyecto.Confiabilidad = 90;
        m.Proyecto.ServiciabilidadFinal = 2.5;
        m.Proyecto.ConfiabilidadTransito = true;
        Dialogo d(m);
        QCOMPARE(d.Control<QLineEdit>(u"txt0"_s)->selectedText(), u"Vía Norte"_s);
        QCOMPARE(d.Descripcion(), u"Primera\nSegunda"_s);
        QCOMPARE(d.Texto(u"txt3"_s) + d.Texto(u"txt5"_s), u"902.5"_s);
        QCOMPARE(d.Etiqueta(u"lbZr"_s) + d.Etiqueta(u"lbSo"_s), u"1.28160.49"_s);
        QCOMPARE(m.Proyecto.So, 0.49);
    }

    void numerosEnVivoYSalirSinAceptar() {
        ModuloVarek9 m;
        Dialogo d(m);
        d.Escribir(u"txt0"_s, u"Otro nombre"_s);
        d.Escribir(u"txt3"_s, u"120"_s);
        // Queda como se escribió; Zr ya es el de 99.
        QCOMPARE(d.Texto(u"txt3"_s) + u'|' + d.Etiqueta(u"lbZr"_s), u"120|2.3278"_s);
        d.Enter(u"txt3"_s);
        QCOMPARE(d.Texto(u"txt3"_s), u"99"_s);
        d.Escribir(u"txt3"_s, u"abc"_s); // sin número: 0, limitado a 50
        d.Escribir(u"txt0"_s, u"Tampoco"_s);
        QCOMPARE(d.Texto(u"txt3"_s), u"50"_s);

        // Deshabilitados, la serviciabilidad y el tránsito no cambian; Enter los salta.
        d.Clic(u"chkConfiabilidadTransito"_s);
        d.Clic(u"txt3"_s);
        d.Enter(u"txt3"_s);
        QVERIFY(d.Control(u"btnAceptar"_s)->hasFocus());
        d.DobleClicCuadro();
        d.Escribir(u"txt5"_s, u"4.5"_s);
        QCOMPARE(m.Proyecto.ServiciabilidadFinal, 2.0);
        d.Enter(u"txt5"_s);
        QCOMPARE(d.Texto(u"txt5"_s), u"2"_s);
        QVERIFY(d.Control(u"chkConfiabilidadTransito"_s)->hasFocus());
        d.Escribir(u"txt5"_s, u"2.5"_s);
        QTest::keyClick(d.Control(u"txt5"_s), Qt::Key_Escape); // Escape es salir
        QVERIFY(!d.v->isVisible());
        QCOMPARE(d.v->result(), int(QDialog::Rejected));
        QCOMPARE(m.Proyecto.Confiabilidad, 50.0);
        QCOMPARE(m.Proyecto.ServiciabilidadFinal, 2.5);
        QVERIFY(!m.Proyecto.ConfiabilidadTransito);
        QVERIFY(m.Proyecto.Nombre.isEmpty());
        // Salir sin aceptar con números distintos de los del principio es un cambio.
        QVERIFY(m.ProyectoModificado);
    }

    void cuadroYConfiabilidadDelTransito() {
        ModuloVarek9 m;
        Dialogo d(m);
        const auto habilitados = [&](bool esperado) {
            for (const QString& nombre :
                 {u"lbServiciabilidad"_s, u"txt5"_s, u"chkConfiabilidadTransito"_s,
                  u"lbEtiquetaSo"_s, u"lbSo"_s})
                if (d.Control(nombre)->isEnabled() != esperado) return false;
            return true;
        };
        QVERIFY(habilitados(false));
        d.DobleClicCuadro();
        QVERIFY(habilitados(true));
        d.Clic(u"chkConfiabilidadTransito"_s);
        QCOMPARE(d.Etiqueta(u"lbSo"_s), u"0.49"_s);
        QVERIFY(m.Proyecto.ConfiabilidadTransito);
        QTest::keyClick(d.Control(u"chkConfiabilidadTransito"_s), Qt::Key_Space);
        QCOMPARE(d.Etiqueta(u"lbSo"_s), u"0.44"_s);
        QCOMPARE(m.Proyecto.So, 0.44);
        d.Clic(u"chkConfiabilidadTransito"_s);
        d.DobleClicCuadro();
        QVERIFY(habilitados(false));
        d.Clic(u"btnSalir"_s);
        QVERIFY(!d.v->isVisible());
        QCOMPARE(m.Proyecto.So, 0.49);
        QVERIFY(m.ProyectoModificado);
    }

    void aceptarGuardaElEncabezado() {
        ModuloVarek9 m;
        // Salir con los números del principio no es un cambio.
        Dialogo sinCambios(m);
        sinCambios.Escribir(u"txt3"_s, u"70"_s);
        sinCambios.Escribir(u"txt0"_s, u"Sin aceptar"_s);
        sinCambios.Clic(u"btnSalir"_s);
        QVERIFY(!sinCambios.v->isVisible() && !m.ProyectoModificado);

        Dialogo d(m);
        d.Escribir(u"txt0"_s, u"  Ruta 5  "_s);
        d.Enter(u"txt0"_s);
        // En la descripción Enter es un salto de línea; un tabulador pegado se quita.
        QGuiApplication::clipboard()->setText(u"\tdos"_s);
        Teclear(d.Control(u"txt1"_s), u"Línea uno"_s);
        QTest::keyClick(d.Control(u"txt1"_s), Qt::Key_Return);
        QTest::keyClick(d.Control(u"txt1"_s), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(d.Descripcion(), u"Línea uno\n\tdos"_s);
        d.Escribir(u"txt2"_s, u" Boyacá "_s);
        QTest::keyClick(d.Control(u"txt2"_s), Qt::Key_A, Qt::AltModifier); // "&Aceptar"
        QTRY_VERIFY(!d.v->isVisible());
        QCOMPARE(d.v->result(), int(QDialog::Accepted));
        QCOMPARE(m.Proyecto.Nombre + u'|' + m.Proyecto.Ubicacion, u"Ruta 5|Boyacá"_s);
        QCOMPARE(m.Proyecto.Descripcion, u"Línea uno¦dos"_s);
        QVERIFY(m.ProyectoModificado);

        // Al volver, dos líneas; una "¦" escrita a mano también es un salto.
        Dialogo otra(m);
        QCOMPARE(otra.Descripcion(), u"Línea uno\ndos"_s);
        otra.Clic(u"txt1"_s);
        QTest::keyClick(otra.Control(u"txt1"_s), Qt::Key_End, Qt::ControlModifier);
        Teclear(otra.Control(u"txt1"_s), u"¦tres"_s);
        otra.Clic(u"btnAceptar"_s);
        QCOMPARE(Dialogo(m).Descripcion(), u"Línea uno\ndos\ntres"_s);
    }

    // La presentación del programa y las rutinas de ventana de uso común.
    // Los textos fijos se ven en frmAbout.cpp; la compilación viene de la construcción.
    void presentacionYCentrado() {
        frmAbout acerca;
        QCOMPARE(acerca.findChild<QLabel*>(u"lbCompilacion"_s)->text(),
                 u"Compilación "_s + QLatin1StringView(VAREK9_VERSION));
        for (const Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            acerca.show();
            QTest::keyClick(&acerca, tecla);
            QVERIFY(!acerca.isVisible());
        }
        acerca.show();
        QTest::mouseClick(acerca.findChild<QLabel*>(u"lbPrograma"_s), Qt::LeftButton);
        QVERIFY(!acerca.isVisible());

        QWidget ventana;
        ventana.setFixedSize(301, 157);
        ventana.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ventana));
        CentrarFormulario(ventana);
        // Con el marco ya conocido, el centro exacto a medio píxel.
        const QPointF desvio = QRectF(ventana.frameGeometry()).center() -
                               QRectF(ventana.screen()->availableGeometry()).center();
        QTRY_VERIFY(qAbs(desvio.x()) <= 0.5 && qAbs(desvio.y()) <= 0.5);
        QVERIFY(!QGuiApplication::overrideCursor()); // no queda el reloj de arena
    }

    // Enter como Tab y elegir todo al entrar (PrepararCampos), sobre las propiedades: saltar
    // los deshabilitados, en numerosEnVivoYSalirSinAceptar; Enter como salto de línea en la
    // descripción, en aceptarGuardaElEncabezado; un clic que elige todo, en cada Escribir.
    void camposEnterYSeleccion() {
        ModuloVarek9 m;
        m.Proyecto.Descripcion = u"a¦b"_s;
        m.Proyecto.Ubicacion = u"dos dos"_s;
        Dialogo d(m);
        d.Enter(u"txt0"_s);
        QCOMPARE(d.Control<QPlainTextEdit>(u"txt1"_s)->textCursor().selectedText(), u"a\u2029b"_s);
        QTest::keyClick(d.Control(u"txt1"_s), Qt::Key_Tab);
        auto* dos = d.Control<QLineEdit>(u"txt2"_s);
        QCOMPARE(dos->selectedText(), u"dos dos"_s);
        QTest::keyClick(dos, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(d.Control(u"txt3"_s)->hasFocus());
        QVERIFY(d.v->isVisible()); // Enter no aceptó nada

        // Arrastrar elige solo una parte.
        QTest::mousePress(dos, Qt::LeftButton, {}, QPoint(2, 5));
        QTest::mouseMove(dos, QPoint(14, 5));
        QTest::mouseRelease(dos, Qt::LeftButton, {}, QPoint(14, 5));
        QVERIFY(dos->hasSelectedText() && dos->selectedText() != u"dos dos"_s);

        // Volver desde otra ventana no es entrar al campo.
        QWidget otra;
        otra.show();
        QVERIFY(QTest::qWaitForWindowActive(&otra));
        d.v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d.v.get()));
        QVERIFY(dos->hasFocus() && dos->selectedText() != u"dos dos"_s);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmProyecto)
#include "PruebasfrmProyecto.moc"
