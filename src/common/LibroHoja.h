// Libros de hojas de cálculo: tablas de celdas de texto o de número que se
// escriben en CSV o XLSX y se leen de ellos. XLSX se escribe con libxlsxwriter y
// se lee con minizip; cada una puede faltar en la construcción (lo dicen
// HayEscrituraXlsx y HayLecturaXlsx). CSV siempre funciona.
#pragma once

#include "common/Numeros.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct CeldaHoja {
    QString Texto; // el de una celda de texto
    double Numero = 0;
    bool EsNumero = false;
    static CeldaHoja DeNumero(double valor) { return {QString(), valor, true}; }
    bool operator==(const CeldaHoja&) const = default;
};

struct HojaLibro {
    QString Nombre;
    QStringList Titulos;  // la fila de títulos
    QStringList Formatos; // formato de número por columna ("#,##0.00"); vacío: general
    QList<QList<CeldaHoja>> Filas;
};
using LibroHoja = QList<HojaLibro>;

bool HayEscrituraXlsx();
bool HayLecturaXlsx();
// "Esta versión de Varek-9 se construyó sin XLSX..."; con CSV como salida.
QString TextoSinXlsx();

// Un libro en CSV: cada hoja con su nombre en una línea, sus títulos y sus filas,
// y una línea vacía entre hojas. Con coma decimal se separa con ";"; con punto,
// con ",". UTF-8 con marca de orden de bytes, para que las hojas de cálculo lean
// bien las tildes; CR LF.
QByteArray TextoCsv(const LibroHoja& libro, SeparadorDecimal separador);
// El libro en XLSX: una hoja por HojaLibro con la fila de títulos fija, números
// como números con su formato y anchos de columna ajustados al contenido. Vacío
// (con el motivo en error) si no se pudo o la construcción no tiene XLSX.
QByteArray BytesXlsx(const LibroHoja& libro, QString* error);

// Una hoja leída de un archivo.
struct LecturaHoja {
    QList<QList<CeldaHoja>> Filas;
    QString Error;        // vacío si se leyó
    QString Hoja;         // la hoja leída de un XLSX
    QStringList Hojas;    // las hojas del libro
    QChar Delimitador;    // el de un CSV
    QString Codificacion; // "UTF-8" o "Windows-1252" en un CSV
};
// CSV separado por ";", "," o tabulador (el que da a las primeras líneas el
// mismo número de campos), con comillas; UTF-8 (con o sin marca), UTF-16 con
// marca o, si no es UTF-8 válido, Windows-1252. Todas las celdas son de texto.
LecturaHoja LeerCsv(const QByteArray& datos);
// La hoja dada (o la primera) de un libro XLSX; los números quedan como números.
LecturaHoja LeerXlsx(const QByteArray& datos, const QString& hoja = QString());
// XLSX si los bytes son un zip, si no CSV.
LecturaHoja LeerHoja(const QByteArray& datos, const QString& hoja = QString());
