#include "printing/Imprime.h"

#include "common/CarpetasSesion.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "common/Plataforma.h"
#include "common/Texto.h"
#include "common/VentanasLibzrl.h"
#include "printing/ImpresoraQt.h"
#include "printing/frmVisor.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

#ifdef Q_OS_WIN
#include <string>
#include <windows.h>
#include <winspool.h>
#endif

namespace {

#ifdef Q_OS_WIN
// La cola tal cual (RAW, sin controlador de por medio) a la impresora
// predeterminada de Windows, como la copiaba DOS a PRN.
bool EnviarImpresoraPredeterminada(const QByteArray& datos) {
    DWORD largo = 0;
    GetDefaultPrinterW(nullptr, &largo);
    if (largo == 0) return false;
    std::wstring nombre(largo, L'\0');
    if (!GetDefaultPrinterW(nombre.data(), &largo)) return false;
    HANDLE impresora = nullptr;
    if (!OpenPrinterW(nombre.data(), &impresora, nullptr)) return false;
    std::wstring titulo = L"Varek-9", tipo = L"RAW";
    DOC_INFO_1W documento{titulo.data(), nullptr, tipo.data()};
    bool ok = StartDocPrinterW(impresora, 1, reinterpret_cast<LPBYTE>(&documento)) != 0;
    if (ok) {
        DWORD escritos = 0;
        ok = StartPagePrinter(impresora) &&
             WritePrinter(impresora, const_cast<char*>(datos.constData()),
                          static_cast<DWORD>(datos.size()), &escritos) &&
             escritos == static_cast<DWORD>(datos.size());
        EndPagePrinter(impresora);
        EndDocPrinter(impresora);
    }
    ClosePrinter(impresora);
    return ok;
}
#endif

// El valor de una caja como entero: número inicial, al más cercano con mitades al
// par, sin salir del rango de los enteros cortos.
int EnteroCaja(const QLineEdit& caja) {
    const double v = RedondearPar(ValorTexto(caja.text()));
    return static_cast<int>(std::clamp(v, -32768.0, 32767.0));
}

// Los visores de DOS y el nombre del visor propio abren el visor del programa.
bool EsVisorDos(const QString& visor) {
    return visor.compare(QStringLiteral("Q.COM"), Qt::CaseInsensitive) == 0 ||
           visor.compare(QStringLiteral("Q.PIF"), Qt::CaseInsensitive) == 0 ||
           visor.compare(VisorPropio, Qt::CaseInsensitive) == 0;
}

} // namespace

