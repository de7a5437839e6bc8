#include "common/Numeros.h"

#include <QList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

Cifras15 CifrasSignificativas(double magnitud) {
    char sci[40];
    const auto res =
        std::to_chars(sci, sci + sizeof sci, magnitud, std::chars_format::scientific, 14);
    Cifras15 c{};
    c.Digitos[0] = sci[0];
    std::memcpy(c.Digitos + 1, sci + 2, 14);
    const char* inicioExp = sci + 17; // "d.dddddddddddddde"
    if (*inicioExp == '+') ++inicioExp;
    std::from_chars(inicioExp, res.ptr, c.Exponente);
    return c;
}

int EscribirFormatoGeneral(double valor, char* salida) {
    // Sin memoria dinámica: un proyecto grande escribe decenas de miles de números.
    int k = 0;
    salida[k++] = valor < 0 ? '-' : ' ';
    const double magnitud = std::fabs(valor);
    if (valor == 0 || !std::isfinite(valor)) {
        salida[0] = ' ';
        salida[k++] = '0';
    } else if (magnitud < 1e15 && magnitud == std::trunc(magnitud)) {
        // Entero de a lo sumo 15 cifras: se escribe tal cual.
        const auto res = std::to_chars(salida + k, salida + LargoMaximoFormatoGeneral,
                                       static_cast<long long>(magnitud));
        k = static_cast<int>(res.ptr - salida);
    } else {
        const Cifras15 c15 = CifrasSignificativas(magnitud);
        const char* cifras = c15.Digitos;
        int nc = 15;
        while (nc > 1 && cifras[nc - 1] == '0')
            --nc;
        const int exponente = c15.Exponente;

        if (exponente >= 15 || exponente < -4) {
            salida[k++] = cifras[0];
            if (nc > 1) {
                salida[k++] = '.';
                for (int c = 1; c < nc; ++c)
                    salida[k++] = cifras[c];
            }
            salida[k++] = 'E';
            salida[k++] = exponente < 0 ? '-' : '+';
            const int absoluto = std::abs(exponente);
            if (absoluto < 10) salida[k++] = '0';
            k = static_cast<int>(
                std::to_chars(salida + k, salida + LargoMaximoFormatoGeneral, absoluto).ptr -
                salida);
        } else if (exponente >= 0) {
            const int enteros = exponente + 1;
            for (int c = 0; c < std::max(nc, enteros); ++c) {
                if (c == enteros) salida[k++] = '.';
                salida[k++] = c < nc ? cifras[c] : '0';
            }
        } else {
            salida[k++] = '.';
            for (int c = 0; c < -exponente - 1; ++c)
                salida[k++] = '0';
            for (int c = 0; c < nc; ++c)
                salida[k++] = cifras[c];
        }
    }
    salida[k++] = ' ';
    return k;
}

void AgregarFormatoGeneral(QString& destino, double valor) {
    char salida[LargoMaximoFormatoGeneral];
    destino.append(QLatin1StringView(salida, EscribirFormatoGeneral(valor, salida)));
}

QString FormatoGeneral(double valor) {
    QString s;
    AgregarFormatoGeneral(s, valor);
    return s;
}

