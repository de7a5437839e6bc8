#include "units/frmImportarUH.h"

#include "common/VentanasLibzrl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Qué dice la vista previa de una celda y con qué color.
struct Marca {
    QColor Color;
    QString Texto;
};

Marca MarcaDe(const CeldaNotada& c, SeparadorDecimal preferencia) {
    switch (c.Nota) {
    case NotaPegado::NoEsNumero:
        return {frmImportarUH::ColorRechazada(),
                QStringLiteral("No se toma: \"%1\" no es un número.").arg(c.Texto)};
    case NotaPegado::SinEntrada:
        return {
            frmImportarUH::ColorRechazada(),
            QStringLiteral("No se toma: \"%1\" no es ninguna entrada de la lista.").arg(c.Texto)};
    case NotaPegado::EntradaAmbigua:
        return {frmImportarUH::ColorRechazada(),
                QStringLiteral("No se toma: \"%1\" puede ser más de una entrada de la lista.")
                    .arg(c.Texto)};
    case NotaPegado::Negativo:
        return {frmImportarUH::ColorRechazada(),
                QStringLiteral("No se toma: \"%1\" es negativo.").arg(c.Texto)};
    case NotaPegado::Ambiguo:
        return {frmImportarUH::ColorDudosa(),
                QStringLiteral("\"%1\" se leyó como %2 con la convención del archivo.")
                    .arg(c.Texto, TextoNumeroUH(c.Columna, c.Valor, preferencia))};
    case NotaPegado::FueraDeLoUsual:
        return {frmImportarUH::ColorDudosa(),
                QStringLiteral("%1 está fuera de lo usual en su columna.")
                    .arg(TextoNumeroUH(c.Columna, c.Valor, preferencia))};
    case NotaPegado::Descartado:
        return {frmImportarUH::ColorCambiada(),
                QStringLiteral("\"%1\" se guarda como %2.")
                    .arg(c.Texto, TextoNumeroUH(c.Columna, c.Valor, preferencia))};
    case NotaPegado::SinCaracteres:
        return {frmImportarUH::ColorCambiada(),
                QStringLiteral("Se quitan [%1], que el archivo del proyecto no guarda.")
                    .arg(c.Quitados)};
    }
    return {};
}

// Del color más grave: rechazada antes que dudosa antes que cambiada.
int Gravedad(const QColor& color) {
    if (color == frmImportarUH::ColorRechazada()) return 3;
    if (color == frmImportarUH::ColorDudosa()) return 2;
    return color.isValid() ? 1 : 0;
}

} // namespace

frmImportarUH::frmImportarUH(const QString& ruta, QByteArray datos, const TablaTextos& tabla,
                             int numeroUH, SeparadorDecimal preferencia, QWidget* parent)
    : QDialog(parent), datos_(std::move(datos)), tabla_(tabla), numeroUH_(numeroUH),
      preferencia_(preferencia) {
    setObjectName(QStringLiteral("frmImportarUH"));
    setWindowTitle(QStringLiteral("Importar Unidades [%1]").arg(QFileInfo(ruta).fileName()));

    lblLectura = new QLabel(this);
    lblLectura->setObjectName(QStringLiteral("lblLectura"));
    lblLectura->setWordWrap(true);
    cboHoja = new QComboBox(this);
    cboHoja->setObjectName(QStringLiteral("cboHoja"));
    auto* lblHoja = new QLabel(QStringLiteral("&Hoja:"), this);
    lblHoja->setBuddy(cboHoja);
    grdVista = new QTableWidget(this);
    grdVista->setObjectName(QStringLiteral("grdVista"));
    grdVista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdVista->setColumnCount(ColumnasUH - 1);
    QStringList titulos;
    for (int c = ColCodigoTramo; c < ColumnasUH; ++c)
        titulos << NombreColumnaUH(c);
    grdVista->setHorizontalHeaderLabels(titulos);
    auto* lblColores = new QLabel(
        QStringLiteral("<span style=\"background:%1\">&nbsp;Rojo&nbsp;</span> no se toma; "
                       "<span style=\"background:%2\">&nbsp;amarillo&nbsp;</span> revise: "
                       "su valor depende del separador decimal o está fuera de lo usual; "
                       "<span style=\"background:%3\">&nbsp;azul&nbsp;</span> se cambió al "
                       "leerla. El motivo, al dejar el ratón sobre la celda.")
            .arg(ColorRechazada().name(), ColorDudosa().name(), ColorCambiada().name()),
        this);
    lblColores->setObjectName(QStringLiteral("lblColores"));
    lblColores->setWordWrap(true);
    txtHallazgos = new QPlainTextEdit(this);
    txtHallazgos->setObjectName(QStringLiteral("txtHallazgos"));
    txtHallazgos->setReadOnly(true);
    txtHallazgos->setMaximumHeight(fontMetrics().height() * 9);

    auto* botones = new QDialogButtonBox(this);
    btnImportar = botones->addButton(QStringLiteral("&Importar"), QDialogButtonBox::AcceptRole);
    btnImportar->setObjectName(QStringLiteral("btnImportar"));
    QPushButton* cancelar =
        botones->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
    cancelar->setObjectName(QStringLiteral("btnCancelar"));
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* filaHoja = new QHBoxLayout;
    filaHoja->addWidget(lblHoja);
    filaHoja->addWidget(cboHoja, 1);
    auto* lado = new QVBoxLayout(this);
    lado->addWidget(lblLectura);
    lado->addLayout(filaHoja);
    lado->addWidget(grdVista, 1);
    lado->addWidget(lblColores);
    lado->addWidget(txtHallazgos);
    lado->addWidget(botones);

    Leer();
    // Las hojas del libro se eligen aquí; un CSV no tiene.
    const LecturaHoja& hoja = importacion_.Lectura.Hoja;
    lblHoja->setVisible(!hoja.Hojas.isEmpty());
    cboHoja->setVisible(!hoja.Hojas.isEmpty());
    cboHoja->addItems(hoja.Hojas);
    cboHoja->setCurrentText(hoja.Hoja);
    connect(cboHoja, &QComboBox::currentTextChanged, this, [this] { Leer(); });
    // Casi tan ancha como la ventana de unidades: la tabla tiene 15 columnas.
    const QSize base = parent ? parent->size() : QSize(1000, 600);
    resize(std::max(800, base.width() * 9 / 10), std::max(480, base.height() * 8 / 10));
    btnImportar->setDefault(true);
    grdVista->setFocus();
}