Imprime::Imprime(Plataforma& plataforma, const QString& archivo, QWidget* padre)
    : QDialog(padre), plataforma_(plataforma), archivo_(archivo) {
    setObjectName(QStringLiteral("Imprime"));
    // El reporte de una sesión vive en su carpeta privada: basta su nombre.
    const QString nombre =
        CarpetaArchivosTrabajo().isEmpty() ? archivo : QFileInfo(archivo).fileName();
    setWindowTitle(QStringLiteral("Imprimir Archivo : ") + nombre);

    Archivo_ = new QLabel(nombre, this);
    Archivo_->setObjectName(QStringLiteral("Archivo"));
    QFont negrita = Archivo_->font();
    negrita.setBold(true);
    Archivo_->setFont(negrita);
    lbImpresora_ = new QLabel(this);
    lbImpresora_->setObjectName(QStringLiteral("lbImpresora"));
    lbPrefijo_ = new QLabel(this);
    lbPrefijo_->setObjectName(QStringLiteral("lbPrefijo"));
    Paginas_ = new QLabel(this);
    Paginas_->setObjectName(QStringLiteral("Paginas"));

    auto* fraDestino = new QGroupBox(QStringLiteral("Destino"), this);
    fraDestino->setObjectName(QStringLiteral("fraDestino"));
    auto* destino = new QVBoxLayout(fraDestino);
    const QString textos[3] = {QStringLiteral("&Pantalla"), QStringLiteral("&Impresora"),
                               QStringLiteral("Impresora MS-&DOS")};
    for (int i = 0; i < 3; ++i) {
        PantallaImpresora_[i] = new QRadioButton(textos[i], fraDestino);
        PantallaImpresora_[i]->setObjectName(QStringLiteral("PantallaImpresora%1").arg(i));
        destino->addWidget(PantallaImpresora_[i]);
        connect(PantallaImpresora_[i], &QRadioButton::clicked, this, &Imprime::ActualizarDestino);
    }
    PantallaImpresora_[0]->setChecked(true);

    fraPaginas_ = new QGroupBox(QStringLiteral("Páginas"), this);
    fraPaginas_->setObjectName(QStringLiteral("fraPaginas"));
    auto* paginas = new QGridLayout(fraPaginas_);
    const QString etiquetas[2] = {QStringLiteral("Inicial :"), QStringLiteral("Final :")};
    for (int i = 0; i < 2; ++i) {
        lbPagina_[i] = new QLabel(etiquetas[i], fraPaginas_);
        Pagina_[i] = new QLineEdit(fraPaginas_);
        Pagina_[i]->setObjectName(QStringLiteral("Pagina%1").arg(i));
        Pagina_[i]->setMaxLength(6);
        lbPagina_[i]->setBuddy(Pagina_[i]);
        paginas->addWidget(lbPagina_[i], i, 0);
        paginas->addWidget(Pagina_[i], i, 1);
        connect(Pagina_[i], &QLineEdit::textChanged, this, &Imprime::ActualizarAceptar);
    }

    fraCopias_ = new QGroupBox(QStringLiteral("Copias"), this);
    fraCopias_->setObjectName(QStringLiteral("fraCopias"));
    auto* copias = new QVBoxLayout(fraCopias_);
    Copias_ = new QLineEdit(QStringLiteral("1"), fraCopias_);
    Copias_->setObjectName(QStringLiteral("Copias"));
    Copias_->setMaxLength(4);
    copias->addWidget(Copias_);
    copias->addStretch();

    auto* lbPuerto = new QLabel(QStringLiteral("Puerto de Impresión DOS : "), this);
    opcPuerto_ = new QComboBox(this);
    opcPuerto_->setObjectName(QStringLiteral("opcPuerto"));
    opcPuerto_->setEditable(true);
    opcPuerto_->addItems({QStringLiteral("PRN"), QStringLiteral("LPT1"), QStringLiteral("LPT2"),
                          QStringLiteral("LPT3"), QStringLiteral("LPT4")});
    lbPuerto->setBuddy(opcPuerto_);

    btnImpresora_ = new QPushButton(QStringLiteral("I&mpresora"), this);
    btnImpresora_->setObjectName(QStringLiteral("btnImpresora"));
    btnImpresora_->setAutoDefault(false);
    connect(btnImpresora_, &QPushButton::clicked, this, &Imprime::ElegirImpresora);
    const QString botones[2] = {QStringLiteral("&Aceptar"), QStringLiteral("&Salir")};
    for (int i = 0; i < 2; ++i) {
        Boton_[i] = new QPushButton(botones[i], this);
        Boton_[i]->setObjectName(QStringLiteral("Boton%1").arg(i));
    }
    Boton_[0]->setDefault(true);
    connect(Boton_[0], &QPushButton::clicked, this, &Imprime::Aceptar);
    connect(Boton_[1], &QPushButton::clicked, this, &QDialog::reject);

    auto* cabecera = new QGridLayout;
    cabecera->addWidget(new QLabel(QStringLiteral("Archivo :"), this), 0, 0);
    cabecera->addWidget(Archivo_, 0, 1);
    auto* lbPaginas = new QLabel(QStringLiteral("Páginas : "), this);
    cabecera->addWidget(lbPaginas, 0, 2, Qt::AlignRight);
    cabecera->addWidget(Paginas_, 0, 3);
    cabecera->addWidget(new QLabel(QStringLiteral("Impresora :"), this), 1, 0);
    cabecera->addWidget(lbImpresora_, 1, 1, 1, 3);
    cabecera->addWidget(lbPrefijo_, 2, 1, 1, 3);
    cabecera->setColumnStretch(1, 1);

    auto* marcos = new QHBoxLayout;
    marcos->addWidget(fraDestino);
    marcos->addWidget(fraPaginas_);
    marcos->addWidget(fraCopias_);

    auto* puerto = new QHBoxLayout;
    puerto->addWidget(lbPuerto);
    puerto->addWidget(opcPuerto_, 1);
    puerto->addSpacing(16);
    puerto->addWidget(btnImpresora_);

    auto* pie = new QHBoxLayout;
    pie->addStretch();
    pie->addWidget(Boton_[0]);
    pie->addWidget(Boton_[1]);

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(cabecera);
    principal->addLayout(marcos);
    principal->addLayout(puerto);
    principal->addLayout(pie);

    setTabOrder(PantallaImpresora_[0], Pagina_[0]);
    setTabOrder(Pagina_[0], Pagina_[1]);
    setTabOrder(Pagina_[1], Copias_);
    setTabOrder(Copias_, opcPuerto_);
    setTabOrder(opcPuerto_, btnImpresora_);
    setTabOrder(btnImpresora_, Boton_[0]);
    setTabOrder(Boton_[0], Boton_[1]);

    // Enter pasa al control siguiente y al entrar en una caja se selecciona su texto.
    PrepararCampos({PantallaImpresora_[0], PantallaImpresora_[1], PantallaImpresora_[2], Pagina_[0],
                    Pagina_[1], Copias_});
    // Después de PrepararCampos: este filtro corre antes y la selección ve el texto
    // ya corregido.
    Pagina_[1]->installEventFilter(this);

    ActualizarDestino();
    MostrarImpresora();
    adjustSize();
    CentrarFormulario(*this);
}