namespace {

// Carácter i como código, igual para texto UTF-16 que para bytes ANSI.
inline char16_t Caracter(QStringView t, qsizetype i) {
    return t[i].unicode();
}
inline char16_t Caracter(QByteArrayView t, qsizetype i) {
    return static_cast<unsigned char>(t[i]);
}

template <typename Vista>
NumeroLeido LeerNumeroEn(Vista texto) {
    NumeroLeido r;
    qsizetype i = 0;
    const qsizetype n = texto.size();
    while (i < n && (Caracter(texto, i) == u' ' || Caracter(texto, i) == u'\t'))
        ++i;

    std::string numero;
    if (i < n && (Caracter(texto, i) == u'+' || Caracter(texto, i) == u'-')) {
        if (Caracter(texto, i) == u'-') numero += '-';
        ++i;
    }
    bool hayCifras = false;
    auto tomarCifras = [&] {
        while (i < n && Caracter(texto, i) >= u'0' && Caracter(texto, i) <= u'9') {
            numero += static_cast<char>(Caracter(texto, i));
            hayCifras = true;
            ++i;
        }
    };
    tomarCifras();
    if (i < n && Caracter(texto, i) == u'.') {
        numero += '.';
        ++i;
        tomarCifras();
    }
    if (!hayCifras) return r;
    r.HayNumero = true;

    bool exponenteNegativo = false;
    if (i < n && (Caracter(texto, i) == u'E' || Caracter(texto, i) == u'e')) {
        qsizetype j = i + 1;
        std::string exp = "e";
        if (j < n && (Caracter(texto, j) == u'+' || Caracter(texto, j) == u'-')) {
            exponenteNegativo = Caracter(texto, j) == u'-';
            exp += exponenteNegativo ? '-' : '+';
            ++j;
        }
        const qsizetype inicioCifras = j;
        while (j < n && Caracter(texto, j) >= u'0' && Caracter(texto, j) <= u'9') {
            exp += static_cast<char>(Caracter(texto, j));
            ++j;
        }
        // Una "E" sin cifras no es exponente: se ignora con el resto.
        if (j > inicioCifras) numero += exp;
    }

    double valor = 0;
    const auto res = std::from_chars(numero.data(), numero.data() + numero.size(), valor,
                                     std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Demasiado pequeño: es 0; demasiado grande: no cabe.
        if (!exponenteNegativo) r.Desborde = true;
        r.Valor = 0;
        return r;
    }
    // Sin -0 y sin subnormales: lo que se escribe con 15 cifras se vuelve a leer igual.
    r.Valor = std::fabs(valor) < std::numeric_limits<double>::min() ? 0.0 : valor;
    return r;
}

} // namespace

NumeroLeido LeerNumero(QStringView texto) {
    return LeerNumeroEn(texto);
}
NumeroLeido LeerNumero(QByteArrayView texto) {
    return LeerNumeroEn(texto);
}

double ValorTexto(QStringView texto) {
    return LeerNumero(texto).Valor;
}

double RedondearPar(double valor) {
    return std::nearbyint(valor);
}

QString Formato17(double valor) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::general, 17);
    return QString::fromLatin1(buf, res.ptr - buf);
}

