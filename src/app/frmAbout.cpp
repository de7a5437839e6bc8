#include "app/frmAbout.h"

#include "common/VentanasLibzrl.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* Texto(const QString& texto, const QString& nombre, QWidget* padre, double escala = 1.0,
              bool negrita = false) {
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setObjectName(nombre);
    etiqueta->setAlignment(Qt::AlignCenter);
    etiqueta->setWordWrap(true);
    QFont letra = etiqueta->font();
    if (escala != 1.0) letra.setPointSizeF(letra.pointSizeF() * escala);
    letra.setBold(negrita);
    etiqueta->setFont(letra);
    return etiqueta;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(u"frmAbout"_s);
    setWindowTitle(u"Acerca de VAREK-9"_s);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(30, 20, 30, 20);
    principal->setSpacing(10);
    principal->addWidget(Texto(u"Software para Diseño de Pavimentos Asfálticos en Vías con Bajos "
                               u"Volúmenes de Tránsito"_s,
                               u"lbBanner"_s, this, 1.2, true));
    principal->addWidget(Texto(u"VAREK-9"_s, u"lbPrograma"_s, this, 3.0, true));
    // Se aparta a propósito: la versión es la de la construcción.
    principal->addWidget(
        Texto(u"Versión %1"_s.arg(QLatin1StringView(VAREK9_VERSION)), u"lbVersion"_s, this, 1.2));
    principal->addWidget(Texto(u"Diseño estructural de pavimentos asfálticos por el método "
                               u"AASHTO-93 para pavimentos flexibles: unidades de diseño, "
                               u"alternativas de estructura, costos y reportes."_s,
                               u"lbDescripcion"_s, this));
    principal->addWidget(Texto(u"Software libre bajo la Licencia Pública General de GNU, "
                               u"versión 3 o posterior; sin garantía alguna."_s,
                               u"lbLicencia"_s, this, 0.9));
    auto* aviso = Texto(u"Pulse Enter, Escape o haga clic para cerrar."_s, u"lbAviso"_s, this, 0.9);
    aviso->setEnabled(false); // en gris: es una indicación, no un dato
    principal->addWidget(aviso);

    setFixedWidth(520);
    setFixedHeight(heightForWidth(520) > 0 ? heightForWidth(520) : sizeHint().height());
    CentrarFormulario(*this);
}

void frmAbout::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(evento); // Escape cierra
}

void frmAbout::mousePressEvent(QMouseEvent* evento) {
    if (evento->button() == Qt::LeftButton) {
        accept();
        return;
    }
    QDialog::mousePressEvent(evento);
}
