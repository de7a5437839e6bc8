#include "project/Solucionador.h"

#include <cmath>

namespace {

const double Ln10 = std::log(10.0);

// La ecuación con W18, ZR, So, DeltaPSI y MR fijos. Los términos que no dependen
// de SN se calculan una vez; la suma se hace en el mismo orden de la fórmula, así
// que el resultado es el mismo, bit a bit, que evaluarla entera cada vez.
struct EcuacionFija {
    double ZRSo;
    double LogPerdida;
    double TerminoModulo;
    double LogW18;

    EcuacionFija(double W18, double ZR, double So, double DeltaPSI, double MR)
        : ZRSo(ZR * So), LogPerdida(Log10(DeltaPSI / 2.7)), TerminoModulo(2.32 * Log10(MR)),
          LogW18(Log10(W18)) {}

    double operator()(double SN) const {
        return ZRSo + 9.36 * (std::log(SN + 1) / Ln10) - 0.20 +
               LogPerdida / (0.40 + 1094 / std::pow(SN + 1, 5.19)) + TerminoModulo - 8.07 - LogW18;
    }

    // Promedio de las diferencias hacia atrás y hacia adelante; f(SN) ya calculado.
    double Derivada(double SN, double fSN) const {
        const double h = 0.00001;
        const double atras = (*this)(SN - h);
        const double adelante = (*this)(SN + h);
        return ((fSN - atras) / h + (adelante - fSN) / h) / 2;
    }

    double PasoNewton(double SN) const {
        const double f = (*this)(SN);
        return SN - f / Derivada(SN, f);
    }
};

} // namespace

double Log10(double x) {
    return std::log(x) / Ln10;
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
    return EcuacionFija(W18, ZR, So, DeltaPSI, MR)(SN);
}

double DerivadaAASHTO(double SN, double W18, double ZR, double So, double DeltaPSI, double MR) {
    const EcuacionFija f(W18, ZR, So, DeltaPSI, MR);
    return f.Derivada(SN, f(SN));
}

double NumeroEstructural(double W18, double ZR, double So, double DeltaPSI, double MR) {
    const EcuacionFija f(W18, ZR, So, DeltaPSI, MR);
    double sn = 2.0;
    double siguiente = f.PasoNewton(sn);
    if (std::fabs((siguiente - sn) / sn) * 100 < 0.0001) return sn;
    for (int pasos = 1;; ++pasos) {
        sn = siguiente;
        if (pasos > 1000) return -1.0;
        siguiente = f.PasoNewton(sn);
        if (std::fabs((siguiente - sn) / sn) * 100 < 0.0001) return sn;
    }
}
