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

// Pausa que atiende los eventos pendientes mientras dura (sin aplicación Qt,
// duerme): la ventana que espera sigue respondiendo.
void PausaAtendiendo(qint64 milisegundos);

// Milisegundos de una pausa entre minimo y maximo segundos para un azar en
// [0, 1): varias estaciones no revisan al mismo ritmo. 0 si no es un número
// positivo; nunca más de un día.
int MilisegundosAlAzar(double azar, double minimo, double maximo);
