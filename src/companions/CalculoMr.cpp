#include "companions/CalculoMr.h"

#include "common/EntradaDatos.h"
#include "common/Numeros.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

double PercentilDiseno(double ejes) {
    if (ejes < 1e4) return 60;
    if (ejes <= 1e6) return 75;
    return 87.5;
}

double CBRDiseno(QList<double> valores, double percentil) {
    if (valores.isEmpty()) return std::numeric_limits<double>::quiet_NaN();
    std::sort(valores.begin(), valores.end());
    const double total = static_cast<double>(valores.size());
    // Porcentaje de ensayos iguales o mayores que el valor en la posición i.
    const auto porcentaje = [&](qsizetype i) {
        return 100 * static_cast<double>(valores.size() - i) / total;
    };
    qsizetype anterior = 0; // el menor valor: el 100 % lo iguala o supera
    if (percentil >= 100) return valores.first();
    for (qsizetype i = 1; i < valores.size(); ++i) {
        if (valores[i] == valores[i - 1]) continue;
        const double p = porcentaje(i);
        if (p <= percentil) {
            const double pa = porcentaje(anterior);
            return valores[anterior] +
                   (pa - percentil) / (pa - p) * (valores[i] - valores[anterior]);
        }
        anterior = i;
    }
    // Ni el mayor valor llega a un porcentaje tan bajo: el diseño es ese valor.
    return valores[anterior];
}

double ModuloResiliente(double cbr) {
    return 2555 * std::pow(cbr, 0.64);
}

double PsiAMPa(double psi) {
    return psi / PsiPorMPa;
}

ListaCBR LeerListaCBR(const QString& texto, SeparadorDecimal convencion) {
    ListaCBR lista;
    // La coma es decimal o de miles, nunca separa ensayos: "9,5" es un solo ensayo.
    static const QRegularExpression separadores(QStringLiteral("[\\s;]+"));
    const QStringList trozos = texto.split(separadores, Qt::SkipEmptyParts);
    for (const QString& trozo : trozos) {
        const double v = LeerDatoEscrito(trozo, convencion);
        if (std::isnan(v)) {
            lista.Invalido = trozo;
            break;
        }
        lista.Valores.append(v);
    }
    return lista;
}

QString TextoListaCBR(const QList<double>& valores, SeparadorDecimal separador) {
    QStringList trozos;
    for (double v : valores)
        trozos.append(TextoDato(v, separador));
    return trozos.join(u' ');
}

ResultadoMr CalcularMr(const DatosMr& d) {
    ResultadoMr r;
    const ListaCBR lista = LeerListaCBR(d.Lista, d.Separador);
    r.Ensayos = static_cast<int>(lista.Valores.size());
    r.Percentil = PercentilDiseno(d.Ejes);
    r.CBR = CBRDiseno(lista.Valores, r.Percentil);
    r.ModuloPsi = ModuloResiliente(r.CBR);
    r.ModuloMPa = PsiAMPa(r.ModuloPsi);
    return r;
}

FallaDato ValidarMr(const DatosMr& d) {
    const ListaCBR lista = LeerListaCBR(d.Lista, d.Separador);
    const QString campo = QStringLiteral("txtCBR");
    if (!lista.Invalido.isEmpty())
        return {campo, QStringLiteral("El valor [%1] de la lista de CBR no es un número...")
                           .arg(lista.Invalido)};
    if (lista.Valores.isEmpty())
        return {campo, QStringLiteral("Digite al menos un resultado de ensayo de CBR...")};
    if (lista.Valores.size() > MaximoEnsayosCBR)
        return {campo, QStringLiteral("La lista tiene %1 resultados de CBR; el máximo es %2...")
                           .arg(lista.Valores.size())
                           .arg(MaximoEnsayosCBR)};
    for (double v : lista.Valores)
        if (!(v > 0 && v <= 100))
            return {campo, QStringLiteral("El CBR [%1] debe ser mayor que 0 y no mayor que 100 "
                                          "%...")
                               .arg(TextoDato(v, d.Separador))};
    if (!(d.Ejes >= 0 && d.Ejes <= 1e9))
        return {QStringLiteral("txtEjes"),
                QStringLiteral("Los ejes equivalentes de 80 kN deben ser un número entre 0 y "
                               "%1...")
                    .arg(TextoVentana(QStringLiteral("1,000,000,000"), d.Separador))};
    return {};
}

QStringList LineasMr(const DatosMr& d) {
    const ListaCBR lista = LeerListaCBR(d.Lista, d.Separador);
    const ResultadoMr r = CalcularMr(d);
    return {QStringLiteral("Programa=Mr"),
            LineaDato(QStringLiteral("CBR"), TextoListaCBR(lista.Valores)),
            LineaDato(QStringLiteral("Ejes"), d.Ejes),
            LineaDato(QStringLiteral("Percentil"), r.Percentil),
            LineaDato(QStringLiteral("CBR.Diseno"), r.CBR),
            LineaDato(QStringLiteral("Mr.psi"), r.ModuloPsi)};
}

DatosMr LeerLineasMr(const QStringList& lineas, DatosMr base) {
    const QMap<QString, QString> datos = LeerLineasDatos(lineas);
    // La lista de las líneas va con el punto decimal.
    if (datos.contains(QStringLiteral("CBR"))) {
        base.Lista = datos.value(QStringLiteral("CBR"));
        base.Separador = SeparadorDecimal::Punto;
    }
    const double ejes = LeerDato(datos.value(QStringLiteral("Ejes")));
    if (std::isfinite(ejes)) base.Ejes = ejes;
    return base;
}

QStringList ResultadoArchivoMr(const ResultadoMr& r) {
    return {FormatoGeneral(r.CBR), FormatoGeneral(r.Percentil), FormatoGeneral(r.ModuloPsi),
            FormatoGeneral(r.ModuloMPa), FormatoGeneral(r.Ensayos)};
}
