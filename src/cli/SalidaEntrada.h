// Ninguna orden de varek9-cli escribe sobre su propia entrada.
#pragma once

#include "common/ModuloLibzrl.h"

#include <QString>

#include <cstdio>

// Verdadero (tras decirlo en la salida de errores) si salida es el mismo archivo
// que entrada; la orden termina entonces con el código 2, como con un dato malo.
inline bool SalidaSobreEntrada(const QString& salida, const QString& entrada) {
    if (!MismoArchivo(salida, entrada)) return false;
    const QByteArray texto =
        QStringLiteral("La salida [%1] es el archivo de entrada [%2]: no se escribe encima...\n")
            .arg(salida, entrada)
            .toLocal8Bit();
    std::fwrite(texto.constData(), 1, static_cast<std::size_t>(texto.size()), stderr);
    return true;
}
