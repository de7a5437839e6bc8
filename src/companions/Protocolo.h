// Lado del programa complementario del intercambio con Varek-9: su línea de
// comandos, el archivo X que sostiene mientras corre, la unidad que le entregan
// y los archivos que deja al aceptar.
#pragma once

#include "common/BloqueoArchivo.h"
#include "common/Numeros.h"
#include "companions/Programas.h"
#include "project/ArchivoProyecto.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

struct ArgumentosCompanero {
    QString Referencia;  // base de los archivos de datos; vacía en uso libre
    QString Intercambio; // X; vacío si el programa corre sin argumentos
    bool SinPresentacion = false;
    bool Seleccionar = false;
};

// Desde los argumentos del proceso (el primero es el programa): se unen con
// blancos y se parten en comas, como los pasa el lanzador en uno solo.
ArgumentosCompanero LeerArgumentosCompanero(const QStringList& argumentosPrograma);

// Las entradas de un programa viajan como líneas "Clave=valor".
QString LineaDato(const QString& clave, double valor);
QString LineaDato(const QString& clave, const QString& texto);
// Clave -> valor recortado; las líneas sin "=" se ignoran.
QMap<QString, QString> LeerLineasDatos(const QStringList& lineas);

// Falla de un dato de entrada: el campo (nombre del control) y el mensaje.
struct FallaDato {
    QString Campo;
    QString Mensaje;
    bool Hay() const { return !Mensaje.isEmpty(); }
};

// Un número de los archivos de intercambio: blancos alrededor, signo, decimales y
// exponente, leído con el punto decimal; un texto que no se lee entero, o nada,
// da NaN.
double LeerDato(const QString& texto);
// Lo mismo para lo que el usuario escribe en un campo, con su convención.
double LeerDatoEscrito(const QString& texto, SeparadorDecimal convencion);
// El número de la clave, si la línea existe y se lee; si no, destino queda igual.
void TomarDato(const QMap<QString, QString>& datos, const QString& clave, double& destino);
// El número para mostrarlo en un campo o escribirlo en las líneas: su valor
// exacto (TextoExacto) con el separador decimal dado; NaN da vacío.
QString TextoDato(double valor, SeparadorDecimal separador = SeparadorDecimal::Punto);

class SesionCompanero {
public:
    // separador: la convención con que el usuario escribe y ve los números.
    SesionCompanero(ArgumentosCompanero argumentos, QString extensionLineas,
                    SeparadorDecimal separador = SeparadorDecimal::Punto);

    // Toma X (si hay) con el candado exclusivo y, en modo selección, lee la
    // unidad y las líneas guardadas. false si X lo tiene otro o no se puede crear.
    bool Iniciar();
    QString ErrorInicio() const;
    // Suelta X. También lo hace el destructor.
    void Terminar();

    const ArgumentosCompanero& Argumentos() const { return argumentos_; }
    SeparadorDecimal Separador() const { return separador_; }
    bool SosteniendoIntercambio() const { return bloqueo_.Bloqueado(); }
    const std::optional<UnidadIntercambio>& Unidad() const { return unidad_; }
    const QStringList& LineasPrevias() const { return lineasPrevias_; }
    // Referencia + extensión; vacío sin Referencia.
    QString ArchivoLineas() const;

    // Al aceptar: las entradas al archivo de líneas (si hay Referencia) y el
    // resultado a X.RES (si hay X): línea 1 la Referencia, luego lineasResultado.
    ErrorEscritura Entregar(const QStringList& lineasEntrada, const QStringList& lineasResultado);

private:
    ArgumentosCompanero argumentos_;
    QString extension_;
    SeparadorDecimal separador_;
    BloqueoArchivo bloqueo_;
    std::optional<UnidadIntercambio> unidad_;
    QStringList lineasPrevias_;
};
