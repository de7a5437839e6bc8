#include "alternatives/DibujoEspesores.h"

#include "common/Formato.h"
#include "common/Numeros.h"

namespace {

const QString& CodigoTipo(const ModuloVarek9& m, int tipo) {
    static const QString vacio;
    return tipo >= 1 && tipo <= NumeroTiposCapa ? m.TipoCapa[tipo].Codigo : vacio;
}

QString Ayuda(const ModuloVarek9& m, int tipo) {
    if (tipo < 1 || tipo > NumeroTiposCapa) return QString();
    return m.TipoCapa[tipo].Codigo + u' ' + m.TipoCapa[tipo].Descripcion;
}

} // namespace

DibujoEspesores MostrarEspesores(const ModuloVarek9& m, double afirmado, double subrasante) {
    DibujoEspesores d;
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        const AlternativaUH& a = m.AlternativaUH[n];
        double total = 0;
        for (int k = 1; k <= a.NumeroCapas && k <= NumeroRanuras; ++k)
            total += a.Capas[k].Espesor;
        total += subrasante;
        if (total > d.Tmax) d.Tmax = total;
    }

    for (int n = 1; n <= NumeroAlternativas; ++n) {
        const AlternativaUH& a = m.AlternativaUH[n];
        EstructuraDibujada& e = d.Estructuras[n];
        e.Aplica = a.Aplicable;
        if (!a.Aplicable) continue;
        double arriba = 0;
        for (int k = 0; k < CajasEstructura; ++k) {
            CajaEstructura& caja = e.Cajas[k];
            const int tipo = k < 4 ? a.Capas[k + 1].Tipo : a.Capas[NumeroRanuras].Tipo;
            const double t = k < 4 ? a.Capas[k + 1].Espesor : subrasante;
            // Sin escala (ninguna estructura tiene espesor) no se dibuja nada.
            caja.Alto = d.Tmax > 0 ? RedondearPar(AltoDibujo / d.Tmax * t) : 0;
            // El afirmado y la capa de subrasante solo se muestran si la unidad los tiene.
            const bool permitida = (k != 3 || afirmado > 0) && (k != 4 || subrasante > 0);
            caja.Visible = permitida && caja.Alto > 0;
            caja.Arriba = arriba;
            if (caja.Visible) arriba += caja.Alto - SolapeCajas;

            caja.Etiqueta = CodigoTipo(m, tipo);
            if (k == 4) caja.Etiqueta += QStringLiteral(" + Geotextil");
            if (t > 0) caja.Etiqueta += QStringLiteral(" (") + Formato(t / 10, u"0.0") + u')';
            caja.Ayuda = Ayuda(m, tipo);
        }
    }
    return d;
}
