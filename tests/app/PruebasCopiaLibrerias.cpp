// Arranque: la carpeta de trabajo y la preparación de librerías (fechas, copia,
// "DirLib", el lote y la espera).
#include "Pruebas.h"

#include "Archivos.h"

#include "app/Arranque.h"
#include "app/CopiaLibrerias.h"
#include "common/Texto.h"

#include <QLocale>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

bool Crear(const QString& ruta, const QByteArray& datos, QDate dia, int hora = 12) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size() && f.flush() &&
           f.setFileTime(QDateTime(dia, QTime(hora, 0)), QFileDevice::FileModificationTime);
}

QString Dia(QDate fecha) {
    return QLocale::system().toString(fecha, QLocale::ShortFormat);
}

// Lo que devolvió la preparación, las líneas del registro y lo que vio el ejecutor del lote.
struct Corrida {
    bool Preparo = false;
    QStringList Lineas;
    QByteArray Lote;
    LoteRegistro Datos;
    QString Restos; // quedaron en la carpeta: el marcador ("M") y el lote ("L")
    QString Resumen() const {
        return (Preparo ? u"si|"_s : u"no|"_s) + Lineas.join(u';') + u'|' + Restos;
    }
};

// accion 1: el ejecutor borra el marcador; 2: lo borra después un temporizador (la
// espera atiende eventos); 0: no lo borra; -1: no inicia el lote.
Corrida Correr(const QString& actual, const QString& sistema, int accion = 1,
               std::chrono::milliseconds espera = 10s) {
    Corrida c;
    const EntornoLibrerias e{actual, sistema,
                             [&c, accion](const LoteRegistro& lote) {
                                 c.Lote = LeerBytes(lote.Archivo);
                                 c.Datos = lote;
                                 if (accion == 1) QFile::remove(lote.Marcador);
                                 if (accion == 2)
                                     QTimer::singleShot(50,
                                                        [m = lote.Marcador] { QFile::remove(m); });
                                 return accion >= 0;
                             },
                             espera};
    c.Preparo = PrepararLibrerias(e, [&c](const QString& l) { c.Lineas.append(l); });
    c.Restos = QString(QFile::exists(actual + "/registro.registrando") ? "M" : "") +
               (QFile::exists(actual + "/registro.bat") ? "L" : "");
    return c;
}

} // namespace

class PruebasCopiaLibrerias : public QObject {
    Q_OBJECT
private slots:
    void esperaYArchivoDirLib() {
        QTemporaryDir actual, sistema;
        const QString marcador = actual.filePath("registro.registrando");

        // Sin "DirLib" ni librerías no hay nada que decir ni marcador que dejar (ni
        // uno viejo, que nadie borraría).
        QVERIFY(EscribirBytes(marcador, "viejo"));
        Corrida c = Correr(actual.path(), sistema.path());
        QCOMPARE(c.Resumen(), u"no||"_s);
        QVERIFY(c.Lote.isNull());

        // Con un "DirLib" vacío (el directorio actual) se revisa igual: sin
        // "regsvr32.exe" no se ejecuta nada y el marcador queda, vacío.
        QVERIFY(EscribirBytes(actual.filePath("DirLib"), "\r\n"));
        QVERIFY(EscribirBytes(marcador, "viejo"));
        c = Correr(actual.path(), sistema.path());
        QCOMPARE(c.Resumen(), u"si|*.OCX;*.DLL|M"_s);
        QVERIFY(c.Lote.isNull());
        QCOMPARE(LeerBytes(marcador), QByteArray(""));

        QVERIFY(EscribirBytes(sistema.filePath("regsvr32.exe"), ""));
        c = Correr(actual.path(), sistema.path());
        QCOMPARE(c.Resumen(), u"si|*.OCX;*.DLL|"_s);
        QCOMPARE(c.Lote, QByteArray("@echo off\r\ndel registro.registrando\r\n"));

        // Un lote que no termina: el arranque sigue y el lote, todavía en uso, queda.
        QCOMPARE(Correr(actual.path(), sistema.path(), 0, 100ms).Resumen(),
                 u"si|*.OCX;*.DLL;El registro de librerías no terminó en 0.1 segundos...|ML"_s);
        QCOMPARE(Correr(actual.path(), sistema.path(), -1).Resumen(),
                 u"si|*.OCX;*.DLL;No fue posible iniciar [registro.bat]...|M"_s);

        // La espera atiende eventos: aquí el marcador lo borra un temporizador.
        QCOMPARE(Correr(actual.path(), sistema.path(), 2).Resumen(), u"si|*.OCX;*.DLL|"_s);

        // "DirLib": la primera línea; ruta absoluta, relativa al directorio actual,
        // inexistente y sin "DirLib".
        QTemporaryDir otra;
        const QString dirLib = actual.filePath("DirLib");
        QVERIFY(EscribirBytes(dirLib, "\r\nlib\r\n"));
        QCOMPARE(DirectorioLibrerias(actual.path()), QString());
#ifdef Q_OS_WIN
        QVERIFY(EscribirBytes(dirLib, "C:\\Lib\r\n"));
        QCOMPARE(DirectorioLibrerias(actual.path()), QString("C:\\Lib\\"));
#endif
        QVERIFY(EscribirBytes(dirLib, CodificarAnsi("  " + otra.path()) + "  \r\notra\r\n"));
        QCOMPARE(DirectorioLibrerias(actual.path()), otra.path() + '/');
        QVERIFY(EscribirBytes(otra.filePath("Abs.ocx"), "a"));
        QVERIFY(EscribirBytes(actual.filePath("Actual.dll"), "x"));
        const auto lineas = [&] { return Correr(actual.path(), sistema.path()).Lineas; };
        QCOMPARE(lineas(), QStringList({"*.OCX", "copiando: Abs.ocx", "*.DLL"}));
        QVERIFY(QDir(actual.path()).mkdir("libs") && EscribirBytes(dirLib, "libs"));
        QVERIFY(EscribirBytes(actual.filePath("libs/Rel.DLL"), "r"));
        QCOMPARE(lineas(), QStringList({"*.OCX", "*.DLL", "copiando: Rel.DLL"}));
        QVERIFY(EscribirBytes(dirLib, "no-existe"));
        QCOMPARE(lineas(), QStringList({"*.OCX", "*.DLL"}));
        QVERIFY(QFile::remove(dirLib));
        QCOMPARE(lineas(), QStringList({"*.OCX", "*.DLL", "copiando: Actual.dll"}));
    }

