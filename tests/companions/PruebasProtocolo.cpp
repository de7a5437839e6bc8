// Protocolo de intercambio con los programas complementarios: códigos, línea de
// comandos, archivo de resultado por código, archivos de líneas, archivo de la
// unidad y prueba de archivo en uso.
#include "Pruebas.h"

#include "Archivos.h"
#include "ResumenResultado.h"
#include "common/ArchivoEnUso.h"
#include "common/BloqueoArchivo.h"
#include "companions/Programas.h"
#include "companions/Protocolo.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

using namespace Qt::StringLiterals;

class PruebasProtocolo : public QObject {
    Q_OBJECT
private slots:
    // Los nombres, letras y extensiones de la tabla los verifica el lanzador contra
    // el programa de prueba; aquí, la búsqueda y lo que recibe cada programa.
    void codigosYLineaDeComandos() {
        for (const QStringView codigo : {u"10", u"11", u"12", u"13"})
            QCOMPARE(BuscarPrograma(codigo)->Codigo, codigo);
        QVERIFY(!BuscarPrograma(u"QuePrograma"));
        QVERIFY(!BuscarPrograma(u"14"));
        QCOMPARE(NombreIntercambio(u'C', 12), u"C12"_s);
        QCOMPARE(ArchivoResultado(u"N1"_s), u"N1.RES"_s);
        QCOMPARE(ArgumentoPrograma(QString(), u"C1"_s, false), u",C1,SinPresentacion"_s);
        QCOMPARE(ArgumentoPrograma(u"varek-9"_s, u"N1"_s, true),
                 u"varek-9,N1,SinPresentacion,Seleccionar"_s);
    }

    // Se busca en orden junto al programa, en la instalación y en la carpeta actual;
    // gana la primera carpeta con un archivo ejecutable de ese nombre.
    void ordenDeBusqueda_data() {
        QTest::addColumn<QStringList>("con");    // carpetas con el programa; "-": sin permiso
        QTest::addColumn<QString>("encontrado"); // la que gana; vacía: ninguna
        QTest::newRow("junto al programa") << QStringList{"bin", "libexec/varek9", "obra"} << "bin";
        QTest::newRow("instalación") << QStringList{"libexec/varek9", "obra"} << "libexec/varek9";
        QTest::newRow("carpeta actual") << QStringList{"obra"} << "obra";
        QTest::newRow("en ninguna") << QStringList{"libexec"} << QString();
        // Un archivo sin permiso de ejecución no es un programa.
        QTest::newRow("sin permiso") << QStringList{"-bin", "obra"} << "obra";
        QTest::newRow("ninguno ejecutable") << QStringList{"-bin", "-obra"} << QString();
    }
    void ordenDeBusqueda() {
        QFETCH(QStringList, con);
        QFETCH(QString, encontrado);
        QTemporaryDir raiz;
        const QString nombre = NombreEjecutable(ProgramaEspecificaciones);
        for (QString carpeta : con) {
            const bool ejecutable = !carpeta.startsWith(u'-');
            carpeta.remove(u'-');
            const QString ruta = raiz.filePath(carpeta + '/' + nombre);
            QVERIFY(QDir(raiz.path()).mkpath(carpeta) && EscribirBytes(ruta, "x"));
            QVERIFY(QFile::setPermissions(ruta, ejecutable ? QFile::ReadOwner | QFile::ExeOwner
                                                           : QFile::ReadOwner));
        }
        QVERIFY(QDir(raiz.path()).mkpath("obra"));
        const QStringList carpetas = CarpetasProgramas(raiz.filePath("bin"), raiz.filePath("obra"));
        QCOMPARE(carpetas, QStringList({raiz.filePath("bin"), raiz.filePath("libexec/varek9"),
                                        raiz.filePath("obra")}));
        // Una carpeta vacía en la lista no cuenta.
        QCOMPARE(BuscarEjecutable(nombre, QStringList{QString()} + carpetas),
                 encontrado.isEmpty() ? QString() : raiz.filePath(encontrado + '/' + nombre));
    }

