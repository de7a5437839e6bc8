// Los PDF que imprimen las pruebas se leen con las órdenes de poppler-utils; sin
// ellas la prueba se salta con un aviso.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#define SALTAR_SIN_PDFTOTEXT()                                                                     \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())                     \
    QSKIP("Falta pdftotext (poppler-utils): no se leen los PDF.")

// La salida de una orden de poppler-utils ("pdftotext", "pdfinfo").
inline QString SalidaPoppler(const QString& orden, const QStringList& argumentos) {
    QProcess proceso;
    proceso.start(orden, argumentos);
    proceso.waitForFinished(30000);
    return QString::fromUtf8(proceso.readAllStandardOutput());
}
