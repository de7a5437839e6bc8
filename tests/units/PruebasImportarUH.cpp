// Unidades desde archivos CSV y XLSX: títulos reconocidos, separadores,
// codificaciones, celdas dudosas y la vuelta completa por la hoja de resultados.
#include "Archivos.h"
#include "Muestras.h"
#include "Pruebas.h"

#include "alternatives/Diseno.h"
#include "alternatives/HojaResultados.h"
#include "common/LibroHoja.h"
#include "project/ArchivoProyecto.h"
#include "units/ImportarUH.h"

using namespace Qt::StringLiterals;

namespace {

const QString Ejemplo = VAREK9_EJEMPLOS u"/Ejemplo.vk9"_s;

// Una celda de la tabla: el texto de una lista o descripción, el valor exacto de
// un número (con punto), vacío si está vacía.
QString Celda(const TablaTextos& t, int f, int c) {
    const QString texto = t.Texto(f, c);
    if (!EsColumnaNumeroUH(c) || texto.isEmpty()) return texto;
    return QString::number(NumeroCeldaUH(t, f, c), 'g', 15);
}

const char* Nota(NotaPegado n) {
    // En el orden de la enumeración.
    static const char* const nombres[] = {"no es número", "sin entrada",       "entrada ambigua",
                                          "descartado",   "fuera de lo usual", "sin caracteres",
                                          "ambiguo",      "negativo"};
    return nombres[static_cast<int>(n)];
}

// Cómo se leyó, cada fila importada (columnas 1..15) y cada nota con la fila del
// archivo, en líneas.
QString Resumen(const ImportacionUH& imp) {
    const LecturaUnidades& l = imp.Lectura;
    if (!l.Error.isEmpty()) return u"error: "_s + l.Error;
    QStringList lineas{QStringList{
        l.ConTitulos ? u"títulos"_s : u"posición"_s,
        l.Hoja.Hoja.isEmpty() ? QString(l.Hoja.Delimitador) : l.Hoja.Hoja, l.Hoja.Codificacion,
        imp.Pegado.Convencion.Separador == SeparadorDecimal::Coma ? u"coma"_s : u"punto"_s}
                           .join(u' ')};
    for (int i = 0; i < l.Filas.size(); ++i) {
        QStringList fila;
        for (int c = ColCodigoTramo; c < ColumnasUH; ++c)
            fila << Celda(imp.Tabla, imp.Fila + i, c);
        lineas << u"%1: "_s.arg(l.FilasArchivo[i]) + fila.join(u'|');
        if (l.Filas[i].size() != ColumnasUH - 1)
            lineas << u"con %1 celdas"_s.arg(l.Filas[i].size());
    }
    for (const CeldaNotada& n : imp.Pegado.Notas)
        lineas << u"fila %1 %2: %3"_s.arg(imp.FilaArchivo(n.Fila))
                      .arg(NombreColumnaUH(n.Columna), QString::fromUtf8(Nota(n.Nota)));
    return lineas.join(u'\n');
}

ImportacionUH Importar(const QByteArray& datos, SeparadorDecimal preferencia,
                       const QString& hoja = QString(), int unidades = 0) {
    TablaTextos tabla(FilasInicialesUH, ColumnasUH);
    NumerarFilas(tabla);
    return PrepararImportacionUH(tabla, unidades, LeerUnidadesArchivo(datos, hoja), preferencia);
}

// Los datos de una unidad que la importación debe conservar, en una línea.
QString Datos(const UnidadHomogenea& u) {
    return QStringList{u.CodigoTramo,
                       u.Descripcion,
                       u.TipoTramo,
                       u.TipoSegmento,
                       QString::number(u.AbscisaInicial, 'g', 15),
                       QString::number(u.AbscisaFinal, 'g', 15),
                       QString::number(u.AnchoCorona, 'g', 15),
                       QString::number(u.EjesEquivalentes, 'g', 15),
                       u.ClimaHumedad,
                       u.ClimaTemperatura,
                       QString::number(u.CBR, 'g', 15),
                       u.TipoTerreno,
                       u.TipoAfirmado,
                       QString::number(u.EspesorAfirmado, 'g', 15),
                       QString::number(u.EspesorSubrasante, 'g', 15)}
        .join(u'|');
}

} // namespace

