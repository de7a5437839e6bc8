// Arranque común de los programas complementarios: toma el archivo de
// intercambio antes de mostrar la ventana y lo suelta al salir.
#pragma once

#include "common/EntradaDatos.h"
#include "common/Plataforma.h"
#include "common/TraduccionQt.h"
#include "companions/Programas.h"
#include "companions/Protocolo.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

// El icono de Varek-9 con la inicial del programa en una marca: cada programa se
// distingue en la barra de tareas.
inline QIcon IconoCompanero(QChar inicial) {
    QPixmap imagen(QStringLiteral(":/varek9.png"));
    if (imagen.isNull()) return {};
    QPainter pintor(&imagen);
    pintor.setRenderHint(QPainter::Antialiasing);
    const qreal lado = imagen.width() * 0.5;
    const QRectF marca(imagen.width() - lado, imagen.height() - lado, lado, lado);
    pintor.setPen(Qt::NoPen);
    pintor.setBrush(QColor(0x1f, 0x4e, 0x79));
    pintor.drawEllipse(marca);
    QFont letra = pintor.font();
    letra.setBold(true);
    letra.setPixelSize(int(lado * 0.62));
    pintor.setFont(letra);
    pintor.setPen(Qt::white);
    pintor.drawText(marca, Qt::AlignCenter, QString(inicial));
    pintor.end();
    return QIcon(imagen);
}

template <class Ventana>
int EjecutarCompanero(int argc, char** argv, QStringView codigo) {
    QApplication app(argc, argv);
    CargarTraduccionQt();
    const ProgramaComplementario* programa = BuscarPrograma(codigo);
    // El nombre da también la clase de la ventana (WM_CLASS): una por programa.
    QApplication::setApplicationName(QStringLiteral("Varek-9 ") + programa->Nombre.toString());
    Q_INIT_RESOURCE(recursos);
    QApplication::setWindowIcon(IconoCompanero(programa->Nombre.front()));
    const std::unique_ptr<Plataforma> unica = CrearPlataformaQt();
    Plataforma& plataforma = *unica;
    // La convención de los números, la misma preferencia que usa Varek-9.
    SesionCompanero sesion(LeerArgumentosCompanero(QCoreApplication::arguments()),
                           programa->ExtensionLineas.toString(), LeerSeparadorDecimal());
    if (!sesion.Iniciar()) {
        plataforma.Aviso(nullptr, QStringLiteral("ERROR"), sesion.ErrorInicio(),
                         IconoMensaje::Critico);
        return 1;
    }
    Ventana ventana(sesion, plataforma);
    plataforma.MostrarModal(ventana);
    sesion.Terminar();
    return 0;
}
