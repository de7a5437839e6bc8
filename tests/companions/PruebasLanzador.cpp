// El lanzador contra un programa de prueba real: resultados por código, archivos
// sobrantes, modo selección, nombre de intercambio tomado por otro proceso,
// programa que no arranca y la espera mientras corre; los cuatro ejecutables, que
// sostienen su archivo. Van aparte de las rápidas: arrancan programas y esperan por ellos.
#include "Pruebas.h"

#include "ApoyoVentanas.h"
#include "ResumenResultado.h"
#include "common/ArchivoEnUso.h"
#include "common/CarpetasSesion.h"
#include "companions/Programas.h"
#include "companions/frmProgramas.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#ifndef _WIN32
#include <csignal>
#endif

using namespace Qt::StringLiterals;

namespace {

using Archivos = QMap<QString, QByteArray>;

struct Lanzador : CarpetaGuionada {
    ModuloVarek9 modulo;

    // El programa de prueba sostiene su archivo 20 ms en vez de 300.
    Lanzador() {
        plataforma.ProgramasReales = true;
        EscribirBytes("companero.espera", "20");
    }

    // El programa de prueba con el nombre de un programa complementario, en la carpeta actual.
    static bool Instalar(const QString& programa) {
        const QString nombre = NombreEjecutable(programa);
        return QFile::copy(QStringLiteral(VAREK9_COMPANERO_PRUEBA), nombre) &&
               QFile::setPermissions(nombre, QFile::permissions(nombre) | QFile::ExeOwner);
    }
    // Corre el lanzador con el código dado hasta que se cierra; devuelve el nombre usado.
    QString Lanzar(const QString& codigo) {
        // Como la ventana principal: uso libre salvo que la prueba pida selección.
        if (!modulo.ResultadoPrograma.Seleccionar) modulo.ResultadoPrograma.Referencia.clear();
        frmProgramas ventana(modulo, plataforma);
        ventana.lb()->setText(codigo);
        ventana.show();
        ventana.Ejecutar();
        return ventana.isVisible() ? u"<sigue abierta>"_s : ventana.Intercambio();
    }
};

} // namespace

class PruebasLanzador : public QObject {
    Q_OBJECT

private slots:
    // Mientras el programa corre, la espera habla de él (no del diálogo de archivo
    // ocupado por "otro usuario"), y "&Cancelar" la abandona sin tomar resultado.
    void esperaDelProgramaConCancelar() {
        Lanzador e;
        QVERIFY(Lanzador::Instalar("Transito") && EscribirBytes("companero.espera", "1500"));
        QVERIFY(EscribirBytes("companero.res", "ref\r\n 5 \r\n"));
        // Mientras espera, la ventana dice a quién espera y se pulsa su "&Cancelar".
        QString texto;
        QTimer vigia;
        connect(&vigia, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* espera = w->findChild<QLabel*>(u"lbEspera"_s);
                if (!texto.isEmpty() || !espera || !espera->isVisible()) continue;
                texto = espera->text();
                Control<QPushButton>(*w, u"btnCancelar"_s)->click();
            }
        });
        vigia.start(20);
        QElapsedTimer reloj;
        reloj.start();
        QVERIFY(e.Lanzar("11") == u"N1"_s && reloj.elapsed() < 1000);
        QCOMPARE(texto, u"Esperando el resultado de [Transito]..."_s);
        QVERIFY(!e.plataforma.VentanasModales.contains(u"Ocupado"_s) &&
                !e.modulo.ResultadoPrograma.HayResultado);
