#include "app/frmVarek9.h"

#include "alternatives/frmAlternativas.h"
#include "app/ArchivoProyecto.h"
#include "app/CopiaLibrerias.h"
#include "app/Plataforma.h"
#include "app/frmAbout.h"
#include "app/frmProgramas.h"
#include "app/frmProyecto.h"
#include "common/ModuloLibzrl.h"
#include "common/VentanasLibzrl.h"
#include "units/frmUnidadesHomogeneas.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString TituloInicial =
    QStringLiteral("DISEÑO DE PAVIMENTOS PARA VIAS CON BAJOS VOLUMENES (VAREK-9)");

// Índices de los botones: el índice es la acción.
struct DatosBoton {
    int Indice;
    const char16_t* Texto;
    int Fila;
    int Columna;
};
constexpr DatosBoton Botones[] = {
    {0, u"&Proyecto", 0, 0},
    {1, u"&Unidades de Diseño", 1, 0},
    {2, u"&Alternativas de Diseño", 2, 0},
    {10, u"&Clima", 0, 1},
    {11, u"&Tránsito", 1, 1},
    {12, u"&Subrasante", 2, 1},
    {13, u"&Drenaje", 3, 1},
    {20, u"&Manual de Diseño de Pavimentos Asfálticos para Vías con Bajos Volúmenes de Tránsito", 0,
     2},
    {21, u"&Especificaciones de Construcción y Normas de Ensayo", 1, 2},
    {30, u"&Estructuras Típicas", 2, 2},
    {99, u"&Salir", 3, 2},
};
constexpr int BotonFoco = 100;

} // namespace

frmVarek9::frmVarek9(ModuloVarek9& modulo, Plataforma& plataforma, const QString& lineaComando,
                     QWidget* parent)
    : QMainWindow(parent), modulo_(modulo), plataforma_(plataforma) {
    setObjectName(QStringLiteral("frmVarek9"));
    setWindowTitle(TituloInicial);

    auto* centro = new QWidget(this);
    centro->setObjectName(QStringLiteral("Fondo"));
    centro->setMouseTracking(true);
    centro->installEventFilter(this);
    setCentralWidget(centro);
    CrearMenus();
    CrearBotones(centro);

    tiempo_ = new QTimer(this);
    tiempo_->setObjectName(QStringLiteral("Tiempo"));
    tiempo_->setInterval(100);
    tiempo_->setSingleShot(true);
    connect(tiempo_, &QTimer::timeout, this, [this] { resaltadoBotones_ = true; });
    resize(920, 600);

    // Arranque, en este orden: librerías, línea de comandos, centrado, datos y
    // archivo del proyecto.
    PrepararLibrerias([this](const QString& linea) { txtLib_->appendPlainText(linea); });
    argumentos_ = ArgumentosLinea(lineaComando);
    CentrarFormulario(*this);
    NuevoProyectoDatos(modulo_);
    yaActivado_ = false;
    CargarUltimoProyecto(modulo_, argumentos_.value(0));
    ActualizarTitulo();
    resaltadoBotones_ = true;
    botonesListos_ = true;
}

