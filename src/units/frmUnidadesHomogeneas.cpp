#include "units/frmUnidadesHomogeneas.h"

#include "app/Historial.h"
#include "common/CarpetasSesion.h"
#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "common/Grilla.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "common/Plataforma.h"
#include "common/Texto.h"
#include "common/VentanasLibzrl.h"
#include "companions/Programas.h"
#include "companions/frmProgramas.h"
#include "units/PortapapelesGrilla.h"
#include "units/frmImportarUH.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

namespace {

const QString Titulo = QStringLiteral("UNIDADES HOMOGENEAS Y DEFINITIVAS DE DISEÑO");

struct DatosColumna {
    const char16_t* Titulo;
    int Ancho; // twips
    Qt::Alignment Alineacion;
};
const DatosColumna DatosColumnas[ColumnasUH] = {
    {u"# UH", 400, Qt::AlignHCenter},
    {u"Código Tramo", 800, Qt::AlignLeft},
    {u"Descripción", 1200, Qt::AlignLeft},
    {u"Tipo de Tramo", 900, Qt::AlignHCenter},
    {u"Tipo de Segmento", 900, Qt::AlignHCenter},
    {u"Abscisa Inicial (m)", 800, Qt::AlignRight},
    {u"Abscisa Final (m)", 800, Qt::AlignRight},
    {u"Ancho Corona (m)", 700, Qt::AlignRight},
    {u"Ejes Equivalentes 80 KN", 1100, Qt::AlignRight},
    {u"Clasificación Climática por Humedad", 1100, Qt::AlignLeft},
    {u"Clasificación Climática por Temperatura", 1100, Qt::AlignLeft},
    {u"CBR (%)", 700, Qt::AlignRight},
    {u"Tipo de Terreno", 900, Qt::AlignLeft},
    {u"Tipo de Afirmado Existente", 800, Qt::AlignHCenter},
    {u"Espesor Afirmado Existente (cm)", 1200, Qt::AlignRight},
    {u"Espesor Capa de Subrasante (cm)", 1200, Qt::AlignRight},
};

// Caracteres que abren un editor al escribirlos sobre la grilla.
bool AbreEditor(QChar c) {
    const char16_t u = c.unicode();
    // También la coma decimal, la eñe y las vocales con tilde o diéresis: son
    // letras de todos los días para quien escribe en español.
    static const QString espanol = QStringLiteral("ÑñÁÉÍÓÚÜáéíóúü,");
    return u == u'-' || u == u'.' || u == u' ' || (u >= u'0' && u <= u'9') ||
           (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || espanol.contains(c);
}

Qt::KeyboardModifiers Modificadores(const QKeyEvent* evento) {
    return evento->modifiers() & ~Qt::KeypadModifier;
}

bool EsEnter(int tecla) {
    return tecla == Qt::Key_Return || tecla == Qt::Key_Enter;
}

// Columnas con botón de programa complementario: tránsito, climas y CBR.
bool TieneBotonP(int columna) {
    return columna >= ColEjesEquivalentes && columna <= ColCBR;
}

// Código del programa que llama cada botón.
QString CodigoProgramaBotonP(int columna) {
    switch (columna) {
    case ColEjesEquivalentes:
        return QStringLiteral("11");
    case ColClimaHumedad:
    case ColClimaTemperatura:
        return QStringLiteral("10");
    case ColCBR:
        return QStringLiteral("12");
    default:
        return {};
    }
}

// Las líneas de la unidad que el programa de la columna lee y devuelve.
QStringList& LineasBotonP(UnidadHomogenea& unidad, int columna) {
    if (columna == ColEjesEquivalentes) return unidad.N82;
    if (columna == ColCBR) return unidad.MR;
    return unidad.CLIMA;
}

} // namespace

frmUnidadesHomogeneas::frmUnidadesHomogeneas(ModuloVarek9& modulo, Plataforma& plataforma,
                                             QWidget* parent)
    : QDialog(parent), modulo_(modulo), plataforma_(plataforma) {
    setObjectName(QStringLiteral("frmUnidadesHomogeneas"));
    setWindowTitle(Titulo);
    CrearControles();

    // Carga: estado, tamaño y centrado, título, columnas, llenado y revisión.
    yaActivado_ = false;
    tablaRevisada_ = false;
    const QRect pantalla = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    resize(static_cast<int>(pantalla.width() * 0.95), static_cast<int>(pantalla.height() * 0.8));
    CentrarFormulario(*this);
    setWindowTitle(Titulo + QStringLiteral(" [") + modulo_.ArchivoProyecto + u']');
    CrearColumnas();
    NumerarFilas(*grdUH);
    CargarUH();
    RevisarUH();
    grdUH->PonerCelda(1, ColCodigoTramo);
    grdUH->PonerFilaSuperior(1);
}

void frmUnidadesHomogeneas::CrearControles() {
    Menu = new QMenuBar(this);
    Menu->setObjectName(QStringLiteral("Menu"));
    QMenu* opciones = Menu->addMenu(QStringLiteral("&Opciones"));
    opciones->setObjectName(QStringLiteral("Menu0"));
    mnuOpcion[0] = opciones->addAction(QStringLiteral("&Copiar al Portapapeles"), this,
                                       [this] { CopiarAlPortapapeles(); });
    mnuOpcion[1] = opciones->addAction(QStringLiteral("&Pegar del Portapapeles"), this,
                                       [this] { PegarDelPortapapeles(); });
    mnuOpcion[2] = opciones->addAction(QStringLiteral("&Importar Unidades..."), this,
                                       [this] { ImportarUnidades(); });
    for (int i = 0; i < 3; ++i)
        mnuOpcion[i]->setObjectName(QStringLiteral("mnuOpcion%1").arg(i));
    opciones->addSeparator();
    AgregarMenuSeparador(*opciones, modulo_.Separador, [this] { CambioSeparador(); });
    // Las teclas de siempre; la grilla también las atiende si llegan a ella.
    mnuOpcion[0]->setShortcut(QKeySequence::Copy);
    mnuOpcion[1]->setShortcut(QKeySequence::Paste);
    AgregarMenuEdicion(*Menu, modulo_, [this] { LlevarAlProyecto(); });
    QAction* salir = Menu->addAction(QStringLiteral("&Salir"), this, [this] { close(); });
    salir->setObjectName(QStringLiteral("Menu1"));

    grdUH = new Grilla(this);
    grdUH->setObjectName(QStringLiteral("grdUH"));
    // Letra compacta: en los anchos de diseño caben abscisas de decenas de km.
    QFont letra = grdUH->font();
    letra.setPointSize(8);
    grdUH->setFont(letra);
    grdUH->PonerAltoNormal(grdUH->fontMetrics().height() + 6);
    connect(grdUH, &Grilla::CeldaCambiada, this, [this] { CeldaCambiada(); });
    connect(grdUH, &Grilla::Clic, this, [this] { RevisarUH(); });
    connect(grdUH, &Grilla::DobleClic, this, [this] { AbrirEditor(); });
    connect(grdUH, &Grilla::TeclaAbajo, this, [this](QKeyEvent* e) { TeclaGrilla(e); });
    connect(grdUH, &Grilla::TeclaPulsada, this,
            [this](const QString& texto) { TeclaPulsadaGrilla(texto); });

    txtUH = new QLineEdit(this);
    txtUH->setObjectName(QStringLiteral("txtUH"));
    txtUH->setFrame(false);
    txtUH->setFont(letra);
    txtUH->hide();
    txtUH->installEventFilter(this);
    connect(txtUH, &QLineEdit::textChanged, this, [this] { CambioTexto(); });

    for (int k = 0; k < ColumnasUH; ++k) {
        if (!EsColumnaListaUH(k)) continue;
        auto* lista = new QComboBox(this);
        lista->setObjectName(QStringLiteral("lstCTT%1").arg(k));
        lista->setFont(letra);
        lista->addItems(EntradasListaUH(k));
        lista->setCurrentIndex(-1);
        lista->hide();
        lista->installEventFilter(this);
        connect(lista, &QComboBox::currentIndexChanged, this,
                [this, k](int indice) { ClicLista(k, indice); });
        lstCTT[k] = lista;
    }

    Cuadro = new QFrame(this);
    Cuadro->setObjectName(QStringLiteral("Cuadro"));
    Cuadro->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* leyenda = new QGridLayout(Cuadro);
    leyenda->setContentsMargins(8, 4, 8, 4);
    leyenda->setVerticalSpacing(2);
    const QString textos[4] = {
        QStringLiteral("Tipo de Tramo :"),
        QStringLiteral("1. Sobre vía existente  2. Explanación nueva"),
        QStringLiteral("Tipo de Segmento :"),
        QStringLiteral(
            "A. Rasante paralela afirmado existente  B. Excavación o cajeo  C: Terraplen"),
    };
    for (int i = 0; i < 4; ++i) {
        auto* etiqueta = new QLabel(textos[i], Cuadro);
        etiqueta->setObjectName(QStringLiteral("lbLeyenda%1").arg(i));
        // Texto simple: los dos blancos entre códigos se respetan.
        etiqueta->setTextFormat(Qt::PlainText);
        if (i % 2 == 0) {
            QFont negrita = etiqueta->font();
            negrita.setBold(true);
            etiqueta->setFont(negrita);
        }
        leyenda->addWidget(etiqueta, i / 2, i % 2);
    }
    leyenda->setColumnStretch(1, 1);

    // Botones de los programas complementarios junto a la celda actual; con el
    // teclado, F4 sobre la celda hace lo mismo (F2 y F6 ya son de la edición).
    // Sin foco propio: el teclado sigue en la grilla.
    const QString ayudas[] = {
        QStringLiteral("Calcular el tránsito de diseño con el programa Transito (F4)"),
        QStringLiteral("Clasificar el clima con el programa Clima (F4)"),
        QStringLiteral("Clasificar el clima con el programa Clima (F4)"),
        QStringLiteral("Calcular el CBR de diseño con el programa Mr (F4)"),
    };
    for (int k = ColEjesEquivalentes; k <= ColCBR; ++k) {
        auto* boton = new QToolButton(this);
        boton->setObjectName(QStringLiteral("btnP%1").arg(k));
        boton->setText(QStringLiteral("..."));
        boton->setFont(letra);
        boton->setToolTip(ayudas[k - ColEjesEquivalentes]);
        boton->setFocusPolicy(Qt::NoFocus);
        boton->hide();
        connect(boton, &QToolButton::clicked, this, [this, k] { PulsarBotonP(k); });
        btnP[k] = boton;
    }
    // El botón acompaña a su celda cuando la grilla se desplaza.
    connect(grdUH->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { UbicarBotonP(); });
    connect(grdUH->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { UbicarBotonP(); });
    lbEstado = new QLabel(this);
    lbEstado->setObjectName(QStringLiteral("lbEstado"));
    lbEstado->setTextFormat(Qt::PlainText);
    lbSeparador = new QLabel(this);
    lbSeparador->setObjectName(QStringLiteral("lbSeparador"));
    lbSeparador->setText(TextoPreferenciaSeparador(modulo_.Separador));
    lbSeparador->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (HistorialProyecto* h = modulo_.Historial)
        connect(h, &HistorialProyecto::Aplicado, this,
                [this](const QVector<qint32>& unidades) { MostrarPasoAplicado(unidades); });
    setMinimumSize(400, 300);
}

void frmUnidadesHomogeneas::CambioSeparador() {
    // Lo escrito entra con la convención anterior; luego se muestra con la nueva.
    OcultarEditores();
    RevisarUH();
    TablaTextos tabla = TablaDeGrilla();
    ::CargarUH(modulo_.Proyecto, tabla);
    PonerTabla(tabla);
    CeldaCambiada();
    lbSeparador->setText(TextoPreferenciaSeparador(modulo_.Separador));
}

void frmUnidadesHomogeneas::CrearColumnas() {
    Proyecto& p = modulo_.Proyecto;
    grdUH->PonerDimensiones(FilasTablaUH(p), ColumnasUH);
    for (int c = 0; c < ColumnasUH; ++c) {
        grdUH->PonerTexto(0, c, QString::fromUtf16(DatosColumnas[c].Titulo));
        grdUH->PonerAnchoColumnaTwips(c, DatosColumnas[c].Ancho);
        grdUH->PonerAlineacionColumna(c, DatosColumnas[c].Alineacion | Qt::AlignVCenter);
    }
    // Títulos largos en tres líneas.
    grdUH->PonerAltoFilaFija(0, grdUH->AltoNormal() * 3);
}

TablaTextos frmUnidadesHomogeneas::TablaDeGrilla() const {
    TablaTextos tabla(grdUH->Filas(), grdUH->Columnas(), grdUH->Textos(), grdUH->Valores());
    tabla.PonerSeparador(modulo_.Separador);
    return tabla;
}

void frmUnidadesHomogeneas::PonerTabla(const TablaTextos& tabla) {
    grdUH->PonerTextos(tabla.Filas(), tabla.Columnas(), tabla.Celdas(), tabla.Valores());
}

double frmUnidadesHomogeneas::NumeroCelda(int fila, int columna) const {
    const std::optional<double> v = grdUH->Valor(fila, columna);
    return v ? *v : LeerCeldaUH(columna, grdUH->Texto(fila, columna), modulo_.Separador).Valor;
}

void frmUnidadesHomogeneas::CopiarCelda(int filaOrigen, int filaDestino, int columna) {
    grdUH->PonerValor(filaDestino, columna, grdUH->Texto(filaOrigen, columna),
                      grdUH->Valor(filaOrigen, columna));
}

void frmUnidadesHomogeneas::CargarUH() {
    TablaTextos tabla = TablaDeGrilla();
    ::CargarUH(modulo_.Proyecto, tabla, &cambiosRegla_);
    PonerTabla(tabla);
}

void frmUnidadesHomogeneas::RevisarUH() {
    if (tablaRevisada_) return;
    resultadoPendiente_ = false;
    const int fila = grdUH->Fila();
    TablaTextos tabla = TablaDeGrilla();
    QList<CeldaRechazada> rechazadas;
    // Lo que la revisión quita se nombra antes, mientras el proyecto aún lo tiene.
    const QList<int> unidadesQuitadas = UnidadesQuitadasUH(modulo_.Proyecto, tabla);
    const QString quitadas =
        TextoUnidadesQuitadas(modulo_.Proyecto, unidadesQuitadas, modulo_.Separador);
    // Quitar unidades es lo que más importa deshacer: el paso lo dice.
    if (unidadesQuitadas.size() == 1)
        paso_ = QStringLiteral("Quitar la unidad ") +
                modulo_.Proyecto.UH[unidadesQuitadas.front()].CodigoTramo;
    else if (unidadesQuitadas.size() > 1)
        paso_ = QStringLiteral("Quitar %1 unidades").arg(unidadesQuitadas.size());
    const int nueva = ::RevisarUH(modulo_.Proyecto, tabla, fila, &rechazadas, &cambiosRegla_);
    PonerTabla(tabla);
    if (paso_.isEmpty())
        paso_ = cambiosRegla_.isEmpty() ? QStringLiteral("Revisar las unidades")
                                        : QStringLiteral("Regla de los espesores");
    // La línea de estado dice lo que quitó el último paso.
    if (RegistrarPaso(modulo_, paso_)) lbEstado->setText(quitadas);
    paso_.clear();
    if (nueva != fila) {
        grdUH->PonerCelda(nueva, grdUH->Columna());
        if (!grdUH->FilaVisible(nueva)) grdUH->PonerFilaSuperior(nueva);
    }
    CeldaCambiada();
    tablaRevisada_ = true;
    emit Revisada();
    // Un negativo imposible se rechaza con un mensaje en vez de entrar callado.
    if (!rechazadas.isEmpty())
        plataforma_.Aviso(this, QStringLiteral("UNIDADES DE DISEÑO"),
                          TextoCeldasRechazadas(rechazadas), IconoMensaje::Exclamacion);
    AvisarCambiosRegla();
}

void frmUnidadesHomogeneas::AvisarCambiosRegla() {
    // Una regla que cambia datos guardados lo dice y cuenta como cambio; al
    // cargar, el aviso espera a que la ventana se vea.
    if (cambiosRegla_.isEmpty() || !yaActivado_) return;
    modulo_.ProyectoModificado = true;
    const QString texto = TextoCambiosRegla(cambiosRegla_);
    cambiosRegla_.clear();
    plataforma_.Aviso(this, QStringLiteral("UNIDADES DE DISEÑO"), texto, IconoMensaje::Informacion);
}

void frmUnidadesHomogeneas::LlevarAlProyecto() {
    // Un editor abierto ya dejó su texto en la celda; la revisión lo lleva al proyecto.
    const bool editorAbierto =
        txtUH->isVisible() ||
        std::any_of(lstCTT.begin(), lstCTT.end(), [](QComboBox* l) { return l && l->isVisible(); });
    ValidarEdicion();
    OcultarEditores();
    if (editorAbierto) tablaRevisada_ = false;
    RevisarUH();
}

void frmUnidadesHomogeneas::NombrarPaso(const QString& nombre) {
    // Dos cambios distintos antes de una revisión quedan en un solo paso.
    paso_ = paso_.isEmpty() || paso_ == nombre ? nombre : QStringLiteral("Editar las unidades");
}

void frmUnidadesHomogeneas::MostrarPasoAplicado(const QVector<qint32>& unidades) {
    // El proyecto vuelve exacto al estado del paso, que ya era uno revisado: la
    // tabla se llena desde él como al final de una revisión, sin leerla de nuevo
    // (leerla completaría listas vacías y el paso no volvería byte a byte).
    OcultarEditores();
    resultadoPendiente_ = false;
    lbEstado->clear();
    CargarUH();
    if (modulo_.Historial) modulo_.Historial->Sincronizar();
    tablaRevisada_ = true;
    resaltadoActivo_ = false;
    if (!unidades.isEmpty()) {
        // El cursor va a la primera unidad que cambió.
        const int fila = std::clamp(int(unidades.front()), 1, grdUH->Filas() - 1);
        grdUH->PonerCelda(fila, grdUH->Columna());
        if (!grdUH->FilaVisible(fila)) grdUH->PonerFilaSuperior(fila);
    }
    resaltadoActivo_ = true;
    CeldaCambiada();
    emit Revisada();
    AvisarCambiosRegla();
    grdUH->setFocus();
}

QString frmUnidadesHomogeneas::TextoEstado() const {
    return lbEstado->text();
}

void frmUnidadesHomogeneas::done(int resultado) {
    // Salir, cerrar o Escape no pierden lo escrito.
    LlevarAlProyecto();
    QDialog::done(resultado);
}

void frmUnidadesHomogeneas::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (yaActivado_) return;
    yaActivado_ = true;
    filaResaltada_ = 0;
    resaltadoActivo_ = true;
    CeldaCambiada();
    grdUH->setFocus();
    AvisarCambiosRegla();
}

