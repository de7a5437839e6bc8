#include "common/Formato.h"

#include "common/Numeros.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// El valor absoluto con 15 cifras significativas. Se redondea en decimal para que
// 2.675 sea 2.675 y no 2.67499999...
Cifras15 CifrasDe(double valorAbsoluto) {
    if (valorAbsoluto < 1e15 && valorAbsoluto == std::trunc(valorAbsoluto)) {
        // Un entero de hasta 15 cifras ya es exacto: se evita la conversión científica,
        // que es lo más caro de los reportes.
        Cifras15 c{};
        const char* fin = std::to_chars(c.Digitos, c.Digitos + sizeof c.Digitos,
                                        static_cast<long long>(valorAbsoluto))
                              .ptr;
        const auto escritas = static_cast<int>(fin - c.Digitos);
        std::memset(c.Digitos + escritas, '0', static_cast<std::size_t>(15 - escritas));
        c.Exponente = escritas - 1;
        return c;
    }
    return CifrasSignificativas(valorAbsoluto);
}

// Las primeras "conservar" de las 15 cifras, redondeando la mitad hacia arriba; el
// resultado puede tener una cifra más por el acarreo. Más de 15 siguen con ceros,
// que no se escriben: un número enorme no pide memoria para redondearse.
struct Redondeo {
    char Cifras[16];
    int Largo = 0; // cifras escritas
    int Ceros = 0; // ceros que las siguen
    int Total() const { return Largo + Ceros; }
    char En(int k) const { return k < Largo ? Cifras[k] : '0'; }
};

Redondeo RedondearCifras(const char (&digitos)[15], int conservar) {
    Redondeo r;
    if (conservar < 0) {
        r.Cifras[0] = '0';
        r.Largo = 1;
        return r;
    }
    if (conservar >= 15) {
        std::memcpy(r.Cifras, digitos, 15);
        r.Largo = 15;
        r.Ceros = conservar - 15;
        return r;
    }
    std::memcpy(r.Cifras, digitos, static_cast<std::size_t>(conservar));
    r.Largo = conservar;
    if (digitos[conservar] >= '5') {
        int i = r.Largo;
        while (i > 0 && r.Cifras[i - 1] == '9')
            r.Cifras[--i] = '0';
        if (i == 0) {
            std::memmove(r.Cifras + 1, r.Cifras, static_cast<std::size_t>(r.Largo));
            r.Cifras[0] = '1';
            ++r.Largo;
        } else {
            ++r.Cifras[i - 1];
        }
    }
    if (r.Largo == 0) {
        r.Cifras[0] = '0';
        r.Largo = 1;
    }
    return r;
}

void FormatoFijo(const Cifras15& cifras, bool cero, const MascaraNumero& m, bool& esCero,
                 std::string& salida) {
    // Cifras del valor por 10^Decimales, redondeado a entero.
    Redondeo r;
    if (cero) {
        r.Cifras[0] = '0';
        r.Largo = 1;
    } else {
        r = RedondearCifras(cifras.Digitos, cifras.Exponente + 1 + m.Decimales);
    }
    esCero = std::all_of(r.Cifras, r.Cifras + r.Largo, [](char c) { return c == '0'; });

    // Con ceros delante hasta tener los decimales; la parte entera sin sus ceros de
    // delante y luego con los que pide la máscara. Se copian tramos, no cifra a
    // cifra: un reporte o una revisión formatean miles de números.
    const int delante = std::max(m.Decimales - r.Total(), 0);
    std::string todas(static_cast<std::size_t>(delante), '0');
    todas.append(r.Cifras, static_cast<std::size_t>(r.Largo))
        .append(static_cast<std::size_t>(r.Ceros), '0');
    const std::size_t largoEntero = todas.size() - static_cast<std::size_t>(m.Decimales);
    const std::size_t primera =
        std::min(todas.find_first_not_of('0'), largoEntero); // npos: todo ceros
    std::string enteros(
        static_cast<std::size_t>(std::max(m.Enteros - static_cast<int>(largoEntero - primera), 0)),
        '0');
    enteros.append(todas, primera, largoEntero - primera);

    if (!m.Miles) {
        salida += enteros;
    } else if (!enteros.empty()) {
        // El primer grupo lleva de una a tres cifras; los demás, tres tras una coma.
        std::size_t grupo = enteros.size() % 3 == 0 ? 3 : enteros.size() % 3;
        salida.append(enteros, 0, grupo);
        for (; grupo < enteros.size(); grupo += 3)
            salida.append(1, ',').append(enteros, grupo, 3);
    }
    if (m.Decimales > 0)
        salida.append(1, '.').append(todas, largoEntero, static_cast<std::size_t>(m.Decimales));
}

