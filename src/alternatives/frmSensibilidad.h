// Ventana de sensibilidad de la unidad actual: las tres curvas (confiabilidad, CBR y
// tránsito) pintadas del núcleo de diseño, y su exportación a PDF, SVG o PNG.
#pragma once

#include "alternatives/PintarSensibilidad.h"

#include <QDialog>

class Plataforma;

class frmSensibilidad : public QDialog {
    Q_OBJECT
public:
    frmSensibilidad(const ModuloVarek9& modulo, int unidad, Plataforma& plataforma,
                    QWidget* padre = nullptr);

    const QList<CurvaSensibilidad>& Curvas() const { return curvas_; }
    const DibujoSensibilidad& Dibujo() const { return dibujo_; }
    void Exportar();

private:
    const ModuloVarek9& modulo_;
    Plataforma& plataforma_;
    int unidad_;
    QList<CurvaSensibilidad> curvas_;
    DibujoSensibilidad dibujo_;
};

// "Sensibilidad de la unidad 3 [T-3]".
QString TituloSensibilidad(const ModuloVarek9& modulo, int unidad);
