#include "printing/frmVisor.h"

#include "common/Plataforma.h"
#include "common/Texto.h"
#include "common/VentanasLibzrl.h"
#include "printing/Imprime.h"
#include "printing/TrabajoImpresion.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QVBoxLayout>

#include <optional>

frmVisor::frmVisor(Plataforma& plataforma, const QString& copia, const QString& reporte,
                   QWidget* padre, const QString& fecha)
    : QWidget(padre, Qt::Window), plataforma_(plataforma), reporte_(reporte) {
    setObjectName(QStringLiteral("frmVisor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Ver Informe : ") + copia);

    std::optional<CursorEspera> espera(std::in_place);
    QString texto;
    QFile archivo(copia);
    if (archivo.open(QIODevice::ReadOnly)) texto = DecodificarAnsi(archivo.readAll());
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Cada salto de página se ve como un límite de página; el salto final no abre
    // otra.
    if (texto.endsWith(u'\f')) texto.chop(1);
    // Las marcas de página y fecha se ven como en el papel: el número de la página y la
    // fecha entre corchetes, al margen derecho de las 80 columnas.
    const int total = static_cast<int>(texto.count(u'\f')) + 1;
    const QString momento =
        fecha.isEmpty() ? QString::fromLatin1(TextoFecha(QDateTime::currentDateTime())) : fecha;
    QString conSeparadores;
    conSeparadores.reserve(texto.size() + 64);
    qsizetype inicioLinea = 0;
    const auto marcas = [&] {
        QStringView linea = QStringView(conSeparadores).sliced(inicioLinea);
        if (!linea.contains(u'#')) return;
        QString nueva = linea.toString();
        const int pagina = paginas_;
        const bool sola = linea.trimmed() == u"#pg#fecha#" || linea.trimmed() == u"#pgde#";
        nueva.replace(QStringLiteral("#pg#fecha#"),
                      QStringLiteral("%1 [%2]").arg(pagina).arg(momento));
        nueva.replace(QStringLiteral("#pgde#"),
                      QStringLiteral("pag. %1 de %2").arg(pagina).arg(total));
        if (nueva == linea) return;
        if (sola) nueva = nueva.trimmed().rightJustified(80);
        conSeparadores.truncate(inicioLinea);
        conSeparadores += nueva;
    };
    for (const QChar c : texto) {
        if (c == u'\f') {
            marcas();
            ++paginas_;
            if (!conSeparadores.isEmpty() && !conSeparadores.endsWith(u'\n'))
                conSeparadores += u'\n';
            conSeparadores += Separador(paginas_) + u'\n';
            inicioLinea = conSeparadores.size();
        } else if (c == u'\n') {
            marcas();
            conSeparadores += c;
            inicioLinea = conSeparadores.size();
        } else {
            conSeparadores += c;
        }
    }
    marcas();
    if (conSeparadores.endsWith(u'\n')) conSeparadores.chop(1);

    txtTexto_ = new QPlainTextEdit(this);
    txtTexto_->setObjectName(QStringLiteral("txtTexto"));
    txtTexto_->setReadOnly(true);
    txtTexto_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtTexto_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont fuente(QStringLiteral("Courier New"), 10);
    fuente.setStyleHint(QFont::TypeWriter);
    txtTexto_->setFont(fuente);
    txtTexto_->setPlainText(conSeparadores);
    espera.reset();

    auto* lbBuscar = new QLabel(QStringLiteral("&Buscar :"), this);
    txtBuscar_ = new QLineEdit(this);
    txtBuscar_->setObjectName(QStringLiteral("txtBuscar"));
    lbBuscar->setBuddy(txtBuscar_);
    auto* btnSiguiente = new QPushButton(QStringLiteral("&Siguiente"), this);
    btnSiguiente->setObjectName(QStringLiteral("btnSiguiente"));
    auto* btnCopiar = new QPushButton(QStringLiteral("&Copiar"), this);
    btnCopiar->setObjectName(QStringLiteral("btnCopiar"));
    auto* btnImprimir = new QPushButton(QStringLiteral("&Imprimir..."), this);
    btnImprimir->setObjectName(QStringLiteral("btnImprimir"));
    btnImprimir->setEnabled(!reporte_.isEmpty());
    auto* btnCerrar = new QPushButton(QStringLiteral("C&errar"), this);
    btnCerrar->setObjectName(QStringLiteral("btnCerrar"));
    lbPaginas_ = new QLabel(QStringLiteral("Páginas : %1").arg(paginas_), this);
    lbPaginas_->setObjectName(QStringLiteral("lbPaginas"));

    auto* barra = new QHBoxLayout;
    barra->addWidget(lbBuscar);
    barra->addWidget(txtBuscar_, 1);
    barra->addWidget(btnSiguiente);
    barra->addSpacing(12);
    barra->addWidget(lbPaginas_);
    barra->addStretch();
    barra->addWidget(btnCopiar);
    barra->addWidget(btnImprimir);
    barra->addWidget(btnCerrar);
    auto* principal = new QVBoxLayout(this);
    principal->addLayout(barra);
    principal->addWidget(txtTexto_, 1);

    const auto buscar = [this] {
        if (!Buscar(txtBuscar_->text()))
            plataforma_.Aviso(this, QStringLiteral("BUSCAR"),
                              QStringLiteral("No se encontró [%1]...").arg(txtBuscar_->text()),
                              IconoMensaje::Informacion);
    };
    connect(txtBuscar_, &QLineEdit::returnPressed, this, buscar);
    connect(btnSiguiente, &QPushButton::clicked, this, buscar);
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this, buscar);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        txtBuscar_->setFocus();
        txtBuscar_->selectAll();
    });
    connect(btnCopiar, &QPushButton::clicked, this, &frmVisor::Copiar);
    connect(btnImprimir, &QPushButton::clicked, this, &frmVisor::Imprimir);
    connect(btnCerrar, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    resize(900, 640);
    if (padre) padre->installEventFilter(this);
    txtTexto_->setFocus();
}

