#include "app/frmVarek9.h"

#include "alternatives/frmAlternativas.h"
#include "app/Arranque.h"
#include "app/CopiaLibrerias.h"
#include "app/Historial.h"
#include "app/frmAbout.h"
#include "app/frmProyecto.h"
#include "common/EntradaDatos.h"
#include "common/ModuloLibzrl.h"
#include "common/Plataforma.h"
#include "common/Texto.h"
#include "common/VentanasLibzrl.h"
#include "companions/Programas.h"
#include "companions/frmProgramas.h"
#include "project/ArchivoProyecto.h"
#include "project/SesionProyecto.h"
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
#include <QSet>
#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif
#include <QStatusBar>
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
// La versión cuya presentación ya vio el usuario.
const QString ClavePresentacion = QStringLiteral("PresentacionVista");
// Cada cuánto se escribe la copia de recuperación mientras hay cambios.
constexpr int IntervaloRecuperacion = 2 * 60 * 1000;

// Quita la extensión ".vk9" escrita en cualquier combinación de mayúsculas.
QString SinExtensionProyecto(const QString& nombre) {
    return nombre.right(4).toLower() == u".vk9" ? nombre.chopped(4) : nombre;
}

bool ExisteProyecto(const QString& ruta) {
    return !ruta.isEmpty() && QFileInfo::exists(RutaArchivoProyecto(SinExtensionProyecto(ruta)));
}

// El primer "Sin Nombre n" sin archivo ".vk9" en la carpeta actual, con el nombre
// en cualquier caja: un proyecto nuevo nunca se apropia de uno existente.
QString SiguienteSinNombre() {
    QSet<QString> existentes;
    for (const QString& nombre : QDir::current().entryList(QDir::Files | QDir::Hidden))
        existentes.insert(nombre.toLower());
    int n = 1;
    while (existentes.contains(QStringLiteral("sin nombre %1.vk9").arg(n)))
        ++n;
    return QStringLiteral("Sin Nombre %1").arg(n);
}

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
    // Una historia por proyecto abierto, que comparten todas las ventanas.
    if (!modulo_.Historial) new HistorialProyecto(modulo_, this);
    connect(modulo_.Historial, &HistorialProyecto::EstadoCambiado, this,
            [this] { ActualizarTitulo(); });
    connect(modulo_.Historial, &HistorialProyecto::Aplicado, this, [this] {
        // La copia de recuperación sigue al estado: sin cambios sin guardar, sobra.
        if (modulo_.ProyectoModificado)
            GuardarRecuperacion();
        else
            BorrarCopiaPropia();
    });
    CrearMenus();
    CrearBotones(centro);
    lbSoloLectura_ = new QLabel(this);
    lbSoloLectura_->setObjectName(QStringLiteral("lbSoloLectura"));
    statusBar()->addWidget(lbSoloLectura_, 1);
    lbSoloLectura_->hide();

    tiempo_ = new QTimer(this);
    tiempo_->setObjectName(QStringLiteral("Tiempo"));
    tiempo_->setInterval(100);
    tiempo_->setSingleShot(true);
    connect(tiempo_, &QTimer::timeout, this, [this] { resaltadoBotones_ = true; });
    tmrRecuperacion_ = new QTimer(this);
    tmrRecuperacion_->setObjectName(QStringLiteral("tmrRecuperacion"));
    tmrRecuperacion_->setInterval(IntervaloRecuperacion);
    connect(tmrRecuperacion_, &QTimer::timeout, this, [this] { GuardarRecuperacion(); });
    tmrRecuperacion_->start();
#ifndef QT_NO_SESSIONMANAGER
    // Cerrar la sesión del escritorio pasa por la misma pregunta que salir.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& gestor) {
        const bool interactivo = gestor.allowsInteraction();
        const bool seguir = CierreDeSesion(interactivo);
        if (interactivo) gestor.release();
        if (!seguir) gestor.cancel();
    });
