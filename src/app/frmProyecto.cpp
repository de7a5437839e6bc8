#include "app/frmProyecto.h"

#include "app/Historial.h"
#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "common/Plataforma.h"
#include "common/Texto.h"
#include "common/VentanasLibzrl.h"
#include "project/Solucionador.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr QChar BarraPartida = u'\u00a6'; // "¦"
const QString Titulo = u"PROPIEDADES PROYECTO"_s;

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

frmProyecto::frmProyecto(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* parent)
    : QDialog(parent), modulo_(modulo), plataforma_(plataforma), inicial_(modulo.Proyecto),
      confiabilidadTomada_(modulo.Proyecto.Confiabilidad),
      serviciabilidadTomada_(modulo.Proyecto.ServiciabilidadFinal) {
    setObjectName(u"frmProyecto"_s);
    setWindowTitle(Titulo);

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

    // La convención de los números: la misma preferencia que el menú de las demás
    // ventanas.
    lstSeparador = new QComboBox(this);
    lstSeparador->setObjectName(u"lstSeparador"_s);
    lstSeparador->addItem(u"Coma (1.234,5)"_s, QVariant::fromValue(int(SeparadorDecimal::Coma)));
    lstSeparador->addItem(u"Punto (1,234.5)"_s, QVariant::fromValue(int(SeparadorDecimal::Punto)));
    lstSeparador->setCurrentIndex(modulo_.Separador == SeparadorDecimal::Coma ? 0 : 1);
    auto* lbSeparador = Etiqueta(u"Separador &decimal :"_s, u"lbSeparador"_s, this);
    lbSeparador->setBuddy(lstSeparador);

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
    botones->addWidget(lbSeparador);
    botones->addWidget(lstSeparador);
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
    // Al final: Enter en el último dato sigue llevando a "&Aceptar".
    setTabOrder(btnSalir, lstSeparador);
    PrepararCampos({txt0, txt1, txt2, txt3, txt5, chkConfiabilidadTransito, lstSeparador});

    connect(txt3, &QLineEdit::textChanged, this, &frmProyecto::CambioConfiabilidad);
    connect(txt5, &QLineEdit::textChanged, this, &frmProyecto::CambioServiciabilidad);
    connect(chkConfiabilidadTransito, &QCheckBox::toggled, this,
            &frmProyecto::ClicConfiabilidadTransito);
    connect(lstSeparador, &QComboBox::currentIndexChanged, this, &frmProyecto::CambioSeparador);
    // Lo que el archivo no puede guardar se quita al escribirlo, sin perder lo demás.
    connect(txt0, &QLineEdit::textEdited, this, [this] { LimpiarNoAnsi(txt0); });
    connect(txt1, &QPlainTextEdit::textChanged, this, [this] { LimpiarNoAnsi(txt1); });
    connect(txt2, &QLineEdit::textEdited, this, [this] { LimpiarNoAnsi(txt2); });
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
    txt3->setText(TextoNumero(p.Confiabilidad));
    txt5->setText(TextoNumero(p.ServiciabilidadFinal));
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
        if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason)
            RevisarNumero(static_cast<QLineEdit*>(objeto));
    }
    return QDialog::eventFilter(objeto, evento);
}

QString frmProyecto::TextoNumero(double valor) const {
    return TextoVentana(FormatoCorto(valor), modulo_.Separador);
}

// Se aparta a propósito: un texto sin número no vale 0 (50 o 2 con los límites),
// no cambia nada y al salir del campo se rechaza.
void frmProyecto::CambioConfiabilidad() {
    const NumeroEscrito n = LeerNumeroEscrito(txt3->text(), modulo_.Separador);
    if (!n.EsNumero) return;
    Proyecto& p = modulo_.Proyecto;
    p.Confiabilidad = LimitarConfiabilidad(n.Valor);
    p.Zr = CalcularZr(p.Confiabilidad / 100 - 0.5);
    lbZr->setText(TextoVentana(Formato(p.Zr, u"0.0000"), modulo_.Separador));
}

void frmProyecto::CambioServiciabilidad() {
    const NumeroEscrito n = LeerNumeroEscrito(txt5->text(), modulo_.Separador);
    if (n.EsNumero) modulo_.Proyecto.ServiciabilidadFinal = LimitarServiciabilidad(n.Valor);
}

