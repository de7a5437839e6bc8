#include "alternatives/frmAlternativas.h"

#include "alternatives/HojaResultados.h"
#include "alternatives/Memoria.h"
#include "alternatives/PintarDiagrama.h"
#include "alternatives/Reportes.h"
#include "alternatives/Verificacion.h"
#include "alternatives/frmCostosUnitarios.h"
#include "alternatives/frmDiagrama.h"
#include "alternatives/frmSensibilidad.h"
#include "app/Historial.h"
#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "common/Grilla.h"
#include "common/ModuloLibzrl.h"
#include "common/Plataforma.h"
#include "common/VentanasLibzrl.h"
#include "printing/Imprime.h"
#include "printing/SalidaSegura.h"
#include "project/ArchivoProyecto.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

// Una capa de una estructura: fondo, rótulo centrado y ayuda del catálogo.
class CajaCapa : public QWidget {
public:
    CajaCapa(const QColor& fondo, const QColor& texto, QWidget* padre)
        : QWidget(padre), fondo_(fondo), texto_(texto) {}
    void PonerEtiqueta(const QString& etiqueta) {
        etiqueta_ = etiqueta;
        update();
    }
    const QString& Etiqueta() const { return etiqueta_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), fondo_);
        p.setPen(QColor(0, 0, 0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.setPen(texto_);
        p.drawText(rect(), Qt::AlignCenter, etiqueta_);
        // Deshabilitada (filas de separación y totales): el dibujo queda, apagado.
        if (!isEnabled()) p.fillRect(rect(), QColor(255, 255, 255, 110));
    }

private:
    QColor fondo_;
    QColor texto_;
    QString etiqueta_;
};

// La alternativa no aplica: un círculo tachado con el texto.
class ImagenNoAplica : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const int lado = std::min(width() / 3, height()) - 4;
        const QRect circulo(4, (height() - lado) / 2, lado, lado);
        p.setPen(QPen(QColor(192, 0, 0), 3));
        p.drawEllipse(circulo);
        p.drawLine(circulo.topRight() + QPoint(-lado / 7, lado / 7),
                   circulo.bottomLeft() + QPoint(lado / 7, -lado / 7));
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(128, 0, 0));
        p.drawText(QRect(circulo.right() + 8, 0, width() - circulo.right() - 8, height()),
                   Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("No aplica"));
    }
};

namespace {

constexpr int ColumnasGrilla = 15;
constexpr double IzquierdaEstructura[4] = {0, 315, 3960, 7605};
constexpr double AnchoEstructura = 3000;
constexpr double ArribaFila1 = 3825;
constexpr double ArribaFila2 = 6615;
// El panel de verificación, bajo el dibujo, y el alto del área con él.
constexpr double ArribaVerificacion = 9300;
constexpr double AltoArea = 11500;

constexpr const char16_t* FilasVerificacion[] = {u"SN requerido", u"SN aportado",
                                                 u"SN sobre la base: requerido / aportado",
                                                 u"SN sobre la subbase: requerido / aportado"};

const QColor RojoNoCumple(192, 0, 0);

// Por qué no cumple, en la ayuda de la celda del panel.
QString AyudaNoCumple(const VerificacionAlternativa& a, int fila) {
    if (fila == 1)
        return QStringLiteral("El número estructural que aportan las capas es menor que el "
                              "requerido: el redondeo de los espesores al milímetro puede "
                              "dejarlo apenas por debajo.");
    QString ayuda = QStringLiteral("Las capas de encima aportan menos que el número estructural "
                                   "requerido sobre el módulo de esta capa.");
    if (fila == 2 && a.SuperficieSinAporte)
        ayuda += QStringLiteral(" El tratamiento superficial no aporta número estructural en "
                                "este método: sobre la base el aporte es 0.");
    return ayuda;
}

double IzquierdaDe(int n) {
    return IzquierdaEstructura[(n - 1) % 3 + 1];
}
double ArribaDe(int n) {
    return n <= 3 ? ArribaFila1 : ArribaFila2;
}

const QColor AmarilloClaro(255, 255, 192);

} // namespace

