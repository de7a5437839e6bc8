#include "common/BloqueoArchivo.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <utility>

#ifdef _WIN32
#include <QDir>
#include <string>
#include <windows.h>
#else
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

enum class Intento { Tomado, Ocupado, SinAcceso };

#ifdef _WIN32

// Los candados de Windows son obligatorios: se toma un byte lejos de los datos
// para marcar el uso sin impedir que otros lean o escriban el contenido.
constexpr DWORD CandadoDesplazamientoAlto = 0x7FFFFFFF;

Intento IntentarBloquear(const QString& ruta, bool crear, qintptr& manejador) {
    const std::wstring nombre = QDir::toNativeSeparators(ruta).toStdWString();
    const DWORD compartir = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const DWORD disposicion = crear ? OPEN_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileW(nombre.c_str(), GENERIC_READ | GENERIC_WRITE, compartir, nullptr,
                           disposicion, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        h = CreateFileW(nombre.c_str(), GENERIC_READ, compartir, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        // Abierto sin compartir por otro programa: también está en uso.
        return GetLastError() == ERROR_SHARING_VIOLATION ? Intento::Ocupado : Intento::SinAcceso;

    OVERLAPPED zona{};
    zona.OffsetHigh = CandadoDesplazamientoAlto;
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &zona)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? Intento::Ocupado
                                                                          : Intento::SinAcceso;
    }
    manejador = reinterpret_cast<qintptr>(h);
    return Intento::Tomado;
}

void Soltar(qintptr manejador) {
    HANDLE h = reinterpret_cast<HANDLE>(manejador);
    OVERLAPPED zona{};
    zona.OffsetHigh = CandadoDesplazamientoAlto;
    UnlockFileEx(h, 0, 1, 0, &zona);
    CloseHandle(h);
}

#else

// flock pertenece a la descripción de archivo abierta: dos open() del mismo
// proceso chocan entre sí igual que dos procesos.
Intento IntentarBloquear(const QString& ruta, bool crear, qintptr& manejador) {
    const QByteArray nombre = QFile::encodeName(ruta);
    int fd = ::open(nombre.constData(), O_RDWR | O_CLOEXEC | (crear ? O_CREAT : 0), 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(nombre.constData(), O_RDONLY | O_CLOEXEC); // flock no exige escritura
    if (fd < 0) return Intento::SinAcceso;

    int resultado;
    do {
        resultado = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (resultado != 0 && errno == EINTR);
    if (resultado != 0) {
        const bool ocupado = errno == EWOULDBLOCK;
        ::close(fd);
        return ocupado ? Intento::Ocupado : Intento::SinAcceso;
    }
    manejador = fd;
    return Intento::Tomado;
}

// Cerrar la descripción suelta el candado.
void Soltar(qintptr manejador) {
    ::close(static_cast<int>(manejador));
}

#endif

} // namespace

BloqueoArchivo::BloqueoArchivo(const QString& ruta) : Ruta(ruta) {}

BloqueoArchivo::~BloqueoArchivo() {
    Liberar();
}

BloqueoArchivo::BloqueoArchivo(BloqueoArchivo&& otro) noexcept
    : Ruta(std::move(otro.Ruta)), Manejador(std::exchange(otro.Manejador, ManejadorNulo)) {}

BloqueoArchivo& BloqueoArchivo::operator=(BloqueoArchivo&& otro) noexcept {
    if (this != &otro) {
        Liberar();
        Ruta = std::move(otro.Ruta);
        Manejador = std::exchange(otro.Manejador, ManejadorNulo);
    }
    return *this;
}

bool BloqueoArchivo::Bloquear() {
    if (Bloqueado()) return true;
    if (Ruta.isEmpty()) return false;
    return IntentarBloquear(Ruta, true, Manejador) == Intento::Tomado;
}

bool BloqueoArchivo::BloquearReintentando(int milisegundos) {
    QElapsedTimer reloj;
    reloj.start();
    while (!Bloquear()) {
        if (reloj.elapsed() >= milisegundos) return false;
        QThread::msleep(10);
    }
    return true;
}

void BloqueoArchivo::Liberar() {
    if (!Bloqueado()) return;
    Soltar(std::exchange(Manejador, ManejadorNulo));
}

bool ArchivoBloqueadoPorOtro(const QString& ruta) {
    if (ruta.isEmpty() || !QFileInfo::exists(ruta)) return false;
    qintptr manejador = -1;
    switch (IntentarBloquear(ruta, false, manejador)) {
    case Intento::Tomado:
        Soltar(manejador);
        return false;
    case Intento::Ocupado:
        return true;
    case Intento::SinAcceso:
        break;
    }
    return false;
}
