// Unidades de diseño sobre la tabla de textos de su grilla: llenado desde el
// proyecto, revisión (la grilla vuelve al proyecto, en orden de clave) y las
// claves del orden. La ventana de unidades y varek9-cli usan lo mismo.
#pragma once

#include "common/EntradaDatos.h"
#include "common/LibroHoja.h"
#include "common/Numeros.h"
#include "project/ModuloVarek9.h"
#include "units/TablaTextos.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Columnas de la grilla de unidades; la 0 lleva el número de fila.
enum ColumnaUH : int {
    ColNumeroUH = 0,
    ColCodigoTramo = 1,
    ColDescripcion = 2,
    ColTipoTramo = 3,
    ColTipoSegmento = 4,
    ColAbscisaInicial = 5,
    ColAbscisaFinal = 6,
    ColAnchoCorona = 7,
    ColEjesEquivalentes = 8,
    ColClimaHumedad = 9,
    ColClimaTemperatura = 10,
    ColCBR = 11,
    ColTipoTerreno = 12,
    ColTipoAfirmado = 13,
    ColEspesorAfirmado = 14,
    ColEspesorSubrasante = 15
};
inline constexpr int ColumnasUH = 16;
// La fila 0 de títulos y 999 filas para unidades.
inline constexpr int FilasInicialesUH = 1000;

// Entradas de la lista que edita la columna (3, 4, 9, 10, 12 y 13), en su
// orden; vacía para las demás columnas.
const QStringList& EntradasListaUH(int columna);
bool EsColumnaListaUH(int columna);
// Columnas 5, 6, 7, 8, 11, 14 y 15.
bool EsColumnaNumeroUH(int columna);
// Máscara con que se muestra una columna de número; vacía en las demás.
QStringView MascaraColumnaUH(int columna);
// Un número escrito o pegado en una celda de la columna, con la convención
// dada: W18 se lee entero ("1.50E+05", "500,400"); en las demás, un texto que
// no es un número entero se lee descartando primero todo lo que no sea cifra,
// signo, punto o coma ("K1+250" es 1250, "6,5 m" es 6.5).
NumeroEscrito LeerCeldaUH(int columna, QStringView texto,
                          SeparadorDecimal convencion = SeparadorDecimal::Punto);
// Lo que muestra una celda de número para un valor: la máscara de la columna
// con la convención dada.
QString TextoNumeroUH(int columna, double valor,
                      SeparadorDecimal convencion = SeparadorDecimal::Punto);
// El número de una celda: su valor exacto si lo tiene, si no su texto leído.
double NumeroCeldaUH(const TablaTextos& tabla, int fila, int columna);

// Columnas cuyo número no puede ser negativo: ancho de corona, W18, CBR y los
// espesores de afirmado y de capa de subrasante (las abscisas sí pueden).
inline constexpr int ColumnasSinNegativosUH[] = {ColAnchoCorona, ColEjesEquivalentes, ColCBR,
                                                 ColEspesorAfirmado, ColEspesorSubrasante};
// Nombre corto de una columna en los mensajes ("Ancho Corona", "CBR"...).
QString NombreColumnaUH(int columna);
// El campo de la unidad que muestra una columna de número (5, 6, 7, 8, 11, 14 o
// 15); nullptr en las demás.
double* CampoNumeroUH(UnidadHomogenea& unidad, int columna);
const double* CampoNumeroUH(const UnidadHomogenea& unidad, int columna);

// Una celda cuyo número negativo la revisión no aceptó (fila y columna de la
// grilla antes de ordenar).
struct CeldaRechazada {
    int Fila = 0;
    int Columna = 0;
    bool operator==(const CeldaRechazada&) const = default;
};
// El único mensaje que nombra las celdas rechazadas.
QString TextoCeldasRechazadas(const QList<CeldaRechazada>& celdas);

// Un valor fuera de lo usual en su columna (ancho de corona de más de 40 m, CBR
// de más de 100, espesor de más de 300 cm, W18 de más de 50.000.000, abscisa
// de más de 10.000.000 m): se pregunta antes de tomarlo.
bool FueraDeLoUsualUH(int columna, double valor);
// "¿El valor [6.500,00] de Ancho Corona de la unidad [3] es correcto?"
QString PreguntaValorUH(int columna, double valor, int unidad, SeparadorDecimal convencion);

// Lo que un pegado tuvo que decir de una celda.
enum class NotaPegado {
    NoEsNumero,     // se rechazó: la celda conserva su valor
    SinEntrada,     // texto de lista que no es ninguna entrada: rechazado
    EntradaAmbigua, // texto de lista que puede ser dos entradas: rechazado
    Descartado,     // número leído dejando caracteres
    FueraDeLoUsual, // número tomado, fuera de lo usual en su columna
    SinCaracteres,  // texto tomado sin los caracteres que el archivo no guarda
    Ambiguo,        // número leído con la convención, que decidió su valor
    Negativo,       // negativo donde no cabe: la revisión no lo tomará
};
struct CeldaNotada {
    int Fila = 0;
    int Columna = 0;
    NotaPegado Nota = NotaPegado::NoEsNumero;
    QString Texto; // lo pegado
    double Valor = 0;
    QString Quitados; // los caracteres quitados
};
struct ResultadoPegado {
    ConvencionBloque Convencion;
    QList<CeldaNotada> Notas;
    int Filas = 0; // líneas del texto pegado
};
// El nombre del paso de deshacer de un pegado: "Pegar 25 filas".
QString NombrePegado(int filas);
// Pega el texto desde (fila, columna) como "Pegar del Portapapeles": las celdas
// de número se leen con la convención del bloque (la que muestran sus celdas o,
// si no, la preferencia) y quedan con su valor exacto; las de lista con la
// entrada que corresponde; lo que no se puede leer no se toma y la celda
// conserva su valor. Las filas agregadas llevan su número.
ResultadoPegado PegarUH(TablaTextos& tabla, QStringView texto, int fila, int columna,
                        SeparadorDecimal preferencia);
