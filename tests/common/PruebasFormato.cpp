// Máscaras de presentación: redondeo decimal, miles, signo, exponente y porcentaje.
#include "Pruebas.h"

#include "common/Formato.h"

#include <limits>

class PruebasFormato : public QObject {
    Q_OBJECT

private slots:
    void mascaras_data() {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("mascara");
        QTest::addColumn<QString>("esperado");
        const double infinito = std::numeric_limits<double>::infinity();
        const struct {
            double Valor;
            const char* Mascara;
            const char* Esperado;
        } casos[] = {
            // 15 cifras y luego la mitad lejos del cero.
            {2.675, "0.00", "2.68"},
            {-0.285, "0.00", "-0.29"},
            {0.1 + 0.2, "0.0000", "0.3000"},
            {0.04999, "0.0", "0.0"},
            {9.9996, "0.000", "10.000"},
            {1234567.891, "#,##0.00", "1,234,567.89"},
            {999.995, "#,##0.00", "1,000.00"},
            {0.5, "#,##0.00", "0.50"},
            {-1234.5, "#,##0", "-1,235"},
            {100000, "#,##0", "100,000"},
            {1e20, "#,##0", "100,000,000,000,000,000,000"},
            // Sin signo si el redondeo da cero.
            {-0.001, "0.00", "0.00"},
            {-0.005, "0.00", "-0.01"},
            {-0.0, "#,##0", "0"},
            {150000, "0.00E+#00", "1.50E+05"},
            {999900, "0.00E+#00", "1.00E+06"},
            {-0.000015, "0.00E+#00", "-1.50E-05"},
            {0, "0.00E+#00", "0.00E+00"},
            {1.005e-300, "0.00E+#00", "1.01E-300"},
            {0.125, "0%", "13%"},
            {0.995, "0%", "100%"},
            {-0.004, "0%", "0%"},
            // Sin valor finito: el 0 de la máscara.
            {infinito, "0.00", "0.00"},
            {-infinito, "#,##0", "0"},
            {std::numeric_limits<double>::quiet_NaN(), "0.00E+#00", "0.00E+00"},
        };
        for (const auto& c : casos)
            QTest::addRow("%g %s", c.Valor, c.Mascara)
                << c.Valor << QString::fromLatin1(c.Mascara) << QString::fromLatin1(c.Esperado);
    }

    void mascaras() {
        QFETCH(double, valor);
        QFETCH(QString, mascara);
        QFETCH(QString, esperado);
        QCOMPARE(Formato(valor, mascara), esperado);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasFormato)
#include "PruebasFormato.moc"
