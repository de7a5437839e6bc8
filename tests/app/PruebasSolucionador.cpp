// Solucionador AASHTO: valores conocidos de Zr y SN y las particularidades del método.
// El número estructural exacto del diseño completo se fija en PruebasDiseno.
#include "Pruebas.h"

#include "project/Solucionador.h"

#include <cmath>

namespace {
// Módulo de la subrasante para CBR 10, como lo deriva el diseño.
const double MrCbr10 = 2555 * std::pow(10.0, 0.64);
} // namespace

class PruebasSolucionador : public QObject {
    Q_OBJECT
private slots:
    void zrConocidos_data() {
        QTest::addColumn<double>("R");
        QTest::addColumn<double>("esperado");
        QTest::newRow("70") << 70.0 << 0.524;
        QTest::newRow("80") << 80.0 << 0.842;
        QTest::newRow("90") << 90.0 << 1.282;
        QTest::newRow("95") << 95.0 << 1.645;
        QTest::newRow("99") << 99.0 << 2.328;
        // Fuera del intervalo de la falsa posición.
        QTest::newRow("100") << 100.0 << 10.0;
        QTest::newRow("120") << 120.0 << 10.0;
        QTest::newRow("50") << 50.0 << 0.0;
        QTest::newRow("40") << 40.0 << 0.0;
        QTest::newRow("sin número") << std::nan("") << -1.0;
    }
    void zrConocidos() {
        QFETCH(double, R);
        QFETCH(double, esperado);
        const double zr = CalcularZr(R / 100 - 0.5);
        QVERIFY2(std::fabs(zr - esperado) < 0.0005, qPrintable(QString::number(zr, 'g', 17)));
    }

    void zrNoQuedaEnLaRaizExacta() {
        // Para 90 % da 1.2816 a cuatro decimales; para 99 % queda algo por encima del cuantil
        // exacto (2.3263) porque la falsa posición se detiene por el tamaño de su corrección.
        QCOMPARE(std::round(CalcularZr(0.4) * 10000) / 10000, 1.2816);
        QVERIFY(CalcularZr(0.49) > 2.3264);
    }

    void areaNormal() {
        QVERIFY(std::fabs(AreaNormal(1.96) - 0.475002) < 1e-5);
        QVERIFY(std::fabs(AreaNormal(5) - 0.5) < 1e-6);
        QVERIFY(AreaNormal(-1.3) == -AreaNormal(1.3));
        QCOMPARE(AreaNormal(0), 0.0);
        QVERIFY(std::fabs(DensidadNormal(0) - 0.3989422804014327) < 1e-13);
    }

    void snEjemplos_data() {
        QTest::addColumn<double>("W18");
        QTest::addColumn<double>("esperado");
        QTest::newRow("1000") << 1000.0 << 0.825;
        QTest::newRow("10000") << 10000.0 << 1.337;
        QTest::newRow("500000") << 500000.0 << 2.586;
    }
    void snEjemplos() {
        QFETCH(double, W18);
        QFETCH(double, esperado);
        const double sn = NumeroEstructural(W18, -CalcularZr(0.4), 0.44, 2.2, MrCbr10);
        QVERIFY2(std::fabs(sn - esperado) < 0.0005, qPrintable(QString::number(sn, 'g', 17)));
    }

    void snExactamenteDosSiElPrimerPasoEsDespreciable() {
        // Tránsito para el cual SN = 2 anula la ecuación: el primer paso es casi nulo.
        const double zr = -CalcularZr(0.4);
        const double log10W18 = EcuacionAASHTO(2.0, 1.0, zr, 0.44, 2.2, MrCbr10);
        const double w18 = std::pow(10.0, log10W18);
        QVERIFY(std::fabs(EcuacionAASHTO(2.0, w18, zr, 0.44, 2.2, MrCbr10)) < 1e-9);
        QVERIFY(NumeroEstructural(w18, zr, 0.44, 2.2, MrCbr10) == 2.0);
    }

    void snSinConvergenciaDevuelveMenosUno() {
        // Pérdida de serviciabilidad negativa: el logaritmo no existe y Newton no se asienta.
        QCOMPARE(NumeroEstructural(10000, -1.2816, 0.44, -1.0, MrCbr10), -1.0);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasSolucionador)
#include "PruebasSolucionador.moc"
