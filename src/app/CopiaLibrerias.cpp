#include "app/CopiaLibrerias.h"

#include "common/ArchivoEnUso.h"
#include "common/Texto.h"
#include "project/ArchivoProyecto.h"

#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QString NombreDirLib = QStringLiteral("DirLib");
const QString NombreLote = QStringLiteral("registro.bat");
const QString NombreMarcador = QStringLiteral("registro.registrando");
const QString NombreHerramienta = QStringLiteral("regsvr32.exe");

#ifdef Q_OS_WIN
constexpr QChar Separador = u'\\';
bool TerminaEnSeparador(const QString& ruta) {
    return ruta.endsWith(u'\\') || ruta.endsWith(u'/');
}
#else
constexpr QChar Separador = u'/';
bool TerminaEnSeparador(const QString& ruta) {
    return ruta.endsWith(u'/');
}
#endif

QString ConSeparador(const QString& ruta) {
    if (ruta.isEmpty() || TerminaEnSeparador(ruta)) return ruta;
    return ruta + Separador;
}

// Una entrada de la lista de trabajo de un patrón.
struct ArchivoLibreria {
    QString Nombre; // vacío si el archivo desapareció entre listarlo y revisarlo
    QDate FechaLibreria;
    bool EnSistema = false;
    QDate FechaSistema;
};

// Solo cuenta el día: una copia del mismo día no se repite aunque sea más tarde.
QDate FechaArchivo(const QFileInfo& archivo) {
    return archivo.lastModified().toLocalTime().date();
}

QString TextoFecha(const QDate& fecha) {
    return QLocale::system().toString(fecha, QLocale::ShortFormat);
}

QList<ArchivoLibreria> ListarLibrerias(const QDir& librerias, const QString& patron,
                                       const QString& dirSistema) {
    QList<ArchivoLibreria> lista;
    lista.reserve(1000);
    // Los filtros de QDir no distinguen mayúsculas: "*.OCX" toma también "a.ocx".
    const QStringList nombres = librerias.entryList(
        {patron}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    for (const QString& nombre : nombres) {
        ArchivoLibreria entrada;
        const QFileInfo libreria(librerias.filePath(nombre));
        if (libreria.exists()) {
            entrada.Nombre = nombre;
            entrada.FechaLibreria = FechaArchivo(libreria);
            const QFileInfo enSistema(QDir(dirSistema).filePath(nombre));
            entrada.EnSistema = !dirSistema.isEmpty() && enSistema.exists();
            entrada.FechaSistema =
                entrada.EnSistema ? FechaArchivo(enSistema) : entrada.FechaLibreria;
        }
        lista.append(entrada);
    }
    return lista;
}

void QuitarSoloLectura(const QString& ruta) {
    QFile::setPermissions(ruta, QFile::permissions(ruta) | QFileDevice::WriteOwner |
                                    QFileDevice::WriteUser);
}

// Copia con reemplazo que conserva la fecha del original, como la del sistema;
// si falla, la copia anterior queda intacta.
bool CopiarLibreria(const QString& origen, const QString& destino) {
    if (destino.isEmpty()) return false;
    QFile entrada(origen);
    if (!entrada.open(QIODevice::ReadOnly)) return false;
    QSaveFile salida(destino);
    if (!salida.open(QIODevice::WriteOnly)) return false;
    for (;;) {
        const QByteArray bloque = entrada.read(1 << 16);
        if (bloque.isEmpty()) break;
        if (salida.write(bloque) != bloque.size()) {
            salida.cancelWriting();
            return false;
        }
    }
    if (entrada.error() != QFileDevice::NoError) {
        salida.cancelWriting();
        return false;
    }
    if (!salida.commit()) return false;
    QFile copia(destino);
    if (copia.open(QIODevice::ReadWrite))
        copia.setFileTime(entrada.fileTime(QFileDevice::FileModificationTime),
                          QFileDevice::FileModificationTime);
    return true;
}

// true si el marcador desapareció antes del límite.
bool EsperarMarcador(const QString& marcador, std::chrono::milliseconds limite) {
    const QDeadlineTimer plazo(std::max<qint64>(limite.count(), 0));
    while (QFileInfo::exists(marcador)) {
        if (plazo.hasExpired()) return false;
        PausaAtendiendo(
            std::min<qint64>(QRandomGenerator::global()->bounded(50, 150), plazo.remainingTime()));
    }
    return true;
}

#ifndef Q_OS_WIN
// Las órdenes del lote, una tras otra sin bloquear: el arranque sigue atendiendo
// eventos mientras espera el marcador.
class CadenaRegistro : public QObject {
public:
    explicit CadenaRegistro(LoteRegistro lote) : lote_(std::move(lote)) {}

    void Siguiente() {
        if (indice_ >= lote_.Librerias.size()) {
            QFile::remove(lote_.Marcador);
            deleteLater();
            return;
        }
        auto* proceso = new QProcess(this);
        const auto continuar = [this, proceso] {
            proceso->deleteLater();
            Siguiente();
        };
        connect(proceso, &QProcess::finished, this, continuar);
        connect(proceso, &QProcess::errorOccurred, this, [continuar](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) continuar();
        });
        proceso->setWorkingDirectory(QFileInfo(lote_.Archivo).absolutePath());
        proceso->start(lote_.Herramienta, {lote_.Librerias[indice_++], QStringLiteral("/s")});
    }

private:
    LoteRegistro lote_;
    qsizetype indice_ = 0;
};
#endif

