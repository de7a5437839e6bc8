#include "common/Texto.h"

#include <algorithm>
#include <array>
#include <cstring>

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

QByteArrayView RecortarVista(QByteArrayView texto) {
    qsizetype inicio = 0;
    qsizetype fin = texto.size();
    while (inicio < fin && texto[inicio] == ' ')
        ++inicio;
    while (fin > inicio && texto[fin - 1] == ' ')
        --fin;
    return texto.sliced(inicio, fin - inicio);
}

char* EscritorAnsi::Espacio(qsizetype bytes) {
    if (largo_ + bytes > datos_.size())
        datos_.resize(std::max<qsizetype>(2 * datos_.size(), largo_ + bytes + 4096));
    return datos_.data() + largo_;
}

void EscritorAnsi::AgregarAscii(const char* texto, qsizetype largo) {
    std::memcpy(Espacio(largo), texto, static_cast<std::size_t>(largo));
    largo_ += largo;
}

void EscritorAnsi::Codificar(QStringView texto, bool sinCR, bool sinLF) {
    // Se escribe directo en el búfer: los proyectos grandes tienen millones de caracteres.
    char* destino = Espacio(texto.size());
    qsizetype n = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t c = texto[i].unicode();
        if (c < 0x80) {
            const bool salto = (sinCR && c == u'\r') || (sinLF && c == u'\n');
            destino[n++] = salto ? ' ' : static_cast<char>(c);
            continue;
        }
        // Un par sustituto es un solo carácter: un solo "?".
        if (QChar::isHighSurrogate(c) && i + 1 < texto.size() && texto[i + 1].isLowSurrogate()) ++i;
        destino[n++] = ByteAnsi(c);
    }
    largo_ += n;
}

QByteArray EscritorAnsi::Tomar() {
    datos_.truncate(largo_);
    largo_ = 0;
    return std::move(datos_);
}

QByteArray CodificarAnsi(QStringView texto) {
    EscritorAnsi e;
    e.Agregar(texto);
    return e.Tomar();
}

QString DecodificarAnsi(QByteArrayView datos) {
    // Latin-1 coincide con Windows-1252 salvo en 0x80..0x9F, que casi nunca aparecen.
    QString salida = QString::fromLatin1(datos);
    unsigned char hay = 0;
    for (const char b : datos)
        hay |= static_cast<unsigned char>(static_cast<unsigned char>(b) - 0x80) < 0x20;
    if (!hay) return salida;
    QChar* destino = salida.data();
    for (qsizetype i = 0; i < salida.size(); ++i) {
        const char16_t c = destino[i].unicode();
        if (c >= 0x80 && c < 0xA0) destino[i] = QChar(Tabla80[c - 0x80]);
    }
    return salida;
}

QList<QStringView> DividirLineas(QStringView texto) {
    QList<QStringView> lineas;
    // Un archivo sin ningún CR viene de un editor con finales LF: el LF separa.
    const QChar separador = texto.contains(QChar(u'\r')) ? QChar(u'\r') : QChar(u'\n');
    const qsizetype n = texto.size();
    qsizetype inicio = 0;
    while (inicio < n) {
        const qsizetype fin = texto.indexOf(separador, inicio);
        if (fin < 0) {
            lineas.append(texto.mid(inicio));
            break;
        }
        lineas.append(texto.mid(inicio, fin - inicio));
        inicio = fin + 1;
        if (separador == u'\r' && inicio < n && texto[inicio] == u'\n') ++inicio;
    }
    return lineas;
}

namespace {

// Posición del siguiente fin de línea desde inicio (CR o LF), o el largo.
qsizetype SiguienteFin(QByteArrayView datos, qsizetype inicio) {
    const char* base = datos.data();
    for (qsizetype i = inicio; i < datos.size(); ++i)
        if (base[i] == '\r' || base[i] == '\n') return i;
    return datos.size();
}

} // namespace

LectorLineas::LectorLineas(QByteArrayView datos, FinesDeLinea fines)
    : datos_(datos), todos_(fines == FinesDeLinea::Todos) {
    const char* inicio = datos.data();
    const char* fin = inicio + datos.size();
    if (todos_) {
        separador_ = '\n';
        // Un CR LF cuenta una vez: cada LF que no sigue a un CR más cada CR.
        total_ = std::count(inicio, fin, '\r');
        for (qsizetype i = 0; i < datos.size(); ++i)
            if (inicio[i] == '\n' && (i == 0 || inicio[i - 1] != '\r')) ++total_;
        if (!datos.isEmpty() && fin[-1] != '\r' && fin[-1] != '\n') ++total_;
        return;
    }
    const bool hayCR = std::find(inicio, fin, '\r') != fin;
    separador_ = hayCR ? '\r' : '\n';
    total_ = std::count(inicio, fin, separador_);
    // Lo que sigue al último separador es una línea más (salvo el LF de un CR LF).
    qsizetype ultimo = datos.size();
    while (ultimo > 0 && datos[ultimo - 1] != separador_)
        --ultimo;
    if (hayCR && ultimo < datos.size() && datos[ultimo] == '\n') ++ultimo;
    if (ultimo < datos.size()) ++total_;
}

QByteArrayView LectorLineas::Siguiente() {
    if (Fin()) return {};
    ++leidas_;
    const qsizetype n = datos_.size();
    const char* base = datos_.data();
    qsizetype fin;
    if (todos_) {
        fin = SiguienteFin(datos_, posicion_);
    } else {
        const void* encontrado =
            std::memchr(base + posicion_, separador_, static_cast<std::size_t>(n - posicion_));
        fin = encontrado ? static_cast<const char*>(encontrado) - base : n;
    }
    const QByteArrayView linea = datos_.sliced(posicion_, fin - posicion_);
    posicion_ = fin + 1;
    if ((todos_ || separador_ == '\r') && fin < n && base[fin] == '\r' && posicion_ < n &&
        base[posicion_] == '\n')
        ++posicion_;
    return linea;
}
