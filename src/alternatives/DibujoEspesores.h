// Geometría del dibujo a escala de las seis estructuras de una unidad: alto,
// posición, rótulo y ayuda de cada una de sus cinco cajas, en twips. La ventana
// solo la pinta.
#pragma once

#include "project/ModuloVarek9.h"

#include <QString>

#include <array>

inline constexpr int CajasEstructura = 5;
// Altos de diseño de las cinco cajas; su suma es el alto de una estructura.
inline constexpr std::array<double, CajasEstructura> AltosCajasDiseno{150, 510, 1140, 285, 285};
inline constexpr double AltoDibujo = 150 + 510 + 1140 + 285 + 285;
// Cajas vecinas se montan 30 twips una sobre otra.
inline constexpr double SolapeCajas = 30;

struct CajaEstructura {
    bool Visible = false;
    double Arriba = 0; // desde el borde superior de la caja 0
    double Alto = 0;
    QString Etiqueta; // "BG (20.0)", "CSR + Geotextil (30.0)"
    QString Ayuda;    // código y descripción del catálogo
};

struct EstructuraDibujada {
    bool Aplica = false;
    std::array<CajaEstructura, CajasEstructura> Cajas{};
};

struct DibujoEspesores {
    double Tmax = 0; // la estructura más gruesa, en mm
    std::array<EstructuraDibujada, NumeroAlternativas + 1> Estructuras{}; // 1..6
};

// Las seis estructuras que dejó el último diseño de una unidad, con el afirmado
// existente y la capa de subrasante de la unidad (mm).
DibujoEspesores MostrarEspesores(const ModuloVarek9& modulo, double afirmado, double subrasante);
