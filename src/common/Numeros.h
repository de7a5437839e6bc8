// Números en texto: la forma numérica general de los archivos y la lectura del
// número inicial de un texto. Independientes del idioma del sistema.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Signo o un blanco, a lo sumo 15 cifras significativas, sin ceros sobrantes,
// sin cero antes del punto (.44, -.5) y un blanco final; exponente (1E+15,
// 1.5E-07) cuando la magnitud es >= 1E15 o menor que 1E-4 y no es 0.
QString FormatoGeneral(double valor);
// Lo mismo, agregado al final de un texto.
void AgregarFormatoGeneral(QString& destino, double valor);
// Un valor positivo con 15 cifras significativas, redondeado una sola vez:
// valor = d.dddddddddddddd x 10^Exponente.
struct Cifras15 {
    char Digitos[15];
    int Exponente;
};
Cifras15 CifrasSignificativas(double magnitud);

// Lo mismo en caracteres ASCII; devuelve cuántos escribió.
inline constexpr int LargoMaximoFormatoGeneral = 32;
int EscribirFormatoGeneral(double valor, char* salida);

struct NumeroLeido {
    double Valor = 0;
    bool HayNumero = false; // el texto empieza (tras blancos) con un número
    bool Desborde = false;  // el número no cabe en un double; Valor queda en 0
};

// Blancos, signo opcional, cifras, fracción con "." y exponente opcionales; el
// resto del texto se ignora.
NumeroLeido LeerNumero(QStringView texto);
// Lo mismo sobre los bytes de un archivo.
NumeroLeido LeerNumero(QByteArrayView texto);

// Valor del número inicial de un texto; sin número (o desbordado) vale 0.
double ValorTexto(QStringView texto);

// Al entero más cercano, las mitades al par (2.5 -> 2, 3.5 -> 4).
double RedondearPar(double valor);

// Un double con 17 cifras significativas (%.17g), sin depender del idioma.
QString Formato17(double valor);

// El separador decimal con que una persona escribe los números (el otro agrupa
// miles). Los archivos y los reportes siempre usan el punto.
enum class SeparadorDecimal : char16_t { Coma = u',', Punto = u'.' };

// Un número que una persona escribió o pegó, con "," o "." como separador
// decimal o de miles (ver LeerNumeroEscrito).
struct NumeroEscrito {
    double Valor = 0;
    bool EsNumero = false;   // hay al menos una cifra al principio
    bool Descartado = false; // quedó texto sin leer detrás del número
    // Un solo separador seguido de exactamente tres cifras ("215.000", "6,500"):
    // se leyó con el separador de la convención dada.
    bool Ambiguo = false;
    // El separador decimal que la forma del texto muestra sin dudas ("6,5",
    // "1.234,5", "1.234.567" muestran la coma; "7.25" el punto); nulo si no
    // muestra ninguno ("150", "150 000" o la forma ambigua).
    QChar Muestra;
};
// Con "." y "," el último de ellos separa los decimales y el otro agrupa miles.
// Con uno solo repetido, agrupa miles si el primer grupo tiene 1 a 3 cifras sin
// cero inicial y los demás exactamente 3; si no, el segundo corta el número. Uno
// solo seguido de exactamente tres cifras tras un primer grupo así es ambiguo y
// se lee con la convención; cualquier otra forma de un solo separador es la
// decimal. Un blanco (o uno de no separación) entre grupos de tres agrupa miles
// ("150 000"). Lee también el exponente ("6.20E+05").
NumeroEscrito LeerNumeroEscrito(QStringView texto,
                                SeparadorDecimal convencion = SeparadorDecimal::Punto);
