// Bytes cualesquiera como hoja de cálculo (XLSX si son un zip, si no CSV): sin
// caídas, y un CSV leído dice su separador y su codificación.
#include "common/LibroHoja.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    const QByteArray bytes(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
    const LecturaHoja hoja = LeerHoja(bytes);
    if (!bytes.startsWith("PK\x03\x04")) {
        // Lo que no es un zip se leyó como CSV.
        if (!hoja.Error.isEmpty()) std::abort();
        const QChar d = hoja.Delimitador;
        if (d != u';' && d != u',' && d != u'\t') std::abort();
        if (hoja.Codificacion.isEmpty()) std::abort();
        return 0;
    }
    // La hoja leída de un libro es una de las suyas. Pedida por su nombre, la última
    // (otra que la primera, que ya se leyó) es esa misma.
    if (!hoja.Error.isEmpty()) return 0;
    if (!hoja.Hojas.contains(hoja.Hoja)) std::abort();
    // Releer el libro cuesta tanto como leerlo: en una de cada dos entradas basta.
    // Una hoja sin nombre no se puede pedir: el nombre vacío es la primera.
    if (hoja.Hojas.size() < 2 || hoja.Hojas.last().isEmpty() || tamano % 2 != 0) return 0;
    const LecturaHoja otra = LeerXlsx(bytes, hoja.Hojas.last());
    if (otra.Error.isEmpty() && otra.Hoja != hoja.Hojas.last()) std::abort();
    return 0;
}