#endif
    resize(920, 600);

    // Arranque, en este orden: librerías, línea de comandos, centrado, datos y
    // archivo del proyecto.
    // Sin librerías que preparar, la caja no tendría nada que decir.
    if (!PrepararLibrerias([this](const QString& linea) { txtLib_->appendPlainText(linea); }))
        txtLib_->hide();
    argumentos_ = ArgumentosLinea(lineaComando);
    // Una ruta con comas que nombra un proyecto existente se abre tal cual, antes
    // de partir la línea en comas: si no, el proyecto no se podría abrir.
    const QString entera = Recortar(lineaComando);
    if (entera.contains(u',') && ExisteProyecto(entera))
        argumentos_ = ArgumentosLinea(entera, QString());
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

    AgregarMenuEdicion(*menuBar(), modulo_);

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
    QAction* acerca =
        terminar->addAction(QStringLiteral("&Acerca de..."), this, [this] { MostrarAcercaDe(); });
    acerca->setObjectName(QStringLiteral("mnuTerminar2"));

    // Alt+Y: Alt+A y Alt+U son de los botones.
    QMenu* ayuda = menuBar()->addMenu(QStringLiteral("A&yuda"));
    ayuda->setObjectName(QStringLiteral("mnuAyuda"));
    QAction* manual =
        ayuda->addAction(QStringLiteral("&Manual de Usuario"), this, [this] { AbrirManual(); });
    manual->setObjectName(QStringLiteral("mnuAyuda0"));
    manual->setShortcut(QKeySequence::HelpContents);
    QAction* presentacion =
        ayuda->addAction(QStringLiteral("&Acerca de Varek-9"), this, [this] { MostrarAcercaDe(); });
    presentacion->setObjectName(QStringLiteral("mnuAyuda1"));

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
    // Se aparta a propósito: la versión es la de la construcción.
    rotulo(QStringLiteral("Versión %1").arg(QLatin1StringView(VAREK9_VERSION)), 10, false);

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

frmVarek9::~frmVarek9() {
    SoltarBloqueoActual();
}

void frmVarek9::MostrarAcercaDe() {
    if (!acerca_) {
        acerca_ = new frmAbout(this);
        acerca_->setAttribute(Qt::WA_DeleteOnClose);
    }
    acerca_->show();
    acerca_->raise();
    acerca_->activateWindow();
}

void frmVarek9::AbrirManual() {
    const QString manual = BuscarManualUsuario();
    if (manual.isEmpty()) {
        plataforma_.Aviso(this, QStringLiteral("VAREK-9"),
                          QStringLiteral("El Manual de Usuario [%1] no está instalado...")
                              .arg(NombreManualUsuario),
                          IconoMensaje::Critico);
        return;
    }
    if (!plataforma_.AbrirDocumento(manual))
        plataforma_.Aviso(this, QStringLiteral("VAREK-9"),
                          QStringLiteral("No fue posible abrir el archivo [%1]...").arg(manual),
                          IconoMensaje::Critico);
}

void frmVarek9::PrimeraActivacion() {
    // Se aparta a propósito: la presentación no detiene el arranque; se muestra
    // la primera vez (y con cada versión nueva) y desde "Ayuda".
    const QString version = QStringLiteral(VAREK9_VERSION);
    if (LeerPreferencia(ClavePresentacion) != version) {
        GuardarPreferencia(ClavePresentacion, version);
        MostrarAcercaDe();
    }
    bool soloLectura = false;
    // Sin abrir el proyecto de otra sesión, ni un archivo que no es un proyecto, se
    // empieza uno nuevo sin nombre.
    if (!ComprobarBloqueo(modulo_.ArchivoProyecto, soloLectura) ||
        !CargarProyecto(modulo_.ArchivoProyecto, soloLectura, true))
        CargarProyecto(SiguienteSinNombre(), false, true);
    ActualizarTitulo();
    yaActivado_ = true;
}