void frmUnidadesHomogeneas::CeldaCambiada() {
    if (!resaltadoActivo_) return;
    if (resultadoPendiente_) {
        // Se deja la celda de un resultado de programa: primero se revisa.
        resultadoPendiente_ = false;
        RevisarUH();
        return;
    }
    ValidarEdicion();
    OcultarEditores();
    if (!grdUH->Barras()) grdUH->PonerBarras(true);
    const int fila = grdUH->Fila();
    const int columna = grdUH->Columna();
    if (fila != filaResaltada_) {
        resaltadoActivo_ = false;
        for (int c = 1; c < grdUH->Columnas(); ++c) {
            if (filaResaltada_ > 0) grdUH->PonerColorFondo(filaResaltada_, c, QColor());
            grdUH->PonerColorFondo(fila, c, ColorResaltado());
        }
        resaltadoActivo_ = true;
    }
    columnaBotonP_ = TieneBotonP(columna) ? columna : 0;
    UbicarBotonP();
    emit CeldaActualCambiada(fila, columna);
    filaResaltada_ = fila;
    const QString& texto = grdUH->Textos().at(qsizetype(fila) * grdUH->Columnas() + columna);
    // El número exacto, sin máscara: Escape lo devuelve sin redondear.
    if (EsColumnaNumeroUH(columna) && !texto.isEmpty())
        valorAnterior_ = TextoExacto(NumeroCelda(fila, columna), modulo_.Separador);
    else
        valorAnterior_ = texto;
}

