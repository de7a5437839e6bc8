// Rutinas comunes: texto ANSI, partición de líneas, forma numérica general, lectura
// de números y máscaras de presentación; limpieza de texto, columnas, línea de
// comandos, listas, esperas, reserva de nombres de archivos de trabajo y el candado
// de archivo en uso (dentro de un proceso y entre procesos).
#include "Pruebas.h"

#include "Archivos.h"

#include "common/BloqueoArchivo.h"
#include "common/EntradaDatos.h"
#include "common/ErrorSistema.h"
#include "common/Formato.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#ifdef _WIN32
#include <winerror.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// A 15 cifras, con el signo también en el cero.
QString N(double v) {
    return (std::signbit(v) ? u"-"_s : QString()) + QString::number(std::fabs(v), 'g', 15);
}

// Las líneas, cada una seguida de "|": una lista vacía y una con una línea vacía difieren.
template <class Lista>
QString Unidas(const Lista& lineas) {
    QString r;
    for (const auto& l : lineas)
        r.append(l).append(u'|');
    return r;
}

qint64 Tamano(const QString& nombre) {
    return QFileInfo(nombre).size();
}

// Arranca el hijo sobre la ruta y devuelve lo que anuncia.
QByteArray ArrancarHijo(QProcess& hijo, const QString& ruta) {
    hijo.start(QStringLiteral(VAREK9_HIJO_BLOQUEO), {ruta});
    while (hijo.waitForStarted(10000) && !hijo.canReadLine() && hijo.waitForReadyRead(10000)) {
    }
    return hijo.readLine().trimmed();
}

// Una carpeta vacía que es la actual mientras existe.
struct CarpetaPropia {
    QTemporaryDir Dir;
    DirectorioActual Actual{Dir.path()};
};

int TerminarHijo(QProcess& hijo) {
    hijo.closeWriteChannel();
    if (!hijo.waitForFinished(10000) || hijo.exitStatus() != QProcess::NormalExit) return -1;
    return hijo.exitCode();
}

} // namespace

class PruebasComunes : public QObject {
    Q_OBJECT

    std::optional<CarpetaPropia> Carpeta;

private slots:
    // Cada prueba corre en una carpeta vacía propia.
    void init() { Carpeta.emplace(); }
    void cleanup() { Carpeta.reset(); }

    // Lo leído: el valor a 15 cifras (con el signo del cero), si no hubo número y si desbordó.
    void leerNumero_data() {
        Columnas<QString, QString>({"texto", "leido"});
        for (const QStringList& f : FilasDeDatos(u"numeros.txt"_s, u"leerNumero"_s))
            QTest::addRow("%s", qPrintable(f.join(u'|'))) << f[0] << f[1];
    }

    void leerNumero() {
        QFETCH(QString, texto);
        const QString conCola = texto + u'9'; // la cifra que sigue a la vista no se lee
        const NumeroLeido n = LeerNumero(QStringView(conCola).first(texto.size()));
        QTEST(N(n.Valor) + (n.HayNumero ? u""_s : u" sin número"_s) +
                  (n.Desborde ? u" desborde"_s : u""_s),
              "leido");
    }

    // Lo que una persona escribe o pega, con coma o punto decimal: lo que la
    // forma del texto muestra y lo que decide la convención ("c" o "p").
    void numeroEscrito_data() {
        Columnas<QString, QChar, QString>({"texto", "convencion", "leido"});
        for (const QStringList& c : FilasDeDatos(u"numeros.txt"_s, u"numeroEscrito"_s))
            QTest::addRow("%s (%s)", qPrintable(c[0]), qPrintable(c[1]))
                << c[0] << QChar(c[1] == u"c" ? u',' : u'.') << c[2];
    }