    void comparacionPorFecha() {
        QTemporaryDir actual, sistema;
        const auto lib = [&](const char* n) { return actual.filePath(QString::fromUtf8(n)); };
        const auto sis = [&](const char* n) { return sistema.filePath(QString::fromUtf8(n)); };
        QVERIFY(EscribirBytes(sis("regsvr32.exe"), ""));
        QVERIFY(Crear(lib("A.OCX"), "nueva", {2021, 6, 10}));
        QVERIFY(Crear(sis("A.OCX"), "vieja", {2020, 1, 2}));
        QVERIFY(QFile::setPermissions(sis("A.OCX"), QFileDevice::ReadOwner));
        // El mismo día aunque más tarde no se copia.
        QVERIFY(Crear(lib("c.ocx"), "lib", {2020, 5, 5}, 18) &&
                Crear(sis("c.ocx"), "sis", {2020, 5, 5}, 8));
        QVERIFY(Crear(lib("B.Dll"), "lib", {2019, 1, 1}) &&
                Crear(sis("B.Dll"), "sis", {2020, 1, 1}));
        QVERIFY(Crear(lib("Diseño.DLL"), "d", {2020, 1, 1}));
        // Copia imposible: en el sistema hay una carpeta con ese nombre.
        QVERIFY(Crear(lib("E.DLL"), "e", {2099, 1, 1}) && QDir(sistema.path()).mkdir("E.DLL"));
        const QDate carpeta = QFileInfo(sis("E.DLL")).lastModified().date();
        QVERIFY(EscribirBytes(lib("nota.txt"), "x") && QDir(actual.path()).mkdir("X.DLL"));

        const Corrida c = Correr(actual.path(), sistema.path());
        QCOMPARE(
            c.Lineas,
            QStringList(
                {"*.OCX", "actualizando: A.OCX " + Dia({2021, 6, 10}) + " sys:" + Dia({2020, 1, 2}),
                 "pasando: c.ocx " + Dia({2020, 5, 5}) + " sys:" + Dia({2020, 5, 5}), "*.DLL",
                 "pasando: B.Dll " + Dia({2019, 1, 1}) + " sys:" + Dia({2020, 1, 1}),
                 "copiando: Diseño.DLL",
                 "actualizando: E.DLL " + Dia({2099, 1, 1}) + " sys:" + Dia(carpeta) + " error!"}));
        const QByteArray s =
            CodificarAnsi(QDir::toNativeSeparators(sistema.path()) + QDir::separator());
        QCOMPARE(c.Lote, "@echo off\r\n" + s + "regsvr32 " + s + "A.OCX /s\r\n" + s + "regsvr32 " +
                             s + "Dise\xf1o.DLL /s\r\ndel registro.registrando\r\n");
        QCOMPARE(c.Datos.Librerias, QStringList({sis("A.OCX"), sis("Diseño.DLL")}));
        QCOMPARE(LeerBytes(sis("A.OCX")), QByteArray("nueva"));
        QCOMPARE(QFileInfo(sis("A.OCX")).lastModified(),
                 QDateTime(QDate(2021, 6, 10), QTime(12, 0)));
        QCOMPARE(LeerBytes(sis("c.ocx")) + LeerBytes(sis("B.Dll")), QByteArray("sissis"));
        QCOMPARE(LeerBytes(sis("Diseño.DLL")), QByteArray("d"));
    }

