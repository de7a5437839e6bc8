// Lo que acompaña a un proyecto abierto en la ventana: la copia de recuperación
// que se escribe mientras hay cambios sin guardar y el archivo de bloqueo que
// avisa a otra sesión de Varek-9 que el proyecto ya está abierto.
#pragma once

#include "project/ArchivoProyecto.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// ---- Recuperación ----

// "PROYECTO.vk9.recuperar" junto al archivo del proyecto.
QString RutaRecuperacion(const QString& archivoProyecto);
// Escribe el proyecto en memoria a su copia de recuperación (mismo formato);
// no cambia ProyectoModificado.
ErrorEscritura EscribirRecuperacion(const ModuloVarek9& modulo);
void BorrarRecuperacion(const QString& archivoProyecto);
// Hay una copia de recuperación más reciente que el proyecto (o el proyecto no
// existe todavía).
bool HayRecuperacionReciente(const QString& archivoProyecto);
// Carga la copia de recuperación en el proyecto y lo deja modificado.
AvisoLectura CargarRecuperacion(ModuloVarek9& modulo);

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
