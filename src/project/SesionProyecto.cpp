#include "project/SesionProyecto.h"

#include "common/Texto.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#endif

namespace {

constexpr qint64 HorasBloqueoViejo = 12;

QString ClaveBloqueo(const QByteArray& linea, const char* clave) {
    const QByteArray prefijo = QByteArray(clave) + '=';
    return linea.startsWith(prefijo) ? QString::fromUtf8(linea.mid(prefijo.size())).trimmed()
                                     : QString();
}

} // namespace

QString RutaRecuperacion(const QString& archivoProyecto) {
    return RutaArchivoProyecto(archivoProyecto) + QStringLiteral(".recuperar");
}

ErrorEscritura EscribirRecuperacion(const ModuloVarek9& modulo) {
    return EscribirArchivoSeguro(RutaRecuperacion(modulo.ArchivoProyecto),
                                 TextoProyecto(modulo.Proyecto));
}

void BorrarRecuperacion(const QString& archivoProyecto) {
    QFile::remove(RutaRecuperacion(archivoProyecto));
}

bool HayRecuperacionReciente(const QString& archivoProyecto) {
    const QFileInfo copia(RutaRecuperacion(archivoProyecto));
    if (!copia.exists()) return false;
    const QFileInfo proyecto(RutaArchivoProyecto(archivoProyecto));
    return !proyecto.exists() || copia.lastModified() > proyecto.lastModified();
}

AvisoLectura CargarRecuperacion(ModuloVarek9& modulo) {
    const AvisoLectura aviso = LeerProyectoDesde(modulo, RutaRecuperacion(modulo.ArchivoProyecto));
    modulo.ProyectoModificado = true;
    return aviso;
}

QString RutaBloqueo(const QString& archivoProyecto) {
    return RutaArchivoProyecto(archivoProyecto) + QStringLiteral(".lock");
}

std::optional<DuenoBloqueo> LeerBloqueo(const QString& archivoProyecto) {
    QFile archivo(RutaBloqueo(archivoProyecto));
    if (!archivo.open(QIODevice::ReadOnly)) return std::nullopt;
    DuenoBloqueo d;
    const QList<QByteArray> lineas = archivo.read(4096).split('\n');
    for (const QByteArray& bruta : lineas) {
        const QByteArray linea = bruta.trimmed();
        if (QString v = ClaveBloqueo(linea, "Usuario"); !v.isEmpty()) d.Usuario = v;
        if (QString v = ClaveBloqueo(linea, "Maquina"); !v.isEmpty()) d.Maquina = v;
        if (QString v = ClaveBloqueo(linea, "Proceso"); !v.isEmpty()) d.Proceso = v.toLongLong();
        if (QString v = ClaveBloqueo(linea, "Fecha"); !v.isEmpty())
            d.Fecha = QDateTime::fromString(v, Qt::ISODate);
    }
    // Un bloqueo ilegible o a medio escribir no detiene a nadie.
    if (d.Maquina.isEmpty() || d.Proceso <= 0 || !d.Fecha.isValid()) return std::nullopt;
    return d;
}

DuenoBloqueo EstaSesion(const QDateTime& ahora) {
    DuenoBloqueo d;
    d.Usuario = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    if (d.Usuario.isEmpty()) d.Usuario = QStringLiteral("(desconocido)");
    d.Maquina = QSysInfo::machineHostName();
    if (d.Maquina.isEmpty()) d.Maquina = QStringLiteral("(esta máquina)");
    d.Proceso = QCoreApplication::applicationPid();
    d.Fecha = ahora;
    return d;
}

bool BloqueoAjenoVivo(const DuenoBloqueo& dueno, const DuenoBloqueo& esta,
                      const std::function<bool(qint64)>& procesoVivo) {
    // Un bloqueo de más de 12 horas quedó de una sesión que no terminó bien.
    if (dueno.Fecha.secsTo(esta.Fecha) > HorasBloqueoViejo * 3600) return false;
    if (dueno.Maquina.compare(esta.Maquina, Qt::CaseInsensitive) != 0) return true;
    if (dueno.Proceso == esta.Proceso) return false;
    return procesoVivo(dueno.Proceso);
}

std::optional<DuenoBloqueo> BloqueoAjeno(const QString& archivoProyecto, const QDateTime& ahora) {
    const std::optional<DuenoBloqueo> dueno = LeerBloqueo(archivoProyecto);
    if (!dueno || !BloqueoAjenoVivo(*dueno, EstaSesion(ahora), ProcesoVivo)) return std::nullopt;
    return dueno;
}

bool TomarBloqueo(const QString& archivoProyecto, const QDateTime& ahora) {
    const DuenoBloqueo d = EstaSesion(ahora);
    const QString texto =
        QStringLiteral("Usuario=%1\r\nMaquina=%2\r\nProceso=%3\r\nFecha=%4\r\n")
            .arg(d.Usuario, d.Maquina, QString::number(d.Proceso), d.Fecha.toString(Qt::ISODate));
    return EscribirArchivoSeguro(RutaBloqueo(archivoProyecto), texto.toUtf8()).Ok;
}

void SoltarBloqueo(const QString& archivoProyecto) {
    const std::optional<DuenoBloqueo> dueno = LeerBloqueo(archivoProyecto);
    if (!dueno) return;
    const DuenoBloqueo esta = EstaSesion(QDateTime::currentDateTime());
    if (dueno->Proceso == esta.Proceso &&
        dueno->Maquina.compare(esta.Maquina, Qt::CaseInsensitive) == 0)
        QFile::remove(RutaBloqueo(archivoProyecto));
}

QString TextoBloqueoAjeno(const QString& archivoProyecto, const DuenoBloqueo& dueno) {
    return QStringLiteral("El proyecto [%1] está abierto por %2 en %3 desde %4.")
        .arg(archivoProyecto, dueno.Usuario, dueno.Maquina,
             dueno.Fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
}

bool ProcesoVivo(qint64 proceso) {
    if (proceso <= 0) return false;
#ifdef _WIN32
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(proceso));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD codigo = 0;
    const bool vivo = GetExitCodeProcess(h, &codigo) && codigo == STILL_ACTIVE;
    CloseHandle(h);
    return vivo;
#else
    // Sin permiso para enviarle señales, el proceso igual existe.
    return ::kill(static_cast<pid_t>(proceso), 0) == 0 || errno == EPERM;
#endif
}
