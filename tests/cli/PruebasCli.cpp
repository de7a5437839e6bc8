// varek9-cli como lo usa una persona: salida, códigos de salida y mensajes.
#include "Pruebas.h"

#include "Archivos.h"
#include "Corrida.h"

#include "alternatives/Diseno.h"
#include "alternatives/Reportes.h"
#include "common/Numeros.h"
#include "project/ArchivoProyecto.h"
#include "project/Solucionador.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>

class PruebasCli : public QObject {
    Q_OBJECT
private slots:
    // zr y sn escriben con 17 cifras el número del núcleo (sus valores, en PruebasSolucionador).
    void calculos_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<double>("esperado");
        const double zr = -CalcularZr(0.4);
        const double mr = 2555 * std::pow(10.0, 0.64);
        QTest::newRow("zr") << QStringList{"zr", "90"} << CalcularZr(0.4);
        // La confiabilidad pasa por sus límites: 120 es 99.
        QTest::newRow("zr limitado") << QStringList{"zr", " 120 "} << CalcularZr(0.49);
        QTest::newRow("sn") << QStringList{"sn",   "10000", Formato17(zr),
                                           "0.44", "2.2",   Formato17(mr)}
                            << NumeroEstructural(10000, zr, 0.44, 2.2, mr);
    }
    void calculos() {
        QFETCH(QStringList, args);
        QFETCH(double, esperado);
        const Corrida c = Correr(args);
        QCOMPARE(c.Codigo, 0);
        QCOMPARE(c.Salida, Formato17(esperado) + u'\n');
    }

    // Toda orden mal dada o que no puede terminar: su código, nada en la salida, el
    // porqué en los errores y ningún archivo nuevo. En la carpeta hay un proyecto
    // (BASE), una tabla de unidades (u.txt), unas notas y un reporte (informe).
    void errores_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QString>("aviso");
        const auto fila = [](const char* nombre, QStringList args, int codigo = 2,
                             const QString& aviso = QString()) {
            QTest::newRow(nombre) << args << codigo << aviso;
        };
        fila("nada", {});
        fila("orden desconocida", {"diseñar"});
        fila("zr sin valor", {"zr"});
        fila("zr no numérico", {"zr", "noventa"});
        fila("zr con resto", {"zr", "90abc"});
        fila("sn incompleto", {"sn", "1", "2"});
        fila("sn módulo cero", {"sn", "1000", "-1", ".44", "2.2", "0"});
        fila("guardar sin salida", {"guardar", "a.vk9"});
        fila("guardar sin entrada", {"guardar", "/no/existe.vk9", "x.vk9"});
        fila("guardar lo que no es un proyecto", {"guardar", "notas.vk9", "otra.vk9"}, 2,
             "no es un Proyecto");
        fila("guardar sin poder escribir", {"guardar", "BASE", "BASE/no/se/puede.vk9"}, 1,
             "Se presentó un error en el sistema...");
        fila("reporte 5", {"reporte", "5", "BASE"});
        fila("reporte sin salida", {"reporte", "1", "BASE", "--salida"});
        fila("reporte sin carpeta", {"reporte", "1", "BASE", "--salida", "no/hay/carpeta"}, 1);
        fila("importar sin salida", {"importar", "a.vk9", "u.txt"});
        fila("importar sin proyecto", {"importar", "/no/hay.vk9", "u.txt", "s.vk9"});
        fila("importar sin unidades", {"importar", "BASE", "/no/hay.txt", "s.vk9"});
        fila("importar sin poder guardar", {"importar", "BASE", "u.txt", "/no/hay/s.vk9"}, 1);
        fila("exportar de más", {"exportar", "a.vk9", "b.vk9"});
        fila("exportar sin proyecto", {"exportar", "/no/hay.vk9"});
        fila("texto sin reporte", {"texto"});
        fila("texto de un reporte ausente", {"texto", "falta"});
        fila("dos con fecha mala", {"dos", "informe", "--fecha", "2026-12-05"});
        fila("dos con copias malas", {"dos", "informe", "--copias", "x"});
        fila("dos con opción desconocida", {"dos", "informe", "--otra", "1"});
        fila("pdf de un reporte ausente", {"pdf", "falta", "x.pdf"});
        fila("diagrama de otra extensión", {"diagrama", "BASE", "--salida", "d.txt"});
        fila("diagrama sin salida", {"diagrama", "BASE"});
        fila("diagrama sin proyecto", {"diagrama", "falta.vk9", "--salida", "d.svg"});
    }
    void errores() {
        QFETCH(QStringList, args);
        QFETCH(int, codigo);
        QFETCH(QString, aviso);
        QTemporaryDir dir;
        const QString base = dir.filePath("base.vk9");
        QVERIFY(QFile::copy(QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9"), base));
        QVERIFY(EscribirBytes(dir.filePath("u.txt"), "A\tuno\n"));
        QVERIFY(EscribirBytes(dir.filePath("notas.vk9"), "notas\r\n"));
        QVERIFY(EscribirBytes(dir.filePath("informe"), ReporteDosPaginas()));
        const QStringList antes = QDir(dir.path()).entryList(QDir::Files);
        const Corrida c = Correr(args.replaceInStrings(QStringLiteral("BASE"), base), dir.path());
        QCOMPARE(c.Codigo, codigo);
        QVERIFY(c.Salida.isEmpty());
        QVERIFY(c.Errores.contains(aviso) && !c.Errores.isEmpty());
        QFile::remove(dir.filePath("Imprime.set")); // la configuración por defecto sí queda
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), antes);
    }

    void ayuda() {
        const Corrida c = Correr({"--ayuda"});
        QCOMPARE(c.Codigo, 0);
        // El texto de la ayuda se lee en main.cpp: aquí, que sale entero y sin errores.
        QVERIFY(c.Salida.startsWith(QStringLiteral("Uso: varek9-cli")));
        QVERIFY(c.Salida.endsWith(QStringLiteral("o la salida es la entrada.\n")));
        QVERIFY(c.Errores.isEmpty());
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
        // La clave desconocida se salta, y se dice.
        QCOMPARE(c.Errores, QStringLiteral("CARGAR PROYECTO: El Proyecto [%1] tiene claves o "
                                           "marcadores fuera de lugar en la línea 13: se "
                                           "saltaron...\n")
                                .arg(dir.filePath("entrada")));
        ModuloVarek9 m;
        QVERIFY(LeerProyectoDesde(m, entrada).HayAviso);
        QCOMPARE(LeerBytes(salida), TextoProyecto(m.Proyecto));

        // Sobre sí mismo: antes, la copia ".bak" de lo que se leyó con avisos (su
        // contenido, en PruebasArchivoProyecto), y se dice.
        const Corrida encima = Correr({"guardar", entrada, entrada});
        QCOMPARE(encima.Codigo, 0);
        QVERIFY(encima.Errores.endsWith(
            QStringLiteral("GUARDAR PROYECTO: %1\n").arg(TextoRespaldo(entrada + ".bak"))));
        QVERIFY(QFile::exists(entrada + QStringLiteral(".bak")));
    }

    void diseno() {
        // La salida por unidad coincide con el diseño del núcleo en el mismo orden.
        const Corrida c = Correr({"diseno", QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9")});
        QCOMPARE(c.Codigo, 0);
        const QStringList lineas = c.Salida.split(u'\n', Qt::SkipEmptyParts);
        ModuloVarek9 m;
        LeerProyectoDesde(m, QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9"));
        QCOMPARE(lineas.size(), m.Proyecto.NumeroUH + 1);
        EstadoDiseno e;
        DisenarProyecto(m, e, [&](int i) {
            const QStringList campos = lineas[i - 1].split(u'\t');
            QCOMPARE(campos.size(), 3 + 6 * 6);
            QCOMPARE(campos[0], QString::number(i));
            QCOMPARE(campos[1], Formato17(m.Proyecto.UH[i].SNRequerido));
            QCOMPARE(campos[2], QString::number(m.Proyecto.UH[i].AlternativaSeleccionada));
            for (int n = 1; n <= 6; ++n) {
                QCOMPARE(campos[3 + 6 * (n - 1)], m.AlternativaUH[n].Aplicable ? "1" : "0");
                QCOMPARE(campos[8 + 6 * (n - 1)], Formato17(e.CostoAlternativa[n]));
            }
        });
        const QStringList total = lineas.last().split(u'\t');
        QCOMPARE(total.value(0), QStringLiteral("TOTAL"));
        QCOMPARE(total.size(), 7);
        QCOMPARE(total[1], Formato17(e.CostoTotal[1]));
    }

    void reporte() {
        QTemporaryDir dir;
        const DirectorioActual cd(dir.path());
        // Con la extensión en mayúsculas el proyecto se llama "Obra", como en el núcleo.
        QVERIFY(QFile::copy(QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9"), "Obra.VK9"));
        // Sin --salida se reserva el nombre en la carpeta actual (los restos de una corrida
        // anterior se reutilizan) y se escribe en la salida; los bytes son los del núcleo.
        ModuloVarek9 m;
        m.ArchivoProyecto = QStringLiteral("Obra");
        LeerProyectoDesde(m, QStringLiteral("Obra.VK9"));
        for (int n = 1; n <= 4; ++n) {
            const Corrida c = Correr({"reporte", QString::number(n), "Obra.VK9"});
            QCOMPARE(c.Codigo, 0);
            QCOMPARE(c.Salida, QStringLiteral("r00\n"));
            EstadoDiseno e;
            QVERIFY(EscribirReporte(n, m, e, QStringLiteral("nucleo.txt")).Ok);
            QCOMPARE(LeerBytes("r00"), LeerBytes("nucleo.txt"));
        }
        const Corrida conSalida = Correr({"reporte", "4", "Obra.VK9", "--salida", "cuatro.txt"});
        QCOMPARE(conSalida.Codigo, 0);
        QVERIFY(conSalida.Salida.isEmpty());
        QCOMPARE(LeerBytes("cuatro.txt"), LeerBytes("r00"));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCli)
#include "PruebasCli.moc"
