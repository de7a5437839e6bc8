// Ventana del programa de clima: clases por humedad y por temperatura.
#pragma once

#include "companions/CalculoClima.h"
#include "companions/frmCompanero.h"

class QLineEdit;
class QRadioButton;

class frmClima : public frmCompanero {
    Q_OBJECT
public:
    frmClima(SesionCompanero& sesion, Plataforma& plataforma, QWidget* padre = nullptr);

    DatosClima Datos() const;

protected:
    void CargarLineas(const QStringList& lineas) override;
    FallaDato Validar() const override;
    QString TextoResultado() const override;
    QStringList LineasEntrada() const override;
    QStringList LineasResultado() const override;

private:
    void Mostrar(const DatosClima& datos);

    QLineEdit* txtPrecipitacion_;
    QLineEdit* txtTemperatura_;
    QRadioButton* opcHoldridge_;
    QRadioButton* opcDigitada_;
    QLineEdit* txtETP_;
};
