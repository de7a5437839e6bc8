// Ventana del programa de drenaje: rango del coeficiente m de la tabla AASHTO-93.
#pragma once

#include "companions/CalculoDrenaje.h"
#include "companions/frmCompanero.h"

class QComboBox;
class QLineEdit;
class QTableWidget;

class frmDrenaje : public frmCompanero {
    Q_OBJECT
public:
    frmDrenaje(SesionCompanero& sesion, Plataforma& plataforma, QWidget* padre = nullptr);

    DatosDrenaje Datos() const;

protected:
    void CargarLineas(const QStringList& lineas) override;
    FallaDato Validar() const override;
    QString TextoResultado() const override;
    QStringList LineasEntrada() const override;
    QStringList LineasResultado() const override;

private:
    void MarcarTabla();

    QComboBox* lstCalidad_;
    QLineEdit* txtSaturacion_;
    QTableWidget* grdTabla_;
};
