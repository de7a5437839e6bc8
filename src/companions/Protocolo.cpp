#include "companions/Protocolo.h"

#include "common/EntradaDatos.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <limits>
#include <utility>

ArgumentosCompanero LeerArgumentosCompanero(const QStringList& argumentosPrograma) {
    ArgumentosCompanero a;
    const QString linea = LineaComando(argumentosPrograma);
    if (Recortar(linea).isEmpty()) return a;
    const QStringList partes = ArgumentosLinea(linea);
    a.Referencia = Recortar(partes.value(0));
    a.Intercambio = partes.value(1);
    for (qsizetype i = 2; i < partes.size(); ++i) {
        if (partes[i].compare(u"SinPresentacion", Qt::CaseInsensitive) == 0)
            a.SinPresentacion = true;
        else if (partes[i].compare(u"Seleccionar", Qt::CaseInsensitive) == 0)
            a.Seleccionar = true;
    }
    return a;
}

QString LineaDato(const QString& clave, double valor) {
    return clave + u'=' + Recortar(FormatoGeneral(valor));
}

QString LineaDato(const QString& clave, const QString& texto) {
    return clave + u'=' + texto;
}

QMap<QString, QString> LeerLineasDatos(const QStringList& lineas) {
    QMap<QString, QString> datos;
    for (const QString& linea : lineas) {
        const qsizetype igual = linea.indexOf(u'=');
        if (igual <= 0) continue;
        datos.insert(linea.left(igual).trimmed(), linea.mid(igual + 1).trimmed());
    }
    return datos;
}

double LeerDato(const QString& texto) {
    return LeerDatoEscrito(texto, SeparadorDecimal::Punto);
}

double LeerDatoEscrito(const QString& texto, SeparadorDecimal convencion) {
    QString t = texto.trimmed();
    constexpr double nada = std::numeric_limits<double>::quiet_NaN();
    if (t.isEmpty()) return nada;
    // Coma o punto decimal ("3,5", "1.234,5"); la forma ambigua ("1.500") con la
    // convención. Un texto que no se lee entero no es un dato.
    const NumeroEscrito n = LeerNumeroEscrito(t, convencion);
    return n.EsNumero && !n.Descartado ? n.Valor : nada;
}

void TomarDato(const QMap<QString, QString>& datos, const QString& clave, double& destino) {
    const double v = LeerDato(datos.value(clave));
    if (std::isfinite(v)) destino = v;
}

QString TextoDato(double valor, SeparadorDecimal separador) {
    return std::isfinite(valor) ? TextoExacto(valor, separador) : QString();
}

SesionCompanero::SesionCompanero(ArgumentosCompanero argumentos, QString extensionLineas,
                                 SeparadorDecimal separador)
    : argumentos_(std::move(argumentos)), extension_(std::move(extensionLineas)),
      separador_(separador), bloqueo_(argumentos_.Intercambio) {}

bool SesionCompanero::Iniciar() {
    if (!argumentos_.Intercambio.isEmpty() && !bloqueo_.BloquearReintentando()) return false;
    if (argumentos_.Seleccionar) {
        QFile unidad(NombreArchivoUnidad);
        if (unidad.open(QIODevice::ReadOnly)) unidad_ = LeerUnidadIntercambio(unidad.readAll());
        QFile lineas(ArchivoLineas());
        if (!ArchivoLineas().isEmpty() && lineas.open(QIODevice::ReadOnly))
            lineasPrevias_ = LineasDeTexto(lineas.readAll());
    }
    return true;
}

QString SesionCompanero::ErrorInicio() const {
    return QStringLiteral("No fue posible tomar el archivo de intercambio [%1]; otro programa lo "
                          "está usando...")
        .arg(argumentos_.Intercambio);
}

void SesionCompanero::Terminar() {
    bloqueo_.Liberar();
}

QString SesionCompanero::ArchivoLineas() const {
    return argumentos_.Referencia.isEmpty() ? QString() : argumentos_.Referencia + extension_;
}

ErrorEscritura SesionCompanero::Entregar(const QStringList& lineasEntrada,
                                         const QStringList& lineasResultado) {
    // Primero las líneas: quien espera lee el resultado apenas se suelta X, y
    // con él busca el archivo de líneas.
    if (!ArchivoLineas().isEmpty()) {
        const ErrorEscritura e =
            EscribirArchivoSeguro(ArchivoLineas(), TextoDeLineas(lineasEntrada));
        if (!e.Ok) return e;
    }
    if (argumentos_.Intercambio.isEmpty()) return {};
    QStringList resultado{argumentos_.Referencia};
    resultado += lineasResultado;
    return EscribirArchivoSeguro(ArchivoResultado(argumentos_.Intercambio),
                                 TextoDeLineas(resultado));
}