bool frmVarek9::ComprobarBloqueo(const QString& archivoProyecto, bool& soloLectura) {
    soloLectura = false;
    if (archivoProyecto == bloqueado_) return true;
    const std::optional<DuenoBloqueo> dueno =
        BloqueoAjeno(archivoProyecto, QDateTime::currentDateTime());
    if (!dueno) return true;
    // Dos sesiones que escriben el mismo archivo pierden el trabajo de una.
    const RespuestaMensaje r = plataforma_.Mensaje(
        this, QStringLiteral("CARGAR PROYECTO"), TextoBloqueoAjeno(archivoProyecto, *dueno),
        IconoMensaje::Exclamacion, BotonesMensaje::SoloLecturaCancelar, RespuestaMensaje::Aceptar);
    if (r != RespuestaMensaje::Aceptar) return false;
    soloLectura = true;
    return true;
}

void frmVarek9::PonerSoloLectura(const QString& archivoProyecto, bool soloLectura) {
    // Un archivo que no se puede escribir se abre de solo lectura: "Guardar" pide otro nombre.
    sinEscritura_ = !soloLectura && ProyectoSinEscritura(RutaArchivoProyecto(archivoProyecto));
    soloLectura_ = soloLectura || sinEscritura_;
}

void frmVarek9::SoltarBloqueoActual() {
    if (bloqueado_.isEmpty()) return;
    SoltarBloqueo(bloqueado_);
    bloqueado_.clear();
}

bool frmVarek9::CargarProyecto(const QString& archivoProyecto, bool soloLectura, bool alArrancar) {
    const QString anterior = modulo_.ArchivoProyecto;
    const EstadoLectura leidoAntes = modulo_.EstadoLectura;
    modulo_.ArchivoProyecto = archivoProyecto;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const AvisoLectura aviso = LeerProyecto(modulo_);
    QApplication::restoreOverrideCursor();
    if (aviso.NoEsProyecto) {
        // Se aparta a propósito: un archivo que no es proyecto no se adueña de la sesión.
        modulo_.ArchivoProyecto = anterior;
        modulo_.EstadoLectura = leidoAntes;
        plataforma_.Aviso(this, aviso.Titulo, aviso.Texto, IconoMensaje::Exclamacion);
        return false;
    }
    if (bloqueado_ != archivoProyecto) SoltarBloqueoActual();
    // Otro proyecto: la historia empieza de nuevo, en el estado del archivo.
    modulo_.Historial->Vaciar(!modulo_.ProyectoModificado);
    PonerSoloLectura(archivoProyecto, soloLectura);
    // La copia de lo anterior ya se guardó o se descartó.
    copiaRecuperacion_.clear();
    if (!soloLectura_ && ExisteProyecto(archivoProyecto) &&
        TomarBloqueo(archivoProyecto, QDateTime::currentDateTime()))
        bloqueado_ = archivoProyecto;
    if (aviso.HayAviso)
        plataforma_.Aviso(this, aviso.Titulo, aviso.Texto, IconoMensaje::Exclamacion);
    QList<CopiaRecuperacion> copias = CopiasDelProyecto(archivoProyecto);
    // Se aparta a propósito: al arrancar se ofrecen también las copias de otros proyectos.
    if (alArrancar) copias += OtrasCopias(archivoProyecto);
    OfrecerCopias(copias);
    return true;
}

void frmVarek9::OfrecerCopias(const QList<CopiaRecuperacion>& copias) {
    QList<CopiaRecuperacion> pendientes;
    bool recuperada = false;
    for (const CopiaRecuperacion& c : copias) {
        // La copia junto a un proyecto que otra sesión viva tiene abierto es de esa
        // sesión: no se ofrece ni se borra.
        if (!c.DeSoloLectura && BloqueoAjeno(c.Proyecto, QDateTime::currentDateTime())) continue;
        if (recuperada)
            pendientes << c;
        else
            recuperada = OfrecerCopia(c);
    }
    // Un proyecto por sesión: las demás quedan para la próxima, y se dice.
    if (!pendientes.isEmpty())
        plataforma_.Aviso(this, QStringLiteral("RECUPERAR PROYECTO"),
                          TextoCopiasPendientes(pendientes), IconoMensaje::Informacion);
}

