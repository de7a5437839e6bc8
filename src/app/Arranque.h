// La carpeta de trabajo al arrancar: el programa trabaja en la carpeta actual,
// salvo cuando lo abren desde el menú del escritorio (la carpeta personal).
#pragma once

#include <QString>
#include <QStringList>

// La carpeta a la que el programa se cambia antes de empezar: la carpeta
// "Varek-9" de los documentos cuando la actual es la personal; vacía si se queda
// donde está.
QString CarpetaDeTrabajo(const QString& actual, const QString& personal, const QString& documentos);

// Aplica la regla a la carpeta actual del proceso (crea la carpeta si falta);
// true si cambió de carpeta. Los argumentos (el primero es el programa) que
// nombran un proyecto con una ruta relativa a la carpeta anterior pasan a ser
// rutas completas.
bool EntrarEnCarpetaDeTrabajo(QStringList& argumentos);

// La primera vez que el programa usa la carpeta de configuración toma (copia,
// no mueve) "Imprime.set", "Ultimo.inf" y "varek-9.ult" de la carpeta dada: una
// instalación anterior los tenía en su carpeta de trabajo. Un último proyecto
// relativo pasa a ruta completa. Devuelve los nombres tomados.
QStringList TomarConfiguracionAnterior(const QString& carpeta);

// La carpeta "Varek-9" de los documentos del usuario (o de la carpeta personal):
// donde se proponen los proyectos que no se pueden guardar donde están.
QString CarpetaDocumentosUsuario();

// Un documento de referencia, buscado en orden en la carpeta actual, en los
// documentos instalados ("varek9/documentos" de las carpetas de datos del
// sistema, o "documentos" junto al programa) y en la ruta que el usuario eligió
// antes; vacía si no está en ninguna.
QString BuscarDocumentoReferencia(const QString& nombre, const QString& elegido);

// El manual del usuario instalado (junto al programa o en la documentación del
// paquete); vacía si no está.
QString BuscarManualUsuario();
inline const QString NombreManualUsuario = QStringLiteral("manual-de-usuario.html");

// Un proyecto que esta sesión no puede escribir: el archivo o su carpeta no
// admiten escritura, o es el ejemplo instalado con el programa.
bool ProyectoSinEscritura(const QString& archivo);
