// Punto de entrada de la aplicación: un proyecto por proceso.
#include "app/Arranque.h"
#include "app/PlataformaQt.h"
#include "app/frmVarek9.h"
#include "common/EntradaDatos.h"
#include "common/ModuloLibzrl.h"
#include "common/TraduccionQt.h"
#include "printing/ImpresoraQt.h"
#include "project/ModuloVarek9.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Los recursos viven en una biblioteca estática: hay que registrarlos a mano.
    Q_INIT_RESOURCE(recursos);
    QApplication::setApplicationName(QStringLiteral("Varek-9"));
    QApplication::setApplicationVersion(QStringLiteral(VAREK9_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/varek9.png")));
    RegistrarFuenteReportes();
    CargarTraduccionQt();
    // Antes de todo lo demás: los archivos de trabajo van a la carpeta elegida.
    QStringList argumentos = QCoreApplication::arguments();
    EntrarEnCarpetaDeTrabajo(argumentos);

    ModuloVarek9 modulo;
    modulo.Separador = LeerSeparadorDecimal();
    PlataformaQt plataforma;
    frmVarek9 ventana(modulo, plataforma, LineaComando(argumentos));
    ventana.show();
    return app.exec();
}
