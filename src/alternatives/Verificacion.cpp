#include "alternatives/Verificacion.h"

#include "project/Solucionador.h"

#include <algorithm>

namespace {

// Diferencias de redondeo en la última cifra no cuentan como falta de aporte;
// un milímetro de menos sí (del orden de 0.005 pulgadas de número estructural).
constexpr double Tolerancia = 1e-9;

// Aporte de las capas 1..hasta-1 (pulgadas): a · D · m con D en pulgadas.
double AporteSobre(const AlternativaUH& alt, int hasta) {
    double aportado = 0;
    for (int k = 1; k < hasta && k <= alt.NumeroCapas; ++k) {
        const CapaAlternativa& c = alt.Capas[k];
        aportado = aportado + c.Espesor / 25.4 * c.CoefEstructural * c.CoefDrenaje;
    }
    return aportado;
}

void Decidir(Comprobacion& c) {
    c.Existe = true;
    c.Cumple = c.Requerido >= 0 && c.Aportado >= c.Requerido - Tolerancia;
}

// Requerido sobre cada módulo, una vez por unidad: las alternativas repiten la base
// y la subbase.
struct RequeridoDe {
    const Proyecto& p;
    const UnidadHomogenea& u;
    double operator()(double modulo) const { return RequeridoSobre(p, u, modulo); }
};
using Requeridos = PorModulo<RequeridoDe>;

// La comprobación sobre la capa k, si existe y tiene módulo en el catálogo.
Comprobacion SobreCapa(const AlternativaUH& alt, int k, Requeridos& requeridos) {
    Comprobacion c;
    if (k > alt.NumeroCapas) return c;
    const CapaAlternativa& capa = alt.Capas[k];
    if (!(capa.Modulo > 0) || !(capa.Espesor > 0)) return c;
    c.Tipo = capa.Tipo;
    c.Requerido = requeridos.Sobre(capa.Modulo);
    c.Aportado = AporteSobre(alt, k);
    Decidir(c);
    return c;
}

} // namespace

bool VerificacionAlternativa::Cumple() const {
    return Aplicable && Total.Cumple && (!Base.Existe || Base.Cumple) &&
           (!Subbase.Existe || Subbase.Cumple);
}

double RequeridoSobre(const Proyecto& p, const UnidadHomogenea& u, double modulo) {
    const double w18 = u.EjesEquivalentes;
    const double deltaPSI = 4.2 - p.ServiciabilidadFinal;
    // Sin esto Newton da sus mil pasos antes de rendirse: el resultado es el mismo.
    if (CumpleSinCapas(w18, -p.Zr, p.So, deltaPSI, modulo)) return 0;
    const double sn = NumeroEstructural(w18, -p.Zr, p.So, deltaPSI, modulo);
    if (sn != -1.0) return std::max(0.0, sn);
    // Sin raíz: o la ecuación ya se cumple con SN 0 (capa muy rígida) o nunca.
    return EcuacionAASHTO(0, w18, -p.Zr, p.So, deltaPSI, modulo) >= 0 ? 0.0 : -1.0;
}

VerificacionUnidad VerificarUnidad(const ModuloVarek9& modulo, int i) {
    VerificacionUnidad v;
    v.Unidad = i;
    const Proyecto& p = modulo.Proyecto;
    const UnidadHomogenea& u = p.UH[i];
    v.Causa = SinDiseno(u);
    if (v.Causa == CausaSinDiseno::Ninguna && !(u.SNRequerido > 0)) v.Causa = SinDiseno(p, u);
    if (v.Causa != CausaSinDiseno::Ninguna) return v;
    Requeridos requeridos(RequeridoDe{p, u});
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        const AlternativaUH& alt = modulo.AlternativaUH[n];
        VerificacionAlternativa& a = v.Alternativas[n];
        a.Aplicable = alt.Aplicable;
        if (!a.Aplicable) continue;
        a.SuperficieSinAporte = alt.Capas[1].CoefEstructural == 0;
        a.Total.Requerido = u.SNRequerido;
        a.Total.Aportado = AporteSobre(alt, alt.NumeroCapas + 1);
        Decidir(a.Total);
        a.Base = SobreCapa(alt, 2, requeridos);
        a.Subbase = SobreCapa(alt, 3, requeridos);
    }
    return v;
}

QList<VerificacionUnidad> VerificarProyecto(ModuloVarek9& modulo, EstadoDiseno& estado) {
    QList<VerificacionUnidad> lista;
    const int unidades = std::min<int>(modulo.Proyecto.NumeroUH, modulo.Proyecto.CapacidadUH());
    lista.reserve(std::max(0, unidades));
    DisenarProyecto(modulo, estado, [&](int i) { lista.append(VerificarUnidad(modulo, i)); });
    return lista;
}

QString TextoCumple(bool cumple) {
    return cumple ? QStringLiteral("cumple") : QStringLiteral("no cumple");
}
