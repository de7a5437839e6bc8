#include "companions/CalculoClima.h"

#include "common/EntradaDatos.h"
#include "common/Numeros.h"

#include <algorithm>
#include <cmath>

double ETPHoldridge(double temperatura) {
    return 58.93 * std::clamp(temperatura, 0.0, 30.0);
}

double IndiceHumedad(double precipitacion, double etp) {
    return 100 * (precipitacion / etp - 1);
}

QString ClaseHumedad(double indice) {
    if (indice < -40) return QStringLiteral("Arido");
    if (indice < -20) return QStringLiteral("Semiarido");
    if (indice < 0) return QStringLiteral("Subhumedo");
    if (indice <= 100) return QStringLiteral("Humedo");
    return QStringLiteral("Superhumedo");
}

QString ClaseTemperatura(double temperatura) {
    if (temperatura >= 24) return QStringLiteral("Calido");
    if (temperatura >= 18) return QStringLiteral("Templado");
    return QStringLiteral("Frio");
}

ResultadoClima CalcularClima(const DatosClima& d) {
    ResultadoClima r;
    r.ETP = d.Modo == ModoETP::Holdridge ? ETPHoldridge(d.Temperatura) : d.ETP;
    r.Indice = IndiceHumedad(d.Precipitacion, r.ETP);
    r.Humedad = ClaseHumedad(r.Indice);
    r.Temperatura = ClaseTemperatura(d.Temperatura);
    return r;
}

FallaDato ValidarClima(const DatosClima& d, SeparadorDecimal separador) {
    if (!(d.Precipitacion >= 0 && d.Precipitacion <= 20000))
        return {QStringLiteral("txtPrecipitacion"),
                QStringLiteral("La precipitación media anual debe ser un número entre 0 y "
                               "%1 mm...")
                    .arg(TextoVentana(QStringLiteral("20,000"), separador))};
    if (!(d.Temperatura >= -30 && d.Temperatura <= 45))
        return {QStringLiteral("txtTemperatura"),
                QStringLiteral("La temperatura media anual debe ser un número entre -30 y 45 "
                               "°C...")};
    if (d.Modo == ModoETP::Digitada) {
        if (!(d.ETP > 0 && d.ETP <= 5000))
            return {QStringLiteral("txtETP"),
                    QStringLiteral("La evapotranspiración potencial anual debe ser un número mayor "
                                   "que 0 y no mayor que %1 mm...")
                        .arg(TextoVentana(QStringLiteral("5,000"), separador))};
    } else if (!(d.Temperatura > 0)) {
        return {QStringLiteral("txtTemperatura"),
                QStringLiteral("Con una temperatura media de 0 °C o menos la fórmula de Holdridge "
                               "no da evapotranspiración; digite la ETP...")};
    }
    return {};
}

QStringList LineasClima(const DatosClima& d) {
    QStringList lineas{QStringLiteral("Programa=Clima"),
                       LineaDato(QStringLiteral("Precipitacion"), d.Precipitacion),
                       LineaDato(QStringLiteral("Temperatura"), d.Temperatura),
                       LineaDato(QStringLiteral("ETP.Modo"), d.Modo == ModoETP::Holdridge
                                                                 ? QStringLiteral("Holdridge")
                                                                 : QStringLiteral("Digitada"))};
    const ResultadoClima r = CalcularClima(d);
    lineas << LineaDato(QStringLiteral("ETP"), r.ETP) << LineaDato(QStringLiteral("Im"), r.Indice)
           << LineaDato(QStringLiteral("Humedad"), r.Humedad)
           << LineaDato(QStringLiteral("Temperatura.Clase"), r.Temperatura);
    return lineas;
}

DatosClima LeerLineasClima(const QStringList& lineas, DatosClima base) {
    const QMap<QString, QString> datos = LeerLineasDatos(lineas);
    TomarDato(datos, QStringLiteral("Precipitacion"), base.Precipitacion);
    TomarDato(datos, QStringLiteral("Temperatura"), base.Temperatura);
    const QString modo = datos.value(QStringLiteral("ETP.Modo"));
    if (modo.compare(u"Digitada", Qt::CaseInsensitive) == 0) {
        base.Modo = ModoETP::Digitada;
        TomarDato(datos, QStringLiteral("ETP"), base.ETP);
    } else if (modo.compare(u"Holdridge", Qt::CaseInsensitive) == 0) {
        base.Modo = ModoETP::Holdridge;
    }
    return base;
}

QStringList ResultadoArchivoClima(const DatosClima& d, const ResultadoClima& r) {
    return {FormatoGeneral(d.Precipitacion), FormatoGeneral(r.ETP),         r.Humedad,
            FormatoGeneral(r.Indice),        FormatoGeneral(d.Temperatura), r.Temperatura};
}
