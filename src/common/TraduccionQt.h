// La traducción al español de los textos propios de Qt (diálogos de archivo,
// botones estándar, menús contextuales), la misma en todos los ejecutables.
#pragma once

class QTranslator;

// Carga "qtbase_es.qm" de la carpeta de traducciones de Qt y la instala en la
// aplicación en curso, sea cual sea el idioma del sistema. Devuelve la traducción
// instalada (hija de la aplicación) o nulo si el archivo no está: no es un error.
QTranslator* CargarTraduccionQt();
