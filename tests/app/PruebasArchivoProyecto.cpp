// Archivo de proyecto: bytes exactos, ida y vuelta, reglas de lectura, archivos dañados
// y el archivo del último proyecto.
#include "Pruebas.h"

#include "Archivos.h"
#include "Muestras.h"

#include "app/ArchivoProyecto.h"
#include "app/Solucionador.h"
#include "common/Texto.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray Archivo(const QStringList& lineas) {
    return CodificarAnsi(QString(lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

// Encabezado mínimo seguido de las líneas dadas y del cierre del proyecto.
QByteArray ConEncabezado(const QStringList& cuerpo) {
    QStringList l = {QStringLiteral("[Proyecto]"), QStringLiteral(" 1 "), QStringLiteral("P")};
    l += cuerpo;
    l += QStringLiteral("[FinProyecto]");
    return Archivo(l);
}

} // namespace

class PruebasArchivoProyecto : public QObject {
    Q_OBJECT
private slots:
    void bytesExactos() {
        Proyecto p;
        p.Nombre = QStringLiteral("Vía Rural El Páramo");
        p.Descripcion = QStringLiteral("Tramo 1¦Tramo 2");
        p.Ubicacion = QStringLiteral("Boyacá");
        p.Confiabilidad = 90;
        p.Zr = 1.282;
        p.ServiciabilidadFinal = 2.5;
        p.ConfiabilidadTransito = true;
        p.So = 0.49;
        p.NumeroUH = 1;
        // clang-format off
        p.UH[1] = {"T-01", "", "1", "A", 0, 1250.5, 6, 150000, "Humedo", "Frio", 4.5, "Montañoso",
                   "AFR-1", 15, 0, 2.0458, 3, {"TPD 250", "Crecimiento 3%"}, {}, {"CBR 4.5"}};
        // clang-format on
        p.CostosUnitarios = {0,    12500.5, 95000, -0.5, 1e15, 1.5e-7, 0.0001, 123456789012345678.0,
                             0.44, 0,       0,     7};
        // Archivo escrito a mano según el formato; ver tests/datos/LEEME.md.
        const QByteArray esperado = LeerBytes(QStringLiteral(VAREK9_DATOS_PRUEBA "/pequeno.vk9"));
        QVERIFY(!esperado.isEmpty());
        const QByteArray bytes = TextoProyecto(p);
        QCOMPARE(bytes, esperado);
        // Windows-1252: la "í" es un byte y el "¦" también.
        QVERIFY(bytes.contains("V\xed"
                               "a Rural"));
        QVERIFY(bytes.contains("Tramo 1\xa6Tramo 2"));
    }

    void proyectoSinUnidades() {
        Proyecto p;
        const QString texto = DecodificarAnsi(TextoProyecto(p));
        QVERIFY(texto.contains(QStringLiteral("\r\n 9 \r\n 0 \r\n 100 \r\n 11 \r\n[InicioCU]")));
        QVERIFY(texto.endsWith(QStringLiteral("[FinCU]\r\n[FinProyecto]\r\n")));
        QVERIFY(texto.contains(QStringLiteral("\r\n 7 \r\nF\r\n")));
    }

    void idaYVuelta_data() {
        QTest::addColumn<int>("unidades");
        QTest::newRow("ninguna") << 0;
        QTest::newRow("tres") << 3;
        QTest::newRow("mil quinientas") << 1500;
    }
    void idaYVuelta() {
        QFETCH(int, unidades);
        ModuloVarek9 m;
        Proyecto& p = m.Proyecto;
        LlenarProyectoDeMuestra(p, unidades, 3);
        const Proyecto original = p;

        m.ProyectoModificado = true;
        const QByteArray bytes = TextoProyecto(p);
        ModuloVarek9 leido;
        leido.Proyecto.Nombre = QStringLiteral("anterior");
        const AvisoLectura aviso = LeerProyectoDatos(leido, bytes, QStringLiteral("x"));
        QVERIFY2(!aviso.HayAviso, qPrintable(aviso.Texto));
        const Proyecto& q = leido.Proyecto;
        QCOMPARE(q.Nombre, original.Nombre);
        QCOMPARE(q.Descripcion, original.Descripcion);
        QCOMPARE(q.Ubicacion, original.Ubicacion);
        QCOMPARE(q.Confiabilidad, 85.0);
        QCOMPARE(q.Zr, original.Zr);
        QCOMPARE(q.ServiciabilidadFinal, 1.8);
        QCOMPARE(q.ConfiabilidadTransito, true);
        QCOMPARE(q.So, 0.49);
        QCOMPARE(q.CostosUnitarios, original.CostosUnitarios);
        QCOMPARE(q.NumeroUH, unidades);
        QVERIFY(q.CapacidadUH() >= unidades);
        for (int i = 1; i <= unidades; ++i)
            QVERIFY2(q.UH[i] == original.UH[i], qPrintable(QStringLiteral("unidad %1").arg(i)));
        QCOMPARE(leido.ProyectoModificado, false);
        // Escribir lo leído da exactamente los mismos bytes.
        QCOMPARE(TextoProyecto(q), bytes);
    }

    void lineasDeListaSeRecortan() {
        ModuloVarek9 m;
        m.Proyecto.NumeroUH = 1;
        m.Proyecto.UH[1].N82 = QStringList{QStringLiteral("  con blancos  "), QStringLiteral("x")};
        const QByteArray bytes = TextoProyecto(m.Proyecto);
        QVERIFY(bytes.contains("\r\n    con blancos  \r\n  x\r\n"));
        LeerProyectoDatos(m, bytes, QStringLiteral("x"));
        QCOMPARE(m.Proyecto.UH[1].N82,
                 (QStringList{QStringLiteral("con blancos"), QStringLiteral("x")}));
    }

    void clavesDesconocidasYMarcadores() {
        ModuloVarek9 m;
        const QByteArray datos = Archivo(
            {"basura antes", "[Proyecto]", " 01 ", "no es la clave 1", " 1 ",
             "  Nombre con blancos ", "77", "valor ignorado", "  4  ", "  95.5 xyz", " 7 ", " v ",
             " 9 ", " 2 ", " 10 ", " 2 ", "[InicioUH]", " 11 ", "B", " 99 ", "ignorado", " 33 ",
             "8", "[FinUH]", " 10 ", " 1 ", "[InicioUH]", " 11 ", "A", " 33 ", "3", " 50 ", " 4 ",
             "[InicioN82]", "  uno", "  dos", "[FinN82]", " 51 ", " 1 ", "[InicioCLIMA]", "  c",
             "[FinCLIMA]", "[FinUH]",
             // Un segundo bloque de la misma unidad solo cambia sus claves.
             " 10 ", " 1 ", "[InicioUH]", " 33 ", "6.5", "[FinUH]", " 100 ", " 13 ", "[InicioCU]",
             "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "[FinCU]", " 55 ",
             "[FinProyecto]", " 2 ", "no se lee: la sección terminó", "[Proyecto]", " 3 ",
             "Ubicación de la segunda sección", "[FinProyecto]"});
        const AvisoLectura aviso = LeerProyectoDatos(m, datos, QStringLiteral("P"));
        QVERIFY2(!aviso.HayAviso, qPrintable(aviso.Texto));
        const Proyecto& p = m.Proyecto;
        QCOMPARE(p.Nombre, QStringLiteral("  Nombre con blancos "));
        QCOMPARE(p.Descripcion, QString());
        QCOMPARE(p.Ubicacion, QStringLiteral("Ubicación de la segunda sección"));
        QCOMPARE(p.Confiabilidad, 95.5);
        QCOMPARE(p.ConfiabilidadTransito, true);
        QCOMPARE(p.So, 0.49);
        QCOMPARE(p.NumeroUH, 2);
        QCOMPARE(p.UH[1].CodigoTramo, QStringLiteral("A"));
        QCOMPARE(p.UH[1].CBR, 6.5);
        QCOMPARE(p.UH[1].N82, (QStringList{"uno", "dos", "", ""}));
        QCOMPARE(p.UH[1].CLIMA, QStringList{"c"});
        QCOMPARE(p.UH[2].CodigoTramo, QStringLiteral("B"));
        QCOMPARE(p.UH[2].CBR, 8.0);
        QCOMPARE(p.CostosUnitarios[1], 1.0);
        QCOMPARE(p.CostosUnitarios[11], 11.0);
    }

    void listaSinMarcadorDeCierre() {
        ModuloVarek9 m;
        // La cuenta se cumple sin ver el marcador: la línea siguiente se descarta.
        const QByteArray datos =
            ConEncabezado({" 9 ", " 1 ", " 10 ", " 1 ", "[InicioUH]", " 52 ", " 2 ", "[InicioMR]",
                           "a", "b", "[FinMR]", " 11 ", "T", "[FinUH]"});
        QVERIFY(!LeerProyectoDatos(m, datos, "P").HayAviso);
        QCOMPARE(m.Proyecto.UH[1].MR, (QStringList{"a", "b"}));
        QCOMPARE(m.Proyecto.UH[1].CodigoTramo, QStringLiteral("T"));
    }

    void booleano_data() {
        QTest::addColumn<QString>("linea");
        QTest::addColumn<bool>("valor");
        QTest::newRow("V") << "V" << true;
        QTest::newRow("v con blancos") << "  v " << true;
        QTest::newRow("F") << "F" << false;
        QTest::newRow("Verdadero") << "Verdadero" << false;
        QTest::newRow("vacío") << "" << false;
    }
    void booleano() {
        QFETCH(QString, linea);
        QFETCH(bool, valor);
        ModuloVarek9 m;
        LeerProyectoDatos(m, ConEncabezado({" 7 ", linea}), "P");
        QCOMPARE(m.Proyecto.ConfiabilidadTransito, valor);
        QCOMPARE(m.Proyecto.So, valor ? 0.49 : 0.44);
    }

    void separacionDeLineas() {
        // CR solo también termina la línea; un LF solo queda dentro de ella.
        ModuloVarek9 m;
        const QByteArray datos = "[Proyecto]\r 1 \rcon\nLF\r\n 3 \nno es clave\r\n[FinProyecto]";
        LeerProyectoDatos(m, datos, "P");
        QCOMPARE(m.Proyecto.Nombre, QStringLiteral("con\nLF"));
        QCOMPARE(m.Proyecto.Ubicacion, QString());
    }

    void valoresDerivadosAlCargar() {
        ModuloVarek9 m;
        LeerProyectoDatos(
            m, ConEncabezado({" 4 ", " 120 ", " 5 ", " 7.5 ", " 6 ", " .5 ", " 8 ", " 3 "}), "P");
        QCOMPARE(m.Proyecto.Confiabilidad, 99.0);
        QCOMPARE(m.Proyecto.Zr, CalcularZr(0.49));
        QCOMPARE(m.Proyecto.ServiciabilidadFinal, 2.0);
        QCOMPARE(m.Proyecto.So, 0.44);
    }

    void lecturaReiniciaElProyecto() {
        ModuloVarek9 m;
        m.Proyecto.NumeroUH = 5;
        m.Proyecto.UH[4].CodigoTramo = QStringLiteral("viejo");
        m.Proyecto.CostosUnitarios[2] = 9;
        m.Proyecto.Confiabilidad = 95;
        m.Proyecto.Descripcion = QStringLiteral("se conserva si el archivo no la trae");
        m.ProyectoModificado = true;
        LeerProyectoDatos(m, ConEncabezado({}), "P");
        QCOMPARE(m.Proyecto.NumeroUH, 0);
        QVERIFY(m.Proyecto.UH[4].CodigoTramo.isEmpty());
        QCOMPARE(m.Proyecto.CostosUnitarios[2], 0.0);
        QCOMPARE(m.Proyecto.Confiabilidad, 70.0);
        QCOMPARE(m.Proyecto.Descripcion, QStringLiteral("se conserva si el archivo no la trae"));
        QCOMPARE(m.ProyectoModificado, false);
    }

    void avisos_data() {
        QTest::addColumn<QByteArray>("datos");
        QTest::addColumn<QString>("texto");
        QTest::newRow("no numérico")
            << ConEncabezado({" 4 ", "noventa", " 6 ", "tampoco"})
            << "El Proyecto [P] tiene un valor no numérico en la línea 5...";
        QTest::newRow("NumeroUH negativo")
            << ConEncabezado({" 9 ", " -5 ", " 10 ", " 3 ", "[InicioUH]", "[FinUH]"})
            << "El Proyecto [P] tiene un dato inválido en la línea 5...";
        QTest::newRow("índice de unidad 0")
            << ConEncabezado({" 10 ", " 0 ", "[InicioUH]", " 11 ", "X", "[FinUH]"})
            << "El Proyecto [P] tiene un dato inválido en la línea 5...";
        QTest::newRow("alternativa enorme")
            << ConEncabezado(
                   {" 9 ", " 1 ", " 10 ", " 1 ", "[InicioUH]", " 41 ", " 40000 ", "[FinUH]"})
            << "El Proyecto [P] tiene un dato inválido en la línea 10...";
        QTest::newRow("cuenta negativa")
            << ConEncabezado({" 9 ", " 1 ", " 10 ", " 1 ", "[InicioUH]", " 50 ", " -3 ",
                              "[InicioN82]", "[FinN82]", "[FinUH]"})
            << "El Proyecto [P] tiene un dato inválido en la línea 10...";
        QTest::newRow("archivo cortado")
            << Archivo({"[Proyecto]", " 4 "})
            << "El Proyecto [P] tiene un dato inválido en la línea 3...";
        QTest::newRow("desborde") << ConEncabezado({" 4 ", " 1E999 "})
                                  << "El Proyecto [P] tiene un dato inválido en la línea 5...";
    }
    void avisos() {
        QFETCH(QByteArray, datos);
        QFETCH(QString, texto);
        ModuloVarek9 m;
        const AvisoLectura aviso = LeerProyectoDatos(m, datos, QStringLiteral("P"));
        QVERIFY(aviso.HayAviso);
        QCOMPARE(aviso.Titulo, QStringLiteral("CARGAR PROYECTO"));
        QCOMPARE(aviso.Texto, texto);
        QCOMPARE(m.ProyectoModificado, false);
    }

    void archivosDanados() {
        ModuloVarek9 m;
        // Valor no numérico: vale 0 y la lectura sigue hasta el final.
        LeerProyectoDatos(m, ConEncabezado({" 9 ", "dos", " 2 ", "sigue"}), "P");
        QCOMPARE(m.Proyecto.NumeroUH, 0);
        QCOMPARE(m.Proyecto.Descripcion, QStringLiteral("sigue"));

        // NumeroUH fuera de rango: el mayor índice leído.
        LeerProyectoDatos(m,
                          ConEncabezado({" 9 ", " 1E9 ", " 10 ", " 3 ", "[InicioUH]", " 11 ", "C",
                                         "[FinUH]", " 10 ", " 2 ", "[InicioUH]", "[FinUH]"}),
                          "P");
        QCOMPARE(m.Proyecto.NumeroUH, 3);
        QCOMPARE(m.Proyecto.UH[3].CodigoTramo, QStringLiteral("C"));

        // Índices imposibles se saltan con su bloque; uno mayor a la capacidad la amplía.
        LeerProyectoDatos(m,
                          ConEncabezado({" 9 ", " 1500 ", " 10 ", " 200000 ", "[InicioUH]", " 11 ",
                                         "fuera", "[FinUH]", " 10 ", " 1500 ", "[InicioUH]", " 11 ",
                                         "lejos", "[FinUH]", " 2 ", "después"}),
                          "P");
        QCOMPARE(m.Proyecto.NumeroUH, 1500);
        QVERIFY(m.Proyecto.CapacidadUH() >= 1500);
        QCOMPARE(m.Proyecto.UH[1500].CodigoTramo, QStringLiteral("lejos"));
        QCOMPARE(m.Proyecto.Descripcion, QStringLiteral("después"));

        // Cuentas negativas y enormes: nada explota y la lista queda acotada.
        LeerProyectoDatos(
            m,
            ConEncabezado({" 9 ", " 1 ", " 10 ", " 1 ", "[InicioUH]", " 50 ", " -3 ", "[InicioN82]",
                           "[FinN82]", " 51 ", " 1E300 ", "[InicioCLIMA]", "a", "b"}),
            "P");
        QVERIFY(m.Proyecto.UH[1].N82.isEmpty());
        // Quedan tres líneas tras el marcador: "a", "b" y el cierre del proyecto.
        QCOMPARE(m.Proyecto.UH[1].CLIMA, (QStringList{"a", "b", "[FinProyecto]"}));

        // Redondeo al par en los campos enteros.
        LeerProyectoDatos(m,
                          ConEncabezado({" 9 ", " 2.5 ", " 10 ", " 1.5 ", "[InicioUH]", " 41 ",
                                         " 4.5 ", "[FinUH]"}),
                          "P");
        QCOMPARE(m.Proyecto.NumeroUH, 2);
        QCOMPARE(m.Proyecto.UH[2].AlternativaSeleccionada, qint16(4));

        // Bytes arbitrarios no rompen nada.
        QByteArray basura;
        for (int i = 0; i < 5000; ++i)
            basura.append(static_cast<char>((i * 7919) % 256));
        LeerProyectoDatos(m, "[Proyecto]\r\n" + basura, "P");
        LeerProyectoDatos(m, QByteArray(), "P");
        QCOMPARE(m.Proyecto.NumeroUH, 0);
    }

    void archivosEnDisco() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        ModuloVarek9 m;
        m.ArchivoProyecto = dir.filePath(QStringLiteral("Tramo1"));
        m.Proyecto.Nombre = QStringLiteral("Con nombre");
        m.Proyecto.NumeroUH = 2;
        m.Proyecto.UH[2].CodigoTramo = QStringLiteral("Z");
        m.ProyectoModificado = true;
        QVERIFY(GuardarProyecto(m).Ok);
        QCOMPARE(m.ProyectoModificado, false);
        QCOMPARE(LeerBytes(dir.filePath(QStringLiteral("Tramo1.vk9"))), TextoProyecto(m.Proyecto));

        // Un archivo ausente da el proyecto vacío, sin nombre.
        ModuloVarek9 otro;
        otro.Proyecto.Nombre = QStringLiteral("anterior");
        otro.ArchivoProyecto = dir.filePath(QStringLiteral("NoExiste"));
        QVERIFY(!LeerProyecto(otro).HayAviso);
        QVERIFY(otro.Proyecto.Nombre.isEmpty());
        QCOMPARE(otro.Proyecto.Confiabilidad, 70.0);
        QCOMPARE(otro.Proyecto.Zr, CalcularZr(0.2));

#ifndef _WIN32
        // La extensión en mayúsculas se encuentra y se conserva al guardar.
        QVERIFY(QFile::rename(dir.filePath("Tramo1.vk9"), dir.filePath("Tramo1.VK9")));
        QVERIFY(!LeerProyecto(otro).HayAviso);
        otro.ArchivoProyecto = dir.filePath(QStringLiteral("Tramo1"));
        QVERIFY(!LeerProyecto(otro).HayAviso);
        QCOMPARE(otro.Proyecto.UH[2].CodigoTramo, QStringLiteral("Z"));
        QVERIFY(GuardarProyecto(otro).Ok);
        QVERIFY(!QFile::exists(dir.filePath("Tramo1.vk9")));
        QVERIFY(QFile::exists(dir.filePath("Tramo1.VK9")));
#endif
    }

    void fallaAlGuardar() {
        QTemporaryDir dir;
        QVERIFY(EscribirBytes(dir.filePath("archivo"), "no soy un directorio"));
        ModuloVarek9 m;
        m.ArchivoProyecto = dir.filePath(QStringLiteral("archivo/proyecto"));
        m.ProyectoModificado = true;
        const ErrorEscritura e = GuardarProyecto(m);
        QVERIFY(!e.Ok);
        QVERIFY(e.Numero != 0);
        QVERIFY(!e.Descripcion.isEmpty());
        QCOMPARE(m.ProyectoModificado, true);
        QCOMPARE(ErrorEscritura::Titulo(), QStringLiteral("ERROR"));
        QVERIFY(e.Texto().startsWith(
            QStringLiteral("Se presentó un error en el sistema...\n\nError : %1 ").arg(e.Numero)));

        // Una escritura fallida no toca el archivo anterior ni deja temporales.
        QVERIFY(EscribirBytes(dir.filePath("bueno.vk9"), "contenido anterior"));
        const ErrorEscritura e2 = EscribirArchivoSeguro(dir.filePath("archivo/x"), "nuevo");
        QVERIFY(!e2.Ok);
        QCOMPARE(LeerBytes(dir.filePath("bueno.vk9")), QByteArray("contenido anterior"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    void ultimoProyecto() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("obras")));
        const DirectorioActual cd(dir.path());
        ModuloVarek9 m;

        // Sin argumento ni archivo: "Defecto".
        QCOMPARE(CargarUltimoProyecto(m, QString()), QStringLiteral("Defecto"));

        // Dentro del directorio actual se guarda relativo.
        m.ArchivoProyecto = QDir::currentPath() + QStringLiteral("/obras/p1");
        QVERIFY(GuardarUltimoProyecto(m).Ok);
        QCOMPARE(LeerBytes(NombreUltimoProyecto), QByteArray("obras/p1\r\n"));
        QCOMPARE(CargarUltimoProyecto(m, QStringLiteral("   ")), QStringLiteral("obras/p1"));
        QCOMPARE(m.ArchivoProyecto, QStringLiteral("obras/p1"));

        // Fuera de él (aunque el nombre empiece igual) se guarda la ruta completa.
        m.ArchivoProyecto = QDir::currentPath() + QStringLiteral("ama/p2");
        QVERIFY(GuardarUltimoProyecto(m).Ok);
        QCOMPARE(CargarUltimoProyecto(m, QString()),
                 QDir::currentPath() + QStringLiteral("ama/p2"));

        // Un argumento manda sobre el archivo; ".vk9" se quita sin importar mayúsculas.
#ifdef _WIN32
        const QString esperado = QStringLiteral("obras/tramo1");
#else
        const QString esperado = QStringLiteral("obras/Tramo1");
#endif
        QCOMPARE(CargarUltimoProyecto(m, QStringLiteral("  obras/Tramo1.VK9 ")), esperado);
        QCOMPARE(CargarUltimoProyecto(m, QStringLiteral("sin extension")),
                 QStringLiteral("sin extension"));
        QCOMPARE(CargarUltimoProyecto(m, QStringLiteral(".vk9")), QStringLiteral("Defecto"));

        // Nombres con acentos pasan por Windows-1252.
        m.ArchivoProyecto = QStringLiteral("Vía Peñas");
        QVERIFY(GuardarUltimoProyecto(m).Ok);
        QCOMPARE(LeerBytes(NombreUltimoProyecto), QByteArray("V\xed"
                                                             "a Pe\xf1"
                                                             "as\r\n"));
        QCOMPARE(CargarUltimoProyecto(m, QString()), QStringLiteral("Vía Peñas"));

        // Un archivo vacío vuelve a "Defecto".
        QVERIFY(EscribirBytes(NombreUltimoProyecto, ""));
        QCOMPARE(CargarUltimoProyecto(m, QString()), QStringLiteral("Defecto"));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasArchivoProyecto)
#include "PruebasArchivoProyecto.moc"
