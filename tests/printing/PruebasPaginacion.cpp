// Prefijos de control de las líneas de reporte, prepaso, copia de texto,
// paginación, salida al puerto de texto, nombres de salida y la configuración de
// "Imprime.set".
#include "Archivos.h"
#include "Pruebas.h"

#include "common/ModuloLibzrl.h"
#include "printing/CodigoFormato.h"
#include "printing/ConfiguracionImpresion.h"
#include "printing/Paginacion.h"
#include "printing/SalidaSegura.h"
#include "printing/TrabajoImpresion.h"

#include <QDateTime>
#include <QSysInfo>
#include <QTemporaryDir>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

QByteArray P(int codigo) {
    return CodigoFormato(codigo).toLatin1();
}

// Un reporte de líneas con CR LF.
QByteArray Reporte(const QList<QByteArray>& lineas) {
    QByteArray r;
    for (const QByteArray& l : lineas)
        r += l + "\r\n";
    return r;
}

// Cuerpo "b1".."bn" con prefijo de cuerpo, tras las líneas dadas.
QList<QByteArray> Cuerpo(int desde, int hasta, QList<QByteArray> lineas = {}) {
    for (int i = desde; i <= hasta; ++i)
        lineas << P(0) + "b" + QByteArray::number(i);
    return lineas;
}

QByteArray Dos(const QByteArray& reporte, int lineasPorPagina, int desde = 0, int hasta = 0,
               int copias = 1) {
    return TextoDos(reporte, CargarProyecto(reporte, lineasPorPagina),
                    {desde, hasta, copias, lineasPorPagina, "05/12/2026 19:30:05"});
}

// El prepaso en una línea: sin códigos, ancho, líneas, páginas y encabezados.
QString Resumen(const ResumenReporte& r) {
    const auto n = [](int valor) { return QString::number(valor); };
    return u"%1 %2 %3 %4 %5"_s.arg(r.SinCodigos ? u"sin"_s : u"con"_s, n(r.AnchoMaximo),
                                   n(r.TotalLineas), n(r.TotalPaginas), n(r.LineasEncabezado));
}

// La configuración en una línea: visor, puerto, márgenes, longitud, espaciamiento,
// avance y líneas por página.
QString Resumen(const ConfiguracionImpresion& c) {
    QStringList campos{c.Visor, c.Puerto};
    for (const double n : {c.MargenIzquierdo, c.MargenDerecho, float(c.LongitudPagina),
                           c.Espaciamiento, float(c.MicroFeed), float(c.LineasPorPagina())})
        campos << QString::number(n);
    return campos.join(u'|');
}

} // namespace

class PruebasPaginacion : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    ConfiguracionImpresion Cargar(const QByteArray& contenido, const QString& alias = QString()) {
        EscribirBytes(dir_.filePath("Imprime.set"), contenido);
        return CargarConfiguracionImpresion(alias, dir_.path());
    }

