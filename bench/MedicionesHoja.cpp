// Hojas de cálculo de 1000 unidades: el libro de resultados (diseño, verificación,
// cantidades y el XLSX escrito) y la lectura de un libro de unidades hasta el
// texto que se pega en la tabla, de un XLSX y de un CSV.
#include "alternatives/HojaResultados.h"
#include "units/ImportarUH.h"

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

// Leer el archivo y dejar sus filas en una tabla vacía, una y otra vez.
void MedirImportacion(benchmark::State& estado, const QByteArray& archivo) {
    TablaTextos tabla(FilasInicialesUH, ColumnasUH);
    NumerarFilas(tabla);
    for (auto _ : estado) {
        const ImportacionUH imp =
            PrepararImportacionUH(tabla, 0, LeerUnidadesArchivo(archivo), SeparadorDecimal::Coma);
        if (imp.Lectura.Filas.size() != estado.range(0)) estado.SkipWithError("faltan filas");
        benchmark::DoNotOptimize(imp.Tabla.Filas());
    }
    estado.SetBytesProcessed(estado.iterations() * archivo.size());
}

// Importar un libro de 1000 unidades (la hoja "Unidades" de los resultados): leer el
// XLSX, repartir sus columnas por título y dejar las filas en la tabla con sus notas.
void MedirImportarXlsx(benchmark::State& estado) {
    if (!HayEscrituraXlsx() || !HayLecturaXlsx()) {
        estado.SkipWithError("sin XLSX");
        return;
    }
    ModuloVarek9 m;
    ProyectoDeDiseno(m, static_cast<int>(estado.range(0)));
    EstadoDiseno diseno;
    QString error;
    const QByteArray libro = BytesXlsx(LibroResultados(m, diseno), &error);
    MedirImportacion(estado, libro);
}

const auto* const RegistroImportar = benchmark::RegisterBenchmark("ImportarXlsx", MedirImportarXlsx)
                                         -> Arg(1000) -> Unit(benchmark::kMillisecond);

// Importar un CSV de 1000 unidades como lo guarda una hoja en español: títulos de la
// grilla, punto y coma y los números como los muestra la tabla (coma decimal).
void MedirImportarCsv(benchmark::State& estado) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, static_cast<int>(estado.range(0)));
    TablaTextos cargada(m.Proyecto.NumeroUH + 1, ColumnasUH);
    NumerarFilas(cargada);
    CargarUH(m.Proyecto, cargada);
    QString csv;
    for (int f = 0; f <= m.Proyecto.NumeroUH; ++f) {
        QStringList celdas;
        for (int c = 1; c < ColumnasUH; ++c)
            celdas << u'"' + (f == 0 ? NombreColumnaUH(c) : cargada.Texto(f, c)) + u'"';
        csv += celdas.join(u';') + QStringLiteral("\r\n");
    }
    const QByteArray bytes = csv.toUtf8();
    MedirImportacion(estado, bytes);
}

const auto* const RegistroCsv = benchmark::RegisterBenchmark("ImportarCsv", MedirImportarCsv)
                                    -> Arg(1000) -> Unit(benchmark::kMillisecond);

} // namespace
