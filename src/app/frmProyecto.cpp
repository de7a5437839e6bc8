#include "app/frmProyecto.h"

#include "common/Formato.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "common/VentanasLibzrl.h"
#include "project/Solucionador.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr QChar BarraPartida = u'\u00a6'; // "¦"

// La forma general de los archivos, sin los blancos de signo y final.
QString FormatoCorto(double valor) {
    return FormatoGeneral(valor).trimmed();
}

double LimitarConfiabilidad(double R) {
    if (R < 50) return 50;
    if (R >= 100) return 99;
    return R;
}

double LimitarServiciabilidad(double pt) {
    return pt < 1.0 || pt >= 4.2 ? 2.0 : pt;
}

QLabel* Etiqueta(const QString& texto, const QString& nombre, QWidget* padre) {
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setObjectName(nombre);
    return etiqueta;
}

// Zr y So: valores derivados, en un recuadro hundido como un campo de solo lectura.
QLabel* Resultado(const QString& nombre, QWidget* padre) {
    auto* etiqueta = Etiqueta(QString(), nombre, padre);
    etiqueta->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    etiqueta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    etiqueta->setMinimumWidth(70);
    return etiqueta;
}

QLineEdit* CampoNumero(const QString& nombre, QWidget* padre) {
    auto* campo = new QLineEdit(padre);
    campo->setObjectName(nombre);
    campo->setFixedWidth(70);
    return campo;
}

} // namespace

QString LimpiarEnter(const QString& s) {
    QString resultado;
    resultado.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') {
            resultado += BarraPartida;
            ++i;
        } else {
            resultado += s[i];
        }
    }
    return Trim13(resultado);
}

QString RecuperarEnter(const QString& s) {
    QString resultado;
    resultado.reserve(s.size());
    for (const QChar c : s) {
        if (c == BarraPartida)
            resultado += u"\r\n"_s;
        else
            resultado += c;
    }
    return resultado;
}

QString Trim13(const QString& s, bool siEspaciosO) {
    return QuitarControles(s, siEspaciosO);
}

