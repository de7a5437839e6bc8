// Programa complementario de prueba para el lanzador: toma X, anota su línea
// de comandos, espera y deja como resultado lo que la prueba le preparó. Cada
// comportamiento lo decide un archivo de la carpeta actual:
//   companero.demora  milisegundos antes de tomar X
//   companero.espera  milisegundos con X tomado (300 si no está)
//   companero.sinx    termina sin tomar X
//   companero.res     contenido de X.RES (sin él no deja resultado)
#include "common/BloqueoArchivo.h"
#include "common/ModuloLibzrl.h"
#include "companions/Programas.h"
#include "companions/Protocolo.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

namespace {

int Milisegundos(const char* archivo, int porDefecto) {
    QFile f(QString::fromLatin1(archivo));
    if (!f.open(QIODevice::ReadOnly)) return porDefecto;
    return f.readAll().trimmed().toInt();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    {
        QFile registro(QStringLiteral("companero.log"));
        if (registro.open(QIODevice::Append))
            registro.write(LineaComando(QCoreApplication::arguments()).toUtf8() + '\n');
    }
    if (QFile::exists(QStringLiteral("companero.sinx"))) return 0;
    QThread::msleep(static_cast<unsigned long>(Milisegundos("companero.demora", 0)));
    const ArgumentosCompanero argumentos = LeerArgumentosCompanero(QCoreApplication::arguments());
    BloqueoArchivo x(argumentos.Intercambio);
    // Mientras el lanzador pregunta si X está en uso, lo toma un instante: se
    // reintenta como lo haría quien llega justo en ese instante.
    for (int intento = 0; !x.Bloquear(); ++intento) {
        if (intento == 200) return 1;
        QThread::msleep(5);
    }
    QThread::msleep(static_cast<unsigned long>(Milisegundos("companero.espera", 300)));
    QFile res(QStringLiteral("companero.res"));
    if (res.open(QIODevice::ReadOnly)) {
        QFile salida(ArchivoResultado(argumentos.Intercambio));
        if (!salida.open(QIODevice::WriteOnly)) return 1;
        salida.write(res.readAll());
    }
    return 0;
}