int frmUnidadesHomogeneas::FilaActual() const {
    return grdUH->Fila();
}

int frmUnidadesHomogeneas::ColumnaActual() const {
    return grdUH->Columna();
}

QRect frmUnidadesHomogeneas::RectanguloCeldaActual() const {
    const QRect celda = grdUH->RectanguloCelda(grdUH->Fila(), grdUH->Columna());
    return celda.translated(grdUH->mapTo(this, QPoint(0, 0)));
}

void frmUnidadesHomogeneas::PonerTextoCelda(int fila, int columna, const QString& texto) {
    grdUH->PonerTexto(fila, columna, texto);
    modulo_.ProyectoModificado = true;
    tablaRevisada_ = false;
}

void frmUnidadesHomogeneas::resizeEvent(QResizeEvent* evento) {
    QDialog::resizeEvent(evento);
    Acomodar();
}

void frmUnidadesHomogeneas::Acomodar() {
    // Márgenes de 60 twips; la leyenda al pie y la grilla en el resto.
    const int margen = PixelesDeTwips(60, this);
    const int alturaMenu = Menu->sizeHint().height();
    Menu->setGeometry(0, 0, width(), alturaMenu);
    const int altoCuadro = Cuadro->sizeHint().height();
    const int altoEstado = lbSeparador->sizeHint().height();
    const int arribaCuadro =
        std::max(height() - altoCuadro - altoEstado - margen, alturaMenu + margen);
    const int arribaGrilla = alturaMenu + margen;
    const int ancho = std::max(width() - 2 * margen, 0);
    grdUH->setGeometry(margen, arribaGrilla, ancho,
                       std::max(arribaCuadro - margen - arribaGrilla, 0));
    Cuadro->setGeometry(margen, arribaCuadro, ancho, altoCuadro);
    const int anchoSeparador = std::min(lbSeparador->sizeHint().width(), ancho);
    lbSeparador->setGeometry(margen + ancho - anchoSeparador, arribaCuadro + altoCuadro,
                             anchoSeparador, altoEstado);
    lbEstado->setGeometry(margen, arribaCuadro + altoCuadro, ancho - anchoSeparador, altoEstado);
    // Un editor abierto sigue sobre su celda.
    if (txtUH->isVisible()) UbicarObjetoEnCelda(*txtUH, *grdUH);
    for (QComboBox* lista : lstCTT)
        if (lista && lista->isVisible()) UbicarObjetoEnCelda(*lista, *grdUH);
    UbicarBotonP();
}

