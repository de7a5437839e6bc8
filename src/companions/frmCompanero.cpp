#include "companions/frmCompanero.h"

#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "common/Plataforma.h"
#include "common/VentanasLibzrl.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

QString Cifra(double valor, QStringView mascara, SeparadorDecimal separador) {
    return TextoVentana(Formato(valor, mascara), separador);
}

QString frmCompanero::Cifra(double valor, QStringView mascara) const {
    return ::Cifra(valor, mascara, Separador());
}

frmCompanero::frmCompanero(SesionCompanero& sesion, Plataforma& plataforma, const QString& nombre,
                           const QString& titulo, QWidget* padre)
    : QDialog(padre), sesion_(sesion), plataforma_(plataforma) {
    setObjectName(nombre);
    setWindowTitle(titulo);

    auto* columna = new QVBoxLayout(this);
    auto* encabezado = new QLabel(titulo, this);
    encabezado->setObjectName(QStringLiteral("lbTitulo"));
    QFont grande = encabezado->font();
    grande.setPointSize(grande.pointSize() + 4);
    grande.setBold(true);
    encabezado->setFont(grande);
    columna->addWidget(encabezado);

    lbUnidad_ = new QLabel(this);
    lbUnidad_->setObjectName(QStringLiteral("lbUnidad"));
    lbUnidad_->setWordWrap(true);
    lbUnidad_->setStyleSheet(QStringLiteral("color: #1f4e79;"));
    columna->addWidget(lbUnidad_);
    const auto& unidad = sesion_.Unidad();
    if (sesion_.Argumentos().Seleccionar && unidad && unidad->Fila > 0) {
        lbUnidad_->setText(
            QStringLiteral("Unidad de diseño de la fila %1: tramo [%2], abscisas %3 a %4 m")
                .arg(unidad->Fila)
                .arg(unidad->CodigoTramo.trimmed(), Cifra(unidad->AbscisaInicial, u"#,##0.00"),
                     Cifra(unidad->AbscisaFinal, u"#,##0.00")));
    } else {
        lbUnidad_->hide();
    }

    auto* grupoFormula = new QGroupBox(QStringLiteral("Fórmula"), this);
    lbFormula_ = new QLabel(grupoFormula);
    lbFormula_->setObjectName(QStringLiteral("lbFormula"));
    lbFormula_->setWordWrap(true);
    lbFormula_->setTextFormat(Qt::RichText);
    (new QVBoxLayout(grupoFormula))->addWidget(lbFormula_);
    columna->addWidget(grupoFormula);

    auto* grupoDatos = new QGroupBox(QStringLiteral("Datos"), this);
    datos_ = new QVBoxLayout(grupoDatos);
    columna->addWidget(grupoDatos);

    auto* grupoResultado = new QGroupBox(QStringLiteral("Resultado"), this);
    lbResultado_ = new QLabel(grupoResultado);
    lbResultado_->setObjectName(QStringLiteral("lbResultado"));
    lbResultado_->setWordWrap(true);
    lbResultado_->setTextFormat(Qt::RichText);
    lbResultado_->setMinimumHeight(60);
    (new QVBoxLayout(grupoResultado))->addWidget(lbResultado_);
    columna->addWidget(grupoResultado);

    btnAceptar_ = new QPushButton(QStringLiteral("&Aceptar"), this);
    btnAceptar_->setObjectName(QStringLiteral("btnAceptar"));
    btnCancelar_ = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCancelar_->setObjectName(QStringLiteral("btnCancelar"));
    // En los campos Enter pasa al siguiente; sobre un botón, lo pulsa.
    connect(btnAceptar_, &QPushButton::clicked, this, &frmCompanero::accept);
    connect(btnCancelar_, &QPushButton::clicked, this, &frmCompanero::reject);
    auto* botones = new QHBoxLayout;
    // Sin menú propio: la convención de los números (la de Varek-9) se dice aquí.
    auto* lbSeparador = new QLabel(TextoPreferenciaSeparador(Separador()), this);
    lbSeparador->setObjectName(QStringLiteral("lbSeparador"));
    lbSeparador->setStyleSheet(QStringLiteral("color: gray;"));
    botones->addWidget(lbSeparador);
    botones->addStretch();
    botones->addWidget(btnAceptar_);
    botones->addWidget(btnCancelar_);
    columna->addLayout(botones);
}

