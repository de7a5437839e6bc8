#include "alternatives/Cantidades.h"

#include <cmath>

CantidadesUnidad CantidadesDeUnidad(const ModuloVarek9& modulo, const EstadoDiseno& estado, int i) {
    const Proyecto& p = modulo.Proyecto;
    const UnidadHomogenea& u = p.UH[i];
    CantidadesUnidad c;
    c.Unidad = i;
    const int n = u.AlternativaSeleccionada;
    if (n < 1 || n > NumeroAlternativas || !modulo.AlternativaUH[n].Aplicable) return c;
    const AlternativaUH& alt = modulo.AlternativaUH[n];
    c.Alternativa = n;
    c.Costo = estado.CostoAlternativa[n];
    // Los mismos productos, en el mismo orden, que el costo de la alternativa.
    const double area = std::fabs(u.AbscisaFinal - u.AbscisaInicial) * u.AnchoCorona;
    c.Area = area;
    c.Capas.reserve(NumeroRanuras + 1); // a lo sumo tres capas, el afirmado, CSR y GEO
    for (int k = 1; k <= alt.NumeroCapas; ++k) {
        const CapaAlternativa& capa = alt.Capas[k];
        const double unitario = p.CostosUnitarios[static_cast<std::size_t>(capa.Tipo)];
        if (k == 1 && capa.Espesor == 0) {
            c.Capas.append({capa.Tipo, 0, area, area * unitario});
        } else if (capa.Tipo == CapaAFR && k == NumeroRanuras - 1) {
            c.CostoAfirmado = capa.Espesor / 1000 * area * unitario;
        } else if (capa.Espesor > 0) {
            c.Capas.append({capa.Tipo, capa.Espesor, capa.Espesor / 1000 * area,
                            capa.Espesor / 1000 * area * unitario});
        }
    }
    if (u.EspesorSubrasante > 0) {
        const double volumen = u.EspesorSubrasante / 100 * area;
        c.Capas.append({CapaCSR, u.EspesorSubrasante * 10, volumen,
                        u.EspesorSubrasante / 100 * p.CostosUnitarios[CapaCSR] * area});
        c.Capas.append({CapaGEO, 0, area, p.CostosUnitarios[CapaGEO] * area});
    }
    return c;
}

CantidadesProyecto CalcularCantidades(ModuloVarek9& modulo, EstadoDiseno& estado) {
    CantidadesProyecto total;
    total.Unidades.reserve(modulo.Proyecto.NumeroUH);
    DisenarProyecto(modulo, estado, [&](int i) {
        CantidadesUnidad c = CantidadesDeUnidad(modulo, estado, i);
        for (const CantidadCapa& capa : c.Capas) {
            total.Cantidad[static_cast<std::size_t>(capa.Tipo)] += capa.Cantidad;
            total.Costo[static_cast<std::size_t>(capa.Tipo)] += capa.Costo;
        }
        total.CostoAfirmado += c.CostoAfirmado;
        total.CostoSeleccion += c.Costo;
        total.Unidades.append(std::move(c));
    });
    return total;
}
