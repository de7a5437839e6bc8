// Los cuatro reportes del proyecto: unidades homogéneas, espesores de las
// estructuras alternativas, costos de las alternativas y alternativas
// seleccionadas. Cada uno escribe el archivo completo (Windows-1252, CR LF) con
// los prefijos de CodigoFormato; el nombre lo reserva quien llama.
#pragma once

#include "alternatives/Diseno.h"
#include "project/ArchivoProyecto.h"
#include "project/ModuloVarek9.h"

#include <QString>

// Reporte 1: parámetros AASHTO, costos unitarios y datos guardados de las
// unidades. No diseña; solo llena el catálogo si aún está vacío.
ErrorEscritura ImprimeUnidadesHomogeneas(ModuloVarek9& modulo, const QString& archivo);

// Reportes 2 a 4: diseñan cada unidad al escribirla, así que al final las
// alternativas y estado.CostoAlternativa son los de la última unidad.
ErrorEscritura ImprimeEstructurasAlternativas(ModuloVarek9& modulo, EstadoDiseno& estado,
                                              const QString& archivo);
// Deja estado.CostoTotal igual a los totales impresos.
ErrorEscritura ImprimeCostosAlternativas(ModuloVarek9& modulo, EstadoDiseno& estado,
                                         const QString& archivo);
// Guarda la selección por defecto en las unidades cuya selección ya no aplica.
ErrorEscritura ImprimeCostosAlternativasSeleccionadas(ModuloVarek9& modulo, EstadoDiseno& estado,
                                                      const QString& archivo);

// Reporte 5: verificación estructural de las alternativas de cada unidad (número
// estructural aportado contra el requerido, y sobre la base y la subbase); diseña
// cada unidad como el reporte 2.
inline constexpr int NumeroReporteVerificacion = 5;
ErrorEscritura ImprimeVerificacionEstructural(ModuloVarek9& modulo, EstadoDiseno& estado,
                                              const QString& archivo);

// Reporte 6: cantidades de obra de la alternativa seleccionada de cada unidad y
// totales por material; diseña cada unidad y guarda la selección por defecto como
// el reporte 4.
inline constexpr int NumeroReporteCantidades = 6;
ErrorEscritura ImprimeCantidadesObra(ModuloVarek9& modulo, EstadoDiseno& estado,
                                     const QString& archivo);

// Título del reporte numero (1..6); vacío para otro número.
QString TituloReporte(int numero);

// El reporte numero (1..6); otro número no escribe nada y devuelve un error de
// número 0, que no lleva mensaje.
ErrorEscritura EscribirReporte(int numero, ModuloVarek9& modulo, EstadoDiseno& estado,
                               const QString& archivo);
