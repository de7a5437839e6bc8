// Hojas de cálculo de 1000 unidades: el libro de resultados (diseño, verificación,
// cantidades y el XLSX escrito) y la lectura de un libro de unidades hasta el
// texto que se pega en la tabla.
#include "alternatives/HojaResultados.h"

#include "Muestras.h"

#include <benchmark/benchmark.h>

namespace {

void MedirHoja(benchmark::State& estado) {
    if (!HayEscrituraXlsx()) {
        estado.SkipWithError("sin XLSX");
        return;
    }
    ModuloVarek9 m;
    ProyectoDeDiseno(m, static_cast<int>(estado.range(0)));
    EstadoDiseno diseno;
    for (auto _ : estado) {
        QString error;
        const QByteArray bytes = BytesXlsx(LibroResultados(m, diseno), &error);
        if (bytes.isEmpty()) estado.SkipWithError("no se escribió");
        benchmark::DoNotOptimize(bytes.constData());
    }
}

const auto* const Registro =
    benchmark::RegisterBenchmark("Hoja", MedirHoja) -> Arg(1000) -> Unit(benchmark::kMillisecond);

} // namespace
