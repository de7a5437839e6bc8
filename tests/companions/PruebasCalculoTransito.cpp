// Tránsito de diseño W18: valores trabajados a mano, datos fuera de rango y
// las líneas que viajan con la unidad.
#include "Pruebas.h"

#include "companions/CalculoTransito.h"

#include <cmath>

namespace {

// TPD 1000 con 50 % autos (factor 0.001), 10 % buses (1.0), 20 % C2P (1.5) y
// 20 % C2G (3.0); Fd 0.5, Fc 1.
DatosTransito Ejemplo(double crecimiento, double periodo) {
    DatosTransito d;
    d.TPD = 1000;
    d.Porcentaje = {50, 10, 20, 20, 0, 0, 0, 0};
    d.Factor = {0.001, 1.0, 1.5, 3.0, 0, 0, 0, 0};
    d.FactorDireccional = 0.5;
    d.FactorCarril = 1;
    d.Crecimiento = crecimiento;
    d.Periodo = periodo;
    return d;
}

bool Cerca(double a, double b, double relativo = 1e-12) {
    return std::abs(a - b) <= relativo * std::abs(b);
}

} // namespace

class PruebasCalculoTransito : public QObject {
    Q_OBJECT
private slots:
    void valoresTrabajadosAMano() {
        // Vehículo medio: 0.50 x 0.001 + 0.10 x 1.0 + 0.20 x 1.5 + 0.20 x 3.0
        //               = 0.0005 + 0.1 + 0.3 + 0.6 = 1.0005
        // Sin crecimiento (r = 0, n = 10): el factor es n = 10 y
        //   W18 = 1000 x 365 x 1.0005 x 0.5 x 1 x 10 = 1,825,912.5
        const ResultadoTransito sin = CalcularTransito(Ejemplo(0, 10));
        QVERIFY(Cerca(sin.FactorVehiculo, 1.0005));
        QVERIFY(sin.FactorCrecimiento == 10);
        QVERIFY(Cerca(sin.W18, 1825912.5));
        QVERIFY(Cerca(sin.SumaPorcentajes, 100));
        // Ejes por día en el carril de diseño: 1000 x 1.0005 x 0.5 = 500.25
        QVERIFY(Cerca(sin.EjesDiaInicial, 500.25));

        // r = 5 %, n = 10: 1.05^10 = 1.6288946268; (1.6288946268 - 1) / 0.05 = 12.577892536
        //   W18 = 1000 x 365 x 1.0005 x 0.5 x 12.577892536 = 182,591.25 x 12.577892536
        //       = 2,296,613.12
        const ResultadoTransito con = CalcularTransito(Ejemplo(5, 10));
        QVERIFY(Cerca(con.FactorCrecimiento, 12.577892536, 1e-10));
        QVERIFY(Cerca(con.W18, 2296613.12, 1e-9));

        // Decrecimiento de 10 % en 2 años: (0.9^2 - 1) / -0.1 = (0.81 - 1) / -0.1 = 1.9
        QVERIFY(Cerca(FactorCrecimiento(-10, 2), 1.9));
        QVERIFY(FactorCrecimiento(0, 7) == 7);
    }

    void valoresTipicos() {
        const DatosTransito t = DatosTransitoTipicos();
        double suma = 0;
        for (double p : t.Porcentaje)
            suma += p;
        QVERIFY(suma == 100);
        QCOMPARE(t.Factor[1], 1.0); // buses
        QVERIFY(std::isnan(t.TPD)); // el TPD lo pone siempre el usuario
        QCOMPARE(ValidarTransito(t).Campo, QStringLiteral("txtTPD"));
    }

