// Mediciones del diagrama lineal sobre 1000 unidades: sus datos (diseño incluido),
// pintar todo el camino en una imagen de 1920x1080 y el PDF por páginas; y la
// memoria de diseño entera, que lo lleva dentro.
#include "alternatives/DiagramaLineal.h"
#include "alternatives/Memoria.h"
#include "alternatives/PintarDiagrama.h"

#include "Muestras.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Con un hueco y un solape, para que el dibujo recorra todos sus casos.
ModuloVarek9 Proyecto1000(int n) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, n);
    m.Proyecto.UH[10].AbscisaFinal += 100;
    m.Proyecto.UH[20].EjesEquivalentes = 600000;
    return m;
}

void MedirDiagrama(benchmark::State& estado) {
    ModuloVarek9 m = Proyecto1000(static_cast<int>(estado.range(0)));
    for (auto _ : estado) {
        const DiagramaLineal d = CalcularDiagrama(m);
        benchmark::DoNotOptimize(d.CostoTotal);
    }
}

void MedirDiagramaPintar(benchmark::State& estado) {
    ModuloVarek9 m = Proyecto1000(static_cast<int>(estado.range(0)));
    const DiagramaLineal d = CalcularDiagrama(m);
    const EncabezadoDiagrama e = EncabezadoDe(m);
    QImage imagen(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    const QFont letra = LetraDiagrama();
    const MedidaLetra medida = MedirLetra(letra, &imagen);
    for (auto _ : estado) {
        imagen.fill(Qt::white);
        QPainter p(&imagen);
        p.setFont(letra);
        PintarDiagrama(
            p, d,
            DisponerDiagrama(d, QRectF(imagen.rect()), d.AbscisaMinima, d.AbscisaMaxima, medida),
            TituloDiagrama(e, d.AbscisaMinima, d.AbscisaMaxima, 0, 0));
    }
}

void MedirDiagramaPdf(benchmark::State& estado) {
    ModuloVarek9 m = Proyecto1000(static_cast<int>(estado.range(0)));
    const DiagramaLineal d = CalcularDiagrama(m);
    QTemporaryDir dir;
    const QString archivo = dir.filePath(QStringLiteral("diagrama.pdf"));
    for (auto _ : estado) {
        const QString error = ExportarDiagrama(archivo, d, EncabezadoDe(m));
        if (!error.isEmpty()) estado.SkipWithError("no se pudo escribir el PDF");
    }
    estado.counters["bytes"] = static_cast<double>(QFileInfo(archivo).size());
}

void MedirMemoria(benchmark::State& estado) {
    ModuloVarek9 m = Proyecto1000(static_cast<int>(estado.range(0)));
    QTemporaryDir dir;
    const QString archivo = dir.filePath(QStringLiteral("memoria.pdf"));
    int paginas = 0;
    for (auto _ : estado) {
        const ResultadoMemoria r = EscribirMemoria(archivo, m, OpcionesMemoria());
        if (!r.Error.isEmpty()) estado.SkipWithError("no se pudo escribir la memoria");
        paginas = r.Paginas;
    }
    estado.counters["paginas"] = paginas;
    estado.counters["bytes"] = static_cast<double>(QFileInfo(archivo).size());
}

const auto* const RegistroMemoria = benchmark::RegisterBenchmark("Memoria", MedirMemoria)
                                        -> Arg(1000) -> Unit(benchmark::kMillisecond);
const auto* const RegistroDiagrama = benchmark::RegisterBenchmark("Diagrama", MedirDiagrama)
                                         -> Arg(1000) -> Unit(benchmark::kMillisecond);
const auto* const RegistroPintar =
    benchmark::RegisterBenchmark("DiagramaPintar", MedirDiagramaPintar) -> Arg(1000)
        -> Unit(benchmark::kMillisecond);
const auto* const RegistroPdf = benchmark::RegisterBenchmark("DiagramaPdf", MedirDiagramaPdf)
                                    -> Arg(1000) -> Unit(benchmark::kMillisecond);

} // namespace
