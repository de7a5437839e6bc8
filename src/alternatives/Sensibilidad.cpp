#include "alternatives/Sensibilidad.h"

#include "project/Solucionador.h"

#include <algorithm>

namespace {

constexpr double ConfiabilidadMinima = 50;
constexpr double ConfiabilidadMaxima = 99.9;
constexpr double TransitoMaximo = 500000;

// Un proyecto de una sola unidad con los parámetros del de verdad: cambiar un dato
// aquí no toca el proyecto abierto ni copia sus mil unidades.
struct Banco {
    ModuloVarek9 Modulo;
    EstadoDiseno Estado;

    Banco(const ModuloVarek9& origen, int unidad) {
        Proyecto& p = Modulo.Proyecto;
        const Proyecto& o = origen.Proyecto;
        p.Confiabilidad = o.Confiabilidad;
        p.Zr = o.Zr;
        p.ServiciabilidadFinal = o.ServiciabilidadFinal;
        p.ConfiabilidadTransito = o.ConfiabilidadTransito;
        p.So = o.So;
        p.CostosUnitarios = o.CostosUnitarios;
        p.NumeroUH = 1;
        p.UH[1] = o.UH[unidad];
    }
    UnidadHomogenea& Unidad() { return Modulo.Proyecto.UH[1]; }

    PuntoSensibilidad Evaluar(double x) {
        CalcularAlternativas(Modulo, Estado, 1);
        PuntoSensibilidad punto;
        punto.X = x;
        double menor = 0;
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            punto.Aplica[n] = Modulo.AlternativaUH[n].Aplicable;
            if (!punto.Aplica[n]) continue;
            // En un empate queda la de menor número, como en la selección.
            if (punto.Alternativa == 0 || Estado.CostoAlternativa[n] < menor) {
                menor = Estado.CostoAlternativa[n];
                punto.Alternativa = n;
            }
        }
        punto.Costo = menor;
        punto.SN = punto.Alternativa == 0 ? -1.0 : Unidad().SNRequerido;
        return punto;
    }
};

} // namespace

QString TituloVariable(VariableSensibilidad variable) {
    switch (variable) {
    case VariableSensibilidad::Confiabilidad:
        return QStringLiteral("Confiabilidad (%)");
    case VariableSensibilidad::CBR:
        return QStringLiteral("CBR (%)");
    case VariableSensibilidad::Transito:
        break;
    }
    return QStringLiteral("Ejes equivalentes W18");
}

QList<CurvaSensibilidad> CalcularSensibilidad(const ModuloVarek9& modulo, int unidad, int puntos) {
    QList<CurvaSensibilidad> curvas;
    if (unidad < 1 ||
        unidad > std::min<int>(modulo.Proyecto.NumeroUH, modulo.Proyecto.CapacidadUH()))
        return curvas;
    Banco banco(modulo, unidad);
    const PuntoSensibilidad propio = banco.Evaluar(0);
    if (propio.Alternativa == 0) return curvas;
    const UnidadHomogenea original = banco.Unidad();
    puntos = std::max(2, puntos);

    for (const VariableSensibilidad variable :
         {VariableSensibilidad::Confiabilidad, VariableSensibilidad::CBR,
          VariableSensibilidad::Transito}) {
        CurvaSensibilidad c;
        c.Variable = variable;
        double x0 = 0;
        switch (variable) {
        case VariableSensibilidad::Confiabilidad:
            c.Desde = ConfiabilidadMinima;
            c.Hasta = ConfiabilidadMaxima;
            x0 = modulo.Proyecto.Confiabilidad;
            break;
        case VariableSensibilidad::CBR:
            c.Desde = 0.5 * original.CBR;
            c.Hasta = 2 * original.CBR;
            x0 = original.CBR;
            break;
        case VariableSensibilidad::Transito:
            c.Desde = 0.25 * original.EjesEquivalentes;
            c.Hasta = std::min(2 * original.EjesEquivalentes, TransitoMaximo);
            x0 = original.EjesEquivalentes;
            break;
        }
        const auto poner = [&](double x) {
            banco.Unidad() = original;
            Proyecto& p = banco.Modulo.Proyecto;
            p.Zr = modulo.Proyecto.Zr;
            if (variable == VariableSensibilidad::Confiabilidad)
                p.Zr = CalcularZr(x / 100 - 0.5);
            else if (variable == VariableSensibilidad::CBR)
                banco.Unidad().CBR = x;
            else
                banco.Unidad().EjesEquivalentes = x;
        };
        c.Puntos.reserve(puntos + 1);
        bool propioPuesto = false;
        for (int k = 0; k < puntos; ++k) {
            const double x =
                k == puntos - 1 ? c.Hasta : c.Desde + (c.Hasta - c.Desde) * k / (puntos - 1);
            // El punto de la unidad es su diseño tal cual, con su propio Zr.
            if (!propioPuesto && x0 <= x) {
                propioPuesto = true;
                c.Unidad = propio;
                c.Unidad.X = x0;
                c.Puntos.append(c.Unidad);
                if (x == x0) continue;
            }
            poner(x);
            c.Puntos.append(banco.Evaluar(x));
        }
        if (!propioPuesto) {
            c.Unidad = propio;
            c.Unidad.X = x0;
            c.Puntos.append(c.Unidad);
        }
        for (qsizetype k = 1; k < c.Puntos.size(); ++k) {
            const PuntoSensibilidad& a = c.Puntos[k - 1];
            const PuntoSensibilidad& b = c.Puntos[k];
            for (int n = 1; n <= NumeroAlternativas; ++n) {
                if (a.Aplica[n] == b.Aplica[n]) continue;
                // El CBR mínimo de la alternativa es el corte exacto; en otra variable,
                // entre los dos puntos.
                const double minimo = banco.Modulo.AlternativaUH[n].CBRMinimo;
                const double x =
                    variable == VariableSensibilidad::CBR && minimo >= a.X && minimo <= b.X
                        ? minimo
                        : (a.X + b.X) / 2;
                c.Cortes.append({x, n, b.Aplica[n]});
            }
        }
        curvas.append(c);
    }
    return curvas;
}
