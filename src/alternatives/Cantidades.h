// Cantidades de obra de la alternativa seleccionada de cada unidad: el área de la
// capa de superficie, el volumen de cada capa y los totales por material con su
// costo, contados como los cuenta el costo de las alternativas.
#pragma once

#include "alternatives/Diseno.h"

#include <QList>

#include <array>

// Un material de una unidad: m² para el tratamiento superficial y el geotextil,
// m³ para las capas.
struct CantidadCapa {
    int Tipo = 0;
    double Espesor = 0; // mm; 0 en el tratamiento superficial y el geotextil
    double Cantidad = 0;
    double Costo = 0; // pesos
};

struct CantidadesUnidad {
    int Unidad = 0;
    int Alternativa = 0; // 0: ninguna seleccionada que aplique
    double Area = 0;     // m² de la capa de superficie
    // De arriba abajo; la capa de subrasante (CSR) y el geotextil al final.
    QList<CantidadCapa> Capas;
    // El afirmado existente no es obra, pero el costo de la alternativa lo incluye.
    double CostoAfirmado = 0;
    double Costo = 0; // el de la alternativa, como lo da el diseño
};

struct CantidadesProyecto {
    QList<CantidadesUnidad> Unidades;
    std::array<double, NumeroTiposCapa + 1> Cantidad{}; // por tipo 1..11
    std::array<double, NumeroTiposCapa + 1> Costo{};
    double CostoAfirmado = 0;
    // Suma de los costos de las alternativas seleccionadas (el total del reporte 4).
    double CostoSeleccion = 0;
};

// La unidad i con lo que dejó su último CalcularAlternativas y su selección.
CantidadesUnidad CantidadesDeUnidad(const ModuloVarek9& modulo, const EstadoDiseno& estado, int i);

// Diseña todas las unidades (como la grilla, con la selección por defecto donde la
// guardada no aplica) y suma sus cantidades.
CantidadesProyecto CalcularCantidades(ModuloVarek9& modulo, EstadoDiseno& estado);