void frmUnidadesHomogeneas::keyPressEvent(QKeyEvent* evento) {
    // Enter no cierra la ventana; Escape la cierra por close(), que revisa antes.
    const int tecla = evento->key();
    if (tecla == Qt::Key_Escape) {
        evento->accept();
        close();
        return;
    }
    if (EsEnter(tecla)) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

bool frmUnidadesHomogeneas::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::FocusIn) {
        // Con un editor abierto la grilla puede diferir del proyecto.
        if (objeto == txtUH || std::find(lstCTT.begin(), lstCTT.end(), objeto) != lstCTT.end())
            tablaRevisada_ = false;
    } else if (evento->type() == QEvent::KeyPress) {
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if (objeto == txtUH) return TeclaTexto(tecla);
        if (auto* lista = qobject_cast<QComboBox*>(objeto)) return TeclaLista(*lista, tecla);
    }
    return QDialog::eventFilter(objeto, evento);
}

// ---- Teclas de la grilla ----

void frmUnidadesHomogeneas::TeclaGrilla(QKeyEvent* evento) {
    const int tecla = evento->key();
    const Qt::KeyboardModifiers mod = Modificadores(evento);
    const bool control = mod & Qt::ControlModifier;
    const bool mayusculas = mod & Qt::ShiftModifier;
    if (EsEnter(tecla)) {
        MoverCeldaTrasTecla(*grdUH, Qt::Key_Return);
        CeldaCambiada();
    } else if (tecla == Qt::Key_Home && control) {
        resaltadoActivo_ = false;
        grdUH->PonerCelda(1, ColCodigoTramo);
        grdUH->PonerFilaSuperior(1);
        resaltadoActivo_ = true;
        // El resaltado y ValorAnterior siguen a la celda de inmediato: Escape en
        // un editor abierto aquí no debe traer el valor de otra celda.
        CeldaCambiada();
    } else if (tecla == Qt::Key_End && control) {
        IrAlFinal();
    } else if (tecla == Qt::Key_Delete && !control) {
        BorrarSeleccion();
    } else if (tecla == Qt::Key_F6 && control) {
        CopiarFilaDeArriba();
    } else if (tecla == Qt::Key_F6 && !mayusculas) {
        CopiarCeldaDeArriba();
    } else if (tecla == Qt::Key_F2) {
        AbrirEditor();
    } else if (tecla == Qt::Key_F4 && mod == Qt::NoModifier && TieneBotonP(grdUH->Columna())) {
        PulsarBotonP(grdUH->Columna());
    } else if (evento->matches(QKeySequence::Copy)) {
        CopiarAlPortapapeles();
    } else if (evento->matches(QKeySequence::Paste)) {
        PegarDelPortapapeles();
    } else if (tecla == Qt::Key_Escape && mod == Qt::NoModifier) {
        // Escape en la grilla sale de la ventana, llevando antes lo escrito al proyecto.
        close();
    } else {
        return;
    }
    evento->accept();
}