    void numeroEscrito() {
        TOMAR((texto, convencion), QString, QChar);
        // Una vista en un texto más largo: lo que sigue, una cifra, no se lee.
        const QString conCola = texto + u'9';
        const NumeroEscrito n = LeerNumeroEscrito(QStringView(conCola).first(texto.size()),
                                                  SeparadorDecimal(convencion.unicode()));
        QTEST(N(n.Valor) + (n.EsNumero ? u""_s : u" no es número"_s) +
                  (n.Ambiguo ? u" ambiguo"_s : u""_s) +
                  (n.Muestra.isNull() ? QString() : u" muestra "_s + n.Muestra) +
                  (n.Descartado ? u" con descarte"_s : u""_s),
              "leido");
    }

    // Un bloque se lee con la convención que muestran sus celdas; si no muestra
    // ninguna, o las dos, con la preferencia.
    void convencionDeBloque_data() {
        Columnas<QStringList, QChar, QString>({"celdas", "preferencia", "esperado"});
        const auto fila = [](const char* nombre, QStringList celdas, char16_t preferencia,
                             const char* esperado) {
            QTest::newRow(nombre) << celdas << QChar(preferencia) << QString::fromUtf8(esperado);
        };
        fila("hoja española", {u"UH-90"_s, u"12.500"_s, u"13.250,50"_s, u"85.000"_s, u"5,5"_s},
             u'.', ", del bloque: 13.250,50 5,5 ambiguas");
        fila("hoja inglesa", {u"1,250.5"_s, u"85,000"_s}, u',', ". del bloque: 1,250.5 ambiguas");
        fila("sin muestra", {u"12.500"_s, u"20"_s, u"150 000"_s}, u',', ", ambiguas");
        fila("contradictoria", {u"6,5"_s, u"7.25"_s}, u'.', ". contradictoria");
        fila("solo enteros", {u"20"_s, u"x"_s}, u'.', ".");
        fila("tres ejemplos", {u"1,5"_s, u"2,5"_s, u"3,5"_s, u"4,5"_s}, u'.',
             ", del bloque: 1,5 2,5 3,5");
    }

    void convencionDeBloque() {
        TOMAR((celdas, preferencia), QStringList, QChar);
        const ConvencionBloque c =
            ConvencionDeBloque(celdas, SeparadorDecimal(preferencia.unicode()));
        QTEST(QChar(char16_t(c.Separador)) +
                  (c.DelBloque ? u" del bloque: "_s + c.Ejemplos.join(u' ') : QString()) +
                  (c.Contradictoria ? u" contradictoria"_s : QString()) +
                  (c.HayAmbiguas ? u" ambiguas"_s : QString()),
              "esperado");
        // El mensaje dice qué separador se usó.
        QVERIFY(TextoConvencion(c).contains(c.Separador == SeparadorDecimal::Coma ? u"la coma"_s
                                                                                  : u"el punto"_s));
    }

    // Lo que se copia es el valor exacto, sin exponente ni miles, y se vuelve a
    // leer igual con la misma convención.
    void textoExacto_data() {
        Columnas<double, QString, QString>({"valor", "punto", "coma"});
        QTest::newRow("entero") << 123456.0 << u"123456"_s << u"123456"_s;
        QTest::newRow("decimal") << -1234.5 << u"-1234.5"_s << u"-1234,5"_s;
        QTest::newRow("tres decimales") << 123.456 << u"123.456"_s << u"123,456"_s;
        QTest::newRow("pequeño y negativo") << -0.000012 << u"-0.000012"_s << u"-0,000012"_s;
        QTest::newRow("grande") << 1.5e17 << u"150000000000000000"_s << u"150000000000000000"_s;
        QTest::newRow("15 cifras") << 0.1 + 0.2 << u"0.3"_s << u"0,3"_s;
        QTest::newRow("cero") << 0.0 << u"0"_s << u"0"_s;
        QTest::newRow("uno") << 1.0 << u"1"_s << u"1"_s;
    }