private slots:
    // Cada código da clase, tamaño, estilo y alineación; sin número, el 0.
    void prefijos() {
        const auto prefijos = [](std::initializer_list<int> numeros) {
            QStringList todos;
            for (const int n : numeros) {
                QStringList partes;
                for (const QChar c : CodigoFormato(n))
                    partes << QString::number(c.unicode());
                todos << partes.join(u' ');
            }
            return todos.join(u'|');
        };
        QCOMPARE(CodigoFormato(), CodigoFormato(0));
        // Los de los reportes: cuerpo 8, encabezados (2101 a la derecha, 2312 de 14
        // negrita centrado...), 10 con ceros delante, 1000 salto de página y 0.
        QCOMPARE(prefijos({100, 2101, 2312, 2010, 2000, 2100, 10, 1000, 0}),
                 u"1 8 1 1|3 8 1 2|3 14 2 3|3 12 2 1|3 12 1 1|3 8 1 1|1 12 2 1|2 12 1 1|"
                 u"1 12 1 1"_s);
        // Cada cifra de tamaño (6, 7, 20, 11, 8 y 9 fuera) y los límites de estilo
        // (0..4) y alineación (0..5).
        QCOMPARE(prefijos({3245, 456, 523, 634, 9700, 1800, 8989}),
                 u"4 10 5 6|1 6 1 1|1 7 3 4|1 20 4 5|10 11 1 1|2 12 1 1|9 12 1 1"_s);
        // Más de cuatro cifras: solo los cuatro primeros caracteres; el signo no es
        // cifra y cuenta como 0.
        QCOMPARE(prefijos({12345, 2312999, -100, -5}), u"2 10 4 5|3 14 2 3|1 8 1 1|1 12 1 6"_s);
    }

    void prepaso() {
        const QByteArray ancha(90, 'x');
        QByteArray copia;
        const ResumenReporte r = CargarProyecto("uno   \r\n\r\n" + ancha + "\r\ndos", 58, &copia);
        QVERIFY(Resumen(r) == u"sin 90 4 1 0"_s && copia == "uno\r\n\r\n" + ancha + "\r\ndos\r\n");
        // Lo angosto sube a 80; un prefijo en una línea basta para tener códigos.
        QCOMPARE(Resumen(CargarProyecto("a\r\n" + P(100) + "b\r\n", 58)), u"con 80 2 1 0"_s);

        // Dos encabezados y páginas de 5 líneas: caben 3 de cuerpo por página.
        QList<QByteArray> lineas = Cuerpo(1, 7, {P(2000) + "H1", P(2100) + "H2   "});
        QCOMPARE(Resumen(CargarProyecto(Reporte(lineas), 5, &copia)), u"con 80 7 3 2"_s);
        QCOMPARE(copia, QByteArray("H1\r\nH2\r\nb1\r\nb2\r\nb3\r\n\fb4\r\nb5\r\nb6\r\n\fb7\r\n"));

        // Un salto tras un fin de página automático no abre una página vacía; un salto
        // como última línea no cuenta otra página.
        lineas = Cuerpo(1, 3);
        lineas << P(1000) << P(0) + "b4" << P(1000);
        QCOMPARE(Resumen(CargarProyecto(Reporte(lineas), 3, &copia)), u"con 80 6 2 0"_s);
        QCOMPARE(copia, QByteArray("b1\r\nb2\r\nb3\r\n\fb4\r\n\f"));
    }

    void nombreDeLaCopiaYMarcadores() {
        QStringList copias;
        for (const char* r : {"r00", "informe.txt", "a.b.c", "otra.v1/r00", ".r"})
            copias << NombreCopiaTexto(QString::fromLatin1(r));
        QCOMPARE(copias.join(u' '), u"r00.txt informe.text a.txt otra.v1/r00.txt .txt"_s);
        const QByteArray f = "05/12/2026 19:30:05";
        QCOMPARE(ReemplazarMarcadores("#pg#fecha#", 4, 9, f),
                 QByteArray("4 [05/12/2026 19:30:05]"));
        QCOMPARE(ReemplazarMarcadores("x #pgde# y", 3, 12, f), QByteArray("pag. 3 de 12"));
        QCOMPARE(ReemplazarMarcadores("#fecha#", 1, 1, f), QByteArray(" [05/12/2026 19:30:05]"));
        QCOMPARE(ReemplazarMarcadores("PROGRAMA", 1, 1, f), QByteArray("PROGRAMA"));
        QCOMPARE(TextoFecha(QDateTime(QDate(2026, 1, 2), QTime(15, 4, 5))),
                 QByteArray("02/01/2026 15:04:05"));
    }

    void paginasConEncabezadoNumerado() {
        const QList<QByteArray> lineas = Cuerpo(1, 5, {P(2101) + "#pg#fecha#", P(2000) + "TITULO"});
        // Páginas de 4: dos encabezados y dos líneas de cuerpo; 3 páginas.
        const auto encabezado = [](const char* n) {
            return QByteArray(57, ' ') + n + " [05/12/2026 19:30:05]\r\nTITULO\r\n";
        };
        const QByteArray pagina2 = encabezado("2") + "b3\r\nb4\r\n\f";
        const QByteArray pagina3 = encabezado("3") + "b5\r\n\f";
        const QByteArray esperado = encabezado("1") + "b1\r\nb2\r\n\f" + pagina2 + pagina3;
        const QByteArray reporte = Reporte(lineas);
        QVERIFY(CargarProyecto(reporte, 4).TotalPaginas == 3 && Dos(reporte, 4) == esperado);
        // Página 0 en cualquiera de los extremos: todas.
        QVERIFY(Dos(reporte, 4, 0, 2) == esperado && Dos(reporte, 4, 2, 0) == esperado);
        // Rango: solo esas páginas, con la numeración del documento entero.
        QCOMPARE(Dos(reporte, 4, 2, 3), pagina2 + pagina3);
        // La línea b5 cae en la página 3, que no se imprime pero quita la marca de página
        // terminada: el trabajo cierra con otro salto.
        QCOMPARE(Dos(reporte, 4, 2, 2), pagina2 + "\f");
        // Dos copias: cada una numerada desde 1; cero copias cuentan como una.
        QCOMPARE(Dos(reporte, 4, 0, 0, 2), esperado + esperado);
        QCOMPARE(Dos(reporte, 4, 0, 0, 0), esperado);
        // Un rango fuera del documento no imprime nada... salvo el salto final.
        QCOMPARE(Dos(reporte, 4, 7, 9), QByteArray("\f"));
        // La línea que se mantiene con la siguiente abre la página 2, con sus encabezados.
        const QByteArray mantenida =
            Reporte({lineas[0], lineas[1], lineas[2], P(3000) + "m", lineas[3]});
        QCOMPARE(Dos(mantenida, 4),
                 encabezado("1") + "b1\r\n\f" + encabezado("2") + "m\r\nb2\r\n\f");
    }

    // El prefijo partido: clase, tamaño, estilo y alineación; lo que no es válido
    // vale por defecto, y un prefijo sin texto deja el texto vacío.
    void lineasPartidas_data() {
        // esperado: clase tamaño estilo alineación |texto|.
        Columnas<QByteArray, QString>({"linea", "esperado"});
        QTest::newRow("sin prefijo") << QByteArray("hola") << u"1 12 1 1 |hola|"_s;
        QTest::newRow("se mantiene, 6 y 7")
            << QByteArray("\x04\x14\x06\x07") + "abc" << u"4 20 6 7 |abc|"_s;
        QTest::newRow("fuera de rango") << QByteArray("\x05\x08\x07\x08x") << u"1 8 1 1 |x|"_s;
        QTest::newRow("solo prefijo") << QByteArray("\x03\x0c\x02\x02") << u"3 12 2 2 ||"_s;
        QTest::newRow("solo la clase") << QByteArray("\x03") << u"3 12 1 1 ||"_s;
        QTest::newRow("vacía") << QByteArray() << u"1 12 1 1 ||"_s;
        // Un blanco (código 32) no es prefijo; un tabulador (9) y el 31 sí, aunque lo que
        // sigue no sean códigos: clase, estilo y alineación valen por defecto, el tamaño
        // queda como viene (la impresora decide) y el texto empieza en el quinto carácter.
        QTest::newRow("blanco") << QByteArray(" hola") << u"1 12 1 1 | hola|"_s;
        QTest::newRow("tabulador") << QByteArray("\thola mundo") << u"1 104 1 1 |a mundo|"_s;
        QTest::newRow("código 31") << QByteArray("\x1f"
                                                 "abcd")
                                   << u"1 97 1 1 |d|"_s;
        QTest::newRow("código 0") << QByteArray("\0\x0e\x02\x03x", 5) << u"1 14 2 3 |x|"_s;
        // Cada código en cada posición: clase 1 a 4, estilos 1 a 6 y alineaciones 1 a 7 se
        // toman; cualquier otro vale por defecto.
        for (int c = 0; c < 128; ++c) {
            const char k = char(c);
            if (c < 32) {
                const int clase = c >= 1 && c <= 4 ? c : 1;
                QTest::addRow("clase %d", c)
                    << QByteArray(1, k) + "\x0c\x01\x01t" << u"%1 12 1 1 |t|"_s.arg(clase);
            }
            const int estilo = c >= 1 && c <= 6 ? c : 1;
            const int alineacion = c >= 1 && c <= 7 ? c : 1;
            QTest::addRow("estilo %d", c)
                << QByteArray("\x01\x0c") + k + "\x01t" << u"1 12 %1 1 |t|"_s.arg(estilo);
            QTest::addRow("alineación %d", c)
                << QByteArray("\x01\x0c\x01") + k + "t" << u"1 12 1 %1 |t|"_s.arg(alineacion);
        }
    }
    void lineasPartidas() {
        QFETCH(QByteArray, linea);
        const auto [f, texto] = PartirLinea(linea);
        QTEST(u"%1 %2 %3 %4 |"_s.arg(f.Tipo).arg(f.Tamano).arg(f.Estilo).arg(f.Alineacion) +
                  QString::fromLatin1(texto) + u'|',
              "esperado");
    }

    void paginasSinEncabezados() {
        // Sin encabezados la página no se reabre en cada línea.
        QCOMPARE(Dos(Reporte(Cuerpo(1, 3)), 58), QByteArray("b1\r\nb2\r\nb3\r\n\f"));
        QCOMPARE(Dos("uno\r\n\r\ndos", 58), QByteArray("uno\r\n\r\ndos\r\n\f"));
        // Salto explícito y salto al final sin hoja vacía.
        QList<QByteArray> lineas = Cuerpo(1, 2);
        lineas << P(1000) << P(0) + "b3" << P(1000);
        QCOMPARE(Dos(Reporte(lineas), 58), QByteArray("b1\r\nb2\r\n\fb3\r\n\f"));

        // Una línea que se mantiene con la siguiente no queda sola al pie de la página.
        const QByteArray m = P(3000) + "m";
        QCOMPARE(Dos(Reporte({P(0) + "b1", P(0) + "b2", m, P(0) + "b3"}), 4),
                 QByteArray("b1\r\nb2\r\nm\r\nb3\r\n\f"));
        QCOMPARE(Dos(Reporte({P(0) + "b1", P(0) + "b2", P(0) + "b3", m, P(0) + "b4"}), 4),
                 QByteArray("b1\r\nb2\r\nb3\r\n\fm\r\nb4\r\n\f"));
        // Páginas de 5: la línea "K" caería en la última línea y pasa a la siguiente.
        lineas = Cuerpo(1, 4);
        lineas << P(3000) + "K" << P(0) + "b6" << P(0) + "b7";
        QCOMPARE(Dos(Reporte(lineas), 5),
                 QByteArray("b1\r\nb2\r\nb3\r\nb4\r\n\fK\r\nb6\r\nb7\r\n\f"));
        // Como línea de cuerpo habría quedado en la primera página.
        lineas[4] = P(0) + "K";
        QCOMPARE(Dos(Reporte(lineas), 5),
                 QByteArray("b1\r\nb2\r\nb3\r\nb4\r\nK\r\n\fb6\r\nb7\r\n\f"));
    }

    void alineacionesDelPuertoDeTexto() {
        // Derecha, centradas de 75 y 73, justificada y una derecha más ancha que la línea.
        const QList<QByteArray> filas =
            Dos(Reporte({P(0) + QByteArray(84, '-'), P(1) + "  fin  ", P(2) + QByteArray(75, 'c'),
                         P(2) + QByteArray(73, 'c'), P(3) + "  uno dos tres",
                         P(1) + QByteArray(80, 'L')}),
                58)
                .split('\n');
        // AnchoMaximo es 88 (84 + prefijo): la derecha termina en la columna 88.
        QCOMPARE(filas[1], QByteArray(85, ' ') + "fin\r");
        // (88 - 75) / 2 = 6.5 -> 6; (88 - 73) / 2 = 7.5 -> 8: mitades al par.
        QCOMPARE(filas[2], QByteArray(6, ' ') + QByteArray(75, 'c') + "\r");
        QCOMPARE(filas[3], QByteArray(8, ' ') + QByteArray(73, 'c') + "\r");
        QVERIFY(filas[4].size() == 89 && filas[4].startsWith("  uno"));
        QCOMPARE(filas[5], QByteArray(8, ' ') + QByteArray(80, 'L') + "\r");

        // Tres palabras y cinco columnas de más: los huecos crecen 3 y 2.
        const auto ajustada = [](QByteArray t, int ancho) {
            AjusteAnchoMaximoDOS(t, ancho);
            return t;
        };
        QCOMPARE(ajustada("uno dos tres", 17), QByteArray("uno    dos   tres"));
        QCOMPARE(ajustada("  a b c d", 13), QByteArray("  a   b   c d"));
        QCOMPARE(ajustada("a b c", 6), QByteArray("a  b c")); // un solo blanco de más
        // Una sola palabra o una línea ya ancha quedan como están.
        QCOMPARE(ajustada("  palabra", 20), QByteArray("  palabra"));
        QCOMPARE(ajustada("ya es ancho", 5), QByteArray("ya es ancho"));
    }

    void demasiadosEncabezados() {
        QList<QByteArray> lineas(MaximoEncabezados + 1, P(2000) + "H");
        lineas << P(0) + "b";
        const QByteArray reporte = Reporte(lineas);
        bool ok = true;
        QVERIFY(TextoDos(reporte, CargarProyecto(reporte, 200), {}, &ok).isEmpty() && !ok);
        QVERIFY(EscribirBytes(dir_.filePath("h"), reporte));
        QCOMPARE(EscribirColaDos(dir_.filePath("h"), CargarProyecto(reporte, 200), {}).Error,
                 u"más de %1 líneas de encabezado"_s.arg(MaximoEncabezados));
        lineas.removeFirst();
        const QByteArray cabe = Reporte(lineas);
        QVERIFY(!TextoDos(cabe, CargarProyecto(cabe, 200), {}, &ok).isEmpty() && ok);
    }

    void listaDeImagenes() {
        QList<ImagenReporte> imagenes;
        QVERIFY(LeerListaImagenes(
            "logo.png 100 200\r\nmal 1\r\nsolo.png\r\notra.png 5.5 -6 resto\r\n 7 8\r\nd.png  3 4",
            imagenes));
        QStringList leidas;
        for (const ImagenReporte& i : imagenes)
            leidas << u"%1 %2 %3"_s.arg(i.Archivo).arg(i.X).arg(i.Y);
        // Sin nombre antes del primer blanco, o sin X entre dos seguidos, la línea vale igual.
        QCOMPARE(leidas, (QStringList{"logo.png 100 200", "otra.png 5.5 -6", " 7 8", "d.png 0 3"}));
        const QByteArray muchas = QByteArray("i.png 1 2\r\n").repeated(MaximoImagenes);
        QVERIFY(LeerListaImagenes(muchas, imagenes));
        QVERIFY(!LeerListaImagenes(muchas + "i.png 1 2\r\n", imagenes));
    }

    void archivosDelTrabajo() {
        QTemporaryDir dir;
        DirectorioActual aqui(dir.path());
        const QString reporte = NombreArchivoReporte();
        const QByteArray contenido = Reporte(Cuerpo(1, 3, {P(2000) + "H"}));
        QVERIFY(EscribirBytes(reporte, contenido));

        const Prepaso p = PrepararReporte(reporte, 58);
        QVERIFY(p.Ok && p.CopiaTexto == (reporte + ".txt"));
        QCOMPARE(LeerBytes(p.CopiaTexto), QByteArray("H\r\nb1\r\nb2\r\nb3\r\n"));

        {
            // Mientras el diálogo retiene el ".PRO", el nombre no se reutiliza.
            const ReporteRetenido retenido(reporte);
            QVERIFY(retenido.Retenido() && QFile::exists(reporte + ".PRO"));
            QVERIFY(NombreArchivoReporte() != reporte);
        }
        QVERIFY(!QFile::exists(reporte + ".PRO") && NombreArchivoReporte() == reporte);
        QVERIFY(EscribirBytes(reporte, contenido));

        const ColaDos cola = EscribirColaDos(reporte, p.Resumen, {});
        QVERIFY2(cola.Ok, qPrintable(cola.Error));
        QVERIFY(cola.Archivo.startsWith("t") && QFile::exists(cola.Archivo + ".DAT"));
        QCOMPARE(LeerBytes(cola.Archivo), QByteArray("H\r\nb1\r\nb2\r\nb3\r\n\f"));
        QCOMPARE(LineaBatDos(cola.Archivo, " LPT2 "), "TYPE " + cola.Archivo.toLatin1() + " >LPT2");
        QVERIFY(EscribirBat(LineaBatDos(cola.Archivo, "PRN")));
        QCOMPARE(LeerBytes("q.bat"), "TYPE " + cola.Archivo.toLatin1() + " >PRN\r\n");
        QVERIFY(EscribirBytes("Imprime.exe", "x"));
        QCOMPARE(LineaBatDos(cola.Archivo, "PRN"), "Imprime.exe " + cola.Archivo.toLatin1());

        // Un reporte que no existe no hace nada.
        const ColaDos nada = EscribirColaDos("no-existe", p.Resumen, {});
        QVERIFY(nada.Ok && nada.Archivo.isEmpty());
    }

    // El nombre de una salida. En la carpeta: el proyecto abierto "Ejemplo.vk9", el
    // proyecto "Mayus.VK9", "notas.txt" y "viejo.pdf".
    void nombreDeLaSalida_data() {
        Columnas<QString, int, QString>({"nombre", "clase", "esperado"});
        const QStringList clases{u"Pdf"_s, u"Puerto"_s, u"Diagrama"_s, u"Archivo"_s};
        const bool posix = QSysInfo::productType() != u"windows";
        for (const QStringList& f : FilasDeDatos(u"salidas.txt"_s, u"nombreDeLaSalida"_s))
            if (f[0] == u"todos" || posix)
                QTest::newRow(qPrintable(f[1])) << f[2] << int(clases.indexOf(f[3])) << f[4];
    }
    void nombreDeLaSalida() {
        TOMAR((nombre, clase), QString, int);
        QTemporaryDir dir;
        DirectorioActual aqui(dir.path());
        for (const char* archivo : {"Ejemplo.vk9", "Mayus.VK9", "notas.txt", "viejo.pdf"})
            QVERIFY(EscribirBytes(QString::fromLatin1(archivo), "x\r\n"));
#ifndef _WIN32
        QVERIFY(QFile::link(u"Ejemplo.vk9"_s, u"enlace.pdf"_s));
        QVERIFY(QFile::link(u"Otro.vk9"_s, u"enlace.svg"_s));
#endif
        const DecisionSalida d =
            DecidirSalida(nombre, ClaseSalida(clase), dir.filePath(u"Ejemplo.vk9"_s));
        const QString que = d.Dispositivo ? u"dispositivo"_s
                            : d.Reemplaza ? u"existe"_s
                                          : u"nuevo"_s;
        QTEST(d.Rechazo.isEmpty() ? u"%1 [%2] %3"_s.arg(d.Archivo, d.Mostrado, que) : d.Rechazo,
              "esperado");
    }

    // "Imprime.set": creación, límites, claves exactas, las ocho líneas y los puertos
    // con nombre.
    void configuracion() {
        ConfiguracionImpresion c = CargarConfiguracionImpresion(QString(), dir_.path());
        QCOMPARE(LeerBytes(dir_.filePath("Imprime.set")),
                 LeerBytes(VAREK9_DATOS_PRUEBA u"/imprime-por-defecto.set"_s));

        QCOMPARE(Resumen(c), u"Q.COM|PRN|3|2|58|1|0|58"_s);
        // Lo creado se vuelve a leer igual y no se reescribe.
        EscribirBytes(dir_.filePath("Imprime.set"), "Longitud Pagina : 40\r\n");
        QCOMPARE(CargarConfiguracionImpresion(QString(), dir_.path()).LongitudPagina, 40);
        QCOMPARE(LeerBytes(dir_.filePath("Imprime.set")), QByteArray("Longitud Pagina : 40\r\n"));

        c = Cargar("Archivo para Ver Informes :  less  \r\n"
                   "Margen Izquierdo CM : 2.5cm\r\n"
                   "Longitud Pagina : 60\r\n"
                   "Espaciamiento Lineas : 1.2\r\n"
                   "MicroFeed : 144.5\r\n"
                   "Puerto :   \r\n");
        // 60 / 1.2 en simple precisión da 49.99..., no 50; el avance va a la mitad al par.
        QCOMPARE(Resumen(c), u"less|PRN|2.5|2|60|1.2|144|49"_s);

        QCOMPARE(Cargar("Longitud Pagina : 20\r\n").LongitudPagina, 58);
        QCOMPARE(Cargar("Longitud Pagina : 21\r\n").LongitudPagina, 21);
        // Fuera de un entero corto el valor se ignora.
        QCOMPARE(Cargar("Longitud Pagina : 32768\r\n").LongitudPagina, 58);
        QCOMPARE(Cargar("MicroFeed : -32769\r\n").MicroFeed, 0);
        // Y fuera de la simple precisión: su mayor valor todavía entra.
        QCOMPARE(Cargar("Margen Derecho CM : 3.4028234663852886E+38\r\n").MargenDerecho,
                 std::numeric_limits<float>::max());
        QCOMPARE(Cargar("Margen Derecho CM : -3.5E+38\r\n").MargenDerecho, 2.0f);
        for (const QByteArray malo : {"0", "6", "-2"})
            QVERIFY(Cargar("Espaciamiento Lineas : " + malo + "\r\n").Espaciamiento == 1.0f);
        QCOMPARE(Resumen(Cargar("Espaciamiento Lineas : 5\r\n")), u"Q.COM|PRN|3|2|58|5|0|11"_s);
        QCOMPARE(Cargar("Espaciamiento Lineas : 2\r\n").LineasPorPagina(), 29);

        // La clave se compara exacta, sin contar los blancos junto a los dos puntos.
        c = Cargar("longitud pagina : 40\r\n"
                   "Longitud Pagina: 30\r\n"
                   " Puerto  :lpt2\r\n"
                   "sin dos puntos\r\n");
        QCOMPARE(Resumen(c), u"Q.COM|lpt2|3|2|30|1|0|30"_s);
        // Solo se miran las ocho primeras líneas.
        const QByteArray ocho = QByteArray("relleno\r\n").repeated(7);
        QCOMPARE(Cargar(ocho + "Puertos : LAB LPT2\r\n").Puertos.size(), 1);
        QVERIFY(Cargar(ocho + "relleno\r\nPuertos : LAB LPT2\r\n").Puertos.isEmpty());

        // Dos blancos dejan un puerto vacío: ese par se salta y la lectura sigue tras
        // el segundo blanco, así "LPT3 CASA" forma el par siguiente.
        LeerPuertos(c, u"LAB LPT2 OFI  LPT3 CASA PRN");
        QStringList pares;
        for (const PuertoNombrado& p : c.Puertos)
            pares << p.Nombre + u'=' + p.Puerto;
        QCOMPARE(pares, (QStringList{"LAB=LPT2", "LPT3=CASA"}));
        LeerPuertos(c, u"");
        QVERIFY(c.Puertos.isEmpty());
        QString muchos;
        for (int i = 0; i < 120; ++i)
            muchos += u"A%1 P%1 "_s.arg(i);
        LeerPuertos(c, muchos);
        QCOMPARE(c.Puertos.size(), MaximoPuertosNombrados);

        const QByteArray archivo = "Puerto : LPT1\r\nPuertos : lab lpt2 ofi lpt3\r\n";
        QCOMPARE((QStringList{Cargar(archivo, u" ofi "_s).Puerto, Cargar(archivo, u"lab"_s).Puerto,
                              Cargar(archivo, u"casa"_s).Puerto, Cargar(archivo).Puerto}),
                 (QStringList{u"LPT3"_s, u"LPT2"_s, u"LPT1"_s, u"LPT1"_s}));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasPaginacion)
#include "PruebasPaginacion.moc"
