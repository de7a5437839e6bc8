// La tabla de unidades sin ventana: llenado con sus reglas, listas por defecto,
// orden de claves, unidades que se mueven con sus líneas, cursor y capacidad, y
// copiar y pegar con sus separadores exactos y archivos en varias codificaciones.
#include "Archivos.h"
#include "Pruebas.h"

#include "Muestras.h"
#include "common/ModuloLibzrl.h"
#include "project/ArchivoProyecto.h"
#include "units/PortapapelesGrilla.h"
#include "units/RevisionUH.h"

#include <QMap>
#include <QRandomGenerator>

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

QStringList Codigos(const Proyecto& p) {
    QStringList codigos;
    for (int i = 1; i <= p.NumeroUH; ++i)
        codigos << QStringList{p.UH[i].CodigoTramo, QString::number(p.UH[i].AbscisaInicial),
                               p.UH[i].Descripcion}
                       .join(u' ')
                       .trimmed();
    return codigos;
}

TablaTextos TablaVacia(int filas = FilasInicialesUH) {
    TablaTextos t(filas, ColumnasUH);
    NumerarFilas(t);
    return t;
}

// Fila de la tabla en las columnas 1..15.
QStringList Fila(const TablaTextos& t, int f) {
    QStringList fila;
    for (int c = 1; c < ColumnasUH; ++c)
        fila << t.Texto(f, c);
    return fila;
}

// Las dimensiones de la tabla y las celdas pedidas (fila, columna), en una línea.
QString Celdas(const TablaTextos& t, const QList<std::pair<int, int>>& celdas) {
    QStringList l{u"%1x%2"_s.arg(t.Filas()).arg(t.Columnas())};
    for (const auto& [f, c] : celdas)
        l << t.Texto(f, c);
    return l.join(u'|');
}

// Los campos de texto de la unidad, en una línea.
QString Textos(const UnidadHomogenea& u) {
    return QStringList{u.CodigoTramo,  u.Descripcion,      u.TipoTramo,   u.TipoSegmento,
                       u.ClimaHumedad, u.ClimaTemperatura, u.TipoTerreno, u.TipoAfirmado}
        .join(u'|');
}

// Los campos de la unidad que guarda cada columna, para leerlos por su número.
using U = UnidadHomogenea;
const QMap<int, QString U::*> CamposLista{
    {ColTipoTramo, &U::TipoTramo},       {ColTipoSegmento, &U::TipoSegmento},
    {ColClimaHumedad, &U::ClimaHumedad}, {ColClimaTemperatura, &U::ClimaTemperatura},
    {ColTipoTerreno, &U::TipoTerreno},   {ColTipoAfirmado, &U::TipoAfirmado}};
const QMap<int, double U::*> CamposNumero{{ColAbscisaInicial, &U::AbscisaInicial},
                                          {ColAbscisaFinal, &U::AbscisaFinal},
                                          {ColAnchoCorona, &U::AnchoCorona},
                                          {ColEjesEquivalentes, &U::EjesEquivalentes},
                                          {ColCBR, &U::CBR},
                                          {ColEspesorAfirmado, &U::EspesorAfirmado},
                                          {ColEspesorSubrasante, &U::EspesorSubrasante}};

// Lo que una unidad lleva consigo al moverse: código, líneas, SN y alternativa.
QString Movida(const UnidadHomogenea& u) {
    return QStringList{u.CodigoTramo,
                       u.N82.join(u'/'),
                       u.CLIMA.join(u'/'),
                       u.MR.join(u'/'),
                       QString::number(u.SNRequerido, 'g', 17),
                       QString::number(u.AlternativaSeleccionada)}
        .join(u'|');
}

class EtiquetaGuardada : public EtiquetaProgreso {
public:
    QStringList Eventos;
    void Mostrar(bool visible) override {
        Eventos << (visible ? QStringLiteral("visible") : QStringLiteral("oculta"));
    }
    void PonerTexto(const QString& texto) override { Eventos << texto; }
};

} // namespace