    void textoExacto() {
        QFETCH(double, valor);
        QTEST(TextoExacto(valor, SeparadorDecimal::Punto), "punto");
        QTEST(TextoExacto(valor, SeparadorDecimal::Coma), "coma");
        for (const SeparadorDecimal s : {SeparadorDecimal::Punto, SeparadorDecimal::Coma})
            QCOMPARE(LeerNumeroEscrito(TextoExacto(valor, s), s).Valor,
                     std::stod(FormatoGeneral(valor).toStdString()));
    }

    // Las listas se buscan como escribe la gente; nada desconocido pasa a la
    // primera entrada.
    void entradaDeLista_data() {
        // indice (-2: ambigua).
        Columnas<QStringList, QString, int>({"entradas", "texto", "indice"});
        const QStringList humedad{u"Arido"_s, u"Semiarido"_s, u"Subhumedo"_s, u"Humedo"_s,
                                  u"Superhumedo"_s};
        const QStringList terreno{u"Plano"_s, u"Ondulado"_s, u"Montañoso"_s, u"Escarpado"_s};
        const QStringList tramo{u"1. Sobre vía existente"_s, u"2. Explanación nueva"_s};
        const QStringList segmento{u"A. Rasante paralela afirmado existente"_s,
                                   u"B. Excavación o cajeo"_s, u"C. Terraplen"_s};
        const QStringList afirmado{u"No hay"_s, u"AFR-1"_s, u"AFR-2"_s};
        // "lista|texto|índice", con la lista por su inicial.
        const QHash<QChar, QStringList> listas{
            {u'h', humedad}, {u't', terreno}, {u'r', tramo}, {u's', segmento}, {u'a', afirmado}};
        for (const QString& fila :
             {u"h|Húmedo|3"_s, u"h| HUMEDO |3"_s, u"h|sub|2"_s, u"h|S|-2"_s, u"h|Mojado|-1"_s,
              u"h|  |-1"_s, u"t|Montanoso|2"_s, u"r|2|1"_s, u"r|2. Explanación|1"_s, u"r|2)|1"_s,
              u"r|sobre via|0"_s, u"r|3|-1"_s, u"r|2x|-1"_s, u"s|b|1"_s, u"s|c) terraplén|2"_s,
              u"a|afr|-2"_s, u"a|afr-2|2"_s, u"a|AFR-1 |1"_s, u"a|no|0"_s})
            QTest::addRow("%s", qPrintable(fila))
                << listas[fila[0]] << fila.section(u'|', 1, 1) << fila.section(u'|', 2).toInt();
    }

    void entradaDeLista() {
        TOMAR((entradas, texto), QStringList, QString);
        bool ambigua = true; // la búsqueda lo pone siempre
        const int hallada = BuscarEntradaLista(entradas, texto, &ambigua);
        QTEST(ambigua ? -2 : hallada, "indice");
    }