// Hay algo que preparar: un "DirLib" o librerías en el directorio actual.
bool HayLibrerias(const QDir& actual) {
    if (QFileInfo::exists(actual.filePath(NombreDirLib))) return true;
    return !actual
                .entryList({QStringLiteral("*.OCX"), QStringLiteral("*.DLL")},
                           QDir::Files | QDir::Hidden | QDir::System)
                .isEmpty();
}

} // namespace

QString DirectorioLibrerias(const QString& directorioActual) {
    QFile archivo(QDir(directorioActual).filePath(NombreDirLib));
    if (!archivo.open(QIODevice::ReadOnly)) return {};
    const QByteArray datos = archivo.readAll();
    LectorLineas lector(datos);
    // Los blancos de los extremos vienen de editar el archivo a mano.
    return ConSeparador(Recortar(DecodificarAnsi(lector.Siguiente())));
}

QString DirectorioSistemaPlataforma() {
#ifdef Q_OS_WIN
    wchar_t ruta[MAX_PATH + 1];
    const UINT largo = GetSystemDirectoryW(ruta, MAX_PATH + 1);
    if (largo == 0 || largo > MAX_PATH) return {};
    return QString::fromWCharArray(ruta, static_cast<qsizetype>(largo));
#else
    const QString variable = qEnvironmentVariable("VAREK9_DIR_SISTEMA");
    if (!variable.isEmpty()) return variable;
    const QString datos = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (datos.isEmpty()) return {};
    const QString sistema = datos + QStringLiteral("/sistema");
    QDir().mkpath(sistema);
    return sistema;
#endif
}

bool EjecutarLotePlataforma(const LoteRegistro& lote) {
#ifdef Q_OS_WIN
    const QFileInfo archivo(lote.Archivo);
    QProcess proceso;
    proceso.setProgram(qEnvironmentVariable("ComSpec", QStringLiteral("cmd.exe")));
    proceso.setArguments({QStringLiteral("/c"), archivo.fileName()});
    proceso.setWorkingDirectory(archivo.absolutePath());
    proceso.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* argumentos) {
        argumentos->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        argumentos->startupInfo->wShowWindow = SW_SHOWMINNOACTIVE;
    });
    return proceso.startDetached();
#else
    auto* cadena = new CadenaRegistro(lote);
    cadena->Siguiente();
    return true;
#endif
}

bool PrepararLibrerias(const std::function<void(const QString&)>& agregarLinea) {
    EntornoLibrerias entorno;
    entorno.DirectorioActual = QDir::currentPath();
    // El directorio del sistema solo se pide (y se crea) cuando hay algo que copiar.
    if (HayLibrerias(QDir(entorno.DirectorioActual)))
        entorno.DirectorioSistema = DirectorioSistemaPlataforma();
    return PrepararLibrerias(entorno, agregarLinea);
}

