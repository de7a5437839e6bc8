#include "alternatives/frmCostosUnitarios.h"

#include "app/Historial.h"
#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "common/Grilla.h"
#include "common/Plataforma.h"
#include "common/VentanasLibzrl.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int FilasCostos = 10;
constexpr int ColumnaCosto = 4;
const QString Titulo = QStringLiteral("COSTOS UNITARIOS");

} // namespace

frmCostosUnitarios::frmCostosUnitarios(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* padre)
    : QDialog(padre), modulo_(modulo), plataforma_(plataforma) {
    setObjectName(QStringLiteral("frmCostosUnitarios"));
    setWindowTitle(Titulo);
    QFont letra = font();
    letra.setPointSizeF(8);
    setFont(letra);
    const auto px = [this](double twips) { return PixelesDeTwips(twips, this); };

    grdCU_ = new Grilla(this);
    grdCU_->setObjectName(QStringLiteral("grdCU"));
    grdCU_->PonerFijas(1, 4);
    grdCU_->PonerDimensiones(FilasCostos, 5);
    const char16_t* const titulos[5] = {u"#", u"Tipo Capa", u"Tipo Capa", u"Unidad",
                                        u"Costo Unitario ($)"};
    const double anchos[5] = {400, 700, 4000, 700, 1500};
    const Qt::Alignment alineaciones[5] = {
        Qt::AlignCenter, Qt::AlignCenter, Qt::AlignLeft | Qt::AlignVCenter,
        Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter};
    for (int c = 0; c < 5; ++c) {
        grdCU_->PonerTexto(0, c, QString::fromUtf16(titulos[c]));
        grdCU_->PonerAnchoColumna(c, px(anchos[c]));
        grdCU_->PonerAlineacionColumna(c, alineaciones[c]);
    }
    grdCU_->PonerCombinarFila(0, true);
    grdCU_->PonerAltoFilaFija(0, grdCU_->AltoNormal() * 3);
    NumerarFilas(*grdCU_);
    // Los ocho primeros tipos del catálogo y el geotextil; el afirmado y la
    // subrasante no tienen costo que definir aquí.
    grdCU_->PonerTexto(FilasCostos - 1, 0, QString::number(CapaGEO));
    // El catálogo se escribe con el primer diseño; abierto antes, se escribe aquí.
    if (modulo_.TipoCapa[CapaBG].Codigo.isEmpty()) InicializarCatalogo(modulo_, 0, 0);
    for (int f = 1; f < FilasCostos; ++f) {
        const int t = grdCU_->Texto(f, 0).toInt();
        const TipoCapa& tipo = modulo_.TipoCapa[t];
        grdCU_->PonerTexto(f, 1, tipo.Codigo);
        grdCU_->PonerTexto(f, 2, tipo.Descripcion);
        grdCU_->PonerTexto(f, 3, tipo.Unidad);
        PonerCosto(f, modulo_.Proyecto.CostosUnitarios[t]);
    }
    // Ninguna descripción queda cortada.
    const QFontMetrics medidas(grdCU_->font());
    for (int c = 1; c < 5; ++c) {
        int maximo = grdCU_->AnchoColumna(c);
        for (int f = 1; f < FilasCostos; ++f)
            maximo = std::max(maximo, medidas.horizontalAdvance(grdCU_->Texto(f, c)) +
                                          2 * medidas.horizontalAdvance(u'0'));
        grdCU_->PonerAnchoColumna(c, maximo);
    }
    int ancho = 0;
    for (int c = 0; c < 5; ++c)
        ancho += grdCU_->AnchoColumna(c);
    int alto = 0;
    for (int f = 0; f < FilasCostos; ++f)
        alto += grdCU_->AltoFila(f);
    grdCU_->setFixedSize(ancho + 2 * grdCU_->frameWidth() + 2, alto + 2 * grdCU_->frameWidth() + 2);
    grdCU_->PonerCelda(1, ColumnaCosto);

    txtCU_ = new QLineEdit(this);
    txtCU_->setObjectName(QStringLiteral("txtCU"));
    txtCU_->hide();
    txtCU_->installEventFilter(this);
    connect(txtCU_, &QLineEdit::textEdited, this, &frmCostosUnitarios::CambioTexto);

    auto* btnAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    btnAceptar->setObjectName(QStringLiteral("btnAceptar"));
    btnAceptar->setAutoDefault(false);
    auto* btnSalir = new QPushButton(QStringLiteral("&Salir"), this);
    btnSalir->setObjectName(QStringLiteral("btnSalir"));
    btnSalir->setAutoDefault(false);
    connect(btnAceptar, &QPushButton::clicked, this, &frmCostosUnitarios::Aceptar);
    connect(btnSalir, &QPushButton::clicked, this, &QDialog::reject);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(btnAceptar);
    botones->addWidget(btnSalir);
    auto* menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("Menu"));
    QMenu* opciones = menu->addMenu(QStringLiteral("&Opciones"));
    opciones->setObjectName(QStringLiteral("Menu0"));
    AgregarMenuSeparador(*opciones, modulo_.Separador, [this] { MostrarCostos(); });

    auto* principal = new QVBoxLayout(this);
    principal->setMenuBar(menu);
    principal->addWidget(grdCU_);
    principal->addLayout(botones);
    principal->setSizeConstraint(QLayout::SetFixedSize);

    connect(grdCU_, &Grilla::TeclaAbajo, this, &frmCostosUnitarios::TeclaGrilla);
    connect(grdCU_, &Grilla::TeclaPulsada, this, &frmCostosUnitarios::TeclaPulsada);
    connect(grdCU_, &Grilla::DobleClic, this,
            [this] { AbrirEditor(TextoEditable(grdCU_->Fila()), true); });
    // Pasar a otra celda cierra el editor; la celda conserva lo escrito.
    connect(grdCU_, &Grilla::CeldaCambiada, this, [this] {
        if (Editando() && !cerrando_) CerrarEditor();
    });
    adjustSize();
    CentrarFormulario(*this);
    grdCU_->setFocus();
}

