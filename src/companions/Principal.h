// Arranque común de los programas complementarios: toma el archivo de
// intercambio antes de mostrar la ventana y lo suelta al salir.
#pragma once

#include "common/Plataforma.h"
#include "common/TraduccionQt.h"
#include "companions/Programas.h"
#include "companions/Protocolo.h"

#include <QApplication>

template <class Ventana>
int EjecutarCompanero(int argc, char** argv, QStringView codigo) {
    QApplication app(argc, argv);
    CargarTraduccionQt();
    const ProgramaComplementario* programa = BuscarPrograma(codigo);
    QApplication::setApplicationName(programa->Nombre.toString());
    const std::unique_ptr<Plataforma> unica = CrearPlataformaQt();
    Plataforma& plataforma = *unica;
    SesionCompanero sesion(LeerArgumentosCompanero(QCoreApplication::arguments()),
                           programa->ExtensionLineas.toString());
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
