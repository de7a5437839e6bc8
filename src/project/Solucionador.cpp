#include "project/Solucionador.h"

#include <algorithm>
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

namespace {

// Newton desde 2.0, tal cual: el iterado anterior al paso que ya es menor que
// 0.0001 % de él, o -1 si en 1000 pasos no se asienta.
double Newton(const EcuacionFija& f) {
    double sn = 2.0;
    for (int pasos = 0; pasos <= 1000; ++pasos) {
        const double siguiente = f.PasoNewton(sn);
        // Un iterado NaN no sale de NaN: los pasos que faltan darían -1 igual.
        if (std::isnan(siguiente)) return -1.0;
        if (std::fabs((siguiente - sn) / sn) * 100 < 0.0001) return sn;
        sn = siguiente;
    }
    return -1.0;
}

constexpr double SNMaximo = 30;

// Tramos de [0, 30] donde la ecuación es monótona: sube hasta Maximo, baja hasta
// Minimo y vuelve a subir. Con una pérdida de serviciabilidad grande no hay
// vuelta (Maximo = Minimo = 30) y la ecuación sube siempre con SN.
struct Tramos {
    double Maximo = SNMaximo;
    double Minimo = SNMaximo;
    bool HayVuelta = false;
};

// Con u = SN + 1 y t = u^-5.19, la derivada por u se anula donde
// k (0.40 + 1094 t)² + LogPerdida · 1094 · 5.19 · t = 0, k = 9.36 / ln 10:
// una cuadrática en t. La t mayor (u menor) es el máximo local.
Tramos TramosMonotonos(const EcuacionFija& f) {
    Tramos tramos;
    const double k = 9.36 / Ln10;
    const double a = k * 1094 * 1094;
    const double b = 2 * 0.40 * 1094 * k + f.LogPerdida * 1094 * 5.19;
    const double c = 0.40 * 0.40 * k;
    const double discriminante = b * b - 4 * a * c;
    if (!(b < 0 && discriminante > 0)) return tramos;
    const double raiz = std::sqrt(discriminante);
    const auto sn = [](double t) { return std::clamp(std::pow(t, -1 / 5.19) - 1, 0.0, SNMaximo); };
    tramos.Maximo = sn((-b + raiz) / (2 * a));
    tramos.Minimo = sn((-b - raiz) / (2 * a));
    tramos.HayVuelta = true;
    return tramos;
}

// Bisección en [bajo, alto], donde f cambia de signo, hasta 1e-9 en SN.
double Biseccion(const EcuacionFija& f, double bajo, double alto) {
    const bool negativoAbajo = f(bajo) < 0;
    while (alto - bajo > 1e-9) {
        const double medio = (bajo + alto) / 2;
        if ((f(medio) < 0) == negativoAbajo) {
            bajo = medio;
        } else {
            alto = medio;
        }
    }
    return (bajo + alto) / 2;
}

// La mayor raíz en [0, 30], buscada en los tramos monótonos de arriba hacia abajo;
// -1 si la ecuación no cambia de signo en el intervalo.
double MayorRaiz(const EcuacionFija& f, const Tramos& tramos) {
    const double limites[4] = {0, tramos.Maximo, tramos.Minimo, SNMaximo};
    for (int j = 2; j >= 0; --j) {
        const double bajo = limites[j];
        const double alto = limites[j + 1];
        const double fBajo = f(bajo);
        const double fAlto = f(alto);
        if (fAlto == 0) return alto;
        if (fBajo == 0) return bajo;
        if ((fBajo < 0 && fAlto > 0) || (fBajo > 0 && fAlto < 0)) return Biseccion(f, bajo, alto);
    }
    return -1.0;
}

} // namespace

bool CumpleSinCapas(double W18, double ZR, double So, double DeltaPSI, double MR) {
    const EcuacionFija f(W18, ZR, So, DeltaPSI, MR);
    // Sin vuelta la ecuación solo crece: si ya se cumple en 0, no tiene raíz positiva.
    return !TramosMonotonos(f).HayVuelta && f(0) >= 0;
}

double NumeroEstructural(double W18, double ZR, double So, double DeltaPSI, double MR) {
    const EcuacionFija f(W18, ZR, So, DeltaPSI, MR);
    const double sn = Newton(f);
    const Tramos tramos = TramosMonotonos(f);
    // Newton quedó en una raíz menor: por encima, en el valle o al final, el residuo
    // vuelve a ser negativo. Sin Newton (-1) se busca la mayor raíz igual.
    const bool raizMenor = tramos.HayVuelta && ((sn < tramos.Minimo && f(tramos.Minimo) < 0) ||
                                                (sn < SNMaximo && f(SNMaximo) < 0));
    if (sn != -1.0 && !raizMenor) return sn;
    // Se aparta a propósito: sin Newton o con una raíz menor, la mayor raíz en [0, 30].
    return MayorRaiz(f, tramos);
}
