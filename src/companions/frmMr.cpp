#include "companions/frmMr.h"

#include "common/EntradaDatos.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>

frmMr::frmMr(SesionCompanero& sesion, Plataforma& plataforma, QWidget* padre)
    : frmCompanero(sesion, plataforma, QStringLiteral("frmMr"),
                   QStringLiteral("CBR de Diseño y Módulo Resiliente"), padre) {
    const QString formula = QStringLiteral(
        "<p style='font-size: 12pt;'><b>Mr = 2555 &times; CBR<sup>%1</sup></b> (psi)</p>"
        "<p>El CBR de diseño es el valor que igualan o superan el 60 % de los ensayos con menos "
        "de 10<sup>4</sup> ejes equivalentes, el 75 % de 10<sup>4</sup> a 10<sup>6</sup> y el "
        "%2 % con más de 10<sup>6</sup>. Con los ensayos ordenados se calcula el porcentaje de "
        "ensayos iguales o mayores que cada valor y se interpola entre los dos porcentajes que "
        "encierran el pedido. 1 MPa = %3 psi.</p>");
    PonerFormula(formula.arg(TextoVentana(QStringLiteral("0.64"), Separador()),
                             TextoVentana(QStringLiteral("87.5"), Separador()),
                             TextoVentana(QStringLiteral("145.04"), Separador())));

    auto* rejilla = new QGridLayout;
    auto* rotulo = new QLabel(QStringLiteral("Resultados de los ensayos de CBR"), this);
    txtCBR_ = new QPlainTextEdit(this);
    txtCBR_->setObjectName(QStringLiteral("txtCBR"));
    txtCBR_->setToolTip(QStringLiteral("CBR en %, separados por blancos, «;» o saltos de línea; "
                                       "hasta 50 ensayos"));
    txtCBR_->setTabChangesFocus(true);
    txtCBR_->setMaximumHeight(90);
    rotulo->setBuddy(txtCBR_);
    lbEnsayos_ = new QLabel(this);
    lbEnsayos_->setObjectName(QStringLiteral("lbEnsayos"));
    lbEnsayos_->setStyleSheet(QStringLiteral("color: gray;"));
    lbEnsayos_->setWordWrap(true);
    rejilla->addWidget(rotulo, 0, 0);
    rejilla->addWidget(txtCBR_, 0, 1);
    rejilla->addWidget(lbEnsayos_, 0, 2);
    txtEjes_ =
        CampoNumero(*rejilla, QStringLiteral("txtEjes"), QStringLiteral("Tránsito de diseño (W18)"),
                    QStringLiteral("ejes equivalentes de 80 kN; elige el percentil"));
    rejilla->setColumnStretch(2, 1);
    AreaDatos()->addLayout(rejilla);

    connect(txtCBR_, &QPlainTextEdit::textChanged, this, &frmMr::ContarEnsayos);
    Preparar();
    ContarEnsayos();
}

DatosMr frmMr::Datos() const {
    return {txtCBR_->toPlainText(), LeerCampo(txtEjes_->text()), Separador()};
}

void frmMr::ContarEnsayos() {
    const ListaCBR lista = LeerListaCBR(txtCBR_->toPlainText(), Separador());
    lbEnsayos_->setText(QStringLiteral("%1 de %2 ensayos; CBR en %, separados por blancos, «;» o "
                                       "saltos de línea")
                            .arg(lista.Valores.size())
                            .arg(MaximoEnsayosCBR));
}

void frmMr::CargarLineas(const QStringList& lineas) {
    const DatosMr d = LeerLineasMr(lineas, Datos());
    // La lista guardada lleva el punto: se muestra con la convención del usuario.
    const ListaCBR lista = LeerListaCBR(d.Lista, d.Separador);
    txtCBR_->setPlainText(lista.Invalido.isEmpty() ? TextoListaCBR(lista.Valores, Separador())
                                                   : d.Lista);
    txtEjes_->setText(Dato(d.Ejes));
}

FallaDato frmMr::Validar() const {
    return ValidarMr(Datos());
}

QString frmMr::TextoResultado() const {
    const DatosMr d = Datos();
    const ResultadoMr r = CalcularMr(d);
    // Los ensayos ordenados con su porcentaje, para seguir la interpolación.
    QList<double> valores = LeerListaCBR(d.Lista, d.Separador).Valores;
    std::sort(valores.begin(), valores.end());
    QStringList pares;
    for (qsizetype i = 0; i < valores.size(); ++i) {
        if (i > 0 && valores[i] == valores[i - 1]) continue;
        const double p =
            100.0 * static_cast<double>(valores.size() - i) / static_cast<double>(valores.size());
        pares.append(QStringLiteral("%1 (%2 %)").arg(Dato(valores[i]), Cifra(p, u"0.0")));
    }
    return QStringLiteral("<p>Ensayos ordenados (porcentaje iguales o mayores): %1<br>"
                          "Percentil de diseño = %2 %</p>"
                          "<p style='font-size: 13pt;'>CBR de diseño = <b>%3 %</b><br>"
                          "Mr = <b>%4 psi</b> (%5 MPa)</p>")
        .arg(pares.join(QStringLiteral("; ")), Cifra(r.Percentil, u"0.0"), Cifra(r.CBR, u"0.00"),
             Cifra(r.ModuloPsi, u"#,##0"), Cifra(r.ModuloMPa, u"#,##0.0"));
}

QStringList frmMr::LineasEntrada() const {
    return LineasMr(Datos());
}

QStringList frmMr::LineasResultado() const {
    return ResultadoArchivoMr(CalcularMr(Datos()));
}
