#include "companions/frmClima.h"

#include "common/EntradaDatos.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

frmClima::frmClima(SesionCompanero& sesion, Plataforma& plataforma, QWidget* padre)
    : frmCompanero(sesion, plataforma, QStringLiteral("frmClima"),
                   QStringLiteral("Clasificación del Clima"), padre) {
    const QString formula = QStringLiteral(
        "<p style='font-size: 12pt;'><b>Im = 100 &times; (P / ETP &minus; 1)</b></p>"
        "<p>Im: índice de humedad; P: precipitación media anual; ETP: evapotranspiración "
        "potencial anual, digitada o estimada con la fórmula de Holdridge "
        "<b>ETP = %1 &times; T</b> (mm por año, con T la temperatura media anual tomada entre "
        "0 y 30 &deg;C).</p>"
        "<p>Por humedad: Im &lt; &minus;40 Árido; &minus;40 a &minus;20 Semiárido; &minus;20 a 0 "
        "Subhúmedo; 0 a 100 Húmedo; más de 100 Superhúmedo.<br>"
        "Por temperatura (pisos térmicos): 24 &deg;C o más Cálido; 18 a 24 &deg;C Templado; "
        "menos de 18 &deg;C Frío.</p>");
    PonerFormula(formula.arg(TextoVentana(QStringLiteral("58.93"), Separador())));

    auto* rejilla = new QGridLayout;
    txtPrecipitacion_ =
        CampoNumero(*rejilla, QStringLiteral("txtPrecipitacion"),
                    QStringLiteral("Precipitación media anual (P)"), QStringLiteral("mm por año"));
    txtTemperatura_ = CampoNumero(*rejilla, QStringLiteral("txtTemperatura"),
                                  QStringLiteral("Temperatura media anual (T)"),
                                  QStringLiteral("°C; da la clase por temperatura y la ETP "
                                                 "estimada"));
    opcHoldridge_ = new QRadioButton(QStringLiteral("Estimar la ETP con Holdridge"), this);
    opcHoldridge_->setObjectName(QStringLiteral("opcETP0"));
    opcDigitada_ = new QRadioButton(QStringLiteral("Digitar la ETP"), this);
    opcDigitada_->setObjectName(QStringLiteral("opcETP1"));
    const int fila = rejilla->rowCount();
    rejilla->addWidget(opcHoldridge_, fila, 0, 1, 3);
    rejilla->addWidget(opcDigitada_, fila + 1, 0, 1, 3);
    txtETP_ = CampoNumero(*rejilla, QStringLiteral("txtETP"),
                          QStringLiteral("Evapotranspiración potencial anual (ETP)"),
                          QStringLiteral("mm por año, de una estación cercana"));
    AreaDatos()->addLayout(rejilla);

    connect(opcDigitada_, &QRadioButton::toggled, txtETP_, &QLineEdit::setEnabled);
    Mostrar(DatosClima{});
    Preparar();
}

DatosClima frmClima::Datos() const {
    DatosClima d;
    d.Precipitacion = LeerCampo(txtPrecipitacion_->text());
    d.Temperatura = LeerCampo(txtTemperatura_->text());
    d.Modo = opcDigitada_->isChecked() ? ModoETP::Digitada : ModoETP::Holdridge;
    d.ETP = LeerCampo(txtETP_->text());
    return d;
}

void frmClima::Mostrar(const DatosClima& d) {
    txtPrecipitacion_->setText(Dato(d.Precipitacion));
    txtTemperatura_->setText(Dato(d.Temperatura));
    opcDigitada_->setChecked(d.Modo == ModoETP::Digitada);
    opcHoldridge_->setChecked(d.Modo == ModoETP::Holdridge);
    txtETP_->setEnabled(d.Modo == ModoETP::Digitada);
    txtETP_->setText(Dato(d.ETP));
}

void frmClima::CargarLineas(const QStringList& lineas) {
    Mostrar(LeerLineasClima(lineas, Datos()));
}

FallaDato frmClima::Validar() const {
    return ValidarClima(Datos(), Separador());
}

QString frmClima::TextoResultado() const {
    const DatosClima d = Datos();
    const ResultadoClima r = CalcularClima(d);
    return QStringLiteral("<p>ETP = %1 mm por año%2<br>Im = %3</p>"
                          "<p style='font-size: 13pt;'>Clase por humedad: <b>%4</b><br>"
                          "Clase por temperatura: <b>%5</b></p>")
        .arg(Cifra(r.ETP, u"#,##0.0"),
             d.Modo == ModoETP::Holdridge ? QStringLiteral(" (Holdridge)") : QString(),
             Cifra(r.Indice, u"0.00"), r.Humedad, r.Temperatura);
}

QStringList frmClima::LineasEntrada() const {
    return LineasClima(Datos());
}

QStringList frmClima::LineasResultado() const {
    const DatosClima d = Datos();
    return ResultadoArchivoClima(d, CalcularClima(d));
}
