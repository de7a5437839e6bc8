// Valores exactos de las celdas de número de una grilla o de su tabla de textos,
// por celda: lo que la celda muestra puede estar redondeado por su máscara.
#pragma once

#include <QHash>

using ValoresCeldas = QHash<quint64, double>;

inline quint64 ClaveCelda(int fila, int columna) {
    return (quint64(quint32(fila)) << 32) | quint32(columna);
}
inline int FilaDeClave(quint64 clave) {
    return int(clave >> 32);
}
inline int ColumnaDeClave(quint64 clave) {
    return int(clave & 0xffffffffu);
}
