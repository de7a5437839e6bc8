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

bool EsAnsi(char16_t c) {
    return c == u'?' || ByteAnsi(c) != '?';
}

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
    // Una sola pasada sobre la copia: fromLatin1 es vectorizado y la corrección, rara.
    QString salida = QString::fromLatin1(datos);
    char16_t* destino = reinterpret_cast<char16_t*>(salida.data());
    const qsizetype n = salida.size();
    for (qsizetype i = 0; i < n; ++i)
        if (const auto c = static_cast<char16_t>(destino[i] - 0x80); c < 0x20)
            destino[i] = Tabla80[c];
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

// Posición del siguiente byte c desde inicio, o el largo. Con memchr: los archivos
// grandes se recorren sin comparar byte a byte.
qsizetype Buscar(QByteArrayView datos, qsizetype inicio, char c) {
    if (inicio >= datos.size()) return datos.size();
    const char* base = datos.data();
    const void* encontrado =
        std::memchr(base + inicio, c, static_cast<std::size_t>(datos.size() - inicio));
    return encontrado ? static_cast<const char*>(encontrado) - base : datos.size();
}

qsizetype Contar(QByteArrayView datos, char c) {
    qsizetype cuenta = 0;
    for (qsizetype i = Buscar(datos, 0, c); i < datos.size(); i = Buscar(datos, i + 1, c))
        ++cuenta;
    return cuenta;
}

} // namespace

LectorLineas::LectorLineas(QByteArrayView datos, FinesDeLinea fines)
    : datos_(datos), todos_(fines == FinesDeLinea::Todos) {
    const qsizetype n = datos.size();
    if (todos_) {
        separador_ = '\n';
        // Un CR LF cuenta una vez: cada LF que no sigue a un CR más cada CR.
        total_ = Contar(datos, '\r');
        for (qsizetype i = Buscar(datos, 0, '\n'); i < n; i = Buscar(datos, i + 1, '\n'))
            if (i == 0 || datos[i - 1] != '\r') ++total_;
        if (n > 0 && datos[n - 1] != '\r' && datos[n - 1] != '\n') ++total_;
        return;
    }
    const bool hayCR = Buscar(datos, 0, '\r') < n;
    separador_ = hayCR ? '\r' : '\n';
    total_ = Contar(datos, separador_);
    // Lo que sigue al último separador es una línea más (salvo el LF de un CR LF).
    qsizetype ultimo = n;
    while (ultimo > 0 && datos[ultimo - 1] != separador_)
        --ultimo;
    if (hayCR && ultimo < n && datos[ultimo] == '\n') ++ultimo;
    if (ultimo < n) ++total_;
}

QByteArrayView LectorLineas::Siguiente() {
    if (Fin()) return {};
    ++leidas_;
    const qsizetype n = datos_.size();
    const char* base = datos_.data();
    qsizetype fin;
    if (todos_) {
        // El próximo CR y el próximo LF se buscan una sola vez cada uno.
        if (cr_ < posicion_) cr_ = Buscar(datos_, posicion_, '\r');
        if (lf_ < posicion_) lf_ = Buscar(datos_, posicion_, '\n');
        fin = std::min(cr_, lf_);
    } else {
        fin = Buscar(datos_, posicion_, separador_);
    }
    const QByteArrayView linea = datos_.sliced(posicion_, fin - posicion_);
    posicion_ = fin + 1;
    if ((todos_ || separador_ == '\r') && fin < n && base[fin] == '\r' && posicion_ < n &&
        base[posicion_] == '\n')
        ++posicion_;
    return linea;
}
