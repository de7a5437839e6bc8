// Costos unitarios con el teclado: edición en la celda, Escape, Delete, aceptar y
// salir.
#include "PlataformaGuionada.h"
#include "Pruebas.h"

#include "alternatives/frmCostosUnitarios.h"
#include "common/Grilla.h"

#include <QLineEdit>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Dialogo {
    ModuloVarek9 modulo;
    std::unique_ptr<frmCostosUnitarios> d;
    Grilla* g = nullptr;
    QLineEdit* txt = nullptr;

    Dialogo() {
        for (int t = 1; t <= NumeroTiposCapa; ++t)
            modulo.Proyecto.CostosUnitarios[t] = 1000.0 * t + 0.5;
        d = std::make_unique<frmCostosUnitarios>(modulo);
        d->show();
        d->activateWindow();
        if (!QTest::qWaitForWindowActive(d.get())) qFatal("diálogo sin activar");
        g = d->findChild<Grilla*>(u"grdCU"_s);
        txt = d->findChild<QLineEdit*>(u"txtCU"_s);
    }
    void Aceptar() { QTest::mouseClick(d->findChild<QWidget*>(u"btnAceptar"_s), Qt::LeftButton); }
};

} // namespace

class PruebasfrmCostosUnitarios : public QObject {
    Q_OBJECT
private slots:
    void escribirYAceptar() {
        Dialogo e;
        // El geotextil es la novena fila, con su número de tipo: no hay afirmado ni
        // subrasante.
        QCOMPARE(e.g->Texto(2, 4), u"2,000.50"_s);
        QCOMPARE(e.g->Texto(9, 0), u"11"_s);
        QCOMPARE(e.g->Columna(), 4);
        e.g->PonerCelda(2, 4);
        QTest::keyClicks(e.g, u"a"_s); // las letras no abren el editor
        QVERIFY(!e.d->Editando());
        QTest::keyClicks(e.g, u"1"_s);
        QVERIFY(e.d->Editando());
        QTest::keyClicks(e.txt, u"234.5"_s);
        QCOMPARE(e.g->Texto(2, 4), u"1,234.50"_s); // mientras se escribe
        QTest::keyClick(e.txt, Qt::Key_Return);
        QVERIFY(!e.d->Editando());
        QCOMPARE(e.g->Fila(), 3);
        QCOMPARE(QApplication::focusWidget(), e.g);
        // Delete vacía la celda; vacía vale 0.
        QTest::keyClick(e.g, Qt::Key_Delete);
        QVERIFY(e.g->Texto(3, 4).isEmpty());
        QVERIFY(!e.modulo.ProyectoModificado);
        e.Aceptar();
        QCOMPARE(e.d->result(), int(QDialog::Accepted));
        QVERIFY(e.modulo.Proyecto.CostosUnitarios[CapaBG] == 1234.5);
        QVERIFY(e.modulo.Proyecto.CostosUnitarios[CapaSBG] == 0);
        QVERIFY(e.modulo.Proyecto.CostosUnitarios[CapaTSD] == 1000.5);
        // Los tipos que no se listan conservan su costo.
        QVERIFY(e.modulo.Proyecto.CostosUnitarios[CapaAFR] == 9000.5);
        QVERIFY(e.modulo.ProyectoModificado);
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
        QVERIFY(!e.d->Editando());
        QCOMPARE(e.g->Texto(4, 4), u"4,000.50"_s);
        // Doble clic también abre el editor con el número de la celda.
        const QRect celda = e.g->RectanguloCelda(5, 4);
        QTest::mouseDClick(e.g->viewport(), Qt::LeftButton, {},
                           e.g->viewport()->mapFrom(e.g, celda.center()));
        QVERIFY(e.d->Editando());
        QCOMPARE(e.txt->text(), u"5000.50"_s);
        // Flecha abajo cierra y baja; la celda conserva lo escrito.
        QTest::keyClicks(e.txt, u"9"_s);
        QTest::keyClick(e.txt, Qt::Key_Down);
        QVERIFY(!e.d->Editando());
        QCOMPARE(e.g->Texto(5, 4), u"9.00"_s);
        QCOMPARE(e.g->Fila(), 6);
        // Salir: nada llega al proyecto.
        QTest::mouseClick(e.d->findChild<QWidget*>(u"btnSalir"_s), Qt::LeftButton);
        QVERIFY(e.modulo.Proyecto.CostosUnitarios[5] == 5000.5);
        QVERIFY(!e.modulo.ProyectoModificado);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmCostosUnitarios)
#include "PruebasfrmCostosUnitarios.moc"
