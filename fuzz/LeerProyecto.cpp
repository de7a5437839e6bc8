// Bytes cualesquiera como archivo de proyecto: sin caídas ni fugas, y lo que se
// guarda de lo leído se vuelve a leer y guardar igual.
#include "app/ArchivoProyecto.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    ModuloVarek9 m;
    LeerProyectoDatos(m, QByteArrayView(datos, static_cast<qsizetype>(tamano)),
                      QStringLiteral("fuzz"));
    const QByteArray primera = TextoProyecto(m.Proyecto);
    ModuloVarek9 otro;
    LeerProyectoDatos(otro, primera, QStringLiteral("fuzz"));
    if (TextoProyecto(otro.Proyecto) != primera) std::abort();
    return 0;
}
