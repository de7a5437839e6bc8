#include "alternatives/Diseno.h"

#include "project/Solucionador.h"

#include <cmath>

namespace {

// Por encima de este módulo la capa de abajo es más rígida que un granular y la
// capa se lleva a su mínimo en lugar de calcularse por capas.
constexpr double ModuloMaximoPorCapas = 50000;
constexpr double TransitoMaximo = 500000;
constexpr double TransitoAlto = 150000;

// Número estructural requerido sobre un módulo, con los datos de la unidad.
struct SNSobre {
    double w18, zr, so, deltaPSI;
    double operator()(double modulo) const {
        return NumeroEstructural(w18, zr, so, deltaPSI, modulo);
    }
};
using NumerosEstructurales = PorModulo<SNSobre>;

double MinimoPorTransito(const CapaAlternativa& c, double w18) {
    return w18 >= TransitoAlto ? c.EspesorMinimoAlto : c.EspesorMinimoBajo;
}

// Sube un espesor a un mínimo que exista (mayor que 0).
void SubirAlMinimo(double& espesor, double minimo) {
    if (minimo > 0 && espesor < minimo) espesor = minimo;
}

double CostoDeAlternativa(const AlternativaUH& alt, const UnidadHomogenea& u, const Proyecto& p) {
    const double area = std::fabs(u.AbscisaFinal - u.AbscisaInicial) * u.AnchoCorona;
    double costo = 0;
    for (int k = 1; k <= alt.NumeroCapas; ++k) {
        const CapaAlternativa& c = alt.Capas[k];
        const double unitario = p.CostosUnitarios[static_cast<std::size_t>(c.Tipo)];
        if (k == 1 && c.Espesor == 0) {
            costo += area * unitario; // tratamiento superficial, por m²
        } else {
            costo += c.Espesor / 1000 * area * unitario;
        }
    }
    if (u.EspesorSubrasante > 0)
        costo +=
            (u.EspesorSubrasante / 100 * p.CostosUnitarios[CapaCSR] + p.CostosUnitarios[CapaGEO]) *
            area;
    return costo;
}

void DisenarAlternativa(ModuloVarek9& m, AlternativaUH& alt, const UnidadHomogenea& u,
                        NumerosEstructurales& sn, int humedad, int temperatura) {
    const double w18 = u.EjesEquivalentes;
    const int capas = alt.NumeroCapas;

    for (int k = 1; k <= capas; ++k) {
        CapaAlternativa& c = alt.Capas[k];
        const TipoCapa& t = m.TipoCapa[static_cast<std::size_t>(c.Tipo)];
        if (c.CoefEstructural == 0) c.CoefEstructural = t.CoefEstructural[temperatura];
        c.CoefDrenaje = t.CoefDrenaje[humedad];
        c.Modulo = t.Modulo;
    }

    // Análisis por capas: espesor en pulgadas sobre el módulo de la capa de abajo.
    for (int k = 1; k <= capas; ++k) {
        CapaAlternativa& c = alt.Capas[k];
        if (!c.DisenoPorCapas) continue;
        const double moduloAbajo = alt.Capas[k + 1].Modulo;
        if (moduloAbajo <= ModuloMaximoPorCapas) {
            double resto = sn.Sobre(moduloAbajo);
            for (int j = 1; j < k; ++j) {
                const CapaAlternativa& a = alt.Capas[j];
                resto = resto - a.CoefEstructural * a.CoefDrenaje * a.EspesorDiseno;
            }
            c.EspesorDiseno = resto <= 0 ? 0 : resto / (c.CoefEstructural * c.CoefDrenaje);
        } else {
            const double minimo = MinimoPorTransito(c, w18);
            if (minimo != 0) c.EspesorDiseno = minimo / 25.4;
        }
    }
    for (int k = 1; k <= capas; ++k) {
        CapaAlternativa& c = alt.Capas[k];
        if (c.DisenoPorCapas) c.EspesorDiseno = std::floor(c.EspesorDiseno * 25.4 + 0.5);
    }

    for (int k = 1; k <= capas; ++k) {
        CapaAlternativa& c = alt.Capas[k];
        if (c.Espesor == 0) {
            if (c.EspesorInicial > 0) c.Espesor = c.EspesorInicial;
            if (c.EspesorDiseno > 0 && c.EspesorDiseno > c.Espesor) c.Espesor = c.EspesorDiseno;
        }
        if (c.Espesor > 0) SubirAlMinimo(c.Espesor, MinimoPorTransito(c, w18));
    }

    double aportado = 0;
    for (int k = 1; k <= capas; ++k) {
        const CapaAlternativa& c = alt.Capas[k];
        aportado = aportado + c.Espesor / 25.4 * c.CoefEstructural * c.CoefDrenaje;
    }
    const double resto = u.SNRequerido - aportado;

    // El resto va a las capas sin espesor; no se descuenta, así que cada una se
    // dimensiona para todo el resto (con las plantillas solo una califica).
    for (int k = 1; k <= capas; ++k) {
        CapaAlternativa& c = alt.Capas[k];
        if (c.CoefEstructural <= 0 || c.Espesor != 0) continue;
        if (resto > 0) {
            c.Espesor = std::floor(resto / (c.CoefDrenaje * c.CoefEstructural) * 25.4 + 0.5);
            // También cuando el redondeo da 0 mm: una base no desaparece por un resto pequeño.
            SubirAlMinimo(c.Espesor, MinimoPorTransito(c, w18));
        } else if (!c.Opcional) {
            SubirAlMinimo(c.Espesor, MinimoPorTransito(c, w18));
            break;
        }
    }
}

} // namespace

