// varek9-cli corrido como proceso aparte: código de salida, salida y errores.
#pragma once

#include "printing/CodigoFormato.h"

#include <QProcess>
#include <QString>
#include <QStringList>

struct Corrida {
    int Codigo = -1;
    QByteArray Bytes; // la salida tal cual, para lo que sale en Windows-1252
    QString Salida;
    QString Errores;
};

// carpeta: el directorio de trabajo del proceso (vacío: el actual).
inline Corrida Correr(const QStringList& args, const QString& carpeta = QString()) {
    QProcess p;
    if (!carpeta.isEmpty()) p.setWorkingDirectory(carpeta);
    p.start(QStringLiteral(VAREK9_CLI), args);
    p.waitForFinished(60000);
    const QByteArray salida = p.readAllStandardOutput();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, salida,
            QString::fromLocal8Bit(salida), QString::fromLocal8Bit(p.readAllStandardError())};
}

// Un reporte con un encabezado numerado y 60 líneas: dos páginas de 58.
inline QByteArray ReporteDosPaginas() {
    QByteArray r = CodigoFormato(2101).toLatin1() + "#pg#fecha#\r\n";
    for (int i = 1; i <= 60; ++i)
        r += CodigoFormato(100).toLatin1() + "linea " + QByteArray::number(i) + "   \r\n";
    return r;
}
