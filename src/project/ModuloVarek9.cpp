#include "project/ModuloVarek9.h"

#include "project/Solucionador.h"

#include <algorithm>
#include <cstring>

void Proyecto::AsegurarCapacidad(int n) {
    if (n > CapacidadUH()) UH.resize(n + 1);
}

void NuevoProyectoDatos(ModuloVarek9& modulo) {
    Proyecto& p = modulo.Proyecto;
    // Una capacidad ampliada por un proyecto anterior no se conserva, pero su memoria
    // sí: la próxima ampliación no vuelve a reservar. Se limpian las unidades en uso
    // y, si el resto no es idéntico byte a byte a unidades vacías, también el resto.
    static const QVector<UnidadHomogenea> vacias(CapacidadInicialUH + 1);
    p.UH.resize(vacias.size());
    const int enUso = std::clamp(p.NumeroUH, 0, CapacidadInicialUH);
    for (int i = 0; i <= enUso; ++i)
        p.UH[i] = UnidadHomogenea{};
    const qsizetype resto = vacias.size() - (enUso + 1);
    if (std::memcmp(static_cast<const void*>(p.UH.constData() + enUso + 1),
                    static_cast<const void*>(vacias.constData() + enUso + 1),
                    sizeof(UnidadHomogenea) * static_cast<std::size_t>(resto)) != 0)
        for (qsizetype i = enUso + 1; i < p.UH.size(); ++i)
            p.UH[i] = UnidadHomogenea{};
    p.NumeroUH = 0;
}

namespace {

struct FilaCatalogo {
    const char16_t* Codigo;
    const char16_t* Descripcion;
    const char16_t* Unidad;
    std::array<double, 3> a;
    std::array<double, 5> m;
    double Modulo;
};

constexpr std::array<double, 5> DrenajeGranular = {1.15, 1.05, 1.00, 0.95, 0.85};
constexpr std::array<double, 5> DrenajeUno = {1.0, 1.0, 1.0, 1.0, 1.0};
constexpr std::array<double, 5> DrenajeCero = {0, 0, 0, 0, 0};

const std::array<FilaCatalogo, NumeroTiposCapa> Catalogo = {{
    {u"TSD", u"Tratamiento Superficial Doble (Articulo INV 431)", u"m²", {0, 0, 0}, DrenajeUno, 0},
    {u"BG", u"Base Granular (Articulo INV 330)", u"m³", {0.14, 0.14, 0.14}, DrenajeGranular, 30000},
    {u"SBG",
     u"Subbase Granular (Articulo INV 320)",
     u"m³",
     {0.12, 0.12, 0.12},
     DrenajeGranular,
     16000},
    {u"BEC",
     u"Suelo Estabilizado con Cemento Portland (Articulo INV 341)",
     u"m³",
     {0.14, 0.14, 0.14},
     DrenajeUno,
     570000},
    {u"MDF-2",
     u"Mezcla Densa en Frío Tipo 2 (Articulo INV 440)",
     u"m³",
     {0.40, 0.37, 0.34},
     DrenajeUno,
     0},
    {u"BEE-3",
     u"Suelo Estabilizado con Emulsión (Articulo INV 340)",
     u"m³",
     {0.14, 0.14, 0.14},
     DrenajeUno,
     570000},
    {u"MDC-2",
     u"Mezcla Densa en Caliente Tipo 2 (Articulo INV 450)",
     u"m³",
     {0.44, 0.41, 0.37},
     DrenajeUno,
     0},
    {u"CSR", u"Capa de Subrasante (Articulo INV 220)", u"m³", {0, 0, 0}, DrenajeGranular, 0},
    {u"AFR", u"Afirmado (Articulo INV 311) + Geotextil", u"m³", {0, 0, 0}, DrenajeGranular, 0},
    {u"Subrasante", u"Subrasante Natural", u"", {0, 0, 0}, DrenajeCero, 0},
    {u"GEO", u"Geotextil", u"m²", {0, 0, 0}, DrenajeCero, 0},
}};

// Una ranura de plantilla: tipo, espesor inicial, mínimos y banderas.
struct Ranura {
    short Tipo;
    double EspesorInicial = 0;
    double MinimoBajo = 0;
    double MinimoAlto = 0;
    bool DisenoPorCapas = false;
    bool Opcional = false;
};

struct Plantilla {
    std::array<Ranura, 3> Ranuras;
    double CBRMinimo;
};

const std::array<Plantilla, NumeroAlternativas> Plantillas = {{
    {{{{CapaTSD}, {CapaBG, 200}, {CapaSBG, 0, 150, 150}}}, 0},
    {{{{CapaTSD}, {CapaBG, 0, 150, 150}, {CapaBEC, 200}}}, 5},
    {{{{CapaMDF2, 0, 50, 75, true}, {CapaBG, 0, 150, 150, true}, {CapaSBG, 0, 150, 150}}}, 0},
    {{{{CapaMDF2, 0, 50, 75, true}, {CapaBEE3, 150}, {CapaSBG, 0, 150, 150, false, true}}}, 10},
    {{{{CapaMDC2, 0, 50, 75, true}, {CapaBG, 0, 150, 150, true}, {CapaSBG, 0, 150, 150}}}, 0},
    {{{{CapaMDC2, 0, 50, 75, true}, {CapaBG, 0, 150, 150, true}, {CapaBEC, 200}}}, 0},
}};

// El catálogo armado una sola vez: el diseño lo reescribe en cada unidad y así
// solo se copian referencias a textos ya hechos.
const std::array<TipoCapa, NumeroTiposCapa + 1>& CatalogoFijo() {
    static const std::array<TipoCapa, NumeroTiposCapa + 1> catalogo = [] {
        std::array<TipoCapa, NumeroTiposCapa + 1> c{};
        for (int i = 1; i <= NumeroTiposCapa; ++i) {
            const FilaCatalogo& f = Catalogo[i - 1];
            TipoCapa& t = c[i];
            t.Codigo = QString::fromUtf16(f.Codigo);
            t.Descripcion = QString::fromUtf16(f.Descripcion);
            t.Unidad = QString::fromUtf16(f.Unidad);
            for (int k = 1; k <= 3; ++k)
                t.CoefEstructural[k] = f.a[k - 1];
            for (int k = 1; k <= 5; ++k)
                t.CoefDrenaje[k] = f.m[k - 1];
            t.Modulo = f.Modulo;
        }
        return c;
    }();
    return catalogo;
}

// Las seis estructuras por defecto, armadas una vez; cada diseño las copia enteras.
const std::array<AlternativaUH, NumeroAlternativas + 1>& EstructurasPorDefecto() {
    static const std::array<AlternativaUH, NumeroAlternativas + 1> estructuras = [] {
        std::array<AlternativaUH, NumeroAlternativas + 1> e{};
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            AlternativaUH& alt = e[n];
            const Plantilla& p = Plantillas[n - 1];
            alt.NumeroCapas = 3;
            alt.CBRMinimo = p.CBRMinimo;
            for (int k = 1; k <= 3; ++k) {
                const Ranura& r = p.Ranuras[k - 1];
                CapaAlternativa& c = alt.Capas[k];
                c.Tipo = r.Tipo;
                c.EspesorInicial = r.EspesorInicial;
                c.EspesorMinimoBajo = r.MinimoBajo;
                c.EspesorMinimoAlto = r.MinimoAlto;
                c.DisenoPorCapas = r.DisenoPorCapas;
                c.Opcional = r.Opcional;
            }
            alt.Capas[4].Tipo = CapaAFR;
            alt.Capas[5].Tipo = CapaCSR;
        }
        return e;
    }();
    return estructuras;
}

} // namespace

