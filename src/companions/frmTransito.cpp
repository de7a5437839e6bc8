#include "companions/frmTransito.h"

#include "common/Formato.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

frmTransito::frmTransito(SesionCompanero& sesion, Plataforma& plataforma, QWidget* padre)
    : frmCompanero(sesion, plataforma, QStringLiteral("frmTransito"),
                   QStringLiteral("Tránsito de Diseño (W18)"), padre) {
    PonerFormula(QStringLiteral(
        "<p style='font-size: 12pt;'><b>W18 = TPD &times; 365 &times; &Sigma;(P<sub>i</sub>/100 "
        "&times; FD<sub>i</sub>) &times; Fd &times; Fc &times; [(1 + r)<sup>n</sup> &minus; 1] / "
        "r</b></p>"
        "<p>W18: ejes equivalentes de 80 kN en el carril de diseño durante el período de diseño. "
        "P<sub>i</sub>: porcentaje del TPD de la clase de vehículo i; FD<sub>i</sub>: su factor "
        "de daño (ejes equivalentes por vehículo). Con r = 0 el último factor vale n.</p>"));

    // Izquierda los datos generales, derecha la composición: cabe en una pantalla.
    auto* lado = new QHBoxLayout;
    auto* rejilla = new QGridLayout;
    txtTPD_ = CampoNumero(*rejilla, QStringLiteral("txtTPD"),
                          QStringLiteral("Tránsito promedio diario (TPD)"),
                          QStringLiteral("vehículos por día en ambos sentidos, en el año inicial"));
    txtDireccional_ = CampoNumero(
        *rejilla, QStringLiteral("txtDireccional"), QStringLiteral("Factor direccional (Fd)"),
        QStringLiteral("fracción del tránsito que va en la dirección de diseño (%1 con tránsito "
                       "igual en ambos sentidos)")
            .arg(Dato(0.5)));
    txtCarril_ =
        CampoNumero(*rejilla, QStringLiteral("txtCarril"), QStringLiteral("Factor de carril (Fc)"),
                    QStringLiteral("fracción de esa dirección que usa el carril de "
                                   "diseño (%1 con un carril por sentido)")
                        .arg(Cifra(1, u"0.0")));
    txtCrecimiento_ =
        CampoNumero(*rejilla, QStringLiteral("txtCrecimiento"),
                    QStringLiteral("Tasa de crecimiento anual (r)"), QStringLiteral("% por año"));
    txtPeriodo_ = CampoNumero(*rejilla, QStringLiteral("txtPeriodo"),
                              QStringLiteral("Período de diseño (n)"), QStringLiteral("años"));
    rejilla->setRowStretch(rejilla->rowCount(), 1);
    rejilla->setColumnMinimumWidth(2, 200);
    lado->addLayout(rejilla, 1);

    auto* grupo = new QGroupBox(QStringLiteral("Composición del tránsito"), this);
    auto* composicion = new QGridLayout(grupo);
    const auto encabezado = [&](const QString& texto, int columna) {
        auto* l = new QLabel(QStringLiteral("<b>%1</b>").arg(texto), grupo);
        // La medida del texto en dos líneas se queda corta por un par de puntos.
        l->setMinimumHeight(l->sizeHint().height() + 4);
        composicion->addWidget(l, 0, columna);
    };
    encabezado(QStringLiteral("Clase de vehículo"), 0);
    encabezado(QStringLiteral("% del TPD"), 1);
    encabezado(QStringLiteral("Factor de daño<br>(ejes eq./veh.)"), 2);
    const auto& clases = ClasesVehiculo();
    for (int i = 0; i < NumeroClasesVehiculo; ++i) {
        auto* nombre = new QLabel(clases[i].Nombre.toString(), grupo);
        txtPorcentaje_[i] = new QLineEdit(grupo);
        txtPorcentaje_[i]->setObjectName(QStringLiteral("txtPorcentaje%1").arg(clases[i].Clave));
        txtPorcentaje_[i]->setToolTip(QStringLiteral("Porcentaje del TPD que son %1")
                                          .arg(clases[i].Nombre.toString().toLower()));
        txtPorcentaje_[i]->setMaximumWidth(90);
        txtFactor_[i] = new QLineEdit(grupo);
        txtFactor_[i]->setObjectName(QStringLiteral("txtFactor%1").arg(clases[i].Clave));
        txtFactor_[i]->setToolTip(QStringLiteral("Ejes equivalentes de 80 kN por vehículo; valor "
                                                 "típico %1")
                                      .arg(Dato(clases[i].FactorTipico)));
        txtFactor_[i]->setMaximumWidth(90);
        nombre->setBuddy(txtPorcentaje_[i]);
        composicion->addWidget(nombre, i + 1, 0);
        composicion->addWidget(txtPorcentaje_[i], i + 1, 1);
        composicion->addWidget(txtFactor_[i], i + 1, 2);
    }
    lbSuma_ = new QLabel(grupo);
    lbSuma_->setObjectName(QStringLiteral("lbSuma"));
    composicion->addWidget(new QLabel(QStringLiteral("<b>Suma</b>"), grupo),
                           NumeroClasesVehiculo + 1, 0);
    composicion->addWidget(lbSuma_, NumeroClasesVehiculo + 1, 1);
    auto* nota = new QLabel(QStringLiteral("Factores típicos de vías de bajo volumen;\nuse los de "
                                           "un estudio de pesaje si lo hay."),
                            grupo);
    nota->setStyleSheet(QStringLiteral("color: gray;"));
    nota->setMinimumHeight(nota->sizeHint().height() + 4);
    composicion->addWidget(nota, NumeroClasesVehiculo + 2, 0, 1, 3);
    lado->addWidget(grupo);
    AreaDatos()->addLayout(lado);

    // El orden de tabulación sigue el de lectura: datos generales y luego la tabla.
    QWidget* anterior = txtPeriodo_;
    for (int i = 0; i < NumeroClasesVehiculo; ++i) {
        setTabOrder(anterior, txtPorcentaje_[i]);
        setTabOrder(txtPorcentaje_[i], txtFactor_[i]);
        anterior = txtFactor_[i];
    }

    for (QLineEdit* campo : txtPorcentaje_)
        connect(campo, &QLineEdit::textChanged, this, &frmTransito::ActualizarSuma);
    Mostrar(DatosTransitoTipicos());
    Preparar();
    ActualizarSuma();
}

