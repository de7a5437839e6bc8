// Punto de entrada de la aplicación: un proyecto por proceso.
#include "app/ArchivoProyecto.h"
#include "app/ModuloVarek9.h"
#include "app/frmVarek9.h"
#include "common/ModuloLibzrl.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ModuloVarek9 modulo;

    // La línea de comandos se parte en comas, como la escribe el usuario.
    const QStringList items = ArgumentosLinea(LineaComando(QCoreApplication::arguments()));

    NuevoProyectoDatos(modulo);
    CargarUltimoProyecto(modulo, items.value(0));

    frmVarek9 ventana(modulo);
    ventana.show();
    const AvisoLectura aviso = LeerProyecto(modulo);
    ventana.ActualizarTitulo();
    if (aviso.HayAviso) QMessageBox::warning(&ventana, aviso.Titulo, aviso.Texto);
    return app.exec();
}
