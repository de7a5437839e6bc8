#include "common/Formato.h"

#include "common/Numeros.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

struct Mascara {
    int Enteros = 0;   // cifras enteras mínimas (los "0" antes del punto)
    int Decimales = 0; // cifras tras el punto
    bool Miles = false;
    bool Porcentaje = false;
    bool Exponente = false;
    bool SignoExponente = false; // "E+": el signo "+" se escribe siempre
    int CifrasExponente = 0;
};

Mascara LeerMascara(QStringView texto) {
    Mascara m;
    bool enDecimales = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c == u'E' || c == u'e') {
            m.Exponente = true;
            if (i + 1 < texto.size()) m.SignoExponente = texto[i + 1] == u'+';
            for (qsizetype j = i + 1; j < texto.size(); ++j)
                if (texto[j] == u'0') ++m.CifrasExponente;
            break;
        }
        if (c == u'.')
            enDecimales = true;
        else if (c == u',')
            m.Miles = true;
        else if (c == u'%')
            m.Porcentaje = true;
        else if (c == u'0')
            ++(enDecimales ? m.Decimales : m.Enteros);
    }
    return m;
}

// El valor absoluto con 15 cifras significativas. Se redondea en decimal para que
// 2.675 sea 2.675 y no 2.67499999...
struct Cifras {
    std::string Digitos; // 15 cifras
    int Exponente = 0;
};

Cifras CifrasDe(double valorAbsoluto) {
    if (valorAbsoluto < 1e15 && valorAbsoluto == std::trunc(valorAbsoluto)) {
        // Un entero de hasta 15 cifras ya es exacto: se evita la conversión científica,
        // que es lo más caro de los reportes.
        char buf[24];
        const auto res =
            std::to_chars(buf, buf + sizeof buf, static_cast<long long>(valorAbsoluto));
        std::string digitos(buf, res.ptr);
        const int exponente = static_cast<int>(digitos.size()) - 1;
        digitos.resize(15, '0');
        return {std::move(digitos), exponente};
    }
    const Cifras15 c = CifrasSignificativas(valorAbsoluto);
    return {std::string(c.Digitos, sizeof c.Digitos), c.Exponente};
}

// Deja las primeras "conservar" cifras, redondeando la mitad hacia arriba; el
// resultado puede tener una cifra más por el acarreo.
std::string RedondearCifras(const std::string& digitos, int conservar) {
    if (conservar < 0) return "0";
    const auto n = static_cast<std::size_t>(conservar);
    if (n >= digitos.size()) return digitos + std::string(n - digitos.size(), '0');
    std::string resultado = digitos.substr(0, n);
    if (digitos[n] >= '5') {
        std::size_t i = resultado.size();
        while (i > 0 && resultado[i - 1] == '9')
            resultado[--i] = '0';
        if (i == 0)
            resultado.insert(resultado.begin(), '1');
        else
            ++resultado[i - 1];
    }
    return resultado.empty() ? "0" : resultado;
}

bool TodoCeros(const std::string& digitos) {
    return digitos.find_first_not_of('0') == std::string::npos;
}

std::string AgruparMiles(const std::string& enteros) {
    std::string resultado;
    const std::size_t n = enteros.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) resultado += ',';
        resultado += enteros[i];
    }
    return resultado;
}

std::string FormatoFijo(const Cifras& cifras, bool cero, const Mascara& m, bool& esCero) {
    // Cifras del valor por 10^Decimales, redondeado a entero.
    std::string entero =
        cero ? "0" : RedondearCifras(cifras.Digitos, cifras.Exponente + 1 + m.Decimales);
    esCero = TodoCeros(entero);

    const auto decimales = static_cast<std::size_t>(m.Decimales);
    if (entero.size() < decimales) entero.insert(0, decimales - entero.size(), '0');
    std::string parteEntera = entero.substr(0, entero.size() - decimales);
    const std::string parteDecimal = entero.substr(entero.size() - decimales);

    const std::size_t primera = parteEntera.find_first_not_of('0');
    parteEntera = primera == std::string::npos ? std::string() : parteEntera.substr(primera);
    const auto minimo = static_cast<std::size_t>(m.Enteros);
    if (parteEntera.size() < minimo) parteEntera.insert(0, minimo - parteEntera.size(), '0');

    std::string salida = m.Miles ? AgruparMiles(parteEntera) : parteEntera;
    if (decimales > 0) salida.append(1, '.').append(parteDecimal);
    return salida;
}

std::string FormatoCientifico(const Cifras& cifras, bool cero, const Mascara& m, bool& esCero) {
    const int conservar = 1 + m.Decimales;
    std::string mantisa(static_cast<std::size_t>(conservar), '0');
    int exponente = 0;
    if (!cero) {
        mantisa = RedondearCifras(cifras.Digitos, conservar);
        exponente = cifras.Exponente;
        if (mantisa.size() > static_cast<std::size_t>(conservar)) { // 9.999 -> 10.00
            mantisa.pop_back();
            ++exponente;
        }
    }
    esCero = cero;

    std::string salida(1, mantisa[0]);
    if (m.Decimales > 0) salida.append(1, '.').append(mantisa, 1);
    salida += 'E';
    if (exponente < 0)
        salida += '-';
    else if (m.SignoExponente)
        salida += '+';
    std::string digitosExp = std::to_string(std::abs(exponente));
    if (digitosExp.size() < static_cast<std::size_t>(m.CifrasExponente))
        digitosExp.insert(0, static_cast<std::size_t>(m.CifrasExponente) - digitosExp.size(), '0');
    return salida + digitosExp;
}

} // namespace

std::string FormatoAscii(double valor, QStringView mascara) {
    const Mascara m = LeerMascara(mascara);
    const bool cero = valor == 0 || !std::isfinite(valor);

    Cifras cifras;
    if (!cero) {
        cifras = CifrasDe(std::fabs(valor));
        if (m.Porcentaje) cifras.Exponente += 2; // por 100, exacto en decimal
    }

    bool esCero = true;
    std::string salida = m.Exponente ? FormatoCientifico(cifras, cero, m, esCero)
                                     : FormatoFijo(cifras, cero, m, esCero);
    if (valor < 0 && !esCero) salida.insert(0, 1, '-');
    if (m.Porcentaje) salida += '%';
    return salida;
}

QString Formato(double valor, QStringView mascara) {
    const std::string salida = FormatoAscii(valor, mascara);
    return QString::fromLatin1(salida.data(), static_cast<qsizetype>(salida.size()));
}
