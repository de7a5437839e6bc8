// Copiar y pegar sobre la tabla de textos: separadores exactos, filas
// agregadas, columnas sobrantes y archivos de unidades en varias codificaciones.
#include "Pruebas.h"

#include "Muestras.h"
#include "units/PortapapelesGrilla.h"
#include "units/RevisionUH.h"

using namespace Qt::StringLiterals;

namespace {

TablaTextos TablaVacia(int filas = FilasInicialesUH) {
    TablaTextos t(filas, ColumnasUH);
    NumerarFilas(t);
    return t;
}

} // namespace

class PruebasPortapapelesGrilla : public QObject {
    Q_OBJECT
private slots:
    void copiaVaciaYDeTresUnidades() {
        TablaTextos t = TablaVacia();
        // Sin nada, la copia llega hasta la última fila, con celdas vacías.
        QCOMPARE(CopiarTexto(t, 1, 1).count(u'\n'), 998);
        QCOMPARE(CopiarTexto(t, 1, 1).count(u'\t'), 999 * 14);
        QVERIFY(CopiarTexto(t, 1, 1, true).isEmpty());
        for (int f = 1; f <= 3; ++f)
            for (int c = 1; c < ColumnasUH; ++c)
                t.PonerTexto(f, c, QStringLiteral("%1.%2").arg(f).arg(c));
        const QString texto = CopiarTexto(t, 1, 1);
        const QStringList lineas = texto.split(u'\n');
        QCOMPARE(lineas.size(), 3);
        QVERIFY(!texto.contains(u'\r'));
        QVERIFY(!texto.endsWith(u'\n'));
        for (int f = 1; f <= 3; ++f) {
            const QStringList celdas = lineas[f - 1].split(u'\t');
            QCOMPARE(celdas.size(), 15);
            QCOMPARE(celdas.first(), QStringLiteral("%1.1").arg(f));
            QCOMPARE(celdas.last(), QStringLiteral("%1.15").arg(f));
        }
    }

    void copiaLimpiaCadaCelda() {
        TablaTextos t = TablaVacia();
        t.PonerTexto(1, 1, QStringLiteral("  A1  "));
        t.PonerTexto(1, 2, QStringLiteral("dos\tpartes\r\nen líneas"));
        // Una fila intermedia vacía se copia; las del final no.
        t.PonerTexto(3, 15, QStringLiteral("fin"));
        QCOMPARE(CopiarTexto(t, 1, 1), QStringLiteral("A1\tdos partes  en líneas") +
                                           QString(13, u'\t') + u'\n' + QString(14, u'\t') + u'\n' +
                                           QString(14, u'\t') + QStringLiteral("fin"));
        // Con pararEnVacia la copia termina antes de la fila 2.
        QCOMPARE(CopiarTexto(t, 1, 1, true).count(u'\n'), 0);
        // Desde la columna 2 la fila 3 todavía cuenta.
        QCOMPARE(CopiarTexto(t, 1, 2).count(u'\n'), 2);
    }

