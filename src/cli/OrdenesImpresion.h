// Órdenes de varek9-cli sobre la impresión de reportes: la copia de texto, la
// cola del puerto de texto y el PDF, con el mismo código que el diálogo.
#pragma once

#include <QStringList>

struct ModuloVarek9;

// texto REPORTE: escribe la copia de texto y muestra su nombre.
int OrdenTexto(const QStringList& args);
// dos REPORTE [--desde A] [--hasta B] [--copias C] [--fecha F] [--salida ARCHIVO]
int OrdenDos(const QStringList& args);
// pdf REPORTE SALIDA.pdf [--desde A] [--hasta B] [--fecha F] (solo con ventanas)
int OrdenPdf(const QStringList& args, int argc, char** argv);
// diagrama PROYECTO.vk9 --salida ARCHIVO.pdf|.svg|.png: el diagrama lineal del
// proyecto ya leído, dibujado como en la ventana (solo con ventanas).
int DibujarDiagrama(ModuloVarek9& modulo, const QString& salida, int argc, char** argv);