bool frmCostosUnitarios::Editando() const {
    return txtCU_->isVisible();
}

void frmCostosUnitarios::PonerCosto(int fila, std::optional<double> valor) {
    grdCU_->PonerValor(
        fila, ColumnaCosto,
        valor ? TextoVentana(Formato(*valor, u"#,##0.00"), modulo_.Separador) : QString(), valor);
}

std::optional<double> frmCostosUnitarios::Costo(int fila) const {
    return grdCU_->Valor(fila, ColumnaCosto);
}

QString frmCostosUnitarios::TextoEditable(int fila) const {
    // El valor exacto, no el redondeado de la celda: abrir y cerrar no lo cambia.
    const auto valor = Costo(fila);
    return valor ? TextoExacto(*valor, modulo_.Separador) : QString();
}

void frmCostosUnitarios::MostrarCostos() {
    if (Editando()) CerrarEditor();
    for (int f = 1; f < FilasCostos; ++f)
        PonerCosto(f, Costo(f));
}

void frmCostosUnitarios::AbrirEditor(const QString& texto, bool seleccionarTodo) {
    filaEditor_ = grdCU_->Fila();
    valorAnterior_ = Costo(filaEditor_);
    grdCU_->PonerBarras(false);
    UbicarObjetoEnCelda(*txtCU_, *grdCU_);
    txtCU_->setText(texto);
    if (seleccionarTodo)
        txtCU_->selectAll();
    else
        txtCU_->setCursorPosition(static_cast<int>(texto.size()));
    txtCU_->show();
    txtCU_->raise();
    txtCU_->setFocus();
    CambioTexto(texto);
}

bool frmCostosUnitarios::CerrarEditor() {
    txtCU_->hide();
    grdCU_->PonerBarras(true);
    const QString texto = txtCU_->text().trimmed();
    if (texto.isEmpty() || LeerNumeroEscrito(texto, modulo_.Separador).EsNumero) return true;
    PonerCosto(filaEditor_, valorAnterior_);
    plataforma_.Aviso(this, Titulo,
                      QStringLiteral("El costo unitario [%1] de [%2] no es un número; la celda "
                                     "conserva su valor...")
                          .arg(texto, grdCU_->Texto(filaEditor_, 1)));
    return false;
}

void frmCostosUnitarios::CambioTexto(const QString& texto) {
    // Cada cambio pasa en el acto a la celda, ya con su formato.
    // Se aparta a propósito: lo escrito sin número no vale 0; la celda muestra el
    // valor que tenía y al cerrar el editor se rechaza.
    const NumeroEscrito n = LeerNumeroEscrito(texto, modulo_.Separador);
    if (n.EsNumero)
        PonerCosto(filaEditor_, n.Valor);
    else
        PonerCosto(filaEditor_, texto.trimmed().isEmpty() ? std::nullopt : valorAnterior_);
}

void frmCostosUnitarios::TeclaPulsada(const QString& texto) {
    const QChar c = texto.front();
    if (!(c.isDigit() || c == u'-' || c == u'.' || c == u',')) return;
    if (!grdCU_->FilaVisible(grdCU_->Fila())) return;
    AbrirEditor(texto, false);
}

void frmCostosUnitarios::TeclaGrilla(QKeyEvent* evento) {
    switch (evento->key()) {
    case Qt::Key_F2:
        AbrirEditor(TextoEditable(grdCU_->Fila()), true);
        evento->accept();
        break;
    case Qt::Key_Delete: {
        const QRect r = grdCU_->Seleccion();
        for (int f = r.top(); f <= r.bottom(); ++f)
            if (r.right() >= ColumnaCosto) PonerCosto(f, std::nullopt);
        evento->accept();
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        MoverCeldaTrasTecla(*grdCU_, evento->key());
        evento->accept();
        break;
    default:
        break;
    }
}

bool frmCostosUnitarios::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == txtCU_ && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        switch (tecla) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            cerrando_ = true;
            // Rechazado, el cursor se queda en la celda para escribirlo otra vez.
            if (CerrarEditor()) MoverCeldaTrasTecla(*grdCU_, tecla);
            cerrando_ = false;
            grdCU_->setFocus();
            return true;
        case Qt::Key_Escape:
            PonerCosto(filaEditor_, valorAnterior_);
            txtCU_->hide();
            grdCU_->PonerBarras(true);
            grdCU_->setFocus();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void frmCostosUnitarios::Aceptar() {
    if (Editando() && !CerrarEditor()) return;
    // Los valores exactos de las celdas; una celda vacía vale 0.
    for (int f = 1; f < FilasCostos; ++f) {
        const int t = grdCU_->Texto(f, 0).toInt();
        if (t >= 1 && t <= NumeroTiposCapa)
            modulo_.Proyecto.CostosUnitarios[t] = Costo(f).value_or(0);
    }
    modulo_.ProyectoModificado = true;
    RegistrarPaso(modulo_, QStringLiteral("Costos unitarios"));
    accept();
}
