#include "common/Numeros.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

QString FormatoGeneral(double valor) {
    if (valor == 0 || !std::isfinite(valor)) return QStringLiteral(" 0 ");

    // 15 cifras significativas, redondeadas una sola vez.
    char buf[40];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(valor), std::chars_format::scientific, 14);
    const std::string texto(buf, res.ptr);
    const std::size_t posE = texto.find('e');
    std::string cifras = texto.substr(0, 1);
    cifras.append(texto, 2, posE - 2);
    const int exponente = std::stoi(texto.substr(posE + 1));
    while (cifras.size() > 1 && cifras.back() == '0')
        cifras.pop_back();

    std::string salida(1, valor < 0 ? '-' : ' ');
    if (exponente >= 15 || exponente < -4) {
        salida += cifras[0];
        if (cifras.size() > 1) salida.append(1, '.').append(cifras, 1);
        const std::string digitosExp = std::to_string(std::abs(exponente));
        salida.append(exponente < 0 ? "E-" : "E+");
        if (digitosExp.size() < 2) salida.append(1, '0');
        salida.append(digitosExp);
    } else if (exponente >= 0) {
        const auto enteros = static_cast<std::size_t>(exponente) + 1;
        if (cifras.size() <= enteros) {
            salida.append(cifras).append(enteros - cifras.size(), '0');
        } else {
            salida.append(cifras, 0, enteros).append(1, '.').append(cifras, enteros);
        }
    } else {
        salida.append(1, '.').append(static_cast<std::size_t>(-exponente - 1), '0').append(cifras);
    }
    salida += ' ';
    return QString::fromLatin1(salida.data(), static_cast<qsizetype>(salida.size()));
}

NumeroLeido LeerNumero(QStringView texto) {
    NumeroLeido r;
    qsizetype i = 0;
    const qsizetype n = texto.size();
    while (i < n && (texto[i] == u' ' || texto[i] == u'\t'))
        ++i;

    std::string numero;
    if (i < n && (texto[i] == u'+' || texto[i] == u'-')) {
        if (texto[i] == u'-') numero += '-';
        ++i;
    }
    bool hayCifras = false;
    auto tomarCifras = [&] {
        while (i < n && texto[i] >= u'0' && texto[i] <= u'9') {
            numero += static_cast<char>(texto[i].unicode());
            hayCifras = true;
            ++i;
        }
    };
    tomarCifras();
    if (i < n && texto[i] == u'.') {
        numero += '.';
        ++i;
        tomarCifras();
    }
    if (!hayCifras) return r;
    r.HayNumero = true;

    bool exponenteNegativo = false;
    if (i < n && (texto[i] == u'E' || texto[i] == u'e')) {
        qsizetype j = i + 1;
        std::string exp = "e";
        if (j < n && (texto[j] == u'+' || texto[j] == u'-')) {
            exponenteNegativo = texto[j] == u'-';
            exp += exponenteNegativo ? '-' : '+';
            ++j;
        }
        const qsizetype inicioCifras = j;
        while (j < n && texto[j] >= u'0' && texto[j] <= u'9') {
            exp += static_cast<char>(texto[j].unicode());
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