    void preferenciaYCaracteres() {
        // La región decide la convención por omisión.
        const auto region = [](const char* nombre) {
            return SeparadorDeRegion(QLocale(QString::fromLatin1(nombre)));
        };
        for (const char* nombre : {"es_CO", "es_ES", "es_AR", "C"})
            QVERIFY2(region(nombre) == SeparadorDecimal::Coma, nombre);
        for (const char* nombre : {"es_MX", "es_US", "en_GB", "en_ZA"})
            QVERIFY2(region(nombre) == SeparadorDecimal::Punto, nombre);
        // La preferencia guardada se lee otra vez.
        for (const SeparadorDecimal s : {SeparadorDecimal::Punto, SeparadorDecimal::Coma}) {
            GuardarSeparadorDecimal(s);
            QVERIFY(LeerSeparadorDecimal() == s);
        }
        QCOMPARE(SeparadorDeNombre(u" Punto"), std::optional(SeparadorDecimal::Punto));
        QCOMPARE(SeparadorDeNombre(u"pt"), std::nullopt);
        QCOMPARE(TextoVentana(u"-1,234.50"_s, SeparadorDecimal::Coma), u"-1.234,50"_s);
        QCOMPARE(TextoVentana(u"1.50E+05"_s, SeparadorDecimal::Punto), u"1.50E+05"_s);

        // Lo que Windows-1252 no tiene se nombra una vez y el resto se conserva.
        QCOMPARE(CaracteresNoAnsi(u"Tramo ≥ 5 km Ω ≥ ñ € ?"_s), u"≥Ω"_s);
        QCOMPARE(QuitarNoAnsi(u"Tramo ≥ 5 km Ω😀"_s), u"Tramo  5 km "_s);
        // Una mitad de par suelta al final (un pegado cortado) es un carácter.
        QCOMPARE(CaracteresNoAnsi(u"Ω\xD83D"_s), u"Ω\xD83D"_s);
        QCOMPARE(TextoCaracteresNoAnsi(u"Ω"),
                 u"El carácter [Ω] no se puede guardar en el archivo del proyecto..."_s);
        QVERIFY(TextoCaracteresNoAnsi(u"≥😀").contains(u"[≥ 😀]"_s));
    }

    void ansiRecorteYNumeros() {
        const QString texto = QStringLiteral("€Año ¦ €5 – “x” Ÿ");
        const QByteArray b = CodificarAnsi(texto);
        QCOMPARE(b, QByteArray("\200A\361o \246 \2005 \226 \223x\224 \237"));
        QCOMPARE(DecodificarAnsi(b), texto);
        // Fuera de la página de códigos: un "?" por carácter, también fuera del plano básico.
        // U+0080 no es el byte 0x80 (ése es el euro); U+0081 sí es el 0x81 sin asignar.
        QCOMPARE(CodificarAnsi(QStringLiteral("α😀b\u0080\u0081😀")), QByteArray("??b?\201?"));
        // Cualquier byte vuelve igual.
        QByteArray todos;
        for (int i = 0; i < 256; ++i)
            todos.append(static_cast<char>(i));
        QCOMPARE(CodificarAnsi(DecodificarAnsi(todos)), todos);

        // Recortar quita solo blancos.
        QCOMPARE(Recortar(u"  a b  "), QStringLiteral("a b"));
        QVERIFY(Recortar(u"\ta\t") == QStringLiteral("\ta\t") && Recortar(u"    ") == QString());

        QCOMPARE(ValorTexto(u"-9e99999999999999999999"), 0.0);
        // Muchas cifras no son un desborde.
        QCOMPARE(ValorTexto(QString(400, u'0') + QStringLiteral("12")), 12.0);

        QString redondeos;
        for (const double v : {2.5, 3.5, -2.5, 2.4999, 2.51})
            redondeos += N(RedondearPar(v)) + u' ';
        QCOMPARE(redondeos, u"2 4 -2 2 3 "_s);

        QCOMPARE(Formato17(0.1), QStringLiteral("0.10000000000000001"));
        QVERIFY(Formato17(2.0) == QStringLiteral("2") && Formato17(-1.0) == QStringLiteral("-1"));
        QCOMPARE(Formato17(1e20), QStringLiteral("1e+20"));
    }

    // Reportes: un LF solo queda dentro de la línea si hay algún CR. Proyectos:
    // todo CR LF, CR solo y LF solo termina una línea.
    void lineas_data() {
        Columnas<QString, QString, QString>({"texto", "lineas", "proyecto"});
        const auto fila = [](const char* nombre, const char* texto, const char* lineas,
                             const char* proyecto) {
            QTest::newRow(nombre) << texto << QString(lineas) << QString(proyecto);
        };
        fila("vacío", "", "", "");
        fila("un carácter", "x", "x|", "x|");
        fila("CR LF", "a\r\nb\r\n", "a|b|", "a|b|");
        fila("sin fin final", "a\r\nb", "a|b|", "a|b|");
        fila("CR solo", "a\rb\r", "a|b|", "a|b|");
        fila("LF dentro", "a\nb\r\nc", "a\nb|c|", "a|b|c|");
        fila("líneas vacías", "\r\n\r\nx", "||x|", "||x|");
        fila("CR CR LF", "a\r\r\n", "a||", "a||");
        fila("LF CR", "a\n\rb", "a\n|b|", "a||b|");
        fila("solo LF", "a\nb\n\nc\n", "a|b||c|", "a|b||c|");
        fila("FF y LF en un prefijo", "\x02\n\f1x\r\n", "\x02\n\f1x|", "\x02|\f1x|");
    }

