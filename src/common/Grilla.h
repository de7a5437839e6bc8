// Grilla de textos compartida por las ventanas de unidades, alternativas y
// costos unitarios: una QTableView sobre un modelo de textos por celda, con
// filas y columnas fijas (títulos, números de fila) que no se desplazan, color
// y alineación por celda, celdas fijas combinadas y los eventos de las ventanas.
//
// Filas y columnas se cuentan en la grilla completa: la fila 0 y la columna 0
// son las primeras fijas, como en las ventanas que la usan.
#pragma once

#include "common/ValoresCeldas.h"

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>
#include <QTableView>

#include <optional>

class EncabezadoGrilla;
class ModeloGrilla;
class QKeyEvent;

class Grilla : public QTableView {
    Q_OBJECT
public:
    explicit Grilla(QWidget* padre = nullptr);
    ~Grilla() override;

    // Dimensiones, contando las filas y columnas fijas. Agregar conserva los
    // textos; las filas nuevas vienen vacías.
    void PonerDimensiones(int filas, int columnas);
    void PonerFilas(int filas);
    void PonerColumnas(int columnas);
    // Filas fijas arriba (al menos una) y columnas fijas a la izquierda (0 o más).
    void PonerFijas(int filasFijas, int columnasFijas);
    int Filas() const;
    int Columnas() const;
    int FilasFijas() const;
    int ColumnasFijas() const;

    QString Texto(int fila, int columna) const;
    void PonerTexto(int fila, int columna, const QString& texto);
    // Todas las celdas por filas (filas x columnas). Cambiarlas de una vez es
    // una sola notificación a la vista; la celda actual y la fila superior se
    // conservan mientras existan.
    const QList<QString>& Textos() const;
    void PonerTextos(int filas, int columnas, QList<QString> textos, ValoresCeldas valores = {});
    // Una celda de número: el texto que muestra y el valor exacto que representa.
    // PonerTexto y PonerTextos sin valores lo olvidan.
    void PonerValor(int fila, int columna, const QString& texto, double valor);
    // Sin valor, como PonerTexto.
    void PonerValor(int fila, int columna, const QString& texto, std::optional<double> valor);
    const ValoresCeldas& Valores() const;
    // El valor exacto de una celda, si lo tiene.
    std::optional<double> Valor(int fila, int columna) const;

    // Celda actual: siempre una celda no fija. Moverla no desplaza la grilla.
    int Fila() const;
    int Columna() const;
    void PonerCelda(int fila, int columna);
    // Filas (top..bottom) y columnas (left..right) seleccionadas; la celda
    // actual si no hay más.
    QRect Seleccion() const;

    // Primera fila no fija a la vista.
    int FilaSuperior() const;
    void PonerFilaSuperior(int fila);
    // Si alguna parte de la fila se ve (las fijas se ven siempre).
    bool FilaVisible(int fila) const;
    // Rectángulo de la celda en coordenadas de la grilla.
    QRect RectanguloCelda(int fila, int columna) const;
    // La celda fija con las vecinas que combina (textos iguales), en coordenadas
    // de la grilla.
    QRect RectanguloCombinado(int fila, int columna) const;

    // Barras de desplazamiento; sin ellas la rueda del ratón tampoco desplaza.
    void PonerBarras(bool visibles);
    bool Barras() const { return barras_; }

    int AnchoColumna(int columna) const;
    void PonerAnchoColumna(int columna, int pixeles);
    // Ancho de diseño en twips. Los diseños suponen una letra de 8 puntos con
    // cifras de 90 twips (6 píxeles a 96 ppp); con una letra de cifras más
    // anchas la columna crece en proporción, para que quepa lo mismo.
    void PonerAnchoColumnaTwips(int columna, double twips);
    double EscalaTwips() const;
    int AltoFila(int fila) const;
    // Alto de una fila fija; las demás tienen todas el alto normal.
    void PonerAltoFilaFija(int fila, int pixeles);
    int AltoNormal() const;
    void PonerAltoNormal(int pixeles);

    // Alineación de las celdas no fijas de una columna (siempre centrada en
    // vertical) y de una celda en particular; las fijas van centradas.
    void PonerAlineacionColumna(int columna, Qt::Alignment alineacion);
    void PonerAlineacion(int fila, int columna, Qt::Alignment alineacion);
    Qt::Alignment Alineacion(int fila, int columna) const;
    // Colores de una celda; un color inválido vuelve al de la paleta.
    void PonerColorFondo(int fila, int columna, const QColor& color);
    QColor ColorFondo(int fila, int columna) const;
    void PonerColorTexto(int fila, int columna, const QColor& color);
    QColor ColorTexto(int fila, int columna) const;
    // Celda marcada: en negrita y con un marco delgado, sin cambiar su texto.
    void PonerMarcada(int fila, int columna, bool marcada);
    bool Marcada(int fila, int columna) const;
    // Celda con aviso: una marca roja en su esquina y el aviso como ayuda; vacío la quita.
    void PonerAviso(int fila, int columna, const QString& aviso);
    QString Aviso(int fila, int columna) const;
    // Combinar celdas fijas vecinas de igual texto: en una fila fija (a lo
    // ancho) o en una columna (a lo alto: en una columna fija, toda ella; en
    // otra, solo entre las filas de títulos).
    void PonerCombinarFila(int fila, bool combinar);
    void PonerCombinarColumna(int columna, bool combinar);

signals:
    void Clic();
    void DobleClic();
    // Tecla abajo. Quien la atiende la acepta (evento->accept()) y la grilla ya
    // no hace nada más con ella; sin atender, la grilla mueve el cursor.
    void TeclaAbajo(QKeyEvent* evento);
    // Carácter escrito que nadie atendió como tecla abajo.
    void TeclaPulsada(const QString& texto);
    // Cambió la fila o la columna actual.
    void CeldaCambiada();

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;
    void wheelEvent(QWheelEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    friend class EncabezadoGrilla;
    friend class DelegadoGrilla;
    void ActualizarEncabezados();
    void PintarCeldaFija(QPainter& pintor, QWidget& superficie, int fila, int columna,
                         const QRect& recorte);
    void PintarEsquina();
    bool SoloCeldaActual() const { return soloCeldaActual_; }
    void ConectarSeleccion();
    // Vuelve a poner la celda actual tras cambiar el modelo.
    void RestaurarCelda(int fila, int columna, int superior);

    ModeloGrilla* modelo_;
    EncabezadoGrilla* encabezadoColumnas_;
    EncabezadoGrilla* encabezadoFilas_;
    QWidget* esquina_ = nullptr;
    QList<int> altosFijos_;
    QList<int> anchosFijos_;
    QList<bool> combinarFila_;
    QList<bool> combinarColumna_;
    bool barras_ = true;
    bool silenciarCelda_ = false;
    bool soloCeldaActual_ = true;
    bool dobleClic_ = false;
    bool pulsadoEnCeldas_ = false;
};

// Píxeles de una medida en twips (1/1440 de pulgada) en la pantalla del control.
int PixelesDeTwips(double twips, const QWidget* control = nullptr);

// Rutinas de grilla que comparten las ventanas de unidades y de costos:
// la columna 0 de cada fila no fija con su número;
void NumerarFilas(Grilla& grilla);
// el movimiento tras Enter (derecha, o inicio de la fila siguiente), flecha
// arriba o abajo; si la fila actual queda fuera de la vista pasa a ser la
// superior;
void MoverCeldaTrasTecla(Grilla& grilla, int tecla);
// un editor exactamente sobre la celda actual (una lista, más ancha para su
// botón).
void UbicarObjetoEnCelda(QWidget& editor, Grilla& grilla);
