// Texto de portapapeles de una grilla: celdas separadas por TAB y filas por
// salto de línea. Copiar y pegar trabajan sobre la tabla de textos de la grilla,
// así la ventana, varek9-cli y las pruebas hacen exactamente lo mismo.
#pragma once

#include "units/TablaTextos.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Las filas desde primeraFila hasta la última que tenga algo en las columnas
// primeraColumna..última (o hasta la última fila si todas están vacías). Cada
// celda va recortada y con sus caracteres de control como blancos (un número
// con su valor exacto, TextoExacto con el separador de la tabla); TAB entre
// celdas, LF solo entre filas. Con pararEnVacia la copia termina antes de la
// primera fila vacía.
QString CopiarTexto(const TablaTextos& tabla, int primeraFila, int primeraColumna,
                    bool pararEnVacia = false);

// Los saltos de línea del texto: cada CR, LF o CR LF.
qsizetype SaltosDeLinea(QStringView texto);

// Reparte el texto en las celdas a partir de (filaInicio, columnaInicio): TAB
// pasa a la columna siguiente; CR, LF o CR LF a la fila siguiente. Las piezas
// van tal cual. Lo que sobra a la derecha se descarta salvo con
// agregarColumnas; pasada la última fila se agrega una, o el pegado termina si
// no se permite agregar filas.
void PegarTexto(TablaTextos& tabla, QStringView texto, int filaInicio, int columnaInicio,
                bool agregarFilas, bool agregarColumnas);

// Texto de un archivo de unidades: UTF-8 o UTF-16 si empieza con su marca de
// orden de bytes; si no, Windows-1252.
QString DecodificarTextoUnidades(QByteArrayView datos);
