// Mediciones de la ventana de alternativas: abrirla sobre 1000 unidades hasta ver
// la grilla y el dibujo de la primera, y cambiar de fila (diseño y dibujo).
#include "alternatives/frmAlternativas.h"
#include "common/Grilla.h"

#include "Muestras.h"
#include "PlataformaGuionada.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void MedirAbrirAlternativas(benchmark::State& estado) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, static_cast<int>(estado.range(0)));
    PlataformaGuionada plataforma;
    for (auto _ : estado) {
        frmAlternativas v(m, plataforma);
        v.show();
        // Hasta que la grilla y el dibujo están pintados.
        v.repaint();
        QApplication::processEvents();
        if (v.FilaActual() != 2) estado.SkipWithError("la ventana no se llenó");
    }
}

void MedirCambioFilaAlternativas(benchmark::State& estado) {
    ModuloVarek9 m;
    ProyectoDeDiseno(m, 1000);
    PlataformaGuionada plataforma;
    frmAlternativas v(m, plataforma);
    v.show();
    QApplication::processEvents();
    Grilla* grilla = v.findChild<Grilla*>(QStringLiteral("grdUH"));
    int fila = 2;
    for (auto _ : estado) {
        fila = fila >= 501 ? 2 : fila + 1;
        grilla->PonerCelda(fila, 0);
        v.repaint();
        if (v.FilaActual() != fila) estado.SkipWithError("la fila no cambió");
    }
}

const auto* const RegistroAbrir =
    benchmark::RegisterBenchmark("AbrirAlternativas", MedirAbrirAlternativas) -> Arg(1000)
        -> Unit(benchmark::kMillisecond);
const auto* const RegistroCambio =
    benchmark::RegisterBenchmark("CambioFilaAlternativas", MedirCambioFilaAlternativas)
        -> Unit(benchmark::kMillisecond);

} // namespace
