// Sensibilidad de una unidad: el número estructural requerido y el costo de la
// alternativa aplicable más barata cuando cambian la confiabilidad, el CBR o el
// tránsito, calculados con el mismo diseño que la grilla.
#pragma once

#include "alternatives/Diseno.h"

#include <QList>
#include <QString>

#include <array>

enum class VariableSensibilidad { Confiabilidad, CBR, Transito };

struct PuntoSensibilidad {
    double X = 0;
    double SN = 0;       // requerido; -1 si la unidad queda sin diseño en ese punto
    double Costo = 0;    // pesos, de la alternativa más barata que aplica
    int Alternativa = 0; // esa alternativa; 0 si ninguna aplica
    std::array<bool, NumeroAlternativas + 1> Aplica{};
};

// Donde una alternativa deja de aplicar (o empieza a aplicar) a lo largo de la curva.
struct CorteSensibilidad {
    double X = 0;
    int Alternativa = 0;
    bool AplicaDespues = false; // a la derecha del corte
};

struct CurvaSensibilidad {
    VariableSensibilidad Variable = VariableSensibilidad::Confiabilidad;
    double Desde = 0, Hasta = 0;
    QList<PuntoSensibilidad> Puntos; // en X creciente; incluye el punto de la unidad
    PuntoSensibilidad Unidad;        // el diseño de la unidad tal como está
    QList<CorteSensibilidad> Cortes;
};

// Rango de cada curva: confiabilidad 50 a 99.9 %, CBR 0.5 a 2 veces el de la unidad y
// W18 0.25 a 2 veces el suyo sin pasar de 500000. puntos por curva, repartidos por
// igual, más el de la unidad. Una unidad sin diseño no tiene curvas (lista vacía).
QList<CurvaSensibilidad> CalcularSensibilidad(const ModuloVarek9& modulo, int unidad,
                                              int puntos = 100);

// "Confiabilidad (%)", "CBR (%)", "Ejes equivalentes W18".
QString TituloVariable(VariableSensibilidad variable);