frmAlternativas::frmAlternativas(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* padre)
    : QDialog(padre), modulo_(modulo), plataforma_(plataforma) {
    setObjectName(QStringLiteral("frmAlternativas"));
    setWindowTitle(QStringLiteral("ALTERNATIVAS DE DISEÑO [") + modulo_.ArchivoProyecto + u']');
    // Letra chica, como la grilla y el dibujo fueron medidos.
    QFont letra = font();
    letra.setPointSizeF(8);
    setFont(letra);
    const auto px = [this](double twips) { return PixelesDeTwips(twips, this); };

    auto* menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("Menu"));
    QMenu* opciones = menu->addMenu(QStringLiteral("&Opciones"));
    QAction* costos = opciones->addAction(QStringLiteral("&Definición de Costos Unitarios"));
    costos->setObjectName(QStringLiteral("mnuOpcion0"));
    connect(costos, &QAction::triggered, this, &frmAlternativas::DefinirCostosUnitarios);
    QAction* diagrama = opciones->addAction(QStringLiteral("Diagrama &Lineal de Estructuras"));
    diagrama->setObjectName(QStringLiteral("mnuOpcion1"));
    connect(diagrama, &QAction::triggered, this, &frmAlternativas::AbrirDiagrama);
    QAction* menorCosto =
        opciones->addAction(QStringLiteral("Seleccionar la Alternativa de &Menor Costo"));
    menorCosto->setObjectName(QStringLiteral("mnuOpcion2"));
    connect(menorCosto, &QAction::triggered, this, &frmAlternativas::SeleccionarMenorCosto);
    QAction* cantidades = opciones->addAction(QStringLiteral("Cantidades de &Obra"));
    cantidades->setObjectName(QStringLiteral("mnuOpcion3"));
    connect(cantidades, &QAction::triggered, this, [this] { Imprimir(NumeroReporteCantidades); });
    QAction* sensibilidad = opciones->addAction(QStringLiteral("Se&nsibilidad"));
    sensibilidad->setObjectName(QStringLiteral("mnuOpcion4"));
    connect(sensibilidad, &QAction::triggered, this, &frmAlternativas::AbrirSensibilidad);
    QAction* hoja = opciones->addAction(QStringLiteral("Exportar a &Hoja de Cálculo..."));
    hoja->setObjectName(QStringLiteral("mnuOpcion5"));
    connect(hoja, &QAction::triggered, this, &frmAlternativas::ExportarHoja);
    opciones->addSeparator();
    AgregarMenuSeparador(*opciones, modulo_.Separador, [this] { CambioSeparador(); });
    AgregarMenuEdicion(*menu, modulo_);
    if (HistorialProyecto* h = modulo_.Historial)
        connect(h, &HistorialProyecto::Aplicado, this,
                [this](const QVector<qint32>& unidades) { MostrarPasoAplicado(unidades); });
    QAction* salir = menu->addAction(QStringLiteral("&Salir"));
    salir->setObjectName(QStringLiteral("Menu1"));
    connect(salir, &QAction::triggered, this, &QDialog::accept);

    area_ = new QWidget(this);
    auto* area = area_;
    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setMenuBar(menu);
    principal->addWidget(area);
    area->setFixedSize(px(14300), px(AltoArea));

    // La grilla: dos filas de títulos, una fila por unidad, separación y totales.
    grdUH_ = new Grilla(area);
    grdUH_->setObjectName(QStringLiteral("grdUH"));
    grdUH_->PonerFijas(2, 0);
    grdUH_->PonerDimensiones(modulo_.Proyecto.NumeroUH + 4, ColumnasGrilla);
    const struct {
        const char16_t* Titulo0;
        const char16_t* Titulo1;
        double Ancho;
    } columnas[9] = {{u"# UH", u"# UH", 300},
                     {u"Código Tramo", u"Código Tramo", 500},
                     {u"Abscisa Inicial", u"(m)", 700},
                     {u"Abscisa Final", u"(m)", 700},
                     {u"Longitud", u"(m)", 600},
                     {u"Ancho de Corona", u"(m)", 700},
                     {u"Ejes Equivalentes", u"80 KN", 900},
                     {u"CBR", u"(%)", 500},
                     {u"Número Estructural", u"Requerido", 800}};
    for (int c = 0; c < 9; ++c) {
        grdUH_->PonerTexto(0, c, QString::fromUtf16(columnas[c].Titulo0));
        grdUH_->PonerTexto(1, c, QString::fromUtf16(columnas[c].Titulo1));
        anchosDiseno_[c] = px(columnas[c].Ancho);
    }
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        grdUH_->PonerTexto(0, 8 + n, QStringLiteral("Costos por Alternativa (miles de pesos)"));
        grdUH_->PonerTexto(1, 8 + n, QString::number(n));
        anchosDiseno_[8 + n] = px(750);
    }
    for (int c = 0; c < ColumnasGrilla; ++c)
        grdUH_->PonerAnchoColumna(c, anchosDiseno_[c]);
    for (int c = 0; c < ColumnasGrilla; ++c)
        grdUH_->PonerAlineacionColumna(c, c <= 1 ? Qt::AlignCenter
                                                 : Qt::AlignRight | Qt::AlignVCenter);
    grdUH_->PonerCombinarFila(0, true);
    grdUH_->PonerCombinarColumna(0, true);
    grdUH_->PonerCombinarColumna(1, true);
    grdUH_->PonerAltoFilaFija(0, grdUH_->AltoNormal() * 2);
    grdUH_->setGeometry(px(120), px(120), px(14060), px(3250));
    connect(grdUH_, &Grilla::CeldaCambiada, this, &frmAlternativas::CambioFila);
    // Sin ratón: 1 a 6 eligen la alternativa de la unidad actual y Enter pasa a la siguiente.
    connect(grdUH_, &Grilla::TeclaPulsada, this, [this](const QString& texto) {
        if (texto.size() == 1 && texto.front() >= u'1' && texto.front() <= u'6')
            ElegirPorTecla(texto.front().unicode() - u'0');
    });
    connect(grdUH_, &Grilla::TeclaAbajo, this, [this](QKeyEvent* evento) {
        const int tecla = evento->key();
        if ((tecla != Qt::Key_Return && tecla != Qt::Key_Enter) ||
            (evento->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return;
        evento->accept();
        if (grdUH_->Fila() - 1 < modulo_.Proyecto.NumeroUH) {
            grdUH_->PonerCelda(grdUH_->Fila() + 1, grdUH_->Columna());
            grdUH_->scrollTo(grdUH_->currentIndex());
        }
    });

    // Las seis estructuras con sus botones de opción.
    auto* grupo = new QButtonGroup(this);
    grupo->setExclusive(false);
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        auto* opcion = new QRadioButton(QStringLiteral("Alternativa #%1").arg(n), area);
        opcion->setObjectName(QStringLiteral("opcAlternativa%1").arg(n));
        opcion->setAutoExclusive(false);
        opcion->setGeometry(px(IzquierdaDe(n)), px(ArribaDe(n) - 300), px(AnchoEstructura),
                            px(270));
        connect(opcion, &QRadioButton::clicked, this, [this, n] { ElegirAlternativa(n); });
        grupo->addButton(opcion, n);
        opcAlternativa_[n] = opcion;
        for (int k = 0; k < CajasEstructura; ++k) {
            const auto [fondo, texto] = ColoresCaja(n, k);
            auto* caja = new CajaCapa(fondo, texto, area);
            caja->setObjectName(QStringLiteral("pAlt%1_%2").arg(n).arg(k));
            caja->hide();
            pAlt_[n][k] = caja;
        }
        auto* imagen = new ImagenNoAplica(area);
        imagen->setObjectName(QStringLiteral("imgNoAplica%1").arg(n));
        imagen->setGeometry(px(IzquierdaDe(n)), px(ArribaDe(n)), px(AnchoEstructura), px(510));
        imagen->hide();
        imgNoAplica_[n] = imagen;
    }
    // Por qué la unidad actual no tiene estructuras: sobre el lugar del dibujo.
    lbSinDiseno_ = new QLabel(area);
    lbSinDiseno_->setObjectName(QStringLiteral("lbSinDiseno"));
    lbSinDiseno_->setAlignment(Qt::AlignCenter);
    lbSinDiseno_->setWordWrap(true);
    {
        QFont letra = lbSinDiseno_->font();
        letra.setPointSize(letra.pointSize() + 4);
        letra.setBold(true);
        lbSinDiseno_->setFont(letra);
    }
    lbSinDiseno_->setStyleSheet(QStringLiteral("color: rgb(160, 0, 0);"));
    lbSinDiseno_->setGeometry(px(IzquierdaDe(1)), px(ArribaFila1),
                              px(IzquierdaDe(3) + AnchoEstructura - IzquierdaDe(1)),
                              px(ArribaFila2 + 510 - ArribaFila1));
    lbSinDiseno_->hide();
    auto* lbCm = new QLabel(QStringLiteral("Espesores en cm"), area);
    lbCm->setObjectName(QStringLiteral("lbCm"));
    lbCm->setGeometry(px(10950), px(ArribaFila1 - 300), px(3330), px(270));

    auto* cuadro = new QGroupBox(QStringLiteral("Imprimir"), area);

    cuadro->setObjectName(QStringLiteral("Cuadro"));
    cuadro->setGeometry(px(10850), px(ArribaFila1 + 200), px(3330), px(2900));
    auto* botones = new QVBoxLayout(cuadro);
    const char16_t* const textos[5] = {u"Unidades Homogéneas de Diseño", u"Alternativas de Diseño",
                                       u"Costos Alternativas", u"Alternativas Seleccionadas",
                                       u"Verificación Estructural"};
    for (int b = 0; b < 5; ++b) {
        auto* boton = new QPushButton(QString::fromUtf16(textos[b]), cuadro);
        boton->setObjectName(QStringLiteral("btnImprime%1").arg(b));
        boton->setAutoDefault(false);
        botones->addWidget(boton);
        connect(boton, &QPushButton::clicked, this, [this, b] { Imprimir(b + 1); });
        btnImprime_[b] = boton;
    }
    auto* memoria = new QPushButton(QStringLiteral("&Memoria de Diseño..."), cuadro);
    memoria->setObjectName(QStringLiteral("btnMemoria"));
    memoria->setAutoDefault(false);
    botones->addWidget(memoria);
    connect(memoria, &QPushButton::clicked, this, [this] { EscribirMemoriaDiseno(); });
    botones->addStretch();

    // Las comprobaciones de la unidad actual, una columna por alternativa.
    grdVerificacion_ = new QTableWidget(4, NumeroAlternativas, area);
    grdVerificacion_->setObjectName(QStringLiteral("grdVerificacion"));
    grdVerificacion_->setFocusPolicy(Qt::NoFocus);
    grdVerificacion_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdVerificacion_->setSelectionMode(QAbstractItemView::NoSelection);
    grdVerificacion_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdVerificacion_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdVerificacion_->setWordWrap(false);
    grdVerificacion_->setTextElideMode(Qt::ElideNone);
    for (int f = 0; f < 4; ++f)
        grdVerificacion_->setVerticalHeaderItem(
            f, new QTableWidgetItem(QString::fromUtf16(FilasVerificacion[f])));
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        grdVerificacion_->setHorizontalHeaderItem(
            n - 1, new QTableWidgetItem(QStringLiteral("Alternativa #%1").arg(n)));
        for (int f = 0; f < 4; ++f) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            grdVerificacion_->setItem(f, n - 1, item);
        }
    }
    grdVerificacion_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    {
        const int linea = QFontMetrics(font()).lineSpacing();
        grdVerificacion_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grdVerificacion_->setRowHeight(0, linea + 6);
        for (int f = 1; f < 4; ++f)
            grdVerificacion_->setRowHeight(f, 2 * linea + 6);
        const int alto = grdVerificacion_->horizontalHeader()->sizeHint().height() + 7 * linea +
                         24 + 2 * grdVerificacion_->frameWidth();
        grdVerificacion_->setGeometry(px(120), px(ArribaVerificacion), px(14060),
                                      std::min(alto, px(AltoArea - ArribaVerificacion - 60)));
    }

    adjustSize();
    CentrarFormulario(*this);
}

