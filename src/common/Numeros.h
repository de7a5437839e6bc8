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

// Un número que una persona escribió o pegó, con "," o "." como separador
// decimal o de miles (ver LeerNumeroEscrito).
struct NumeroEscrito {
    double Valor = 0;
    bool EsNumero = false;   // hay al menos una cifra al principio
    bool Descartado = false; // quedó texto sin leer detrás del número
};
// Con "." y "," el último de ellos separa los decimales y el otro agrupa miles;
// solo con ",": agrupa miles si el primer grupo tiene 1 a 3 cifras sin cero
// inicial y los demás exactamente 3; si no, una "," es la coma decimal; varios
// "." sin "," agrupan miles con la misma condición y uno solo es el punto
// decimal, salvo con milesConPunto, donde un "." seguido de exactamente tres
// cifras agrupa miles ("95.000"). Lee también el exponente ("6.20E+05").
NumeroEscrito LeerNumeroEscrito(QStringView texto, bool milesConPunto = false);
