// Unidades homogéneas y definitivas de diseño: la grilla de las unidades del
// proyecto, sus editores sobre la celda, las teclas de entrada rápida, la
// revisión que lleva la grilla al proyecto y el portapapeles.
//
// La grilla es la copia de trabajo: los editores cambian solo sus celdas y la
// revisión (RevisarUH) lleva todo al proyecto, ordena y vuelve a llenar.
#pragma once

#include "project/ModuloVarek9.h"
#include "units/RevisionUH.h"

#include <QColor>
#include <QDialog>
#include <QElapsedTimer>

#include <array>
#include <optional>

class Grilla;
class Plataforma;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenuBar;
class QToolButton;
struct ErrorEscritura;

class frmUnidadesHomogeneas : public QDialog {
    Q_OBJECT
public:
    frmUnidadesHomogeneas(ModuloVarek9& modulo, Plataforma& plataforma, QWidget* parent = nullptr);

    // Llena la grilla desde las unidades del proyecto.
    void CargarUH();
    // Lleva la grilla al proyecto, ordena y vuelve a llenar; nada si la tabla
    // ya está revisada.
    void RevisarUH();
    // Manejador del cambio de celda: oculta los editores, resalta la fila y
    // toma ValorAnterior.
    void CeldaCambiada();
    void CopiarAlPortapapeles();
    void PegarDelPortapapeles();
    // Opciones → "Importar Unidades...": un CSV o XLSX, con vista previa.
    void ImportarUnidades();

    // Para los controles que acompañan a la celda actual (los botones de los
    // programas complementarios).
    Grilla& Cuadricula() { return *grdUH; }
    int FilaActual() const;
    int ColumnaActual() const;
    // La celda actual en coordenadas de esta ventana.
    QRect RectanguloCeldaActual() const;
    // Escribe una celda como lo haría un editor: el proyecto queda modificado y
    // la revisión pendiente.
    void PonerTextoCelda(int fila, int columna, const QString& texto);

    // Botón btnP(columna), columnas 8 a 11: entrega la unidad de la fila actual
    // al programa complementario y toma su resultado en la celda y en las
    // líneas de la unidad y marca el proyecto modificado; la revisión llega al
    // dejar la celda o la ventana.
    void PulsarBotonP(int columna);

    bool TablaRevisada() const { return tablaRevisada_; }
    void PonerTablaRevisada(bool revisada) { tablaRevisada_ = revisada; }
    const QString& ValorAnterior() const { return valorAnterior_; }
    // La línea de estado (lo que quitó la última revisión).
    QString TextoEstado() const;
    int FilaResaltada() const { return filaResaltada_; }
    bool YaActivado() const { return yaActivado_; }

    // Amarillo claro de la fila actual.
    static QColor ColorResaltado() { return QColor(255, 255, 192); }

signals:
    // La celda actual cambió y su fila quedó resaltada.
    void CeldaActualCambiada(int fila, int columna);
    // Una revisión llevó la grilla al proyecto.
    void Revisada();

public slots:
    // Toda salida de la ventana pasa por aquí: primero lleva lo escrito al proyecto.
    void done(int resultado) override;

protected:
    void showEvent(QShowEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CrearControles();
    void CrearColumnas();
    void Acomodar();
    TablaTextos TablaDeGrilla() const;
    // El número de una celda: su valor exacto o, si no lo tiene, su texto leído.
    double NumeroCelda(int fila, int columna) const;
    // Copia texto y valor exacto de una celda a otra fila de la misma columna.
    void CopiarCelda(int filaOrigen, int filaDestino, int columna);
    void PonerTabla(const TablaTextos& tabla);
    void AvisarCambiosRegla();
    // Lleva al proyecto lo escrito a medias (un editor abierto, una revisión pendiente).
    void LlevarAlProyecto();
    // El nombre del paso de la historia que registrará la próxima revisión.
    void NombrarPaso(const QString& nombre);
    // Se deshizo o rehízo un paso: la tabla vuelve a mostrar el proyecto.
    void MostrarPasoAplicado(const QVector<qint32>& unidades);

    // Teclas de la grilla.
    void TeclaGrilla(QKeyEvent* evento);
    void TeclaPulsadaGrilla(const QString& texto);
    void IrAlFinal();
    void BorrarSeleccion();
    void CopiarCeldaDeArriba();
    void CopiarFilaDeArriba();

    // Editores sobre la celda.
    void AbrirEditor();
    void MostrarEditorTexto(const QString& texto, bool seleccionarTodo);
    void MostrarLista(int columna, const QString& texto, bool primeroSiNada);
    void OcultarEditores();
    void CambioTexto();
    bool TeclaTexto(QKeyEvent* evento);
    bool TeclaLista(QComboBox& lista, QKeyEvent* evento);
    void ClicLista(int columna, int indice);
    void ConfirmarEdicion(int tecla);
    // Lo escrito en el editor de número al dejarlo: un texto sin número no se
    // toma y un valor fuera de lo usual se pregunta; falso si la celda volvió a
    // su valor.
    bool ValidarEdicion();
    // La preferencia del separador decimal cambió: la grilla se muestra con ella.
    void CambioSeparador();
    void ContinuarTramo();

    // Botones de los programas complementarios.
    void UbicarBotonP();
    void AvisarIntercambio(const QString& accion, const QString& archivo,
                           const ErrorEscritura& error);

    ModuloVarek9& modulo_;
    Plataforma& plataforma_;

    QMenuBar* Menu;
    std::array<QAction*, 3> mnuOpcion{};
    Grilla* grdUH;
    QLineEdit* txtUH;
    std::array<QComboBox*, ColumnasUH> lstCTT{};
    QFrame* Cuadro;
    QLabel* lbEstado;    // la línea de estado: lo que hizo la última revisión
    QLabel* lbSeparador; // y la convención de los números
    std::array<QToolButton*, ColumnasUH> btnP{}; // solo 8 a 11

    bool yaActivado_ = false;
    bool tablaRevisada_ = false;
    bool resultadoPendiente_ = false; // un resultado de programa aún sin revisar
    QString paso_;                    // nombre del paso que la revisión registra
    QList<CambioRegla> cambiosRegla_; // espesores quitados aún sin avisar
    QString busquedaLista_;           // letras escritas seguidas en una lista abierta
    QElapsedTimer reloj_;             // desde la última de esas letras
    bool resaltadoActivo_ = false;
    QString valorAnterior_;
    int filaResaltada_ = 0;
    int columnaBotonP_ = 0; // columna del botón que acompaña a la celda actual; 0 = ninguno
    // La celda del editor de texto abierto y lo que tenía antes.
    struct Edicion {
        int Fila = 0;
        int Columna = 0;
        QString Texto;
        std::optional<double> Valor;
    };
    Edicion edicion_;
};
