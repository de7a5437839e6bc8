// Diseño de las alternativas, costos y selección, con unidades cuyo resultado se
// obtuvo a mano o con una implementación independiente del método.
#include "ProyectoDeDiseno.h"
#include "Pruebas.h"

#include "alternatives/Diseno.h"
#include "project/Solucionador.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Proyecto de una unidad de 1000 m del ejemplo resuelto.
ModuloVarek9 ProyectoDeUnaUnidad(double cbr, double w18, const QString& afirmado = "No hay",
                                 double espesorAfirmado = 0, double espesorSubrasante = 0) {
    return ProyectoDe({u"U:0:1000:%1:%2:%3:%4:%5"_s.arg(w18)
                           .arg(cbr)
                           .arg(afirmado)
                           .arg(espesorAfirmado)
                           .arg(espesorSubrasante)});
}

// La unidad 1 diseñada, con su estado en e.
ModuloVarek9 Disenar(ModuloVarek9 m, EstadoDiseno& e) {
    CalcularAlternativas(m, e, 1);
    return m;
}

// Espesores de las capas en uso de la alternativa n.
QList<double> Espesores(const ModuloVarek9& m, int n) {
    QList<double> e;
    const AlternativaUH& a = m.AlternativaUH[n];
    for (int k = 1; k <= a.NumeroCapas; ++k)
        e << a.Capas[k].Espesor;
    return e;
}

QList<bool> Aplicables(const ModuloVarek9& m) {
    QList<bool> a;
    for (int n = 1; n <= 6; ++n)
        a << m.AlternativaUH[n].Aplicable;
    return a;
}

} // namespace

class PruebasDiseno : public QObject {
    Q_OBJECT
private slots:
    void ejemploResuelto() {
        // CBR 10, W18 10000, Subhumedo, Templado, sin afirmado.
        EstadoDiseno e;
        ModuloVarek9 m = Disenar(ProyectoDeUnaUnidad(10, 10000), e);
        QVERIFY(std::fabs(m.Proyecto.UH[1].SNRequerido - 1.336874929333982) < 1e-12);
        QCOMPARE(Aplicables(m), (QList<bool>{true, true, true, false, true, true}));
        QCOMPARE(Espesores(m, 1), (QList<double>{0, 200, 150}));
        QCOMPARE(Espesores(m, 2), (QList<double>{0, 150, 200}));
        QCOMPARE(Espesores(m, 3), (QList<double>{57, 150, 150}));
        QCOMPARE(Espesores(m, 5), (QList<double>{51, 150, 150}));
        QCOMPARE(Espesores(m, 6), (QList<double>{51, 150, 200}));
        // Alternativa 1: 6000 m² x TSD + 0.2 x 6000 x BG + 0.15 x 6000 x SBG = 11 100 000.
        const std::array<double, 7> costos = {0, 11100000, 12600000, 6210000, 0, 6642000, 8742000};
        QCOMPARE(e.CostoAlternativa, costos);
        // Con las abscisas invertidas cuesta lo mismo.
        std::swap(m.Proyecto.UH[1].AbscisaInicial, m.Proyecto.UH[1].AbscisaFinal);
        CalcularAlternativas(m, e, 1);
        QCOMPARE(e.CostoAlternativa, costos);
    }

    void aplicabilidadPorCBR_data() {
        QTest::addColumn<double>("cbr");
        QTest::addColumn<QList<bool>>("aplicables");
        QTest::newRow("5") << 5.0 << QList<bool>{true, false, true, false, true, true};
        QTest::newRow("5.01") << 5.01 << QList<bool>{true, true, true, false, true, true};
        QTest::newRow("10") << 10.0 << QList<bool>{true, true, true, false, true, true};
        QTest::newRow("10.01") << 10.01 << QList<bool>{true, true, true, true, true, true};
    }
    void aplicabilidadPorCBR() {
        QFETCH(double, cbr);
        QFETCH(QList<bool>, aplicables);
        EstadoDiseno e;
        ModuloVarek9 m = Disenar(ProyectoDeUnaUnidad(cbr, 10000), e);
        QCOMPARE(Aplicables(m), aplicables);
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(e.CostoAlternativa[n] > 0, aplicables[n - 1]);
    }

