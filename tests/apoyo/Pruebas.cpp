#include "Pruebas.h"

#include "Archivos.h"

#include <QFile>

#include <QCoreApplication>
#include <QStandardPaths>

namespace pruebas {

void PrepararEntorno() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    // Preferencias y datos del usuario en carpetas de prueba: nunca los reales.
    QStandardPaths::setTestModeEnabled(true);
}

void FilasFormatosHoja() {
    QTest::addColumn<QString>("formato");
    QTest::newRow("xlsx") << QStringLiteral("xlsx");
    QTest::newRow("csv coma") << QStringLiteral("coma");
    QTest::newRow("csv punto") << QStringLiteral("punto");
}

int EjecutarTodas(int argc, char** argv) {
    int fallas = 0;
    for (const auto& fabrica : Registro()) {
        const std::unique_ptr<QObject> prueba = fabrica();
        fallas += QTest::qExec(prueba.get(), argc, argv);
    }
    return fallas == 0 ? 0 : 1;
}

} // namespace pruebas

QByteArray LeerBytes(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool EscribirBytes(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size();
}
