// Visor de texto del programa: la copia de texto de un reporte, en letra de ancho
// fijo, con los saltos de página a la vista, búsqueda, copia e impresión. No es
// modal: se puede seguir trabajando con él abierto.
#pragma once

#include <QWidget>

class Plataforma;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class frmVisor : public QWidget {
    Q_OBJECT
public:
    // copia: la copia de texto que se muestra; reporte: el archivo que imprime el
    // botón "Imprimir"; fecha: la de las marcas de página ("dd/MM/aaaa HH:mm:ss"),
    // vacía para la de ahora.
    frmVisor(Plataforma& plataforma, const QString& copia, const QString& reporte,
             QWidget* padre = nullptr, const QString& fecha = QString());

    int Paginas() const { return paginas_; }
    QString Texto() const;
    // Busca hacia adelante desde el cursor (y vuelve al principio); false si no está.
    bool Buscar(const QString& texto);

    // Marca de separación que reemplaza cada salto de página.
    static QString Separador(int pagina);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Sobrevivir();
    void Copiar();
    void Imprimir();

    Plataforma& plataforma_;
    QString reporte_;
    int paginas_ = 1;
    QPlainTextEdit* txtTexto_;
    QLineEdit* txtBuscar_;
    QLabel* lbPaginas_;
};
