// Órdenes de varek9-cli sobre la tabla de unidades de diseño, con la misma
// preparación, pegado, revisión y copia que la ventana de unidades.
#pragma once

#include <QStringList>

// importar PROYECTO.vk9 UNIDADES.txt SALIDA.vk9 [--separador coma|punto]: pega
// el texto bajo la última unidad, revisa y guarda. Devuelve el código de salida
// del programa.
int OrdenImportar(QStringList args);
// exportar PROYECTO.vk9 [--separador coma|punto]: escribe en la salida lo que
// "Copiar al Portapapeles" pondría en el portapapeles, en Windows-1252.
int OrdenExportar(QStringList args);
// hoja PROYECTO.vk9 --salida ARCHIVO.xlsx|.csv [--separador coma|punto]: los
// resultados del diseño en un libro de hoja de cálculo.
int OrdenHoja(QStringList args);