void FormatoCientifico(const Cifras15& cifras, bool cero, const MascaraNumero& m, bool& esCero,
                       std::string& salida) {
    const int conservar = 1 + m.Decimales;
    Redondeo mantisa;
    int exponente = 0;
    if (cero) {
        mantisa.Ceros = conservar;
    } else {
        mantisa = RedondearCifras(cifras.Digitos, conservar);
        exponente = cifras.Exponente;
        if (mantisa.Total() > conservar) { // 9.999 -> 10.00
            if (mantisa.Ceros > 0)
                --mantisa.Ceros;
            else
                --mantisa.Largo;
            ++exponente;
        }
    }
    esCero = cero;

    salida += mantisa.En(0);
    if (m.Decimales > 0) {
        salida += '.';
        for (int k = 1; k < mantisa.Total(); ++k)
            salida += mantisa.En(k);
    }
    salida += 'E';
    if (exponente < 0)
        salida += '-';
    else if (m.SignoExponente)
        salida += '+';
    char digitosExp[16];
    const char* fin =
        std::to_chars(digitosExp, digitosExp + sizeof digitosExp, std::abs(exponente)).ptr;
    const auto largo = static_cast<int>(fin - digitosExp);
    if (largo < m.CifrasExponente)
        salida.append(static_cast<std::size_t>(m.CifrasExponente - largo), '0');
    salida.append(digitosExp, static_cast<std::size_t>(largo));
}

MascaraNumero LeerCampos(QStringView texto) {
    MascaraNumero m;
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

std::string Formatear(double valor, const MascaraNumero& m) {
    const bool cero = valor == 0 || !std::isfinite(valor);

    Cifras15 cifras{};
    if (!cero) {
        cifras = CifrasDe(std::fabs(valor));
        if (m.Porcentaje) cifras.Exponente += 2; // por 100, exacto en decimal
    }

    // El signo se decide al final: se deja su lugar y se quita si no va.
    std::string salida(1, '-');
    bool esCero = true;
    if (m.Exponente)
        FormatoCientifico(cifras, cero, m, esCero, salida);
    else
        FormatoFijo(cifras, cero, m, esCero, salida);
    if (valor >= 0 || esCero) salida.erase(0, 1);
    if (m.Porcentaje) salida += '%';
    return salida;
}

} // namespace

MascaraNumero LeerMascara(QStringView mascara) {
    MascaraNumero m = LeerCampos(mascara);
    m.Cero = Formatear(0.0, m);
    return m;
}

std::string FormatoAscii(double valor, QStringView mascara) {
    return Formatear(valor, LeerCampos(mascara));
}

std::string FormatoAscii(double valor, const MascaraNumero& mascara) {
    // El cero (y lo que no es finito) ya está escrito: es el valor más común.
    if ((valor == 0 || !std::isfinite(valor)) && !mascara.Cero.empty()) return mascara.Cero;
    return Formatear(valor, mascara);
}

QString Formato(double valor, QStringView mascara) {
    const std::string salida = FormatoAscii(valor, mascara);
    return QString::fromLatin1(salida.data(), static_cast<qsizetype>(salida.size()));
}
