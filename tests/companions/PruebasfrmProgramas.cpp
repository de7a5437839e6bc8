// Lanzador de programas complementarios contra un programa de prueba real:
// resultados por código, archivos corto y sobrantes, modo selección, nombre de
// intercambio tomado por otro proceso, programa que no arranca y la espera
// mientras el programa corre. Y los cuatro ejecutables, que sostienen su archivo.
// Además la espera por un archivo compartido (diálogo Ocupado y aviso en la barra),
// con el reloj de la plataforma de prueba: la secuencia de pausas, sin dormir.
#include "Pruebas.h"

#include "ApoyoVentanas.h"
#include "ResumenResultado.h"
#include "common/ArchivoEnUso.h"
#include "common/BloqueoArchivo.h"
#include "common/Ocupado.h"
#include "companions/Programas.h"
#include "companions/frmProgramas.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

using Archivos = QMap<QString, QByteArray>;

struct Escenario : CarpetaGuionada {
    ModuloVarek9 modulo;

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
        return ventana.isVisible() ? u"<sigue abierta>"_s : ventana.Intercambio();
    }
    // Las líneas de comandos que recibió el programa de prueba.
    static QStringList Registro() {
        return QString::fromUtf8(LeerBytes("companero.log")).split(u'\n', Qt::SkipEmptyParts);
    }
};

} // namespace

class PruebasfrmProgramas : public QObject {
    Q_OBJECT

    QTemporaryDir Carpeta; // la de los archivos esperados
    int Esperados = 0;

private slots:
    // Antes de cada corrida el resultado trae "h0", "t0", 7 y 8 y dice que hay
    // resultado: lo que el programa no da, queda.
    void resultados_data() {
        QTest::addColumn<QString>("programa");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<Archivos>("archivos"); // los de la carpeta antes de lanzar
        QTest::addColumn<QString>("linea");     // la que recibe el programa
        QTest::addColumn<QString>("resultado");
        const auto fila = [](const char* nombre, const char* programa, const char* codigo,
                             const Archivos& archivos, const char* linea, const char* resultado) {
            QTest::newRow(nombre) << QString(programa) << QString(codigo) << archivos
                                  << QString(linea) << QString(resultado);
        };
        const auto res = [](const QByteArray& contenido) {
            return Archivos{{"companero.res", contenido}};
        };
        fila("clima", "Clima", "10",
             res("ref-c\r\n 1500 \r\n 1178.6 \r\nHumedo\r\n 27.27 \r\n 20 \r\nTemplado\r\n"),
             ",C1,SinPresentacion", "sí: ref-c | 7 | Humedo Templado | 8");
        fila("tránsito", "Transito", "11", res("ref-n\r\n 250000 \r\n"), ",N1,SinPresentacion",
             "sí: ref-n | 250000 | h0 t0 | 8");
        fila("tránsito en selección", "Transito", "11", res("varek-9\r\n 3.5E+05 \r\n"),
             "varek-9,N1,SinPresentacion,Seleccionar", "sí: varek-9 | 350000 | h0 t0 | 8");
        fila("mr", "Mr", "12", res("ref-m\r\n 1234.5 \r\n"), ",M1,SinPresentacion",
             "sí: ref-m | 7 | h0 t0 | 1234.5");
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
        QFETCH(QString, programa);
        QFETCH(QString, codigo);
        QFETCH(Archivos, archivos);
        QFETCH(QString, linea);
        Escenario e;
        QVERIFY(Escenario::Instalar(programa));
        for (auto a = archivos.cbegin(); a != archivos.cend(); ++a)
            QVERIFY(EscribirBytes(a.key(), a.value()));
        ResultadoPrograma& r = e.modulo.ResultadoPrograma;
        r = {linea.endsWith(u"Seleccionar"), true, u"varek-9"_s, 7, u"h0"_s, u"t0"_s, 8};
        QElapsedTimer reloj;
        reloj.start();
        QCOMPARE(e.Lanzar(codigo), linea.section(u',', 1, 1));
        QVERIFY(reloj.elapsed() < 5000);
        QCOMPARE(Escenario::Registro(), QStringList{linea});
        QVERIFY(e.plataforma.ProgramasIniciados.value(0).endsWith(u'/' + programa + u' ' + linea));
        QTEST(Resumen(r), "resultado");
        // Ningún archivo de intercambio queda atrás.
        QCOMPARE(QDir::current().entryList({"?1", "?1.RES"}, QDir::Files), QStringList());
        QVERIFY(e.plataforma.Mensajes.isEmpty());
    }