void frmAlternativas::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (yaActivado_) return;
    yaActivado_ = true;
    CargarUH();
    // La grilla pudo ensancharse con sus textos: se centra otra vez.
    adjustSize();
    CentrarFormulario(*this);
    filaActual_ = 0;
    cambioFilaActivo_ = true;
    CambioFila();
    grdUH_->setFocus();
    // Con todos los costos en 0 cada alternativa costaría 0: se dice una vez.
    const auto& costos = modulo_.Proyecto.CostosUnitarios;
    if (std::all_of(costos.begin() + 1, costos.end(), [](double c) { return c == 0; }))
        plataforma_.Aviso(this, QStringLiteral("ALTERNATIVAS DE DISEÑO"),
                          QStringLiteral("Los costos unitarios son cero: defínalos en Opciones → "
                                         "Definición de Costos Unitarios"),
                          IconoMensaje::Informacion);
}

void frmAlternativas::CargarUH() {
    const int n = modulo_.Proyecto.NumeroUH;
    const int filas = n + 4;
    QList<QString> textos(qsizetype(filas) * ColumnasGrilla);
    const auto celda = [&textos](int f, int c) -> QString& {
        return textos[qsizetype(f) * ColumnasGrilla + c];
    };
    for (int f = 0; f < 2; ++f)
        for (int c = 0; c < ColumnasGrilla; ++c)
            celda(f, c) = grdUH_->Texto(f, c);

    const bool activo = cambioFilaActivo_;
    cambioFilaActivo_ = false;
    seleccionAplica_.fill(false, n + 1);
    QList<quint8> fallan(n + 1, 0);
    DisenarProyecto(modulo_, estado_, [&](int i) {
        const VerificacionUnidad v = VerificarUnidad(modulo_, i);
        for (int a = 1; a <= NumeroAlternativas; ++a)
            if (v.Alternativas[a].Aplicable && !v.Alternativas[a].Cumple())
                fallan[i] = quint8(fallan[i] | (1u << a));
        const UnidadHomogenea& u = modulo_.Proyecto.UH[i];
        const int elegida = u.AlternativaSeleccionada;
        seleccionAplica_[i] = elegida >= 1 && elegida <= NumeroAlternativas &&
                              modulo_.AlternativaUH[elegida].Aplicable;
        const int f = i + 1;
        celda(f, 0) = QString::number(i);
        celda(f, 1) = u.CodigoTramo;
        celda(f, 2) = Formato(u.AbscisaInicial, u"#,##0.00");
        celda(f, 3) = Formato(u.AbscisaFinal, u"#,##0.00");
        celda(f, 4) = Formato(u.AbscisaFinal - u.AbscisaInicial, u"0.00");
        celda(f, 5) = Formato(u.AnchoCorona, u"0.00");
        celda(f, 6) = Formato(u.EjesEquivalentes, u"0.00E+#00");
        celda(f, 7) = Formato(u.CBR, u"0.00");
        celda(f, 8) = Formato(u.SNRequerido, u"0.00");
        for (int a = 1; a <= NumeroAlternativas; ++a)
            celda(f, 8 + a) = Formato(estado_.CostoAlternativa[a] / 1000, u"#,##0");
    });
    const int totales = n + 3;
    for (int c = 0; c <= 8; ++c)
        celda(totales, c) = QStringLiteral("Costo Total :");
    for (int a = 1; a <= NumeroAlternativas; ++a)
        celda(totales, 8 + a) = Formato(estado_.CostoTotal[a] / 1000, u"#,##0");
    if (modulo_.Separador != SeparadorDecimal::Punto)
        for (int f = 2; f <= totales; ++f)
            for (int c = 2; c < ColumnasGrilla; ++c)
                celda(f, c) = TextoVentana(celda(f, c), modulo_.Separador);
    grdUH_->PonerTextos(filas, ColumnasGrilla, std::move(textos));
    // Una marca en el costo de cada alternativa que no cumple alguna comprobación.
    const QString aviso = QStringLiteral("Esta alternativa no cumple alguna comprobación "
                                         "estructural: vea el panel bajo el dibujo.");
    for (int i = 1; i <= n; ++i)
        for (int a = 1; a <= NumeroAlternativas; ++a)
            grdUH_->PonerAviso(i + 1, 8 + a, (fallan[i] >> a) & 1u ? aviso : QString());

    // "Costo Total :" ocupa las nueve primeras columnas, a la derecha.
    grdUH_->clearSpans();
    grdUH_->setSpan(totales - 2, 0, 1, 9);
    grdUH_->PonerAlineacion(totales, 0, Qt::AlignRight | Qt::AlignVCenter);
    // La fila de separación, un décimo de la altura de una fila.
    grdUH_->setRowHeight(
        n, std::max(1, static_cast<int>(std::lround(grdUH_->AltoFila(n + 1) / 10.0))));
    AjustarColumnas();
    grdUH_->PonerCelda(2, 0);
    cambioFilaActivo_ = activo;
    if (cambioFilaActivo_) CambioFila();
    SeleccionCambiada();
}