    void carpetaDeTrabajo_data() {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("documentos");
        QTest::addColumn<QString>("esperada"); // vacía: se queda donde está
        const QString casa = "/home/ana";
        QTest::newRow("menú del escritorio")
            << casa << casa + "/Documentos" << casa + "/Documentos/Varek-9";
        QTest::newRow("con barra final")
            << casa + "/" << casa + "/Documentos/" << casa + "/Documentos/Varek-9";
        QTest::newRow("sin carpeta de documentos") << casa << QString() << casa + "/Varek-9";
        QTest::newRow("terminal en otra carpeta")
            << casa + "/obras" << casa + "/Documentos" << QString();
        QTest::newRow("terminal en la raíz") << "/" << casa + "/Documentos" << QString();
    }

    void carpetaDeTrabajo() {
        QFETCH(QString, actual);
        QFETCH(QString, documentos);
        QFETCH(QString, esperada);
        QCOMPARE(CarpetaDeTrabajo(actual, "/home/ana", documentos), esperada);
    }

    void carpetaDeTrabajoConCasaFalsa() {
        QTemporaryDir casa;
        QVERIFY(QDir(casa.path()).mkpath("obras/dos"));
        QVERIFY(EscribirBytes(casa.filePath("obras/Vía.vk9"), "x"));
        const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
        const auto restaurar = qScopeGuard([&] {
            qputenv("HOME", home);
            config.isEmpty() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", config);
        });
        qputenv("HOME", casa.path().toLocal8Bit());
        // Sin user-dirs.dirs los documentos son $HOME/Documents.
        qputenv("XDG_CONFIG_HOME", casa.filePath(".config").toLocal8Bit());
        const QString documentos = casa.filePath("Documents/Varek-9");
        {
            // Desde una terminal en otra carpeta nada cambia.
            const DirectorioActual aqui(casa.filePath("obras"));
            QStringList argumentos{"varek9", "Vía"};
            QVERIFY(!EntrarEnCarpetaDeTrabajo(argumentos));
            QCOMPARE(QDir::currentPath(), casa.filePath("obras"));
            QCOMPARE(argumentos, QStringList({"varek9", "Vía"}));
        }
        {
            // Desde la carpeta personal: a la de documentos, creada; el proyecto
            // nombrado desde la carpeta personal se sigue encontrando.
            const DirectorioActual aqui(casa.path());
            QStringList argumentos{"varek9", "obras/Vía", "obras/dos", "otro"};
            QVERIFY(EntrarEnCarpetaDeTrabajo(argumentos));
            QCOMPARE(QDir::currentPath(), documentos);
            QCOMPARE(argumentos, QStringList({"varek9", casa.filePath("obras/Vía"),
                                              casa.filePath("obras/dos"), "otro"}));
            // Ya creada, se vuelve a usar.
            QVERIFY(QDir::setCurrent(casa.path()));
            QVERIFY(EntrarEnCarpetaDeTrabajo(argumentos));
            QCOMPARE(QDir::currentPath(), documentos);
        }
    }

    void plataformaSinWindows() {
#ifdef Q_OS_WIN
        QSKIP("Solo donde no hay directorio de componentes del sistema");
#else
        QTemporaryDir actual, sistema, datos;
        const QByteArray xdgAnterior = qgetenv("XDG_DATA_HOME");
        qunsetenv("VAREK9_DIR_SISTEMA");
        qputenv("XDG_DATA_HOME", datos.path().toLocal8Bit());
        const QString propio = DirectorioSistemaPlataforma();
        QVERIFY(propio.startsWith(datos.path() + '/') && propio.endsWith("/sistema"));
        QVERIFY(QFileInfo(propio).isDir());
        xdgAnterior.isEmpty() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdgAnterior);

        // Un "regsvr32.exe" que anota sus argumentos: las órdenes corren sin el lote.
        const QString herramienta = sistema.filePath("regsvr32.exe");
        const QByteArray anotados = sistema.filePath("anotados").toLocal8Bit();
        QVERIFY(EscribirBytes(herramienta, "#!/bin/sh\necho \"$@\" >> \"" + anotados + "\"\n"));
        QVERIFY(QFile::setPermissions(herramienta, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QVERIFY(EscribirBytes(actual.filePath("Z.OCX"), "") &&
                EscribirBytes(actual.filePath("Y.DLL"), ""));
        qputenv("VAREK9_DIR_SISTEMA", sistema.path().toLocal8Bit());
        QStringList lineas;
        {
            const DirectorioActual enActual(actual.path());
            PrepararLibrerias([&](const QString& l) { lineas.append(l); });
        }
        qunsetenv("VAREK9_DIR_SISTEMA");
        QCOMPARE(lineas, QStringList({"*.OCX", "copiando: Z.OCX", "*.DLL", "copiando: Y.DLL"}));
        QCOMPARE(LeerBytes(anotados),
                 (sistema.filePath("Z.OCX") + " /s\n" + sistema.filePath("Y.DLL") + " /s\n")
                     .toLocal8Bit());
        QCOMPARE(QDir(actual.path()).entryList({"registro.*"}), QStringList());
#endif
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCopiaLibrerias)
#include "PruebasCopiaLibrerias.moc"
