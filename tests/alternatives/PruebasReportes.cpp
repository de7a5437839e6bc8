// Los cuatro reportes del proyecto: bytes exactos de un proyecto pequeño,
// encabezado común, ancho máximo, estado que dejan y fallas de escritura.
#include "Archivos.h"
#include "Pruebas.h"

#include "alternatives/Reportes.h"
#include "common/Texto.h"

#include <QTemporaryDir>

#include <algorithm>

namespace {

// El proyecto de los archivos de tests/datos/reportes; ver su LEEME.md.
void ProyectoDePrueba(ModuloVarek9& m) {
    m.ArchivoProyecto = QStringLiteral("/datos/proyectos/Prueba");
    Proyecto& p = m.Proyecto;
    p.Descripcion = QStringLiteral("Vía de prueba¦Segunda línea");
    p.Ubicacion = QStringLiteral("Boyacá");
    p.Confiabilidad = 90;
    p.Zr = 1.2816;
    p.ServiciabilidadFinal = 2.0;
    p.So = 0.44;
    p.CostosUnitarios = {0,      12500.5, 95000, 80000, 150000, 420000,
                         250000, 550000,  40000, 60000, 0,      5500};
    // Código, descripción, tramo, segmento, abscisas, ancho, W18, clima, CBR, terreno,
    // afirmado y espesores, SN y selección guardada.
    // clang-format off
    const UnidadHomogenea unidades[] = {
        // Tres líneas de capas; el ejemplo de diseño con CBR 10.
        {"T-001", "Acceso", "1", "A", 0, 1000, 6, 10000, "Subhumedo", "Templado",
         10, "Plano", "No hay", 0, 0, 0, 0, {}, {}, {}},
        // Código y descripción cortados; afirmado existente: cuatro líneas.
        {"TRAMO-0002", "Descripción larga", "2", "B", 1000, 2500.5, 7.3, 150000, "Humedo", "Frio",
         12, "Montañoso", "AFR-1", 20, 0, 0, 3, {}, {}, {}},
        // Abscisas invertidas, afirmado y subrasante: cinco líneas.
        {"C3", "", "1", "C", 3000, 2750, 5.5, 45000, "Arido", "Calido",
         4, "Ondulado", "AFR-2", 15, 30, 0, 4, {}, {}, {}},
        // Sin alternativa aplicable, con selección guardada y sin ella.
        {"U4", "Sin diseño", "2", "A", 2750, 3000, 6, 600000, "Subhumedo", "Templado",
         8, "Plano", "No hay", 0, 25, 0, 2, {}, {}, {}},
        {"U5", "", "1", "A", 0, 500, 6, 750000, "Subhumedo", "Templado",
         20, "Plano", "No hay", 0, 0, 0, 0, {}, {}, {}},
        // "No hay" con espesor: la línea 4 se escribe sin ranura de afirmado.
        {"U6", "Afirmado", "1", "B", 4000, 5200, 6.5, 80000, "Semiarido", "Templado",
         15, "Escarpado", "No hay", 10, 0, 0, 0, {}, {}, {}},
        // Solo subrasante: la línea 5 sigue a la 3.
        {"U7-LARGO-8", "Subrasante", "2", "C", 5200, 6000, 7, 300000, "Superhumedo", "Calido",
         6, "Plano", "No hay", 0, 40, 0, 6, {}, {}, {}},
        // La SBG opcional de la alternativa 4 desaparece.
        {"U8", "Delgada", "1", "A", 6000, 12500, 6, 5000, "Semiarido", "Frio",
         25, "Plano", "No hay", 0, 0, 0, 0, {}, {}, {}},
    };
    // clang-format on
    p.NumeroUH = std::size(unidades);
    std::copy(std::begin(unidades), std::end(unidades), p.UH.begin() + 1);
}

QStringList Lineas(const QByteArray& bytes) {
    return DecodificarAnsi(bytes).split(QStringLiteral("\r\n"));
}

} // namespace

class PruebasReportes : public QObject {
    Q_OBJECT

    QTemporaryDir carpeta_;

    QByteArray Escribir(int numero, ModuloVarek9& m, EstadoDiseno& e) {
        const QString ruta = carpeta_.filePath(QStringLiteral("reporte.txt"));
        const ErrorEscritura error = EscribirReporte(numero, m, e, ruta);
        return error.Ok ? LeerBytes(ruta) : QByteArray();
    }

private slots:
    void bytesExactos_data() {
        QTest::addColumn<int>("numero");
        QTest::addColumn<int>("anchoMaximo");
        QTest::newRow("1 unidades") << 1 << 136;
        QTest::newRow("2 estructuras") << 2 << 130;
        QTest::newRow("3 costos") << 3 << 134;
        QTest::newRow("4 seleccionadas") << 4 << 102;
    }
    void bytesExactos() {
        QFETCH(int, numero);
        QFETCH(int, anchoMaximo);
        ModuloVarek9 m;
        ProyectoDePrueba(m);
        EstadoDiseno e;
        const QByteArray obtenido = Escribir(numero, m, e);
        const QByteArray esperado =
            LeerBytes(QStringLiteral(VAREK9_DATOS_PRUEBA "/reportes/reporte%1.txt").arg(numero));
        QVERIFY(!esperado.isEmpty());

        // Primero la línea que difiere, con su número, para que la falla se lea.
        const QStringList a = Lineas(obtenido), b = Lineas(esperado);
        for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
            QCOMPARE(QString::number(i + 1) + u' ' + a.value(i),
                     QString::number(i + 1) + u' ' + b.value(i));
        QCOMPARE(obtenido, esperado);

        // La línea más ancha sin su prefijo, que el módulo de impresión usa.
        qsizetype ancho = 0;
        for (const QString& l : a)
            ancho = std::max(ancho, l.size() - (!l.isEmpty() && l[0] < u' ' ? 4 : 0));
        QCOMPARE(ancho, qsizetype(anchoMaximo));
    }

