// Lanzador de programas complementarios contra un programa de prueba real:
// resultados por código, archivos corto y sobrantes, drenaje, modo selección,
// nombre de intercambio tomado por otro proceso y programa que no arranca.
#include "Pruebas.h"

#include "Archivos.h"
#include "PlataformaGuionada.h"
#include "common/ArchivoEnUso.h"
#include "companions/frmProgramas.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

struct Escenario {
    QTemporaryDir carpeta;
    DirectorioActual cd{carpeta.path()};
    ModuloVarek9 modulo;
    PlataformaGuionada plataforma;

    // El programa de prueba sostiene su archivo 20 ms en vez de 300.
    Escenario() {
        plataforma.ProgramasReales = true;
        EscribirBytes("companero.espera", "20");
    }

    // El programa de prueba con el nombre de un programa complementario, en la carpeta actual.
    static bool Instalar(const QString& nombre) {
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
        return ventana.isVisible() ? QStringLiteral("<sigue abierta>") : ventana.Intercambio();
    }
    // Las líneas de comandos que recibió el programa de prueba.
    static QStringList Registro() {
        return QString::fromUtf8(LeerBytes("companero.log")).split(u'\n', Qt::SkipEmptyParts);
    }
    QString UltimoMensaje() const {
        return plataforma.Mensajes.isEmpty() ? QString() : plataforma.Mensajes.last().Texto;
    }
};

} // namespace

class PruebasfrmProgramas : public QObject {
    Q_OBJECT
private slots:
    void resultadosPorCodigo() {
        Escenario e;
        for (const char* nombre : {"Clima", "Transito", "Mr", "Drenaje"})
            QVERIFY(Escenario::Instalar(QString::fromLatin1(nombre)));
        ResultadoPrograma& r = e.modulo.ResultadoPrograma;

        QVERIFY(EscribirBytes("companero.res", "ref-c\r\n 1500 \r\n 1178.6 \r\nHumedo\r\n 27.27 "
                                               "\r\n 20 \r\nTemplado\r\n"));
        QCOMPARE(e.Lanzar("10"), QStringLiteral("C1"));
        QVERIFY(r.HayResultado);
        QCOMPARE(r.Referencia, QStringLiteral("ref-c"));
        QCOMPARE(r.TextoClima2, QStringLiteral("Humedo"));
        QCOMPARE(r.TextoClima3, QStringLiteral("Templado"));

        QVERIFY(EscribirBytes("companero.res", "ref-n\r\n 250000 \r\n"));
        QCOMPARE(e.Lanzar("11"), QStringLiteral("N1"));
        QVERIFY(r.HayResultado);
        QVERIFY(r.ValorTransito == 250000);
        QCOMPARE(r.Referencia, QStringLiteral("ref-n"));

        QVERIFY(EscribirBytes("companero.res", "ref-m\r\n 1234.5 \r\n"));
        QCOMPARE(e.Lanzar("12"), QStringLiteral("M1"));
        QVERIFY(r.HayResultado);
        QVERIFY(r.ValorModulo == 1234.5);

        // El drenaje deja su archivo, pero de él no se toma nada.
        QVERIFY(EscribirBytes("companero.res", "ref-d\r\nBueno\r\n 12 \r\n"));
        QCOMPARE(e.Lanzar("13"), QStringLiteral("D1"));
        QVERIFY(!r.HayResultado);
        QVERIFY(r.Referencia.isEmpty());
        QVERIFY(r.ValorModulo == 1234.5);

        // Uso libre: sin referencia y sin ",Seleccionar".
        QCOMPARE(Escenario::Registro(),
                 (QStringList{",C1,SinPresentacion", ",N1,SinPresentacion", ",M1,SinPresentacion",
                              ",D1,SinPresentacion"}));
        // Ningún archivo de intercambio queda atrás.
        for (const char* x : {"C1", "N1", "M1", "D1"}) {
            QVERIFY(!QFile::exists(QString::fromLatin1(x)));
            QVERIFY(!QFile::exists(QString::fromLatin1(x) + ".RES"));
        }
        QVERIFY(e.plataforma.Mensajes.isEmpty());
    }

