// Protocolo de los programas complementarios: códigos, nombres de intercambio,
// línea de comandos, archivo de resultado, archivos de líneas y archivo de la
// unidad. Lo usan el lanzador, la tabla de unidades y los propios programas.
#pragma once

#include "project/ArchivoProyecto.h"
#include "project/ModuloVarek9.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

struct ProgramaComplementario {
    QStringView Codigo;          // "10" a "13"
    QStringView Nombre;          // ejecutable sin extensión: "Clima"
    QChar Letra;                 // del nombre de intercambio: 'C'
    QStringView ExtensionLineas; // archivo de líneas: ".cli"
};

// El programa de un código de la tabla; nulo si el código no está.
const ProgramaComplementario* BuscarPrograma(QStringView codigo);

// "Clima" ("Clima.exe" en Windows).
QString NombreEjecutable(const ProgramaComplementario& programa);
QString NombreEjecutable(QStringView nombre);
// Ruta del ejecutable en la primera carpeta que lo tenga; vacía si no está en ninguna.
QString BuscarEjecutable(const QString& nombre, const QStringList& carpetas);
// Dónde se buscan los programas, en orden: junto al programa en curso, en
// "../libexec/varek9" desde su carpeta (la instalación) y en la carpeta actual.
QStringList CarpetasProgramas(const QString& carpetaPrograma, const QString& actual);
// Las de este proceso.
QStringList CarpetasProgramas();

// El programa del botón de especificaciones, sin extensión.
inline constexpr QStringView ProgramaEspecificaciones = u"Especificaciones y Normas";

// Letra y número sin blancos: "C1".
QString NombreIntercambio(QChar letra, int numero);
// X + ".RES".
QString ArchivoResultado(const QString& intercambio);
// El único argumento del programa: Referencia + "," + X + ",SinPresentacion" y,
// en modo selección, ",Seleccionar".
QString ArgumentoPrograma(const QString& referencia, const QString& intercambio, bool seleccionar);

// Lee el contenido de un archivo de resultado según el código: "10" línea 1 a
// Referencia, 4 a TextoClima2 y 7 a TextoClima3; "11" y "12" línea 1 y un
// número; "13" nada. Lo que el archivo no alcanza a dar conserva su valor.
// Marca HayResultado para los códigos 10 a 12.
void LeerResultadoPrograma(QStringView codigo, QByteArrayView datos, ResultadoPrograma& resultado);
// Lo mismo desde el archivo; false (sin tocar nada) si no existe o no se lee.
bool LeerArchivoResultado(QStringView codigo, const QString& ruta, ResultadoPrograma& resultado);

// Archivos de líneas: una línea por línea guardada, en ANSI con CR LF.
QStringList LineasDeTexto(QByteArrayView datos);
QByteArray TextoDeLineas(const QStringList& lineas);
// Borra el archivo si existe y, si hay líneas, las escribe.
ErrorEscritura EntregarLineas(const QString& ruta, const QStringList& lineas);
struct LecturaLineas {
    bool Ok = true;
    QStringList Lineas;
    ErrorEscritura Error; // lo que impidió leer o borrar
    bool Leido = false;   // se leyó; si Ok es false, lo que falló fue el borrado
};
// Lee las líneas del archivo y lo borra; si no existe, ninguna línea. Si no se
// puede leer o borrar, Ok es false y no se entrega ninguna línea.
LecturaLineas RecibirLineas(const QString& ruta);

// Referencia y archivo de la unidad que la tabla de unidades entrega a un programa.
inline const QString ReferenciaUnidades = QStringLiteral("varek-9");
inline const QString NombreArchivoUnidad = QStringLiteral("varek-9.abs");
struct UnidadIntercambio {
    int Fila = 0;
    QString CodigoTramo;
    double AbscisaInicial = 0;
    double AbscisaFinal = 0;
};
// Cuatro líneas: fila, código del tramo, abscisa inicial y final en la forma
// numérica general.
QByteArray TextoArchivoUnidad(const UnidadIntercambio& unidad);
ErrorEscritura EscribirArchivoUnidad(const QString& ruta, const UnidadIntercambio& unidad);
UnidadIntercambio LeerUnidadIntercambio(QByteArrayView datos);

// Borra el archivo si existe; un archivo ausente no es error.
ErrorEscritura BorrarSiExiste(const QString& ruta);
