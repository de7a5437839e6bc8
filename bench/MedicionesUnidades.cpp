// Mediciones de la tabla de unidades: revisión en el núcleo y a través de la
// grilla, apertura de la ventana y pegado con revisión.
#include "Muestras.h"
#include "PlataformaGuionada.h"
#include "common/Grilla.h"
#include "units/PortapapelesGrilla.h"
#include "units/RevisionUH.h"
#include "units/frmUnidadesHomogeneas.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// 999 unidades de muestra cuya tabla tiene los códigos en orden inverso de clave.
struct TablaInversa {
    Proyecto Base;
    TablaTextos Tabla;

    TablaInversa() {
        LlenarProyectoDeMuestra(Base, 999, 3);
        Tabla = PrepararTablaUH(Base);
        for (int f = 1; f <= 999; ++f)
            Tabla.PonerTexto(f, ColCodigoTramo,
                             QStringLiteral("U%1").arg(1000 - f, 3, 10, QChar(u'0')));
    }
};

void MedirRevisarUH(benchmark::State& estado) {
    const TablaInversa datos;
    for (auto _ : estado) {
        estado.PauseTiming();
        Proyecto p = datos.Base;
        p.UH.detach();
        TablaTextos t = datos.Tabla;
        estado.ResumeTiming();
        benchmark::DoNotOptimize(RevisarUH(p, t, 999));
        if (p.UH[1].CodigoTramo != u"U001") estado.SkipWithError("la revisión no ordenó");
    }
}

// Lo mismo a través de la ventana: los textos salen de la grilla y vuelven a ella.
void MedirRevisarUHVentana(benchmark::State& estado) {
    const TablaInversa datos;
    ModuloVarek9 modulo;
    modulo.Proyecto = datos.Base;
    PlataformaGuionada plataforma;
    frmUnidadesHomogeneas ventana(modulo, plataforma);
    ventana.show();
    QApplication::processEvents();
    Grilla& grilla = ventana.Cuadricula();
    for (auto _ : estado) {
        estado.PauseTiming();
        modulo.Proyecto = datos.Base;
        modulo.Proyecto.UH.detach();
        grilla.PonerTextos(datos.Tabla.Filas(), datos.Tabla.Columnas(), datos.Tabla.Celdas());
        ventana.PonerTablaRevisada(false);
        estado.ResumeTiming();
        ventana.RevisarUH();
        if (grilla.Texto(1, ColCodigoTramo) != u"U001")
            estado.SkipWithError("la revisión no ordenó");
    }
}

// Desde crear la ventana hasta que la primera fila está pintada.
void MedirAbrirUnidades(benchmark::State& estado) {
    ModuloVarek9 base;
    LlenarProyectoDeMuestra(base.Proyecto, static_cast<int>(estado.range(0)), 3);
    PlataformaGuionada plataforma;
    for (auto _ : estado) {
        estado.PauseTiming();
        ModuloVarek9 modulo = base;
        modulo.Proyecto.UH.detach();
        estado.ResumeTiming();
        frmUnidadesHomogeneas ventana(modulo, plataforma);
        ventana.show();
        ventana.Cuadricula().viewport()->repaint();
        benchmark::DoNotOptimize(ventana.Cuadricula().Texto(1, ColCodigoTramo));
        estado.PauseTiming();
        ventana.hide();
        estado.ResumeTiming();
    }
}

// 999 líneas de 15 columnas pegadas en la tabla de un proyecto vacío (leídas
// con la convención del bloque, listas y caracteres revisados) y revisadas.
void MedirPegarRevisar(benchmark::State& estado) {
    Proyecto muestra;
    LlenarProyectoDeMuestra(muestra, static_cast<int>(estado.range(0)), 0);
    const QString texto = CopiarTexto(PrepararTablaUH(muestra), 1, ColCodigoTramo);
    Proyecto vacio;
    const TablaTextos inicial = PrepararTablaUH(vacio);
    for (auto _ : estado) {
        Proyecto p;
        TablaTextos t = inicial;
        const ResultadoPegado r = PegarUH(t, texto, 1, ColCodigoTramo, SeparadorDecimal::Coma);
        benchmark::DoNotOptimize(r);
        RevisarUH(p, t, 1);
        if (p.NumeroUH != estado.range(0)) estado.SkipWithError("faltan unidades");
    }
}

const bool Registradas = [] {
    benchmark::RegisterBenchmark("RevisarUH", MedirRevisarUH)
        ->Arg(999)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RevisarUHVentana", MedirRevisarUHVentana)
        ->Arg(999)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("AbrirUnidades", MedirAbrirUnidades)
        ->Arg(1000)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PegarRevisar", MedirPegarRevisar)
        ->Arg(999)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