Imprime::~Imprime() = default;

void Imprime::PonerPrefijo(const QString& nombrePuerto) {
    lbPrefijo_->setText(Recortar(nombrePuerto).toUpper());
}

void Imprime::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (activado_) return;
    activado_ = true;
    configuracion_ = CargarConfiguracionImpresion(lbPrefijo_->text());
    CargarProyecto();
    opcPuerto_->setEditText(configuracion_.Puerto);
    const ResumenReporte& r = prepaso_.Resumen;
    Paginas_->setText(QString::number(r.TotalPaginas) + (r.AnchoMaximo > 96   ? QStringLiteral("c")
                                                         : r.AnchoMaximo > 80 ? QStringLiteral("m")
                                                                              : QString()));
}

void Imprime::CargarProyecto() {
    const CursorEspera espera;
    prepaso_ = PrepararReporte(archivo_, configuracion_.LineasPorPagina());
    retenido_ = std::make_unique<ReporteRetenido>(archivo_);
}

bool Imprime::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == Pagina_[1] && evento->type() == QEvent::FocusIn) {
        if (EnteroCaja(*Pagina_[0]) > EnteroCaja(*Pagina_[1]))
            Pagina_[1]->setText(Pagina_[0]->text());
        SeleccionarTexto(*Pagina_[1]);
    }
    return QDialog::eventFilter(objeto, evento);
}

void Imprime::ActualizarDestino() {
    const bool paginado = !PantallaImpresora_[0]->isChecked();
    fraPaginas_->setEnabled(paginado);
    for (int i = 0; i < 2; ++i) {
        Pagina_[i]->setEnabled(paginado);
        lbPagina_[i]->setEnabled(paginado);
    }
    fraCopias_->setEnabled(paginado);
    Copias_->setEnabled(paginado);
}

void Imprime::ActualizarAceptar() {
    Boton_[0]->setEnabled(EnteroCaja(*Pagina_[1]) >= EnteroCaja(*Pagina_[0]));
}

void Imprime::MostrarImpresora() {
    QPrinter& impresora = plataforma_.Impresora();
    QString nombre;
    if (!impresora.outputFileName().isEmpty())
        nombre = QStringLiteral("PDF : ") + impresora.outputFileName();
    else if (!impresora.printerName().isEmpty())
        nombre = impresora.printerName();
    else
        nombre = QStringLiteral("(ninguna impresora instalada: use \"Impresora\" para un PDF)");
    lbImpresora_->setText(nombre);
}

void Imprime::ElegirImpresora() {
    QPrinter& impresora = plataforma_.Impresora();
    const auto antes = impresora.pageLayout().orientation();
    if (plataforma_.ConfigurarImpresora(this, impresora)) {
        if (impresora.pageLayout().orientation() != antes) orientacionElegida_ = true;
        MostrarImpresora();
    }
    Boton_[0]->setFocus();
}

void Imprime::Aceptar() {
    if (PantallaImpresora_[0]->isChecked()) {
        VerEnPantalla(prepaso_.CopiaTexto);
        return;
    }
    const bool dos = PantallaImpresora_[2]->isChecked();
    if (ImprimirPaginas(EnteroCaja(*Pagina_[0]), EnteroCaja(*Pagina_[1]), EnteroCaja(*Copias_),
                        dos))
        Boton_[1]->setFocus();
    else if (dos)
        opcPuerto_->setFocus(); // para corregir el nombre
}

