// varek9-cli importar y exportar: la tabla de unidades del núcleo, el límite de
// la tabla y lo que se dice de una hoja de cálculo mal escrita.
#include "Muestras.h"
#include "Pruebas.h"

#include "Archivos.h"
#include "Corrida.h"

#include "common/Texto.h"
#include "project/ArchivoProyecto.h"
#include "units/PortapapelesGrilla.h"
#include "units/RevisionUH.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

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
    // Exportar escribe en Windows-1252 la copia del núcleo (su forma, en
    // PruebasPortapapelesGrilla); lo exportado, importado en un proyecto vacío, se
    // exporta igual.
    void exportarEIdaYVuelta() {
        const QString ejemplo = VAREK9_EJEMPLOS u"/Ejemplo.vk9"_s;
        const Corrida c = Correr({"exportar", ejemplo});
        QCOMPARE(c.Codigo, 0);
        QVERIFY(c.Errores.isEmpty());
        Proyecto p = Leer(ejemplo);
        QCOMPARE(c.Bytes, CodificarAnsi(CopiarTexto(PrepararTablaUH(p), 1, ColCodigoTramo)));

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
            lista << UnidadTramo(u"A%1"_s.arg(i, 4, 10, QChar(u'0')), i, i + 1);
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
                 u"La línea %1 no tiene código de tramo: no forma una unidad."_s.arg(filas + 1));
        const Proyecto p = Leer(salida);
        QCOMPARE(p.NumeroUH, unidades + filas);
        QCOMPARE(p.UH[unidades + 1].CodigoTramo, u"Z0001"_s);
        QCOMPARE(p.UH[unidades + filas].CodigoTramo, u"Z%1"_s.arg(filas, 4, 10, QChar(u'0')));
        // Y exportar las muestra todas.
        QCOMPARE(Correr({"exportar", salida}).Bytes.count('\n'), unidades + filas - 1);
    }

    // Una tabla de hoja de cálculo: lo que no se leyó entero se dice y la orden sigue;
    // la fila en blanco no forma unidad y las demás sí, también el código de blancos y
    // el duplicado (cómo se leen las celdas y el orden, en PruebasRevisionUH).
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
        QCOMPARE(c.Errores.trimmed(),
                 u"Algunas celdas pegadas no eran números o tenían caracteres que "
                 "se descartaron:\n\n"
                 "fila 3, Ancho Corona: \"6.5 m\" se guarda como 6.50\n"
                 "fila 5, Abscisa Inicial: \"abc\" se guarda como 0.00\n"
                 "fila 5, Abscisa Final: \"12 m\" se guarda como 12.00"_s);
        QCOMPARE(Leer(salida).NumeroUH, 7);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCliUnidades)
#include "PruebasCliUnidades.moc"
