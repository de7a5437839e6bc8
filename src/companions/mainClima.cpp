// Programa complementario Clima: una ventana sobre el protocolo de intercambio.
#include "companions/Principal.h"
#include "companions/frmClima.h"

int main(int argc, char** argv) {
    return EjecutarCompanero<frmClima>(argc, argv, u"10");
}
