// Dónde quedan la configuración y los archivos de trabajo. La interfaz abre una
// sesión: la configuración en la carpeta del usuario y los archivos de trabajo
// (reportes, copias, colas, "q.bat", intercambio con los programas) en una
// carpeta privada que se borra al salir. Sin sesión (la línea de órdenes, las
// pruebas de siempre) ambos son la carpeta actual.
#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

// El nombre dentro de la carpeta de configuración o de trabajo; sin sesión, el
// nombre tal cual (relativo a la carpeta actual).
QString RutaConfiguracion(const QString& nombre);
QString RutaTrabajo(const QString& nombre);
// Vacía sin sesión.
QString CarpetaConfiguracion();
QString CarpetaArchivosTrabajo();

// Mientras vive, RutaConfiguracion y RutaTrabajo apuntan a sus carpetas; al
// terminar borra la de trabajo y deja las de antes.
class CarpetasSesion {
public:
    // Configuración vacía: la del usuario (AppConfigLocation). La de trabajo se
    // crea bajo "base" o, vacía, bajo la carpeta de ejecución o la temporal.
    explicit CarpetasSesion(const QString& configuracion = QString(),
                            const QString& base = QString());
    ~CarpetasSesion();
    CarpetasSesion(const CarpetasSesion&) = delete;
    CarpetasSesion& operator=(const CarpetasSesion&) = delete;

    // false si alguna de las dos no se pudo crear: entonces rige la carpeta actual.
    bool Ok() const { return ok_; }

private:
    std::unique_ptr<QTemporaryDir> trabajo_;
    QString configuracionAnterior_;
    QString trabajoAnterior_;
    bool ok_ = false;
};
