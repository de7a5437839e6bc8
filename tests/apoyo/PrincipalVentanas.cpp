// main de los ejecutables de prueba con ventanas: plataforma fuera de pantalla y
// 96 ppp para que las medidas de las letras no cambien.
#include "Pruebas.h"

#include "printing/ImpresoraQt.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    pruebas::PrepararEntorno();
    QApplication app(argc, argv);
#ifdef Q_OS_WIN
    // Fuera de pantalla no hay letra del sistema: "Sans Serif" caería en la primera de la
    // carpeta (Liberation Mono, de ancho fijo). Windows da una proporcional, como esta.
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
#endif
    RegistrarFuenteReportes();
    return pruebas::EjecutarTodas(argc, argv);
}
