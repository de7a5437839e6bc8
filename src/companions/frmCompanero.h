// Marco común de las ventanas de los programas complementarios: título, unidad
// entregada, fórmula, datos, resultado al día y los botones "Aceptar" y
// "Cancelar" que cierran el intercambio con Varek-9. Los números se escriben y se
// ven con la convención del usuario; las líneas y el resultado llevan el punto.
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

    SeparadorDecimal Separador() const { return sesion_.Separador(); }
    // Un número escrito en un campo (NaN si no lo es), el número para un campo y
    // su texto con una máscara, con la convención del usuario.
    double LeerCampo(const QString& texto) const { return LeerDatoEscrito(texto, Separador()); }
    QString Dato(double valor) const { return TextoDato(valor, Separador()); }
    QString Cifra(double valor, QStringView mascara) const;

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

// Texto de un número para la ventana con la máscara y el separador dados.
QString Cifra(double valor, QStringView mascara, SeparadorDecimal separador);