void frmUnidadesHomogeneas::IrAlFinal() {
    resaltadoActivo_ = false;
    int r = grdUH->Filas() - 1;
    while (r >= 1 && grdUH->Texto(r, ColCodigoTramo).isEmpty())
        --r;
    if (r >= 1) {
        grdUH->PonerCelda(std::min(r + 1, grdUH->Filas() - 1), ColCodigoTramo);
        grdUH->PonerFilaSuperior(std::max(r - 3, 1));
    }
    resaltadoActivo_ = true;
    CeldaCambiada();
}

void frmUnidadesHomogeneas::BorrarSeleccion() {
    const QRect s = grdUH->Seleccion();
    for (int f = s.top(); f <= s.bottom(); ++f)
        for (int c = s.left(); c <= s.right(); ++c)
            grdUH->PonerTexto(f, c, QString());
    modulo_.ProyectoModificado = true;
    tablaRevisada_ = false;
    NombrarPaso(QStringLiteral("Borrar"));
    RevisarUH();
}

void frmUnidadesHomogeneas::CopiarCeldaDeArriba() {
    const int fila = grdUH->Fila();
    const int columna = grdUH->Columna();
    if (fila > 1) {
        CopiarCelda(fila - 1, fila, columna);
        modulo_.ProyectoModificado = true;
        NombrarPaso(QStringLiteral("Copiar la celda de arriba"));
    }
    tablaRevisada_ = false;
    RevisarUH();
}

void frmUnidadesHomogeneas::CopiarFilaDeArriba() {
    const int fila = grdUH->Fila();
    if (fila > 1 && grdUH->Columna() == ColCodigoTramo &&
        !grdUH->Texto(fila, ColCodigoTramo).isEmpty()) {
        for (int c = 1; c < ColumnasUH; ++c)
            CopiarCelda(fila - 1, fila, c);
        // El tramo nuevo empieza donde termina el de arriba.
        grdUH->PonerValor(fila, ColAbscisaInicial, grdUH->Texto(fila, ColAbscisaFinal),
                          NumeroCelda(fila, ColAbscisaFinal));
        modulo_.ProyectoModificado = true;
        NombrarPaso(QStringLiteral("Copiar la fila de arriba"));
    }
    tablaRevisada_ = false;
    RevisarUH();
}

// ---- Editores ----

void frmUnidadesHomogeneas::TeclaPulsadaGrilla(const QString& texto) {
    const int fila = grdUH->Fila();
    if (!grdUH->FilaVisible(fila) || texto.size() != 1 || !AbreEditor(texto.front())) return;
    // La fila a medias se trae entera antes de poner el editor encima.
    grdUH->scrollTo(grdUH->currentIndex());
    const int columna = grdUH->Columna();
    if (EsColumnaListaUH(columna))
        MostrarLista(columna, texto, true);
    else
        MostrarEditorTexto(texto, false);
}

void frmUnidadesHomogeneas::AbrirEditor() {
    OcultarEditores();
    const int columna = grdUH->Columna();
    const QString celda = grdUH->Texto(grdUH->Fila(), columna);
    if (EsColumnaListaUH(columna)) {
        MostrarLista(columna, celda, false);
        return;
    }
    QString texto;
    if (EsColumnaNumeroUH(columna))
        // Se edita el valor exacto de la celda, no el que muestra la máscara.
        texto = TextoExacto(NumeroCelda(grdUH->Fila(), columna), modulo_.Separador);
    else
        texto = Recortar(celda);
    MostrarEditorTexto(texto, true);
}

void frmUnidadesHomogeneas::MostrarEditorTexto(const QString& texto, bool seleccionarTodo) {
    // Lo que la celda tenía, para devolvérselo si lo escrito no se toma.
    const int fila = grdUH->Fila();
    const int columna = grdUH->Columna();
    edicion_ = {fila, columna, grdUH->Texto(fila, columna), grdUH->Valor(fila, columna)};
    // Sin barras antes de medir la celda: al ocultarlas la vista no se mueve
    // después de ubicar el editor.
    grdUH->PonerBarras(false);
    UbicarObjetoEnCelda(*txtUH, *grdUH);
    {
        const QSignalBlocker bloqueo(txtUH);
        txtUH->setText(texto);
    }
    CambioTexto();
    txtUH->setAlignment(grdUH->Alineacion(grdUH->Fila(), grdUH->Columna()) &
                        Qt::AlignHorizontal_Mask);
    txtUH->show();
    txtUH->raise();
    if (seleccionarTodo)
        SeleccionarTexto(*txtUH);
    else
        txtUH->setCursorPosition(static_cast<int>(texto.size()));
    txtUH->setFocus();
}

