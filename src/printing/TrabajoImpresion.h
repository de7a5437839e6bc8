// Archivos alrededor de la impresión de un reporte: el prepaso con su copia de
// texto, el ".PRO" retenido, la lista de imágenes, la cola del puerto de texto y
// "q.bat".
#pragma once

#include "common/BloqueoArchivo.h"
#include "printing/Paginacion.h"

#include <QList>
#include <QString>

class QDateTime;

// Fecha y hora de "#fecha#": dd/MM/yyyy HH:mm:ss, reloj de 24 horas.
QByteArray TextoFecha(const QDateTime& momento);

struct Prepaso {
    ResumenReporte Resumen;
    QString CopiaTexto; // nombre de la copia de texto
    bool Ok = false;    // el reporte se leyó y la copia se escribió
};

// Lee el reporte, escribe su copia de texto y devuelve los conteos. Si el nombre
// de la copia es el del reporte mismo, o el del reporte existente del que el
// reporte es la copia ("x.text" de "x.txt"), la copia toma el siguiente nombre libre.
Prepaso PrepararReporte(const QString& reporte, int lineasPorPagina);

// El reporte más ".PRO", abierto con candado exclusivo mientras el diálogo de
// impresión está abierto: NombreArchivoReporte no reutiliza ese nombre. Al
// destruirse lo cierra y lo borra.
class ReporteRetenido {
public:
    explicit ReporteRetenido(const QString& reporte);
    ~ReporteRetenido();
    ReporteRetenido(const ReporteRetenido&) = delete;
    ReporteRetenido& operator=(const ReporteRetenido&) = delete;
    bool Retenido() const { return bloqueo_.Bloqueado(); }

private:
    BloqueoArchivo bloqueo_;
};

struct ImagenReporte {
    QString Archivo;
    double X = 0; // twips
    double Y = 0;
};

inline constexpr int MaximoImagenes = 20;

// Lista de imágenes (archivo X Y por línea); false si pasa de 20.
bool LeerListaImagenes(QByteArrayView contenido, QList<ImagenReporte>& imagenes);

// La línea de "q.bat" que copia la cola al puerto, o la entrega a "Imprime.exe"
// cuando existe en la carpeta actual.
QByteArray LineaBatDos(const QString& cola, const QString& puerto);
// El nombre de un archivo en una línea de "q.bat": entre comillas si tiene blancos.
QByteArray NombreEnLote(const QString& ruta);
// Escribe "q.bat" con una sola línea.
bool EscribirBat(const QByteArray& linea);

struct ColaDos {
    bool Ok = false;
    QString Archivo; // vacío si el reporte no existe
    QString Error;
};

// Escribe la cola del puerto de texto de un reporte. Sin salida reserva un nombre
// con NombreArchivoDatos y crea su compañero ".DAT" vacío. Ninguno de los dos es
// el reporte mismo.
ColaDos EscribirColaDos(const QString& reporte, const ResumenReporte& resumen,
                        const ParametrosImpresion& parametros, const QString& salida = QString());