    void sinDiseno_data() {
        QTest::addColumn<double>("cbr");
        QTest::addColumn<double>("w18");
        QTest::newRow("tránsito 0") << 10.0 << 0.0;
        QTest::newRow("tránsito sobre 500000") << 10.0 << 500000.5;
        QTest::newRow("CBR 0") << 0.0 << 10000.0;
        QTest::newRow("CBR negativo") << -3.0 << 10000.0;
    }
    void sinDiseno() {
        QFETCH(double, cbr);
        QFETCH(double, w18);
        ModuloVarek9 m = ProyectoDeUnaUnidad(cbr, w18);
        m.Proyecto.UH[1].SNRequerido = 9;
        m.Proyecto.UH[1].AlternativaSeleccionada = 2;
        EstadoDiseno e;
        e.CostoAlternativa.fill(5);
        CalcularAlternativas(m, e, 1);
        QCOMPARE(m.Proyecto.UH[1].SNRequerido, 0.0);
        QCOMPARE(Aplicables(m), QList<bool>(6, false));
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(e.CostoAlternativa[n], 0.0);
        SeleccionarAlternativa(m, 1);
        QCOMPARE(m.Proyecto.UH[1].AlternativaSeleccionada, qint16(2));
    }

    void limitesDeTransito() {
        // 150000 usa los mínimos altos: 75 mm de mezcla donde el cálculo da menos.
        EstadoDiseno e;
        ModuloVarek9 m = Disenar(ProyectoDeUnaUnidad(12, 150000, "AFR-1", 20, 30), e);
        QVERIFY(std::fabs(m.Proyecto.UH[1].SNRequerido - 2.0447130303255894) < 1e-12);
        QCOMPARE(Espesores(m, 4), (QList<double>{75, 150, 0, 200}));
        QCOMPARE(Espesores(m, 3), (QList<double>{99, 150, 150, 200}));
        QCOMPARE(Espesores(m, 5), (QList<double>{89, 150, 150, 200}));

        m.Proyecto.UH[1].EjesEquivalentes = 149999;
        CalcularAlternativas(m, e, 1);
        QVERIFY(m.AlternativaUH[4].Capas[1].Espesor < 75);

        m.Proyecto.UH[1].EjesEquivalentes = 500000;
        CalcularAlternativas(m, e, 1);
        QVERIFY(m.Proyecto.UH[1].SNRequerido > 0);
        QCOMPARE(Aplicables(m), QList<bool>(6, true));
    }

    void afirmadoExistente_data() {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<double>("espesor");
        QTest::addColumn<int>("capas");
        QTest::newRow("AFR-1 20 cm") << "AFR-1" << 20.0 << 4;
        QTest::newRow("AFR-2 15 cm") << "AFR-2" << 15.0 << 4;
        QTest::newRow("AFR-2 0 cm") << "AFR-2" << 0.0 << 3;
        QTest::newRow("No hay 20 cm") << "No hay" << 20.0 << 3;
        QTest::newRow("minúsculas") << "afr-1" << 20.0 << 3;
        QTest::newRow("espesor negativo") << "AFR-1" << -10.0 << 3;
    }
    void afirmadoExistente() {
        QFETCH(QString, tipo);
        QFETCH(double, espesor);
        QFETCH(int, capas);
        EstadoDiseno e;
        ModuloVarek9 m = Disenar(ProyectoDeUnaUnidad(8, 60000, tipo, espesor), e);
        EstadoDiseno eSin;
        ModuloVarek9 sin = Disenar(ProyectoDeUnaUnidad(8, 60000), eSin);
        for (int n = 1; n <= 6; ++n) {
            const AlternativaUH& a = m.AlternativaUH[n];
            QCOMPARE(int(a.NumeroCapas), capas);
            if (capas == 4) {
                QCOMPARE(a.Capas[4].Espesor, espesor * 10);
                QCOMPARE(a.Capas[4].CoefEstructural, tipo == "AFR-1" ? 0.08 : 0.06);
            }
        }
        // El afirmado aporta: la capa que recibe el resto (SBG de la alternativa 1) no crece.
        if (capas == 4)
            QVERIFY(m.AlternativaUH[1].Capas[3].Espesor <= sin.AlternativaUH[1].Capas[3].Espesor);
    }

