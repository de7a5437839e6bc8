// Archivo de proyecto .vk9 y archivo del último proyecto "varek-9.ult".
#pragma once

#include "project/ModuloVarek9.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Lo que la lectura encontró mal: valores no numéricos o inválidos, un archivo
// cortado, índices de unidad repetidos o fuera de rango, valores negativos, o un
// archivo que no es proyecto. El lector termina el archivo y los junta todos.
struct AvisoLectura {
    bool HayAviso = false;
    bool NoEsProyecto = false; // no se cargó nada: el proyecto anterior sigue
    int Linea = 0;             // la del primer hallazgo
    QStringList Hallazgos;     // uno por problema, en orden
    QString Titulo;            // "CARGAR PROYECTO"
    QString Texto;             // los primeros 20 hallazgos, uno por línea
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

// Resultado de guardar el proyecto: la falla, si hubo, y la copia ".bak" que se
// guardó antes de escribir (vacía si no hizo falta).
struct GuardadoProyecto : ErrorEscritura {
    QString Respaldo;
};

// Ruta real del archivo de un proyecto (sin extensión): la variante existente
// de la extensión (".vk9", ".VK9"...) o, si no hay ninguna, ".vk9".
QString RutaArchivoProyecto(const QString& archivoProyecto);

// Lee ArchivoProyecto + ".vk9" al proyecto del módulo con las reglas derivadas.
AvisoLectura LeerProyecto(ModuloVarek9& modulo);
// Lo mismo desde una ruta exacta; un archivo ausente da el proyecto vacío. Deja
// en EstadoLectura si el archivo se leyó con avisos o no es un proyecto.
AvisoLectura LeerProyectoDesde(ModuloVarek9& modulo, const QString& ruta);
// Lo mismo desde el contenido de un archivo; nombre va en los mensajes. Sin una
// línea "[Proyecto]" no cambia nada del proyecto.
AvisoLectura LeerProyectoDatos(ModuloVarek9& modulo, QByteArrayView datos, const QString& nombre);

// Verdadero si ArchivoProyecto es un archivo que se leyó y no es un proyecto:
// "Guardar" pide otro nombre en vez de reemplazarlo.
bool ArchivoNoEsProyecto(const ModuloVarek9& modulo);
// Mensaje de "GUARDAR PROYECTO" cuando un guardado dejó la copia ".bak".
QString TextoRespaldo(const QString& respaldo);

// Contenido exacto del archivo del proyecto (Windows-1252, CR LF).
QByteArray TextoProyecto(const Proyecto& proyecto);
// Escribe ArchivoProyecto + ".vk9"; si falla, el archivo anterior queda intacto
// y ProyectoModificado no cambia. La primera vez que se escribe encima del
// archivo leído con avisos, antes lo copia tal como estaba a ruta + ".bak"
// (reemplaza una copia anterior) y lo dice en Respaldo.
GuardadoProyecto GuardarProyecto(ModuloVarek9& modulo);
GuardadoProyecto GuardarProyectoEn(ModuloVarek9& modulo, const QString& ruta);

// Escritura segura: un archivo temporal al lado que reemplaza al destino al final.
ErrorEscritura EscribirArchivoSeguro(const QString& ruta, const QByteArray& contenido);

inline constexpr char NombreUltimoProyecto[] = "varek-9.ult";

// La primera línea del archivo de último proyecto (ANSI, o UTF-8 con su marca);
// vacía si no se lee. Escribirlo pone la línea en la forma que la conserva.
QString LeerUltimoProyecto(const QString& ruta);
ErrorEscritura EscribirUltimoProyecto(const QString& ruta, const QString& linea);
// Recuerda ArchivoProyecto en "varek-9.ult": en una sesión, en la carpeta de
// configuración y con la ruta completa; si no, en el directorio actual y relativo
// a él cuando el proyecto está dentro; en Windows-1252 o, si la ruta no cabe en
// esa página, en UTF-8 con su marca al comienzo (la lectura acepta los dos).
ErrorEscritura GuardarUltimoProyecto(const ModuloVarek9& modulo);
// Decide ArchivoProyecto al arrancar: la ruta dada, o el último proyecto, o "Defecto".
QString CargarUltimoProyecto(ModuloVarek9& modulo, const QString& Ruta);