void frmAlternativas::CambioSeparador() {
    // Los números de la grilla (desde la abscisa inicial) cambian el punto por la
    // coma y al revés; el código del tramo y "Costo Total :" no llevan números.
    QList<QString> textos = grdUH_->Textos();
    for (int f = 2; f < grdUH_->Filas(); ++f)
        for (int c = 2; c < ColumnasGrilla; ++c) {
            QString& texto = textos[qsizetype(f) * ColumnasGrilla + c];
            texto = TextoVentana(texto, SeparadorDecimal::Coma);
        }
    grdUH_->PonerTextos(grdUH_->Filas(), ColumnasGrilla, std::move(textos));
    MostrarTextosDibujo();
    if (const int i = filaActual_ - 1; i >= 1 && i <= modulo_.Proyecto.NumeroUH) {
        CalcularAlternativas(modulo_, estado_, i);
        MostrarVerificacion(VerificarUnidad(modulo_, i));
    }
    if (diagrama_) diagrama_->Actualizar();
}

void frmAlternativas::MostrarTextosDibujo() {
    // Los códigos del catálogo no llevan punto ni coma: solo cambia el espesor.
    for (int n = 1; n <= NumeroAlternativas; ++n)
        for (int k = 0; k < CajasEstructura; ++k)
            pAlt_[n][k]->PonerEtiqueta(
                TextoVentana(dibujo_.Estructuras[n].Cajas[k].Etiqueta, modulo_.Separador));
    // Los motivos solo llevan separadores en sus números.
    if (const int i = filaActual_ - 1; i >= 1 && i <= modulo_.Proyecto.NumeroUH)
        lbSinDiseno_->setText(
            TextoVentana(TextoSinDiseno(SinDiseno(modulo_.Proyecto, modulo_.Proyecto.UH[i])),
                         modulo_.Separador));
}

