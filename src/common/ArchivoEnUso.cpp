#include "common/ArchivoEnUso.h"

#include "common/BloqueoArchivo.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>

PruebaUso ProbarArchivoEnUso(const QString& archivo) {
    if (!ArchivoBloqueadoPorOtro(archivo)) return {};
    return {true, QStringLiteral("El archivo está bloqueado por otro programa")};
}

bool ArchivoEnUso(const QString& archivo) {
    return ProbarArchivoEnUso(archivo).EnUso;
}

QString NombreTabla(const QString& archivo) {
    const qsizetype barra = qMax(archivo.lastIndexOf(u'\\'), archivo.lastIndexOf(u'/'));
    return archivo.mid(barra + 1);
}

QString TextoTablaOcupada(const QString& archivo) {
    return QStringLiteral("La tabla [%1] está siendo utilizada por otro usuario...")
        .arg(NombreTabla(archivo));
}

QString TextoArchivoOcupado(const QString& archivo) {
    return QStringLiteral(" El Archivo [%1]").arg(archivo);
}

int MilisegundosAlAzar(double azar, double minimo, double maximo) {
    const double espera = (maximo - minimo) * azar + minimo;
    if (!std::isfinite(espera) || espera <= 0) return 0;
    return static_cast<int>(std::lround(qMin(espera, 86400.0) * 1000));
}

void PausaAtendiendo(qint64 milisegundos) {
    if (milisegundos <= 0) return;
    if (QCoreApplication::instance() == nullptr) {
        QThread::msleep(static_cast<unsigned long>(milisegundos));
        return;
    }
    QEventLoop bucle;
    QTimer::singleShot(static_cast<int>(std::min<qint64>(milisegundos, 86400000)), &bucle,
                       &QEventLoop::quit);
    bucle.exec();
}
