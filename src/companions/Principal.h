// Arranque común de los programas complementarios: toma el archivo de
// intercambio antes de mostrar la ventana y lo suelta al salir.
#pragma once

#include "common/EntradaDatos.h"
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
