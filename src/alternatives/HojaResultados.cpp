#include "alternatives/HojaResultados.h"

#include "alternatives/Cantidades.h"
#include "alternatives/Verificacion.h"
#include "project/ArchivoProyecto.h"

namespace {

CeldaHoja Texto(const QString& texto) {
    return {texto};
}
CeldaHoja Numero(double valor) {
    return CeldaHoja::DeNumero(valor);
}

HojaLibro HojaUnidades(const Proyecto& p) {
    HojaLibro hoja{
        QStringLiteral("Unidades"),
        {QStringLiteral("UH"), QStringLiteral("Código Tramo"), QStringLiteral("Descripción"),
         QStringLiteral("Tipo de Tramo"), QStringLiteral("Tipo de Segmento"),
         QStringLiteral("Abscisa Inicial (m)"), QStringLiteral("Abscisa Final (m)"),
         QStringLiteral("Ancho Corona (m)"), QStringLiteral("Ejes Equivalentes 80 KN"),
         QStringLiteral("Clasificación Climática por Humedad"),
         QStringLiteral("Clasificación Climática por Temperatura"), QStringLiteral("CBR (%)"),
         QStringLiteral("Tipo de Terreno"), QStringLiteral("Tipo de Afirmado Existente"),
         QStringLiteral("Espesor Afirmado Existente (cm)"),
         QStringLiteral("Espesor Capa de Subrasante (cm)")},
        {QStringLiteral("0"),
         {},
         {},
         {},
         {},
         QStringLiteral("#,##0.00"),
         QStringLiteral("#,##0.00"),
         QStringLiteral("0.00"),
         QStringLiteral("#,##0"),
         {},
         {},
         QStringLiteral("0.00"),
         {},
         {},
         QStringLiteral("0.00"),
         QStringLiteral("0.00")},
        {}};
    for (int i = 1; i <= p.NumeroUH && i <= p.CapacidadUH(); ++i) {
        const UnidadHomogenea& u = p.UH[i];
        hoja.Filas << QList<CeldaHoja>{Numero(i),
                                       Texto(u.CodigoTramo),
                                       Texto(u.Descripcion),
                                       Texto(u.TipoTramo),
                                       Texto(u.TipoSegmento),
                                       Numero(u.AbscisaInicial),
                                       Numero(u.AbscisaFinal),
                                       Numero(u.AnchoCorona),
                                       Numero(u.EjesEquivalentes),
                                       Texto(u.ClimaHumedad),
                                       Texto(u.ClimaTemperatura),
                                       Numero(u.CBR),
                                       Texto(u.TipoTerreno),
                                       Texto(u.TipoAfirmado),
                                       Numero(u.EspesorAfirmado),
                                       Numero(u.EspesorSubrasante)};
    }
    return hoja;
}

QString Cumple(const Comprobacion& c) {
    return c.Existe ? TextoCumple(c.Cumple) : QString();
}

} // namespace

