// Datos del diagrama lineal: orden por abscisas, huecos y solapes, capas de la
// alternativa seleccionada comparadas con un diseño aparte de cada unidad,
// marcas de kilómetro, disposición, páginas y selección de menor costo.
#include "ProyectoDeDiseno.h"
#include "Pruebas.h"

#include "alternatives/DiagramaLineal.h"

using namespace Qt::StringLiterals;

namespace {

template <class Intervalo>
QString Intervalos(const QList<Intervalo>& lista) {
    QStringList t;
    for (const Intervalo& i : lista)
        t << u"%1-%2"_s.arg(i.Desde).arg(i.Hasta);
    return t.join(u' ');
}

} // namespace

class PruebasDiagramaLineal : public QObject {
    Q_OBJECT
private slots:
    void columnas_data() {
        QTest::addColumn<QStringList>("unidades");
        QTest::addColumn<QString>("orden");
        QTest::addColumn<QString>("huecos");
        QTest::addColumn<QString>("solapes");
        QTest::addColumn<QString>("capasPrimera"); // rótulos de la primera columna
        QTest::addColumn<double>("profundidad");
        QTest::addColumn<QString>("costos"); // de cada columna, en orden
        // El ejemplo resuelto: alternativa 1 con TSD, BG 200 y SBG 150 mm, que
        // cuesta 11 100 por metro de 6 m de ancho.
        QTest::newRow("orden de abscisas y hueco")
            << QStringList{u"B:1000:2000"_s, u"A:0:1000"_s, u"C:2500:3000"_s} << u"A B C"_s
            << u"2000-2500"_s << QString() << u"TSD|BG 20.0|SBG 15.0"_s << 40.0
            << u"11100000 11100000 5550000"_s;
        QTest::newRow("solape y abscisas invertidas")
            << QStringList{u"A:1200:0"_s, u"B:1000:2000"_s, u"C:1500:1800"_s} << u"A B C"_s
            << QString() << u"1000-1200 1500-1800"_s << u"TSD|BG 20.0|SBG 15.0"_s << 40.0
            << u"13320000 11100000 3330000"_s;
        QTest::newRow("sin diseño: sin alternativa ni capas")
            << QStringList{u"X:0:500:600000"_s, u"Y:500:900:10000:0"_s, u"Z:900:1000"_s}
            << u"X Y Z"_s << QString() << QString() << QString() << 40.0 << u"0 0 1110000"_s;
        // Por metro suman el afirmado (0.20 x 9000 x 6), la capa de subrasante
        // (0.30 x 8000 x 6) y el geotextil (11000 x 6).
        QTest::newRow("afirmado y capa de subrasante")
            << QStringList{u"A:0:100:10000:10:AFR-1:20:30"_s} << u"A"_s << QString() << QString()
            << u"TSD|BG 20.0|SBG 15.0|AFR 20.0|CSR 30.0"_s << 90.0 << u"10230000"_s;
        QTest::newRow("afirmado sin tipo no es capa")
            << QStringList{u"A:0:100:10000:10:No hay:20:0"_s} << u"A"_s << QString() << QString()
            << u"TSD|BG 20.0|SBG 15.0"_s << 40.0 << u"1110000"_s;
    }
    void columnas() {
        QFETCH(QStringList, unidades);
        QFETCH(QString, orden);
        QFETCH(QString, huecos);
        QFETCH(QString, solapes);
        QFETCH(QString, capasPrimera);
        QFETCH(double, profundidad);
        QFETCH(QString, costos);
        ModuloVarek9 m = ProyectoDe(unidades);
        const DiagramaLineal d = CalcularDiagrama(m);

        QStringList codigos, vistos;
        double longitud = 0, costo = 0, hondo = 0;
        for (const ColumnaDiagrama& c : d.Columnas) {
            codigos << c.Codigo;
            vistos << QString::number(c.Costo, 'f', 0);
            longitud += c.Hasta - c.Desde;
            costo += c.Costo;
            const UnidadHomogenea& u = m.Proyecto.UH[c.Unidad];
            QCOMPARE(c.Desde, std::min(u.AbscisaInicial, u.AbscisaFinal));
            QCOMPARE(c.Hasta, std::max(u.AbscisaInicial, u.AbscisaFinal));
            // La primera aplicable queda seleccionada en la unidad; sin diseño, ninguna.
            QCOMPARE(c.Alternativa, c.Costo > 0 ? 1 : 0);
            QCOMPARE(u.AlternativaSeleccionada, c.Alternativa);
            QCOMPARE(c.Capas.isEmpty(), c.Alternativa == 0);
            if (c.Alternativa == 0) QCOMPARE(c.TextoAlternativa(), u"Sin alt."_s);
            double arriba = 0;
            for (const CapaDiagrama& capa : c.Capas) {
                QCOMPARE(capa.Desde, arriba); // apiladas desde la superficie
                QCOMPARE(capa.Hasta - capa.Desde, capa.Espesor / 10);
                arriba = capa.Hasta;
            }
            hondo = std::max(hondo, arriba);
        }
        QCOMPARE(codigos.join(u' '), orden);
        QCOMPARE(vistos.join(u' '), costos);
        QCOMPARE(Intervalos(d.Huecos), huecos);
        QCOMPARE(Intervalos(d.Solapes), solapes);
        QStringList rotulos;
        for (const CapaDiagrama& capa : d.Columnas.first().Capas)
            rotulos << capa.Etiqueta;
        QCOMPARE(rotulos.join(u'|'), capasPrimera);
        QCOMPARE(d.ProfundidadMaxima, profundidad);
        QVERIFY(d.ProfundidadMaxima >= hondo);
        QCOMPARE(d.AbscisaMinima, d.Columnas.first().Desde);
        QCOMPARE(d.CostoTotal, costo);
        QCOMPARE(d.Longitud, longitud);
        QCOMPARE(d.CostoPromedioKm, d.Longitud > 0 ? d.CostoTotal / d.Longitud : 0);
    }