    void lineas() {
        TOMAR((texto, lineas, proyecto), QString, QString, QString);
        QCOMPARE(Unidas(DividirLineas(texto)), lineas);
        const QByteArray bytes = texto.toLatin1();
        for (const auto fines : {FinesDeLinea::ComoReporte, FinesDeLinea::Todos}) {
            const QString esperado = fines == FinesDeLinea::Todos ? proyecto : lineas;
            LectorLineas lector(bytes, fines);
            QCOMPARE(lector.Restantes(), esperado.count(u'|'));
            QStringList leidas;
            while (!lector.Fin())
                leidas << QString::fromLatin1(lector.Siguiente());
            QCOMPARE(Unidas(leidas), esperado);
        }
    }

    // El valor con cada máscara; sin ella, la forma general.
    void presentacionDeNumeros_data() {
        Columnas<double, QString, QString>({"valor", "mascara", "esperado"});
        for (const QStringList& f : FilasDeDatos(u"numeros.txt"_s, u"presentacion"_s))
            QTest::addRow("%s", qPrintable(f.join(u'|'))) << f[0].toDouble() << f[1] << f[2];
    }

    void presentacionDeNumeros() {
        TOMAR((valor, mascara, esperado), double, QString, QString);
        QCOMPARE(mascara.isEmpty() ? FormatoGeneral(valor) : Formato(valor, mascara), esperado);
        // La máscara leída una vez (la de las grillas y los reportes) da lo mismo.
        if (!mascara.isEmpty()) {
            QCOMPARE(QString::fromStdString(FormatoAscii(valor, LeerMascara(mascara))), esperado);
            return;
        }
        // Lo escrito con 15 cifras vuelve al mismo texto al leerlo y escribirlo otra vez.
        QCOMPARE(FormatoGeneral(ValorTexto(esperado)), esperado);
        QVERIFY(std::fabs(ValorTexto(esperado) - valor) <= std::fabs(valor) * 1e-14);
    }
    void textosListasYEspera() {
        QCOMPARE(Justificar(u" 12 "_s, 5, 32, 0), u"   12"_s);
        QCOMPARE(Justificar(u" 12 "_s, 5, 32, -1), u"12   "_s);
        QCOMPARE(Justificar(u"abcdef"_s, 4, 32, 0), u"abcdef"_s);
        QCOMPARE(Justificar(u"7"_s, 4, 0, 0), QString(3, QChar(0)) + u"7"_s);

        QCOMPARE(QuitarControles(u" a\tb\r\n "_s), u"ab"_s);
        QCOMPARE(QuitarControles(u" a\tb\r\n "_s, true), u"a b  "_s);
        // Solo se recortan blancos, antes de cambiar los controles.
        QCOMPARE(QuitarControles(QChar(31) + u" \x7f "_s), u" \x7f"_s);

        QCOMPARE(FiltrarNumero(u" 1,234.50 metros "_s), u"1234.50"_s);
        QCOMPARE(FiltrarNumero(u"-1,5"_s, QString(), u','), u"-15"_s);
        QCOMPARE(FiltrarNumero(u"abc"_s), QString());
        // "CR" con coma decimal: el punto se pierde y la coma pasa a punto.
        QCOMPARE(FiltrarNumero(u" -1.234,5 "_s, u"CR"_s, u','), u"-1234.5"_s);
        QCOMPARE(FiltrarNumero(u"-1.234,5"_s, u"CR"_s, u'.'), u"-1.2345"_s);
        QCOMPARE(FiltrarNumero(u"sin cifras"_s, u"CR"_s, u','), QString());
        // Sin separador dado, el del idioma del sistema.
        QCOMPARE(FiltrarNumero(u"10.5"_s, u"CR"_s),
                 FiltrarNumero(u"10.5"_s, u"CR"_s, QLocale::system().decimalPoint().front()));
        // Conjunto propio, sensible a mayúsculas; se recorta antes.
        QCOMPARE(FiltrarNumero(u"  A b B  "_s, u"AB "_s), u"A  B"_s);
        QCOMPARE(FiltrarNumero(u"1½ m²"_s, u"0123456789½"_s), u"1½"_s);

        QCOMPARE(ArgumentosLinea(LineaComando({u"varek9"_s})), QStringList(4, QString()));
        QCOMPARE(ArgumentosLinea(LineaComando({u"varek9"_s, u" proy"_s, u", b\t,c"_s})),
                 (QStringList{u" proy "_s, u"b\t"_s, u"c"_s, QString()}));
        QCOMPARE(ArgumentosLinea(u"a;b;c;d; e "_s, u";"_s).join(u'|'), u"a|b|c|d|e"_s);

        const QStringList tipos{u"1 Principal"_s, u"2 Secundaria"_s, u"A Acceso"_s};
        QCOMPARE((QStringList{BuscarEnComboBox(tipos, u"a"_s, 1), BuscarEnComboBox(tipos, {}, 1),
                              BuscarEnComboBox(tipos, u"x"_s, 1),
                              BuscarEnComboBox(tipos, u"2 SEC"_s), BuscarEnComboBox({}, u"a"_s)}),
                 (QStringList{u"A"_s, u"1"_s, u"1"_s, u"2 Secundaria"_s, {}}));

        const QStringList lista{u"Abc"_s, u"ABD"_s};
        const auto en = [&](const QString& t, bool p) { return SeleccionarEnLista(lista, t, p); };
        QCOMPARE((QList<int>{en(u"ab"_s, false), en(u"abd"_s, false), en(u"abcd"_s, false),
                             en(u"zz"_s, true), SeleccionarEnLista({}, u"a"_s, true)}),
                 (QList<int>{0, 1, -1, 0, -1}));
        // Las mayúsculas que cambian el largo (ß pasa a SS) y las acentuadas.
        QCOMPARE(SeleccionarEnLista({u"Montaña"_s, u"Maße"_s}, u"masse"_s, false), 1);
        QCOMPARE(BuscarEnComboBox({u"Plano"_s, u"Montañoso"_s}, u"montañ"_s), u"Montañoso"_s);

        // Máximo menor que el mínimo: igual espera entre los dos.
        QElapsedTimer reloj;
        reloj.start();
        EsperaAleatoria(0.05, 0.02);
        QVERIFY(reloj.elapsed() >= 18 && reloj.elapsed() < 1000);
        // Un tiempo no finito no cuelga el programa.
        EsperaAleatoria(std::numeric_limits<double>::quiet_NaN());
        EsperaAleatoria(0, std::numeric_limits<double>::infinity());
    }

