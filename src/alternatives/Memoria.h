// Memoria de diseño: el documento que recibe el cliente, en PDF con letra
// proporcional. Portada, método y parámetros, catálogo de capas y costos, tabla de
// unidades, la estructura seleccionada de cada unidad dibujada a escala con su
// verificación, cantidades de obra y el diagrama lineal en páginas apaisadas.
#pragma once

#include "common/Numeros.h"
#include "project/ModuloVarek9.h"

#include <QDateTime>
#include <QPageSize>
#include <QString>

struct OpcionesMemoria {
    QPageSize Papel = QPageSize(QPageSize::A4);
    QDateTime Fecha = QDateTime::currentDateTime();
    SeparadorDecimal Separador = SeparadorDecimal::Coma;
};

struct ResultadoMemoria {
    QString Error; // vacío si se escribió
    int Paginas = 0;
    int PaginasDiagrama = 0;
};

// Diseña el proyecto (la selección por defecto donde la guardada no aplica) y
// escribe la memoria en el archivo.
ResultadoMemoria EscribirMemoria(const QString& archivo, ModuloVarek9& modulo,
                                 const OpcionesMemoria& opciones);

// El papel de "--papel": "carta" o "a4"; nulo si es otro.
std::optional<QPageSize> PapelDeNombre(const QString& nombre);