void frmVarek9::CrearMenus() {
    // Teclas de los menús distintas de las de los botones (Alt+P es "&Proyecto").
    QMenu* proyecto = menuBar()->addMenu(QStringLiteral("Pr&oyecto"));
    proyecto->setObjectName(QStringLiteral("mnuProyecto"));
    const auto entrada = [&](int indice, const QString& texto, const QKeySequence& atajo) {
        QAction* a = proyecto->addAction(texto, this, [this, indice] { MenuProyecto(indice); });
        a->setObjectName(QStringLiteral("mnuProyecto%1").arg(indice));
        a->setShortcut(atajo);
        return a;
    };
    entrada(0, QStringLiteral("&Nuevo"), QKeySequence::New);
    entrada(1, QStringLiteral("&Abrir..."), QKeySequence::Open);
    proyecto->addSeparator();
    mnuGuardar_ = entrada(3, QStringLiteral("&Guardar"), QKeySequence::Save);
    entrada(4, QStringLiteral("Guardar &como..."), QKeySequence::SaveAs);
    proyecto->addSeparator();
    entrada(10, QStringLiteral("&Propiedades"), QKeySequence(Qt::ALT | Qt::Key_Return));

    QAction* refrescar = menuBar()->addAction(QStringLiteral("Re&frescar"));
    refrescar->setObjectName(QStringLiteral("Menu1"));
    connect(refrescar, &QAction::triggered, this, [this] {
        const auto controles = findChildren<QWidget*>();
        for (QWidget* w : controles)
            w->update();
        update();
    });

    QMenu* terminar = menuBar()->addMenu(QStringLiteral("Term&inar"));
    terminar->setObjectName(QStringLiteral("mnuTerminar"));
    QAction* salir = terminar->addAction(QStringLiteral("&Salir"), this, [this] {
        if (ChequeoGuardarProyecto()) Salir();
    });
    salir->setObjectName(QStringLiteral("mnuTerminar0"));
    salir->setShortcut(QKeySequence::Quit);
    terminar->addSeparator();
    QAction* acerca = terminar->addAction(QStringLiteral("&Acerca de..."), this, [this] {
        frmAbout acerca(this);
        plataforma_.MostrarModal(acerca);
    });
    acerca->setObjectName(QStringLiteral("mnuTerminar2"));

    // Barra: la clave "PRY" + n lleva a la entrada n del menú.
    QToolBar* barra = addToolBar(QStringLiteral("Barra"));
    barra->setObjectName(QStringLiteral("Barra"));
    barra->setMovable(false);
    const struct {
        const char* Clave;
        const char16_t* Texto;
        QStyle::StandardPixmap Icono;
    } herramientas[] = {
        {"PRY0", u"Nuevo proyecto", QStyle::SP_FileIcon},
        {"PRY1", u"Abrir proyecto...", QStyle::SP_DialogOpenButton},
        {"PRY3", u"Guardar proyecto", QStyle::SP_DialogSaveButton},
        {"PRY4", u"Guardar proyecto como...", QStyle::SP_DriveFDIcon},
        {"PRY10", u"Propiedades proyecto...", QStyle::SP_FileDialogDetailedView},
    };
    for (const auto& h : herramientas) {
        const QString clave = QString::fromLatin1(h.Clave);
        QAction* a = barra->addAction(style()->standardIcon(h.Icono), QString::fromUtf16(h.Texto));
        a->setObjectName(clave);
        const int indice = clave.mid(3).toInt();
        connect(a, &QAction::triggered, this, [this, indice] { MenuProyecto(indice); });
    }
}

void frmVarek9::CrearBotones(QWidget* centro) {
    auto* columna = new QVBoxLayout(centro);
    const auto rotulo = [&](const QString& texto, int puntos, bool negrita) {
        auto* l = new QLabel(texto, centro);
        QFont f = l->font();
        f.setPointSize(puntos);
        f.setBold(negrita);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        // El rótulo no se encoge: la rejilla de botones toma el espacio sobrante.
        l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        l->setMouseTracking(true);
        l->installEventFilter(this);
        columna->addWidget(l);
    };
    rotulo(QStringLiteral("Software para Diseño de Pavimentos Asfálticos en Vías con Bajos "
                          "Volúmenes de Tránsito"),
           11, false);
    rotulo(QStringLiteral("VAREK-9"), 28, true);
    rotulo(QStringLiteral("Versión 2007"), 10, false);

    auto* rejilla = new QGridLayout;
    for (const DatosBoton& d : Botones) {
        auto* b = new QPushButton(QString::fromUtf16(d.Texto), centro);
        b->setObjectName(QStringLiteral("btn%1").arg(d.Indice));
        b->setCheckable(true);
        b->setMinimumHeight(48);
        b->setMouseTracking(true);
        b->installEventFilter(this);
        // El texto largo del manual se parte en dos líneas.
        if (d.Indice == 20)
            b->setText(QStringLiteral("&Manual de Diseño de Pavimentos Asfálticos\npara Vías "
                                      "con Bajos Volúmenes de Tránsito"));
        const int indice = d.Indice;
        connect(b, &QPushButton::clicked, this, [this, indice] {
            if (!botonesListos_) return;
            PulsarBoton(indice);
        });
        rejilla->addWidget(b, d.Fila, d.Columna);
        botones_.insert(d.Indice, b);
    }
    columna->addLayout(rejilla);

    // El botón 100 solo guarda el foco, fuera del área visible.
    auto* foco = new QPushButton(centro);
    foco->setObjectName(QStringLiteral("btn%1").arg(BotonFoco));
    foco->setFixedSize(8, 8);
    foco->setAccessibleName(QStringLiteral("Foco"));
    botones_.insert(BotonFoco, foco);

    txtLib_ = new QPlainTextEdit(centro);
    txtLib_->setObjectName(QStringLiteral("txtLib"));
    txtLib_->setReadOnly(true);
    txtLib_->setMaximumHeight(70);
    columna->addWidget(txtLib_);
}