    void nombresDeReporteYDeDatos() {
        QCOMPARE(NombreArchivoReporte(u" x "_s), u"xr00"_s);
        QVERIFY(QDir::current().entryList(QDir::Files).isEmpty()); // ni el ".img" queda

        // Restos de una ejecución anterior: se reutilizan vacíos.
        for (const QString& nombre : {u"r00.txt"_s, u"r00.pro"_s, u"r00.img"_s})
            QVERIFY(EscribirBytes(nombre, "viejo"));
        QCOMPARE(NombreArchivoReporte(), u"r00"_s);
        QCOMPARE(Tamano(u"r00.txt"_s) + Tamano(u"r00.pro"_s), 0);
        QVERIFY(QFile::exists(u"r00"_s) && !QFile::exists(u"r00.img"_s));

        // Un ".pro" en uso se salta sin vaciarlo.
        QVERIFY(EscribirBytes(u"r00.pro"_s, "viejo"));
        BloqueoArchivo enUso(u"r00.pro"_s);
        QVERIFY(enUso.Bloquear() && NombreArchivoReporte() == u"r10"_s);
        QCOMPARE(Tamano(u"r00.pro"_s), 5);
        BloqueoArchivo otro(u"r10.txt"_s);
        QVERIFY(otro.Bloquear() && NombreArchivoReporte() == u"r20"_s);

        QCOMPARE(NombreArchivoDatos(), u"t00"_s);
        QVERIFY(EscribirBytes(u"t00.DAT"_s, "viejo") && EscribirBytes(u"t00.img"_s, "viejo"));
        QVERIFY(NombreArchivoDatos() == u"t00"_s && Tamano(u"t00.DAT"_s) == 0);
        QVERIFY(QFile::exists(u"t00.NDX"_s));
        QVERIFY(QFile::exists(u"t00.img"_s)); // solo los reportes limpian su ".img"
        BloqueoArchivo ndx(u"t00.NDX"_s);
        QVERIFY(ndx.Bloquear() && NombreArchivoDatos() == u"t10"_s);
    }