bool frmVarek9::OfrecerCopia(const CopiaRecuperacion& c) {
    const QString titulo = QStringLiteral("RECUPERAR PROYECTO");
    // Una copia antigua pisaría un proyecto guardado después: por defecto, no.
    const RespuestaMensaje r = plataforma_.Mensaje(
        this, titulo, TextoCopiaRecuperacion(c), IconoMensaje::Pregunta, BotonesMensaje::SiNo,
        c.Antigua() ? RespuestaMensaje::No : RespuestaMensaje::Si);
    if (r == RespuestaMensaje::Si) return RecuperarCopia(c);
    // Se aparta a propósito: una copia antigua no recuperada se borra solo si se confirma.
    if (c.Antigua() &&
        plataforma_.Mensaje(this, titulo, TextoBorrarCopia(c), IconoMensaje::Pregunta,
                            BotonesMensaje::SiNo, RespuestaMensaje::No) != RespuestaMensaje::Si)
        return false;
    QFile::remove(c.Ruta);
    return false;
}

bool frmVarek9::RecuperarCopia(const CopiaRecuperacion& c) {
    const bool otro = !MismoProyecto(c.Proyecto, modulo_.ArchivoProyecto);
    bool soloLectura = soloLectura_;
    // La copia de otro proyecto lo abre: antes, el bloqueo de quien lo tenga.
    if (otro && !ComprobarBloqueo(c.Proyecto, soloLectura)) return false;
    const QString anterior = modulo_.ArchivoProyecto;
    const EstadoLectura leidoAntes = modulo_.EstadoLectura;
    modulo_.ArchivoProyecto = otro ? c.Proyecto : anterior;
    const AvisoLectura aviso = CargarRecuperacion(modulo_, c.Ruta);
    if (aviso.NoEsProyecto) {
        modulo_.ArchivoProyecto = anterior;
        modulo_.EstadoLectura = leidoAntes;
        plataforma_.Aviso(this, aviso.Titulo, aviso.Texto, IconoMensaje::Exclamacion);
        return false;
    }
    if (otro) {
        SoltarBloqueoActual();
        PonerSoloLectura(c.Proyecto, soloLectura);
        if (!soloLectura_ && ExisteProyecto(c.Proyecto) &&
            TomarBloqueo(c.Proyecto, QDateTime::currentDateTime()))
            bloqueado_ = c.Proyecto;
    }
    // Desde ahora es la copia de esta sesión: sigue a los cambios y se borra al guardar.
    copiaRecuperacion_ = c.Ruta;
    // La copia del mismo proyecto se deshace hasta el archivo; la de otro lo abre
    // con cambios que ningún archivo tiene.
    if (otro)
        modulo_.Historial->Vaciar(false);
    else
        modulo_.Historial->Registrar(QStringLiteral("Recuperar la copia"));
    if (aviso.HayAviso)
        plataforma_.Aviso(this, aviso.Titulo, aviso.Texto, IconoMensaje::Exclamacion);
    ActualizarTitulo();
    return true;
}

void frmVarek9::BorrarCopiaPropia() {
    if (!copiaRecuperacion_.isEmpty()) QFile::remove(copiaRecuperacion_);
    copiaRecuperacion_.clear();
}

