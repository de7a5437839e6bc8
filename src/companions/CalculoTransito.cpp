#include "companions/CalculoTransito.h"

#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "common/Numeros.h"

#include <cmath>

namespace {

// Factores de daño típicos de vías de bajo volumen; el ingeniero los reemplaza
// por los de su estudio de pesaje.
const std::array<ClaseVehiculo, NumeroClasesVehiculo> Clases = {{
    {u"Autos", u"Automóviles y camperos", 60, 0.0004},
    {u"Buses", u"Buses", 10, 1.00},
    {u"C2P", u"Camión de 2 ejes pequeño", 15, 1.14},
    {u"C2G", u"Camión de 2 ejes grande", 8, 3.44},
    {u"C3", u"Camión de 3 ejes", 4, 3.76},
    {u"C4", u"Camión de 4 ejes", 1, 4.50},
    {u"C5", u"Camión de 5 ejes", 1, 4.72},
    {u"MasC5", u"Camión de más de 5 ejes", 1, 5.40},
}};

bool Entre(double v, double minimo, double maximo) {
    return v >= minimo && v <= maximo; // NaN no está entre nada
}

} // namespace

const std::array<ClaseVehiculo, NumeroClasesVehiculo>& ClasesVehiculo() {
    return Clases;
}

DatosTransito DatosTransitoTipicos() {
    DatosTransito d;
    for (int i = 0; i < NumeroClasesVehiculo; ++i) {
        d.Porcentaje[i] = Clases[i].PorcentajeTipico;
        d.Factor[i] = Clases[i].FactorTipico;
    }
    return d;
}

double FactorCrecimiento(double tasaPorCiento, double anos) {
    const double r = tasaPorCiento / 100;
    if (r == 0) return anos;
    return (std::pow(1 + r, anos) - 1) / r;
}

ResultadoTransito CalcularTransito(const DatosTransito& datos) {
    ResultadoTransito r;
    for (int i = 0; i < NumeroClasesVehiculo; ++i) {
        r.SumaPorcentajes += datos.Porcentaje[i];
        r.FactorVehiculo += datos.Porcentaje[i] / 100 * datos.Factor[i];
    }
    r.EjesDiaInicial = datos.TPD * r.FactorVehiculo * datos.FactorDireccional * datos.FactorCarril;
    r.FactorCrecimiento = FactorCrecimiento(datos.Crecimiento, datos.Periodo);
    r.W18 = datos.TPD * 365 * r.FactorVehiculo * datos.FactorDireccional * datos.FactorCarril *
            r.FactorCrecimiento;
    return r;
}

FallaDato ValidarTransito(const DatosTransito& d, SeparadorDecimal separador) {
    if (!(d.TPD > 0 && d.TPD <= 1e6))
        return {QStringLiteral("txtTPD"),
                QStringLiteral("El tránsito promedio diario (TPD) debe ser un número mayor que 0 y "
                               "no mayor que %1 vehículos por día...")
                    .arg(TextoVentana(QStringLiteral("1,000,000"), separador))};
    for (int i = 0; i < NumeroClasesVehiculo; ++i) {
        const QString nombre = Clases[i].Nombre.toString();
        if (!Entre(d.Porcentaje[i], 0, 100))
            return {QStringLiteral("txtPorcentaje%1").arg(Clases[i].Clave),
                    QStringLiteral("El porcentaje de [%1] debe ser un número entre 0 y 100...")
                        .arg(nombre)};
        if (!Entre(d.Factor[i], 0, 100))
            return {QStringLiteral("txtFactor%1").arg(Clases[i].Clave),
                    QStringLiteral("El factor de daño de [%1] debe ser un número entre 0 y 100 "
                                   "ejes equivalentes por vehículo...")
                        .arg(nombre)};
    }
    double suma = 0;
    for (double p : d.Porcentaje)
        suma += p;
    if (std::abs(suma - 100) > 0.05)
        return {QStringLiteral("txtPorcentaje%1").arg(Clases[0].Clave),
                QStringLiteral("La composición del tránsito suma %1 %; debe sumar 100 %...")
                    .arg(TextoVentana(Formato(suma, u"0.00"), separador))};
    if (!(d.FactorDireccional > 0 && d.FactorDireccional <= 1))
        return {QStringLiteral("txtDireccional"),
                QStringLiteral("El factor direccional debe ser un número mayor que 0 y no mayor "
                               "que 1...")};
    if (!(d.FactorCarril > 0 && d.FactorCarril <= 1))
        return {QStringLiteral("txtCarril"),
                QStringLiteral("El factor de carril debe ser un número mayor que 0 y no mayor que "
                               "1...")};
    if (!Entre(d.Crecimiento, -50, 50))
        return {QStringLiteral("txtCrecimiento"),
                QStringLiteral("La tasa de crecimiento anual debe ser un número entre -50 % y "
                               "50 %...")};
    if (!Entre(d.Periodo, 1, 50) || d.Periodo != std::floor(d.Periodo))
        return {QStringLiteral("txtPeriodo"),
                QStringLiteral("El período de diseño debe ser un número entero de años entre 1 y "
                               "50...")};
    return {};
}

QStringList LineasTransito(const DatosTransito& d) {
    QStringList lineas{QStringLiteral("Programa=Transito"),
                       LineaDato(QStringLiteral("TPD"), d.TPD)};
    for (int i = 0; i < NumeroClasesVehiculo; ++i) {
        const QString clave = Clases[i].Clave.toString();
        lineas << LineaDato(QStringLiteral("Porcentaje.") + clave, d.Porcentaje[i])
               << LineaDato(QStringLiteral("Factor.") + clave, d.Factor[i]);
    }
    lineas << LineaDato(QStringLiteral("FactorDireccional"), d.FactorDireccional)
           << LineaDato(QStringLiteral("FactorCarril"), d.FactorCarril)
           << LineaDato(QStringLiteral("Crecimiento"), d.Crecimiento)
           << LineaDato(QStringLiteral("Periodo"), d.Periodo);
    const ResultadoTransito r = CalcularTransito(d);
    lineas << LineaDato(QStringLiteral("W18"), r.W18);
    return lineas;
}

DatosTransito LeerLineasTransito(const QStringList& lineas, DatosTransito base) {
    const QMap<QString, QString> datos = LeerLineasDatos(lineas);
    TomarDato(datos, QStringLiteral("TPD"), base.TPD);
    for (int i = 0; i < NumeroClasesVehiculo; ++i) {
        const QString clave = Clases[i].Clave.toString();
        TomarDato(datos, QStringLiteral("Porcentaje.") + clave, base.Porcentaje[i]);
        TomarDato(datos, QStringLiteral("Factor.") + clave, base.Factor[i]);
    }
    TomarDato(datos, QStringLiteral("FactorDireccional"), base.FactorDireccional);
    TomarDato(datos, QStringLiteral("FactorCarril"), base.FactorCarril);
    TomarDato(datos, QStringLiteral("Crecimiento"), base.Crecimiento);
    TomarDato(datos, QStringLiteral("Periodo"), base.Periodo);
    return base;
}

QStringList ResultadoArchivoTransito(const DatosTransito& d, const ResultadoTransito& r) {
    return {FormatoGeneral(r.W18),
            FormatoGeneral(d.TPD),
            FormatoGeneral(r.FactorVehiculo),
            FormatoGeneral(d.FactorDireccional),
            FormatoGeneral(d.FactorCarril),
            FormatoGeneral(d.Crecimiento),
            FormatoGeneral(d.Periodo),
            FormatoGeneral(r.FactorCrecimiento)};
}