void frmUnidadesHomogeneas::MostrarLista(int columna, const QString& texto, bool primeroSiNada) {
    QComboBox* lista = lstCTT[columna];
    grdUH->PonerBarras(false);
    UbicarObjetoEnCelda(*lista, *grdUH);
    // Se aparta a propósito de lo original: una letra que no empieza ninguna
    // entrada deja la de la celda, no pone la primera.
    SeleccionarEnLista(*lista, texto, false);
    if (lista->currentIndex() < 0 && primeroSiNada)
        SeleccionarEnLista(*lista, grdUH->Texto(grdUH->Fila(), columna), false);
    // Abierta con una letra, las siguientes siguen buscando ("AFR-2", "Su").
    busquedaLista_ = primeroSiNada ? texto : QString();
    reloj_.start();
    lista->show();
    lista->raise();
    lista->setFocus();
}

void frmUnidadesHomogeneas::OcultarEditores() {
    const bool conFoco =
        txtUH->hasFocus() ||
        std::any_of(lstCTT.begin(), lstCTT.end(), [](QComboBox* l) { return l && l->hasFocus(); });
    txtUH->hide();
    for (QComboBox* lista : lstCTT)
        if (lista) lista->hide();
    if (conFoco) grdUH->setFocus();
}

void frmUnidadesHomogeneas::CambioTexto() {
    const int fila = grdUH->Fila();
    const int columna = grdUH->Columna();
    QString texto = txtUH->text();
    // Se aparta a propósito de lo original: un carácter que el archivo no puede
    // guardar no entra (se guardaría como "?").
    if (const QString fuera = CaracteresNoAnsi(texto);
        !fuera.isEmpty() && !EsColumnaNumeroUH(columna)) {
        texto = QuitarNoAnsi(texto);
        const int cursor =
            std::max(0, txtUH->cursorPosition() - int(txtUH->text().size() - texto.size()));
        {
            const QSignalBlocker bloqueo(txtUH);
            txtUH->setText(texto);
            txtUH->setCursorPosition(cursor);
        }
        plataforma_.Aviso(this, QStringLiteral("UNIDADES DE DISEÑO"), TextoCaracteresNoAnsi(fuera),
                          IconoMensaje::Exclamacion);
    }
    if (columna == ColCodigoTramo)
        grdUH->PonerTexto(fila, columna, Recortar(texto).toUpper());
    else if (columna == ColDescripcion)
        grdUH->PonerTexto(fila, columna, Recortar(texto));
    else if (EsColumnaNumeroUH(columna)) {
        // La celda guarda lo escrito exacto; la máscara solo es lo que muestra.
        const double valor = LeerCeldaUH(columna, texto, modulo_.Separador).Valor;
        grdUH->PonerValor(fila, columna, TextoNumeroUH(columna, valor, modulo_.Separador), valor);
    }
    modulo_.ProyectoModificado = true;
    NombrarPaso(QStringLiteral("Escribir ") + NombreColumnaUH(columna));
}

bool frmUnidadesHomogeneas::TeclaTexto(QKeyEvent* evento) {
    const int tecla = evento->key();
    if (tecla == Qt::Key_Escape) {
        if (txtUH->text() == valorAnterior_)
            CambioTexto();
        else
            txtUH->setText(valorAnterior_);
        return true;
    }
    // Tab y Mayúsculas+Tab también confirman y pasan a la celda vecina.
    if (EsEnter(tecla) || tecla == Qt::Key_Up || tecla == Qt::Key_Down || tecla == Qt::Key_PageUp ||
        tecla == Qt::Key_PageDown || tecla == Qt::Key_Tab || tecla == Qt::Key_Backtab) {
        ConfirmarEdicion(EsEnter(tecla) ? Qt::Key_Return : tecla);
        return true;
    }
    return false;
}

bool frmUnidadesHomogeneas::ValidarEdicion() {
    const Edicion e = edicion_;
    if (!txtUH->isVisible() || !EsColumnaNumeroUH(e.Columna)) return true;
    const QString texto = txtUH->text();
    if (texto.trimmed().isEmpty()) return true;
    const NumeroEscrito n = LeerCeldaUH(e.Columna, texto, modulo_.Separador);
    const auto restaurar = [&] {
        txtUH->hide();
        grdUH->PonerValor(e.Fila, e.Columna, e.Texto, e.Valor);
        if (!grdUH->Barras()) grdUH->PonerBarras(true);
        grdUH->setFocus();
        return false;
    };
    // Se aparta a propósito de lo original: un texto sin número no se guarda como 0.
    if (!n.EsNumero) {
        restaurar();
        plataforma_.Aviso(
            this, QStringLiteral("UNIDADES DE DISEÑO"),
            QStringLiteral("El texto [%1] no es un número: %2 de la unidad [%3] conserva su "
                           "valor...")
                .arg(texto.trimmed(), NombreColumnaUH(e.Columna))
                .arg(e.Fila),
            IconoMensaje::Exclamacion);
        return false;
    }
    // Se aparta a propósito de lo original: un valor fuera de lo usual se confirma
    // antes de tomarlo ("6,500" por 6,5).
    if (FueraDeLoUsualUH(e.Columna, n.Valor) &&
        plataforma_.Mensaje(this, QStringLiteral("UNIDADES DE DISEÑO"),
                            PreguntaValorUH(e.Columna, n.Valor, e.Fila, modulo_.Separador),
                            IconoMensaje::Pregunta, BotonesMensaje::SiNo,
                            RespuestaMensaje::No) != RespuestaMensaje::Si)
        return restaurar();
    return true;
}

void frmUnidadesHomogeneas::ConfirmarEdicion(int tecla) {
    if (!ValidarEdicion()) {
        RevisarUH();
        return;
    }
    if (grdUH->Columna() == ColCodigoTramo) ContinuarTramo();
    txtUH->hide();
    if (!grdUH->Barras()) grdUH->PonerBarras(true);
    MoverCeldaTrasTecla(*grdUH, tecla);
    RevisarUH();
    grdUH->setFocus();
}

