// Las tres curvas de sensibilidad de una unidad como trazos simples (líneas, textos y
// círculos en un lienzo fijo), que se pintan en la ventana, en PNG o PDF con QPainter
// y se escriben en SVG sin más bibliotecas.
#pragma once

#include "alternatives/Sensibilidad.h"
#include "common/Numeros.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QString>

class QPainter;

struct TrazoSensibilidad {
    enum Clase { Linea, Texto, Circulo };
    Clase Tipo = Linea;
    QPolygonF Puntos; // la línea (dos o más puntos) o el centro del círculo
    double Radio = 0; // círculo
    QRectF Caja;      // texto, con su alineación dentro de la caja
    QString Cadena;
    Qt::Alignment Alineacion = Qt::AlignCenter;
    double Letra = 11; // alto de la letra en unidades del lienzo
    bool Negrita = false;
    QColor Color = Qt::black;
    double Ancho = 1;
    Qt::PenStyle Estilo = Qt::SolidLine;
};

struct DibujoSensibilidad {
    double Ancho = 1200, Alto = 440; // el lienzo
    QList<TrazoSensibilidad> Trazos;
};

// Título arriba y las curvas lado a lado: SN requerido (eje izquierdo) y costo de la
// alternativa más barata (eje derecho, miles de pesos), la unidad marcada y los cortes.
DibujoSensibilidad DibujarSensibilidad(const QList<CurvaSensibilidad>& curvas,
                                       const QString& titulo, SeparadorDecimal separador);

// El lienzo escalado a destino, sin deformar.
void PintarSensibilidad(QPainter& pintor, const QRectF& destino, const DibujoSensibilidad& d);
QByteArray SvgSensibilidad(const DibujoSensibilidad& d);

// A .pdf, .svg o .png según la extensión; vacío si se escribió, o el mensaje.
QString ExportarSensibilidad(const QString& archivo, const DibujoSensibilidad& d);