    void subbaseOpcionalDesaparece() {
        // Con CBR 12 la mezcla y la base estabilizada ya cubren el SN: la SBG queda en 0.
        EstadoDiseno e;
        ModuloVarek9 m = Disenar(ProyectoDeUnaUnidad(12, 10000), e);
        QCOMPARE(Espesores(m, 4), (QList<double>{50, 150, 0}));
        QCOMPARE(e.CostoAlternativa[4], 6000 * (0.05 * 5000 + 0.15 * 6000));
        // Las SBG no opcionales reciben su mínimo.
        QCOMPARE(m.AlternativaUH[3].Capas[3].Espesor, 150.0);
    }

    void costoDeCapaDeSubrasante() {
        EstadoDiseno e;
        ModuloVarek9 m = Disenar(ProyectoDeUnaUnidad(10, 10000, "No hay", 0, 30), e);
        const double extra = (0.30 * 8000 + 11000) * 6000;
        QCOMPARE(e.CostoAlternativa[1], 11100000 + extra);
        QCOMPARE(e.CostoAlternativa[4], 0.0);
    }

    void seleccion_data() {
        QTest::addColumn<double>("cbr");
        QTest::addColumn<int>("guardada");
        QTest::addColumn<int>("resultado");
        QTest::newRow("ninguna: la primera aplicable") << 10.0 << 0 << 1;
        QTest::newRow("3 aplica: se conserva aunque 1 sea más cara") << 10.0 << 3 << 3;
        QTest::newRow("4 ya no aplica con CBR 8") << 8.0 << 4 << 1;
        QTest::newRow("fuera de rango") << 10.0 << 9 << 1;
        QTest::newRow("negativa") << 10.0 << -2 << 1;
    }
    void seleccion() {
        QFETCH(double, cbr);
        QFETCH(int, guardada);
        QFETCH(int, resultado);
        ModuloVarek9 m = ProyectoDeUnaUnidad(cbr, 10000);
        m.Proyecto.UH[1].AlternativaSeleccionada = static_cast<qint16>(guardada);
        EstadoDiseno e;
        CalcularAlternativas(m, e, 1);
        SeleccionarAlternativa(m, 1);
        QCOMPARE(int(m.Proyecto.UH[1].AlternativaSeleccionada), resultado);
    }

    void pasadaDelProyecto() {
        // Totales por alternativa y selección en orden, como al llenar la grilla.
        // La unidad 2 queda sin diseño.
        ModuloVarek9 m = ProyectoDe({u"A:0:1000"_s, u"B:0:1000:700000"_s, u"C:0:1000:10000:12"_s});
        Proyecto& p = m.Proyecto;
        EstadoDiseno e;
        e.CostoTotal.fill(1);
        QList<int> visitadas;
        DisenarProyecto(m, e, [&](int i) { visitadas << i; });
        QCOMPARE(visitadas, (QList<int>{1, 2, 3}));
        QCOMPARE(e.CostoTotal[1], 2 * 11100000.0);
        QCOMPARE(e.CostoTotal[4], 6900000.0);
        QCOMPARE(p.UH[1].AlternativaSeleccionada, qint16(1));
        QCOMPARE(p.UH[2].AlternativaSeleccionada, qint16(0));
        // El estado queda con la última unidad.
        QCOMPARE(e.CostoAlternativa[4], 6900000.0);
    }

    void clasesDeClima() {
        QCOMPARE(ClaseHumedad("Arido"), 1);
        QCOMPARE(ClaseHumedad("Humedo"), 4);
        QCOMPARE(ClaseHumedad("Superhumedo"), 5);
        QCOMPARE(ClaseHumedad("humedo"), 5);
        QCOMPARE(ClaseTemperatura("Frio"), 1);
        QCOMPARE(ClaseTemperatura(""), 3);
        QCOMPARE(ClaseTemperatura("Frío"), 3);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasDiseno)
#include "PruebasDiseno.moc"
