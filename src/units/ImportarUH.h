// Unidades desde un archivo CSV o XLSX: las columnas por su título (o por su
// posición si la primera fila no es de títulos), las filas como las lee un
// pegado y lo que hay que decir de cada celda antes de que nada entre a la tabla.
// La vista previa de la ventana de unidades y varek9-cli importar usan lo mismo.
#pragma once

#include "common/LibroHoja.h"
#include "units/RevisionUH.h"
#include "units/TablaTextos.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// La columna de la grilla (1..15) que nombra un título ("CBR (%)", "cbr", "W18",
// "Ejes Equivalentes 80 KN"), sin mayúsculas, tildes, unidades entre paréntesis
// ni palabras como "de"; 0 si no nombra ninguna; -1 si es la del número de unidad
// ("UH", "#"), que no se toma.
int ColumnaDeTituloUH(QStringView titulo);

// Una columna del archivo y la de la grilla que la recibe (0: no se toma).
struct ColumnaArchivo {
    QString Titulo; // vacío sin fila de títulos
    int Columna = 0;
    bool Repetida = false; // nombra una columna que otra ya llenaba
};

struct LecturaUnidades {
    LecturaHoja Hoja;        // delimitador y codificación de un CSV; hojas de un XLSX
    QString Error;           // vacío si se puede importar
    bool ConTitulos = false; // hay una fila de títulos
    int FilasSaltadas = 0;   // filas de la hoja sobre la de títulos
    int FinTabla = 0;        // la fila de otros títulos donde terminan las unidades
    QList<ColumnaArchivo> Columnas;
    // Las filas con algo escrito, en el orden de las columnas 1..15 de la grilla.
    QList<QList<CeldaHoja>> Filas;
    QList<int> FilasArchivo; // el número de cada una en el archivo (desde 1)
};
// Lee el archivo (XLSX si es un zip, si no CSV) y reparte sus columnas.
LecturaUnidades LeerUnidadesArchivo(const QByteArray& datos, const QString& hoja = QString());

// Las filas leídas puestas en una copia de la tabla, debajo de la última unidad.
struct ImportacionUH {
    LecturaUnidades Lectura;
    TablaTextos Tabla;
    int Fila = 0; // la fila de la tabla con la primera fila importada
    ResultadoPegado Pegado;
    QList<int> SinCodigo; // filas del archivo con datos y sin código de tramo
    // Alguna celda no se tomó (no es un número, no está en su lista, es ambigua
    // entre dos entradas o es un negativo donde no cabe).
    bool HayRechazadas() const;
    // La fila del archivo de una fila de la tabla.
    int FilaArchivo(int filaTabla) const;
};
ImportacionUH PrepararImportacionUH(const TablaTextos& tabla, int numeroUH, LecturaUnidades lectura,
                                    SeparadorDecimal preferencia);

// Cómo se leyó el archivo: "CSV separado por ";" (Windows-1252)", "Hoja
// "Unidades" del libro", y las columnas por título o por posición.
QString TextoLecturaUH(const LecturaUnidades& lectura);
// Todo lo que hay que decir antes de importar: columnas no tomadas, convención,
// celdas rechazadas, ambiguas, fuera de lo usual y filas sin código, con las filas
// del archivo; vacío si no hay nada.
QString TextoImportacionUH(const ImportacionUH& importacion, SeparadorDecimal preferencia);
// "Importar 25 filas".
QString NombreImportacion(int filas);