void frmVarek9::resizeEvent(QResizeEvent* evento) {
    QMainWindow::resizeEvent(evento);
    QPushButton* foco = botones_.value(BotonFoco);
    // Fuera de la ventana: a la derecha de su borde, con un margen.
    if (foco) foco->move(centralWidget()->width() + foco->width() + 7, 0);
}

void frmVarek9::showEvent(QShowEvent* evento) {
    QMainWindow::showEvent(evento);
    if (yaActivado_ || activacionPendiente_) return;
    activacionPendiente_ = true;
    // Después de mostrarse: el acerca de va sobre la ventana ya visible.
    QTimer::singleShot(0, this, [this] { PrimeraActivacion(); });
}

void frmVarek9::PrimeraActivacion() {
    frmAbout acerca(this);
    plataforma_.MostrarModal(acerca);
    CargarProyecto();
    yaActivado_ = true;
}

void frmVarek9::CargarProyecto() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const AvisoLectura aviso = LeerProyecto(modulo_);
    QApplication::restoreOverrideCursor();
    if (aviso.HayAviso)
        plataforma_.Aviso(this, aviso.Titulo, aviso.Texto, IconoMensaje::Exclamacion);
}

void frmVarek9::ActualizarTitulo() {
    setWindowTitle(QStringLiteral("VAREK-9 [%1]").arg(modulo_.ArchivoProyecto));
    mnuGuardar_->setText(QStringLiteral("&Guardar [%1]").arg(modulo_.ArchivoProyecto));
}

void frmVarek9::MostrarErrorEscritura(const QString& texto) {
    plataforma_.Aviso(this, ErrorEscritura::Titulo(), texto, IconoMensaje::Exclamacion);
}

bool frmVarek9::Guardar() {
    // Un archivo que no es proyecto no se reemplaza con "Guardar": se pide otro nombre.
    if (ArchivoNoEsProyecto(modulo_)) {
        if (!GuardarProyectoComo()) return false;
        ActualizarTitulo();
    }
    const GuardadoProyecto e = GuardarProyecto(modulo_);
    if (!e.Ok) MostrarErrorEscritura(e.Texto());
    // La copia de lo que se leyó con avisos no queda sin que el usuario lo sepa.
    if (e.Ok && !e.Respaldo.isEmpty())
        plataforma_.Aviso(this, QStringLiteral("GUARDAR PROYECTO"), TextoRespaldo(e.Respaldo),
                          IconoMensaje::Informacion);
    return e.Ok;
}

bool frmVarek9::ChequeoGuardarProyecto(bool noCancela) {
    if (!modulo_.ProyectoModificado) return true;
    const RespuestaMensaje r = plataforma_.Mensaje(
        this, QStringLiteral("GUARDAR PROYECTO"),
        QStringLiteral("Desea guardar el proyecto actual [%1]").arg(modulo_.ArchivoProyecto),
        IconoMensaje::Pregunta, noCancela ? BotonesMensaje::SiNo : BotonesMensaje::SiNoCancelar,
        RespuestaMensaje::Si);
    if (r == RespuestaMensaje::Cancelar) return false;
    // Si la escritura falla no se sigue: el proyecto se perdería.
    if (r == RespuestaMensaje::Si) return Guardar();
    return true;
}

