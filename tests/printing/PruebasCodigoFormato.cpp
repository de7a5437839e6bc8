// Prefijo de control de las líneas de reporte: clase, tamaño, estilo y alineación.
#include "Pruebas.h"

#include "printing/CodigoFormato.h"

#include <array>

class PruebasCodigoFormato : public QObject {
    Q_OBJECT

    static QString Prefijo(std::array<int, 4> codigos) {
        QString s;
        for (const int c : codigos)
            s += QChar(static_cast<char16_t>(c));
        return s;
    }

private slots:
    void prefijos_data() {
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("esperado");
        const struct {
            const char* Nombre;
            int Numero;
            std::array<int, 4> Codigos;
        } casos[] = {
            // Los códigos de los reportes.
            {"100 cuerpo 8 normal izquierda", 100, {1, 8, 1, 1}},
            {"2101 encabezado 8 normal derecha", 2101, {3, 8, 1, 2}},
            {"2312 encabezado 14 negrita centrada", 2312, {3, 14, 2, 3}},
            {"2010 encabezado 12 negrita izquierda", 2010, {3, 12, 2, 1}},
            {"2000 encabezado 12 normal izquierda", 2000, {3, 12, 1, 1}},
            {"2100 encabezado 8 normal izquierda", 2100, {3, 8, 1, 1}},
            {"10 con ceros delante", 10, {1, 12, 2, 1}},
            {"1000 salto de página", 1000, {2, 12, 1, 1}},
            {"0", 0, {1, 12, 1, 1}},
            // Cada cifra de tamaño y los límites de estilo (0..4) y alineación (0..5).
            {"tamaño 10 estilo 5 alineación 6", 3245, {4, 10, 5, 6}},
            {"tamaño 6 estilo y alineación fuera", 456, {1, 6, 1, 1}},
            {"tamaño 7", 523, {1, 7, 3, 4}},
            {"tamaño 20", 634, {1, 20, 4, 5}},
            {"tamaño 11", 9700, {10, 11, 1, 1}},
            {"cifra 8 de tamaño", 1800, {2, 12, 1, 1}},
            {"cifras 8 y 9 fuera de rango", 8989, {9, 12, 1, 1}},
            // Más de cuatro cifras: solo los cuatro primeros caracteres.
            {"12345", 12345, {2, 10, 4, 5}},
            {"2312999", 2312999, {3, 14, 2, 3}},
            // El signo no es cifra: cuenta como 0.
            {"-100", -100, {1, 8, 1, 1}},
            {"-5", -5, {1, 12, 1, 6}},
        };
        for (const auto& c : casos)
            QTest::newRow(c.Nombre) << c.Numero << Prefijo(c.Codigos);
    }

    void prefijos() {
        QFETCH(int, numero);
        QFETCH(QString, esperado);
        QCOMPARE(CodigoFormato(numero), esperado);
    }

    void sinNumeroEsElFormatoPorDefecto() {
        QCOMPARE(CodigoFormato(), Prefijo({1, 12, 1, 1}));
        QCOMPARE(CodigoFormato(), CodigoFormato(0));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCodigoFormato)
#include "PruebasCodigoFormato.moc"
