// Bytes cualesquiera como archivo de proyecto: sin caídas ni fugas, y lo que se
// guarda de lo leído se vuelve a leer y guardar igual. Lo guardado siempre se lee
// completo: a lo sumo avisa los valores negativos que ya traía. El módulo se
// reutiliza entre entradas: leer lo reinicia.
#include "project/ArchivoProyecto.h"

#include <cstdint>
#include <cstdlib>

// Los contadores de cobertura distinguen hasta 128 vueltas de un ciclo: guardar
// miles de unidades vacías no abre camino nuevo y haría lenta cada entrada.
constexpr int MaximoUnidadesGuardadas = 256;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    static ModuloVarek9 m;
    LeerProyectoDatos(m, QByteArrayView(datos, static_cast<qsizetype>(tamano)),
                      QStringLiteral("fuzz"));
    if (m.Proyecto.NumeroUH <= MaximoUnidadesGuardadas) {
        const QByteArray primera = TextoProyecto(m.Proyecto);
        const AvisoLectura aviso = LeerProyectoDatos(m, primera, QStringLiteral("fuzz"));
        if (TextoProyecto(m.Proyecto) != primera) std::abort();
        if (aviso.Hallazgos.size() > 1) std::abort();
        if (aviso.HayAviso && !aviso.Texto.contains(QStringLiteral("valores negativos")))
            std::abort();
    }
    // Lo reservado en esta entrada se suelta en ella: el detector de fugas no se dispara.
    NuevoProyectoDatos(m);
    return 0;
}
