#include "alternatives/frmDiagrama.h"

#include "alternatives/PintarDiagrama.h"
#include "app/Historial.h"
#include "common/ModuloLibzrl.h"
#include "common/Plataforma.h"
#include "common/VentanasLibzrl.h"
#include "printing/Imprime.h"
#include "project/ArchivoProyecto.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace {
constexpr double TramoMinimo = 10; // m: más cerca ya no se distingue nada
constexpr double ZoomPorPaso = 1.25;
} // namespace

// La superficie del dibujo: pinta la disposición del tramo a la vista y atiende
// la rueda, el arrastre, el clic y la ayuda.
class LienzoDiagrama : public QWidget {
public:
    explicit LienzoDiagrama(frmDiagrama& ventana) : QWidget(&ventana), v_(ventana) {
        setObjectName(QStringLiteral("pDiagrama"));
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(640, 400);
        setAutoFillBackground(false);
    }
    const DisposicionDiagrama& Disposicion() {
        Disponer();
        return r_;
    }
    void Invalidar() {
        vigente_ = false;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        Disponer();
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setFont(font());
        PintarDiagrama(p, v_.diagrama_, r_,
                       TituloDiagrama(EncabezadoDe(v_.modulo_), v_.desde_, v_.hasta_, 0, 0));
    }
    void resizeEvent(QResizeEvent*) override { vigente_ = false; }
    void wheelEvent(QWheelEvent* e) override {
        Disponer();
        const double pasos = e->angleDelta().y() / 120.0;
        if (pasos == 0) return;
        const double factor = std::pow(ZoomPorPaso, pasos);
        // La abscisa bajo el puntero queda en su lugar.
        const double fija = r_.Abscisa(e->position().x());
        v_.PonerTramo(fija - (fija - v_.desde_) / factor, fija + (v_.hasta_ - fija) / factor);
        e->accept();
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        Disponer();
        inicio_ = e->position();
        tramoInicio_ = {v_.desde_, v_.hasta_};
        arrastrando_ = false;
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & Qt::LeftButton)) return;
        const double dx = e->position().x() - inicio_.x();
        if (!arrastrando_ && std::abs(dx) < 4) return;
        arrastrando_ = true;
        setCursor(Qt::ClosedHandCursor);
        const double metros =
            dx / r_.Estructuras.width() * (tramoInicio_.second - tramoInicio_.first);
        v_.PonerTramo(tramoInicio_.first - metros, tramoInicio_.second - metros);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        unsetCursor();
        if (arrastrando_) {
            arrastrando_ = false;
            return;
        }
        Disponer();
        const int j = r_.ColumnaEn(e->position());
        if (j >= 0) emit v_.UnidadElegida(v_.diagrama_.Columnas[j].Unidad);
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip) {
            auto* ayuda = static_cast<QHelpEvent*>(e);
            Disponer();
            const int j = r_.ColumnaEn(ayuda->pos());
            if (j >= 0)
                QToolTip::showText(ayuda->globalPos(), v_.diagrama_.Columnas[j].Ayuda(), this);
            else
                QToolTip::hideText();
            return true;
        }
        return QWidget::event(e);
    }

private:
    void Disponer() {
        if (vigente_) return;
        r_ = DisponerDiagrama(v_.diagrama_, QRectF(rect()).adjusted(6, 4, -6, -4), v_.desde_,
                              v_.hasta_, MedirLetra(font(), this));
        vigente_ = true;
    }

    frmDiagrama& v_;
    DisposicionDiagrama r_;
    bool vigente_ = false;
    QPointF inicio_;
    std::pair<double, double> tramoInicio_;
    bool arrastrando_ = false;
};

frmDiagrama::frmDiagrama(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* padre)
    : QDialog(padre), modulo_(modulo), plataforma_(plataforma) {
    setObjectName(QStringLiteral("frmDiagrama"));
    setWindowTitle(QStringLiteral("DIAGRAMA LINEAL DE ESTRUCTURAS [") + modulo_.ArchivoProyecto +
                   u']');
    // Se puede agrandar: el camino se lee mejor a lo ancho.
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    QFont letra = font();
    letra.setPointSizeF(8);
    setFont(letra);
    // Ctrl+Z también aquí: la elección deshecha se ve en el diagrama.
    AgregarTeclasEdicion(*this, modulo_);

    lienzo_ = new LienzoDiagrama(*this);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    const auto boton = [&](const QString& nombre, const QString& texto, auto accion) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(nombre);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, accion);
        botones->addWidget(b);
        return b;
    };
    boton(QStringLiteral("btnImprimir"), QStringLiteral("&Imprimir..."), &frmDiagrama::Imprimir);
    boton(QStringLiteral("btnExportar"), QStringLiteral("&Exportar..."), &frmDiagrama::Exportar);
    boton(QStringLiteral("btnCerrar"), QStringLiteral("&Cerrar"), &QDialog::reject);
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(lienzo_, 1);
    principal->addLayout(botones);

    // Casi todo el ancho de la pantalla: el camino se lee a lo largo.
    QSize tamano(1100, 650);
    if (const QScreen* pantalla = screen()) {
        const QSize libre = pantalla->availableGeometry().size();
        tamano = QSize(std::min(libre.width(), std::max(900, libre.width() * 9 / 10)),
                       std::min(libre.height(), std::max(600, libre.height() * 7 / 10)));
    }
    resize(tamano);
    Actualizar();
    MostrarTodo();
    CentrarFormulario(*this);
    lienzo_->setFocus();
}