class PruebasImportarUH : public QObject {
    Q_OBJECT

private slots:
    // Los títulos como los escriben las hojas de cálculo, en español y en inglés. "c b r" no es
    // el nombre; lo de entre paréntesis, anidado, no cuenta; un cierre de más no tapa el resto.
    void titulos_data() {
        Columnas<QString, int>({"titulo", "columna"});
        for (const QStringList& f : FilasDeDatos(u"titulos.txt"_s, u"titulos"_s))
            QTest::newRow(qPrintable(f[1].isEmpty() ? u"vacío"_s : f[1])) << f[1] << f[0].toInt();
    }
    void titulos() {
        TOMAR((titulo, columna), QString, int);
        QCOMPARE(ColumnaDeTituloUH(titulo), columna);
    }

    // El separador se decide con las 20 primeras líneas: la vigésima cuenta, la siguiente no.
    void muestraDelSeparador() {
        const QByteArray a = QByteArray("a\n").repeated(19), t = QByteArray("x\ty\n").repeated(5);
        QVERIFY(LeerCsv(a + t).Delimitador == u'\t' && LeerCsv("a\n" + a + t).Delimitador == u';');
    }
    // Hasta 100000 filas y 256 columnas: lo que sigue no se lee.
    void topesDelCsv() {
        QCOMPARE(LeerCsv(QByteArray("x\n").repeated(100001)).Filas.size(), 100000);
        QCOMPARE(LeerCsv(QByteArray(300, ';')).Filas.value(0).size(), 256);
    }

    // Lo leído de cada archivo, calculado a mano: columnas, convención, valores y
    // lo que se dice de cada celda.
    void lecturas_data() {
        // coma: la preferencia. Cada bloque del archivo, escrito a mano: "## nombre", la
        // preferencia, los bytes (con \r \n \t \\ y \xHH) y lo esperado (\t, un tabulador).
        Columnas<QByteArray, bool, QString>({"datos", "coma", "esperado"});
        const QString datos = u'\n' + TextoDeDatos(u"importar-lecturas.txt"_s);
        for (const QString& bloque : datos.split(u"\n## "_s, Qt::SkipEmptyParts)) {
            const QStringList l = bloque.trimmed().split(u'\n');
            QByteArray bytes;
            for (qsizetype i = 0; i < l[2].size(); ++i) {
                const char c = l[2][i].toLatin1();
                if (c != '\\')
                    bytes += c;
                else if (const char e = l[2][++i].toLatin1(); e == 'x')
                    bytes += char(l[2].mid(++i, 2).toInt(nullptr, 16)), ++i;
                else
                    bytes += e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e;
            }
            QTest::newRow(qPrintable(l[0]))
                << bytes << (l[1] == u"coma") << l.mid(3).join(u'\n').replace(u"\\t"_s, u"\t"_s);
        }
    }
    void lecturas() {
        TOMAR((datos, coma, esperado), QByteArray, bool, QString);
        QCOMPARE(Resumen(Importar(datos, coma ? SeparadorDecimal::Coma : SeparadorDecimal::Punto)),
                 esperado);
    }

