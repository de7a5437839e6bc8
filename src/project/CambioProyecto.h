// Un paso de la historia del proyecto: lo que cambió entre dos estados, guardado
// comprimido (el encabezado y solo las unidades que difieren), para volver atrás
// y adelante sin copiar el proyecto entero en cada paso.
#pragma once

#include "project/ModuloVarek9.h"

#include <QByteArray>
#include <QVector>

#include <optional>

class CambioProyecto {
public:
    // Lo que difiere de antes a después; nada si son iguales. Guarda el estado
    // de antes: el proyecto queda en el de después.
    static std::optional<CambioProyecto> Entre(const Proyecto& antes, const Proyecto& despues);

    // Pone en el proyecto el estado guardado y guarda en su lugar el que tenía:
    // deshacer y rehacer son la misma operación.
    void Intercambiar(Proyecto& proyecto);

    // Las unidades (índices 1..) que el paso cambia, en orden.
    const QVector<qint32>& Unidades() const { return unidades_; }
    // Memoria que ocupa el paso.
    qsizetype Bytes() const;

private:
    QVector<qint32> unidades_;
    QByteArray datos_; // encabezado y unidades, comprimidos
};
