// varek9-cli corrido como proceso aparte: código de salida, salida y errores.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct Corrida {
    int Codigo = -1;
    QString Salida;
    QString Errores;
};

// carpeta: el directorio de trabajo del proceso (vacío: el actual).
inline Corrida Correr(const QStringList& args, const QString& carpeta = QString()) {
    QProcess p;
    if (!carpeta.isEmpty()) p.setWorkingDirectory(carpeta);
    p.start(QStringLiteral(VAREK9_CLI), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}