#ifndef _WIN32
        // El programa sigue abierto; su proceso se libera cuando termina, antes de salir.
        const auto pid = static_cast<pid_t>(e.plataforma.IdentificadoresReales.value(0));
        QTRY_VERIFY_WITH_TIMEOUT(pid > 0 && ::kill(pid, 0) != 0, 10000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
#endif
    }

    // Antes de cada corrida el resultado trae "h0", "t0", 7 y 8 y dice que hay
    // resultado: lo que el programa no da, queda.
    void resultados_data() {
        // archivos: los de la carpeta antes de lanzar; linea: la que recibe el programa.
        Columnas<QString, QString, Archivos, QString, QString>(
            {"programa", "codigo", "archivos", "linea", "resultado"});
        const auto fila = [](const char* nombre, const char* programa, const char* codigo,
                             const Archivos& archivos, const char* linea, const char* resultado) {
            QTest::newRow(nombre) << QString(programa) << QString(codigo) << archivos
                                  << QString(linea) << QString(resultado);
        };
        const auto res = [](const QByteArray& contenido) {
            return Archivos{{"companero.res", contenido}};
        };
        // El clima y el Mr por el lanzador, en nombreTomadoNoArrancaODesconocido y en
        // "arranque lento"; lo que se lee de cada uno, en PruebasCalculo.
        fila("tránsito", "Transito", "11", res("ref-n\r\n 250000 \r\n"), ",N1,SinPresentacion",
             "sí: ref-n | 250000 | h0 t0 | 8");
        fila("tránsito en selección", "Transito", "11", res("varek-9\r\n 3.5E+05 \r\n"),
             "varek-9,N1,SinPresentacion,Seleccionar", "sí: varek-9 | 350000 | h0 t0 | 8");
        // El drenaje deja su archivo, pero de él no se toma nada.
        fila("drenaje", "Drenaje", "13", res("ref-d\r\nBueno\r\n 12 \r\n"), ",D1,SinPresentacion",
             "no:  | 7 | h0 t0 | 8");
        // Archivos de una corrida anterior que nadie sostiene: N1 se usa igual y su
        // resultado viejo no pasa por el de esta corrida.
        fila("sobrantes sin resultado", "Transito", "11",
             {{"N1", ""}, {"N1.RES", "vieja\r\n 99 \r\n"}}, ",N1,SinPresentacion",
             "no:  | 7 | h0 t0 | 8");
        // Tarda en arrancar: el lanzador lo espera antes de la primera prueba.
        fila("arranque lento", "Mr", "12",
             {{"companero.demora", "150"}, {"companero.res", "l\r\n 5 \r\n"}},
             ",M1,SinPresentacion", "sí: l | 7 | h0 t0 | 5");
        // Termina sin tomar su archivo: no hace esperar los diez segundos.
        fila("termina sin tomar X", "Mr", "12",
             {{"companero.sinx", ""}, {"companero.res", "x\r\n 5 \r\n"}}, ",M1,SinPresentacion",
             "no:  | 7 | h0 t0 | 8");
    }
    void resultados() {
        TOMAR((programa, codigo, archivos, linea), QString, QString, Archivos, QString);
        Lanzador e;
        QVERIFY(Lanzador::Instalar(programa));
        for (auto a = archivos.cbegin(); a != archivos.cend(); ++a)
            QVERIFY(EscribirBytes(a.key(), a.value()));
        ResultadoPrograma& r = e.modulo.ResultadoPrograma;
        r = {linea.endsWith(u"Seleccionar"), true, u"varek-9"_s, 7, u"h0"_s, u"t0"_s, 8};
        QElapsedTimer reloj;
        reloj.start();
        QVERIFY(e.Lanzar(codigo) == linea.section(u',', 1, 1) && reloj.elapsed() < 5000);
        QCOMPARE(LineasDeTexto(LeerBytes("companero.log")), QStringList{linea});
        QVERIFY(e.plataforma.ProgramasIniciados.value(0).endsWith(
            u'/' + NombreEjecutable(programa) + u' ' + linea));
        QTEST(Resumen(r), "resultado");
        // Ningún archivo de intercambio queda atrás.
        QCOMPARE(QDir::current().entryList({"?1", "?1.RES"}, QDir::Files), QStringList());
        QVERIFY(e.plataforma.Mensajes.isEmpty());
    }

    // En una sesión de la interfaz el intercambio pasa por la carpeta de trabajo: el
    // programa corre allí con los nombres cortos y la carpeta actual queda igual.
    void intercambioEnLaCarpetaDeTrabajo() {
        Lanzador e;
        QVERIFY(Lanzador::Instalar(u"Transito"_s) && QDir().mkpath(u"base"_s));
        const QStringList antes =
            QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const CarpetasSesion sesion(e.carpeta.filePath(u"base/config"_s),
                                    e.carpeta.filePath(u"base"_s));
        const QDir trabajo(CarpetaArchivosTrabajo());
        QVERIFY(EscribirBytes(trabajo.filePath(u"companero.espera"_s), "20") &&
                EscribirBytes(trabajo.filePath(u"companero.res"_s), "ref\r\n 4100 \r\n"));
        ResultadoPrograma& r = e.modulo.ResultadoPrograma;
        r = {false, true, u"ref"_s, 7, u"h0"_s, u"t0"_s, 8};
        QVERIFY(e.Lanzar(u"11"_s) == u"N1"_s && Resumen(r) == u"sí: ref | 4100 | h0 t0 | 8"_s);
        QCOMPARE(LineasDeTexto(LeerBytes(trabajo.filePath(u"companero.log"_s))),
                 QStringList{u",N1,SinPresentacion"_s});
        QCOMPARE(trabajo.entryList({"N1*"}, QDir::Files), QStringList());
        QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), antes);
    }

    void nombreTomadoNoArrancaODesconocido() {
        Lanzador e;
        QVERIFY(Lanzador::Instalar("Clima"));
        QVERIFY(EscribirBytes("companero.res", "ref\r\n\r\n\r\nArido\r\n\r\n\r\nFrio\r\n"));
        QProcess otro;
        otro.start(QStringLiteral(VAREK9_HIJO_BLOQUEO), {u"C1"_s});
        QVERIFY(otro.waitForReadyRead(10000));
        QCOMPARE(otro.readLine().trimmed(), QByteArray("BLOQUEADO"));

        // El usuario abandona la espera por C1: se pasa a C2.
        QString archivo;
        e.plataforma.Modales.enqueue([&](QDialog& d) {
            archivo = Texto(d, u"Label4"_s);
            Control<QPushButton>(d, u"Cancelar"_s)->click();
            return d.result();
        });
        QVERIFY(e.Lanzar("10") == u"C2"_s && archivo == u"C1"_s);
        QCOMPARE(LineasDeTexto(LeerBytes("companero.log")), QStringList{",C2,SinPresentacion"});
        // El del otro proceso sigue ahí.
        QVERIFY(e.modulo.ResultadoPrograma.TextoClima2 == u"Arido"_s && ArchivoEnUso("C1"));

        // Sin abandonar: se espera a que el otro suelte C1 y se usa C1.
        bool seCerro = false;
        e.plataforma.Modales.enqueue([&](QDialog& d) {
            otro.closeWriteChannel();
            seCerro = QTest::qWaitFor([&] { return !d.isVisible(); }, 10000);
            return d.result();
        });
        QCOMPARE(e.Lanzar("10"), u"C1"_s);
        QVERIFY(seCerro && (otro.state() == QProcess::NotRunning || otro.waitForFinished(10000)));
        QCOMPARE(LineasDeTexto(LeerBytes("companero.log")).value(1), u",C1,SinPresentacion"_s);
        QCOMPARE(e.plataforma.VentanasModales, (QStringList{"Ocupado", "Ocupado"}));

        // Un programa que no arranca o un código desconocido.
        QVERIFY(EscribirBytes("M1.RES", "vieja\r\n 5 \r\n"));
        e.modulo.ResultadoPrograma.HayResultado = true;
        QCOMPARE(e.Lanzar("12"), u"M1"_s);
        QCOMPARE(e.Avisos(), QStringList{u"ERROR: No fue posible iniciar el programa [%1]..."_s.arg(
                                 NombreEjecutable(u"Mr"))});
        QVERIFY(!e.modulo.ResultadoPrograma.HayResultado && !QFile::exists("M1.RES"));

        // Existe pero la plataforma no lo puede iniciar: el mismo aviso.
        QVERIFY(Lanzador::Instalar("Mr"));
        e.plataforma.ProgramasIniciables = false;
        e.Lanzar("12");
        QCOMPARE(e.plataforma.Mensajes.size(), 2);

        // Un código fuera de la tabla no inicia nada y la ventana se cierra igual.
        e.plataforma.ProgramasIniciados.clear();
        QVERIFY(e.Lanzar("QuePrograma") == QString() && e.plataforma.ProgramasIniciados.isEmpty());
        QCOMPARE(e.plataforma.Mensajes.size(), 2);
    }

    // Los cuatro ejecutables reales toman X al arrancar y lo sostienen mientras
    // corren; terminados no dejan candado ni resultado.
    void ejecutablesSostienenSuArchivo_data() {
        Columnas<QString, QString>({"ruta", "intercambio"});
        QTest::newRow("Clima") << VAREK9_CLIMA << "C1";
        QTest::newRow("Transito") << VAREK9_TRANSITO << "N1";
        QTest::newRow("Mr") << VAREK9_MR << "M1";
        QTest::newRow("Drenaje") << VAREK9_DRENAJE << "D1";
    }
    void ejecutablesSostienenSuArchivo() {
        TOMAR((ruta, intercambio), QString, QString);
        CarpetaGuionada c;
        // Hereda la plataforma fuera de pantalla que fija el main de las pruebas.
        QProcess p;
#ifdef Q_OS_WIN
        // Salvo en Windows: su Qt estático trae solo la plataforma de Windows, la que
        // usa el programa instalado.
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.remove(u"QT_QPA_PLATFORM"_s);
        p.setProcessEnvironment(entorno);
#endif
        p.start(ruta, {u"varek-9,%1,SinPresentacion,Seleccionar"_s.arg(intercambio)});
        QVERIFY(p.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(ArchivoEnUso(intercambio), 15000);
        QTest::qWait(50);
        QCOMPARE(p.state(), QProcess::Running); // la ventana espera al usuario
        p.kill();
        QVERIFY(p.waitForFinished(10000));
        QVERIFY(!ArchivoEnUso(intercambio) && !QFile::exists(intercambio + ".RES"));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasLanzador)
#include "PruebasLanzador.moc"
