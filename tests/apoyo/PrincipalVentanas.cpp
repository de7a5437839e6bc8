// main de los ejecutables de prueba con ventanas: plataforma fuera de pantalla y
// 96 ppp para que las medidas de las letras no cambien.
#include "Pruebas.h"

#include "printing/ImpresoraQt.h"

#include <QApplication>

int main(int argc, char** argv) {
    pruebas::PrepararEntorno();
    QApplication app(argc, argv);
    RegistrarFuenteReportes();
    return pruebas::EjecutarTodas(argc, argv);
}
