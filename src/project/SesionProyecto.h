// Lo que acompaña a un proyecto abierto en la ventana: la copia de recuperación
// que se escribe mientras hay cambios sin guardar y el archivo de bloqueo que
// avisa a otra sesión de Varek-9 que el proyecto ya está abierto.
#pragma once

#include "project/ArchivoProyecto.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// ---- Recuperación ----

// Una copia de recuperación hallada en disco y el proyecto del que es.
struct CopiaRecuperacion {
    QString Ruta;               // el archivo de la copia
    QString Proyecto;           // ArchivoProyecto del proyecto (sin extensión)
    QDateTime Fecha;            // cuándo se escribió
    QDateTime FechaProyecto;    // la del archivo del proyecto; inválida si no existe
    bool DeSoloLectura = false; // de la carpeta de datos: la dejó una sesión de solo lectura
    // El proyecto se guardó después de la copia.
    bool Antigua() const { return FechaProyecto.isValid() && Fecha <= FechaProyecto; }
};

// "Sin Nombre n": un proyecto nuevo que todavía no tiene archivo elegido.
bool EsSinNombre(const QString& archivoProyecto);
// Los dos nombres son el mismo proyecto.
bool MismoProyecto(const QString& a, const QString& b);

// "PROYECTO.vk9.recuperar" junto al archivo del proyecto.
QString RutaRecuperacion(const QString& archivoProyecto);
// Donde escribe su copia una sesión que no puede escribir junto al proyecto: la
// carpeta de datos del usuario, con un nombre propio de la ruta completa.
QString CarpetaRecuperacionDatos();
QString RutaRecuperacionDatos(const QString& archivoProyecto);
// Escribe el proyecto en memoria a la copia (mismo formato) con la fecha dada; la
// que no está junto al proyecto empieza con una línea que lo nombra. No cambia
// ProyectoModificado.
ErrorEscritura EscribirRecuperacion(const ModuloVarek9& modulo, const QString& copia,
                                    const QDateTime& fecha);
// Las copias del proyecto (la de junto a él y la de la carpeta de datos) y las
// demás que se ofrecen al arrancar: las de proyectos "Sin Nombre n" de la carpeta
// actual y las de otros proyectos en la carpeta de datos.
QList<CopiaRecuperacion> CopiasDelProyecto(const QString& archivoProyecto);
QList<CopiaRecuperacion> OtrasCopias(const QString& archivoProyecto);
// Carga la copia en el proyecto y lo deja modificado (si era un proyecto).
AvisoLectura CargarRecuperacion(ModuloVarek9& modulo, const QString& copia);
// "Se encontró una copia de recuperación del proyecto [X], del ... ¿Desea recuperarla?"
QString TextoCopiaRecuperacion(const CopiaRecuperacion& copia);
// La pregunta de borrar una copia antigua que no se recuperó.
QString TextoBorrarCopia(const CopiaRecuperacion& copia);
// Las copias que quedan sin ofrecer porque ya se recuperó otra.
QString TextoCopiasPendientes(const QList<CopiaRecuperacion>& copias);

// ---- Bloqueo: un proyecto, una sesión que lo escribe ----

struct DuenoBloqueo {
    QString Usuario;
    QString Maquina;
    qint64 Proceso = 0;
    QDateTime Fecha;
};

// "PROYECTO.vk9.lock" junto al archivo del proyecto.
QString RutaBloqueo(const QString& archivoProyecto);
// El dueño escrito en el bloqueo; nada si no hay bloqueo o no se entiende.
std::optional<DuenoBloqueo> LeerBloqueo(const QString& archivoProyecto);
// Esta sesión: usuario, máquina y proceso actuales, con la fecha dada.
DuenoBloqueo EstaSesion(const QDateTime& ahora);
// Un bloqueo ajeno y vivo: de otro proceso que sigue corriendo en esta máquina,
// o de otra máquina y con menos de 12 horas. El de este mismo proceso no cuenta.
bool BloqueoAjenoVivo(const DuenoBloqueo& dueno, const DuenoBloqueo& esta,
                      const std::function<bool(qint64)>& procesoVivo);
// El bloqueo ajeno y vivo del proyecto, si lo hay.
std::optional<DuenoBloqueo> BloqueoAjeno(const QString& archivoProyecto, const QDateTime& ahora);
// Escribe el bloqueo de esta sesión (reemplaza uno viejo); false si no se pudo.
bool TomarBloqueo(const QString& archivoProyecto, const QDateTime& ahora);
// Borra el bloqueo solo si es de este proceso.
void SoltarBloqueo(const QString& archivoProyecto);
// Texto del aviso "El proyecto [X] está abierto por USUARIO en MAQUINA desde FECHA."
QString TextoBloqueoAjeno(const QString& archivoProyecto, const DuenoBloqueo& dueno);
// El proceso sigue corriendo en esta máquina.
bool ProcesoVivo(qint64 proceso);
