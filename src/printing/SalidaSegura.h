// Antes de escribir un reporte, un PDF o un dibujo donde dice el usuario: qué
// nombre resulta, si ese nombre es un proyecto o un archivo que lo acompaña (y
// entonces no se escribe) y si ya existe otro archivo que se reemplazaría.
#pragma once

#include <QString>

// Qué se escribe con el nombre dado.
enum class ClaseSalida {
    Pdf,      // un reporte en PDF: sin ".pdf" se le agrega
    Puerto,   // el puerto de texto: PRN, LPTn y los dispositivos no son archivos
    Diagrama, // el diagrama lineal: sin ".pdf", ".svg" ni ".png" se le agrega ".pdf"
    Archivo,  // un archivo tal como se nombra (las órdenes de varek9-cli)
};

struct DecisionSalida {
    QString Archivo;          // lo que se escribe
    QString Mostrado;         // el nombre como lo ve el usuario en el campo del diálogo
    QString Rechazo;          // por qué no se escribe ahí; vacío si se puede
    bool Dispositivo = false; // un puerto o dispositivo: no se pregunta nada
    bool Reemplaza = false;   // ya hay un archivo con ese nombre: preguntar antes
};

// Decide sobre el nombre que dio el usuario. Se rechaza un proyecto (".vk9" en
// cualquier mayúscula, o el proyecto abierto por otro nombre) y su copia de
// respaldo, de recuperación o su bloqueo ("X.vk9.bak", "X.vk9.recuperar",
// "X.vk9.lock", o "X.bak"... junto a un "X.vk9"). proyectoAbierto: la ruta del
// archivo del proyecto abierto, si lo hay.
DecisionSalida DecidirSalida(const QString& nombre, ClaseSalida clase,
                             const QString& proyectoAbierto = QString());

// "El archivo [x] ya existe. ¿Desea reemplazarlo?"
QString TextoReemplazo(const QString& mostrado);
