// Coeficiente de drenaje m de las capas granulares según la calidad del
// drenaje y el porcentaje del tiempo en que la estructura está próxima a la
// saturación (tabla de la guía AASHTO-93).
#pragma once

#include "companions/Protocolo.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <limits>

inline constexpr int NumeroCalidadesDrenaje = 5;
inline constexpr int NumeroRangosSaturacion = 4;

struct CalidadDrenaje {
    QStringView Nombre;         // "Excelente"...
    QStringView TiempoRemocion; // tiempo en que se elimina el agua
};
const std::array<CalidadDrenaje, NumeroCalidadesDrenaje>& CalidadesDrenaje();
// "Menos de 1 %", "1 a 5 %", "5 a 25 %", "Más de 25 %".
const std::array<QStringView, NumeroRangosSaturacion>& RangosSaturacion();

// Columna de la tabla: < 1 -> 0; 1 a 5 -> 1; más de 5 a 25 -> 2; más de 25 -> 3.
int ColumnaSaturacion(double porcentaje);

struct RangoDrenaje {
    double Maximo = 0;
    double Minimo = 0;
    double Medio() const { return (Maximo + Minimo) / 2; }
};
// calidad 0..4, columna 0..3.
RangoDrenaje CoeficienteDrenaje(int calidad, int columna);

struct DatosDrenaje {
    int Calidad = -1;                                             // sin elegir
    double Saturacion = std::numeric_limits<double>::quiet_NaN(); // % del tiempo
};
FallaDato ValidarDrenaje(const DatosDrenaje& datos);
RangoDrenaje CalcularDrenaje(const DatosDrenaje& datos);

QStringList LineasDrenaje(const DatosDrenaje& datos);
DatosDrenaje LeerLineasDrenaje(const QStringList& lineas, DatosDrenaje base);
// Líneas 2 en adelante: calidad, porcentaje, m máximo, m mínimo, m medio.
QStringList ResultadoArchivoDrenaje(const DatosDrenaje& datos, const RangoDrenaje& m);
