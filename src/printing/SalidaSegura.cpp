#include "printing/SalidaSegura.h"

#include "common/ModuloLibzrl.h"
#include "common/Texto.h"
#include "project/ArchivoProyecto.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Lo que el proyecto escribe a su lado: la copia previa al guardar
// (ArchivoProyecto.cpp), la de recuperación y el bloqueo (SesionProyecto.cpp).
struct Companero {
    QLatin1StringView Extension;
    const char* Que;
};
const Companero Companeros[] = {
    {QLatin1StringView(".bak"), "es la copia de respaldo de un proyecto"},
    {QLatin1StringView(".recuperar"), "es la copia de recuperación de un proyecto"},
    {QLatin1StringView(".lock"), "es el bloqueo de un proyecto abierto"},
};

// El nombre que el sistema abre de verdad.
QString NombreEfectivo(QString ruta) {
#ifdef _WIN32
    // Windows ignora los puntos y blancos finales, y tras ":" nombra un flujo del
    // mismo archivo ("X.vk9:a" escribe dentro de "X.vk9").
    const qsizetype barra = std::max(ruta.lastIndexOf(u'/'), ruta.lastIndexOf(u'\\'));
    const qsizetype dosPuntos = ruta.indexOf(u':', std::max<qsizetype>(barra + 1, 2));
    if (dosPuntos >= 0) ruta.truncate(dosPuntos);
    while (ruta.endsWith(u'.') || ruta.endsWith(u' '))
        ruta.chop(1);
#endif
    return ruta;
}

bool EsNombreProyecto(const QString& ruta) {
    return QFileInfo(ruta).suffix().compare(QLatin1StringView("vk9"), Qt::CaseInsensitive) == 0;
}

// Por qué ruta no admite una salida; vacío si la admite.
QString Prohibido(const QString& ruta, const QString& proyectoAbierto) {
    if (MismoArchivo(ruta, proyectoAbierto)) return QStringLiteral("es el proyecto abierto");
    const QString efectiva = NombreEfectivo(ruta);
    if (EsNombreProyecto(efectiva)) return QStringLiteral("es un proyecto");
    for (const Companero& c : Companeros) {
        if (!efectiva.endsWith(c.Extension, Qt::CaseInsensitive)) continue;
        const QString base = efectiva.chopped(c.Extension.size());
        if (EsNombreProyecto(base) || QFileInfo::exists(RutaArchivoProyecto(base)))
            return QString::fromUtf8(c.Que);
    }
    return QString();
}

// PRN y LPTn van a la impresora; en Windows los nombres reservados de DOS y en
// los demás sistemas un dispositivo existente (/dev/lp0, /dev/null...) tampoco
// son archivos que se reemplacen.
bool EsDispositivo(const QString& puerto) {
    const QString m = puerto.toUpper();
    if (m == u"PRN" || (m.size() == 4 && m.startsWith(u"LPT") && m[3] >= u'1' && m[3] <= u'4'))
        return true;
#ifdef _WIN32
    static const QRegularExpression reservado(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return reservado.match(NombreEfectivo(QFileInfo(puerto).fileName())).hasMatch();
#else
    const QFileInfo info(puerto);
    return info.exists() && !info.isFile() && !info.isDir();
#endif
}

bool ExtensionAdmitida(const QString& ruta, ClaseSalida clase) {
    const QString extension = QFileInfo(ruta).suffix().toLower();
    if (clase == ClaseSalida::Pdf) return extension == u"pdf";
    if (clase == ClaseSalida::Diagrama)
        return extension == u"pdf" || extension == u"svg" || extension == u"png";
    return true;
}

} // namespace

DecisionSalida DecidirSalida(const QString& nombre, ClaseSalida clase,
                             const QString& proyectoAbierto) {
    DecisionSalida d;
    const bool talCual = clase == ClaseSalida::Puerto || clase == ClaseSalida::Archivo;
    const auto poner = [&](const QString& archivo) {
        d.Archivo = archivo;
        d.Mostrado = talCual ? archivo : QFileInfo(archivo).fileName();
    };
    poner(clase == ClaseSalida::Puerto ? Recortar(nombre) : nombre);
    if (d.Archivo.isEmpty()) return d;
    if (clase == ClaseSalida::Puerto && EsDispositivo(d.Archivo)) {
        d.Dispositivo = true;
        return d;
    }
    // Se aparta a propósito: escribir el reporte sobre un proyecto lo pierde entero.
    const auto rechazar = [&] {
        const QFileInfo info(d.Archivo);
        QString por = Prohibido(d.Archivo, proyectoAbierto);
        // Un enlace con otro nombre que lleva a un proyecto también lo pierde.
        if (por.isEmpty() && info.isSymLink()) {
            const QString destino = info.canonicalFilePath();
            por = Prohibido(destino.isEmpty() ? info.symLinkTarget() : destino, proyectoAbierto);
        }
        if (por.isEmpty()) return false;
        d.Rechazo = QStringLiteral(
                        "El archivo [%1] %2: no se puede escribir sobre él. Elija otro nombre...")
                        .arg(d.Mostrado, por);
        return true;
    };
    if (rechazar()) return d;
    if (!ExtensionAdmitida(d.Archivo, clase)) {
        poner(d.Archivo + QStringLiteral(".pdf"));
        if (rechazar()) return d;
    }
    d.Reemplaza = QFileInfo(d.Archivo).isFile();
    return d;
}

QString TextoReemplazo(const QString& mostrado) {
    return QStringLiteral("El archivo [%1] ya existe. ¿Desea reemplazarlo?").arg(mostrado);
}
