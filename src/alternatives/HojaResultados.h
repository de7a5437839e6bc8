// Los resultados del diseño como libro de hoja de cálculo: las unidades, las seis
// alternativas de cada una con su verificación, la selección y las cantidades.
#pragma once

#include "alternatives/Diseno.h"
#include "common/LibroHoja.h"

// Diseña el proyecto (como la grilla de alternativas) y arma las hojas
// "Unidades", "Alternativas", "Selección" y "Cantidades".
LibroHoja LibroResultados(ModuloVarek9& modulo, EstadoDiseno& estado);

// Escribe el libro en la ruta: XLSX si termina en ".xlsx", si no CSV con la
// convención dada. Vacío si se escribió; si no, el motivo.
QString EscribirLibroResultados(ModuloVarek9& modulo, const QString& ruta,
                                SeparadorDecimal separador);
