#include "app/frmVarek9.h"

#include <QLabel>

frmVarek9::frmVarek9(ModuloVarek9& modulo, QWidget* parent) : QMainWindow(parent), modulo_(modulo) {
    setObjectName(QStringLiteral("frmVarek9"));
    setWindowTitle(QStringLiteral("DISEÑO DE PAVIMENTOS PARA VIAS CON BAJOS VOLUMENES (VAREK-9)"));
    auto* banner = new QLabel(
        QStringLiteral("<p align=center>Software para Diseño de Pavimentos Asfálticos en Vías "
                       "con Bajos Volúmenes de Tránsito</p><h1 align=center>VAREK-9</h1>"
                       "<p align=center>Versión 2007</p>"),
        this);
    banner->setObjectName(QStringLiteral("lbBanner"));
    setCentralWidget(banner);
    resize(640, 360);
}

void frmVarek9::ActualizarTitulo() {
    setWindowTitle(QStringLiteral("VAREK-9 [%1]").arg(modulo_.ArchivoProyecto));
}