frmProyecto::frmProyecto(ModuloVarek9& modulo, QWidget* parent)
    : QDialog(parent), modulo_(modulo), inicial_(modulo.Proyecto) {
    setObjectName(u"frmProyecto"_s);
    setWindowTitle(u"PROPIEDADES PROYECTO"_s);

    txt0 = new QLineEdit(this);
    txt0->setObjectName(u"txt0"_s);
    txt0->setMinimumWidth(320);
    txt1 = new QPlainTextEdit(this);
    txt1->setObjectName(u"txt1"_s);
    txt1->setTabChangesFocus(true);
    txt1->setFixedHeight(5 * txt1->fontMetrics().lineSpacing());
    txt2 = new QLineEdit(this);
    txt2->setObjectName(u"txt2"_s);

    Cuadro = new QGroupBox(u"Parámetros Método AASHTO"_s, this);
    Cuadro->setObjectName(u"Cuadro"_s);
    txt3 = CampoNumero(u"txt3"_s, Cuadro);
    lbZr = Resultado(u"lbZr"_s, Cuadro);
    lbServiciabilidad = Etiqueta(u"Serviciabilidad Final  :"_s, u"lbServiciabilidad"_s, Cuadro);
    txt5 = CampoNumero(u"txt5"_s, Cuadro);
    chkConfiabilidadTransito = new QCheckBox(u"Incluye Confiabilidad para Tránsito"_s, Cuadro);
    chkConfiabilidadTransito->setObjectName(u"chkConfiabilidadTransito"_s);
    lbEtiquetaSo = Etiqueta(u"So :"_s, u"lbEtiquetaSo"_s, Cuadro);
    lbSo = Resultado(u"lbSo"_s, Cuadro);

    auto* rejillaCuadro = new QGridLayout(Cuadro);
    rejillaCuadro->addWidget(Etiqueta(u"Confiabilidad (%) :"_s, u"lbConfiabilidad"_s, Cuadro), 0,
                             0);
    rejillaCuadro->addWidget(txt3, 0, 1);
    rejillaCuadro->addWidget(Etiqueta(u"Zr :"_s, u"lbEtiquetaZr"_s, Cuadro), 0, 3, Qt::AlignRight);
    rejillaCuadro->addWidget(lbZr, 0, 4);
    rejillaCuadro->addWidget(lbServiciabilidad, 1, 0);
    rejillaCuadro->addWidget(txt5, 1, 1);
    rejillaCuadro->addWidget(chkConfiabilidadTransito, 2, 0, 1, 3);
    rejillaCuadro->addWidget(lbEtiquetaSo, 2, 3, Qt::AlignRight);
    rejillaCuadro->addWidget(lbSo, 2, 4);
    rejillaCuadro->setColumnStretch(2, 1);

    btnAceptar = new QPushButton(u"&Aceptar"_s, this);
    btnAceptar->setObjectName(u"btnAceptar"_s);
    btnSalir = new QPushButton(u"&Salir"_s, this);
    btnSalir->setObjectName(u"btnSalir"_s);

    auto* rejilla = new QGridLayout;
    rejilla->addWidget(Etiqueta(u"Nombre Proyecto :"_s, u"lbNombre"_s, this), 0, 0);
    rejilla->addWidget(txt0, 0, 1);
    rejilla->addWidget(Etiqueta(u"Descripción :"_s, u"lbDescripcion"_s, this), 1, 0, Qt::AlignTop);
    rejilla->addWidget(txt1, 1, 1);
    rejilla->addWidget(Etiqueta(u"Ubicación :"_s, u"lbUbicacion"_s, this), 2, 0);
    rejilla->addWidget(txt2, 2, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(btnAceptar);
    botones->addWidget(btnSalir);
    auto* principal = new QVBoxLayout(this);
    principal->addLayout(rejilla);
    principal->addWidget(Cuadro);
    principal->addLayout(botones);

    setTabOrder(txt0, txt1);
    setTabOrder(txt1, txt2);
    setTabOrder(txt2, txt3);
    setTabOrder(txt3, txt5);
    setTabOrder(txt5, chkConfiabilidadTransito);
    setTabOrder(chkConfiabilidadTransito, btnAceptar);
    setTabOrder(btnAceptar, btnSalir);
    PrepararCampos({txt0, txt1, txt2, txt3, txt5, chkConfiabilidadTransito});

    connect(txt3, &QLineEdit::textChanged, this, &frmProyecto::CambioConfiabilidad);
    connect(txt5, &QLineEdit::textChanged, this, &frmProyecto::CambioServiciabilidad);
    connect(chkConfiabilidadTransito, &QCheckBox::toggled, this,
            &frmProyecto::ClicConfiabilidadTransito);
    connect(btnAceptar, &QPushButton::clicked, this, &frmProyecto::Aceptar);
    // Salir, Escape y cerrar la ventana: lo escrito en los números ya quedó.
    connect(btnSalir, &QPushButton::clicked, this, &QDialog::reject);
    txt3->installEventFilter(this);
    txt5->installEventFilter(this);
    Cuadro->installEventFilter(this);

    setFixedSize(sizeHint());
    CentrarFormulario(*this);

    const Proyecto& p = modulo_.Proyecto;
    txt0->setText(Recortar(p.Nombre));
    // El campo de varias líneas separa las líneas con LF, no con CR LF.
    txt1->setPlainText(RecuperarEnter(p.Descripcion).replace(u"\r\n"_s, u"\n"_s));
    txt2->setText(Recortar(p.Ubicacion));
    // Los campos empiezan vacíos: llenarlos ya aplica las reglas de cambio.
    txt3->setText(FormatoCorto(p.Confiabilidad));
    txt5->setText(FormatoCorto(p.ServiciabilidadFinal));
    chkConfiabilidadTransito->setChecked(p.ConfiabilidadTransito);
    ClicConfiabilidadTransito(); // también si la casilla no cambió

    // La serviciabilidad final y el tránsito solo se cambian tras un doble clic
    // en el cuadro.
    for (QWidget* control :
         QList<QWidget*>{lbServiciabilidad, txt5, chkConfiabilidadTransito, lbEtiquetaSo, lbSo})
        control->setEnabled(false);
}

bool frmProyecto::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == Cuadro && evento->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        DobleClicCuadro();
        return true;
    }
    if ((objeto == txt3 || objeto == txt5) && evento->type() == QEvent::FocusOut) {
        // Al cambiar de ventana el foco vuelve luego al mismo campo: no es salir.
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason) {
            if (objeto == txt3)
                txt3->setText(FormatoCorto(modulo_.Proyecto.Confiabilidad));
            else
                txt5->setText(FormatoCorto(modulo_.Proyecto.ServiciabilidadFinal));
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void frmProyecto::CambioConfiabilidad() {
    Proyecto& p = modulo_.Proyecto;
    p.Confiabilidad = LimitarConfiabilidad(LeerNumeroEscrito(txt3->text()).Valor);
    p.Zr = CalcularZr(p.Confiabilidad / 100 - 0.5);
    lbZr->setText(Formato(p.Zr, u"0.0000"));
}

void frmProyecto::CambioServiciabilidad() {
    modulo_.Proyecto.ServiciabilidadFinal =
        LimitarServiciabilidad(LeerNumeroEscrito(txt5->text()).Valor);
}

void frmProyecto::ClicConfiabilidadTransito() {
    Proyecto& p = modulo_.Proyecto;
    p.ConfiabilidadTransito = chkConfiabilidadTransito->isChecked();
    p.So = p.ConfiabilidadTransito ? 0.49 : 0.44;
    lbSo->setText(Formato(p.So, u"0.00"));
}

void frmProyecto::DobleClicCuadro() {
    const bool habilitados = !lbServiciabilidad->isEnabled();
    lbServiciabilidad->setEnabled(habilitados);
    txt5->setEnabled(habilitados);
    chkConfiabilidadTransito->setEnabled(habilitados);
    lbEtiquetaSo->setEnabled(habilitados);
    lbSo->setEnabled(habilitados);
}

void frmProyecto::done(int resultado) {
    const Proyecto& p = modulo_.Proyecto;
    const Proyecto& i = inicial_;
    // Salir sin aceptar también deja los números escritos: que cuenten como cambio.
    if (p.Nombre != i.Nombre || p.Descripcion != i.Descripcion || p.Ubicacion != i.Ubicacion ||
        p.Confiabilidad != i.Confiabilidad || p.ServiciabilidadFinal != i.ServiciabilidadFinal ||
        p.ConfiabilidadTransito != i.ConfiabilidadTransito || p.So != i.So)
        modulo_.ProyectoModificado = true;
    QDialog::done(resultado);
}

void frmProyecto::Aceptar() {
    Proyecto& p = modulo_.Proyecto;
    p.Nombre = Recortar(txt0->text());
    p.Descripcion = LimpiarEnter(txt1->toPlainText().replace(u'\n', u"\r\n"_s));
    p.Ubicacion = Recortar(txt2->text());
    p.Confiabilidad = LimitarConfiabilidad(LeerNumeroEscrito(txt3->text()).Valor);
    p.ServiciabilidadFinal = LimitarServiciabilidad(LeerNumeroEscrito(txt5->text()).Valor);
    p.Zr = CalcularZr(p.Confiabilidad / 100 - 0.5);
    p.ConfiabilidadTransito = chkConfiabilidadTransito->isChecked();
    p.So = p.ConfiabilidadTransito ? 0.49 : 0.44;
    modulo_.ProyectoModificado = true;
    accept();
}