LibroHoja LibroResultados(ModuloVarek9& modulo, EstadoDiseno& estado) {
    const Proyecto& p = modulo.Proyecto;
    HojaLibro alternativas{
        QStringLiteral("Alternativas"),
        {QStringLiteral("UH"), QStringLiteral("Código Tramo"), QStringLiteral("Alternativa"),
         QStringLiteral("SN Requerido"), QStringLiteral("Aplica")},
        {QStringLiteral("0"), {}, QStringLiteral("0"), QStringLiteral("0.00"), {}},
        {}};
    for (int k = 1; k <= NumeroRanuras; ++k) {
        alternativas.Titulos << QStringLiteral("Capa %1").arg(k)
                             << QStringLiteral("Espesor %1 (mm)").arg(k);
        alternativas.Formatos << QString() << QStringLiteral("0");
    }
    alternativas.Titulos << QStringLiteral("Costo") << QStringLiteral("SN Aportado")
                         << QStringLiteral("Verificación") << QStringLiteral("Sobre la Base")
                         << QStringLiteral("Sobre la Subbase") << QStringLiteral("Observación");
    alternativas.Formatos << QStringLiteral("#,##0") << QStringLiteral("0.00");
    const qsizetype colCosto = 5 + 2 * NumeroRanuras;

    HojaLibro seleccion{QStringLiteral("Selección"),
                        {QStringLiteral("UH"), QStringLiteral("Código Tramo"),
                         QStringLiteral("Abscisa Inicial (m)"), QStringLiteral("Abscisa Final (m)"),
                         QStringLiteral("SN Requerido"), QStringLiteral("Alternativa"),
                         QStringLiteral("Estructura"), QStringLiteral("Costo"),
                         QStringLiteral("Verificación")},
                        {QStringLiteral("0"),
                         {},
                         QStringLiteral("#,##0.00"),
                         QStringLiteral("#,##0.00"),
                         QStringLiteral("0.00"),
                         QStringLiteral("0"),
                         {},
                         QStringLiteral("#,##0")},
                        {}};

    CantidadesProyecto total;
    DisenarProyecto(modulo, estado, [&](int i) {
        const UnidadHomogenea& u = p.UH[i];
        const VerificacionUnidad v = VerificarUnidad(modulo, i);
        const CantidadesUnidad c = CantidadesDeUnidad(modulo, estado, i);
        for (const CantidadCapa& capa : c.Capas) {
            total.Cantidad[static_cast<std::size_t>(capa.Tipo)] += capa.Cantidad;
            total.Costo[static_cast<std::size_t>(capa.Tipo)] += capa.Costo;
        }
        total.CostoAfirmado += c.CostoAfirmado;
        total.CostoSeleccion += c.Costo;

        const bool conDiseno = v.Causa == CausaSinDiseno::Ninguna;
        QList<CeldaHoja> filaSeleccion{Numero(i), Texto(u.CodigoTramo), Numero(u.AbscisaInicial),
                                       Numero(u.AbscisaFinal)};
        if (!conDiseno) {
            QList<CeldaHoja> fila{Numero(i), Texto(u.CodigoTramo)};
            fila.resize(alternativas.Titulos.size());
            fila.back() = Texto(TextoSinDiseno(v.Causa));
            alternativas.Filas << fila;
            filaSeleccion << CeldaHoja() << CeldaHoja() << Texto(TextoSinDiseno(v.Causa));
            seleccion.Filas << filaSeleccion;
            return;
        }
        QString estructura;
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            const AlternativaUH& alt = modulo.AlternativaUH[n];
            const VerificacionAlternativa& va = v.Alternativas[n];
            QList<CeldaHoja> fila{
                Numero(i), Texto(u.CodigoTramo), Numero(n), Numero(u.SNRequerido),
                Texto(alt.Aplicable ? QStringLiteral("Sí") : QStringLiteral("No"))};
            QStringList capas;
            for (int k = 1; k <= NumeroRanuras; ++k) {
                if (!alt.Aplicable || k > alt.NumeroCapas) {
                    fila << CeldaHoja() << CeldaHoja();
                    continue;
                }
                const CapaAlternativa& capa = alt.Capas[k];
                const QString& codigo = modulo.TipoCapa[capa.Tipo].Codigo;
                fila << Texto(codigo) << Numero(capa.Espesor);
                capas << (capa.Espesor > 0 ? codigo + u' ' + Formato17(capa.Espesor) : codigo);
            }
            if (alt.Aplicable) {
                fila << Numero(estado.CostoAlternativa[n]) << Numero(va.Total.Aportado)
                     << Texto(va.Cumple() ? QStringLiteral("cumple") : QStringLiteral("no cumple"))
                     << Texto(Cumple(va.Base)) << Texto(Cumple(va.Subbase));
                if (va.SuperficieSinAporte)
                    fila << Texto(QStringLiteral("superficie sin aporte estructural"));
            }
            alternativas.Filas << fila;
            if (n == u.AlternativaSeleccionada && alt.Aplicable) {
                estructura = capas.join(QStringLiteral(" / "));
                filaSeleccion << Numero(u.SNRequerido) << Numero(n) << Texto(estructura)
                              << Numero(estado.CostoAlternativa[n])
                              << Texto(va.Cumple() ? QStringLiteral("cumple")
                                                   : QStringLiteral("no cumple"));
            }
        }
        if (filaSeleccion.size() == 4)
            filaSeleccion << Numero(u.SNRequerido) << CeldaHoja()
                          << Texto(QStringLiteral("ninguna alternativa aplica"));
        seleccion.Filas << filaSeleccion;
    });
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        QList<CeldaHoja> fila{Texto(QStringLiteral("TOTAL")), CeldaHoja(), Numero(n)};
        fila.resize(colCosto + 1);
        fila[colCosto] = Numero(estado.CostoTotal[n]);
        alternativas.Filas << fila;
    }
    QList<CeldaHoja> totalSeleccion{Texto(QStringLiteral("TOTAL"))};
    totalSeleccion.resize(8);
    totalSeleccion[7] = Numero(total.CostoSeleccion);
    seleccion.Filas << totalSeleccion;

    HojaLibro cantidades{QStringLiteral("Cantidades"),
                         {QStringLiteral("Código"), QStringLiteral("Material"),
                          QStringLiteral("Unidad"), QStringLiteral("Cantidad"),
                          QStringLiteral("Costo")},
                         {{}, {}, {}, QStringLiteral("#,##0.00"), QStringLiteral("#,##0")},
                         {}};
    for (int t = 1; t <= NumeroTiposCapa; ++t)
        if (total.Cantidad[t] != 0 || total.Costo[t] != 0)
            cantidades.Filas << QList<CeldaHoja>{Texto(modulo.TipoCapa[t].Codigo),
                                                 Texto(modulo.TipoCapa[t].Descripcion),
                                                 Texto(modulo.TipoCapa[t].Unidad),
                                                 Numero(total.Cantidad[t]), Numero(total.Costo[t])};
    // El afirmado existente no es obra, pero entra en el costo de la selección.
    cantidades.Filas << QList<CeldaHoja>{Texto(QStringLiteral("AFIRMADO")),
                                         Texto(QStringLiteral("Afirmado existente")), CeldaHoja(),
                                         CeldaHoja(), Numero(total.CostoAfirmado)};
    cantidades.Filas << QList<CeldaHoja>{Texto(QStringLiteral("TOTAL")),
                                         Texto(QStringLiteral("Costo de la selección")),
                                         CeldaHoja(), CeldaHoja(), Numero(total.CostoSeleccion)};
    return {HojaUnidades(p), alternativas, seleccion, cantidades};
}

QString EscribirLibroResultados(ModuloVarek9& modulo, const QString& ruta,
                                SeparadorDecimal separador) {
    const bool xlsx = ruta.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
    if (xlsx && !HayEscrituraXlsx()) return TextoSinXlsx();
    EstadoDiseno estado;
    const LibroHoja libro = LibroResultados(modulo, estado);
    QString error;
    const QByteArray bytes = xlsx ? BytesXlsx(libro, &error) : TextoCsv(libro, separador);
    if (bytes.isEmpty()) return error;
    const ErrorEscritura e = EscribirArchivoSeguro(ruta, bytes);
    return e.Ok ? QString() : e.Texto();
}
