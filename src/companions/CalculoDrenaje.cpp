#include "companions/CalculoDrenaje.h"

#include "common/Numeros.h"

#include <cmath>

namespace {

const std::array<CalidadDrenaje, NumeroCalidadesDrenaje> Calidades = {{
    {u"Excelente", u"2 horas"},
    {u"Bueno", u"1 día"},
    {u"Regular", u"1 semana"},
    {u"Pobre", u"1 mes"},
    {u"Muy pobre", u"el agua no drena"},
}};

const std::array<QStringView, NumeroRangosSaturacion> Rangos = {u"Menos de 1 %", u"1 a 5 %",
                                                                u"5 a 25 %", u"Más de 25 %"};

// Máximo y mínimo de m por calidad (filas) y tiempo cerca de la saturación
// (columnas); con más de 25 % la guía da un solo valor.
constexpr RangoDrenaje Tabla[NumeroCalidadesDrenaje][NumeroRangosSaturacion] = {
    {{1.40, 1.35}, {1.35, 1.30}, {1.30, 1.20}, {1.20, 1.20}},
    {{1.35, 1.25}, {1.25, 1.15}, {1.15, 1.00}, {1.00, 1.00}},
    {{1.25, 1.15}, {1.15, 1.05}, {1.00, 0.80}, {0.80, 0.80}},
    {{1.15, 1.05}, {1.05, 0.80}, {0.80, 0.60}, {0.60, 0.60}},
    {{1.05, 0.95}, {0.95, 0.75}, {0.75, 0.40}, {0.40, 0.40}},
};

} // namespace

const std::array<CalidadDrenaje, NumeroCalidadesDrenaje>& CalidadesDrenaje() {
    return Calidades;
}

const std::array<QStringView, NumeroRangosSaturacion>& RangosSaturacion() {
    return Rangos;
}

int ColumnaSaturacion(double porcentaje) {
    if (porcentaje < 1) return 0;
    if (porcentaje <= 5) return 1;
    if (porcentaje <= 25) return 2;
    return 3;
}

RangoDrenaje CoeficienteDrenaje(int calidad, int columna) {
    if (calidad < 0 || calidad >= NumeroCalidadesDrenaje || columna < 0 ||
        columna >= NumeroRangosSaturacion)
        return {};
    return Tabla[calidad][columna];
}

FallaDato ValidarDrenaje(const DatosDrenaje& d) {
    if (d.Calidad < 0 || d.Calidad >= NumeroCalidadesDrenaje)
        return {QStringLiteral("lstCalidad"), QStringLiteral("Elija la calidad del drenaje...")};
    if (!(d.Saturacion >= 0 && d.Saturacion <= 100))
        return {QStringLiteral("txtSaturacion"),
                QStringLiteral("El porcentaje del tiempo próximo a la saturación debe ser un "
                               "número entre 0 y 100...")};
    return {};
}

RangoDrenaje CalcularDrenaje(const DatosDrenaje& d) {
    return CoeficienteDrenaje(d.Calidad, ColumnaSaturacion(d.Saturacion));
}

QStringList LineasDrenaje(const DatosDrenaje& d) {
    const RangoDrenaje m = CalcularDrenaje(d);
    const QString calidad = d.Calidad >= 0 && d.Calidad < NumeroCalidadesDrenaje
                                ? Calidades[d.Calidad].Nombre.toString()
                                : QString();
    return {QStringLiteral("Programa=Drenaje"), LineaDato(QStringLiteral("Calidad"), calidad),
            LineaDato(QStringLiteral("Saturacion"), d.Saturacion),
            LineaDato(QStringLiteral("m.Maximo"), m.Maximo),
            LineaDato(QStringLiteral("m.Minimo"), m.Minimo)};
}

DatosDrenaje LeerLineasDrenaje(const QStringList& lineas, DatosDrenaje base) {
    const QMap<QString, QString> datos = LeerLineasDatos(lineas);
    const QString calidad = datos.value(QStringLiteral("Calidad"));
    for (int i = 0; i < NumeroCalidadesDrenaje; ++i)
        if (calidad.compare(Calidades[i].Nombre, Qt::CaseInsensitive) == 0) base.Calidad = i;
    const double v = LeerDato(datos.value(QStringLiteral("Saturacion")));
    if (std::isfinite(v)) base.Saturacion = v;
    return base;
}

QStringList ResultadoArchivoDrenaje(const DatosDrenaje& d, const RangoDrenaje& m) {
    return {Calidades[d.Calidad].Nombre.toString(), FormatoGeneral(d.Saturacion),
            FormatoGeneral(m.Maximo), FormatoGeneral(m.Minimo), FormatoGeneral(m.Medio())};
}
