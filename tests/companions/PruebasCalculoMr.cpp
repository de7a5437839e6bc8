// CBR de diseño: percentil por nivel de tránsito, interpolación entre ensayos,
// módulo resiliente y la lista escrita por el usuario.
#include "Pruebas.h"

#include "companions/CalculoMr.h"

#include <cmath>

class PruebasCalculoMr : public QObject {
    Q_OBJECT
private slots:
    void percentilPorTransito() {
        QVERIFY(PercentilDiseno(0) == 60);
        QVERIFY(PercentilDiseno(9999.9) == 60);
        QVERIFY(PercentilDiseno(1e4) == 75);
        QVERIFY(PercentilDiseno(1e6) == 75);
        QVERIFY(PercentilDiseno(1000001) == 87.5);
    }

    void interpolacionTrabajadaAMano() {
        // Ensayos 9, 3, 7, 5 ordenados: 3, 5, 7, 9. Porcentaje de ensayos iguales o
        // mayores: 3 -> 100 %, 5 -> 75 %, 7 -> 50 %, 9 -> 25 %.
        const QList<double> ensayos{9, 3, 7, 5};
        // 75 % cae justo en 5.
        QVERIFY(CBRDiseno(ensayos, 75) == 5);
        // 60 % entre (75 %, 5) y (50 %, 7): 5 + (75 - 60) / (75 - 50) x (7 - 5) = 5 + 0.6 x 2 = 6.2
        QVERIFY(std::abs(CBRDiseno(ensayos, 60) - 6.2) < 1e-12);
        // 87.5 % entre (100 %, 3) y (75 %, 5): 3 + 12.5 / 25 x 2 = 4
        QVERIFY(std::abs(CBRDiseno(ensayos, 87.5) - 4) < 1e-12);
        // Menos del 25 %: ningún valor da tan poco, queda el mayor.
        QVERIFY(CBRDiseno(ensayos, 10) == 9);

        // Repetidos: 3, 3, 5 -> 3 con 100 %, 5 con 33.33 %.
        //   60 %: 3 + (100 - 60) / (100 - 33.33) x 2 = 3 + 0.6 x 2 = 4.2
        QVERIFY(std::abs(CBRDiseno({3, 5, 3}, 60) - 4.2) < 1e-12);
        QVERIFY(CBRDiseno({6.5}, 87.5) == 6.5);
        QVERIFY(std::isnan(CBRDiseno({}, 75)));
    }

    void moduloResiliente() {
        // Mr = 2555 x 10^0.64 = 2555 x 4.3652 = 11,153 psi; / 145.0377 = 76.90 MPa
        QVERIFY(std::abs(ModuloResiliente(10) - 11152.98) < 0.01);
        QVERIFY(std::abs(PsiAMPa(ModuloResiliente(10)) - 76.897) < 0.001);
        // Mr = 2555 x 5^0.64 = 2555 x 2.8012 = 7,157 psi
        QVERIFY(std::abs(ModuloResiliente(5) - 7157.01) < 0.01);

        DatosMr d{QStringLiteral("3 5 7 9"), 5e5};
        const ResultadoMr r = CalcularMr(d);
        QCOMPARE(r.Ensayos, 4);
        QVERIFY(r.Percentil == 75 && r.CBR == 5);
        QVERIFY(r.ModuloPsi == ModuloResiliente(5));
    }

    void listaEscrita() {
        // La coma es decimal: "9,5" es un solo ensayo.
        ListaCBR l = LeerListaCBR(QStringLiteral(" 3,5; 4;5\n 6\t7.25;9,5 "));
        QCOMPARE(l.Valores, (QList<double>{3.5, 4, 5, 6, 7.25, 9.5}));
        QVERIFY(l.Invalido.isEmpty());
        l = LeerListaCBR(QStringLiteral("3 cuatro 5"));
        QCOMPARE(l.Invalido, QStringLiteral("cuatro"));
        QCOMPARE(TextoListaCBR({3.5, 10}), QStringLiteral("3.5 10"));
    }

    void datosMalos() {
        QVERIFY(!ValidarMr({QStringLiteral("3 5"), 100}).Hay());
        QCOMPARE(ValidarMr({QStringLiteral("3 x"), 100}).Mensaje,
                 QStringLiteral("El valor [x] de la lista de CBR no es un número (use el punto "
                                "decimal)..."));
        QCOMPARE(ValidarMr({QString(), 100}).Mensaje,
                 QStringLiteral("Digite al menos un resultado de ensayo de CBR..."));
        QString muchos;
        for (int i = 0; i < 51; ++i)
            muchos += QStringLiteral("4 ");
        QCOMPARE(ValidarMr({muchos, 100}).Mensaje,
                 QStringLiteral("La lista tiene 51 resultados de CBR; el máximo es 50..."));
        muchos.chop(2);
        QVERIFY(!ValidarMr({muchos, 100}).Hay());
        QCOMPARE(ValidarMr({QStringLiteral("0 5"), 100}).Campo, QStringLiteral("txtCBR"));
        QCOMPARE(ValidarMr({QStringLiteral("101"), 100}).Campo, QStringLiteral("txtCBR"));
        QCOMPARE(ValidarMr({QStringLiteral("5"), std::nan("")}).Campo, QStringLiteral("txtEjes"));
        QCOMPARE(ValidarMr({QStringLiteral("5"), -1}).Campo, QStringLiteral("txtEjes"));
    }

    void lineasYResultado() {
        const DatosMr d{QStringLiteral("3, 5\n7 9"), 5e5};
        const QStringList lineas = LineasMr(d);
        QVERIFY(lineas.contains(QStringLiteral("CBR=3 5 7 9")));
        QVERIFY(lineas.contains(QStringLiteral("Ejes=500000")));
        const DatosMr leido = LeerLineasMr(lineas, DatosMr{});
        QCOMPARE(leido.Lista, QStringLiteral("3 5 7 9"));
        QVERIFY(leido.Ejes == 5e5);
        const QStringList r = ResultadoArchivoMr(CalcularMr(d));
        QCOMPARE(r.value(0), QStringLiteral(" 5 ")); // línea 2: el CBR de diseño
        QCOMPARE(r.value(1), QStringLiteral(" 75 "));
        QCOMPARE(r.value(4), QStringLiteral(" 4 "));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCalculoMr)
#include "PruebasCalculoMr.moc"
