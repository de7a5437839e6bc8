#include "app/Historial.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QUndoCommand>

// Un paso: su nombre y el estado del otro lado. El primer redo() llega al
// empujarlo, cuando el proyecto ya tiene el cambio.
class PasoProyecto : public QUndoCommand {
public:
    PasoProyecto(HistorialProyecto& historial, const QString& nombre, CambioProyecto cambio)
        : QUndoCommand(nombre), historial_(historial), cambio_(std::move(cambio)) {}
    void undo() override { historial_.Aplicar(cambio_); }
    void redo() override {
        if (primero_)
            primero_ = false;
        else
            historial_.Aplicar(cambio_);
    }
    qsizetype Bytes() const { return qsizetype(sizeof(*this)) + cambio_.Bytes(); }

private:
    HistorialProyecto& historial_;
    CambioProyecto cambio_;
    bool primero_ = true;
};

HistorialProyecto::HistorialProyecto(ModuloVarek9& modulo, QObject* padre)
    : QObject(padre), modulo_(modulo), base_(modulo.Proyecto) {
    pila_.setUndoLimit(LimitePasos);
    modulo_.Historial = this;
}

HistorialProyecto::~HistorialProyecto() {
    if (modulo_.Historial == this) modulo_.Historial = nullptr;
}

void HistorialProyecto::Vaciar(bool guardado) {
    // Vacía, la pila queda limpia: el estado guardado es este.
    pila_.clear();
    base_ = modulo_.Proyecto;
    if (!guardado) pila_.resetClean();
    modulo_.ProyectoModificado = !guardado;
    emit EstadoCambiado();
}

void HistorialProyecto::MarcarGuardado() {
    Sincronizar();
    pila_.setClean();
    modulo_.ProyectoModificado = false;
    emit EstadoCambiado();
}

bool HistorialProyecto::Registrar(const QString& nombre) {
    std::optional<CambioProyecto> cambio = CambioProyecto::Entre(base_, modulo_.Proyecto);
    if (!cambio) return false;
    base_ = modulo_.Proyecto;
    pila_.push(new PasoProyecto(*this, nombre, std::move(*cambio)));
    modulo_.ProyectoModificado = !pila_.isClean();
    emit EstadoCambiado();
    return true;
}

void HistorialProyecto::Sincronizar() {
    base_ = modulo_.Proyecto;
}

void HistorialProyecto::Aplicar(CambioProyecto& cambio) {
    cambio.Intercambiar(modulo_.Proyecto);
    aplicadas_ = cambio.Unidades();
}

bool HistorialProyecto::Mover(bool atras) {
    if (atras ? !pila_.canUndo() : !pila_.canRedo()) return false;
    // Lo cambiado sin paso queda donde está: el paso solo toca lo suyo.
    aplicadas_.clear();
    if (atras)
        pila_.undo();
    else
        pila_.redo();
    base_ = modulo_.Proyecto;
    modulo_.ProyectoModificado = !pila_.isClean();
    emit Aplicado(aplicadas_);
    emit EstadoCambiado();
    return true;
}

bool HistorialProyecto::Deshacer() {
    return Mover(true);
}

bool HistorialProyecto::Rehacer() {
    return Mover(false);
}

qsizetype HistorialProyecto::Bytes() const {
    qsizetype total = 0;
    for (int i = 0; i < pila_.count(); ++i)
        total += static_cast<const PasoProyecto*>(pila_.command(i))->Bytes();
    return total;
}

bool RegistrarPaso(ModuloVarek9& modulo, const QString& nombre) {
    return modulo.Historial && modulo.Historial->Registrar(nombre);
}

namespace {

// Deshacer y Rehacer con sus teclas, en el menú o la ventana que los lleva.
std::pair<QAction*, QAction*> AccionesEdicion(QWidget& dueno, ModuloVarek9& modulo,
                                              std::function<void()> antes) {
    auto* deshacer = new QAction(QStringLiteral("&Deshacer"), &dueno);
    deshacer->setObjectName(QStringLiteral("mnuDeshacer"));
    deshacer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    auto* rehacer = new QAction(QStringLiteral("&Rehacer"), &dueno);
    rehacer->setObjectName(QStringLiteral("mnuRehacer"));
    // Ctrl+Y en Windows, Ctrl+Mayús+Z en los escritorios de Linux: los dos.
    rehacer->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    const auto mover = [&modulo, antes](bool atras) {
        if (antes) antes();
        if (HistorialProyecto* h = modulo.Historial)
            if (atras ? h->Deshacer() : h->Rehacer()) return;
        QApplication::beep();
    };
    QObject::connect(deshacer, &QAction::triggered, &dueno, [mover] { mover(true); });
    QObject::connect(rehacer, &QAction::triggered, &dueno, [mover] { mover(false); });
    dueno.addAction(deshacer);
    dueno.addAction(rehacer);
    return {deshacer, rehacer};
}

} // namespace

QMenu* AgregarMenuEdicion(QMenuBar& barra, ModuloVarek9& modulo, std::function<void()> antes) {
    QMenu* menu = barra.addMenu(QStringLiteral("&Edición"));
    menu->setObjectName(QStringLiteral("mnuEdicion"));
    const auto [deshacer, rehacer] = AccionesEdicion(*menu, modulo, std::move(antes));
    // Los textos y el estado se leen al abrir el menú: la historia puede llegar
    // después que la ventana, o cambiar desde otra ventana.
    QObject::connect(menu, &QMenu::aboutToShow, menu, [deshacer, rehacer, &modulo] {
        const HistorialProyecto* h = modulo.Historial;
        const QUndoStack* pila = h ? &h->Pila() : nullptr;
        const bool puedeDeshacer = pila && pila->canUndo();
        const bool puedeRehacer = pila && pila->canRedo();
        deshacer->setText(puedeDeshacer ? QStringLiteral("&Deshacer ") + pila->undoText()
                                        : QStringLiteral("&Deshacer"));
        rehacer->setText(puedeRehacer ? QStringLiteral("&Rehacer ") + pila->redoText()
                                      : QStringLiteral("&Rehacer"));
        deshacer->setEnabled(puedeDeshacer);
        rehacer->setEnabled(puedeRehacer);
    });
    // Cerrado el menú, las teclas siempre llegan: sin paso que mover, suena.
    QObject::connect(menu, &QMenu::aboutToHide, menu, [d = deshacer, r = rehacer] {
        d->setEnabled(true);
        r->setEnabled(true);
    });
    return menu;
}

void AgregarTeclasEdicion(QWidget& ventana, ModuloVarek9& modulo) {
    AccionesEdicion(ventana, modulo, {});
}
