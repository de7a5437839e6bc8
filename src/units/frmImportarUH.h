// Vista previa de "Importar Unidades...": las filas del archivo como entrarán
// a la grilla, con cada celda rechazada, ambigua o fuera de lo usual marcada,
// antes de que nada cambie. "Importar" acepta; "Cancelar" no cambia nada.
#pragma once

#include "units/ImportarUH.h"

#include <QByteArray>
#include <QColor>
#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class frmImportarUH : public QDialog {
    Q_OBJECT
public:
    // tabla: la grilla de unidades ya revisada, con numeroUH unidades.
    frmImportarUH(const QString& ruta, QByteArray datos, const TablaTextos& tabla, int numeroUH,
                  SeparadorDecimal preferencia, QWidget* parent = nullptr);

    const ImportacionUH& Importacion() const { return importacion_; }

    // Colores de las celdas marcadas (texto negro encima, contraste de sobra).
    static QColor ColorRechazada() { return QColor(255, 190, 190); }
    static QColor ColorDudosa() { return QColor(255, 235, 150); }
    static QColor ColorCambiada() { return QColor(200, 225, 255); }

private:
    void Leer();
    void LlenarVista();

    QByteArray datos_;
    TablaTextos tabla_;
    int numeroUH_ = 0;
    SeparadorDecimal preferencia_;
    ImportacionUH importacion_;

    QLabel* lblLectura = nullptr;
    QComboBox* cboHoja = nullptr;
    QTableWidget* grdVista = nullptr;
    QPlainTextEdit* txtHallazgos = nullptr;
    QPushButton* btnImportar = nullptr;
};