    // Ninguna salida cae sobre su entrada: ni los nombres reservados (que vaciarían
    // los restos) ni uno dado.
    void salidaNuncaSobreLaEntrada() {
        QVERIFY(EscribirBytes(u"t00"_s, "viejo"));
        QVERIFY(NombreArchivoDatos(QString(), u"./t00"_s) == u"t10"_s && Tamano(u"t00"_s) == 5);
        QVERIFY(EscribirBytes(u"r00.txt"_s, "viejo"));
        QCOMPARE(NombreArchivoReporte(QString(), u"r00.txt"_s), u"r10"_s);
        QCOMPARE(Tamano(u"r00.txt"_s), 5);

        QVERIFY(MismoArchivo(u"a/../t00"_s, QDir::current().filePath(u"t00"_s)));
        QVERIFY(!MismoArchivo(u"t00"_s, u"t00.DAT"_s) && !MismoArchivo(QString(), QString()));
        QCOMPARE(NombreSalidaLibre(u"x.txt"_s, u"t00"_s), u"x.txt"_s);
        QCOMPARE(NombreSalidaLibre(u"t00"_s, u"t00"_s), u"t0000"_s);
        QCOMPARE(NombreSalidaLibre(u".v"_s, u".v"_s), u".v00"_s); // sin extensión
        QVERIFY(EscribirBytes(u"x.txt"_s, "viejo") && EscribirBytes(u"x00.txt"_s, "viejo"));
        QCOMPARE(NombreSalidaLibre(u"./x.txt"_s, u"x.txt"_s), u"./x10.txt"_s);
#ifndef _WIN32
        // Un enlace nombra al mismo archivo aunque la ruta sea otra.
        QVERIFY(QFile::link(u"x.txt"_s, u"x.text"_s) && MismoArchivo(u"x.text"_s, u"x.txt"_s));
#endif
    }

