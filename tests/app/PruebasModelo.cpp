// Modelo del proyecto: reglas derivadas, catálogo y plantillas, vaciado de unidades.
#include "Pruebas.h"

#include "project/ModuloVarek9.h"
#include "project/Solucionador.h"

class PruebasModelo : public QObject {
    Q_OBJECT
private slots:
    void reglasDerivadas_data() {
        QTest::addColumn<double>("R");
        QTest::addColumn<double>("pt");
        QTest::addColumn<bool>("transito");
        QTest::addColumn<double>("Resperado");
        QTest::addColumn<double>("ptEsperado");
        QTest::addColumn<double>("SoEsperado");
        QTest::newRow("99.5 queda") << 99.5 << 2.5 << false << 99.5 << 2.5 << 0.44;
        QTest::newRow("100 pasa a 99") << 100.0 << 2.0 << true << 99.0 << 2.0 << 0.49;
        QTest::newRow("120 pasa a 99") << 120.0 << 2.0 << false << 99.0 << 2.0 << 0.44;
        QTest::newRow("49.9 pasa a 50") << 49.9 << 2.0 << false << 50.0 << 2.0 << 0.44;
        QTest::newRow("pt 4.2 pasa a 2") << 90.0 << 4.2 << false << 90.0 << 2.0 << 0.44;
        QTest::newRow("pt 1 queda") << 90.0 << 1.0 << true << 90.0 << 1.0 << 0.49;
        QTest::newRow("pt 0.5 pasa a 2") << 90.0 << 0.5 << false << 90.0 << 2.0 << 0.44;
        QTest::newRow("pt 4.19 queda") << 90.0 << 4.19 << false << 90.0 << 4.19 << 0.44;
    }
    void reglasDerivadas() {
        QFETCH(double, R);
        QFETCH(double, pt);
        QFETCH(bool, transito);
        QFETCH(double, Resperado);
        QFETCH(double, ptEsperado);
        QFETCH(double, SoEsperado);
        Proyecto p;
        p.Confiabilidad = R;
        p.ServiciabilidadFinal = pt;
        p.ConfiabilidadTransito = transito;
        p.Zr = 123;
        p.So = 7;
        AplicarReglasDerivadas(p);
        QCOMPARE(p.Confiabilidad, Resperado);
        QCOMPARE(p.ServiciabilidadFinal, ptEsperado);
        QCOMPARE(p.So, SoEsperado);
        QVERIFY(p.Zr == CalcularZr(Resperado / 100 - 0.5));
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
    }

    void inicializarDescartaLoCalculado() {
        ModuloVarek9 m;
        InicializarCatalogo(m, 200, 0.08);
        m.AlternativaUH[3].Capas[1].Espesor = 75;
        m.AlternativaUH[3].Capas[1].EspesorDiseno = 61;
        m.AlternativaUH[3].Aplicable = true;
        m.TipoCapa[CapaBG].Modulo = 1;
        InicializarCatalogo(m, 0, 0);
        QCOMPARE(m.AlternativaUH[3].Capas[1].Espesor, 0.0);
        QCOMPARE(m.AlternativaUH[3].Capas[1].EspesorDiseno, 0.0);
        QCOMPARE(m.AlternativaUH[3].Aplicable, false);
        QCOMPARE(m.AlternativaUH[3].NumeroCapas, qint16(3));
        QCOMPARE(m.AlternativaUH[3].Capas[4].Espesor, 0.0);
        QCOMPARE(m.TipoCapa[CapaBG].Modulo, 30000.0);
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
        QCOMPARE(p.Nombre, QStringLiteral("Vía"));
        QCOMPARE(p.Confiabilidad, 95.0);
        QCOMPARE(p.CostosUnitarios[3], 1234.0);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasModelo)
#include "PruebasModelo.moc"
