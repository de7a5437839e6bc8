// Diálogo de impresión de un reporte: pantalla, impresora del sistema (o PDF) o
// puerto de texto, con rango de páginas, copias y puerto.
#pragma once

#include "printing/ConfiguracionImpresion.h"
#include "printing/SalidaSegura.h"
#include "printing/TrabajoImpresion.h"

#include <QDialog>

#include <memory>

class Plataforma;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Imprime : public QDialog {
    Q_OBJECT
public:
    Imprime(Plataforma& plataforma, const QString& archivo, QWidget* padre = nullptr);
    ~Imprime() override;

    // Alias del puerto con nombre (vacío: el puerto configurado).
    void PonerPrefijo(const QString& nombrePuerto);
    // Ruta que se propone al imprimir a un PDF.
    void PonerPdfPropuesto(const QString& ruta) { pdfPropuesto_ = ruta; }
    // Archivo del proyecto abierto: ninguna salida se escribe sobre él.
    void PonerProyecto(const QString& ruta) { proyecto_ = ruta; }

    // Lo que mostró el prepaso.
    const ResumenReporte& Resumen() const { return prepaso_.Resumen; }
    const ConfiguracionImpresion& Configuracion() const { return configuracion_; }
    const QString& CopiaTexto() const { return prepaso_.CopiaTexto; }

    // Acciones del diálogo.
    void Aceptar();
    void VerEnPantalla(const QString& copia);
    // false si el nombre de la salida (puerto o PDF) se rechazó o no se quiso reemplazar.
    bool ImprimirPaginas(int desde, int hasta, int copias, bool dos);

protected:
    void showEvent(QShowEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CargarProyecto();
    void ActualizarDestino();
    void ActualizarAceptar();
    void ElegirImpresora();
    void MostrarImpresora();
    void ErrorImprimir();
    void EnviarColaDos(const QString& cola, const QByteArray& lineaBat);
    bool AbrirVisorExterno(const QString& copia);

    Plataforma& plataforma_;
    QString archivo_;
    ConfiguracionImpresion configuracion_;
    Prepaso prepaso_;
    std::unique_ptr<ReporteRetenido> retenido_;
    bool activado_ = false;
    bool orientacionElegida_ = false;
    QString pdfPropuesto_;
    QString proyecto_;

    QRadioButton* PantallaImpresora_[3];
    QGroupBox* fraPaginas_;
    QLineEdit* Pagina_[2];
    QLabel* lbPagina_[2];
    QGroupBox* fraCopias_;
    QLineEdit* Copias_;
    QComboBox* opcPuerto_;
    QPushButton* btnImpresora_;
    QPushButton* Boton_[2];
    QLabel* Archivo_;
    QLabel* lbImpresora_;
    QLabel* lbPrefijo_;
    QLabel* Paginas_;
};

// Muestra el diálogo de impresión de un reporte y anota su nombre en "Ultimo.inf".
// pdfPropuesto: la ruta que se ofrece al imprimir a un PDF (vacía: la elegida en
// el diálogo de impresora); proyecto: el archivo del proyecto abierto.
void ImprimirArchivo(Plataforma& plataforma, QWidget* padre, const QString& archivo,
                     const QString& nombrePuerto = QString(),
                     const QString& pdfPropuesto = QString(), const QString& proyecto = QString());

// Muestra el rechazo de la salida o pregunta antes de reemplazar un archivo
// (No por defecto); true si se puede escribir.
bool ConfirmarSalida(Plataforma& plataforma, QWidget* padre, const QString& titulo,
                     const DecisionSalida& salida);