    void abscisas_data() {
        QTest::addColumn<double>("desde");
        QTest::addColumn<double>("hasta");
        QTest::addColumn<int>("maximo");
        QTest::addColumn<QString>("marcas");
        QTest::newRow("km") << 0.0 << 2600.0 << 5 << u"K0+000 K1+000 K2+000"_s;
        QTest::newRow("500 m") << 0.0 << 2600.0 << 6
                               << u"K0+000 K0+500 K1+000 K1+500 K2+000 K2+500"_s;
        QTest::newRow("200 m dentro") << 350.0 << 1020.0 << 4 << u"K0+400 K0+600 K0+800 K1+000"_s;
        QTest::newRow("10 km") << 12345.0 << 48000.0 << 2 << u"K20+000 K40+000"_s;
        QTest::newRow("tramo corto") << 2601.0 << 2619.0 << 5 << u"K2+610"_s;
        QTest::newRow("sin marcas") << 2601.0 << 2609.0 << 5 << QString();
    }
    void abscisas() {
        QFETCH(double, desde);
        QFETCH(double, hasta);
        QFETCH(int, maximo);
        QFETCH(QString, marcas);
        QStringList t;
        for (const MarcaDiagrama& m : MarcasAbscisa(desde, hasta, maximo)) {
            QVERIFY(m.Valor >= desde && m.Valor <= hasta);
            t << m.Texto;
        }
        QCOMPARE(t.join(u' '), marcas);
        QCOMPARE(TextoAbscisa(350.5), u"K0+350.50"_s);
        QCOMPARE(TextoAbscisa(12345.678), u"K12+345.68"_s);
        QCOMPARE(TextoAbscisa(999.999), u"K1+000"_s);
    }