    // Cada causa de error con su propia descripción; las que son la misma causa, igual.
    void erroresDelSistema() {
#ifdef _WIN32
        const QList<QList<int>> causas{{ERROR_FILE_NOT_FOUND},
                                       {ERROR_PATH_NOT_FOUND},
                                       {ERROR_ACCESS_DENIED},
                                       {ERROR_SHARING_VIOLATION},
                                       {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL},
                                       { ERROR_WRITE_PROTECT }};
#else
        const QList<QList<int>> causas{{ENOENT}, {EACCES, EPERM},  {ENOSPC},        {EDQUOT},
                                       {EROFS},  {EISDIR},         {ENOTDIR},       {ENAMETOOLONG},
                                       {EIO},    {EMFILE, ENFILE}, {EBUSY, ETXTBSY}};
#endif
        QSet<QString> vistas;
        for (const QList<int>& causa : causas) {
            const QString d = DescripcionErrorSistema(causa[0]);
            QVERIFY(!d.startsWith(u"Error del sistema"_s) && !vistas.contains(d));
            vistas.insert(d);
            QVERIFY(
                std::ranges::all_of(causa, [&](int n) { return DescripcionErrorSistema(n) == d; }));
        }
        QCOMPARE(DescripcionErrorSistema(-7), u"Error del sistema número -7"_s);
    }

    void candado() {
        const QString ruta = Carpeta->Dir.filePath(u"mismo.pro"_s);
        BloqueoArchivo a(ruta);
        // Ni construir ni preguntar crean el archivo.
        QVERIFY(!ArchivoBloqueadoPorOtro(ruta) && !QFile::exists(ruta));
        // Bloquear dos veces: la segunda vez ya lo tiene.
        QVERIFY(a.Bloquear() && a.Bloquear() && ArchivoBloqueadoPorOtro(ruta));
        {
            BloqueoArchivo b(ruta);
            QVERIFY(!b.Bloquear() && !b.Bloqueado());
            a.Liberar();
            QVERIFY(b.Bloquear() && !a.Bloquear());
        }
        QVERIFY(!ArchivoBloqueadoPorOtro(ruta)); // el destructor lo soltó
        QVERIFY(!BloqueoArchivo(Carpeta->Dir.filePath(u"no/existe"_s)).Bloquear() &&
                !BloqueoArchivo(QString()).Bloquear());

        // El candado conserva el contenido y se mueve con el objeto.
        const QString datos = Carpeta->Dir.filePath(u"datos.txt"_s);
        QVERIFY(EscribirBytes(datos, "contenido"));
        BloqueoArchivo d(datos);
        QVERIFY(d.Bloquear() && LeerBytes(datos) == QByteArray("contenido"));
        BloqueoArchivo movido(std::move(d));
        QVERIFY(!d.Bloqueado() && ArchivoBloqueadoPorOtro(datos));
        BloqueoArchivo c(Carpeta->Dir.filePath(u"otro"_s));
        QVERIFY(c.Bloquear());
        c = std::move(movido); // suelta "otro" y se queda con el primero
        QVERIFY(!ArchivoBloqueadoPorOtro(Carpeta->Dir.filePath(u"otro"_s)));
        QVERIFY(ArchivoBloqueadoPorOtro(datos) && c.RutaArchivo() == datos);
        QVERIFY(c.Bloqueado() && !movido.Bloqueado());

        // Entre procesos.
        const QString compartido = Carpeta->Dir.filePath(u"compartido.pro"_s);
        QProcess hijo;
        QCOMPARE(ArrancarHijo(hijo, compartido), QByteArray("BLOQUEADO"));
        BloqueoArchivo bloqueo(compartido);
        QVERIFY(ArchivoBloqueadoPorOtro(compartido) && !bloqueo.Bloquear());
        QVERIFY(!bloqueo.BloquearReintentando(30));
        // Reintentando, lo toma en cuanto el hijo termina y lo suelta.
        hijo.closeWriteChannel();
        QVERIFY(bloqueo.BloquearReintentando(10000) && TerminarHijo(hijo) == 0);

        // Y al revés: el hijo ve el candado del padre.
        QProcess otro;
        QVERIFY(ArrancarHijo(otro, compartido) == QByteArray("OCUPADO") && TerminarHijo(otro) == 1);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasComunes)
#include "PruebasComunes.moc"
