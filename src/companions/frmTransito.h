// Ventana del programa de tránsito: W18 desde el TPD y su composición.
#pragma once

#include "companions/CalculoTransito.h"
#include "companions/frmCompanero.h"

#include <array>

class QLabel;
class QLineEdit;

class frmTransito : public frmCompanero {
    Q_OBJECT
public:
    frmTransito(SesionCompanero& sesion, Plataforma& plataforma, QWidget* padre = nullptr);

    // Los datos tal como están escritos en la ventana (NaN donde no hay número).
    DatosTransito Datos() const;

protected:
    void CargarLineas(const QStringList& lineas) override;
    FallaDato Validar() const override;
    QString TextoResultado() const override;
    QStringList LineasEntrada() const override;
    QStringList LineasResultado() const override;

private:
    void Mostrar(const DatosTransito& datos);
    void ActualizarSuma();

    QLineEdit* txtTPD_;
    std::array<QLineEdit*, NumeroClasesVehiculo> txtPorcentaje_{};
    std::array<QLineEdit*, NumeroClasesVehiculo> txtFactor_{};
    QLabel* lbSuma_;
    QLineEdit* txtDireccional_;
    QLineEdit* txtCarril_;
    QLineEdit* txtCrecimiento_;
    QLineEdit* txtPeriodo_;
};