    void resultadoCortoYModoSeleccion() {
        Escenario e;
        QVERIFY(Escenario::Instalar("Clima"));
        QVERIFY(Escenario::Instalar("Transito"));
        ResultadoPrograma& r = e.modulo.ResultadoPrograma;
        r.TextoClima2 = QStringLiteral("antes2");
        r.TextoClima3 = QStringLiteral("antes3");
        QVERIFY(EscribirBytes("companero.res", "corto\r\n 1 \r\n 2 \r\n"));
        e.Lanzar("10");
        QVERIFY(r.HayResultado);
        QCOMPARE(r.Referencia, QStringLiteral("corto"));
        QCOMPARE(r.TextoClima2, QStringLiteral("antes2"));
        QCOMPARE(r.TextoClima3, QStringLiteral("antes3"));

        r.Seleccionar = true;
        r.Referencia = QStringLiteral("varek-9");
        QVERIFY(EscribirBytes("companero.res", "varek-9\r\n 3.5E+05 \r\n"));
        e.Lanzar("11");
        QCOMPARE(Escenario::Registro().value(1),
                 QStringLiteral("varek-9,N1,SinPresentacion,Seleccionar"));
        QVERIFY(r.ValorTransito == 350000);
        QVERIFY(e.plataforma.ProgramasIniciados.value(1).endsWith(
            QStringLiteral("/Transito varek-9,N1,SinPresentacion,Seleccionar")));
    }

    void sinResultadoYSobrantes() {
        Escenario e;
        QVERIFY(Escenario::Instalar("Transito"));
        // Archivos de una corrida anterior que nadie sostiene: N1 se usa igual y su
        // resultado viejo no pasa por el de esta corrida.
        QVERIFY(EscribirBytes("N1", ""));
        QVERIFY(EscribirBytes("N1.RES", "vieja\r\n 99 \r\n"));
        ResultadoPrograma& r = e.modulo.ResultadoPrograma;
        r.HayResultado = true;
        r.ValorTransito = 7;
        QCOMPARE(e.Lanzar("11"), QStringLiteral("N1"));
        QVERIFY(!r.HayResultado);
        QVERIFY(r.ValorTransito == 7);
        QVERIFY(!QFile::exists("N1"));
        QVERIFY(!QFile::exists("N1.RES"));
    }

    void esperaQueElProgramaTomeSuArchivo() {
        Escenario e;
        QVERIFY(Escenario::Instalar("Mr"));
        // Tarda en arrancar: el lanzador lo espera antes de la primera prueba.
        QVERIFY(EscribirBytes("companero.demora", "300"));
        QVERIFY(EscribirBytes("companero.res", "lento\r\n 8 \r\n"));
        e.Lanzar("12");
        QVERIFY(e.modulo.ResultadoPrograma.HayResultado);
        QVERIFY(e.modulo.ResultadoPrograma.ValorModulo == 8);

        // Un programa que termina sin tomar su archivo no hace esperar los diez segundos.
        QVERIFY(QFile::remove("companero.demora"));
        QVERIFY(EscribirBytes("companero.sinx", ""));
        QElapsedTimer reloj;
        reloj.start();
        e.Lanzar("12");
        QVERIFY(reloj.elapsed() < 5000);
        QVERIFY(!e.modulo.ResultadoPrograma.HayResultado);
    }

