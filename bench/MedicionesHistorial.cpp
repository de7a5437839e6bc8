// Deshacer y rehacer en un proyecto de 1000 unidades con 200 pasos en la
// historia, cada uno un pegado que cambia las 1000 unidades: el tiempo de mover
// el último paso y la memoria que ocupa la historia entera.
#include "app/Historial.h"

#include "Muestras.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int Pasos = 200;

// La historia llena: cada paso cambia descripción, CBR y ancho de todas las unidades.
void LlenarHistoria(ModuloVarek9& m, HistorialProyecto& historial, int unidades) {
    LlenarProyectoDeMuestra(m.Proyecto, unidades, 2);
    historial.Vaciar();
    for (int paso = 1; paso <= Pasos; ++paso) {
        for (int i = 1; i <= unidades; ++i) {
            UnidadHomogenea& u = m.Proyecto.UH[i];
            u.Descripcion = QStringLiteral("Tramo %1 pegado en el paso %2").arg(i).arg(paso);
            u.CBR = 3 + (i * 7 + paso) % 400 / 10.0;
            u.AnchoCorona = 6 + (i + paso) % 30 / 10.0;
        }
        historial.Registrar(QStringLiteral("Pegar %1 filas").arg(unidades));
    }
}

void MedirHistorial(benchmark::State& estado, bool deshacer) {
    ModuloVarek9 m;
    HistorialProyecto historial(m);
    const int unidades = static_cast<int>(estado.range(0));
    LlenarHistoria(m, historial, unidades);
    if (historial.Pila().count() != Pasos) estado.SkipWithError("faltan pasos");
    if (!deshacer) historial.Deshacer();
    for (auto _ : estado) {
        if (!(deshacer ? historial.Deshacer() : historial.Rehacer()))
            estado.SkipWithError("sin paso que mover");
        // La vuelta no se mide: deja la historia como estaba.
        estado.PauseTiming();
        if (deshacer)
            historial.Rehacer();
        else
            historial.Deshacer();
        estado.ResumeTiming();
    }
    estado.counters["MB_historia"] = double(historial.Bytes()) / (1024 * 1024);
    estado.counters["pasos"] = historial.Pila().count();
}

const auto* const RegistroDeshacer =
    benchmark::RegisterBenchmark("Deshacer", [](benchmark::State& e) { MedirHistorial(e, true); })
        -> Arg(1000) -> Unit(benchmark::kMillisecond);
const auto* const RegistroRehacer =
    benchmark::RegisterBenchmark("Rehacer", [](benchmark::State& e) { MedirHistorial(e, false); })
        -> Arg(1000) -> Unit(benchmark::kMillisecond);

} // namespace
