// Bytes cualesquiera pegados en la grilla de unidades y revisados: sin caídas,
// con memoria acotada (una fila por salto de línea), una tabla coherente con el
// proyecto y una revisión que, repetida, ya no cambia nada (se repite en una de
// cada ocho entradas; el mensaje se revisa en una de cada cuatro).
#include "units/PortapapelesGrilla.h"
#include "units/RevisionUH.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>

namespace {

// Las tres unidades, una fila vacía y el encabezado: cada fila cuesta dos revisiones.
constexpr int FilasIniciales = 5;

// Las filas 1..NumeroUH con código y las demás vacías. Se leen las celdas de
// la lista, sin crear textos: esta revisión corre dos veces por entrada.
void VerificarTabla(const Proyecto& p, const TablaTextos& t) {
    if (p.NumeroUH < 0 || p.NumeroUH > t.Filas() - 1 || p.NumeroUH > p.CapacidadUH()) std::abort();
    if (t.Columnas() != ColumnasUH) std::abort();
    char cifras[16];
    for (int f = 1; f < t.Filas(); ++f) {
        const QString* fila = t.Celdas().constData() + qsizetype(f) * ColumnasUH;
        const char* fin = std::to_chars(cifras, cifras + sizeof cifras, f).ptr;
        if (fila[0] != QLatin1StringView(cifras, fin - cifras)) std::abort();
        const bool conCodigo = !fila[ColCodigoTramo].isEmpty();
        if (conCodigo != (f <= p.NumeroUH)) std::abort();
        if (f <= p.NumeroUH && fila[ColCodigoTramo] != p.UH[f].CodigoTramo) std::abort();
        for (int c = 1; f > p.NumeroUH && c < ColumnasUH; ++c)
            if (!fila[c].isEmpty()) std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    // Un proyecto pequeño y una tabla corta: el pegado la hace crecer. El módulo se
    // reutiliza entre entradas y se limpia al final de cada una.
    static ModuloVarek9 m;
    Proyecto& p = m.Proyecto;
    p.NumeroUH = 3;
    p.UH[1].CodigoTramo = QStringLiteral("B");
    p.UH[2].CodigoTramo = QStringLiteral("A");
    p.UH[2].AbscisaInicial = 200;
    p.UH[3].CodigoTramo = QStringLiteral("A");
    p.UH[3].N82 = QStringList{QStringLiteral("línea")};
    // La tabla cargada es siempre la misma: se arma una vez y se copia.
    static const TablaTextos inicial = [] {
        TablaTextos t(FilasIniciales, ColumnasUH);
        NumerarFilas(t);
        CargarUH(m.Proyecto, t);
        return t;
    }();
    TablaTextos t = inicial;

    const QString texto = DecodificarTextoUnidades(
        QByteArrayView(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano)));
    // La celda donde empieza el pegado sale del tamaño de la entrada.
    const int fila = 1 + static_cast<int>(tamano % (FilasIniciales - 1));
    const int columna = 1 + static_cast<int>((tamano / 11) % 15);
    // Como la ventana: cada celda leída con la convención del bloque (la
    // preferencia sale también del tamaño) y el mensaje armado.
    const SeparadorDecimal preferencia =
        tamano % 2 ? SeparadorDecimal::Coma : SeparadorDecimal::Punto;
    const ResultadoPegado pegado = PegarUH(t, texto, fila, columna, preferencia);
    // Lo que el pegado tuvo que decir llega al mensaje. Armarlo cuesta la mitad del
    // pegado: se arma en una de cada cuatro entradas, por los bits quinto y sexto del
    // tamaño.
    if ((tamano / 16) % 4 == 0 && !pegado.Notas.isEmpty() &&
        TextoPegado(pegado, preferencia).isEmpty())
        std::abort();
    if (t.Columnas() != ColumnasUH) std::abort();
    if (t.Filas() > FilasIniciales + texto.count(u'\n') + texto.count(u'\r')) std::abort();
    // Una celda de lista tiene una entrada de su lista (tramo y segmento, su
    // código) o nada.
    for (int f = 1; f < t.Filas(); ++f)
        for (int c = 1; c < ColumnasUH; ++c) {
            const QString& celda = t.Texto(f, c);
            if (!EsColumnaListaUH(c) || celda.isEmpty()) continue;
            const bool codigo = c == ColTipoTramo || c == ColTipoSegmento;
            const QStringList& entradas = EntradasListaUH(c);
            if (std::none_of(entradas.begin(), entradas.end(), [&](const QString& e) {
                    return codigo ? QStringView(e).left(1) == celda : e == celda;
                }))
                std::abort();
        }

    const int cursor = RevisarUH(p, t, fila);
    if (cursor < 1 || cursor >= t.Filas()) std::abort();
    VerificarTabla(p, t);

    // La segunda revisión guarda lo que la primera mostró: lo que se ve no cambia, ni
    // el orden de las filas (la clave de orden termina en el índice de la unidad). Cuesta
    // tanto como la primera: se repite en una de cada ocho entradas, por su largo (sin
    // atarlo a la fila, la columna ni la convención, que salen de otras cifras), que
    // el fuzzer cambia a voluntad. Con la tabla igual, VerificarTabla daría lo mismo.
    const int unidades = p.NumeroUH;
    if ((tamano / 4) % 8 == 0) {
        const TablaTextos vista = t;
        RevisarUH(p, t, cursor);
        if (p.NumeroUH != unidades || t != vista) std::abort();
    }

    // RevisarUH solo escribe las unidades 1..NumeroUH: se limpian esas y las tres
    // del comienzo, y la capacidad vuelve a la inicial. NuevoProyectoDatos
    // compararía además las mil restantes en cada entrada.
    for (int i = 1; i <= std::min(std::max(unidades, 3), p.CapacidadUH()); ++i)
        p.UH[i] = UnidadHomogenea{};
    p.UH.resize(CapacidadInicialUH + 1);
    p.NumeroUH = 0;
    return 0;
}
