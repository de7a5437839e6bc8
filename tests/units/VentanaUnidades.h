// La ventana de unidades abierta sobre un módulo y una plataforma guionada, como
// la usan las pruebas de la tabla y de sus botones.
#pragma once

#include "PlataformaGuionada.h"

#include "common/Grilla.h"
#include "units/frmUnidadesHomogeneas.h"

#include <QTest>

#include <memory>

struct VentanaUnidades {
    ModuloVarek9 modulo;
    PlataformaGuionada plataforma;
    std::unique_ptr<frmUnidadesHomogeneas> ventana;

    frmUnidadesHomogeneas& Abrir() {
        ventana = std::make_unique<frmUnidadesHomogeneas>(modulo, plataforma);
        ventana->show();
        ventana->activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(ventana.get()));
        return *ventana;
    }
    Grilla& G() { return ventana->Cuadricula(); }
};
