// Cantidades de obra de la selección de 1000 unidades: el diseño de cada unidad
// (como al llenar la grilla) y la suma de sus cantidades por material. Y la
// verificación estructural de las seis alternativas de las mismas unidades.
#include "alternatives/Cantidades.h"
#include "alternatives/Verificacion.h"

#include "Muestras.h"

#include <benchmark/benchmark.h>

namespace {

void MedirCantidades(benchmark::State& estado) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, static_cast<int>(estado.range(0)));
    EstadoDiseno diseno;
    for (auto _ : estado) {
        const CantidadesProyecto c = CalcularCantidades(m, diseno);
        if (c.Unidades.size() != estado.range(0)) estado.SkipWithError("faltan unidades");
        benchmark::DoNotOptimize(c.CostoSeleccion);
    }
}

const auto* const Registro = benchmark::RegisterBenchmark("Cantidades", MedirCantidades)
                                 -> Arg(1000) -> Unit(benchmark::kMillisecond);

void MedirVerificacion(benchmark::State& estado) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, static_cast<int>(estado.range(0)));
    EstadoDiseno diseno;
    for (auto _ : estado) {
        const QList<VerificacionUnidad> v = VerificarProyecto(m, diseno);
        if (v.size() != estado.range(0)) estado.SkipWithError("faltan unidades");
        benchmark::DoNotOptimize(v.constData());
    }
}

const auto* const RegistroVerificacion =
    benchmark::RegisterBenchmark("Verificacion", MedirVerificacion) -> Arg(1000)
        -> Unit(benchmark::kMillisecond);

} // namespace