void frmUnidadesHomogeneas::ContinuarTramo() {
    const QString codigo = Recortar(txtUH->text()).toUpper();
    const int fila = grdUH->Fila();
    if (codigo.isEmpty()) return;
    for (int c = ColDescripcion; c < ColumnasUH; ++c)
        if (!grdUH->Texto(fila, c).isEmpty()) return;
    int j = grdUH->Filas() - 1;
    while (j >= 1 && (j == fila || grdUH->Texto(j, ColCodigoTramo) != codigo))
        --j;
    if (j < 1) return;
    // El tramo nuevo empieza donde termina el encontrado y mide 100 m.
    const double final = NumeroCelda(j, ColAbscisaFinal);
    grdUH->PonerValor(fila, ColAbscisaInicial, grdUH->Texto(j, ColAbscisaFinal), final);
    grdUH->PonerValor(fila, ColAbscisaFinal,
                      Formato(final + 100, MascaraColumnaUH(ColAbscisaFinal)), final + 100);
    for (int c : {ColTipoTramo, ColTipoSegmento, ColAnchoCorona, ColEjesEquivalentes,
                  ColClimaHumedad, ColClimaTemperatura, ColCBR, ColTipoTerreno, ColTipoAfirmado,
                  ColEspesorAfirmado, ColEspesorSubrasante})
        CopiarCelda(j, fila, c);
}

bool frmUnidadesHomogeneas::TeclaLista(QComboBox& lista, QKeyEvent* evento) {
    const int tecla = evento->key();
    const QString texto = evento->text();
    if (texto.size() == 1 && texto.front().isPrint() &&
        !(evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Letras seguidas afinan la búsqueda como en cualquier lista; tras una pausa
        // la búsqueda empieza de nuevo.
        if (!reloj_.isValid() || reloj_.elapsed() > QApplication::keyboardInputInterval())
            busquedaLista_.clear();
        busquedaLista_ += texto;
        reloj_.start();
        QStringList entradas;
        for (int i = 0; i < lista.count(); ++i)
            entradas.append(lista.itemText(i));
        // Sin tildes también ("sú" es "Subhumedo").
        int indice = ::SeleccionarEnLista(entradas, busquedaLista_, false);
        if (indice < 0) {
            QStringList normales;
            for (const QString& entrada : entradas)
                normales << Normalizar(entrada);
            indice = ::SeleccionarEnLista(normales, Normalizar(busquedaLista_), false);
        }
        if (indice >= 0) lista.setCurrentIndex(indice);
        return true;
    }
    if (EsEnter(tecla) || tecla == Qt::Key_Tab || tecla == Qt::Key_Backtab) {
        lista.hide();
        if (!grdUH->Barras()) grdUH->PonerBarras(true);
        MoverCeldaTrasTecla(*grdUH, EsEnter(tecla) ? int(Qt::Key_Return) : tecla);
        RevisarUH();
        grdUH->setFocus();
        return true;
    }
    if (tecla == Qt::Key_Escape) {
        SeleccionarEnLista(lista, valorAnterior_, true);
        return true;
    }
    return false;
}

void frmUnidadesHomogeneas::ClicLista(int columna, int indice) {
    // Al elegir "ninguna" la celda no cambia.
    if (indice < 0) return;
    const QString entrada = lstCTT[columna]->itemText(indice);
    const bool soloCodigo = columna == ColTipoTramo || columna == ColTipoSegmento;
    grdUH->PonerTexto(grdUH->Fila(), columna, soloCodigo ? entrada.left(1) : entrada);
    modulo_.ProyectoModificado = true;
    NombrarPaso(QStringLiteral("Elegir ") + NombreColumnaUH(columna));
}

// ---- Portapapeles ----

void frmUnidadesHomogeneas::CopiarAlPortapapeles() {
    {
        const CursorEspera espera;
        plataforma_.EscribirPortapapeles(CopiarTexto(TablaDeGrilla(), 1, ColCodigoTramo));
    }
    grdUH->PonerCelda(1, ColCodigoTramo);
    grdUH->PonerFilaSuperior(1);
    grdUH->setFocus();
}

void frmUnidadesHomogeneas::PegarDelPortapapeles() {
    QString aviso;
    {
        const CursorEspera espera;
        const QString texto = plataforma_.LeerPortapapeles();
        if (!texto.isEmpty()) {
            TablaTextos tabla = TablaDeGrilla();
            // Lo que no se pudo leer, o se leyó con una convención, se dice; no se
            // cambia callado.
            const ResultadoPegado pegado =
                PegarUH(tabla, texto, grdUH->Fila(), grdUH->Columna(), modulo_.Separador);
            aviso = TextoPegado(pegado, modulo_.Separador);
            PonerTabla(tabla);
            modulo_.ProyectoModificado = true;
            NombrarPaso(NombrePegado(pegado.Filas));
        }
        grdUH->PonerCelda(grdUH->Fila(), ColCodigoTramo);
        grdUH->setFocus();
        tablaRevisada_ = false;
        RevisarUH();
    }
    if (!aviso.isEmpty())
        plataforma_.Aviso(this, QStringLiteral("PEGAR DEL PORTAPAPELES"), aviso,
                          IconoMensaje::Exclamacion);
}

void frmUnidadesHomogeneas::ImportarUnidades() {
    // Lo escrito a medias entra antes: las filas van debajo de la última unidad.
    LlevarAlProyecto();
    const QString ruta = plataforma_.AbrirArchivo(
        this, QStringLiteral("Importar Unidades"),
        QStringLiteral("Hojas de cálculo (*.csv *.xlsx *.txt);;Todos los archivos (*)"));
    if (ruta.isEmpty()) {
        grdUH->setFocus();
        return;
    }
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        plataforma_.Aviso(this, QStringLiteral("IMPORTAR UNIDADES"),
                          QStringLiteral("El archivo [%1] no se puede leer: %2")
                              .arg(QDir::toNativeSeparators(ruta), archivo.errorString()),
                          IconoMensaje::Exclamacion);
        return;
    }
    QByteArray datos;
    {
        const CursorEspera espera;
        datos = archivo.readAll();
    }
    frmImportarUH vista(ruta, std::move(datos), TablaDeGrilla(), modulo_.Proyecto.NumeroUH,
                        modulo_.Separador, this);
    if (plataforma_.MostrarModal(vista) != QDialog::Accepted) {
        grdUH->setFocus();
        return;
    }
    const ImportacionUH& imp = vista.Importacion();
    {
        const CursorEspera espera;
        PonerTabla(imp.Tabla);
        modulo_.ProyectoModificado = true;
        NombrarPaso(NombreImportacion(int(imp.Lectura.Filas.size())));
        grdUH->PonerCelda(imp.Fila, ColCodigoTramo);
        grdUH->setFocus();
        tablaRevisada_ = false;
        RevisarUH();
    }
    // Tras el aviso de la revisión, si lo hubo, Ctrl+Z llega a la grilla.
    grdUH->setFocus();
}