void frmAlternativas::SeleccionCambiada() {
    // La selección de cada unidad se ve en la grilla: su costo en negrita, con marco.
    for (int i = 1; i <= modulo_.Proyecto.NumeroUH && i < seleccionAplica_.size(); ++i)
        for (int n = 1; n <= NumeroAlternativas; ++n)
            grdUH_->PonerMarcada(i + 1, 8 + n,
                                 seleccionAplica_[i] &&
                                     modulo_.Proyecto.UH[i].AlternativaSeleccionada == n);
    if (diagrama_) diagrama_->Actualizar();
}

void frmAlternativas::AbrirDiagrama() {
    if (!diagrama_) {
        // Sin modal: la grilla sigue en uso y el diagrama la acompaña.
        diagrama_ = new frmDiagrama(modulo_, plataforma_, this);
        diagrama_->setAttribute(Qt::WA_DeleteOnClose);
        connect(diagrama_, &frmDiagrama::UnidadElegida, this, [this](int i) {
            grdUH_->PonerCelda(i + 1, grdUH_->Columna());
            grdUH_->scrollTo(grdUH_->currentIndex());
        });
    }
    diagrama_->show();
    diagrama_->raise();
    diagrama_->activateWindow();
}

void frmAlternativas::AbrirSensibilidad() {
    const int i = grdUH_->Fila() - 1;
    const QString titulo = QStringLiteral("SENSIBILIDAD");
    if (i < 1 || i > modulo_.Proyecto.NumeroUH) {
        plataforma_.Aviso(this, titulo, QStringLiteral("Elija una unidad en la grilla."));
        return;
    }
    const CausaSinDiseno causa = SinDiseno(modulo_.Proyecto, modulo_.Proyecto.UH[i]);
    if (causa != CausaSinDiseno::Ninguna) {
        plataforma_.Aviso(this, titulo,
                          QStringLiteral("La unidad [%1] no tiene diseño: %2.")
                              .arg(modulo_.Proyecto.UH[i].CodigoTramo.trimmed(),
                                   TextoVentana(TextoSinDiseno(causa), modulo_.Separador)));
        return;
    }
    frmSensibilidad ventana(modulo_, i, plataforma_, this);
    plataforma_.MostrarModal(ventana);
    grdUH_->setFocus();
}

