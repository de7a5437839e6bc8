#include "alternatives/frmSensibilidad.h"

#include "common/Plataforma.h"
#include "common/VentanasLibzrl.h"
#include "printing/Imprime.h"
#include "printing/SalidaSegura.h"
#include "project/ArchivoProyecto.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

class LienzoSensibilidad : public QWidget {
public:
    LienzoSensibilidad(const DibujoSensibilidad& d, QWidget* padre) : QWidget(padre), d_(d) {
        setObjectName(QStringLiteral("pSensibilidad"));
        setMinimumSize(900, 330);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        PintarSensibilidad(p, QRectF(rect()), d_);
    }

private:
    const DibujoSensibilidad& d_;
};

} // namespace

QString TituloSensibilidad(const ModuloVarek9& modulo, int unidad) {
    return QStringLiteral("Sensibilidad de la unidad %1 [%2]")
        .arg(unidad)
        .arg(modulo.Proyecto.UH[unidad].CodigoTramo.trimmed());
}

frmSensibilidad::frmSensibilidad(const ModuloVarek9& modulo, int unidad, Plataforma& plataforma,
                                 QWidget* padre)
    : QDialog(padre), modulo_(modulo), plataforma_(plataforma), unidad_(unidad) {
    setObjectName(QStringLiteral("frmSensibilidad"));
    setWindowTitle(QStringLiteral("SENSIBILIDAD [") + modulo.ArchivoProyecto + u']');
    {
        const CursorEspera espera;
        curvas_ = CalcularSensibilidad(modulo, unidad);
        dibujo_ =
            DibujarSensibilidad(curvas_, TituloSensibilidad(modulo, unidad), modulo.Separador);
    }
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(new LienzoSensibilidad(dibujo_, this), 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    auto* exportar = new QPushButton(QStringLiteral("&Exportar..."), this);
    exportar->setObjectName(QStringLiteral("btnExportar"));
    auto* cerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    cerrar->setObjectName(QStringLiteral("btnCerrar"));
    cerrar->setDefault(true);
    botones->addWidget(exportar);
    botones->addWidget(cerrar);
    principal->addLayout(botones);
    connect(exportar, &QPushButton::clicked, this, &frmSensibilidad::Exportar);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::accept);
    resize(1200, 480);
}

void frmSensibilidad::Exportar() {
    const QString rutaProyecto = RutaArchivoProyecto(modulo_.ArchivoProyecto);
    const QString propuesto =
        QFileInfo(rutaProyecto)
            .absoluteDir()
            .absoluteFilePath(QStringLiteral("%1 - Sensibilidad unidad %2.svg")
                                  .arg(QFileInfo(modulo_.ArchivoProyecto).fileName())
                                  .arg(unidad_));
    const QString titulo = QStringLiteral("EXPORTAR SENSIBILIDAD");
    const QString elegido = plataforma_.GuardarArchivo(
        this, titulo,
        QStringLiteral("Dibujo SVG (*.svg);;Imagen PNG (*.png);;Documento PDF (*.pdf)"), propuesto,
        false);
    if (elegido.isEmpty()) return;
    const DecisionSalida salida = DecidirSalida(elegido, ClaseSalida::Diagrama, rutaProyecto);
    if (!ConfirmarSalida(plataforma_, this, titulo, salida)) return;
    QString error;
    {
        const CursorEspera espera;
        error = ExportarSensibilidad(salida.Archivo, dibujo_);
    }
    if (!error.isEmpty()) plataforma_.Aviso(this, QStringLiteral("ERROR"), error);
}
