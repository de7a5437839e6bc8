#include "common/CarpetasSesion.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QString& Configuracion() {
    static QString carpeta;
    return carpeta;
}

QString& Trabajo() {
    static QString carpeta;
    return carpeta;
}

QString Dentro(const QString& carpeta, const QString& nombre) {
    return carpeta.isEmpty() ? nombre : QDir(carpeta).filePath(nombre);
}

} // namespace

QString RutaConfiguracion(const QString& nombre) {
    return Dentro(Configuracion(), nombre);
}

QString RutaTrabajo(const QString& nombre) {
    return Dentro(Trabajo(), nombre);
}

QString CarpetaConfiguracion() {
    return Configuracion();
}

QString CarpetaArchivosTrabajo() {
    return Trabajo();
}

CarpetasSesion::CarpetasSesion(const QString& configuracion, const QString& base)
    : configuracionAnterior_(Configuracion()), trabajoAnterior_(Trabajo()) {
    QString config = configuracion.isEmpty()
                         ? QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                         : configuracion;
    QString raiz = base;
    if (raiz.isEmpty()) raiz = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (raiz.isEmpty() || !QDir().mkpath(raiz)) raiz = QDir::tempPath();
    trabajo_ =
        std::make_unique<QTemporaryDir>(QDir(raiz).filePath(QStringLiteral("varek9-XXXXXX")));
    ok_ = !config.isEmpty() && QDir().mkpath(config) && trabajo_->isValid();
    if (!ok_) return;
    Configuracion() = QDir(config).absolutePath();
    Trabajo() = trabajo_->path();
}

CarpetasSesion::~CarpetasSesion() {
    Configuracion() = configuracionAnterior_;
    Trabajo() = trabajoAnterior_;
}