    // Mientras el programa corre, la espera habla de él (no del diálogo de archivo
    // ocupado por "otro usuario"), y "&Cancelar" la abandona sin tomar resultado.
    void esperaDelProgramaConCancelar() {
        Escenario e;
        QVERIFY(Escenario::Instalar("Transito"));
        QVERIFY(EscribirBytes("companero.espera", "3000"));
        QVERIFY(EscribirBytes("companero.res", "ref\r\n 5 \r\n"));
        QString texto;
        QTimer vigia;
        vigia.setInterval(20);
        connect(&vigia, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* espera = w->findChild<QLabel*>(QStringLiteral("lbEspera"));
                if (!espera || !espera->isVisible()) continue;
                texto = espera->text();
                w->findChild<QPushButton*>(QStringLiteral("btnCancelar"))->click();
            }
        });
        vigia.start();
        QElapsedTimer reloj;
        reloj.start();
        QCOMPARE(e.Lanzar("11"), QStringLiteral("N1"));
        QVERIFY(reloj.elapsed() < 2500);
        QCOMPARE(texto, QStringLiteral("Esperando el resultado de [Transito]..."));
        QVERIFY(!e.plataforma.VentanasModales.contains(QStringLiteral("Ocupado")));
        QVERIFY(!e.modulo.ResultadoPrograma.HayResultado);
    }

    void nombreTomadoPorOtroProceso() {
        Escenario e;
        QVERIFY(Escenario::Instalar("Clima"));
        QVERIFY(EscribirBytes("companero.res", "ref\r\n\r\n\r\nArido\r\n\r\n\r\nFrio\r\n"));
        QProcess otro;
        otro.start(QStringLiteral(VAREK9_HIJO_BLOQUEO), {QStringLiteral("C1")});
        QVERIFY(otro.waitForReadyRead(10000));
        QCOMPARE(otro.readLine().trimmed(), QByteArray("BLOQUEADO"));

        // El usuario abandona la espera por C1: se pasa a C2.
        QString archivo;
        e.plataforma.Modales.enqueue([&](QDialog& d) {
            archivo = d.findChild<QLabel*>(QStringLiteral("Label4"))->text();
            d.findChild<QPushButton*>(QStringLiteral("Cancelar"))->click();
            return d.result();
        });
        QCOMPARE(e.Lanzar("10"), QStringLiteral("C2"));
        QCOMPARE(archivo, QStringLiteral("C1"));
        QCOMPARE(Escenario::Registro(), QStringList{",C2,SinPresentacion"});
        QCOMPARE(e.modulo.ResultadoPrograma.TextoClima2, QStringLiteral("Arido"));
        QVERIFY(ArchivoEnUso("C1")); // el del otro proceso sigue ahí
        QVERIFY(QFile::exists("C1"));

        // Sin abandonar: se espera a que el otro suelte C1 y se usa C1.
        bool seCerro = false;
        e.plataforma.Modales.enqueue([&](QDialog& d) {
            otro.closeWriteChannel();
            seCerro = QTest::qWaitFor([&] { return !d.isVisible(); }, 10000);
            return d.result();
        });
        QCOMPARE(e.Lanzar("10"), QStringLiteral("C1"));
        QVERIFY(seCerro);
        QVERIFY(otro.state() == QProcess::NotRunning || otro.waitForFinished(10000));
        QCOMPARE(Escenario::Registro().value(1), QStringLiteral(",C1,SinPresentacion"));
        QCOMPARE(e.plataforma.VentanasModales, (QStringList{"Ocupado", "Ocupado"}));
    }

    void programaQueNoArrancaOCodigoDesconocido() {
        Escenario e;
        QVERIFY(EscribirBytes("M1.RES", "vieja\r\n 5 \r\n"));
        e.modulo.ResultadoPrograma.HayResultado = true;
        QCOMPARE(e.Lanzar("12"), QStringLiteral("M1"));
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Titulo, QStringLiteral("ERROR"));
#ifdef _WIN32
        QCOMPARE(e.UltimoMensaje(),
                 QStringLiteral("No fue posible iniciar el programa [Mr.exe]..."));
#else
        QCOMPARE(e.UltimoMensaje(), QStringLiteral("No fue posible iniciar el programa [Mr]..."));
#endif
        QVERIFY(!e.modulo.ResultadoPrograma.HayResultado);
        QVERIFY(!QFile::exists("M1.RES"));

        // Existe pero la plataforma no lo puede iniciar: el mismo aviso.
        QVERIFY(Escenario::Instalar("Mr"));
        e.plataforma.ProgramasIniciables = false;
        e.Lanzar("12");
        QCOMPARE(e.plataforma.Mensajes.size(), 2);

        // Un código fuera de la tabla no inicia nada y la ventana se cierra igual.
        e.plataforma.ProgramasIniciados.clear();
        QCOMPARE(e.Lanzar("QuePrograma"), QString());
        QVERIFY(e.plataforma.ProgramasIniciados.isEmpty());
        QCOMPARE(e.plataforma.Mensajes.size(), 2);
    }

    void ventanaModal() {
        // Mostrada como la muestra quien la llama: se ejecuta sola al activarse y se cierra.
        Escenario e;
        QVERIFY(Escenario::Instalar("Transito"));
        QVERIFY(EscribirBytes("companero.res", "x\r\n 42 \r\n"));
        frmProgramas ventana(e.modulo, e.plataforma);
        QCOMPARE(ventana.lb()->text(), QStringLiteral("QuePrograma"));
        ventana.lb()->setText("11");
        bool cerrada = false;
        e.plataforma.Modales.enqueue([&](QDialog& d) {
            cerrada = QTest::qWaitFor([&] { return !d.isVisible(); }, 20000);
            return d.result();
        });
        QCOMPARE(e.plataforma.MostrarModal(ventana), int(QDialog::Accepted));
        QVERIFY(cerrada);
        QVERIFY(e.modulo.ResultadoPrograma.ValorTransito == 42);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmProgramas)
#include "PruebasfrmProgramas.moc"