DatosTransito frmTransito::Datos() const {
    DatosTransito d;
    d.TPD = LeerCampo(txtTPD_->text());
    for (int i = 0; i < NumeroClasesVehiculo; ++i) {
        d.Porcentaje[i] = LeerCampo(txtPorcentaje_[i]->text());
        d.Factor[i] = LeerCampo(txtFactor_[i]->text());
    }
    d.FactorDireccional = LeerCampo(txtDireccional_->text());
    d.FactorCarril = LeerCampo(txtCarril_->text());
    d.Crecimiento = LeerCampo(txtCrecimiento_->text());
    d.Periodo = LeerCampo(txtPeriodo_->text());
    return d;
}

void frmTransito::Mostrar(const DatosTransito& d) {
    txtTPD_->setText(Dato(d.TPD));
    for (int i = 0; i < NumeroClasesVehiculo; ++i) {
        txtPorcentaje_[i]->setText(Dato(d.Porcentaje[i]));
        txtFactor_[i]->setText(Dato(d.Factor[i]));
    }
    txtDireccional_->setText(Dato(d.FactorDireccional));
    txtCarril_->setText(Dato(d.FactorCarril));
    txtCrecimiento_->setText(Dato(d.Crecimiento));
    txtPeriodo_->setText(Dato(d.Periodo));
}

void frmTransito::ActualizarSuma() {
    double suma = 0;
    for (QLineEdit* campo : txtPorcentaje_) {
        const double v = LeerCampo(campo->text());
        if (std::isfinite(v)) suma += v;
    }
    lbSuma_->setText(Cifra(suma, u"0.00") + QStringLiteral(" %"));
    lbSuma_->setStyleSheet(std::abs(suma - 100) > 0.05 ? QStringLiteral("color: #b00000;")
                                                       : QString());
}

void frmTransito::CargarLineas(const QStringList& lineas) {
    Mostrar(LeerLineasTransito(lineas, Datos()));
}

FallaDato frmTransito::Validar() const {
    return ValidarTransito(Datos(), Separador());
}

QString frmTransito::TextoResultado() const {
    const DatosTransito d = Datos();
    const ResultadoTransito r = CalcularTransito(d);
    return QStringLiteral("<p>Factor de daño del vehículo medio &Sigma;(P<sub>i</sub>/100 &times; "
                          "FD<sub>i</sub>) = %1<br>Ejes equivalentes por día en el carril de "
                          "diseño, año inicial = %2<br>Factor de crecimiento = %3</p>"
                          "<p style='font-size: 13pt;'><b>W18 = %4</b> (%5 ejes equivalentes de "
                          "80 kN)</p>")
        .arg(Cifra(r.FactorVehiculo, u"0.0000"), Cifra(r.EjesDiaInicial, u"#,##0.00"),
             Cifra(r.FactorCrecimiento, u"0.000"), Cifra(r.W18, u"0.00E+#00"),
             Cifra(r.W18, u"#,##0"));
}

QStringList frmTransito::LineasEntrada() const {
    return LineasTransito(Datos());
}

QStringList frmTransito::LineasResultado() const {
    const DatosTransito d = Datos();
    return ResultadoArchivoTransito(d, CalcularTransito(d));
}