    // Mientras el programa corre, la espera habla de él (no del diálogo de archivo
    // ocupado por "otro usuario"), y "&Cancelar" la abandona sin tomar resultado.
    void esperaDelProgramaConCancelar() {
        Escenario e;
        QVERIFY(Escenario::Instalar("Transito"));
        QVERIFY(EscribirBytes("companero.espera", "3000"));
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
        QCOMPARE(e.Lanzar("11"), u"N1"_s);
        QVERIFY(reloj.elapsed() < 2500);
        QCOMPARE(texto, u"Esperando el resultado de [Transito]..."_s);
        QVERIFY(!e.plataforma.VentanasModales.contains(u"Ocupado"_s));
        QVERIFY(!e.modulo.ResultadoPrograma.HayResultado);
    }

    void nombreTomadoPorOtroProceso() {
        Escenario e;
        QVERIFY(Escenario::Instalar("Clima"));
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
        QCOMPARE(e.Lanzar("10"), u"C2"_s);
        QCOMPARE(archivo, u"C1"_s);
        QCOMPARE(Escenario::Registro(), QStringList{",C2,SinPresentacion"});
        QCOMPARE(e.modulo.ResultadoPrograma.TextoClima2, u"Arido"_s);
        QVERIFY(ArchivoEnUso("C1")); // el del otro proceso sigue ahí

        // Sin abandonar: se espera a que el otro suelte C1 y se usa C1.
        bool seCerro = false;
        e.plataforma.Modales.enqueue([&](QDialog& d) {
            otro.closeWriteChannel();
            seCerro = QTest::qWaitFor([&] { return !d.isVisible(); }, 10000);
            return d.result();
        });
        QCOMPARE(e.Lanzar("10"), u"C1"_s);
        QVERIFY(seCerro);
        QVERIFY(otro.state() == QProcess::NotRunning || otro.waitForFinished(10000));
        QCOMPARE(Escenario::Registro().value(1), u",C1,SinPresentacion"_s);
        QCOMPARE(e.plataforma.VentanasModales, (QStringList{"Ocupado", "Ocupado"}));
    }

