// Programa complementario Drenaje: una ventana sobre el protocolo de intercambio.
#include "companions/Principal.h"
#include "companions/frmDrenaje.h"

int main(int argc, char** argv) {
    return EjecutarCompanero<frmDrenaje>(argc, argv, u"13");
}
