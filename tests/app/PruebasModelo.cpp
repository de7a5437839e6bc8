// Modelo del proyecto: reglas derivadas, catálogo y plantillas, vaciado de unidades;
// y el solucionador AASHTO: valores conocidos de Zr y SN y las particularidades del
// método (el número estructural exacto del diseño completo se fija en PruebasDiseno).
#include "Pruebas.h"

#include "project/ModuloVarek9.h"
#include "project/Solucionador.h"

#include <cmath>

namespace {
// Módulo de la subrasante para CBR 10, como lo deriva el diseño.
const double MrCbr10 = 2555 * std::pow(10.0, 0.64);
// A 15 cifras, como se escribe en el archivo.
QString N(double v) {
    return QString::number(v, 'g', 15);
}
} // namespace

class PruebasModelo : public QObject {
    Q_OBJECT
private slots:
    // R y pt se limitan; So y Zr se derivan. Lo esperado: "R|pt|So".
    void reglasDerivadas_data() {
        QTest::addColumn<double>("R");
        QTest::addColumn<double>("pt");
        QTest::addColumn<bool>("transito");
        QTest::addColumn<QString>("esperado");
        const auto fila = [](const char* nombre, double R, double pt, bool transito,
                             const char* esperado) {
            QTest::newRow(nombre) << R << pt << transito << QString(esperado);
        };
        fila("99.5 queda", 99.5, 2.5, false, "99.5|2.5|0.44");
        fila("100 pasa a 99", 100, 2, true, "99|2|0.49");
        fila("120 pasa a 99", 120, 2, false, "99|2|0.44");
        fila("49.9 pasa a 50", 49.9, 2, false, "50|2|0.44");
        fila("pt 4.2 pasa a 2", 90, 4.2, false, "90|2|0.44");
        fila("pt 1 queda", 90, 1, true, "90|1|0.49");
        fila("pt 0.5 pasa a 2", 90, 0.5, false, "90|2|0.44");
        fila("pt 4.19 queda", 90, 4.19, false, "90|4.19|0.44");
    }

    void reglasDerivadas() {
        QFETCH(double, R);
        QFETCH(double, pt);
        QFETCH(bool, transito);
        QFETCH(QString, esperado);
        Proyecto p;
        p.Confiabilidad = R;
        p.ServiciabilidadFinal = pt;
        p.ConfiabilidadTransito = transito;
        p.Zr = 123;
        p.So = 7;
        AplicarReglasDerivadas(p);
        QCOMPARE(N(p.Confiabilidad) + u'|' + N(p.ServiciabilidadFinal) + u'|' + N(p.So), esperado);
        QVERIFY(p.Zr == CalcularZr(p.Confiabilidad / 100 - 0.5));
    }

    void catalogoYPlantillas() {
        ModuloVarek9 m;
        InicializarCatalogo(m, 0, 0);
        // Lo que el diseño toma del catálogo: coeficientes por columna y módulos.
        QCOMPARE(m.TipoCapa[CapaMDC2].CoefEstructural,
                 (std::array<double, 4>{0, 0.44, 0.41, 0.37}));
        QCOMPARE(m.TipoCapa[CapaBG].CoefDrenaje,
                 (std::array<double, 6>{0, 1.15, 1.05, 1.00, 0.95, 0.85}));
        QCOMPARE(m.TipoCapa[CapaBEE3].Modulo, 570000.0);

        const short tipos[7][4] = {{},
                                   {0, CapaTSD, CapaBG, CapaSBG},
                                   {0, CapaTSD, CapaBG, CapaBEC},
                                   {0, CapaMDF2, CapaBG, CapaSBG},
                                   {0, CapaMDF2, CapaBEE3, CapaSBG},
                                   {0, CapaMDC2, CapaBG, CapaSBG},
                                   {0, CapaMDC2, CapaBG, CapaBEC}};
        const double cbrMinimo[7] = {0, 0, 5, 0, 10, 0, 0};
        for (int n = 1; n <= 6; ++n) {
            const AlternativaUH& a = m.AlternativaUH[n];
            QCOMPARE(a.NumeroCapas, qint16(3));
            QCOMPARE(a.CBRMinimo, cbrMinimo[n]);
            for (int k = 1; k <= 5; ++k) {
                QCOMPARE(a.Capas[k].Tipo, k <= 3 ? tipos[n][k] : short(k == 4 ? CapaAFR : CapaCSR));
                QCOMPARE(a.Capas[k].Espesor, 0.0);
                // Diseño por capas: ranura 1 de 3 a 6 y ranura 2 de 3, 5 y 6.
                const bool porCapas = (k == 1 && n >= 3) || (k == 2 && (n == 3 || n >= 5));
                QCOMPARE(a.Capas[k].DisenoPorCapas, porCapas);
                QCOMPARE(a.Capas[k].Opcional, n == 4 && k == 3);
            }
        }
        QCOMPARE(m.AlternativaUH[4].Capas[2].EspesorInicial, 150.0);
        QCOMPARE(m.AlternativaUH[5].Capas[1].EspesorMinimoAlto, 75.0);
        QCOMPARE(m.AlternativaUH[6].Capas[3].EspesorInicial, 200.0);

        // Volver a inicializar descarta lo calculado.
        InicializarCatalogo(m, 200, 0.08);
        m.AlternativaUH[3].Capas[1].Espesor = 75;
        m.AlternativaUH[3].Capas[1].EspesorDiseno = 61;
        m.AlternativaUH[3].Aplicable = true;
        m.TipoCapa[CapaBG].Modulo = 1;
        InicializarCatalogo(m, 0, 0);
        const AlternativaUH& a = m.AlternativaUH[3];
        QCOMPARE(
            QList<double>({a.Capas[1].Espesor, a.Capas[1].EspesorDiseno, double(a.Aplicable),
                           double(a.NumeroCapas), a.Capas[4].Espesor, m.TipoCapa[CapaBG].Modulo}),
            QList<double>({0, 0, 0, 3, 0, 30000}));
    }

