#include "units/PortapapelesGrilla.h"

#include "common/EntradaDatos.h"
#include "common/ModuloLibzrl.h"
#include "common/Texto.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

bool FilaVacia(const TablaTextos& tabla, int fila, int primeraColumna) {
    for (int c = primeraColumna; c < tabla.Columnas(); ++c)
        if (!tabla.Texto(fila, c).isEmpty()) return false;
    return true;
}

} // namespace

QString CopiarTexto(const TablaTextos& tabla, int primeraFila, int primeraColumna,
                    bool pararEnVacia) {
    int ultima = tabla.Filas() - 1;
    if (pararEnVacia) {
        ultima = primeraFila - 1;
        while (ultima + 1 < tabla.Filas() && !FilaVacia(tabla, ultima + 1, primeraColumna))
            ++ultima;
    } else {
        while (ultima >= primeraFila && FilaVacia(tabla, ultima, primeraColumna))
            --ultima;
        // Todo vacío: se copia hasta la última fila, como celdas vacías.
        if (ultima < primeraFila) ultima = tabla.Filas() - 1;
    }

    QString texto;
    for (int f = primeraFila; f <= ultima; ++f) {
        for (int c = primeraColumna; c < tabla.Columnas(); ++c) {
            // Se aparta a propósito de lo original: los números van con su valor exacto,
            // no con lo que muestra la máscara; pegarlos de vuelta da lo mismo.
            if (const auto valor = tabla.Valor(f, c))
                texto += TextoExacto(*valor, tabla.Separador());
            else
                texto += QuitarControles(tabla.Texto(f, c), true);
            texto += c + 1 < tabla.Columnas() ? u'\t' : u'\n';
        }
    }
    if (texto.endsWith(u'\n')) texto.chop(1);
    return texto;
}

qsizetype SaltosDeLinea(QStringView texto) {
    // Las cuentas de Qt, no un recorrido por carácter: el pegado cuenta dos veces.
    return texto.count(u'\r') + texto.count(u'\n') - texto.count(u"\r\n");
}

void PegarTexto(TablaTextos& tabla, QStringView texto, int filaInicio, int columnaInicio,
                bool agregarFilas, bool agregarColumnas) {
    // Un salto de línea es un CR, un LF o un CR LF.
    const auto esSalto = [&](qsizetype i) {
        return texto[i] == u'\r' || (texto[i] == u'\n' && (i == 0 || texto[i - 1] != u'\r'));
    };
    // Las filas que el pegado agrega se ponen de una vez: crecer fila por fila
    // copiaría la tabla en cada salto de línea. Cada salto pasado de la última
    // fila agrega una.
    if (agregarFilas) {
        const qsizetype libres = std::max(0, tabla.Filas() - 1 - filaInicio);
        const qsizetype nuevas = SaltosDeLinea(texto) - libres;
        if (nuevas > 0) tabla.PonerFilas(tabla.Filas() + int(nuevas));
    }
    int r = filaInicio;
    int c = columnaInicio;
    qsizetype inicio = 0;
    const auto escribir = [&](qsizetype fin) {
        if (agregarColumnas && c > tabla.Columnas() - 1) tabla.PonerColumnas(c + 1);
        if (c <= tabla.Columnas() - 1)
            tabla.PonerTexto(r, c, texto.sliced(inicio, fin - inicio).toString());
    };
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar ch = texto[i];
        if (ch != u'\t' && ch != u'\r' && ch != u'\n') continue;
        // El LF de un CR LF no abre otra fila.
        if (ch == u'\n' && !esSalto(i)) {
            inicio = i + 1;
            continue;
        }
        escribir(i);
        ++c;
        if (ch != u'\t') {
            c = columnaInicio;
            // Sin agregar filas, el pegado termina en la última.
            if (++r > tabla.Filas() - 1) return;
        }
        inicio = i + 1;
    }
    // Un salto de línea al final no escribe ninguna celda más.
    if (inicio < texto.size()) escribir(texto.size());
}

QString DecodificarTextoUnidades(QByteArrayView datos) {
    const auto empieza = [&](const char* marca, qsizetype largo) {
        return datos.size() >= largo && datos.first(largo) == QByteArrayView(marca, largo);
    };
    if (empieza("\xEF\xBB\xBF", 3)) return QString::fromUtf8(datos.sliced(3));
    // La marca de UTF-16 la salta el decodificador.
    if (empieza("\xFF\xFE", 2)) {
        QStringDecoder decodificador(QStringDecoder::Utf16LE);
        return decodificador.decode(datos);
    }
    if (empieza("\xFE\xFF", 2)) {
        QStringDecoder decodificador(QStringDecoder::Utf16BE);
        return decodificador.decode(datos);
    }
    return DecodificarAnsi(datos);
}
