// main de los ejecutables de prueba del núcleo: sin ventanas.
#include "Pruebas.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    pruebas::PrepararEntorno();
    QCoreApplication app(argc, argv);
    return pruebas::EjecutarTodas(argc, argv);
}
