// Ecuación AASHTO-93 para pavimentos flexibles: Zr y número estructural.
// Funciones puras; toda la aritmética en doble precisión, en el orden escrito.
#pragma once

double Log10(double x);
double DensidadNormal(double z);
// Área bajo la densidad normal de 0 a z (Simpson con 32 franjas).
double AreaNormal(double z);
// z positivo con AreaNormal(z) = p, p = R/100 - 0.5; 10 si p >= 0.5, 0 si p <= 0,
// -1 si la falsa posición pasa de 10000 iteraciones.
double CalcularZr(double p);
double EcuacionAASHTO(double SN, double W18, double ZR, double So, double DeltaPSI, double MR);
double DerivadaAASHTO(double SN, double W18, double ZR, double So, double DeltaPSI, double MR);
// Número estructural requerido (pulgadas): el de Newton desde 2.0; donde Newton no
// se asienta o se queda en una raíz por encima de la cual el residuo vuelve a ser
// negativo, la mayor raíz en [0, 30]; -1 si no hay raíz en [0, 30].
double NumeroEstructural(double W18, double ZR, double So, double DeltaPSI, double MR);
// La ecuación se cumple con SN 0 y crece en todo [0, 30]: sobre ese módulo no hace
// falta número estructural (una capa muy rígida bajo poco tránsito).
bool CumpleSinCapas(double W18, double ZR, double So, double DeltaPSI, double MR);
