// Copia de recuperación y bloqueo de un proyecto abierto.
#include "Pruebas.h"

#include "Archivos.h"

#include "project/SesionProyecto.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

namespace {

const QDateTime Ahora(QDate(2026, 12, 6), QTime(10, 0));

} // namespace

class PruebasSesionProyecto : public QObject {
    Q_OBJECT
private slots:
    // Un bloqueo detiene solo si es de otra sesión viva: otro proceso que corre en
    // esta máquina, u otra máquina, y nunca si tiene más de 12 horas.
    void bloqueoAjenoVivo_data() {
        QTest::addColumn<QString>("maquina");
        QTest::addColumn<qint64>("proceso");
        QTest::addColumn<int>("horasAtras");
        QTest::addColumn<bool>("vivo");
        QTest::addColumn<bool>("ajeno");
        QTest::newRow("otro-proceso-vivo") << "pc1" << qint64(77) << 1 << true << true;
        QTest::newRow("otro-proceso-muerto") << "pc1" << qint64(77) << 1 << false << false;
        QTest::newRow("este-proceso") << "pc1" << qint64(10) << 1 << true << false;
        QTest::newRow("otra-maquina") << "pc2" << qint64(10) << 11 << false << true;
        QTest::newRow("otra-maquina-vieja") << "PC2" << qint64(77) << 13 << true << false;
        QTest::newRow("mayusculas-misma-maquina") << "PC1" << qint64(77) << 1 << false << false;
        QTest::newRow("viejo-y-vivo") << "pc1" << qint64(77) << 13 << true << false;
    }
    void bloqueoAjenoVivo() {
        QFETCH(QString, maquina);
        QFETCH(qint64, proceso);
        QFETCH(int, horasAtras);
        QFETCH(bool, vivo);
        QFETCH(bool, ajeno);
        const DuenoBloqueo esta{"ana", "pc1", 10, Ahora};
        const DuenoBloqueo dueno{"luis", maquina, proceso, Ahora.addSecs(-horasAtras * 3600)};
        QCOMPARE(BloqueoAjenoVivo(dueno, esta, [&](qint64) { return vivo; }), ajeno);
    }

    void bloqueoEnArchivo() {
        QTemporaryDir dir;
        const QString proyecto = dir.filePath("Vía 3");
        QVERIFY(EscribirBytes(proyecto + ".VK9", "[Proyecto]\r\n"));
        QVERIFY(!LeerBloqueo(proyecto));
        QVERIFY(TomarBloqueo(proyecto, Ahora));
        // Junto al archivo real, con su extensión.
        QVERIFY(QFile::exists(proyecto + ".VK9.lock"));
        const std::optional<DuenoBloqueo> d = LeerBloqueo(proyecto);
        QVERIFY(d);
        QCOMPARE(d->Proceso, QCoreApplication::applicationPid());
        QCOMPARE(d->Maquina, QSysInfo::machineHostName());
        QCOMPARE(d->Fecha, Ahora);
        // El propio no es ajeno; escrito por otro proceso vivo de esta máquina, sí.
        QVERIFY(!BloqueoAjeno(proyecto, Ahora));
        QVERIFY(EscribirBytes(proyecto + ".VK9.lock",
                              "Usuario=luis\nMaquina=" + QSysInfo::machineHostName().toUtf8() +
                                  "\nProceso=1\nFecha=2026-12-06T09:00:00\n"));
        const std::optional<DuenoBloqueo> otro = BloqueoAjeno(proyecto, Ahora);
        QVERIFY(otro);
        QCOMPARE(TextoBloqueoAjeno("Vía 3", *otro),
                 QStringLiteral("El proyecto [Vía 3] está abierto por luis en %1 desde 06/12/2026 "
                                "09:00.")
                     .arg(QSysInfo::machineHostName()));
        // Soltar no borra el bloqueo de otro; uno ilegible no detiene.
        SoltarBloqueo(proyecto);
        QVERIFY(QFile::exists(proyecto + ".VK9.lock"));
        QVERIFY(EscribirBytes(proyecto + ".VK9.lock", "Proceso=x\n"));
        QVERIFY(!BloqueoAjeno(proyecto, Ahora));
        QVERIFY(TomarBloqueo(proyecto, Ahora));
        SoltarBloqueo(proyecto);
        QVERIFY(!QFile::exists(proyecto + ".VK9.lock"));
    }

    void procesoVivo() {
        QVERIFY(ProcesoVivo(QCoreApplication::applicationPid()));
        QVERIFY(!ProcesoVivo(0));
        QVERIFY(!ProcesoVivo(0x7ffffff0));
    }

    void copiaDeRecuperacion() {
        QTemporaryDir dir;
        ModuloVarek9 m;
        m.ArchivoProyecto = dir.filePath("Obra");
        m.Proyecto.Nombre = QStringLiteral("Nombre sin guardar");
        // Sin el proyecto en disco, la copia siempre es más reciente.
        QVERIFY(!HayRecuperacionReciente(m.ArchivoProyecto));
        QVERIFY(EscribirRecuperacion(m).Ok);
        QVERIFY(!m.ProyectoModificado);
        QCOMPARE(LeerBytes(m.ArchivoProyecto + ".vk9.recuperar"), TextoProyecto(m.Proyecto));
        QVERIFY(HayRecuperacionReciente(m.ArchivoProyecto));
        // Un proyecto guardado después de la copia gana.
        QVERIFY(EscribirBytes(m.ArchivoProyecto + ".vk9", "[Proyecto]\r\n"));
        const auto fechar = [&](int segundos) {
            QFile copia(m.ArchivoProyecto + ".vk9.recuperar");
            return copia.open(QIODevice::ReadWrite) &&
                   copia.setFileTime(QDateTime::currentDateTime().addSecs(segundos),
                                     QFileDevice::FileModificationTime);
        };
        QVERIFY(fechar(-60));
        QVERIFY(!HayRecuperacionReciente(m.ArchivoProyecto));
        QVERIFY(fechar(60));
        QVERIFY(HayRecuperacionReciente(m.ArchivoProyecto));
        ModuloVarek9 otro;
        otro.ArchivoProyecto = m.ArchivoProyecto;
        QVERIFY(!CargarRecuperacion(otro).HayAviso);
        QCOMPARE(otro.Proyecto.Nombre, QStringLiteral("Nombre sin guardar"));
        QVERIFY(otro.ProyectoModificado);
        BorrarRecuperacion(m.ArchivoProyecto);
        QVERIFY(!QFile::exists(m.ArchivoProyecto + ".vk9.recuperar"));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasSesionProyecto)
#include "PruebasSesionProyecto.moc"
