// Prefijo de control de las líneas de reporte: cuatro caracteres (clase de
// línea, tamaño de letra, estilo y alineación) que el módulo de impresión lee y
// quita antes de imprimir.
#pragma once

#include <QString>

// El prefijo de un código de hasta cuatro cifras d1 d2 d3 d4; cada carácter es
// el de código igual al valor calculado. Un número más largo usa sus cuatro
// primeros caracteres; una posición sin cifra cuenta como 0.
QString CodigoFormato(int numero);
// Sin número: el formato por defecto (código 0000).
QString CodigoFormato();
