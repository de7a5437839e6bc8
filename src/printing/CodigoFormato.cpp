#include "printing/CodigoFormato.h"

#include "common/ModuloLibzrl.h"

namespace {

// Una posición rellena (código 0) o sin cifra, como el "-", vale 0.
int Cifra(QChar c) {
    return (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0;
}

int TamanoLetra(int cifra) {
    switch (cifra) {
    case 1:
        return 8;
    case 2:
        return 10;
    case 3:
        return 14;
    case 4:
        return 6;
    case 5:
        return 7;
    case 6:
        return 20;
    case 7:
        return 11;
    default:
        return 12;
    }
}

} // namespace

QString CodigoFormato(int numero) {
    // Relleno por delante con el carácter de código 0; un número más largo no
    // se corta, pero solo cuentan sus cuatro primeros caracteres.
    const QString texto = Justificar(QString::number(numero), 4, 0, 0);
    const int d1 = Cifra(texto[0]);
    const int d2 = Cifra(texto[1]);
    const int d3 = Cifra(texto[2]);
    const int d4 = Cifra(texto[3]);
    // El estilo 6 y la alineación 7 solo se leen: aquí no se pueden producir.
    const int estilo = d3 <= 4 ? d3 + 1 : 1;
    const int alineacion = d4 <= 5 ? d4 + 1 : 1;
    QString prefijo(4, QChar());
    prefijo[0] = QChar(static_cast<char16_t>(d1 + 1));
    prefijo[1] = QChar(static_cast<char16_t>(TamanoLetra(d2)));
    prefijo[2] = QChar(static_cast<char16_t>(estilo));
    prefijo[3] = QChar(static_cast<char16_t>(alineacion));
    return prefijo;
}

QString CodigoFormato() {
    return CodigoFormato(0);
}
