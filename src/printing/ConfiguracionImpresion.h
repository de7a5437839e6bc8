// Configuración de la impresora en "Imprime.set": visor, márgenes, largo de
// página, espaciamiento, avance inicial, puerto y los puertos con nombre.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

struct PuertoNombrado {
    QString Nombre; // en mayúsculas
    QString Puerto; // en mayúsculas
};

inline constexpr int MaximoPuertosNombrados = 100;
inline constexpr int LineasArchivoConfiguracion = 8;

struct ConfiguracionImpresion {
    QString Visor = QStringLiteral("Q.COM");
    QString Editor = QStringLiteral("NOTEPAD.EXE");
    float MargenIzquierdo = 3; // cm
    float MargenDerecho = 2;   // cm
    int LongitudPagina = 58;   // líneas
    float Espaciamiento = 1;
    int MicroFeed = 0; // twips
    QString Puerto = QStringLiteral("PRN");
    QList<PuertoNombrado> Puertos;

    // Líneas impresas por página, encabezados incluidos.
    int LineasPorPagina() const;
};

// Nombre del archivo de configuración, en la carpeta de configuración.
inline const QString ArchivoConfiguracionImpresion = QStringLiteral("Imprime.set");
// El visor del programa y el editor del sistema que nombra un archivo nuevo.
inline const QString VisorPropio = QStringLiteral("Varek-9");
#ifdef _WIN32
inline const QString EditorSistema = QStringLiteral("notepad.exe");
#else
inline const QString EditorSistema = QStringLiteral("xdg-open");
#endif

// Rehace la tabla de puertos con nombre desde el valor de una línea "Puertos".
void LeerPuertos(ConfiguracionImpresion& configuracion, QStringView valor);

// Aplica al registro las primeras ocho líneas del contenido de "Imprime.set"
// (sin restablecer los valores por defecto ni aplicar los límites).
void LeerArchivoConfiguracion(ConfiguracionImpresion& configuracion, QByteArrayView contenido);

// Las ocho líneas que se escriben cuando el archivo no existe.
QByteArray TextoConfiguracionImpresion(const ConfiguracionImpresion& configuracion);

// Valores por defecto, archivo de la carpeta dada o, sin ella, de la de
// configuración (lo crea si falta), límites y,
// si se da, el puerto con ese nombre. Los errores de archivo se ignoran.
ConfiguracionImpresion CargarConfiguracionImpresion(const QString& nombrePuerto = QString(),
                                                    const QString& carpeta = QString());