void frmAlternativas::SeleccionarMenorCosto() {
    // Antes de cambiar elecciones hechas a mano, se pregunta cuáles.
    bool soloPorDefecto = false;
    const CuentaMenorCosto cuenta = ContarMenorCosto(modulo_);
    if (cuenta.Todas > 0) {
        const RespuestaMensaje respuesta = plataforma_.Mensaje(
            this, QStringLiteral("ALTERNATIVAS DE DISEÑO"), TextoPreguntaMenorCosto(cuenta),
            IconoMensaje::Pregunta, BotonesMensaje::TodasPorDefectoCancelar, RespuestaMensaje::No);
        if (respuesta == RespuestaMensaje::Cancelar) return;
        soloPorDefecto = respuesta == RespuestaMensaje::No;
    }
    const ResultadoMenorCosto r = ::SeleccionarMenorCosto(modulo_, soloPorDefecto);
    RegistrarPaso(modulo_, QStringLiteral("Seleccionar la Alternativa de Menor Costo"));
    // Los botones de opción y el dibujo de la fila actual, otra vez.
    filaActual_ = 0;
    CambioFila();
    SeleccionCambiada();
    plataforma_.Aviso(
        this, QStringLiteral("ALTERNATIVAS DE DISEÑO"),
        QStringLiteral("Costo total de las alternativas seleccionadas: antes %1, "
                       "ahora %2 (miles de pesos)")
            .arg(TextoVentana(Formato(r.CostoAntes / 1000, u"#,##0"), modulo_.Separador),
                 TextoVentana(Formato(r.CostoDespues / 1000, u"#,##0"), modulo_.Separador)),
        IconoMensaje::Informacion);
}

void frmAlternativas::AjustarColumnas() {
    // Ningún número queda cortado: la columna crece hasta su texto más ancho (y
    // hasta la palabra más larga de su título).
    const QFontMetrics medidas(grdUH_->font());
    const int margen = medidas.horizontalAdvance(u'0');
    // Los costos se miden en negrita: el seleccionado se muestra así.
    QFont negrita = grdUH_->font();
    negrita.setBold(true);
    const QFontMetrics medidasNegrita(negrita);
    for (int c = 0; c < ColumnasGrilla; ++c) {
        int ancho = anchosDiseno_[c];
        for (int f = 0; f < grdUH_->Filas(); ++f) {
            if (f == grdUH_->Filas() - 1 && c <= 8) continue; // "Costo Total :" ocupa nueve
            const QString texto = grdUH_->Texto(f, c);
            if (f < 2 && c >= 9 && f == 0) continue; // el título común de los costos
            const QStringList palabras =
                f < 2 ? texto.split(u' ', Qt::SkipEmptyParts) : QStringList{texto};
            for (const QString& p : palabras)
                ancho = std::max(
                    ancho,
                    (f >= 2 && c >= 9 ? medidasNegrita : medidas).horizontalAdvance(p) + margen);
        }
        grdUH_->PonerAnchoColumna(c, ancho);
    }
    Distribuir();
}

void frmAlternativas::Distribuir() {
    // La grilla se ensancha hasta mostrar todas sus columnas, sin pasar del ancho de
    // la pantalla; debajo quedan el dibujo y el cuadro de impresión.
    const auto px = [this](double twips) { return PixelesDeTwips(twips, this); };
    int ancho = 2 * grdUH_->frameWidth() + grdUH_->verticalScrollBar()->sizeHint().width() + 2;
    for (int c = 0; c < ColumnasGrilla; ++c)
        ancho += grdUH_->AnchoColumna(c);
    int maximo = px(14060);
    if (const QScreen* pantalla = screen())
        maximo = std::max(maximo, pantalla->availableGeometry().width() - px(600));
    ancho = std::clamp(ancho, px(14060), maximo);
    grdUH_->resize(ancho, grdUH_->height());
    grdVerificacion_->resize(ancho, grdVerificacion_->height());
    area_->setFixedSize(grdUH_->x() + ancho + px(120), px(AltoArea));
}

void frmAlternativas::CambioFila() {
    if (!cambioFilaActivo_) return;
    const int fila = grdUH_->Fila();
    if (fila != filaActual_) {
        cambioFilaActivo_ = false;
        if (filaActual_ >= 1 && filaActual_ < grdUH_->Filas())
            for (int c = 0; c < ColumnasGrilla; ++c)
                grdUH_->PonerColorFondo(filaActual_, c, QColor());
        for (int c = 0; c < ColumnasGrilla; ++c)
            grdUH_->PonerColorFondo(fila, c, AmarilloClaro);
        cambioFilaActivo_ = true;

        const int i = fila - 1;
        if (i > modulo_.Proyecto.NumeroUH) {
            HabilitarDibujo(false);
            lbSinDiseno_->hide();
            MostrarVerificacion(VerificacionUnidad{});
        } else if (i >= 1) {
            HabilitarDibujo(true);
            CalcularAlternativas(modulo_, estado_, i);
            MostrarVerificacion(VerificarUnidad(modulo_, i));
            const UnidadHomogenea& u = modulo_.Proyecto.UH[i];
            MostrarEspesores(u.EspesorAfirmado * 10, u.EspesorSubrasante * 10);
            // Una unidad sin diseño dice por qué, en vez de seis "No aplica" mudos.
            const QString motivo =
                TextoVentana(TextoSinDiseno(SinDiseno(modulo_.Proyecto, u)), modulo_.Separador);
            lbSinDiseno_->setText(motivo);
            lbSinDiseno_->setVisible(!motivo.isEmpty());
            for (int n = 1; n <= NumeroAlternativas; ++n)
                if (!motivo.isEmpty()) imgNoAplica_[n]->hide();
            lbSinDiseno_->raise();
            SeleccionarAlternativa(modulo_, i);
            const int elegida = modulo_.Proyecto.UH[i].AlternativaSeleccionada;
            if (elegida >= 1 && elegida <= NumeroAlternativas)
                for (int n = 1; n <= NumeroAlternativas; ++n)
                    opcAlternativa_[n]->setChecked(n == elegida);
        }
    }
    filaActual_ = fila;
}