class PruebasRevisionUH : public QObject {
    Q_OBJECT
private slots:
    // Los valores exactos siguen a su celda al agregar columnas y se van con sus filas.
    void valoresExactosDeLaTabla() {
        TablaTextos t(3, 2, {}, {{ClaveCelda(2, 1), 0.999}, {ClaveCelda(5, 0), 1}});
        t.PonerColumnas(4);
        QCOMPARE(t.Valores(), ValoresCeldas({{ClaveCelda(2, 1), 0.999}}));
        t.PonerFilas(2);
        t.PonerFilas(3);
        QVERIFY(t.Valores().isEmpty() && !t.Valor(2, 1));
    }
    void llenadoConFormatosYReglas() {
        Proyecto p;
        const auto afirmado = [](UnidadHomogenea u, const QString& tipo, double e, double sub) {
            u.TipoAfirmado = tipo;
            u.EspesorAfirmado = e;
            u.EspesorSubrasante = sub;
            return u;
        };
        UnidadHomogenea a = afirmado(UnidadTramo(u"K1"_s, 1234.5, 2000), u"No hay"_s, 12, 30);
        a.AnchoCorona = 6.125;
        a.EjesEquivalentes = 150000;
        a.CBR = 0;
        // "¿?" no está en la lista: "No hay".
        PonerUnidades(p, {a, afirmado(UnidadTramo(u"K2"_s, 0, 0), u"AFR-1"_s, 0.5, 30),
                          afirmado(UnidadTramo(u"K3"_s, 0, 0), u"¿?"_s, 8, 20)});
        TablaTextos t(FilasInicialesUH, ColumnasUH);
        t.PonerTexto(5, ColCodigoTramo, QStringLiteral("resto"));
        t.PonerTexto(5, 0, QStringLiteral("5"));
        QList<CambioRegla> cambios;
        CargarUH(p, t, &cambios);

        QCOMPARE(Fila(t, 1).join(u'|'), u"K1||1|A|1,234.50|2,000.00|6.13|1.50E+05|Arido|Calido|"
                                        u"0.00|Plano|No hay|0.00|30.00"_s);
        // Con afirmado, aun de medio centímetro, la capa de subrasante vale 0; un tipo desconocido
        // se muestra "No hay" y pierde el espesor.
        QCOMPARE(Fila(t, 2).join(u'|'),
                 u"K2||1|A|0.00|0.00|0.00|0.00E+00|Arido|Calido|0.00|Plano|AFR-1|0.50|0.00"_s);
        QCOMPARE(Fila(t, 3).join(u'|'),
                 u"K3||1|A|0.00|0.00|0.00|0.00E+00|Arido|Calido|0.00|Plano|No hay|0.00|20.00"_s);
        QList<double> espesores;
        for (int i = 1; i <= 3; ++i)
            espesores << p.UH[i].EspesorAfirmado << p.UH[i].EspesorSubrasante;
        QCOMPARE(espesores, (QList<double>{0, 30, 0.5, 0, 0, 20}));
        // Las filas sin unidad quedan vacías; la columna 0 conserva su número.
        QVERIFY(Fila(t, 5) == QStringList(15) && t.Texto(5, 0) == QStringLiteral("5"));
        // Lo que las reglas quitaron, en el único mensaje que lo dice.
        QCOMPARE(TextoCambiosRegla(cambios),
                 QStringLiteral("Una unidad con afirmado existente no lleva capa de subrasante, y "
                                "una sin afirmado no lleva espesor de afirmado. Se quitó:\n\n"
                                "K1 (1,234.50 - 2,000.00): afirmado existente de 12.00 cm\n"
                                "K2 (0.00 - 0.00): capa de subrasante de 30.00 cm\n"
                                "K3 (0.00 - 0.00): afirmado existente de 8.00 cm"));
    }

    // Los mensajes nombran las primeras 20 celdas o unidades y cuentan el resto: con 20
    // no hay resto; con 23, "(y 3 ... más)".
    void mensajesConLasPrimeras20_data() {
        QTest::addColumn<int>("cuantas");
        for (const int n : {20, 21, 23})
            QTest::addRow("%d", n) << n;
    }
    void mensajesConLasPrimeras20() {
        QFETCH(int, cuantas);
        // Un pegado con un CBR que no es número en cada fila.
        QString texto;
        for (int i = 1; i <= cuantas; ++i)
            texto += u"Z%1\t\t\t\t\t\t\t\t\t\tx\n"_s.arg(i);
        TablaTextos t = TablaVacia();
        const QString pegado =
            TextoPegado(PegarUH(t, texto, 1, 1, SeparadorDecimal::Punto), SeparadorDecimal::Punto);
        QCOMPARE(pegado.count(u"\"x\" no es un número"_s), 20);
        QVERIFY(pegado.contains(u"fila 20, CBR"_s) && !pegado.contains(u"fila 21,"_s));
        QCOMPARE(pegado.endsWith(u"(y %1 celdas más)"_s.arg(cuantas - 20)), cuantas > 20);
        QVERIFY(cuantas > 20 || pegado.endsWith(u"fila 20, CBR: \"x\" no es un número"_s));

        QList<CambioRegla> cambios;
        for (int i = 1; i <= cuantas; ++i)
            cambios.append({u"K%1"_s.arg(i), 0, 10, ColEspesorSubrasante, 30});
        const QString reglas = TextoCambiosRegla(cambios);
        QCOMPARE(reglas.count(u"capa de subrasante de 30.00 cm"_s), 20);
        QVERIFY(reglas.contains(u"\nK20 ("_s) && !reglas.contains(u"K21 ("_s));
        QCOMPARE(reglas.endsWith(u"\n(y %1 más)"_s.arg(cuantas - 20)), cuantas > 20);
    }

    void listasPorDefecto_data() {
        Columnas<int, QString, QString>({"columna", "guardado", "mostrado"});
        // "columna|guardado|mostrado": humedad, temperatura, terreno, afirmado, tramo y segmento.
        for (const QString& fila :
             {u"9|Humedo|Humedo"_s, u"9||Arido"_s, u"9|xyz|Arido"_s, u"9|superh|Superhumedo"_s,
              u"10||Calido"_s, u"10|frio|Frio"_s, u"12|MONTAÑ|Montañoso"_s, u"12||Plano"_s,
              u"13|afr-2|AFR-2"_s, u"3|2|2"_s, u"3|2. Explanación nueva|2"_s, u"3|9|1"_s, u"3||1"_s,
              u"4|c|C"_s, u"4||A"_s}) {
            const QStringList c = fila.split(u'|');
            QTest::addRow("%s", qPrintable(fila)) << c[0].toInt() << c[1] << c[2];
        }
    }
    void listasPorDefecto() {
        TOMAR((columna, guardado, mostrado), int, QString, QString);
        Proyecto p;
        UnidadHomogenea u = UnidadTramo(QStringLiteral("X"), 0, 10);
        u.*CamposLista[columna] = guardado;
        PonerUnidades(p, {u});
        TablaTextos t(FilasInicialesUH, ColumnasUH);
        CargarUH(p, t);
        QCOMPARE(t.Texto(1, columna), mostrado);
        // La revisión guarda lo que se ve.
        RevisarUH(p, t, 1);
        QCOMPARE(p.UH[1].*CamposLista[columna], mostrado);
        TablaTextos corta; // sin filas: crece hasta la unidad, numerada desde la 1
        CargarUH(p, corta);
        QVERIFY(corta.Filas() == 2 && corta.Texto(0, 0).isEmpty() && corta.Texto(1, 0) == u"1");
    }

