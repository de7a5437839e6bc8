// Impresión de un reporte en la impresora del sistema (o en PDF) con QPainter:
// la misma paginación que el puerto de texto, con tamaños, estilos, alineaciones,
// imágenes y marcadores.
#pragma once

#include "printing/ConfiguracionImpresion.h"
#include "printing/Paginacion.h"

#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>

#include <optional>

class QPrinter;

// Las páginas de los reportes están medidas en Courier New; donde falta, la
// métrica compatible Liberation Mono.
void RegistrarFuenteReportes();

inline constexpr double TwipsPorPulgada = 1440;
inline constexpr double AnchoLineaTwips = 11520; // 8 pulgadas: la página de 21.59 cm
// Margen mínimo de cada lado de la hoja: lo impreso en PDF y llevado a una
// impresora de oficina a tamaño real no pierde su borde. En puntos enteros (29
// puntos = 10.2 mm), porque Qt redondea a puntos los márgenes de la página.
inline constexpr double MargenMinimoPuntos = 29;

// Centímetros a twips: 11520 twips por los 21.59 cm de la página.
double CmATwips(double cm);

// El papel de la región del sistema: Carta donde se usa (América del Norte y
// Central, Colombia, Venezuela, Chile, Filipinas), A4 en las demás.
QPageSize::PageSizeId PapelDeTerritorio(QLocale::Territory territorio);
QPageSize PapelDelSistema();

// Lo impreso se aparta medio punto más de cada margen: lo que llega justo al borde
// no queda fuera por redondeos.
inline constexpr double HolguraTwips = 10;

// El área donde se imprime, en twips, con la hoja de pie y las holguras quitadas,
// medida como la mide el pintor (en puntos del dispositivo).
QSizeF AreaDePie(const QPageLayout& hoja, int resolucion);

// Orientación y escala de un trabajo. Las decide lo que se imprime una vez (las
// líneas de cuerpo y las imágenes): la orientación con la mayor escala, y la
// escala justa para que quepan a lo ancho y lo alto de la página; nunca mayor que 1.
struct DisenoPagina {
    bool Apaisada = false;
    double Escala = 1;
    double AnchoLinea = 0; // ancho imprimible en twips a la escala del trabajo
};
// areaDePie: área imprimible con la hoja de pie (twips); anchoCuerpo: extremo
// derecho del cuerpo; alto: extremo inferior de una página (twips, sin reducir).
// apaisadaElegida: la orientación que eligió el usuario, si la eligió.
DisenoPagina ElegirDisenoPagina(QSizeF areaDePie, double anchoCuerpo, double alto,
                                std::optional<bool> apaisadaElegida = std::nullopt);

struct ResultadoImpresora {
    bool Ok = false;
    QString Error;
    int Paginas = 0;
    bool Apaisada = false;
    double Escala = 1;      // reducción del trabajo para que el cuerpo quepa
    double AnchoCuerpo = 0; // extremo derecho del cuerpo, sin reducir
    double AnchoTwips = 0;  // extremo derecho de todo lo impreso, sin reducir
    double AltoTwips = 0;   // extremo inferior de lo impreso, sin reducir
};

// Imprime el reporte (ya pasado por el prepaso) con márgenes de al menos 10 mm.
// La orientación (salvo que el usuario la haya elegido) y la escala salen de
// ElegirDisenoPagina; un encabezado más ancho que la línea a esa escala se
// imprime solo él en un tamaño menor que quepa. Las líneas a la derecha y
// justificadas terminan en el borde derecho imprimible.
ResultadoImpresora ImprimirEnImpresora(QPrinter& impresora, const QString& reporte,
                                       const ResumenReporte& resumen,
                                       const ConfiguracionImpresion& configuracion,
                                       const ParametrosImpresion& parametros,
                                       bool orientacionElegida);
