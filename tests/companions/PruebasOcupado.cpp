// Espera por un archivo compartido: archivo ausente, libre, tomado por otro
// proceso, liberado a tiempo, el diálogo Ocupado y el aviso en la barra.
#include "Pruebas.h"

#include "Archivos.h"
#include "PlataformaGuionada.h"
#include "common/ArchivoEnUso.h"
#include "common/BloqueoArchivo.h"
#include "common/Ocupado.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

QString Texto(QWidget& ventana, const char* nombre) {
    auto* l = ventana.findChild<QLabel*>(QString::fromLatin1(nombre));
    return l ? l->text() : QStringLiteral("<falta %1>").arg(QString::fromLatin1(nombre));
}

// Hijo que sostiene el candado de un archivo hasta que se cierra su entrada.
bool Sostener(QProcess& hijo, const QString& ruta) {
    hijo.start(QStringLiteral(VAREK9_HIJO_BLOQUEO), {ruta});
    while (hijo.waitForStarted(10000) && !hijo.canReadLine() && hijo.waitForReadyRead(10000)) {
    }
    return hijo.readLine().trimmed() == "BLOQUEADO";
}

void Soltar(QProcess& hijo) {
    hijo.closeWriteChannel();
    hijo.waitForFinished(10000);
}

} // namespace

class PruebasOcupado : public QObject {
    Q_OBJECT

    QTemporaryDir Carpeta;

private slots:
    void ausenteOLibreNoEspera() {
        PlataformaGuionada plataforma;
        QElapsedTimer reloj;
        reloj.start();
        QVERIFY(!EsperarArchivoLibre(plataforma, Carpeta.filePath("no-existe")));
        const QString libre = Carpeta.filePath("libre.dat");
        QVERIFY(EscribirBytes(libre, "datos"));
        QVERIFY(!EsperarArchivoLibre(plataforma, libre));
        QVERIFY(reloj.elapsed() < 400); // ni una pausa
        QVERIFY(plataforma.VentanasModales.isEmpty());
        QVERIFY(!ArchivoEnUso(libre));
    }

    void liberadoDentroDeLasCincoRevisiones() {
        PlataformaGuionada plataforma;
        const QString ruta = Carpeta.filePath("breve.dat");
        BloqueoArchivo otro(ruta);
        QVERIFY(otro.Bloquear());
        // La espera atiende eventos: el candado se suelta durante las revisiones.
        QTimer::singleShot(1200, [&otro] { otro.Liberar(); });
        QVERIFY(!EsperarArchivoLibre(plataforma, ruta));
        QVERIFY(plataforma.VentanasModales.isEmpty());
        QVERIFY(!otro.Bloqueado());
    }

    void cancelarConOtroProcesoSosteniendo() {
        const QString ruta = Carpeta.filePath("tomado.dat");
        QProcess hijo;
        QVERIFY(Sostener(hijo, ruta));
        PlataformaGuionada plataforma;
        QString etiqueta, titulo;
        bool cancelarVisible = false;
        plataforma.Modales.enqueue([&](QDialog& d) {
            etiqueta = Texto(d, "Label1");
            titulo = d.windowTitle();
            auto* cancelar = d.findChild<QPushButton*>(QStringLiteral("Cancelar"));
            cancelarVisible = cancelar->isVisible();
            cancelar->click();
            return d.result();
        });
        QElapsedTimer reloj;
        reloj.start();
        QVERIFY(EsperarArchivoLibre(plataforma, ruta));
        // Cinco pausas de 0.5 a 1.5 segundos antes del diálogo.
        QVERIFY(reloj.elapsed() >= 2400);
        QCOMPARE(plataforma.VentanasModales, QStringList{"Ocupado"});
        QCOMPARE(titulo, QStringLiteral("Chequeo de Concurrencia de Archivos"));
        QCOMPARE(etiqueta, QStringLiteral(" El Archivo [%1]").arg(ruta));
        QVERIFY(cancelarVisible);
        QVERIFY(ArchivoEnUso(ruta)); // cancelar no libera nada
        Soltar(hijo);
        QVERIFY(!ArchivoEnUso(ruta));
    }