void frmVarek9::GuardarRecuperacion() {
    if (!yaActivado_ || !modulo_.ProyectoModificado) return;
    const QDateTime ahora = reloj_();
    const QString junto = RutaRecuperacion(modulo_.ArchivoProyecto);
    // Junto al proyecto escribe solo quien lo tiene abierto para escribir, y sin
    // pisar una copia que no es suya (una antigua que el usuario conservó).
    const bool alLado =
        !soloLectura_ && (MismoArchivo(junto, copiaRecuperacion_) || !QFileInfo::exists(junto));
    QString destino = junto;
    // Se aparta a propósito: sin poder escribir junto al proyecto, en la carpeta de datos.
    if (!alLado || !EscribirRecuperacion(modulo_, junto, ahora).Ok) {
        destino = RutaRecuperacionDatos(modulo_.ArchivoProyecto);
        // Una copia que no se pudo escribir se intenta otra vez en el próximo turno.
        if (!EscribirRecuperacion(modulo_, destino, ahora).Ok) return;
    }
    if (!MismoArchivo(destino, copiaRecuperacion_)) BorrarCopiaPropia();
    copiaRecuperacion_ = destino;
    // Un proyecto sin archivo también se bloquea mientras tiene copia: otra sesión
    // que arranca no la ofrece (ni la borra) como si fuera de una caída.
    const QDateTime real = QDateTime::currentDateTime();
    if (!soloLectura_ && bloqueado_ != modulo_.ArchivoProyecto &&
        !BloqueoAjeno(modulo_.ArchivoProyecto, real)) {
        SoltarBloqueoActual();
        if (TomarBloqueo(modulo_.ArchivoProyecto, real)) bloqueado_ = modulo_.ArchivoProyecto;
    }
}

bool frmVarek9::CierreDeSesion(bool interactivo) {
    if (!modulo_.ProyectoModificado) return true;
    if (!interactivo) {
        GuardarRecuperacion();
        return true;
    }
    if (!ChequeoGuardarProyecto()) return false;
    // Ya se respondió: el cierre de la ventana que sigue no pregunta otra vez.
    saliendo_ = true;
    return true;
}

void frmVarek9::ActualizarTitulo() {
    const QString lectura = soloLectura_ ? QStringLiteral(" (solo lectura)") : QString();
    lbSoloLectura_->setText(
        !soloLectura_ ? QString()
        : sinEscritura_
            ? QStringLiteral("Solo lectura: el archivo del proyecto no se puede escribir; "
                             "\"Guardar\" lo guarda con otro nombre.")
            : QStringLiteral("Solo lectura: otra sesión tiene abierto el proyecto; "
                             "\"Guardar\" lo guarda con otro nombre."));
    lbSoloLectura_->setVisible(soloLectura_);
    // Con cambios sin guardar, un asterisco al final.
    const QString marca = modulo_.ProyectoModificado ? QStringLiteral(" *") : QString();
    setWindowTitle(QStringLiteral("VAREK-9 [%1]%2%3").arg(modulo_.ArchivoProyecto, lectura, marca));
    mnuGuardar_->setText(QStringLiteral("&Guardar [%1]").arg(modulo_.ArchivoProyecto));
}

void frmVarek9::MostrarErrorEscritura(const QString& texto) {
    plataforma_.Aviso(this, ErrorEscritura::Titulo(), texto, IconoMensaje::Exclamacion);
}

bool frmVarek9::Guardar(bool pedirNombre) {
    // Sobre el archivo de otra sesión, o sobre uno que no es proyecto, no se
    // escribe: se pide un nombre nuevo.
    if (soloLectura_ || ArchivoNoEsProyecto(modulo_) ||
        (pedirNombre && EsSinNombre(modulo_.ArchivoProyecto))) {
        if (!GuardarProyectoComo()) return false;
        ActualizarTitulo();
    }
    const GuardadoProyecto e = GuardarProyecto(modulo_);
    if (!e.Ok) {
        MostrarErrorEscritura(e.Texto());
        return false;
    }
    modulo_.Historial->MarcarGuardado();
    // La copia de lo que se leyó con avisos no queda sin que el usuario lo sepa.
    if (!e.Respaldo.isEmpty())
        plataforma_.Aviso(this, QStringLiteral("GUARDAR PROYECTO"), TextoRespaldo(e.Respaldo),
                          IconoMensaje::Informacion);
    // La copia de esta sesión (también la del nombre anterior a "Guardar como") ya
    // no guarda nada nuevo; una ajena se deja.
    BorrarCopiaPropia();
    if (bloqueado_ != modulo_.ArchivoProyecto) {
        SoltarBloqueoActual();
        if (TomarBloqueo(modulo_.ArchivoProyecto, QDateTime::currentDateTime()))
            bloqueado_ = modulo_.ArchivoProyecto;
    }
    return true;
}