namespace {

// Grupos de miles bien formados: el primero de 1 a 3 cifras sin cero inicial y
// los demás de exactamente 3.
bool GruposDeMiles(QStringView cifras, QChar separador) {
    const QList<QStringView> grupos = cifras.split(separador);
    if (grupos.size() < 2) return false;
    const QStringView primero = grupos.first();
    if (primero.isEmpty() || primero.size() > 3 || primero.front() == u'0') return false;
    for (qsizetype i = 1; i < grupos.size(); ++i)
        if (grupos[i].size() != 3) return false;
    return true;
}

bool EsCifra(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

namespace {

bool EsBlancoDeMiles(QChar c) {
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
}

// "150 000" y "1 234 567,5": los blancos entre grupos de tres se quitan. Un
// blanco que no separa grupos así termina el número, como cualquier otro texto.
// Vacío si no hay blancos así: el texto se lee tal cual.
QString SinBlancosDeMiles(QStringView t) {
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) ++i;
    qsizetype cifras = 0;
    while (i + cifras < t.size() && EsCifra(t[i + cifras]))
        ++cifras;
    if (cifras < 1 || cifras > 3 || t[i] == u'0') return {};
    qsizetype j = i + cifras;
    QString r;
    while (j + 3 < t.size() && EsBlancoDeMiles(t[j]) && EsCifra(t[j + 1]) && EsCifra(t[j + 2]) &&
           EsCifra(t[j + 3]) && (j + 4 == t.size() || !EsCifra(t[j + 4]))) {
        if (r.isEmpty()) r = t.first(j).toString();
        r += t.sliced(j + 1, 3);
        j += 4;
    }
    return r.isEmpty() ? r : r.append(t.sliced(j));
}

} // namespace

NumeroEscrito LeerNumeroEscrito(QStringView texto, SeparadorDecimal convencion) {
    NumeroEscrito r;
    const QString sinBlancos = SinBlancosDeMiles(texto.trimmed());
    const QStringView t = sinBlancos.isEmpty() ? texto.trimmed() : QStringView(sinBlancos);
    qsizetype i = 0;
    // Lo leído en ASCII, para from_chars (sin signo "+", que no acepta).
    std::string normal;
    normal.reserve(std::size_t(t.size()));
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        if (t[i++] == u'-') normal += '-';
    // El cuerpo: cifras y separadores seguidos.
    const qsizetype inicio = i;
    while (i < t.size() && (EsCifra(t[i]) || t[i] == u'.' || t[i] == u','))
        ++i;
    QStringView cuerpo = t.sliced(inicio, i - inicio);
    const bool conExponente = i < t.size() && (t[i] == u'E' || t[i] == u'e');
    const qsizetype ultimaComa = cuerpo.lastIndexOf(u',');
    const qsizetype ultimoPunto = cuerpo.lastIndexOf(u'.');
    QChar decimal;
    QChar miles;
    if (ultimaComa >= 0 && ultimoPunto >= 0) {
        decimal = ultimaComa > ultimoPunto ? u',' : u'.';
        miles = decimal == u',' ? u'.' : u',';
        r.Muestra = decimal;
    } else if (ultimaComa >= 0 || ultimoPunto >= 0) {
        const QChar separador = ultimaComa >= 0 ? u',' : u'.';
        const QChar otro = separador == u',' ? u'.' : u',';
        const bool varios = cuerpo.indexOf(separador) != cuerpo.lastIndexOf(separador);
        const bool grupos = !conExponente && GruposDeMiles(cuerpo, separador);
        if (varios && grupos) {
            miles = separador;
            r.Muestra = otro;
        } else if (!varios && grupos) {
            // Se aparta a propósito de lo original: "215.000" no es siempre 215; la
            // convención del usuario decide.
            r.Ambiguo = true;
            if (QChar(char16_t(convencion)) == separador)
                decimal = separador;
            else
                miles = separador;
        } else {
            decimal = separador;
            if (!varios) r.Muestra = separador;
        }
    }
    // Un separador decimal repetido corta el número en el segundo.
    if (!decimal.isNull()) {
        const qsizetype primero = cuerpo.indexOf(decimal);
        const qsizetype segundo = cuerpo.indexOf(decimal, primero + 1);
        if (segundo >= 0) {
            cuerpo = cuerpo.first(segundo);
            i = inicio + segundo;
        }
    }
    bool hayCifra = false;
    for (const QChar c : cuerpo) {
        if (EsCifra(c)) {
            normal += char(c.unicode());
            hayCifra = true;
        } else if (c == decimal) {
            normal += '.';
        } else if (c != miles) {
            break;
        }
    }
    if (!hayCifra) {
        r = NumeroEscrito();
        r.Descartado = !t.isEmpty();
        return r;
    }
    // Exponente: "E" o "e", signo opcional y cifras.
    if (i < t.size() && (t[i] == u'E' || t[i] == u'e')) {
        qsizetype j = i + 1;
        if (j < t.size() && (t[j] == u'+' || t[j] == u'-')) ++j;
        const qsizetype cifras = j;
        while (j < t.size() && EsCifra(t[j]))
            ++j;
        if (j > cifras) {
            for (; i < j; ++i)
                normal += char(t[i].unicode());
        }
    }
    double v = 0;
    const auto res = std::from_chars(normal.data(), normal.data() + normal.size(), v);
    // Demasiado pequeño es 0; demasiado grande no es un número.
    const bool diminuto =
        res.ec == std::errc::result_out_of_range &&
        (normal.find("E-") != std::string::npos || normal.find("e-") != std::string::npos);
    r.EsNumero = (res.ec == std::errc() && std::isfinite(v)) || diminuto;
    r.Valor = r.EsNumero && !diminuto ? v : 0;
    r.Descartado = i < t.size() || !r.EsNumero;
    return r;
}