    // Lo que el archivo no alcanza a dar conserva su valor previo.
    void resultadoPorCodigo_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QByteArray>("datos");
        QTest::addColumn<QString>("resultado");
        const QByteArray clima = "varek-9\r\n 1500 \r\n 1178.6 \r\nH\xfamedo\r\n 27.27 \r\n 20 \r\n"
                                 "Templado\r\nmas\r\n";
        QTest::newRow("clima, Windows-1252")
            << "10" << clima << "sí: varek-9 | -1 | Húmedo Templado | -2";
        QTest::newRow("clima de tres líneas")
            << "10" << QByteArray("ref\r\n 1 \r\n 2 \r\n") << "sí: ref | -1 | h0 t0 | -2";
        QTest::newRow("tránsito con LF")
            << "11" << QByteArray("varek-9\n 250000 \n") << "sí: varek-9 | 250000 | h0 t0 | -2";
        QTest::newRow("tránsito vacío") << "11" << QByteArray() << "sí: antes | -1 | h0 t0 | -2";
        QTest::newRow("módulo con exponente")
            << "12" << QByteArray("x\r\n1.5E+01 resto\r\n") << "sí: x | -1 | h0 t0 | 15";
        // Un valor que no es número se lee como 0.
        QTest::newRow("módulo que no es número")
            << "12" << QByteArray("x\r\nnada\r\n") << "sí: x | -1 | h0 t0 | 0";
        // Del drenaje nunca hay resultado.
        QTest::newRow("drenaje") << "13" << QByteArray("ref\r\nBueno\r\n")
                                 << "no: antes | -1 | h0 t0 | -2";
    }
    void resultadoPorCodigo() {
        QFETCH(QString, codigo);
        QFETCH(QByteArray, datos);
        ResultadoPrograma r{false, false, u"antes"_s, -1, u"h0"_s, u"t0"_s, -2};
        LeerResultadoPrograma(codigo, datos, r);
        QTEST(Resumen(r), "resultado");
    }

    void archivoDeResultado() {
        QTemporaryDir carpeta;
        ResultadoPrograma r;
        QVERIFY(!LeerArchivoResultado(u"11", carpeta.filePath("N1.RES"), r));
        QVERIFY(!r.HayResultado);
        QVERIFY(EscribirBytes(carpeta.filePath("N1.RES"), "r\r\n 9 \r\n"));
        QVERIFY(LeerArchivoResultado(u"11", carpeta.filePath("N1.RES"), r));
        QVERIFY(r.HayResultado && r.ValorTransito == 9);
    }

    void archivosDeLineas() {
        QTemporaryDir carpeta;
        const QString ruta = carpeta.filePath("varek-9.tto");
        // Sin líneas no se escribe nada y se borra lo que hubiera.
        QVERIFY(EscribirBytes(ruta, "viejo\r\n"));
        QVERIFY(EntregarLineas(ruta, {}).Ok);
        QVERIFY(!QFile::exists(ruta));

        QStringList muchas;
        for (int i = 1; i <= 250; ++i)
            muchas.append(u"Línea %1"_s.arg(i));
        muchas[9] = QString(); // una vacía en medio también vuelve
        QVERIFY(EntregarLineas(ruta, muchas).Ok);
        const QByteArray bytes = LeerBytes(ruta);
        QVERIFY(bytes.startsWith("L\xednea 1\r\nL\xednea 2\r\n"));
        QVERIFY(bytes.endsWith("L\xednea 250\r\n"));

        LecturaLineas leidas = RecibirLineas(ruta);
        QVERIFY(leidas.Ok);
        QCOMPARE(leidas.Lineas, muchas);
        QVERIFY(!QFile::exists(ruta)); // se borra tras leerlo

        leidas = RecibirLineas(ruta);
        QVERIFY(leidas.Ok && leidas.Lineas.isEmpty());

        // Fin de línea LF y última línea sin fin.
        QVERIFY(EscribirBytes(ruta, "a\nb"));
        QCOMPARE(RecibirLineas(ruta).Lineas, (QStringList{"a", "b"}));

        // Lo que no se puede leer no entrega nada y lo dice.
        QVERIFY(QDir(carpeta.path()).mkdir("varek-9.mr"));
        leidas = RecibirLineas(carpeta.filePath("varek-9.mr"));
        QVERIFY(!leidas.Ok);
        QVERIFY(leidas.Lineas.isEmpty());
        QVERIFY(!leidas.Error.Descripcion.isEmpty());
    }

    void archivoDeUnidad() {
        const UnidadIntercambio u{3, u"Tramo Ñ"_s, 1000, -.5};
        QCOMPARE(TextoArchivoUnidad(u), QByteArray(" 3 \r\nTramo \xd1\r\n 1000 \r\n-.5 \r\n"));
        const UnidadIntercambio leida = LeerUnidadIntercambio(TextoArchivoUnidad(u));
        QCOMPARE(leida.Fila, 3);
        QCOMPARE(leida.CodigoTramo, u.CodigoTramo);
        QVERIFY(leida.AbscisaInicial == 1000 && leida.AbscisaFinal == -.5);
        QCOMPARE(LeerUnidadIntercambio("x\r\n").Fila, 0);
        QCOMPARE(LeerUnidadIntercambio(" -4 \r\n").Fila, 0);

        QTemporaryDir carpeta;
        const QString ruta = carpeta.filePath(NombreArchivoUnidad);
        QVERIFY(EscribirBytes(ruta, "otra cosa mas larga que la unidad\r\n"));
        QVERIFY(EscribirArchivoUnidad(ruta, u).Ok);
        QCOMPARE(LeerBytes(ruta), TextoArchivoUnidad(u));
    }

    void argumentosDelPrograma() {
        ArgumentosCompanero a = LeerArgumentosCompanero({u"Transito"_s});
        QVERIFY(a.Intercambio.isEmpty() && a.Referencia.isEmpty() && !a.Seleccionar);
        a = LeerArgumentosCompanero({u"Clima"_s, u",C1,SinPresentacion"_s});
        QVERIFY(a.Referencia.isEmpty());
        QCOMPARE(a.Intercambio, u"C1"_s);
        QVERIFY(a.SinPresentacion && !a.Seleccionar);
        // Repartido en varios argumentos (como lo parte un intérprete de órdenes) da lo mismo.
        a = LeerArgumentosCompanero(
            {u"Transito"_s, u"varek-9,N2,"_s, u"sinpresentacion,SELECCIONAR"_s});
        QCOMPARE(a.Referencia, u"varek-9"_s);
        QCOMPARE(a.Intercambio, u"N2"_s);
        QVERIFY(a.SinPresentacion && a.Seleccionar);
    }

    void datosEscritos() {
        QVERIFY(LeerDato(u" 12.5 "_s) == 12.5);
        QVERIFY(LeerDato(u"-3e2"_s) == -300);
        QVERIFY(LeerDato(u".5"_s) == .5);
        QVERIFY(LeerDato(u"12,5"_s) == 12.5);
        QVERIFY(LeerDato(u"1.234,5"_s) == 1234.5);
        for (const QString& malo : {u"1,2,3"_s, u"12abc"_s, QString(), u"inf"_s})
            QVERIFY2(std::isnan(LeerDato(malo)), qPrintable(malo));
        QCOMPARE(TextoDato(0.5), u"0.5"_s);
        QCOMPARE(TextoDato(1e6), u"1000000"_s);
        QCOMPARE(TextoDato(std::nan("")), QString());
        QCOMPARE(LineaDato(u"TPD"_s, 350.0), u"TPD=350"_s);
        const QMap<QString, QString> m = LeerLineasDatos({u" a = 1 "_s, u"=2"_s, u"b"_s});
        QCOMPARE(m.size(), 1);
        QCOMPARE(m.value("a"), u"1"_s);
    }

    void archivoEnUso() {
        QTemporaryDir carpeta;
        const QString ruta = carpeta.filePath("C1");
        QVERIFY(!ArchivoEnUso(ruta));
        QVERIFY(!QFile::exists(ruta)); // la prueba no crea el archivo
        {
            BloqueoArchivo x(ruta);
            QVERIFY(x.Bloquear());
            const PruebaUso p = ProbarArchivoEnUso(ruta);
            QVERIFY(p.EnUso);
            QVERIFY(!p.Error.isEmpty());
            QVERIFY(ArchivoEnUso(ruta)); // preguntar dos veces no cambia la respuesta
        }
        QVERIFY(!ArchivoEnUso(ruta));
        // La prueba misma no deja candado: otro puede tomarlo enseguida.
        BloqueoArchivo otro(ruta);
        QVERIFY(otro.Bloquear());

        QCOMPARE(NombreTabla(u"C:\\datos\\tabla.dat"_s), u"tabla.dat"_s);
        QCOMPARE(NombreTabla(u"/srv/datos/tabla.dat"_s), u"tabla.dat"_s);
        QCOMPARE(NombreTabla(u"tabla.dat"_s), u"tabla.dat"_s);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasProtocolo)
#include "PruebasProtocolo.moc"
