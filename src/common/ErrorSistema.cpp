#include "common/ErrorSistema.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

QString DescripcionErrorSistema(int numero) {
#ifdef _WIN32
    switch (numero) {
    case ERROR_FILE_NOT_FOUND:
        return QStringLiteral("No se encuentra el archivo");
    case ERROR_PATH_NOT_FOUND:
        return QStringLiteral("No se encuentra la ruta");
    case ERROR_ACCESS_DENIED:
        return QStringLiteral("Acceso denegado");
    case ERROR_SHARING_VIOLATION:
        return QStringLiteral("El archivo está en uso por otro proceso");
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return QStringLiteral("No hay espacio suficiente en el disco");
    case ERROR_WRITE_PROTECT:
        return QStringLiteral("El medio está protegido contra escritura");
    default:
        break;
    }
#else
    switch (numero) {
    case ENOENT:
        return QStringLiteral("No existe el archivo o el directorio");
    case EACCES:
    case EPERM:
        return QStringLiteral("Permiso denegado");
    case ENOSPC:
        return QStringLiteral("No hay espacio suficiente en el disco");
    case EDQUOT:
        return QStringLiteral("Se excedió la cuota de disco");
    case EROFS:
        return QStringLiteral("Sistema de archivos de solo lectura");
    case EISDIR:
        return QStringLiteral("La ruta es un directorio");
    case ENOTDIR:
        return QStringLiteral("Una parte de la ruta no es un directorio");
    case ENAMETOOLONG:
        return QStringLiteral("El nombre del archivo es demasiado largo");
    case EIO:
        return QStringLiteral("Error de entrada o salida");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Demasiados archivos abiertos");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("El archivo está en uso");
    default:
        break;
    }
#endif
    return QStringLiteral("Error del sistema número %1").arg(numero);
}

ErrorSistema UltimoErrorSistema(const QString& alternativa) {
#ifdef _WIN32
    const int numero = static_cast<int>(GetLastError());
#else
    const int numero = errno;
#endif
    if (numero == 0) return {0, alternativa};
    return {numero, DescripcionErrorSistema(numero)};
}