    void tablaPreparadaYTextosTalCual() {
        // Sin unidades: 999 filas numeradas y vacías, y ninguna unidad.
        Proyecto p;
        TablaTextos t = PrepararTablaUH(p);
        QCOMPARE(Celdas(t, {{999, 0}}), u"1000x16|999"_s);
        QVERIFY(p.NumeroUH == 0 && Fila(t, 1) == QStringList(15));

        // Los textos escritos se guardan tal cual.
        const QStringList fila{" k-1 ", " Descripción ", "2. x", "b",     "",      "", "", "",
                               "xyz",   "Templado",      "",     "ondul", "AFR-2", "", ""};
        for (int c = 1; c < ColumnasUH; ++c)
            t.PonerTexto(1, c, fila[c - 1]);
        RevisarUH(p, t, 1);
        QCOMPARE(Textos(p.UH[1]), u" k-1 | Descripción |2|b|xyz|Templado|ondul|AFR-2"_s);
        // El llenado muestra lo que encuentra la lista; la próxima revisión lo guarda.
        QCOMPARE(Fila(t, 1).join(u'|'), u" k-1 | Descripción |2|B|0.00|0.00|0.00|0.00E+00|Arido|"
                                        u"Templado|0.00|Ondulado|AFR-2|0.00|0.00"_s);
        RevisarUH(p, t, 1);
        QCOMPARE(Textos(p.UH[1]), u" k-1 | Descripción |2|B|Arido|Templado|Ondulado|AFR-2"_s);

        // Con 1200 unidades la tabla muestra todas.
        Proyecto grande;
        LlenarProyectoDeMuestra(grande, 1200, 0);
        const TablaTextos g = PrepararTablaUH(grande);
        QCOMPARE(grande.NumeroUH, 1200);
        // Los códigos más cortos van primero: T-999 antes que T-1000.
        QCOMPARE(Celdas(g, {{1200, 0}, {999, ColCodigoTramo}, {1200, ColCodigoTramo}}),
                 u"1201x16|1200|T-999|T-1200"_s);
        // La tabla sale revisada: en el orden de los códigos, también el del proyecto.
        PonerUnidades(p, {UnidadTramo(u"B"_s, 0, 1), UnidadTramo(u"A"_s, 0, 1)});
        QCOMPARE(Celdas(PrepararTablaUH(p), {{1, ColCodigoTramo}}) + p.UH[1].CodigoTramo,
                 u"1000x16|AA"_s);
    }

    void claveYOrdenDeUnidades() {
        const UnidadHomogenea u = UnidadTramo(QStringLiteral(" K1 "), 1250.75, -3.5);
        QCOMPARE(ClaveUnidad(u, 7), QString(18, u' ') + "K1" + QString(12, u' ') + "1250.750" +
                                        QString(14, u' ') + "-3.500" + "0007");
        // Un código de más de 20 caracteres no se corta.
        const QString largo(25, u'Z');
        QVERIFY(ClaveUnidad(UnidadTramo(largo, 0, 0), 12345).startsWith(largo + QString(15, u' ')));
        QVERIFY(ClaveUnidad(UnidadTramo(largo, 0, 0), 12345).endsWith(u"0.00012345"));

        Proyecto p;
        PonerUnidades(p, {UnidadTramo("B", 0, 100, "b"), UnidadTramo("A", 200, 300, "a2"),
                          UnidadTramo("AA", 0, 100), UnidadTramo("a", 0, 100),
                          UnidadTramo("A", 0, 100, "a1"), UnidadTramo("A", 1000, 1100),
                          UnidadTramo("A", 99.5, 100), UnidadTramo("A", 0, 100, "a1 otra")});
        DepurarProyecto(p);
        // Código más corto primero, mayúsculas antes que minúsculas, abscisas en
        // orden numérico y las unidades iguales en su orden anterior.
        QCOMPARE(Codigos(p), (QStringList{"A 0 a1", "A 0 a1 otra", "A 99.5", "A 200 a2", "A 1000",
                                          "B 0 b", "a 0", "AA 0"}));
    }