void frmAlternativas::MostrarVerificacion(const VerificacionUnidad& v) {
    const auto numero = [this](double sn) {
        return sn < 0 ? QStringLiteral("sin raíz")
                      : TextoVentana(Formato(sn, u"0.0000"), modulo_.Separador);
    };
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        const VerificacionAlternativa& a = v.Alternativas[n];
        const bool muestra = v.Unidad >= 1 && v.Causa == CausaSinDiseno::Ninguna;
        const Comprobacion* comprobaciones[4] = {nullptr, &a.Total, &a.Base, &a.Subbase};
        for (int f = 0; f < 4; ++f) {
            QTableWidgetItem* item = grdVerificacion_->item(f, n - 1);
            QString texto;
            QString ayuda;
            bool falla = false;
            if (muestra && !a.Aplicable) {
                if (f == 0) texto = QStringLiteral("No aplica");
            } else if (muestra && f == 0) {
                texto = numero(a.Total.Requerido);
            } else if (muestra && comprobaciones[f]->Existe) {
                const Comprobacion& c = *comprobaciones[f];
                // La capa va con el resultado: los números caben así en la columna.
                texto = f == 1 ? numero(c.Aportado) + u'\n' + TextoCumple(c.Cumple)
                               : numero(c.Requerido) + QStringLiteral(" / ") + numero(c.Aportado) +
                                     u'\n' + modulo_.TipoCapa[c.Tipo].Codigo +
                                     QStringLiteral(": ") + TextoCumple(c.Cumple);
                falla = !c.Cumple;
                if (falla) ayuda = AyudaNoCumple(a, f);
            }
            item->setText(texto);
            item->setToolTip(ayuda);
            item->setForeground(falla ? QBrush(RojoNoCumple) : QBrush());
        }
    }
}

void frmAlternativas::HabilitarDibujo(bool habilitado) {
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        opcAlternativa_[n]->setEnabled(habilitado && dibujo_.Estructuras[n].Aplica);
        for (CajaCapa* caja : pAlt_[n])
            caja->setEnabled(habilitado);
        imgNoAplica_[n]->setEnabled(habilitado);
    }
}

void frmAlternativas::MostrarEspesores(double afirmado, double subrasante) {
    dibujo_ = ::MostrarEspesores(modulo_, afirmado, subrasante);
    const auto px = [this](double twips) { return PixelesDeTwips(twips, this); };
    for (int n = 1; n <= NumeroAlternativas; ++n) {
        const EstructuraDibujada& e = dibujo_.Estructuras[n];
        imgNoAplica_[n]->setVisible(!e.Aplica);
        opcAlternativa_[n]->setEnabled(e.Aplica);
        if (!e.Aplica) opcAlternativa_[n]->setChecked(false);
        for (int k = 0; k < CajasEstructura; ++k) {
            CajaCapa* caja = pAlt_[n][k];
            const CajaEstructura& c = e.Cajas[k];
            if (!e.Aplica || !c.Visible) {
                caja->hide();
                continue;
            }
            // Arriba y abajo en píxeles por separado: las cajas vecinas siguen montadas.
            const int arriba = px(ArribaDe(n) + c.Arriba);
            const int abajo = px(ArribaDe(n) + c.Arriba + c.Alto);
            caja->setGeometry(px(IzquierdaDe(n)), arriba, px(AnchoEstructura),
                              std::max(1, abajo - arriba));
            caja->PonerEtiqueta(TextoVentana(c.Etiqueta, modulo_.Separador));
            caja->setToolTip(c.Ayuda);
            caja->show();
        }
    }
}

void frmAlternativas::ElegirAlternativa(int n) {
    const int i = grdUH_->Fila() - 1;
    if (i >= 1 && i <= modulo_.Proyecto.NumeroUH) {
        qint16& elegida = modulo_.Proyecto.UH[i].AlternativaSeleccionada;
        // La elección se guarda en el proyecto: cambiarla es un cambio que guardar.
        if (elegida != n) modulo_.ProyectoModificado = true;
        elegida = static_cast<qint16>(n);
        for (int m = 1; m <= NumeroAlternativas; ++m)
            opcAlternativa_[m]->setChecked(m == n);
        if (i < seleccionAplica_.size()) seleccionAplica_[i] = true;
        SeleccionCambiada();
        RegistrarPaso(modulo_, QStringLiteral("Elegir la alternativa %1 de la unidad %2")
                                   .arg(n)
                                   .arg(modulo_.Proyecto.UH[i].CodigoTramo));
    }
    grdUH_->setFocus();
}

bool frmAlternativas::ElegirPorTecla(int n) {
    // El botón de la alternativa está habilitado solo si es una unidad y aplica.
    if (!opcAlternativa_[n]->isEnabled()) {
        QApplication::beep();
        return false;
    }
    ElegirAlternativa(n);
    return true;
}

