// Máscaras de presentación de números: "#,##0.00", "0.00", "0.0", "0.000",
// "0.0000", "0.00E+#00", "#,##0" y "0%". Siempre "," de miles y "." decimal,
// sin depender del idioma del sistema.
#pragma once

#include <QString>
#include <QStringView>

#include <string>

// Redondea a 15 cifras significativas y luego, la mitad lejos del cero, a los
// decimales de la máscara (2.675 -> "2.68"). Sin signo "-" si el redondeo da
// cero. Un valor infinito o NaN se presenta como 0.
QString Formato(double valor, QStringView mascara);
// Lo mismo en caracteres ASCII, para quien escribe bytes directamente.
std::string FormatoAscii(double valor, QStringView mascara);

// Una máscara leída una vez, para quien formatea muchos números con ella.
struct MascaraNumero {
    int Enteros = 0;   // cifras enteras mínimas (los "0" antes del punto)
    int Decimales = 0; // cifras tras el punto
    bool Miles = false;
    bool Porcentaje = false;
    bool Exponente = false;
    bool SignoExponente = false; // "E+": el signo "+" se escribe siempre
    int CifrasExponente = 0;
    std::string Cero; // el cero ya formateado
};
MascaraNumero LeerMascara(QStringView mascara);
std::string FormatoAscii(double valor, const MascaraNumero& mascara);
