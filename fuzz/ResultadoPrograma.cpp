// Bytes cualesquiera como archivo de resultado de un programa complementario,
// como archivo de líneas y como archivo de la unidad: sin caídas, y lo que se
// escribe de lo leído se vuelve a leer igual.
#include "companions/Programas.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    const QByteArrayView bytes(datos, static_cast<qsizetype>(tamano));

    for (const char16_t* codigo : {u"10", u"11", u"12", u"13", u"99"}) {
        ResultadoPrograma r;
        LeerResultadoPrograma(codigo, bytes, r);
        const bool conResultado = QStringView(codigo) != u"13" && QStringView(codigo) != u"99";
        if (r.HayResultado != conResultado) std::abort();
    }

    const QStringList lineas = LineasDeTexto(bytes);
    const QByteArray escritas = TextoDeLineas(lineas);
    if (LineasDeTexto(escritas) != lineas) std::abort();

    const QByteArray unidad = TextoArchivoUnidad(LeerUnidadIntercambio(bytes));
    if (TextoArchivoUnidad(LeerUnidadIntercambio(unidad)) != unidad) std::abort();
    return 0;
}
