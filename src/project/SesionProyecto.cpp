#include "project/SesionProyecto.h"

#include "common/ModuloLibzrl.h"
#include "common/Texto.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUrl>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#endif

namespace {

constexpr qint64 HorasBloqueoViejo = 12;
const QString ExtensionRecuperacion = QStringLiteral(".recuperar");
// Primera línea de una copia de la carpeta de datos: la ruta de su proyecto.
const QByteArray PrefijoOrigen = QByteArrayLiteral("Recuperacion=");

QString RutaCompleta(const QString& archivo) {
    return QDir::cleanPath(QFileInfo(archivo).absoluteFilePath());
}

QString TextoFecha(const QDateTime& fecha) {
    return fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

QString Mostrar(const QString& ruta) {
    return QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath());
}

// La copia de ese archivo, del proyecto dado, si existe.
std::optional<CopiaRecuperacion> Copia(const QString& ruta, const QString& archivoProyecto) {
    const QFileInfo copia(ruta);
    if (!copia.isFile()) return std::nullopt;
    CopiaRecuperacion c;
    c.Ruta = ruta;
    c.Proyecto = archivoProyecto;
    c.Fecha = copia.lastModified();
    const QFileInfo proyecto(RutaArchivoProyecto(archivoProyecto));
    if (proyecto.isFile()) c.FechaProyecto = proyecto.lastModified();
    return c;
}

// Una copia de la carpeta de datos: su primera línea dice de qué proyecto es.
std::optional<CopiaRecuperacion> CopiaDeDatos(const QString& ruta) {
    QFile archivo(ruta);
    if (ruta.isEmpty() || !archivo.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray linea = archivo.readLine(8192).trimmed();
    if (!linea.startsWith(PrefijoOrigen)) return std::nullopt;
    const QString proyecto = QUrl::fromEncoded(linea.mid(PrefijoOrigen.size())).toLocalFile();
    if (proyecto.isEmpty()) return std::nullopt;
    std::optional<CopiaRecuperacion> c = Copia(ruta, proyecto);
    if (c) c->DeSoloLectura = true;
    return c;
}

QString ClaveBloqueo(const QByteArray& linea, const char* clave) {
    const QByteArray prefijo = QByteArray(clave) + '=';
    return linea.startsWith(prefijo) ? QString::fromUtf8(linea.mid(prefijo.size())).trimmed()
                                     : QString();
}

} // namespace

bool EsSinNombre(const QString& archivoProyecto) {
    return archivoProyecto.left(10).toUpper() == u"SIN NOMBRE";
}

bool MismoProyecto(const QString& a, const QString& b) {
    return MismoArchivo(RutaArchivoProyecto(a), RutaArchivoProyecto(b));
}

QString RutaRecuperacion(const QString& archivoProyecto) {
    return RutaArchivoProyecto(archivoProyecto) + ExtensionRecuperacion;
}

QString CarpetaRecuperacionDatos() {
    const QString datos = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return datos.isEmpty() ? QString() : datos + QStringLiteral("/recuperacion");
}

QString RutaRecuperacionDatos(const QString& archivoProyecto) {
    const QString carpeta = CarpetaRecuperacionDatos();
    if (carpeta.isEmpty()) return {};
    QString clave = RutaCompleta(archivoProyecto);
#ifdef _WIN32
    clave = clave.toLower();
#endif
    // El nombre del proyecto para quien mire la carpeta; la suma, para que dos
    // proyectos del mismo nombre en carpetas distintas no compartan copia.
    const QByteArray suma =
        QCryptographicHash::hash(clave.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    return QStringLiteral("%1/%2 %3.vk9%4")
        .arg(carpeta, QFileInfo(archivoProyecto).fileName(), QString::fromLatin1(suma),
             ExtensionRecuperacion);
}

ErrorEscritura EscribirRecuperacion(const ModuloVarek9& modulo, const QString& copia,
                                    const QDateTime& fecha) {
    // Sin carpeta de datos no hay dónde escribir.
    if (copia.isEmpty()) return ErrorEscritura{false, 0, QStringLiteral("Sin carpeta de datos")};
    QByteArray contenido;
    if (!MismoArchivo(copia, RutaRecuperacion(modulo.ArchivoProyecto))) {
        // La lectura salta lo que precede a "[Proyecto]": la copia se sigue abriendo.
        QDir().mkpath(QFileInfo(copia).absolutePath());
        contenido = PrefijoOrigen +
                    QUrl::fromLocalFile(RutaCompleta(modulo.ArchivoProyecto)).toEncoded() + "\r\n";
    }
    const ErrorEscritura e =
        EscribirArchivoSeguro(copia, contenido + TextoProyecto(modulo.Proyecto));
    // La fecha de la copia es la del reloj de la sesión (las pruebas ponen el suyo).
    QFile escrita(copia);
    if (e.Ok && escrita.open(QIODevice::ReadWrite))
        escrita.setFileTime(fecha, QFileDevice::FileModificationTime);
    return e;
}

QList<CopiaRecuperacion> CopiasDelProyecto(const QString& archivoProyecto) {
    QList<CopiaRecuperacion> copias;
    if (std::optional<CopiaRecuperacion> c =
            Copia(RutaRecuperacion(archivoProyecto), archivoProyecto))
        copias << *c;
    if (std::optional<CopiaRecuperacion> c = CopiaDeDatos(RutaRecuperacionDatos(archivoProyecto)))
        copias << *c;
    return copias;
}

QList<CopiaRecuperacion> OtrasCopias(const QString& archivoProyecto) {
    QList<CopiaRecuperacion> copias;
    // Un proyecto nuevo no tiene otro rastro que su copia: se busca por el nombre.
    static const QRegularExpression sinNombre(
        QStringLiteral("^(sin nombre (\\d+))\\.vk9\\.recuperar$"),
        QRegularExpression::CaseInsensitiveOption);
    QMap<int, CopiaRecuperacion> porNumero;
    const QStringList nombres = QDir::current().entryList(QDir::Files | QDir::Hidden);
    for (const QString& nombre : nombres) {
        const QRegularExpressionMatch m = sinNombre.match(nombre);
        if (!m.hasMatch() || MismoProyecto(m.captured(1), archivoProyecto)) continue;
        if (std::optional<CopiaRecuperacion> c = Copia(nombre, m.captured(1)))
            porNumero.insert(m.captured(2).toInt(), *c);
    }
    copias << porNumero.values();

    QList<CopiaRecuperacion> deDatos;
    const QDir carpeta(CarpetaRecuperacionDatos());
    const QString propia = RutaRecuperacionDatos(archivoProyecto);
    const QStringList copiasDatos =
        CarpetaRecuperacionDatos().isEmpty()
            ? QStringList()
            : carpeta.entryList({QStringLiteral("*.vk9") + ExtensionRecuperacion}, QDir::Files);
    for (const QString& nombre : copiasDatos) {
        const QString ruta = carpeta.filePath(nombre);
        if (MismoArchivo(ruta, propia)) continue;
        if (std::optional<CopiaRecuperacion> c = CopiaDeDatos(ruta)) deDatos << *c;
    }
    // La más reciente primero.
    std::sort(
        deDatos.begin(), deDatos.end(),
        [](const CopiaRecuperacion& a, const CopiaRecuperacion& b) { return a.Fecha > b.Fecha; });
    return copias + deDatos;
}

AvisoLectura CargarRecuperacion(ModuloVarek9& modulo, const QString& copia) {
    const AvisoLectura aviso = LeerProyectoDesde(modulo, copia);
    if (!aviso.NoEsProyecto) modulo.ProyectoModificado = true;
    return aviso;
}

QString TextoCopiaRecuperacion(const CopiaRecuperacion& c) {
    const bool nueva = !c.FechaProyecto.isValid() && EsSinNombre(c.Proyecto);
    QString texto =
        QStringLiteral("Se encontró una copia de recuperación del proyecto %1[%2], del %3")
            .arg(nueva ? QStringLiteral("sin guardar ") : QString(), c.Proyecto,
                 TextoFecha(c.Fecha));
    if (!c.FechaProyecto.isValid()) {
        if (!nueva) texto += QStringLiteral("; el archivo del proyecto no existe");
    } else if (c.Antigua()) {
        texto += QStringLiteral(", más antigua que el proyecto (guardado después, el %1)")
                     .arg(TextoFecha(c.FechaProyecto));
    } else {
        texto += QStringLiteral(", más reciente que el proyecto (guardado el %1)")
                     .arg(TextoFecha(c.FechaProyecto));
    }
    texto += u'.';
    if (c.DeSoloLectura)
        texto +=
            QStringLiteral(" La dejó una sesión que tenía el proyecto abierto de solo lectura.");
    return texto + QStringLiteral("\nCopia: [%1]\n\n¿Desea recuperarla?").arg(Mostrar(c.Ruta));
}

QString TextoBorrarCopia(const CopiaRecuperacion& c) {
    return QStringLiteral("¿Desea borrar la copia de recuperación [%1]?\n\nSi no la borra, se "
                          "ofrecerá otra vez al iniciar el programa.")
        .arg(Mostrar(c.Ruta));
}

QString TextoCopiasPendientes(const QList<CopiaRecuperacion>& copias) {
    QString texto = QStringLiteral("Quedan otras copias de recuperación sin revisar:\n");
    for (const CopiaRecuperacion& c : copias)
        texto += QStringLiteral("\n[%1] del %2").arg(c.Proyecto, TextoFecha(c.Fecha));
    return texto + QStringLiteral("\n\nSe ofrecerán al volver a iniciar el programa...");
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