QString frmVisor::Separador(int pagina) {
    return QStringLiteral("──────────────────── Página %1 ────────────────────").arg(pagina);
}

QString frmVisor::Texto() const {
    return txtTexto_->toPlainText();
}

bool frmVisor::Buscar(const QString& texto) {
    if (texto.isEmpty()) return false;
    if (txtTexto_->find(texto)) return true;
    QTextCursor inicio = txtTexto_->textCursor();
    inicio.movePosition(QTextCursor::Start);
    txtTexto_->setTextCursor(inicio);
    return txtTexto_->find(texto);
}

void frmVisor::Copiar() {
    const QTextCursor cursor = txtTexto_->textCursor();
    // Sin selección se copia todo el informe.
    QString texto = cursor.hasSelection() ? cursor.selectedText() : txtTexto_->toPlainText();
    texto.replace(QChar::ParagraphSeparator, u'\n');
    plataforma_.EscribirPortapapeles(texto);
}

void frmVisor::Imprimir() {
    ImprimirArchivo(plataforma_, this, reporte_);
}

bool frmVisor::eventFilter(QObject* objeto, QEvent* evento) {
    // Nace hijo de la ventana modal que lo abrió (si no, esa ventana lo bloquearía);
    // cuando ella se cierra, el visor pasa a la ventana de más arriba y sigue abierto.
    if (objeto == parent() && (evento->type() == QEvent::Hide || evento->type() == QEvent::Close))
        Sobrevivir();
    return QWidget::eventFilter(objeto, evento);
}

void frmVisor::Sobrevivir() {
    auto* anterior = parentWidget();
    if (!anterior) return;
    anterior->removeEventFilter(this);
    QWidget* nuevo = anterior->parentWidget();
    while (nuevo && !nuevo->isVisible())
        nuevo = nuevo->parentWidget();
    const QRect geometria = geometry();
    const bool visible = isVisible();
    setParent(nuevo ? nuevo->window() : nullptr, Qt::Window);
    setGeometry(geometria);
    if (nuevo) nuevo->window()->installEventFilter(this);
    if (visible) show();
}
