// CBR de diseño de la subrasante: el valor que iguala o supera el porcentaje
// de los ensayos que pide el nivel de tránsito, y su módulo resiliente
// Mr = 2555 x CBR^0.64 (psi).
#pragma once

#include "companions/Protocolo.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <limits>

inline constexpr int MaximoEnsayosCBR = 50;
inline constexpr double PsiPorMPa = 145.0377377;

// 60 % con menos de 10^4 ejes equivalentes, 75 % de 10^4 a 10^6, 87.5 % con más.
double PercentilDiseno(double ejes);
// Con los valores ordenados, el porcentaje de ensayos iguales o mayores que cada
// valor distinto; el valor de diseño se interpola entre los dos porcentajes que
// encierran el pedido. Lista vacía: NaN.
double CBRDiseno(QList<double> valores, double percentil);
double ModuloResiliente(double cbr); // psi
double PsiAMPa(double psi);

// Valores separados por blancos, saltos de línea o ";" (la coma es decimal o de
// miles), leídos con la convención dada; en las líneas, con el punto.
struct ListaCBR {
    QList<double> Valores;
    QString Invalido; // el primer trozo que no es un número
};
ListaCBR LeerListaCBR(const QString& texto, SeparadorDecimal convencion = SeparadorDecimal::Punto);
QString TextoListaCBR(const QList<double>& valores,
                      SeparadorDecimal separador = SeparadorDecimal::Punto);

struct DatosMr {
    static constexpr double Nada = std::numeric_limits<double>::quiet_NaN();
    QString Lista; // tal como se escribe
    double Ejes = Nada;
    // La convención con que se escribió la lista (y con la que se dan los
    // números de los mensajes).
    SeparadorDecimal Separador = SeparadorDecimal::Punto;
};
struct ResultadoMr {
    int Ensayos = 0;
    double Percentil = 0;
    double CBR = 0;
    double ModuloPsi = 0;
    double ModuloMPa = 0;
};
ResultadoMr CalcularMr(const DatosMr& datos);
FallaDato ValidarMr(const DatosMr& datos);

QStringList LineasMr(const DatosMr& datos);
DatosMr LeerLineasMr(const QStringList& lineas, DatosMr base);
// Líneas 2 en adelante: CBR de diseño, percentil, Mr en psi y en MPa, ensayos.
QStringList ResultadoArchivoMr(const ResultadoMr& r);