    void ordenarShell() {
        // Sin nada que ordenar no cambia nada ni muestra la etiqueta.
        QStringList clave{"", "b", "a"};
        QList<int> indice{0, 1, 2};
        EtiquetaGuardada etiqueta;
        OrdenarShell(indice, clave, 1, 1, true, &etiqueta);
        QVERIFY(clave == (QStringList{"", "b", "a"}) && etiqueta.Eventos.isEmpty());

        // Con progreso: el último texto es 100% justo antes de ocultarse.
        OrdenarShell(indice, clave, 1, 2, true, &etiqueta);
        QVERIFY(clave == (QStringList{"", "a", "b"}) && indice == (QList<int>{0, 2, 1}));
        QCOMPARE(etiqueta.Eventos.first(), QStringLiteral("visible"));
        QCOMPARE(etiqueta.Eventos.last(2), (QStringList{"100%", "oculta"}));

        // Contra un orden de referencia, en ambos sentidos y sin arreglo de índices.
        QRandomGenerator azar(20240607);
        for (int n : {2, 3, 7, 21, 64, 500}) {
            QStringList claves(n + 1);
            for (int i = 1; i <= n; ++i)
                claves[i] = QString::number(azar.bounded(40)) + QChar(u'a' + azar.bounded(3));
            QList<int> ind(n + 1);
            std::iota(ind.begin(), ind.end(), 0);
            QStringList asc = claves;
            OrdenarShell(ind, asc, 1, n, true, &etiqueta);
            // Con 21 claves, saltos de 5, 2, 1 y 0 en 20: el 75, 90, 95 y 100 %.
            if (n == 21)
                QCOMPARE(etiqueta.Eventos.last(6).join(u' '), u"visible 75% 90% 95% 100% oculta"_s);
            QStringList esperado = claves.mid(1);
            std::sort(esperado.begin(), esperado.end());
            QCOMPARE(asc.mid(1), esperado);
            for (int i = 1; i <= n; ++i)
                QCOMPARE(claves[ind[i]], asc[i]);

            QList<int> sinIndice;
            QStringList desc = claves;
            OrdenarShell(sinIndice, desc, 1, n, false);
            std::reverse(esperado.begin(), esperado.end());
            QVERIFY(desc.mid(1) == esperado && sinIndice.isEmpty());
        }
    }

    void codigoBorradoSeLlevaLaUnidad() {
        Proyecto p;
        LlenarProyectoDeMuestra(p, 5, 3);
        const UnidadHomogenea cuarta = p.UH[4];
        const UnidadHomogenea quinta = p.UH[5];
        TablaTextos t = PrepararTablaUH(p);
        t.PonerTexto(3, ColCodigoTramo, QString());
        RevisarUH(p, t, 3);
        QCOMPARE(p.NumeroUH, 4);
        // Las antiguas 4 y 5 pasan a 3 y 4 con sus líneas, SN y alternativa.
        QVERIFY(Movida(p.UH[3]) == Movida(cuarta) && Movida(p.UH[4]) == Movida(quinta));
        QVERIFY(t.Texto(3, ColCodigoTramo) == cuarta.CodigoTramo && Fila(t, 5) == QStringList(15));
        // El índice 5 no se toca: conserva la unidad que quedó atrás.
        QCOMPARE(p.UH[5].CodigoTramo, quinta.CodigoTramo);
    }

    void codigoLejosDeLaUltimaUnidad() {
        Proyecto p;
        LlenarProyectoDeMuestra(p, 5, 2);
        // Líneas entregadas a la fila 12 antes de que tuviera código.
        p.UH[12].MR = QStringList{"entregada"};
        TablaTextos t = PrepararTablaUH(p);
        t.PonerTexto(10, ColCodigoTramo, QStringLiteral("Z-1"));
        t.PonerTexto(12, ColCodigoTramo, QStringLiteral("Z-2"));
        t.PonerTexto(12, ColCBR, QStringLiteral("4.5"));
        QVERIFY(RevisarUH(p, t, 10) == 6 && p.NumeroUH == 7 && Movida(p.UH[6]) == u"Z-1||||0|0"_s);
        QVERIFY(Movida(p.UH[7]) == u"Z-2|||entregada|0|0"_s && p.UH[7].CBR == 4.5);
        QCOMPARE(t.Texto(7, ColCodigoTramo), QStringLiteral("Z-2"));
        QCOMPARE(Fila(t, 10), QStringList(15));
    }

    void celdasDeNumeros_data() {
        Columnas<int, QString, double>({"columna", "texto", "valor"});
        // "columna|texto|valor;..."; la coma agrupa miles o separa decimales, según los grupos;
        // una columna negativa, con la coma decimal.
        const QString filas =
            u"5|1,250.75|1250.75;7|12 m|12;7|abc|0;11||0;6| -3.5 |-3.5;14|1.2.3|1.2;"
            "15|2a5|25;8|1.50E+05|150000;8|500,400|500400;11|7,5|7.5;7|1.234,56|1234.56;"
            "5|K1+250|1250;7|6,5 m|6.5;8|  2e3x|2000;8|150 000|150000;8|215.000|215;"
            "7|6,500|6500;-8|215.000|215000;-7|6,500|6.5;-5|13.250,50|13250.5"_s;
        for (const QString& fila : filas.split(u';')) {
            const QStringList c = fila.split(u'|');
            QTest::addRow("%s", qPrintable(fila)) << c[0].toInt() << c[1] << c[2].toDouble();
        }
    }
    void celdasDeNumeros() {
        TOMAR((columna, texto, valor), int, QString, double);
        // Una columna negativa en los datos: la tabla muestra y lee con coma.
        Proyecto p;
        TablaTextos t =
            PrepararTablaUH(p, columna < 0 ? SeparadorDecimal::Coma : SeparadorDecimal::Punto);
        columna = std::abs(columna);
        t.PonerTexto(1, ColCodigoTramo, QStringLiteral("N"));
        t.PonerTexto(1, ColTipoAfirmado, QStringLiteral("AFR-1"));
        t.PonerTexto(1, columna, texto);
        RevisarUH(p, t, 1);
        const double leido = p.UH[1].*CamposNumero[columna];
        QVERIFY2(leido == valor, qPrintable(QString::number(leido)));
    }