void InicializarCatalogo(ModuloVarek9& modulo, const double& EspesorExistente,
                         const double& CoefExistente) {
    // El diseño llama esto en cada unidad: los textos que ya comparte con el catálogo
    // fijo no se reasignan (ahorra los contadores de referencia de 33 textos).
    const auto& fijo = CatalogoFijo();
    for (int i = 1; i <= NumeroTiposCapa; ++i) {
        TipoCapa& t = modulo.TipoCapa[i];
        const TipoCapa& f = fijo[i];
        if (!t.Codigo.isSharedWith(f.Codigo)) t.Codigo = f.Codigo;
        if (!t.Descripcion.isSharedWith(f.Descripcion)) t.Descripcion = f.Descripcion;
        if (!t.Unidad.isSharedWith(f.Unidad)) t.Unidad = f.Unidad;
        t.CoefEstructural = f.CoefEstructural;
        t.CoefDrenaje = f.CoefDrenaje;
        t.Modulo = f.Modulo;
    }

    modulo.AlternativaUH = EstructurasPorDefecto();
    if (EspesorExistente > 0 && CoefExistente > 0) {
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            AlternativaUH& alt = modulo.AlternativaUH[n];
            alt.NumeroCapas = 4;
            alt.Capas[4].CoefEstructural = CoefExistente;
            alt.Capas[4].Espesor = EspesorExistente;
        }
    }
}

void AplicarReglasDerivadas(Proyecto& p) {
    if (p.Confiabilidad < 50) {
        p.Confiabilidad = 50;
    } else if (p.Confiabilidad >= 100) {
        p.Confiabilidad = 99;
    }
    p.Zr = CalcularZr(p.Confiabilidad / 100 - 0.5);
    if (p.ServiciabilidadFinal < 1.0 || p.ServiciabilidadFinal >= 4.2) p.ServiciabilidadFinal = 2.0;
    p.So = p.ConfiabilidadTransito ? 0.49 : 0.44;
}