void Imprime::ErrorImprimir() {
    plataforma_.Aviso(this, QStringLiteral("IMPRESORA"), QStringLiteral("Error al imprimir..."),
                      IconoMensaje::Critico);
}

bool Imprime::ImprimirPaginas(int desde, int hasta, int copias, bool dos) {
    if (!QFileInfo::exists(archivo_)) return true;
    ParametrosImpresion parametros;
    parametros.Desde = desde;
    parametros.Hasta = hasta;
    parametros.Copias = copias;
    parametros.LineasPorPagina = configuracion_.LineasPorPagina();
    parametros.Fecha = TextoFecha(QDateTime::currentDateTime());

    if (dos) {
        // Con "Imprime.exe" la cola no va al puerto; si no, el puerto puede nombrar un archivo.
        if (!QFileInfo::exists(QStringLiteral("Imprime.exe")) &&
            !ConfirmarSalida(
                plataforma_, this, QStringLiteral("IMPRESORA"),
                DecidirSalida(opcPuerto_->currentText(), ClaseSalida::Puerto, proyecto_)))
            return false;
        ColaDos cola;
        QByteArray lineaBat;
        {
            const CursorEspera espera;
            cola = EscribirColaDos(archivo_, prepaso_.Resumen, parametros);
            if (cola.Ok && !cola.Archivo.isEmpty()) {
                lineaBat = LineaBatDos(cola.Archivo, opcPuerto_->currentText());
                EscribirBat(lineaBat);
            }
        }
        if (!cola.Ok) {
            ErrorImprimir();
            return true;
        }
        if (!cola.Archivo.isEmpty()) EnviarColaDos(cola.Archivo, lineaBat);
        return true;
    }

    QPrinter& impresora = plataforma_.Impresora();
    // Sin impresora instalada, el diálogo de impresora ofrece imprimir a un PDF.
    if (impresora.outputFileName().isEmpty() && impresora.printerName().isEmpty()) {
        if (!plataforma_.ConfigurarImpresora(this, impresora)) return true;
        MostrarImpresora();
    }
    // Cada PDF pide su nombre: un reporte nunca reemplaza en silencio a otro.
    if (!impresora.outputFileName().isEmpty()) {
        // Sin propuesta de quien imprime, la del diálogo de impresora, salvo su
        // "print.pdf" de la carpeta personal: entonces el nombre del reporte aquí.
        QString propuesto = pdfPropuesto_;
        if (propuesto.isEmpty()) propuesto = impresora.outputFileName();
        if (pdfPropuesto_.isEmpty() && QFileInfo(propuesto).absolutePath() == QDir::homePath())
            propuesto = QDir::current().absoluteFilePath(QFileInfo(archivo_).completeBaseName() +
                                                         QStringLiteral(".pdf"));
        // La pregunta de reemplazar la hace ConfirmarSalida, con el nombre del archivo.
        const QString elegido = plataforma_.GuardarArchivo(
            this, QStringLiteral("Imprimir a un archivo PDF"),
            QStringLiteral("Documentos PDF (*.pdf);;Todos los archivos (*)"), propuesto, false);
        if (elegido.isEmpty()) return true;
        const DecisionSalida pdf = DecidirSalida(elegido, ClaseSalida::Pdf, proyecto_);
        if (!ConfirmarSalida(plataforma_, this, QStringLiteral("IMPRESORA"), pdf)) return false;
        // Un PDF nunca se escribe sobre el reporte que imprime.
        impresora.setOutputFileName(NombreSalidaLibre(pdf.Archivo, archivo_));
        MostrarImpresora();
    }
    ResultadoImpresora r;
    {
        const CursorEspera espera;
        r = ImprimirEnImpresora(impresora, archivo_, prepaso_.Resumen, configuracion_, parametros,
                                orientacionElegida_);
    }
    if (!r.Ok) ErrorImprimir();
    return true;
}

