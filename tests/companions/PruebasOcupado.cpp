// Espera por un archivo compartido: archivo ausente, libre, tomado y liberado a
// tiempo o no, el diálogo Ocupado y el aviso en la barra. El reloj es el de la
// plataforma de prueba: la secuencia de pausas se verifica sin dormir.
#include "Pruebas.h"

#include "ApoyoVentanas.h"
#include "common/ArchivoEnUso.h"
#include "common/BloqueoArchivo.h"
#include "common/Ocupado.h"

#include <QPushButton>
#include <QStatusBar>

class PruebasOcupado : public QObject {
    Q_OBJECT

    QTemporaryDir Carpeta;
    int Archivos = 0;

private slots:
    void espera_data() {
        QTest::addColumn<bool>("existe");
        QTest::addColumn<bool>("tomado");
        QTest::addColumn<qint64>("liberaA"); // ms de pausas; -1 nunca
        QTest::addColumn<double>("azar");
        QTest::addColumn<bool>("cancelaEnDialogo");
        QTest::addColumn<QList<int>>("pausas");
        QTest::addColumn<QStringList>("modales");
        const auto fila = [](const char* nombre, bool existe, bool tomado, qint64 liberaA,
                             double azar, bool cancela, const QList<int>& pausas,
                             const QStringList& modales) {
            QTest::newRow(nombre) << existe << tomado << liberaA << azar << cancela << pausas
                                  << modales;
        };
        const QList<int> cinco{1000, 1000, 1000, 1000, 1000};
        fila("ausente", false, false, -1, 0.5, false, {}, {});
        fila("libre", true, false, -1, 0.5, false, {}, {});
        fila("liberado en la 2ª", true, true, 1200, 0.5, false, {1000, 1000}, {});
        fila("azar 0: 0.5 s", true, true, 1200, 0.0, false, {500, 500, 500}, {});
        fila("azar casi 1: 1.5 s", true, true, 1200, 0.9999, false, {1500}, {});
        fila("liberado en la 5ª", true, true, 5000, 0.5, false, cinco, {});
        fila("cancelado", true, true, -1, 0.5, true, cinco, {"Ocupado"});
        fila("liberado con el diálogo", true, true, -1, 0.5, false, cinco, {"Ocupado"});
    }
    void espera() {
        QFETCH(bool, existe);
        QFETCH(bool, tomado);
        QFETCH(qint64, liberaA);
        QFETCH(double, azar);
        QFETCH(bool, cancelaEnDialogo);
        const QString ruta = Carpeta.filePath(QStringLiteral("espera%1.dat").arg(++Archivos));
        BloqueoArchivo otro(ruta);
        if (existe) QVERIFY(EscribirBytes(ruta, "datos"));
        if (tomado) QVERIFY(otro.Bloquear());
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
        QTEST(plataforma.Pausas, "pausas");
        QTEST(plataforma.VentanasModales, "modales");
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
        QCOMPARE(Texto(d, "Label1"), QStringLiteral(" El Archivo [%1]").arg(ruta));
        QCOMPARE(Texto(d, "Label4"), ruta);
        QCOMPARE(Texto(d, "lbResultado"), QStringLiteral("0"));
        // La primera revisión encuentra el archivo tomado y deja la descripción; la
        // revisión periódica pide 2 s y cada vuelta, 0.5 a 1.5 s según el azar.
        QTRY_VERIFY(!Texto(d, "lbError").isEmpty());
        QVERIFY(d.isVisible());
        QCOMPARE(plataforma.Intervalos.mid(0, 2), (QList<int>{2000, 750}));

        // El doble clic esconde y muestra "Cancelar"; escondido, Escape no abandona.
        QTest::mouseDClick(&d, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!Control<QPushButton>(d, "Cancelar")->isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QVERIFY(!d.Cancelado());
        QTest::mouseDClick(&d, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(Control<QPushButton>(d, "Cancelar")->isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QVERIFY(d.Cancelado());
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
            QVERIFY(!etiqueta.isVisible());
            QVERIFY(etiqueta.text().isEmpty());
        }
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasOcupado)
#include "PruebasOcupado.moc"
