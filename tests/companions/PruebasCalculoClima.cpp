// Clima: índice de humedad, ETP de Holdridge, límites de las clases y datos malos.
#include "Pruebas.h"

#include "companions/CalculoClima.h"

#include <cmath>

namespace {

DatosClima Clima(double p, double t) {
    DatosClima d;
    d.Precipitacion = p;
    d.Temperatura = t;
    return d;
}

} // namespace

class PruebasCalculoClima : public QObject {
    Q_OBJECT
private slots:
    void valoresTrabajadosAMano() {
        // P = 1500 mm, T = 20 °C: ETP = 58.93 x 20 = 1178.6 mm
        //   Im = 100 x (1500 / 1178.6 - 1) = 100 x 0.272696 = 27.27 -> Humedo; 20 °C -> Templado
        ResultadoClima r = CalcularClima(Clima(1500, 20));
        QVERIFY(std::abs(r.ETP - 1178.6) < 1e-9);
        QVERIFY(std::abs(r.Indice - 27.2696) < 1e-4);
        QCOMPARE(r.Humedad, QStringLiteral("Humedo"));
        QCOMPARE(r.Temperatura, QStringLiteral("Templado"));

        // P = 400 mm, T = 26 °C: ETP = 58.93 x 26 = 1532.18 mm
        //   Im = 100 x (400 / 1532.18 - 1) = 100 x (0.261066 - 1) = -73.89 -> Arido; Calido
        r = CalcularClima(Clima(400, 26));
        QVERIFY(std::abs(r.Indice + 73.8934) < 1e-4);
        QCOMPARE(r.Humedad, QStringLiteral("Arido"));
        QCOMPARE(r.Temperatura, QStringLiteral("Calido"));

        // ETP digitada 1000 mm con P = 2500: Im = 100 x (2.5 - 1) = 150 -> Superhumedo;
        // 12 °C -> Frio.
        DatosClima d = Clima(2500, 12);
        d.Modo = ModoETP::Digitada;
        d.ETP = 1000;
        r = CalcularClima(d);
        QVERIFY(r.Indice == 150);
        QCOMPARE(r.Humedad, QStringLiteral("Superhumedo"));
        QCOMPARE(r.Temperatura, QStringLiteral("Frio"));

        // La biotemperatura de Holdridge se limita a 0..30 °C.
        QVERIFY(ETPHoldridge(35) == 58.93 * 30);
        QVERIFY(ETPHoldridge(-3) == 0);
    }

    void limitesDeLasClases() {
        QCOMPARE(ClaseHumedad(-40.001), QStringLiteral("Arido"));
        QCOMPARE(ClaseHumedad(-40), QStringLiteral("Semiarido"));
        QCOMPARE(ClaseHumedad(-20.001), QStringLiteral("Semiarido"));
        QCOMPARE(ClaseHumedad(-20), QStringLiteral("Subhumedo"));
        QCOMPARE(ClaseHumedad(-0.001), QStringLiteral("Subhumedo"));
        QCOMPARE(ClaseHumedad(0), QStringLiteral("Humedo"));
        QCOMPARE(ClaseHumedad(100), QStringLiteral("Humedo"));
        QCOMPARE(ClaseHumedad(100.001), QStringLiteral("Superhumedo"));
        QCOMPARE(ClaseTemperatura(24), QStringLiteral("Calido"));
        QCOMPARE(ClaseTemperatura(23.99), QStringLiteral("Templado"));
        QCOMPARE(ClaseTemperatura(18), QStringLiteral("Templado"));
        QCOMPARE(ClaseTemperatura(17.99), QStringLiteral("Frio"));
    }

    void datosMalos() {
        QVERIFY(!ValidarClima(Clima(1500, 20)).Hay());
        QCOMPARE(ValidarClima(Clima(std::nan(""), 20)).Campo, QStringLiteral("txtPrecipitacion"));
        QCOMPARE(ValidarClima(Clima(-5, 20)).Campo, QStringLiteral("txtPrecipitacion"));
        QCOMPARE(ValidarClima(Clima(1500, 60)).Campo, QStringLiteral("txtTemperatura"));
        // Sin temperatura sobre 0 °C Holdridge no da ETP: hay que digitarla.
        const FallaDato f = ValidarClima(Clima(300, -2));
        QCOMPARE(f.Campo, QStringLiteral("txtTemperatura"));
        QVERIFY(f.Mensaje.contains(u"digite la ETP"));
        DatosClima d = Clima(300, -2);
        d.Modo = ModoETP::Digitada;
        QCOMPARE(ValidarClima(d).Campo, QStringLiteral("txtETP"));
        d.ETP = 200;
        QVERIFY(!ValidarClima(d).Hay());
    }

    void lineasYResultado() {
        DatosClima d = Clima(1500, 20);
        const QStringList lineas = LineasClima(d);
        QVERIFY(lineas.contains(QStringLiteral("ETP.Modo=Holdridge")));
        QVERIFY(lineas.contains(QStringLiteral("Humedad=Humedo")));
        DatosClima leido = LeerLineasClima(lineas, DatosClima{});
        QVERIFY(leido.Precipitacion == 1500 && leido.Temperatura == 20);
        QVERIFY(leido.Modo == ModoETP::Holdridge);
        QVERIFY(std::isnan(leido.ETP)); // la estimada no se toma como digitada

        d.Modo = ModoETP::Digitada;
        d.ETP = 1234.5;
        leido = LeerLineasClima(LineasClima(d), DatosClima{});
        QVERIFY(leido.Modo == ModoETP::Digitada && leido.ETP == 1234.5);

        // Líneas 2 a 7 del archivo de resultado; la 4 y la 7 son las clases.
        const QStringList r =
            ResultadoArchivoClima(Clima(1500, 20), CalcularClima(Clima(1500, 20)));
        QCOMPARE(r.size(), 6);
        QCOMPARE(r[0], QStringLiteral(" 1500 "));
        QCOMPARE(r[1], QStringLiteral(" 1178.6 "));
        QCOMPARE(r[2], QStringLiteral("Humedo"));
        QCOMPARE(r[4], QStringLiteral(" 20 "));
        QCOMPARE(r[5], QStringLiteral("Templado"));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCalculoClima)
#include "PruebasCalculoClima.moc"
