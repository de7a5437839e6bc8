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
// Número estructural requerido (pulgadas), o -1 si Newton no se asienta.
double NumeroEstructural(double W18, double ZR, double So, double DeltaPSI, double MR);