double ModuloSubrasante(double cbr) {
    return 2555 * std::pow(cbr, 0.64);
}

int ClaseHumedad(const QString& clima) {
    if (clima == QLatin1StringView("Arido")) return 1;
    if (clima == QLatin1StringView("Semiarido")) return 2;
    if (clima == QLatin1StringView("Subhumedo")) return 3;
    if (clima == QLatin1StringView("Humedo")) return 4;
    return 5;
}

int ClaseTemperatura(const QString& clima) {
    if (clima == QLatin1StringView("Frio")) return 1;
    if (clima == QLatin1StringView("Templado")) return 2;
    return 3;
}

double CoeficienteAfirmado(const QString& tipoAfirmado) {
    if (tipoAfirmado == QLatin1StringView("AFR-1")) return 0.08;
    if (tipoAfirmado == QLatin1StringView("AFR-2")) return 0.06;
    return 0;
}

CausaSinDiseno SinDiseno(const UnidadHomogenea& u) {
    const double w18 = u.EjesEquivalentes;
    if (w18 > TransitoMaximo) return CausaSinDiseno::TransitoAlto;
    if (!(w18 > 0)) return CausaSinDiseno::TransitoNoDefinido;
    // Sin CBR positivo no hay módulo de subrasante: la unidad queda sin diseño.
    if (!(u.CBR > 0)) return CausaSinDiseno::CBRNoDefinido;
    return CausaSinDiseno::Ninguna;
}

CausaSinDiseno SinDiseno(const Proyecto& p, const UnidadHomogenea& u) {
    const CausaSinDiseno causa = SinDiseno(u);
    if (causa != CausaSinDiseno::Ninguna) return causa;
    const double sn = NumeroEstructural(u.EjesEquivalentes, -p.Zr, p.So,
                                        4.2 - p.ServiciabilidadFinal, ModuloSubrasante(u.CBR));
    return sn == -1.0 ? CausaSinDiseno::NoConverge : CausaSinDiseno::Ninguna;
}

QString TextoSinDiseno(CausaSinDiseno causa) {
    switch (causa) {
    case CausaSinDiseno::TransitoAlto:
        return QStringLiteral("Tránsito mayor que 500,000 ejes: fuera del alcance del método");
    case CausaSinDiseno::TransitoNoDefinido:
        return QStringLiteral("Tránsito no definido");
    case CausaSinDiseno::CBRNoDefinido:
        return QStringLiteral("CBR no definido");
    case CausaSinDiseno::NoConverge:
        return QStringLiteral("El número estructural no converge");
    case CausaSinDiseno::Ninguna:
        break;
    }
    return {};
}

void CalcularAlternativas(ModuloVarek9& modulo, EstadoDiseno& estado, int i) {
    const Proyecto& p = modulo.Proyecto;
    UnidadHomogenea& u = modulo.Proyecto.UH[i];
    u.SNRequerido = 0;
    const double deltaPSI = 4.2 - p.ServiciabilidadFinal;
    const double espesorAfirmado = u.EspesorAfirmado * 10;
    const double coefAfirmado = CoeficienteAfirmado(u.TipoAfirmado);
    InicializarCatalogo(modulo, espesorAfirmado, coefAfirmado);
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        modulo.AlternativaUH[n].Aplicable = false;
        estado.CostoAlternativa[n] = 0;
    }

    if (SinDiseno(u) != CausaSinDiseno::Ninguna) return;
    const double w18 = u.EjesEquivalentes;

    NumerosEstructurales sn(SNSobre{w18, -p.Zr, p.So, deltaPSI});
    const double requerido = sn.Sobre(ModuloSubrasante(u.CBR));
    // Se aparta a propósito: sin raíz no hay estructuras mínimas, la unidad queda sin diseño.
    if (requerido == -1.0) return;
    u.SNRequerido = requerido;

    const int humedad = ClaseHumedad(u.ClimaHumedad);
    const int temperatura = ClaseTemperatura(u.ClimaTemperatura);
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        AlternativaUH& alt = modulo.AlternativaUH[n];
        alt.Aplicable = u.CBR > alt.CBRMinimo;
        if (!alt.Aplicable) continue;
        DisenarAlternativa(modulo, alt, u, sn, humedad, temperatura);
        estado.CostoAlternativa[n] = CostoDeAlternativa(alt, u, p);
    }
}

void SeleccionarAlternativa(ModuloVarek9& modulo, int i) {
    qint16& seleccion = modulo.Proyecto.UH[i].AlternativaSeleccionada;
    // Una selección fuera de 1..6 cuenta como no aplicable.
    if (seleccion >= 1 && seleccion <= NumeroAlternativas &&
        modulo.AlternativaUH[seleccion].Aplicable)
        return;
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        if (modulo.AlternativaUH[n].Aplicable) {
            seleccion = static_cast<qint16>(n);
            return;
        }
    }
}

void DisenarProyecto(ModuloVarek9& modulo, EstadoDiseno& estado,
                     const std::function<void(int)>& porUnidad) {
    estado.CostoTotal.fill(0);
    for (int i = 1; i <= modulo.Proyecto.NumeroUH; ++i) {
        CalcularAlternativas(modulo, estado, i);
        for (int n = 1; n <= NumeroAlternativas; ++n)
            estado.CostoTotal[n] += estado.CostoAlternativa[n];
        SeleccionarAlternativa(modulo, i);
        if (porUnidad) porUnidad(i);
    }
}
