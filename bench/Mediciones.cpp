// Mediciones de los caminos cuyo costo crece con el proyecto.
#include "app/ArchivoProyecto.h"
#include "app/ModuloVarek9.h"
#include "app/Solucionador.h"

#include "Muestras.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void MedirLeerProyecto(benchmark::State& estado) {
    ModuloVarek9 fuente;
    // Cada unidad con 20 líneas en N82, CLIMA y MR.
    LlenarProyectoDeMuestra(fuente.Proyecto, static_cast<int>(estado.range(0)), 20);
    const QByteArray datos = TextoProyecto(fuente.Proyecto);
    ModuloVarek9 m;
    for (auto _ : estado) {
        const AvisoLectura aviso = LeerProyectoDatos(m, datos, QStringLiteral("medicion"));
        benchmark::DoNotOptimize(aviso.HayAviso);
    }
    estado.SetBytesProcessed(estado.iterations() * datos.size());
}

void MedirGuardarProyecto(benchmark::State& estado) {
    ModuloVarek9 m;
    LlenarProyectoDeMuestra(m.Proyecto, static_cast<int>(estado.range(0)), 20);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("medicion.vk9"));
    for (auto _ : estado) {
        const ErrorEscritura e = GuardarProyectoEn(m, ruta);
        if (!e.Ok) estado.SkipWithError("no se pudo escribir");
    }
}

void MedirCalcularZr(benchmark::State& estado) {
    double r = 90;
    for (auto _ : estado) {
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(CalcularZr(r / 100 - 0.5));
    }
}

void MedirNumeroEstructural(benchmark::State& estado) {
    const double mr = 2555 * std::pow(10.0, 0.64); // CBR 10
    const double zr = -CalcularZr(0.4);
    double w18 = 10000;
    for (auto _ : estado) {
        benchmark::DoNotOptimize(w18);
        benchmark::DoNotOptimize(NumeroEstructural(w18, zr, 0.44, 2.2, mr));
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("LeerProyecto", MedirLeerProyecto)
        ->Arg(1000)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("GuardarProyecto", MedirGuardarProyecto)
        ->Arg(1000)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("CalcularZr", MedirCalcularZr);
    benchmark::RegisterBenchmark("NumeroEstructural", MedirNumeroEstructural);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
