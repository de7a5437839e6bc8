// varek9-cli como lo usa una persona: salida, códigos de salida y mensajes.
#include "Pruebas.h"

#include "Archivos.h"

#include "app/ArchivoProyecto.h"
#include "app/Solucionador.h"
#include "common/Numeros.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

namespace {

struct Corrida {
    int Codigo = -1;
    QString Salida;
    QString Errores;
};

Corrida Correr(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VAREK9_CLI), args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace

class PruebasCli : public QObject {
    Q_OBJECT
private slots:
    void zr() {
        for (double r : {50.0, 70.0, 90.0, 99.0, 99.5}) {
            const Corrida c = Correr({QStringLiteral("zr"), QString::number(r)});
            QCOMPARE(c.Codigo, 0);
            QCOMPARE(c.Salida, Formato17(CalcularZr(r / 100 - 0.5)) + u'\n');
        }
        // Con el límite de la confiabilidad: 120 es 99 y 10 es 50.
        QCOMPARE(Correr({"zr", "120"}).Salida, Formato17(CalcularZr(0.49)) + u'\n');
        QCOMPARE(Correr({"zr", "10"}).Salida, QStringLiteral("0\n"));
        QVERIFY(Correr({"zr", "90"}).Salida.startsWith(QStringLiteral("1.281")));
    }

    void sn() {
        const double zr = -CalcularZr(0.4);
        const double mr = 2555 * std::pow(10.0, 0.64);
        const Corrida c = Correr({"sn", "10000", Formato17(zr), "0.44", "2.2", Formato17(mr)});
        QCOMPARE(c.Codigo, 0);
        QCOMPARE(c.Salida, Formato17(NumeroEstructural(10000, zr, 0.44, 2.2, mr)) + u'\n');
        QVERIFY(c.Salida.startsWith(QStringLiteral("1.33")));
    }

    void argumentosMalos_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nada") << QStringList{};
        QTest::newRow("orden desconocida") << QStringList{"diseñar"};
        QTest::newRow("zr sin valor") << QStringList{"zr"};
        QTest::newRow("zr no numérico") << QStringList{"zr", "noventa"};
        QTest::newRow("zr con resto") << QStringList{"zr", "90abc"};
        QTest::newRow("sn incompleto") << QStringList{"sn", "1", "2"};
        QTest::newRow("sn módulo cero") << QStringList{"sn", "1000", "-1", ".44", "2.2", "0"};
        QTest::newRow("guardar sin salida") << QStringList{"guardar", "a.vk9"};
        QTest::newRow("entrada ausente") << QStringList{"guardar", "/no/existe.vk9", "x.vk9"};
    }
    void argumentosMalos() {
        QFETCH(QStringList, args);
        const Corrida c = Correr(args);
        QCOMPARE(c.Codigo, 2);
        QVERIFY(c.Salida.isEmpty());
        QVERIFY(!c.Errores.isEmpty());
    }

    void ayuda() {
        const Corrida c = Correr({"--ayuda"});
        QCOMPARE(c.Codigo, 0);
        QVERIFY(c.Salida.contains(QStringLiteral("Uso: varek9-cli")));
        QVERIFY(c.Salida.contains(QStringLiteral("guardar ENTRADA.vk9 SALIDA.vk9")));
    }

    void guardar() {
        QTemporaryDir dir;
        const QString entrada = dir.filePath("entrada.vk9");
        const QString salida = dir.filePath("salida.vk9");
        // Finales LF, valores por derivar y una clave desconocida.
        QVERIFY(EscribirBytes(entrada, "[Proyecto]\n 1 \nV\xed"
                                       "a\n 4 \n 90 \n 9 \n 1 \n 10 \n 1 \n[InicioUH]\n 11 \nT1\n"
                                       " 77 \nx\n 33 \n 5 \n[FinUH]\n[FinProyecto]\n"));
        const Corrida c = Correr({"guardar", entrada, salida});
        QCOMPARE(c.Codigo, 0);
        QVERIFY(c.Errores.isEmpty());
        ModuloVarek9 m;
        QVERIFY(!LeerProyectoDesde(m, entrada).HayAviso);
        QCOMPARE(LeerBytes(salida), TextoProyecto(m.Proyecto));
        QVERIFY(LeerBytes(salida).contains("\r\n 5 \r\n 1.28"));
    }

    void guardarConDatoInvalido() {
        QTemporaryDir dir;
        const QString entrada = dir.filePath("danado.vk9");
        QVERIFY(EscribirBytes(entrada, "[Proyecto]\r\n 4 \r\nnoventa\r\n[FinProyecto]\r\n"));
        const Corrida c = Correr({"guardar", entrada, dir.filePath("salida.vk9")});
        QCOMPARE(c.Codigo, 0);
        QVERIFY(c.Errores.contains(QStringLiteral("valor no numérico en la línea 3")));
        QVERIFY(QFile::exists(dir.filePath("salida.vk9")));
    }

    void guardarFalla() {
        QTemporaryDir dir;
        const QString entrada = dir.filePath("e.vk9");
        QVERIFY(EscribirBytes(entrada, "[Proyecto]\r\n[FinProyecto]\r\n"));
        const Corrida c =
            Correr({"guardar", entrada, entrada + QStringLiteral("/no/se/puede.vk9")});
        QCOMPARE(c.Codigo, 1);
        QVERIFY(c.Errores.contains(QStringLiteral("Se presentó un error en el sistema...")));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCli)
#include "PruebasCli.moc"
