#include "companions/frmDrenaje.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString TextoRango(const RangoDrenaje& m, SeparadorDecimal s) {
    if (m.Maximo == m.Minimo) return Cifra(m.Maximo, u"0.00", s);
    return QStringLiteral("%1 – %2").arg(Cifra(m.Maximo, u"0.00", s), Cifra(m.Minimo, u"0.00", s));
}

} // namespace

frmDrenaje::frmDrenaje(SesionCompanero& sesion, Plataforma& plataforma, QWidget* padre)
    : frmCompanero(sesion, plataforma, QStringLiteral("frmDrenaje"),
                   QStringLiteral("Coeficiente de Drenaje (m)"), padre) {
    PonerFormula(QStringLiteral(
        "<p style='font-size: 12pt;'><b>SN = a<sub>1</sub>D<sub>1</sub> + "
        "a<sub>2</sub>D<sub>2</sub><u>m<sub>2</sub></u> + "
        "a<sub>3</sub>D<sub>3</sub><u>m<sub>3</sub></u></b></p>"
        "<p>El coeficiente m ajusta el aporte estructural de las capas granulares sin "
        "tratar según la calidad del drenaje (el tiempo en que se elimina el agua) y el "
        "porcentaje del tiempo en que la estructura está expuesta a humedades próximas a la "
        "saturación. Sus valores son los de la tabla de la guía AASHTO-93.</p>"));

    auto* rejilla = new QGridLayout;
    auto* rotulo = new QLabel(QStringLiteral("Calidad del drenaje"), this);
    lstCalidad_ = new QComboBox(this);
    lstCalidad_->setObjectName(QStringLiteral("lstCalidad"));
    for (const CalidadDrenaje& c : CalidadesDrenaje())
        lstCalidad_->addItem(QStringLiteral("%1 (agua eliminada en %2)")
                                 .arg(c.Nombre.toString(), c.TiempoRemocion.toString()));
    lstCalidad_->setCurrentIndex(-1);
    rotulo->setBuddy(lstCalidad_);
    auto* nota = new QLabel(QStringLiteral("tiempo en que el agua sale de la estructura"), this);
    nota->setStyleSheet(QStringLiteral("color: gray;"));
    rejilla->addWidget(rotulo, 0, 0);
    rejilla->addWidget(lstCalidad_, 0, 1);
    rejilla->addWidget(nota, 0, 2);
    txtSaturacion_ = CampoNumero(*rejilla, QStringLiteral("txtSaturacion"),
                                 QStringLiteral("Tiempo próximo a la saturación"),
                                 QStringLiteral("% del año en que la estructura está expuesta a "
                                                "humedades próximas a la saturación"));
    AreaDatos()->addLayout(rejilla);

    grdTabla_ = new QTableWidget(NumeroCalidadesDrenaje, NumeroRangosSaturacion, this);
    grdTabla_->setObjectName(QStringLiteral("grdTabla"));
    grdTabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTabla_->setSelectionMode(QAbstractItemView::NoSelection);
    grdTabla_->setFocusPolicy(Qt::NoFocus);
    QStringList columnas;
    for (QStringView r : RangosSaturacion())
        columnas.append(r.toString());
    grdTabla_->setHorizontalHeaderLabels(columnas);
    QStringList filas;
    for (const CalidadDrenaje& c : CalidadesDrenaje())
        filas.append(c.Nombre.toString());
    grdTabla_->setVerticalHeaderLabels(filas);
    for (int i = 0; i < NumeroCalidadesDrenaje; ++i)
        for (int j = 0; j < NumeroRangosSaturacion; ++j) {
            auto* celda = new QTableWidgetItem(TextoRango(CoeficienteDrenaje(i, j), Separador()));
            celda->setTextAlignment(Qt::AlignCenter);
            grdTabla_->setItem(i, j, celda);
        }
    grdTabla_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Toda la tabla a la vista, sin barras: filas de una línea.
    grdTabla_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdTabla_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    grdTabla_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdTabla_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdTabla_->setFixedHeight(grdTabla_->horizontalHeader()->sizeHint().height() +
                              NumeroCalidadesDrenaje *
                                  grdTabla_->verticalHeader()->defaultSectionSize() +
                              2 * grdTabla_->frameWidth());
    AreaDatos()->addWidget(grdTabla_);

    connect(lstCalidad_, &QComboBox::currentIndexChanged, this, &frmDrenaje::MarcarTabla);
    connect(txtSaturacion_, &QLineEdit::textChanged, this, &frmDrenaje::MarcarTabla);
    Preparar();
    MarcarTabla();
}

DatosDrenaje frmDrenaje::Datos() const {
    return {lstCalidad_->currentIndex(), LeerCampo(txtSaturacion_->text())};
}

void frmDrenaje::MarcarTabla() {
    const DatosDrenaje d = Datos();
    const bool valido = !ValidarDrenaje(d).Hay();
    const int columna = valido ? ColumnaSaturacion(d.Saturacion) : -1;
    for (int i = 0; i < NumeroCalidadesDrenaje; ++i)
        for (int j = 0; j < NumeroRangosSaturacion; ++j) {
            QTableWidgetItem* celda = grdTabla_->item(i, j);
            const bool elegida = i == d.Calidad && j == columna;
            celda->setBackground(elegida ? QBrush(QColor(255, 230, 150)) : QBrush());
            QFont f = celda->font();
            f.setBold(elegida);
            celda->setFont(f);
        }
}

void frmDrenaje::CargarLineas(const QStringList& lineas) {
    const DatosDrenaje d = LeerLineasDrenaje(lineas, Datos());
    lstCalidad_->setCurrentIndex(d.Calidad);
    txtSaturacion_->setText(Dato(d.Saturacion));
}

FallaDato frmDrenaje::Validar() const {
    return ValidarDrenaje(Datos());
}

QString frmDrenaje::TextoResultado() const {
    const DatosDrenaje d = Datos();
    const RangoDrenaje m = CalcularDrenaje(d);
    return QStringLiteral("<p>Calidad %1, %2 del tiempo próximo a la saturación (columna «%3»)</p>"
                          "<p style='font-size: 13pt;'>m = <b>%4</b>; valor medio %5</p>")
        .arg(CalidadesDrenaje()[d.Calidad].Nombre.toString(),
             Cifra(d.Saturacion, u"0.0") + QStringLiteral(" %"),
             RangosSaturacion()[ColumnaSaturacion(d.Saturacion)].toString(),
             TextoRango(m, Separador()), Cifra(m.Medio(), u"0.00"));
}

QStringList frmDrenaje::LineasEntrada() const {
    return LineasDrenaje(Datos());
}

QStringList frmDrenaje::LineasResultado() const {
    const DatosDrenaje d = Datos();
    return ResultadoArchivoDrenaje(d, CalcularDrenaje(d));
}
