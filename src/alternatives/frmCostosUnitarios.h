// Costos unitarios por tipo de capa: una grilla de nueve tipos con el costo como
// única columna editable. Nada llega al proyecto hasta "&Aceptar". Los costos se
// escriben y se ven con el separador decimal del usuario; la grilla guarda el
// valor exacto de cada celda.
#pragma once

#include "project/ModuloVarek9.h"

#include <QDialog>

#include <optional>

class Grilla;
class Plataforma;
class QKeyEvent;
class QLineEdit;

class frmCostosUnitarios : public QDialog {
    Q_OBJECT
public:
    frmCostosUnitarios(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* padre = nullptr);

    void Aceptar();
    bool Editando() const;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void AbrirEditor(const QString& texto, bool seleccionarTodo);
    // Cierra el editor. Lo escrito sin número se rechaza con un aviso: la celda
    // vuelve al valor que tenía y devuelve false.
    bool CerrarEditor();
    void TeclaGrilla(QKeyEvent* evento);
    void TeclaPulsada(const QString& texto);
    void CambioTexto(const QString& texto);
    // La celda de costo de la fila, con su valor exacto; sin valor, vacía.
    void PonerCosto(int fila, std::optional<double> valor);
    std::optional<double> Costo(int fila) const;
    // El número exacto de la celda para editarlo; vacía, nada.
    QString TextoEditable(int fila) const;
    void MostrarCostos();

    ModuloVarek9& modulo_;
    Plataforma& plataforma_;
    Grilla* grdCU_;
    QLineEdit* txtCU_;
    int filaEditor_ = 0;
    std::optional<double> valorAnterior_;
    bool cerrando_ = false;
};
