// Geometría del dibujo a escala: altos, posiciones, visibilidad, rótulos y ayudas
// de las cajas de las seis estructuras.
#include "ProyectoDeDiseno.h"
#include "Pruebas.h"

#include "alternatives/DibujoEspesores.h"
#include "alternatives/Diseno.h"
#include "common/Numeros.h"

namespace {

// Alternativas armadas a mano: n capas con (tipo, espesor en mm).
void Alternativa(ModuloVarek9& m, int n, bool aplica, QList<std::pair<int, double>> capas) {
    AlternativaUH& a = m.AlternativaUH[n];
    a.Aplicable = aplica;
    a.NumeroCapas = static_cast<qint16>(capas.size());
    for (int k = 1; k <= NumeroRanuras; ++k) {
        a.Capas[k].Tipo = k <= capas.size() ? static_cast<qint16>(capas[k - 1].first) : 0;
        a.Capas[k].Espesor = k <= capas.size() ? capas[k - 1].second : 0;
    }
    a.Capas[NumeroRanuras].Tipo = CapaCSR;
}

ModuloVarek9 Modulo() {
    ModuloVarek9 m;
    InicializarCatalogo(m, 0, 0);
    for (int n = 1; n <= NumeroAlternativas; ++n)
        Alternativa(m, n, false, {});
    return m;
}

} // namespace

class PruebasDibujoEspesores : public QObject {
    Q_OBJECT
private slots:
    void escalaSolapeYCajasDeLaUnidad() {
        ModuloVarek9 m = Modulo();
        // La 1 es la más gruesa: 0 + 200 + 150 + 100 de afirmado + 300 de subrasante.
        Alternativa(m, 1, true, {{CapaTSD, 0}, {CapaBG, 200}, {CapaSBG, 150}, {CapaAFR, 100}});
        Alternativa(m, 2, true, {{CapaMDF2, 57}, {CapaBG, 150}});
        Alternativa(m, 3, false, {{CapaMDF2, 440}}); // no aplica pero cuenta: 740
        DibujoEspesores d = MostrarEspesores(m, 100, 300);
        QVERIFY(d.Tmax == 750);
        const double escala = AltoDibujo / 750;

        const EstructuraDibujada& e1 = d.Estructuras[1];
        QVERIFY(e1.Aplica);
        // El tratamiento superficial no tiene espesor: no se dibuja ni corre las demás.
        QVERIFY(!e1.Cajas[0].Visible);
        QVERIFY(e1.Cajas[1].Visible && e1.Cajas[1].Arriba == 0);
        QVERIFY(e1.Cajas[1].Alto == RedondearPar(escala * 200));
        QVERIFY(e1.Cajas[2].Arriba == e1.Cajas[1].Alto - SolapeCajas);
        QVERIFY(e1.Cajas[3].Arriba == e1.Cajas[2].Arriba + e1.Cajas[2].Alto - SolapeCajas);
        QVERIFY(e1.Cajas[4].Visible && e1.Cajas[4].Alto == RedondearPar(escala * 300));
        // La más gruesa llena el alto del dibujo menos 30 twips por cada unión.
        const CajaEstructura& ultima = e1.Cajas[4];
        QVERIFY(std::abs(ultima.Arriba + ultima.Alto - (AltoDibujo - 3 * SolapeCajas)) <= 2);

        QCOMPARE(e1.Cajas[0].Etiqueta, QStringLiteral("TSD"));
        QCOMPARE(e1.Cajas[1].Etiqueta, QStringLiteral("BG (20.0)"));
        QCOMPARE(e1.Cajas[1].Ayuda, QStringLiteral("BG Base Granular (Articulo INV 330)"));
        QCOMPARE(e1.Cajas[3].Etiqueta, QStringLiteral("AFR (10.0)"));
        QCOMPARE(e1.Cajas[4].Etiqueta, QStringLiteral("CSR + Geotextil (30.0)"));

        // La 2, a la misma escala.
        QVERIFY(d.Estructuras[2].Cajas[0].Alto == RedondearPar(escala * 57));
        QCOMPARE(d.Estructuras[2].Cajas[0].Etiqueta, QStringLiteral("MDF-2 (5.7)"));
        QVERIFY(!d.Estructuras[2].Cajas[2].Visible && !d.Estructuras[2].Cajas[3].Visible);
        QVERIFY(!d.Estructuras[3].Aplica);
        // Una alternativa que no aplica también fija la escala.
        Alternativa(m, 3, false, {{CapaMDF2, 600}});
        QVERIFY(MostrarEspesores(m, 100, 300).Tmax == 900);

        Alternativa(m, 1, true, {{CapaMDF2, 50}, {CapaBG, 150}, {CapaSBG, 150}, {CapaAFR, 200}});
        // Sin afirmado en la unidad la caja 3 no se muestra aunque la capa tenga espesor;
        // sin capa de subrasante tampoco la 4.
        d = MostrarEspesores(m, 0, 0);
        QVERIFY(!d.Estructuras[1].Cajas[3].Visible && !d.Estructuras[1].Cajas[4].Visible);
        d = MostrarEspesores(m, 200, 0);
        QVERIFY(d.Estructuras[1].Cajas[3].Visible && !d.Estructuras[1].Cajas[4].Visible);
        // Sin espesor en ninguna estructura no hay escala: nada se dibuja.
        ModuloVarek9 vacio = Modulo();
        Alternativa(vacio, 1, true, {{CapaTSD, 0}});
        d = MostrarEspesores(vacio, 0, 0);
        QVERIFY(d.Tmax == 0);
        for (const CajaEstructura& c : d.Estructuras[1].Cajas)
            QVERIFY(!c.Visible);
    }

    void desdeElDisenoDeUnaUnidad() {
        ModuloVarek9 m = ProyectoDe({QStringLiteral("U:0:1000:100000:4:AFR-1:20:30")});
        UnidadHomogenea& u = m.Proyecto.UH[1];
        u.ClimaHumedad = QStringLiteral("Humedo");
        EstadoDiseno estado;
        CalcularAlternativas(m, estado, 1);
        DibujoEspesores d = MostrarEspesores(m, 200, 300);
        int aplicables = 0;
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            const EstructuraDibujada& e = d.Estructuras[n];
            if (!e.Aplica) continue;
            ++aplicables;
            QCOMPARE(e.Cajas[3].Etiqueta, QStringLiteral("AFR (20.0)"));
            QVERIFY(e.Cajas[3].Visible);
            QCOMPARE(e.Cajas[4].Etiqueta, QStringLiteral("CSR + Geotextil (30.0)"));
        }
        QVERIFY(aplicables > 0);

        // "No hay" con 20 cm: el diseño no lleva afirmado y la caja 3 queda vacía.
        u.TipoAfirmado = QStringLiteral("No hay");
        u.EspesorSubrasante = 0;
        CalcularAlternativas(m, estado, 1);
        d = MostrarEspesores(m, 200, 0);
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            QVERIFY(!d.Estructuras[n].Cajas[3].Visible);
            QVERIFY(!d.Estructuras[n].Cajas[4].Visible);
        }
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasDibujoEspesores)
#include "PruebasDibujoEspesores.moc"
