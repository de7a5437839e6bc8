#include "app/Arranque.h"

#include "common/CarpetasSesion.h"
#include "common/ModuloLibzrl.h"
#include "printing/ConfiguracionImpresion.h"
#include "project/ArchivoProyecto.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// La misma carpeta aunque se nombre con un enlace o con barras de más.
QString Normal(const QString& ruta) {
    const QString canonica = QFileInfo(ruta).canonicalFilePath();
    return canonica.isEmpty() ? QDir::cleanPath(QDir::fromNativeSeparators(ruta)) : canonica;
}

} // namespace

QString CarpetaDeTrabajo(const QString& actual, const QString& personal,
                         const QString& documentos) {
    if (actual.isEmpty() || personal.isEmpty() || Normal(actual) != Normal(personal)) return {};
    // Desde el menú del escritorio: sus archivos de trabajo no quedan sueltos en la
    // carpeta personal.
    const QString base = documentos.isEmpty() ? personal : documentos;
    return QDir::cleanPath(base + QStringLiteral("/Varek-9"));
}

QString CarpetaDocumentosUsuario() {
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir::cleanPath((documentos.isEmpty() ? QDir::homePath() : documentos) +
                           QStringLiteral("/Varek-9"));
}

QString BuscarDocumentoReferencia(const QString& nombre, const QString& elegido) {
    if (QFileInfo(nombre).isFile()) return QDir::current().absoluteFilePath(nombre);
    const QString instalado = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                     QStringLiteral("varek9/documentos/") + nombre);
    if (!instalado.isEmpty()) return instalado;
    const QString junto = QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral("documentos/") + nombre);
    if (QFileInfo(junto).isFile()) return junto;
    return !elegido.isEmpty() && QFileInfo(elegido).isFile() ? elegido : QString();
}

QString BuscarManualUsuario() {
    const QDir programa(QCoreApplication::applicationDirPath());
    for (const QString& ruta :
         {programa.filePath(NombreManualUsuario),
          programa.filePath(QStringLiteral("../share/doc/varek9/") + NombreManualUsuario)}) {
        if (QFileInfo(ruta).isFile()) return QDir::cleanPath(ruta);
    }
    return {};
}

bool ProyectoSinEscritura(const QString& archivo) {
    const QFileInfo info(archivo);
    if (!info.exists()) return false;
    // Los bits del archivo, no solo access(): quien administra tampoco escribe sobre
    // un archivo marcado de solo lectura (WriteUser sale de access()).
    constexpr QFile::Permissions escritura =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!info.isWritable() || !(info.permissions() & escritura)) return true;
    // La escritura segura crea su temporal en la misma carpeta.
    if (!QFileInfo(info.absolutePath()).isWritable()) return true;
    const QString datos = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                          QStringLiteral("/../share/varek9"));
    return info.absoluteFilePath().startsWith(datos + u'/');
}

bool EntrarEnCarpetaDeTrabajo(QStringList& argumentos) {
    const QDir anterior = QDir::current();
    const QString carpeta =
        CarpetaDeTrabajo(anterior.path(), QDir::homePath(),
                         QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (carpeta.isEmpty() || !QDir().mkpath(carpeta)) return false;
    for (qsizetype i = 1; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        if (QDir::isRelativePath(a) &&
            (anterior.exists(a) || anterior.exists(a + QStringLiteral(".vk9"))))
            argumentos[i] = anterior.absoluteFilePath(a);
    }
    return QDir::setCurrent(carpeta);
}

QStringList TomarConfiguracionAnterior(const QString& carpeta) {
    QStringList tomados;
    if (CarpetaConfiguracion().isEmpty()) return tomados;
    const QDir origen(carpeta);
    const QString ultimo = QString::fromLatin1(NombreUltimoProyecto);
    for (const QString& nombre :
         {ArchivoConfiguracionImpresion, QStringLiteral("Ultimo.inf"), ultimo}) {
        const QString desde = origen.filePath(nombre);
        const QString hacia = RutaConfiguracion(nombre);
        if (!QFileInfo(desde).isFile() || QFileInfo::exists(hacia) || MismoArchivo(desde, hacia))
            continue;
        bool ok = false;
        if (nombre == ultimo) {
            // La ruta relativa lo era a la carpeta de donde se toma.
            const QString linea = LeerUltimoProyecto(desde);
            ok = !linea.isEmpty() &&
                 EscribirUltimoProyecto(
                     hacia, QDir::isRelativePath(linea) ? origen.absoluteFilePath(linea) : linea)
                     .Ok;
        } else {
            ok = QFile::copy(desde, hacia);
        }
        if (ok) tomados.append(nombre);
    }
    return tomados;
}
