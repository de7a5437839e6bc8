// Los PDF que imprimen las pruebas se leen con las órdenes de poppler-utils; sin
// ellas la prueba se salta con un aviso.
#pragma once

#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
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

// Cada palabra de un PDF con su caja y la hoja donde está, en puntos.
struct PalabraPdf {
    QString Texto;
    QRectF Caja;
    QSizeF Hoja;
    int Pagina = 0;
};
inline QList<PalabraPdf> PalabrasPdf(const QString& pdf) {
    const QString html = SalidaPoppler(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression paginas(
        QStringLiteral(R"x(<page width="([\d.]+)" height="([\d.]+)">(.*?)</page>)x"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression palabras(QStringLiteral(
        R"x(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<)x"));
    QList<PalabraPdf> lista;
    for (int n = 1; const auto& pagina : paginas.globalMatch(html)) {
        const QSizeF hoja(pagina.captured(1).toDouble(), pagina.captured(2).toDouble());
        for (const auto& m : palabras.globalMatch(pagina.captured(3)))
            lista.append({m.captured(5),
                          QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                 QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                          hoja, n});
        ++n;
    }
    return lista;
}
