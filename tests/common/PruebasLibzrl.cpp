// Rutinas generales: limpieza de texto, columnas, línea de comandos, listas,
// esperas, reserva de nombres de archivos de trabajo y el candado de archivo en uso
// (dentro de un proceso y entre procesos).
#include "Pruebas.h"

#include "Archivos.h"

#include "common/BloqueoArchivo.h"
#include "common/ModuloLibzrl.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <limits>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

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

int TerminarHijo(QProcess& hijo) {
    hijo.closeWriteChannel();
    if (!hijo.waitForFinished(10000) || hijo.exitStatus() != QProcess::NormalExit) return -1;
    return hijo.exitCode();
}

} // namespace

class PruebasLibzrl : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Carpeta;
    std::unique_ptr<DirectorioActual> Actual;

private slots:
    // Cada prueba corre en una carpeta vacía propia.
    void init() {
        Carpeta = std::make_unique<QTemporaryDir>();
        Actual = std::make_unique<DirectorioActual>(Carpeta->path());
    }

    void cleanup() {
        Actual.reset();
        Carpeta.reset();
    }

    void textosYListas() {
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
        // Conjunto propio, sensible a mayúsculas; se recorta antes.
        QCOMPARE(FiltrarNumero(u"  A b B  "_s, u"AB "_s), u"A  B"_s);

        QCOMPARE(ArgumentosLinea(LineaComando({u"varek9"_s})), QStringList(4, QString()));
        QCOMPARE(ArgumentosLinea(LineaComando({u"varek9"_s, u" proy"_s, u", b\t,c"_s})),
                 (QStringList{u" proy "_s, u"b\t"_s, u"c"_s, QString()}));
        QCOMPARE(ArgumentosLinea(u"a;b;c;d; e "_s, u";"_s),
                 (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s}));

        const QStringList tipos{u"1 Principal"_s, u"2 Secundaria"_s, u"A Acceso"_s};
        QCOMPARE(BuscarEnComboBox(tipos, u"a"_s, 1), u"A"_s);
        QCOMPARE(BuscarEnComboBox(tipos, QString(), 1), u"1"_s);
        QCOMPARE(BuscarEnComboBox(tipos, u"x"_s, 1), u"1"_s);
        QCOMPARE(BuscarEnComboBox(tipos, u"2 SEC"_s), u"2 Secundaria"_s);
        QCOMPARE(BuscarEnComboBox({}, u"a"_s), QString());

        const QStringList lista{u"Abc"_s, u"ABD"_s};
        QCOMPARE(SeleccionarEnLista(lista, u"ab"_s, false), 0);
        QCOMPARE(SeleccionarEnLista(lista, u"abd"_s, false), 1);
        QCOMPARE(SeleccionarEnLista(lista, u"abcd"_s, false), -1);
        QCOMPARE(SeleccionarEnLista(lista, u"zz"_s, true), 0);
        QCOMPARE(SeleccionarEnLista({}, u"a"_s, true), -1);
    }

    void esperaAleatoria() {
        // Máximo menor que el mínimo: igual espera entre los dos.
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer reloj;
            reloj.start();
            EsperaAleatoria(0.05, 0.02);
            QVERIFY2(reloj.elapsed() >= 18 && reloj.elapsed() < 1000,
                     qPrintable(QString::number(reloj.elapsed())));
        }
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
        QVERIFY(QFile::exists(u"r00"_s));
        QVERIFY(!QFile::exists(u"r00.img"_s));

        // Un ".pro" en uso se salta sin vaciarlo.
        QVERIFY(EscribirBytes(u"r00.pro"_s, "viejo"));
        BloqueoArchivo enUso(u"r00.pro"_s);
        QVERIFY(enUso.Bloquear());
        QCOMPARE(NombreArchivoReporte(), u"r10"_s);
        QCOMPARE(Tamano(u"r00.pro"_s), 5);
        BloqueoArchivo otro(u"r10.txt"_s);
        QVERIFY(otro.Bloquear());
        QCOMPARE(NombreArchivoReporte(), u"r20"_s);

        QCOMPARE(NombreArchivoDatos(), u"t00"_s);
        QVERIFY(EscribirBytes(u"t00.DAT"_s, "viejo"));
        QVERIFY(EscribirBytes(u"t00.img"_s, "viejo"));
        QCOMPARE(NombreArchivoDatos(), u"t00"_s);
        QCOMPARE(Tamano(u"t00.DAT"_s), 0);
        QVERIFY(QFile::exists(u"t00.NDX"_s));
        QVERIFY(QFile::exists(u"t00.img"_s)); // solo los reportes limpian su ".img"
        BloqueoArchivo ndx(u"t00.NDX"_s);
        QVERIFY(ndx.Bloquear());
        QCOMPARE(NombreArchivoDatos(), u"t10"_s);
    }

    // Ninguna salida cae sobre su entrada: ni los nombres reservados (que vaciarían
    // los restos) ni uno dado.
    void salidaNuncaSobreLaEntrada() {
        QVERIFY(EscribirBytes(u"t00"_s, "viejo"));
        QCOMPARE(NombreArchivoDatos(QString(), u"./t00"_s), u"t10"_s);
        QCOMPARE(Tamano(u"t00"_s), 5);
        QVERIFY(EscribirBytes(u"r00.txt"_s, "viejo"));
        QCOMPARE(NombreArchivoReporte(QString(), u"r00.txt"_s), u"r10"_s);
        QCOMPARE(Tamano(u"r00.txt"_s), 5);

        QVERIFY(MismoArchivo(u"a/../t00"_s, QDir::current().filePath(u"t00"_s)));
        QVERIFY(!MismoArchivo(u"t00"_s, u"t00.DAT"_s));
        QVERIFY(!MismoArchivo(QString(), QString()));
        QCOMPARE(NombreSalidaLibre(u"x.txt"_s, u"t00"_s), u"x.txt"_s);
        QCOMPARE(NombreSalidaLibre(u"t00"_s, u"t00"_s), u"t0000"_s);
        QVERIFY(EscribirBytes(u"x.txt"_s, "viejo"));
        QVERIFY(EscribirBytes(u"x00.txt"_s, "viejo"));
        QCOMPARE(NombreSalidaLibre(u"./x.txt"_s, u"x.txt"_s), u"./x10.txt"_s);
#ifndef _WIN32
        // Un enlace nombra al mismo archivo aunque la ruta sea otra.
        QVERIFY(QFile::link(u"x.txt"_s, u"x.text"_s));
        QVERIFY(MismoArchivo(u"x.text"_s, u"x.txt"_s));
#endif
    }

    void candadoEnUnProceso() {
        const QString ruta = Carpeta->filePath(u"mismo.pro"_s);
        BloqueoArchivo a(ruta);
        QVERIFY(!ArchivoBloqueadoPorOtro(ruta));
        QVERIFY(!QFile::exists(ruta)); // ni construir ni preguntar crean el archivo
        QVERIFY(a.Bloquear());
        QVERIFY(a.Bloquear()); // ya lo tiene
        QVERIFY(ArchivoBloqueadoPorOtro(ruta));
        {
            BloqueoArchivo b(ruta);
            QVERIFY(!b.Bloquear());
            QVERIFY(!b.Bloqueado());
            a.Liberar();
            QVERIFY(b.Bloquear());
            QVERIFY(!a.Bloquear());
        }
        QVERIFY(!ArchivoBloqueadoPorOtro(ruta)); // el destructor lo soltó
        QVERIFY(!BloqueoArchivo(Carpeta->filePath(u"no/existe"_s)).Bloquear());

        // El candado conserva el contenido y se mueve con el objeto.
        const QString datos = Carpeta->filePath(u"datos.txt"_s);
        QVERIFY(EscribirBytes(datos, "contenido"));
        BloqueoArchivo d(datos);
        QVERIFY(d.Bloquear());
        QCOMPARE(LeerBytes(datos), QByteArray("contenido"));
        BloqueoArchivo movido(std::move(d));
        QVERIFY(!d.Bloqueado());
        QVERIFY(ArchivoBloqueadoPorOtro(datos));
        BloqueoArchivo c(Carpeta->filePath(u"otro"_s));
        QVERIFY(c.Bloquear());
        c = std::move(movido); // suelta "otro" y se queda con el primero
        QVERIFY(!ArchivoBloqueadoPorOtro(Carpeta->filePath(u"otro"_s)));
        QVERIFY(ArchivoBloqueadoPorOtro(datos));
        QCOMPARE(c.RutaArchivo(), datos);
    }

    void entreProcesos() {
        const QString ruta = Carpeta->filePath(u"compartido.pro"_s);
        QProcess hijo;
        QCOMPARE(ArrancarHijo(hijo, ruta), QByteArray("BLOQUEADO"));
        BloqueoArchivo bloqueo(ruta);
        QVERIFY(ArchivoBloqueadoPorOtro(ruta));
        QVERIFY(!bloqueo.Bloquear());
        QCOMPARE(TerminarHijo(hijo), 0);
        QVERIFY(bloqueo.Bloquear()); // al terminar el hijo queda libre

        // Y al revés: el hijo ve el candado del padre.
        QProcess otro;
        QCOMPARE(ArrancarHijo(otro, ruta), QByteArray("OCUPADO"));
        QCOMPARE(TerminarHijo(otro), 1);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasLibzrl)
#include "PruebasLibzrl.moc"
