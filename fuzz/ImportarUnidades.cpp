// Bytes cualesquiera importados como unidades (XLSX si son un zip, si no CSV):
// sin caídas, columnas y filas coherentes con lo leído, y todo rechazo dicho en
// el texto que ve el usuario antes de importar.
#include "units/ImportarUH.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    const QByteArray bytes(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
    // Una tabla corta con dos unidades: la importación la hace crecer.
    static const TablaTextos inicial = [] {
        TablaTextos t(4, ColumnasUH);
        NumerarFilas(t);
        t.PonerTexto(1, ColCodigoTramo, QStringLiteral("A"));
        t.PonerTexto(2, ColCodigoTramo, QStringLiteral("B"));
        return t;
    }();
    const SeparadorDecimal preferencia =
        tamano % 2 ? SeparadorDecimal::Coma : SeparadorDecimal::Punto;
    const ImportacionUH imp =
        PrepararImportacionUH(inicial, 2, LeerUnidadesArchivo(bytes), preferencia);
    const LecturaUnidades& l = imp.Lectura;
    if (!l.Error.isEmpty()) {
        if (TextoImportacionUH(imp, preferencia) != l.Error) std::abort();
        return 0;
    }
    if (l.Filas.isEmpty() || l.Filas.size() != l.FilasArchivo.size()) std::abort();
    bool hayCodigo = !l.ConTitulos;
    for (const ColumnaArchivo& c : l.Columnas) {
        if (c.Columna < 0 || c.Columna >= ColumnasUH) std::abort();
        if (c.Columna == ColCodigoTramo) hayCodigo = true;
    }
    if (!hayCodigo) std::abort();
    for (qsizetype i = 0; i < l.Filas.size(); ++i) {
        if (l.Filas[i].size() != ColumnasUH - 1) std::abort();
        if (i > 0 && l.FilasArchivo[i] <= l.FilasArchivo[i - 1]) std::abort();
    }
    if (imp.Tabla.Filas() < imp.Fila + l.Filas.size() || imp.Tabla.Columnas() != ColumnasUH)
        std::abort();
    for (const CeldaNotada& n : imp.Pegado.Notas)
        if (n.Fila < imp.Fila || n.Fila >= imp.Fila + l.Filas.size() || imp.FilaArchivo(n.Fila) < 1)
            std::abort();
    // El texto cuesta tanto como la importación: se arma en una de cada dos entradas,
    // por el segundo bit del tamaño (el primero elige la convención: se ven las dos).
    const bool debeDecir = imp.HayRechazadas() || !imp.SinCodigo.isEmpty();
    if ((tamano / 2) % 2 == 0) {
        const QString texto = TextoImportacionUH(imp, preferencia);
        if (debeDecir && texto.isEmpty()) std::abort();
    }
    // Lo que ya estaba en la tabla no cambia.
    for (int f = 1; f < imp.Fila; ++f)
        for (int c = 0; c < ColumnasUH; ++c)
            if (imp.Tabla.Texto(f, c) != inicial.Texto(f, c)) std::abort();
    return 0;
}
