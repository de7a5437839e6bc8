// Impresión de un reporte en la impresora del sistema (o en PDF) con QPainter:
// la misma paginación que el puerto de texto, con tamaños, estilos, alineaciones,
// imágenes y marcadores.
#pragma once

#include "printing/ConfiguracionImpresion.h"
#include "printing/Paginacion.h"

#include <QString>

class QPrinter;

// Las páginas de los reportes están medidas en Courier New; donde falta, la
// métrica compatible Liberation Mono.
void RegistrarFuenteReportes();

inline constexpr double TwipsPorPulgada = 1440;
inline constexpr double AnchoLineaTwips = 11520; // la línea impresa va de 0 a 8 pulgadas

// Centímetros a twips: 11520 twips por los 21.59 cm de la página.
double CmATwips(double cm);

struct ResultadoImpresora {
    bool Ok = false;
    QString Error;
    int Paginas = 0;
    bool Apaisada = false;
    double Escala = 1;     // reducción para que nada quede cortado
    double AnchoTwips = 0; // extremo derecho de lo impreso, sin reducir
    double AltoTwips = 0;  // extremo inferior de lo impreso, sin reducir
};

// Imprime el reporte (ya pasado por el prepaso). Si lo más ancho no cabe de pie, la
// hoja se pone apaisada salvo que el usuario haya elegido la orientación; si aun
// así no cabe, todo se reduce en la misma proporción.
ResultadoImpresora ImprimirEnImpresora(QPrinter& impresora, const QString& reporte,
                                       const ResumenReporte& resumen,
                                       const ConfiguracionImpresion& configuracion,
                                       const ParametrosImpresion& parametros,
                                       bool orientacionElegida);
