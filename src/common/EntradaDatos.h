// Lo que una persona escribe o pega en las ventanas: la convención de sus
// números (una preferencia del usuario), las entradas de las listas tal como se
// escriben y los caracteres que el archivo del proyecto no puede guardar.
// Los archivos y los reportes no cambian: siempre llevan punto decimal.
#pragma once

#include "common/Numeros.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// La convención de la región: coma, salvo donde el punto es el decimal (es_MX,
// es_US, inglés...). Una región desconocida usa la coma.
SeparadorDecimal SeparadorDeRegion(const QLocale& region);
// La preferencia "Separador decimal" del usuario; sin ella, la de la región del
// sistema.
SeparadorDecimal LeerSeparadorDecimal();
void GuardarSeparadorDecimal(SeparadorDecimal separador);
// Otras preferencias del usuario, por clave; vacía si no está.
QString LeerPreferencia(const QString& clave);
void GuardarPreferencia(const QString& clave, const QString& valor);
// "coma" o "punto".
QString NombreSeparador(SeparadorDecimal separador);
std::optional<SeparadorDecimal> SeparadorDeNombre(QStringView nombre);
// La línea de estado: "Separador decimal: coma (1.234,5)".
QString TextoPreferenciaSeparador(SeparadorDecimal separador);

// Un número formateado (punto decimal, coma de miles) como lo muestra una
// ventana con la convención dada.
QString TextoVentana(QString formateado, SeparadorDecimal separador);
// El valor exacto para copiar: hasta 15 cifras significativas, sin exponente
// ni separador de miles, con el separador decimal dado.
QString TextoExacto(double valor, SeparadorDecimal separador);

// La convención con que se lee un bloque pegado o importado: la que muestran
// sus celdas sin dudas si todas muestran la misma; si no, la de la preferencia.
struct ConvencionBloque {
    SeparadorDecimal Separador = SeparadorDecimal::Punto;
    bool DelBloque = false;      // la muestran sus celdas
    bool Contradictoria = false; // unas celdas muestran la coma y otras el punto
    bool HayAmbiguas = false;    // alguna celda dependía de la convención
    QStringList Ejemplos;        // hasta tres celdas que la muestran
};
ConvencionBloque ConvencionDeBloque(const QStringList& textos, SeparadorDecimal preferencia);
// La frase del mensaje del pegado (o de la importación de un archivo) que dice
// con qué convención se leyó y por qué.
QString TextoConvencion(const ConvencionBloque& convencion, bool deArchivo = false);

// Sin tildes ni mayúsculas, recortado y con un solo blanco entre palabras.
QString Normalizar(QStringView texto);
// La entrada de la lista que corresponde a un texto escrito como lo escribe la
// gente: sin mayúsculas ni tildes, sin blancos alrededor, con o sin el número o
// la letra del comienzo ("2", "2. Explanación", "b"), o el comienzo de una sola
// entrada ("Sub"). -1 si no corresponde a ninguna o a más de una (ambigua).
int BuscarEntradaLista(const QStringList& entradas, QStringView texto, bool* ambigua = nullptr);

// Los caracteres distintos del texto que Windows-1252 no tiene, en su orden.
QString CaracteresNoAnsi(QStringView texto);
// El texto sin esos caracteres.
QString QuitarNoAnsi(QStringView texto);
// "El carácter [Ω] no se puede guardar en el archivo del proyecto...".
QString TextoCaracteresNoAnsi(QStringView caracteres);
