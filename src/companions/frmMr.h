// Ventana del programa de módulo resiliente: CBR de diseño de la subrasante.
#pragma once

#include "companions/CalculoMr.h"
#include "companions/frmCompanero.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

class frmMr : public frmCompanero {
    Q_OBJECT
public:
    frmMr(SesionCompanero& sesion, Plataforma& plataforma, QWidget* padre = nullptr);

    DatosMr Datos() const;

protected:
    void CargarLineas(const QStringList& lineas) override;
    FallaDato Validar() const override;
    QString TextoResultado() const override;
    QStringList LineasEntrada() const override;
    QStringList LineasResultado() const override;

private:
    void ContarEnsayos();

    QPlainTextEdit* txtCBR_;
    QLabel* lbEnsayos_;
    QLineEdit* txtEjes_;
};
