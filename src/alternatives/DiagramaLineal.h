// Diagrama lineal de estructuras: la alternativa seleccionada de cada unidad a lo
// largo de las abscisas, con sus capas, su número estructural y su costo por km,
// como datos de dibujo. La ventana, la impresora y las exportaciones solo los
// pintan.
#pragma once

#include "alternatives/Diseno.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

struct CapaDiagrama {
    int Tipo = 0;       // catálogo 1..11
    int Caja = 0;       // caja del dibujo de la ventana de alternativas (0..4)
    double Espesor = 0; // mm; el tratamiento superficial tiene 0
    double Desde = 0;   // profundidad en cm desde la superficie
    double Hasta = 0;
    QString Etiqueta; // "BG 20.0", "TSD", "CSR 30.0"
};

struct ColumnaDiagrama {
    int Unidad = 0; // índice en el proyecto
    QString Codigo;
    double AbscisaInicial = 0; // como están en la unidad
    double AbscisaFinal = 0;
    double Desde = 0; // el intervalo de abscisas, ordenado
    double Hasta = 0;
    double EjesEquivalentes = 0;
    double CBR = 0;
    double SNRequerido = 0;
    int Alternativa = 0; // 0: sin alternativa aplicable
    double Costo = 0;    // pesos
    double CostoKm = 0;  // miles de pesos por km
    QList<CapaDiagrama> Capas;
    // "Alt 3"; sin alternativa, "Sin alt.".
    QString TextoAlternativa() const;
    // Ayuda de la columna: unidad, abscisas, W18, CBR, SN, alternativa, capas y costo.
    QString Ayuda() const;
};

struct IntervaloDiagrama {
    double Desde = 0;
    double Hasta = 0;
};

struct DiagramaLineal {
    double AbscisaMinima = 0;
    double AbscisaMaxima = 0;
    QList<ColumnaDiagrama> Columnas; // en orden de abscisas
    QList<IntervaloDiagrama> Huecos;
    QList<IntervaloDiagrama> Solapes;
    double ProfundidadMaxima = 0; // cm, la escala vertical (múltiplo de 10)
    double CapaMasDelgada = 0;    // cm, la capa con espesor más delgada (0: ninguna)
    double SNMaximo = 0;
    double CostoKmMaximo = 0;
    double Longitud = 0;        // m, suma de las longitudes de las unidades
    double CostoTotal = 0;      // pesos, de las alternativas seleccionadas
    double CostoPromedioKm = 0; // miles de pesos por km
};

// Diseña el proyecto como la ventana de alternativas al llenar su grilla (la
// selección por defecto queda en las unidades) y arma los datos del diagrama.
DiagramaLineal CalcularDiagrama(ModuloVarek9& modulo);

// "K2+600"; con decimales solo si la abscisa los tiene ("K0+350.50").
QString TextoAbscisa(double metros);

struct MarcaDiagrama {
    double Valor = 0;
    QString Texto;
};
// Marcas de kilómetro en [desde, hasta] con un paso redondo (100 m, 200 m,
// 500 m, 1 km, 2 km...) que deja a lo sumo maximo marcas.
QList<MarcaDiagrama> MarcasAbscisa(double desde, double hasta, int maximo);

// Cada unidad con su alternativa aplicable más barata (empates: la de menor número).
struct ResultadoMenorCosto {
    double CostoAntes = 0; // pesos, de la selección anterior
    double CostoDespues = 0;
    int Cambiadas = 0;
};
// Con soloPorDefecto, solo cambian las unidades que tienen su primera alternativa
// aplicable (la que la ventana elige sola): las demás las eligió el ingeniero.
ResultadoMenorCosto SeleccionarMenorCosto(ModuloVarek9& modulo, bool soloPorDefecto = false);
// Cuántas elecciones cambiaría la selección de menor costo: todas las que no son
// la más barata, y de ellas las que tienen la alternativa por defecto.
struct CuentaMenorCosto {
    int Todas = 0;
    int PorDefecto = 0;
};
CuentaMenorCosto ContarMenorCosto(ModuloVarek9& modulo);
// La pregunta antes de seleccionar: cuántas elecciones cambia cada respuesta.
QString TextoPreguntaMenorCosto(const CuentaMenorCosto& cuenta);

// Disposición en un rectángulo (unidades del dispositivo) del tramo de
// abscisas [desde, hasta]: franjas, columnas, capas, marcas y líneas. La letra
// se mide con el ancho medio de un carácter y el alto de una línea.
struct MedidaLetra {
    double Ancho = 6;
    double Alto = 12;
};

struct CapaDispuesta {
    QRectF Rectangulo;
    bool EtiquetaCabe = false;
};

struct ColumnaDispuesta {
    int Columna = 0;   // índice en DiagramaLineal::Columnas
    QRectF Estructura; // franja de la estructura
    QList<CapaDispuesta> Capas;
    QRectF Rotulo; // código y alternativa, encima
    bool RotuloCabe = false;
    QRectF Abscisas; // franja de las abscisas, abajo
    bool AbscisasCaben = false;
    QRectF SN;    // escalón del número estructural
    QRectF Costo; // barra del costo por km
};

struct DisposicionDiagrama {
    double Desde = 0;
    double Hasta = 0;
    QRectF Titulo, Rotulos, Estructuras, Abscisas, SN, Costo, Totales;
    double MargenIzquierdo = 0;
    QList<ColumnaDispuesta> Columnas; // solo las que se ven
    QList<QRectF> Huecos;
    QList<QRectF> Solapes;
    QList<std::pair<double, MarcaDiagrama>> MarcasX;  // x y marca de abscisa
    QList<std::pair<double, MarcaDiagrama>> MarcasCm; // y y profundidad
    QList<QPointF> LineaSN;                           // escalones del número estructural
    double EscalaSN = 0;                              // el SN del borde de arriba de su franja
    double EscalaCosto = 0; // el costo por km del borde de arriba de su franja

    double X(double abscisa) const;
    double Abscisa(double x) const;
    // La columna bajo un punto; -1 si no hay.
    int ColumnaEn(const QPointF& punto) const;
};

// Con primera y ultima (índices de columnas, ultima excluida) solo se disponen esas:
// en las páginas cada unidad va entera en la suya y en ninguna otra.
DisposicionDiagrama DisponerDiagrama(const DiagramaLineal& d, const QRectF& area, double desde,
                                     double hasta, const MedidaLetra& letra, int primera = 0,
                                     int ultima = -1);

// Páginas de un diagrama largo: tramos de columnas consecutivas tales que a la
// escala de la página la columna más corta mide al menos anchoMinimo de los
// anchoUtil del área de dibujo. Cada página con su tramo de abscisas y sus columnas.
struct PaginaDiagrama : IntervaloDiagrama {
    int Primera = 0; // índices en DiagramaLineal::Columnas, Ultima excluida
    int Ultima = 0;
};
QList<PaginaDiagrama> PaginarDiagrama(const DiagramaLineal& d, double anchoUtil,
                                      double anchoMinimo);
