// Punto de entrada de la aplicación: un proyecto por proceso.
#include "app/Arranque.h"
#include "app/PlataformaQt.h"
#include "app/frmVarek9.h"
#include "common/CarpetasSesion.h"
#include "common/EntradaDatos.h"
#include "common/ModuloLibzrl.h"
#include "common/TraduccionQt.h"
#include "printing/ImpresoraQt.h"
#include "project/ModuloVarek9.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr char Ayuda[] =
    "Uso: varek9 [PROYECTO.vk9]\n"
    "     varek9 --help | --version\n\n"
    "Diseño de pavimentos asfálticos para vías con bajos volúmenes de tránsito\n"
    "(método AASHTO-93 para pavimentos flexibles). Sin argumento abre el último\n"
    "proyecto usado; un nombre sin extensión recibe \".vk9\".\n\n"
    "  -h, --help     muestra esta ayuda y termina\n"
    "      --version  muestra la versión y termina\n\n"
    "La orden varek9-cli hace lo mismo sin ventanas: varek9-cli --ayuda.\n";

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // --help y --version terminan sus líneas con LF, como en Linux.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // Antes de abrir ventanas: sin pantalla también responden.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Ayuda, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("Varek-9 " VAREK9_VERSION "\n", stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    // Los recursos viven en una biblioteca estática: hay que registrarlos a mano.
    Q_INIT_RESOURCE(recursos);
    QApplication::setApplicationName(QStringLiteral("Varek-9"));
    QApplication::setApplicationVersion(QStringLiteral(VAREK9_VERSION));
    // Wayland asocia la ventana con su entrada de escritorio por este nombre.
    QGuiApplication::setDesktopFileName(QStringLiteral("co.varek9.Varek9"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/varek9.png")));
    RegistrarFuenteReportes();
    CargarTraduccionQt();
    // Antes de todo lo demás: los archivos de trabajo van a la carpeta elegida.
    QStringList argumentos = QCoreApplication::arguments();
    EntrarEnCarpetaDeTrabajo(argumentos);
    // Se aparta a propósito: la configuración va a la carpeta del usuario y los
    // archivos de trabajo a una carpeta privada que se borra al salir; nada se
    // escribe en la carpeta de donde se arrancó.
    const CarpetasSesion carpetas;
    TomarConfiguracionAnterior(QDir::currentPath());

    ModuloVarek9 modulo;
    modulo.Separador = LeerSeparadorDecimal();
    PlataformaQt plataforma;
    frmVarek9 ventana(modulo, plataforma, LineaComando(argumentos));
    ventana.show();
    return app.exec();
}
