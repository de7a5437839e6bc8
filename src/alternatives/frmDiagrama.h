// Ventana del diagrama lineal de estructuras: todo el camino con la alternativa
// seleccionada de cada unidad; la rueda acerca y aleja las abscisas alrededor del
// puntero, arrastrar desplaza, Inicio muestra todo; clic en una columna la hace
// la unidad actual de la ventana de alternativas.
#pragma once

#include "alternatives/DiagramaLineal.h"

#include <QDialog>

class LienzoDiagrama;
class Plataforma;

class frmDiagrama : public QDialog {
    Q_OBJECT
public:
    frmDiagrama(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* padre = nullptr);

    // Vuelve a calcular el diagrama (cambió una selección o un costo); conserva
    // el tramo a la vista.
    void Actualizar();
    void MostrarTodo();
    void Imprimir();
    void Exportar();

    const DiagramaLineal& Diagrama() const { return diagrama_; }
    // La disposición pintada, en coordenadas del lienzo "pDiagrama".
    const DisposicionDiagrama& Disposicion() const;
    double Desde() const { return desde_; }
    double Hasta() const { return hasta_; }
    // Tramo a la vista, dentro del camino y de al menos 10 m.
    void PonerTramo(double desde, double hasta);

signals:
    // Clic sobre la columna de la unidad i (índice del proyecto).
    void UnidadElegida(int unidad);

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    friend class LienzoDiagrama;
    ModuloVarek9& modulo_;
    Plataforma& plataforma_;
    DiagramaLineal diagrama_;
    double desde_ = 0;
    double hasta_ = 1;
    LienzoDiagrama* lienzo_;
};