bool frmProyecto::RevisarNumero(QLineEdit* campo) {
    // Un aviso abierto desde aquí no vuelve a revisar el mismo campo.
    if (revisando_) return true;
    revisando_ = true;
    const bool confiabilidad = campo == txt3;
    double& tomado = confiabilidad ? confiabilidadTomada_ : serviciabilidadTomada_;
    const QString texto = Recortar(campo->text());
    const NumeroEscrito n = LeerNumeroEscrito(texto, modulo_.Separador);
    const QString nombre = confiabilidad ? u"la confiabilidad"_s : u"la serviciabilidad final"_s;
    bool tomar = true;
    if (!n.EsNumero) {
        plataforma_.Aviso(this, Titulo,
                          u"El valor [%1] de %2 no es un número; queda %3..."_s.arg(
                              texto, nombre, TextoNumero(tomado)));
        tomar = false;
    } else {
        const double limitado =
            confiabilidad ? LimitarConfiabilidad(n.Valor) : LimitarServiciabilidad(n.Valor);
        // Se aparta a propósito: fuera de los límites se pregunta antes de tomar el límite.
        if (limitado != n.Valor) {
            const QString limites = confiabilidad ? u"de 50 a menos de 100 %"_s
                                                  : u"de 1 a menos de %1"_s.arg(TextoNumero(4.2));
            tomar = plataforma_.Mensaje(this, Titulo,
                                        u"El valor [%1] de %2 está fuera de los límites (%3): se "
                                        u"toma %4. ¿Desea continuar?"_s.arg(texto, nombre, limites,
                                                                            TextoNumero(limitado)),
                                        IconoMensaje::Pregunta, BotonesMensaje::SiNo,
                                        RespuestaMensaje::Si) == RespuestaMensaje::Si;
        }
    }
    // Lo que no se toma deja el valor anterior, también en Zr.
    campo->setText(TextoNumero(tomar ? (confiabilidad ? modulo_.Proyecto.Confiabilidad
                                                      : modulo_.Proyecto.ServiciabilidadFinal)
                                     : tomado));
    // Por encima de 4.0 la ecuación puede tener varias raíces: se avisa una vez por valor.
    const double pt = modulo_.Proyecto.ServiciabilidadFinal;
    if (!confiabilidad && tomar && pt > 4.0 && pt != tomado)
        plataforma_.Aviso(this, Titulo,
                          u"Con una serviciabilidad final mayor que %1 la ecuación AASHTO-93 "
                          u"puede tener varias raíces; se toma la mayor."_s.arg(
                              TextoVentana(Formato(4.0, u"0.0"), modulo_.Separador)),
                          IconoMensaje::Informacion);
    tomado = confiabilidad ? modulo_.Proyecto.Confiabilidad : modulo_.Proyecto.ServiciabilidadFinal;
    revisando_ = false;
    return tomar;
}

bool frmProyecto::LimpiarNoAnsi(QWidget* campo) {
    auto* linea = qobject_cast<QLineEdit*>(campo);
    auto* varias = qobject_cast<QPlainTextEdit*>(campo);
    const QString texto = linea ? linea->text() : varias->toPlainText();
    const QString fuera = CaracteresNoAnsi(texto);
    if (fuera.isEmpty()) return true;
    // El cursor queda donde estaba, menos los caracteres quitados antes de él.
    const int cursor = linea ? linea->cursorPosition() : varias->textCursor().position();
    const int nuevo = int(QuitarNoAnsi(QStringView(texto).first(cursor)).size());
    const QString limpio = QuitarNoAnsi(texto);
    if (linea) {
        linea->setText(limpio);
        linea->setCursorPosition(nuevo);
    } else {
        varias->setPlainText(limpio);
        QTextCursor c = varias->textCursor();
        c.setPosition(nuevo);
        varias->setTextCursor(c);
    }
    plataforma_.Aviso(this, Titulo, TextoCaracteresNoAnsi(fuera));
    return false;
}

void frmProyecto::CambioSeparador() {
    modulo_.Separador = SeparadorDecimal(lstSeparador->currentData().toInt());
    GuardarSeparadorDecimal(modulo_.Separador);
    const Proyecto& p = modulo_.Proyecto;
    txt3->setText(TextoNumero(p.Confiabilidad));
    txt5->setText(TextoNumero(p.ServiciabilidadFinal));
    lbZr->setText(TextoVentana(Formato(p.Zr, u"0.0000"), modulo_.Separador));
    lbSo->setText(TextoVentana(Formato(p.So, u"0.00"), modulo_.Separador));
}

void frmProyecto::ClicConfiabilidadTransito() {
    Proyecto& p = modulo_.Proyecto;
    p.ConfiabilidadTransito = chkConfiabilidadTransito->isChecked();
    p.So = p.ConfiabilidadTransito ? 0.49 : 0.44;
    lbSo->setText(TextoVentana(Formato(p.So, u"0.00"), modulo_.Separador));
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
    // Escape o "&Salir" con un número sin revisar: se revisa como al salir del campo.
    RevisarNumero(txt3);
    RevisarNumero(txt5);
    const Proyecto& p = modulo_.Proyecto;
    const Proyecto& i = inicial_;
    // Salir sin aceptar también deja los números escritos: que cuenten como cambio.
    if (p.Nombre != i.Nombre || p.Descripcion != i.Descripcion || p.Ubicacion != i.Ubicacion ||
        p.Confiabilidad != i.Confiabilidad || p.ServiciabilidadFinal != i.ServiciabilidadFinal ||
        p.ConfiabilidadTransito != i.ConfiabilidadTransito || p.So != i.So)
        modulo_.ProyectoModificado = true;
    RegistrarPaso(modulo_, QStringLiteral("Propiedades del proyecto"));
    QDialog::done(resultado);
}

void frmProyecto::Aceptar() {
    // Un número rechazado o un carácter que no se puede guardar dejan el diálogo
    // abierto, con lo demás tal como se escribió.
    bool listo = RevisarNumero(txt3);
    listo = RevisarNumero(txt5) && listo;
    for (QWidget* campo : QList<QWidget*>{txt0, txt1, txt2})
        listo = LimpiarNoAnsi(campo) && listo;
    if (!listo) return;
    Proyecto& p = modulo_.Proyecto;
    p.Nombre = Recortar(txt0->text());
    p.Descripcion = LimpiarEnter(txt1->toPlainText().replace(u'\n', u"\r\n"_s));
    p.Ubicacion = Recortar(txt2->text());
    p.Zr = CalcularZr(p.Confiabilidad / 100 - 0.5);
    p.ConfiabilidadTransito = chkConfiabilidadTransito->isChecked();
    p.So = p.ConfiabilidadTransito ? 0.49 : 0.44;
    modulo_.ProyectoModificado = true;
    accept();
}
