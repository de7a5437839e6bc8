// Cantidades de obra de la selección de 1000 unidades: el diseño de cada unidad
// (como al llenar la grilla) y la suma de sus cantidades por material. Y la
// verificación estructural de las seis alternativas de las mismas unidades, y las
// tres curvas de sensibilidad (100 puntos cada una) de una de ellas, con sus trazos.
#include "alternatives/Cantidades.h"
#include "alternatives/PintarSensibilidad.h"
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

void MedirSensibilidad(benchmark::State& estado) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, 1000);
    for (auto _ : estado) {
        const QList<CurvaSensibilidad> c = CalcularSensibilidad(m, 500, 100);
        if (c.size() != 3) estado.SkipWithError("faltan curvas");
        const DibujoSensibilidad d = DibujarSensibilidad(c, QString(), SeparadorDecimal::Coma);
        benchmark::DoNotOptimize(d.Trazos.constData());
    }
}

const auto* const RegistroSensibilidad =
    benchmark::RegisterBenchmark("Sensibilidad", MedirSensibilidad)
        -> Unit(benchmark::kMillisecond);

} // namespace