void frmCompanero::PonerFormula(const QString& html) {
    lbFormula_->setText(html);
}

QLineEdit* frmCompanero::CampoNumero(QGridLayout& rejilla, const QString& nombre,
                                     const QString& etiqueta, const QString& explicacion) {
    const int fila = rejilla.rowCount();
    auto* rotulo = new QLabel(etiqueta, this);
    auto* campo = new QLineEdit(this);
    campo->setObjectName(nombre);
    campo->setMinimumWidth(90);
    campo->setMaximumWidth(120);
    campo->setToolTip(explicacion);
    rotulo->setBuddy(campo);
    auto* nota = new QLabel(explicacion, this);
    nota->setStyleSheet(QStringLiteral("color: gray;"));
    nota->setWordWrap(true);
    rejilla.addWidget(rotulo, fila, 0);
    rejilla.addWidget(campo, fila, 1);
    rejilla.addWidget(nota, fila, 2);
    return campo;
}

void frmCompanero::Preparar() {
    if (!sesion_.LineasPrevias().isEmpty()) CargarLineas(sesion_.LineasPrevias());
    QList<QWidget*> campos;
    for (QLineEdit* campo : findChildren<QLineEdit*>()) {
        // Las listas desplegables editables traen su propia línea: no es un campo.
        if (qobject_cast<QComboBox*>(campo->parentWidget())) continue;
        campos.append(campo);
        connect(campo, &QLineEdit::textChanged, this, &frmCompanero::Recalcular);
    }
    for (QPlainTextEdit* campo : findChildren<QPlainTextEdit*>()) {
        campos.append(campo);
        connect(campo, &QPlainTextEdit::textChanged, this, &frmCompanero::Recalcular);
    }
    for (QComboBox* lista : findChildren<QComboBox*>())
        connect(lista, &QComboBox::currentIndexChanged, this, &frmCompanero::Recalcular);
    for (QRadioButton* opcion : findChildren<QRadioButton*>())
        connect(opcion, &QRadioButton::toggled, this, &frmCompanero::Recalcular);
    PrepararCampos(campos);
    Recalcular();
    // El cursor arranca en el primer dato, en el orden de tabulación.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
             qobject_cast<QComboBox*>(w)) &&
            w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            break;
        }
    }
    // Centrada con su tamaño definitivo (adjustSize la limitaría a 2/3 de la pantalla).
    QSize tamano = sizeHint();
    if (const QScreen* pantalla = screen())
        tamano = tamano.boundedTo(pantalla->availableGeometry().size());
    resize(tamano);
    CentrarFormulario(*this);
}

void frmCompanero::Recalcular() {
    const FallaDato falla = Validar();
    if (falla.Hay()) {
        lbResultado_->setText(QStringLiteral("<span style='color: gray;'>%1</span>")
                                  .arg(falla.Mensaje.toHtmlEscaped()));
        return;
    }
    lbResultado_->setText(TextoResultado());
}

void frmCompanero::accept() {
    const FallaDato falla = Validar();
    if (falla.Hay()) {
        plataforma_.Aviso(this, QStringLiteral("DATOS DE ENTRADA"), falla.Mensaje,
                          IconoMensaje::Exclamacion);
        if (auto* campo = findChild<QWidget*>(falla.Campo)) {
            campo->setFocus(Qt::OtherFocusReason);
            if (auto* linea = qobject_cast<QLineEdit*>(campo)) SeleccionarTexto(*linea);
        }
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ErrorEscritura e = sesion_.Entregar(LineasEntrada(), LineasResultado());
    QApplication::restoreOverrideCursor();
    if (!e.Ok) {
        plataforma_.Aviso(this, ErrorEscritura::Titulo(), e.Texto(), IconoMensaje::Critico);
        return;
    }
    QDialog::accept();
}
