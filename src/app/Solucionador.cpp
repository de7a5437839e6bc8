#include "app/Solucionador.h"

#include <cmath>

double Log10(double x) {
    return std::log(x) / std::log(10.0);
}

double DensidadNormal(double z) {
    return std::exp(-z * z / 2) / std::sqrt(6.28318530717958);
}

double AreaNormal(double z) {
    const double h = z / 32;
    double s = DensidadNormal(z) + DensidadNormal(0);
    double t = 0;
    for (int i = 1; i <= 31; ++i) {
        t = t + h;
        const double w = (i % 2 == 1) ? 4 : 2;
        s = s + w * DensidadNormal(t);
    }
    return s * z / 96;
}

double CalcularZr(double p) {
    if (p >= 0.5) return 10.0;
    if (p <= 0) return 0.0;
    if (std::isnan(p)) return -1.0;

    double a = 0;
    double b = 5;
    double fa = AreaNormal(a) - p;
    double fb = AreaNormal(b) - p;
    double x = 5 * fa / (fa - fb);
    double resultado = -1.0;
    bool limitePasado = false;
    // Tope de seguridad: tras 10000 iteraciones el resultado ya es -1 y no cambia,
    // así que cortar más adelante no altera nada y evita un ciclo sin fin.
    for (long iteraciones = 0; iteraciones < 1000000;) {
        const double fx = AreaNormal(x) - p;
        if (fa * fx == 0) {
            if (!limitePasado) resultado = x;
            break;
        }
        if (fa * fx < 0) {
            b = x;
        } else {
            a = x;
        }
        const double anterior = x;
        ++iteraciones;
        if (iteraciones > 10000) limitePasado = true;
        fa = AreaNormal(a) - p;
        fb = AreaNormal(b) - p;
        x = (fa * b - a * fb) / (fa - fb);
        if (std::fabs((x - anterior) / x) * 100 < 0.01) {
            if (!limitePasado) resultado = x;
            break;
        }
    }
    return resultado;
}

double EcuacionAASHTO(double SN, double W18, double ZR, double So, double DeltaPSI, double MR) {
    return ZR * So + 9.36 * Log10(SN + 1) - 0.20 +
           Log10(DeltaPSI / 2.7) / (0.40 + 1094 / std::pow(SN + 1, 5.19)) + 2.32 * Log10(MR) -
           8.07 - Log10(W18);
}

double DerivadaAASHTO(double SN, double W18, double ZR, double So, double DeltaPSI, double MR) {
    const double h = 0.00001;
    const double f = EcuacionAASHTO(SN, W18, ZR, So, DeltaPSI, MR);
    const double atras = EcuacionAASHTO(SN - h, W18, ZR, So, DeltaPSI, MR);
    const double adelante = EcuacionAASHTO(SN + h, W18, ZR, So, DeltaPSI, MR);
    return ((f - atras) / h + (adelante - f) / h) / 2;
}

double NumeroEstructural(double W18, double ZR, double So, double DeltaPSI, double MR) {
    auto paso = [&](double sn) {
        return sn - EcuacionAASHTO(sn, W18, ZR, So, DeltaPSI, MR) /
                        DerivadaAASHTO(sn, W18, ZR, So, DeltaPSI, MR);
    };
    double sn = 2.0;
    double siguiente = paso(sn);
    if (std::fabs((siguiente - sn) / sn) * 100 < 0.0001) return sn;
    for (int pasos = 1;; ++pasos) {
        sn = siguiente;
        if (pasos > 1000) return -1.0;
        siguiente = paso(sn);
        if (std::fabs((siguiente - sn) / sn) * 100 < 0.0001) return sn;
    }
}
