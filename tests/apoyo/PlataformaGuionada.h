// Plataforma de las pruebas: registra cada mensaje y responde según un guion,
// así ninguna prueba se queda esperando una ventana modal.
#pragma once

#include "common/Plataforma.h"

#include <QCoreApplication>
#include <QDialog>
#include <QList>
#include <QPrinter>
#include <QQueue>

#include <functional>
#include <memory>
#include <thread>

struct MensajeRegistrado {
    QString Titulo;
    QString Texto;
    IconoMensaje Icono;
    BotonesMensaje Botones;
    RespuestaMensaje PorDefecto;
};

class PlataformaGuionada : public Plataforma {
public:
    // Respuestas en orden; sin guion, cada mensaje recibe su botón por defecto.
    QQueue<RespuestaMensaje> Respuestas;
    // Rutas que devuelven los diálogos de archivo en orden; vacía = cancelar.
    QQueue<QString> RutasAbrir;
    QQueue<QString> RutasGuardar;
    // Sin rutas en la cola, el diálogo de guardar acepta lo que propone.
    bool AceptarPropuesta = false;
    // Qué hacer con cada ventana modal: recibe la ventana ya mostrada y devuelve el
    // resultado. Sin guion, la ventana se cierra con Rejected.
    QQueue<std::function<int(QDialog&)>> Modales;
    bool RespuestaImpresora = true;
    bool ProcesosIniciables = true;

    QList<MensajeRegistrado> Mensajes;
    QStringList ProcesosIniciados;
    QStringList DocumentosAbiertos;
    QStringList VentanasModales; // objectName de cada ventana mostrada
    QString Portapapeles;

    RespuestaMensaje Mensaje(QWidget*, const QString& titulo, const QString& texto,
                             IconoMensaje icono, BotonesMensaje botones,
                             RespuestaMensaje porDefecto) override {
        Mensajes.append({titulo, texto, icono, botones, porDefecto});
        return Respuestas.isEmpty() ? porDefecto : Respuestas.dequeue();
    }
    QString AbrirArchivo(QWidget*, const QString&, const QString&) override {
        return RutasAbrir.isEmpty() ? QString() : RutasAbrir.dequeue();
    }
    // Lo que propuso cada diálogo de guardar y si pedía confirmar el reemplazo.
    QStringList PropuestasGuardar;
    QList<bool> ConfirmacionesGuardar;
    QString GuardarArchivo(QWidget*, const QString&, const QString&, const QString& propuesto,
                           bool confirmarReemplazo) override {
        PropuestasGuardar.append(propuesto);
        ConfirmacionesGuardar.append(confirmarReemplazo);
        if (RutasGuardar.isEmpty()) return AceptarPropuesta ? propuesto : QString();
        return RutasGuardar.dequeue();
    }
    int MostrarModal(QDialog& ventana) override {
        VentanasModales.append(ventana.objectName());
        ventana.show();
        const int resultado = Modales.isEmpty() ? QDialog::Rejected : Modales.dequeue()(ventana);
        ventana.hide();
        return resultado;
    }
    bool IniciarProceso(const QString& programa, const QStringList& argumentos) override {
        ProcesosIniciados.append((QStringList{programa} + argumentos).join(u' '));
        return ProcesosIniciables;
    }
    // Programas que se esperan (lanzador de los programas complementarios): cada
    // uno se registra como "programa argumentos". Con ProgramasReales se inicia de
    // verdad; si no, AlIniciarPrograma hace de programa (puede dejar sus archivos)
    // y el programa queda terminado en el acto.
    QStringList ProgramasIniciados;
    bool ProgramasIniciables = true;
    bool ProgramasReales = false;
    QList<qint64> IdentificadoresReales; // de los iniciados de verdad
    std::function<void(const QString&, const QStringList&)> AlIniciarPrograma;
    std::unique_ptr<ProgramaIniciado> IniciarPrograma(const QString& programa,
                                                      const QStringList& argumentos) override {
        ProgramasIniciados.append((QStringList{programa} + argumentos).join(u' '));
        if (!ProgramasIniciables) return nullptr;
        if (ProgramasReales) {
            auto real = Plataforma::IniciarPrograma(programa, argumentos);
            if (real) IdentificadoresReales.append(real->Identificador());
            return real;
        }
        if (AlIniciarPrograma) AlIniciarPrograma(programa, argumentos);
        struct Acabado : ProgramaIniciado {
            bool Terminado() override { return true; }
        };
        return std::make_unique<Acabado>();
    }
    bool AbrirDocumento(const QString& ruta) override {
        DocumentosAbiertos.append(ruta);
        return true;
    }
    // Lo que "elige" el usuario en el diálogo de impresora (nombre, PDF, orientación).
    std::function<void(QPrinter&)> EleccionImpresora;
    int ImpresorasConfiguradas = 0;
    bool ConfigurarImpresora(QWidget*, QPrinter& impresora) override {
        ++ImpresorasConfiguradas;
        if (RespuestaImpresora && EleccionImpresora) EleccionImpresora(impresora);
        return RespuestaImpresora;
    }
    // Sin impresoras en las pruebas: todo sale en PDF (ArchivoPdf lo elige la prueba).
    QPrinter ImpresoraPdf{QPrinter::HighResolution};
    QPrinter& Impresora() override { return ImpresoraPdf; }
    QString LeerPortapapeles() override { return Portapapeles; }
    void EscribirPortapapeles(const QString& texto) override { Portapapeles = texto; }

    // Reloj de las esperas: ninguna pausa duerme. Se anotan las pausas y los
    // intervalos pedidos; Programar deja una acción para cuando las pausas sumen ms.
    double ValorAzar = 0.5;
    QList<int> Pausas;
    QList<int> Intervalos;
    void Programar(qint64 ms, std::function<void()> accion) {
        Programadas.append({ms, std::move(accion)});
    }
    void Pausa(int milisegundos, bool atenderEventos) override {
        Pausas.append(milisegundos);
        transcurrido_ += milisegundos;
        for (qsizetype i = 0; i < Programadas.size();)
            if (Programadas[i].first <= transcurrido_)
                Programadas.takeAt(i).second();
            else
                ++i;
        if (atenderEventos) QCoreApplication::processEvents();
        // Con un proceso real de por medio, que avance él.
        std::this_thread::yield();
    }
    double Azar() override { return ValorAzar; }
    int Intervalo(int milisegundos) override {
        Intervalos.append(milisegundos);
        return 1;
    }

private:
    QList<QPair<qint64, std::function<void()>>> Programadas;
    qint64 transcurrido_ = 0;
};
