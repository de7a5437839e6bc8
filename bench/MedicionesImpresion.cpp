// Mediciones de la impresión: prepaso y puerto de texto, y PDF, sobre el reporte
// de espesores de un proyecto de 1000 unidades.
#include "alternatives/Diseno.h"
#include "alternatives/Reportes.h"
#include "printing/ImpresoraQt.h"
#include "printing/TrabajoImpresion.h"

#include "Muestras.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Escribe el reporte 2 del proyecto de diseño de n unidades en la carpeta.
QString ReporteDeEspesores(const QTemporaryDir& dir, int n) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, n);
    EstadoDiseno diseno;
    const QString ruta = dir.filePath(QStringLiteral("r00"));
    if (!EscribirReporte(2, m, diseno, ruta).Ok) return QString();
    return ruta;
}

void MedirImpresionDos(benchmark::State& estado) {
    QTemporaryDir dir;
    const QString reporte = ReporteDeEspesores(dir, static_cast<int>(estado.range(0)));
    if (reporte.isEmpty()) return estado.SkipWithError("no se escribió el reporte");
    ParametrosImpresion parametros;
    parametros.Fecha = "05/12/2026 10:00:00";
    const QString cola = dir.filePath(QStringLiteral("t00"));
    int paginas = 0;
    for (auto _ : estado) {
        const Prepaso p = PrepararReporte(reporte, parametros.LineasPorPagina);
        const ColaDos c = EscribirColaDos(reporte, p.Resumen, parametros, cola);
        if (!p.Ok || !c.Ok) estado.SkipWithError("no se escribió la cola");
        paginas = p.Resumen.TotalPaginas;
    }
    estado.counters["paginas"] = paginas;
}

void MedirImpresionPdf(benchmark::State& estado) {
    QTemporaryDir dir;
    const QString reporte = ReporteDeEspesores(dir, static_cast<int>(estado.range(0)));
    if (reporte.isEmpty()) return estado.SkipWithError("no se escribió el reporte");
    const ConfiguracionImpresion configuracion;
    ParametrosImpresion parametros;
    parametros.Fecha = "05/12/2026 10:00:00";
    const Prepaso p = PrepararReporte(reporte, parametros.LineasPorPagina);
    int paginas = 0;
    for (auto _ : estado) {
        QPrinter impresora(QPrinter::HighResolution);
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(dir.filePath(QStringLiteral("r00.pdf")));
        const ResultadoImpresora r =
            ImprimirEnImpresora(impresora, reporte, p.Resumen, configuracion, parametros, false);
        if (!r.Ok) estado.SkipWithError("no se imprimió");
        paginas = r.Paginas;
    }
    estado.counters["paginas"] = paginas;
    estado.counters["paginas_por_s"] =
        benchmark::Counter(static_cast<double>(paginas) * static_cast<double>(estado.iterations()),
                           benchmark::Counter::kIsRate);
}

// Se registran al cargar el programa, antes de que main las lance.
const auto* const RegistroDos = benchmark::RegisterBenchmark("ImpresionDos", MedirImpresionDos)
                                    -> Arg(1000) -> Unit(benchmark::kMillisecond);
const auto* const RegistroPdf = benchmark::RegisterBenchmark("ImpresionPdf", MedirImpresionPdf)
                                    -> Arg(1000) -> Unit(benchmark::kMillisecond);

} // namespace
