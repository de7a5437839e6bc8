#include "companions/frmProgramas.h"

#include "common/ArchivoEnUso.h"
#include "common/CarpetasSesion.h"
#include "common/Ocupado.h"
#include "common/Plataforma.h"
#include "common/VentanasLibzrl.h"
#include "companions/Programas.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

frmProgramas::frmProgramas(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* padre)
    : QDialog(padre), modulo_(modulo), plataforma_(plataforma) {
    setObjectName(QStringLiteral("frmProgramas"));
    setWindowTitle(QStringLiteral("Programas"));
    lb_ = new QLabel(QStringLiteral("QuePrograma"), this);
    lb_->setObjectName(QStringLiteral("lb"));
    lb_->setAlignment(Qt::AlignCenter);
    // Mientras corre el programa se dice a quién se espera, con la salida a mano.
    lbEspera_ = new QLabel(this);
    lbEspera_->setObjectName(QStringLiteral("lbEspera"));
    lbEspera_->setAlignment(Qt::AlignCenter);
    lbEspera_->hide();
    btnCancelar_ = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCancelar_->setObjectName(QStringLiteral("btnCancelar"));
    btnCancelar_->hide();
    connect(btnCancelar_, &QPushButton::clicked, this, [this] { cancelado_ = true; });
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(lb_);
    columna->addWidget(lbEspera_);
    columna->addWidget(btnCancelar_, 0, Qt::AlignCenter);
    setMinimumWidth(220);
    Carpetas = CarpetasProgramas();
    adjustSize();
    CentrarFormulario(*this);
}

void frmProgramas::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    // Después de mostrarse, para que la ventana se vea mientras espera.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) Ejecutar();
    });
}

void frmProgramas::closeEvent(QCloseEvent* evento) {
    // La espera no se abandona desde aquí: el programa sigue abierto.
    if (yaActivado_ && isVisible()) evento->ignore();
}

void frmProgramas::reject() {
    // Escape abandona la espera del programa, como "&Cancelar"; antes de eso no.
    if (btnCancelar_->isVisible()) cancelado_ = true;
}

void frmProgramas::Ejecutar() {
    if (yaActivado_) return;
    yaActivado_ = true;
    ResultadoPrograma& resultado = modulo_.ResultadoPrograma;
    resultado.HayResultado = false;

    const QString codigo = lb_->text().trimmed();
    const ProgramaComplementario* programa = BuscarPrograma(codigo);
    if (programa) {
        // El primer nombre libre; si el usuario abandona la espera por uno, el siguiente.
        for (int n = 1;; ++n) {
            intercambio_ = NombreIntercambio(programa->Letra, n);
            if (!EsperarArchivoLibre(plataforma_, RutaTrabajo(intercambio_), nullptr, 0, this))
                break;
        }
        // El programa recibe el nombre corto y corre en la carpeta de trabajo.
        const QString archivoX = RutaTrabajo(intercambio_);
        const QString resultadoX = ArchivoResultado(archivoX);
        // Un resultado de una corrida anterior no debe pasar por el de esta.
        BorrarSiExiste(resultadoX);

        const QString nombre = NombreEjecutable(*programa);
        const QString ruta = BuscarEjecutable(nombre, Carpetas);
        std::unique_ptr<ProgramaIniciado> iniciado;
        if (!ruta.isEmpty())
            iniciado = plataforma_.IniciarPrograma(
                ruta,
                {ArgumentoPrograma(resultado.Referencia, intercambio_, resultado.Seleccionar)});
        if (!iniciado) {
            plataforma_.Aviso(
                this, QStringLiteral("ERROR"),
                QStringLiteral("No fue posible iniciar el programa [%1]...").arg(nombre),
                IconoMensaje::Critico);
        } else {
            EsperarArranque(*iniciado);
            // Mientras el programa tenga su archivo, sigue abierto. La espera habla
            // del programa: el diálogo de archivo ocupado culparía a "otro usuario".
            lbEspera_->setText(
                QStringLiteral("Esperando el resultado de [%1]...").arg(programa->Nombre));
            lbEspera_->show();
            btnCancelar_->show();
            btnCancelar_->setFocus();
            adjustSize();
            while (!cancelado_ && ArchivoEnUso(archivoX))
                plataforma_.Pausa(IntervaloEsperaMs);
            lbEspera_->hide();
            btnCancelar_->hide();
            resultado.HayResultado = false;
            if (!cancelado_) LeerArchivoResultado(codigo, resultadoX, resultado);
        }
        // Un programa que sigue abierto conserva su archivo.
        if (!cancelado_) {
            BorrarSiExiste(archivoX);
            BorrarSiExiste(resultadoX);
        }
    }
    done(QDialog::Accepted);
}

void frmProgramas::EsperarArranque(ProgramaIniciado& programa) {
    // El programa toma su archivo al arrancar; hasta entonces no hay qué esperar.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QElapsedTimer reloj;
    reloj.start();
    while (!ArchivoEnUso(RutaTrabajo(intercambio_)) && !programa.Terminado() &&
           reloj.elapsed() < EsperaArranqueMs)
        plataforma_.Pausa(50);
    QApplication::restoreOverrideCursor();
}
