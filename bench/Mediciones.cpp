// Mediciones de los caminos cuyo costo crece con el proyecto.
#include "app/ArchivoProyecto.h"
#include "app/ModuloVarek9.h"
#include "app/Solucionador.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// Proyecto de n unidades, cada una con 20 líneas en N82, CLIMA y MR.
void LlenarProyecto(ModuloVarek9& m, int n) {
    Proyecto& p = m.Proyecto;
    p.Nombre = QStringLiteral("Proyecto de medición");
    p.Descripcion = QStringLiteral("Vía terciaria¦Pavimentación");
    p.Ubicacion = QStringLiteral("Santander");
    p.Confiabilidad = 90;
    AplicarReglasDerivadas(p);
    for (int j = 1; j <= NumeroTiposCapa; ++j)
        p.CostosUnitarios[j] = 15000.5 * j;
    p.AsegurarCapacidad(n);
    p.NumeroUH = n;
    for (int i = 1; i <= n; ++i) {
        UnidadHomogenea& u = p.UH[i];
        u.CodigoTramo = QStringLiteral("T%1").arg(i, 4, 10, QLatin1Char('0'));
        u.Descripcion = QStringLiteral("Sector número %1").arg(i);
        u.TipoTramo = QStringLiteral("1");
        u.TipoSegmento = QStringLiteral("A");
        u.AbscisaInicial = 500.0 * (i - 1);
        u.AbscisaFinal = 500.0 * i;
        u.AnchoCorona = 7.3;
        u.EjesEquivalentes = 1000.0 * i + 0.5;
        u.ClimaHumedad = QStringLiteral("Humedo");
        u.ClimaTemperatura = QStringLiteral("Templado");
        u.CBR = 3 + i % 12;
        u.TipoTerreno = QStringLiteral("Ondulado");
        u.TipoAfirmado = QStringLiteral("AFR-1");
        u.EspesorAfirmado = 15;
        u.SNRequerido = 1.2345678 + i / 1000.0;
        u.AlternativaSeleccionada = static_cast<qint16>(1 + i % 6);
        for (int k = 1; k <= 20; ++k) {
            u.N82 << QStringLiteral("Año %1 tránsito acumulado %2").arg(k).arg(1234.5 * k);
            u.CLIMA << QStringLiteral("Mes %1 precipitación %2 mm").arg(k).arg(87.25 * k);
            u.MR << QStringLiteral("Ensayo %1 CBR %2").arg(k).arg(4.5 + k);
        }
    }
}

void MedirLeerProyecto(benchmark::State& estado) {
    ModuloVarek9 fuente;
    LlenarProyecto(fuente, static_cast<int>(estado.range(0)));
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
    LlenarProyecto(m, static_cast<int>(estado.range(0)));
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