const DisposicionDiagrama& frmDiagrama::Disposicion() const {
    return lienzo_->Disposicion();
}

void frmDiagrama::Actualizar() {
    diagrama_ = CalcularDiagrama(modulo_);
    PonerTramo(desde_, hasta_);
    lienzo_->Invalidar();
}

void frmDiagrama::MostrarTodo() {
    PonerTramo(diagrama_.AbscisaMinima, diagrama_.AbscisaMaxima);
}

void frmDiagrama::PonerTramo(double desde, double hasta) {
    const double minimo = diagrama_.AbscisaMinima;
    const double maximo = diagrama_.AbscisaMaxima;
    double largo =
        std::clamp(hasta - desde, std::min(TramoMinimo, maximo - minimo), maximo - minimo);
    desde = std::clamp(desde, minimo, maximo - largo);
    desde_ = desde;
    hasta_ = desde + largo;
    lienzo_->Invalidar();
}

void frmDiagrama::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Home) {
        MostrarTodo();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void frmDiagrama::Imprimir() {
    QPrinter& impresora = plataforma_.Impresora();
    impresora.setPageOrientation(QPageLayout::Landscape);
    if (!plataforma_.ConfigurarImpresora(this, impresora)) return;
    // Imprimir a un archivo: el diálogo de impresora ya preguntó si se reemplaza,
    // pero un proyecto no se reemplaza nunca.
    if (!impresora.outputFileName().isEmpty()) {
        const DecisionSalida pdf = DecidirSalida(impresora.outputFileName(), ClaseSalida::Pdf,
                                                 RutaArchivoProyecto(modulo_.ArchivoProyecto));
        if (!pdf.Rechazo.isEmpty()) {
            plataforma_.Aviso(this, QStringLiteral("IMPRESORA"), pdf.Rechazo);
            return;
        }
        impresora.setOutputFileName(pdf.Archivo);
    }
    int paginas = 0;
    {
        const CursorEspera espera;
        paginas = ImprimirDiagrama(impresora, diagrama_, EncabezadoDe(modulo_));
    }
    if (paginas == 0)
        plataforma_.Aviso(this, QStringLiteral("IMPRESORA"),
                          QStringLiteral("No se pudo imprimir el diagrama..."));
}

void frmDiagrama::Exportar() {
    const QString rutaProyecto = RutaArchivoProyecto(modulo_.ArchivoProyecto);
    const QDir carpeta = QFileInfo(rutaProyecto).absoluteDir();
    const QString propuesto =
        carpeta.absoluteFilePath(QFileInfo(modulo_.ArchivoProyecto).fileName() +
                                 QStringLiteral(" - Diagrama Lineal de Estructuras.pdf"));
    // La pregunta de reemplazar la hace ConfirmarSalida, con el nombre del archivo.
    const QString elegido = plataforma_.GuardarArchivo(
        this, QStringLiteral("EXPORTAR DIAGRAMA"),
        QStringLiteral("Documento PDF (*.pdf);;Dibujo SVG (*.svg);;Imagen PNG (*.png)"), propuesto,
        false);
    if (elegido.isEmpty()) return;
    const DecisionSalida salida = DecidirSalida(elegido, ClaseSalida::Diagrama, rutaProyecto);
    if (!ConfirmarSalida(plataforma_, this, QStringLiteral("EXPORTAR DIAGRAMA"), salida)) return;
    QString error;
    QStringList escritos;
    {
        const CursorEspera espera;
        error = ExportarDiagrama(salida.Archivo, diagrama_, EncabezadoDe(modulo_), &escritos);
    }
    if (!error.isEmpty()) {
        plataforma_.Aviso(this, QStringLiteral("ERROR"), error);
    } else if (escritos.size() > 1) {
        QStringList nombres;
        for (const QString& e : escritos)
            nombres << QFileInfo(e).fileName();
        const bool svg = salida.Archivo.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
        plataforma_.Aviso(this, QStringLiteral("EXPORTAR DIAGRAMA"),
                          (svg ? QStringLiteral("El diagrama ocupa %1 páginas: se escribió un SVG "
                                                "por página (%2).")
                               : QStringLiteral("El camino no cabe en una imagen legible: se cortó "
                                                "en %1 imágenes (%2)."))
                              .arg(escritos.size())
                              .arg(nombres.join(QStringLiteral(", "))),
                          IconoMensaje::Informacion);
    }
}
