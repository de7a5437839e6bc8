#include "app/PlataformaQt.h"

#include "printing/ImpresoraQt.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace {

QMessageBox::Icon IconoQt(IconoMensaje icono) {
    switch (icono) {
    case IconoMensaje::Critico:
        return QMessageBox::Critical;
    case IconoMensaje::Pregunta:
        return QMessageBox::Question;
    case IconoMensaje::Exclamacion:
        return QMessageBox::Warning;
    case IconoMensaje::Informacion:
        return QMessageBox::Information;
    case IconoMensaje::Ninguno:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

RespuestaMensaje PlataformaQt::Mensaje(QWidget* padre, const QString& titulo, const QString& texto,
                                       IconoMensaje icono, BotonesMensaje botones,
                                       RespuestaMensaje porDefecto) {
    QMessageBox caja(IconoQt(icono), titulo, texto, QMessageBox::NoButton, padre);
    // Botones con sus textos en español y la tecla subrayada de cada uno.
    struct Boton {
        RespuestaMensaje respuesta;
        QString texto;
        QMessageBox::ButtonRole rol;
    };
    QList<Boton> lista;
    switch (botones) {
    case BotonesMensaje::Aceptar:
        lista = {{RespuestaMensaje::Aceptar, QStringLiteral("&Aceptar"), QMessageBox::AcceptRole}};
        break;
    case BotonesMensaje::AceptarCancelar:
        lista = {
            {RespuestaMensaje::Aceptar, QStringLiteral("&Aceptar"), QMessageBox::AcceptRole},
            {RespuestaMensaje::Cancelar, QStringLiteral("&Cancelar"), QMessageBox::RejectRole}};
        break;
    case BotonesMensaje::SiNo:
        lista = {{RespuestaMensaje::Si, QStringLiteral("&Sí"), QMessageBox::YesRole},
                 {RespuestaMensaje::No, QStringLiteral("&No"), QMessageBox::NoRole}};
        break;
    case BotonesMensaje::SoloLecturaCancelar:
        lista = {
            {RespuestaMensaje::Aceptar, QStringLiteral("&Solo lectura"), QMessageBox::AcceptRole},
            {RespuestaMensaje::Cancelar, QStringLiteral("&Cancelar"), QMessageBox::RejectRole}};
        break;
    case BotonesMensaje::BuscarCancelar:
        lista = {
            {RespuestaMensaje::Aceptar, QStringLiteral("&Buscar..."), QMessageBox::AcceptRole},
            {RespuestaMensaje::Cancelar, QStringLiteral("&Cancelar"), QMessageBox::RejectRole}};
        break;
    case BotonesMensaje::TodasPorDefectoCancelar:
        lista = {
            {RespuestaMensaje::Si, QStringLiteral("&Todas"), QMessageBox::YesRole},
            {RespuestaMensaje::No,
             QStringLiteral("&Solo las que tienen la alternativa por defecto"),
             QMessageBox::NoRole},
            {RespuestaMensaje::Cancelar, QStringLiteral("&Cancelar"), QMessageBox::RejectRole}};
        break;
    case BotonesMensaje::SiNoCancelar:
        lista = {
            {RespuestaMensaje::Si, QStringLiteral("&Sí"), QMessageBox::YesRole},
            {RespuestaMensaje::No, QStringLiteral("&No"), QMessageBox::NoRole},
            {RespuestaMensaje::Cancelar, QStringLiteral("&Cancelar"), QMessageBox::RejectRole}};
        break;
    }
    QHash<QAbstractButton*, RespuestaMensaje> respuestas;
    for (const Boton& b : lista) {
        QPushButton* boton = caja.addButton(b.texto, b.rol);
        respuestas.insert(boton, b.respuesta);
        if (b.respuesta == porDefecto) caja.setDefaultButton(boton);
        if (b.respuesta == RespuestaMensaje::Cancelar ||
            (botones == BotonesMensaje::SiNo && b.respuesta == RespuestaMensaje::No) ||
            botones == BotonesMensaje::Aceptar)
            caja.setEscapeButton(boton);
    }
    caja.exec();
    return respuestas.value(caja.clickedButton(), lista.last().respuesta);
}

QString PlataformaQt::AbrirArchivo(QWidget* padre, const QString& titulo, const QString& filtro) {
    return QFileDialog::getOpenFileName(padre, titulo, QString(), filtro);
}

QString PlataformaQt::GuardarArchivo(QWidget* padre, const QString& titulo, const QString& filtro,
                                     const QString& propuesto, bool confirmarReemplazo) {
    // Sin confirmación, la pregunta de sobrescribir la hace quien llama con su texto.
    return QFileDialog::getSaveFileName(padre, titulo, propuesto, filtro, nullptr,
                                        confirmarReemplazo ? QFileDialog::Options()
                                                           : QFileDialog::DontConfirmOverwrite);
}

int PlataformaQt::MostrarModal(QDialog& ventana) {
    return ventana.exec();
}

bool PlataformaQt::IniciarProceso(const QString& programa, const QStringList& argumentos) {
    return QProcess::startDetached(programa, argumentos);
}

bool PlataformaQt::AbrirDocumento(const QString& ruta) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(ruta));
}

bool PlataformaQt::ConfigurarImpresora(QWidget* padre, QPrinter& impresora) {
    QPrintDialog dialogo(&impresora, padre);
    // Sin número de páginas ni selección: el rango se elige en el diálogo de impresión.
    dialogo.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialogo.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialogo.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialogo.exec() == QDialog::Accepted;
}

PlataformaQt::PlataformaQt() = default;
PlataformaQt::~PlataformaQt() = default;

QPrinter& PlataformaQt::Impresora() {
    // Se crea al usarla: preguntar al sistema por sus impresoras toma su tiempo.
    if (!impresora_) {
        impresora_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // El papel de la región; lo que el usuario elija después vale para toda la sesión.
        impresora_->setPageSize(PapelDelSistema());
    }
    return *impresora_;
}

QString PlataformaQt::LeerPortapapeles() {
    return QApplication::clipboard()->text();
}

void PlataformaQt::EscribirPortapapeles(const QString& texto) {
    QApplication::clipboard()->setText(texto);
}

std::unique_ptr<Plataforma> CrearPlataformaQt() {
    return std::make_unique<PlataformaQt>();
}
