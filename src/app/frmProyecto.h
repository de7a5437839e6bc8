// Propiedades del proyecto: encabezado y parámetros del método AASHTO. Trabaja
// directamente sobre el proyecto abierto: la confiabilidad, la serviciabilidad
// final y la confiabilidad del tránsito valen desde que se escriben o se marcan,
// aunque se salga sin aceptar; el encabezado solo se guarda al aceptar.
//
// Los números se escriben y se muestran con el separador decimal del usuario, en
// la forma general más corta, la de los archivos sin blancos: 70, 2, 2.5, .5 (sin
// cero antes del punto). Lo que no es un número se rechaza con un aviso y un
// número fuera de los límites se pregunta antes de tomar el límite.
#pragma once

#include "project/ModuloVarek9.h"

#include <QDialog>

class Plataforma;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Una descripción de varias líneas en una sola: cada CR LF pasa a "¦" y el
// resultado pasa por Trim13.
QString LimpiarEnter(const QString& s);
// Cada "¦" vuelve a ser CR LF.
QString RecuperarEnter(const QString& s);
// Recorta los blancos de los extremos y quita los caracteres de código 31 o
// menor (o los cambia por un blanco si siEspaciosO).
QString Trim13(const QString& s, bool siEspaciosO = false);

class frmProyecto : public QDialog {
    Q_OBJECT
public:
    frmProyecto(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* parent = nullptr);

public slots:
    // Cualquier salida: un valor distinto del que había al abrir marca el proyecto.
    void done(int resultado) override;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CambioConfiabilidad();
    void CambioServiciabilidad();
    void ClicConfiabilidadTransito();
    void DobleClicCuadro();
    void Aceptar();
    // Al salir de un número: sin número se rechaza y con uno fuera de los límites
    // se pregunta; en ambos casos, si no se toma, vuelve el valor anterior.
    bool RevisarNumero(QLineEdit* campo);
    // Quita del campo los caracteres que el archivo no puede guardar y lo avisa.
    bool LimpiarNoAnsi(QWidget* campo);
    void CambioSeparador();
    QString TextoNumero(double valor) const;

    ModuloVarek9& modulo_;
    Plataforma& plataforma_;
    // El encabezado y los parámetros tal como estaban al abrir.
    Proyecto inicial_;
    // Los números ya tomados (al abrir o al salir de su campo): vuelven si lo
    // escrito no se toma.
    double confiabilidadTomada_;
    double serviciabilidadTomada_;
    bool revisando_ = false;

    QLineEdit* txt0;
    QPlainTextEdit* txt1;
    QLineEdit* txt2;
    QGroupBox* Cuadro;
    QLineEdit* txt3;
    QLabel* lbZr;
    QLabel* lbServiciabilidad;
    QLineEdit* txt5;
    QCheckBox* chkConfiabilidadTransito;
    QLabel* lbEtiquetaSo;
    QLabel* lbSo;
    QComboBox* lstSeparador;
    QPushButton* btnAceptar;
    QPushButton* btnSalir;
};
