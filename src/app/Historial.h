// La historia del proyecto abierto: cada cambio de sus datos es un paso con
// nombre que se deshace y rehace desde cualquier ventana (Ctrl+Z, Ctrl+Y).
//
// Las ventanas cambian el proyecto como siempre y luego registran el paso: la
// historia compara con el estado anterior y guarda solo lo que difiere.
#pragma once

#include "project/CambioProyecto.h"
#include "project/ModuloVarek9.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

class QMenu;
class QMenuBar;
class QWidget;

class HistorialProyecto : public QObject {
    Q_OBJECT
public:
    // Pasos que se conservan; los más antiguos se olvidan.
    static constexpr int LimitePasos = 250;

    // Se anuncia en el módulo (modulo.Historial) mientras vive.
    explicit HistorialProyecto(ModuloVarek9& modulo, QObject* padre = nullptr);
    ~HistorialProyecto() override;

    // Proyecto abierto, nuevo o cerrado: sin pasos. Con guardado, este estado es
    // el del archivo; sin él (una copia de otro proyecto), ninguno lo es.
    void Vaciar(bool guardado = true);
    // Este estado es el que quedó en el archivo.
    void MarcarGuardado();
    // Un paso con lo que cambió desde el anterior; false si nada cambió.
    bool Registrar(const QString& nombre);
    // Lo cambiado sin paso (lo que una ventana recalcula) pasa a ser el estado
    // actual sin crear uno: no borra lo que se puede rehacer.
    void Sincronizar();
    bool Deshacer();
    bool Rehacer();

    QUndoStack& Pila() { return pila_; }
    const QUndoStack& Pila() const { return pila_; }
    // Memoria que ocupan los pasos.
    qsizetype Bytes() const;

signals:
    // Se deshizo o rehízo un paso que tocó esas unidades (quizá ninguna): las
    // ventanas vuelven a mostrar el proyecto.
    void Aplicado(const QVector<qint32>& unidades);
    // Cambió lo que se puede deshacer o si el proyecto está como en su archivo.
    void EstadoCambiado();

private:
    friend class PasoProyecto;
    void Aplicar(CambioProyecto& cambio);
    bool Mover(bool atras);

    ModuloVarek9& modulo_;
    Proyecto base_; // el proyecto tras el último paso registrado o aplicado
    QUndoStack pila_;
    QVector<qint32> aplicadas_;
};

// Registra un paso en la historia del módulo, si la tiene; false si no hubo cambio.
bool RegistrarPaso(ModuloVarek9& modulo, const QString& nombre);

// El menú "Edición" (Deshacer, Rehacer) de una ventana de trabajo. antes() lleva
// al proyecto lo que la ventana tenga a medias antes de deshacer o rehacer.
QMenu* AgregarMenuEdicion(QMenuBar& barra, ModuloVarek9& modulo, std::function<void()> antes = {});
// Las mismas teclas en una ventana sin menú (el diagrama lineal).
void AgregarTeclasEdicion(QWidget& ventana, ModuloVarek9& modulo);