    // Un negativo escrito donde no cabe no entra: la unidad conserva su valor y la
    // celda se anota para el mensaje; la abscisa sí puede ser negativa.
    void negativosRechazados() {
        Proyecto p;
        UnidadHomogenea u = UnidadTramo(QStringLiteral("K1"), 0, 10);
        u.AnchoCorona = 6;
        u.CBR = -2; // negativo de un archivo: la celda que lo muestra no cambió
        PonerUnidades(p, {u});
        TablaTextos t = PrepararTablaUH(p);
        for (int c : {ColAbscisaInicial, ColAnchoCorona, ColEjesEquivalentes, ColEspesorAfirmado,
                      ColEspesorSubrasante})
            t.PonerTexto(1, c, QStringLiteral("-25"));
        QList<CeldaRechazada> rechazadas;
        RevisarUH(p, t, 1, &rechazadas);
        QVERIFY(p.UH[1].AbscisaInicial == (-25.0) && p.UH[1].AnchoCorona == 6.0);
        QVERIFY(p.UH[1].CBR == (-2.0) && t.Texto(1, ColAnchoCorona) == QStringLiteral("6.00"));
        QCOMPARE(
            TextoCeldasRechazadas(rechazadas),
            QStringLiteral("No se aceptan valores negativos en las celdas fila 1 Ancho Corona, "
                           "fila 1 Ejes Equivalentes, fila 1 Espesor Afirmado, fila 1 Espesor "
                           "Capa de Subrasante: conservan su valor anterior..."));
        QCOMPARE(
            TextoCeldasRechazadas({{3, ColCBR}}),
            QStringLiteral("No se acepta un valor negativo en la celda fila 3 CBR: conserva su "
                           "valor anterior..."));
    }

    void cursorYCapacidad() {
        Proyecto p;
        PonerUnidades(
            p, {UnidadTramo("A", 0, 100), UnidadTramo("C", 0, 100), UnidadTramo("D", 0, 100)});
        TablaTextos t = PrepararTablaUH(p);
        // La fila 1 pasa a ser "Z": tras ordenar queda al final.
        t.PonerTexto(1, ColCodigoTramo, QStringLiteral("Z"));
        QVERIFY(RevisarUH(p, t, 1) == 3 && t.Texto(3, ColCodigoTramo) == QStringLiteral("Z"));
        // Una fila nueva "B" bajo las unidades sube a la fila 1.
        t.PonerTexto(4, ColCodigoTramo, QStringLiteral("B"));
        t.PonerTexto(4, ColAbscisaInicial, QStringLiteral("5"));
        QCOMPARE(RevisarUH(p, t, 4), 1);
        // El llenado guarda el valor exacto: aunque la máscara redondee la
        // abscisa, el cursor sigue a su unidad.
        t.PonerTexto(5, ColCodigoTramo, QStringLiteral("E"));
        t.PonerTexto(5, ColAbscisaInicial, QStringLiteral("1.2345"));
        QVERIFY(RevisarUH(p, t, 5) == 4 && t.Texto(4, ColCodigoTramo) == QStringLiteral("E"));
        // Otra "C" con el mismo final sigue a la primera: el cursor va por su comienzo.
        t.PonerTexto(6, ColCodigoTramo, QStringLiteral("C"));
        t.PonerTexto(6, ColAbscisaInicial, QStringLiteral("50"));
        t.PonerTexto(6, ColAbscisaFinal, QStringLiteral("100"));
        QCOMPARE(RevisarUH(p, t, 6), 3);
        // En una fila vacía el cursor no busca nada.
        QCOMPARE(RevisarUH(p, t, 900), 900);

        // Con 1500 unidades escritas la capacidad crece.
        p = Proyecto();
        t = TablaVacia(1601);
        for (int f = 1; f <= 1500; ++f)
            t.PonerTexto(f, ColCodigoTramo, QStringLiteral("U%1").arg(f, 4, 10, QChar(u'0')));
        RevisarUH(p, t, 1500);
        QVERIFY(p.NumeroUH == 1500 && p.CapacidadUH() >= 1500);
        QCOMPARE(p.UH[1500].CodigoTramo, QStringLiteral("U1500"));
        QCOMPARE(Celdas(t, {{1500, ColCodigoTramo}, {1501, ColCodigoTramo}}), u"1601x16|U1500|"_s);
        // Una tabla más corta que el proyecto crece hasta su última unidad, numerada.
        TablaTextos corta = TablaVacia(2);
        CargarUH(p, corta);
        QCOMPARE(Celdas(corta, {{1500, 0}, {1500, ColCodigoTramo}}), u"1501x16|1500|U1500"_s);
    }

    void revisarDosVecesNoCambiaNada() {
        Proyecto p;
        LlenarProyectoDeMuestra(p, 40, 1);
        TablaTextos t = PrepararTablaUH(p);
        t.PonerTexto(41, ColCodigoTramo, QStringLiteral("T-1"));
        t.PonerTexto(41, ColAbscisaInicial, QStringLiteral("12.3456"));
        t.PonerTexto(41, ColEjesEquivalentes, QStringLiteral("123456"));
        RevisarUH(p, t, 41);
        const TablaTextos primera = t;
        // La segunda revisión guarda el valor exacto, no lo que muestra la máscara
        // (1.23E+05, 12.35)...
        RevisarUH(p, t, 1);
        QCOMPARE(t.Celdas(), primera.Celdas());
        QVERIFY(p.UH[1].EjesEquivalentes == 123456 && p.UH[1].AbscisaInicial == 12.3456);
        QCOMPARE(t.Texto(1, ColAbscisaInicial), QStringLiteral("12.35"));
        // ...y revisar otra vez no cambia nada.
        const QList<UnidadHomogenea> unidades(p.UH.begin() + 1, p.UH.begin() + 1 + p.NumeroUH);
        RevisarUH(p, t, 1);
        QCOMPARE(t.Celdas(), primera.Celdas());
        QVERIFY(QList<UnidadHomogenea>(p.UH.begin() + 1, p.UH.begin() + 1 + p.NumeroUH) ==
                unidades);
    }

