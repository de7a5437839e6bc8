// Los cuatro ejecutables reales: toman X al arrancar y lo sostienen mientras
// corren, y terminados no dejan candado ni resultado. El lanzador encuentra un
// programa de verdad y lo espera con el diálogo Ocupado.
#include "Pruebas.h"

#include "Archivos.h"
#include "PlataformaGuionada.h"
#include "common/ArchivoEnUso.h"
#include "companions/Programas.h"
#include "companions/frmProgramas.h"

#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#ifndef _WIN32
#include <csignal>
#include <sys/types.h>
#endif

namespace {

struct Ejecutable {
    const char* Ruta;
    const char* Intercambio;
    const char* Codigo;
};
constexpr Ejecutable Ejecutables[] = {
    {VAREK9_CLIMA, "C1", "10"},
    {VAREK9_TRANSITO, "N1", "11"},
    {VAREK9_MR, "M1", "12"},
    {VAREK9_DRENAJE, "D1", "13"},
};

void Arrancar(QProcess& p, const QString& programa, const QStringList& argumentos) {
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(entorno);
    p.setWorkingDirectory(QDir::currentPath());
    p.start(programa, argumentos);
}

} // namespace

class PruebasEjecutables : public QObject {
    Q_OBJECT
private slots:
    void sostienenSuArchivoMientrasCorren() {
        QTemporaryDir carpeta;
        DirectorioActual cd(carpeta.path());
        QVERIFY(EscribirArchivoUnidad(NombreArchivoUnidad, {2, QStringLiteral("A"), 0, 100}).Ok);
        for (const Ejecutable& e : Ejecutables) {
            const QString x = QString::fromLatin1(e.Intercambio);
            QProcess p;
            Arrancar(p, QString::fromLocal8Bit(e.Ruta),
                     {QStringLiteral("varek-9,%1,SinPresentacion,Seleccionar").arg(x)});
            QVERIFY2(p.waitForStarted(10000), e.Ruta);
            QTRY_VERIFY_WITH_TIMEOUT(ArchivoEnUso(x), 15000);
            QTest::qWait(50);
            QCOMPARE(p.state(), QProcess::Running); // la ventana espera al usuario
            QVERIFY(ArchivoEnUso(x));
            p.kill();
            QVERIFY(p.waitForFinished(10000));
            QVERIFY(!ArchivoEnUso(x));
            QVERIFY(!QFileInfo::exists(x + ".RES"));
        }
    }

    void elLanzadorEsperaAlProgramaReal() {
#ifdef _WIN32
        QSKIP("Cierra el programa con una señal POSIX");
#else
        QTemporaryDir carpeta;
        DirectorioActual cd(carpeta.path());
        ModuloVarek9 modulo;
        PlataformaGuionada plataforma;
        plataforma.ProgramasReales = true;
        // El programa real abre su ventana y espera: el lanzador dice a quién espera
        // (sin el diálogo de archivo ocupado); cuando el programa se cierra sin
        // aceptar, no hay resultado.
        frmProgramas v(modulo, plataforma);
        QString texto;
        QTimer vigia;
        vigia.setInterval(20);
        QObject::connect(&vigia, &QTimer::timeout, [&] {
            auto* espera = v.findChild<QLabel*>(QStringLiteral("lbEspera"));
            if (!texto.isEmpty() || !espera->isVisible()) return;
            texto = espera->text();
            // Se cierra el programa que inició el lanzador, por su identificador.
            const qint64 id = plataforma.IdentificadoresReales.value(0);
            if (id > 0) ::kill(static_cast<pid_t>(id), SIGTERM);
        });
        vigia.start();
        v.Carpetas = {QFileInfo(QString::fromLocal8Bit(VAREK9_DRENAJE)).absolutePath()};
        v.lb()->setText(QStringLiteral("13"));
        v.show();
        v.Ejecutar();
        QCOMPARE(texto, QStringLiteral("Esperando el resultado de [Drenaje]..."));
        QVERIFY(plataforma.VentanasModales.isEmpty());
        QVERIFY(!v.isVisible());
        QVERIFY(!modulo.ResultadoPrograma.HayResultado);
        QVERIFY(plataforma.ProgramasIniciados.value(0).endsWith(u" ,D1,SinPresentacion"));
        QVERIFY(!QFileInfo::exists("D1"));
#endif
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasEjecutables)
#include "PruebasEjecutables.moc"