    void elDialogoSeCierraCuandoSeLibera() {
        const QString ruta = Carpeta.filePath("largo.dat");
        QProcess hijo;
        QVERIFY(Sostener(hijo, ruta));
        PlataformaGuionada plataforma;
        bool seCerroSolo = false;
        plataforma.Modales.enqueue([&](QDialog& d) {
            Soltar(hijo);
            seCerroSolo = QTest::qWaitFor([&] { return !d.isVisible(); }, 5000);
            return d.result();
        });
        QVERIFY(!EsperarArchivoLibre(plataforma, ruta));
        QVERIFY(seCerroSolo);
    }

    void dialogo() {
        const QString ruta = Carpeta.filePath("dialogo.dat");
        BloqueoArchivo otro(ruta);
        QVERIFY(otro.Bloquear());
        Ocupado d;
        d.PonerArchivo(ruta);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(Texto(d, "Label1"), QStringLiteral(" El Archivo [%1]").arg(ruta));
        QCOMPARE(Texto(d, "Label2"), QStringLiteral("esta siendo ocupado por otro usuario"));
        QCOMPARE(Texto(d, "Label3"), QStringLiteral("espere un momento por favor..."));
        QCOMPARE(Texto(d, "Label4"), ruta);
        QCOMPARE(Texto(d, "lbResultado"), QStringLiteral("0"));
        auto* cancelar = d.findChild<QPushButton*>(QStringLiteral("Cancelar"));
        QCOMPARE(cancelar->text(), QStringLiteral("&Cancelar"));
        // La primera revisión encuentra el archivo tomado y deja la descripción.
        QTRY_VERIFY(!Texto(d, "lbError").isEmpty());
        QVERIFY(d.isVisible());

        // El doble clic esconde y muestra "Cancelar"; escondido, Escape no abandona.
        QTest::mouseDClick(&d, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!cancelar->isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QVERIFY(!d.Cancelado());
        QTest::mouseDClick(&d, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(cancelar->isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QVERIFY(d.Cancelado());
        QCOMPARE(Texto(d, "lbResultado"), QStringLiteral("1"));

        // Liberado mientras se muestra: el diálogo se cierra solo y no hubo cancelación.
        Ocupado otroDialogo;
        otroDialogo.PonerArchivo(ruta);
        otroDialogo.show();
        QTest::qWait(100);
        QVERIFY(otroDialogo.isVisible());
        otro.Liberar();
        QTRY_VERIFY_WITH_TIMEOUT(!otroDialogo.isVisible(), 4000);
        QVERIFY(!otroDialogo.Cancelado());
    }

    void avisoEnLaBarra() {
        const QString ruta = Carpeta.filePath("tabla.dat");
        auto otro = std::make_unique<BloqueoArchivo>(ruta);
        QVERIFY(otro->Bloquear());
        // En la barra la espera no atiende eventos: suelta el candado otro hilo.
        std::thread soltar([&otro] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1200));
            otro->Liberar();
        });
        QStatusBar barra;
        QStringList mensajes;
        connect(&barra, &QStatusBar::messageChanged, &barra,
                [&mensajes](const QString& m) { mensajes.append(m); });
        PlataformaGuionada plataforma;
        QVERIFY(!EsperarArchivoLibre(plataforma, ruta, &barra, 1));
        soltar.join();
        QCOMPARE(mensajes,
                 (QStringList{QStringLiteral("La tabla [tabla.dat] está siendo utilizada por "
                                             "otro usuario..."),
                              QString()}));
        QVERIFY(plataforma.VentanasModales.isEmpty());

        // Una etiqueta se muestra durante la espera y se esconde al final; sin barra
        // también se espera.
        QLabel etiqueta;
        etiqueta.show();
        QVERIFY(!EsperarArchivoLibre(plataforma, ruta, &etiqueta, 1)); // ya libre: nada
        QVERIFY(etiqueta.isVisible());
        QVERIFY(otro->Bloquear());
        std::thread otraVez([&otro] {
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            otro->Liberar();
        });
        QVERIFY(!EsperarArchivoLibre(plataforma, ruta, &etiqueta, 1));
        otraVez.join();
        QVERIFY(!etiqueta.isVisible());
        QVERIFY(etiqueta.text().isEmpty());
        QVERIFY(otro->Bloquear());
        std::thread sinBarra([&otro] {
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            otro->Liberar();
        });
        QVERIFY(!EsperarArchivoLibre(plataforma, ruta, nullptr, 1));
        sinBarra.join();
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasOcupado)
#include "PruebasOcupado.moc"
