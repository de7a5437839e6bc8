// Archivo de proyecto .vk9 y archivo del último proyecto "varek-9.ult".
#pragma once

#include "app/ModuloVarek9.h"

#include <QByteArray>
#include <QString>

// Un aviso de lectura (valor no numérico o dato inválido): el lector termina el
// archivo y avisa de la primera línea con problema.
struct AvisoLectura {
    bool HayAviso = false;
    int Linea = 0;
    QString Titulo; // "CARGAR PROYECTO"
    QString Texto;
};

// Falla del sistema al escribir: número y descripción del error.
struct ErrorEscritura {
    bool Ok = true;
    int Numero = 0;
    QString Descripcion;

    static QString Titulo() { return QStringLiteral("ERROR"); }
    // "Se presentó un error en el sistema..." con el número y la descripción.
    QString Texto() const;
};

// Ruta real del archivo de un proyecto (sin extensión): la variante existente
// de la extensión (".vk9", ".VK9"...) o, si no hay ninguna, ".vk9".
QString RutaArchivoProyecto(const QString& archivoProyecto);

// Lee ArchivoProyecto + ".vk9" al proyecto del módulo con las reglas derivadas.
AvisoLectura LeerProyecto(ModuloVarek9& modulo);
// Lo mismo desde una ruta exacta; un archivo ausente da el proyecto vacío.
AvisoLectura LeerProyectoDesde(ModuloVarek9& modulo, const QString& ruta);
// Lo mismo desde el contenido de un archivo; nombre va en los mensajes.
AvisoLectura LeerProyectoDatos(ModuloVarek9& modulo, QByteArrayView datos, const QString& nombre);

// Contenido exacto del archivo del proyecto (Windows-1252, CR LF).
QByteArray TextoProyecto(const Proyecto& proyecto);
// Escribe ArchivoProyecto + ".vk9"; si falla, el archivo anterior queda intacto
// y ProyectoModificado no cambia.
ErrorEscritura GuardarProyecto(ModuloVarek9& modulo);
ErrorEscritura GuardarProyectoEn(ModuloVarek9& modulo, const QString& ruta);

// Escritura segura: un archivo temporal al lado que reemplaza al destino al final.
ErrorEscritura EscribirArchivoSeguro(const QString& ruta, const QByteArray& contenido);

inline constexpr char NombreUltimoProyecto[] = "varek-9.ult";

// Recuerda ArchivoProyecto en "varek-9.ult" del directorio actual, relativo a él
// cuando el proyecto está dentro.
ErrorEscritura GuardarUltimoProyecto(const ModuloVarek9& modulo);
// Decide ArchivoProyecto al arrancar: la ruta dada, o el último proyecto, o "Defecto".
QString CargarUltimoProyecto(ModuloVarek9& modulo, const QString& Ruta);
