// Propiedades del proyecto con la convención del usuario: números con coma o punto
// (la forma ambigua según la convención), lo que no es un número y lo que pasa de
// los límites al salir del campo, los caracteres que el archivo no puede guardar y
// el separador elegido en el mismo diálogo. Lo demás del diálogo, en
// PruebasfrmVarek9.
#include "Pruebas.h"

#include "ApoyoVentanas.h"
#include "app/frmProyecto.h"
#include "common/EntradaDatos.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Dialogo : CarpetaGuionada {
    ModuloVarek9 modulo;
    std::unique_ptr<frmProyecto> v;

    explicit Dialogo(bool coma) {
        modulo.Separador = coma ? SeparadorDecimal::Coma : SeparadorDecimal::Punto;
        modulo.Proyecto.ServiciabilidadFinal = 2.5;
        v = std::make_unique<frmProyecto>(modulo, plataforma);
        v->show();
        v->activateWindow();
        if (!QTest::qWaitForWindowActive(v.get())) qFatal("ventana sin activar");
    }
};

} // namespace

class PruebasfrmProyecto : public QObject {
    Q_OBJECT
private slots:
    // Al abrir: confiabilidad 70 y serviciabilidad 2.5.
    void numerosConSeparador_data() {
        // Tomar: la respuesta si pregunta; el texto, el del campo al salir.
        Columnas<QString, bool, QString, bool, double, QString, QString>(
            {"campo", "coma", "escrito", "tomar", "valor", "texto", "mensaje"});
        const auto fila = [](const char* nombre, const char* campo, bool coma,
                             const QString& escrito, bool tomar, double valor, const QString& texto,
                             const QString& mensaje = {}) {
            QTest::newRow(nombre) << QString::fromLatin1(campo) << coma << escrito << tomar << valor
                                  << texto << mensaje;
        };
        fila("coma decimal", "txt3", true, u"95,5"_s, true, 95.5, u"95,5"_s);
        fila("ambigua con coma", "txt3", true, u"99,125"_s, true, 99.125, u"99,125"_s);
        fila("ambigua con punto", "txt3", false, u"99,125"_s, false, 70, u"70"_s,
             u"El valor [99,125] de la confiabilidad está fuera de los límites (de 50 a menos "
             "de 100 %): se toma 99. ¿Desea continuar?"_s);
        fila("sin número", "txt3", true, u"cinco"_s, true, 70, u"70"_s,
             u"El valor [cinco] de la confiabilidad no es un número; queda 70..."_s);
        fila("serviciabilidad fuera", "txt5", true, u"4,5"_s, true, 2, u"2"_s,
             u"El valor [4,5] de la serviciabilidad final está fuera de los límites (de 1 a "
             "menos de 4,2): se toma 2. ¿Desea continuar?"_s);
        fila("serviciabilidad sobre 4", "txt5", false, u"4.1"_s, true, 4.1, u"4.1"_s,
             u"Con una serviciabilidad final mayor que 4.0 la ecuación AASHTO-93 puede tener "
             "varias raíces; se toma la mayor."_s);
    }
    void numerosConSeparador() {
        TOMAR((campo, coma, escrito, tomar, valor, texto, mensaje), QString, bool, QString, bool,
              double, QString, QString);
        Dialogo d(coma);
        const QString zr = Texto(*d.v, u"lbZr"_s);
        if (campo == u"txt5"_s)
            QTest::mouseDClick(Control(*d.v, u"Cuadro"_s), Qt::LeftButton, {}, QPoint(3, 30));
        auto* c = Control<QLineEdit>(*d.v, campo);
        c->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(c, escrito);
        d.plataforma.Respuestas.enqueue(tomar ? RespuestaMensaje::Si : RespuestaMensaje::No);
        QTest::keyClick(c, Qt::Key_Return); // sale del campo
        const Proyecto& p = d.modulo.Proyecto;
        QCOMPARE(campo == u"txt3"_s ? p.Confiabilidad : p.ServiciabilidadFinal, valor);
        QVERIFY(c->text() == texto && d.UltimoMensaje() == mensaje);
        // Lo que no se toma deja también el Zr de antes.
        if (valor == 70) QCOMPARE(Texto(*d.v, u"lbZr"_s), zr);
    }

    void caracteresFueraDeAnsiYSeparador() {
        Dialogo d(true);
        // Pegado: un aviso con los dos caracteres, y el resto del texto queda.
        auto* nombre = Control<QLineEdit>(*d.v, u"txt0"_s);
        nombre->setFocus(Qt::TabFocusReason);
        QGuiApplication::clipboard()->setText(u"Tramo ≥ 5 km Ω"_s);
        QTest::keyClick(nombre, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(nombre->text(), u"Tramo  5 km "_s);
        // Escrito en medio de la descripción: el cursor sigue donde estaba.
        auto* descripcion = Control<QPlainTextEdit>(*d.v, u"txt1"_s);
        descripcion->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(descripcion, u"ab"_s);
        QTest::keyClick(descripcion, Qt::Key_Left);
        QTest::sendKeyEvent(QTest::Click, descripcion, Qt::Key_unknown, u"Ω"_s, Qt::NoModifier);
        QTest::keyClicks(descripcion, u"c"_s);
        QCOMPARE(descripcion->toPlainText(), u"acb"_s);
        QCOMPARE(
            d.Avisos().join(u'\n'),
            u"PROPIEDADES PROYECTO: Los caracteres [≥ Ω] no se pueden guardar en el archivo del "
            "proyecto...\nPROPIEDADES PROYECTO: El carácter [Ω] no se puede guardar en el archivo "
            "del proyecto..."_s);

        // El separador, con el teclado: los números cambian y la preferencia queda.
        QCOMPARE(Textos(*d.v, {u"txt5"_s, u"lbSo"_s}), u"2,5|0,44"_s);
        QTest::keyClick(descripcion, Qt::Key_D, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), Control(*d.v, u"lstSeparador"_s));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(Textos(*d.v, {u"txt5"_s, u"lbSo"_s}), u"2.5|0.44"_s);
        QCOMPARE(LeerSeparadorDecimal(), SeparadorDecimal::Punto);

        QTest::mouseClick(Control(*d.v, u"btnAceptar"_s), Qt::LeftButton);
        QCOMPARE(d.modulo.Proyecto.Nombre + u'|' + d.modulo.Proyecto.Descripcion,
                 u"Tramo  5 km|acb"_s);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmProyecto)
#include "PruebasfrmProyecto.moc"
