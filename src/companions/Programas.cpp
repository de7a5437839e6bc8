#include "companions/Programas.h"

#include "common/ErrorSistema.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cmath>

namespace {

constexpr ProgramaComplementario Programas[] = {
    {u"10", u"Clima", u'C', u".cli"},
    {u"11", u"Transito", u'N', u".tto"},
    {u"12", u"Mr", u'M', u".mr"},
    {u"13", u"Drenaje", u'D', u".dre"},
};

} // namespace

const ProgramaComplementario* BuscarPrograma(QStringView codigo) {
    for (const ProgramaComplementario& p : Programas)
        if (p.Codigo == codigo) return &p;
    return nullptr;
}

QString NombreEjecutable(const ProgramaComplementario& programa) {
    return NombreEjecutable(programa.Nombre);
}

QString NombreEjecutable(QStringView nombre) {
#ifdef _WIN32
    return nombre.toString() + QStringLiteral(".exe");
#else
    return nombre.toString();
#endif
}

QStringList CarpetasProgramas(const QString& carpetaPrograma, const QString& actual) {
    return {carpetaPrograma,
            QDir::cleanPath(carpetaPrograma + QStringLiteral("/../libexec/varek9")), actual};
}

QStringList CarpetasProgramas() {
    return CarpetasProgramas(QCoreApplication::applicationDirPath(), QDir::currentPath());
}

QString BuscarEjecutable(const QString& nombre, const QStringList& carpetas) {
    for (const QString& carpeta : carpetas) {
        if (carpeta.isEmpty()) continue;
        const QFileInfo info(QDir(carpeta), nombre);
        if (info.isFile() && info.isExecutable()) return info.absoluteFilePath();
    }
    return {};
}

QString NombreIntercambio(QChar letra, int numero) {
    return QString(letra) + QString::number(numero);
}

QString ArchivoResultado(const QString& intercambio) {
    return intercambio + QStringLiteral(".RES");
}

QString ArgumentoPrograma(const QString& referencia, const QString& intercambio, bool seleccionar) {
    QString argumento = referencia + u',' + intercambio + QStringLiteral(",SinPresentacion");
    if (seleccionar) argumento += QStringLiteral(",Seleccionar");
    return argumento;
}

void LeerResultadoPrograma(QStringView codigo, QByteArrayView datos, ResultadoPrograma& resultado) {
    LectorLineas lector(datos);
    // Cada lectura se salta al llegar al final: un archivo corto deja lo demás igual.
    const auto texto = [&](QString& destino) {
        if (!lector.Fin()) destino = DecodificarAnsi(lector.Siguiente());
    };
    const auto saltar = [&](int lineas) {
        for (int i = 0; i < lineas && !lector.Fin(); ++i)
            lector.Siguiente();
    };
    const auto numero = [&](double& destino) {
        if (!lector.Fin()) destino = ValorTexto(DecodificarAnsi(lector.Siguiente()));
    };
    if (codigo == u"10") {
        texto(resultado.Referencia);
        saltar(2);
        texto(resultado.TextoClima2);
        saltar(2);
        texto(resultado.TextoClima3);
    } else if (codigo == u"11") {
        texto(resultado.Referencia);
        numero(resultado.ValorTransito);
    } else if (codigo == u"12") {
        texto(resultado.Referencia);
        numero(resultado.ValorModulo);
    } else {
        // Del drenaje no se toma nada.
        return;
    }
    resultado.HayResultado = true;
}

bool LeerArchivoResultado(QStringView codigo, const QString& ruta, ResultadoPrograma& resultado) {
    QFile archivo(ruta);
    if (!archivo.exists() || !archivo.open(QIODevice::ReadOnly)) return false;
    const QByteArray datos = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError) return false;
    LeerResultadoPrograma(codigo, datos, resultado);
    return true;
}

QStringList LineasDeTexto(QByteArrayView datos) {
    QStringList lineas;
    LectorLineas lector(datos);
    lineas.reserve(lector.Restantes());
    while (!lector.Fin())
        lineas.append(DecodificarAnsi(lector.Siguiente()));
    return lineas;
}

QByteArray TextoDeLineas(const QStringList& lineas) {
    EscritorAnsi escritor;
    for (const QString& linea : lineas)
        escritor.Linea(linea);
    return escritor.Tomar();
}

ErrorEscritura BorrarSiExiste(const QString& ruta) {
    QFile archivo(ruta);
    if (!QFileInfo(ruta).exists() && !QFileInfo(ruta).isSymLink()) return {};
    errno = 0;
    if (archivo.remove()) return {};
    const ErrorSistema e = UltimoErrorSistema(archivo.errorString());
    return {false, e.Numero, e.Descripcion};
}

ErrorEscritura EntregarLineas(const QString& ruta, const QStringList& lineas) {
    ErrorEscritura e = BorrarSiExiste(ruta);
    if (!e.Ok || lineas.isEmpty()) return e;
    return EscribirArchivoSeguro(ruta, TextoDeLineas(lineas));
}

LecturaLineas RecibirLineas(const QString& ruta) {
    LecturaLineas lectura;
    if (!QFileInfo::exists(ruta)) return lectura;
    QFile archivo(ruta);
    errno = 0;
    QByteArray datos;
    if (archivo.open(QIODevice::ReadOnly)) datos = archivo.readAll();
    if (!archivo.isOpen() || archivo.error() != QFileDevice::NoError) {
        const ErrorSistema e = UltimoErrorSistema(archivo.errorString());
        lectura.Ok = false;
        lectura.Error = {false, e.Numero, e.Descripcion};
        return lectura;
    }
    archivo.close();
    lectura.Leido = true;
    // Un archivo que no se puede borrar volvería a entregarse en la próxima vuelta.
    lectura.Error = BorrarSiExiste(ruta);
    if (!lectura.Error.Ok) {
        lectura.Ok = false;
        return lectura;
    }
    lectura.Lineas = LineasDeTexto(datos);
    return lectura;
}

QByteArray TextoArchivoUnidad(const UnidadIntercambio& unidad) {
    EscritorAnsi escritor;
    escritor.Linea(FormatoGeneral(unidad.Fila));
    escritor.Linea(unidad.CodigoTramo);
    escritor.Linea(FormatoGeneral(unidad.AbscisaInicial));
    escritor.Linea(FormatoGeneral(unidad.AbscisaFinal));
    return escritor.Tomar();
}

ErrorEscritura EscribirArchivoUnidad(const QString& ruta, const UnidadIntercambio& unidad) {
    ErrorEscritura e = BorrarSiExiste(ruta);
    if (!e.Ok) return e;
    return EscribirArchivoSeguro(ruta, TextoArchivoUnidad(unidad));
}

UnidadIntercambio LeerUnidadIntercambio(QByteArrayView datos) {
    UnidadIntercambio unidad;
    LectorLineas lector(datos);
    const auto numero = [&] {
        return lector.Fin() ? 0.0 : ValorTexto(DecodificarAnsi(lector.Siguiente()));
    };
    const double fila = RedondearPar(numero());
    // Una fila imposible no es una fila: 0 dice que no hay unidad.
    unidad.Fila = fila >= 1 && fila <= 1e9 ? static_cast<int>(fila) : 0;
    if (!lector.Fin()) unidad.CodigoTramo = DecodificarAnsi(lector.Siguiente());
    unidad.AbscisaInicial = numero();
    unidad.AbscisaFinal = numero();
    return unidad;
}
