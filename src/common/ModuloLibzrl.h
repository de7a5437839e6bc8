// Rutinas generales del programa (sin ventanas): limpieza de lo escrito,
// columnas de ancho fijo, línea de comandos, esperas y nombres de archivos de
// trabajo.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <utility>

// Número de la estación de trabajo; distingue los archivos de trabajo de varias
// estaciones en una misma carpeta. En este sistema siempre vale 0.
inline int NumeroEstacion() {
    return 0;
}

// Deja solo los caracteres del conjunto (tras recortar los blancos). Sin
// conjunto: "0123456789.-". Con "CR": cifras, "-" y el separador decimal del
// idioma del sistema, que se escribe como ".".
QString FiltrarNumero(const QString& texto, const QString& conjunto = QString());
// Igual, con el separador decimal dado en lugar del del sistema.
QString FiltrarNumero(const QString& texto, const QString& conjunto, QChar separadorDecimal);

// Recorta y completa hasta ancho con el carácter de código relleno: detrás si
// alinearIzquierda no es 0, delante si lo es. Un texto más largo no se corta.
QString Justificar(const QString& texto, int ancho, int relleno, int alinearIzquierda);
// Agrega a destino el texto (sin recortar) completado hasta ancho con relleno,
// como Justificar, sin crear textos intermedios. Vista: QStringView o
// QLatin1StringView.
template <class Vista>
void AgregarJustificado(QString& destino, Vista texto, int ancho, QChar relleno,
                        bool alinearIzquierda) {
    const qsizetype faltan = std::max<qsizetype>(ancho - texto.size(), 0);
    if (!alinearIzquierda) destino.resize(destino.size() + faltan, relleno);
    destino.append(texto);
    if (alinearIzquierda) destino.resize(destino.size() + faltan, relleno);
}

// Recorta y quita los caracteres de código 31 o menor (o los cambia por un
// blanco si enBlanco).
QString QuitarControles(const QString& texto, bool enBlanco = false);

template <class T>
void Intercambiar(T& a, T& b) {
    using std::swap;
    swap(a, b);
}

// Espera un tiempo al azar entre minimo y maximo segundos sin atender eventos.
void EsperaAleatoria(double minimo, double maximo = 0);

// Texto de la línea de comandos tras el nombre del programa: los argumentos
// (sin el primero, que es el programa) unidos con blancos.
QString LineaComando(const QStringList& argumentosPrograma);

// Parte la línea de comandos en el separador; al menos cuatro elementos (0..3).
// Los elementos 1 en adelante van recortados; el 0 tal como viene.
QStringList ArgumentosLinea(const QString& lineaComando,
                            const QString& separador = QStringLiteral(","));

// Reserva un nombre de reporte en la carpeta actual (prefijo + "r" + n +
// estación) cuyos ".txt" y ".pro" se pueden escribir; los deja vacíos. Ningún
// nombre de los tres es el archivo evitar (la entrada de quien escribe).
QString NombreArchivoReporte(const QString& prefijo = QString(), const QString& evitar = QString());
// Igual con "t" y los compañeros ".DAT" y ".NDX".
QString NombreArchivoDatos(const QString& prefijo = QString(), const QString& evitar = QString());

// Verdadero si las dos rutas nombran el mismo archivo: el mismo archivo en disco
// (enlaces, mayúsculas donde el sistema no las distingue) o la misma ruta.
bool MismoArchivo(const QString& a, const QString& b);
// El primer nombre que no existe con la numeración de los archivos de trabajo: n
// y la estación antes de la extensión ("x.txt" pasa a "x00.txt", "x10.txt"...).
QString SiguienteNombreLibre(const QString& nombre);
// El nombre para escribir una salida que no debe caer sobre su entrada: el mismo
// si es otro archivo; si no, SiguienteNombreLibre.
QString NombreSalidaLibre(const QString& salida, const QString& entrada);

// Los primeros largo caracteres de la primera entrada que empieza por texto
// (sin distinguir mayúsculas); sin texto o sin coincidencia, de la entrada 0.
QString BuscarEnComboBox(const QStringList& lista, const QString& texto, int largo = 999);

// Índice de la primera entrada que empieza por texto (sin distinguir
// mayúsculas); si no hay, 0 cuando primeroSiNada y la lista no está vacía, si
// no -1.
int SeleccionarEnLista(const QStringList& lista, const QString& texto, bool primeroSiNada);