bool PrepararLibrerias(const EntornoLibrerias& entorno,
                       const std::function<void(const QString&)>& agregarLinea) {
    const auto agregar = [&agregarLinea](const QString& linea) {
        if (agregarLinea) agregarLinea(linea);
    };
    const QDir actual(entorno.DirectorioActual.isEmpty() ? QDir::currentPath()
                                                         : entorno.DirectorioActual);
    // Sin nada que copiar no se deja el marcador, ni uno viejo: nadie lo borraría.
    if (!HayLibrerias(actual)) {
        QFile::remove(actual.filePath(NombreMarcador));
        return false;
    }
    const QString& dirSistema = entorno.DirectorioSistema;
    const QString textoSistema = ConSeparador(QDir::toNativeSeparators(dirSistema));
    const QString textoLibrerias = DirectorioLibrerias(actual.path());
    const QDir librerias(textoLibrerias.isEmpty()
                             ? actual.path()
                             : actual.filePath(QDir::fromNativeSeparators(textoLibrerias)));
    const QString rutaMarcador = actual.filePath(NombreMarcador);
    const QString rutaLote = actual.filePath(NombreLote);

    const bool hayMarcador = EscribirArchivoSeguro(rutaMarcador, QByteArray()).Ok;
    EscritorAnsi lote;
    lote.Linea(u"@echo off");

    QStringList copiadas;
    for (const QString& patron : {QStringLiteral("*.OCX"), QStringLiteral("*.DLL")}) {
        agregar(patron);
        for (const ArchivoLibreria& entrada : ListarLibrerias(librerias, patron, dirSistema)) {
            if (entrada.Nombre.isEmpty()) continue;
            const QString destino =
                dirSistema.isEmpty() ? QString() : QDir(dirSistema).filePath(entrada.Nombre);
            const QString fechas = QLatin1Char(' ') + TextoFecha(entrada.FechaLibreria) +
                                   QStringLiteral(" sys:") + TextoFecha(entrada.FechaSistema);
            QString linea;
            bool copiar = true;
            if (entrada.EnSistema && entrada.FechaLibreria > entrada.FechaSistema) {
                linea = QStringLiteral("actualizando: ") + entrada.Nombre + fechas;
                QuitarSoloLectura(destino);
            } else if (entrada.EnSistema) {
                linea = QStringLiteral("pasando: ") + entrada.Nombre + fechas;
                copiar = false;
            } else {
                linea = QStringLiteral("copiando: ") + entrada.Nombre;
            }
            if (copiar) {
                if (!CopiarLibreria(librerias.filePath(entrada.Nombre), destino)) {
                    linea += QStringLiteral(" error!");
                } else {
                    lote.Linea(textoSistema + QStringLiteral("regsvr32 ") + textoSistema +
                               entrada.Nombre + QStringLiteral(" /s"));
                    copiadas.append(destino);
                }
            }
            agregar(linea);
        }
    }

    lote.Linea(u"del registro.registrando");
    const bool hayLote = EscribirArchivoSeguro(rutaLote, lote.Tomar()).Ok;
    if (!hayMarcador || !hayLote)
        agregar(QStringLiteral("No fue posible escribir [%1]...")
                    .arg(hayMarcador ? NombreLote : NombreMarcador));

    const QString herramienta =
        dirSistema.isEmpty() ? QString() : QDir(dirSistema).filePath(NombreHerramienta);
    bool esperaVencida = false;
    // Sin la herramienta no se ejecuta nada y el marcador queda hasta el próximo arranque.
    if (hayMarcador && hayLote && QFileInfo(herramienta).isFile()) {
        const LoteRegistro datos{rutaLote, rutaMarcador, herramienta, copiadas};
        const bool iniciado =
            entorno.EjecutarLote ? entorno.EjecutarLote(datos) : EjecutarLotePlataforma(datos);
        if (!iniciado) {
            agregar(QStringLiteral("No fue posible iniciar [%1]...").arg(NombreLote));
        } else if (!EsperarMarcador(rutaMarcador, entorno.EsperaMaxima)) {
            esperaVencida = true;
            agregar(QStringLiteral("El registro de librerías no terminó en %1 segundos...")
                        .arg(QString::number(entorno.EsperaMaxima.count() / 1000.0)));
        }
    }
    // Un lote que sigue corriendo todavía lee su archivo: se deja en su lugar.
    if (!esperaVencida) QFile::remove(rutaLote);
    return true;
}
