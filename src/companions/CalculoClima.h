// Clase de clima de una unidad: por humedad, con el índice de humedad
// Im = 100 (P / ETP - 1), y por temperatura, con los pisos térmicos.
#pragma once

#include "companions/Protocolo.h"

#include <QString>
#include <QStringList>

#include <limits>

// La ETP se digita o se estima con la fórmula de Holdridge.
enum class ModoETP { Digitada, Holdridge };

struct DatosClima {
    static constexpr double Nada = std::numeric_limits<double>::quiet_NaN();
    double Precipitacion = Nada; // media anual, mm
    double Temperatura = Nada;   // media anual, °C
    ModoETP Modo = ModoETP::Holdridge;
    double ETP = Nada; // anual, mm; solo cuando se digita
};

// Holdridge: ETP = 58.93 x biotemperatura, con la biotemperatura tomada como la
// temperatura media limitada a 0..30 °C.
double ETPHoldridge(double temperatura);
double IndiceHumedad(double precipitacion, double etp);
// Im < -40 "Arido"; hasta -20 "Semiarido"; hasta 0 "Subhumedo"; hasta 100
// "Humedo"; más de 100 "Superhumedo". Cada límite va con la clase más húmeda,
// salvo 100, que aún es "Humedo".
QString ClaseHumedad(double indice);
// 24 °C o más "Calido"; desde 18 "Templado"; menos de 18 "Frio".
QString ClaseTemperatura(double temperatura);

struct ResultadoClima {
    double ETP = 0;
    double Indice = 0;
    QString Humedad;
    QString Temperatura;
};
ResultadoClima CalcularClima(const DatosClima& datos);
// Los números del mensaje, con el separador decimal dado.
FallaDato ValidarClima(const DatosClima& datos,
                       SeparadorDecimal separador = SeparadorDecimal::Punto);

QStringList LineasClima(const DatosClima& datos);
DatosClima LeerLineasClima(const QStringList& lineas, DatosClima base);
// Líneas 2 a 7 del resultado: P, ETP, clase por humedad, Im, T, clase por temperatura.
QStringList ResultadoArchivoClima(const DatosClima& datos, const ResultadoClima& r);
