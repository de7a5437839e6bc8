// Rutinas de la biblioteca general que actúan sobre ventanas y controles:
// centrar una ventana, seleccionar el texto de un campo, pasar al control
// siguiente y elegir una entrada de una lista desplegable.
#pragma once

#include "common/Numeros.h"

#include <QList>
#include <QString>

#include <functional>

class QComboBox;
class QMenu;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// El cursor de espera mientras vive: un trabajo largo lo muestra aunque termine
// antes de tiempo.
class CursorEspera {
public:
    CursorEspera();
    ~CursorEspera();
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

// Centra la ventana en el área disponible de su pantalla, con el cursor de
// espera mientras la mueve. Se llama al cargar la ventana, antes de mostrarla.
void CentrarFormulario(QWidget& ventana);

// Selecciona todo el texto del campo, para que lo escrito lo reemplace.
void SeleccionarTexto(QLineEdit& campo);
void SeleccionarTexto(QPlainTextEdit& campo);

// Lleva el foco al control siguiente en el orden de tabulación, como la tecla
// Tab. desde es el control que tiene el foco en su ventana.
void EnviarTab(QWidget& desde);

// Elige la primera entrada que empieza por texto (sin distinguir mayúsculas);
// sin coincidencia, la entrada 0 si primeroSiNada, si no ninguna (índice -1).
void SeleccionarEnLista(QComboBox& lista, const QString& texto, bool primeroSiNada);

// Comportamiento de teclado de los campos de toda ventana: al entrar en un
// campo se selecciona su texto y Enter pasa al control siguiente. En un campo
// de varias líneas Enter sigue siendo un salto de línea y un clic deja el
// cursor donde se hizo.
void PrepararCampos(const QList<QWidget*>& campos);

// El submenú "Separador decimal" (coma o punto) de un menú Opciones: cambia la
// preferencia del usuario, la guarda y llama a alCambiar para que la ventana
// vuelva a mostrar sus números.
QMenu* AgregarMenuSeparador(QMenu& opciones, SeparadorDecimal& separador,
                            std::function<void()> alCambiar = {});