void Imprime::EnviarColaDos(const QString& cola, const QByteArray& lineaBat) {
    // Lo mismo que haría "q.bat", sin intérprete de órdenes de DOS.
    if (lineaBat.startsWith("Imprime.exe ")) {
        if (!plataforma_.IniciarProceso(QDir::current().absoluteFilePath("Imprime.exe"), {cola}))
            ErrorImprimir();
        return;
    }
    const QString puerto = Recortar(opcPuerto_->currentText());
    const QString mayusculas = puerto.toUpper();
    QFile entrada(cola);
#ifdef Q_OS_WIN
    if (mayusculas == u"PRN") {
        if (!entrada.open(QIODevice::ReadOnly) || !EnviarImpresoraPredeterminada(entrada.readAll()))
            ErrorImprimir();
        return;
    }
#else
    if (mayusculas == u"PRN") {
        // La impresora predeterminada del sistema.
        if (!plataforma_.IniciarProceso(QStringLiteral("lp"), {cola})) ErrorImprimir();
        return;
    }
#endif
    QString destino = puerto;
    bool dispositivo = false;
    if (mayusculas.size() == 4 && mayusculas.startsWith(u"LPT") && mayusculas[3] >= u'1' &&
        mayusculas[3] <= u'4') {
        dispositivo = true;
#ifdef Q_OS_WIN
        destino = QStringLiteral("\\\\.\\") + mayusculas;
#else
        destino = QStringLiteral("/dev/lp%1").arg(mayusculas[3].unicode() - u'1');
        if (!QFileInfo::exists(destino)) {
            ErrorImprimir();
            return;
        }
#endif
    }
#ifndef Q_OS_WIN
    dispositivo = dispositivo || destino.startsWith(u"/dev/");
#endif
    // Otro nombre es un archivo, como la redirección de DOS.
    QFile salida(destino);
    const QIODevice::OpenMode modo =
        dispositivo ? QIODevice::WriteOnly : QIODevice::WriteOnly | QIODevice::Truncate;
    if (destino.isEmpty() || !entrada.open(QIODevice::ReadOnly) || !salida.open(modo)) {
        ErrorImprimir();
        return;
    }
    const QByteArray datos = entrada.readAll();
    if (salida.write(datos) != datos.size() || !salida.flush()) ErrorImprimir();
}

bool Imprime::AbrirVisorExterno(const QString& copia) {
    QStringList partes = QProcess::splitCommand(Recortar(configuracion_.Visor));
    if (partes.isEmpty()) return false;
    const QString programa = partes.takeFirst();
    QString ruta = QStandardPaths::findExecutable(programa);
    if (ruta.isEmpty()) {
        const QFileInfo info(programa);
        if (info.isFile() && info.isExecutable()) ruta = info.absoluteFilePath();
    }
    if (ruta.isEmpty()) return false;
    return plataforma_.IniciarProceso(ruta, partes << copia);
}

void Imprime::VerEnPantalla(const QString& copia) {
    QString visor = Recortar(configuracion_.Visor);
    if (visor.isEmpty()) visor = QStringLiteral("Q.PIF");
    if (visor.compare(QStringLiteral("Q.PIF"), Qt::CaseInsensitive) == 0)
        EscribirBat("q.com " + NombreEnLote(copia));
    else if (!EsVisorDos(visor) && AbrirVisorExterno(copia))
        return;
    // Los visores de DOS, o uno que no arranca: el visor del programa.
    auto* visorPropio = new frmVisor(plataforma_, copia, archivo_, this);
    visorPropio->show();
}

bool ConfirmarSalida(Plataforma& plataforma, QWidget* padre, const QString& titulo,
                     const DecisionSalida& salida) {
    if (!salida.Rechazo.isEmpty()) {
        plataforma.Aviso(padre, titulo, salida.Rechazo);
        return false;
    }
    return !salida.Reemplaza || plataforma.Mensaje(padre, titulo, TextoReemplazo(salida.Mostrado),
                                                   IconoMensaje::Pregunta, BotonesMensaje::SiNo,
                                                   RespuestaMensaje::No) == RespuestaMensaje::Si;
}

void ImprimirArchivo(Plataforma& plataforma, QWidget* padre, const QString& archivo,
                     const QString& nombrePuerto, const QString& pdfPropuesto,
                     const QString& proyecto) {
    {
        Imprime dialogo(plataforma, archivo, padre);
        if (!nombrePuerto.isEmpty()) dialogo.PonerPrefijo(nombrePuerto);
        dialogo.PonerPdfPropuesto(pdfPropuesto);
        dialogo.PonerProyecto(proyecto);
        plataforma.MostrarModal(dialogo);
    }
    QFile ultimo(RutaConfiguracion(QStringLiteral("Ultimo.inf")));
    if (ultimo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ultimo.write(CodificarAnsi(archivo) + "\r\n");
}
