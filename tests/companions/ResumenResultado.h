// El resultado de un programa complementario en una línea, para las tablas de
// pruebas: "sí: referencia | tránsito | clase2 clase3 | módulo".
#pragma once

#include "project/ModuloVarek9.h"

inline QString Resumen(const ResultadoPrograma& r) {
    return QStringLiteral("%1: %2 | %3 | %4 %5 | %6")
        .arg(r.HayResultado ? QStringLiteral("sí") : QStringLiteral("no"), r.Referencia,
             QString::number(r.ValorTransito, 'g', 15), r.TextoClima2, r.TextoClima3,
             QString::number(r.ValorModulo, 'g', 15));
}
