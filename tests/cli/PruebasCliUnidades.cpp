// varek9-cli importar y exportar: tablas de unidades de una hoja de cálculo con
// códigos raros, duplicados, números malos, clases mal escritas, columnas de
// más y filas en blanco.
#include "Muestras.h"
#include "Pruebas.h"

#include "Archivos.h"
#include "Corrida.h"

#include "project/ArchivoProyecto.h"

#include <QTemporaryDir>

namespace {

// Escribe un proyecto con las unidades dadas.
bool EscribirProyecto(const QString& ruta, const QList<UnidadHomogenea>& unidades) {
    ModuloVarek9 m;
    PonerUnidades(m.Proyecto, unidades);
    return GuardarProyectoEn(m, ruta).Ok;
}

// Las unidades del proyecto guardado.
Proyecto Leer(const QString& ruta) {
    ModuloVarek9 m;
    const AvisoLectura aviso = LeerProyectoDesde(m, ruta);
    if (aviso.HayAviso) qWarning() << aviso.Texto;
    return m.Proyecto;
}

} // namespace

class PruebasCliUnidades : public QObject {
    Q_OBJECT
private slots:
    void exportarEjemploEIdaYVuelta() {
        const Corrida c = Correr({"exportar", QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9")});
        QCOMPARE(c.Codigo, 0);
        QVERIFY(c.Errores.isEmpty());
        // Como el portapapeles: LF entre filas, ninguno al final, sin CR.
        const QList<QByteArray> lineas = c.Bytes.split('\n');
        QCOMPARE(lineas.size(), 14);
        QVERIFY(!c.Bytes.contains('\r'));
        QCOMPARE(lineas.first(), QByteArray("1\tSalida urbana de Tunja, barrio La "
                                            "Fuente\t1\tA\t0.00\t850.00\t7.30\t4.80E+05\tSubhumedo"
                                            "\tFrio\t6.50\tOndulado\tAFR-1\t20.00\t0.00"));
        for (const QByteArray& linea : lineas)
            QCOMPARE(linea.count('\t'), 14);
        // Windows-1252.
        QVERIFY(c.Bytes.contains("\tMonta\xF1oso\t"));

        // Lo exportado, importado en un proyecto vacío, se exporta igual.
        QTemporaryDir dir;
        const QString tabla = dir.filePath("tabla.txt");
        QVERIFY(EscribirBytes(tabla, c.Bytes));
        const QString vacio = dir.filePath("vacio.vk9");
        QVERIFY(EscribirProyecto(vacio, {}));
        const QString salida = dir.filePath("copia.vk9");
        QCOMPARE(Correr({"importar", vacio, tabla, salida}).Codigo, 0);
        QCOMPARE(Correr({"exportar", salida}).Bytes, c.Bytes);
    }

    // Con 999 unidades o más la fila bajo la última no existía: nada se pegaba; ni se
    // pegaba más allá de la fila 999 de la tabla.
    void importarEnElLimite_data() {
        QTest::addColumn<int>("unidades");
        QTest::addColumn<int>("filas");
        for (int n : {0, 998, 999, 1000, 1001})
            QTest::addRow("%d", n) << n << 2;
        QTest::newRow("1005 filas") << 1 << 1005;
    }
    void importarEnElLimite() {
        QFETCH(int, unidades);
        QFETCH(int, filas);
        QTemporaryDir dir;
        QList<UnidadHomogenea> lista;
        for (int i = 1; i <= unidades; ++i)
            lista << UnidadTramo(QStringLiteral("A%1").arg(i, 4, 10, QChar(u'0')), i, i + 1);
        const QString base = dir.filePath("base.vk9");
        QVERIFY(EscribirProyecto(base, lista));
        QByteArray tabla;
        for (int i = 1; i <= filas; ++i)
            tabla += "Z" + QByteArray::number(i).rightJustified(4, '0') + "\tunidad\r\n";
        const QString tablaRuta = dir.filePath("u.txt");
        QVERIFY(EscribirBytes(tablaRuta, tabla + "\tsin codigo\r\n"));
        const QString salida = dir.filePath("salida.vk9");
        const Corrida c = Correr({"importar", base, tablaRuta, salida});
        QCOMPARE(c.Codigo, 0);
        QCOMPARE(c.Errores.trimmed(),
                 QStringLiteral("La línea %1 no tiene código de tramo: no forma una unidad.")
                     .arg(filas + 1));
        const Proyecto p = Leer(salida);
        QCOMPARE(p.NumeroUH, unidades + filas);
        QCOMPARE(p.UH[unidades + 1].CodigoTramo, QStringLiteral("Z0001"));
        QCOMPARE(p.UH[unidades + filas].CodigoTramo,
                 QStringLiteral("Z%1").arg(filas, 4, 10, QChar(u'0')));
        // Y exportar las muestra todas.
        QCOMPARE(Correr({"exportar", salida}).Bytes.count('\n'), unidades + filas - 1);
    }

    void importarTablaDeHojaDeCalculo() {
        QTemporaryDir dir;
        const QString base = dir.filePath("base.vk9");
        QVERIFY(EscribirProyecto(base, {UnidadTramo("K2", 0, 100), UnidadTramo("K1", 0, 100)}));
        const QByteArray tabla = "Z9\tca\xF1"
                                 "ada\t2\tc\t1,250.75\t1,300\t6.5 m\t150000\thum"
                                 "\tTEMP\t4,5\tmont\tafr-2\t12\t30\textra\tm\xE1s\r\n"
                                 "\r\n"
                                 "A1\t\t\t\tabc\t12 m\t\t1.5E+05\r\n"
                                 "K1\tduplicada\t1\tA\t0\t100\r\n"
                                 "  \tsolo blancos\r\n"
                                 "ab\tmin\xFAsculas\r\n";
        const QString unidades = dir.filePath("unidades.txt");
        QVERIFY(EscribirBytes(unidades, tabla));
        const QString salida = dir.filePath("salida.vk9");
        const Corrida c = Correr({"importar", base, unidades, salida});
        QCOMPARE(c.Codigo, 0);
        // Lo que no se leyó entero se dice, y la orden sigue.
        QCOMPARE(c.Errores.trimmed(),
                 QStringLiteral("Algunas celdas pegadas no eran números o tenían caracteres que "
                                "se descartaron:\n\n"
                                "fila 3, Ancho Corona: \"6.5 m\" se guarda como 6.50\n"
                                "fila 5, Abscisa Inicial: \"abc\" se guarda como 0.00\n"
                                "fila 5, Abscisa Final: \"12 m\" se guarda como 12.00"));

        const Proyecto p = Leer(salida);
        QStringList codigos;
        for (int i = 1; i <= p.NumeroUH; ++i)
            codigos << p.UH[i].CodigoTramo;
        // Códigos más cortos primero (blancos: vacío), mayúsculas antes que
        // minúsculas y el duplicado detrás del que ya estaba.
        QCOMPARE(codigos, (QStringList{"  ", "A1", "K1", "K1", "K2", "Z9", "ab"}));
        QCOMPARE(p.UH[3].Descripcion, QString());
        QCOMPARE(p.UH[4].Descripcion, QStringLiteral("duplicada"));
        QCOMPARE(p.UH[7].Descripcion, QStringLiteral("minúsculas"));

        // Las clases se guardan como se pegaron; el llenado solo las muestra (los números,
        // en lo exportado abajo).
        const UnidadHomogenea& z = p.UH[6];
        QCOMPARE(z.TipoSegmento, QStringLiteral("c"));
        QCOMPARE(z.ClimaHumedad, QStringLiteral("hum"));
        QCOMPARE(z.ClimaTemperatura, QStringLiteral("TEMP"));
        QCOMPARE(z.TipoTerreno, QStringLiteral("mont"));
        QCOMPARE(z.TipoAfirmado, QStringLiteral("afr-2"));

        const UnidadHomogenea& a = p.UH[2];
        QCOMPARE(a.AbscisaInicial, 0.0);
        QCOMPARE(a.AbscisaFinal, 12.0);
        QCOMPARE(a.EjesEquivalentes, 150000.0);
        QCOMPARE(a.TipoTramo, QString());
        QCOMPARE(a.ClimaHumedad, QString());

        // La misma tabla en UTF-8 con marca da el mismo proyecto.
        const QString utf8 = dir.filePath("utf8.txt");
        QVERIFY(EscribirBytes(utf8, "\xEF\xBB\xBF" + QString::fromLatin1(tabla).toUtf8()));
        const QString salida8 = dir.filePath("salida8.vk9");
        QCOMPARE(Correr({"importar", base, utf8, salida8}).Codigo, 0);
        QCOMPARE(LeerBytes(salida8), LeerBytes(salida));

        // Lo exportado muestra las clases como las ve la ventana; "4,5" es 4.5 (la coma sola
        // es decimal) y con afirmado no hay capa de subrasante.
        const Corrida exportada = Correr({"exportar", salida});
        QCOMPARE(exportada.Codigo, 0);
        const QList<QByteArray> lineas = exportada.Bytes.split('\n');
        QCOMPARE(lineas.size(), 7);
        QCOMPARE(lineas[5],
                 QByteArray("Z9\tca\xF1"
                            "ada\t2\tC\t1,250.75\t1,300.00\t6.50\t1.50E+05"
                            "\tHumedo\tTemplado\t4.50\tMonta\xF1oso\tAFR-2\t12.00\t0.00"));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCliUnidades)
#include "PruebasCliUnidades.moc"