bool frmVarek9::ChequeoGuardarProyecto(bool noCancela) {
    if (!modulo_.ProyectoModificado) return true;
    const RespuestaMensaje r = plataforma_.Mensaje(
        this, QStringLiteral("GUARDAR PROYECTO"),
        QStringLiteral("Desea guardar el proyecto actual [%1]").arg(modulo_.ArchivoProyecto),
        IconoMensaje::Pregunta, noCancela ? BotonesMensaje::SiNo : BotonesMensaje::SiNoCancelar,
        RespuestaMensaje::Si);
    if (r == RespuestaMensaje::Cancelar) return false;
    // Si la escritura falla no se sigue: el proyecto se perdería. Un proyecto sin
    // nombre pregunta dónde guardarse en vez de quedar en la carpeta actual.
    if (r == RespuestaMensaje::Si) return Guardar(true);
    // Los cambios se descartan: su copia de recuperación también.
    BorrarCopiaPropia();
    return true;
}

namespace {

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
    bool soloLectura = false;
    if (!ComprobarBloqueo(nombre, soloLectura) || !CargarProyecto(nombre, soloLectura))
        return false;
    const ErrorEscritura e = GuardarUltimoProyecto(modulo_);
    if (!e.Ok) MostrarErrorEscritura(e.Texto());
    return true;
}

bool frmVarek9::GuardarProyectoComo() {
    const DirectorioRecordado recordado;
    // Lo que no se puede escribir donde está se propone en la carpeta de documentos.
    QString propuesto;
    if (sinEscritura_) {
        const QString carpeta = CarpetaDocumentosUsuario();
        if (QDir().mkpath(carpeta))
            propuesto = QDir(carpeta).filePath(
                QFileInfo(RutaArchivoProyecto(modulo_.ArchivoProyecto)).fileName());
    }
    const QString elegido = plataforma_.GuardarArchivo(
        this, QStringLiteral("Guardar proyecto como"), FiltroProyectos, propuesto);
    if (elegido.isEmpty()) return false;
    const QString nombre = SinExtensionProyecto(elegido);
    if (QFileInfo::exists(RutaArchivoProyecto(nombre))) {
        const RespuestaMensaje r = plataforma_.Mensaje(
            this, QStringLiteral("GUARDAR PROYECTO"),
            QStringLiteral("El Proyecto [%1] Ya existe, desea sobreescribir...").arg(nombre),
            IconoMensaje::Pregunta, BotonesMensaje::SiNo, RespuestaMensaje::No);
        if (r != RespuestaMensaje::Si) return false;
    }
    // Tampoco se escribe sobre un proyecto que otra sesión tiene abierto.
    if (const std::optional<DuenoBloqueo> dueno =
            BloqueoAjeno(nombre, QDateTime::currentDateTime())) {
        plataforma_.Aviso(this, QStringLiteral("GUARDAR PROYECTO"),
                          TextoBloqueoAjeno(nombre, *dueno));
        return false;
    }
    // El nombre ya se eligió: "Guardar" no vuelve a pedirlo (la copia ".bak" sigue).
    modulo_.EstadoLectura.NoEsProyecto = false;
    modulo_.ArchivoProyecto = nombre;
    soloLectura_ = false;
    sinEscritura_ = false;
    const ErrorEscritura e = GuardarUltimoProyecto(modulo_);
    if (!e.Ok) MostrarErrorEscritura(e.Texto());
    return true;
}

