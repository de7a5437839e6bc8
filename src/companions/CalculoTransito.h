// Tránsito de diseño W18 (ejes equivalentes de 80 kN en el carril de diseño)
// desde el tránsito promedio diario inicial y su composición.
#pragma once

#include "companions/Protocolo.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <limits>

inline constexpr int NumeroClasesVehiculo = 8;

struct ClaseVehiculo {
    QStringView Clave;  // en el archivo de líneas y en los nombres de los campos
    QStringView Nombre; // en la ventana
    double PorcentajeTipico;
    double FactorTipico; // ejes equivalentes por vehículo
};
const std::array<ClaseVehiculo, NumeroClasesVehiculo>& ClasesVehiculo();

struct DatosTransito {
    static constexpr double Nada = std::numeric_limits<double>::quiet_NaN();
    double TPD = Nada;                                     // vehículos por día, ambos sentidos
    std::array<double, NumeroClasesVehiculo> Porcentaje{}; // % del TPD
    std::array<double, NumeroClasesVehiculo> Factor{};     // factor de daño por vehículo
    double FactorDireccional = 0.5;
    double FactorCarril = 1.0;
    double Crecimiento = 3; // % anual
    double Periodo = 10;    // años
};
// Composición y factores típicos, sin TPD.
DatosTransito DatosTransitoTipicos();

// ((1 + r)^n - 1) / r con r en tanto por uno; n cuando r es 0.
double FactorCrecimiento(double tasaPorCiento, double anos);

struct ResultadoTransito {
    double SumaPorcentajes = 0;
    double FactorVehiculo = 0; // suma de porcentaje/100 x factor
    double EjesDiaInicial = 0; // TPD x FactorVehiculo x Fd x Fc
    double FactorCrecimiento = 0;
    double W18 = 0;
};
ResultadoTransito CalcularTransito(const DatosTransito& datos);

// El primer dato fuera de rango (o que no es un número); los números del mensaje,
// con el separador decimal dado.
FallaDato ValidarTransito(const DatosTransito& datos,
                          SeparadorDecimal separador = SeparadorDecimal::Punto);

// Entradas como líneas "Clave=valor" y de vuelta; lo que falta o no se lee
// queda como en base.
QStringList LineasTransito(const DatosTransito& datos);
DatosTransito LeerLineasTransito(const QStringList& lineas, DatosTransito base);
// Líneas 2 en adelante del archivo de resultado: W18 y los datos tras él.
QStringList ResultadoArchivoTransito(const DatosTransito& datos, const ResultadoTransito& r);
