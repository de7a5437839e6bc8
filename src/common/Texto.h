// Texto de los archivos del programa: Windows-1252 ("ANSI"), líneas CR LF.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// Quita solo los blancos (código 32) de ambos extremos.
QStringView RecortarVista(QStringView texto);
QString Recortar(QStringView texto);

// Windows-1252; un carácter que no existe en esa página se escribe "?".
QByteArray CodificarAnsi(QStringView texto);
// Lectura sin pérdida: los cinco códigos sin asignar pasan como U+0081, U+008D...
QString DecodificarAnsi(QByteArrayView datos);

// Parte en líneas en CR LF o en un CR solo; un LF solo queda dentro de la línea
// (los reportes llevan caracteres de control). Un texto sin ningún CR se parte en
// LF. El fin de línea final no abre otra.
QList<QStringView> DividirLineas(QStringView texto);

// Salto de línea de los archivos que escribe el programa, en todo sistema.
inline constexpr QStringView FinLinea = u"\r\n";