namespace {

// Quita la extensión ".vk9" escrita en cualquier combinación de mayúsculas.
QString SinExtensionProyecto(const QString& nombre) {
    return nombre.right(4).toLower() == u".vk9" ? nombre.chopped(4) : nombre;
}

// Restaura el directorio actual al salir del diálogo, como lo encontró.
class DirectorioRecordado {
public:
    DirectorioRecordado() : dir_(QDir::currentPath()) {}
    ~DirectorioRecordado() { QDir::setCurrent(dir_); }
    DirectorioRecordado(const DirectorioRecordado&) = delete;
    DirectorioRecordado& operator=(const DirectorioRecordado&) = delete;

private:
    QString dir_;
};

} // namespace

bool frmVarek9::AbrirProyecto() {
    const DirectorioRecordado recordado;
    const QString elegido =
        plataforma_.AbrirArchivo(this, QStringLiteral("Abrir proyecto"), FiltroProyectos);
    if (elegido.isEmpty()) return false;
    const QString nombre = SinExtensionProyecto(elegido);
    if (!QFileInfo::exists(RutaArchivoProyecto(nombre))) {
        plataforma_.Aviso(this, QStringLiteral("CARGAR PROYECTO"),
                          QStringLiteral("El Proyecto [%1] NO existe...").arg(nombre));
        return false;
    }
    modulo_.ArchivoProyecto = nombre;
    const ErrorEscritura e = GuardarUltimoProyecto(modulo_);
    if (!e.Ok) MostrarErrorEscritura(e.Texto());
    return true;
}

bool frmVarek9::GuardarProyectoComo() {
    const DirectorioRecordado recordado;
    const QString elegido =
        plataforma_.GuardarArchivo(this, QStringLiteral("Guardar proyecto como"), FiltroProyectos);
    if (elegido.isEmpty()) return false;
    const QString nombre = SinExtensionProyecto(elegido);
    if (QFileInfo::exists(RutaArchivoProyecto(nombre))) {
        const RespuestaMensaje r = plataforma_.Mensaje(
            this, QStringLiteral("GUARDAR PROYECTO"),
            QStringLiteral("El Proyecto [%1] Ya existe, desea sobreescribir...").arg(nombre),
            IconoMensaje::Pregunta, BotonesMensaje::SiNo, RespuestaMensaje::No);
        if (r != RespuestaMensaje::Si) return false;
    }
    // El nombre ya se eligió: "Guardar" no vuelve a pedirlo (la copia ".bak" sigue).
    modulo_.EstadoLectura.NoEsProyecto = false;
    modulo_.ArchivoProyecto = nombre;
    const ErrorEscritura e = GuardarUltimoProyecto(modulo_);
    if (!e.Ok) MostrarErrorEscritura(e.Texto());
    return true;
}

void frmVarek9::MenuProyecto(int indice) {
    switch (indice) {
    case 0: {
        if (!ChequeoGuardarProyecto()) return;
        int n = 1;
        while (QFileInfo::exists(QStringLiteral("Sin Nombre %1.vk9").arg(n)))
            ++n;
        modulo_.ArchivoProyecto = QStringLiteral("Sin Nombre %1").arg(n);
        CargarProyecto();
        ActualizarTitulo();
        break;
    }
    case 1:
        if (ChequeoGuardarProyecto() && AbrirProyecto()) {
            CargarProyecto();
            ActualizarTitulo();
        }
        break;
    case 3:
        if (modulo_.ArchivoProyecto.left(10).toUpper() != u"SIN NOMBRE") {
            if (Guardar()) {
                const ErrorEscritura e = GuardarUltimoProyecto(modulo_);
                if (!e.Ok) MostrarErrorEscritura(e.Texto());
            }
            break;
        }
        [[fallthrough]];
    case 4:
        if (GuardarProyectoComo()) {
            ActualizarTitulo();
            Guardar();
        }
        break;
    case 10: {
        frmProyecto propiedades(modulo_, this);
        plataforma_.MostrarModal(propiedades);
        // Se guarda al cerrar, se haya aceptado o no.
        Guardar();
        break;
    }
    default:
        break;
    }
}