void frmImportarUH::Leer() {
    const CursorEspera espera;
    const QString hoja = cboHoja->currentText();
    importacion_ =
        PrepararImportacionUH(tabla_, numeroUH_, LeerUnidadesArchivo(datos_, hoja), preferencia_);
    LlenarVista();
}

void frmImportarUH::LlenarVista() {
    const ImportacionUH& imp = importacion_;
    const LecturaUnidades& l = imp.Lectura;
    QString lectura = TextoLecturaUH(l);
    if (l.Error.isEmpty()) lectura += u' ' + TextoConvencion(imp.Pegado.Convencion, true);
    lblLectura->setText(lectura);

    // Una tabla de decenas de miles de filas no se arma celda por celda: se ven las
    // primeras y la lista de abajo dice todo lo demás.
    constexpr int MaximoFilasVista = 2000;
    const int todas = l.Error.isEmpty() ? int(l.Filas.size()) : 0;
    const int filas = std::min(todas, MaximoFilasVista);
    grdVista->clearContents();
    grdVista->setRowCount(filas);
    QStringList numeros;
    for (int i = 0; i < filas; ++i) {
        numeros << QString::number(l.FilasArchivo[i]);
        const int f = imp.Fila + i;
        for (int c = ColCodigoTramo; c < ColumnasUH; ++c) {
            // Como lo mostrará la grilla: los números con su máscara.
            const QString texto = imp.Tabla.Texto(f, c);
            auto* item = new QTableWidgetItem(
                EsColumnaNumeroUH(c) && !texto.isEmpty()
                    ? TextoNumeroUH(c, NumeroCeldaUH(imp.Tabla, f, c), preferencia_)
                    : texto);
            if (EsColumnaNumeroUH(c)) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdVista->setItem(i, c - 1, item);
        }
    }
    grdVista->setVerticalHeaderLabels(numeros);
    for (const CeldaNotada& nota : imp.Pegado.Notas) {
        if (nota.Fila - imp.Fila >= filas) continue;
        QTableWidgetItem* item = grdVista->item(nota.Fila - imp.Fila, nota.Columna - 1);
        if (!item) continue;
        const Marca m = MarcaDe(nota, preferencia_);
        if (Gravedad(m.Color) > Gravedad(item->background().color()) ||
            item->background().style() == Qt::NoBrush)
            item->setBackground(m.Color);
        item->setForeground(Qt::black);
        const QString antes = item->toolTip();
        item->setToolTip(antes.isEmpty() ? m.Texto : antes + u'\n' + m.Texto);
    }
    grdVista->resizeColumnsToContents();

    const QString hallazgos = TextoImportacionUH(imp, preferencia_);
    txtHallazgos->setPlainText(
        hallazgos.isEmpty() ? QStringLiteral("Todas las celdas se leen sin dudas.") : hallazgos);
    const int unidades = todas - int(imp.SinCodigo.size());
    btnImportar->setEnabled(l.Error.isEmpty() && unidades > 0);
    if (unidades > 0)
        lblLectura->setText(lectura +
                            QStringLiteral(" Se agregan %1 bajo la unidad %2.")
                                .arg(unidades == 1 ? QStringLiteral("1 unidad")
                                                   : QStringLiteral("%1 unidades").arg(unidades))
                                .arg(numeroUH_) +
                            (todas > filas ? QStringLiteral(" Se muestran las primeras "
                                                            "%1 de %2 filas.")
                                                 .arg(filas)
                                                 .arg(todas)
                                           : QString()));
}
