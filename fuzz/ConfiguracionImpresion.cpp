// Bytes cualesquiera como "Imprime.set": la lectura no cae y el registro queda
// dentro de sus límites.
#include "printing/ConfiguracionImpresion.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    ConfiguracionImpresion c;
    LeerArchivoConfiguracion(c, QByteArrayView(datos, static_cast<qsizetype>(tamano)));
    if (c.Puertos.size() > MaximoPuertosNombrados) std::abort();
    for (const PuertoNombrado& p : c.Puertos)
        if (p.Nombre.isEmpty() || p.Puerto.isEmpty() || p.Nombre.contains(u' ')) std::abort();
    (void)c.LineasPorPagina();
    (void)TextoConfiguracionImpresion(c);
    return 0;
}
