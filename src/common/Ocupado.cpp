#include "common/Ocupado.h"

#include "common/ArchivoEnUso.h"
#include "common/Plataforma.h"
#include "common/VentanasLibzrl.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

Ocupado::Ocupado(Plataforma& plataforma, QWidget* padre) : QDialog(padre), plataforma_(plataforma) {
    setObjectName(QStringLiteral("Ocupado"));
    setWindowTitle(QStringLiteral("Chequeo de Concurrencia de Archivos"));

    const auto etiqueta = [this](const char* nombre, const QString& texto) {
        auto* l = new QLabel(texto, this);
        l->setObjectName(QString::fromLatin1(nombre));
        return l;
    };
    label1_ = etiqueta("Label1", QString());
    label2_ = etiqueta("Label2", QStringLiteral("esta siendo ocupado por otro usuario"));
    label3_ = etiqueta("Label3", QStringLiteral("espere un momento por favor..."));
    label4_ = etiqueta("Label4", QString());
    lbResultado_ = etiqueta("lbResultado", QStringLiteral("0"));
    lbRevisando_ = etiqueta("lbRevisando", QStringLiteral("Revisando..."));
    lbError_ = etiqueta("lbError", QString());
    // Parámetro y resultado del diálogo: no se ven.
    label4_->hide();
    lbResultado_->hide();
    lbRevisando_->hide();
    QFont negrita = label1_->font();
    negrita.setBold(true);
    label1_->setFont(negrita);
    lbError_->setStyleSheet(QStringLiteral("color: gray;"));
    // Las etiquetas no se encogen: el diálogo conserva su tamaño al revisar.
    lbRevisando_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    cancelar_ = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar_->setObjectName(QStringLiteral("Cancelar"));
    cancelar_->setAutoDefault(false);
    connect(cancelar_, &QPushButton::clicked, this, &Ocupado::Cancelar);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(label1_);
    columna->addWidget(label2_);
    columna->addWidget(label3_);
    columna->addSpacing(8);
    columna->addWidget(lbRevisando_);
    columna->addWidget(lbError_);
    auto* fila = new QHBoxLayout;
    fila->addStretch();
    fila->addWidget(cancelar_);
    columna->addLayout(fila);
    setMinimumWidth(380);

    tiempo_ = new QTimer(this);
    tiempo_->setObjectName(QStringLiteral("Tiempo"));
    tiempo_->setInterval(plataforma_.Intervalo(IntervaloTiempo));
    connect(tiempo_, &QTimer::timeout, this, [this] {
        if (isVisible() && !ArchivoEnUso(label4_->text())) done(QDialog::Accepted);
    });
    vuelta_ = new QTimer(this);
    vuelta_->setSingleShot(true);
    connect(vuelta_, &QTimer::timeout, this, &Ocupado::Revisar);

    // Aparece mientras el usuario trabaja en otro programa: no le quita el teclado.
    setAttribute(Qt::WA_ShowWithoutActivating);
    adjustSize();
    CentrarFormulario(*this);
}

void Ocupado::PonerArchivo(const QString& archivo) {
    label4_->setText(archivo);
}

bool Ocupado::Cancelado() const {
    return lbResultado_->text() == u"1";
}

void Ocupado::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (yaActivado_) return;
    yaActivado_ = true;
    PrimeraActivacion();
}

void Ocupado::PrimeraActivacion() {
    lbResultado_->setText(QStringLiteral("0"));
    label1_->setText(TextoArchivoOcupado(label4_->text()));
    tiempo_->start();
    // La primera revisión, en cuanto la ventana termina de mostrarse.
    vuelta_->start(0);
}

void Ocupado::Revisar() {
    if (!isVisible()) return;
    lbRevisando_->show();
    const PruebaUso prueba = ProbarArchivoEnUso(label4_->text());
    if (!prueba.EnUso) {
        lbRevisando_->hide();
        done(QDialog::Accepted);
        return;
    }
    lbRevisando_->hide();
    lbError_->setText(prueba.Error);
    // Cada vuelta espera distinto para no revisar al ritmo de otra estación.
    vuelta_->start(plataforma_.Intervalo(MilisegundosAlAzar(plataforma_.Azar(), 0.5, 1.5)));
}

void Ocupado::mouseDoubleClickEvent(QMouseEvent* evento) {
    QDialog::mouseDoubleClickEvent(evento);
    cancelar_->setVisible(!cancelar_->isVisible());
}

void Ocupado::Cancelar() {
    lbResultado_->setText(QStringLiteral("1"));
    done(QDialog::Rejected);
}

void Ocupado::reject() {
    // Escape o cerrar la ventana valen como "Cancelar" solo si el botón se ve.
    if (cancelar_->isVisible()) Cancelar();
}

namespace {

// Aviso en la barra de quien llama; una barra que no sabe mostrar texto se ignora.
void AvisarEnBarra(QWidget* barra, const QString& texto) {
    if (auto* etiqueta = qobject_cast<QLabel*>(barra)) {
        etiqueta->setText(texto);
        etiqueta->setVisible(!texto.isEmpty());
        etiqueta->repaint();
    } else if (auto* estado = qobject_cast<QStatusBar*>(barra)) {
        if (texto.isEmpty())
            estado->clearMessage();
        else
            estado->showMessage(texto);
        estado->repaint();
    }
}

} // namespace

bool EsperarArchivoLibre(Plataforma& plataforma, const QString& archivo, QWidget* barra,
                         int enBarra, QWidget* padre) {
    if (!ArchivoEnUso(archivo)) return false;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool cancelado = false;
    if (enBarra != 0) {
        // Sin diálogo no hay cómo abandonar: se espera hasta que el archivo se libere.
        const QPointer<QWidget> vigilada(barra);
        AvisarEnBarra(vigilada, TextoTablaOcupada(archivo));
        while (ArchivoEnUso(archivo))
            plataforma.PausaAlAzar(0.5, 1.5, false);
        AvisarEnBarra(vigilada, QString());
    } else {
        bool libre = false;
        for (int i = 0; i < 5 && !libre; ++i) {
            plataforma.PausaAlAzar(0.5, 1.5);
            libre = !ArchivoEnUso(archivo);
        }
        if (!libre) {
            Ocupado dialogo(plataforma, padre);
            dialogo.PonerArchivo(archivo);
            // El diálogo es la ventana activa: lleva el puntero normal.
            QApplication::setOverrideCursor(Qt::ArrowCursor);
            plataforma.MostrarModal(dialogo);
            QApplication::restoreOverrideCursor();
            cancelado = dialogo.Cancelado();
        }
    }
    QApplication::restoreOverrideCursor();
    return cancelado;
}
