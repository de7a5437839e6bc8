// Bytes cualesquiera como hoja de cálculo (XLSX si son un zip, si no CSV): sin
// caídas, y un CSV leído dice su separador y su codificación.
#include "common/LibroHoja.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    const QByteArray bytes(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
    const LecturaHoja hoja = LeerHoja(bytes);
    const LecturaHoja csv = LeerCsv(bytes);
    if (csv.Error.isEmpty()) {
        const QChar d = csv.Delimitador;
        if (d != u';' && d != u',' && d != u'\t') std::abort();
        if (csv.Codificacion.isEmpty()) std::abort();
    }
    // La hoja leída de un libro es una de las suyas, también la pedida por nombre.
    const LecturaHoja otra = LeerXlsx(bytes, QStringLiteral("Unidades"));
    for (const LecturaHoja* l : {&hoja, &otra})
        if (l->Error.isEmpty() && !l->Hoja.isEmpty() && !l->Hojas.contains(l->Hoja)) std::abort();
    return 0;
}