    void copiaVaciaLimpiaYDeVuelta() {
        TablaTextos t = TablaVacia();
        // Sin nada, la copia llega hasta la última fila, con celdas vacías.
        QCOMPARE(CopiarTexto(t, 1, 1), QStringList(999, QString(14, u'\t')).join(u'\n'));
        QVERIFY(CopiarTexto(t, 1, 1, true).isEmpty());
        for (int f = 1; f <= 3; ++f)
            for (int c = 1; c < ColumnasUH; ++c)
                t.PonerTexto(f, c, QStringLiteral("%1.%2").arg(f).arg(c));
        // Tres líneas de 15 celdas, solo con LF y sin salto al final.
        const QString texto = CopiarTexto(t, 1, 1);
        QVERIFY(texto.count(u'\n') == 2 && texto.count(u'\t') == (3 * 14));
        QVERIFY(!texto.contains(u'\r') && texto.startsWith(u"1.1\t1.2\t"_s));
        QVERIFY(texto.contains(u"2.15\n3.1\t"_s) && texto.endsWith(u"3.14\t3.15"_s));

        t = TablaVacia();
        t.PonerTexto(1, 1, QStringLiteral("  A1  "));
        t.PonerTexto(1, 2, QStringLiteral("dos\tpartes\r\nen líneas"));
        QVERIFY(!CopiarTexto(t, 1, 1).contains(u'\n')); // solo la primera fila
        // Una fila intermedia vacía se copia; las del final no.
        t.PonerTexto(3, 15, QStringLiteral("fin"));
        QCOMPARE(CopiarTexto(t, 1, 1), QStringLiteral("A1\tdos partes  en líneas") +
                                           QString(13, u'\t') + u'\n' + QString(14, u'\t') + u'\n' +
                                           QString(14, u'\t') + QStringLiteral("fin"));
        // Con pararEnVacia la copia termina antes de la fila 2.
        QCOMPARE(CopiarTexto(t, 1, 1, true), u"A1\tdos partes  en líneas"_s + QString(13, u'\t'));
        // Desde la columna 2 la fila 3 todavía cuenta.
        QCOMPARE(CopiarTexto(t, 1, 2).count(u'\n'), 2);
    }

    // Lo copiado lleva los valores exactos (un W18 de 12345.25 x i, no "1.23E+04"):
    // pegado sobre las mismas filas da el mismo archivo byte por byte, y en un
    // proyecto vacío las mismas unidades.
    void copiaExactaDeVuelta_data() {
        QTest::addColumn<QChar>("separador");
        QTest::newRow("coma") << QChar(u',');
        QTest::newRow("punto") << QChar(u'.');
    }
    void copiaExactaDeVuelta() {
        QFETCH(QChar, separador);
        const SeparadorDecimal s = SeparadorDecimal(separador.unicode());
        Proyecto p;
        LlenarProyectoDeMuestra(p, 1000, 2);
        TablaTextos t = PrepararTablaUH(p, s);
        const QByteArray antes = TextoProyecto(p);
        const QString copia = CopiarTexto(t, 1, 1);
        QVERIFY(!copia.contains(u"E+"_s));
        QVERIFY(copia.contains(u"\t%1\t"_s.arg(TextoExacto(12345.25 * 7, s))));
        QVERIFY(PegarUH(t, copia, 1, 1, s).Notas.isEmpty());
        RevisarUH(p, t, 1);
        QCOMPARE(TextoProyecto(p), antes);

        Proyecto vacio;
        TablaTextos otra = PrepararTablaUH(vacio, s);
        PegarUH(otra, copia, 1, 1, s);
        RevisarUH(vacio, otra, 1);
        QCOMPARE(vacio.NumeroUH, 1000);
        for (int i : {1, 7, 500, 1000})
            for (const auto& [columna, campo] : CamposNumero.asKeyValueRange())
                QCOMPARE(vacio.UH[i].*campo, p.UH[i].*campo);
    }

