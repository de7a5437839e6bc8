// Diseño de las seis estructuras alternativas de una unidad, sus costos y la
// selección de una alternativa por unidad.
#pragma once

#include "project/ModuloVarek9.h"

#include <QString>

#include <array>
#include <functional>

// Un valor por módulo resiliente, calculado una sola vez por unidad: las
// alternativas repiten los mismos módulos (granulares y subrasante).
template <class Calculo>
class PorModulo {
public:
    explicit PorModulo(Calculo calculo) : calculo_(calculo) {}

    double Sobre(double modulo) {
        for (int j = 0; j < usados_; ++j)
            if (modulos_[j] == modulo) return valores_[j];
        const double valor = calculo_(modulo);
        if (usados_ < Capacidad) {
            modulos_[usados_] = modulo;
            valores_[usados_] = valor;
            ++usados_;
        }
        return valor;
    }

private:
    static constexpr int Capacidad = 8;
    Calculo calculo_;
    std::array<double, Capacidad> modulos_{};
    std::array<double, Capacidad> valores_{};
    int usados_ = 0;
};

// Estado de diseño que posee la ventana de alternativas: costos de la unidad
// calculada de último y totales del proyecto, índices 1..6.
struct EstadoDiseno {
    std::array<double, NumeroAlternativas + 1> CostoAlternativa{};
    std::array<double, NumeroAlternativas + 1> CostoTotal{};
};

// Columna del catálogo por clima: humedad 1..5 y temperatura 1..3.
int ClaseHumedad(const QString& clima);
int ClaseTemperatura(const QString& clima);

// Módulo resiliente de la subrasante (psi) por su CBR.
double ModuloSubrasante(double cbr);

// Coeficiente estructural del afirmado existente: 0.08 (AFR-1), 0.06 (AFR-2), 0.
double CoeficienteAfirmado(const QString& tipoAfirmado);

// Por qué una unidad queda sin diseño; Ninguna si se diseña.
enum class CausaSinDiseno { Ninguna, TransitoAlto, TransitoNoDefinido, CBRNoDefinido, NoConverge };
// Por los datos de la unidad solos (nunca NoConverge).
CausaSinDiseno SinDiseno(const UnidadHomogenea& u);
// También con los parámetros del proyecto: NoConverge si la ecuación no tiene raíz.
CausaSinDiseno SinDiseno(const Proyecto& p, const UnidadHomogenea& u);
// El motivo en palabras del usuario; vacío para Ninguna.
QString TextoSinDiseno(CausaSinDiseno causa);

// Diseña la unidad i (1..NumeroUH): escribe su SNRequerido, las seis
// AlternativaUH del módulo y estado.CostoAlternativa. Una unidad fuera del
// rango de tránsito (0 < W18 <= 500000), con CBR <= 0 o cuyo número estructural
// no tiene raíz queda sin diseño.
void CalcularAlternativas(ModuloVarek9& modulo, EstadoDiseno& estado, int i);

// Conserva la selección de la unidad si su alternativa aplica; si no, toma la
// primera aplicable. Usa lo que dejó el último CalcularAlternativas de esa unidad.
void SeleccionarAlternativa(ModuloVarek9& modulo, int i);

// La pasada de la ventana al llenar su grilla: totales en 0 y, para cada unidad
// en orden, diseño, suma de costos y selección. porUnidad, si se da, se llama
// tras cada unidad con su índice.
void DisenarProyecto(ModuloVarek9& modulo, EstadoDiseno& estado,
                     const std::function<void(int)>& porUnidad = {});
