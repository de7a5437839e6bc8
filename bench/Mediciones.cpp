// Mediciones de los caminos cuyo costo crece con el proyecto.
#include "alternatives/Diseno.h"
#include "alternatives/Reportes.h"
#include "project/ArchivoProyecto.h"
#include "project/ModuloVarek9.h"
#include "project/Solucionador.h"

#include "Muestras.h"
#include "PlataformaGuionada.h"
#include "app/frmVarek9.h"

#include <QApplication>
#include <QDir>

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

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

void MedirDiseno(benchmark::State& estado) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, static_cast<int>(estado.range(0)));
    EstadoDiseno diseno;
    for (auto _ : estado) {
        DisenarProyecto(m, diseno);
        benchmark::DoNotOptimize(diseno.CostoTotal);
    }
}

// Cada reporte del proyecto de diseño escrito a un archivo.
void MedirReporte(benchmark::State& estado, int numero) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, static_cast<int>(estado.range(0)));
    EstadoDiseno diseno;
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("reporte"));
    for (auto _ : estado) {
        if (!EscribirReporte(numero, m, diseno, ruta).Ok) estado.SkipWithError("no se escribió");
    }
}

// Arranque hasta la primera ventana principal mostrada con el proyecto de ejemplo,
// sin contar el acerca de (la plataforma de medición lo cierra en el acto).
void MedirArranque(benchmark::State& estado) {
    QTemporaryDir carpeta;
    const QString anterior = QDir::currentPath();
    QDir::setCurrent(carpeta.path());
    qputenv("VAREK9_DIR_SISTEMA", carpeta.path().toLocal8Bit());
    const QString ejemplo = QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9");
    for (auto _ : estado) {
        ModuloVarek9 modulo;
        PlataformaGuionada plataforma;
        frmVarek9 ventana(modulo, plataforma, ejemplo);
        ventana.show();
        while (!ventana.YaActivado())
            QCoreApplication::processEvents();
        benchmark::DoNotOptimize(modulo.Proyecto.NumeroUH);
    }
    QDir::setCurrent(anterior);
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
    // Ventanas fuera de pantalla: la medición no necesita un escritorio.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("LeerProyecto", MedirLeerProyecto)
        ->Arg(1000)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("GuardarProyecto", MedirGuardarProyecto)
        ->Arg(1000)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Diseno", MedirDiseno)->Arg(1000)->Unit(benchmark::kMillisecond);
    for (int n = 1; n <= 4; ++n)
        benchmark::RegisterBenchmark(("Reporte" + std::to_string(n)).c_str(), MedirReporte, n)
            ->Arg(1000)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Arranque", MedirArranque)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("CalcularZr", MedirCalcularZr);
    benchmark::RegisterBenchmark("NumeroEstructural", MedirNumeroEstructural);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
