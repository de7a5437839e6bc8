#include "common/TraduccionQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator* CargarTraduccionQt() {
    auto* aplicacion = QCoreApplication::instance();
    if (!aplicacion) return nullptr;
    auto* traduccion = new QTranslator(aplicacion);
    // Siempre el español: el programa habla español aunque el sistema esté en otro idioma.
    if (!traduccion->load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(traduccion)) {
        delete traduccion;
        return nullptr;
    }
    return traduccion;
}
