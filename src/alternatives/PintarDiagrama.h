// Pintura del diagrama lineal de estructuras sobre cualquier QPainter: la
// ventana, la impresora, PDF, SVG y PNG usan las mismas rutinas.
#pragma once

#include "alternatives/DiagramaLineal.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <utility>

class QPainter;
class QPagedPaintDevice;
class QPaintDevice;

// Colores de fondo y de texto de la caja k (0..4) de la estructura n (1..6), los
// de la ventana de alternativas.
std::pair<QColor, QColor> ColoresCaja(int n, int k);
// Fondo y texto de un material del catálogo (1..11): el mismo en el diagrama y en la
// memoria, sea cual sea su lugar en la estructura.
std::pair<QColor, QColor> ColoresMaterial(int tipo);

// Lo que va en el cuadro de título de cada página.
struct EncabezadoDiagrama {
    QString Codigo; // el archivo del proyecto, sin carpeta
    QString Nombre;
    QString Ubicacion;
    QString Fecha;
};
EncabezadoDiagrama EncabezadoDe(const ModuloVarek9& modulo);
// Dos líneas: proyecto y ubicación; tramo de abscisas, fecha y página.
QStringList TituloDiagrama(const EncabezadoDiagrama& e, double desde, double hasta, int pagina,
                           int paginas);

// La letra del diagrama (8 puntos, nunca menos) y su medida en un dispositivo.
QFont LetraDiagrama();
MedidaLetra MedirLetra(const QFont& letra, QPaintDevice* dispositivo);

// Todo el diagrama de una disposición. Pintar por partes (fondo, cada columna
// entre save/restore, encima) es lo que permite un grupo por unidad en SVG.
void PintarDiagrama(QPainter& p, const DiagramaLineal& d, const DisposicionDiagrama& r,
                    const QStringList& titulo);
void PintarFondo(QPainter& p, const DiagramaLineal& d, const DisposicionDiagrama& r,
                 const QStringList& titulo);
void PintarColumna(QPainter& p, const DiagramaLineal& d, const DisposicionDiagrama& r, int j);
void PintarEncima(QPainter& p, const DiagramaLineal& d, const DisposicionDiagrama& r);

// Los tramos de las páginas de un área: cada columna con el ancho que sus rótulos piden.
QList<PaginaDiagrama> PaginasDiagrama(const DiagramaLineal& d, const QRectF& area,
                                      const MedidaLetra& letra);

// Páginas apaisadas del diagrama en una impresora o un PDF; devuelve cuántas.
int ImprimirDiagrama(QPagedPaintDevice& dispositivo, const DiagramaLineal& d,
                     const EncabezadoDiagrama& e);

// El ancho mayor de una imagen PNG del diagrama, en píxeles.
inline constexpr int MaximoAnchoPng = 16384;

// Exporta según la extensión: .pdf (vectorial, por páginas), .svg (un archivo
// por página impresa, "x-1.svg", "x-2.svg"... si hay más de una, con un grupo por
// unidad) o .png (a 200 ppp, tan ancho como pide que cada rótulo se lea: el ancho
// de las páginas del PDF; pasado el máximo, en varias imágenes "x-1.png",
// "x-2.png"...). Devuelve el texto del error, vacío si salió bien; en escritos,
// los archivos que escribió.
QString ExportarDiagrama(const QString& archivo, const DiagramaLineal& d,
                         const EncabezadoDiagrama& e, QStringList* escritos = nullptr);
QString ExportarPng(const QString& archivo, const DiagramaLineal& d, const EncabezadoDiagrama& e,
                    QStringList* escritos = nullptr, int maximoAncho = MaximoAnchoPng);