void frmVarek9::MenuProyecto(int indice) {
    switch (indice) {
    case 0: {
        if (!ChequeoGuardarProyecto()) return;
        CargarProyecto(SiguienteSinNombre(), false);
        ActualizarTitulo();
        break;
    }
    case 1:
        if (!ChequeoGuardarProyecto()) break;
        if (AbrirProyecto())
            ActualizarTitulo();
        else
            // Sigue el proyecto de antes, con sus cambios si no se guardaron: también su copia.
            GuardarRecuperacion();
        break;
    case 3:
        if (!EsSinNombre(modulo_.ArchivoProyecto) && !soloLectura_) {
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
        frmProyecto propiedades(modulo_, plataforma_, this);
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
    const QString clave = QStringLiteral("Documentos/") + archivo;
    QString ruta = BuscarDocumentoReferencia(archivo, LeerPreferencia(clave));
    if (ruta.isEmpty()) {
        // Se aparta a propósito: el documento que falta se puede buscar una vez; se recuerda.
        const RespuestaMensaje r = plataforma_.Mensaje(
            this, QStringLiteral("VAREK-9"),
            QStringLiteral("El archivo [%1] no existe...").arg(archivo), IconoMensaje::Critico,
            BotonesMensaje::BuscarCancelar, RespuestaMensaje::Cancelar);
        if (r != RespuestaMensaje::Aceptar) return;
        const QString extension = QFileInfo(archivo).suffix();
        ruta = plataforma_.AbrirArchivo(
            this, QStringLiteral("Buscar %1").arg(archivo),
            QStringLiteral("%1 (*.%2);;Todos los archivos (*.*)").arg(archivo, extension));
        if (ruta.isEmpty()) return;
        ruta = QFileInfo(ruta).absoluteFilePath();
        GuardarPreferencia(clave, ruta);
    }
    if (!plataforma_.AbrirDocumento(ruta))
        plataforma_.Aviso(this, QStringLiteral("VAREK-9"),
                          QStringLiteral("No fue posible abrir el archivo [%1]...").arg(archivo),
                          IconoMensaje::Critico);
}

void frmVarek9::PulsarBoton(int indice) {
    switch (indice) {
    case 0: {
        frmProyecto propiedades(modulo_, plataforma_, this);
        plataforma_.MostrarModal(propiedades);
        break;
    }
    case 1: {
        frmUnidadesHomogeneas unidades(modulo_, plataforma_, this);
        // Cada revisión deja también la copia de recuperación al día.
        connect(&unidades, &frmUnidadesHomogeneas::Revisada, this,
                [this] { GuardarRecuperacion(); });
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
        // Se busca como los programas complementarios: un programa que no está se avisa.
        const QString programa = NombreEjecutable(ProgramaEspecificaciones);
        const QString ruta = BuscarEjecutable(programa, CarpetasProgramas());
        if (ruta.isEmpty())
            plataforma_.Aviso(this, QStringLiteral("VAREK-9"),
                              QStringLiteral("El programa [%1] no está instalado...")
                                  .arg(ProgramaEspecificaciones),
                              IconoMensaje::Critico);
        else if (!plataforma_.IniciarProceso(ruta, {}))
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
        // Como el menú "Salir": el trabajo sin guardar no se pierde sin preguntar.
        if (ChequeoGuardarProyecto()) Salir();
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
    // Cerrar la ventana también ofrece Cancelar: un clic de más no pierde el trabajo.
    if (saliendo_ || ChequeoGuardarProyecto()) {
        SoltarBloqueoActual();
        evento->accept();
        return;
    }
    saliendo_ = false;
    evento->ignore();
}