    // Un bloque pegado se lee con la convención que muestran sus celdas; lo que no
    // se puede leer no entra y todo se dice en un mensaje.
    void pegadoConConvencion_data() {
        Columnas<QString, QChar>({"texto", "preferencia"});
        // Los campos guardados: una celda de lista vacía o rechazada queda vacía (la
        // tabla muestra la primera entrada, como al leer un archivo).
        Columnas<QString, QString>({"unidad", "mensaje"});
        QTest::newRow("hoja española")
            << u"UH-90\tx\t1\tA\t12.500\t13.250,50\t6\t85.000\tHúmedo\tFrío\t5,5\tOndulado\t"
               "AFR-2\t20\t0"_s
            << QChar(u'.')
            << u"UH-90|x|1|A|Humedo|Frio|Ondulado|AFR-2 12500 13250.5 6 85000 5.5 20 0"_s
            << u"Los números se leyeron con la coma como separador decimal, como lo muestran las "
               "celdas \"13.250,50\", \"5,5\" del texto pegado."_s;
        QTest::newRow("hoja inglesa")
            << u"E1\t\t2. Explanación\tb\t1,250.5\t1,300\t7.25\t85,000\tsemiarido\tcalido\t4\t"
               "Montanoso\tno\t0\t30"_s
            << QChar(u',')
            << u"E1||2|B|Semiarido|Calido|Montañoso|No hay 1250.5 1300 7.25 85000 4 0 30"_s
            << u"Los números se leyeron con el punto como separador decimal, como lo muestran "
               "las celdas \"1,250.5\", \"7.25\" del texto pegado."_s;
        QTest::newRow("sin muestra, con coma")
            << u"N1\t\t\t\t12.500\t\t\t215.000"_s << QChar(u',')
            << u"N1||||||| 12500 0 0 215000 0 0 0"_s
            << u"Los números se leyeron con la coma como separador decimal, el de la opción "
               "\"Separador decimal\": ninguna celda del texto pegado muestra otro."_s;
        QTest::newRow("sin muestra, con punto")
            << u"N1\t\t\t\t12.500\t\t\t215.000"_s << QChar(u'.')
            << u"N1||||||| 12.5 0 0 215 0 0 0"_s
            << u"Los números se leyeron con el punto como separador decimal, el de la opción "
               "\"Separador decimal\": ninguna celda del texto pegado muestra otro."_s;
        // La primera línea, vacía, también es fila: la que sigue se revisa.
        QTest::newRow("empieza con un salto")
            << u"\nN1\t\t\t\tcinco"_s << QChar(u'.') << u"N1||||||| 0 0 0 0 0 0 0"_s
            << u"No se tomaron estas celdas, que conservan su valor:\n"
               "fila 2, Abscisa Inicial: \"cinco\" no es un número"_s;
        // Solo blancos en un número o una lista es una celda vacía.
        QTest::newRow("enteros y blancos, nada que decir")
            << u"N1\t\t2\tC\t100\t200\t  \t\t \t"_s << QChar(u',')
            << u"N1||2|C|||| 100 200 0 0 0 0 0"_s << QString();
        QTest::newRow("rechazos y avisos")
            << u"R1Ω\tTramo ≥ 5 km Ω\tx\t\tcinco\t6,5 m\t65\t60000000\tS\tMojado\t150\tmont\t"
               "afr\t400\t0"_s
            << QChar(u',') << u"R1|Tramo  5 km |||||Montañoso| 0 6.5 65 60000000 150 0 0"_s
            << TextoDeDatos(u"pegado-rechazos.txt"_s);
    }
    // Los límites de lo usual: el límite mismo todavía es usual.
    void fueraDeLoUsual() {
        const QList<std::tuple<int, double, bool>> casos{
            {ColAnchoCorona, 40, false},        {ColAnchoCorona, 40.01, true},
            {ColEjesEquivalentes, 5e7, false},  {ColEjesEquivalentes, 5e7 + 1, true},
            {ColEspesorAfirmado, 300, false},   {ColEspesorSubrasante, 300.5, true},
            {ColAbscisaInicial, -1e7, false},   {ColAbscisaFinal, -1e7 - 0.5, true},
            {ColAbscisaFinal, 1e7 + 0.5, true}, {ColCBR, 100, false},
            {ColDescripcion, 1e9, false},       {ColCBR, 100.5, true},
        };
        for (const auto& [columna, valor, fuera] : casos)
            QVERIFY2(FueraDeLoUsualUH(columna, valor) == fuera,
                     qPrintable(u"%1: %2"_s.arg(columna).arg(valor)));
        // El número de una hoja fuera de lo usual también se toma exacto y se avisa.
        Proyecto p;
        TablaTextos t = PrepararTablaUH(p);
        QList<CeldaHoja> fila(ColCBR);
        fila[0].Texto = u"A"_s;
        fila[ColCBR - ColCodigoTramo] = CeldaHoja::DeNumero(150.5);
        const ResultadoPegado r = PegarCeldasUH(t, {fila}, 1, SeparadorDecimal::Punto);
        QVERIFY(r.Notas.size() == 1 && r.Notas[0].Nota == NotaPegado::FueraDeLoUsual &&
                r.Notas[0].Valor == 150.5 && t.Valor(1, ColCBR) == 150.5);
    }

    void pegadoConConvencion() {
        TOMAR((texto, preferencia), QString, QChar);
        const SeparadorDecimal s = SeparadorDecimal(preferencia.unicode());
        Proyecto p;
        TablaTextos t = PrepararTablaUH(p, s);
        QTEST(TextoPegado(PegarUH(t, texto, 1, 1, s), s), "mensaje");
        // En la tabla, lo que es solo blancos queda vacío y los tipos de tramo y de segmento
        // muestran su código.
        for (int c = ColTipoTramo; c < ColumnasUH; ++c)
            QVERIFY(t.Texto(1, c).isEmpty() || !t.Texto(1, c).trimmed().isEmpty());
        QVERIFY(t.Texto(1, ColTipoTramo).size() <= 1 && t.Texto(1, ColTipoSegmento).size() <= 1);
        RevisarUH(p, t, 1);
        QString numeros;
        for (const auto& [columna, campo] : CamposNumero.asKeyValueRange())
            numeros += u' ' + QString::number(p.UH[1].*campo, 'g', 15);
        QTEST(Textos(p.UH[1]) + numeros, "unidad");
    }

