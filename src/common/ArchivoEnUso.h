// Prueba de archivo compartido en uso y los textos de la espera por él.
#pragma once

#include <QString>

struct PruebaUso {
    bool EnUso = false;
    QString Error; // descripción de lo que impidió usarlo; vacía si está libre
};

// Intenta el candado exclusivo del archivo y lo suelta en el acto; no crea el
// archivo. Un archivo que no existe o que no se puede abrir no está en uso:
// esperar por él no serviría de nada.
PruebaUso ProbarArchivoEnUso(const QString& archivo);
bool ArchivoEnUso(const QString& archivo);

// La parte del nombre tras la última barra ("\" o "/"); sin barras, todo.
QString NombreTabla(const QString& archivo);
// "La tabla [nombre] está siendo utilizada por otro usuario..."
QString TextoTablaOcupada(const QString& archivo);
// " El Archivo [nombre]"
QString TextoArchivoOcupado(const QString& archivo);

// Pausa al azar entre minimo y maximo segundos que atiende los eventos
// pendientes mientras dura, sin ocupar el procesador: la ventana que espera
// sigue respondiendo y varias estaciones no revisan al mismo ritmo.
void EsperaAtendiendo(double minimo, double maximo);
