// Proyectos del ejemplo resuelto del diseño, comunes a las pruebas del diseño, del
// dibujo y del diagrama: R 90 %, pt 2.0, So 0.44 y costos unitarios 1000 x tipo.
#pragma once

#include "Muestras.h"

#include <QStringList>

// Una unidad "código:inicial:final[:w18:cbr:afirmado:cm afirmado:cm subrasante]"; sin
// ellos, W18 10000, CBR 10 y sin afirmado. Siempre 6 m de ancho, Subhumedo y Templado.
inline UnidadHomogenea Unidad(const QString& texto) {
    const QStringList c = texto.split(u':');
    UnidadHomogenea u = UnidadTramo(c[0], c[1].toDouble(), c[2].toDouble());
    u.AnchoCorona = 6;
    u.EjesEquivalentes = c.size() > 3 ? c[3].toDouble() : 10000;
    u.CBR = c.size() > 4 ? c[4].toDouble() : 10;
    u.ClimaHumedad = QStringLiteral("Subhumedo");
    u.ClimaTemperatura = QStringLiteral("Templado");
    u.TipoAfirmado = c.size() > 5 ? c[5] : QStringLiteral("No hay");
    u.EspesorAfirmado = c.size() > 6 ? c[6].toDouble() : 0;
    u.EspesorSubrasante = c.size() > 7 ? c[7].toDouble() : 0;
    return u;
}

inline ModuloVarek9 ProyectoDe(const QStringList& unidades) {
    ModuloVarek9 m;
    m.Proyecto.Confiabilidad = 90;
    AplicarReglasDerivadas(m.Proyecto);
    for (int j = 1; j <= NumeroTiposCapa; ++j)
        m.Proyecto.CostosUnitarios[j] = 1000.0 * j;
    QList<UnidadHomogenea> lista;
    for (const QString& u : unidades)
        lista << Unidad(u);
    PonerUnidades(m.Proyecto, lista);
    return m;
}