    void datosFueraDeRango() {
        QVERIFY(!ValidarTransito(Ejemplo(3, 10)).Hay());

        const auto falla = [](auto cambiar) {
            DatosTransito d = Ejemplo(3, 10);
            cambiar(d);
            return ValidarTransito(d);
        };
        FallaDato f = falla([](DatosTransito& d) { d.TPD = 0; });
        QCOMPARE(f.Campo, QStringLiteral("txtTPD"));
        QVERIFY(f.Mensaje.endsWith(u"..."));
        f = falla([](DatosTransito& d) { d.TPD = std::nan(""); });
        QCOMPARE(f.Campo, QStringLiteral("txtTPD"));

        f = falla([](DatosTransito& d) { d.Porcentaje[0] = 45; });
        QCOMPARE(f.Mensaje,
                 QStringLiteral("La composición del tránsito suma 95.00 %; debe sumar 100 %..."));
        // Una diferencia de redondeo no es error.
        QVERIFY(!falla([](DatosTransito& d) { d.Porcentaje[0] = 50.04; }).Hay());

        f = falla([](DatosTransito& d) { d.Porcentaje[2] = -1; });
        QCOMPARE(f.Campo, QStringLiteral("txtPorcentajeC2P"));
        QCOMPARE(f.Mensaje, QStringLiteral("El porcentaje de [Camión de 2 ejes pequeño] debe ser "
                                           "un número entre 0 y 100..."));
        f = falla([](DatosTransito& d) { d.Factor[7] = std::nan(""); });
        QCOMPARE(f.Campo, QStringLiteral("txtFactorMasC5"));
        QCOMPARE(falla([](DatosTransito& d) { d.FactorDireccional = 0; }).Campo,
                 QStringLiteral("txtDireccional"));
        QCOMPARE(falla([](DatosTransito& d) { d.FactorCarril = 1.2; }).Campo,
                 QStringLiteral("txtCarril"));
        QCOMPARE(falla([](DatosTransito& d) { d.Crecimiento = 60; }).Campo,
                 QStringLiteral("txtCrecimiento"));
        QCOMPARE(falla([](DatosTransito& d) { d.Periodo = 12.5; }).Campo,
                 QStringLiteral("txtPeriodo"));
        QCOMPARE(falla([](DatosTransito& d) { d.Periodo = 0; }).Campo,
                 QStringLiteral("txtPeriodo"));
    }

    void lineasIdaYVuelta() {
        const DatosTransito d = Ejemplo(5, 10);
        const QStringList lineas = LineasTransito(d);
        QCOMPARE(lineas.value(0), QStringLiteral("Programa=Transito"));
        QVERIFY(lineas.contains(QStringLiteral("TPD=1000")));
        QVERIFY(lineas.contains(QStringLiteral("Factor.Autos=.001")));
        QVERIFY(lineas.contains(QStringLiteral("FactorDireccional=.5")));
        // Las líneas se guardan recortadas en el proyecto: ninguna lleva blancos en los extremos.
        for (const QString& l : lineas)
            QCOMPARE(l, l.trimmed());

        const DatosTransito leido = LeerLineasTransito(lineas, DatosTransitoTipicos());
        QVERIFY(leido.TPD == d.TPD);
        QVERIFY(leido.Porcentaje == d.Porcentaje);
        QVERIFY(leido.Factor == d.Factor);
        QVERIFY(leido.Crecimiento == 5 && leido.Periodo == 10);

        // Lo que falta o no se lee queda como estaba.
        const DatosTransito parcial =
            LeerLineasTransito({QStringLiteral("TPD = 350 "), QStringLiteral("Crecimiento=xx"),
                                QStringLiteral("sin igual"), QStringLiteral("Periodo=")},
                               DatosTransitoTipicos());
        QVERIFY(parcial.TPD == 350);
        QVERIFY(parcial.Crecimiento == 3 && parcial.Periodo == 10);
    }

    void archivoDeResultado() {
        const DatosTransito d = Ejemplo(0, 10);
        const QStringList r = ResultadoArchivoTransito(d, CalcularTransito(d));
        // La línea 2 del archivo (la primera aquí) es W18 en la forma numérica general.
        QCOMPARE(r.value(0), QStringLiteral(" 1825912.5 "));
        QCOMPARE(r.value(1), QStringLiteral(" 1000 "));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCalculoTransito)
#include "PruebasCalculoTransito.moc"
