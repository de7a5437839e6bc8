// Candado de archivo en uso: dentro de un proceso y entre procesos.
#include "Pruebas.h"

#include "Archivos.h"

#include "common/BloqueoArchivo.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <utility>

using namespace Qt::StringLiterals;

class PruebasBloqueoArchivo : public QObject {
    Q_OBJECT

    QTemporaryDir Carpeta;

    // Arranca el hijo sobre la ruta y devuelve lo que anuncia.
    static QByteArray ArrancarHijo(QProcess& hijo, const QString& ruta) {
        hijo.start(QStringLiteral(VAREK9_HIJO_BLOQUEO), {ruta});
        while (hijo.waitForStarted(10000) && !hijo.canReadLine() && hijo.waitForReadyRead(10000)) {
        }
        return hijo.readLine().trimmed();
    }

    static int TerminarHijo(QProcess& hijo) {
        hijo.closeWriteChannel();
        if (!hijo.waitForFinished(10000) || hijo.exitStatus() != QProcess::NormalExit) return -1;
        return hijo.exitCode();
    }

private slots:
    void mismoProceso() {
        const QString ruta = Carpeta.filePath(u"mismo.pro"_s);
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
        QVERIFY(!BloqueoArchivo(Carpeta.filePath(u"no/existe"_s)).Bloquear());
    }

    void conservaElContenidoYSeMueve() {
        const QString ruta = Carpeta.filePath(u"datos.txt"_s);
        QVERIFY(EscribirBytes(ruta, "contenido"));
        BloqueoArchivo a(ruta);
        QVERIFY(a.Bloquear());
        QCOMPARE(LeerBytes(ruta), QByteArray("contenido"));

        BloqueoArchivo b(std::move(a));
        QVERIFY(!a.Bloqueado());
        QVERIFY(ArchivoBloqueadoPorOtro(ruta));
        BloqueoArchivo c(Carpeta.filePath(u"otro"_s));
        QVERIFY(c.Bloquear());
        c = std::move(b); // suelta "otro" y se queda con el primero
        QVERIFY(!ArchivoBloqueadoPorOtro(Carpeta.filePath(u"otro"_s)));
        QVERIFY(ArchivoBloqueadoPorOtro(ruta));
        QCOMPARE(c.RutaArchivo(), ruta);
    }

    void entreProcesos() {
        const QString ruta = Carpeta.filePath(u"compartido.pro"_s);
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

VAREK9_REGISTRAR_PRUEBA(PruebasBloqueoArchivo)
#include "PruebasBloqueoArchivo.moc"