    void nuevoProyectoVaciaSoloLasUnidades() {
        ModuloVarek9 m;
        Proyecto& p = m.Proyecto;
        p.Nombre = QStringLiteral("Vía");
        p.Confiabilidad = 95;
        p.CostosUnitarios[3] = 1234;
        p.AsegurarCapacidad(1500);
        p.NumeroUH = 1500;
        p.UH[7].CodigoTramo = QStringLiteral("T7");
        p.UH[7].CBR = 5;
        p.UH[7].N82 = QStringList{QStringLiteral("x")};
        p.UH[1500].MR = QStringList{QStringLiteral("y")};
        NuevoProyectoDatos(m);
        QCOMPARE(p.NumeroUH, 0);
        QCOMPARE(p.CapacidadUH(), 1000);
        for (int i = 1; i <= p.CapacidadUH(); ++i)
            QVERIFY(p.UH[i] == UnidadHomogenea{});
        QCOMPARE(p.Nombre + u'|' + N(p.Confiabilidad) + u'|' + N(p.CostosUnitarios[3]),
                 QStringLiteral("Vía|95|1234"));
    }

    // Zr para una confiabilidad R y SN para un tránsito W18 (R 90, pt 2.2, CBR 10).
    void valoresConocidos_data() {
        QTest::addColumn<bool>("sn");
        QTest::addColumn<double>("entrada");
        QTest::addColumn<double>("esperado");
        QTest::newRow("Zr 70") << false << 70.0 << 0.524;
        QTest::newRow("Zr 80") << false << 80.0 << 0.842;
        QTest::newRow("Zr 90") << false << 90.0 << 1.282;
        QTest::newRow("Zr 95") << false << 95.0 << 1.645;
        QTest::newRow("Zr 99") << false << 99.0 << 2.328;
        // Fuera del intervalo de la falsa posición.
        QTest::newRow("Zr 100") << false << 100.0 << 10.0;
        QTest::newRow("Zr 120") << false << 120.0 << 10.0;
        QTest::newRow("Zr 50") << false << 50.0 << 0.0;
        QTest::newRow("Zr 40") << false << 40.0 << 0.0;
        QTest::newRow("Zr sin número") << false << std::nan("") << -1.0;
        QTest::newRow("SN 1000") << true << 1000.0 << 0.825;
        QTest::newRow("SN 10000") << true << 10000.0 << 1.337;
        QTest::newRow("SN 500000") << true << 500000.0 << 2.586;
    }

    void valoresConocidos() {
        QFETCH(bool, sn);
        QFETCH(double, entrada);
        QFETCH(double, esperado);
        const double x = sn ? NumeroEstructural(entrada, -CalcularZr(0.4), 0.44, 2.2, MrCbr10)
                            : CalcularZr(entrada / 100 - 0.5);
        QVERIFY2(std::fabs(x - esperado) < 0.0005, qPrintable(QString::number(x, 'g', 17)));
    }

    void particularidadesDelSolucionador() {
        // Para 90 % da 1.2816 a cuatro decimales; para 99 % queda algo por encima del cuantil
        // exacto (2.3263) porque la falsa posición se detiene por el tamaño de su corrección.
        QCOMPARE(std::round(CalcularZr(0.4) * 10000) / 10000, 1.2816);
        QVERIFY(CalcularZr(0.49) > 2.3264);

        QVERIFY(std::fabs(AreaNormal(1.96) - 0.475002) < 1e-5);
        QVERIFY(std::fabs(AreaNormal(5) - 0.5) < 1e-6);
        QVERIFY(AreaNormal(-1.3) == -AreaNormal(1.3));
        QCOMPARE(AreaNormal(0), 0.0);
        QVERIFY(std::fabs(DensidadNormal(0) - 0.3989422804014327) < 1e-13);

        // Tránsito para el cual SN = 2 anula la ecuación: el primer paso es casi nulo.
        const double zr = -CalcularZr(0.4);
        const double w18 = std::pow(10.0, EcuacionAASHTO(2.0, 1.0, zr, 0.44, 2.2, MrCbr10));
        QVERIFY(std::fabs(EcuacionAASHTO(2.0, w18, zr, 0.44, 2.2, MrCbr10)) < 1e-9);
        QVERIFY(NumeroEstructural(w18, zr, 0.44, 2.2, MrCbr10) == 2.0);

        // Pérdida de serviciabilidad negativa: el logaritmo no existe y Newton no se asienta.
        QCOMPARE(NumeroEstructural(10000, -1.2816, 0.44, -1.0, MrCbr10), -1.0);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasModelo)
#include "PruebasModelo.moc"