void frmVarek9::AbrirDocumentoReferencia(const QString& archivo) {
    if (!QFileInfo::exists(archivo)) {
        plataforma_.Aviso(this, QStringLiteral("VAREK-9"),
                          QStringLiteral("El archivo [%1] no existe...").arg(archivo),
                          IconoMensaje::Critico);
        return;
    }
    if (!plataforma_.AbrirDocumento(QDir::current().absoluteFilePath(archivo)))
        plataforma_.Aviso(this, QStringLiteral("VAREK-9"),
                          QStringLiteral("No fue posible abrir el archivo [%1]...").arg(archivo),
                          IconoMensaje::Critico);
}

void frmVarek9::PulsarBoton(int indice) {
    switch (indice) {
    case 0: {
        frmProyecto propiedades(modulo_, this);
        plataforma_.MostrarModal(propiedades);
        break;
    }
    case 1: {
        frmUnidadesHomogeneas unidades(modulo_, plataforma_, this);
        plataforma_.MostrarModal(unidades);
        break;
    }
    case 2:
        // Sin unidades no hay alternativas que mostrar.
        if (modulo_.Proyecto.NumeroUH < 1) break;
        {
            frmAlternativas alternativas(modulo_, plataforma_, this);
            plataforma_.MostrarModal(alternativas);
        }
        break;
    case 10:
    case 11:
    case 12:
    case 13: {
        // Uso libre: sin unidad que entregar.
        modulo_.ResultadoPrograma.Seleccionar = false;
        modulo_.ResultadoPrograma.Referencia.clear();
        frmProgramas programas(modulo_, plataforma_, this);
        programas.lb()->setText(QString::number(indice));
        plataforma_.MostrarModal(programas);
        break;
    }
    case 20:
        AbrirDocumentoReferencia(QStringLiteral("Manual Bajos Volumenes.pdf"));
        break;
    case 21: {
        const QString programa = QStringLiteral("Especificaciones y Normas.exe");
        if (!plataforma_.IniciarProceso(QDir::current().absoluteFilePath(programa), {}))
            plataforma_.Aviso(
                this, QStringLiteral("VAREK-9"),
                QStringLiteral("No fue posible iniciar el programa [%1]...").arg(programa),
                IconoMensaje::Critico);
        break;
    }
    case 30:
        AbrirDocumentoReferencia(QStringLiteral("Estructuras Tipicas.dwg"));
        break;
    case 99:
        Salir();
        return;
    default:
        return;
    }
    // Tras una acción el resaltado descansa 100 ms.
    resaltadoBotones_ = false;
    tiempo_->start();
}

void frmVarek9::ResaltarBoton(int indice) {
    botonesListos_ = false;
    for (const DatosBoton& d : Botones)
        botones_.value(d.Indice)->setChecked(d.Indice == indice);
    botonesListos_ = true;
}

bool frmVarek9::SobreUnBoton(QEvent* evento) const {
    if (evento->type() != QEvent::MouseMove) return false;
    const QPointF global = static_cast<QMouseEvent*>(evento)->globalPosition();
    QWidget* fondo = centralWidget();
    return qobject_cast<QPushButton*>(fondo->childAt(fondo->mapFromGlobal(global.toPoint())));
}

bool frmVarek9::eventFilter(QObject* objeto, QEvent* evento) {
    if (resaltadoBotones_ &&
        (evento->type() == QEvent::MouseMove || evento->type() == QEvent::Enter)) {
        auto* boton = qobject_cast<QPushButton*>(objeto);
        const int indice = boton ? botones_.key(boton, -1) : -1;
        if (indice >= 0 && indice != BotonFoco) {
            if (!boton->isChecked()) ResaltarBoton(indice);
            botones_.value(BotonFoco)->setFocus();
        } else if (!boton && !SobreUnBoton(evento)) {
            // El fondo recibe también el movimiento que un botón deja pasar: solo
            // cuenta cuando el puntero no está sobre un botón.
            ResaltarBoton(-1);
        }
    }
    return QMainWindow::eventFilter(objeto, evento);
}

void frmVarek9::Salir() {
    saliendo_ = true;
    close();
}

void frmVarek9::closeEvent(QCloseEvent* evento) {
    if (saliendo_ || ChequeoGuardarProyecto(true)) {
        evento->accept();
        return;
    }
    // Solo cuando guardar falló: cerrar perdería el proyecto.
    saliendo_ = false;
    evento->ignore();
}
