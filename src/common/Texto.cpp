#include "common/Texto.h"

#include <array>

namespace {

// Bytes 0x80..0x9F de Windows-1252; los no asignados conservan su código.
constexpr std::array<char16_t, 32> Tabla80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ByteAnsi(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < Tabla80.size(); ++i)
        if (Tabla80[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QStringView RecortarVista(QStringView texto) {
    qsizetype inicio = 0;
    qsizetype fin = texto.size();
    while (inicio < fin && texto[inicio] == u' ')
        ++inicio;
    while (fin > inicio && texto[fin - 1] == u' ')
        --fin;
    return texto.mid(inicio, fin - inicio);
}

QString Recortar(QStringView texto) {
    return RecortarVista(texto).toString();
}

QByteArray CodificarAnsi(QStringView texto) {
    QByteArray salida;
    salida.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t c = texto[i].unicode();
        // Un par sustituto es un solo carácter: un solo "?".
        if (QChar::isHighSurrogate(c) && i + 1 < texto.size() && texto[i + 1].isLowSurrogate()) ++i;
        salida.append(ByteAnsi(c));
    }
    return salida;
}

QString DecodificarAnsi(QByteArrayView datos) {
    QString salida(datos.size(), Qt::Uninitialized);
    QChar* destino = salida.data();
    for (qsizetype i = 0; i < datos.size(); ++i) {
        const auto b = static_cast<unsigned char>(datos[i]);
        destino[i] = (b >= 0x80 && b < 0xA0) ? QChar(Tabla80[b - 0x80]) : QChar(b);
    }
    return salida;
}

QList<QStringView> DividirLineas(QStringView texto) {
    QList<QStringView> lineas;
    qsizetype inicio = 0;
    const qsizetype n = texto.size();
    // Un archivo sin ningún CR viene de un editor con finales LF: el LF separa.
    const char16_t separador = texto.contains(u'\r') ? u'\r' : u'\n';
    for (qsizetype i = 0; i < n; ++i) {
        if (texto[i] != separador) continue;
        lineas.append(texto.mid(inicio, i - inicio));
        if (separador == u'\r' && i + 1 < n && texto[i + 1] == u'\n') ++i;
        inicio = i + 1;
    }
    if (inicio < n) lineas.append(texto.mid(inicio));
    return lineas;
}