    // Lo que se dice antes de importar, con las filas del archivo (bajo una fila de
    // título), y si hay rechazos.
    void hallazgos() {
        const ImportacionUH imp =
            Importar("Resultados\r\nObservaciones;Codigo;CBR;Ancho Corona;cbr\r\n"
                     "x;Z1;abc;-7;1\r\nx;;4;6;2\r\n",
                     SeparadorDecimal::Punto, QString(), 14);
        QVERIFY(imp.Fila == 15 && imp.HayRechazadas());
        QCOMPARE(TextoImportacionUH(imp, SeparadorDecimal::Punto),
                 TextoDeDatos(u"importar-hallazgos.txt"_s));
        const ImportacionUH limpia = Importar("Z1;;1;A;0;10\r\n", SeparadorDecimal::Punto);
        QVERIFY(!limpia.HayRechazadas());
        // Un tipo de tramo que no está en su lista, un negativo o una entrada ambigua ("S"
        // puede ser tres climas) también se rechazan.
        for (const char* fila : {"Z1;;9\r\n", "Z1;;1;A;0;10;-7\r\n", "Z1;;1;A;0;10;6;1000;S\r\n"})
            QVERIFY2(Importar(fila, SeparadorDecimal::Punto).HayRechazadas(), fila);
        // Con la tabla llena, la unidad va en una fila nueva y le sigue una vacía.
        QCOMPARE(Importar("Z1\r\n", SeparadorDecimal::Punto, {}, 999).Tabla.Filas(), 1002);
        QCOMPARE(TextoImportacionUH(limpia, SeparadorDecimal::Punto), QString());
        // Se nombran las primeras 20 filas sin código; de las 22, quedan 2.
        const ImportacionUH sinCodigo =
            Importar("Codigo;CBR\r\n" + QByteArray(";4\r\n").repeated(22), SeparadorDecimal::Punto);
        QCOMPARE(TextoImportacionUH(sinCodigo, SeparadorDecimal::Punto),
                 u"Estas filas del archivo no tienen código de tramo y no forman unidades: 2, 3, "
                 "4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, (y 2 más)."_s);
        // Con 20 justas, ningún resto.
        QVERIFY(TextoImportacionUH(Importar("Codigo;CBR\r\n" + QByteArray(";4\r\n").repeated(20),
                                            SeparadorDecimal::Punto),
                                   SeparadorDecimal::Punto)
                    .endsWith(u"20, 21."_s));
    }

    // Un libro XLSX: los números llegan exactos, sin convención que los cambie; la
    // hoja se elige por su nombre.
    void libroXlsx() {
        if (!HayEscrituraXlsx() || !HayLecturaXlsx()) QSKIP("Construcción sin XLSX");
        HojaLibro resumen{u"Resumen"_s, {u"Proyecto"_s}, {}, {{CeldaHoja{u"Vía 1"_s}}}};
        HojaLibro datos{u"Datos"_s,
                        {u"Código Tramo"_s, u"Abscisa Final (m)"_s, u"W18"_s, u"Tipo de Tramo"_s},
                        {},
                        {{CeldaHoja{u"Z11"_s}, CeldaHoja::DeNumero(1.234),
                          CeldaHoja::DeNumero(1234567), CeldaHoja::DeNumero(2)}}};
        QString error;
        const QByteArray libro = BytesXlsx({resumen, datos}, &error);
        QVERIFY2(!libro.isEmpty(), qPrintable(error));
        for (const SeparadorDecimal s : {SeparadorDecimal::Coma, SeparadorDecimal::Punto})
            QCOMPARE(Resumen(Importar(libro, s, u"datos"_s)),
                     u"títulos Datos  %1\n2: Z11||2|||1.234||1234567|||||||"_s.arg(
                         s == SeparadorDecimal::Coma ? u"coma"_s : u"punto"_s));
        QVERIFY(Resumen(Importar(libro, SeparadorDecimal::Punto, u"Otra"_s))
                    .startsWith(u"error: El libro no tiene la hoja [Otra]"_s));
    }

