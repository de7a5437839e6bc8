// Ventana de alternativas de diseño: por unidad, el número estructural requerido y
// el costo de las seis alternativas con sus totales; las estructuras de la unidad
// actual dibujadas a escala; la alternativa elegida; los costos unitarios y los
// reportes.
#pragma once

#include "alternatives/DibujoEspesores.h"
#include "alternatives/Diseno.h"
#include "alternatives/frmDiagrama.h"

#include <QDialog>
#include <QPointer>

#include <array>

class Grilla;
class Plataforma;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
struct VerificacionUnidad;
class CajaCapa;
class ImagenNoAplica;

class frmAlternativas : public QDialog {
    Q_OBJECT
public:
    frmAlternativas(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* padre = nullptr);

    void CargarUH();
    // Dibuja las seis estructuras de la unidad diseñada de último.
    void MostrarEspesores(double afirmado, double subrasante);
    // El reporte 1..6 a un archivo nuevo y al diálogo de impresión.
    void Imprimir(int numero);
    void DefinirCostosUnitarios();
    void EscribirMemoriaDiseno();
    // Abre (o trae al frente) el diagrama lineal, sin modal.
    void AbrirDiagrama();
    // Las curvas de sensibilidad de la unidad actual (aviso si no es una unidad con diseño).
    void AbrirSensibilidad();
    // Cada unidad con su alternativa aplicable más barata; avisa el costo antes y ahora.
    void SeleccionarMenorCosto();
    // Los resultados a un libro XLSX o CSV que elige el usuario.
    void ExportarHoja();
    frmDiagrama* Diagrama() const { return diagrama_; }

    const EstadoDiseno& Estado() const { return estado_; }
    const DibujoEspesores& Dibujo() const { return dibujo_; }
    int FilaActual() const { return filaActual_; }

protected:
    void showEvent(QShowEvent* evento) override;

private:
    void CambioFila();
    // Los números a la vista con el otro separador decimal.
    void CambioSeparador();
    // Los rótulos del dibujo y el motivo sin diseño con el separador de ahora.
    void MostrarTextosDibujo();
    void ElegirAlternativa(int n);
    // Teclas 1 a 6 de la grilla: la alternativa n para la unidad actual, si aplica.
    bool ElegirPorTecla(int n);
    // Se deshizo o rehízo un paso: la grilla y el dibujo otra vez desde el proyecto.
    void MostrarPasoAplicado(const QVector<qint32>& unidades);
    // El panel de comprobaciones de la unidad (vacío sin unidad o sin diseño).
    void MostrarVerificacion(const VerificacionUnidad& v);
    void HabilitarDibujo(bool habilitado);
    void AjustarColumnas();
    void Distribuir();
    // Marca la selección en la grilla y la lleva al diagrama abierto.
    void SeleccionCambiada();

    ModuloVarek9& modulo_;
    Plataforma& plataforma_;
    EstadoDiseno estado_;
    DibujoEspesores dibujo_;
    int filaActual_ = 0;
    bool yaActivado_ = false;
    bool cambioFilaActivo_ = false;

    QWidget* area_;
    Grilla* grdUH_;
    std::array<QRadioButton*, NumeroAlternativas + 1> opcAlternativa_{};
    std::array<std::array<CajaCapa*, CajasEstructura>, NumeroAlternativas + 1> pAlt_{};
    std::array<ImagenNoAplica*, NumeroAlternativas + 1> imgNoAplica_{};
    QLabel* lbSinDiseno_ = nullptr;
    std::array<QPushButton*, 5> btnImprime_{};
    QTableWidget* grdVerificacion_ = nullptr;
    std::array<int, 15> anchosDiseno_{};
    QList<bool> seleccionAplica_; // por unidad: su selección aplica
    QPointer<frmDiagrama> diagrama_;
};