    void pegaSeparadores_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("columna1");
        QTest::addColumn<QString>("columna2");
        // Filas 1..4 de las columnas 1 y 2 separadas por "|"; "=" marca lo que había antes.
        QTest::newRow("CR LF") << u"a\tb\r\nc\td\r\n"_s << u"a|c|=|="_s << u"b|d|=|="_s;
        QTest::newRow("LF solo") << u"x\ty\nz"_s << u"x|z|=|="_s << u"y|=|=|="_s;
        QTest::newRow("CR solo") << u"x\ry"_s << u"x|y|=|="_s << u"=|=|=|="_s;
        QTest::newRow("línea en blanco vacía la celda")
            << u"x\r\r\ny"_s << u"x||y|="_s << u"=|=|=|="_s;
        QTest::newRow("LF CR son dos saltos") << u"x\n\ry"_s << u"x||y|="_s << u"=|=|=|="_s;
        QTest::newRow("TAB final no escribe") << u"x\t"_s << u"x|=|=|="_s << u"=|=|=|="_s;
        QTest::newRow("TAB doble deja vacía") << u"\t\ty"_s << u"|=|=|="_s << u"|=|=|="_s;
        QTest::newRow("blancos tal cual") << u" a \t b"_s << u" a |=|=|="_s << u" b|=|=|="_s;
        QTest::newRow("nada") << u""_s << u"=|=|=|="_s << u"=|=|=|="_s;
    }
    void pegaSeparadores() {
        QFETCH(QString, texto);
        QFETCH(QString, columna1);
        QFETCH(QString, columna2);
        TablaTextos t = TablaVacia();
        for (int f = 1; f <= 4; ++f)
            for (int c = 1; c <= 2; ++c)
                t.PonerTexto(f, c, QStringLiteral("="));
        PegarTexto(t, texto, 1, 1, true, false);
        QStringList vistas[2];
        for (int f = 1; f <= 4; ++f)
            for (int c = 1; c <= 2; ++c)
                vistas[c - 1] << t.Texto(f, c);
        QCOMPARE(vistas[0].join(u'|'), columna1);
        QCOMPARE(vistas[1].join(u'|'), columna2);
        QCOMPARE(t.Filas(), FilasInicialesUH);
    }

    void columnasYFilasAgregadas() {
        TablaTextos t = TablaVacia();
        PegarTexto(t, u"a\tb\tc\r\nd", 1, 14, true, false);
        QCOMPARE(t.Texto(1, 14), QStringLiteral("a"));
        QCOMPARE(t.Texto(1, 15), QStringLiteral("b"));
        QCOMPARE(t.Columnas(), ColumnasUH);
        // La pieza sobrante no pasa a la fila siguiente.
        QCOMPARE(t.Texto(2, 14), QStringLiteral("d"));
        QCOMPARE(t.Texto(2, 1), QString());

        // Con permiso se agregan columnas y las celdas siguen en su lugar.
        PegarTexto(t, u"x\ty\tz", 3, 15, false, true);
        QCOMPARE(t.Columnas(), 18);
        QCOMPARE(t.Texto(3, 17), QStringLiteral("z"));
        QCOMPARE(t.Texto(1, 14), QStringLiteral("a"));
        QCOMPARE(t.Texto(999, 0), QStringLiteral("999"));

        // Con permiso se agregan filas.
        PegarTexto(t, u"a\nb\nc", 998, 1, true, false);
        QCOMPARE(t.Filas(), 1001);
        QCOMPARE(t.Texto(998, 1), QStringLiteral("a"));
        QCOMPARE(t.Texto(999, 1), QStringLiteral("b"));
        QCOMPARE(t.Texto(1000, 1), QStringLiteral("c"));

        // Sin permiso el pegado termina en la última fila.
        TablaTextos fija = TablaVacia();
        PegarTexto(fija, u"a\nb\nc", 998, 1, false, false);
        QCOMPARE(fija.Filas(), FilasInicialesUH);
        QCOMPARE(fija.Texto(999, 1), QStringLiteral("b"));

        // Un salto final en la última fila agrega una fila vacía y nada más.
        TablaTextos salto = TablaVacia();
        PegarTexto(salto, u"a\r\n", 999, 1, true, false);
        QCOMPARE(salto.Filas(), 1001);
        QCOMPARE(salto.Texto(1000, 1), QString());
    }

    void copiarYPegarDevuelveLaTabla() {
        Proyecto p;
        LlenarProyectoDeMuestra(p, 30, 0);
        const TablaTextos origen = PrepararTablaUH(p);
        TablaTextos destino = TablaVacia();
        PegarTexto(destino, CopiarTexto(origen, 1, 1), 1, 1, true, false);
        QCOMPARE(destino.Celdas(), origen.Celdas());
    }

    void codificaciones() {
        const QString esperado = QStringLiteral("Cañada\tMontañoso €");
        QCOMPARE(DecodificarTextoUnidades("Ca\xF1"
                                          "ada\tMonta\xF1oso \x80"),
                 esperado);
        QCOMPARE(DecodificarTextoUnidades("\xEF\xBB\xBF" + esperado.toUtf8()), esperado);
        QByteArray utf16le("\xFF\xFE");
        QByteArray utf16be("\xFE\xFF");
        for (const QChar c : esperado) {
            utf16le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
            utf16be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
        }
        QCOMPARE(DecodificarTextoUnidades(utf16le), esperado);
        QCOMPARE(DecodificarTextoUnidades(utf16be), esperado);
        // UTF-8 sin marca se lee como Windows-1252, como lo haría el programa.
        QCOMPARE(DecodificarTextoUnidades(QByteArray("\xC3\xB1")), QStringLiteral("Ã±"));
        QVERIFY(DecodificarTextoUnidades(QByteArray()).isEmpty());
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasPortapapelesGrilla)
#include "PruebasPortapapelesGrilla.moc"
