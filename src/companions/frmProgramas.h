// Lanzador de los programas complementarios: inicia el programa del código que
// lleva su etiqueta, lo espera, lee su resultado y borra los archivos de
// intercambio. Se muestra de forma modal y se cierra solo.
#pragma once

#include "project/ModuloVarek9.h"

#include <QDialog>
#include <QStringList>

class Plataforma;
class ProgramaIniciado;
class QLabel;
class QPushButton;

class frmProgramas : public QDialog {
    Q_OBJECT
public:
    frmProgramas(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* padre = nullptr);

    // Quien llama pone aquí el código del programa ("10" a "13").
    QLabel* lb() const { return lb_; }

    // Todo el trabajo de la ventana; corre una sola vez, en la primera activación.
    void Ejecutar();
    // El nombre de intercambio elegido (vacío si el código no es de la tabla).
    const QString& Intercambio() const { return intercambio_; }

    // Carpetas donde se busca el ejecutable, en orden: por defecto las de
    // CarpetasProgramas.
    QStringList Carpetas;
    // Cuánto se espera, como máximo, a que el programa tome su archivo.
    int EsperaArranqueMs = 10000;
    // Cada cuánto se revisa si el programa terminó.
    int IntervaloEsperaMs = 250;

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void reject() override;

private:
    void EsperarArranque(ProgramaIniciado& programa);

    ModuloVarek9& modulo_;
    Plataforma& plataforma_;
    QLabel* lb_;
    QLabel* lbEspera_;
    QPushButton* btnCancelar_;
    QString intercambio_;
    bool yaActivado_ = false;
    bool cancelado_ = false;
};
