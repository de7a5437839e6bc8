// La plataforma de la aplicación: ventanas, diálogos y procesos de Qt.
#pragma once

#include "common/Plataforma.h"

#include <memory>

class PlataformaQt : public Plataforma {
public:
    PlataformaQt();
    ~PlataformaQt() override;
    RespuestaMensaje Mensaje(QWidget* padre, const QString& titulo, const QString& texto,
                             IconoMensaje icono, BotonesMensaje botones,
                             RespuestaMensaje porDefecto) override;
    QString AbrirArchivo(QWidget* padre, const QString& titulo, const QString& filtro) override;
    QString GuardarArchivo(QWidget* padre, const QString& titulo, const QString& filtro,
                           const QString& propuesto, bool confirmarReemplazo) override;
    int MostrarModal(QDialog& ventana) override;
    bool IniciarProceso(const QString& programa, const QStringList& argumentos) override;
    bool AbrirDocumento(const QString& ruta) override;
    bool ConfigurarImpresora(QWidget* padre, QPrinter& impresora) override;
    QPrinter& Impresora() override;
    QString LeerPortapapeles() override;
    void EscribirPortapapeles(const QString& texto) override;

private:
    std::unique_ptr<QPrinter> impresora_;
};
