// Coeficiente de drenaje: la tabla AASHTO-93, los límites de sus columnas y los datos.
#include "Pruebas.h"

#include "companions/CalculoDrenaje.h"

#include <cmath>

class PruebasCalculoDrenaje : public QObject {
    Q_OBJECT
private slots:
    void tabla() {
        // Esquinas y una celda interior de la tabla de la guía.
        const RangoDrenaje excelente = CoeficienteDrenaje(0, 0);
        QVERIFY(excelente.Maximo == 1.40 && excelente.Minimo == 1.35);
        const RangoDrenaje regular = CoeficienteDrenaje(2, 2);
        QVERIFY(regular.Maximo == 1.00 && regular.Minimo == 0.80);
        QVERIFY(std::abs(regular.Medio() - 0.90) < 1e-12);
        const RangoDrenaje muyPobre = CoeficienteDrenaje(4, 3);
        QVERIFY(muyPobre.Maximo == 0.40 && muyPobre.Minimo == 0.40);
        // Cada fila baja de izquierda a derecha y cada columna de arriba abajo.
        for (int i = 0; i < NumeroCalidadesDrenaje; ++i)
            for (int j = 0; j < NumeroRangosSaturacion; ++j) {
                const RangoDrenaje m = CoeficienteDrenaje(i, j);
                QVERIFY(m.Maximo >= m.Minimo);
                if (j > 0) QVERIFY(CoeficienteDrenaje(i, j - 1).Minimo >= m.Minimo);
                if (i > 0) QVERIFY(CoeficienteDrenaje(i - 1, j).Minimo >= m.Minimo);
            }
        QVERIFY(CoeficienteDrenaje(5, 0).Maximo == 0);
        QVERIFY(CoeficienteDrenaje(0, -1).Maximo == 0);
    }

    void columnas() {
        QCOMPARE(ColumnaSaturacion(0), 0);
        QCOMPARE(ColumnaSaturacion(0.99), 0);
        QCOMPARE(ColumnaSaturacion(1), 1);
        QCOMPARE(ColumnaSaturacion(5), 1);
        QCOMPARE(ColumnaSaturacion(5.01), 2);
        QCOMPARE(ColumnaSaturacion(25), 2);
        QCOMPARE(ColumnaSaturacion(25.01), 3);
        QCOMPARE(ColumnaSaturacion(100), 3);
    }

    void datosYArchivos() {
        QCOMPARE(ValidarDrenaje({-1, 10}).Campo, QStringLiteral("lstCalidad"));
        QCOMPARE(ValidarDrenaje({1, std::nan("")}).Campo, QStringLiteral("txtSaturacion"));
        QCOMPARE(ValidarDrenaje({1, 101}).Campo, QStringLiteral("txtSaturacion"));
        const DatosDrenaje d{1, 12}; // Bueno, 12 % -> columna 5 a 25 %: 1.15 a 1.00
        QVERIFY(!ValidarDrenaje(d).Hay());
        const RangoDrenaje m = CalcularDrenaje(d);
        QVERIFY(m.Maximo == 1.15 && m.Minimo == 1.00);
        QCOMPARE(
            ResultadoArchivoDrenaje(d, m),
            (QStringList{QStringLiteral("Bueno"), QStringLiteral(" 12 "), QStringLiteral(" 1.15 "),
                         QStringLiteral(" 1 "), QStringLiteral(" 1.075 ")}));
        const DatosDrenaje leido = LeerLineasDrenaje(LineasDrenaje(d), DatosDrenaje{});
        QCOMPARE(leido.Calidad, 1);
        QVERIFY(leido.Saturacion == 12);
        QCOMPARE(LeerLineasDrenaje({QStringLiteral("Calidad=muy POBRE")}, DatosDrenaje{}).Calidad,
                 4);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCalculoDrenaje)
#include "PruebasCalculoDrenaje.moc"