    void disposicion_data() {
        QTest::addColumn<double>("ancho"); // del área, en puntos
        QTest::addColumn<double>("alto");
        QTest::addColumn<double>("letra"); // ancho de un carácter
        QTest::addColumn<double>("desde");
        QTest::addColumn<double>("hasta");
        QTest::addColumn<QString>("visibles");  // códigos de las columnas a la vista
        QTest::addColumn<QString>("etiquetas"); // de la columna B: capas con rótulo
        QTest::newRow("todo, ancho") << 2000.0 << 800.0 << 6.0 << 0.0 << 3000.0 << u"A B C"_s
                                     << u"BG 20.0|SBG 15.0|AFR 20.0|CSR 30.0"_s;
        QTest::newRow("todo, angosto")
            << 150.0 << 800.0 << 6.0 << 0.0 << 3000.0 << u"A B C"_s << QString();
        QTest::newRow("acercado a B") << 150.0 << 800.0 << 6.0 << 1100.0 << 1300.0 << u"B"_s
                                      << u"BG 20.0|SBG 15.0|AFR 20.0|CSR 30.0"_s;
        // Bajo: la estructura toma alto de las otras franjas, pero solo las capas
        // de 20 cm o más tienen alto para su rótulo.
        QTest::newRow("todo, bajo") << 2000.0 << 250.0 << 6.0 << 0.0 << 3000.0 << u"A B C"_s
                                    << u"BG 20.0|AFR 20.0|CSR 30.0"_s;
    }
    void disposicion() {
        QFETCH(double, ancho);
        QFETCH(double, alto);
        QFETCH(double, letra);
        QFETCH(double, desde);
        QFETCH(double, hasta);
        QFETCH(QString, visibles);
        QFETCH(QString, etiquetas);
        ModuloVarek9 m = ProyectoDe(
            {u"A:0:1000"_s, u"B:1000:2000:10000:10:AFR-1:20:30"_s, u"C:2500:3000:600000"_s});
        const DiagramaLineal d = CalcularDiagrama(m);
        const QRectF area(10, 20, ancho, alto);
        const DisposicionDiagrama r = DisponerDiagrama(d, area, desde, hasta, {letra, 12});
        QVERIFY(area.contains(r.Titulo) && area.contains(r.Estructuras) && area.contains(r.Costo) &&
                area.contains(r.Totales));
        QVERIFY(r.Rotulos.bottom() <= r.Estructuras.top() &&
                r.Estructuras.bottom() <= r.Abscisas.top() && r.Abscisas.bottom() <= r.SN.top() &&
                r.SN.bottom() <= r.Costo.top());
        QCOMPARE(r.X(desde), r.Estructuras.left());
        QCOMPARE(r.X(hasta), r.Estructuras.right());
        QVERIFY(std::abs(r.Abscisa(r.X(1234)) - 1234) < 1e-9);

        QStringList codigos, rotulos;
        for (const ColumnaDispuesta& c : r.Columnas) {
            const ColumnaDiagrama& col = d.Columnas[c.Columna];
            codigos << col.Codigo;
            QVERIFY(r.Estructuras.contains(c.Estructura) || c.Estructura.width() == 0);
            // Alto de cada capa a escala con su espesor; rótulo solo si cabe.
            for (qsizetype k = 0; k < col.Capas.size(); ++k) {
                const CapaDiagrama& capa = col.Capas[k];
                const QRectF& rect = c.Capas[k].Rectangulo;
                QCOMPARE(rect.top(), r.Estructuras.top() +
                                         capa.Desde / d.ProfundidadMaxima * r.Estructuras.height());
                if (capa.Espesor > 0)
                    QVERIFY(std::abs(rect.height() - capa.Espesor / 10 / d.ProfundidadMaxima *
                                                         r.Estructuras.height()) < 1e-9);
                const bool cabe =
                    capa.Etiqueta.size() * letra <= rect.width() - 2 && 12 <= rect.height();
                QCOMPARE(c.Capas[k].EtiquetaCabe, cabe);
                if (col.Codigo == u"B" && cabe) rotulos << capa.Etiqueta;
            }
            // Escalón de SN y barra de costo a la escala de su franja.
            QVERIFY(std::abs(c.SN.height() - col.SNRequerido / r.EscalaSN * r.SN.height()) < 1e-9);
            QVERIFY(r.EscalaCosto >= d.CostoKmMaximo);
            // El clic en el centro de la columna la encuentra.
            if (c.Estructura.width() > 1)
                QCOMPARE(d.Columnas[r.ColumnaEn(c.Estructura.center())].Codigo, col.Codigo);
        }
        QCOMPARE(codigos.join(u' '), visibles);
        QCOMPARE(rotulos.join(u'|'), etiquetas);
        QCOMPARE(r.ColumnaEn(QPointF(r.Estructuras.left() + 1, r.Titulo.top())), -1);
        // El hueco entre B y C se ve cuando su tramo está a la vista.
        QCOMPARE(r.Huecos.size(), hasta > 2000 ? 1 : 0);
        QCOMPARE(r.MarcasCm.first().second.Texto, u"0 cm"_s);
        QVERIFY(r.MarcasCm.last().first <= r.Estructuras.bottom() + 1e-9);
    }

