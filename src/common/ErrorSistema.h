// Número y descripción en español de un error del sistema al manejar archivos.
#pragma once

#include <QString>

struct ErrorSistema {
    int Numero = 0;
    QString Descripcion;
};

// El último error del sistema (errno en POSIX, GetLastError en Windows); si no
// hay uno, "alternativa" da la descripción.
ErrorSistema UltimoErrorSistema(const QString& alternativa);
QString DescripcionErrorSistema(int numero);