    void encabezadoComun_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("descripcion");
        QTest::addColumn<QString>("ubicacion");
        QTest::addColumn<QStringList>("lineas");
        const QString codigo = QStringLiteral("   Codigo Proyecto : C:\\Vias\\Ruta 9");
        QTest::newRow("todos vacíos") << QString() << QString() << QString() << QStringList{codigo};
        QTest::newRow("solo nombre")
            << QStringLiteral("Ruta") << QString() << QString()
            << QStringList{codigo, QStringLiteral("            Nombre : Ruta")};
        QTest::newRow("blancos no es vacío")
            << QString() << QStringLiteral(" ") << QStringLiteral("Tunja")
            << QStringList{codigo, QStringLiteral("       Descripcion :  "),
                           QStringLiteral("         Ubicación : Tunja")};
    }
    void encabezadoComun() {
        QFETCH(QString, nombre);
        QFETCH(QString, descripcion);
        QFETCH(QString, ubicacion);
        QFETCH(QStringList, lineas);
        ModuloVarek9 m;
        m.ArchivoProyecto = QStringLiteral("C:\\Vias\\Ruta 9");
        m.Proyecto.Nombre = nombre;
        m.Proyecto.Descripcion = descripcion;
        m.Proyecto.Ubicacion = ubicacion;
        // Prefijos: encabezado 2101, 2312, 2000 y 2010.
        const QString p2010 = QStringLiteral("\x03\x0c\x02\x01");
        QStringList esperado{QStringLiteral("\x03\x08\x01\x02#pg#fecha#"),
                             QStringLiteral("\x03\x0e\x02\x03PROGRAMA VAREK-9"),
                             QStringLiteral("\x03\x0c\x01\x01")};
        for (const QString& l : lineas)
            esperado << p2010 + l;
        esperado << QStringLiteral("\x03\x0c\x01\x01");
        // Sin unidades los cuatro reportes comparten el encabezado.
        for (int numero = 1; numero <= 4; ++numero) {
            EstadoDiseno e;
            QCOMPARE(Lineas(Escribir(numero, m, e)).mid(0, esperado.size()), esperado);
        }
    }

    void estadoYFallasDeEscritura() {
        ModuloVarek9 m;
        ProyectoDePrueba(m);
        EstadoDiseno e;
        // Los totales de la pasada del proyecto y el estado de su última unidad.
        ModuloVarek9 copia = m;
        EstadoDiseno esperado;
        DisenarProyecto(copia, esperado);
        e.CostoTotal.fill(-1);
        e.CostoAlternativa.fill(-1);
        QVERIFY(!Escribir(3, m, e).isEmpty());
        QCOMPARE(e.CostoTotal, esperado.CostoTotal);
        esperado.CostoAlternativa[0] = -1; // la posición 0 no se usa
        QCOMPARE(e.CostoAlternativa, esperado.CostoAlternativa);

        // El reporte 4 guarda la selección por defecto donde la guardada no aplica.
        QVERIFY(!Escribir(4, m, e).isEmpty());
        const qint16 selecciones[] = {1, 3, 1, 2, 0, 1, 6, 1};
        for (int i = 1; i <= m.Proyecto.NumeroUH; ++i)
            QCOMPARE(m.Proyecto.UH[i].AlternativaSeleccionada, selecciones[i - 1]);

        // Una carpeta que no existe: cada reporte lo dice.
        const QString ruta = carpeta_.filePath(QStringLiteral("no/existe/r.txt"));
        for (int numero = 1; numero <= 4; ++numero) {
            const ErrorEscritura error = EscribirReporte(numero, m, e, ruta);
            QVERIFY(!error.Ok);
            QVERIFY(error.Numero > 0);
            QVERIFY(
                error.Texto().startsWith(QStringLiteral("Se presentó un error en el sistema...")));
        }
        // Un número de reporte que no existe no escribe nada ni muestra mensaje.
        const QString otro = carpeta_.filePath(QStringLiteral("otro.txt"));
        const ErrorEscritura error = EscribirReporte(5, m, e, otro);
        QVERIFY(!error.Ok);
        QCOMPARE(error.Numero, 0);
        QVERIFY(!QFile::exists(otro));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasReportes)
#include "PruebasReportes.moc"
