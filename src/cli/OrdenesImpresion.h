// Órdenes de varek9-cli sobre la impresión de reportes: la copia de texto, la
// cola del puerto de texto y el PDF, con el mismo código que el diálogo.
#pragma once

#include "common/Numeros.h"
#include "printing/SalidaSegura.h"

#include <QStringList>

struct ModuloVarek9;

// Verdadero (tras decirlo) si la salida es un proyecto o un archivo que lo
// acompaña; la orden termina con el código 2, como con una salida sobre la entrada.
bool SalidaProhibida(const QString& salida, ClaseSalida clase, const QString& proyecto = QString());

// texto REPORTE: escribe la copia de texto y muestra su nombre.
int OrdenTexto(const QStringList& args);
// dos REPORTE [--desde A] [--hasta B] [--copias C] [--fecha F] [--salida ARCHIVO]
int OrdenDos(const QStringList& args);
// pdf REPORTE SALIDA.pdf [--desde A] [--hasta B] [--fecha F] (solo con ventanas)
int OrdenPdf(const QStringList& args, int argc, char** argv);
// diagrama PROYECTO.vk9 --salida ARCHIVO.pdf|.svg|.png: el diagrama lineal del
// proyecto ya leído, dibujado como en la ventana (solo con ventanas).
int DibujarDiagrama(ModuloVarek9& modulo, const QString& salida, int argc, char** argv);
// La memoria de diseño del proyecto ya leído en PDF, con el papel dado o, sin
// él, el de la región (solo con ventanas).
int EscribirMemoriaPdf(ModuloVarek9& modulo, const QString& salida, const QString& papel,
                       SeparadorDecimal separador, int argc, char** argv);
// Las curvas de sensibilidad de la unidad (1..NumeroUH) a .pdf, .svg o .png.
int DibujarSensibilidadUnidad(ModuloVarek9& modulo, int unidad, const QString& salida, int argc,
                              char** argv);
