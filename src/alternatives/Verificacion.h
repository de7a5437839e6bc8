// Verificación estructural de las alternativas: el número estructural que aporta
// cada estructura contra el requerido, y la comprobación por capas (el requerido
// sobre la base y sobre la subbase con su módulo, contra lo que aportan las capas
// de encima). No cambia el diseño: solo lo mide.
#pragma once

#include "alternatives/Diseno.h"

#include <QList>

#include <array>

// Una comprobación: requerido contra aportado, en pulgadas.
struct Comprobacion {
    bool Existe = false; // sin capa con módulo en esa posición no se comprueba
    int Tipo = 0;        // la capa sobre la que se mide (solo por capas)
    double Requerido = 0;
    double Aportado = 0;
    bool Cumple = false;
};

struct VerificacionAlternativa {
    bool Aplicable = false;
    Comprobacion Total;   // sobre la subrasante, con todas las capas
    Comprobacion Base;    // sobre la capa 2
    Comprobacion Subbase; // sobre la capa 3
    // Aplica y cumple todas las comprobaciones que existen.
    bool Cumple() const;
    // La capa de superficie es un tratamiento sin aporte (coeficiente 0).
    bool SuperficieSinAporte = false;
};

struct VerificacionUnidad {
    int Unidad = 0;
    CausaSinDiseno Causa = CausaSinDiseno::Ninguna;
    std::array<VerificacionAlternativa, NumeroAlternativas + 1> Alternativas{}; // 1..6
};

// Número estructural requerido sobre un módulo: 0 si la ecuación ya se cumple
// sin capas (un módulo muy rígido); -1 si no tiene raíz.
double RequeridoSobre(const Proyecto& p, const UnidadHomogenea& u, double modulo);

// La unidad i con lo que dejó su último CalcularAlternativas.
VerificacionUnidad VerificarUnidad(const ModuloVarek9& modulo, int i);

// Diseña todas las unidades, como la grilla, y las verifica.
QList<VerificacionUnidad> VerificarProyecto(ModuloVarek9& modulo, EstadoDiseno& estado);

// "cumple" o "no cumple".
QString TextoCumple(bool cumple);
