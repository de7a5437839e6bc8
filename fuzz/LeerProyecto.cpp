// Bytes cualesquiera como archivo de proyecto: sin caídas ni fugas, y lo que se
// guarda de lo leído se vuelve a leer y guardar igual. Lo guardado siempre se lee
// completo: a lo sumo avisa los valores negativos que ya traía.
#include "project/ArchivoProyecto.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    ModuloVarek9 m;
    LeerProyectoDatos(m, QByteArrayView(datos, static_cast<qsizetype>(tamano)),
                      QStringLiteral("fuzz"));
    const QByteArray primera = TextoProyecto(m.Proyecto);
    ModuloVarek9 otro;
    const AvisoLectura aviso = LeerProyectoDatos(otro, primera, QStringLiteral("fuzz"));
    if (TextoProyecto(otro.Proyecto) != primera) std::abort();
    if (aviso.Hallazgos.size() > 1) std::abort();
    if (aviso.HayAviso && !aviso.Texto.contains(QStringLiteral("valores negativos"))) std::abort();
    return 0;
}
