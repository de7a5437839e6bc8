// Los PDF que imprimen las pruebas se leen con las órdenes de poppler-utils; sin
// ellas la prueba se salta con un aviso.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#ifdef _WIN32
// Wine no arranca programas de Linux: pdftotext no está.
#define MOTIVO_SIN_PDFTOTEXT "Sin pdftotext (Wine no arranca el de Linux): no se leen los PDF."
#else
#define MOTIVO_SIN_PDFTOTEXT "Falta pdftotext (poppler-utils): no se leen los PDF."
#endif
#define SALTAR_SIN_PDFTOTEXT()                                                                     \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())                     \
    QSKIP(MOTIVO_SIN_PDFTOTEXT)

// La salida de una orden de poppler-utils ("pdftotext", "pdfinfo").
inline QString SalidaPoppler(const QString& orden, const QStringList& argumentos) {
    QProcess proceso;
    proceso.start(orden, argumentos);
    proceso.waitForFinished(30000);
    return QString::fromUtf8(proceso.readAllStandardOutput());
}
