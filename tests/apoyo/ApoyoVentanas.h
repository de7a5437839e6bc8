// Apoyo de las pruebas de ventanas: una carpeta de trabajo propia con la
// plataforma guionada y los controles buscados por su nombre.
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
    // Cada mensaje mostrado como "TÍTULO: texto".
    QStringList Avisos() const {
        QStringList avisos;
        for (const MensajeRegistrado& m : plataforma.Mensajes)
            avisos << m.Titulo + QStringLiteral(": ") + m.Texto;
        return avisos;
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

// El texto de cada control nombrado (etiqueta, campo o lista) unido con "|", para
// comparar varios de una vez.
inline QString Textos(QWidget& ventana, const QStringList& nombres) {
    QStringList textos;
    for (const QString& nombre : nombres) {
        QWidget* c = Control(ventana, nombre);
        textos << c->property(c->inherits("QComboBox") ? "currentText" : "text").toString();
    }
    return textos.join(u'|');
}