// Como PegarUH desde la columna del código, con las filas de una hoja de cálculo
// (en el orden de las columnas 1..15): sus números se toman exactos, sin
// convención; sus textos se leen como en un pegado.
ResultadoPegado PegarCeldasUH(TablaTextos& tabla, const QList<QList<CeldaHoja>>& filas, int fila,
                              SeparadorDecimal preferencia);
// El único mensaje del pegado; vacío si no hay nada que decir. Cada lista con
// las primeras 20 celdas. De un archivo importado, también las que leyó la
// convención.
QString TextoPegado(const ResultadoPegado& resultado, SeparadorDecimal preferencia,
                    bool deArchivo = false);

// Filas que necesita la grilla: 1000, o NumeroUH + 1 si son más.
int FilasTablaUH(const Proyecto& proyecto);

// La columna 0 de cada fila (menos la 0) con su número.
void NumerarFilas(TablaTextos& tabla);

// Llena las filas 1..NumeroUH desde las unidades y deja vacías las columnas
// 1..15 de las demás filas. Aplica las reglas de los espesores en el proyecto:
// sin afirmado ("No hay") el espesor de afirmado es 0, y con afirmado el de la
// capa de subrasante es 0. Amplía la tabla si tiene menos de NumeroUH + 1 filas.
// Un espesor que las reglas del llenado quitaron a una unidad (columna 14 o 15).
struct CambioRegla {
    QString Codigo;
    double AbscisaInicial = 0;
    double AbscisaFinal = 0;
    int Columna = 0;
    double Quitado = 0;
};
// Con cambios, anota cada espesor que las reglas pusieron en 0.
void CargarUH(Proyecto& proyecto, TablaTextos& tabla, QList<CambioRegla>* cambios = nullptr);
// El único mensaje que nombra las unidades cambiadas por las reglas.
QString TextoCambiosRegla(const QList<CambioRegla>& cambios);

// Clave de orden de la unidad i: código, abscisa inicial y abscisa final (con
// "0.000") alineados a la derecha en 20 caracteres, y la posición i en 4 cifras.
QString ClaveUnidad(const UnidadHomogenea& unidad, int i);
// Clave con que se vuelve a encontrar la fila actual tras ordenar: el texto del
// código sin rellenar y las abscisas de las columnas 5 y 6 como en ClaveUnidad.
QString ClaveCursor(const TablaTextos& tabla, int fila);

// Etiqueta donde un orden largo muestra su avance.
class EtiquetaProgreso {
public:
    virtual ~EtiquetaProgreso() = default;
    virtual void Mostrar(bool visible) = 0;
    virtual void PonerTexto(const QString& texto) = 0;
};

// Orden Shell de clave[primero..ultimo], comparando código a código de carácter;
// cada intercambio se aplica también a indice si no está vacío. Con progreso,
// la etiqueta muestra el porcentaje en múltiplos de 5 mientras dura.
void OrdenarShell(QList<int>& indice, QStringList& clave, int primero, int ultimo, bool ascendente,
                  EtiquetaProgreso* progreso = nullptr);

// Ordena UH(1..NumeroUH) por ClaveUnidad.
void DepurarProyecto(Proyecto& proyecto);

// Revisión: lee al proyecto cada fila con código (las demás se descartan),
// ordena las unidades, vuelve a llenar la tabla y devuelve la fila que ahora
// tiene la unidad de filaCursor; si no se encuentra, filaCursor. Una celda de
// ColumnasSinNegativosUH cambiada a un negativo no se acepta: la unidad conserva
// su valor anterior y la celda va a rechazadas.
int RevisarUH(Proyecto& proyecto, TablaTextos& tabla, int filaCursor,
              QList<CeldaRechazada>* rechazadas = nullptr, QList<CambioRegla>* cambios = nullptr);

// Las unidades que la próxima revisión quitará: las de las filas 1..NumeroUH
// cuyo código quedó vacío en la tabla.
QList<int> UnidadesQuitadasUH(const Proyecto& proyecto, const TablaTextos& tabla);
// La línea de estado que nombra las unidades quitadas (hasta tres, y cuántas
// más) y dice cómo recuperarlas; vacía si no hay.
QString TextoUnidadesQuitadas(const Proyecto& proyecto, const QList<int>& unidades,
                              SeparadorDecimal separador);

// La tabla tal como la deja la carga de la ventana: filas numeradas, llenado y
// una primera revisión completa con el cursor en la fila 1.
TablaTextos PrepararTablaUH(Proyecto& proyecto,
                            SeparadorDecimal separador = SeparadorDecimal::Punto);