    void pegaSeparadores_data() {
        Columnas<QString, QString, QString>({"texto", "columna1", "columna2"});
        // Filas 1..4 de las columnas 1 y 2 separadas por "|"; "=" marca lo que había antes.
        QTest::newRow("CR LF") << u"a\tb\r\nc\td\r\n"_s << u"a|c|=|="_s << u"b|d|=|="_s;
        QTest::newRow("LF solo") << u"x\ty\nz"_s << u"x|z|=|="_s << u"y|=|=|="_s;
        QTest::newRow("CR solo") << u"x\ry"_s << u"x|y|=|="_s << u"=|=|=|="_s;
        QTest::newRow("línea en blanco vacía la celda")
            << u"x\r\r\ny"_s << u"x||y|="_s << u"=|=|=|="_s;
        QTest::newRow("CR LF al comienzo es un salto") << u"\r\nx"_s << u"|x|=|="_s << u"=|=|=|="_s;
        QTest::newRow("LF CR son dos saltos") << u"x\n\ry"_s << u"x||y|="_s << u"=|=|=|="_s;
        QTest::newRow("TAB final no escribe") << u"x\t"_s << u"x|=|=|="_s << u"=|=|=|="_s;
        QTest::newRow("TAB doble deja vacía") << u"\t\ty"_s << u"|=|=|="_s << u"|=|=|="_s;
        QTest::newRow("blancos tal cual") << u" a \t b"_s << u" a |=|=|="_s << u" b|=|=|="_s;
        QTest::newRow("nada") << u""_s << u"=|=|=|="_s << u"=|=|=|="_s;
    }
    void pegaSeparadores() {
        TOMAR((texto, columna1, columna2), QString, QString, QString);
        TablaTextos t = TablaVacia();
        for (int f = 1; f <= 4; ++f)
            for (int c = 1; c <= 2; ++c)
                t.PonerTexto(f, c, QStringLiteral("="));
        PegarTexto(t, texto, 1, 1, true, false);
        QCOMPARE(Celdas(t, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}), u"1000x16|"_s + columna1);
        QCOMPARE(Celdas(t, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}), u"1000x16|"_s + columna2);
    }

    void columnasYFilasAgregadas() {
        TablaTextos t = TablaVacia();
        PegarTexto(t, u"a\tb\tc\r\nd", 1, 14, true, false);
        // La pieza sobrante no pasa a la fila siguiente.
        QCOMPARE(Celdas(t, {{1, 14}, {1, 15}, {2, 14}, {2, 1}}), u"1000x16|a|b|d|"_s);

        // Con permiso se agregan columnas y las celdas siguen en su lugar.
        PegarTexto(t, u"x\ty\tz", 3, 15, false, true);
        QCOMPARE(Celdas(t, {{3, 17}, {1, 14}, {999, 0}}), u"1000x18|z|a|999"_s);

        // Con permiso se agregan filas, también por un salto al comienzo.
        PegarTexto(t, u"\na\nb", 998, 1, true, false);
        QCOMPARE(Celdas(t, {{998, 1}, {999, 1}, {1000, 1}}), u"1001x18||a|b"_s);

        // Sin permiso el pegado termina en la última fila.
        TablaTextos fija = TablaVacia();
        PegarTexto(fija, u"a\nb\nc", 998, 1, false, false);
        QCOMPARE(Celdas(fija, {{999, 1}}), u"1000x16|b"_s);

        // Un salto final en la última fila agrega una fila vacía y nada más.
        TablaTextos salto = TablaVacia();
        PegarTexto(salto, u"a\r\n", 999, 1, true, false);
        QCOMPARE(Celdas(salto, {{1000, 1}}), u"1001x16|"_s);
        // Las filas que agrega el pegado de unidades llevan su número.
        PegarUH(salto, u"a\nb\nc"_s, 1000, 1, SeparadorDecimal::Punto);
        QCOMPARE(Celdas(salto, {{1002, 0}, {1002, 1}}), u"1003x16|1002|c"_s);
    }

    void codificaciones() {
        const QString esperado = QStringLiteral("Cañada\tMontañoso €");
        QCOMPARE(DecodificarTextoUnidades("Ca\361ada\tMonta\361oso \200"), esperado);
        QCOMPARE(DecodificarTextoUnidades("\xEF\xBB\xBF" + esperado.toUtf8()), esperado);
        QByteArray utf16le("\xFF\xFE");
        QByteArray utf16be("\xFE\xFF");
        for (const QChar c : esperado) {
            utf16le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
            utf16be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
        }
        QCOMPARE(DecodificarTextoUnidades(utf16le), esperado);
        QCOMPARE(DecodificarTextoUnidades(utf16be), esperado);
        // UTF-8 sin marca se lee como Windows-1252, como lo haría el programa.
        QCOMPARE(DecodificarTextoUnidades(QByteArray("\xC3\xB1")), QStringLiteral("Ã±"));
        QVERIFY(DecodificarTextoUnidades(QByteArray()).isEmpty());
        // Lo que solo empieza como una marca es Windows-1252; una marca sola no deja nada.
        QCOMPARE(DecodificarTextoUnidades("\377a") + DecodificarTextoUnidades("\376b") +
                     DecodificarTextoUnidades("\357\273c"),
                 u"ÿaþbï»c"_s);
        for (const char* marca : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
            QVERIFY(DecodificarTextoUnidades(marca).isEmpty());
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasRevisionUH)
#include "PruebasRevisionUH.moc"
