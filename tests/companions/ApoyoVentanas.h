// Apoyo de las pruebas de ventanas de los complementarios: una carpeta de trabajo
// propia con la plataforma guionada y los controles buscados por su nombre.
#pragma once

#include "Archivos.h"
#include "PlataformaGuionada.h"

#include <QLabel>
#include <QTemporaryDir>

struct CarpetaGuionada {
    QTemporaryDir carpeta;
    DirectorioActual cd{carpeta.path()};
    PlataformaGuionada plataforma;

    QString UltimoMensaje() const {
        return plataforma.Mensajes.isEmpty() ? QString() : plataforma.Mensajes.last().Texto;
    }
};

// El control de ese nombre; si falta, la prueba no puede seguir.
template <class T = QWidget>
T* Control(QWidget& ventana, const QString& nombre) {
    T* control = ventana.findChild<T*>(nombre);
    if (!control) qFatal("falta %s", qPrintable(nombre));
    return control;
}

inline QString Texto(QWidget& ventana, const QString& etiqueta) {
    return Control<QLabel>(ventana, etiqueta)->text();
}
