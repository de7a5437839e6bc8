// Marco común de las ventanas de los programas complementarios: título, unidad
// entregada, fórmula, datos, resultado al día y los botones "Aceptar" y
// "Cancelar" que cierran el intercambio con Varek-9.
#pragma once

#include "companions/Protocolo.h"

#include <QDialog>

class Plataforma;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class frmCompanero : public QDialog {
    Q_OBJECT
public:
    frmCompanero(SesionCompanero& sesion, Plataforma& plataforma, const QString& nombre,
                 const QString& titulo, QWidget* padre = nullptr);

    SesionCompanero& Sesion() { return sesion_; }

    // Valida, entrega los archivos y cierra; con un dato malo avisa y lleva el
    // foco a ese campo.
    void accept() override;

protected:
    // Lo propio de cada programa.
    virtual void CargarLineas(const QStringList& lineas) = 0;
    virtual FallaDato Validar() const = 0;
    virtual QString TextoResultado() const = 0; // HTML; solo con datos válidos
    virtual QStringList LineasEntrada() const = 0;
    virtual QStringList LineasResultado() const = 0;

    void PonerFormula(const QString& html);
    QVBoxLayout* AreaDatos() const { return datos_; }
    // Una fila de datos en la rejilla: etiqueta, campo y su explicación.
    QLineEdit* CampoNumero(QGridLayout& rejilla, const QString& nombre, const QString& etiqueta,
                           const QString& explicacion);
    // Al final del constructor de cada programa: carga las líneas guardadas,
    // prepara el teclado de los campos y calcula por primera vez.
    void Preparar();
    void Recalcular();

private:
    SesionCompanero& sesion_;
    Plataforma& plataforma_;
    QLabel* lbUnidad_;
    QLabel* lbFormula_;
    QLabel* lbResultado_;
    QVBoxLayout* datos_;
    QPushButton* btnAceptar_;
    QPushButton* btnCancelar_;
};

// Texto de un número para la ventana con la máscara dada.
QString Cifra(double valor, QStringView mascara);
