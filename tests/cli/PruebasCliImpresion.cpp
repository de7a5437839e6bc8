// varek9-cli texto, dos, pdf y diagrama: la copia de texto, la cola del puerto de
// texto, el PDF de un reporte y el diagrama lineal, con sus opciones (los errores, en
// PruebasCli).
#include "Archivos.h"
#include "Corrida.h"
#include "Pruebas.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

QByteArray Encabezado(int pagina) {
    const QByteArray texto = QByteArray::number(pagina) + " [05/12/2026 19:45:00]";
    return QByteArray(80 - texto.size(), ' ') + texto + "\r\n";
}

} // namespace

class PruebasCliImpresion : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void init() {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
        EscribirBytes(dir_.filePath(u"informe"_s), ReporteDosPaginas());
    }

    void copiaDeTexto() {
        const Corrida c = Correr({u"texto"_s, u"informe"_s}, dir_.path());
        QCOMPARE(c.Codigo, 0);
        QCOMPARE(c.Salida, u"informe.txt\n"_s);
        // Su contenido, en PruebasPaginacion.
        QVERIFY(LeerBytes(dir_.filePath(u"informe.txt"_s)).startsWith("#pg#fecha#\r\n"));
        // Crea la configuración por defecto en la carpeta de trabajo.
        QVERIFY(QFile::exists(dir_.filePath(u"Imprime.set"_s)));
    }

    void colaDelPuertoDeTexto() {
        const QStringList base{u"dos"_s, u"informe"_s, u"--fecha"_s, u"05/12/2026 19:45:00"_s};
        Corrida c = Correr(base, dir_.path());
        QCOMPARE(c.Codigo, 0);
        QCOMPARE(c.Salida, u"t00\n"_s);
        QVERIFY(LeerBytes(dir_.filePath(u"t00"_s)).startsWith(Encabezado(1) + "linea 1   \r\n"));

        // Solo la página 2, dos copias, a un archivo dado (la paginación, en PruebasPaginacion).
        c = Correr(base + QStringList{u"--desde"_s, u"2"_s, u"--hasta"_s, u"2"_s, u"--copias"_s,
                                      u"2"_s, u"--salida"_s, u"cola.prn"_s},
                   dir_.path());
        QCOMPARE(c.Codigo, 0);
        const QByteArray pagina2 =
            Encabezado(2) + "linea 58   \r\nlinea 59   \r\nlinea 60   \r\n\f";
        QCOMPARE(LeerBytes(dir_.filePath(u"cola.prn"_s)), pagina2 + pagina2);

        // La configuración de la carpeta manda: páginas de 30 líneas.
        EscribirBytes(dir_.filePath(u"Imprime.set"_s), "Longitud Pagina : 30\r\n");
        Correr(base + QStringList{u"--salida"_s, u"cola30.prn"_s}, dir_.path());
        QCOMPARE(LeerBytes(dir_.filePath(u"cola30.prn"_s)).count('\f'), 3);
    }

    void pdf() {
        const Corrida c = Correr(
            {u"pdf"_s, u"informe"_s, u"informe.pdf"_s, u"--fecha"_s, u"05/12/2026 19:45:00"_s},
            dir_.path());
        QCOMPARE(c.Codigo, 0);
        QVERIFY(c.Salida.startsWith(u"informe.pdf: 2 páginas"_s));
        QProcess texto;
        texto.start(QStandardPaths::findExecutable(u"pdftotext"_s),
                    {u"-layout"_s, dir_.filePath(u"informe.pdf"_s), u"-"_s});
        QVERIFY(texto.waitForFinished(30000));
        // La fecha dada llega al encabezado.
        QVERIFY(texto.readAllStandardOutput().contains("2 [05/12/2026 19:45:00]"));
    }

    // Ninguna orden escribe sobre su entrada: un nombre reservado o una copia la
    // saltan; una salida dada igual a la entrada termina con el código 2.
    void nuncaSobreLaEntrada_data() {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QString>("salida");
        const auto fila = [](const char* nombre, const char* entrada, QStringList args,
                             const char* salida = nullptr) {
            QTest::newRow(nombre) << QString::fromUtf8(entrada) << args << (salida ? 0 : 2)
                                  << QString::fromUtf8(salida);
        };
        const QString ejemplo = QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9");
        fila("cola reservada", "t00", {"dos", "t00"}, "t10\n");
        fila("cola dada", "informe",
             {"dos", "informe", "--salida", "./informe", "--fecha", "05/12/2026 19:45:00"});
        fila("pdf", "informe", {"pdf", "informe", "informe"});
        fila("reporte reservado", "r00", {"reporte", "1", "r00"}, "r10\n");
        fila("reporte dado", "r00", {"reporte", "1", "r00", "--salida", "r00"});
        fila("importar sobre las unidades", "u.txt", {"importar", ejemplo, "u.txt", "u.txt"});
        // "x.text" es la copia de "x.txt": la suya no cae sobre el reporte del que salió.
        fila("copia de una copia", "x.txt", {"texto", "x.text"}, "x00.txt\n");
        fila("copia de un reporte con su copia vieja", "x.txt", {"texto", "x.txt"}, "x.text\n");
#ifndef _WIN32
        // "x.text" es un enlace a "x.txt": su copia de texto sería el reporte mismo.
        fila("copia de texto", "x.txt", {"texto", "x.text"}, "x00.txt\n");
#endif
    }
    void nuncaSobreLaEntrada() {
        QFETCH(QString, entrada);
        QFETCH(QStringList, args);
        QFETCH(int, codigo);
        QFETCH(QString, salida);
        const QString ruta = dir_.filePath(entrada);
        const QByteArray bytes = entrada.startsWith(u'r')
                                     ? LeerBytes(QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9"))
                                     : ReporteDosPaginas();
        QVERIFY(EscribirBytes(ruta, bytes));
        if (QByteArrayView(QTest::currentDataTag()).startsWith("copia de"))
            QVERIFY(EscribirBytes(dir_.filePath(u"x.text"_s), "copia\r\n"));
        else if (args.value(1) == u"x.text")
            QVERIFY(QFile::link(ruta, dir_.filePath(u"x.text"_s)));
        const Corrida c = Correr(args, dir_.path());
        QCOMPARE(c.Codigo, codigo);
        QCOMPARE(c.Salida, salida);
        QCOMPARE(LeerBytes(ruta), bytes);
        if (codigo == 2) QVERIFY(c.Errores.contains(u"es el archivo de entrada"_s));
    }

    void diagrama_data() {
        QTest::addColumn<QStringList>("args");
        const QString ejemplo = VAREK9_EJEMPLOS u"/Ejemplo.vk9"_s;
        QTest::newRow("svg") << QStringList{ejemplo, u"--salida"_s, u"d.svg"_s};
        QTest::newRow("pdf") << QStringList{u"--salida"_s, u"d.pdf"_s, ejemplo};
        QTest::newRow("png") << QStringList{ejemplo, u"--salida"_s, u"d.png"_s};
    }
    void diagrama() {
        QFETCH(QStringList, args);
        QCOMPARE(Correr(QStringList{u"diagrama"_s} + args, dir_.path()).Codigo, 0);
        const QString salida = dir_.filePath(args[args.indexOf(u"--salida"_s) + 1]);
        const QByteArray bytes = LeerBytes(salida);
        // PNG: el ancho de la cabecera IHDR, A4 apaisada a 200 ppp.
        if (salida.endsWith(u".png"_s)) {
            QCOMPARE(qFromBigEndian<quint32>(bytes.constData() + 16), 2339u);
            return;
        }
        if (salida.endsWith(u".pdf"_s)) {
            QVERIFY(bytes.startsWith("%PDF"));
            return;
        }
        // Cada grupo del SVG, contra el diseño de la orden diseno: su alternativa y los
        // espesores de sus capas (mm en diseno, cm en el dibujo).
        const QStringList diseno =
            Correr({u"diseno"_s, args[0]}, dir_.path()).Salida.split(u'\n', Qt::SkipEmptyParts);
        QXmlStreamReader xml(bytes);
        int grupos = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"g"_s ||
                xml.attributes().value(u"class"_s) != u"unidad"_s)
                continue;
            const int i = xml.attributes().value(u"id"_s).mid(2).toInt();
            while (xml.readNext() != QXmlStreamReader::StartElement) {
            }
            const QString desc = xml.readElementText();
            const QStringList campos = diseno[i - 1].split(u'\t');
            const int n = campos[2].toInt();
            const bool aplica = n >= 1 && campos[3 + (n - 1) * 6] == u"1"_s;
            QStringList capas;
            for (int k = 1; k <= 4 && aplica; ++k) {
                const double mm = campos[3 + (n - 1) * 6 + k].toDouble();
                if (mm > 0) capas << QString::number(mm / 10, 'f', 1);
            }
            QStringList vistas;
            for (const QString& capa : desc.section(u": "_s, 1).split(u", "_s, Qt::SkipEmptyParts))
                if (!capa.startsWith(u"TSD"_s) && !capa.startsWith(u"CSR"_s))
                    vistas << capa.section(u' ', 1);
            QCOMPARE(vistas, capas);
            ++grupos;
        }
        QCOMPARE(grupos, diseno.size() - 1); // sin la línea TOTAL
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCliImpresion)
#include "PruebasCliImpresion.moc"
