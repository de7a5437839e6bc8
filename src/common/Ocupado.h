// Espera por un archivo compartido que otro programa tiene tomado, con el
// diálogo "Chequeo de Concurrencia de Archivos" que deja ver la espera y
// abandonarla.
#pragma once

#include <QDialog>

class Plataforma;
class QLabel;
class QPushButton;
class QTimer;

class Ocupado : public QDialog {
    Q_OBJECT
public:
    explicit Ocupado(Plataforma& plataforma, QWidget* padre = nullptr);

    // Nombre completo del archivo vigilado; se pone antes de mostrar el diálogo.
    void PonerArchivo(const QString& archivo);
    // true si el usuario abandonó la espera (la etiqueta de resultado dice "1").
    bool Cancelado() const;

    // Intervalo de la revisión periódica de Tiempo, en milisegundos.
    static constexpr int IntervaloTiempo = 2000;

protected:
    void showEvent(QShowEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;
    void reject() override;

private:
    void PrimeraActivacion();
    // Una vuelta de la espera: revisa y, si sigue en uso, programa la siguiente.
    void Revisar();
    void Cancelar();

    Plataforma& plataforma_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label3_;
    QLabel* label4_;
    QLabel* lbResultado_;
    QLabel* lbRevisando_;
    QLabel* lbError_;
    QPushButton* cancelar_;
    QTimer* tiempo_;
    QTimer* vuelta_;
    bool yaActivado_ = false;
};

// true solo si el usuario abandonó la espera en el diálogo. Un archivo que no
// existe o que está libre devuelve false en el acto. Con enBarra distinto de 0
// espera sin diálogo avisando en barra (una QLabel o una QStatusBar; nula, sin
// aviso). Si no, revisa hasta cinco veces y, si el archivo sigue en uso, muestra
// el diálogo Ocupado de forma modal.
bool EsperarArchivoLibre(Plataforma& plataforma, const QString& archivo, QWidget* barra = nullptr,
                         int enBarra = 0, QWidget* padre = nullptr);
