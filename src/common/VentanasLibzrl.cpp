#include "common/VentanasLibzrl.h"

#include "common/EntradaDatos.h"
#include "common/ModuloLibzrl.h"

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextCursor>

#include <cmath>

namespace {

// Un filtro por campo, hijo del campo: vive y muere con él.
class FiltroCampo : public QObject {
public:
    explicit FiltroCampo(QWidget& campo) : QObject(&campo), campo_(campo) {}

    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (objeto != &campo_) return false;
        auto* linea = qobject_cast<QLineEdit*>(&campo_);
        auto* varias = qobject_cast<QPlainTextEdit*>(&campo_);
        switch (evento->type()) {
        case QEvent::FocusIn: {
            const auto razon = static_cast<QFocusEvent*>(evento)->reason();
            const bool vuelve = conservaFoco_;
            conservaFoco_ = false;
            // Volver a la ventana o cerrar un menú no es entrar al campo.
            if (razon == Qt::PopupFocusReason || (razon == Qt::ActiveWindowFocusReason && vuelve))
                break;
            if (razon == Qt::MouseFocusReason) {
                // El clic que sigue movería el cursor y quitaría la selección:
                // en una línea se selecciona al soltar el botón.
                seleccionarAlSoltar_ = linea != nullptr;
                break;
            }
            if (linea) SeleccionarTexto(*linea);
            if (varias) SeleccionarTexto(*varias);
            break;
        }
        case QEvent::MouseButtonRelease:
            // Si el usuario arrastró para elegir una parte, se respeta.
            if (seleccionarAlSoltar_ && linea && !linea->hasSelectedText())
                SeleccionarTexto(*linea);
            seleccionarAlSoltar_ = false;
            break;
        case QEvent::FocusOut: {
            const auto razon = static_cast<QFocusEvent*>(evento)->reason();
            conservaFoco_ = razon == Qt::ActiveWindowFocusReason || razon == Qt::PopupFocusReason;
            seleccionarAlSoltar_ = false;
            break;
        }
        case QEvent::KeyPress: {
            if (varias) break; // Enter es un salto de línea
            const auto* tecla = static_cast<QKeyEvent*>(evento);
            const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
            const auto modificadores = tecla->modifiers() & ~Qt::KeypadModifier;
            if (enter && modificadores == Qt::NoModifier) {
                EnviarTab(campo_);
                return true;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    QWidget& campo_;
    bool seleccionarAlSoltar_ = false;
    bool conservaFoco_ = false; // perdió el foco solo porque su ventana dejó de estar activa
};

} // namespace

CursorEspera::CursorEspera() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CursorEspera::~CursorEspera() {
    QApplication::restoreOverrideCursor();
}

void CentrarFormulario(QWidget& ventana) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (const QScreen* pantalla = ventana.screen()) {
        const QRect area = pantalla->availableGeometry();
        const QSize tamano = ventana.frameGeometry().size();
        const double arriba = area.top() + area.height() / 2.0 - tamano.height() / 2.0;
        const double izquierda = area.left() + area.width() / 2.0 - tamano.width() / 2.0;
        ventana.move(static_cast<int>(std::lround(izquierda)),
                     static_cast<int>(std::lround(arriba)));
    }
    QApplication::restoreOverrideCursor();
}

void SeleccionarTexto(QLineEdit& campo) {
    campo.setSelection(0, static_cast<int>(campo.text().size()));
    campo.update();
}

void SeleccionarTexto(QPlainTextEdit& campo) {
    QTextCursor cursor = campo.textCursor();
    cursor.select(QTextCursor::Document);
    campo.setTextCursor(cursor);
    campo.viewport()->update();
}

void EnviarTab(QWidget& desde) {
    // La ventana atiende el Tab como el teclado, desde su control con foco, sin
    // que el campo lo vea (un campo de varias líneas lo escribiría).
    QWidget* ventana = desde.window();
    if (ventana->focusWidget() != &desde) desde.setFocus(Qt::OtherFocusReason);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(ventana, &tab);
}

void SeleccionarEnLista(QComboBox& lista, const QString& texto, bool primeroSiNada) {
    QStringList entradas;
    entradas.reserve(lista.count());
    for (int i = 0; i < lista.count(); ++i)
        entradas.append(lista.itemText(i));
    lista.setCurrentIndex(-1);
    lista.setCurrentIndex(SeleccionarEnLista(entradas, texto, primeroSiNada));
}

void PrepararCampos(const QList<QWidget*>& campos) {
    for (QWidget* campo : campos)
        if (campo) campo->installEventFilter(new FiltroCampo(*campo));
}

QMenu* AgregarMenuSeparador(QMenu& opciones, SeparadorDecimal& separador,
                            std::function<void()> alCambiar) {
    QMenu* menu = opciones.addMenu(QStringLiteral("&Separador decimal"));
    menu->setObjectName(QStringLiteral("mnuSeparadorDecimal"));
    auto* grupo = new QActionGroup(menu);
    const auto opcion = [&](const QString& texto, const char* nombre, SeparadorDecimal valor) {
        QAction* accion = menu->addAction(texto);
        accion->setObjectName(QString::fromLatin1(nombre));
        accion->setCheckable(true);
        grupo->addAction(accion);
        QObject::connect(accion, &QAction::triggered, menu, [&separador, valor, alCambiar] {
            if (separador == valor) return;
            separador = valor;
            GuardarSeparadorDecimal(valor);
            if (alCambiar) alCambiar();
        });
        return accion;
    };
    QAction* coma =
        opcion(QStringLiteral("&Coma (1.234,5)"), "mnuSeparadorComa", SeparadorDecimal::Coma);
    QAction* punto =
        opcion(QStringLiteral("&Punto (1,234.5)"), "mnuSeparadorPunto", SeparadorDecimal::Punto);
    // Otra ventana pudo cambiarla: se marca la de ahora al abrir el menú.
    const auto marcar = [&separador, coma, punto] {
        coma->setChecked(separador == SeparadorDecimal::Coma);
        punto->setChecked(separador == SeparadorDecimal::Punto);
    };
    marcar();
    QObject::connect(&opciones, &QMenu::aboutToShow, menu, marcar);
    QObject::connect(menu, &QMenu::aboutToShow, menu, marcar);
    return menu;
}
