// Órdenes de varek9-cli sobre la impresión de reportes: la copia de texto, la
// cola del puerto de texto y el PDF, con el mismo código que el diálogo.
#pragma once

#include <QStringList>

// texto REPORTE: escribe la copia de texto y muestra su nombre.
int OrdenTexto(const QStringList& args);
// dos REPORTE [--desde A] [--hasta B] [--copias C] [--fecha F] [--salida ARCHIVO]
int OrdenDos(const QStringList& args);
// pdf REPORTE SALIDA.pdf [--desde A] [--hasta B] [--fecha F] (solo con ventanas)
int OrdenPdf(const QStringList& args, int argc, char** argv);