// ---- Programas complementarios ----

void frmUnidadesHomogeneas::UbicarBotonP() {
    for (QToolButton* boton : btnP)
        if (boton && boton != btnP[columnaBotonP_]) boton->hide();
    QToolButton* boton = btnP[columnaBotonP_];
    if (!boton) return;
    // Justo a la derecha de la celda actual, del alto de la fila; oculto mientras
    // la celda no esté a la vista. En la última columna visible se queda dentro
    // de la grilla, sobre el extremo de la celda.
    const QRect celda = grdUH->RectanguloCelda(grdUH->Fila(), columnaBotonP_);
    const QRect vista = grdUH->viewport()->geometry();
    if (!vista.intersects(celda)) {
        boton->hide();
        return;
    }
    const int lado = celda.height();
    const int izquierda = std::min(celda.left() + celda.width(), vista.right() + 1 - lado);
    const QPoint esquina = grdUH->mapTo(this, QPoint(izquierda, celda.top()));
    boton->setGeometry(esquina.x(), esquina.y(), lado, lado);
    boton->show();
    boton->raise();
}

void frmUnidadesHomogeneas::PulsarBotonP(int columna) {
    const QString codigo = CodigoProgramaBotonP(columna);
    const ProgramaComplementario* programa = BuscarPrograma(codigo);
    if (!programa) return;
    const int fila = grdUH->Fila();
    Proyecto& proyecto = modulo_.Proyecto;
    // Una fila agregada por un pegado más allá de la capacidad no tiene unidad.
    if (fila < 1 || fila > proyecto.CapacidadUH()) return;
    // Un editor abierto no debe quedar sobre la celda que el programa llena.
    OcultarEditores();
    if (!grdUH->Barras()) grdUH->PonerBarras(true);

    ResultadoPrograma& resultado = modulo_.ResultadoPrograma;
    resultado.Referencia = ReferenciaUnidades;
    resultado.Seleccionar = true;
    const QString extension = programa->ExtensionLineas.toString();
    // En una sesión, los archivos de intercambio van a la carpeta de trabajo.
    const QString lineasEntregadas = RutaTrabajo(ReferenciaUnidades + extension);
    const QString archivoUnidad = RutaTrabajo(NombreArchivoUnidad);
    {
        const UnidadHomogenea& u = proyecto.UH[fila];
        const ErrorEscritura e = EscribirArchivoUnidad(
            archivoUnidad, {fila, u.CodigoTramo, u.AbscisaInicial, u.AbscisaFinal});
        if (!e.Ok) {
            AvisarIntercambio(QStringLiteral("escribir"), archivoUnidad, e);
            return;
        }
    }
    {
        const ErrorEscritura e =
            EntregarLineas(lineasEntregadas, LineasBotonP(proyecto.UH[fila], columna));
        if (!e.Ok) {
            BorrarSiExiste(archivoUnidad);
            AvisarIntercambio(QStringLiteral("escribir"), lineasEntregadas, e);
            return;
        }
    }

    {
        frmProgramas programas(modulo_, plataforma_, this);
        programas.lb()->setText(codigo);
        // Un resultado de una corrida anterior no vale para esta.
        resultado.HayResultado = false;
        plataforma_.MostrarModal(programas);
    }

    const ErrorEscritura borrado = BorrarSiExiste(archivoUnidad);
    if (!borrado.Ok) {
        AvisarIntercambio(QStringLiteral("borrar"), archivoUnidad, borrado);
        return;
    }
    if (resultado.HayResultado) {
        // Primero las líneas: si no se pueden tomar, ni la celda ni la unidad cambian.
        const QString archivo = RutaTrabajo(resultado.Referencia + extension);
        const LecturaLineas lectura = RecibirLineas(archivo);
        if (!lectura.Ok) {
            AvisarIntercambio(lectura.Leido ? QStringLiteral("borrar") : QStringLiteral("leer"),
                              archivo, lectura.Error);
            return;
        }
        switch (columna) {
        case ColEjesEquivalentes:
            // El valor del programa llega exacto; la máscara solo lo muestra.
            grdUH->PonerValor(fila, columna, Formato(resultado.ValorTransito, u"0.00E+#00"),
                              resultado.ValorTransito);
            break;
        case ColClimaHumedad:
            grdUH->PonerTexto(fila, columna, resultado.TextoClima2);
            if (grdUH->Texto(fila, ColClimaTemperatura).isEmpty())
                grdUH->PonerTexto(fila, ColClimaTemperatura, resultado.TextoClima3);
            break;
        case ColClimaTemperatura:
            grdUH->PonerTexto(fila, columna, resultado.TextoClima3);
            break;
        default:
            grdUH->PonerValor(fila, columna, Formato(resultado.ValorModulo, u"#,##0.00"),
                              resultado.ValorModulo);
            break;
        }
        LineasBotonP(proyecto.UH[fila], columna) = lectura.Lineas;
        NombrarPaso(QStringLiteral("Resultado del programa ") + programa->Nombre.toString());
        // La celda llega a la unidad en la próxima revisión, a más tardar al dejar
        // la celda o la ventana: la unidad nunca guarda las líneas nuevas con el
        // valor viejo. Y el cambio cuenta como cambio.
        modulo_.ProyectoModificado = true;
        tablaRevisada_ = false;
        resultadoPendiente_ = true;
    }
    // Lo entregado al programa no queda atrás aunque este no haya devuelto nada.
    BorrarSiExiste(lineasEntregadas);
    grdUH->setFocus();
}

void frmUnidadesHomogeneas::AvisarIntercambio(const QString& accion, const QString& archivo,
                                              const ErrorEscritura& error) {
    plataforma_.Aviso(this, ErrorEscritura::Titulo(),
                      QStringLiteral("No fue posible %1 el archivo de intercambio [%2]; la "
                                     "unidad queda sin cambios...\n\nError : %3 %4")
                          .arg(accion, archivo, QString::number(error.Numero), error.Descripcion),
                      IconoMensaje::Critico);
    grdUH->setFocus();
}
