// Rutinas de ventana: centrar, seleccionar al entrar, Enter como Tab y elegir
// en una lista desplegable.
#include "Pruebas.h"

#include "common/VentanasLibzrl.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

class PruebasVentanasLibzrl : public QObject {
    Q_OBJECT
private slots:
    void centrarFormularioMostrado() {
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

    void camposEnterYSeleccion() {
        QDialog ventana;
        auto* uno = new QLineEdit(u"uno"_s);
        auto* apagado = new QLineEdit(u"apagado"_s);
        auto* varias = new QPlainTextEdit(u"a\nb"_s);
        auto* dos = new QLineEdit(u"dos dos"_s);
        auto* boton = new QPushButton(u"Botón"_s);
        auto* capa = new QVBoxLayout(&ventana);
        for (QWidget* w : QList<QWidget*>{uno, apagado, varias, dos, boton})
            capa->addWidget(w);
        varias->setTabChangesFocus(true);
        apagado->setEnabled(false);
        PrepararCampos({uno, apagado, varias, dos});
        ventana.show();
        QVERIFY(QTest::qWaitForWindowActive(&ventana));

        // Enter salta el deshabilitado y entra al de varias líneas con todo elegido.
        QTest::keyClick(uno, Qt::Key_Return);
        QVERIFY(varias->hasFocus());
        QCOMPARE(varias->textCursor().selectedText(), u"a\u2029b"_s);
        QTest::keyClick(varias, Qt::Key_Return); // allí es un salto de línea
        QCOMPARE(varias->toPlainText(), u"\n"_s);
        QTest::keyClick(varias, Qt::Key_Tab);
        QCOMPARE(dos->selectedText(), u"dos dos"_s);
        QTest::keyClick(dos, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(boton->hasFocus());
        QCOMPARE(ventana.result(), int(QDialog::Rejected)); // Enter no aceptó nada

        // Un clic elige todo, salvo que se arrastre para elegir una parte.
        QTest::mouseClick(uno, Qt::LeftButton);
        QCOMPARE(uno->selectedText(), u"uno"_s);
        QTest::mousePress(dos, Qt::LeftButton, {}, QPoint(2, 5));
        QTest::mouseMove(dos, QPoint(14, 5));
        QTest::mouseRelease(dos, Qt::LeftButton, {}, QPoint(14, 5));
        QVERIFY(dos->hasSelectedText() && dos->selectedText() != u"dos dos"_s);

        // Volver desde otra ventana no es entrar al campo.
        QWidget otra;
        otra.show();
        QVERIFY(QTest::qWaitForWindowActive(&otra));
        ventana.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&ventana));
        QVERIFY(dos->hasFocus() && dos->selectedText() != u"dos dos"_s);
    }

    // La búsqueda en sí se prueba sobre la lista de textos en PruebasLibzrl.
    void seleccionarEnLista() {
        QComboBox lista;
        lista.addItems({u"Abc"_s, u"ABD"_s, u"xyz"_s});
        SeleccionarEnLista(lista, u"abD"_s, false);
        QCOMPARE(lista.currentIndex(), 1);
        SeleccionarEnLista(lista, u"q"_s, false);
        QCOMPARE(lista.currentIndex(), -1);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasVentanasLibzrl)
#include "PruebasVentanasLibzrl.moc"
