#include "Muestras.h"

UnidadHomogenea UnidadDeMuestra(int i, int lineasPorLista) {
    UnidadHomogenea u;
    u.CodigoTramo = QStringLiteral("T-%1").arg(i);
    u.Descripcion = i % 2 ? QStringLiteral("Cañada Ñuñoa ¦ acceso %1").arg(i) : QString();
    u.TipoTramo = QStringLiteral("1");
    u.TipoSegmento = QStringLiteral("B");
    u.AbscisaInicial = 1000.0 * i;
    u.AbscisaFinal = 1000.0 * i + 987.5;
    u.AnchoCorona = 6.5;
    u.EjesEquivalentes = 12345.25 * i;
    u.ClimaHumedad = QStringLiteral("Subhumedo");
    u.ClimaTemperatura = QStringLiteral("Templado");
    u.CBR = 0.5 + i % 15;
    u.TipoTerreno = QStringLiteral("Montañoso");
    u.TipoAfirmado = QStringLiteral("AFR-2");
    u.EspesorAfirmado = 12.5;
    u.EspesorSubrasante = 0.125 * i;
    u.SNRequerido = 2.12345678901234;
    u.AlternativaSeleccionada = static_cast<qint16>(1 + i % 6);
    for (int k = 1; k <= lineasPorLista; ++k) {
        u.N82 << QStringLiteral("Año %1 tránsito acumulado %2").arg(k).arg(1234.5 * k);
        // Algunas unidades no traen clima: la lista vacía no se escribe.
        if (i % 3) u.CLIMA << QStringLiteral("Mes %1 precipitación %2 mm").arg(k).arg(87.25 * k);
        u.MR << (k % 5 ? QStringLiteral("Ensayo %1 CBR %2").arg(k).arg(4.5 + k) : QString());
    }
    return u;
}

void LlenarProyectoDeMuestra(Proyecto& p, int n, int lineasPorLista) {
    p.Nombre = QStringLiteral("Mejoramiento vía Güicán – El Cocuy");
    p.Descripcion = QStringLiteral("Línea uno¦Línea dos con ñ y €");
    p.Ubicacion = QStringLiteral("  Boyacá, con blancos  ");
    p.Confiabilidad = 85;
    p.ServiciabilidadFinal = 1.8;
    p.ConfiabilidadTransito = true;
    AplicarReglasDerivadas(p);
    for (int j = 1; j <= NumeroTiposCapa; ++j)
        p.CostosUnitarios[j] = 1000.25 * j;
    p.AsegurarCapacidad(n);
    p.NumeroUH = n;
    for (int i = 1; i <= n; ++i)
        p.UH[i] = UnidadDeMuestra(i, lineasPorLista);
}

void ProyectoDeDiseno(ModuloVarek9& m, int n) {
    static const char16_t* const humedades[] = {u"Arido", u"Semiarido", u"Subhumedo", u"Humedo",
                                                u"Superhumedo"};
    static const char16_t* const temperaturas[] = {u"Frio", u"Templado", u"Calido"};
    static const char16_t* const afirmados[] = {u"No hay", u"AFR-1", u"AFR-2"};
    LlenarProyectoDeMuestra(m.Proyecto, n, 0);
    for (int i = 1; i <= n; ++i) {
        UnidadHomogenea& u = m.Proyecto.UH[i];
        u.EjesEquivalentes = 1000 + (i * 7919) % 499000;
        u.CBR = 2 + (i * 37) % 140 / 10.0;
        u.ClimaHumedad = QString::fromUtf16(humedades[i % 5]);
        u.ClimaTemperatura = QString::fromUtf16(temperaturas[i % 3]);
        u.TipoAfirmado = QString::fromUtf16(afirmados[i % 3]);
        u.EspesorAfirmado = 5.0 * (i % 4);
        u.EspesorSubrasante = i % 5 == 0 ? 30 : 0;
        u.AlternativaSeleccionada = 0;
    }
}

UnidadHomogenea UnidadTramo(const QString& codigo, double inicial, double final,
                            const QString& descripcion) {
    UnidadHomogenea u;
    u.CodigoTramo = codigo;
    u.Descripcion = descripcion;
    u.AbscisaInicial = inicial;
    u.AbscisaFinal = final;
    return u;
}

void PonerUnidades(Proyecto& p, const QList<UnidadHomogenea>& unidades) {
    p.AsegurarCapacidad(static_cast<int>(unidades.size()));
    p.NumeroUH = static_cast<int>(unidades.size());
    for (int i = 1; i <= p.NumeroUH; ++i)
        p.UH[i] = unidades[i - 1];
}