    // Un libro de otra hoja de cálculo, armado a mano: una fila sin referencia "r"
    // sigue a la anterior y una celda sin ella, a la de su izquierda; celdas en línea,
    // de fórmula de texto, de error y lógicas. Lo lógico no es un número de CBR. Su
    // segunda hoja está cortada antes de la primera celda.
    void libroSinReferencias() {
        if (!HayLecturaXlsx()) QSKIP("Construcción sin XLSX");
        const QByteArray libro = LeerBytes(VAREK9_DATOS_PRUEBA u"/sin-referencias.xlsx"_s);
        QCOMPARE(Resumen(Importar(libro, SeparadorDecimal::Punto, u"Dañada"_s)),
                 u"error: La hoja [Dañada] del libro está dañada."_s);
        // Una hoja que el libro nombra y no trae, y una cuyo CRC no coincide.
        for (const QString& hoja : {u"Falta"_s, u"CRC"_s})
            QCOMPARE(Resumen(Importar(libro, SeparadorDecimal::Punto, hoja)),
                     u"error: No se pudo leer la hoja [%1] del libro."_s.arg(hoja));
        const ImportacionUH imp = Importar(libro, SeparadorDecimal::Punto);
        QVERIFY(TextoLecturaUH(imp.Lectura).contains(u"hojas: Unidades, Dañada, Falta, CRC)"_s));
        QCOMPARE(Resumen(imp), u"títulos Unidades  punto\n"
                               "2: T1|Vía 1|||0|1500.5|||||4||||\n"
                               "3: T2|#N/A|||1500.5|3200|||||||||\n"
                               "5: T3||||||||||7||||\n"
                               "fila 3 CBR: no es número"_s);
    }

    // La vuelta completa: la hoja "Unidades" de los resultados del ejemplo, en XLSX y
    // en CSV con cada separador, importada en un proyecto vacío da sus mismas unidades.
    void vueltaPorLaHojaDeResultados_data() { pruebas::FilasFormatosHoja(); }
    void vueltaPorLaHojaDeResultados() {
        QFETCH(QString, formato);
        if (formato == u"xlsx" && (!HayEscrituraXlsx() || !HayLecturaXlsx()))
            QSKIP("Construcción sin XLSX");
        ModuloVarek9 m;
        QVERIFY(!LeerProyectoDesde(m, Ejemplo).HayAviso);
        EstadoDiseno estado;
        const LibroHoja libro = LibroResultados(m, estado);
        const SeparadorDecimal s =
            formato == u"coma" ? SeparadorDecimal::Coma : SeparadorDecimal::Punto;
        QString error;
        const QByteArray bytes = formato == u"xlsx" ? BytesXlsx(libro, &error) : TextoCsv(libro, s);
        QVERIFY2(!bytes.isEmpty(), qPrintable(error));
        // La preferencia contraria: el archivo decide por sus celdas.
        const SeparadorDecimal otra =
            s == SeparadorDecimal::Coma ? SeparadorDecimal::Punto : SeparadorDecimal::Coma;
        ModuloVarek9 vacio;
        ImportacionUH imp = Importar(bytes, otra);
        QCOMPARE(imp.Lectura.Error, QString());
        QVERIFY(imp.Lectura.Filas.size() == qsizetype(m.Proyecto.NumeroUH) && !imp.HayRechazadas());
        RevisarUH(vacio.Proyecto, imp.Tabla, imp.Fila);
        QCOMPARE(vacio.Proyecto.NumeroUH, m.Proyecto.NumeroUH);
        for (int i = 1; i <= m.Proyecto.NumeroUH; ++i)
            QCOMPARE(Datos(vacio.Proyecto.UH[i]), Datos(m.Proyecto.UH[i]));
    }

    // Con las mil unidades que caben, la hoja "Unidades" las lleva todas.
    void hojaConMilUnidades() {
        ModuloVarek9 m;
        LlenarProyectoDeMuestra(m.Proyecto, CapacidadInicialUH, 0);
        EstadoDiseno e;
        const HojaLibro unidades = LibroResultados(m, e).value(0);
        QCOMPARE(unidades.Nombre + u' ' + QString::number(unidades.Filas.size()),
                 u"Unidades 1000"_s);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasImportarUH)
#include "PruebasImportarUH.moc"
