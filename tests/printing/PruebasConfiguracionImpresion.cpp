// "Imprime.set": creación, límites, claves exactas, las ocho líneas y los puertos
// con nombre.
#include "Archivos.h"
#include "Pruebas.h"

#include "printing/ConfiguracionImpresion.h"

#include <QTemporaryDir>

class PruebasConfiguracionImpresion : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    ConfiguracionImpresion Cargar(const QByteArray& contenido, const QString& alias = QString()) {
        EscribirBytes(dir_.filePath("Imprime.set"), contenido);
        return CargarConfiguracionImpresion(alias, dir_.path());
    }

private slots:
    void init() { QFile::remove(dir_.filePath("Imprime.set")); }

    void archivoFaltanteSeCreaConLosValoresPorDefecto() {
        const ConfiguracionImpresion c = CargarConfiguracionImpresion(QString(), dir_.path());
        QCOMPARE(LeerBytes(dir_.filePath("Imprime.set")),
                 QByteArray("Archivo para Ver Informes : Q.COM\r\n"
                            "Archivo para Editar TXT : NOTEPAD.EXE\r\n"
                            "Margen Izquierdo CM : 3\r\n"
                            "Margen Derecho CM : 2\r\n"
                            "Longitud Pagina : 58\r\n"
                            "Espaciamiento Lineas : 1\r\n"
                            "MicroFeed : 0\r\n"
                            "Puerto : PRN\r\n"));
        QCOMPARE(c.Visor, QStringLiteral("Q.COM"));
        QCOMPARE(c.LineasPorPagina(), 58);
        QCOMPARE(c.Puerto, QStringLiteral("PRN"));
        // Lo creado se vuelve a leer igual y no se reescribe.
        EscribirBytes(dir_.filePath("Imprime.set"), "Longitud Pagina : 40\r\n");
        QCOMPARE(CargarConfiguracionImpresion(QString(), dir_.path()).LongitudPagina, 40);
        QCOMPARE(LeerBytes(dir_.filePath("Imprime.set")), QByteArray("Longitud Pagina : 40\r\n"));
    }

    void valoresYLimites() {
        ConfiguracionImpresion c = Cargar("Archivo para Ver Informes :  less  \r\n"
                                          "Margen Izquierdo CM : 2.5cm\r\n"
                                          "Longitud Pagina : 60\r\n"
                                          "Espaciamiento Lineas : 1.2\r\n"
                                          "MicroFeed : 144.5\r\n"
                                          "Puerto :   \r\n");
        QCOMPARE(c.Visor, QStringLiteral("less"));
        QVERIFY(c.MargenIzquierdo == 2.5f);
        QVERIFY(c.MargenDerecho == 2.0f);
        // 60 / 1.2 en simple precisión da 49.99..., no 50.
        QCOMPARE(c.LineasPorPagina(), 49);
        QCOMPARE(c.MicroFeed, 144); // mitad al par
        QCOMPARE(c.Puerto, QStringLiteral("PRN"));

        QCOMPARE(Cargar("Longitud Pagina : 15\r\n").LongitudPagina, 58);
        QCOMPARE(Cargar("Longitud Pagina : 21\r\n").LongitudPagina, 21);
        QCOMPARE(Cargar("Longitud Pagina : 99999\r\n").LongitudPagina, 58);
        QVERIFY(Cargar("Espaciamiento Lineas : 0\r\n").Espaciamiento == 1.0f);
        QVERIFY(Cargar("Espaciamiento Lineas : 6\r\n").Espaciamiento == 1.0f);
        QVERIFY(Cargar("Espaciamiento Lineas : -2\r\n").Espaciamiento == 1.0f);
        c = Cargar("Espaciamiento Lineas : 5\r\n");
        QVERIFY(c.Espaciamiento == 5.0f);
        QCOMPARE(c.LineasPorPagina(), 11);
        QCOMPARE(Cargar("Espaciamiento Lineas : 2\r\n").LineasPorPagina(), 29);
    }

    void clavesExactasYOchoLineas() {
        ConfiguracionImpresion c = Cargar("longitud pagina : 40\r\n"
                                          "Longitud Pagina: 30\r\n"
                                          " Puerto  :lpt2\r\n"
                                          "sin dos puntos\r\n");
        QCOMPARE(c.LongitudPagina, 30);
        QCOMPARE(c.Puerto, QStringLiteral("lpt2"));
        // Solo se miran las ocho primeras líneas.
        QByteArray ocho;
        for (int i = 0; i < 7; ++i)
            ocho += "relleno\r\n";
        c = Cargar(ocho + "Puertos : LAB LPT2\r\n");
        QCOMPARE(c.Puertos.size(), 1);
        c = Cargar(ocho + "relleno\r\nPuertos : LAB LPT2\r\n");
        QVERIFY(c.Puertos.isEmpty());
    }

    void puertosConNombre() {
        ConfiguracionImpresion c;
        // Dos blancos dejan un puerto vacío: ese par se salta y la lectura sigue tras
        // el segundo blanco, así "LPT3 CASA" forma el par siguiente.
        LeerPuertos(c, u"LAB LPT2 OFI  LPT3 CASA PRN");
        QCOMPARE(c.Puertos.size(), 2);
        QCOMPARE(c.Puertos[0].Nombre, QStringLiteral("LAB"));
        QCOMPARE(c.Puertos[0].Puerto, QStringLiteral("LPT2"));
        QCOMPARE(c.Puertos[1].Nombre, QStringLiteral("LPT3"));
        QCOMPARE(c.Puertos[1].Puerto, QStringLiteral("CASA"));
        LeerPuertos(c, u"");
        QVERIFY(c.Puertos.isEmpty());
        QString muchos;
        for (int i = 0; i < 120; ++i)
            muchos += QStringLiteral("A%1 P%1 ").arg(i);
        LeerPuertos(c, muchos);
        QCOMPARE(c.Puertos.size(), MaximoPuertosNombrados);

        const QByteArray archivo = "Puerto : LPT1\r\nPuertos : lab lpt2 ofi lpt3\r\n";
        QCOMPARE(Cargar(archivo, QStringLiteral(" ofi ")).Puerto, QStringLiteral("LPT3"));
        QCOMPARE(Cargar(archivo, QStringLiteral("lab")).Puerto, QStringLiteral("LPT2"));
        QCOMPARE(Cargar(archivo, QStringLiteral("casa")).Puerto, QStringLiteral("LPT1"));
        QCOMPARE(Cargar(archivo).Puerto, QStringLiteral("LPT1"));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasConfiguracionImpresion)
#include "PruebasConfiguracionImpresion.moc"
