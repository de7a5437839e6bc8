// Ventana principal de la aplicación.
#pragma once

#include "app/ModuloVarek9.h"

#include <QMainWindow>

class frmVarek9 : public QMainWindow {
    Q_OBJECT
public:
    explicit frmVarek9(ModuloVarek9& modulo, QWidget* parent = nullptr);

    // "VAREK-9 [" + ArchivoProyecto + "]".
    void ActualizarTitulo();

private:
    ModuloVarek9& modulo_;
};
