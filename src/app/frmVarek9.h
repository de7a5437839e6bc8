// Ventana principal: comandos del proyecto y botones de las ventanas de trabajo.
#pragma once

#include "app/ModuloVarek9.h"

#include <QMainWindow>
#include <QMap>
#include <QStringList>

class Plataforma;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QTimer;

class frmVarek9 : public QMainWindow {
    Q_OBJECT
public:
    // lineaComando: el texto de la línea de comandos tras el nombre del programa.
    frmVarek9(ModuloVarek9& modulo, Plataforma& plataforma, const QString& lineaComando,
              QWidget* parent = nullptr);

    // Pregunta si guardar un proyecto modificado; true si quien llama puede seguir.
    bool ChequeoGuardarProyecto(bool noCancela = false);
    bool AbrirProyecto();
    bool GuardarProyectoComo();
    void ActualizarTitulo();
    // Entradas del menú "Proyecto" (0, 1, 3, 4, 10) y de la barra ("PRY" + n).
    void MenuProyecto(int indice);
    // Acción del botón de índice i de la ventana.
    void PulsarBoton(int indice);

    bool YaActivado() const { return yaActivado_; }
    const QStringList& Argumentos() const { return argumentos_; }
    QPushButton* Boton(int indice) const { return botones_.value(indice); }

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CrearMenus();
    void CrearBotones(QWidget* centro);
    void PrimeraActivacion();
    void CargarProyecto();
    // Guarda y, si falla, muestra el error del sistema; true si quedó guardado.
    bool Guardar();
    void MostrarErrorEscritura(const QString& texto);
    void AbrirDocumentoReferencia(const QString& archivo);
    void ResaltarBoton(int indice);
    bool SobreUnBoton(QEvent* evento) const;
    void Salir();

    ModuloVarek9& modulo_;
    Plataforma& plataforma_;
    QStringList argumentos_;
    bool yaActivado_ = false;
    bool activacionPendiente_ = false;
    bool resaltadoBotones_ = false;
    bool botonesListos_ = false;
    bool saliendo_ = false;
    QMap<int, QPushButton*> botones_;
    QAction* mnuGuardar_ = nullptr;
    QPlainTextEdit* txtLib_ = nullptr;
    QTimer* tiempo_ = nullptr;
};