    void paginas_data() {
        QTest::addColumn<QStringList>("unidades");
        QTest::addColumn<double>("minimo"); // ancho mínimo de columna, de 1000 útiles
        QTest::addColumn<QString>("paginas");
        const QStringList diez = [] {
            QStringList l;
            for (int i = 0; i < 10; ++i)
                l << u"U%1:%2:%3"_s.arg(i).arg(1000 * i).arg(1000 * i + 1000);
            return l;
        }();
        QTest::newRow("una página") << diez << 100.0 << u"0-10000"_s;
        QTest::newRow("dos páginas") << diez << 200.0 << u"0-5000 5000-10000"_s;
        QTest::newRow("una unidad por página")
            << diez.mid(0, 3) << 2000.0 << u"0-1000 1000-2000 2000-3000"_s;
        // La unidad corta pide su escala; el hueco queda al final de la página anterior.
        QTest::newRow("unidad corta y hueco")
            << QStringList{u"A:0:1000"_s, u"B:1000:1100"_s, u"C:1500:2500"_s, u"D:2500:3500"_s}
            << 100.0 << u"0-1000 1000-1500 1500-3500"_s;
        // Un hueco largo no achica la escala de la página: se ve solo su comienzo.
        QTest::newRow("hueco largo")
            << QStringList{u"A:0:1000"_s, u"B:1000:1100"_s, u"C:9000:9500"_s} << 100.0
            << u"0-1000 1000-2000 9000-9500"_s;
    }
    void paginas() {
        QFETCH(QStringList, unidades);
        QFETCH(double, minimo);
        QFETCH(QString, paginas);
        ModuloVarek9 m = ProyectoDe(unidades);
        const DiagramaLineal d = CalcularDiagrama(m);
        const QList<PaginaDiagrama> resultado = PaginarDiagrama(d, 1000, minimo);
        QCOMPARE(Intervalos(resultado), paginas);
        // Cada columna en una sola página, entera.
        int siguiente = 0;
        for (const PaginaDiagrama& p : resultado) {
            QCOMPARE(p.Primera, siguiente);
            for (int j = p.Primera; j < p.Ultima; ++j)
                QVERIFY(d.Columnas[j].Desde >= p.Desde && d.Columnas[j].Hasta <= p.Hasta);
            siguiente = p.Ultima;
        }
        QCOMPARE(siguiente, d.Columnas.size());
    }

    void menorCosto_data() {
        QTest::addColumn<int>("unidades");
        QTest::addColumn<bool>("costosEnCero");
        QTest::addColumn<int>("guardada"); // selección guardada de todas las unidades
        QTest::newRow("muestra, selección por defecto") << 40 << false << 0;
        QTest::newRow("muestra, selección 5 guardada") << 40 << false << 5;
        QTest::newRow("empate: gana la de menor número") << 12 << true << 6;
    }
    void menorCosto() {
        QFETCH(int, unidades);
        QFETCH(bool, costosEnCero);
        QFETCH(int, guardada);
        ModuloVarek9 m;
        ProyectoDeDiseno(m, unidades);
        if (costosEnCero) m.Proyecto.CostosUnitarios.fill(0);
        for (int i = 1; i <= unidades; ++i)
            m.Proyecto.UH[i].AlternativaSeleccionada = static_cast<qint16>(guardada);
        // Dos unidades sin diseño: conservan lo guardado.
        m.Proyecto.UH[2].EjesEquivalentes = 600000;
        m.Proyecto.UH[3].CBR = 0;
        const ModuloVarek9 antes = m;
        const ResultadoMenorCosto r = SeleccionarMenorCosto(m);

        double costoAntes = 0, costoDespues = 0;
        int cambiadas = 0;
        for (int i = 1; i <= unidades; ++i) {
            ModuloVarek9 aparte = antes;
            EstadoDiseno e;
            CalcularAlternativas(aparte, e, i);
            SeleccionarAlternativa(aparte, i);
            const int previa = aparte.Proyecto.UH[i].AlternativaSeleccionada;
            const int nueva = m.Proyecto.UH[i].AlternativaSeleccionada;
            if (i == 2 || i == 3) {
                QCOMPARE(nueva, guardada);
                continue;
            }
            QVERIFY(aparte.AlternativaUH[nueva].Aplicable);
            for (int n = 1; n <= 6; ++n)
                if (aparte.AlternativaUH[n].Aplicable)
                    QVERIFY(e.CostoAlternativa[nueva] < e.CostoAlternativa[n] ||
                            (e.CostoAlternativa[nueva] == e.CostoAlternativa[n] && nueva <= n));
            costoAntes += e.CostoAlternativa[previa];
            costoDespues += e.CostoAlternativa[nueva];
            cambiadas += previa != nueva;
        }
        QCOMPARE(r.CostoAntes, costoAntes);
        QCOMPARE(r.CostoDespues, costoDespues);
        QVERIFY(r.CostoDespues <= r.CostoAntes);
        QCOMPARE(r.Cambiadas, cambiadas);
        QCOMPARE(m.ProyectoModificado, cambiadas > 0);
        // Otra vez no cambia nada.
        m.ProyectoModificado = false;
        const ResultadoMenorCosto otra = SeleccionarMenorCosto(m);
        QCOMPARE(otra.Cambiadas, 0);
        QCOMPARE(otra.CostoAntes, r.CostoDespues);
        QVERIFY(!m.ProyectoModificado);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasDiagramaLineal)
#include "PruebasDiagramaLineal.moc"