void frmAlternativas::MostrarPasoAplicado(const QVector<qint32>& unidades) {
    const int fila = grdUH_->Fila();
    CargarUH();
    // El cursor a la primera unidad que cambió; si no, donde estaba.
    const int destino = unidades.isEmpty() ? fila : int(unidades.front()) + 1;
    grdUH_->PonerCelda(std::clamp(destino, 2, std::max(2, modulo_.Proyecto.NumeroUH + 1)),
                       grdUH_->Columna());
    grdUH_->scrollTo(grdUH_->currentIndex());
    filaActual_ = 0;
    CambioFila();
    SeleccionCambiada();
}

void frmAlternativas::Imprimir(int numero) {
    const QString archivo = NombreArchivoReporte();
    ErrorEscritura error;
    {
        const CursorEspera espera;
        error = EscribirReporte(numero, modulo_, estado_, archivo);
    }
    if (!error.Ok) {
        // Un error sin número no tiene descripción que mostrar; igual no se imprime.
        if (error.Numero > 0) plataforma_.Aviso(this, ErrorEscritura::Titulo(), error.Texto());
        return;
    }
    // El PDF se propone junto al proyecto, con el nombre del proyecto y del reporte.
    const QFileInfo proyecto(RutaArchivoProyecto(modulo_.ArchivoProyecto));
    const QString pdf = proyecto.absoluteDir().absoluteFilePath(
        QStringLiteral("%1 - %2.pdf")
            .arg(QFileInfo(modulo_.ArchivoProyecto).fileName(), TituloReporte(numero)));
    ImprimirArchivo(plataforma_, this, archivo, QString(), pdf, proyecto.absoluteFilePath());
}

void frmAlternativas::ExportarHoja() {
    const QString titulo = QStringLiteral("EXPORTAR A HOJA DE CÁLCULO");
    const QString rutaProyecto = RutaArchivoProyecto(modulo_.ArchivoProyecto);
    const QString extension = HayEscrituraXlsx() ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    const QString propuesto = QFileInfo(rutaProyecto)
                                  .absoluteDir()
                                  .absoluteFilePath(QFileInfo(modulo_.ArchivoProyecto).fileName() +
                                                    QStringLiteral(" - Resultados") + extension);
    const QString csv = QStringLiteral("Texto CSV (*.csv)");
    QString elegido = plataforma_.GuardarArchivo(
        this, titulo, HayEscrituraXlsx() ? QStringLiteral("Libro XLSX (*.xlsx);;") + csv : csv,
        propuesto, false);
    if (elegido.isEmpty()) return;
    const QString sufijo = QFileInfo(elegido).suffix().toLower();
    if (sufijo == u"xlsx" && !HayEscrituraXlsx()) {
        plataforma_.Aviso(this, titulo, TextoSinXlsx());
        return;
    }
    if (sufijo.isEmpty()) elegido += extension;
    const DecisionSalida salida = DecidirSalida(elegido, ClaseSalida::Archivo, rutaProyecto);
    if (!ConfirmarSalida(plataforma_, this, titulo, salida)) return;
    QString error;
    {
        const CursorEspera espera;
        error = EscribirLibroResultados(modulo_, salida.Archivo, modulo_.Separador);
    }
    if (!error.isEmpty()) plataforma_.Aviso(this, ErrorEscritura::Titulo(), error);
}

void frmAlternativas::EscribirMemoriaDiseno() {
    const QString rutaProyecto = RutaArchivoProyecto(modulo_.ArchivoProyecto);
    const QString propuesto = QFileInfo(rutaProyecto)
                                  .absoluteDir()
                                  .absoluteFilePath(QFileInfo(modulo_.ArchivoProyecto).fileName() +
                                                    QStringLiteral(" - Memoria de Diseño.pdf"));
    const QString elegido =
        plataforma_.GuardarArchivo(this, QStringLiteral("MEMORIA DE DISEÑO"),
                                   QStringLiteral("Documento PDF (*.pdf)"), propuesto, false);
    if (elegido.isEmpty()) return;
    const DecisionSalida salida = DecidirSalida(elegido, ClaseSalida::Pdf, rutaProyecto);
    if (!ConfirmarSalida(plataforma_, this, QStringLiteral("MEMORIA DE DISEÑO"), salida)) return;
    OpcionesMemoria opciones;
    opciones.Papel = plataforma_.Impresora().pageLayout().pageSize();
    opciones.Separador = modulo_.Separador;
    ResultadoMemoria r;
    {
        const CursorEspera espera;
        r = EscribirMemoria(salida.Archivo, modulo_, opciones);
    }
    // La memoria diseña de nuevo: la grilla muestra lo mismo que el documento.
    CargarUH();
    if (!r.Error.isEmpty()) plataforma_.Aviso(this, QStringLiteral("ERROR"), r.Error);
}

void frmAlternativas::DefinirCostosUnitarios() {
    frmCostosUnitarios costos(modulo_, plataforma_, this);
    plataforma_.MostrarModal(costos);
    CargarUH();
    // El separador pudo cambiar en el diálogo.
    MostrarTextosDibujo();
}
