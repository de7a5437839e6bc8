// Bytes cualesquiera como reporte: prepaso y cola del puerto de texto sin caídas,
// con las cuentas del prepaso coherentes con la copia de texto.
#include "printing/Paginacion.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    if (tamano < 4) return 0;
    // Los primeros bytes eligen líneas por página, rango y copias.
    ParametrosImpresion p;
    p.LineasPorPagina = 4 + datos[0] % 60;
    p.Desde = datos[1] % 5;
    p.Hasta = datos[2] % 7;
    p.Copias = datos[3] % 3;
    p.Fecha = "01/02/2026 03:04:05";
    const QByteArrayView reporte(datos + 4, static_cast<qsizetype>(tamano - 4));

    QByteArray copia;
    const ResumenReporte r = CargarProyecto(reporte, p.LineasPorPagina, &copia);
    const auto saltos = std::count(copia.begin(), copia.end(), '\f');
    // Un salto por página nueva (el último, si cierra el reporte, no cuenta página),
    // más los que traiga el propio texto.
    const auto enTexto = std::count(reporte.begin(), reporte.end(), '\f');
    if (saltos < r.TotalPaginas - 1 || saltos > r.TotalPaginas + enTexto) std::abort();
    if (r.AnchoMaximo < 80 || r.TotalLineas < 0 || r.LineasEncabezado < 0) std::abort();

    bool ok = true;
    const QByteArray cola = TextoDos(reporte, r, p, &ok);
    // Cada línea impresa crece a lo sumo hasta el ancho más el marcador de fecha.
    const qsizetype limite =
        (reporte.size() + 2) * (r.AnchoMaximo + 64) * std::max(p.Copias, 1) * 4 + 1024;
    if (cola.size() > limite) std::abort();
    return 0;
}
