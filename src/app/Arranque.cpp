#include "app/Arranque.h"

#include <QDir>
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