    void programaQueNoArrancaOCodigoDesconocido() {
        Escenario e;
        QVERIFY(EscribirBytes("M1.RES", "vieja\r\n 5 \r\n"));
        e.modulo.ResultadoPrograma.HayResultado = true;
        QCOMPARE(e.Lanzar("12"), u"M1"_s);
        QCOMPARE(e.Avisos(), QStringList{u"ERROR: No fue posible iniciar el programa [%1]..."_s.arg(
                                 NombreEjecutable(u"Mr"))});
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
        QCOMPARE(ventana.lb()->text(), u"QuePrograma"_s);
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

    // Los cuatro ejecutables reales toman X al arrancar y lo sostienen mientras
    // corren; terminados no dejan candado ni resultado.
    void ejecutablesSostienenSuArchivo_data() {
        QTest::addColumn<QString>("ruta");
        QTest::addColumn<QString>("intercambio");
        QTest::newRow("Clima") << VAREK9_CLIMA << "C1";
        QTest::newRow("Transito") << VAREK9_TRANSITO << "N1";
        QTest::newRow("Mr") << VAREK9_MR << "M1";
        QTest::newRow("Drenaje") << VAREK9_DRENAJE << "D1";
    }
    void ejecutablesSostienenSuArchivo() {
        QFETCH(QString, ruta);
        QFETCH(QString, intercambio);
        CarpetaGuionada c;
        QVERIFY(EscribirArchivoUnidad(NombreArchivoUnidad, {2, u"A"_s, 0, 100}).Ok);
        // Hereda la plataforma fuera de pantalla que fija el main de las pruebas.
        QProcess p;
        p.start(ruta, {u"varek-9,%1,SinPresentacion,Seleccionar"_s.arg(intercambio)});
        QVERIFY(p.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(ArchivoEnUso(intercambio), 15000);
        QTest::qWait(50);
        QCOMPARE(p.state(), QProcess::Running); // la ventana espera al usuario
        QVERIFY(ArchivoEnUso(intercambio));
        p.kill();
        QVERIFY(p.waitForFinished(10000));
        QVERIFY(!ArchivoEnUso(intercambio));
        QVERIFY(!QFileInfo::exists(intercambio + ".RES"));
    }

    // El archivo ausente, libre o tomado por otro que lo suelta tras unas pausas (-1:
    // nunca; lo suelta o se cancela en el diálogo). Se esperan las pausas y el diálogo.
    void espera_data() {
        QTest::addColumn<int>("archivo");    // 0 ausente, 1 libre, 2 tomado
        QTest::addColumn<qint64>("liberaA"); // ms de pausas
        QTest::addColumn<double>("azar");
        QTest::addColumn<bool>("cancelaEnDialogo");
        QTest::addColumn<QString>("esperado"); // pausas | ventanas
        const auto fila = [](const char* nombre, qint64 liberaA, const char* esperado,
                             int archivo = 2, double azar = 0.5, bool cancela = false) {
            QTest::newRow(nombre) << archivo << liberaA << azar << cancela << QString(esperado);
        };
        const char* cinco = "1000 1000 1000 1000 1000 | ";
        fila("ausente", -1, " | ", 0);
        fila("libre", -1, " | ", 1);
        fila("liberado en la 2ª", 1200, "1000 1000 | ");
        fila("azar 0: 0.5 s", 1200, "500 500 500 | ", 2, 0.0);
        fila("azar casi 1: 1.5 s", 1200, "1500 | ", 2, 0.9999);
        fila("liberado en la 5ª", 5000, cinco);
        fila("cancelado", -1, qPrintable(cinco + u"Ocupado"_s), 2, 0.5, true);
        fila("liberado con el diálogo", -1, qPrintable(cinco + u"Ocupado"_s));
    }
    void espera() {
        QFETCH(int, archivo);
        QFETCH(qint64, liberaA);
        QFETCH(double, azar);
        QFETCH(bool, cancelaEnDialogo);
        const QString ruta = Carpeta.filePath(QStringLiteral("espera%1.dat").arg(++Esperados));
        BloqueoArchivo otro(ruta);
        if (archivo > 0) QVERIFY(EscribirBytes(ruta, "datos"));
        if (archivo > 1) QVERIFY(otro.Bloquear());
        PlataformaGuionada plataforma;
        plataforma.ValorAzar = azar;
        if (liberaA >= 0) plataforma.Programar(liberaA, [&otro] { otro.Liberar(); });
        QString etiqueta;
        bool cancelarVisible = false, seCerroSolo = false;
        plataforma.Modales.enqueue([&](QDialog& d) {
            etiqueta = Texto(d, "Label1");
            cancelarVisible = Control<QPushButton>(d, "Cancelar")->isVisible();
            if (cancelaEnDialogo) {
                Control<QPushButton>(d, "Cancelar")->click();
            } else {
                otro.Liberar();
                seCerroSolo = QTest::qWaitFor([&] { return !d.isVisible(); }, 5000);
            }
            return d.result();
        });

        // Solo el diálogo cancela la espera.
        QCOMPARE(EsperarArchivoLibre(plataforma, ruta), cancelaEnDialogo);
        QStringList pausas;
        for (const int p : plataforma.Pausas)
            pausas << QString::number(p);
        QTEST(pausas.join(u' ') + u" | "_s + plataforma.VentanasModales.join(u' '), "esperado");
        if (!plataforma.VentanasModales.isEmpty()) {
            QCOMPARE(etiqueta, QStringLiteral(" El Archivo [%1]").arg(ruta));
            QVERIFY(cancelarVisible);
            QCOMPARE(seCerroSolo, !cancelaEnDialogo);
        }
        // Cancelar no libera nada.
        QCOMPARE(ArchivoEnUso(ruta), cancelaEnDialogo);
    }

    void dialogo() {
        const QString ruta = Carpeta.filePath("dialogo.dat");
        BloqueoArchivo otro(ruta);
        QVERIFY(otro.Bloquear());
        PlataformaGuionada plataforma;
        plataforma.ValorAzar = 0.25;
        Ocupado d(plataforma);
        d.PonerArchivo(ruta);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        // El rótulo con el archivo, en espera().
        QCOMPARE(Textos(d, {"Label4", "lbResultado"}), ruta + u"|0"_s);
        // La primera revisión encuentra el archivo tomado y deja la descripción; la
        // revisión periódica pide 2 s y cada vuelta, 0.5 a 1.5 s según el azar.
        QTRY_VERIFY(!Texto(d, "lbError").isEmpty());
        QVERIFY(d.isVisible());
        QCOMPARE(plataforma.Intervalos.mid(0, 2), (QList<int>{2000, 750}));

        // El doble clic esconde y muestra "Cancelar"; escondido, Escape no abandona.
        QTest::mouseDClick(&d, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!Control<QPushButton>(d, "Cancelar")->isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible() && !d.Cancelado());
        QTest::mouseDClick(&d, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(Control<QPushButton>(d, "Cancelar")->isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible() && d.Cancelado());
        QCOMPARE(Texto(d, "lbResultado"), QStringLiteral("1"));
    }

    // En la barra la espera no atiende eventos ni tiene diálogo: avisa, espera y
    // borra el aviso. Sin barra también espera.
    void avisoEnLaBarra_data() {
        QTest::addColumn<QString>("barra");
        QTest::newRow("estado") << "estado";
        QTest::newRow("etiqueta") << "etiqueta";
        QTest::newRow("ninguna") << "";
    }
    void avisoEnLaBarra() {
        QFETCH(QString, barra);
        const QString ruta = Carpeta.filePath("tabla.dat");
        BloqueoArchivo otro(ruta);
        QStatusBar estado;
        QLabel etiqueta;
        etiqueta.show();
        QStringList mensajes;
        connect(&estado, &QStatusBar::messageChanged, &estado,
                [&mensajes](const QString& m) { mensajes.append(m); });
        QWidget* aviso = barra == u"estado" ? static_cast<QWidget*>(&estado)
                         : barra.isEmpty()  ? nullptr
                                            : &etiqueta;
        PlataformaGuionada plataforma;
        // Libre: ni aviso ni pausa.
        QVERIFY(!EsperarArchivoLibre(plataforma, ruta, aviso, 1));
        QVERIFY(etiqueta.isVisible());
        QVERIFY(otro.Bloquear());
        plataforma.Programar(1200, [&otro] { otro.Liberar(); });
        QVERIFY(!EsperarArchivoLibre(plataforma, ruta, aviso, 1));
        QCOMPARE(plataforma.Pausas, (QList<int>{1000, 1000}));
        QVERIFY(plataforma.VentanasModales.isEmpty());
        if (barra == u"estado") {
            QCOMPARE(mensajes, (QStringList{QStringLiteral("La tabla [tabla.dat] está siendo "
                                                           "utilizada por otro usuario..."),
                                            QString()}));
        } else if (barra == u"etiqueta") {
            QVERIFY(!etiqueta.isVisible() && etiqueta.text().isEmpty());
        }
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmProgramas)
#include "PruebasfrmProgramas.moc"
