#include "common/Plataforma.h"

#include "common/ArchivoEnUso.h"
#include "common/CarpetasSesion.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

namespace {

// Un programa vigilado con QProcess; sus salidas van a las de la aplicación.
class ProgramaQProcess : public ProgramaIniciado {
public:
    explicit ProgramaQProcess(QProcess* proceso) : proceso_(proceso) {}
    ~ProgramaQProcess() override {
        // Quien vigila ya no espera, pero el programa no se interrumpe: el
        // proceso se libera cuando termine.
        if (proceso_->state() != QProcess::NotRunning) {
            QObject::connect(proceso_, &QProcess::finished, proceso_, &QObject::deleteLater);
            return;
        }
        delete proceso_;
    }
    ProgramaQProcess(const ProgramaQProcess&) = delete;
    ProgramaQProcess& operator=(const ProgramaQProcess&) = delete;

    bool Terminado() override {
        if (proceso_->state() != QProcess::NotRunning) proceso_->waitForFinished(0);
        return proceso_->state() == QProcess::NotRunning;
    }
    qint64 Identificador() const override { return proceso_->processId(); }

private:
    QProcess* proceso_;
};

} // namespace

std::unique_ptr<ProgramaIniciado> Plataforma::IniciarPrograma(const QString& programa,
                                                              const QStringList& argumentos) {
    auto* proceso = new QProcess;
    proceso->setProcessChannelMode(QProcess::ForwardedChannels);
    // En una sesión, el programa lee y deja sus archivos de intercambio en la
    // carpeta de trabajo, con los mismos nombres cortos.
    if (!CarpetaArchivosTrabajo().isEmpty()) proceso->setWorkingDirectory(CarpetaArchivosTrabajo());
    proceso->start(programa, argumentos);
    if (!proceso->waitForStarted(10000)) {
        delete proceso;
        return nullptr;
    }
    return std::make_unique<ProgramaQProcess>(proceso);
}

void Plataforma::Pausa(int milisegundos, bool atenderEventos) {
    if (atenderEventos)
        PausaAtendiendo(milisegundos);
    else if (milisegundos > 0)
        QThread::msleep(static_cast<unsigned long>(milisegundos));
}

double Plataforma::Azar() {
    return QRandomGenerator::global()->generateDouble();
}

void Plataforma::PausaAlAzar(double minimo, double maximo, bool atenderEventos) {
    Pausa(MilisegundosAlAzar(Azar(), minimo, maximo), atenderEventos);
}
