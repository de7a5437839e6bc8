// Costos unitarios por tipo de capa: una grilla de nueve tipos con el costo como
// única columna editable. Nada llega al proyecto hasta "&Aceptar".
#pragma once

#include "project/ModuloVarek9.h"

#include <QDialog>

class Grilla;
class QKeyEvent;
class QLineEdit;

class frmCostosUnitarios : public QDialog {
    Q_OBJECT
public:
    explicit frmCostosUnitarios(ModuloVarek9& modulo, QWidget* padre = nullptr);

    void Aceptar();
    bool Editando() const;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void AbrirEditor(const QString& texto, bool seleccionarTodo);
    void CerrarEditor();
    void TeclaGrilla(QKeyEvent* evento);
    void TeclaPulsada(const QString& texto);
    void CambioTexto(const QString& texto);

    ModuloVarek9& modulo_;
    Grilla* grdCU_;
    QLineEdit* txtCU_;
    QString valorAnterior_;
    bool cerrando_ = false;
};
